// Text items of the display list: strings laid out with the built-in font, texts drawn by the host, and the
// setters that lay a group's texts out again.
#include <gtest/gtest.h>

#include "gdx_test_util.h"
#include "geometry/font.h"
#include "base/g_vl.h"

using namespace gdxtest;

namespace {

using Regions = CMavArrayTempl<CMavArrayTempl<CMavVertexArray>>;

// Box of the outer outlines of laid-out regions.
void regionsBox(const Regions& regions, CMavPoint3d& lo, CMavPoint3d& hi)
{
    bool first = true;
    for (const CMavArrayTempl<CMavVertexArray>& region : regions) {
        CMavPoint3d a, b;
        ASSERT_TRUE(region[0].extents(a, b));
        lo = first ? a : MAV::p_min(lo, a);
        hi = first ? b : MAV::p_max(hi, b);
        first = false;
    }
}

void expectExtents(const CMavGDX& g, const CMavPoint3d& lo, const CMavPoint3d& hi)
{
    CMavPoint3d min, max;
    g.extmaxGet(min, max);
    EXPECT_NEAR(min.x, lo.x, 1e-9);
    EXPECT_NEAR(min.y, lo.y, 1e-9);
    EXPECT_NEAR(max.x, hi.x, 1e-9);
    EXPECT_NEAR(max.y, hi.y, 1e-9);
}

}  // namespace

TEST(GdxTextTest, StringTextIsLaidOutAtItsPointAndCountsInTheExtents)
{
    CMavGDX g = plainList();
    const CMavPoint3d p(4, 7, 0);
    ASSERT_TRUE(g.imageTxt(path({3}), 0x200, L"Ab", CMavColor(5), CMavMatrix3d(), L"TR", p));
    ASSERT_EQ(g.getDisplayList().len(), 1);
    const CMavDisplayItem& item = g.getDisplayList()[0];
    EXPECT_EQ(item.m_kind, kDispText);
    EXPECT_EQ(item.m_flags, 0x200u);  // not made filled: the flags stay as given
    EXPECT_EQ(item.m_lineType, CMavArrayTempl<double>({1.0, 0.0, 0.0}));
    EXPECT_EQ(item.m_ltScale, 0.0);
    EXPECT_TRUE(item.rare().m_text == L"Ab");
    EXPECT_TRUE(item.rare().m_align == L"TR");
    const Regions laid = MAV::fontTextLayout(L"Ab", L"TR", p);
    EXPECT_EQ(item.rare().m_txtRegl, laid);
    // Right and top aligned: the text ends left of and below the insertion point.
    CMavPoint3d lo, hi;
    regionsBox(laid, lo, hi);
    EXPECT_LT(hi.x, p.x);
    EXPECT_NEAR(hi.y, 0.0, 1e-9);  // top-aligned: the height includes the point's y
    expectExtents(g, lo, hi);

    // A text left out of the extents leaves them alone; a text of characters without glyphs has no regions.
    ASSERT_TRUE(g.imageTxt(path({4}), Mav::kGdxNoExtents, L"WWW", CMavColor(1), CMavMatrix3d(), L"", {100, 100, 0}));
    ASSERT_TRUE(g.imageTxt(path({5}), 0, L"  ", CMavColor(1), CMavMatrix3d(), L"CC", {-50, -50, 0}));
    EXPECT_TRUE(g.getDisplayList()[2].rare().m_txtRegl.isEmpty());
    expectExtents(g, lo, hi);
}

