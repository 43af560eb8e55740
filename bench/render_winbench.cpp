// Speed of the window drawing of display lists, against the bare GDI calls for the same device geometry.
//
// Every case paints into a 32-bit DIB section of 800 x 600. The renderer draws the list with the window target
// (renderItems with a window context: the per-item colours, pens, matrices and the kind's drawing). The baseline
// issues only the GDI calls for the device geometry the renderer ends up with, computed before the clock starts:
// polylines and hatch lines as MoveToEx/LineTo with one pen per colour, glyph regions as one PolyPolygon each.
// Each side runs several times and the best time counts; the ratio renderer / baseline is printed, with the
// number of pixels in which the two pictures differ (0 expected for polylines and hatches). The renderer's first
// drawing of each list is timed on its own: it computes what the window keeps for later drawings (the hatch
// lines of hatched regions), so the best time is that of a repaint at an unchanged zoom. Hatched regions are also
// repainted at zoom steps (the zoom alternating between two factors), where the hatch's legibility is asked anew.
//
// Usage: render_winbench.exe [repetitions [case]]   (default 5; case: polylines, hatched or texts, all when none)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "afx/CDC.h"
#include "afx/CGdiObject.h"
#include "gdx/CMavGDX.h"
#include "geometry/hatch.h"
#include "render/MavRender.h"

