// Dash pieces of polylines (running, centred, fitted) and polylines with arcs as chords.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "../geom_test_util.h"
#include "base/CMavLineParm.h"
#include "base/g_vl.h"
#include "geometry/measure.h"

using geomtest::poly;

namespace
{

using Dashes = CMavArrayTempl<double>;

} // namespace

// Fitted (mode 2) each segment on its own: 5 is two periods of 2.5, 3 one of 3, the upright starts with a dash.
// Running (mode 0) the pattern goes on round the corner unstretched (dashes at 0, 2, 4, 6), each continuous part
// starts it anew. On a half circle of length 31.4 running gives 16 dashes; fitted, 15 periods on its chords.
TEST(DashMeasure, CornersRestartFittedPatternsButNotRunningOnesArcsGoOnTheirChords)
{
    const CMavVertexArray corner = poly({{0, 0, 5, 0, 0}, {5, 0, 5, 3, 0}});
    CMavVertexArray fitted = corner, running = corner;
    ASSERT_TRUE(mav_gdx_image_vl_measure(fitted, Dashes{1, -1}, 2) && mav_gdx_image_vl_measure(running, {1, -1}, 0));
    EXPECT_TRUE(fitted[fitted.len() - 1].start.isEqualTo(CMavPoint3d(5, 0, 0), 1e-9));
    EXPECT_NEAR(fitted.length(), 3.0, 1e-9);
    EXPECT_NEAR(running.length(), 4.0, 1e-9);
    CMavVertexArray parts = poly({{0, 0, 1.5, 0, 0}, {0, 1, 1.5, 1, 0}});
    ASSERT_TRUE(mav_gdx_image_vl_measure(parts, Dashes{1, -1}, 0));
    EXPECT_TRUE(parts.len() == 2 && parts[1].start.isEqualTo(CMavPoint3d(0, 1, 0)) &&
                parts[1].end.isEqualTo(CMavPoint3d(1, 1, 0)));

    const CMavVertexArray arc = poly({{10, 0, -10, 0, 1}});
    CMavVertexArray a = arc;
    ASSERT_TRUE(mav_gdx_image_vl_measure(a, Dashes{1, -1}, 0));
    EXPECT_NEAR(a.length(), 16.0, 1e-6);
    a = arc;
    ASSERT_TRUE(mav_gdx_image_vl_measure(a, Dashes{1, -1}, 2));
    for (const CMavVertex& v : a)
        EXPECT_TRUE(v.bulge == 0.0 && std::fabs(v.start.distanceTo(CMavPoint3d::kOrigin) - 10.0) < 0.1 + 1e-9);
    EXPECT_NEAR(a.length(), 15.0, 1e-6);
}

// Bad arrays change nothing; far too many pieces wanted: the call stays within its cap and draws solid.
TEST(DashMeasure, BadArraysAndTheCap)
{
    const CMavVertexArray before = poly({{0, 0, 4, 0, 0}});
    CMavVertexArray b = before;
    for (const Dashes& bad : {Dashes{}, Dashes{1}, Dashes{1, std::numeric_limits<double>::quiet_NaN()}})
        EXPECT_FALSE(mav_gdx_image_vl_measure(b, bad, 1));
    EXPECT_TRUE(b == before);
    CMavVertexArray e;
    EXPECT_TRUE(mav_gdx_image_vl_measure(e, Dashes{1, -1}, 1) && e.len() == 0);

    // 5e10 pieces wanted (10,000 segments, period 2e-7): the call stays within its cap and draws solid.
    CMavVertexArray zig;
    for (int i = 0; i < 10000; ++i)
        zig.append(CMavPoint3d(i, i % 2, 0), CMavPoint3d(i + 1, (i + 1) % 2, 0));
    for (int mode : {0, 1, 2}) {
        CMavVertexArray z = zig;
        ASSERT_TRUE(mav_gdx_image_vl_measure(z, Dashes{1e-7, -1e-7}, mode));
        EXPECT_LE(z.len(), kMavMeasureMaxPieces + 10000);
        EXPECT_NEAR(z.length(), zig.length(), 1e-6 * zig.length()) << mode;
    }
}

