// Polar points, bounds, arc chords, area and orientation, extents, continuous parts and cutting of polylines.
#include <gtest/gtest.h>

#include <cmath>

#include "base/g_vl.h"
#include "../geom_test_util.h"

using namespace geomtest;

namespace {

// Largest distance of chord midpoints from the circle of the arc, the centre found independently of the code.
double chordDeviation(const CMavVertex& arc, int n)
{
    const double d = arc.start.distanceTo(arc.end), b = arc.bulge;
    const double r = d / 4.0 * (1.0 / std::fabs(b) + std::fabs(b)), off = d / 4.0 * (1.0 / b - b);
    const double cx = (arc.start.x + arc.end.x) / 2.0 - (arc.end.y - arc.start.y) / d * off;
    const double cy = (arc.start.y + arc.end.y) / 2.0 + (arc.end.x - arc.start.x) / d * off;
    double worst = 0.0;
    for (const CMavVertex& c : MAV::g_vl_expl(arc, n)) {
        EXPECT_NEAR(std::hypot(c.start.x - cx, c.start.y - cy), r, 1e-9 * r);
        worst = std::max(worst, r - std::hypot((c.start.x + c.end.x) / 2.0 - cx, (c.start.y + c.end.y) / 2.0 - cy));
    }
    return worst;
}

} // namespace

TEST(PolylineBasics, ChordCountIsTheSmallestWithinToleranceAndExplodingUsesIt)
{
    const CMavVertex half({1, 0, 0}, {-1, 0, 0}, 1.0);
    // {segment, tolerance, chords}: a half circle of radius 1 at 0.1 needs pi / (2 acos 0.9) = 3.48 -> 4 chords;
    // straight, infinitely bulged, endless or zero-length segments need one, whatever the tolerance; hopeless
    // tolerances and huge arcs get the cap.
    const struct {
        CMavVertex v;
        double tol;
        int n;
    } counts[] = {{half, 0.1, 4}, {half, 2.0, 1}, {CMavVertex({0, 0, 0}, {5, 0, 0}, 0.0), 0.001, 1},
                  {half, 0.0, CMavVertex::kMaxChords}, {half, std::nan(""), CMavVertex::kMaxChords},
                  {CMavVertex({0, 0, 0}, {1, 0, 0}, 1e300), 0.01, CMavVertex::kMaxChords},
                  {CMavVertex({0, 0, 0}, {1, 0, 0}, HUGE_VAL), 0.01, 1},
                  {CMavVertex({0, 0, 0}, {HUGE_VAL, 0, 0}, 0.5), 0.01, 1},
                  {CMavVertex({2, 2, 0}, {2, 2, 0}, 1.0), 0.0, 1}};
    for (const auto& c : counts)
        EXPECT_EQ(MAV::g_vx_split_dif(c.v, c.tol), c.n) << c.v.bulge << " " << c.tol;
    for (const CMavVertex& arc : {half, CMavVertex({0, 0, 0}, {10, 3, 0}, -0.3), CMavVertex({2, 2, 0}, {2, 3, 0}, 3.0),
                                  CMavVertex({0, 0, 0}, {100, 0, 0}, 0.05)})
        for (double tol : {0.001, 0.01, 0.1}) {
            const int n = MAV::g_vx_split_dif(arc, tol);
            ASSERT_GT(n, 1) << arc.bulge << " " << tol;
            EXPECT_LE(chordDeviation(arc, n), tol * (1 + 1e-9));
            EXPECT_GT(chordDeviation(arc, n - 1), tol);
        }

    // Exploding replaces arcs by equal chords (rising along z with the arc) and keeps straight segments.
    CMavVertexArray vl;
    vl.append(CMavVertex({-3, 0, 0}, {1, 0, 0}, 0.0));
    vl.append(CMavVertex({1, 0, 0}, {-1, 0, 2}, 1.0));
    const CMavVertexArray ex = MAV::g_vl_expl(vl, 4);
    ASSERT_EQ(ex.len(), 5);
    EXPECT_EQ(ex[0], vl[0]);
    expectPoint(ex[2].start, std::sqrt(0.5), std::sqrt(0.5), 0.5);
    expectPoint(ex[3].start, 0, 1, 1.0);
    for (int i = 1; i < 5; ++i) {
        EXPECT_EQ(ex[i].bulge, 0.0);
        EXPECT_EQ(ex[i].start, ex[i - 1].end);
    }
    EXPECT_EQ(ex[4].end, vl[1].end);
    EXPECT_EQ(MAV::g_vl_expl(vl[1], 0).len(), 1); // a count below 1 gives one chord
    EXPECT_EQ(MAV::g_vl_expl(vl[1], 1 << 30).len(), CMavVertex::kMaxChords);
}

