// Bulged segments and polylines: arc geometry, feet of perpendiculars, chords, transformation, splitting,
// reverting and intersections.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "base/CMavPoint3dArray.h"
#include "base/CMavVertexArray.h"
#include "../geom_test_util.h"

using namespace geomtest;

namespace {
// Upper half of the unit circle, counter-clockwise from (1, 0) to (-1, 0).
const CMavVertex kUpper(CMavPoint3d(1, 0, 0), CMavPoint3d(-1, 0, 0), 1.0);

CMavVertexArray square(double size)
{
    return CMavVertexArray::fromPoints(
        CMavArrayTempl<CMavPoint3d>{{0, 0, 0}, {size, 0, 0}, {size, size, 0}, {0, size, 0}}, true);
}

void expectExtents(const CMavVertexArray& v, double x0, double y0, double x1, double y1)
{
    CMavPoint3d lo, hi;
    ASSERT_TRUE(v.extents(lo, hi));
    expectPoint(lo, x0, y0);
    expectPoint(hi, x1, y1);
}
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

    // Extents include the bulge: {bulge from (1, 0) to (0, -1), lower left and upper right corner}.
    const double boxes[][5] = {{std::tan(3 * kPi / 8), -1, -1, 1, 1}, {-std::tan(kPi / 8), 0, -1, 1, 0}};
    for (const auto& b : boxes) {
        CMavPoint3d lo, hi;
        CMavVertex(CMavPoint3d(1, 0, 0), CMavPoint3d(0, -1, 0), b[0]).extents(lo, hi);
        expectPoint(lo, b[1], b[2]);
        expectPoint(hi, b[3], b[4]);
    }

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

    // {point, foot on the upper half circle}: a foot on the lower half gives the nearer end point instead.
    const double h = std::sqrt(0.5);
    const double feet[][5] = {{0, 5, 0, 0, 1}, {3, 3, 2, h, h}, {0.5, -5, 0, 1, 0}, {-0.5, -5, 0, -1, 0},
                              {0, 0, 0, 0, 1}};
    for (const auto& f : feet)
        expectPoint(kUpper.lotp(CMavPoint3d(f[0], f[1], f[2])), f[3], f[4]);
    expectPoint(kUpper.lotpUnbounded(CMavPoint3d(0, -5, 0)), 0, -1);
    expectPoint(CMavVertex(CMavPoint3d(1, 1, 1), CMavPoint3d(1, 1, 1)).lotp(CMavPoint3d(4, 5, 1)), 1, 1, 1);
}

TEST(CMavVertex, ChordsKeepWithinTheToleranceAndTheCap)
{
    EXPECT_EQ(kUpper.chordCount(0.5), 2);
    EXPECT_EQ(kUpper.chordCount(0.01), 12);
    for (double hopeless : {0.0, 1e-300, std::nan("")})
        EXPECT_EQ(kUpper.chordCount(hopeless), CMavVertex::kMaxChords);
    EXPECT_EQ(CMavVertex(CMavPoint3d(), CMavPoint3d(1, 0, 0)).chordCount(1e-9), 1);

    const CMavVertex arc(CMavPoint3d(12, 0, 0), CMavPoint3d(-6, 6 * std::sqrt(3.0), 0), std::tan(kPi / 6));
    for (double tol : {0.5, 0.1, 0.003}) {
        CMavPoint3dArray p;
        arc.pts(p, tol, true);
        EXPECT_EQ(p.len(), arc.chordCount(tol) + 1);
        EXPECT_EQ(p[-1], arc.end);
        for (int i = 0; i + 1 < p.len(); ++i) {
            EXPECT_NEAR(p[i].asVector().length(), 12.0, 1e-12);
            EXPECT_GE(((p[i] + p[i + 1]) / 2.0).asVector().length(), 12.0 - tol - 1e-12) << tol;
        }
    }
}

