// Polar points, bounds, arc chords, orientation, extents, continuous parts and cutting of polylines.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/g_vl.h"
#include "../geom_test_util.h"

using namespace geomtest;

namespace {

CMavVertexArray path(std::initializer_list<CMavPoint3d> pts)
{
    CMavVertexArray vl;
    const CMavPoint3d* prev = nullptr;
    for (const CMavPoint3d& p : pts) {
        if (prev)
            vl.append(CMavVertex(*prev, p, 0.0));
        prev = &p;
    }
    return vl;
}

void expectPt(const CMavPoint3d& p, double x, double y, double z = 0.0, double tol = 1e-9)
{
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
    EXPECT_NEAR(p.z, z, tol);
}

// Largest distance of chord midpoints from the circle of the arc.
double chordDeviation(const CMavVertex& arc, int n)
{
    double d = arc.start.distanceTo(arc.end);
    double b = arc.bulge;
    double r = d / 4.0 * (1.0 / std::fabs(b) + std::fabs(b));
    double off = d / 4.0 * (1.0 / b - b);
    double cx = (arc.start.x + arc.end.x) / 2.0 - (arc.end.y - arc.start.y) / d * off;
    double cy = (arc.start.y + arc.end.y) / 2.0 + (arc.end.x - arc.start.x) / d * off;
    double worst = 0.0;
    for (const CMavVertex& c : MAV::g_vl_expl(arc, n)) {
        EXPECT_NEAR(std::hypot(c.start.x - cx, c.start.y - cy), r, 1e-9 * r);
        double mx = (c.start.x + c.end.x) / 2.0, my = (c.start.y + c.end.y) / 2.0;
        worst = std::max(worst, r - std::hypot(mx - cx, my - cy));
    }
    return worst;
}

} // namespace

TEST(PolylineBasics, PolarAndComponentBounds)
{
    CMavVector3d v = MAV::polar(kPi / 2.0, 2.0);
    EXPECT_NEAR(v.x, 0.0, 1e-15);
    EXPECT_NEAR(v.y, 2.0, 1e-15);
    EXPECT_EQ(v.z, 0.0);
    expectPt(MAV::polar(CMavPoint3d(1, 1, 5), kPi, 3.0), -2.0, 1.0, 5.0);
    expectPt(MAV::polar(CMavPoint3d(0, 0, 0), -kPi / 4.0, std::sqrt(2.0)), 1.0, -1.0);
    CMavPoint3d a(1, 5, -2), b(3, 0, 4);
    EXPECT_EQ(MAV::p_min(a, b), CMavPoint3d(1, 0, -2));
    EXPECT_EQ(MAV::p_max(a, b), CMavPoint3d(3, 5, 4));
    CMavVertex flat = MAV::g_vx_xy(CMavVertex({1, 2, 3}, {4, 5, 6}, 0.5));
    EXPECT_EQ(flat.start, CMavPoint3d(1, 2, 0));
    EXPECT_EQ(flat.end, CMavPoint3d(4, 5, 0));
    EXPECT_EQ(flat.bulge, 0.5);
}

TEST(PolylineBasics, ChordCountIsTheSmallestWithinTolerance)
{
    CMavVertex half({1, 0, 0}, {-1, 0, 0}, 1.0);
    // Half circle of radius 1 at 0.1: pi / (2 acos 0.9) = 3.48 -> 4 chords.
    EXPECT_EQ(MAV::g_vx_split_dif(half, 0.1), 4);
    EXPECT_EQ(MAV::g_vx_split_dif(half, 2.0), 1);
    EXPECT_EQ(MAV::g_vx_split_dif(CMavVertex({0, 0, 0}, {5, 0, 0}, 0.0), 0.001), 1);
    EXPECT_EQ(MAV::g_vx_split_dif(half, 0.0), CMavVertex::kMaxChords);
    EXPECT_EQ(MAV::g_vx_split_dif(half, std::nan("")), CMavVertex::kMaxChords);
    EXPECT_EQ(MAV::g_vx_split_dif(CMavVertex({0, 0, 0}, {1, 0, 0}, 1e300), 0.01), CMavVertex::kMaxChords);
    EXPECT_EQ(MAV::g_vx_split_dif(CMavVertex({0, 0, 0}, {1, 0, 0}, HUGE_VAL), 0.01), 1);
    EXPECT_EQ(MAV::g_vx_split_dif(CMavVertex({0, 0, 0}, {HUGE_VAL, 0, 0}, 0.5), 0.01), 1); // no end: straight

    const CMavVertex arcs[] = {half, CMavVertex({0, 0, 0}, {10, 3, 0}, -0.3), CMavVertex({2, 2, 0}, {2, 3, 0}, 3.0),
                               CMavVertex({0, 0, 0}, {100, 0, 0}, 0.05)};
    for (const CMavVertex& arc : arcs)
        for (double tol : {0.001, 0.01, 0.1}) {
            int n = MAV::g_vx_split_dif(arc, tol);
            ASSERT_GT(n, 1) << arc.bulge << " " << tol;
            EXPECT_LE(chordDeviation(arc, n), tol * (1 + 1e-9));
            EXPECT_GT(chordDeviation(arc, n - 1), tol);
        }
}

