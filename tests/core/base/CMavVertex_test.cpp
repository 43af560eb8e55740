// Bulged segments and polylines: arc geometry, feet of perpendiculars, chords, transformation, splitting,
// reverting and intersections.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "../geom_test_util.h"
#include "base/CMavPoint3dArray.h"
#include "base/CMavVertexArray.h"
#include "base/g_vl.h"

using namespace geomtest;

namespace {
// Upper half of the unit circle, counter-clockwise from (1, 0) to (-1, 0).
const CMavVertex kUpper(CMavPoint3d(1, 0, 0), CMavPoint3d(-1, 0, 0), 1.0);

CMavVertexArray square(double size)
{
    return CMavVertexArray::fromPoints(
        CMavArrayTempl<CMavPoint3d>{{0, 0, 0}, {size, 0, 0}, {size, size, 0}, {0, size, 0}}, true);
}

void expectExtents(const CMavVertexArray& v, double x0, double y0, double x1, double y1, double z = 0)
{
    CMavPoint3d lo, hi;
    ASSERT_TRUE(v.extents(lo, hi));
    expectPoint(lo, x0, y0, z);
    expectPoint(hi, x1, y1, z);
}

// The arc of a bulged segment in the XY plane worked out from the chord: centre, radius and the signed sweep
// (counter-clockwise for a positive bulge).
struct RefArc {
    double cx, cy, r, sweep, a0;
    explicit RefArc(const CMavVertex& v)
    {
        const double dx = v.end.x - v.start.x, dy = v.end.y - v.start.y, d = std::hypot(dx, dy);
        const double off = d / 4.0 * (1.0 / v.bulge - v.bulge); // from the chord's middle to the left
        cx = (v.start.x + v.end.x) / 2.0 - dy / d * off;
        cy = (v.start.y + v.end.y) / 2.0 + dx / d * off;
        r = d / 4.0 * (1.0 / std::fabs(v.bulge) + std::fabs(v.bulge));
        sweep = 4.0 * std::atan(v.bulge);
        a0 = std::atan2(v.start.y - cy, v.start.x - cx);
    }
    CMavPoint3d at(double t) const { return {cx + r * std::cos(a0 + t * sweep), cy + r * std::sin(a0 + t * sweep), 0}; }
};
} // namespace

