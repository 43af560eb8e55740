// Window fit, view direction by name, the view box and a group's box.
#include <gtest/gtest.h>

#include <limits>

#include "gdx/CMavGDX.h"
#include "gdx_test_util.h"
#include "geometry/viewdir.h"

using namespace gdxtest;

// The box plus its margin fills the window's shorter way, centred the other way, y down; 0 x 0 is 320 x 240.
// Boxes without area or not finite give the identity.
TEST(CMavGDXView, WindowFitPlacesTheBoxCentredWithYDown)
{
    const struct {
        CMavPoint3d lo, hi;
        int height, width;
        double margin;
        CMavPoint3d p, image;
    } cases[] = {
        {{0, 0, 0}, {100, 50, 0}, 200, 400, 0.05, {-10, -5, 0}, {0, 200, 0}},
        {{0, 0, 0}, {10, 100, 0}, 100, 100, 0.0, {0, 0, 0}, {45, 100, 0}},
        {{0, 0, 0}, {100, 10, 0}, 100, 100, 0.0, {0, 0, 0}, {0, 55, 0}},
        {{0, 0, 0}, {40, 30, 0}, 0, 0, 0.0, {40, 30, 0}, {320, 0, 0}},
    };
    for (const auto& c : cases) {
        const CMavPoint3d image = getViewMtx(c.lo, c.hi, c.height, c.width, c.margin) * c.p;
        expectPoint(image, c.image.x, c.image.y, c.image.z, 1e-9);
    }
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const CMavPoint3d bad[][2] = {{{1, 1, 0}, {1, 1, 0}},   {{0, 0, 0}, {10, 0, 0}},   {{5, 5, 0}, {0, 0, 0}},
                                  {{nan, 0, 0}, {1, 1, 0}}, {{-inf, 0, 0}, {1, 1, 0}}, {{0, 0, 0}, {inf, 5, 0}}};
    for (const auto& box : bad)
        EXPECT_EQ(getViewMtx(box[0], box[1], 200, 400, box[0].x == 1 || box[1].x == inf ? 0.05 : 0.0), CMavMatrix3d());
}

// A named view direction is the one of its vector; unknown names change nothing.
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
    EXPECT_TRUE(lo == CMavPoint3d(-1, 0, 0) && hi == CMavPoint3d(1, 2, 0));
    addLine(g, {1}, 30, 30, 40, 40);
    g.extMaxViewSet();
    g.extMaxViewGet(lo, hi);
    EXPECT_EQ(hi, CMavPoint3d(40, 40, 0));
    EXPECT_TRUE(g.viewDirectionSet(CMavString(L"NO")) && !g.viewDirectionMtxGet().isIdentity());
    CMavGDX h = plainList();
    h.viewDirectionHvcSet(mav_gdx_view_vdir_get(CMavString(L"NO")));
    EXPECT_EQ(g.viewDirectionMtxGet(), h.viewDirectionMtxGet());
}

// A group's box widens the caller's box by its items under item matrix and projection only.
TEST(CMavGDXView, GroupBoxWidensTheCallersBox)
{
    CMavGDX g = plainList();
    g.projMtxSet(CMavMatrix3d::scaling(2.0));
    addLine(g, {4, 1}, 0, 0, 1, 1, 0, CMavMatrix3d::translation(CMavVector3d(1, 0, 0)));
    addPoint(g, {4, 2}, -3, 0);
    addLine(g, {5}, 100, 100, 200, 200);
    g.viewDirectionMtxSet(CMavMatrix3d::translation(CMavVector3d(0, 0, 50)));
    CMavPoint3d lo(1, 1, 1), hi(1, 1, 1);
    EXPECT_TRUE(g.extmaxGet(path({4}), lo, hi) && !g.extmaxGet(path({7}), lo, hi));
    EXPECT_TRUE(lo == CMavPoint3d(-6, 0, 0) && hi == CMavPoint3d(4, 2, 1));
}

// An image point goes back through zoom, projection, view and view direction; a matrix without inverse is passed
// over.
TEST(CMavGDXView, ImagePointGoesBackThroughEveryMatrix)
{
    CMavGDX g = plainList();
    const CMavMatrix3d zoom = CMavMatrix3d::scaling(2.0), proj = CMavMatrix3d::translation(CMavVector3d(10, 0, 0));
    const CMavMatrix3d view = getViewMtx(CMavPoint3d(0, 0, 0), CMavPoint3d(100, 50, 0), 200, 400, 0.05);
    const CMavMatrix3d vdir = CMavMatrix3d::rotation(1.5707963267948966, CMavVector3d::kZAxis);
    g.zoomMtxSet(zoom);
    g.projMtxSet(proj);
    g.viewMtxSet(view);
    g.viewDirectionMtxSet(vdir);
    expectPoint(g.imagePtWc(zoom * (proj * (view * (vdir * CMavPoint3d(3, 4, 0))))), 3, 4, 0);
    CMavGDX s = plainList();
    CMavMatrix3d flat;
    flat.m[0][0] = 0.0;
    flat.m[1][1] = std::numeric_limits<double>::quiet_NaN();
    s.zoomMtxSet(flat);
    s.viewMtxSet(CMavMatrix3d::scaling(0.5));
    expectPoint(s.imagePtWc(CMavPoint3d(1, 2, 3)), 2, 4, 6);
}