namespace {

constexpr int kW = 800;
constexpr int kH = 600;

// A top-down 32-bit DIB section selected into a memory context.
struct Dib {
    CDC mem;
    CBitmap bmp;
    HDC dc = nullptr;
    DWORD* bits = nullptr;
    HGDIOBJ old = nullptr;
    Dib()
    {
        mem.CreateCompatibleDC(nullptr);
        bmp.CreateDIBSection32(kW, kH, &bits);
        dc = mem;
        old = SelectObject(dc, bmp);
    }
    ~Dib() { SelectObject(dc, old); }
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;
    void clear(DWORD c) { std::fill(bits, bits + kW * kH, c); }
};

// Small deterministic generator, so every run draws the same scene.
struct Lcg {
    unsigned long long s = 0x2545F4914F6CDD1Dull;
    double next()
    {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>((s >> 11) & 0xFFFFFFFFFFFFFull) / 4503599627370496.0; // [0, 1)
    }
    double in(double lo, double hi) { return lo + (hi - lo) * next(); }
};

const COLORREF kPalette[] = {0x000000, 0x0000C0, 0x00A000, 0xC00000, 0x008080, 0x800080, 0x606060, 0x2060A0};
constexpr int kPaletteLen = static_cast<int>(sizeof kPalette / sizeof kPalette[0]);

CMavColor colourOf(COLORREF c)
{
    CMavColor col;
    col.setOleColor(c);
    return col;
}

// A list on a white background whose world box (0, 0)-(1000, 750) is fitted into the image, as a view control
// would after a zoom to the extents.
CMavGDX sceneList()
{
    CMavGDX g(colourOf(0xFFFFFF), CMavMatrix3d(), 0.0, 0, CMavPoint3d(0, 0, 0), CMavPoint3d(1000, 750, 0));
    g.viewMtxSet(getViewMtx(CMavPoint3d(0, 0, 0), CMavPoint3d(1000, 750, 0), kH, kW, 0.05));
    return g;
}

POINT device(const CMavMatrix3d& m, const CMavPoint3d& p)
{
    const CMavPoint3d d = m * p;
    return POINT{static_cast<LONG>(d.x), static_cast<LONG>(d.y)};
}

// Device geometry of the baseline: runs of points joined by lines, each with its colour.
struct Run {
    COLORREF colour;
    std::vector<POINT> pts;
};

void polylineScene(int count, CMavGDX& g, std::vector<Run>& runs)
{
    Lcg rnd;
    const MAV::RenderContext ctx = MAV::renderContextMake(nullptr, MAV::RenderTarget::Window, g, kW, kH);
    for (int i = 0; i < count; ++i) {
        CMavVertexArray vl;
        CMavPoint3d p(rnd.in(20, 980), rnd.in(20, 730), 0);
        CMavPoint3d q(p.x + rnd.in(-30, 30), p.y + rnd.in(-30, 30), 0);
        vl.append(p, q);
        for (int k = 0; k < 3; ++k) {
            q = CMavPoint3d(q.x + rnd.in(-30, 30), q.y + rnd.in(-30, 30), 0);
            vl.appendTo(q);
        }
        const COLORREF c = kPalette[(i / 16) % kPaletteLen];
        g.imageVl(CMavArrayTempl<int>(), 0, vl, colourOf(c), CMavMatrix3d(), CMavArrayTempl<double>(), 1.0, 0);
        Run r{c, {}};
        r.pts.push_back(device(ctx.toDevice, vl[0].start));
        for (int k = 0; k < vl.len(); ++k)
            r.pts.push_back(device(ctx.toDevice, vl[k].end));
        runs.push_back(std::move(r));
    }
}

CMavVertexArray closedPolygon(const std::vector<CMavPoint3d>& corners)
{
    CMavVertexArray vl;
    vl.append(corners[0], corners[1]);
    for (size_t k = 2; k < corners.size(); ++k)
        vl.appendTo(corners[k]);
    vl.appendTo(corners[0]);
    return vl;
}

// The hatch lines of each region in world coordinates, with the region's colour.
using WorldLines = std::vector<std::pair<COLORREF, CMavArrayTempl<CMavVertexArray>>>;

// Device runs of hatch lines under the list's present zoom.
std::vector<Run> hatchRuns(const WorldLines& world, const CMavGDX& g)
{
    const MAV::RenderContext ctx = MAV::renderContextMake(nullptr, MAV::RenderTarget::Window, g, kW, kH);
    std::vector<Run> runs;
    for (const auto& item : world)
        for (int l = 0; l < item.second.len(); ++l)
            for (int k = 0; k < item.second[l].len(); ++k)
                runs.push_back(Run{item.first,
                                   {device(ctx.toDevice, item.second[l][k].start),
                                    device(ctx.toDevice, item.second[l][k].end)}});
    return runs;
}

void hatchScene(int count, CMavGDX& g, std::vector<Run>& runs, WorldLines* world = nullptr)
{
    Lcg rnd;
    const MAV::RenderContext ctx = MAV::renderContextMake(nullptr, MAV::RenderTarget::Window, g, kW, kH);
    for (int i = 0; i < count; ++i) {
        const double x = rnd.in(10, 940), y = rnd.in(10, 700), w = rnd.in(25, 50), h = rnd.in(20, 40);
        CMavArrayTempl<CMavVertexArray> reg;
        reg.append(closedPolygon({CMavPoint3d(x, y, 0), CMavPoint3d(x + w, y, 0), CMavPoint3d(x + w, y + h, 0),
                                  CMavPoint3d(x + 0.3 * w, y + h, 0)}));
        const COLORREF c = kPalette[i % kPaletteLen];
        const MAV::CHatchProp hatch(L"ANSI31", 40.0, 0.0);
        g.imageReg(CMavArrayTempl<int>(), 0x2, reg, colourOf(c), CMavMatrix3d(), CMavArrayTempl<double>(), 1.0, 0,
                   CMavColor(0), hatch);
        const CMavArrayTempl<CMavVertexArray> lines =
            mav_gdx_image_reg_hatch2(mav_gdx_image_reg_split(reg), CMavMatrix3d(), hatch);
        if (world)
            world->emplace_back(c, lines);
        for (int l = 0; l < lines.len(); ++l) {
            for (int k = 0; k < lines[l].len(); ++k) {
                Run r{c, {}};
                r.pts.push_back(device(ctx.toDevice, lines[l][k].start));
                r.pts.push_back(device(ctx.toDevice, lines[l][k].end));
                runs.push_back(std::move(r));
            }
        }
    }
}

// Glyph regions of the baseline: the contours of one glyph, drawn with one PolyPolygon.
struct Glyph {
    COLORREF colour;
    std::vector<POINT> pts;
    std::vector<INT> counts;
};

void textScene(int count, CMavGDX& g, std::vector<Glyph>& glyphs)
{
    Lcg rnd;
    const wchar_t* words[] = {L"Schrank 600", L"T\u00fcr links", L"Boden 19 mm", L"Fach 3/4", L"R\u00fcckwand"};
    for (int i = 0; i < count; ++i) {
        const COLORREF c = kPalette[i % kPaletteLen];
        const CMavMatrix3d m =
            CMavMatrix3d::translation(CMavVector3d(rnd.in(10, 850), rnd.in(20, 730), 0)) * CMavMatrix3d::scaling(14.0);
        g.imageTxt(CMavArrayTempl<int>(), 0x1, words[i % 5], colourOf(c), m, L"BL", CMavPoint3d(0, 0, 0));
    }
    const MAV::RenderContext ctx = MAV::renderContextMake(nullptr, MAV::RenderTarget::Window, g, kW, kH);
    for (int i = 0; i < g.lenGet(); ++i) {
        const CMavMatrix3d toDevice = ctx.toDevice * g.viewDirectionMtxGet() * g.mtxGet(i);
        CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> regl;
        g.geomGet(regl, i);
        for (int r = 0; r < regl.len(); ++r) {
            Glyph gl{g.colorGet(i).oleColor() & 0xFFFFFF, {}, {}};
            for (int k = 0; k < regl[r].len(); ++k) {
                const CMavPoint3dArray pts = regl[r][k].getTransformedCopy(toDevice).pts(true, 0.1);
                for (int p = 0; p < pts.len(); ++p)
                    gl.pts.push_back(POINT{static_cast<LONG>(pts[p].x), static_cast<LONG>(pts[p].y)});
                gl.counts.push_back(pts.len());
            }
            glyphs.push_back(std::move(gl));
        }
    }
}

// The bare calls: one pen per colour, made once; MoveToEx then LineTo through each run.
void drawRuns(HDC dc, const std::vector<Run>& runs, const std::vector<HPEN>& pens)
{
    COLORREF current = 0xFFFFFFFF;
    HGDIOBJ old = nullptr;
    for (const Run& r : runs) {
        if (r.colour != current) {
            const int k = static_cast<int>(std::find(kPalette, kPalette + kPaletteLen, r.colour) - kPalette);
            HGDIOBJ prev = SelectObject(dc, pens[static_cast<size_t>(k)]);
            if (!old)
                old = prev;
            current = r.colour;
        }
        MoveToEx(dc, r.pts[0].x, r.pts[0].y, nullptr);
        for (size_t k = 1; k < r.pts.size(); ++k)
            LineTo(dc, r.pts[k].x, r.pts[k].y);
    }
    if (old)
        SelectObject(dc, old);
}

void drawGlyphs(HDC dc, const std::vector<Glyph>& glyphs, const std::vector<HPEN>& pens,
                const std::vector<HBRUSH>& brushes)
{
    COLORREF current = 0xFFFFFFFF;
    HGDIOBJ oldPen = nullptr, oldBrush = nullptr;
    SetPolyFillMode(dc, ALTERNATE);
    for (const Glyph& g : glyphs) {
        if (g.colour != current) {
            const size_t k = static_cast<size_t>(std::find(kPalette, kPalette + kPaletteLen, g.colour) - kPalette);
            HGDIOBJ p = SelectObject(dc, pens[k]);
            HGDIOBJ b = SelectObject(dc, brushes[k]);
            if (!oldPen) {
                oldPen = p;
                oldBrush = b;
            }
            current = g.colour;
        }
        PolyPolygon(dc, g.pts.data(), g.counts.data(), static_cast<int>(g.counts.size()));
    }
    if (oldPen) {
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
    }
}

double seconds(LARGE_INTEGER a, LARGE_INTEGER b)
{
    static LARGE_INTEGER freq{};
    if (!freq.QuadPart)
        QueryPerformanceFrequency(&freq);
    return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(freq.QuadPart);
}

// Best time of `reps` runs of `draw` into a freshly cleared image.
double best(Dib& dib, int reps, const std::function<void()>& draw)
{
    double t = 1e30;
    for (int r = 0; r < reps; ++r) {
        dib.clear(0x00FFFFFF);
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        draw();
        QueryPerformanceCounter(&b);
        t = std::min(t, seconds(a, b));
    }
    return t;
}

int differing(const Dib& a, const Dib& b)
{
    int n = 0;
    for (int i = 0; i < kW * kH; ++i)
        n += (a.bits[i] & 0xFFFFFF) != (b.bits[i] & 0xFFFFFF);
    return n;
}

int inked(const Dib& a)
{
    int n = 0;
    for (int i = 0; i < kW * kH; ++i)
        n += (a.bits[i] & 0xFFFFFF) != 0xFFFFFF;
    return n;
}

struct Pens {
    std::vector<HPEN> pens;
    std::vector<HBRUSH> brushes;
    Pens()
    {
        for (COLORREF c : kPalette) {
            pens.push_back(CreatePen(PS_SOLID, 0, c));
            brushes.push_back(CreateSolidBrush(c));
        }
    }
    ~Pens()
    {
        for (HPEN p : pens)
            DeleteObject(p);
        for (HBRUSH b : brushes)
            DeleteObject(b);
    }
};

// Times both sides, checks that both drew, and prints one line.
void report(const char* name, int reps, const CMavGDX& g, const std::function<void(HDC)>& baseline)
{
    Dib mine, bare;
    SetBkColor(mine.dc, 0xFFFFFF);
    const MAV::RenderContext ctx = MAV::renderContextMake(mine.dc, MAV::RenderTarget::Window, g, kW, kH);
    // The first drawing of a list does what later ones may keep (hatch lines): timed once, on its own.
    const double tf = best(mine, 1, [&] { MAV::renderItems(g, ctx); });
    // The two sides take turns, so that a busy machine slows both alike.
    double tr = 1e30, tb = 1e30;
    for (int r = 0; r < reps; ++r) {
        tr = std::min(tr, best(mine, 1, [&] { MAV::renderItems(g, ctx); }));
        tb = std::min(tb, best(bare, 1, [&] { baseline(bare.dc); }));
    }
    std::printf("%-22s renderer %9.3f ms   baseline %9.3f ms   ratio %5.2f   pixels inked %7d, differing %6d\n",
                name, tr * 1e3, tb * 1e3, tr / tb, inked(mine), differing(mine, bare));
    std::printf("%-22s first drawing %9.3f ms   ratio %5.2f\n", "", tf * 1e3, tf / tb);
}

// Repaints at zoom steps, as a wheel turned back and forth: the zoom alternates between two factors, so each
// repaint meets a zoom other than the last one's. The renderer is timed against the bare calls for the device
// geometry at the same zoom (made before the clock starts); the pixels of both are compared at every step.
void reportZoomSteps(const char* name, int reps, CMavGDX& g, const WorldLines& world,
                     const std::vector<HPEN>& pens)
{
    const CMavMatrix3d zooms[2] = {CMavMatrix3d(), CMavMatrix3d::scaling(1.25, CMavPoint3d(kW / 2, kH / 2, 0))};
    std::vector<Run> runs[2];
    for (int z = 0; z < 2; ++z) {
        g.zoomMtxSet(zooms[z]);
        runs[z] = hatchRuns(world, g);
    }
    Dib mine, bare;
    SetBkColor(mine.dc, 0xFFFFFF);
    double tr = 1e30, tb = 1e30;
    int differ = 0;
    for (int r = 0; r < reps; ++r) {
        for (int z = 0; z < 2; ++z) {
            g.zoomMtxSet(zooms[z]);
            const MAV::RenderContext ctx = MAV::renderContextMake(mine.dc, MAV::RenderTarget::Window, g, kW, kH);
            tr = std::min(tr, best(mine, 1, [&] { MAV::renderItems(g, ctx); }));
            tb = std::min(tb, best(bare, 1, [&] { drawRuns(bare.dc, runs[z], pens); }));
            differ = std::max(differ, differing(mine, bare));
        }
    }
    g.zoomMtxSet(zooms[0]);
    std::printf("%-22s renderer %9.3f ms   baseline %9.3f ms   ratio %5.2f   at zoom steps, differing %6d\n", name,
                tr * 1e3, tb * 1e3, tr / tb, differ);
}

} // namespace

