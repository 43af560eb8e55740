// Region hatching: where hatch lines lie, how dashes and dots fall on them, the work caps, the legibility test,
// simple hatches, arcs as chords, outline orientation, and what bad input gives.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "../geom_test_util.h"
#include "base/g_vl.h"
#include "data/CMavApp.h"
#include "data/patterns.h"
#include "geometry/hatch.h"
#include "geometry/orient.h"

using geomtest::kPi;
using geomtest::poly;
using geomtest::rect;

namespace {

using Regions = CMavArrayTempl<CMavVertexArray>;
using Hatch = CMavArrayTempl<CMavVertexArray>;
const double kNan = std::numeric_limits<double>::quiet_NaN();

Regions square10() { return Regions{rect(0, 0, 10, 10)}; }
MavPatternLines lines(std::initializer_list<CMavArrayTempl<double>> l) { return MavPatternLines(l); }

Hatch hatch(const Regions& r, const MavPatternLines& p, double angle = 0.0, double scale = 1.0,
            const CMavString& name = L"TEST", double dot = 0.2, const CMavMatrix3d& place = CMavMatrix3d::kIdentity)
{
    return mav_gdx_hatch_pattern(r, place, name, angle, scale, p, dot);
}

// Sum of the lengths of all pieces times the spacing: the area the lines sweep.
double sweptArea(const Hatch& h, double spacing)
{
    double sum = 0.0;
    for (const CMavVertexArray& vl : h)
        for (const CMavVertex& v : vl)
            sum += v.start.distanceTo(v.end);
    return sum * spacing;
}

int pieceCount(const Hatch& h)
{
    int n = 0;
    for (const CMavVertexArray& vl : h)
        n += vl.len();
    return n;
}

CMavPoint3d rotated(const CMavPoint3d& p, double a)
{
    return CMavPoint3d(p.x * std::cos(a) - p.y * std::sin(a), p.x * std::sin(a) + p.y * std::cos(a), p.z);
}

// A closed outline through the given points.
CMavVertexArray closed(std::initializer_list<CMavPoint3d> pts)
{
    CMavArrayTempl<CMavPoint3d> p(pts);
    return CMavVertexArray::fromPoints(p, true);
}

// A comb: a bar 1 high along the x axis with `teeth` teeth of width 1 and height 9 on it, one unit apart.
CMavVertexArray comb(int teeth)
{
    CMavArrayTempl<CMavPoint3d> p{CMavPoint3d(0, 0, 0), CMavPoint3d(2 * teeth - 1, 0, 0)};
    for (int i = teeth - 1; i >= 0; --i) {
        p.append(CMavPoint3d(2 * i + 1, 10, 0));
        p.append(CMavPoint3d(2 * i, 10, 0));
        if (i > 0) {
            p.append(CMavPoint3d(2 * i, 1, 0));
            p.append(CMavPoint3d(2 * i - 1, 1, 0));
        }
    }
    return CMavVertexArray::fromPoints(p, true);
}

// The application's pattern lookup for the tests: one pattern, "TEST", with the lines given.
class PatternHost : public CMavApp {
public:
    explicit PatternHost(const MavPatternLines& l) : m_lines(l), m_previous(mavAppSet(this)) {}
    ~PatternHost() override { mavAppSet(m_previous); }
    Mav::lFormat lFormatGet() override { return Mav::kFormatDecimal; }
    std::uint32_t bkColorGet() override { return 0; }
    bool drillDraw(CMavGDX*, CMavDataItem*, CMavDataItem*) override { return false; }
    bool patternGet(const wchar_t* name, MavPatternLines& l) override
    {
        if (CMavString(name) == L"TEST")
            l = m_lines;
        return CMavString(name) == L"TEST";
    }
    bool entityGet(ads_name, const wchar_t*, bool) override { return false; }
    int lispCall(const wchar_t*, const resbuf*, MAV::CSmartResbuf&) override { return -5001; }

private:
    MavPatternLines m_lines;
    CMavApp* m_previous;
};

} // namespace

TEST(RegionHatch, ArcBoundariesAreCutOnTheArcNotItsChords)
{
    // Half disc of radius 5 above the x axis, drawn once with a counter-clockwise and once with a clockwise arc.
    const CMavVertexArray ccw = poly({{-5, 0, 5, 0, 0}, {5, 0, -5, 0, 1}}), cw = poly({{-5, 0, 5, 0, -1}, {5, 0, -5, 0, 0}});
    for (const CMavVertexArray& outline : {ccw, cw}) {
        const auto h = hatch(Regions{outline}, lines({{0, 0, 0, 0, 0.5}}));
        ASSERT_EQ(h.len(), 10); // y = 0 ... 4.5
        for (const CMavVertexArray& vl : h) {
            const double y = vl[0].start.y, x = std::sqrt(25.0 - y * y);
            EXPECT_NEAR(vl[0].start.x, -x, 1e-9) << y;
            EXPECT_NEAR(vl[0].end.x, x, 1e-9) << y;
        }
    }
}

