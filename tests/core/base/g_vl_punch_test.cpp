// Inside tests of regions, clipping of polylines by outlines and regions, and holes cut out of outlines.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <string>

#include "../geom_test_util.h"
#include "base/g_vl.h"

using namespace geomtest;

namespace {

using Region = CMavArrayTempl<CMavVertexArray>;

// Net area of a result: outer outlines minus their holes.
double netArea(const CMavArrayTempl<Region>& regions)
{
    double a = 0.0;
    for (const Region& r : regions)
        for (int i = 0; i < r.len(); ++i)
            a += i == 0 ? MAV::g_vl_area(r[i]) : -MAV::g_vl_area(r[i]);
    return a;
}

// Every outline of a result is closed, continuous, simple (no corner visited twice, so outlines that touch at a
// point are separate outlines) and runs counter-clockwise.
void expectWellFormed(const CMavArrayTempl<Region>& result, const std::string& what)
{
    for (const Region& r : result)
        for (const CMavVertexArray& o : r) {
            bool closed = !o.isEmpty() && o[-1].end == o[0].start;
            for (int i = 1; i < o.len(); ++i) {
                closed = closed && o[i - 1].end == o[i].start;
                for (int j = 0; j < i; ++j)
                    EXPECT_FALSE(o[i].start.isEqualTo(o[j].start, 1e-9)) << what << ": corner " << i << " again";
            }
            EXPECT_TRUE(closed) << what;
            EXPECT_TRUE(MAV::g_vl_orient(o, CMavVector3d::kZAxis)) << what;
        }
}

// Each point {x, y, expected answer} against the region.
void expectInside(const Region& r, std::initializer_list<std::array<double, 3>> points)
{
    for (const auto& p : points)
        EXPECT_EQ(MAV::g_vll_pt_inside(r, {p[0], p[1], 0}), static_cast<int>(p[2])) << p[0] << "," << p[1];
}

// The pieces' count, and where each starts and ends ({x0, y0, x1, y1}).
void expectPieces(const Region& pieces, std::initializer_list<std::array<double, 4>> ends, double tol = 1e-9)
{
    ASSERT_EQ(pieces.len(), static_cast<int>(ends.size()));
    int i = 0;
    for (const auto& e : ends) {
        expectPoint(pieces[i][0].start, e[0], e[1], 0, tol);
        expectPoint(pieces[i++][-1].end, e[2], e[3], 0, tol);
    }
}

} // namespace

TEST(RegionInside, OuterOutlineMinusHolesWithClosedBoundary)
{
    // 1 inside, 0 outside, 2 on the boundary of the outline or a hole.
    const Region reg = Region({rect(0, 0, 10, 10), rect(4, 4, 6, 6)});
    expectInside(reg, {{1, 1, 1}, {5, 5, 0}, {4, 5, 2}, {0, 5, 2}, {10, 10, 2}, {11, 5, 0}, {-1, -1, 0}});
    EXPECT_EQ(MAV::g_vll_pt_inside(reg, {1, 1, 40}), 1); // the z of the point plays no part
    // A hole that reaches out of the outline removes its inner part only; outside stays outside, even on its edge.
    expectInside(Region({rect(0, 0, 10, 10), rect(8, 4, 12, 6)}), {{11, 5, 0}, {9, 5, 0}, {7, 5, 1}, {11, 4, 0}});
    // Circle as two half-circle arcs, tested exactly against the arcs, not their chords.
    const double h = std::sqrt(0.5);
    expectInside(Region({circle(0, 0, 1)}),
                 {{0.9, 0, 1}, {0, 0.99, 1}, {0, -0.99, 1}, {0.75, 0.75, 0}, {0, 1, 2}, {h, -h, 2}, {1.01, 0, 0}});
    // Major arc closed by its chord: the circle about (0, 0.75), radius 1.25, above y = 0.
    expectInside(Region({poly({{1, 0, -1, 0, 2.0}, {-1, 0, 1, 0, 0}})}),
                 {{0, 1.9, 1}, {1.2, 0.75, 1}, {0, -0.3, 0}, {0, 2.1, 0}, {0.5, 0, 2}});
    // A self-crossing bow tie counts by the even-odd rule.
    expectInside(Region({poly({{0, 0, 4, 4, 0}, {4, 4, 4, 0, 0}, {4, 0, 0, 4, 0}, {0, 4, 0, 0, 0}})}),
                 {{0.5, 2, 1}, {2, 0.5, 0}});

    EXPECT_EQ(MAV::g_vll_pt_inside(Region(), {0, 0, 0}) + MAV::g_vll_pt_inside(Region({CMavVertexArray()}), {0, 0, 0}) +
                  MAV::g_vll_pt_inside(reg, {std::nan(""), 1, 0}),
              0);
}

