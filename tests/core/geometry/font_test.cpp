// Built-in outline font: coverage, lookup keys and the geometric soundness of every glyph.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <string>

#include "gdx/CMavGDX.h"
#include "geometry/font.h"
#include "geometry/orient.h"

namespace {

using Glyph = CMavArrayTempl<CMavArrayTempl<CMavVertexArray>>;

const int kCodes[] = {177, 178, 179, 186, 188, 189, 190, 196, 214, 220, 223, 228, 246, 252};

std::set<int> expectedCodes()
{
    std::set<int> s;
    for (int c = 33; c <= 126; ++c)
        s.insert(c);
    for (int c : kCodes)
        s.insert(c);
    return s;
}

double signedArea(const CMavVertexArray& o)
{
    double a = 0.0;
    for (int i = 0; i < o.len(); ++i)
        a += o[i].start.x * o[i].end.y - o[i].end.x * o[i].start.y;
    return a / 2.0;
}

bool properCross(const CMavVertex& a, const CMavVertex& b)
{
    auto orient = [](const CMavPoint3d& p, const CMavPoint3d& q, const CMavPoint3d& r) {
        const double v = (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x);
        return (v > 1e-12) - (v < -1e-12);
    };
    return orient(a.start, a.end, b.start) * orient(a.start, a.end, b.end) < 0 &&
           orient(b.start, b.end, a.start) * orient(b.start, b.end, a.end) < 0;
}

bool inside(const CMavPoint3d& p, const CMavVertexArray& o)
{
    bool in = false;
    for (int i = 0; i < o.len(); ++i) {
        const CMavPoint3d& a = o[i].start;
        const CMavPoint3d& b = o[i].end;
        if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y))
            in = !in;
    }
    return in;
}

void box(const Glyph& g, CMavPoint3d& lo, CMavPoint3d& hi)
{
    lo = CMavPoint3d(1e9, 1e9, 0);
    hi = CMavPoint3d(-1e9, -1e9, 0);
    for (int r = 0; r < g.len(); ++r)
        for (int o = 0; o < g[r].len(); ++o)
            for (int s = 0; s < g[r][o].len(); ++s) {
                const CMavPoint3d& p = g[r][o][s].start;
                lo.x = std::fmin(lo.x, p.x);
                lo.y = std::fmin(lo.y, p.y);
                hi.x = std::fmax(hi.x, p.x);
                hi.y = std::fmax(hi.y, p.y);
            }
}

int outlineCount(const Glyph& g)
{
    int n = 0;
    for (int r = 0; r < g.len(); ++r)
        n += g[r].len();
    return n;
}

}  // namespace

TEST(FontTest, ExactlyTheCoveredCodesHaveGlyphsInAscendingOrder)
{
    const std::set<int> expected = expectedCodes();
    ASSERT_EQ(MAV::fontGlyphCount(), 108u);
    int previous = -1;
    for (unsigned i = 0; i < MAV::fontGlyphCount(); ++i) {
        const int code = MAV::fontGlyphCode(i);
        EXPECT_GT(code, previous);
        EXPECT_EQ(expected.count(code), 1u) << code;
        previous = code;
    }
    EXPECT_EQ(MAV::fontGlyphCode(108), -1);
    for (int code = 0; code <= 0xFFFF; ++code) {
        const bool has = !get_ascii_from_map(code).isEmpty();
        EXPECT_EQ(has, expected.count(code) == 1) << code;
    }
}

