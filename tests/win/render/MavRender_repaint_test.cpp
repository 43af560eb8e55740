// Repainting in the window: hatch lines kept between drawings must light exactly the pixels that hatching afresh
// lights, and texts with holes (one clip region per small text, kept brushes) those of filling glyph by glyph.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "gdx/CMavGDX.h"
#include "geometry/hatch.h"
#include "geometry/viewdir.h"
#include "render/MavRender.h"
#include "render_test_support.h"

namespace {

using afxtest::Dib;
using rendertest::differing;

constexpr int kW = 200;
constexpr int kH = 160;

CMavColor rgb(COLORREF bgr)
{
    CMavColor c;
    c.setOleColor(bgr);
    return c;
}

CMavVertexArray polygon(std::initializer_list<CMavPoint3d> corners)
{
    const std::vector<CMavPoint3d> p(corners);
    CMavVertexArray vl;
    vl.append(p[0], p[1]);
    for (size_t k = 2; k < p.size(); ++k)
        vl.appendTo(p[k]);
    vl.appendTo(p[0]);
    return vl;
}

// Three hatched regions in world units: a quadrilateral, one with a hole, one with an arc; the view fits
// (0, 0)-(100, 80) into the image.
CMavGDX hatchedList(const MAV::CHatchProp& hatch)
{
    CMavGDX g(rgb(0xFFFFFF), CMavMatrix3d(), 0.0, 0, CMavPoint3d(0, 0, 0), CMavPoint3d(100, 80, 0));
    g.viewMtxSet(getViewMtx(CMavPoint3d(0, 0, 0), CMavPoint3d(100, 80, 0), kH, kW, 0.05));
    CMavArrayTempl<CMavVertexArray> a;
    a.append(polygon({CMavPoint3d(5, 5, 0), CMavPoint3d(45, 8, 0), CMavPoint3d(40, 35, 0), CMavPoint3d(8, 30, 0)}));
    CMavArrayTempl<CMavVertexArray> b;
    b.append(polygon({CMavPoint3d(55, 5, 0), CMavPoint3d(95, 5, 0), CMavPoint3d(95, 40, 0), CMavPoint3d(55, 40, 0)}));
    b.append(polygon({CMavPoint3d(65, 15, 0), CMavPoint3d(85, 15, 0), CMavPoint3d(85, 30, 0), CMavPoint3d(65, 30, 0)}));
    CMavArrayTempl<CMavVertexArray> c;
    CMavVertexArray arc;
    arc.append(CMavPoint3d(10, 45, 0), CMavPoint3d(60, 45, 0));
    arc.appendTo(CMavPoint3d(60, 75, 0), 0.4);
    arc.appendTo(CMavPoint3d(10, 75, 0));
    arc.appendTo(CMavPoint3d(10, 45, 0));
    c.append(arc);
    const COLORREF colours[] = {0x0000C0, 0x00A000, 0xC00000};
    int k = 0;
    for (const auto& reg : {a, b, c})
        g.imageReg(CMavArrayTempl<int>{k + 1}, 0x2, reg, rgb(colours[k]), CMavMatrix3d(), CMavArrayTempl<double>(), 1.0,
                   0, CMavColor(0), hatch),
            ++k;
    return g;
}

std::unique_ptr<Dib> paint(CMavGDX& g)
{
    auto d = std::make_unique<Dib>(kW, kH);
    MAV::renderWindow(d->dc, g, d->w, d->h);
    return d;
}

const CMavHatchCache* cacheOf(const CMavGDX& g, int item)
{
    return g.getDisplayList()[item].rare().m_hatchCache.get();
}

} // namespace