// Centre, radius, length, points along the arc, feet of perpendiculars and splitting of random arcs agree with the
// arc worked out from the chord.
TEST(CMavVertex, RandomArcsAgreeWithTheArcOfTheirChord)
{
    std::mt19937 rng(31);
    std::uniform_real_distribution<double> u(-5.0, 5.0);
    CMavMatrix3d mirror;
    mirror.setToMirroring(CMavPoint3d(), CMavVector3d::kXAxis);
    for (int i = 0; i < 300; ++i) {
        double b = u(rng) / 2.0;
        if (std::fabs(b) < 0.01)
            b = 0.5;
        const CMavVertex v(CMavPoint3d(u(rng), u(rng), 0), CMavPoint3d(u(rng), u(rng), 0), b);
        const RefArc ref(v);
        const double tol = 1e-9 * (1 + ref.r);
        CMavPoint3d c;
        ASSERT_TRUE(v.arcCenter(c));
        expectPoint(c, ref.cx, ref.cy, 0, tol);
        EXPECT_NEAR(v.radius(), ref.r, tol);
        EXPECT_NEAR(v.includedAngle(), ref.sweep, 1e-12);
        EXPECT_NEAR(CMavVertex::bulgeFromAngle(ref.sweep), b, 1e-9);
        EXPECT_NEAR(v.bulgLen(), ref.r * std::fabs(ref.sweep), tol);
        expectPoint(v.mid(), ref.at(0.5).x, ref.at(0.5).y, 0, tol);
        const double t = (u(rng) + 5.0) / 10.0;
        expectPoint(v.pointAt(t), ref.at(t).x, ref.at(t).y, 0, tol);
        // The foot of a point outward of the arc along the ray through ref.at(t) is that arc point; a point beyond
        // the ends has the nearer end as its foot.
        const CMavPoint3d onArc = ref.at(t), out(ref.cx + 2 * (onArc.x - ref.cx), ref.cy + 2 * (onArc.y - ref.cy), 3);
        expectPoint(v.lotp(out), onArc.x, onArc.y, 0, tol);
        expectPoint(v.lotpUnbounded(ref.at(1.05)), ref.at(1.05).x, ref.at(1.05).y, 0, tol);
        if (std::fabs(ref.sweep) < 2 * kPi / 1.2) {
            expectPoint(v.lotp(ref.at(1.05)), v.end.x, v.end.y, 0, tol);
            expectPoint(v.lotp(ref.at(-0.05)), v.start.x, v.start.y, 0, tol);
        }
        // The extents are those of the arc's points, sampled finely.
        CMavPoint3d lo, hi, slo = v.start, shi = v.start;
        v.extents(lo, hi);
        for (int k = 0; k <= 4000; ++k) {
            slo = MAV::p_min(slo, ref.at(k / 4000.0));
            shi = MAV::p_max(shi, ref.at(k / 4000.0));
        }
        EXPECT_TRUE(lo.isEqualTo(slo, 1e-5 * ref.r) && hi.isEqualTo(shi, 1e-5 * ref.r)) << i;
        // Chords end on the arc and keep within the tolerance of it.
        CMavPoint3dArray p;
        v.pts(p, 0.01, true);
        ASSERT_EQ(p.len(), v.chordCount(0.01) + 1);
        EXPECT_EQ(p[-1], v.end);
        for (int k = 0; k + 1 < p.len(); ++k) {
            EXPECT_NEAR(p[k].distanceTo(c), ref.r, tol);
            EXPECT_GE(((p[k] + p[k + 1]) / 2.0).distanceTo(c), ref.r - 0.01 - tol);
        }
        // Breaking at a point keeps the curve: two arcs on the same circle meeting at the foot.
        CMavVertex first, second;
        ASSERT_TRUE(v.breakAt(out, first, second)) << i;
        EXPECT_TRUE(first.start == v.start && second.end == v.end && first.end == second.start) << i;
        expectPoint(first.end, onArc.x, onArc.y, 0, tol);
        EXPECT_NEAR(first.bulgLen() + second.bulgLen(), v.bulgLen(), tol);
        // Any placement of the XY plane onto itself, mirrored or turned over, carries the arc's midpoint along.
        CMavMatrix3d mtx = CMavMatrix3d::translation(CMavVector3d(u(rng), u(rng), u(rng))) *
                           CMavMatrix3d::rotation(u(rng), CMavVector3d::kZAxis) * CMavMatrix3d::scaling(0.2 + t);
        if (i % 3 == 1)
            mtx *= mirror;
        if (i % 3 == 2)
            mtx *= CMavMatrix3d::rotation(kPi, CMavVector3d(u(rng), u(rng), 0));
        CMavVertex w = v;
        w.transformBy(mtx);
        EXPECT_TRUE(w.mid().isEqualTo(mtx * v.mid(), 1e-9)) << i;
        EXPECT_NEAR(w.bulgLen(), v.bulgLen() * mtx.scale(), 1e-9) << i;
    }
}

