// Defaults and deep copies of display items.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "gdx/CMavDisplayItem.h"
#include "gdx_test_util.h"

using namespace gdxtest;

TEST(CMavDisplayItem, DefaultsAndDeepCopies)
{
    const CMavDisplayItem def;
    EXPECT_EQ(def.m_kind, kDispNone);
    EXPECT_EQ(def.rare().m_pdMode, 0xFFFFFFFFu);
    EXPECT_TRUE(def.m_mtx.isIdentity() && def.rare().m_mtx2.isIdentity());

    CMavDisplayItem src;
    src.m_flags = 0x301;
    src.m_stack = path({5, 2});
    src.rareEdit().m_resText = L"kept";
    src.rareEdit().m_resVector = CMavVector3d(1, 2, 3);
    src.rareEdit().m_mtx2 = CMavMatrix3d::translation(CMavVector3d(4, 5, 6));
    src.rareEdit().m_hatch.name = L"ANSI31";
    for (int r = 0; r < 2; ++r) {
        CMavArrayTempl<CMavVertexArray> region;
        region.append(rect(r, 0, r + 1, 1));
        src.rareEdit().m_txtRegl.append(region);
    }
    for (int o = 0; o < 3; ++o)
        src.rareEdit().m_regl.append(rect(o, o, o + 2, o + 2));

    CMavDisplayItem copy(src);
    copy.rareEdit().m_regl[1][0].start.x = 99.0;
    copy.rareEdit().m_txtRegl[1][0][2].end.y = -7.0;
    copy.m_stack[0] = 6;
    copy.rareEdit().m_hatch.name = L"DOTS";
    EXPECT_EQ(src.rare().m_regl[1][0].start.x, 1.0);
    EXPECT_EQ(src.rare().m_txtRegl[1][0][2].end.y, 1.0);
    EXPECT_EQ(src.m_stack[0], 5);
    EXPECT_EQ(src.rare().m_hatch.name, CMavString(L"ANSI31"));
    EXPECT_EQ(copy.rare().m_resText, CMavString(L"kept"));
    EXPECT_EQ(copy.rare().m_resVector, CMavVector3d(1, 2, 3));
    EXPECT_EQ(copy.rare().m_mtx2, src.rare().m_mtx2);
    EXPECT_EQ(copy.cMode(), GDX_CMODE_AXIS);

    CMavDisplayItem& same = copy;
    copy = same;
    EXPECT_EQ(copy.rare().m_regl.len(), 3);
    EXPECT_EQ(copy.rare().m_regl[2][0].start, CMavPoint3d(2, 2, 0));
    EXPECT_EQ(copy.rare().m_txtRegl.len(), 2);
}

// The placement matrix gives back exactly the bits it was given, the identity when it holds nothing, and its
// compound product is the base library's.
TEST(CMavDisplayItem, PlacementMatrixKeepsItsBits)
{
    CMavMatrix3d negZero;
    negZero.m[0][1] = -0.0; // equal to the identity by value, not by bits
    CMavMatrix3d rot;
    rot.setToRotation(0.3, CMavVector3d::kZAxis);
    const CMavMatrix3d move = CMavMatrix3d::translation(CMavVector3d(4, -5, 6));
    const CMavMatrix3d cases[] = {CMavMatrix3d::kIdentity, negZero, rot, move, rot * move};
    for (const CMavMatrix3d& m : cases) {
        CMavDisplayItem it;
        it.m_mtx = rot;
        it.m_mtx = m;
        EXPECT_EQ(std::memcmp(&it.m_mtx.get(), &m, sizeof m), 0);
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

// An item without points, regions or texts reads the default values from its rare part; assigning such an item
// over one that has them drops them; and a line item stays small.
TEST(CMavDisplayItem, RarePartDefaultsAndSize)
{
    CMavDisplayItem full;
    full.rareEdit().m_text = L"Tuer";
    full.rareEdit().m_pdMode = 3;
    full.rareEdit().m_fcolor = CMavColor(4);
    full.rareEdit().m_regl.append(rect(0, 0, 1, 1));
    CMavDisplayItem ln;
    ln.m_kind = kDispPolyline;
    ln.m_vl = line(0, 0, 1, 1);
    EXPECT_EQ(ln.rare().m_pdMode, Mav::kGdxPdModeUnset);
    EXPECT_EQ(ln.rare().m_pdSize, 0.0);
    EXPECT_EQ(ln.rare().m_fcolor, CMavColor());
    EXPECT_TRUE(ln.rare().m_text.isEmpty() && ln.rare().m_regl.isEmpty());

    CMavDisplayItem over(full);
    EXPECT_EQ(over.rare().m_text, CMavString(L"Tuer"));
    over = ln;
    EXPECT_EQ(over.m_kind, kDispPolyline);
    EXPECT_EQ(over.m_vl.len(), 1);
    EXPECT_TRUE(over.rare().m_text.isEmpty());
    EXPECT_EQ(over.rare().m_pdMode, Mav::kGdxPdModeUnset);
    EXPECT_TRUE(over.rare().m_regl.isEmpty());
    EXPECT_EQ(full.rare().m_fcolor, CMavColor(4));

    CMavDisplayItem moved(std::move(full));
    EXPECT_EQ(moved.rare().m_pdMode, 3u);
    EXPECT_EQ(moved.rare().m_regl.len(), 1);

    // A large slide becomes one item per line: the record itself must stay well under the size at which half a
    // million of them no longer fit in 150 MB with their geometry.
    EXPECT_LE(sizeof(CMavDisplayItem), 160u);
    EXPECT_LE(sizeof(CMavColor), 24u);
}