TEST(GdxTextTest, SettersLayEveryItemOfTheGroupOutAgain)
{
    CMavGDX g = plainList();
    ASSERT_TRUE(g.imageTxt(path({3, 1}), 0, L"A", CMavColor(1), CMavMatrix3d(), L"", {0, 0, 0}));
    addLine(g, {3, 2}, 0, 0, 1, 1);  // not a text, yet laid out like one by the setters
    ASSERT_TRUE(g.imageTxt(path({9}), 0, L"Z", CMavColor(1), CMavMatrix3d(), L"", {-20, 0, 0}));

    EXPECT_FALSE(g.txtSet(path({3}), nullptr));
    EXPECT_FALSE(g.txtAlignSet(path({3}), nullptr));
    EXPECT_TRUE(g.txtSet(path({77}), L"nothing selected"));

    ASSERT_TRUE(g.txtSet(path({3}), L"HH"));
    EXPECT_EQ(g.getDisplayList()[0].rare().m_txtRegl, MAV::fontTextLayout(L"HH", L"", {0, 0, 0}));
    EXPECT_EQ(g.getDisplayList()[1].rare().m_txtRegl, MAV::fontTextLayout(L"HH", L"", {0, 0, 0}));
    EXPECT_EQ(g.getDisplayList()[1].m_kind, kDispPolyline);
    EXPECT_EQ(g.getDisplayList()[2].rare().m_txtRegl, MAV::fontTextLayout(L"Z", L"", {-20, 0, 0}));

    ASSERT_TRUE(g.txtAlignSet(path({3, 1}), L"CC"));
    EXPECT_EQ(g.getDisplayList()[0].rare().m_txtRegl, MAV::fontTextLayout(L"HH", L"CC", {0, 0, 0}));
    EXPECT_EQ(g.getDisplayList()[1].rare().m_txtRegl, MAV::fontTextLayout(L"HH", L"", {0, 0, 0}));

    // Moving the texts far away must move the extents with them, not keep the box of the old place.
    g.txtPointSet(path({3}), CMavPoint3d(1000, 500, 0));
    const Regions centred = MAV::fontTextLayout(L"HH", L"CC", {1000, 500, 0});
    const Regions plain = MAV::fontTextLayout(L"HH", L"", {1000, 500, 0});
    EXPECT_EQ(g.getDisplayList()[0].rare().m_txtRegl, centred);
    EXPECT_EQ(g.getDisplayList()[1].rare().m_txtRegl, plain);
    CMavPoint3d zlo, zhi, clo, chi;
    regionsBox(g.getDisplayList()[2].rare().m_txtRegl, zlo, zhi);
    regionsBox(centred, clo, chi);
    // The line item counts with its own polyline (0,0)-(1,1), not with the text regions it now holds.
    expectExtents(g, MAV::p_min(zlo, MAV::p_min(clo, CMavPoint3d(0, 0, 0))),
                  MAV::p_max(chi, MAV::p_max(zhi, CMavPoint3d(1, 1, 0))));
}

TEST(GdxTextTest, HostTextNeedsADirectoryAndIsAlwaysFilled)
{
    CMavGDX g = plainList();
    EXPECT_FALSE(g.imageTxt(path({1}), 0, static_cast<const CMavDataItem*>(nullptr), CMavColor(2), CMavMatrix3d(),
                            1.0));
    CMavDataItem plain;
    plain.set(CMavString(L"AB"));
    EXPECT_FALSE(g.imageTxt(path({1}), 0, &plain, CMavColor(2), CMavMatrix3d(), 1.0));
    EXPECT_EQ(g.getDisplayList().len(), 0);

    // The default host answers with the built-in font, scaled to the height.
    CMavDataDir text;
    text.setAt(CMavDataKey(L"TXT"), L"E");
    ASSERT_TRUE(g.imageTxt(path({1}), 0x100, &text, CMavColor(2), CMavMatrix3d(), 2.0));
    ASSERT_EQ(g.getDisplayList().len(), 1);
    const CMavDisplayItem& item = g.getDisplayList()[0];
    EXPECT_EQ(item.m_kind, kDispText);
    EXPECT_EQ(item.m_flags, 0x101u);
    EXPECT_EQ(item.rare().m_fcolor, CMavColor(2));
    EXPECT_TRUE(item.rare().m_text.isEmpty());
    CMavPoint3d lo, hi, flo, fhi;
    regionsBox(item.rare().m_txtRegl, lo, hi);
    regionsBox(MAV::fontTextLayout(L"E", L"", {0, 0, 0}), flo, fhi);
    EXPECT_NEAR(hi.y, 2.0 * fhi.y, 1e-9);
    EXPECT_NEAR(lo.x, 2.0 * flo.x, 1e-9);
    expectExtents(g, lo, hi);
}