TEST(CMavVertex, ArcsInOtherPlanesStraightAndDegenerateSegments)
{
    // In another plane the arc turns counter-clockwise seen from the normal's tip, whatever the normal's length;
    // a zero normal means +Z; the arc keeps the height of its ends.
    expectPoint(kUpper.mid(CMavVector3d(0, 5, 0)), 0, 0, -1);
    expectPoint(kUpper.mid(CMavVector3d()), 0, 1);
    const CMavVertex lifted(CMavPoint3d(7, 5, 3), CMavPoint3d(5, 7, 3), std::tan(kPi / 8));
    expectPoint(lifted.pointAt(1.0 / 3.0), 5 + 2 * std::cos(kPi / 6), 6, 3);
    // Straight: bulges 0, not a number or infinite; no centre (left untouched), radius or angle.
    CMavPoint3d untouched(9, 9, 9);
    for (double b : {0.0, std::nan(""), HUGE_VAL}) {
        const CMavVertex line(CMavPoint3d(0, 0, 0), CMavPoint3d(3, 4, 0), b);
        EXPECT_DOUBLE_EQ(line.bulgLen(), 5.0);
        expectPoint(line.mid(), 1.5, 2);
        EXPECT_FALSE(line.arcCenter(untouched));
        EXPECT_EQ(line.radius() + line.includedAngle(), 0.0);
    }
    EXPECT_EQ(untouched, CMavPoint3d(9, 9, 9));
    // A zero-length segment is its point; an enormous bulge is nearly a full circle of huge radius, finite.
    const CMavVertex dot(CMavPoint3d(2, 2, 1), CMavPoint3d(2, 2, 1), 1.0), huge({0, 0, 0}, {1, 0, 0}, 1e300);
    EXPECT_EQ(dot.bulgLen(), 0.0);
    EXPECT_EQ(dot.mid(), dot.start);
    EXPECT_EQ(dot.lotp(CMavPoint3d(4, 5, 1)), dot.start);
    EXPECT_NEAR(huge.bulgLen() / huge.radius(), 2 * kPi, 1e-12);
    // The half circle needs 2 chords at 0.5 and 12 at 0.01; hopeless tolerances get the cap; a line needs one.
    EXPECT_EQ(kUpper.chordCount(0.5) * 100 + kUpper.chordCount(0.01), 212);
    for (double hopeless : {0.0, 1e-300, std::nan("")})
        EXPECT_EQ(kUpper.chordCount(hopeless), CMavVertex::kMaxChords);
    EXPECT_EQ(CMavVertex(CMavPoint3d(), CMavPoint3d(1, 0, 0)).chordCount(1e-9), 1);

    // Feet on a line stay on the segment; one exactly at an end is that end point, not a sum that rounds beside it.
    const CMavVertex x10(CMavPoint3d(0, 0, 0), CMavPoint3d(10, 0, 0)), back({0.7, 0, 0}, {0.1, 0, 0});
    expectPoint(x10.lotp(CMavPoint3d(15, -1, 7)), 10, 0);
    expectPoint(x10.lotpUnbounded(CMavPoint3d(-5, 2, 0)), -5, 0);
    EXPECT_DOUBLE_EQ(x10.distanceTo(CMavPoint3d(13, 4, 0)), 5.0);
    EXPECT_EQ(back.lotp(CMavPoint3d(0.1, 5, 0)), back.end);
    // On the upper half circle the centre's foot is the midpoint.
    expectPoint(kUpper.lotp(CMavPoint3d(0, 0, 0)), 0, 1);

    // Breaking a line; points beyond an end or on it do not break.
    CMavVertex a, b;
    ASSERT_TRUE(x10.breakAt(CMavPoint3d(4, 3, 0), a, b));
    EXPECT_EQ(a, CMavVertex(CMavPoint3d(0, 0, 0), CMavPoint3d(4, 0, 0)));
    EXPECT_EQ(b, CMavVertex(CMavPoint3d(4, 0, 0), CMavPoint3d(10, 0, 0)));
    EXPECT_FALSE(x10.breakAt(CMavPoint3d(-1, 0, 0), a, b));
    EXPECT_FALSE(x10.breakAt(CMavPoint3d(10, 0, 0), a, b));
}

