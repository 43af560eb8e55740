// Bulged segments: arc geometry, feet of perpendiculars, chords, transformation, splitting and intersections.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "base/CMavPoint3dArray.h"
#include "base/CMavVertex.h"
#include "../geom_test_util.h"

using namespace geomtest;

namespace {
// Upper half of the unit circle, counter-clockwise from (1, 0) to (-1, 0).
const CMavVertex kUpper(CMavPoint3d(1, 0, 0), CMavPoint3d(-1, 0, 0), 1.0);
} // namespace

TEST(CMavVertex, ArcGeometryFromTheBulge)
{
    expectPoint(kUpper.mid(), 0, 1);
    CMavPoint3d c(9, 9, 9);
    ASSERT_TRUE(kUpper.arcCenter(c));
    expectPoint(c, 0, 0);
    EXPECT_DOUBLE_EQ(kUpper.radius(), 1.0);
    EXPECT_NEAR(kUpper.bulgLen(), kPi, 1e-15);
    EXPECT_NEAR(kUpper.includedAngle(), kPi, 1e-15);
    expectPoint(CMavVertex(kUpper.start, kUpper.end, -1.0).mid(), 0, -1);
    // In another plane the arc turns counter-clockwise seen from the normal's tip, whatever the normal's length;
    // a zero normal means +Z.
    expectPoint(kUpper.mid(CMavVector3d(0, 5, 0)), 0, 0, -1);
    expectPoint(kUpper.mid(CMavVector3d()), 0, 1);

    // Quarter arc of radius 2 about (5, 5) lifted to z = 3; three-quarter arc from (1, 0) to (0, -1).
    const CMavVertex quarter(CMavPoint3d(7, 5, 3), CMavPoint3d(5, 7, 3), std::tan(kPi / 8));
    expectPoint(quarter.mid(), 5 + std::sqrt(2.0), 5 + std::sqrt(2.0), 3);
    EXPECT_NEAR(quarter.bulgLen(), kPi, 1e-14);
    expectPoint(quarter.pointAt(1.0 / 3.0), 5 + 2 * std::cos(kPi / 6), 6, 3);
    const CMavVertex threeQuarter(CMavPoint3d(1, 0, 0), CMavPoint3d(0, -1, 0), std::tan(3 * kPi / 8));
    expectPoint(threeQuarter.mid(), -std::sqrt(0.5), std::sqrt(0.5));
    EXPECT_NEAR(threeQuarter.bulgLen(), 1.5 * kPi, 1e-14);
    EXPECT_NEAR(CMavVertex::bulgeFromAngle(1.5 * kPi), threeQuarter.bulge, 1e-15);

    // Straight segments and segments treated as straight.
    const CMavVertex line(CMavPoint3d(0, 0, 0), CMavPoint3d(3, 4, 0));
    EXPECT_DOUBLE_EQ(line.bulgLen(), 5.0);
    expectPoint(line.mid(), 1.5, 2);
    CMavPoint3d untouched(9, 9, 9);
    EXPECT_FALSE(line.arcCenter(untouched));
    EXPECT_EQ(untouched, CMavPoint3d(9, 9, 9));
    EXPECT_DOUBLE_EQ(CMavVertex(line.start, line.end, std::nan("")).bulgLen(), 5.0);
    EXPECT_DOUBLE_EQ(CMavVertex(line.start, line.end, HUGE_VAL).bulgLen(), 5.0);
    const CMavVertex dot(CMavPoint3d(2, 2, 0), CMavPoint3d(2, 2, 0), 1.0);
    EXPECT_EQ(dot.bulgLen(), 0.0);
    EXPECT_EQ(dot.mid(), CMavPoint3d(2, 2, 0));
    // An enormous bulge is nearly a full circle of huge radius: finite, no overflow.
    const CMavVertex huge(CMavPoint3d(0, 0, 0), CMavPoint3d(1, 0, 0), 1e300);
    EXPECT_TRUE(std::isfinite(huge.bulgLen()));
    EXPECT_NEAR(huge.bulgLen() / huge.radius(), 2 * kPi, 1e-12);
}

