// View direction, boxes, window fit and the inverse mapping of image points.
#include <gtest/gtest.h>

#include <limits>

#include "gdx/CMavGDX.h"
#include "gdx_test_util.h"
#include "geometry/viewdir.h"

using namespace gdxtest;

TEST(CMavGDXView, WindowFitPlacesTheBoxCentredWithYDown)
{
    // Box (0,0)-(100,50) in 400 x 200: margin 5, s = 200/60, shifted 5 units right to centre.
    const CMavMatrix3d v = getViewMtx(CMavPoint3d(0, 0, 0), CMavPoint3d(100, 50, 0), 200, 400, 0.05);
    const double s = 200.0 / 60.0;
    expectPoint(v * CMavPoint3d(-10, -5, 0), 0, 200, 0);
    expectPoint(v * CMavPoint3d(0, 0, 0), 10 * s, 200 - 5 * s, 0);
    expectPoint(v * CMavPoint3d(110, 55, 2), 400, 0, 2 * s);
    // A tall box: the height decides, the width is centred.
    const CMavMatrix3d t = getViewMtx(CMavPoint3d(0, 0, 0), CMavPoint3d(10, 100, 0), 100, 100, 0.0);
    expectPoint(t * CMavPoint3d(0, 0, 0), 45, 100, 0);
    // A wide box: the width decides, the height is centred.
    expectPoint(getViewMtx(CMavPoint3d(0, 0, 0), CMavPoint3d(100, 10, 0), 100, 100, 0.0) * CMavPoint3d(), 0, 55, 0);
    // 0 x 0 means 320 x 240.
    const CMavMatrix3d d = getViewMtx(CMavPoint3d(0, 0, 0), CMavPoint3d(40, 30, 0), 0, 0, 0.0);
    expectPoint(d * CMavPoint3d(40, 30, 0), 320, 0, 0);
    expectPoint(d * CMavPoint3d(0, 0, 0), 0, 240, 0);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const auto& box : {std::make_pair(CMavPoint3d(1, 1, 0), CMavPoint3d(1, 1, 0)),
                            std::make_pair(CMavPoint3d(0, 0, 0), CMavPoint3d(10, 0, 0)),
                            std::make_pair(CMavPoint3d(5, 5, 0), CMavPoint3d(0, 0, 0)),
                            std::make_pair(CMavPoint3d(nan, 0, 0), CMavPoint3d(1, 1, 0)),
                            std::make_pair(CMavPoint3d(-inf, 0, 0), CMavPoint3d(1, 1, 0))})
        EXPECT_EQ(getViewMtx(box.first, box.second, 200, 400, 0.0), CMavMatrix3d());
    EXPECT_EQ(getViewMtx(CMavPoint3d(1, 1, 0), CMavPoint3d(1, 1, 0), 200, 400, 0.05), CMavMatrix3d());
    EXPECT_EQ(getViewMtx(CMavPoint3d(0, 0, 0), CMavPoint3d(inf, 5, 0), 200, 400, 0.05), CMavMatrix3d());
}

// A named view direction is the one of its vector and recomputes the extents in it; unknown names change nothing.
// The view box falls back to the extents when it is a single point or not given.
TEST(CMavGDXView, ViewDirectionByNameAndViewBox)
{
    CMavGDX g = plainList();
    addLine(g, {1}, 10, 10, 20, 20);
    for (const wchar_t* bad : {L"X", L"", L"no"})
        EXPECT_FALSE(g.viewDirectionSet(CMavString(bad)));
    EXPECT_EQ(g.viewDirectionMtxGet(), CMavMatrix3d());
    CMavPoint3d lo, hi;
    g.extMaxViewSet(CMavPoint3d(3, 3, 3), CMavPoint3d(3, 3, 3));
    g.extMaxViewGet(lo, hi);
    EXPECT_EQ(lo, CMavPoint3d(10, 10, 0));
    g.extMaxViewSet(CMavPoint3d(-1, 0, 0), CMavPoint3d(1, 2, 0));
    g.extMaxViewGet(lo, hi);
    EXPECT_EQ(lo, CMavPoint3d(-1, 0, 0));
    EXPECT_EQ(hi, CMavPoint3d(1, 2, 0));
    addLine(g, {1}, 30, 30, 40, 40);
    g.extMaxViewSet();
    g.extMaxViewGet(lo, hi);
    EXPECT_EQ(hi, CMavPoint3d(40, 40, 0));

    EXPECT_TRUE(g.viewDirectionSet(CMavString(L"NO")));
    CMavGDX h = plainList();
    h.viewDirectionHvcSet(mav_gdx_view_vdir_get(CMavString(L"NO")));
    EXPECT_EQ(g.viewDirectionMtxGet(), h.viewDirectionMtxGet());
    EXPECT_NE(g.viewDirectionMtxGet(), CMavMatrix3d());
    CMavVertexArray turned = line(10, 10, 40, 40);
    turned.transformBy(g.viewDirectionMtxGet());
    turned.extents(lo, hi);
    expectExtents(g, lo, hi);
}