// Arcs become the fewest chords within 0.01 (length below 4) or 0.05, on the circle and running its way round.
TEST(PolylineSplit, ArcsBecomeTheFewestChordsWithinALengthDependentTolerance)
{
    const CMavVertexArray straight = poly({{0, 0, 3, 4, 0}, {3, 4, 3, 9, 0}});
    EXPECT_TRUE(mav_gdx_image_vl_split(straight) == straight);
    for (double r : {1.0, 5.0}) { // a short arc at 0.01, a long one at 0.05
        const CMavVertexArray s = mav_gdx_image_vl_split(poly({{r, 0, -r, 0, 1}}));
        const double tol = r * geomtest::kPi < 4.0 ? 0.01 : 0.05;
        const int n = s.len();
        EXPECT_LE(r * (1 - std::cos(geomtest::kPi / n / 2)), tol + 1e-12) << r;
        EXPECT_GT(r * (1 - std::cos(geomtest::kPi / (n - 1) / 2)), tol) << r;
        EXPECT_TRUE(s.isContinuous() && s[0].start.isEqualTo({r, 0, 0}) && s[n - 1].end.isEqualTo({-r, 0, 0}));
        EXPECT_TRUE(s[n / 2].bulge == 0.0 && std::fabs(s[n / 2].end.distanceTo(CMavPoint3d::kOrigin) - r) < 1e-9);
    }
}

// Seeded random segments and patterns: the pieces of a running (mode 0), centred (1) or fitted (2) straight
// segment are those the general dash measure gives in the plane with the pattern prepared by hand: running, as it
// is; centred, it is turned to start
// with a dash longer than 0.21 followed by a gap, that dash halved at both ends; fitted, the gaps grow so that
// whole periods fill the segment. A segment not longer than a period stays whole.
TEST(DashMeasure, StraightSegmentsMatchTheGeneralPolylineMeasure)
{
    geomtest::Lcg rnd(777);
    for (int round = 0; round < 600; ++round) {
        Dashes d;
        const int n = 2 + round % 4, mode = round % 3;
        for (int i = 0; i < n; ++i)
            d.append(i % 2 == 0 ? rnd(0.05, 1.5) : -rnd(0.05, 1.0));
        if (round % 7 == 0)
            d[0] = -d[0]; // starts with a gap
        const CMavPoint3d a(rnd(-50, 50), rnd(-50, 50), rnd(-5, 5));
        const double len = rnd(0.1, 30), ang = rnd(0, 6.3);
        CMavVertexArray vl;
        vl.append(a, CMavPoint3d(a.x + len * std::cos(ang), a.y + len * std::sin(ang), rnd(-5, 5)));
        CMavVertexArray mine = vl;
        ASSERT_TRUE(mav_gdx_image_vl_measure(mine, d, mode));

        Dashes fitted = d;
        for (int turn = 0; mode == 1 && turn < n; ++turn) {
            if (fitted[0] > 0.21 && fitted[1] < 0.0) {
                fitted[0] *= 0.5;
                fitted.append(fitted[0]);
                break;
            }
            fitted.append(fitted[0]);
            fitted.removeAt(0);
        }
        const double l3 = vl[0].start.distanceTo(vl[0].end);
        double period = 0.0;
        int gaps = 0;
        for (double x : d) {
            period += std::fabs(x);
            gaps += x < 0.0;
        }
        CMavVertexArray ref;
        if (mode != 0 && !(l3 - period > 0.0)) {
            ref = vl;
        } else {
            const double k = std::trunc(l3 / period), grow = mode ? (l3 - k * period) / (gaps * k) : 0.0;
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
        for (int i = 0; i < mine.len(); ++i)
            EXPECT_TRUE(mine[i].start.isEqualTo(ref[i].start, 1e-9) && mine[i].end.isEqualTo(ref[i].end, 1e-9))
                << "round " << round << " piece " << i;
    }
}
