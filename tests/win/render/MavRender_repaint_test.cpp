// Repainting in the window: hatch lines kept between drawings, and glyphs with holes filled without clipping. Both
// must light exactly the pixels that hatching afresh and filling through the clip region light; and repaints
// through zoom steps and small texts lying across each other equal the bare GDI calls they stand for.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "gdx/CMavGDX.h"
#include "geometry/font.h"
#include "geometry/hatch.h"
#include "render/MavRender.h"
#include "render_test_support.h"

namespace {

using afxtest::Dib;

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
        g.imageReg(CMavArrayTempl<int>{k + 1}, 0x2, reg, rgb(colours[k]), CMavMatrix3d(), CMavArrayTempl<double>(),
                   1.0, 0, CMavColor(0), hatch), ++k;
    return g;
}

std::unique_ptr<Dib> paint(CMavGDX& g)
{
    auto d = std::make_unique<Dib>(kW, kH);
    MAV::renderWindow(d->dc, g, d->w, d->h);
    return d;
}

int differing(const Dib& a, const Dib& b)
{
    int n = 0;
    for (int i = 0; i < a.w * a.h; ++i)
        n += (a.bits[i] & 0xFFFFFF) != (b.bits[i] & 0xFFFFFF);
    return n;
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
    const MAV::CHatchProp ansi(L"ANSI31", 40.0, 0.0);
    CMavGDX kept = hatchedList(ansi);
    const auto first = paint(kept);
    ASSERT_NE(cacheOf(kept, 0), nullptr);
    EXPECT_TRUE(cacheOf(kept, 0)->hasLines);
    EXPECT_GT(cacheOf(kept, 0)->lines.len(), 3);
    const CMavHatchCache* before = cacheOf(kept, 1);
    const auto again = paint(kept);
    EXPECT_EQ(differing(*first, *again), 0);
    EXPECT_EQ(cacheOf(kept, 1), before); // nothing changed: the same lines were drawn

    // Hatch lines are drawn, not a fill: the inside of a region has both colours.
    EXPECT_GT(rendertest::countOther(*first, 0xFFFFFF), 200);
    EXPECT_EQ(first->at(100, 150), 0xFFFFFFu); // outside every region

    struct Step {
        const char* what;
        CMavMatrix3d zoom;
        MAV::CHatchProp hatch;
        bool moveGroup;
        bool legible;
    } steps[] = {
        {"zoom in", CMavMatrix3d::scaling(1.6, CMavPoint3d(100, 80, 0)), ansi, false, true},
        {"pan", CMavMatrix3d::translation(CMavVector3d(-23, 11, 0)), ansi, false, true},
        {"other pattern", CMavMatrix3d(), MAV::CHatchProp(L"ANSI37", 60.0, 0.4), false, true},
        {"group moved", CMavMatrix3d(), MAV::CHatchProp(L"ANSI37", 60.0, 0.4), true, true},
        {"too dense", CMavMatrix3d::scaling(0.05, CMavPoint3d(100, 80, 0)), ansi, false, false},
        {"legible again", CMavMatrix3d::scaling(1.2), ansi, false, true},
    };
    const CMavMatrix3d moved = CMavMatrix3d::translation(CMavVector3d(3, -4, 0));
    bool groupMoved = false;
    for (const Step& s : steps) {
        const CMavHatchCache* previous = cacheOf(kept, 1);
        const bool pan = std::string(s.what) == "pan";
        kept.zoomMtxSet(s.zoom);
        kept.hatchSet(CMavArrayTempl<int>{1}, s.hatch);
        kept.hatchSet(CMavArrayTempl<int>{2}, s.hatch);
        kept.hatchSet(CMavArrayTempl<int>{3}, s.hatch);
        if (s.moveGroup && !groupMoved) {
            kept.mtxSet(CMavArrayTempl<int>{2}, moved);
            groupMoved = true;
        }
        const auto mine = paint(kept);
        if (pan) {
            EXPECT_EQ(cacheOf(kept, 1), previous);
        }

        CMavGDX fresh = hatchedList(s.hatch);
        fresh.zoomMtxSet(s.zoom);
        if (groupMoved)
            fresh.mtxSet(CMavArrayTempl<int>{2}, moved);
        const auto theirs = paint(fresh);
        EXPECT_EQ(differing(*mine, *theirs), 0) << s.what;
        EXPECT_EQ(cacheOf(kept, 0)->hasLines, s.legible) << s.what;
        EXPECT_EQ(cacheOf(kept, 0)->hatch, s.hatch) << s.what;
        EXPECT_TRUE(cacheOf(kept, 0)->legibleKnown) << s.what;
        EXPECT_EQ(cacheOf(kept, 0)->legible, s.legible) << s.what;
        // Painting a second time changes nothing either.
        const auto second = paint(kept);
        EXPECT_EQ(differing(*mine, *second), 0) << s.what;
    }
}