TEST(CMavVertex, TransformKeepsTheArcsShape)
{
    // {matrix, bulge after, midpoint after}: a mirror in x keeps the upper half, now clockwise; turned over
    // about the x axis it is the lower half, clockwise seen from +Z; mirroring z changes nothing seen from +Z.
    CMavMatrix3d mirror, flipZ;
    mirror.setToMirroring(CMavPoint3d(), CMavVector3d::kXAxis);
    flipZ.setToMirroring(CMavPoint3d(0, 0, 4), CMavVector3d::kZAxis);
    const struct {
        CMavMatrix3d m;
        double bulge, midY;
    } cases[] = {{mirror, -1.0, 1.0}, {CMavMatrix3d::rotation(kPi, CMavVector3d::kXAxis), -1.0, -1.0},
                 {flipZ, 1.0, 1.0}};
    for (const auto& c : cases) {
        CMavVertex v = kUpper;
        v.transformBy(c.m);
        EXPECT_EQ(v.bulge, c.bulge);
        EXPECT_NEAR(v.mid().y, c.midY, 1e-12);
    }

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
    ASSERT_TRUE(kUpper.reverted().breakAt(CMavPoint3d(-3, 3, 0), a, b));
    EXPECT_NEAR(a.bulge, -std::tan(kPi / 16), 1e-15);
    EXPECT_NEAR(b.bulge, -std::tan(3 * kPi / 16), 1e-15);
    expectPoint(b.mid(), std::cos(3 * kPi / 8), std::sin(3 * kPi / 8));
}

TEST(CMavVertex, IntersectionsAreExactForArcs)
{
    const CMavVertex seg(CMavPoint3d(0, 0, 0), CMavPoint3d(10, 0, 0));
    const CMavVertex above(CMavPoint3d(5, 1, 0), CMavPoint3d(5, 2, 0));
    CMavPoint3dArray p;
    // {mode, crossings with a segment above}: bit 1 extends the other segment beyond its start.
    const int modes[][2] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}};
    for (const auto& m : modes)
        EXPECT_EQ(seg.intersectWith(above, m[0], p), m[1]) << m[0];
    p.removeAll();
    EXPECT_EQ(seg.intersectWith(CMavVertex(CMavPoint3d(5, -1, 0), CMavPoint3d(5, 1, 0)), 0, p), 1);
    expectPoint(p[0], 5, 0);
    // Crossings exactly at an end of either segment count; skew lines in space do not meet.
    EXPECT_EQ(seg.intersectWith(CMavVertex(CMavPoint3d(0, -1, 0), CMavPoint3d(0, 1, 0)), 0, p), 1);
    EXPECT_EQ(seg.intersectWith(CMavVertex(CMavPoint3d(7, 0, 0), CMavPoint3d(7, 3, 0)), 0, p), 1);
    EXPECT_EQ(seg.intersectWith(CMavVertex(CMavPoint3d(5, -1, 1), CMavPoint3d(5, 1, 1)), 3, p), 0);

    // Collinear: the common part's ends, in the segment's direction.
    p.removeAll();
    EXPECT_EQ(seg.intersectWith(CMavVertex(CMavPoint3d(5, 0, 0), CMavPoint3d(-5, 0, 0)), 0, p), 2);
    EXPECT_EQ(p, (CMavPoint3dArray{{0, 0, 0}, {5, 0, 0}}));
    p.removeAll();
    EXPECT_EQ(seg.intersectWith(CMavVertex(CMavPoint3d(20, 0, 0), CMavPoint3d(21, 0, 0)), 3, p), 2);
    EXPECT_EQ(p[1], CMavPoint3d(10, 0, 0));

    // Arc against a line: ordered along the arc; a vertical line meets the upper half once; a tangent once; a
    // line piercing the arc's plane at a point of the arc once.
    p.removeAll();
    EXPECT_EQ(kUpper.intersectWith(CMavVertex(CMavPoint3d(-5, 0.5, 0), CMavPoint3d(5, 0.5, 0)), 0, p), 2);
    expectPoint(p[0], std::sqrt(0.75), 0.5, 0, 1e-15);
    expectPoint(p[1], -std::sqrt(0.75), 0.5, 0, 1e-15);
    const double once[][7] = {{0.6, 7, 0, 0.6, 8, 0, 3}, {-2, 1, 0, 2, 1, 0, 0}, {0, 1, -1, 0, 1, 1, 0}};
    const double at[][2] = {{0.6, 0.8}, {0, 1}, {0, 1}};
    for (int i = 0; i < 3; ++i) {
        const double* o = once[i];
        p.removeAll();
        EXPECT_EQ(kUpper.intersectWith(CMavVertex({o[0], o[1], o[2]}, {o[3], o[4], o[5]}), int(o[6]), p), 1) << i;
        expectPoint(p[0], at[i][0], at[i][1], 0, 1e-15);
    }
    // Straight segment against an arc: ordered along the segment.
    p.removeAll();
    EXPECT_EQ(CMavVertex(CMavPoint3d(-5, 0.5, 0), CMavPoint3d(5, 0.5, 0)).intersectWith(kUpper, 0, p), 2);
    EXPECT_LT(p[0].x, 0.0);
    EXPECT_GT(p[1].x, 0.0);

    // Two arcs: circles of radius 1 about (0, 0) and (1, 0) meet at (0.5, +-sqrt(3)/2); the upper halves once.
    p.removeAll();
    EXPECT_EQ(kUpper.intersectWith(CMavVertex(CMavPoint3d(2, 0, 0), CMavPoint3d(0, 0, 0), 1.0), 0, p), 1);
    expectPoint(p[0], 0.5, std::sqrt(3.0) / 2, 0, 1e-15);
    p.removeAll();
    EXPECT_EQ(kUpper.intersectWith(CMavVertex(CMavPoint3d(2, 0, 0), CMavPoint3d(0, 0, 0), -1.0), 0, p), 0);
    EXPECT_EQ(kUpper.intersectWith(kUpper, 0, p), 0); // the same circle: concentric, no points
    EXPECT_EQ(kUpper.intersectWith(CMavVertex(CMavPoint3d(std::nan(""), 0, 0), CMavPoint3d(1, 1, 0)), 3, p), 0);
    EXPECT_EQ(p.len(), 0);
}