TEST(FontTest, LookupUsesTheLow16BitsAndBothKeyTypesAgree)
{
    EXPECT_TRUE(get_ascii_from_map(32).isEmpty());
    EXPECT_TRUE(get_ascii_from_map(L' ').isEmpty());
    EXPECT_TRUE(get_ascii_from_map(0).isEmpty());
    const Glyph a = get_ascii_from_map(65);
    ASSERT_FALSE(a.isEmpty());
    EXPECT_EQ(get_ascii_from_map(65 + 65536), a);
    EXPECT_EQ(get_ascii_from_map(L'A'), a);
    EXPECT_EQ(get_ascii_from_map(static_cast<int>(0xFFFF0041u)), a);
    EXPECT_EQ(get_ascii_from_map(L'\u00fc'), get_ascii_from_map(252));
    EXPECT_EQ(get_ascii_from_map(L'\u00c4'), get_ascii_from_map(196));
    EXPECT_NE(get_ascii_from_map(252), get_ascii_from_map(L'u'));
    EXPECT_NE(get_ascii_from_map(L'O'), get_ascii_from_map(L'0'));
    // A copy: changing it leaves the table alone.
    Glyph copy = get_ascii_from_map(L'B');
    copy.removeAll();
    EXPECT_FALSE(get_ascii_from_map(L'B').isEmpty());
}

TEST(FontTest, RegionsAndCountersOfKnownGlyphs)
{
    const Glyph excl = get_ascii_from_map(L'!');
    ASSERT_EQ(excl.len(), 2);
    EXPECT_EQ(excl[0].len(), 1);
    EXPECT_EQ(excl[1].len(), 1);
    const Glyph hash = get_ascii_from_map(L'#');
    ASSERT_EQ(hash.len(), 1);
    EXPECT_EQ(hash[0].len(), 2);
    // Letters and figures with one counter: one region, outer outline and one hole.
    for (wchar_t c : std::wstring(L"ADOPQRabdegopq0469@")) {
        const Glyph g = get_ascii_from_map(c);
        ASSERT_EQ(g.len(), 1) << static_cast<int>(c);
        EXPECT_EQ(g[0].len(), 2) << static_cast<int>(c);
    }
    for (wchar_t c : std::wstring(L"B8$"))
        EXPECT_EQ(outlineCount(get_ascii_from_map(c)), 3) << static_cast<int>(c);
    // Glyphs without counters: one outline per region.
    for (wchar_t c : std::wstring(L"CEFGHIJKLMNSTUVWXYZcfhklmnrstuvwxyz12357"))
        EXPECT_EQ(outlineCount(get_ascii_from_map(c)), get_ascii_from_map(c).len()) << static_cast<int>(c);
    // Umlauts: the letter and two dots; i and j carry one dot.
    for (int c : {196, 214, 220, 228, 246, 252})
        EXPECT_EQ(get_ascii_from_map(c).len(), 3) << c;
    EXPECT_EQ(get_ascii_from_map(L'i').len(), 2);
    EXPECT_EQ(get_ascii_from_map(L'j').len(), 2);
}

TEST(FontTest, CellMetrics)
{
    CMavPoint3d lo, hi;
    box(get_ascii_from_map(L'H'), lo, hi);
    EXPECT_NEAR(lo.y, 0.0, 0.005);
    EXPECT_NEAR(hi.y, 1.0, 0.005);
    EXPECT_NEAR(lo.x, 0.05, 0.005);
    EXPECT_GT(hi.x - lo.x, 0.6);
    box(get_ascii_from_map(L'x'), lo, hi);
    EXPECT_NEAR(hi.y, (0.7 + 0.14) / 1.14, 0.01);  // x-height with the pen
    box(get_ascii_from_map(L'p'), lo, hi);
    EXPECT_LT(lo.y, -0.25);
    EXPECT_GT(lo.y, -0.36);
    box(get_ascii_from_map(196), lo, hi);
    EXPECT_GT(hi.y, 1.1);
    EXPECT_LT(hi.y, 1.2);
    box(get_ascii_from_map(L'['), lo, hi);
    EXPECT_GT(hi.y, 1.1);
    EXPECT_LT(lo.y, -0.2);
    // The dots of an umlaut sit clear above the letter.
    const Glyph ae = get_ascii_from_map(228);
    CMavPoint3d dlo, dhi;
    box(Glyph({ae[1]}), dlo, dhi);
    box(Glyph({ae[0]}), lo, hi);
    EXPECT_GT(dlo.y, hi.y + 0.03);
}

