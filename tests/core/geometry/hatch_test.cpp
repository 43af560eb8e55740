// Region hatching: lines against a plain clipper, dashes and dots, parity, caps, legibility, simple hatches.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "../geom_test_util.h"
#include "base/g_vl.h"
#include "data/patterns.h"
#include "geometry/hatch.h"

using geomtest::kPi;
using geomtest::poly;
using geomtest::rect;

namespace
{

using Regions = CMavArrayTempl<CMavVertexArray>;
const double kNan = std::numeric_limits<double>::quiet_NaN();
const CMavMatrix3d kId = CMavMatrix3d::kIdentity;

Regions square10()
{
    return Regions{rect(0, 0, 10, 10)};
}
MavPatternLines lines(std::initializer_list<CMavArrayTempl<double>> l)
{
    return MavPatternLines(l);
}

Regions hatch(const Regions& r, const MavPatternLines& p, double angle = 0.0, double scale = 1.0,
              const CMavString& name = L"TEST", double dot = 0.2, const CMavMatrix3d& place = kId)
{
    return mav_gdx_hatch_pattern(r, place, name, angle, scale, p, dot);
}

int pieceCount(const Regions& h)
{
    int n = 0;
    for (const CMavVertexArray& vl : h)
        n += vl.len();
    return n;
}

CMavVertexArray closed(std::initializer_list<CMavPoint3d> pts)
{
    return CMavVertexArray::fromPoints(CMavArrayTempl<CMavPoint3d>(pts), true);
}

} // namespace

// Seeded random regions (a star of lines and arcs with two holes): every solid line equals the same line clipped
// to the region by the polyline clipper.
TEST(RegionHatch, AgreesWithClippingEachLineOnRandomRegions)
{
    geomtest::Lcg rnd(12345);
    for (int round = 0; round < 12; ++round) {
        const int n = 24;
        CMavArrayTempl<CMavPoint3d> pts;
        for (int i = 0; i < n; ++i) {
            const double a = 2 * kPi * i / n, r = rnd(6, 10);
            pts.append(CMavPoint3d(r * std::cos(a), r * std::sin(a), 0));
        }
        CMavVertexArray outer;
        for (int i = 0; i < n; ++i)
            outer.append(pts[i], pts[(i + 1) % n], i % 3 == 0 ? rnd(-0.3, 0.3) : 0.0);
        const Regions r{outer, rect(-2, -2, -0.5, 1), geomtest::circle(2.5, 0, 1.5)};
        const double angleDeg = rnd(0, 180), dy = rnd(0.15, 0.6), ox = rnd(-1, 1), oy = rnd(-1, 1);
        const double hatchAngle = rnd(-1, 1);
        const auto h = hatch(r, lines({{angleDeg, ox, oy, 0, dy}}), hatchAngle);
        const double phi = angleDeg * kPi / 180 + hatchAngle;
        const CMavVector3d dir(std::cos(phi), std::sin(phi), 0), nrm(-std::sin(phi), std::cos(phi), 0);
        const CMavMatrix3d turn = CMavMatrix3d::rotation(hatchAngle, CMavVector3d::kZAxis);
        const double o0 = (turn * CMavPoint3d(ox, oy, 0)).asVector().dot(nrm); // the origin turns too
        int matched = 0;
        for (int k = static_cast<int>(std::floor(-11 / dy)); k <= static_cast<int>(std::ceil(11 / dy)); ++k) {
            const double off = o0 + k * dy;
            const CMavPoint3d c = CMavPoint3d::kOrigin + nrm * off;
            CMavVertexArray line;
            line.append(c - dir * 30.0, c + dir * 30.0);
            double ref = 0.0;
            for (const CMavVertexArray& piece : MAV::g_vl_punch_reg(line, r, true))
                ref += piece.length();
            if (ref < 1e-9)
                continue;
            ASSERT_LT(matched, h.len()) << "round " << round << " line " << k;
            const CMavVertexArray& mine = h[matched++];
            EXPECT_NEAR(mine[0].start.asVector().dot(nrm), off, 1e-9) << "round " << round << " line " << k;
            double len = 0.0;
            for (const CMavVertex& v : mine)
                len += (v.end - v.start).dot(dir); // along the line, forwards
            EXPECT_NEAR(len, ref, 1e-7) << "round " << round << " line " << k;
        }
        EXPECT_EQ(matched, h.len()) << "round " << round;
        EXPECT_GT(matched, 20);
    }
}