TEST(CMavVertex, IntersectionsAreExactForArcs)
{
    // {other segment x0, y0, z0, x1, y1, z1, bulge, mode, crossings, first x, first y} against the segment from
    // (0, 0) to (10, 0) (first rows) or the upper half circle: bit 1 of the mode extends the other segment beyond
    // its start; crossings at an end of either segment count; skew lines do not meet; collinear segments give the
    // common part's ends; arcs give exact points ordered along the first segment; concentric circles and points
    // that are not numbers meet nothing.
    const CMavVertex x10(CMavPoint3d(0, 0, 0), CMavPoint3d(10, 0, 0));
    const double h = std::sqrt(0.75), nan = std::nan("");
    const double rows[][11] = {{5, 1, 0, 5, 2, 0, 0, 0, 0, 0, 0},        {5, 1, 0, 5, 2, 0, 0, 1, 0, 0, 0},
                               {5, 1, 0, 5, 2, 0, 0, 2, 1, 5, 0},        {5, 1, 0, 5, 2, 0, 0, 3, 1, 5, 0},
                               {5, -1, 0, 5, 1, 0, 0, 0, 1, 5, 0},       {0, -1, 0, 0, 1, 0, 0, 0, 1, 0, 0},
                               {7, 0, 0, 7, 3, 0, 0, 0, 1, 7, 0},        {5, -1, 1, 5, 1, 1, 0, 3, 0, 0, 0},
                               {5, 0, 0, -5, 0, 0, 0, 0, 2, 0, 0},       {20, 0, 0, 21, 0, 0, 0, 3, 2, 0, 0},
                               {-5, 0.5, 0, 5, 0.5, 0, 0, 0, 2, h, 0.5}, {0.6, 7, 0, 0.6, 8, 0, 0, 3, 1, 0.6, 0.8},
                               {-2, 1, 0, 2, 1, 0, 0, 0, 1, 0, 1},       {0, 1, -1, 0, 1, 1, 0, 0, 1, 0, 1},
                               {2, 0, 0, 0, 0, 0, 1, 0, 1, 0.5, h},      {2, 0, 0, 0, 0, 0, -1, 0, 0, 0, 0},
                               {1, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0},       {nan, 0, 0, 1, 1, 0, 0, 3, 0, 0, 0}};
    for (const auto& r : rows) {
        const CMavVertex& first = &r - rows < 10 ? x10 : kUpper;
        CMavPoint3dArray p;
        ASSERT_EQ(first.intersectWith(CMavVertex({r[0], r[1], r[2]}, {r[3], r[4], r[5]}, r[6]), int(r[7]), p), r[8])
            << &r - rows;
        if (r[8] > 0)
            expectPoint(p[0], r[9], r[10], 0, 1e-15);
    }
    CMavPoint3dArray p;
    EXPECT_EQ(x10.intersectWith(CMavVertex(CMavPoint3d(20, 0, 0), CMavPoint3d(21, 0, 0)), 3, p), 2);
    EXPECT_EQ(p[1], CMavPoint3d(10, 0, 0));
    EXPECT_EQ(kUpper.intersectWith(CMavVertex({-5, 0.5, 0}, {5, 0.5, 0}), 0, p), 2);
    expectPoint(p[3], -h, 0.5, 0, 1e-15);
    EXPECT_EQ(CMavVertex({-5, 0.5, 0}, {5, 0.5, 0}).intersectWith(kUpper, 0, p), 2);
    EXPECT_LT(p[4].x, p[5].x);
}

