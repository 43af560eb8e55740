// Region hatching: where hatch lines lie, how dashes fall on them, the legibility test, simple hatches, arcs as
// chords, outline orientation, and what bad input gives.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cmath>
#include <limits>

#include "geometry/hatch.h"
#include "geometry/orient.h"
#include "base/g_vl.h"
#include "data/CMavApp.h"
#include "data/patterns.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
using Regions = CMavArrayTempl<CMavVertexArray>;
using Line = CMavArrayTempl<double>;

CMavVertexArray rect(double x0, double y0, double x1, double y1)
{
    CMavVertexArray vl;
    vl.append(CMavPoint3d(x0, y0, 0), CMavPoint3d(x1, y0, 0));
    vl.append(CMavPoint3d(x1, y0, 0), CMavPoint3d(x1, y1, 0));
    vl.append(CMavPoint3d(x1, y1, 0), CMavPoint3d(x0, y1, 0));
    vl.append(CMavPoint3d(x0, y1, 0), CMavPoint3d(x0, y0, 0));
    return vl;
}

Regions square10() { return Regions{rect(0, 0, 10, 10)}; }

MavPatternLines lines(std::initializer_list<Line> l) { return MavPatternLines(l); }

CMavArrayTempl<CMavVertexArray> hatch(const Regions& r, const MavPatternLines& p, double angle = 0.0,
                                      double scale = 1.0, const CMavString& name = L"TEST", double dot = 0.2,
                                      const CMavMatrix3d& placement = CMavMatrix3d::kIdentity)
{
    return mav_gdx_hatch_pattern(r, placement, name, angle, scale, p, dot);
}

// Sum of the lengths of all pieces times the spacing: the area the lines sweep.
double sweptArea(const CMavArrayTempl<CMavVertexArray>& h, double spacing)
{
    double sum = 0.0;
    for (const CMavVertexArray& vl : h)
        for (const CMavVertex& v : vl)
            sum += v.start.distanceTo(v.end);
    return sum * spacing;
}

CMavPoint3d rotated(const CMavPoint3d& p, double a)
{
    return CMavPoint3d(p.x * std::cos(a) - p.y * std::sin(a), p.x * std::sin(a) + p.y * std::cos(a), p.z);
}

int pieceCount(const CMavArrayTempl<CMavVertexArray>& h)
{
    int n = 0;
    for (const CMavVertexArray& vl : h)
        n += vl.len();
    return n;
}

// A comb: a bar 1 high along the x axis with `teeth` teeth of width 1 and height 9 on it, one unit apart.
CMavVertexArray comb(int teeth)
{
    CMavArrayTempl<CMavPoint3d> p;
    p.append(CMavPoint3d(0, 0, 0));
    p.append(CMavPoint3d(2 * teeth - 1, 0, 0));
    for (int i = teeth - 1; i >= 0; --i) {
        p.append(CMavPoint3d(2 * i + 1, 10, 0));
        p.append(CMavPoint3d(2 * i, 10, 0));
        if (i > 0) {
            p.append(CMavPoint3d(2 * i, 1, 0));
            p.append(CMavPoint3d(2 * i - 1, 1, 0));
        }
    }
    CMavVertexArray vl;
    for (int i = 0; i < p.len(); ++i)
        vl.append(p[i], p[(i + 1) % p.len()]);
    return vl;
}

// The application's pattern lookup for the tests: one pattern, "TEST", with the lines given.
class PatternHost : public CMavApp {
public:
    explicit PatternHost(const MavPatternLines& lines) : m_lines(lines), m_previous(mavAppSet(this)) {}
    ~PatternHost() override { mavAppSet(m_previous); }
    Mav::lFormat lFormatGet() override { return Mav::kFormatDecimal; }
    std::uint32_t bkColorGet() override { return 0; }
    bool drillDraw(CMavGDX*, CMavDataItem*, CMavDataItem*) override { return false; }
    bool patternGet(const wchar_t* name, MavPatternLines& lines) override
    {
        if (CMavString(name) == L"TEST")
            lines = m_lines;
        return CMavString(name) == L"TEST";
    }
    bool entityGet(ads_name, const wchar_t*, bool) override { return false; }
    int lispCall(const wchar_t*, const resbuf*, MAV::CSmartResbuf&) override { return -5001; }

private:
    MavPatternLines m_lines;
    CMavApp* m_previous;
};

} // namespace

TEST(RegionHatch, Ansi31OnASquareRunsAt45DegreesWithItsSpacing)
{
    const MavPatternLines ansi31 = lines({{45, 0, 0, 0, 0.125}});
    for (double scale : {1.0, 2.0}) {
        const auto h = hatch(square10(), ansi31, 0.0, scale);
        const double spacing = 0.125 * scale;
        // Lines y' = k * spacing across the square seen at 45 degrees, whose height there is 10 * sqrt(2); the
        // lines through the corners (0, 10) and (10, 0) only touch and draw nothing.
        const double half = 10.0 / std::sqrt(2.0);
        const int expected = 2 * static_cast<int>(std::floor(half / spacing)) + 1;
        ASSERT_EQ(h.len(), expected) << scale;
        double prevAcross = -1e300;
        for (const CMavVertexArray& vl : h) {
            ASSERT_EQ(vl.len(), 1);
            const CMavVertex& v = vl[0];
            const double dx = v.end.x - v.start.x, dy = v.end.y - v.start.y;
            EXPECT_NEAR(dx, dy, 1e-9); // at 45 degrees
            EXPECT_GT(dx, 0.0);        // along the line's direction
            // Both ends on the square's sides.
            for (const CMavPoint3d& p : {v.start, v.end}) {
                const bool onSide = std::fabs(p.x) < 1e-9 || std::fabs(p.x - 10) < 1e-9 || std::fabs(p.y) < 1e-9 ||
                                    std::fabs(p.y - 10) < 1e-9;
                EXPECT_TRUE(onSide) << p.x << "," << p.y;
            }
            // Bottom to top, one spacing apart perpendicular to the lines.
            const double across = (v.start.y - v.start.x) / std::sqrt(2.0);
            if (prevAcross > -1e300) {
                EXPECT_NEAR(across - prevAcross, spacing, 1e-9);
            }
            prevAcross = across;
            // The width of the square along the line at that height.
            EXPECT_NEAR(std::hypot(dx, dy), 2.0 * (half - std::fabs(across)), 1e-9);
        }
    }
}

