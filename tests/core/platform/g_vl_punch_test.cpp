// Inside tests of regions, clipping of polylines by outlines and regions, and holes cut out of outlines.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "platform/g_vl.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

CMavVertexArray rect(double x0, double y0, double x1, double y1)
{
    CMavVertexArray vl;
    CMavPoint3d p[4] = {{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}};
    for (int k = 0; k < 4; ++k)
        vl.append(CMavVertex(p[k], p[(k + 1) % 4], 0.0));
    return vl;
}

CMavVertexArray circle(double cx, double cy, double r)
{
    CMavVertexArray vl;
    vl.append(CMavVertex({cx + r, cy, 0}, {cx - r, cy, 0}, 1.0));
    vl.append(CMavVertex({cx - r, cy, 0}, {cx + r, cy, 0}, 1.0));
    return vl;
}

CMavVertexArray seg(double x0, double y0, double x1, double y1)
{
    CMavVertexArray vl;
    vl.append(CMavVertex({x0, y0, 0}, {x1, y1, 0}, 0.0));
    return vl;
}

CMavArrayTempl<CMavVertexArray> regionOf(std::initializer_list<CMavVertexArray> outlines)
{
    CMavArrayTempl<CMavVertexArray> r;
    for (const CMavVertexArray& o : outlines)
        r.append(o);
    return r;
}

// Net area of a result: outer outlines minus their holes.
double netArea(const CMavArrayTempl<CMavArrayTempl<CMavVertexArray>>& regions)
{
    double a = 0.0;
    for (const CMavArrayTempl<CMavVertexArray>& r : regions)
        for (int i = 0; i < r.len(); ++i)
            a += i == 0 ? MAV::g_vl_area(r[i]) : -MAV::g_vl_area(r[i]);
    return a;
}

bool closedAndContinuous(const CMavVertexArray& vl)
{
    if (vl.isEmpty() || !(vl[-1].end == vl[0].start))
        return false;
    for (int i = 1; i < vl.len(); ++i)
        if (!(vl[i - 1].end == vl[i].start))
            return false;
    return true;
}

void expectPt(const CMavPoint3d& p, double x, double y, double tol = 1e-9)
{
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}

} // namespace