TEST(CMavVertex, ExtentsIncludeTheBulge)
{
    CMavPoint3d lo, hi;
    kUpper.extents(lo, hi);
    expectPoint(lo, -1, 0);
    expectPoint(hi, 1, 1);
    const CMavVertex threeQuarter(CMavPoint3d(1, 0, 0), CMavPoint3d(0, -1, 0), std::tan(3 * kPi / 8));
    threeQuarter.extents(lo, hi);
    expectPoint(lo, -1, -1);
    expectPoint(hi, 1, 1);
    // The same ends turning clockwise: only the short quarter.
    CMavVertex(CMavPoint3d(1, 0, 0), CMavPoint3d(0, -1, 0), -std::tan(kPi / 8)).extents(lo, hi);
    expectPoint(lo, 0, -1);
    expectPoint(hi, 1, 0);
}

TEST(CMavVertex, FootOfPerpendicularStaysOnTheSegment)
{
    const CMavVertex line(CMavPoint3d(0, 0, 0), CMavPoint3d(10, 0, 0));
    expectPoint(line.lotp(CMavPoint3d(3, 4, 0)), 3, 0);
    expectPoint(line.lotp(CMavPoint3d(-5, 2, 0)), 0, 0);
    expectPoint(line.lotp(CMavPoint3d(15, -1, 7)), 10, 0);
    expectPoint(line.lotpUnbounded(CMavPoint3d(-5, 2, 0)), -5, 0);
    EXPECT_DOUBLE_EQ(line.distanceTo(CMavPoint3d(13, 4, 0)), 5.0);
    // A foot exactly at an end is that end point, not a sum that rounds beside it.
    const CMavVertex back(CMavPoint3d(0.7, 0, 0), CMavPoint3d(0.1, 0, 0));
    EXPECT_EQ(back.lotp(CMavPoint3d(0.1, 5, 0)), back.end);

    expectPoint(kUpper.lotp(CMavPoint3d(0, 5, 0)), 0, 1);
    expectPoint(kUpper.lotp(CMavPoint3d(3, 3, 2)), std::sqrt(0.5), std::sqrt(0.5));
    // Foot on the lower half of the circle: the nearer end point instead.
    expectPoint(kUpper.lotp(CMavPoint3d(0.5, -5, 0)), 1, 0);
    expectPoint(kUpper.lotp(CMavPoint3d(-0.5, -5, 0)), -1, 0);
    expectPoint(kUpper.lotpUnbounded(CMavPoint3d(0, -5, 0)), 0, -1);
    expectPoint(kUpper.lotp(CMavPoint3d(0, 0, 0)), 0, 1);
    expectPoint(CMavVertex(CMavPoint3d(1, 1, 1), CMavPoint3d(1, 1, 1)).lotp(CMavPoint3d(4, 5, 1)), 1, 1, 1);
}

TEST(CMavVertex, ChordsKeepWithinTheToleranceAndTheCap)
{
    EXPECT_EQ(kUpper.chordCount(0.5), 2);
    EXPECT_EQ(kUpper.chordCount(0.01), 12);
    EXPECT_EQ(kUpper.chordCount(0.0), CMavVertex::kMaxChords);
    EXPECT_EQ(kUpper.chordCount(1e-300), CMavVertex::kMaxChords);
    EXPECT_EQ(kUpper.chordCount(std::nan("")), CMavVertex::kMaxChords);
    EXPECT_EQ(CMavVertex(CMavPoint3d(), CMavPoint3d(1, 0, 0)).chordCount(1e-9), 1);

    CMavPoint3dArray pts;
    kUpper.pts(pts, 0.5, true);
    ASSERT_EQ(pts.len(), 3);
    expectPoint(pts[1], 0, 1);
    EXPECT_EQ(pts[2], kUpper.end);

    const CMavVertex arc(CMavPoint3d(12, 0, 0), CMavPoint3d(-6, 6 * std::sqrt(3.0), 0), std::tan(kPi / 6));
    for (double tol : {0.5, 0.1, 0.003}) {
        CMavPoint3dArray p;
        arc.pts(p, tol, true);
        EXPECT_EQ(p.len(), arc.chordCount(tol) + 1);
        for (int i = 0; i + 1 < p.len(); ++i) {
            EXPECT_NEAR(p[i].asVector().length(), 12.0, 1e-12);
            EXPECT_GE(((p[i] + p[i + 1]) / 2.0).asVector().length(), 12.0 - tol - 1e-12) << tol;
        }
    }
}