TEST(PolylineBasics, ExplodeReplacesArcsByEqualChords)
{
    CMavVertexArray vl;
    vl.append(CMavVertex({-3, 0, 0}, {1, 0, 0}, 0.0));
    vl.append(CMavVertex({1, 0, 0}, {-1, 0, 2}, 1.0));
    CMavVertexArray ex = MAV::g_vl_expl(vl, 4);
    ASSERT_EQ(ex.len(), 5);
    EXPECT_EQ(ex[0], vl[0]);
    expectPt(ex[1].start, 1, 0, 0);
    expectPt(ex[2].start, std::sqrt(0.5), std::sqrt(0.5), 0.5);
    expectPt(ex[3].start, 0, 1, 1.0);
    expectPt(ex[4].end, -1, 0, 2);
    for (int i = 1; i < 5; ++i) {
        EXPECT_EQ(ex[i].bulge, 0.0);
        EXPECT_EQ(ex[i].start, ex[i - 1].end);
    }
    EXPECT_EQ(MAV::g_vl_expl(vl[1], 0).len(), 1); // a count below 1 gives one chord
    EXPECT_EQ(MAV::g_vl_expl(vl[1], 1 << 30).len(), CMavVertex::kMaxChords);
}

TEST(PolylineBasics, AreaAndOrientationCountArcs)
{
    CMavVertexArray sq = path({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}});
    EXPECT_NEAR(MAV::g_vl_area(sq), 1.0, 1e-12);
    EXPECT_TRUE(MAV::g_vl_orient(sq, CMavVector3d::kZAxis));
    EXPECT_FALSE(MAV::g_vl_orient(sq, -CMavVector3d::kZAxis));
    CMavVertexArray open = path({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}); // closed by its chord
    EXPECT_NEAR(MAV::g_vl_area(open), 1.0, 1e-12);
    CMavVertexArray cw = path({{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {0, 0, 0}});
    EXPECT_FALSE(MAV::g_vl_orient(cw, CMavVector3d::kZAxis));

    EXPECT_NEAR(MAV::g_vl_area(circle(5, 5, 2)), 4 * kPi, 1e-9);
    EXPECT_TRUE(MAV::g_vl_orient(circle(5, 5, 2), CMavVector3d::kZAxis));
    EXPECT_NEAR(MAV::g_vl_area(circle(5, 5, 2, -1.0)), -4 * kPi, 1e-9);

    // A half circle bulging out of the square's left side adds pi / 8.
    CMavVertexArray bulged = sq;
    bulged[3].bulge = 1.0;
    EXPECT_NEAR(MAV::g_vl_area(bulged), 1.0 + kPi / 8.0, 1e-12);
    // Major arc closed by its chord: circle about (0, 0.75) of radius 1.25 above y = 0.
    CMavVertexArray major;
    major.append(CMavVertex({1, 0, 0}, {-1, 0, 0}, 2.0));
    major.append(CMavVertex({-1, 0, 0}, {1, 0, 0}, 0.0));
    double th = 4 * std::atan(2.0);
    EXPECT_NEAR(MAV::g_vl_area(major), 1.25 * 1.25 / 2 * (th - std::sin(th)), 1e-12);

    // The same square standing in the XZ plane turns about the Y axis.
    CMavVertexArray xz = path({{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}, {0, 0, 0}});
    EXPECT_TRUE(MAV::g_vl_orient(xz, -CMavVector3d::kYAxis));
    EXPECT_FALSE(MAV::g_vl_orient(xz, CMavVector3d::kYAxis));
    EXPECT_FALSE(MAV::g_vl_orient(CMavVertexArray(), CMavVector3d::kZAxis));
}