TEST(CMavVertexArray, CirclesClosureRevertAndTransforms)
{
    const CMavVertexArray c = circle(5, 5, 2);
    expectExtents(c, 3, 3, 7, 7);
    EXPECT_TRUE(c.isClosed());
    EXPECT_NEAR(c.length(), 4 * kPi, 1e-14);
    // Reverting runs the other way along the same circle: same box, same plane, the halves swapped.
    CMavVertexArray r = c;
    r.revert();
    EXPECT_EQ(r[0].bulge, -1.0);
    expectPoint(r[0].mid(), 5, 3);
    expectExtents(r, 3, 3, 7, 7);
    EXPECT_EQ(r.normal(), CMavVector3d::kZAxis);
    CMavPoint3d untouched(1, 2, 3), hi;
    EXPECT_FALSE(CMavVertexArray().extents(untouched, hi));
    EXPECT_EQ(untouched, CMavPoint3d(1, 2, 3));

    CMavVertexArray s = square(2);
    s[3].end.y += 1e-12;
    EXPECT_TRUE(s.isClosed());
    s[3].end.y += 1e-3;
    EXPECT_FALSE(s.isClosed());
    EXPECT_TRUE(s.isContinuous());
    s[2].start.x += 0.5;
    EXPECT_FALSE(s.isContinuous());
    EXPECT_TRUE(CMavVertexArray::fromPoints(CMavArrayTempl<CMavPoint3d>{{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}},
                                            true).normal().isEqualTo(CMavVector3d::kYAxis));
    EXPECT_EQ(CMavVertexArray().normal(), CMavVector3d::kZAxis);
    // Closing adds a segment only when the last point is not the first already; one point makes nothing.
    EXPECT_EQ(CMavVertexArray::fromPoints(CMavArrayTempl<CMavPoint3d>{{0, 0, 0}, {1, 0, 0}, {0, 0, 0}}, true).len(), 2);
    EXPECT_EQ(CMavVertexArray::fromPoints(CMavArrayTempl<CMavPoint3d>{{0, 0, 0}}, true).len(), 0);
    CMavVertexArray empty;
    EXPECT_EQ(empty.appendTo(CMavPoint3d(1, 1, 1)), -1);
    EXPECT_TRUE(empty.isEmpty());

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
    CMavVertexArray moved = circle(0, 0, 1);
    moved.move(CMavVector3d(10, 0, 2)).transformBy(CMavMatrix3d::scaling(2.0));
    CMavPoint3d lo;
    ASSERT_TRUE(moved.extents(lo, hi));
    expectPoint(lo, 18, -2, 4);
    expectPoint(hi, 22, 2, 4);

    // Reverting twice is the identity and keeps the shape of random polylines.
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> u(-10.0, 10.0);
    for (int i = 0; i < 50; ++i) {
        CMavVertexArray v;
        v.append(CMavPoint3d(u(rng), u(rng), 0), CMavPoint3d(u(rng), u(rng), 0), u(rng) / 5);
        for (int k = static_cast<int>(rng() % 8); k >= 0; --k)
            v.appendTo(CMavPoint3d(u(rng), u(rng), 0), (rng() % 2) ? 0.0 : u(rng) / 5);
        CMavVertexArray rv = v;
        rv.revert();
        const CMavPoint3dArray forward = v.pts(true, 0.01), backward = rv.pts(true, 0.01);
        ASSERT_EQ(forward.len(), backward.len());
        for (int k = 0; k < forward.len(); ++k)
            EXPECT_TRUE(forward[k].isEqualTo(backward[backward.len() - 1 - k], 1e-9)) << i << " " << k;
        EXPECT_NEAR(rv.length(), v.length(), 1e-9);
        EXPECT_EQ(rv.revert(), v);
    }
}