TEST(RegionHatch, ArcBoundariesAreCutOnTheArcNotItsChords)
{
    // Half disc of radius 5 above the x axis, the arc counter-clockwise from (5, 0) to (-5, 0); and the same shape
    // drawn the other way round with a clockwise arc.
    CMavVertexArray ccw, cw;
    ccw.append(CMavPoint3d(-5, 0, 0), CMavPoint3d(5, 0, 0));
    ccw.append(CMavPoint3d(5, 0, 0), CMavPoint3d(-5, 0, 0), 1.0);
    cw.append(CMavPoint3d(-5, 0, 0), CMavPoint3d(5, 0, 0), -1.0);
    cw.append(CMavPoint3d(5, 0, 0), CMavPoint3d(-5, 0, 0));
    for (const CMavVertexArray& outline : {ccw, cw}) {
        const auto h = hatch(Regions{outline}, lines({{0, 0, 0, 0, 0.5}}));
        ASSERT_EQ(h.len(), 10); // y = 0 ... 4.5
        for (const CMavVertexArray& vl : h) {
            ASSERT_EQ(vl.len(), 1);
            const double y = vl[0].start.y;
            const double x = std::sqrt(25.0 - y * y);
            EXPECT_NEAR(vl[0].start.x, -x, 1e-9) << y;
            EXPECT_NEAR(vl[0].end.x, x, 1e-9) << y;
        }
    }
    // A full circle of two half arcs with a square hole, hatched at 30 degrees: the swept area is the disc's
    // less the hole's.
    CMavVertexArray circle;
    circle.append(CMavPoint3d(5, 0, 0), CMavPoint3d(-5, 0, 0), 1.0);
    circle.append(CMavPoint3d(-5, 0, 0), CMavPoint3d(5, 0, 0), 1.0);
    const auto h = hatch(Regions{circle, rect(-1, -1, 1, 1)}, lines({{30, 0, 0, 0, 0.01}}));
    EXPECT_NEAR(sweptArea(h, 0.01), kPi * 25.0 - 4.0, 0.02);
}

TEST(RegionHatch, TurningRegionAndHatchAngleTogetherTurnsTheLines)
{
    const MavPatternLines ansi33 = lines({{45, 0, 0, 0, 0.25}, {45, 0.176776695, 0, 0, 0.25, 0.125, -0.0625}});
    Regions r{rect(1, 2, 9, 7), rect(3, 3, 4, 5)};
    r[0].append(CMavPoint3d(1, 7, 0), CMavPoint3d(1, 2, 0), 0.4); // a bulging side: replaces the last straight one
    r[0].removeAt(3);
    const double a = 0.6;
    Regions turned;
    for (const CMavVertexArray& vl : r)
        turned.append(vl.getTransformedCopy(CMavMatrix3d::rotation(a, CMavVector3d::kZAxis)));
    const auto h0 = hatch(r, ansi33, 0.0);
    const auto h1 = hatch(turned, ansi33, a);
    ASSERT_GT(h0.len(), 20);
    ASSERT_EQ(h0.len(), h1.len());
    for (int i = 0; i < h0.len(); ++i) {
        ASSERT_EQ(h0[i].len(), h1[i].len()) << i;
        for (int j = 0; j < h0[i].len(); ++j) {
            EXPECT_TRUE(rotated(h0[i][j].start, a).isEqualTo(h1[i][j].start, 1e-9)) << i << "/" << j;
            EXPECT_TRUE(rotated(h0[i][j].end, a).isEqualTo(h1[i][j].end, 1e-9)) << i << "/" << j;
        }
    }
    // A placement does the same: hatching in a moved and turned plane gives the lines moved and turned.
    CMavMatrix3d place = CMavMatrix3d::rotation(a, CMavVector3d::kZAxis);
    place.setTranslation(CMavVector3d(100, -50, 3));
    Regions placed;
    for (const CMavVertexArray& vl : r)
        placed.append(vl.getTransformedCopy(place));
    const auto h2 = hatch(placed, ansi33, 0.0, 1.0, L"TEST", 0.2, place);
    ASSERT_EQ(h2.len(), h0.len());
    for (int i = 0; i < h0.len(); ++i)
        for (int j = 0; j < h0[i].len(); ++j)
            EXPECT_TRUE((place * h0[i][j].end).isEqualTo(h2[i][j].end, 1e-9));
}