// Where the dashes of a line begin: the pattern runs from the base line's start, half its length back from the
// origin, that half length being (trunc(diagonal / period) + 1) periods times 20 (200 for "GRAVEL" below scale 1,
// 150 otherwise), a dot counting 1.0 in the period though drawn with the dot length; lines k shift by k * dx.
TEST(RegionHatch, DashesAndDotsStartWhereThePatternsBaseLineSaysSo)
{
    const struct {
        CMavArrayTempl<double> line;
        const wchar_t* name;
        double scale, dot;
        int lines, index;
        double y, x0, x1, x2, x3; // the first two pieces of line `index`
    } cases[] = {
        {{0, 0, 0, 0, 1, 2, -1}, L"X", 1, 0.2, 10, 0, 0, 0, 2, 3, 5},
        {{0, 0, 0, 0, 1, 2, -1}, L"X", 1, 0.2, 10, 7, 7, 0, 2, 3, 5},
        {{0, 0, 0, 1, 1, 2, -1}, L"X", 1, 0.2, 10, 1, 1, 1, 3, 4, 6},  // dx 1: line k starts at k
        {{0, 0, 0, 1, 1, 2, -1}, L"X", 1, 0.2, 10, 2, 2, 0, 1, 2, 4},  // the dash [-1, 1] cut at the side
        {{0, 0, 0, 1, -1, 2, -1}, L"X", 1, 0.2, 10, 1, 1, 0, 1, 2, 4}, // negative dy: line k at -k * dy
        {{0, 0.5, 0.25, 0, 1, 2, -1}, L"X", 1, 0.2, 10, 0, 0.25, 0.5, 2.5, 3.5, 5.5},
        {{0, 0, 5, 0, 100}, L"X", 1, 0.2, 1, 0, 5, 0, 10, 0, 0},   // room for one line only
        {{0, 0, 0, 0, 1, 0}, L"X", 1, 0.0, 10, 3, 3, 0, 10, 0, 0}, // dots of no length: solid
        {{0, 0, 0, 0, 1, 0, -1}, L"X", 1, 0.0, 10, 3, 3, 0, 0, 1, 1}, // a dot of no length on the side counts
        {{0, 0, 0, 0, 1, 2, 0, -1}, L"GRAVEL", 0.5, 0.2, 20, 1, 0.5, 0.5, 1.5, 1.5, 1.7},
        {{0, 0, 0, 0, 1, 2, 0, -1}, L"ANSI31", 0.5, 0.2, 20, 1, 0.5, 0.0, 0.2, 0.2, 0.4},
        {{0, 0, 0, 0, 1, 2, 0, -1}, L"GRAVEL", 1.0, 0.3, 10, 1, 1.0, 0.0, 1.1, 1.1, 1.4},
        {{0, 0, 0, 0, 1, 2, 0, -1}, L"gravel", 1.0, 0.3, 10, 1, 1.0, 0.1, 2.1, 2.1, 2.4},
    };
    for (const auto& c : cases) {
        const int at = static_cast<int>(&c - cases);
        const auto h = hatch(square10(), lines({c.line}), 0.0, c.scale, c.name, c.dot);
        ASSERT_EQ(h.len(), c.lines) << at;
        const CMavVertexArray& vl = h[c.index];
        EXPECT_NEAR(vl[0].start.y, c.y, 1e-9) << at;
        EXPECT_NEAR(vl[0].start.x, c.x0, 1e-9) << at;
        EXPECT_NEAR(vl[0].end.x, c.x1, 1e-9) << at;
        ASSERT_EQ(vl.len() > 1, c.x3 > 0) << at;
        if (vl.len() > 1) {
            EXPECT_NEAR(vl[1].start.x, c.x2, 1e-9) << at;
            EXPECT_NEAR(vl[1].end.x, c.x3, 1e-9) << at;
        }
        // Region, pattern line and origin turned together turn the pieces (dotted rows: too far out for 1e-9).
        const CMavMatrix3d turn = CMavMatrix3d::rotation(0.6, CMavVector3d::kZAxis);
        const CMavPoint3d o = turn * CMavPoint3d(c.line[1], c.line[2], 0);
        CMavArrayTempl<double> turned = c.line;
        turned[0] += 0.6 * 180 / kPi;
        turned[1] = o.x;
        turned[2] = o.y;
        const Regions inner{rect(0.1, 0.1, 9.9, 9.9)}; // no line along an edge, where rounding decides
        const auto h2 = hatch(inner, lines({c.line}), 0, c.scale, c.name, c.dot);
        const auto t = hatch(Regions{inner[0].getTransformedCopy(turn)}, lines({turned}), 0, c.scale, c.name, c.dot);
        ASSERT_EQ(t.len(), h2.len()) << at;
        for (int i = 0; i < h2.len() && at < 8; ++i)
            for (int j = 0; j < h2[i].len(); ++j)
                EXPECT_TRUE(t[i][j].isEqualTo(CMavVertex(turn * h2[i][j].start, turn * h2[i][j].end, 0), 1e-9)) << at;
    }
}