TEST(RegionHatch, TurningOrPlacingTheRegionTurnsOrPlacesTheLines)
{
    const MavPatternLines ansi33 = lines({{45, 0, 0, 0, 0.25}, {45, 0.176776695, 0, 0, 0.25, 0.125, -0.0625}});
    Regions r{rect(1, 2, 9, 7), rect(3, 3, 4, 5)};
    r[0][3].bulge = 0.4; // a bulging left side
    const double a = 0.6;
    CMavMatrix3d place = CMavMatrix3d::rotation(a, CMavVector3d::kZAxis);
    Regions turned, placed;
    for (const CMavVertexArray& vl : r)
        turned.append(vl.getTransformedCopy(place));
    place.setTranslation(CMavVector3d(100, -50, 3));
    for (const CMavVertexArray& vl : r)
        placed.append(vl.getTransformedCopy(place));
    const auto h0 = hatch(r, ansi33), h1 = hatch(turned, ansi33, a), h2 = hatch(placed, ansi33, 0, 1, L"T", 0.2, place);
    ASSERT_GT(h0.len(), 20);
    ASSERT_EQ(h0.len(), h1.len());
    ASSERT_EQ(h0.len(), h2.len());
    for (int i = 0; i < h0.len(); ++i) {
        ASSERT_EQ(h0[i].len(), h1[i].len()) << i;
        ASSERT_EQ(h0[i].len(), h2[i].len()) << i;
        for (int j = 0; j < h0[i].len(); ++j) {
            EXPECT_TRUE(rotated(h0[i][j].start, a).isEqualTo(h1[i][j].start, 1e-9)) << i << "/" << j;
            EXPECT_TRUE(rotated(h0[i][j].end, a).isEqualTo(h1[i][j].end, 1e-9)) << i << "/" << j;
            EXPECT_TRUE((place * h0[i][j].end).isEqualTo(h2[i][j].end, 1e-9)) << i << "/" << j;
        }
    }
}

TEST(RegionHatch, DashesStartFromThePatternOriginAndShiftAlongEachLine)
{
    // Dash 2, gap 1 on the square: its diagonal makes the base line's half length a whole number of periods, so
    // the pattern starts at the line's origin. Each case: pattern line, line index, its y, first dash [x0, x1].
    const struct {
        CMavArrayTempl<double> line;
        int index;
        double y, x0, x1;
    } cases[] = {
        {{0, 0, 0, 0, 1, 2, -1}, 0, 0, 0, 2},       {{0, 0, 0, 0, 1, 2, -1}, 7, 7, 0, 2},
        {{0, 0, 0, 1, 1, 2, -1}, 1, 1, 1, 3},       // dx 1: line k starts its pattern at k
        {{0, 0, 0, 1, 1, 2, -1}, 2, 2, 0, 1},       // the dash [-1, 1] of line 2, cut at the side
        {{0, 0, 0, 1, -1, 2, -1}, 1, 1, 0, 1},      // a negative dy steps the other way: line k at -k * dy
        {{0, 0.5, 0.25, 0, 1, 2, -1}, 0, 0.25, 0.5, 2.5}, // the origin moves the lines and the pattern
    };
    for (const auto& c : cases) {
        const auto h = hatch(square10(), lines({c.line}));
        ASSERT_EQ(h.len(), 10);
        const CMavVertexArray& vl = h[c.index];
        EXPECT_NEAR(vl[0].start.y, c.y, 1e-9) << c.line[3] << "," << c.line[4];
        EXPECT_NEAR(vl[0].start.x, c.x0, 1e-9) << c.line[3] << "," << c.line[4];
        EXPECT_NEAR(vl[0].end.x, c.x1, 1e-9) << c.line[3] << "," << c.line[4];
        if (c.line[1] == 0 && c.line[3] == 0) { // dashes at 0, 3, 6, 9 cut at 10
            ASSERT_EQ(vl.len(), 4);
            EXPECT_NEAR(vl[3].start.x, 9.0, 1e-9);
            EXPECT_NEAR(vl[3].end.x, 10.0, 1e-9);
        }
    }
}

TEST(RegionHatch, MovingThePatternOriginAlongItsLinesByAPeriodChangesNothing)
{
    const double a = 60 * kPi / 180, c = std::cos(a), s = std::sin(a);
    const auto h0 = hatch(square10(), lines({{60, 1, 0.5, 0, 1, 2, -1}}));
    const auto h1 = hatch(square10(), lines({{60, 1 + 3 * c, 0.5 + 3 * s, 0, 1, 2, -1}}));
    ASSERT_GT(h0.len(), 10);
    ASSERT_EQ(h0.len(), h1.len());
    for (int i = 0; i < h0.len(); ++i) {
        ASSERT_EQ(h0[i].len(), h1[i].len()) << i;
        for (int j = 0; j < h0[i].len(); ++j)
            EXPECT_TRUE(h0[i][j].start.isEqualTo(h1[i][j].start, 1e-9) && h0[i][j].end.isEqualTo(h1[i][j].end, 1e-9));
    }
}

