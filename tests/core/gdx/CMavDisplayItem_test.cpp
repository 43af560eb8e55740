// Display items: deep copies of their rare part, the defaults an item without one reads, the record's size.
#include <gtest/gtest.h>

#include "gdx/CMavDisplayItem.h"
#include "gdx_test_util.h"

using namespace gdxtest;

TEST(CMavDisplayItem, CopiesAreDeepAndItemsWithoutRarePartReadItsDefaults)
{
    CMavDisplayItem src;
    src.m_stack = path({5, 2});
    src.rareEdit().m_hatch.name = L"ANSI31";
    src.rareEdit().m_txtRegl.append(CMavArrayTempl<CMavVertexArray>{rect(0, 0, 1, 1)});
    src.rareEdit().m_regl.append(rect(1, 1, 3, 3));
    CMavDisplayItem copy(src);
    copy.rareEdit().m_regl[0][0].start.x = 99.0;
    copy.rareEdit().m_txtRegl[0][0][2].end.y = -7.0;
    copy.m_stack[0] = 6;
    copy.rareEdit().m_hatch.name = L"DOTS";
    EXPECT_TRUE(src.rare().m_regl[0][0].start.x == 1.0 && src.rare().m_txtRegl[0][0][2].end.y == 1.0);
    EXPECT_TRUE(src.m_stack[0] == 5 && src.rare().m_hatch.name == L"ANSI31");
    CMavDisplayItem& same = copy;
    copy = same;
    EXPECT_EQ(copy.rare().m_regl[0][0].start.x, 99.0);

    // A line item has no rare part: it reads the defaults, and assigning it over an item with one drops it.
    CMavDisplayItem ln, over(src);
    over.rareEdit().m_pdMode = 3;
    over.rareEdit().m_fcolor = CMavColor(4);
    CMavDisplayItem moved(over);
    over = ln;
    EXPECT_TRUE(over.rare().m_pdMode == Mav::kGdxPdModeUnset && over.rare().m_fcolor == CMavColor());
    EXPECT_TRUE(over.rare().m_hatch.name.isEmpty() && over.rare().m_regl.isEmpty() && over.rare().m_mtx2.isIdentity());
    const CMavDisplayItem target(std::move(moved));
    EXPECT_TRUE(target.rare().m_pdMode == 3u && target.rare().m_regl.len() == 1);
    // A large slide becomes one item per line: half a million of them must fit in 150 MB with their geometry.
    EXPECT_LE(sizeof(CMavDisplayItem), 160u);
    EXPECT_LE(sizeof(CMavColor), 24u);
}