TEST(PolylineClip, PiecesInsideAndOutsideRegions)
{
    const Region reg = Region({rect(0, 0, 10, 10), rect(4, 4, 6, 6)});
    expectPieces(MAV::g_vl_punch_reg(seg(-5, 5, 15, 5), reg, false), {{-5, 5, 0, 5}, {4, 5, 6, 5}, {10, 5, 15, 5}});
    // One outline only: the hole does not count. The boundary belongs to the region, along an edge or at corners.
    expectPieces(MAV::g_vl_punch(seg(-5, 5, 15, 5), rect(0, 0, 10, 10), true), {{0, 5, 10, 5}});
    expectPieces(MAV::g_vl_punch_reg(seg(-5, 0, 15, 0), reg, true), {{0, 0, 10, 0}});
    expectPieces(MAV::g_vl_punch(seg(-5, -5, 15, 15), rect(0, 0, 10, 10), true), {{0, 0, 10, 10}});
    // Arcs: a line is cut exactly where it meets them, also at the scale of a building in millimetres; a tangent
    // keeps nothing; an arc clipped by a rectangle is a sub-arc on the same circle.
    expectPieces(MAV::g_vl_punch(seg(-2, 0.6, 2, 0.6), circle(0, 0, 1), true), {{-0.8, 0.6, 0.8, 0.6}}, 1e-12);
    expectPieces(MAV::g_vl_punch(seg(-2e5, 6e4, 2e5, 6e4), circle(0, 0, 1e5), true), {{-8e4, 6e4, 8e4, 6e4}}, 1e-6);
    EXPECT_TRUE(MAV::g_vl_punch(seg(-2, 1, 2, 1), circle(0, 0, 1), true).isEmpty());
    const Region sub = MAV::g_vl_punch(poly({{-2, 0, 2, 0, 1.0}}), rect(-1, -3, 1, 3), true);
    expectPieces(sub, {{-1, -std::sqrt(3.0), 1, -std::sqrt(3.0)}}, 1e-12);
    EXPECT_NEAR(sub[0][0].bulge, std::tan(kPi / 12.0), 1e-12);
    // Pieces given as a list are each clipped.
    expectPieces(MAV::g_vl_punch(Region({seg(-1, 1, 1, 1), seg(9, 1, 12, 1)}), rect(0, 0, 10, 10), true),
                 {{0, 1, 1, 1}, {9, 1, 10, 1}});
    // Empty and broken input; a segment with a point that is not a number ends the piece before it and is left out.
    EXPECT_EQ(MAV::g_vl_punch_reg(seg(0, 0, 1, 1), Region(), true).len() * 10 +
                  MAV::g_vl_punch_reg(seg(0, 0, 1, 1), Region(), false).len() +
                  MAV::g_vl_punch(CMavVertexArray(), rect(0, 0, 1, 1), true).len() * 100,
              1);
    expectPieces(MAV::g_vl_punch(poly({{-5, 5, 3, 5, 0}, {3, 5, std::nan(""), 5, 0}, {6, 5, 15, 5, 0}}),
                                 rect(0, 0, 10, 10), true),
                 {{0, 5, 3, 5}, {6, 5, 10, 5}});
    CMavVertexArray nanOutline = rect(0, 0, 10, 10); // does not crash
    nanOutline[1].end.x = nanOutline[2].start.x = std::nan("");
    MAV::g_vl_punch(seg(-5, 5, 15, 5), nanOutline, true);
    MAV::g_vl_punch(seg(-5, 0, 15, 0), poly({{0, 0, 1, 0, 1e300}}), true);
}

