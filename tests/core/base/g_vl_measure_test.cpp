// Dash pieces of polylines: placement along lines, corners and arcs, dots, degenerate patterns and the cap.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "base/g_vl.h"
#include "../geom_test_util.h"

using geomtest::kPi;

namespace {

CMavVertexArray line(double x0, double y0, double x1, double y1)
{
    CMavVertexArray vl;
    vl.append(CMavVertex({x0, y0, 0}, {x1, y1, 0}, 0.0));
    return vl;
}

// Length of a segment from its chord and bulge, independent of the code under test.
double segLen(const CMavVertex& v)
{
    double d = std::hypot(v.end.x - v.start.x, v.end.y - v.start.y);
    if (v.bulge == 0.0 || d == 0.0)
        return d;
    double b = std::fabs(v.bulge);
    return d / 4.0 * (1.0 / b + b) * 4.0 * std::atan(b);
}

double piecesLen(const CMavArrayTempl<CMavVertexArray>& pieces)
{
    double sum = 0.0;
    for (const CMavVertexArray& p : pieces)
        for (const CMavVertex& v : p)
            sum += segLen(v);
    return sum;
}

// Visible length of a pattern run over [0, total], by stepping through the pattern entries.
double expectedVisible(const std::vector<double>& pat, double total)
{
    double pos = 0.0, vis = 0.0;
    for (std::size_t k = 0; pos < total; k = (k + 1) % pat.size()) {
        double l = std::fabs(pat[k]);
        if (pat[k] > 0.0)
            vis += std::min(l, total - pos);
        pos += l;
    }
    return vis;
}

void expectPt(const CMavPoint3d& p, double x, double y, double tol = 1e-9)
{
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}

} // namespace

TEST(PolylineMeasure, DashesAlongALineAndRoundCorners)
{
    CMavArrayTempl<CMavVertexArray> p = MAV::g_vl_measure(line(0, 0, 10, 0), 1.0, CMavLineParm{1.0, -1.0});
    ASSERT_EQ(p.len(), 5);
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(p[i].len(), 1);
        expectPt(p[i][0].start, 2.0 * i, 0);
        expectPt(p[i][0].end, 2.0 * i + 1, 0);
    }
    // The scale argument and the pattern's own scale multiply.
    CMavLineParm scaled(CMavArrayTempl<double>{1.0, -1.0}, 0.5);
    p = MAV::g_vl_measure(line(0, 0, 10, 0), 4.0, scaled);
    ASSERT_EQ(p.len(), 3);
    expectPt(p[1][0].start, 4, 0);
    expectPt(p[2][0].end, 10, 0);

    // A dash running round a corner stays one piece of two segments.
    CMavVertexArray el = line(0, 0, 2, 0);
    el.append(CMavVertex({2, 0, 0}, {2, 2, 0}, 0.0));
    p = MAV::g_vl_measure(el, 1.0, CMavLineParm{3.0, -0.5});
    ASSERT_EQ(p.len(), 2);
    ASSERT_EQ(p[0].len(), 2);
    EXPECT_EQ(p[0][0], el[0]);
    expectPt(p[0][1].end, 2, 1);
    expectPt(p[1][0].start, 2, 1.5);
    expectPt(p[1][0].end, 2, 2);

    // No piece crosses a jump between continuous parts; the pattern goes on over it.
    CMavVertexArray jump = line(0, 0, 1, 0);
    jump.append(CMavVertex({5, 0, 0}, {6, 0, 0}, 0.0));
    p = MAV::g_vl_measure(jump, 1.0, CMavLineParm{1.5, -10.0});
    ASSERT_EQ(p.len(), 2);
    expectPt(p[0][0].end, 1, 0);
    expectPt(p[1][0].start, 5, 0);
    expectPt(p[1][0].end, 5.5, 0);
}