TEST(RegionHatch, DotsAreDrawnWithTheDotLengthButCountOneTowardsTheBaseLine)
{
    // Pattern dash 1, dot, gap 0.5 at scale 0.5 (dash 2, dot, gap 1 unscaled): the base line's half length is
    // (trunc(14.142 / 2.5) + 1) * 2.5 * f, with the dot counted as 1.0 in the period 2.5, while the pattern drawn
    // repeats every 1.7. The factor f is 200 for "GRAVEL" below scale 1, 150 for "GRAVEL" otherwise and 20 for
    // every other pattern, which shifts where the pattern starts.
    const MavPatternLines p = lines({{0, 0, 0, 0, 1, 2, 0, -1}});
    const struct {
        const wchar_t* name;
        double scale, dot, first[2], second[2];
    } cases[] = {
        {L"GRAVEL", 0.5, 0.2, {0.5, 1.5}, {1.5, 1.7}}, // 3000 mod 1.7 = 1.2: at x = 0 the gap has 0.5 left
        {L"ANSI31", 0.5, 0.2, {0.0, 0.2}, {0.2, 0.4}}, // 300 mod 1.7 = 0.8: the dash has 0.2 left, then the dot
        {L"GRAVEL", 1.0, 0.3, {0.0, 1.1}, {1.1, 1.4}}, // 16 * 150 = 2400, mod 3.3 = 0.9: the dash has 1.1 left
        {L"gravel", 1.0, 0.3, {0.1, 2.1}, {2.1, 2.4}}, // factor 20: 320 mod 3.3 = 3.2, the gap has 0.1 left
    };
    for (const auto& c : cases) {
        const auto h = hatch(square10(), p, 0.0, c.scale, c.name, c.dot);
        ASSERT_GE(h.len(), 2);
        const CMavVertexArray& vl = h[1];
        const std::string at = CMavString(c.name).utf8() + " " + std::to_string(c.scale);
        EXPECT_NEAR(vl[0].start.y, c.scale, 1e-12) << at;
        EXPECT_NEAR(vl[0].start.x, c.first[0], 1e-9) << at;
        EXPECT_NEAR(vl[0].end.x, c.first[1], 1e-9) << at;
        EXPECT_NEAR(vl[1].start.x, c.second[0], 1e-9) << at;
        EXPECT_NEAR(vl[1].end.x, c.second[1], 1e-9) << at;
    }
}

TEST(RegionHatch, BadPatternsRegionsAndPlacementsDrawNothing)
{
    const double inf = std::numeric_limits<double>::infinity();
    const Regions sq = square10();
    const struct {
        MavPatternLines p;
        double angle, scale;
        Regions r;
        int expected;
    } cases[] = {
        {lines({{45, 0, 0, 0, 0}}), 0, 1, sq, 0},   {lines({{45, 0, 0, 0.5}}), 0, 1, sq, 0}, // no spacing
        {lines({{}}), 0, 1, sq, 0},                 {lines({}), 0, 1, sq, 0},
        {lines({{kNan, 0, 0, 0, 1}}), 0, 1, sq, 0}, {lines({{0, 0, 0, 0, inf}}), 0, 1, sq, 0},
        {lines({{0, 0, 0, 0, 1, 1, kNan}}), 0, 1, sq, 0},
        {lines({{0, 0, 0, 0, 1}}), kNan, 1, sq, 0}, {lines({{0, 0, 0, 0, 1}}), 0, 0, sq, 0},
        {lines({{kNan, 0, 0, 0, 1}, {0, 0, 0, 0, 1}}), 0, 1, sq, 10}, // only the bad line is left out
        {lines({{0, 0, 0, 0, 1}}), 0, 1, Regions(), 0},
        {lines({{0, 0, 0, 0, 1}}), 0, 1, Regions{CMavVertexArray()}, 0},
        {lines({{0, 0, 0, 0, 1}}), 0, 1, Regions{CMavVertexArray(), rect(0, 0, 10, 10)}, 0}, // no outer outline
    };
    for (const auto& c : cases)
        EXPECT_EQ(hatch(c.r, c.p, c.angle, c.scale).len(), c.expected) << static_cast<int>(&c - cases);
    EXPECT_EQ(hatch(sq, lines({{0, 0, 0, 0, 1}}), 0.0, 1.0, L"X", 0.2, CMavMatrix3d::scaling(0.0)).len(), 0);
    // Dots of no length draw nothing of their period: the lines are drawn solid.
    const auto dotless = hatch(sq, lines({{0, 0, 0, 0, 1, 0}}), 0.0, 1.0, L"X", 0.0);
    ASSERT_EQ(dotless.len(), 10);
    EXPECT_TRUE(dotless[3].len() == 1 && dotless[3][0].start.x == 0.0 && dotless[3][0].end.x == 10.0);
    // A point with a non-finite coordinate takes both its segments out.
    Regions bad = square10();
    bad[0][2].start.x = kNan;
    const auto h = hatch(bad, lines({{0, 0, 0, 0, 1}}));
    EXPECT_EQ(h.len(), 0); // the two sides left cross each line once: nothing to pair
}