// A list painted again and again through zooms, pans, a new pattern, a moved group and a zoom at which the hatch
// is too dense (filled instead), against a list built fresh for each step and painted once: every pixel equal.
// A pan keeps the hatch lines and the legibility answer; the others make them anew.
TEST(RenderRepaint, KeptHatchLinesPaintLikeFreshOnes)
{
    const MAV::CHatchProp ansi(L"ANSI31", 40.0, 0.0), other(L"ANSI37", 60.0, 0.4);
    CMavGDX kept = hatchedList(ansi);
    const auto first = paint(kept);
    ASSERT_NE(cacheOf(kept, 0), nullptr);
    EXPECT_GT(cacheOf(kept, 0)->lines.len(), 3);
    EXPECT_GT(rendertest::countOther(*first, 0xFFFFFF), 200); // hatch lines, not a fill: both colours inside
    const struct {
        const char* what;
        CMavMatrix3d zoom;
        MAV::CHatchProp hatch;
        bool moveGroup, legible, keepsCache;
    } steps[] = {
        {"again", CMavMatrix3d(), ansi, false, true, true},
        {"zoom in", CMavMatrix3d::scaling(1.6, CMavPoint3d(100, 80, 0)), ansi, false, true, false},
        {"pan", CMavMatrix3d::translation(CMavVector3d(-23, 11, 0)), ansi, false, true, true},
        {"other pattern", CMavMatrix3d(), other, false, true, false},
        {"group moved", CMavMatrix3d(), other, true, true, false},
        {"too dense", CMavMatrix3d::scaling(0.05, CMavPoint3d(100, 80, 0)), ansi, true, false, false},
        {"legible again", CMavMatrix3d::scaling(1.2), ansi, true, true, false},
        {"turned", CMavMatrix3d::scaling(2.0), ansi, true, true, false},
    };
    const CMavMatrix3d moved = CMavMatrix3d::translation(CMavVector3d(3, -4, 0));
    for (const auto& s : steps) {
        const CMavHatchCache* previous = cacheOf(kept, 1);
        const bool turned = std::string(s.what) == "turned";
        kept.zoomMtxSet(s.zoom);
        for (int group = 1; group <= 3; ++group)
            kept.hatchSet(CMavArrayTempl<int>{group}, s.hatch);
        if (s.moveGroup)
            kept.mtxSet(CMavArrayTempl<int>{2}, moved);
        if (turned)
            kept.viewDirectionHvcSet(mav_gdx_view_vdir_get(L"SW"));
        const auto mine = paint(kept);
        if (s.keepsCache) {
            EXPECT_EQ(cacheOf(kept, 1), previous) << s.what;
        }
        CMavGDX fresh = hatchedList(s.hatch);
        fresh.zoomMtxSet(s.zoom);
        if (s.moveGroup)
            fresh.mtxSet(CMavArrayTempl<int>{2}, moved);
        if (turned)
            fresh.viewDirectionHvcSet(mav_gdx_view_vdir_get(L"SW"));
        EXPECT_EQ(differing(*mine, *paint(fresh)), 0) << s.what;
        EXPECT_EQ(differing(*mine, *paint(kept)), 0) << s.what << ": painting a second time changes nothing";
        EXPECT_EQ((std::vector<bool>{cacheOf(kept, 0)->hasLines, cacheOf(kept, 0)->legibleKnown,
                                     cacheOf(kept, 0)->legible, cacheOf(kept, 0)->hatch == s.hatch}),
                  (std::vector<bool>{s.legible, true, s.legible, true}))
            << s.what;
    }
}

namespace {

// The texts are painted into a larger image.
constexpr int kWide = 240;
constexpr int kHigh = 180;

std::vector<POINT> devicePoints(const CMavVertexArray& vl, const CMavMatrix3d& toDevice)
{
    const CMavPoint3dArray pts = vl.getTransformedCopy(toDevice).pts(true, 0.5);
    std::vector<POINT> out;
    for (int k = 0; k < pts.len(); ++k)
        out.push_back(POINT{static_cast<LONG>(pts[k].x), static_cast<LONG>(pts[k].y)});
    return out;
}

// Selects a pen and a brush of one colour for the life of the object.
struct Ink {
    HDC dc;
    HPEN pen;
    HBRUSH brush;
    HGDIOBJ oldPen, oldBrush;
    Ink(HDC d, COLORREF c)
        : dc(d), pen(CreatePen(PS_SOLID, 0, c)), brush(CreateSolidBrush(c)), oldPen(SelectObject(d, pen)),
          oldBrush(SelectObject(d, brush))
    {
    }
    ~Ink()
    {
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(pen);
        DeleteObject(brush);
    }
};

} // namespace