TEST(RegionInside, OuterOutlineMinusHolesWithClosedBoundary)
{
    auto reg = regionOf({rect(0, 0, 10, 10), rect(4, 4, 6, 6)});
    EXPECT_EQ(MAV::g_vll_pt_inside(reg, {1, 1, 0}), 1);
    EXPECT_EQ(MAV::g_vll_pt_inside(reg, {5, 5, 0}), 0);
    EXPECT_EQ(MAV::g_vll_pt_inside(reg, {4, 5, 0}), 2);
    EXPECT_EQ(MAV::g_vll_pt_inside(reg, {0, 5, 0}), 2);
    EXPECT_EQ(MAV::g_vll_pt_inside(reg, {10, 10, 0}), 2);
    EXPECT_EQ(MAV::g_vll_pt_inside(reg, {11, 5, 0}), 0);
    EXPECT_EQ(MAV::g_vll_pt_inside(reg, {-1, -1, 0}), 0);
    // The z of the point plays no part.
    EXPECT_EQ(MAV::g_vll_pt_inside(reg, {1, 1, 40}), 1);

    // A hole that reaches out of the outline removes its inner part only; outside stays outside.
    auto out = regionOf({rect(0, 0, 10, 10), rect(8, 4, 12, 6)});
    EXPECT_EQ(MAV::g_vll_pt_inside(out, {11, 5, 0}), 0);
    EXPECT_EQ(MAV::g_vll_pt_inside(out, {9, 5, 0}), 0);
    EXPECT_EQ(MAV::g_vll_pt_inside(out, {7, 5, 0}), 1);
    EXPECT_EQ(MAV::g_vll_pt_inside(out, {11, 4, 0}), 0); // on the hole's edge but outside the outline

    // Circle as two half-circle arcs, tested exactly against the arcs, not their chords.
    auto c = regionOf({circle(0, 0, 1)});
    EXPECT_EQ(MAV::g_vll_pt_inside(c, {0.9, 0, 0}), 1);
    EXPECT_EQ(MAV::g_vll_pt_inside(c, {0, 0.99, 0}), 1);
    EXPECT_EQ(MAV::g_vll_pt_inside(c, {0, -0.99, 0}), 1);
    EXPECT_EQ(MAV::g_vll_pt_inside(c, {0.75, 0.75, 0}), 0);
    EXPECT_EQ(MAV::g_vll_pt_inside(c, {0, 1, 0}), 2);
    EXPECT_EQ(MAV::g_vll_pt_inside(c, {std::sqrt(0.5), -std::sqrt(0.5), 0}), 2);
    EXPECT_EQ(MAV::g_vll_pt_inside(c, {1.01, 0, 0}), 0);

    // Major arc closed by its chord: the circle about (0, 0.75), radius 1.25, above y = 0.
    CMavVertexArray major;
    major.append(CMavVertex({1, 0, 0}, {-1, 0, 0}, 2.0));
    major.append(CMavVertex({-1, 0, 0}, {1, 0, 0}, 0.0));
    auto m = regionOf({major});
    EXPECT_EQ(MAV::g_vll_pt_inside(m, {0, 1.9, 0}), 1);
    EXPECT_EQ(MAV::g_vll_pt_inside(m, {1.2, 0.75, 0}), 1);
    EXPECT_EQ(MAV::g_vll_pt_inside(m, {0, -0.3, 0}), 0);
    EXPECT_EQ(MAV::g_vll_pt_inside(m, {0, 2.1, 0}), 0);
    EXPECT_EQ(MAV::g_vll_pt_inside(m, {0.5, 0, 0}), 2);

    // A self-crossing bow tie counts by the even-odd rule.
    CMavVertexArray bow;
    bow.append(CMavVertex({0, 0, 0}, {4, 4, 0}, 0.0));
    bow.append(CMavVertex({4, 4, 0}, {4, 0, 0}, 0.0));
    bow.append(CMavVertex({4, 0, 0}, {0, 4, 0}, 0.0));
    bow.append(CMavVertex({0, 4, 0}, {0, 0, 0}, 0.0));
    EXPECT_EQ(MAV::g_vll_pt_inside(regionOf({bow}), {0.5, 2, 0}), 1);
    EXPECT_EQ(MAV::g_vll_pt_inside(regionOf({bow}), {2, 0.5, 0}), 0);

    EXPECT_EQ(MAV::g_vll_pt_inside(CMavArrayTempl<CMavVertexArray>(), {0, 0, 0}), 0);
    EXPECT_EQ(MAV::g_vll_pt_inside(regionOf({CMavVertexArray()}), {0, 0, 0}), 0);
    EXPECT_EQ(MAV::g_vll_pt_inside(reg, {std::nan(""), 1, 0}), 0);
}