TEST(PolylineMeasure, DashesOnArcsAreSubArcs)
{
    CMavVertexArray c;
    c.append(CMavVertex({1, 0, 0}, {-1, 0, 0}, 1.0));
    c.append(CMavVertex({-1, 0, 0}, {1, 0, 0}, 1.0));
    CMavArrayTempl<CMavVertexArray> p = MAV::g_vl_measure(c, 1.0, CMavLineParm{kPi / 2.0, -kPi / 2.0});
    ASSERT_EQ(p.len(), 2);
    ASSERT_EQ(p[0].len(), 1);
    expectPt(p[0][0].start, 1, 0);
    expectPt(p[0][0].end, 0, 1);
    EXPECT_NEAR(p[0][0].bulge, std::tan(kPi / 8.0), 1e-12);
    expectPt(p[1][0].start, -1, 0);
    expectPt(p[1][0].end, 0, -1);
    // A dash over the joint of the two arcs: three quarters from 45 degrees on.
    p = MAV::g_vl_measure(c, 1.0, CMavLineParm{-kPi / 4.0, kPi, -kPi});
    ASSERT_EQ(p.len(), 1);
    ASSERT_EQ(p[0].len(), 2);
    expectPt(p[0][0].start, std::sqrt(0.5), std::sqrt(0.5));
    expectPt(p[0][0].end, -1, 0);
    expectPt(p[0][1].end, -std::sqrt(0.5), -std::sqrt(0.5));
    EXPECT_NEAR(p[0][0].bulge, std::tan(3 * kPi / 16.0), 1e-12);
    EXPECT_NEAR(piecesLen(p), kPi, 1e-12);
}

TEST(PolylineMeasure, DotsAndDegeneratePatterns)
{
    CMavVertexArray l = line(0, 0, 10, 0);
    CMavArrayTempl<CMavVertexArray> p = MAV::g_vl_measure(l, 1.0, CMavLineParm(0.0, -2.0));
    ASSERT_EQ(p.len(), 6); // 0, 2, ..., 10: the last dot sits on the end
    for (int i = 0; i < 6; ++i) {
        ASSERT_EQ(p[i].len(), 1);
        expectPt(p[i][0].start, 2.0 * i, 0);
        EXPECT_EQ(p[i][0].start, p[i][0].end);
    }
    // Dash, gap, dot, gap.
    p = MAV::g_vl_measure(l, 1.0, CMavLineParm{2.0, -1.0, 0.0, -1.0});
    ASSERT_EQ(p.len(), 5);
    expectPt(p[1][0].start, 3, 0);
    EXPECT_EQ(p[1][0].start, p[1][0].end);
    expectPt(p[2][0].start, 4, 0);
    expectPt(p[2][0].end, 6, 0);
    expectPt(p[4][0].start, 8, 0);
    expectPt(p[4][0].end, 10, 0);

    auto solid = [&](const CMavArrayTempl<CMavVertexArray>& r) { return r.len() == 1 && r[0] == l; };
    EXPECT_TRUE(solid(MAV::g_vl_measure(l, 1.0, CMavLineParm())));
    EXPECT_TRUE(solid(MAV::g_vl_measure(l, 1.0, CMavLineParm{0.0})));
    EXPECT_TRUE(solid(MAV::g_vl_measure(l, 1.0, CMavLineParm{3.0})));
    EXPECT_TRUE(solid(MAV::g_vl_measure(l, 0.0, CMavLineParm{1.0, -1.0})));
    EXPECT_TRUE(solid(MAV::g_vl_measure(l, 1.0, CMavLineParm{1.0, std::nan("")})));
    EXPECT_TRUE(solid(MAV::g_vl_measure(l, HUGE_VAL, CMavLineParm{1.0, -1.0})));
    EXPECT_TRUE(MAV::g_vl_measure(l, 1.0, CMavLineParm{-1.0}).isEmpty());
    EXPECT_TRUE(MAV::g_vl_measure(CMavVertexArray(), 1.0, CMavLineParm{1.0, -1.0}).isEmpty());
    // A negative scale measures like a positive one.
    EXPECT_EQ(MAV::g_vl_measure(l, -1.0, CMavLineParm{1.0, -1.0}).len(), 5);
}