// Filled texts with holes equal their glyphs filled one by one through a clip region without that glyph's holes:
// single texts from 4 to 150 pixels high, turned and mirrored (large ones take the window's glyph fill, small ones
// one clip region per text), then rounds of random texts of 4 to 28 pixels, turned, stretched and mirrored, lying
// across each other and across the image's edges, where glyphs nearly touch and a text's colour is kept for the
// next text of the same colour.
TEST(RenderRepaint, TextsWithHolesMatchGlyphByGlyphClipping)
{
    const wchar_t* single = L"A8Bo%@\u00c4g&$R0";
    const wchar_t* words[] = {L"B8o@a", L"R0%&g", L"\u00c4bd9P", L"Q6e$A"};
    const COLORREF colours[] = {0x0000B0, 0x00A000, 0xA00000, 0x404040};
    const struct {
        double height, angle, x, y;
        bool mirror;
        const wchar_t* text = nullptr; // the single text when null
    } cases[] = {{4, 0, 3, 170, false},       {6, 0, 3, 170, false},       {8, 0.05, 1, 165, false},
                 {9, 0.3, 5, 160, false},     {10.2, 0, 2, 150, false},    {11, 0, 0.5, 145, true},
                 {12, 0.02, 1.3, 148, false}, {12.5, -0.2, 4, 170, false}, {13, 0, 0.7, 140, true},
                 {14, 0, 2, 140, false},      {23, -0.7, 20, 170, false},  {30, 0, 0, 120, true},
                 {40, 0, 0, 40, false},       {150, 0, -120, 30, false},
                 // A "B" whose truncated holes reach its outline; across the top edge, where a glyph fill that
                 // ignored the edge lit a pixel of the top row.
                 {12.75, 0.076441798841099043, 5.689862222816803, 150.60550359193293, false, L"#$%&04689@AB"},
                 {17, 0.13430386661726276, 5.3092933043719528, 150.52487684331853, true, L"#$%&04689@AB"}};
    const int nCases = static_cast<int>(sizeof cases / sizeof cases[0]);
    std::mt19937 rnd(20261206);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int round = 0; round < nCases + 40; ++round) {
        CMavGDX g(rgb(0xFFFFFF), CMavMatrix3d(), 0.0, 0, CMavPoint3d(), CMavPoint3d());
        CMavMatrix3d upright; // device y points down: the view turns the text upright
        upright.m[1][1] = -1.0;
        upright.m[1][3] = kHigh;
        g.viewMtxSet(upright);
        for (int t = 0; t < (round < nCases ? 1 : 8); ++t) {
            const bool fixed = round < nCases;
            const double height = fixed ? cases[round].height : 4.0 + 24.0 * unit(rnd);
            CMavMatrix3d turn, flip;
            turn.setToRotation(fixed ? cases[round].angle : unit(rnd) - 0.5, CMavVector3d::kZAxis);
            if (fixed ? cases[round].mirror : unit(rnd) < 0.3)
                flip.m[1][1] = -1.0;
            CMavMatrix3d size = CMavMatrix3d::scaling(height);
            if (!fixed)
                size.m[0][0] *= 1.0 + 0.3 * unit(rnd);
            const double x = fixed ? cases[round].x : -20 + 220 * unit(rnd),
                         y = fixed ? cases[round].y : -10 + 200 * unit(rnd);
            const CMavMatrix3d m = CMavMatrix3d::translation(CMavVector3d(x, y, 0)) * turn * flip * size;
            const wchar_t* text = fixed ? (cases[round].text ? cases[round].text : single) : words[t % 4];
            g.imageTxt(CMavArrayTempl<int>(), 0x1, text, rgb(colours[t % 4]), m, L"BL",
                       CMavPoint3d());
        }
        Dib mine(kWide, kHigh), ref(kWide, kHigh);
        MAV::renderWindow(mine.dc, g, kWide, kHigh);
        // Drawn in list order, which the window's drawing may have sorted: each item is read back after it.
        for (int i = 0; i < g.lenGet(); ++i) {
            const CMavMatrix3d toDevice =
                g.zoomMtxGet() * (g.projMtxGet() * g.viewMtxGet()) * g.viewDirectionMtxGet() * g.mtxGet(i);
            CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> glyphs;
            g.geomGet(glyphs, i);
            Ink ink(ref.dc, g.colorGet(i).oleColor() & 0xFFFFFF);
            SetPolyFillMode(ref.dc, ALTERNATE);
            for (const CMavArrayTempl<CMavVertexArray>& glyph : glyphs) {
                for (int h = 1; h < glyph.len(); ++h) {
                    const std::vector<POINT> hole = devicePoints(glyph[h], toDevice);
                    if (hole.size() < 3)
                        continue;
                    HRGN rgn = CreatePolygonRgn(hole.data(), static_cast<int>(hole.size()), ALTERNATE);
                    ExtSelectClipRgn(ref.dc, rgn, RGN_DIFF);
                    DeleteObject(rgn);
                }
                const std::vector<POINT> outer = devicePoints(glyph[0], toDevice);
                Polygon(ref.dc, outer.data(), static_cast<int>(outer.size()));
                SelectClipRgn(ref.dc, nullptr);
            }
        }
        EXPECT_EQ(differing(mine, ref), 0) << "round " << round;
        EXPECT_GT(rendertest::countOther(mine, 0xFFFFFF), round < nCases ? 3 * cases[round].height : 400.0)
            << "round " << round;
    }
}

