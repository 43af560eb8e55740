// Window repaints against the bare GDI calls they stand for: hatched regions through zoom steps (hatch lines
// where the hatch is legible, a filled polygon where it is too dense), and small texts with holes lying across
// each other (each glyph filled through a clip region without its holes).
#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <vector>

#include "gdx/CMavGDX.h"
#include "geometry/hatch.h"
#include "render/MavRender.h"
#include "render_test_support.h"

namespace {

using afxtest::Dib;

constexpr int kW = 240;
constexpr int kH = 180;

CMavColor rgb(COLORREF c)
{
    CMavColor col;
    col.setOleColor(c);
    return col;
}

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

int differing(const Dib& a, const Dib& b)
{
    int n = 0;
    for (int i = 0; i < a.w * a.h; ++i)
        n += (a.bits[i] & 0xFFFFFF) != (b.bits[i] & 0xFFFFFF);
    return n;
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
TEST(RenderCache, HatchedRegionsThroughZoomStepsMatchBareCalls)
{
    const MAV::CHatchProp hatch(L"ANSI31", 40.0, 0.3); // 5 units between lines
    CMavGDX g(rgb(0xFFFFFF), CMavMatrix3d(), 0.0, 0, CMavPoint3d(), CMavPoint3d(120, 90, 0));
    g.viewMtxSet(getViewMtx(CMavPoint3d(), CMavPoint3d(120, 90, 0), kH, kW, 0.05));
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
        g.zoomMtxSet(CMavMatrix3d::scaling(zoom, CMavPoint3d(kW / 2.0, kH / 2.0, 0)));
        Dib mine(kW, kH), bare(kW, kH);
        MAV::renderWindow(mine.dc, g, kW, kH);
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
TEST(RenderCache, SmallTextsWithHolesMatchGlyphByGlyphClipping)
{
    std::mt19937 rnd(20261206);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const wchar_t* words[] = {L"B8o@a", L"R0%&g", L"\u00c4bd9P", L"Q6e$A"};
    for (int round = 0; round < 6; ++round) {
        CMavGDX g(rgb(0xFFFFFF), CMavMatrix3d(), 0.0, 0, CMavPoint3d(), CMavPoint3d());
        CMavMatrix3d upright;
        upright.m[1][1] = -1.0;
        upright.m[1][3] = kH;
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
        Dib mine(kW, kH), ref(kW, kH);
        MAV::renderWindow(mine.dc, g, kW, kH);
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