namespace {

// The glyph fill as the window did it with clipping: holes taken out of the clip region, the outline drawn as a
// polygon with a pen and brush of the text colour, the clip given back.
void clipFill(HDC dc, const CMavArrayTempl<CMavVertexArray>& region, const CMavMatrix3d& toDevice, COLORREF c)
{
    auto devicePoints = [&toDevice](const CMavVertexArray& vl) {
        const CMavPoint3dArray pts = vl.getTransformedCopy(toDevice).pts(true, 0.5);
        std::vector<POINT> out;
        for (int k = 0; k < pts.len(); ++k)
            out.push_back(POINT{static_cast<LONG>(pts[k].x), static_cast<LONG>(pts[k].y)});
        return out;
    };
    for (int i = 1; i < region.len(); ++i) {
        const std::vector<POINT> hole = devicePoints(region[i]);
        if (hole.size() < 3)
            continue;
        HRGN rgn = CreatePolygonRgn(hole.data(), static_cast<int>(hole.size()), ALTERNATE);
        ExtSelectClipRgn(dc, rgn, RGN_DIFF);
        DeleteObject(rgn);
    }
    const std::vector<POINT> outer = devicePoints(region[0]);
    HPEN pen = CreatePen(PS_SOLID, 0, c);
    HBRUSH brush = CreateSolidBrush(c);
    HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, brush);
    SetPolyFillMode(dc, ALTERNATE);
    Polygon(dc, outer.data(), static_cast<int>(outer.size()));
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    SelectClipRgn(dc, nullptr);
}

} // namespace

// Filled texts with holes at sizes from 6 to 150 pixels, turned and mirrored: the renderer's pixels equal those of
// the clipping fill, glyph by glyph, and the holes are really empty.
TEST(RenderRepaint, GlyphsWithHolesFillLikeTheClippingFill)
{
    const wchar_t* text = L"A8Bo%@\u00c4g&$R0";
    int oRegion = 0; // the glyph region of the "o", and the middle of its hole in the font's units
    for (const wchar_t* ch = text; *ch != L'o'; ++ch)
        oRegion += get_ascii_from_map(*ch).len();
    CMavPoint3d holeLo, holeHi;
    MAV::fontTextLayout(text, L"BL", CMavPoint3d())[oRegion][1].extents(holeLo, holeHi);
    const double ox = (holeLo.x + holeHi.x) / 2, oy = (holeLo.y + holeHi.y) / 2;
    struct Case {
        double height, angle, x, y;
        bool mirror, centreO; // centreO: placed so that the "o" sits in the middle of the image
    } cases[] = {{4, 0, 3, 150, false, false},      {6, 0, 3, 150, false, false},     {8, 0.05, 1, 145, false, false},
                 {9, 0.3, 5, 140, false, false},    {10.2, 0, 2, 130, false, false},  {11, 0, 0.5, 125, true, false},
                 {12, 0.02, 1.3, 128, false, false}, {12.5, -0.2, 4, 150, false, false}, {13, 0, 0.7, 120, true, false},
                 {14, 0, 2, 120, false, false},     {23, -0.7, 20, 150, false, false}, {30, 0, 0, 100, true, false},
                 {40, 0, 0, 0, false, true},        {150, 0, 0, 0, false, true}};
    for (Case c : cases) {
        if (c.centreO) {
            c.x = 100 - c.height * ox;
            c.y = (kH - 80) - c.height * oy;
        }
        CMavGDX g(rgb(0xFFFFFF), CMavMatrix3d(), 0.0, 0, CMavPoint3d(), CMavPoint3d());
        CMavMatrix3d m = CMavMatrix3d::translation(CMavVector3d(c.x, c.y, 0));
        CMavMatrix3d turn;
        turn.setToRotation(c.angle, CMavVector3d::kZAxis);
        CMavMatrix3d flip;
        if (c.mirror)
            flip.m[1][1] = -1.0;
        m = m * turn * flip * CMavMatrix3d::scaling(c.height);
        // Device y points down: the matrix turns the text upright.
        CMavMatrix3d upright;
        upright.m[1][1] = -1.0;
        upright.m[1][3] = kH;
        g.viewMtxSet(upright);
        g.imageTxt(CMavArrayTempl<int>(), 0x1, text, rgb(0x0000B0), m, L"BL", CMavPoint3d());

        const auto mine = paint(g);
        Dib ref(kW, kH);
        const CMavMatrix3d toDevice = g.zoomMtxGet() * (g.projMtxGet() * g.viewMtxGet()) * g.viewDirectionMtxGet() *
                                      g.mtxGet(0);
        CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> glyphs;
        g.geomGet(glyphs, 0);
        for (int r = 0; r < glyphs.len(); ++r)
            clipFill(ref.dc, glyphs[r], toDevice, 0x0000B0);
        EXPECT_EQ(differing(*mine, ref), 0) << "height " << c.height;
        EXPECT_GT(rendertest::countOther(*mine, 0xFFFFFF), static_cast<int>(c.height * 3)) << "height " << c.height;

        // The middle of the "o"'s hole stays white, its ring is filled.
        if (!c.centreO)
            continue;
        const int region = oRegion;
        ASSERT_EQ(glyphs[region].len(), 2);
        CMavPoint3d lo, hi;
        glyphs[region][1].getTransformedCopy(toDevice).extents(lo, hi);
        const int cx = static_cast<int>((lo.x + hi.x) / 2), cy = static_cast<int>((lo.y + hi.y) / 2);
        ASSERT_TRUE(cx >= 0 && cx < kW && cy >= 0 && cy < kH) << "height " << c.height;
        EXPECT_EQ(mine->at(cx, cy), 0xFFFFFFu) << "height " << c.height;
        // Halfway between the outline's and the hole's leftmost points, on the hole's middle row: inside the ring.
        CMavPoint3d olo, ohi;
        glyphs[region][0].getTransformedCopy(toDevice).extents(olo, ohi);
        const int rx = static_cast<int>((olo.x + lo.x) / 2);
        EXPECT_EQ(mine->at(rx, cy), 0xB00000u) << "height " << c.height;
    }
}