TEST(FontTest, EveryOutlineIsAClosedSimplePolygonInsideTheCell)
{
    int segments = 0;
    for (unsigned gi = 0; gi < MAV::fontGlyphCount(); ++gi) {
        const int code = MAV::fontGlyphCode(gi);
        const Glyph g = get_ascii_from_map(code);
        ASSERT_GE(g.len(), 1) << code;
        ASSERT_LE(g.len(), 3) << code;
        for (int r = 0; r < g.len(); ++r) {
            const CMavArrayTempl<CMavVertexArray>& region = g[r];
            ASSERT_GE(region.len(), 1) << code;
            ASSERT_LE(region.len(), 3) << code;
            for (int o = 0; o < region.len(); ++o) {
                const CMavVertexArray& outline = region[o];
                segments += outline.len();
                ASSERT_GE(outline.len(), 3) << code;
                EXPECT_TRUE(outline.isClosed(0.0)) << code;
                EXPECT_TRUE(outline.isContinuous(0.0)) << code;
                // Outer outlines counter-clockwise, holes clockwise.
                if (o == 0)
                    EXPECT_GT(signedArea(outline), 0.0) << code;
                else
                    EXPECT_LT(signedArea(outline), 0.0) << code;
                for (int s = 0; s < outline.len(); ++s) {
                    const CMavVertex& v = outline[s];
                    EXPECT_EQ(v.bulge, 0.0) << code;
                    EXPECT_EQ(v.start.z, 0.0) << code;
                    EXPECT_GE(v.start.x, 0.0) << code;
                    EXPECT_LE(v.start.x, 1.3) << code;
                    EXPECT_GE(v.start.y, -0.36) << code;
                    EXPECT_LE(v.start.y, 1.2) << code;
                }
                if (o > 0) {
                    // A hole lies inside its outer outline and does not cross it.
                    for (int s = 0; s < outline.len(); ++s)
                        EXPECT_TRUE(inside(outline[s].start, region[0])) << code;
                }
            }
            // No two segments of the region cross (within an outline or between outlines).
            for (int o1 = 0; o1 < region.len(); ++o1)
                for (int o2 = o1; o2 < region.len(); ++o2)
                    for (int s1 = 0; s1 < region[o1].len(); ++s1)
                        for (int s2 = (o1 == o2 ? s1 + 1 : 0); s2 < region[o2].len(); ++s2)
                            EXPECT_FALSE(properCross(region[o1][s1], region[o2][s2]))
                                << code << " outlines " << o1 << "," << o2 << " segments " << s1 << "," << s2;
        }
        // After the orientation step every outline runs counter-clockwise.
        Glyph oriented = g;
        for (int r = 0; r < oriented.len(); ++r) {
            mav_vll_orient(oriented[r]);
            for (int o = 0; o < oriented[r].len(); ++o)
                EXPECT_GT(signedArea(oriented[r][o]), 0.0) << code;
        }
    }
    EXPECT_GT(segments, 1000);
}

namespace {

void textBox(const Glyph& g, CMavPoint3d& lo, CMavPoint3d& hi)
{
    box(g, lo, hi);
}

double glyphWidth(wchar_t c)
{
    CMavPoint3d lo, hi;
    box(get_ascii_from_map(c), lo, hi);
    return hi.x - lo.x;
}

}  // namespace