TEST(CMavVertexArray, ClosureRevertAndTransforms)
{
    CMavVertexArray s = square(2);
    s[3].end.y += 1e-12;
    EXPECT_TRUE(s.isClosed());
    s[3].end.y += 1e-3;
    EXPECT_FALSE(s.isClosed());
    EXPECT_TRUE(s.isContinuous());
    s[2].start.x += 0.5;
    EXPECT_FALSE(s.isContinuous());
    const CMavArrayTempl<CMavPoint3d> upright{{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}};
    EXPECT_TRUE(CMavVertexArray::fromPoints(upright, true).normal().isEqualTo(CMavVector3d::kYAxis));
    EXPECT_EQ(CMavVertexArray().normal(), CMavVector3d::kZAxis);
    // An upright sliver counts by its area only while that is more than 1e-12 of its perimeter squared (2 here);
    // below, the direction across its first chord nearest +Z; a line along Z gives +Y.
    for (const auto& [h, expected] : {std::pair{2e-11, CMavVector3d::kYAxis}, std::pair{8e-12, CMavVector3d::kYAxis},
                                      std::pair{2e-12, CMavVector3d::kZAxis}})
        EXPECT_EQ(CMavVertexArray::fromPoints(CMavArrayTempl<CMavPoint3d>{{0, 0, 0}, {1, 0, 0}, {0.5, 0, h}}, true)
                      .normal(),
                  expected)
            << h;
    EXPECT_EQ(CMavVertexArray::fromPoints(CMavArrayTempl<CMavPoint3d>{{0, 0, 0}, {0, 0, 3}}).normal(),
              CMavVector3d::kYAxis);
    // Closing adds a segment only when the last point is not the first already; one point makes nothing.
    EXPECT_EQ(CMavVertexArray::fromPoints(CMavArrayTempl<CMavPoint3d>{{0, 0, 0}, {1, 0, 0}, {0, 0, 0}}, true).len(), 2);
    EXPECT_EQ(CMavVertexArray::fromPoints(CMavArrayTempl<CMavPoint3d>{{0, 0, 0}}, true).len(), 0);
    EXPECT_EQ(s.appendTo(CMavPoint3d(1, 1, 1)) * 10 + CMavVertexArray().appendTo(CMavPoint3d(1, 1, 1)), 40 - 1);

    // A "D" (straight up, then an arc bulging left back to the start) mirrored in x, or turned over about the y
    // axis, gives the same picture seen from +Z; the copy leaves the original alone.
    CMavVertexArray d = CMavVertexArray::fromPoints(CMavArrayTempl<CMavPoint3d>{{0, -1, 0}, {0, 1, 0}});
    d.appendTo(CMavPoint3d(0, -1, 0), 1.0);
    expectExtents(d, -1, -1, 0, 1);
    CMavMatrix3d mirror;
    mirror.setToMirroring(CMavPoint3d(), CMavVector3d::kXAxis);
    expectExtents(d.getTransformedCopy(mirror), 0, -1, 1, 1);
    expectExtents(d.getTransformedCopy(CMavMatrix3d::rotation(kPi, CMavVector3d::kYAxis)), 0, -1, 1, 1);
    EXPECT_EQ(d[1].bulge, 1.0);
    expectExtents(circle(0, 0, 1).move(CMavVector3d(10, 0, 2)).transformBy(CMavMatrix3d::scaling(2.0)), 18, -2, 22, 2, 4);

    // Reverting runs the other way along the same curve, keeps the plane, and twice is the identity.
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> u(-10.0, 10.0);
    for (int i = 0; i < 50; ++i) {
        CMavVertexArray v;
        v.append(CMavPoint3d(u(rng), u(rng), 0), CMavPoint3d(u(rng), u(rng), 0), u(rng) / 5);
        for (int k = static_cast<int>(rng() % 8); k >= 0; --k)
            v.appendTo(CMavPoint3d(u(rng), u(rng), 0), (rng() % 2) ? 0.0 : u(rng) / 5);
        CMavVertexArray rv = v;
        rv.revert();
        EXPECT_EQ(rv.normal(), CMavVector3d::kZAxis);
        const CMavPoint3dArray forward = v.pts(true, 0.01), backward = rv.pts(true, 0.01);
        ASSERT_EQ(forward.len(), backward.len());
        for (int k = 0; k < forward.len(); ++k)
            EXPECT_TRUE(forward[k].isEqualTo(backward[backward.len() - 1 - k], 1e-9)) << i << " " << k;
        EXPECT_EQ(rv.revert(), v);
    }
}