namespace {

// The comparisons with the bare GDI calls paint a larger image.
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

POINT dev(const CMavMatrix3d& toDevice, const CMavPoint3d& p)
{
    const CMavPoint3d d = toDevice * p;
    return POINT{static_cast<LONG>(d.x), static_cast<LONG>(d.y)};
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

// Twelve hatched quadrilaterals in three colours with a polyline of a fourth among them, repainted at zoom steps
// that keep the hatch legible, make it too dense and make it legible again: every step equals the bare calls.
TEST(RenderRepaint, HatchedRegionsThroughZoomStepsMatchBareCalls)
{
    const MAV::CHatchProp hatch(L"ANSI31", 40.0, 0.3); // 5 units between lines
    CMavGDX g(rgb(0xFFFFFF), CMavMatrix3d(), 0.0, 0, CMavPoint3d(), CMavPoint3d(120, 90, 0));
    g.viewMtxSet(getViewMtx(CMavPoint3d(), CMavPoint3d(120, 90, 0), kHigh, kWide, 0.05));
    const COLORREF colours[] = {0x0000C0, 0x00A000, 0xC00000};
    std::vector<CMavArrayTempl<CMavVertexArray>> regions;
    for (int i = 0; i < 12; ++i) {
        const double x = 4 + (i % 4) * 29, y = 4 + (i / 4) * 28;
        CMavVertexArray vl;
        vl.append(CMavPoint3d(x, y, 0), CMavPoint3d(x + 24, y + 2, 0));
        vl.appendTo(CMavPoint3d(x + 20, y + 22, 0));
        vl.appendTo(CMavPoint3d(x + 3, y + 19, 0));
        vl.appendTo(CMavPoint3d(x, y, 0));
        CMavArrayTempl<CMavVertexArray> reg;
        reg.append(vl);
        regions.push_back(reg);
        g.imageReg(CMavArrayTempl<int>(), 0x2, reg, rgb(colours[i % 3]), CMavMatrix3d(), CMavArrayTempl<double>(),
                   1.0, 0, CMavColor(0), hatch);
        if (i == 5) {
            CMavVertexArray line;
            line.append(CMavPoint3d(0, 29, 0), CMavPoint3d(120, 29, 0)); // between two rows of regions
            g.imageVl(CMavArrayTempl<int>(), 0, line, rgb(0x808000), CMavMatrix3d(), CMavArrayTempl<double>(), 1.0, 0);
        }
    }
    int legibleSteps = 0, denseSteps = 0;
    for (double zoom : {1.0, 1.6, 0.2, 1.0, 2.5, 0.2, 1.3}) {
        g.zoomMtxSet(CMavMatrix3d::scaling(zoom, CMavPoint3d(kWide / 2.0, kHigh / 2.0, 0)));
        Dib mine(kWide, kHigh), bare(kWide, kHigh);
        MAV::renderWindow(mine.dc, g, kWide, kHigh);
        const CMavMatrix3d toDevice = g.zoomMtxGet() * (g.projMtxGet() * g.viewMtxGet());
        for (int i = 0; i < 12; ++i) {
            const COLORREF c = colours[i % 3];
            const CMavArrayTempl<CMavVertexArray> split = mav_gdx_image_reg_split(regions[size_t(i)]);
            Ink ink(bare.dc, c);
            if (mav_gdx_pattern_test(split, hatch, toDevice)) {
                ++legibleSteps;
                const CMavArrayTempl<CMavVertexArray> lines = mav_gdx_image_reg_hatch2(split, CMavMatrix3d(), hatch);
                for (const CMavVertexArray& l : lines)
                    for (const CMavVertex& v : l) {
                        const POINT a = dev(toDevice, v.start), b = dev(toDevice, v.end);
                        MoveToEx(bare.dc, a.x, a.y, nullptr);
                        LineTo(bare.dc, b.x, b.y);
                    }
            } else {
                ++denseSteps;
                const std::vector<POINT> p = devicePoints(split[0], toDevice);
                Polygon(bare.dc, p.data(), static_cast<int>(p.size()));
            }
            if (i == 5) {
                Ink line(bare.dc, 0x808000);
                const POINT a = dev(toDevice, CMavPoint3d(0, 29, 0)), b = dev(toDevice, CMavPoint3d(120, 29, 0));
                MoveToEx(bare.dc, a.x, a.y, nullptr);
                LineTo(bare.dc, b.x, b.y);
            }
        }
        EXPECT_EQ(differing(mine, bare), 0) << "zoom " << zoom;
        EXPECT_GT(rendertest::countOther(mine, 0xFFFFFF), 200) << "zoom " << zoom;
    }
    EXPECT_GT(legibleSteps, 0);
    EXPECT_GT(denseSteps, 0);
}

// Random small texts of glyphs with holes, lying across each other, at heights where glyphs nearly touch: each
// equals its glyphs filled one by one through a clip region without that glyph's holes.
TEST(RenderRepaint, SmallTextsWithHolesMatchGlyphByGlyphClipping)
{
    std::mt19937 rnd(20261206);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const wchar_t* words[] = {L"B8o@a", L"R0%&g", L"\u00c4bd9P", L"Q6e$A"};
    for (int round = 0; round < 6; ++round) {
        CMavGDX g(rgb(0xFFFFFF), CMavMatrix3d(), 0.0, 0, CMavPoint3d(), CMavPoint3d());
        CMavMatrix3d upright;
        upright.m[1][1] = -1.0;
        upright.m[1][3] = kHigh;
        g.viewMtxSet(upright);
        const COLORREF colours[] = {0x0000B0, 0x00A000, 0xA00000, 0x404040};
        // Drawn in list order, which the window's drawing may have sorted: each item is read back after it.
        for (int t = 0; t < 8; ++t) {
            const double height = 4.0 + 8.0 * unit(rnd);
            CMavMatrix3d turn;
            turn.setToRotation(unit(rnd) - 0.5, CMavVector3d::kZAxis);
            const CMavMatrix3d m = CMavMatrix3d::translation(CMavVector3d(5 + 150 * unit(rnd), 10 + 150 * unit(rnd), 0)) *
                                   turn * CMavMatrix3d::scaling(height);
            g.imageTxt(CMavArrayTempl<int>(), 0x1, words[t % 4], rgb(colours[t % 4]), m, L"BL", CMavPoint3d());
        }
        Dib mine(kWide, kHigh), ref(kWide, kHigh);
        MAV::renderWindow(mine.dc, g, kWide, kHigh);
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
        EXPECT_GT(rendertest::countOther(mine, 0xFFFFFF), 400) << "round " << round;
    }
}