TEST(FontTextLayoutTest, GlyphsAdvanceByTheirBoxWidthPlusAHalf)
{
    const CMavPoint3d origin(0, 0, 0);
    CMavPoint3d lo, hi, alo, ahi;
    box(get_ascii_from_map(L'A'), alo, ahi);
    const double wa = ahi.x - alo.x;
    const double wb = glyphWidth(L'B');

    const Glyph one = MAV::fontTextLayout(L"A", L"TL", origin);
    ASSERT_EQ(one.len(), get_ascii_from_map(L'A').len());
    textBox(one, lo, hi);
    EXPECT_NEAR(hi.y, 0.0, 1e-12);               // top at the insertion point
    EXPECT_NEAR(lo.y, -ahi.y, 1e-12);
    EXPECT_NEAR(lo.x, alo.x, 1e-12);             // the glyph keeps its place in the cell

    const Glyph two = MAV::fontTextLayout(L"AB", L"", origin);
    ASSERT_EQ(two.len(), get_ascii_from_map(L'A').len() + get_ascii_from_map(L'B').len());
    CMavPoint3d blo, bhi;
    box(Glyph({two[two.len() - 1]}), blo, bhi);
    EXPECT_NEAR(blo.x, wa + 0.5 + alo.x, 1e-9);  // B's own left offset in the cell is also 0.05
    EXPECT_NEAR(blo.y, 0.0, 0.01);

    // Right aligned: moved left by both widths, two gaps of 0.5, less 0.3.
    const Glyph tr = MAV::fontTextLayout(L"AB", L"TR", origin);
    textBox(tr, lo, hi);
    EXPECT_NEAR(hi.x, wa + 0.5 + alo.x + wb - (wa + 0.5 + wb + 0.5 - 0.3), 1e-9);
    EXPECT_NEAR(hi.y, 0.0, 1e-12);

    // A character without a glyph neither draws nor advances.
    EXPECT_EQ(MAV::fontTextLayout(L"A B", L"CC", origin), MAV::fontTextLayout(L"AB", L"CC", origin));
    EXPECT_TRUE(MAV::fontTextLayout(L"", L"TL", origin).isEmpty());
    EXPECT_TRUE(MAV::fontTextLayout(nullptr, L"TL", origin).isEmpty());
    EXPECT_TRUE(MAV::fontTextLayout(L"   ", L"CC", origin).isEmpty());
}

TEST(FontTextLayoutTest, AlignmentCodesShiftByWidthAndHeight)
{
    const CMavPoint3d p(2, 3, 0);
    CMavPoint3d hlo, hhi;
    box(get_ascii_from_map(L'H'), hlo, hhi);
    const double w = (hhi.x - hlo.x) + 0.5 - 0.3;
    const double h = 3 + hhi.y;  // the box is already moved by the insertion point
    struct Case {
        const wchar_t* code;
        double dx, dy;
    } cases[] = {{L"TL", 0, -h},         {L"TC", -w / 2, -h}, {L"TR", -w, -h},      {L"CL", 0, -h / 2},
                 {L"CC", -w / 2, -h / 2}, {L"CR", -w, -h / 2}, {L"BC", -w / 2, 0}, {L"BR", -w, 0},
                 {L"BL", 0, 0},          {L"tl", 0, 0},       {L"", 0, 0},          {nullptr, 0, 0}};
    for (const Case& c : cases) {
        CMavPoint3d lo, hi;
        box(MAV::fontTextLayout(L"H", c.code, p), lo, hi);
        EXPECT_NEAR(lo.x, 2 + hlo.x + c.dx, 1e-9) << (c.code ? c.code[0] : L'-');
        EXPECT_NEAR(hi.y, 3 + hhi.y + c.dy, 1e-9) << (c.code ? c.code[0] : L'-');
    }
    // With the insertion point at y = 10 the height includes the 10: top-aligned text ends at y = 0.
    CMavPoint3d lo, hi;
    box(MAV::fontTextLayout(L"Hx", L"TL", CMavPoint3d(0, 10, 0)), lo, hi);
    EXPECT_NEAR(hi.y, 0.0, 1e-12);
}

TEST(FontTextLayoutTest, HolesAreTurnedAndMovedWithTheirOutline)
{
    const Glyph laid = MAV::fontTextLayout(L"O", L"CC", CMavPoint3d(5, 5, 0));
    ASSERT_EQ(laid.len(), 1);
    ASSERT_EQ(laid[0].len(), 2);
    for (int o = 0; o < 2; ++o)
        EXPECT_GT(signedArea(laid[0][o]), 0.0);  // both counter-clockwise now
    for (int s = 0; s < laid[0][1].len(); ++s)
        EXPECT_TRUE(inside(laid[0][1][s].start, laid[0][0]));
    // The stored glyph is untouched by the layout.
    EXPECT_LT(signedArea(get_ascii_from_map(L'O')[0][1]), 0.0);
}