TEST(CMavGDXView, GroupBoxWidensTheCallersBoxWithItemMatrixAndProjectionOnly)
{
    CMavGDX g = plainList();
    g.projMtxSet(CMavMatrix3d::scaling(2.0));
    addLine(g, {4, 1}, 0, 0, 1, 1, 0, CMavMatrix3d::translation(CMavVector3d(1, 0, 0)));
    addPoint(g, {4, 2}, -3, 0);
    addLine(g, {4, 3}, 5, 5, 6, 6);
    addLine(g, {5}, 100, 100, 200, 200);
    g.viewDirectionMtxSet(CMavMatrix3d::translation(CMavVector3d(0, 0, 50)));
    CMavPoint3d lo(1, 1, 1), hi(1, 1, 1);
    ASSERT_TRUE(g.extmaxGet(path({4}), lo, hi));
    EXPECT_EQ(lo, CMavPoint3d(-6, 0, 0));
    EXPECT_EQ(hi, CMavPoint3d(12, 12, 1));

    CMavPoint3d a(7, 7, 7), b(8, 8, 8);
    EXPECT_FALSE(g.extmaxGet(path({}), a, b));
    EXPECT_FALSE(g.extmaxGet(path({6}), a, b));
    // A group of texts is found but adds nothing.
    CMavDisplayItem text;
    text.m_kind = kDispText;
    text.m_stack = path({6});
    CMavArrayTempl<CMavVertexArray> glyph;
    glyph.append(rect(50, 50, 60, 60));
    text.rareEdit().m_txtRegl.append(glyph);
    CMavArrayTempl<CMavDisplayItem> items;
    items.append(text);
    g.addDisplayList(items);
    EXPECT_TRUE(g.extmaxGet(path({6}), a, b));
    EXPECT_EQ(a, CMavPoint3d(7, 7, 7));
    EXPECT_EQ(b, CMavPoint3d(8, 8, 8));
}

TEST(CMavGDXView, ImagePointGoesBackThroughZoomProjectionViewAndDirection)
{
    CMavGDX g = plainList();
    const CMavMatrix3d zoom = CMavMatrix3d::scaling(2.0);
    const CMavMatrix3d proj = CMavMatrix3d::translation(CMavVector3d(10, 0, 0));
    const CMavMatrix3d view = getViewMtx(CMavPoint3d(0, 0, 0), CMavPoint3d(100, 50, 0), 200, 400, 0.05);
    const CMavMatrix3d vdir = CMavMatrix3d::rotation(1.5707963267948966, CMavVector3d::kZAxis);
    g.zoomMtxSet(zoom);
    g.projMtxSet(proj);
    g.viewMtxSet(view);
    g.viewDirectionMtxSet(vdir);
    const CMavPoint3d image = zoom * (proj * (view * (vdir * CMavPoint3d(3, 4, 0))));
    expectPoint(g.imagePtWc(image), 3, 4, 0);

    // A matrix without inverse is passed over.
    CMavGDX s = plainList();
    CMavMatrix3d flat;
    flat.m[0][0] = 0.0;
    s.zoomMtxSet(flat);
    s.viewMtxSet(CMavMatrix3d::scaling(0.5));
    expectPoint(s.imagePtWc(CMavPoint3d(1, 2, 3)), 2, 4, 6);
    flat.m[1][1] = std::numeric_limits<double>::quiet_NaN();
    s.zoomMtxSet(flat);
    expectPoint(s.imagePtWc(CMavPoint3d(1, 2, 3)), 2, 4, 6);
}
