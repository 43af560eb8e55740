// Polylines: closed circles from arcs, reverting, transforming, chords, intersections and splitting.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "base/CMavVertexArray.h"
#include "../geom_test_util.h"

using namespace geomtest;

namespace {
CMavVertexArray square(double size)
{
    return CMavVertexArray::fromPoints(
        CMavArrayTempl<CMavPoint3d>{{0, 0, 0}, {size, 0, 0}, {size, size, 0}, {0, size, 0}}, true);
}

CMavVertexArray randomPolyline(std::mt19937& rng)
{
    std::uniform_real_distribution<double> u(-10.0, 10.0);
    CMavVertexArray v;
    v.append(CMavPoint3d(u(rng), u(rng), 0), CMavPoint3d(u(rng), u(rng), 0), u(rng) / 5);
    const int n = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < n; ++i)
        v.appendTo(CMavPoint3d(u(rng), u(rng), 0), (rng() % 2) ? 0.0 : u(rng) / 5);
    return v;
}
} // namespace

TEST(CMavVertexArray, CircleFromTwoArcs)
{
    const CMavVertexArray c = circle(5, 5, 2);
    CMavPoint3d lo, hi;
    ASSERT_TRUE(c.extents(lo, hi));
    expectPoint(lo, 3, 3);
    expectPoint(hi, 7, 7);
    EXPECT_TRUE(c.isClosed());
    EXPECT_TRUE(c.isContinuous());
    EXPECT_NEAR(c.length(), 4 * kPi, 1e-14);
    EXPECT_EQ(c.normal(), CMavVector3d::kZAxis);

    // Reverting runs the other way along the same circle: same box, same plane, the halves swapped.
    CMavVertexArray r = c;
    r.revert();
    EXPECT_EQ(r[0].bulge, -1.0);
    expectPoint(r[0].mid(), 5, 3);
    ASSERT_TRUE(r.extents(lo, hi));
    expectPoint(lo, 3, 3);
    expectPoint(hi, 7, 7);
    EXPECT_EQ(r.normal(), CMavVector3d::kZAxis);

    CMavPoint3d untouched(1, 2, 3);
    EXPECT_FALSE(CMavVertexArray().extents(untouched, hi));
    EXPECT_EQ(untouched, CMavPoint3d(1, 2, 3));
}

TEST(CMavVertexArray, RevertTwiceIsIdentityAndKeepsTheShape)
{
    std::mt19937 rng(12345);
    for (int i = 0; i < 50; ++i) {
        const CMavVertexArray v = randomPolyline(rng);
        CMavVertexArray r = v;
        r.revert();
        const CMavPoint3dArray forward = v.pts(true, 0.01);
        const CMavPoint3dArray backward = r.pts(true, 0.01);
        ASSERT_EQ(forward.len(), backward.len());
        for (int k = 0; k < forward.len(); ++k)
            EXPECT_TRUE(forward[k].isEqualTo(backward[backward.len() - 1 - k], 1e-9)) << i << " " << k;
        EXPECT_NEAR(r.length(), v.length(), 1e-9);
        r.revert();
        EXPECT_EQ(r, v);
    }
}

TEST(CMavVertexArray, TransformsCarryArcsAlong)
{
    // A "D": straight from (0, -1) to (0, 1), then an arc bulging to the left back to the start.
    CMavVertexArray d = CMavVertexArray::fromPoints(CMavArrayTempl<CMavPoint3d>{{0, -1, 0}, {0, 1, 0}});
    d.appendTo(CMavPoint3d(0, -1, 0), 1.0);
    CMavPoint3d lo, hi;
    d.extents(lo, hi);
    expectPoint(lo, -1, -1);
    expectPoint(hi, 0, 1);

    CMavMatrix3d mirror;
    mirror.setToMirroring(CMavPoint3d(), CMavVector3d::kXAxis);
    const CMavVertexArray mirrored = d.getTransformedCopy(mirror);
    mirrored.extents(lo, hi);
    expectPoint(lo, 0, -1);
    expectPoint(hi, 1, 1);
    EXPECT_EQ(d[1].bulge, 1.0); // the copy leaves the original alone
    // Turning it over about the y axis gives the same picture seen from +Z.
    d.getTransformedCopy(CMavMatrix3d::rotation(kPi, CMavVector3d::kYAxis)).extents(lo, hi);
    expectPoint(lo, 0, -1);
    expectPoint(hi, 1, 1);

    CMavVertexArray moved = circle(0, 0, 1);
    moved.move(CMavVector3d(10, 0, 2)).transformBy(CMavMatrix3d::scaling(2.0));
    moved.extents(lo, hi);
    expectPoint(lo, 18, -2, 4);
    expectPoint(hi, 22, 2, 4);
}