TEST(RegionHatch, DashesStartFromThePatternOriginAndShiftAlongEachLine)
{
    // Square 10 x 10: diagonal 14.14, so the base line's half length is a whole number of periods and the
    // pattern starts at the line's origin.
    auto h = hatch(square10(), lines({{0, 0, 0, 0, 1, 2, -1}}));
    ASSERT_EQ(h.len(), 10);
    const double expect0[][2] = {{0, 2}, {3, 5}, {6, 8}, {9, 10}};
    for (const CMavVertexArray& vl : h) {
        ASSERT_EQ(vl.len(), 4);
        for (int j = 0; j < 4; ++j) {
            EXPECT_NEAR(vl[j].start.x, expect0[j][0], 1e-9);
            EXPECT_NEAR(vl[j].end.x, expect0[j][1], 1e-9);
        }
    }
    // With dx = 1 every line starts its pattern one unit further along: line k at k.
    h = hatch(square10(), lines({{0, 0, 0, 1, 1, 2, -1}}));
    ASSERT_EQ(h.len(), 10);
    EXPECT_NEAR(h[1][0].start.x, 1.0, 1e-9);
    EXPECT_NEAR(h[1][0].end.x, 3.0, 1e-9);
    EXPECT_NEAR(h[2][0].start.x, 0.0, 1e-9); // the dash [-1, 1] of line 2, cut at the side
    EXPECT_NEAR(h[2][0].end.x, 1.0, 1e-9);
    // A negative dy steps the other way: line k lies at -k * dy and its pattern shifts by -k * dx.
    h = hatch(square10(), lines({{0, 0, 0, 1, -1, 2, -1}}));
    ASSERT_EQ(h.len(), 10);
    EXPECT_NEAR(h[1][0].start.y, 1.0, 1e-9);
    EXPECT_NEAR(h[1][0].start.x, 0.0, 1e-9); // dash [-1, 1]
    EXPECT_NEAR(h[1][0].end.x, 1.0, 1e-9);
    // The origin moves the lines and the pattern: origin (0.5, 0.25).
    h = hatch(square10(), lines({{0, 0.5, 0.25, 0, 1, 2, -1}}));
    ASSERT_EQ(h.len(), 10);
    EXPECT_NEAR(h[0][0].start.y, 0.25, 1e-9);
    EXPECT_NEAR(h[0][0].start.x, 0.5, 1e-9);
    EXPECT_NEAR(h[0][0].end.x, 2.5, 1e-9);
}

TEST(RegionHatch, DotsAreDrawnWithTheDotLengthButCountOneTowardsTheBaseLine)
{
    // Pattern dash 1, dot, gap 0.5 at scale 0.5 (dash 2, dot, gap 1 unscaled): the base line's half length is
    // (trunc(14.142 / 2.5) + 1) * 2.5 * f, with the dot counted as 1.0 in the period 2.5, while the pattern drawn
    // repeats every 1.7. The factor f is 200 for "GRAVEL" below scale 1, 150 for "GRAVEL" otherwise and 20 for
    // every other pattern, which shifts where the pattern starts.
    const MavPatternLines p = lines({{0, 0, 0, 0, 1, 2, 0, -1}});
    struct Case {
        const wchar_t* name;
        double scale, dot, first[2], second[2];
    };
    const Case cases[] = {
        // 3000 mod 1.7 = 1.2: at x = 0 the gap has 0.5 left.
        {L"GRAVEL", 0.5, 0.2, {0.5, 1.5}, {1.5, 1.7}},
        // 300 mod 1.7 = 0.8: the dash has 0.2 left, then the dot.
        {L"ANSI31", 0.5, 0.2, {0.0, 0.2}, {0.2, 0.4}},
        // Unscaled with a dot of 0.3: 16 * 150 = 2400, mod 3.3 = 0.9: the dash has 1.1 left.
        {L"GRAVEL", 1.0, 0.3, {0.0, 1.1}, {1.1, 1.4}},
        // The same with factor 20: 320 mod 3.3 = 3.2, the gap has 0.1 left.
        {L"gravel", 1.0, 0.3, {0.1, 2.1}, {2.1, 2.4}},
    };
    for (const Case& c : cases) {
        const auto h = hatch(square10(), p, 0.0, c.scale, c.name, c.dot);
        ASSERT_GE(h.len(), 2);
        const CMavVertexArray& vl = h[1];
        EXPECT_NEAR(vl[0].start.y, c.scale, 1e-12);
        EXPECT_NEAR(vl[0].start.x, c.first[0], 1e-9) << CMavString(c.name).utf8() << c.scale;
        EXPECT_NEAR(vl[0].end.x, c.first[1], 1e-9) << CMavString(c.name).utf8() << c.scale;
        EXPECT_NEAR(vl[1].start.x, c.second[0], 1e-9) << CMavString(c.name).utf8() << c.scale;
        EXPECT_NEAR(vl[1].end.x, c.second[1], 1e-9) << CMavString(c.name).utf8() << c.scale;
    }
}