TEST(RegionHatch, OpenSelfCrossingAndOverhangingOutlinesAreHatchedByParity)
{
    const MavPatternLines rows = lines({{0, 0, 0, 0, 0.1}});
    // A hole reaching out of the outer outline hatches nothing outside it; a square missing its left side is
    // closed by a chord, as its fill closes it; a bow tie of two triangles meeting at (5, 5).
    EXPECT_NEAR(sweptArea(hatch(Regions{rect(0, 0, 10, 10), rect(8, 2, 12, 4)}, rows), 0.1), 96.0, 1e-6);
    CMavVertexArray open = rect(0, 0, 10, 10);
    open.removeAt(3);
    EXPECT_NEAR(sweptArea(hatch(Regions{open}, rows), 0.1), 100.0, 1e-6);
    const CMavVertexArray bow = closed({{0, 0, 0}, {10, 10, 0}, {10, 0, 0}, {0, 10, 0}});
    EXPECT_NEAR(sweptArea(hatch(Regions{bow}, lines({{90, 0, 0, 0, 0.01}})), 0.01), 50.0, 0.15);
    // A diamond hatched through its left and right corners: y = -4 ... 4, the corners at -5 and 5 only touch.
    const auto d = hatch(Regions{closed({{0, -5, 0}, {5, 0, 0}, {0, 5, 0}, {-5, 0, 0}})}, lines({{0, 0, 0, 0, 1}}));
    ASSERT_EQ(d.len(), 9);
    EXPECT_NEAR(d[4][0].start.x, -5.0, 1e-12);
    EXPECT_NEAR(d[4][0].end.x, 5.0, 1e-12);
    // A square with a notch whose tip (5, 4.5) lies on the line y = 4.5: that line meets the outline at x = 0, 5
    // and 10, an odd number of points, and draws nothing; the lines y = 0.5 ... 9.5 around it are drawn.
    const CMavVertexArray notch = closed({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {5, 4.5, 0}, {0, 10, 0}});
    const auto n = hatch(Regions{notch}, lines({{0, 0, 0.5, 0, 1}}));
    ASSERT_EQ(n.len(), 9);
    for (int i = 0; i < n.len(); ++i)
        EXPECT_EQ(n[i][0].start.y, i < 4 ? 0.5 + i : 1.5 + i) << i;
    EXPECT_EQ(n[3].len(), 1);
    EXPECT_EQ(n[4].len(), 2); // y = 5.5 on both sides of the notch
    // A hole whose top corner (7, 4.5) touches the same line pairs the tip: four meeting points, the line is drawn.
    // A corner of the hole on the tip itself is the same point, counted once: still three.
    for (double apex : {7.0, 5.0}) {
        const CMavVertexArray tip = closed({{apex, 4.5, 0}, {apex - 1, 3, 0}, {apex + 1, 3, 0}});
        EXPECT_EQ(hatch(Regions{notch, tip}, lines({{0, 0, 0.5, 0, 1}})).len(), apex == 7.0 ? 10 : 9) << apex;
    }
}