TEST(PolylineMeasure, DensePatternsAndHostileInputStayBounded)
{
    // A period of a millionth of the length would give more pieces than the cap: drawn solid instead.
    CMavVertexArray l = line(0, 0, 1, 0);
    CMavArrayTempl<CMavVertexArray> p = MAV::g_vl_measure(l, 1.0, CMavLineParm{0.5e-6, -0.5e-6});
    ASSERT_EQ(p.len(), 1);
    EXPECT_EQ(p[0], l);
    p = MAV::g_vl_measure(l, 1.0, CMavLineParm(0.0, -1e-7));
    EXPECT_LE(p.len(), MAV::kMaxPieces);
    EXPECT_EQ(p.len(), 1);
    // Below the cap the pattern is applied in full.
    p = MAV::g_vl_measure(line(0, 0, 1000, 0), 1.0, CMavLineParm{0.1, -0.1});
    EXPECT_EQ(p.len(), 5000);
    EXPECT_NEAR(piecesLen(p), 500.0, 1e-6);

    // An enormous bulge makes a huge circle: too many dashes, drawn solid; an infinite one counts as straight.
    CMavVertexArray big;
    big.append(CMavVertex({0, 0, 0}, {1, 0, 0}, 1e300));
    EXPECT_EQ(MAV::g_vl_measure(big, 1.0, CMavLineParm{1.0, -1.0}).len(), 1);
    big[0].bulge = HUGE_VAL;
    EXPECT_EQ(MAV::g_vl_measure(big, 1.0, CMavLineParm{0.25, -0.25}).len(), 2);

    // Segments with coordinates that are not numbers, and zero-length segments, are passed over.
    CMavVertexArray bad = line(0, 0, 4, 0);
    bad.append(CMavVertex({4, 0, 0}, {4, 0, 0}, 5.0));
    bad.append(CMavVertex({4, 0, 0}, {std::nan(""), 1, 0}, 0.0));
    bad.append(CMavVertex({4, 0, 0}, {8, 0, 0}, 0.0));
    p = MAV::g_vl_measure(bad, 1.0, CMavLineParm{1.0, -1.0});
    EXPECT_EQ(p.len(), 4);
    EXPECT_NEAR(piecesLen(p), 4.0, 1e-12);
}

TEST(PolylineMeasure, RandomPolylinesNeverGainLength)
{
    std::mt19937 rng(20240611u);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (int round = 0; round < 200; ++round) {
        CMavVertexArray vl;
        CMavPoint3d at(u(rng) * 10, u(rng) * 10, 0);
        int n = 1 + static_cast<int>(rng() % 30);
        for (int i = 0; i < n; ++i) {
            CMavPoint3d next(at.x + u(rng) * 5, at.y + u(rng) * 5, 0);
            double bulge = rng() % 2 ? 0.0 : u(rng) * 3.0;
            vl.append(CMavVertex(at, next, bulge));
            at = next;
        }
        double total = 0.0;
        for (const CMavVertex& v : vl)
            total += segLen(v);
        std::vector<double> pat;
        int m = 1 + static_cast<int>(rng() % 5);
        for (int k = 0; k < m; ++k)
            pat.push_back(u(rng) * 2.0);
        pat.push_back(-0.05 - std::fabs(u(rng))); // at least one gap
        CMavArrayTempl<double> arr;
        for (double d : pat)
            arr.append(d);
        CMavArrayTempl<CMavVertexArray> p = MAV::g_vl_measure(vl, 1.0, CMavLineParm(arr));
        double got = piecesLen(p);
        EXPECT_LE(got, total * (1 + 1e-12) + 1e-12) << "round " << round;
        EXPECT_NEAR(got, expectedVisible(pat, total), 1e-9 * (1 + total)) << "round " << round;
        // Every piece is continuous.
        for (const CMavVertexArray& piece : p)
            for (int i = 1; i < piece.len(); ++i)
                EXPECT_LT(piece[i - 1].end.distanceTo(piece[i].start), 1e-9);
    }
}