TEST(RegionHatch, BadPatternsRegionsAndPlacementsDrawNothing)
{
    const Regions sq = square10();
    const MavPatternLines rows = lines({{0, 0, 0, 0, 1}});
    Regions nanCorner = square10(); // a point with a non-finite coordinate takes both its segments out
    nanCorner[0][2].start.x = kNan;
    const struct {
        MavPatternLines p;
        double angle, scale;
        Regions r;
        CMavMatrix3d place;
        int expected;
    } cases[] = {
        {lines({{45, 0, 0, 0, 0}}), 0, 1, sq, kId, 0},
        {lines({{kNan, 0, 0, 0, 1}}), 0, 1, sq, kId, 0},
        {lines({{kNan, 0, 0, 0, 1}, {0, 0, 0, 0, 1}}), 0, 1, sq, kId, 10},
        {rows, 0, 1, Regions{CMavVertexArray(), rect(0, 0, 10, 10)}, kId, 0},
        {rows, 0, 1, sq, CMavMatrix3d::scaling(0.0), 0},
        {rows, 0, 1, nanCorner, kId, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hatch(c.r, c.p, c.angle, c.scale, L"X", 0.2, c.place).len(), c.expected) << &c - cases;
}

TEST(RegionHatch, OpenSelfCrossingAndOverhangingOutlinesAreHatchedByParity)
{
    const MavPatternLines rows = lines({{0, 0, 0, 0, 0.1}});
    // A square missing its left side is closed by a chord, as its fill closes it.
    CMavVertexArray open = rect(0, 0, 10, 10);
    open.removeAt(3);
    EXPECT_EQ(pieceCount(hatch(Regions{open}, rows)), 100);
    // A notch whose tip (5, 4.5) lies on the line y = 4.5: three meeting points, the line is left out. A hole's
    // corner touching that line at (7, 4.5) makes four and the line is drawn; a hole's corner on the tip itself
    // is the same point, counted once.
    const CMavVertexArray notch = closed({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {5, 4.5, 0}, {0, 10, 0}});
    const auto n = hatch(Regions{notch}, lines({{0, 0, 0.5, 0, 1}}));
    ASSERT_EQ(n.len(), 9);
    for (int i = 0; i < n.len(); ++i)
        EXPECT_EQ(n[i][0].start.y, i < 4 ? 0.5 + i : 1.5 + i) << i;
    EXPECT_EQ(n[3].len(), 1);
    EXPECT_EQ(n[4].len(), 2);
    for (double apex : {7.0, 5.0}) {
        const CMavVertexArray tip = closed({{apex, 4.5, 0}, {apex - 1, 3, 0}, {apex + 1, 3, 0}});
        EXPECT_EQ(hatch(Regions{notch, tip}, lines({{0, 0, 0.5, 0, 1}})).len(), apex == 7.0 ? 10 : 9) << apex;
    }
}

// Beyond a cap the hatch is empty (and says so) and the pattern test fails so that the region is filled
// instead; just below it the hatch is whole. Families count together against the caps.
TEST(HatchCaps, PatternsFarTooDenseGiveAllOrNothing)
{
    const Regions sq = square10(), big{rect(0, 0, 100, 100)};
    const MavPatternLines two = lines({{0, 0, 0, 0, 0.003}, {90, 0, 0, 0, 0.003}}), one = lines({{0, 0, 0, 0, 0.003}});
    const MavPatternLines ansi33 = lines({{45, 0, 0, 0, 0.25}, {45, 0.176776695, 0, 0, 0.25, 0.125, -0.0625}});
    const struct {
        Regions r;
        MavPatternLines p;
        double scale;
        int lines; // 0: capped
    } cases[] = {
        {sq, lines({{45, 0, 0, 0, 1e-7}}), 1, 0},
        {sq, lines({{0, 0, 0, 0, 1, 1e-6, -1e-6}}), 1, 0},
        {sq, two, 1, 0},
        {sq, one, 1, 3334},
        {big, ansi33, 0.3, 0},
        {big, ansi33, 3.0, 2 * 188 + 1},
    };
    for (const auto& c : cases) {
        bool capped = c.lines != 0;
        const auto h = mav_gdx_hatch_pattern(c.r, kId, L"X", 0.0, c.scale, c.p, 0.2, &capped);
        EXPECT_EQ(h.len(), c.lines) << &c - cases;
        EXPECT_EQ(capped, c.lines == 0) << &c - cases;
        EXPECT_EQ(mav_gdx_hatch_fits(c.r, kId, 0.0, c.scale, c.p, 0.2), c.lines != 0) << &c - cases;
    }
    // A pattern origin far out along the lines (its periods were once counted from it: a hang), and a region far
    // from the origin, cost no more than one near it.
    EXPECT_EQ(hatch(sq, lines({{0, 1e18, 0, 0, 1, 2, -1}})).len(), 10);
    EXPECT_EQ(hatch(Regions{rect(1e9, 1e9, 1e9 + 10, 1e9 + 10)}, lines({{0, 0, 0, 0.37, 1, 2, -1}})).len(), 10);
    for (double dash : {1.0 / 32, 1.0 / 128}) // 91 lines of 1600 dashes each, or of 6400: beyond the piece cap
        EXPECT_EQ(pieceCount(hatch(big, lines({{0, 0, 0.5, 0, 1.1, dash, -dash}}))), dash > 0.01 ? 91 * 1600 : 0);
}

// Legible: fewer than 95 lines across (or dashes along) the region and more than 2.3 device units between lines.
TEST(PatternTest, LegibleOnlyWithFewLinesAndEnoughDeviceSpace)
{
    const MavPatternLines unit = lines({{0, 0, 0, 0, 1.0}}), ansi31 = lines({{45, 0, 0, 0, 0.125}});
    const CMavMatrix3d s2 = CMavMatrix3d::scaling(2.0), s3 = CMavMatrix3d::scaling(3.0);
    const CMavMatrix3d s100 = CMavMatrix3d::scaling(100.0);
    const Regions sq = square10();
    const struct {
        Regions r;
        double scale;
        MavPatternLines p;
        CMavMatrix3d device;
        bool legible;
    } cases[] = {
        {sq, 1, unit, s2, false},
        {sq, 1, unit, s3, true},
        {sq, 1, ansi31, s100, false}, // 14.14 across: 113 lines at 0.125
        {sq, 2, ansi31, s100, true},
        {sq, 1, lines({{0, 0, 0, 0.1, 1}}), s100, false}, // 100 along the line
        {sq, 1, lines({}), CMavMatrix3d::scaling(0.0), false},
        // A slanted strip is measured in the lines' own frame: 5.7 dashes along.
        {Regions{closed({{0, 0, 0}, {10, -10, 0}, {11, -10, 0}, {1, 0, 0}})}, 1, lines({{45, 0, 0, 0.125, 10}}), s100,
         true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mav_gdx_pattern_test_lines(c.r, c.scale, c.p, c.device), c.legible) << &c - cases;
    EXPECT_TRUE(mav_gdx_image_reg_hatch2(sq, kId, MAV::CHatchProp(L"ANSI31", 2.0)) == hatch(sq, ansi31, 0, 2));
}

// Simple hatches: lines y = 0 ... 10 along the edges too, or dots every spacing in rows from the box's bottom,
// each row from where it enters the region; nothing for bad spacing or angle, far too many, no outer outline.
TEST(SimpleHatch, LinesAndDotsCoverTheRegionAtTheSpacing)
{
    for (double spacing : {1.0, 2.5}) {
        const auto h = mav_gdx_image_reg_hatch(square10(), kId, L"LINES", spacing, 0.0);
        ASSERT_EQ(h.len(), static_cast<int>(10 / spacing) + 1);
        for (int i = 0; i < h.len(); ++i)
            EXPECT_TRUE(h[i][0].start.isEqualTo({0, i * spacing, 0}, 1e-12) &&
                        h[i][0].end.isEqualTo({10, i * spacing, 0}, 1e-12));
    }
    EXPECT_EQ(mav_gdx_image_reg_hatch(Regions{rect(0, 0, 10, 6), rect(4, 2, 6, 4)}, kId, L"DOTS", 2.0, 0.0).len(), 24);
    EXPECT_EQ(mav_gdx_image_reg_hatch(square10(), kId, L"DOTS", 2.5, 0.0).len(), 25);
    for (double bad : {0.0, 1e-9, kNan})
        EXPECT_EQ(mav_gdx_image_reg_hatch(square10(), kId, L"X", bad, 0.0).len(), 0) << bad;
    EXPECT_EQ(mav_gdx_image_reg_hatch(square10(), kId, L"DOTS", 1e-5, 0.0).len(), 0);

    // At an angle, one straight piece per line, along the direction, on the grid from the box's lowest corner
    // across the lines ((-30, 25) here, at -30 degrees), covering the region with its hole.
    const double spacing = 0.3, angle = -kPi / 6, len0 = -30 * std::sin(angle) + 25 * std::cos(angle);
    const CMavVector3d dir(std::cos(angle), -std::sin(angle), 0), nrm(std::sin(angle), std::cos(angle), 0);
    const auto h =
        mav_gdx_image_reg_hatch(Regions{rect(-40, 25, -30, 35), rect(-36, 29, -34, 31)}, kId, L"X", spacing, angle);
    double swept = 0.0;
    for (const CMavVertexArray& vl : h) {
        ASSERT_EQ(vl.len(), 1);
        const double k = (vl[0].start.asVector().dot(nrm) - len0) / spacing;
        EXPECT_NEAR(k, std::round(k), 1e-6);
        EXPECT_NEAR(std::fabs((vl[0].end - vl[0].start).dot(dir)), vl[0].start.distanceTo(vl[0].end), 1e-9);
        swept += vl[0].start.distanceTo(vl[0].end) * spacing;
    }
    EXPECT_NEAR(swept, 96.0, 1.5);
}

// Two diamond holes in a square touching its bottom, each other and its top at x = 5 leave two separate halves:
// at each touching point the sharpest left turn keeps them apart.
TEST(RegionPunch, PartsTouchingAtPointsComeOutAsSeparateRegions)
{
    const Regions holes{closed({{5, 0, 0}, {7, 2.5, 0}, {5, 5, 0}, {3, 2.5, 0}}),
                        closed({{5, 5, 0}, {7, 7.5, 0}, {5, 10, 0}, {3, 7.5, 0}})};
    const auto parts = MAV::g_vl_punch(rect(0, 0, 10, 10), holes);
    ASSERT_EQ(parts.len(), 2);
    double xs = 0.0;
    for (const auto& part : parts) {
        CMavPoint3d lo, hi;
        ASSERT_TRUE(part.len() == 1 && part[0].extents(lo, hi));
        EXPECT_NEAR(MAV::g_vl_area(part[0]), 40.0, 1e-9);
        EXPECT_NEAR(hi.x - lo.x, 5.0, 1e-9);
        xs += lo.x + hi.x;
    }
    EXPECT_NEAR(xs, 0 + 5 + 5 + 10, 1e-9); // one part spans 0 ... 5, the other 5 ... 10
}