TEST(CMavVertexArray, PointsIntersectionsAndBreaking)
{
    const CMavPoint3dArray closedPts = square(1).pts(true, 0.5);
    ASSERT_EQ(closedPts.len(), 5);
    EXPECT_EQ(closedPts[4], closedPts[0]);
    EXPECT_EQ(square(1).pts(false, 0.5).len(), 4);
    const CMavPoint3dArray c = circle(0, 0, 1).pts(true, 0.01); // 12 chords per half circle
    ASSERT_EQ(c.len(), 25);
    expectPoint(c[12], -1, 0);
    // Separate pieces keep their own ends; the chord cap holds for huge arcs and hopeless tolerances.
    CMavVertexArray pieces;
    pieces.append(CMavPoint3d(0, 0, 0), CMavPoint3d(1, 0, 0));
    pieces.append(CMavPoint3d(5, 0, 0), CMavPoint3d(6, 0, 0));
    EXPECT_EQ(pieces.pts(true, 0.1), (CMavPoint3dArray{{0, 0, 0}, {1, 0, 0}, {5, 0, 0}, {6, 0, 0}}));
    CMavVertexArray huge;
    huge.append(CMavPoint3d(0, 0, 0), CMavPoint3d(1, 0, 0), 1e300);
    EXPECT_EQ(huge.pts(true, 1e-9).len(), CMavVertex::kMaxChords + 1);

    const CMavVertexArray circ = circle(0, 0, 1);
    CMavPoint3dArray p;
    EXPECT_EQ(circ.intersectWith(CMavPoint3d(0, 0.6, 0), CMavPoint3d(0.1, 0.6, 0), CMavVertexArray::kExtendBoth, p), 2);
    expectPoint(p[0], 0.8, 0.6, 0, 1e-15);
    expectPoint(p[1], -0.8, 0.6, 0, 1e-15);
    p.removeAll();
    EXPECT_EQ(circ.intersectWith(CMavPoint3d(0, 0.6, 0), CMavPoint3d(0.1, 0.6, 0), CMavVertexArray::kOnBoth, p), 0);
    EXPECT_EQ(circ.intersectWith(CMavPoint3d(0, -0.6, 0), CMavPoint3d(0.1, -0.6, 0), CMavVertexArray::kExtendEnd, p),
              1);
    expectPoint(p[0], 0.8, -0.6, 0, 1e-15);
    // Through the joints of the two halves: each half reports both ends, exactly the joint points.
    p.removeAll();
    EXPECT_EQ(circ.intersectWith(CMavPoint3d(-3, 0, 0), CMavPoint3d(3, 0, 0), 0, p), 4);
    EXPECT_EQ(p.removeDuplicates(), (CMavPoint3dArray{{1, 0, 0}, {-1, 0, 0}}));
    // A dashed line: every collinear piece, extended, finds the same crossings of a square.
    CMavVertexArray dashes;
    for (int i = 0; i < 5; ++i)
        dashes.append(CMavPoint3d(-10.5 + 3 * i, 0.5, 0), CMavPoint3d(-9.5 + 3 * i, 0.5, 0));
    p.removeAll();
    EXPECT_EQ(square(1).intersectWith(dashes, CMavVertexArray::kExtendBoth, p), 10);
    EXPECT_EQ(p.removeDuplicates().sort(CMavVector3d(1, 0, 0)), (CMavPoint3dArray{{0, 0.5, 0}, {1, 0.5, 0}}));
    p.removeAll();
    EXPECT_EQ(square(1).intersectWith(dashes, CMavVertexArray::kOnBoth, p), 0);

    CMavVertexArray s = square(2);
    ASSERT_TRUE(s.breakVertex(1, CMavPoint3d(3, 0.5, 0)));
    ASSERT_EQ(s.len(), 5);
    EXPECT_EQ(s[1].end, CMavPoint3d(2, 0.5, 0));
    EXPECT_EQ(s[2].start, CMavPoint3d(2, 0.5, 0));
    EXPECT_DOUBLE_EQ(s.length(), 8.0);
    EXPECT_FALSE(s.breakVertex(5, CMavPoint3d(1, 1, 0)));
    EXPECT_FALSE(s.breakVertex(-1, CMavPoint3d(1, 1, 0)));
    EXPECT_FALSE(s.breakVertex(0, CMavPoint3d(-1, 0, 0)));
    CMavVertexArray half = circle(0, 0, 1);
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