TEST(PolylineClip, PiecesInsideAndOutsideRegions)
{
    auto reg = regionOf({rect(0, 0, 10, 10), rect(4, 4, 6, 6)});
    CMavArrayTempl<CMavVertexArray> in = MAV::g_vl_punch_reg(seg(-5, 5, 15, 5), reg, true);
    ASSERT_EQ(in.len(), 2);
    expectPt(in[0][0].start, 0, 5);
    expectPt(in[0][0].end, 4, 5);
    expectPt(in[1][0].start, 6, 5);
    expectPt(in[1][0].end, 10, 5);
    CMavArrayTempl<CMavVertexArray> outp = MAV::g_vl_punch_reg(seg(-5, 5, 15, 5), reg, false);
    ASSERT_EQ(outp.len(), 3);
    expectPt(outp[0][0].end, 0, 5);
    expectPt(outp[1][0].start, 4, 5);
    expectPt(outp[1][0].end, 6, 5);
    expectPt(outp[2][0].end, 15, 5);
    // One outline only: the hole does not count.
    CMavArrayTempl<CMavVertexArray> one = MAV::g_vl_punch(seg(-5, 5, 15, 5), rect(0, 0, 10, 10), true);
    ASSERT_EQ(one.len(), 1);
    expectPt(one[0][0].start, 0, 5);
    expectPt(one[0][0].end, 10, 5);

    // An odd number of crossings: the line ends inside.
    CMavArrayTempl<CMavVertexArray> odd = MAV::g_vl_punch_reg(seg(-5, 2, 5, 2), reg, true);
    ASSERT_EQ(odd.len(), 1);
    expectPt(odd[0][0].start, 0, 2);
    expectPt(odd[0][0].end, 5, 2);
    // Running along an edge and through corners: the boundary belongs to the region.
    CMavArrayTempl<CMavVertexArray> edge = MAV::g_vl_punch_reg(seg(-5, 0, 15, 0), reg, true);
    ASSERT_EQ(edge.len(), 1);
    expectPt(edge[0][0].start, 0, 0);
    expectPt(edge[0][0].end, 10, 0);
    CMavArrayTempl<CMavVertexArray> diag = MAV::g_vl_punch(seg(-5, -5, 15, 15), rect(0, 0, 10, 10), true);
    ASSERT_EQ(diag.len(), 1);
    expectPt(diag[0][0].start, 0, 0);
    expectPt(diag[0][0].end, 10, 10);

    // Arcs: a line through a circle is cut exactly where it meets the arcs; a tangent line keeps nothing.
    CMavArrayTempl<CMavVertexArray> chord = MAV::g_vl_punch(seg(-2, 0.6, 2, 0.6), circle(0, 0, 1), true);
    ASSERT_EQ(chord.len(), 1);
    expectPt(chord[0][0].start, -0.8, 0.6, 1e-12);
    expectPt(chord[0][0].end, 0.8, 0.6, 1e-12);
    EXPECT_TRUE(MAV::g_vl_punch(seg(-2, 1, 2, 1), circle(0, 0, 1), true).isEmpty());
    // An arc clipped by a rectangle gives a sub-arc on the same circle.
    CMavVertexArray arc;
    arc.append(CMavVertex({-2, 0, 0}, {2, 0, 0}, 1.0)); // through (0, -2)
    CMavArrayTempl<CMavVertexArray> sub = MAV::g_vl_punch(arc, rect(-1, -3, 1, 3), true);
    ASSERT_EQ(sub.len(), 1);
    ASSERT_EQ(sub[0].len(), 1);
    expectPt(sub[0][0].start, -1, -std::sqrt(3.0), 1e-12);
    expectPt(sub[0][0].end, 1, -std::sqrt(3.0), 1e-12);
    EXPECT_NEAR(sub[0][0].bulge, std::tan(kPi / 12.0), 1e-12);
    // Circle against circle.
    CMavArrayTempl<CMavVertexArray> lens = MAV::g_vl_punch(circle(1, 0, 1), circle(0, 0, 1), true);
    ASSERT_EQ(lens.len(), 1);
    expectPt(lens[0][0].start, 0.5, std::sqrt(0.75), 1e-12);
    expectPt(lens[0][-1].end, 0.5, -std::sqrt(0.75), 1e-12);

    // A zigzag inside stays one piece; the outline's crossings split it.
    CMavVertexArray zig;
    zig.append(CMavVertex({-1, 1, 0}, {3, 5, 0}, 0.0));
    zig.append(CMavVertex({3, 5, 0}, {7, 1, 0}, 0.0));
    zig.append(CMavVertex({7, 1, 0}, {11, 5, 0}, 0.0));
    CMavArrayTempl<CMavVertexArray> z = MAV::g_vl_punch(zig, rect(0, 0, 10, 10), true);
    ASSERT_EQ(z.len(), 1);
    ASSERT_EQ(z[0].len(), 3);
    expectPt(z[0][0].start, 0, 2);
    expectPt(z[0][2].end, 10, 4);

    // Pieces given as a list are each clipped.
    CMavArrayTempl<CMavVertexArray> list = regionOf({seg(-1, 1, 1, 1), seg(9, 1, 12, 1)});
    CMavArrayTempl<CMavVertexArray> both = MAV::g_vl_punch(list, rect(0, 0, 10, 10), true);
    ASSERT_EQ(both.len(), 2);
    expectPt(both[0][0].start, 0, 1);
    expectPt(both[1][0].end, 10, 1);

    // Empty and broken input.
    EXPECT_TRUE(MAV::g_vl_punch_reg(seg(0, 0, 1, 1), CMavArrayTempl<CMavVertexArray>(), true).isEmpty());
    EXPECT_EQ(MAV::g_vl_punch_reg(seg(0, 0, 1, 1), CMavArrayTempl<CMavVertexArray>(), false).len(), 1);
    EXPECT_TRUE(MAV::g_vl_punch(CMavVertexArray(), rect(0, 0, 1, 1), true).isEmpty());
    CMavVertexArray nanOutline = rect(0, 0, 10, 10);
    nanOutline[1].end.x = std::nan("");
    nanOutline[2].start.x = std::nan("");
    MAV::g_vl_punch(seg(-5, 5, 15, 5), nanOutline, true);
    CMavVertexArray hugeArc;
    hugeArc.append(CMavVertex({0, 0, 0}, {1, 0, 0}, 1e300));
    MAV::g_vl_punch(seg(-5, 0, 15, 0), hugeArc, true);
}