namespace {

// FNV-1a over the counts and the bit patterns of every coordinate and bulge, in order.
std::uint64_t outlineHash(const Glyph& regions)
{
    std::uint64_t h = 1469598103934665603ull;
    auto add = [&h](const void* p, std::size_t n) {
        const unsigned char* b = static_cast<const unsigned char*>(p);
        for (std::size_t i = 0; i < n; ++i) {
            h ^= b[i];
            h *= 1099511628211ull;
        }
    };
    for (int r = 0; r < regions.len(); ++r) {
        const int outlines = regions[r].len();
        add(&outlines, sizeof outlines);
        for (int o = 0; o < outlines; ++o) {
            const CMavVertexArray& vl = regions[r][o];
            const int n = vl.len();
            add(&n, sizeof n);
            for (int v = 0; v < n; ++v) {
                const CMavVertex& x = vl[v];
                const double d[7] = {x.start.x, x.start.y, x.start.z, x.end.x, x.end.y, x.end.z, x.bulge};
                add(d, sizeof d);
            }
        }
    }
    return h;
}

// Every glyph in turn, a space and a character the font lacks, repeated to 10,000 characters.
std::wstring longText()
{
    std::wstring all;
    for (int c = 33; c <= 126; ++c)
        all += static_cast<wchar_t>(c);
    for (int c : {177, 178, 179, 186, 188, 189, 190, 196, 214, 220, 223, 228, 246, 252, 32, 0x263A})
        all += static_cast<wchar_t>(c);
    std::wstring text;
    while (text.size() < 10000)
        text += all;
    text.resize(10000);
    return text;
}

} // namespace

// The outlines of a long text, bit for bit, as the layout has always produced them: the sums were taken from the
// straightforward layout (orient each glyph's copy, move it, measure it) before it was made faster. Any change
// of orientation, order, rounding or the sign of a zero changes them.
TEST(FontTextLayoutTest, LongTextOutlinesAreBitIdentical)
{
    const std::wstring text = longText();
    const Glyph laid = MAV::fontTextLayout(text.c_str(), L"CC", CMavPoint3d(1, 2, 0));
    EXPECT_EQ(laid.len(), 12536);
    EXPECT_EQ(outlineHash(laid), 0x24257ea8cc9c16f5ull);

    // The other alignments and insertion points (negative zeros among them) on the first 2,000 characters.
    const std::wstring part = text.substr(0, 2000);
    struct Case {
        const wchar_t* align;
        CMavPoint3d point;
        std::uint64_t hash;
    } cases[] = {{L"CC", CMavPoint3d(1, 2, 0), 0x4358ae602ed56d79ull},
                 {L"TR", CMavPoint3d(-3.25, 0.5, 7), 0x8568fa74a3a6d5edull},
                 {L"BL", CMavPoint3d(0, -0.0, -0.0), 0x59205ac115d5cf05ull},
                 {L"TL", CMavPoint3d(1e6, -2.5e-3, 0), 0xcbcf4fd014fc11c9ull}};
    for (const Case& c : cases) {
        const Glyph some = MAV::fontTextLayout(part.c_str(), c.align, c.point);
        EXPECT_EQ(some.len(), 2508) << c.align[0];
        EXPECT_EQ(outlineHash(some), c.hash) << c.align[0];
    }

    // A text item of the same text holds the same outlines, and its extents (item matrix scaling by 2) are the
    // values the item always had.
    CMavGDX gdx(CMavColor(), CMavMatrix3d(), 0.0, 0, CMavPoint3d(), CMavPoint3d());
    gdx.imageTxt({1}, 0, text.c_str(), CMavColor(1), CMavMatrix3d::scaling(2.0), L"CC", CMavPoint3d(1, 2, 0));
    Glyph stored;
    gdx.geomGet(stored, 0);
    EXPECT_EQ(outlineHash(stored), 0x24257ea8cc9c16f5ull);
    CMavPoint3d lo, hi;
    gdx.extmaxGet(lo, hi);
    EXPECT_EQ(lo, CMavPoint3d(-10800.74800000098, 0.31600000000000028, 0));
    EXPECT_EQ(hi, CMavPoint3d(10804.548000000977, 3.1579999999999999, 0));
}