TEST(PolylineBasics, AreaAndOrientationCountArcs)
{
    const CMavVertexArray sq = rect(0, 0, 1, 1);
    const CMavVertexArray cw = poly({{0, 0, 0, 1, 0}, {0, 1, 1, 1, 0}, {1, 1, 1, 0, 0}, {1, 0, 0, 0, 0}});
    CMavVertexArray bulged = sq, major;
    bulged[3].bulge = 1.0; // a half circle bulging out of the left side adds pi / 8
    major.append(CMavVertex({1, 0, 0}, {-1, 0, 0}, 2.0)); // major arc about (0, 0.75), radius 1.25, and its chord
    major.append(CMavVertex({-1, 0, 0}, {1, 0, 0}, 0.0));
    const double th = 4 * std::atan(2.0);
    const struct {
        CMavVertexArray vl;
        double area;
    } areas[] = {{sq, 1.0}, {cw, -1.0}, {poly({{0, 0, 1, 0, 0}, {1, 0, 1, 1, 0}, {1, 1, 0, 1, 0}}), 1.0},
                 {circle(5, 5, 2), 4 * kPi}, {circle(5, 5, 2, -1.0), -4 * kPi}, {bulged, 1.0 + kPi / 8.0},
                 {major, 1.25 * 1.25 / 2 * (th - std::sin(th))}};
    for (const auto& a : areas) {
        EXPECT_NEAR(MAV::g_vl_area(a.vl), a.area, 1e-9) << a.area; // open polylines are closed by their chord
        EXPECT_EQ(MAV::g_vl_orient(a.vl, CMavVector3d::kZAxis), a.area > 0) << a.area;
        EXPECT_EQ(MAV::g_vl_orient(a.vl, -CMavVector3d::kZAxis), a.area < 0) << a.area;
    }
    // The same square standing in the XZ plane turns about the Y axis.
    const CMavVertexArray xz = CMavVertexArray::fromPoints(
        CMavArrayTempl<CMavPoint3d>{{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}, true);
    EXPECT_TRUE(MAV::g_vl_orient(xz, -CMavVector3d::kYAxis));
    EXPECT_FALSE(MAV::g_vl_orient(xz, CMavVector3d::kYAxis));
    EXPECT_FALSE(MAV::g_vl_orient(CMavVertexArray(), CMavVector3d::kZAxis));
}

TEST(PolylineBasics, ExtentsIncludeBulgesAndTurnWithTheAngle)
{
    CMavVertexArray tilted, withNan = rect(0, 0, 1, 1);
    tilted.append(CMavVertex({0, 0, -2}, {4, 1, 7}, 0.0));
    withNan.append(CMavVertex({std::nan(""), 0, 0}, {1e300 * 1e300, 5, 0}, 0.0)); // left out
    // {polyline, angle of the frame, corners in world coordinates}.
    const struct {
        CMavVertexArray vl;
        double angle;
        double lo[3], hi[3];
    } cases[] = {{circle(2, 3, 1), 0.0, {1, 2, 0}, {3, 4, 0}},
                 {poly({{1, 0, -1, 0, 1.0}}), 0.0, {-1, 0, 0}, {1, 1, 0}},
                 {poly({{1, 0, -1, 0, -1.0}}), 0.0, {-1, -1, 0}, {1, 0, 0}},
                 {rect(0, 0, 1, 1), kPi / 4.0, {0.5, -0.5, 0}, {0.5, 1.5, 0}}, {tilted, 0.0, {0, 0, -2}, {4, 1, 7}},
                 {withNan, 0.0, {0, 0, 0}, {1, 1, 0}}, {CMavVertexArray(), 0.3, {0, 0, 0}, {0, 0, 0}}};
    for (const auto& c : cases) {
        const CMavPoint3dArray e = MAV::g_vl_extmax(c.vl, c.angle);
        ASSERT_EQ(e.len(), 2);
        expectPoint(e[0], c.lo[0], c.lo[1], c.lo[2], 1e-9);
        expectPoint(e[1], c.hi[0], c.hi[1], c.hi[2], 1e-9);
    }
    const CMavVertexArray r = MAV::g_vl_extrect(circle(2, 3, 1), 0.0);
    ASSERT_EQ(r.len(), 4);
    EXPECT_EQ(r, rect(1, 2, 3, 4));
    const CMavVertexArray turned = MAV::g_vl_extrect(rect(0, 0, 1, 1), kPi / 4.0);
    EXPECT_NEAR(MAV::g_vl_area(turned), 2.0, 1e-12);
    expectPoint(turned[0].start, 0.5, -0.5, 0, 1e-9);
    EXPECT_TRUE(MAV::g_vl_extrect(CMavVertexArray(), 0.0).isEmpty());
}

TEST(PolylineBasics, ContinuousPartsAndCuts)
{
    CMavVertexArray vl = poly({{0, 0, 1, 0, 0}, {1, 0, 2, 0, 0}, {5, 5, 6, 6, 0}, {6, 6, 7, 6, 0.5}});
    const CMavArrayTempl<CMavVertexArray> parts = MAV::g_vl_to_vll(vl);
    ASSERT_EQ(parts.len(), 2);
    EXPECT_EQ(parts[0].len(), 2);
    EXPECT_EQ(parts[1][1].bulge, 0.5);
    EXPECT_TRUE(MAV::g_vl_to_vll(CMavVertexArray()).isEmpty());

    // Straight from (0, 0) to (10, 0), then a half circle to (10, 10) through (15, 5). The cut runs between the
    // feet of the two points, in the polyline's direction whatever their order; beyond the ends it stops there.
    const CMavVertexArray pl = poly({{0, 0, 10, 0, 0}, {10, 0, 10, 10, 1.0}});
    for (const CMavVertexArray& cut :
         {MAV::g_vl_cut(pl, {4, 1, 0}, {15, 5, 0}), MAV::g_vl_cut(pl, {15, 5, 0}, {4, 1, 0})}) {
        ASSERT_EQ(cut.len(), 2);
        expectPoint(cut[0].start, 4, 0);
        expectPoint(cut[0].end, 10, 0);
        expectPoint(cut[1].end, 15, 5, 0, 1e-9);
        EXPECT_NEAR(cut[1].bulge, std::tan(kPi / 8.0), 1e-12);
    }
    EXPECT_EQ(MAV::g_vl_cut(pl, {2, 0, 0}, {6, -1, 0}), seg(2, 0, 6, 0));
    EXPECT_EQ(MAV::g_vl_cut(pl, {-5, 0, 0}, {10, 12, 0}), pl);
    EXPECT_TRUE(MAV::g_vl_cut(CMavVertexArray(), {0, 0, 0}, {1, 1, 1}).isEmpty());
    EXPECT_TRUE(MAV::g_vl_cut(pl, {3, 0, 0}, {3, 0, 0}).isEmpty());
}