TEST(PolylineClip, RandomLinesAgreeWithThePointTest)
{
    // Every piece kept inside has its midpoint inside, and inside plus outside pieces add up to the line.
    auto reg = regionOf({circle(0, 0, 5), rect(-2, -2, 2, 2), circle(4, 0, 2)});
    std::mt19937 rng(77u);
    std::uniform_real_distribution<double> u(-8.0, 8.0);
    for (int round = 0; round < 300; ++round) {
        CMavVertexArray l = seg(u(rng), u(rng), u(rng), u(rng));
        double total = l[0].start.distanceTo(l[0].end);
        double sum = 0.0;
        for (bool inside : {true, false})
            for (const CMavVertexArray& p : MAV::g_vl_punch_reg(l, reg, inside))
                for (const CMavVertex& v : p) {
                    sum += v.start.distanceTo(v.end);
                    CMavPoint3d mid((v.start.x + v.end.x) / 2, (v.start.y + v.end.y) / 2, 0);
                    int c = MAV::g_vll_pt_inside(reg, mid);
                    if (inside)
                        EXPECT_NE(c, 0) << round;
                    else
                        EXPECT_EQ(c, 0) << round;
                }
        EXPECT_NEAR(sum, total, 1e-9) << round;
    }
}

TEST(RegionPunch, HolesInsideStayAndCrossingHolesAreSubtracted)
{
    // A hole inside the square is kept as a hole.
    auto r = MAV::g_vl_punch(rect(0, 0, 10, 10), regionOf({rect(4, 4, 6, 6)}));
    ASSERT_EQ(r.len(), 1);
    ASSERT_EQ(r[0].len(), 2);
    EXPECT_NEAR(MAV::g_vl_area(r[0][0]), 100.0, 1e-9);
    EXPECT_NEAR(MAV::g_vl_area(r[0][1]), 4.0, 1e-9);
    EXPECT_EQ(MAV::g_vll_pt_inside(r[0], {5, 5, 0}), 0);
    EXPECT_EQ(MAV::g_vll_pt_inside(r[0], {1, 5, 0}), 1);

    // A hole over the right edge takes a notch out of it: one outline of eight edges.
    r = MAV::g_vl_punch(rect(0, 0, 10, 10), regionOf({rect(8, 4, 12, 6)}));
    ASSERT_EQ(r.len(), 1);
    ASSERT_EQ(r[0].len(), 1);
    EXPECT_EQ(r[0][0].len(), 8);
    EXPECT_TRUE(closedAndContinuous(r[0][0]));
    EXPECT_NEAR(MAV::g_vl_area(r[0][0]), 96.0, 1e-9);
    EXPECT_EQ(MAV::g_vll_pt_inside(r[0], {9, 5, 0}), 0);
    EXPECT_EQ(MAV::g_vll_pt_inside(r[0], {9, 7, 0}), 1);

    // A hole right across splits the square in two.
    r = MAV::g_vl_punch_reg(regionOf({rect(0, 0, 10, 10), rect(4, -1, 6, 11)}));
    ASSERT_EQ(r.len(), 2);
    EXPECT_NEAR(MAV::g_vl_area(r[0][0]), 40.0, 1e-9);
    EXPECT_NEAR(MAV::g_vl_area(r[1][0]), 40.0, 1e-9);

    // Overlapping holes inside merge into one hole.
    r = MAV::g_vl_punch(rect(0, 0, 10, 10), regionOf({rect(2, 2, 5, 5), rect(4, 4, 7, 7)}));
    ASSERT_EQ(r.len(), 1);
    ASSERT_EQ(r[0].len(), 2);
    EXPECT_NEAR(netArea(r), 83.0, 1e-9);

    // A hole inside another hole adds nothing; one beside the square is ignored; one around it leaves nothing.
    r = MAV::g_vl_punch(rect(0, 0, 10, 10), regionOf({rect(2, 2, 8, 8), rect(3, 3, 4, 4), rect(20, 0, 30, 5)}));
    ASSERT_EQ(r.len(), 1);
    EXPECT_EQ(r[0].len(), 2);
    EXPECT_NEAR(netArea(r), 64.0, 1e-9);
    EXPECT_TRUE(MAV::g_vl_punch(rect(0, 0, 10, 10), regionOf({rect(-1, -1, 11, 11)})).isEmpty());

    // A circular hole over an edge: exact half-disc area removed.
    r = MAV::g_vl_punch(rect(0, 0, 10, 10), regionOf({circle(10, 5, 2)}));
    ASSERT_EQ(r.len(), 1);
    ASSERT_EQ(r[0].len(), 1);
    EXPECT_NEAR(netArea(r), 100.0 - 2.0 * kPi, 1e-9);
    EXPECT_TRUE(closedAndContinuous(r[0][0]));

    // A hole sharing an edge from outside changes nothing; one sharing the corner region takes it.
    r = MAV::g_vl_punch(rect(0, 0, 10, 10), regionOf({rect(10, 0, 12, 10)}));
    ASSERT_EQ(r.len(), 1);
    EXPECT_NEAR(netArea(r), 100.0, 1e-9);
    r = MAV::g_vl_punch(rect(0, 0, 10, 10), regionOf({rect(5, 5, 10, 10)}));
    ASSERT_EQ(r.len(), 1);
    EXPECT_NEAR(netArea(r), 75.0, 1e-9);

    // The outline's direction does not matter; every outline of the result runs counter-clockwise.
    CMavVertexArray cw;
    CMavVertexArray sq = rect(0, 0, 10, 10);
    for (int i = sq.len() - 1; i >= 0; --i)
        cw.append(CMavVertex(sq[i].end, sq[i].start, 0.0));
    r = MAV::g_vl_punch(cw, regionOf({rect(4, 4, 6, 6)}));
    ASSERT_EQ(r.len(), 1);
    for (const CMavVertexArray& o : r[0])
        EXPECT_TRUE(MAV::g_vl_orient(o, CMavVector3d::kZAxis));

    // Empty or degenerate outlines give nothing.
    EXPECT_TRUE(MAV::g_vl_punch_reg(CMavArrayTempl<CMavVertexArray>()).isEmpty());
    EXPECT_TRUE(MAV::g_vl_punch(seg(0, 0, 5, 0), regionOf({rect(1, 1, 2, 2)})).isEmpty());
    CMavVertexArray nanSq = rect(0, 0, 10, 10);
    nanSq[2].end.y = std::nan("");
    MAV::g_vl_punch(nanSq, regionOf({rect(8, 4, 12, 6)}));
}

