// Built-in outline font: coverage, lookup keys, the text layout and its outlines bit for bit.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "base/g_vl.h"
#include "gdx/CMavGDX.h"
#include "geometry/font.h"

namespace
{

using Glyph = CMavArrayTempl<CMavArrayTempl<CMavVertexArray>>;

// FNV-1a over the counts and the bit patterns of every coordinate and bulge, in order.
std::uint64_t outlineHash(const Glyph& regions)
{
    std::uint64_t h = 1469598103934665603ull;
    auto add = [&h](const void* p, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i)
            h = (h ^ static_cast<const unsigned char*>(p)[i]) * 1099511628211ull;
    };
    for (const auto& region : regions) {
        const int outlines = region.len();
        add(&outlines, sizeof outlines);
        for (const CMavVertexArray& vl : region) {
            const int n = vl.len();
            add(&n, sizeof n);
            for (const CMavVertex& x : vl) {
                const double d[7] = {x.start.x, x.start.y, x.start.z, x.end.x, x.end.y, x.end.z, x.bulge};
                add(d, sizeof d);
            }
        }
    }
    return h;
}

void box(const Glyph& g, CMavPoint3d& lo, CMavPoint3d& hi)
{
    CMavVertexArray all;
    for (const auto& region : g)
        for (const CMavVertexArray& outline : region)
            all.append(outline);
    all.extents(lo, hi);
}

} // namespace

TEST(FontTest, ExactlyTheCoveredCodesHaveSoundGlyphsFoundByTheirLow16Bits)
{
    std::set<int> expected;
    for (int c = 33; c <= 126; ++c)
        expected.insert(c);
    for (int c : {177, 178, 179, 186, 188, 189, 190, 196, 214, 220, 223, 228, 246, 252})
        expected.insert(c);
    ASSERT_EQ(MAV::fontGlyphCount(), 108u);
    std::set<int> listed{MAV::fontGlyphCode(108)}; // -1: past the end; ascending, else -2
    for (unsigned i = 0; i < MAV::fontGlyphCount(); ++i)
        listed.insert(MAV::fontGlyphCode(i) > MAV::fontGlyphCode(i - 1) || i == 0 ? MAV::fontGlyphCode(i) : -2);
    expected.insert(-1);
    EXPECT_EQ(listed, expected);
    for (int code = 0; code <= 0xFFFF; ++code) {
        const Glyph glyph = get_ascii_from_map(code);
        EXPECT_EQ(!glyph.isEmpty(), expected.count(code) == 1) << code;
        // Each outline is a closed straight polygon in the cell (x 0 ... 1.3, y -0.36 ... 1.2), outer ones
        // counter-clockwise, holes clockwise and inside their outer one.
        for (const auto& region : glyph) {
            ASSERT_TRUE(region.len() >= 1 && region.len() <= 3) << code;
            for (int o = 0; o < region.len(); ++o) {
                ASSERT_GE(region[o].len(), 3) << code;
                EXPECT_TRUE(region[o].isClosed(0.0) && region[o].isContinuous(0.0)) << code;
                EXPECT_EQ(MAV::g_vl_area(region[o]) > 0.0, o == 0) << code;
                for (const CMavVertex& v : region[o])
                    EXPECT_TRUE(v.bulge == 0.0 && v.start.z == 0.0 && v.start.x >= 0.0 && v.start.x <= 1.3 &&
                                v.start.y >= -0.36 && v.start.y <= 1.2 &&
                                (o == 0 || MAV::g_vll_pt_inside({region[0]}, v.start) != 0))
                        << code;
            }
        }
    }
    const Glyph a = get_ascii_from_map(65);
    EXPECT_TRUE(get_ascii_from_map(65 + 65536) == a && get_ascii_from_map(static_cast<int>(0xFFFF0041u)) == a);
    EXPECT_NE(get_ascii_from_map(252), get_ascii_from_map(L'u'));
}

// The outlines of a long text, bit for bit, as the layout has always produced them: the sums were taken from the
// straightforward layout (orient each glyph's copy, move it, measure it) before it was made faster. Any change
// of a glyph, orientation, order, advance, rounding or the sign of a zero changes them.
TEST(FontTextLayoutTest, LongTextOutlinesAreBitIdentical)
{
    // Every glyph in turn, a space and a character the font lacks, repeated to 10,000 characters.
    std::wstring all, text;
    for (int c = 33; c <= 126; ++c)
        all += static_cast<wchar_t>(c);
    for (int c : {177, 178, 179, 186, 188, 189, 190, 196, 214, 220, 223, 228, 246, 252, 32, 0x263A})
        all += static_cast<wchar_t>(c);
    while (text.size() < 10000)
        text += all;
    text.resize(10000);
    const Glyph laid = MAV::fontTextLayout(text.c_str(), L"CC", CMavPoint3d(1, 2, 0));
    EXPECT_EQ(laid.len(), 12536);
    EXPECT_EQ(outlineHash(laid), 0x24257ea8cc9c16f5ull);

    // The other alignments and insertion points (negative zeros among them) on the first 2,000 characters.
    const std::wstring part = text.substr(0, 2000);
    const struct {
        const wchar_t* align;
        CMavPoint3d point;
        std::uint64_t hash;
    } cases[] = {{L"CC", CMavPoint3d(1, 2, 0), 0x4358ae602ed56d79ull},
                 {L"TR", CMavPoint3d(-3.25, 0.5, 7), 0x8568fa74a3a6d5edull},
                 {L"BL", CMavPoint3d(0, -0.0, -0.0), 0x59205ac115d5cf05ull},
                 {L"TL", CMavPoint3d(1e6, -2.5e-3, 0), 0xcbcf4fd014fc11c9ull}};
    for (const auto& c : cases) {
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

// Nine codes shift a glyph by its width (box + gap 0.5 - 0.3) and height (with the point's y); others: bottom left.
TEST(FontTextLayoutTest, AlignmentCodesShiftByWidthAndHeight)
{
    const CMavPoint3d p(2, 3, 0);
    CMavPoint3d hlo, hhi;
    box(get_ascii_from_map(L'H'), hlo, hhi);
    const double w = (hhi.x - hlo.x) + 0.5 - 0.3, h = 3 + hhi.y;
    const struct {
        const wchar_t* code;
        double dx, dy;
    } cases[] = {{L"TL", 0, -h},          {L"TC", -w / 2, -h}, {L"TR", -w, -h},    {L"CL", 0, -h / 2},
                 {L"CC", -w / 2, -h / 2}, {L"CR", -w, -h / 2}, {L"BC", -w / 2, 0}, {L"BR", -w, 0},
                 {L"BL", 0, 0},           {L"tl", 0, 0},       {L"", 0, 0},        {nullptr, 0, 0}};
    for (const auto& c : cases) {
        CMavPoint3d lo, hi;
        box(MAV::fontTextLayout(L"H", c.code, p), lo, hi);
        EXPECT_NEAR(lo.x, 2 + hlo.x + c.dx, 1e-9) << &c - cases;
        EXPECT_NEAR(hi.y, 3 + hhi.y + c.dy, 1e-9) << &c - cases;
    }
}