// Twelve hatched quadrilaterals in three colours and a line of a fourth, repainted at zoom steps where the hatch is
// legible or too dense (filled): every step equals the bare GDI calls.
TEST(RenderRepaint, HatchedRegionsThroughZoomStepsMatchBareCalls)
{
    const MAV::CHatchProp hatch(L"ANSI31", 40.0, 0.3); // 5 units between lines
    CMavGDX g(rgb(0xFFFFFF), CMavMatrix3d(), 0.0, 0, CMavPoint3d(), CMavPoint3d(120, 90, 0));
    g.viewMtxSet(getViewMtx(CMavPoint3d(), CMavPoint3d(120, 90, 0), kHigh, kWide, 0.05));
    const COLORREF colours[] = {0x0000C0, 0x00A000, 0xC00000, 0x808000};
    std::vector<CMavArrayTempl<CMavVertexArray>> regions;
    for (int i = 0; i < 12; ++i) {
        const double x = 4 + (i % 4) * 29, y = 4 + (i / 4) * 28;
        CMavArrayTempl<CMavVertexArray> reg;
        reg.append(polygon({CMavPoint3d(x, y, 0), CMavPoint3d(x + 24, y + 2, 0), CMavPoint3d(x + 20, y + 22, 0),
                            CMavPoint3d(x + 3, y + 19, 0)}));
        regions.push_back(reg);
        g.imageReg(CMavArrayTempl<int>(), 0x2, reg, rgb(colours[i % 3]), CMavMatrix3d(), CMavArrayTempl<double>(),
                   1.0, 0, CMavColor(0), hatch);
        if (i == 5) { // a line between two rows of regions
            CMavVertexArray across;
            across.append(CMavPoint3d(0, 29, 0), CMavPoint3d(120, 29, 0));
            g.imageVl(CMavArrayTempl<int>(), 0, across, rgb(colours[3]), CMavMatrix3d(), CMavArrayTempl<double>(), 1.0,
                      0);
        }
    }
    const auto line = [](HDC dc, const CMavMatrix3d& toDevice, const CMavVertex& v) {
        const CMavPoint3d a = toDevice * v.start, b = toDevice * v.end;
        MoveToEx(dc, static_cast<int>(a.x), static_cast<int>(a.y), nullptr);
        LineTo(dc, static_cast<int>(b.x), static_cast<int>(b.y));
    };
    int legible = 0, dense = 0;
    for (double zoom : {1.0, 1.6, 0.2, 1.0, 2.5, 0.2, 1.3}) {
        g.zoomMtxSet(CMavMatrix3d::scaling(zoom, CMavPoint3d(kWide / 2.0, kHigh / 2.0, 0)));
        Dib mine(kWide, kHigh), bare(kWide, kHigh);
        MAV::renderWindow(mine.dc, g, kWide, kHigh);
        const CMavMatrix3d toDevice = g.zoomMtxGet() * (g.projMtxGet() * g.viewMtxGet());
        for (int i = 0; i < 12; ++i) {
            const CMavArrayTempl<CMavVertexArray> split = mav_gdx_image_reg_split(regions[size_t(i)]);
            Ink ink(bare.dc, colours[i % 3]);
            if (mav_gdx_pattern_test(split, hatch, toDevice)) {
                ++legible;
                for (const CMavVertexArray& l : mav_gdx_image_reg_hatch2(split, CMavMatrix3d(), hatch))
                    for (const CMavVertex& v : l)
                        line(bare.dc, toDevice, v);
            } else {
                ++dense;
                const std::vector<POINT> p = devicePoints(split[0], toDevice);
                Polygon(bare.dc, p.data(), static_cast<int>(p.size()));
            }
            if (i == 5) {
                Ink pen(bare.dc, colours[3]);
                line(bare.dc, toDevice, CMavVertex(CMavPoint3d(0, 29, 0), CMavPoint3d(120, 29, 0)));
            }
        }
        EXPECT_EQ(differing(mine, bare), 0) << "zoom " << zoom;
        EXPECT_GT(rendertest::countOther(mine, 0xFFFFFF), 200) << "zoom " << zoom;
    }
    EXPECT_GT(legible, 0);
    EXPECT_GT(dense, 0);
}
