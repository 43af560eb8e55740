// Text items of the display list, each compared with the font's own layout: strings, texts drawn by the host,
// and the setters that lay a group's texts out again.
#include <gtest/gtest.h>

#include "base/g_vl.h"
#include "gdx_test_util.h"
#include "geometry/font.h"

using namespace gdxtest;

namespace
{

using Regions = CMavArrayTempl<CMavArrayTempl<CMavVertexArray>>;

// Box of the outer outlines of laid-out regions, widened by the points given.
void regionsBox(const Regions& regions, CMavPoint3d& lo, CMavPoint3d& hi, std::initializer_list<CMavPoint3d> more)
{
    lo = CMavPoint3d(1e300, 1e300, 0);
    hi = CMavPoint3d(-1e300, -1e300, 0);
    for (const CMavArrayTempl<CMavVertexArray>& region : regions) {
        CMavPoint3d a, b;
        ASSERT_TRUE(region[0].extents(a, b));
        lo = MAV::p_min(lo, a);
        hi = MAV::p_max(hi, b);
    }
    for (const CMavPoint3d& p : more) {
        lo = MAV::p_min(lo, p);
        hi = MAV::p_max(hi, p);
    }
}

} // namespace

// A string text keeps its flags and holds the font's layout at its point; the setters lay every item of the group
// out again, texts or not, and the extents move with the texts, while a line item keeps counting with its own
// polyline and texts left out of the extents leave them alone.
TEST(GdxTextTest, StringTextsAndTheirSettersFollowTheFontLayout)
{
    CMavGDX g = plainList();
    ASSERT_TRUE(g.imageTxt(path({3, 1}), 0x200, L"A", CMavColor(1), CMavMatrix3d(), L"TR", {4, 7, 0}));
    EXPECT_EQ(g.getDisplayList()[0].rare().m_txtRegl, MAV::fontTextLayout(L"A", L"TR", {4, 7, 0}));
    EXPECT_EQ(g.getDisplayList()[0].m_flags, 0x200u);
    addLine(g, {3, 2}, 0, 0, 1, 1);
    ASSERT_TRUE(g.imageTxt(path({9}), 0, L"Z", CMavColor(1), CMavMatrix3d(), L"", {-20, 0, 0}));
    ASSERT_TRUE(g.imageTxt(path({4}), Mav::kGdxNoExtents, L"W", CMavColor(1), CMavMatrix3d(), L"", {100, 100, 0}));
    EXPECT_FALSE(g.txtSet(path({3}), nullptr) || g.txtAlignSet(path({3}), nullptr));
    ASSERT_TRUE(g.txtSet(path({3}), L"HH"));
    ASSERT_TRUE(g.txtAlignSet(path({3, 1}), L"CC"));
    g.txtPointSet(path({3}), CMavPoint3d(1000, 500, 0));
    const Regions centred = MAV::fontTextLayout(L"HH", L"CC", {1000, 500, 0});
    EXPECT_EQ(g.getDisplayList()[0].rare().m_txtRegl, centred);
    EXPECT_EQ(g.getDisplayList()[1].rare().m_txtRegl, MAV::fontTextLayout(L"HH", L"", {1000, 500, 0}));
    EXPECT_EQ(g.getDisplayList()[1].m_kind, kDispPolyline);
    CMavPoint3d zlo, zhi, lo, hi;
    regionsBox(g.getDisplayList()[2].rare().m_txtRegl, zlo, zhi, {});
    regionsBox(centred, lo, hi, {zlo, zhi, {0, 0, 0}, {1, 1, 0}});
    expectExtents(g, {lo.x, lo.y, 0}, {hi.x, hi.y, 0});
}

// A host text needs an item; the item is always filled in its colour and counts in the extents unless told not to.
TEST(GdxTextTest, HostTextNeedsAnItemAndIsAlwaysFilled)
{
    CMavGDX g = plainList();
    EXPECT_FALSE(g.imageTxt(path({1}), 0, static_cast<const CMavDataItem*>(nullptr), {}, CMavMatrix3d(), 1.0));
    CMavDataDir text;
    text.setAt(CMavDataKey(L"TXT"), L"E");
    ASSERT_TRUE(g.imageTxt(path({1}), 0x100, &text, CMavColor(2), CMavMatrix3d(), 2.0));
    ASSERT_EQ(g.lenGet(), 1);
    const CMavDisplayItem& item = g.getDisplayList()[0];
    EXPECT_TRUE(item.m_kind == kDispText && item.m_flags == 0x101u && item.rare().m_fcolor == CMavColor(2));
    CMavPoint3d lo, hi;
    regionsBox(item.rare().m_txtRegl, lo, hi, {});
    expectExtents(g, {lo.x, lo.y, 0}, {hi.x, hi.y, 0});
    ASSERT_TRUE(g.imageTxt(path({2}), Mav::kGdxNoExtents, &text, CMavColor(2),
                           CMavMatrix3d::translation(CMavVector3d(500, 500, 0)), 2.0));
    expectExtents(g, {lo.x, lo.y, 0}, {hi.x, hi.y, 0});
}