TEST(PolylineBasics, ExtentsIncludeBulgesAndTurnWithTheAngle)
{
    CMavPoint3dArray e = MAV::g_vl_extmax(circle(2, 3, 1), 0.0);
    ASSERT_EQ(e.len(), 2);
    expectPt(e[0], 1, 2);
    expectPt(e[1], 3, 4);
    CMavVertexArray up;
    up.append(CMavVertex({1, 0, 0}, {-1, 0, 0}, 1.0)); // counter-clockwise over the top
    e = MAV::g_vl_extmax(up, 0.0);
    expectPt(e[0], -1, 0);
    expectPt(e[1], 1, 1);
    up[0].bulge = -1.0;
    e = MAV::g_vl_extmax(up, 0.0);
    expectPt(e[0], -1, -1);
    expectPt(e[1], 1, 0);

    // The unit square measured in a frame turned by 45 degrees, corners given in world coordinates.
    CMavVertexArray sq = path({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}});
    e = MAV::g_vl_extmax(sq, kPi / 4.0);
    expectPt(e[0], 0.5, -0.5);
    expectPt(e[1], 0.5, 1.5);

    CMavVertexArray tilted = path({{0, 0, -2}, {4, 1, 7}});
    e = MAV::g_vl_extmax(tilted, 0.0);
    expectPt(e[0], 0, 0, -2);
    expectPt(e[1], 4, 1, 7);

    e = MAV::g_vl_extmax(CMavVertexArray(), 0.3);
    ASSERT_EQ(e.len(), 2);
    EXPECT_EQ(e[0], CMavPoint3d::kOrigin);
    EXPECT_EQ(e[1], CMavPoint3d::kOrigin);
    CMavVertexArray withNan = sq;
    withNan.append(CMavVertex({std::nan(""), 0, 0}, {1e300 * 1e300, 5, 0}, 0.0));
    e = MAV::g_vl_extmax(withNan, 0.0);
    expectPt(e[0], 0, 0);
    expectPt(e[1], 1, 1);

    CMavVertexArray rect = MAV::g_vl_extrect(circle(2, 3, 1), 0.0);
    ASSERT_EQ(rect.len(), 4);
    expectPt(rect[0].start, 1, 2);
    expectPt(rect[1].start, 3, 2);
    expectPt(rect[2].start, 3, 4);
    expectPt(rect[3].start, 1, 4);
    EXPECT_EQ(rect[3].end, rect[0].start);
    EXPECT_NEAR(MAV::g_vl_area(rect), 4.0, 1e-12);
    rect = MAV::g_vl_extrect(sq, kPi / 4.0);
    EXPECT_NEAR(MAV::g_vl_area(rect), 2.0, 1e-12);
    expectPt(rect[0].start, 0.5, -0.5);
    EXPECT_TRUE(MAV::g_vl_extrect(CMavVertexArray(), 0.0).isEmpty());
}

TEST(PolylineBasics, ContinuousPartsAndCuts)
{
    CMavVertexArray vl = path({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    vl.append(CMavVertex({5, 5, 0}, {6, 6, 0}, 0.0));
    vl.append(CMavVertex({6, 6, 0}, {7, 6, 0}, 0.5));
    CMavArrayTempl<CMavVertexArray> parts = MAV::g_vl_to_vll(vl);
    ASSERT_EQ(parts.len(), 2);
    EXPECT_EQ(parts[0].len(), 2);
    EXPECT_EQ(parts[1].len(), 2);
    EXPECT_EQ(parts[1][1].bulge, 0.5);
    EXPECT_TRUE(MAV::g_vl_to_vll(CMavVertexArray()).isEmpty());

    // Straight from (0,0) to (10,0), then a half circle to (10,10) through (15,5).
    CMavVertexArray pl = path({{0, 0, 0}, {10, 0, 0}});
    pl.append(CMavVertex({10, 0, 0}, {10, 10, 0}, 1.0));
    CMavVertexArray cut = MAV::g_vl_cut(pl, {4, 1, 0}, {15, 5, 0});
    ASSERT_EQ(cut.len(), 2);
    expectPt(cut[0].start, 4, 0);
    expectPt(cut[0].end, 10, 0);
    expectPt(cut[1].end, 15, 5);
    EXPECT_NEAR(cut[1].bulge, std::tan(kPi / 8.0), 1e-12);
    CMavVertexArray back = MAV::g_vl_cut(pl, {15, 5, 0}, {4, 1, 0});
    ASSERT_EQ(back.len(), 2);
    expectPt(back[0].start, 4, 0);
    CMavVertexArray inner = MAV::g_vl_cut(pl, {2, 0, 0}, {6, -1, 0});
    ASSERT_EQ(inner.len(), 1);
    expectPt(inner[0].start, 2, 0);
    expectPt(inner[0].end, 6, 0);
    // Beyond the ends: the polyline's own ends.
    CMavVertexArray whole = MAV::g_vl_cut(pl, {-5, 0, 0}, {10, 12, 0});
    ASSERT_EQ(whole.len(), 2);
    EXPECT_EQ(whole[0], pl[0]);
    EXPECT_EQ(whole[1], pl[1]);
    EXPECT_TRUE(MAV::g_vl_cut(CMavVertexArray(), {0, 0, 0}, {1, 1, 1}).isEmpty());
    EXPECT_TRUE(MAV::g_vl_cut(pl, {3, 0, 0}, {3, 0, 0}).isEmpty());
}
