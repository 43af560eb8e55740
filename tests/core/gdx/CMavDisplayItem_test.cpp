// Defaults and deep copies of display items.
#include <gtest/gtest.h>

#include "gdx/CMavDisplayItem.h"
#include "gdx_test_util.h"

using namespace gdxtest;

TEST(CMavDisplayItem, DefaultsAndDeepCopies)
{
    const CMavDisplayItem def;
    EXPECT_EQ(def.m_kind, kDispNone);
    EXPECT_EQ(def.m_pdMode, 0xFFFFFFFFu);
    EXPECT_TRUE(def.m_mtx.isIdentity() && def.m_mtx2.isIdentity());

    CMavDisplayItem src;
    src.m_flags = 0x301;
    src.m_stack = path({5, 2});
    src.m_resText = L"kept";
    src.m_resVector = CMavVector3d(1, 2, 3);
    src.m_mtx2 = CMavMatrix3d::translation(CMavVector3d(4, 5, 6));
    src.m_hatch.name = L"ANSI31";
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
    EXPECT_EQ(copy.m_resText, CMavString(L"kept"));
    EXPECT_EQ(copy.m_resVector, CMavVector3d(1, 2, 3));
    EXPECT_EQ(copy.m_mtx2, src.m_mtx2);
    EXPECT_EQ(copy.cMode(), GDX_CMODE_AXIS);

    CMavDisplayItem& same = copy;
    copy = same;
    EXPECT_EQ(copy.m_regl.len(), 3);
    EXPECT_EQ(copy.m_regl[2][0].start, CMavPoint3d(2, 2, 0));
    EXPECT_EQ(copy.m_txtRegl.len(), 2);
}
