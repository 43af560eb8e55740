// Dash pieces of polylines (fitted, centred, run along parts), polylines with arcs as chords.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cmath>
#include <limits>
#include <vector>

#include "geometry/measure.h"
#include "base/CMavLineParm.h"
#include "base/g_vl.h"

namespace {

using Dashes = CMavArrayTempl<double>;

CMavVertexArray segmentX(double length, double y = 0.0)
{
    CMavVertexArray vl;
    vl.append(CMavPoint3d(0, y, 0), CMavPoint3d(length, y, 0));
    return vl;
}

// The visible stretches along the x axis: touching pieces merged.
std::vector<std::pair<double, double>> stretches(const CMavVertexArray& vl)
{
    std::vector<std::pair<double, double>> out;
    for (const CMavVertex& v : vl) {
        if (!out.empty() && std::fabs(out.back().second - v.start.x) < 1e-9)
            out.back().second = v.end.x;
        else
            out.emplace_back(v.start.x, v.end.x);
    }
    return out;
}

double drawnLength(const CMavVertexArray& vl)
{
    double sum = 0.0;
    for (const CMavVertex& v : vl)
        sum += v.bulgLen();
    return sum;
}

void expectStretches(const CMavVertexArray& vl, const std::vector<std::pair<double, double>>& expected)
{
    const auto got = stretches(vl);
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i].first, expected[i].first, 1e-9) << i;
        EXPECT_NEAR(got[i].second, expected[i].second, 1e-9) << i;
    }
}

} // namespace

TEST(DashMeasure, CentringStartsAndEndsASegmentWithHalfADash)
{
    // {0.5, -0.25} becomes {0.25, -0.25, 0.25}: period 0.75, four whole periods on a segment of 3.
    CMavVertexArray a = segmentX(3.0);
    ASSERT_TRUE(mav_gdx_image_vl_measure(a, Dashes{0.5, -0.25}, 1));
    expectStretches(a, {{0, 0.25}, {0.5, 1.0}, {1.25, 1.75}, {2.0, 2.5}, {2.75, 3.0}});
    // {-0.25, 0.5} is turned once to {0.5, -0.25} and gives the same.
    CMavVertexArray b = segmentX(3.0);
    ASSERT_TRUE(mav_gdx_image_vl_measure(b, Dashes{-0.25, 0.5}, 1));
    EXPECT_TRUE(a == b);
    // {0.125, -0.125}: no dash longer than 0.21, used as given.
    CMavVertexArray c = segmentX(3.0);
    ASSERT_TRUE(mav_gdx_image_vl_measure(c, Dashes{0.125, -0.125}, 1));
    const auto sc = stretches(c);
    ASSERT_EQ(sc.size(), 12u);
    EXPECT_NEAR(sc[0].second, 0.125, 1e-9);
    EXPECT_NEAR(sc[11].first, 2.75, 1e-9);
    CMavVertexArray c2 = segmentX(1.0);
    ASSERT_TRUE(mav_gdx_image_vl_measure(c2, Dashes{-0.125, 0.125}, 1));
    EXPECT_NEAR(stretches(c2)[0].first, 0.125, 1e-9); // not turned: starts with the gap
    // Without centring (mode 2) the same pattern starts with a whole dash.
    CMavVertexArray d = segmentX(3.0);
    ASSERT_TRUE(mav_gdx_image_vl_measure(d, Dashes{0.5, -0.25}, 2));
    expectStretches(d, {{0, 0.5}, {0.75, 1.25}, {1.5, 2.0}, {2.25, 2.75}});
}

TEST(DashMeasure, GapsStretchSoThatWholePeriodsFillEachSegment)
{
    // Length 10 with {1, -1}: five whole periods, nothing to stretch.
    CMavVertexArray a = segmentX(10.0);
    ASSERT_TRUE(mav_gdx_image_vl_measure(a, Dashes{1, -1}, 2));
    expectStretches(a, {{0, 1}, {2, 3}, {4, 5}, {6, 7}, {8, 9}});
    // Length 11: still five periods, the remaining 1 shared by the five gaps: each grows by 0.2.
    CMavVertexArray b = segmentX(11.0);
    ASSERT_TRUE(mav_gdx_image_vl_measure(b, Dashes{1, -1}, 2));
    expectStretches(b, {{0, 1}, {2.2, 3.2}, {4.4, 5.4}, {6.6, 7.6}, {8.8, 9.8}});
    // Centred: {0.5, -1, 0.5} on 11, the gap grows by 0.2 and the segment ends with its half dash.
    CMavVertexArray c = segmentX(11.0);
    ASSERT_TRUE(mav_gdx_image_vl_measure(c, Dashes{1, -1}, 1));
    expectStretches(c, {{0, 0.5}, {1.7, 2.7}, {3.9, 4.9}, {6.1, 7.1}, {8.3, 9.3}, {10.5, 11}});
    // Each segment is fitted on its own: a corner restarts the pattern.
    CMavVertexArray l;
    l.append(CMavPoint3d(0, 0, 0), CMavPoint3d(5, 0, 0));
    l.append(CMavPoint3d(5, 0, 0), CMavPoint3d(5, 3, 0));
    ASSERT_TRUE(mav_gdx_image_vl_measure(l, Dashes{1, -1}, 2));
    ASSERT_GE(l.len(), 3);
    EXPECT_TRUE(l[l.len() - 1].start.isEqualTo(CMavPoint3d(5, 0, 0), 1e-9)); // the upright starts with a dash
    EXPECT_NEAR(drawnLength(l), 2.0 + 1.0, 1e-9); // 5: two periods of 2.5; 3: one period of 3
    // A segment not longer than one period is kept whole, not dashed.
    CMavVertexArray s = segmentX(2.0);
    ASSERT_TRUE(mav_gdx_image_vl_measure(s, Dashes{1, -1}, 2));
    EXPECT_TRUE(s == segmentX(2.0));
}