TEST(CMavVertexArray, ClosureContinuityAndNormal)
{
    CMavVertexArray s = square(2);
    EXPECT_EQ(s.len(), 4);
    EXPECT_TRUE(s.isClosed());
    s[3].end.y += 1e-12;
    EXPECT_TRUE(s.isClosed());
    s[3].end.y += 1e-3;
    EXPECT_FALSE(s.isClosed());
    EXPECT_TRUE(s.isContinuous());
    s[2].start.x += 0.5;
    EXPECT_FALSE(s.isContinuous());

    EXPECT_EQ(square(3).revert().normal(), CMavVector3d::kZAxis);
    const CMavVertexArray upright = CMavVertexArray::fromPoints(
        CMavArrayTempl<CMavPoint3d>{{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}, true);
    EXPECT_TRUE(upright.normal().isEqualTo(CMavVector3d::kYAxis));
    EXPECT_EQ(CMavVertexArray::fromPoints(CMavArrayTempl<CMavPoint3d>{{0, 0, 0}, {5, 1, 0}}).normal(),
              CMavVector3d::kZAxis);
    EXPECT_EQ(CMavVertexArray().normal(), CMavVector3d::kZAxis);

    // Closing adds a segment only when the last point is not the first already; one point makes nothing.
    EXPECT_EQ(CMavVertexArray::fromPoints(CMavArrayTempl<CMavPoint3d>{{0, 0, 0}, {1, 0, 0}, {0, 0, 0}}, true).len(),
              2);
    EXPECT_EQ(CMavVertexArray::fromPoints(CMavArrayTempl<CMavPoint3d>{{0, 0, 0}}, true).len(), 0);
    CMavVertexArray empty;
    EXPECT_EQ(empty.appendTo(CMavPoint3d(1, 1, 1)), -1);
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(empty.isClosed());
}

TEST(CMavVertexArray, PointsWithChords)
{
    const CMavPoint3dArray closedPts = square(1).pts(true, 0.5);
    ASSERT_EQ(closedPts.len(), 5);
    EXPECT_EQ(closedPts[4], closedPts[0]);
    EXPECT_EQ(square(1).pts(false, 0.5).len(), 4);

    // Each half circle of radius 1 takes 12 chords at 0.01.
    const CMavPoint3dArray c = circle(0, 0, 1).pts(true, 0.01);
    ASSERT_EQ(c.len(), 25);
    for (int i = 0; i < c.len(); ++i)
        EXPECT_NEAR(c[i].asVector().length(), 1.0, 1e-12);
    expectPoint(c[12], -1, 0);

    // Separate pieces keep their own ends.
    CMavVertexArray pieces;
    pieces.append(CMavPoint3d(0, 0, 0), CMavPoint3d(1, 0, 0));
    pieces.append(CMavPoint3d(5, 0, 0), CMavPoint3d(6, 0, 0));
    const CMavPoint3dArray pp = pieces.pts(true, 0.1);
    ASSERT_EQ(pp.len(), 4);
    EXPECT_EQ(pp[1], CMavPoint3d(1, 0, 0));
    EXPECT_EQ(pp[2], CMavPoint3d(5, 0, 0));

    // The chord cap holds for huge arcs and hopeless tolerances.
    CMavVertexArray huge;
    huge.append(CMavPoint3d(0, 0, 0), CMavPoint3d(1, 0, 0), 1e300);
    EXPECT_EQ(huge.pts(true, 1e-9).len(), CMavVertex::kMaxChords + 1);
}

TEST(CMavVertexArray, LineIntersectionsWithOutlines)
{
    const CMavVertexArray c = circle(0, 0, 1);
    CMavPoint3dArray p;
    EXPECT_EQ(c.intersectWith(CMavPoint3d(0, 0.6, 0), CMavPoint3d(0.1, 0.6, 0), CMavVertexArray::kExtendBoth, p), 2);
    expectPoint(p[0], 0.8, 0.6, 0, 1e-15);
    expectPoint(p[1], -0.8, 0.6, 0, 1e-15);
    p.removeAll();
    EXPECT_EQ(c.intersectWith(CMavPoint3d(0, 0.6, 0), CMavPoint3d(0.1, 0.6, 0), CMavVertexArray::kOnBoth, p), 0);
    EXPECT_EQ(c.intersectWith(CMavPoint3d(0, -0.6, 0), CMavPoint3d(0.1, -0.6, 0), CMavVertexArray::kExtendEnd, p), 1);
    expectPoint(p[0], 0.8, -0.6, 0, 1e-15);

    // Through the joints of the two halves: each half reports both ends, exactly the joint points.
    p.removeAll();
    EXPECT_EQ(c.intersectWith(CMavPoint3d(-3, 0, 0), CMavPoint3d(3, 0, 0), 0, p), 4);
    p.removeDuplicates();
    ASSERT_EQ(p.len(), 2);
    EXPECT_EQ(p[0], CMavPoint3d(1, 0, 0));
    EXPECT_EQ(p[1], CMavPoint3d(-1, 0, 0));

    // A dashed line: every collinear piece, extended, finds the same crossings of a square.
    CMavVertexArray dashes;
    for (int i = 0; i < 5; ++i)
        dashes.append(CMavPoint3d(-10.5 + 3 * i, 0.5, 0), CMavPoint3d(-9.5 + 3 * i, 0.5, 0));
    p.removeAll();
    EXPECT_EQ(square(1).intersectWith(dashes, CMavVertexArray::kExtendBoth, p), 10);
    p.removeDuplicates().sort(CMavVector3d(1, 0, 0));
    ASSERT_EQ(p.len(), 2);
    EXPECT_EQ(p[0], CMavPoint3d(0, 0.5, 0));
    EXPECT_EQ(p[1], CMavPoint3d(1, 0.5, 0));
    p.removeAll();
    EXPECT_EQ(square(1).intersectWith(dashes, CMavVertexArray::kOnBoth, p), 0);

    // A square with an arc edge: the arc's crossing is exact.
    CMavVertexArray rounded = CMavVertexArray::fromPoints(CMavArrayTempl<CMavPoint3d>{{-1, 0, 0}, {-1, -2, 0},
                                                                                       {1, -2, 0}, {1, 0, 0}});
    rounded.appendTo(CMavPoint3d(-1, 0, 0), 1.0);
    p.removeAll();
    EXPECT_EQ(rounded.intersectWith(CMavPoint3d(0.28, -5, 0), CMavPoint3d(0.28, 5, 0), 0, p), 2);
    expectPoint(p[0], 0.28, -2);
    expectPoint(p[1], 0.28, 0.96, 0, 1e-15);
}

TEST(CMavVertexArray, BreakingASegment)
{
    CMavVertexArray s = square(2);
    ASSERT_TRUE(s.breakVertex(1, CMavPoint3d(3, 0.5, 0)));
    ASSERT_EQ(s.len(), 5);
    EXPECT_EQ(s[1].end, CMavPoint3d(2, 0.5, 0));
    EXPECT_EQ(s[2].start, CMavPoint3d(2, 0.5, 0));
    EXPECT_TRUE(s.isContinuous());
    EXPECT_DOUBLE_EQ(s.length(), 8.0);
    EXPECT_FALSE(s.breakVertex(5, CMavPoint3d(1, 1, 0)));
    EXPECT_FALSE(s.breakVertex(-1, CMavPoint3d(1, 1, 0)));
    EXPECT_FALSE(s.breakVertex(0, CMavPoint3d(-1, 0, 0)));
    EXPECT_EQ(s.len(), 5);

    CMavVertexArray c = circle(0, 0, 1);
    ASSERT_TRUE(c.breakVertex(1, CMavPoint3d(0, -4, 0)));
    EXPECT_EQ(c.len(), 3);
    expectPoint(c[1].end, 0, -1);
    EXPECT_NEAR(c.length(), 2 * kPi, 1e-14);
}

TEST(CMavVertexArray, NonFiniteInputHasDefinedResults)
{
    CMavVertexArray bad;
    bad.append(CMavPoint3d(std::nan(""), 0, 0), CMavPoint3d(1, HUGE_VAL, 0), 1.0);
    bad.appendTo(CMavPoint3d(2, 2, 0), std::nan(""));
    bad.appendTo(CMavPoint3d(3, 2, 0), -HUGE_VAL);
    CMavPoint3dArray p;
    // Segments with non-finite points meet nothing; an infinite bulge is drawn straight.
    EXPECT_EQ(bad.intersectWith(CMavPoint3d(0, 0, 0), CMavPoint3d(1, 1, 0), CMavVertexArray::kExtendBoth, p), 1);
    EXPECT_EQ(p[0], CMavPoint3d(2, 2, 0));
    EXPECT_EQ(bad.pts(true, 0.1).len(), 4 + 1);
    EXPECT_FALSE(bad.breakVertex(0, CMavPoint3d(0.5, 0, 0)));
    CMavPoint3d lo, hi;
    EXPECT_TRUE(bad.extents(lo, hi));
    EXPECT_DOUBLE_EQ(bad[2].bulgLen(), 1.0);
    bad.revert().transformBy(CMavMatrix3d::rotation(1.0, CMavVector3d::kZAxis));
    EXPECT_EQ(bad.len(), 3);
}
