// Defaults and deep copies of display items.
#include <gtest/gtest.h>

#include "gdx/CMavDisplayItem.h"
#include "gdx_test_util.h"

using namespace gdxtest;

TEST(CMavDisplayItem, DefaultItemReadsTheListDefaultsForItsPointStyle)
{
    CMavDisplayItem it;
    EXPECT_EQ(it.m_kind, kDispNone);
    EXPECT_EQ(it.m_flags, 0u);
    EXPECT_TRUE(it.m_stack.isEmpty());
    EXPECT_EQ(it.m_pdMode, 0xFFFFFFFFu);
    EXPECT_EQ(it.m_pdSize, 0.0);
    EXPECT_EQ(it.m_ltScale, 0.0);
    EXPECT_EQ(it.m_thickness, 0);
    EXPECT_TRUE(it.m_mtx.isIdentity());
    EXPECT_TRUE(it.m_mtx2.isIdentity());

    CMavGDX g(CMavColor(), CMavMatrix3d(), 2.5, 7, CMavPoint3d(), CMavPoint3d());
    CMavArrayTempl<CMavDisplayItem> one;
    one.append(it);
    ASSERT_TRUE(g.addDisplayList(one));
    EXPECT_EQ(g.pdModeGet(0), 7ul);
    EXPECT_EQ(g.pdSizeGet(0), 2.5);
    EXPECT_EQ(g.typeGet(0), kDispNone);
}

TEST(CMavDisplayItem, CopyIsDeepAndSelfAssignmentKeepsEverything)
{
    CMavDisplayItem src;
    src.m_kind = kDispText;
    src.m_flags = 0x301;
    src.m_stack = path({5, 2});
    src.m_lineType = CMavArrayTempl<double>{1.0, -0.5};
    src.m_text = L"AB";
    src.m_align = L"CC";
    src.m_resText = L"kept";
    src.m_resVector = CMavVector3d(1, 2, 3);
    src.m_mtx2 = CMavMatrix3d::translation(CMavVector3d(4, 5, 6));
    src.m_hatch.name = L"ANSI31";
    src.m_hatch.scale = 2.0;
    for (int r = 0; r < 2; ++r) {
        CMavArrayTempl<CMavVertexArray> region;
        region.append(rect(r, 0, r + 1, 1));
        src.m_txtRegl.append(region);
    }
    for (int o = 0; o < 3; ++o)
        src.m_regl.append(rect(o, o, o + 2, o + 2));

    CMavDisplayItem copy(src);
    copy.m_regl[1][0].start.x = 99.0;
    copy.m_txtRegl[1][0][2].end.y = -7.0;
    copy.m_stack[0] = 6;
    copy.m_hatch.name = L"DOTS";
    EXPECT_EQ(src.m_regl[1][0].start.x, 1.0);
    EXPECT_EQ(src.m_txtRegl[1][0][2].end.y, 1.0);
    EXPECT_EQ(src.m_stack[0], 5);
    EXPECT_EQ(src.m_hatch.name, CMavString(L"ANSI31"));
    EXPECT_EQ(copy.m_regl.len(), 3);
    EXPECT_EQ(copy.m_resText, CMavString(L"kept"));
    EXPECT_EQ(copy.m_resVector, CMavVector3d(1, 2, 3));
    EXPECT_EQ(copy.m_mtx2, src.m_mtx2);
    EXPECT_EQ(copy.m_hatch.scale, 2.0);
    EXPECT_EQ(copy.cMode(), GDX_CMODE_AXIS);

    CMavDisplayItem assigned;
    assigned = src;
    EXPECT_EQ(assigned.m_text, CMavString(L"AB"));
    EXPECT_EQ(assigned.m_txtRegl.len(), 2);
    const CMavDisplayItem& same = assigned;
    assigned = same;
    EXPECT_EQ(assigned.m_align, CMavString(L"CC"));
    EXPECT_EQ(assigned.m_regl.len(), 3);
    EXPECT_EQ(assigned.m_regl[2][0].start, CMavPoint3d(2, 2, 0));
}