TEST(PolylineClip, RandomLinesAgreeWithThePointTest)
{
    // Every piece kept inside has its midpoint inside, and inside plus outside pieces add up to the line.
    const Region reg = Region({circle(0, 0, 5), rect(-2, -2, 2, 2), circle(4, 0, 2)});
    std::mt19937 rng(77u);
    std::uniform_real_distribution<double> u(-8.0, 8.0);
    for (int round = 0; round < 300; ++round) {
        const CMavVertexArray l = seg(u(rng), u(rng), u(rng), u(rng));
        double sum = 0.0;
        for (bool inside : {true, false})
            for (const CMavVertexArray& p : MAV::g_vl_punch_reg(l, reg, inside))
                for (const CMavVertex& v : p) {
                    sum += v.start.distanceTo(v.end);
                    EXPECT_EQ(MAV::g_vll_pt_inside(reg, (v.start + v.end) / 2.0) != 0, inside) << round;
                }
        EXPECT_NEAR(sum, l[0].start.distanceTo(l[0].end), 1e-9) << round;
    }
}

TEST(RegionPunch, HolesInsideStayAndCrossingHolesAreSubtracted)
{
    const CMavVertexArray sq = rect(0, 0, 10, 10);
    const CMavVertexArray cw = poly({{0, 0, 0, 10, 0}, {0, 10, 10, 10, 0}, {10, 10, 10, 0, 0}, {10, 0, 0, 0, 0}});
    // {outline, holes, regions, outlines of the first region, area}: a hole inside is kept; a notch over the edge;
    // right across splits; overlapping holes merge; nested holes and one beside; around leaves nothing; a half disc
    // off the edge; an edge shared from outside; a corner taken; a clockwise outline; no area; notches meeting at a
    // corner part there.
    const struct {
        CMavVertexArray outline;
        Region holes;
        int regions, outlines;
        double area;
    } cases[] = {{sq, Region({rect(4, 4, 6, 6)}), 1, 2, 96}, {sq, Region({rect(8, 4, 12, 6)}), 1, 1, 96},
                 {sq, Region({rect(4, -1, 6, 11)}), 2, 1, 80}, {sq, Region({rect(2, 2, 5, 5), rect(4, 4, 7, 7)}), 1, 2, 83},
                 {sq, Region({rect(2, 2, 8, 8), rect(3, 3, 4, 4), rect(20, 0, 30, 5)}), 1, 2, 64},
                 {sq, Region({rect(-1, -1, 11, 11)}), 0, 0, 0}, {sq, Region({circle(10, 5, 2)}), 1, 1, 100 - 2 * kPi},
                 {sq, Region({rect(10, 0, 12, 10)}), 1, 1, 100}, {sq, Region({rect(5, 5, 10, 10)}), 1, 1, 75},
                 {cw, Region({rect(4, 4, 6, 6)}), 1, 2, 96}, {seg(0, 0, 5, 0), Region({rect(1, 1, 2, 2)}), 0, 0, 0},
                 {sq, Region({rect(3, -1, 5, 5), rect(5, 5, 7, 11)}), 2, 1, 80}};
    for (const auto& c : cases) {
        // Both forms: outline and holes apart, or as one region list.
        const std::string what = "case " + std::to_string(&c - cases);
        Region input = Region({c.outline});
        input.append(c.holes);
        for (const CMavArrayTempl<Region>& r : {MAV::g_vl_punch(c.outline, c.holes), MAV::g_vl_punch_reg(input)}) {
            ASSERT_EQ(r.len(), c.regions) << what;
            EXPECT_EQ(c.regions > 0 ? r[0].len() : 0, c.outlines) << what;
            EXPECT_NEAR(netArea(r), c.area, 1e-9) << what;
            expectWellFormed(r, what);
        }
    }
    // The notch is one outline of eight edges, with no leftover points on its straight runs.
    EXPECT_EQ(MAV::g_vl_punch(sq, Region({rect(8, 4, 12, 6)}))[0][0].len(), 8);

    EXPECT_TRUE(MAV::g_vl_punch_reg(Region()).isEmpty());
    CMavVertexArray nanSq = sq;
    nanSq[2].end.y = std::nan("");
    MAV::g_vl_punch(nanSq, Region({rect(8, 4, 12, 6)}));
}