TEST(CMavVertex, TransformKeepsTheArcsShape)
{
    // Mirror in x: the upper half circle is still the upper half, now running clockwise.
    CMavMatrix3d mirror;
    mirror.setToMirroring(CMavPoint3d(), CMavVector3d::kXAxis);
    CMavVertex m = kUpper;
    m.transformBy(mirror);
    EXPECT_EQ(m.bulge, -1.0);
    expectPoint(m.mid(), 0, 1);
    // Turned upside down about the x axis: the lower half, clockwise seen from +Z.
    CMavVertex t = kUpper;
    t.transformBy(CMavMatrix3d::rotation(kPi, CMavVector3d::kXAxis));
    EXPECT_EQ(t.bulge, -1.0);
    expectPoint(t.mid(), 0, -1);
    // Flattening the z direction changes nothing seen from +Z.
    CMavMatrix3d flipZ;
    flipZ.setToMirroring(CMavPoint3d(0, 0, 4), CMavVector3d::kZAxis);
    CMavVertex f = kUpper;
    EXPECT_EQ(f.transformBy(flipZ).bulge, 1.0);

    // Any placement of the XY plane onto itself carries the arc's midpoint along.
    std::mt19937 rng(99);
    std::uniform_real_distribution<double> u(-5.0, 5.0);
    for (int i = 0; i < 100; ++i) {
        const CMavVertex v(CMavPoint3d(u(rng), u(rng), 0), CMavPoint3d(u(rng), u(rng), 0), u(rng) / 2);
        CMavMatrix3d mtx = CMavMatrix3d::translation(CMavVector3d(u(rng), u(rng), u(rng))) *
                           CMavMatrix3d::rotation(u(rng), CMavVector3d::kZAxis) *
                           CMavMatrix3d::scaling(0.2 + std::fabs(u(rng)));
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

TEST(CMavVertex, BreakingKeepsTheCurve)
{
    const CMavVertex line(CMavPoint3d(0, 0, 0), CMavPoint3d(10, 0, 0));
    CMavVertex a, b;
    ASSERT_TRUE(line.breakAt(CMavPoint3d(4, 3, 0), a, b));
    EXPECT_EQ(a, CMavVertex(CMavPoint3d(0, 0, 0), CMavPoint3d(4, 0, 0)));
    EXPECT_EQ(b, CMavVertex(CMavPoint3d(4, 0, 0), CMavPoint3d(10, 0, 0)));
    EXPECT_FALSE(line.breakAt(CMavPoint3d(-1, 0, 0), a, b));
    EXPECT_FALSE(line.breakAt(CMavPoint3d(10, 0, 0), a, b));

    ASSERT_TRUE(kUpper.breakAt(CMavPoint3d(0, 5, 0), a, b));
    expectPoint(a.end, 0, 1);
    EXPECT_NEAR(a.bulge, std::tan(kPi / 8), 1e-15);
    EXPECT_NEAR(b.bulge, std::tan(kPi / 8), 1e-15);
    EXPECT_NEAR(a.bulgLen() + b.bulgLen(), kPi, 1e-14);
    const CMavVertex cw = kUpper.reverted();
    ASSERT_TRUE(cw.breakAt(CMavPoint3d(-3, 3, 0), a, b));
    EXPECT_NEAR(a.bulge, -std::tan(kPi / 16), 1e-15);
    EXPECT_NEAR(b.bulge, -std::tan(3 * kPi / 16), 1e-15);
    expectPoint(b.mid(), std::cos(3 * kPi / 8), std::sin(3 * kPi / 8));
}

TEST(CMavVertex, IntersectionsAreExactForArcs)
{
    const CMavVertex seg(CMavPoint3d(0, 0, 0), CMavPoint3d(10, 0, 0));
    CMavPoint3dArray p;
    EXPECT_EQ(seg.intersectWith(CMavVertex(CMavPoint3d(5, -1, 0), CMavPoint3d(5, 1, 0)), 0, p), 1);
    expectPoint(p[0], 5, 0);
    const CMavVertex above(CMavPoint3d(5, 1, 0), CMavPoint3d(5, 2, 0));
    p.removeAll();
    EXPECT_EQ(seg.intersectWith(above, 0, p), 0);
    EXPECT_EQ(seg.intersectWith(above, 1, p), 0);
    EXPECT_EQ(seg.intersectWith(above, 2, p), 1);
    EXPECT_EQ(seg.intersectWith(above, 3, p), 1);
    // Crossings exactly at an end of either segment count.
    EXPECT_EQ(seg.intersectWith(CMavVertex(CMavPoint3d(0, -1, 0), CMavPoint3d(0, 1, 0)), 0, p), 1);
    EXPECT_EQ(seg.intersectWith(CMavVertex(CMavPoint3d(7, 0, 0), CMavPoint3d(7, 3, 0)), 0, p), 1);
    // Skew lines in space do not meet.
    EXPECT_EQ(seg.intersectWith(CMavVertex(CMavPoint3d(5, -1, 1), CMavPoint3d(5, 1, 1)), 3, p), 0);

    // Collinear: the common part's ends, in the segment's direction.
    p.removeAll();
    EXPECT_EQ(seg.intersectWith(CMavVertex(CMavPoint3d(5, 0, 0), CMavPoint3d(-5, 0, 0)), 0, p), 2);
    EXPECT_EQ(p[0], CMavPoint3d(0, 0, 0));
    EXPECT_EQ(p[1], CMavPoint3d(5, 0, 0));
    p.removeAll();
    EXPECT_EQ(seg.intersectWith(CMavVertex(CMavPoint3d(20, 0, 0), CMavPoint3d(21, 0, 0)), 3, p), 2);
    EXPECT_EQ(p[1], CMavPoint3d(10, 0, 0));

    // Arc against a line: ordered along the arc; a vertical line meets the upper half once; a tangent once.
    p.removeAll();
    EXPECT_EQ(kUpper.intersectWith(CMavVertex(CMavPoint3d(-5, 0.5, 0), CMavPoint3d(5, 0.5, 0)), 0, p), 2);
    expectPoint(p[0], std::sqrt(0.75), 0.5, 0, 1e-15);
    expectPoint(p[1], -std::sqrt(0.75), 0.5, 0, 1e-15);
    p.removeAll();
    EXPECT_EQ(kUpper.intersectWith(CMavVertex(CMavPoint3d(0.6, 7, 0), CMavPoint3d(0.6, 8, 0)), 3, p), 1);
    expectPoint(p[0], 0.6, 0.8, 0, 1e-15);
    p.removeAll();
    EXPECT_EQ(kUpper.intersectWith(CMavVertex(CMavPoint3d(-2, 1, 0), CMavPoint3d(2, 1, 0)), 0, p), 1);
    expectPoint(p[0], 0, 1, 0, 1e-15);
    // A line piercing the arc's plane at a point of the arc.
    p.removeAll();
    EXPECT_EQ(kUpper.intersectWith(CMavVertex(CMavPoint3d(0, 1, -1), CMavPoint3d(0, 1, 1)), 0, p), 1);
    expectPoint(p[0], 0, 1, 0, 1e-15);

    // Straight segment against an arc: ordered along the segment.
    p.removeAll();
    const CMavVertex chord(CMavPoint3d(-5, 0.5, 0), CMavPoint3d(5, 0.5, 0));
    EXPECT_EQ(chord.intersectWith(kUpper, 0, p), 2);
    EXPECT_LT(p[0].x, 0.0);
    EXPECT_GT(p[1].x, 0.0);

    // Two arcs: circles of radius 1 about (0, 0) and (1, 0) meet at (0.5, +-sqrt(3)/2); the upper halves once.
    p.removeAll();
    const CMavVertex upper2(CMavPoint3d(2, 0, 0), CMavPoint3d(0, 0, 0), 1.0);
    EXPECT_EQ(kUpper.intersectWith(upper2, 0, p), 1);
    expectPoint(p[0], 0.5, std::sqrt(3.0) / 2, 0, 1e-15);
    p.removeAll();
    EXPECT_EQ(kUpper.intersectWith(CMavVertex(CMavPoint3d(2, 0, 0), CMavPoint3d(0, 0, 0), -1.0), 0, p), 0);
    EXPECT_EQ(kUpper.intersectWith(kUpper, 0, p), 0); // same circle: concentric, no points

    // Non-finite input gives nothing.
    EXPECT_EQ(kUpper.intersectWith(CMavVertex(CMavPoint3d(std::nan(""), 0, 0), CMavPoint3d(1, 1, 0)), 3, p), 0);
    EXPECT_EQ(p.len(), 0);
}