TEST(DashMeasure, RunningAlongWholePartsDoesNotFit)
{
    // Mode 0: the pattern runs on round the corner, unstretched.
    CMavVertexArray l;
    l.append(CMavPoint3d(0, 0, 0), CMavPoint3d(5, 0, 0));
    l.append(CMavPoint3d(5, 0, 0), CMavPoint3d(5, 3, 0));
    ASSERT_TRUE(mav_gdx_image_vl_measure(l, Dashes{1, -1}, 0));
    EXPECT_NEAR(drawnLength(l), 4.0, 1e-9); // dashes at 0, 2, 4 (round the corner), 6
    // Each continuous part starts the pattern anew, and z is dropped.
    CMavVertexArray parts;
    parts.append(CMavPoint3d(0, 0, 7), CMavPoint3d(1.5, 0, 7));
    parts.append(CMavPoint3d(0, 1, 7), CMavPoint3d(1.5, 1, 7));
    ASSERT_TRUE(mav_gdx_image_vl_measure(parts, Dashes{1, -1}, 0));
    ASSERT_EQ(parts.len(), 2);
    EXPECT_TRUE(parts[1].start.isEqualTo(CMavPoint3d(0, 1, 0)));
    EXPECT_TRUE(parts[1].end.isEqualTo(CMavPoint3d(1, 1, 0)));
}

TEST(DashMeasure, DotsAreShortDashesThatCountOneInThePeriod)
{
    const double dot = mav_gdx_dot_length();
    ASSERT_GT(dot, 0.0);
    // {0, -1}: period 2 (the dot counts 1.0 whatever its length): five periods on 10, no stretching; a dot of the
    // dot length then a gap of 1.
    CMavVertexArray a = segmentX(10.0);
    ASSERT_TRUE(mav_gdx_image_vl_measure(a, Dashes{0, -1}, 2));
    const auto s = stretches(a);
    ASSERT_GE(s.size(), 5u);
    EXPECT_NEAR(s[0].second - s[0].first, dot, 1e-9);
    EXPECT_NEAR(s[1].first, dot + 1.0, 1e-9);
}

TEST(DashMeasure, ArcsAreDashedAlongTheirChordsAndBadArraysChangeNothing)
{
    CMavVertexArray arc;
    arc.append(CMavPoint3d(10, 0, 0), CMavPoint3d(-10, 0, 0), 1.0); // half circle of radius 10
    CMavVertexArray a = arc;
    ASSERT_TRUE(mav_gdx_image_vl_measure(a, Dashes{1, -1}, 2));
    for (const CMavVertex& v : a) {
        EXPECT_EQ(v.bulge, 0.0);
        EXPECT_NEAR(v.start.distanceTo(CMavPoint3d::kOrigin), 10.0, 0.1 + 1e-9);
    }
    // Fitted on the arc's length (31.4: 15 periods), measured on its chords: 15 dashes of 1.
    EXPECT_NEAR(drawnLength(a), 15.0, 1e-6);

    const CMavVertexArray before = segmentX(4.0);
    CMavVertexArray b = before;
    EXPECT_FALSE(mav_gdx_image_vl_measure(b, Dashes{}, 1));
    EXPECT_FALSE(mav_gdx_image_vl_measure(b, Dashes{1}, 1));
    EXPECT_FALSE(mav_gdx_image_vl_measure(b, Dashes{1, std::numeric_limits<double>::quiet_NaN()}, 1));
    EXPECT_TRUE(b == before);
    // An empty polyline stays empty.
    CMavVertexArray e;
    EXPECT_TRUE(mav_gdx_image_vl_measure(e, Dashes{1, -1}, 1));
    EXPECT_EQ(e.len(), 0);
}

