// Dash pieces of polylines: placement along lines, corners and arcs, dots, degenerate patterns and the cap.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "base/g_vl.h"
#include "../geom_test_util.h"

using namespace geomtest;

namespace {

using Pieces = CMavArrayTempl<CMavVertexArray>;

// Length of a segment from its chord and bulge, independent of the code under test.
double segLen(const CMavVertex& v)
{
    const double d = std::hypot(v.end.x - v.start.x, v.end.y - v.start.y), b = std::fabs(v.bulge);
    return b == 0.0 || d == 0.0 ? d : d / 4.0 * (1.0 / b + b) * 4.0 * std::atan(b);
}

double piecesLen(const Pieces& pieces)
{
    double sum = 0.0;
    for (const CMavVertexArray& p : pieces)
        for (const CMavVertex& v : p)
            sum += segLen(v);
    return sum;
}

// Each piece is one segment from {x0, y0} to {x1, y1}.
void expectDashes(const Pieces& p, std::initializer_list<std::array<double, 4>> ends)
{
    ASSERT_EQ(p.len(), static_cast<int>(ends.size()));
    int i = 0;
    for (const auto& e : ends) {
        ASSERT_EQ(p[i].len(), 1) << i;
        expectPoint(p[i][0].start, e[0], e[1], 0, 1e-9);
        expectPoint(p[i][0].end, e[2], e[3], 0, 1e-9);
        ++i;
    }
}

} // namespace

TEST(PolylineMeasure, DashesAlongLinesCornersAndArcs)
{
    // The scale argument and the pattern's own scale multiply; dots lie on the line, the last on its end.
    const CMavVertexArray l = seg(0, 0, 10, 0);
    expectDashes(MAV::g_vl_measure(l, 4.0, CMavLineParm(CMavArrayTempl<double>{1.0, -1.0}, 0.5)),
                 {{0, 0, 2, 0}, {4, 0, 6, 0}, {8, 0, 10, 0}});
    expectDashes(MAV::g_vl_measure(l, -1.0, CMavLineParm{2.0, -1.0, 0.0, -1.0}),
                 {{0, 0, 2, 0}, {3, 0, 3, 0}, {4, 0, 6, 0}, {7, 0, 7, 0}, {8, 0, 10, 0}});
    EXPECT_EQ(MAV::g_vl_measure(l, 1.0, CMavLineParm(0.0, -2.0))[5][0].start, CMavPoint3d(10, 0, 0));
    // A dash running round a corner stays one piece of two segments; no piece crosses a jump between continuous
    // parts, and the pattern goes on over it.
    const CMavVertexArray el = poly({{0, 0, 2, 0, 0}, {2, 0, 2, 2, 0}});
    Pieces p = MAV::g_vl_measure(el, 1.0, CMavLineParm{3.0, -0.5});
    ASSERT_TRUE(p.len() == 2 && p[0].len() == 2);
    EXPECT_EQ(p[0][0], el[0]);
    expectPoint(p[0][1].end, 2, 1);
    expectPoint(p[1][0].start, 2, 1.5);
    expectDashes(MAV::g_vl_measure(poly({{0, 0, 1, 0, 0}, {5, 0, 6, 0, 0}}), 1.0, CMavLineParm{1.5, -10.0}),
                 {{0, 0, 1, 0}, {5, 0, 5.5, 0}});
    // Dashes on arcs are sub-arcs; a dash over the joint of two arcs: three quarters from 45 degrees on.
    const CMavVertexArray c = circle(0, 0, 1);
    p = MAV::g_vl_measure(c, 1.0, CMavLineParm{kPi / 2.0, -kPi / 2.0});
    expectDashes(p, {{1, 0, 0, 1}, {-1, 0, 0, -1}});
    EXPECT_NEAR(p[0][0].bulge, std::tan(kPi / 8.0), 1e-12);
    p = MAV::g_vl_measure(c, 1.0, CMavLineParm{-kPi / 4.0, kPi, -kPi});
    ASSERT_TRUE(p.len() == 1 && p[0].len() == 2);
    expectPoint(p[0][0].start, std::sqrt(0.5), std::sqrt(0.5), 0, 1e-9);
    expectPoint(p[0][1].start, -1, 0, 0, 1e-9);
    expectPoint(p[0][1].end, -std::sqrt(0.5), -std::sqrt(0.5), 0, 1e-9);
    EXPECT_NEAR(p[0][0].bulge, std::tan(3 * kPi / 16.0), 1e-12);
}