TEST(RegionPunch, RandomHolesAgreeWithTheRegionTest)
{
    // Points away from every edge lie inside the punched result exactly when they lie inside the outline and
    // outside every hole of the input.
    std::mt19937 rng(4242u);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    for (int round = 0; round < 60; ++round) {
        CMavVertexArray outline = rng() % 2 ? rect(0, 0, 10, 10) : circle(5, 5, 5);
        CMavArrayTempl<CMavVertexArray> holes;
        int n = 1 + static_cast<int>(rng() % 4);
        for (int k = 0; k < n; ++k) {
            double x = u(rng) * 12 - 1, y = u(rng) * 12 - 1, s = 0.5 + u(rng) * 4;
            holes.append(rng() % 2 ? rect(x, y, x + s, y + s * (0.5 + u(rng))) : circle(x, y, s / 2));
        }
        CMavArrayTempl<CMavVertexArray> input;
        input.append(outline);
        input.append(holes);
        CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> r = MAV::g_vl_punch(outline, holes);
        for (const CMavArrayTempl<CMavVertexArray>& reg : r)
            for (const CMavVertexArray& o : reg) {
                EXPECT_TRUE(closedAndContinuous(o)) << round;
                EXPECT_TRUE(MAV::g_vl_orient(o, CMavVector3d::kZAxis)) << round;
            }
        for (int k = 0; k < 400; ++k) {
            CMavPoint3d p(u(rng) * 12 - 1, u(rng) * 12 - 1, 0);
            int want = MAV::g_vll_pt_inside(input, p);
            if (want == 2)
                continue;
            int got = 0;
            for (const CMavArrayTempl<CMavVertexArray>& reg : r)
                got = std::max(got, MAV::g_vll_pt_inside(reg, p));
            if (got == 2)
                continue;
            EXPECT_EQ(got, want) << "round " << round << " point " << p.x << " " << p.y;
        }
    }
}