TEST(RegionHatch, PatternLinesWithoutSpacingOrWithBadValuesDrawNothing)
{
    const Regions sq = square10();
    EXPECT_EQ(hatch(sq, lines({{45, 0, 0, 0, 0}})).len(), 0);
    EXPECT_EQ(hatch(sq, lines({{45, 0, 0, 0.5}})).len(), 0); // dy absent
    EXPECT_EQ(hatch(sq, lines({{}})).len(), 0);
    EXPECT_EQ(hatch(sq, lines({})).len(), 0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(hatch(sq, lines({{nan, 0, 0, 0, 1}})).len(), 0);
    EXPECT_EQ(hatch(sq, lines({{0, 0, 0, 0, inf}})).len(), 0);
    EXPECT_EQ(hatch(sq, lines({{0, 0, 0, 0, 1, 1, nan}})).len(), 0);
    EXPECT_EQ(hatch(sq, lines({{0, 0, 0, 0, 1}}), nan).len(), 0);
    EXPECT_EQ(hatch(sq, lines({{0, 0, 0, 0, 1}}), 0.0, 0.0).len(), 0);
    // Only the bad line of a pattern is left out.
    EXPECT_EQ(hatch(sq, lines({{nan, 0, 0, 0, 1}, {0, 0, 0, 0, 1}})).len(), 10);
    // No region, an empty outline, a singular placement.
    EXPECT_EQ(hatch(Regions(), lines({{0, 0, 0, 0, 1}})).len(), 0);
    EXPECT_EQ(hatch(Regions{CMavVertexArray()}, lines({{0, 0, 0, 0, 1}})).len(), 0);
    EXPECT_EQ(hatch(sq, lines({{0, 0, 0, 0, 1}}), 0.0, 1.0, L"X", 0.2, CMavMatrix3d::scaling(0.0)).len(), 0);
    // A point with a non-finite coordinate takes its segments out: the rest is closed and hatched.
    Regions bad = square10();
    bad[0][2].start.x = nan;
    EXPECT_NO_FATAL_FAILURE(hatch(bad, lines({{0, 0, 0, 0, 1}})));
}

TEST(RegionHatch, OpenSelfCrossingAndOverhangingOutlinesAreHatchedByParity)
{
    // A hole reaching out of the outer outline hatches nothing outside the outer outline.
    Regions overhang{rect(0, 0, 10, 10), rect(8, 2, 12, 4)};
    EXPECT_NEAR(sweptArea(hatch(overhang, lines({{0, 0, 0, 0, 0.1}})), 0.1), 100.0 - 4.0, 1e-6);
    // A square missing its left side is closed by a chord, as its fill closes it.
    CMavVertexArray open = rect(0, 0, 10, 10);
    open.removeAt(3);
    EXPECT_NEAR(sweptArea(hatch(Regions{open}, lines({{0, 0, 0, 0, 0.1}})), 0.1), 100.0, 1e-6);
    // A bow tie: two triangles meeting at (5, 5).
    CMavVertexArray bow;
    bow.append(CMavPoint3d(0, 0, 0), CMavPoint3d(10, 10, 0));
    bow.append(CMavPoint3d(10, 10, 0), CMavPoint3d(10, 0, 0));
    bow.append(CMavPoint3d(10, 0, 0), CMavPoint3d(0, 10, 0));
    bow.append(CMavPoint3d(0, 10, 0), CMavPoint3d(0, 0, 0));
    const auto h = hatch(Regions{bow}, lines({{90, 0, 0, 0, 0.01}}));
    EXPECT_NEAR(sweptArea(h, 0.01), 50.0, 0.15);
    // Lines through corners: a diamond hatched through its left and right corners and along its middle.
    CMavVertexArray diamond;
    diamond.append(CMavPoint3d(0, -5, 0), CMavPoint3d(5, 0, 0));
    diamond.append(CMavPoint3d(5, 0, 0), CMavPoint3d(0, 5, 0));
    diamond.append(CMavPoint3d(0, 5, 0), CMavPoint3d(-5, 0, 0));
    diamond.append(CMavPoint3d(-5, 0, 0), CMavPoint3d(0, -5, 0));
    const auto d = hatch(Regions{diamond}, lines({{0, 0, 0, 0, 1}}));
    ASSERT_EQ(d.len(), 9); // y = -4 ... 4; the corners at y = -5 and 5 only touch
    EXPECT_NEAR(d[4][0].start.x, -5.0, 1e-12);
    EXPECT_NEAR(d[4][0].end.x, 5.0, 1e-12);
    // A square with a notch whose tip (5, 4.5) lies on the line y = 4.5: that line meets the outline at x = 0, 5
    // and 10, an odd number of points, and draws nothing; the lines y = 0.5 ... 9.5 around it are drawn.
    CMavVertexArray notch;
    const double nx[] = {0, 10, 10, 5, 0}, ny[] = {0, 0, 10, 4.5, 10};
    for (int i = 0; i < 5; ++i)
        notch.append(CMavPoint3d(nx[i], ny[i], 0), CMavPoint3d(nx[(i + 1) % 5], ny[(i + 1) % 5], 0));
    const auto n = hatch(Regions{notch}, lines({{0, 0, 0.5, 0, 1}}));
    ASSERT_EQ(n.len(), 9);
    for (int i = 0; i < n.len(); ++i)
        EXPECT_EQ(n[i][0].start.y, i < 4 ? 0.5 + i : 1.5 + i) << i;
    EXPECT_EQ(n[3].len(), 1);
    EXPECT_EQ(n[4].len(), 2); // y = 5.5 on both sides of the notch
    // A hole whose top corner (7, 4.5) touches the same line pairs the tip: four meeting points, the line is drawn.
    // A corner of the hole on the tip itself is the same point, counted once: still three.
    for (double apex : {7.0, 5.0}) {
        CMavVertexArray tip;
        tip.append(CMavPoint3d(apex, 4.5, 0), CMavPoint3d(apex - 1, 3, 0));
        tip.append(CMavPoint3d(apex - 1, 3, 0), CMavPoint3d(apex + 1, 3, 0));
        tip.append(CMavPoint3d(apex + 1, 3, 0), CMavPoint3d(apex, 4.5, 0));
        EXPECT_EQ(hatch(Regions{notch, tip}, lines({{0, 0, 0.5, 0, 1}})).len(), apex == 7.0 ? 10 : 9) << apex;
    }
}

TEST(RegionHatch, WorkIsCappedForPatternsFarTooDenseForTheRegion)
{
    const auto t0 = std::chrono::steady_clock::now();
    // 10 / 1e-7 lines: nothing.
    EXPECT_EQ(hatch(square10(), lines({{45, 0, 0, 0, 1e-7}})).len(), 0);
    // 11 lines of 5 million dashes each: nothing. 11 lines of 10,000 dashes: all of them.
    EXPECT_EQ(hatch(square10(), lines({{0, 0, 0, 0, 1, 1e-3, -1e-3}})).len(), 10);
    EXPECT_EQ(hatch(square10(), lines({{0, 0, 0, 0, 1, 1e-6, -1e-6}})).len(), 0);
    // A pattern origin far out along the lines (a hang found by fuzzing: the dash periods were counted from it).
    const auto farOrigin = hatch(square10(), lines({{0, 1e18, 0, 0, 1, 2, -1}}));
    ASSERT_EQ(farOrigin.len(), 10);
    for (const CMavVertex& v : farOrigin[0]) {
        EXPECT_GE(v.start.x, 0.0);
        EXPECT_LE(v.end.x, 10.0);
        EXPECT_LE(v.end.x - v.start.x, 2.0 + 1e-9);
    }
    // A region far from the pattern origin costs no more than one near it.
    Regions far{rect(1e9, 1e9, 1e9 + 10, 1e9 + 10)};
    EXPECT_EQ(hatch(far, lines({{0, 0, 0, 0.37, 1, 2, -1}})).len(), 10);
    // Two pattern lines of 3334 lines each pass the cap of 4096 lines together: nothing, and the call says so.
    bool capped = false;
    const MavPatternLines two = lines({{0, 0, 0, 0, 0.003}, {90, 0, 0, 0, 0.003}});
    EXPECT_EQ(mav_gdx_hatch_pattern(square10(), CMavMatrix3d::kIdentity, L"X", 0.0, 1.0, two, 0.2, &capped).len(), 0);
    EXPECT_TRUE(capped);
    EXPECT_FALSE(mav_gdx_hatch_fits(square10(), CMavMatrix3d::kIdentity, 0.0, 1.0, two, 0.2));
    const MavPatternLines one = lines({{0, 0, 0, 0, 0.003}});
    EXPECT_EQ(mav_gdx_hatch_pattern(square10(), CMavMatrix3d::kIdentity, L"X", 0.0, 1.0, one, 0.2, &capped).len(),
              3334);
    EXPECT_FALSE(capped);
    EXPECT_TRUE(mav_gdx_hatch_fits(square10(), CMavMatrix3d::kIdentity, 0.0, 1.0, one, 0.2));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_LT(seconds, 20.0); // generous: a lost cap would take hours
}

// The caps never give a part of a hatch: beyond them the hatch is empty, the pattern test fails so that the region
// is filled instead, and just below them the hatch is whole. One case per kind of pattern.
TEST(HatchCaps, SolidLinesCrossingManyOutlinesGiveAllOrNothing)
{
    // A comb hatched by 91 lines at 0.11 (legible: 90.9 across, 3.3 device units apart): the 9 lines through the
    // bar give one piece each, the 82 through the teeth one per tooth.
    const MavPatternLines rows = lines({{0, 0, 0.05, 0, 0.11}});
    const CMavMatrix3d device = CMavMatrix3d::scaling(30.0);
    PatternHost host(rows);
    const MAV::CHatchProp prop(L"TEST");
    for (int teeth : {3000, 3200}) {
        SCOPED_TRACE(teeth);
        const Regions r{comb(teeth)};
        const bool fits = 9 + 82 * teeth <= kMavHatchMaxPieces;
        const auto h = mav_gdx_image_reg_hatch2(r, CMavMatrix3d::kIdentity, prop);
        EXPECT_EQ(h.len(), fits ? 91 : 0);
        EXPECT_EQ(pieceCount(h), fits ? 9 + 82 * teeth : 0);
        EXPECT_TRUE(mav_gdx_pattern_test_lines(r, 1.0, rows, device)); // legible either way
        EXPECT_EQ(mav_gdx_pattern_test(r, prop, device), fits);
        EXPECT_EQ(mav_gdx_hatch_fits(r, CMavMatrix3d::kIdentity, 0.0, 1.0, rows, 0.2), fits);
    }
    bool capped = false;
    EXPECT_EQ(mav_gdx_hatch_pattern(Regions{comb(3200)}, CMavMatrix3d::kIdentity, L"TEST", 0.0, 1.0, rows, 0.2,
                                    &capped).len(), 0);
    EXPECT_TRUE(capped);
}

TEST(HatchCaps, DashedLinesGiveAllOrNothing)
{
    // 91 lines across a 100 x 100 square (legible: 90.9 across), each of 100 / period dashes starting at x = 0
    // (the base line's half length, 2828.75, is a whole number of periods): 1600 at period 1/16 (145,600 pieces),
    // 6400 at period 1/64 (582,400, beyond the cap).
    const Regions sq{rect(0, 0, 100, 100)};
    const CMavMatrix3d device = CMavMatrix3d::scaling(3.0);
    for (double dash : {1.0 / 32, 1.0 / 128}) {
        SCOPED_TRACE(dash);
        const MavPatternLines p = lines({{0, 0, 0.5, 0, 1.1, dash, -dash}});
        PatternHost host(p);
        const bool fits = dash > 0.01;
        bool capped = !fits;
        const auto h = mav_gdx_hatch_pattern(sq, CMavMatrix3d::kIdentity, L"TEST", 0.0, 1.0, p, 0.2, &capped);
        EXPECT_EQ(capped, !fits);
        EXPECT_EQ(h.len(), fits ? 91 : 0);
        EXPECT_EQ(pieceCount(h), fits ? 91 * 1600 : 0);
        EXPECT_TRUE(mav_gdx_pattern_test_lines(sq, 1.0, p, device));
        EXPECT_EQ(mav_gdx_pattern_test(sq, MAV::CHatchProp(L"TEST"), device), fits);
    }
    // A dashed family beside a solid one: both or neither (0.3 times a pattern of two families at 45 degrees, the
    // second dashed with period 0.1875, on the square: 1886 lines each, the dashes far beyond the cap).
    const MavPatternLines ansi33 = lines({{45, 0, 0, 0, 0.25}, {45, 0.176776695, 0, 0, 0.25, 0.125, -0.0625}});
    EXPECT_EQ(hatch(sq, ansi33, 0.0, 0.3).len(), 0);
    EXPECT_EQ(hatch(sq, ansi33, 0.0, 3.0).len(), 2 * 188 + 1); // at 0.75 apart both families are drawn
}

TEST(HatchCaps, TwoFamiliesAreDrawnTogetherOrNotAtAll)
{
    // Lines at 45 and 135 degrees 0.0625 apart on a 100 x 100 square: 2263 lines each, 4526 together.
    const Regions sq{rect(0, 0, 100, 100)};
    const MavPatternLines cross = lines({{45, 0, 0, 0, 0.125}, {135, 0, 0, 0, 0.125}});
    bool capped = false;
    EXPECT_EQ(mav_gdx_hatch_pattern(sq, CMavMatrix3d::kIdentity, L"X", 0.0, 0.5, cross, 0.2, &capped).len(), 0);
    EXPECT_TRUE(capped);
    // At scale 1 each family has 1131 lines, all 2262 drawn: first those at 45 degrees, then those at 135.
    const auto h = mav_gdx_hatch_pattern(sq, CMavMatrix3d::kIdentity, L"X", 0.0, 1.0, cross, 0.2, &capped);
    EXPECT_FALSE(capped);
    ASSERT_EQ(h.len(), 2 * 1131);
    EXPECT_NEAR(h[1130][0].end.x - h[1130][0].start.x, h[1130][0].end.y - h[1130][0].start.y, 1e-9);
    EXPECT_NEAR(h[1131][0].end.x - h[1131][0].start.x, -(h[1131][0].end.y - h[1131][0].start.y), 1e-9);
    // The pattern test counts both families' lines against the cap, whatever the device scale.
    EXPECT_TRUE(mav_gdx_hatch_fits(sq, CMavMatrix3d::kIdentity, 0.0, 1.0, cross, 0.2));
    EXPECT_FALSE(mav_gdx_hatch_fits(sq, CMavMatrix3d::kIdentity, 0.0, 0.5, cross, 0.2));
}

TEST(PatternTest, LegibleOnlyWithFewLinesAndEnoughDeviceSpace)
{
    const Regions sq = square10();
    const MavPatternLines unit = lines({{0, 0, 0, 0, 1.0}});
    // Spacing 1 at device scale 2 is 2 units: not above 2.3. At scale 3 it is.
    EXPECT_FALSE(mav_gdx_pattern_test_lines(sq, 1.0, unit, CMavMatrix3d::scaling(2.0)));
    EXPECT_TRUE(mav_gdx_pattern_test_lines(sq, 1.0, unit, CMavMatrix3d::scaling(3.0)));
    // The hatch scale enters the spacing.
    EXPECT_TRUE(mav_gdx_pattern_test_lines(sq, 2.0, unit, CMavMatrix3d::scaling(2.0)));
    // ANSI31: the square is 14.14 high across the lines: 113 lines at 0.125, 56.6 at 0.25.
    const MavPatternLines ansi31 = lines({{45, 0, 0, 0, 0.125}});
    EXPECT_FALSE(mav_gdx_pattern_test_lines(sq, 1.0, ansi31, CMavMatrix3d::scaling(100.0)));
    EXPECT_TRUE(mav_gdx_pattern_test_lines(sq, 2.0, ansi31, CMavMatrix3d::scaling(100.0)));
    // The offset along the line counts too: 10 / 0.1 = 100 along it.
    EXPECT_FALSE(mav_gdx_pattern_test_lines(sq, 1.0, lines({{0, 0, 0, 0.1, 1}}), CMavMatrix3d::scaling(100.0)));
    EXPECT_TRUE(mav_gdx_pattern_test_lines(sq, 1.0, lines({{0, 0, 0, 0.2, 1}}), CMavMatrix3d::scaling(100.0)));
    // The device matrix's translation does not matter, its size does.
    CMavMatrix3d moved = CMavMatrix3d::scaling(3.0);
    moved.setTranslation(CMavVector3d(1e6, -1e6, 0));
    EXPECT_TRUE(mav_gdx_pattern_test_lines(sq, 1.0, unit, moved));
    // No pattern lines: legible unless the device scale is 0.
    EXPECT_TRUE(mav_gdx_pattern_test_lines(sq, 1.0, lines({}), CMavMatrix3d::scaling(1e-3)));
    EXPECT_FALSE(mav_gdx_pattern_test_lines(sq, 1.0, lines({}), CMavMatrix3d::scaling(0.0)));
    // Lines without offsets give nothing to count.
    EXPECT_TRUE(mav_gdx_pattern_test_lines(sq, 1.0, lines({{45, 1, 1}}), CMavMatrix3d::kIdentity));
    // An empty region list counts no lines across it.
    EXPECT_TRUE(mav_gdx_pattern_test_lines(Regions(), 1.0, ansi31, CMavMatrix3d::scaling(100.0)));
}

TEST(SimpleHatch, ParallelLinesCoverTheRegionAtTheSpacing)
{
    auto h = mav_gdx_image_reg_hatch(square10(), CMavMatrix3d::kIdentity, L"LINES", 1.0, 0.0);
    ASSERT_EQ(h.len(), 11); // y = 0 ... 10: the lines along the bottom and the top edge are kept
    for (int i = 0; i < h.len(); ++i) {
        ASSERT_EQ(h[i].len(), 1);
        EXPECT_NEAR(h[i][0].start.y, i, 1e-12);
        EXPECT_NEAR(h[i][0].start.x, 0.0, 1e-12);
        EXPECT_NEAR(h[i][0].end.x, 10.0, 1e-12);
    }
    // Lines at -angle reach the far side of the region whatever the spacing, and each piece is one output.
    const double spacing = 0.3;
    h = mav_gdx_image_reg_hatch(Regions{rect(0, 0, 10, 10), rect(4, 4, 6, 6)}, CMavMatrix3d::kIdentity, L"X",
                                spacing, kPi / 4);
    EXPECT_NEAR(sweptArea(h, spacing), 96.0, 1.5);
    double farthest = -1e9;
    for (const CMavVertexArray& vl : h) {
        ASSERT_EQ(vl.len(), 1);
        EXPECT_NEAR(vl[0].end.y - vl[0].start.y, -(vl[0].end.x - vl[0].start.x), 1e-9); // running at -45 deg
        farthest = std::max(farthest, vl[0].start.x + vl[0].start.y);
    }
    EXPECT_GT(farthest, 20.0 - spacing * std::sqrt(2.0));
    // Bad spacing, or far too many lines: nothing.
    EXPECT_EQ(mav_gdx_image_reg_hatch(square10(), CMavMatrix3d::kIdentity, L"X", 0.0, 0.0).len(), 0);
    EXPECT_EQ(mav_gdx_image_reg_hatch(square10(), CMavMatrix3d::kIdentity, L"X", -1.0, 0.0).len(), 0);
    EXPECT_EQ(mav_gdx_image_reg_hatch(square10(), CMavMatrix3d::kIdentity, L"X", 1e-9, 0.0).len(), 0);
    EXPECT_EQ(mav_gdx_image_reg_hatch(square10(), CMavMatrix3d::kIdentity, L"DOTS", 1e-5, 0.0).len(), 0);
    EXPECT_EQ(mav_gdx_image_reg_hatch(Regions(), CMavMatrix3d::kIdentity, L"X", 1.0, 0.0).len(), 0);
}

TEST(SimpleHatch, DotsSitInRowsAtTheSpacingInsideTheRegion)
{
    CMavMatrix3d place;
    place.setTranslation(CMavVector3d(100, 200, 0));
    Regions r{rect(0, 0, 10, 6), rect(4, 2, 6, 4)};
    Regions placed;
    for (const CMavVertexArray& vl : r)
        placed.append(vl.getTransformedCopy(place));
    const auto h = mav_gdx_image_reg_hatch(placed, place, L"DOTS", 2.0, 0.0);
    // Rows y = 0, 2, 4, 6 (along the bottom, the hole's edges and the top); dots at 0, 2, ... from where each row
    // enters the region.
    int dots = 0;
    for (const CMavVertexArray& vl : h) {
        ASSERT_GE(vl.len(), 1);
        const CMavPoint3d p = vl[0].start - CMavVector3d(100, 200, 0);
        EXPECT_LT(vl[0].start.distanceTo(vl[vl.len() - 1].end), 1e-9); // a dot, not a dash
        EXPECT_NEAR(std::fmod(p.y, 2.0), 0.0, 1e-9);
        EXPECT_NEAR(std::fmod(p.x, 2.0), 0.0, 1e-9);
        EXPECT_GE(MAV::g_vll_pt_inside(r, p), 1);
        ++dots;
    }
    // Six dots in each row: 0 ... 10 (the rows along the hole's edges keep the edges).
    EXPECT_EQ(dots, 24);
    // A 10 x 10 square at spacing 2.5: five rows of five dots, the last row on the far edge; the lines of the
    // simple hatch likewise five, the last one along the far edge.
    EXPECT_EQ(mav_gdx_image_reg_hatch(square10(), CMavMatrix3d::kIdentity, L"DOTS", 2.5, 0.0).len(), 25);
    const auto lines25 = mav_gdx_image_reg_hatch(square10(), CMavMatrix3d::kIdentity, L"LINES", 2.5, 0.0);
    ASSERT_EQ(lines25.len(), 5);
    EXPECT_EQ(lines25[4][0].start.y, 10.0);
    EXPECT_NEAR(lines25[4][0].start.distanceTo(lines25[4][lines25[4].len() - 1].end), 10.0, 1e-9);
}

TEST(RegionSplit, ArcsBecomeChordsStraightSegmentsStay)
{
    CMavVertexArray arcs;
    arcs.append(CMavPoint3d(0, 0, 0), CMavPoint3d(2, 0, 0), 1.0);  // half circle, length 3.14 < 4: tolerance 0.01
    arcs.append(CMavPoint3d(2, 0, 0), CMavPoint3d(22, 0, 0), -1.0); // half circle, length 31.4: tolerance 0.05
    arcs.append(CMavPoint3d(22, 0, 0), CMavPoint3d(0, 0, 0));
    const Regions in{rect(0, 0, 1, 1), arcs, CMavVertexArray()};
    const Regions out = mav_gdx_image_reg_split(in);
    ASSERT_EQ(out.len(), 3);
    EXPECT_TRUE(out[0] == in[0]);
    EXPECT_EQ(out[2].len(), 0);
    const CMavVertexArray& s = out[1];
    const int n0 = MAV::g_vx_split_dif(arcs[0], 0.01), n1 = MAV::g_vx_split_dif(arcs[1], 0.05);
    ASSERT_EQ(s.len(), n0 + n1 + 1);
    EXPECT_GT(n0, 4);
    EXPECT_TRUE(s.isContinuous());
    for (int i = 0; i < s.len(); ++i) {
        EXPECT_EQ(s[i].bulge, 0.0);
        const bool first = i < n0;
        if (i >= n0 + n1)
            continue;
        const CMavPoint3d centre = first ? CMavPoint3d(1, 0, 0) : CMavPoint3d(12, 0, 0);
        const double r = first ? 1.0 : 10.0, tol = first ? 0.01 : 0.05;
        EXPECT_NEAR(s[i].end.distanceTo(centre), r, 1e-9);
        const CMavPoint3d mid = (s[i].start + s[i].end) * 0.5;
        EXPECT_LE(r - mid.distanceTo(centre), tol + 1e-12);
        EXPECT_LT(first ? s[i].end.y : -s[i].end.y, 1e-9); // counter-clockwise from (0, 0) runs below the axis
    }
    EXPECT_TRUE(s[n0 + n1 - 1].end.isEqualTo(CMavPoint3d(22, 0, 0), 1e-9));

    // An outline in a tilted plane is split in that plane: the chords' ends stay on the arc's circle.
    const CMavMatrix3d tilt = CMavMatrix3d::rotation(0.7, CMavVector3d(1, 1, 0));
    CMavVertexArray t = arcs.getTransformedCopy(tilt);
    const CMavVertexArray st = mav_gdx_image_reg_split(Regions{t})[0];
    ASSERT_EQ(st.len(), n0 + n1 + 1);
    const CMavPoint3d c0 = tilt * CMavPoint3d(1, 0, 0);
    for (int i = 0; i < n0; ++i)
        EXPECT_NEAR(st[i].end.distanceTo(c0), 1.0, 1e-9);
}

TEST(OutlineOrientation, ClosedOutlinesTurnCounterClockwiseOpenOnesStay)
{
    CMavVertexArray ccw = rect(0, 0, 2, 1);
    CMavVertexArray cw = ccw;
    cw.revert();
    CMavVertexArray open = cw;
    open.removeAt(3);
    Regions r{ccw, cw, open};
    mav_vll_orient(r);
    EXPECT_TRUE(r[0] == ccw);
    EXPECT_TRUE(r[1] == ccw);
    EXPECT_TRUE(r[2] == open);
    // About -Z the same outlines run the other way.
    mav_vll_orient(r, CMavVector3d(0, 0, -1));
    EXPECT_TRUE(r[0] == cw);
    EXPECT_TRUE(r[1] == cw);
    CMavVertexArray one = cw;
    EXPECT_TRUE(mav_vl_orient(one));
    EXPECT_FALSE(mav_vl_orient(one));
}

TEST(RegionHatch, PatternsComeFromTheApplicationByName)
{
    // The shipped ANSI31 is the 45-degree family at 0.125: the same lines as given by hand.
    const auto viaApp = mav_gdx_image_reg_hatch2(square10(), CMavMatrix3d::kIdentity, MAV::CHatchProp(L"ANSI31", 2.0));
    const auto byHand = hatch(square10(), lines({{45, 0, 0, 0, 0.125}}), 0.0, 2.0);
    ASSERT_GT(viaApp.len(), 50);
    ASSERT_EQ(viaApp.len(), byHand.len());
    for (int i = 0; i < viaApp.len(); ++i)
        EXPECT_TRUE(viaApp[i] == byHand[i]) << i;
    // An unknown name hatches nothing and is always legible, unless the device scale is 0.
    const MAV::CHatchProp unknown(L"NO SUCH PATTERN");
    EXPECT_EQ(mav_gdx_image_reg_hatch2(square10(), CMavMatrix3d::kIdentity, unknown).len(), 0);
    EXPECT_TRUE(mav_gdx_pattern_test(square10(), unknown, CMavMatrix3d::scaling(0.01)));
    EXPECT_FALSE(mav_gdx_pattern_test(square10(), unknown, CMavMatrix3d::scaling(0.0)));
    // ANSI31 at scale 1 under a device scale of 100 needs 113 lines across the square: too dense.
    EXPECT_FALSE(mav_gdx_pattern_test(square10(), MAV::CHatchProp(L"ANSI31"), CMavMatrix3d::scaling(100.0)));
    EXPECT_TRUE(mav_gdx_pattern_test(square10(), MAV::CHatchProp(L"ANSI31", 2.0), CMavMatrix3d::scaling(100.0)));
}

TEST(RegionHatch, AgreesWithClippingEachLineOnRandomRegions)
{
    // Seeded random regions: a star of lines and arcs with two holes, hatched at a random angle, spacing and
    // origin; every line must match the same line clipped to the region by the polyline clipper.
    std::uint32_t seed = 12345;
    auto rnd = [&seed](double lo, double hi) {
        seed = seed * 1664525u + 1013904223u;
        return lo + (hi - lo) * ((seed >> 8) / 16777216.0);
    };
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
        CMavVertexArray hole1 = rect(-2, -2, -0.5, 1), hole2;
        hole2.append(CMavPoint3d(1, 0, 0), CMavPoint3d(4, 0, 0), 1.0);
        hole2.append(CMavPoint3d(4, 0, 0), CMavPoint3d(1, 0, 0), 1.0);
        const Regions r{outer, hole1, hole2};

        const double angleDeg = rnd(0, 180), dy = rnd(0.15, 0.6), ox = rnd(-1, 1), oy = rnd(-1, 1);
        const double hatchAngle = rnd(-1, 1);
        const auto h = hatch(r, lines({{angleDeg, ox, oy, 0, dy}}), hatchAngle);
        const double phi = angleDeg * kPi / 180 + hatchAngle;
        const CMavVector3d dir(std::cos(phi), std::sin(phi), 0), nrm(-std::sin(phi), std::cos(phi), 0);
        // The pattern origin turns with the hatch angle.
        const CMavPoint3d o = rotated(CMavPoint3d(ox, oy, 0), hatchAngle);
        const double o0 = o.asVector().dot(nrm);
        int matched = 0, next = 0;
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
            ASSERT_LT(next, h.len()) << "round " << round << " line " << k;
            const CMavVertexArray& mine = h[next++];
            EXPECT_NEAR(mine[0].start.asVector().dot(nrm), off, 1e-9) << "round " << round << " line " << k;
            double len = 0.0;
            for (const CMavVertex& v : mine) {
                EXPECT_NEAR((v.end - v.start).dot(dir), v.start.distanceTo(v.end), 1e-9); // along the line
                EXPECT_GE(MAV::g_vll_pt_inside(r, v.start + (v.end - v.start) * 0.5), 1);
                len += v.start.distanceTo(v.end);
            }
            EXPECT_NEAR(len, ref, 1e-7) << "round " << round << " line " << k;
            ++matched;
        }
        EXPECT_EQ(matched, h.len()) << "round " << round;
        EXPECT_GT(matched, 20);
    }
}