TEST(CMavVertexArray, PointsIntersectionsAndBreaking)
{
    // Closed polylines repeat the first point unless asked not to; separate pieces keep their own ends; the chord
    // cap holds for huge arcs.
    EXPECT_EQ(square(1).pts(true, 0.5), (CMavPoint3dArray{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}}));
    EXPECT_EQ(square(1).pts(false, 0.5).len(), 4);
    CMavVertexArray pieces;
    pieces.append(CMavPoint3d(0, 0, 0), CMavPoint3d(1, 0, 0));
    pieces.append(CMavPoint3d(5, 0, 0), CMavPoint3d(6, 0, 0), 1e300);
    EXPECT_EQ(pieces.pts(true, 1e-9).len(), 3 + CMavVertex::kMaxChords);
    EXPECT_EQ(pieces.pts(true, 1e-9)[2], CMavPoint3d(5, 0, 0));

    // Through the joints of the two halves: each half reports both ends, exactly the joint points.
    CMavPoint3dArray p;
    EXPECT_EQ(circle(0, 0, 1).intersectWith(CMavPoint3d(-3, 0, 0), CMavPoint3d(3, 0, 0), 0, p), 4);
    EXPECT_EQ(p.removeDuplicates(), (CMavPoint3dArray{{1, 0, 0}, {-1, 0, 0}}));
    // A dashed line: every collinear piece, extended, finds the same crossings of a square.
    CMavVertexArray dashes;
    for (int i = 0; i < 5; ++i)
        dashes.append(CMavPoint3d(-10.5 + 3 * i, 0.5, 0), CMavPoint3d(-9.5 + 3 * i, 0.5, 0));
    p.removeAll();
    EXPECT_EQ(square(1).intersectWith(dashes, CMavVertexArray::kExtendBoth, p), 10);
    EXPECT_EQ(p.removeDuplicates().sort(CMavVector3d(1, 0, 0)), (CMavPoint3dArray{{0, 0.5, 0}, {1, 0.5, 0}}));
    EXPECT_EQ(square(1).intersectWith(dashes, CMavVertexArray::kOnBoth, p), 0);

    // Breaking inserts the foot of the point; indices outside and points beyond the ends do not break.
    CMavVertexArray s = square(2), half = circle(0, 0, 1);
    ASSERT_TRUE(s.breakVertex(1, CMavPoint3d(3, 0.5, 0)));
    ASSERT_EQ(s.len(), 5);
    EXPECT_TRUE(s[1].end == CMavPoint3d(2, 0.5, 0) && s[2].start == s[1].end);
    EXPECT_DOUBLE_EQ(s.length(), 8.0);
    for (int bad : {5, -1})
        EXPECT_FALSE(s.breakVertex(bad, CMavPoint3d(1, 1, 0)));
    EXPECT_FALSE(s.breakVertex(0, CMavPoint3d(-1, 0, 0)));
    ASSERT_TRUE(half.breakVertex(1, CMavPoint3d(0, -4, 0)));
    expectPoint(half[1].end, 0, -1);
    EXPECT_NEAR(half.length(), 2 * kPi, 1e-14);

    // Non-finite input: segments with non-finite points meet nothing; an infinite bulge is drawn straight.
    CMavVertexArray bad;
    bad.append(CMavPoint3d(std::nan(""), 0, 0), CMavPoint3d(1, HUGE_VAL, 0), 1.0);
    bad.appendTo(CMavPoint3d(2, 2, 0), std::nan(""));
    bad.appendTo(CMavPoint3d(3, 2, 0), -HUGE_VAL);
    p.removeAll();
    EXPECT_EQ(bad.intersectWith(CMavPoint3d(0, 0, 0), CMavPoint3d(1, 1, 0), CMavVertexArray::kExtendBoth, p), 1);
    EXPECT_EQ(p[0], CMavPoint3d(2, 2, 0));
    EXPECT_EQ(bad.pts(true, 0.1).len(), 4 + 1);
    EXPECT_FALSE(bad.breakVertex(0, CMavPoint3d(0.5, 0, 0)));
    EXPECT_DOUBLE_EQ(bad[2].bulgLen(), 1.0);
}
