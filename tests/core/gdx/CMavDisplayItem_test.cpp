// Display items: deep copies of their rare part, the defaults an item without one reads, and the placement
// matrix stored bit for bit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "gdx/CMavDisplayItem.h"
#include "gdx_test_util.h"

using namespace gdxtest;

TEST(CMavDisplayItem, CopiesAreDeepAndItemsWithoutRarePartReadItsDefaults)
{
    CMavDisplayItem src;
    src.m_stack = path({5, 2});
    src.rareEdit().m_resText = L"kept";
    src.rareEdit().m_hatch.name = L"ANSI31";
    src.rareEdit().m_txtRegl.append(CMavArrayTempl<CMavVertexArray>{rect(0, 0, 1, 1)});
    for (int o = 0; o < 3; ++o)
        src.rareEdit().m_regl.append(rect(o, o, o + 2, o + 2));
    CMavDisplayItem copy(src);
    copy.rareEdit().m_regl[1][0].start.x = 99.0;
    copy.rareEdit().m_txtRegl[0][0][2].end.y = -7.0;
    copy.m_stack[0] = 6;
    copy.rareEdit().m_hatch.name = L"DOTS";
    EXPECT_EQ(src.rare().m_regl[1][0].start.x, 1.0);
    EXPECT_EQ(src.rare().m_txtRegl[0][0][2].end.y, 1.0);
    EXPECT_EQ(src.m_stack[0], 5);
    EXPECT_EQ(src.rare().m_hatch.name, CMavString(L"ANSI31"));
    EXPECT_EQ(copy.rare().m_resText, CMavString(L"kept"));
    CMavDisplayItem& same = copy;
    copy = same;
    EXPECT_EQ(copy.rare().m_regl.len(), 3);

    // A line item has no rare part: it reads the defaults, and assigning it over an item with one drops it.
    CMavDisplayItem ln;
    ln.m_vl = line(0, 0, 1, 1);
    CMavDisplayItem over(src);
    over.rareEdit().m_pdMode = 3;
    over.rareEdit().m_fcolor = CMavColor(4);
    CMavDisplayItem moved(over);
    over = ln;
    EXPECT_EQ(over.rare().m_pdMode, Mav::kGdxPdModeUnset);
    EXPECT_EQ(over.rare().m_fcolor, CMavColor());
    EXPECT_TRUE(over.rare().m_resText.isEmpty() && over.rare().m_regl.isEmpty() && over.rare().m_mtx2.isIdentity());
    CMavDisplayItem target(std::move(moved));
    EXPECT_EQ(target.rare().m_pdMode, 3u);
    EXPECT_EQ(target.rare().m_regl.len(), 3);
    // A large slide becomes one item per line: half a million of them must fit in 150 MB with their geometry.
    EXPECT_LE(sizeof(CMavDisplayItem), 160u);
    EXPECT_LE(sizeof(CMavColor), 24u);
}

// The placement matrix gives back exactly the bits it was given, the identity when it holds nothing, and its
// compound product is the base library's.
TEST(CMavDisplayItem, PlacementMatrixKeepsItsBits)
{
    CMavMatrix3d negZero;
    negZero.m[0][1] = -0.0; // equal to the identity by value, not by bits
    const CMavMatrix3d rot = CMavMatrix3d::rotation(0.3, CMavVector3d::kZAxis);
    const CMavMatrix3d move = CMavMatrix3d::translation(CMavVector3d(4, -5, 6));
    const CMavMatrix3d cases[] = {CMavMatrix3d::kIdentity, negZero, rot, move, rot * move};
    for (const CMavMatrix3d& m : cases) {
        CMavDisplayItem it;
        it.m_mtx = rot;
        it.m_mtx = m;
        const CMavDisplayItem copy(it);
        EXPECT_EQ(std::memcmp(&copy.m_mtx.get(), &m, sizeof m), 0);
        for (const CMavMatrix3d& d : cases) {
            CMavDisplayItem times(it);
            times.m_mtx *= d;
            CMavMatrix3d expected = m;
            expected *= d;
            EXPECT_EQ(std::memcmp(&times.m_mtx.get(), &expected, sizeof expected), 0);
        }
    }
    EXPECT_TRUE(std::signbit(CMavItemMatrix(negZero).get().m[0][1]));
    EXPECT_EQ(CMavItemMatrix(move).inverse(), move.inverse());
}