TEST(RegionPunch, RandomHolesAgreeWithTheRegionTest)
{
    // Points away from every edge lie inside the punched result exactly when they lie inside the outline and
    // outside every hole of the input.
    std::mt19937 rng(4242u);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    for (int round = 0; round < 60; ++round) {
        CMavVertexArray outline = rng() % 2 ? rect(0, 0, 10, 10) : circle(5, 5, 5);
        Region holes;
        int n = 1 + static_cast<int>(rng() % 4);
        for (int k = 0; k < n; ++k) {
            const double x = u(rng) * 12 - 1, y = u(rng) * 12 - 1, s = 0.5 + u(rng) * 4;
            holes.append(rng() % 2 ? rect(x, y, x + s, y + s * (0.5 + u(rng))) : circle(x, y, s / 2));
        }
        Region input = Region({outline});
        input.append(holes);
        CMavArrayTempl<Region> r = MAV::g_vl_punch(outline, holes);
        expectWellFormed(r, "round " + std::to_string(round));
        for (int k = 0; k < 400; ++k) {
            CMavPoint3d p(u(rng) * 12 - 1, u(rng) * 12 - 1, 0);
            int want = MAV::g_vll_pt_inside(input, p);
            int got = 0;
            for (const Region& reg : r)
                got = std::max(got, MAV::g_vll_pt_inside(reg, p));
            if (want != 2 && got != 2) {
                EXPECT_EQ(got, want) << "round " << round << " point " << p.x << " " << p.y;
            }
        }
    }
}

TEST(PolylineClip, LargeRegionsUsedInTurnGiveTheirOwnResults)
{
    // Regions of many segments are prepared once and reused while the same region comes again; a changed
    // region must never be answered from the previous one.
    auto polygon = [](double cx, double r) {
        CMavArrayTempl<CMavPoint3d> pts;
        for (int i = 0; i < 200; ++i)
            pts.append(CMavPoint3d(cx + r * std::cos(2 * kPi * i / 200), r * std::sin(2 * kPi * i / 200), 0));
        return CMavVertexArray::fromPoints(pts, true);
    };
    Region a = Region({polygon(0, 5)});
    const Region b = Region({polygon(20, 5)});
    for (int round = 0; round < 3; ++round) {
        expectPieces(MAV::g_vl_punch_reg(seg(-30, 0, 30, 0), a, true), {{-5, 0, 5, 0}});
        expectPieces(MAV::g_vl_punch_reg(seg(-30, 0, 30, 0), b, true), {{15, 0, 25, 0}});
        EXPECT_EQ(MAV::g_vll_pt_inside(a, {0, 0, 0}), 1);
        EXPECT_EQ(MAV::g_vll_pt_inside(b, {0, 0, 0}), 0);
    }
    // The same list changed in place.
    a[0].move(CMavVector3d(100, 0, 0));
    expectInside(a, {{0, 0, 0}, {100, 0, 1}});
}