int main(int argc, char** argv)
{
    int reps = argc > 1 ? std::atoi(argv[1]) : 5;
    if (reps < 1)
        reps = 1;
    const std::string only = argc > 2 ? argv[2] : "";
    const auto wanted = [&only](const char* name) { return only.empty() || only == name; };
    std::printf("window drawing into a %d x %d 32-bit DIB, best of %d runs each\n", kW, kH, reps);
    Pens gdi;
    for (int count : {10000, 100000}) {
        if (!wanted("polylines"))
            break;
        CMavGDX g = sceneList();
        std::vector<Run> runs;
        polylineScene(count, g, runs);
        const std::string name = "polylines " + std::to_string(count);
        report(name.c_str(), reps, g, [&](HDC dc) { drawRuns(dc, runs, gdi.pens); });
    }
    if (wanted("hatched")) {
        CMavGDX g = sceneList();
        std::vector<Run> runs;
        WorldLines world;
        hatchScene(1000, g, runs, &world);
        report("hatched regions 1000", reps, g, [&](HDC dc) { drawRuns(dc, runs, gdi.pens); });
        reportZoomSteps("", reps, g, world, gdi.pens);
        // The share of the hatch geometry alone (legibility test and hatch lines), which the renderer computes at
        // its first drawing (and the legibility test at every drawing) and the baseline got beforehand.
        Dib none;
        const MAV::RenderContext ctx = MAV::renderContextMake(nullptr, MAV::RenderTarget::Window, g, kW, kH);
        size_t lines = 0;
        const double tg = best(none, reps, [&] {
            for (int i = 0; i < g.lenGet(); ++i) {
                CMavArrayTempl<CMavVertexArray> reg;
                g.geomGet(reg, i);
                MAV::CHatchProp hatch;
                g.hatchGet(i, hatch);
                reg = mav_gdx_image_reg_split(reg);
                if (mav_gdx_pattern_test(reg, hatch, g.mtxGet(i) * g.viewDirectionMtxGet() * ctx.toDevice))
                    lines += static_cast<size_t>(mav_gdx_image_reg_hatch2(reg, CMavMatrix3d(), hatch).len());
            }
        });
        std::printf("%-22s hatch geometry alone %9.3f ms (%zu hatch lines over all runs)\n", "", tg * 1e3, lines);
    }
    if (wanted("texts")) {
        CMavGDX g = sceneList();
        std::vector<Glyph> glyphs;
        textScene(1000, g, glyphs);
        report("texts 1000", reps, g, [&](HDC dc) { drawGlyphs(dc, glyphs, gdi.pens, gdi.brushes); });
    }
    return 0;
}