TEST(DashMeasure, PatternsFarFinerThanThePolylineAreCapped)
{
    // 10,000 segments of length 1 with a period of 2e-7: 5e10 pieces wanted; the call stays within its cap.
    CMavVertexArray zig;
    for (int i = 0; i < 10000; ++i)
        zig.append(CMavPoint3d(i, i % 2, 0), CMavPoint3d(i + 1, (i + 1) % 2, 0));
    const auto t0 = std::chrono::steady_clock::now();
    for (int mode : {0, 1, 2}) {
        CMavVertexArray z = zig;
        ASSERT_TRUE(mav_gdx_image_vl_measure(z, Dashes{1e-7, -1e-7}, mode));
        EXPECT_LE(z.len(), kMavMeasureMaxPieces + 10000);
        EXPECT_NEAR(z.length(), zig.length(), 1e-6 * zig.length()) << mode; // drawn solid
    }
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 20.0);
}

TEST(PolylineSplit, ArcsBecomeChordsAtALengthDependentTolerance)
{
    CMavVertexArray straight;
    straight.append(CMavPoint3d(0, 0, 1), CMavPoint3d(3, 4, 1));
    straight.append(CMavPoint3d(3, 4, 1), CMavPoint3d(3, 9, 2));
    EXPECT_TRUE(mav_gdx_image_vl_split(straight) == straight);

    // A short arc (length < 4) at 0.01, a long one at 0.05.
    for (double r : {1.0, 5.0}) {
        CMavVertexArray arc;
        arc.append(CMavPoint3d(r, 0, 0), CMavPoint3d(-r, 0, 0), 1.0);
        const CMavVertexArray s = mav_gdx_image_vl_split(arc);
        const double tol = r * 3.14159265358979 < 4.0 ? 0.01 : 0.05;
        // The fewest equal chords within the tolerance: one chord fewer would leave it.
        const int n = s.len();
        const double step = 3.14159265358979 / n, fewer = 3.14159265358979 / (n - 1);
        EXPECT_LE(r * (1 - std::cos(step / 2)), tol + 1e-12) << r;
        EXPECT_GT(r * (1 - std::cos(fewer / 2)), tol) << r;
        EXPECT_TRUE(s.isContinuous());
        EXPECT_TRUE(s[0].start.isEqualTo(CMavPoint3d(r, 0, 0)));
        EXPECT_TRUE(s[n - 1].end.isEqualTo(CMavPoint3d(-r, 0, 0)));
        for (const CMavVertex& v : s) {
            EXPECT_EQ(v.bulge, 0.0);
            EXPECT_NEAR(v.end.distanceTo(CMavPoint3d::kOrigin), r, 1e-9);
            EXPECT_GE(v.end.y, -1e-9); // counter-clockwise from (r, 0) to (-r, 0) runs above the axis
        }
    }
}

TEST(DashMeasure, StraightSegmentsMatchTheGeneralPolylineMeasure)
{
    // Seeded random segments and patterns: the pieces of a fitted straight segment are those the general dash
    // measure gives for the same segment with the pattern fitted by hand (gaps grown so whole periods fill it).
    std::uint32_t seed = 777;
    auto rnd = [&seed](double lo, double hi) {
        seed = seed * 1664525u + 1013904223u;
        return lo + (hi - lo) * ((seed >> 8) / 16777216.0);
    };
    for (int round = 0; round < 300; ++round) {
        Dashes d;
        const int n = 2 + round % 4;
        for (int i = 0; i < n; ++i)
            d.append(i % 2 == 0 ? rnd(0.05, 1.5) : -rnd(0.05, 1.0));
        if (round % 7 == 0)
            d[0] = -d[0]; // starts with a gap
        const CMavPoint3d a(rnd(-50, 50), rnd(-50, 50), rnd(-5, 5));
        const double len = rnd(0.1, 30), ang = rnd(0, 6.3);
        const CMavPoint3d b(a.x + len * std::cos(ang), a.y + len * std::sin(ang), rnd(-5, 5));
        CMavVertexArray vl;
        vl.append(a, b);
        const double l3 = a.distanceTo(b);

        CMavVertexArray mine = vl;
        ASSERT_TRUE(mav_gdx_image_vl_measure(mine, d, 2));

        double period = 0.0;
        int gaps = 0;
        for (double x : d) {
            period += std::fabs(x);
            gaps += x < 0.0;
        }
        CMavVertexArray ref;
        if (!(l3 - period > 0.0)) {
            ref = vl;
        } else {
            const double k = std::trunc(l3 / period), grow = (l3 - k * period) / (gaps * k);
            Dashes fitted = d;
            for (double& x : fitted)
                if (x < 0.0)
                    x -= grow;
            CMavVertexArray flat;
            flat.append(MAV::g_vx_xy(vl[0]));
            for (const CMavVertexArray& piece : MAV::g_vl_measure(flat, 1.0, CMavLineParm(fitted)))
                for (const CMavVertex& v : piece)
                    ref.append(v);
        }
        ASSERT_EQ(mine.len(), ref.len()) << "round " << round;
        for (int i = 0; i < mine.len(); ++i) {
            EXPECT_TRUE(mine[i].start.isEqualTo(ref[i].start, 1e-9)) << "round " << round << " piece " << i;
            EXPECT_TRUE(mine[i].end.isEqualTo(ref[i].end, 1e-9)) << "round " << round << " piece " << i;
        }
    }
}