// The caps never give a part of a hatch: beyond them the hatch is empty (and says so), the pattern test fails so
// that the region is filled instead, and just below them the hatch is whole.
TEST(HatchCaps, PatternsFarTooDenseGiveAllOrNothing)
{
    const Regions sq = square10();
    bool capped = false;
    auto count = [&capped](const Regions& r, const MavPatternLines& p, double scale = 1.0) {
        return mav_gdx_hatch_pattern(r, CMavMatrix3d::kIdentity, L"X", 0.0, scale, p, 0.2, &capped).len();
    };
    EXPECT_EQ(count(sq, lines({{45, 0, 0, 0, 1e-7}})), 0);
    EXPECT_TRUE(capped);
    EXPECT_EQ(count(sq, lines({{0, 0, 0, 0, 1, 1e-3, -1e-3}})), 10); // 10 lines of 5,000 dashes
    EXPECT_FALSE(capped);
    EXPECT_EQ(count(sq, lines({{0, 0, 0, 0, 1, 1e-6, -1e-6}})), 0);
    // A pattern origin far out along the lines (the dash periods were once counted from it: a hang), and a region
    // far from the pattern origin, cost no more than one near it.
    const auto farOrigin = hatch(sq, lines({{0, 1e18, 0, 0, 1, 2, -1}}));
    ASSERT_EQ(farOrigin.len(), 10);
    for (const CMavVertex& v : farOrigin[0])
        EXPECT_TRUE(v.start.x >= 0.0 && v.end.x <= 10.0 && v.end.x - v.start.x <= 2.0 + 1e-9);
    EXPECT_EQ(hatch(Regions{rect(1e9, 1e9, 1e9 + 10, 1e9 + 10)}, lines({{0, 0, 0, 0.37, 1, 2, -1}})).len(), 10);
    // Families count together against the line cap of 4096: two of 3334 lines are too many, one is not; lines at
    // 45 and 135 degrees on a 100 x 100 square: 2263 each at scale 0.5, all 1131 + 1131 at scale 1, the 45-degree
    // family first.
    const MavPatternLines two = lines({{0, 0, 0, 0, 0.003}, {90, 0, 0, 0, 0.003}}), one = lines({{0, 0, 0, 0, 0.003}});
    EXPECT_EQ(count(sq, two), 0);
    EXPECT_TRUE(capped);
    EXPECT_FALSE(mav_gdx_hatch_fits(sq, CMavMatrix3d::kIdentity, 0.0, 1.0, two, 0.2));
    EXPECT_EQ(count(sq, one), 3334);
    EXPECT_FALSE(capped);
    EXPECT_TRUE(mav_gdx_hatch_fits(sq, CMavMatrix3d::kIdentity, 0.0, 1.0, one, 0.2));
    const Regions big{rect(0, 0, 100, 100)};
    const MavPatternLines cross = lines({{45, 0, 0, 0, 0.125}, {135, 0, 0, 0, 0.125}});
    EXPECT_EQ(count(big, cross, 0.5), 0);
    EXPECT_FALSE(mav_gdx_hatch_fits(big, CMavMatrix3d::kIdentity, 0.0, 0.5, cross, 0.2));
    const auto h = mav_gdx_hatch_pattern(big, CMavMatrix3d::kIdentity, L"X", 0.0, 1.0, cross, 0.2, &capped);
    EXPECT_FALSE(capped);
    EXPECT_TRUE(mav_gdx_hatch_fits(big, CMavMatrix3d::kIdentity, 0.0, 1.0, cross, 0.2));
    ASSERT_EQ(h.len(), 2 * 1131);
    EXPECT_NEAR(h[1130][0].end.x - h[1130][0].start.x, h[1130][0].end.y - h[1130][0].start.y, 1e-9);
    EXPECT_NEAR(h[1131][0].end.x - h[1131][0].start.x, -(h[1131][0].end.y - h[1131][0].start.y), 1e-9);
    // A dashed family beside a solid one: both or neither (the dashes of period 0.1875 far beyond the piece cap
    // at 0.3 times; at 3 times both families, 188 + 189 lines 0.75 apart).
    const MavPatternLines ansi33 = lines({{45, 0, 0, 0, 0.25}, {45, 0.176776695, 0, 0, 0.25, 0.125, -0.0625}});
    EXPECT_EQ(count(big, ansi33, 0.3), 0);
    EXPECT_EQ(count(big, ansi33, 3.0), 2 * 188 + 1);
}

TEST(HatchCaps, PiecesJustBelowTheCapAreAllDrawnAndJustAboveItNone)
{
    // A comb hatched by 91 lines at 0.11 (legible: 3.3 device units apart): 9 lines through the bar give one
    // piece each, 82 through the teeth one per tooth. And 91 lines across a 100 x 100 square, each of 100 / period
    // dashes from x = 0: 1600 at period 1/16, 6400 at period 1/64 (582,400 pieces, beyond the cap).
    const MavPatternLines rows = lines({{0, 0, 0.05, 0, 0.11}});
    for (int teeth : {3000, 3200}) {
        PatternHost host(rows);
        const Regions r{comb(teeth)};
        const bool fits = 9 + 82 * teeth <= kMavHatchMaxPieces;
        const auto h = mav_gdx_image_reg_hatch2(r, CMavMatrix3d::kIdentity, MAV::CHatchProp(L"TEST"));
        EXPECT_EQ(h.len(), fits ? 91 : 0) << teeth;
        EXPECT_EQ(pieceCount(h), fits ? 9 + 82 * teeth : 0) << teeth;
        EXPECT_TRUE(mav_gdx_pattern_test_lines(r, 1.0, rows, CMavMatrix3d::scaling(30.0))); // legible either way
        EXPECT_EQ(mav_gdx_pattern_test(r, MAV::CHatchProp(L"TEST"), CMavMatrix3d::scaling(30.0)), fits) << teeth;
        EXPECT_EQ(mav_gdx_hatch_fits(r, CMavMatrix3d::kIdentity, 0.0, 1.0, rows, 0.2), fits) << teeth;
    }
    const Regions sq{rect(0, 0, 100, 100)};
    for (double dash : {1.0 / 32, 1.0 / 128}) {
        const MavPatternLines p = lines({{0, 0, 0.5, 0, 1.1, dash, -dash}});
        PatternHost host(p);
        const bool fits = dash > 0.01;
        bool capped = !fits;
        const auto h = mav_gdx_hatch_pattern(sq, CMavMatrix3d::kIdentity, L"TEST", 0.0, 1.0, p, 0.2, &capped);
        EXPECT_EQ(capped, !fits) << dash;
        EXPECT_EQ(h.len(), fits ? 91 : 0) << dash;
        EXPECT_EQ(pieceCount(h), fits ? 91 * 1600 : 0) << dash;
        EXPECT_EQ(mav_gdx_pattern_test(sq, MAV::CHatchProp(L"TEST"), CMavMatrix3d::scaling(3.0)), fits) << dash;
    }
}