TEST(PolylineClip, LargeRegionsUsedInTurnGiveTheirOwnResults)
{
    // Regions of many segments are prepared once and reused while the same region comes again; a changed
    // region must never be answered from the previous one.
    auto polygon = [](double cx, double r) {
        CMavVertexArray vl;
        const int n = 200;
        for (int i = 0; i < n; ++i) {
            double a0 = 2 * kPi * i / n, a1 = 2 * kPi * (i + 1) / n;
            vl.append(CMavVertex({cx + r * std::cos(a0), r * std::sin(a0), 0}, {cx + r * std::cos(a1), r * std::sin(a1), 0},
                                 0.0));
        }
        return vl;
    };
    auto a = regionOf({polygon(0, 5)});
    auto b = regionOf({polygon(20, 5)});
    CMavVertexArray l = seg(-30, 0, 30, 0);
    for (int round = 0; round < 3; ++round) {
        auto pa = MAV::g_vl_punch_reg(l, a, true);
        ASSERT_EQ(pa.len(), 1);
        expectPt(pa[0][0].start, -5, 0, 1e-9);
        auto pb = MAV::g_vl_punch_reg(l, b, true);
        ASSERT_EQ(pb.len(), 1);
        expectPt(pb[0][0].start, 15, 0, 1e-9);
        EXPECT_EQ(MAV::g_vll_pt_inside(a, {0, 0, 0}), 1);
        EXPECT_EQ(MAV::g_vll_pt_inside(b, {0, 0, 0}), 0);
    }
    // The same list changed in place.
    EXPECT_EQ(MAV::g_vll_pt_inside(a, {0, 0, 0}), 1);
    a[0].move(CMavVector3d(100, 0, 0));
    EXPECT_EQ(MAV::g_vll_pt_inside(a, {0, 0, 0}), 0);
    EXPECT_EQ(MAV::g_vll_pt_inside(a, {100, 0, 0}), 1);
}