TEST(PolylineMeasure, DegenerateDensePatternsAndHostileInputStayBounded)
{
    // Patterns without length, with an entry that is not a number, a zero or non-finite scale, or a period of a
    // millionth of the length (more pieces than the cap) draw the line solid; an all-gap pattern draws nothing.
    const CMavVertexArray l = seg(0, 0, 10, 0), unit = seg(0, 0, 1, 0);
    const struct {
        const CMavVertexArray& vl;
        double scale;
        CMavLineParm pattern;
    } solid[] = {{l, 1.0, CMavLineParm()}, {l, 1.0, CMavLineParm{0.0}}, {l, 1.0, CMavLineParm{3.0}},
                 {l, 0.0, CMavLineParm{1.0, -1.0}}, {l, 1.0, CMavLineParm{1.0, std::nan("")}},
                 {l, HUGE_VAL, CMavLineParm{1.0, -1.0}}, {unit, 1.0, CMavLineParm{0.5e-6, -0.5e-6}},
                 {unit, 1.0, CMavLineParm(0.0, -1e-7)}};
    for (const auto& s : solid) {
        const Pieces p = MAV::g_vl_measure(s.vl, s.scale, s.pattern);
        ASSERT_EQ(p.len(), 1) << s.pattern.len() << " " << s.scale;
        EXPECT_EQ(p[0], s.vl);
    }
    EXPECT_TRUE(MAV::g_vl_measure(l, 1.0, CMavLineParm{-1.0}).isEmpty());
    EXPECT_TRUE(MAV::g_vl_measure(CMavVertexArray(), 1.0, CMavLineParm{1.0, -1.0}).isEmpty());
    // Below the cap the pattern is applied in full.
    const Pieces many = MAV::g_vl_measure(seg(0, 0, 1000, 0), 1.0, CMavLineParm{0.1, -0.1});
    EXPECT_EQ(many.len(), 5000);
    EXPECT_NEAR(piecesLen(many), 500.0, 1e-6);

    // An enormous bulge makes a huge circle: too many dashes, drawn solid; an infinite one counts as straight.
    EXPECT_EQ(MAV::g_vl_measure(poly({{0, 0, 1, 0, 1e300}}), 1.0, CMavLineParm{1.0, -1.0}).len(), 1);
    EXPECT_EQ(MAV::g_vl_measure(poly({{0, 0, 1, 0, HUGE_VAL}}), 1.0, CMavLineParm{0.25, -0.25}).len(), 2);
    // Segments with coordinates that are not numbers, and zero-length segments, are passed over.
    const CMavVertexArray bad = poly({{0, 0, 4, 0, 0}, {4, 0, 4, 0, 5.0}, {4, 0, std::nan(""), 1, 0}, {4, 0, 8, 0, 0}});
    const Pieces p = MAV::g_vl_measure(bad, 1.0, CMavLineParm{1.0, -1.0});
    EXPECT_EQ(p.len(), 4);
    EXPECT_NEAR(piecesLen(p), 4.0, 1e-12);
}

TEST(PolylineMeasure, RandomPolylinesShowTheVisiblePartOfThePattern)
{
    std::mt19937 rng(20240611u);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (int round = 0; round < 200; ++round) {
        CMavVertexArray vl;
        CMavPoint3d at(u(rng) * 10, u(rng) * 10, 0);
        double total = 0.0;
        for (int i = static_cast<int>(rng() % 30); i >= 0; --i) {
            const CMavPoint3d next(at.x + u(rng) * 5, at.y + u(rng) * 5, 0);
            vl.append(CMavVertex(at, next, rng() % 2 ? 0.0 : u(rng) * 3.0));
            total += segLen(vl[-1]);
            at = next;
        }
        std::vector<double> pat;
        for (int k = static_cast<int>(rng() % 5); k >= 0; --k)
            pat.push_back(u(rng) * 2.0);
        pat.push_back(-0.05 - std::fabs(u(rng))); // at least one gap
        CMavArrayTempl<double> arr;
        for (double d : pat)
            arr.append(d);
        // The visible length, by stepping through the pattern entries over [0, total].
        double pos = 0.0, visible = 0.0;
        for (std::size_t k = 0; pos < total; k = (k + 1) % pat.size()) {
            if (pat[k] > 0.0)
                visible += std::min(pat[k], total - pos);
            pos += std::fabs(pat[k]);
        }
        const Pieces p = MAV::g_vl_measure(vl, 1.0, CMavLineParm(arr));
        EXPECT_NEAR(piecesLen(p), visible, 1e-9 * (1 + total)) << "round " << round;
        for (const CMavVertexArray& piece : p) // every piece is continuous
            for (int i = 1; i < piece.len(); ++i)
                EXPECT_LT(piece[i - 1].end.distanceTo(piece[i].start), 1e-9);
    }
}