TEST(PatternTest, LegibleOnlyWithFewLinesAndEnoughDeviceSpace)
{
    const MavPatternLines unit = lines({{0, 0, 0, 0, 1.0}}), ansi31 = lines({{45, 0, 0, 0, 0.125}});
    CMavMatrix3d moved = CMavMatrix3d::scaling(3.0);
    moved.setTranslation(CMavVector3d(1e6, -1e6, 0)); // the device matrix's translation does not matter
    const struct {
        Regions r;
        double scale;
        MavPatternLines p;
        CMavMatrix3d device;
        bool legible;
    } cases[] = {
        {square10(), 1, unit, CMavMatrix3d::scaling(2.0), false}, // 2 device units apart: not above 2.3
        {square10(), 1, unit, CMavMatrix3d::scaling(3.0), true},
        {square10(), 2, unit, CMavMatrix3d::scaling(2.0), true}, // the hatch scale enters the spacing
        {square10(), 1, unit, moved, true},
        {square10(), 1, ansi31, CMavMatrix3d::scaling(100.0), false}, // 14.14 across: 113 lines at 0.125
        {square10(), 2, ansi31, CMavMatrix3d::scaling(100.0), true},  // 56.6 at 0.25
        {square10(), 1, lines({{0, 0, 0, 0.1, 1}}), CMavMatrix3d::scaling(100.0), false}, // 100 along the line
        {square10(), 1, lines({{0, 0, 0, 0.2, 1}}), CMavMatrix3d::scaling(100.0), true},
        {square10(), 1, lines({}), CMavMatrix3d::scaling(1e-3), true}, // no lines: legible unless scale 0
        {square10(), 1, lines({}), CMavMatrix3d::scaling(0.0), false},
        {square10(), 1, lines({{45, 1, 1}}), CMavMatrix3d::kIdentity, true}, // no offsets: nothing to count
        {Regions(), 1, ansi31, CMavMatrix3d::scaling(100.0), true},
        // Slanted strips along and across the lines are measured in the lines' own frame: 5.7 lines across the
        // first, 5.7 dashes along the second (either way round 118).
        {Regions{closed({{0, 0, 0}, {10, 10, 0}, {11, 10, 0}, {1, 0, 0}})}, 1, ansi31, CMavMatrix3d::scaling(100.0),
         true},
        {Regions{closed({{0, 0, 0}, {10, -10, 0}, {11, -10, 0}, {1, 0, 0}})}, 1, lines({{45, 0, 0, 0.125, 10}}),
         CMavMatrix3d::scaling(100.0), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mav_gdx_pattern_test_lines(c.r, c.scale, c.p, c.device), c.legible) << &c - cases;
}

TEST(RegionHatch, PatternsComeFromTheApplicationByName)
{
    // The shipped ANSI31 is the 45-degree family at 0.125: the same lines as given by hand, scaled.
    const auto viaApp = mav_gdx_image_reg_hatch2(square10(), CMavMatrix3d::kIdentity, MAV::CHatchProp(L"ANSI31", 2.0));
    const auto byHand = hatch(square10(), lines({{45, 0, 0, 0, 0.125}}), 0.0, 2.0);
    ASSERT_EQ(viaApp.len(), 57); // lines 0.25 apart across the 14.14 of the square at 45 degrees
    ASSERT_EQ(viaApp.len(), byHand.len());
    for (int i = 0; i < viaApp.len(); ++i)
        EXPECT_TRUE(viaApp[i] == byHand[i]) << i;
    // An unknown name hatches nothing and is always legible, unless the device scale is 0.
    const MAV::CHatchProp unknown(L"NO SUCH PATTERN");
    EXPECT_EQ(mav_gdx_image_reg_hatch2(square10(), CMavMatrix3d::kIdentity, unknown).len(), 0);
    EXPECT_TRUE(mav_gdx_pattern_test(square10(), unknown, CMavMatrix3d::scaling(0.01)));
    EXPECT_FALSE(mav_gdx_pattern_test(square10(), unknown, CMavMatrix3d::scaling(0.0)));
    EXPECT_FALSE(mav_gdx_pattern_test(square10(), MAV::CHatchProp(L"ANSI31"), CMavMatrix3d::scaling(100.0)));
    EXPECT_TRUE(mav_gdx_pattern_test(square10(), MAV::CHatchProp(L"ANSI31", 2.0), CMavMatrix3d::scaling(100.0)));
}

TEST(SimpleHatch, LinesAndDotsCoverTheRegionAtTheSpacing)
{
    const CMavMatrix3d id = CMavMatrix3d::kIdentity;
    // Lines y = 0 ... 10 and at spacing 2.5 five of them: those along the bottom and the top edge are kept.
    for (double spacing : {1.0, 2.5}) {
        const auto h = mav_gdx_image_reg_hatch(square10(), id, L"LINES", spacing, 0.0);
        ASSERT_EQ(h.len(), static_cast<int>(10 / spacing) + 1);
        for (int i = 0; i < h.len(); ++i) {
            EXPECT_TRUE(h[i][0].start.isEqualTo(CMavPoint3d(0, i * spacing, 0), 1e-12)) << i;
            EXPECT_TRUE(h[i][0].end.isEqualTo(CMavPoint3d(10, i * spacing, 0), 1e-12)) << i;
        }
    }
    // Lines at -angle on the grid from the lowest corner of the box, reaching its far side whatever the spacing;
    // each piece is one output. A region with a hole away from the origin at 30 degrees: the corners of its box
    // lie across the lines from (-30, 25) (lowest) to (-40, 35).
    const double spacing = 0.3, angle = -kPi / 6;
    const auto h = mav_gdx_image_reg_hatch(Regions{rect(-40, 25, -30, 35), rect(-36, 29, -34, 31)}, id, L"X",
                                           spacing, angle);
    EXPECT_NEAR(sweptArea(h, spacing), 96.0, 1.5);
    const CMavVector3d dir(std::cos(angle), -std::sin(angle), 0), nrm(std::sin(angle), std::cos(angle), 0);
    const double lo = -30 * nrm.x + 25 * nrm.y, hi = -40 * nrm.x + 35 * nrm.y;
    double farthest = -1e300;
    for (const CMavVertexArray& vl : h) {
        ASSERT_EQ(vl.len(), 1);
        EXPECT_NEAR(std::fabs((vl[0].end - vl[0].start).dot(dir)), vl[0].start.distanceTo(vl[0].end), 1e-9);
        const double k = (vl[0].start.asVector().dot(nrm) - lo) / spacing;
        EXPECT_NEAR(k, std::round(k), 1e-6);
        farthest = std::max(farthest, vl[0].start.asVector().dot(nrm));
    }
    EXPECT_GT(farthest, hi - spacing);
    // Dots: rows y = 0, 2, 4, 6 from the box's bottom, dots every 2 from where each row enters the region; six in
    // each row (the rows along the hole's edges keep the edges). Placed 100, 200 away.
    CMavMatrix3d place;
    place.setTranslation(CMavVector3d(100, 200, 0));
    const Regions r{rect(0, 0, 10, 6), rect(4, 2, 6, 4)};
    const auto dots = mav_gdx_image_reg_hatch(Regions{r[0].getTransformedCopy(place), r[1].getTransformedCopy(place)},
                                              place, L"DOTS", 2.0, 0.0);
    EXPECT_EQ(dots.len(), 24);
    for (const CMavVertexArray& vl : dots) {
        const CMavPoint3d p = vl[0].start - CMavVector3d(100, 200, 0);
        EXPECT_LT(vl[0].start.distanceTo(vl[vl.len() - 1].end), 1e-9); // a dot, not a dash
        EXPECT_NEAR(std::fmod(p.y, 2.0) + std::fmod(p.x, 2.0), 0.0, 1e-9);
        EXPECT_GE(MAV::g_vll_pt_inside(r, p), 1);
    }
    EXPECT_EQ(mav_gdx_image_reg_hatch(square10(), id, L"DOTS", 2.5, 0.0).len(), 25);
    // Bad spacing or angle, far too many lines or dots, a singular placement, no outer outline: nothing.
    for (double bad : {0.0, -1.0, 1e-9, kNan})
        EXPECT_EQ(mav_gdx_image_reg_hatch(square10(), id, L"X", bad, 0.0).len(), 0) << bad;
    EXPECT_EQ(mav_gdx_image_reg_hatch(square10(), id, L"DOTS", 1e-5, 0.0).len(), 0);
    EXPECT_EQ(mav_gdx_image_reg_hatch(square10(), id, L"X", 1.0, kNan).len(), 0);
    EXPECT_EQ(mav_gdx_image_reg_hatch(square10(), CMavMatrix3d::scaling(0.0), L"X", 1.0, 0.0).len(), 0);
    for (const wchar_t* name : {L"X", L"DOTS"})
        for (const Regions& none : {Regions(), Regions{CMavVertexArray(), rect(0, 0, 10, 10)}})
            EXPECT_EQ(mav_gdx_image_reg_hatch(none, id, name, 1.0, 0.0).len(), 0);
}

TEST(RegionSplit, ArcsBecomeChordsStraightSegmentsStay)
{
    // Half circles of length 3.14 < 4 (tolerance 0.01) and 31.4 (tolerance 0.05), then a straight closing side;
    // once in the XY plane and once in a tilted one, where the chords' ends stay on the arc's circle.
    const CMavVertexArray arcs = poly({{0, 0, 2, 0, 1}, {2, 0, 22, 0, -1}, {22, 0, 0, 0, 0}});
    const int n0 = MAV::g_vx_split_dif(arcs[0], 0.01), n1 = MAV::g_vx_split_dif(arcs[1], 0.05);
    ASSERT_GT(n0, 4);
    const Regions out = mav_gdx_image_reg_split(Regions{rect(0, 0, 1, 1), arcs, CMavVertexArray()});
    ASSERT_EQ(out.len(), 3);
    EXPECT_TRUE(out[0] == rect(0, 0, 1, 1));
    EXPECT_EQ(out[2].len(), 0);
    const CMavMatrix3d tilt = CMavMatrix3d::rotation(0.7, CMavVector3d(1, 1, 0));
    for (const CMavMatrix3d& m : {CMavMatrix3d::kIdentity, tilt}) {
        const CMavVertexArray s = mav_gdx_image_reg_split(Regions{arcs.getTransformedCopy(m)})[0];
        ASSERT_EQ(s.len(), n0 + n1 + 1);
        EXPECT_TRUE(s.isContinuous());
        EXPECT_TRUE(s[n0 + n1 - 1].end.isEqualTo(m * CMavPoint3d(22, 0, 0), 1e-9));
        for (int i = 0; i < n0 + n1; ++i) {
            const bool first = i < n0;
            const CMavPoint3d centre = m * (first ? CMavPoint3d(1, 0, 0) : CMavPoint3d(12, 0, 0));
            const double r = first ? 1.0 : 10.0, tol = first ? 0.01 : 0.05;
            EXPECT_EQ(s[i].bulge, 0.0);
            EXPECT_NEAR(s[i].end.distanceTo(centre), r, 1e-9);
            EXPECT_LE(r - ((s[i].start + s[i].end) * 0.5).distanceTo(centre), tol + 1e-12);
            const CMavPoint3d flat = m.inverse() * s[i].end; // counter-clockwise from (0, 0) runs below the axis
            EXPECT_LT(first ? flat.y : -flat.y, 1e-9);
        }
    }
}

TEST(OutlineOrientation, ClosedOutlinesTurnCounterClockwiseOpenOnesStay)
{
    const CMavVertexArray ccw = rect(0, 0, 2, 1);
    CMavVertexArray cw = ccw;
    cw.revert();
    CMavVertexArray open = cw;
    open.removeAt(3);
    Regions r{ccw, cw, open};
    mav_vll_orient(r);
    EXPECT_TRUE(r[0] == ccw && r[1] == ccw && r[2] == open);
    mav_vll_orient(r, CMavVector3d(0, 0, -1)); // about -Z the same outlines run the other way
    EXPECT_TRUE(r[0] == cw && r[1] == cw);
    CMavVertexArray one = cw;
    EXPECT_TRUE(mav_vl_orient(one));
    EXPECT_FALSE(mav_vl_orient(one));
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
        const Regions r{outer, rect(-2, -2, -0.5, 1), geomtest::circle(2.5, 0, 1.5)};

        const double angleDeg = rnd(0, 180), dy = rnd(0.15, 0.6), ox = rnd(-1, 1), oy = rnd(-1, 1);
        const double hatchAngle = rnd(-1, 1);
        const auto h = hatch(r, lines({{angleDeg, ox, oy, 0, dy}}), hatchAngle);
        const double phi = angleDeg * kPi / 180 + hatchAngle;
        const CMavVector3d dir(std::cos(phi), std::sin(phi), 0), nrm(-std::sin(phi), std::cos(phi), 0);
        const double o0 = rotated(CMavPoint3d(ox, oy, 0), hatchAngle).asVector().dot(nrm); // the origin turns too
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

TEST(RegionPunch, PartsTouchingAtPointsComeOutAsSeparateRegions)
{
    // Two diamond holes in a 10 x 10 square, touching its bottom at (5, 0), each other at (5, 5) and its top at
    // (5, 10): what is left is a left and a right half, each 50 less half of each diamond's 10. Following the
    // pieces round, the sharpest left turn at each touching point keeps the halves apart.
    const Regions holes{closed({{5, 0, 0}, {7, 2.5, 0}, {5, 5, 0}, {3, 2.5, 0}}),
                        closed({{5, 5, 0}, {7, 7.5, 0}, {5, 10, 0}, {3, 7.5, 0}})};
    const auto parts = MAV::g_vl_punch(rect(0, 0, 10, 10), holes);
    ASSERT_EQ(parts.len(), 2);
    double xs = 0.0;
    for (const auto& part : parts) {
        ASSERT_EQ(part.len(), 1);
        EXPECT_NEAR(MAV::g_vl_area(part[0]), 40.0, 1e-9);
        CMavPoint3d lo, hi;
        ASSERT_TRUE(part[0].extents(lo, hi));
        EXPECT_NEAR(hi.x - lo.x, 5.0, 1e-9);
        xs += lo.x + hi.x;
    }
    EXPECT_NEAR(xs, 0 + 5 + 5 + 10, 1e-9); // one part spans 0 ... 5, the other 5 ... 10
}

TEST(RegionHatch, ARegionWithRoomForOneLineGetsThatLine)
{
    // Lines 100 apart through y = 5: only the one at y = 5 crosses the square, from its left side to its right.
    const Hatch h = hatch(square10(), lines({{0, 0, 5, 0, 100}}));
    ASSERT_EQ(pieceCount(h), 1);
    const CMavVertex& v = h[0][0];
    EXPECT_DOUBLE_EQ(v.start.y, 5.0);
    EXPECT_DOUBLE_EQ(v.end.y, 5.0);
    EXPECT_DOUBLE_EQ(std::fabs(v.end.x - v.start.x), 10.0);
}
