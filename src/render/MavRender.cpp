// The item drawing of a display list, shared by the window and the metafile. One procedure walks the items; the
// places where the two differ ask the context's target.
#include "render/MavRender.h"

#include <cmath>
#include <memory>
#include <vector>

#include "geometry/hatch.h"
#include "geometry/measure.h"
#include "base/CMavPoint3dArray.h"
#include "base/files.h"
#include "base/g_vl.h"
#include "data/patterns.h"
#include "data/units.h"

namespace MAV {
namespace {

// Device coordinates are truncated toward zero. Values far outside any picture are clamped first so that hostile
// geometry cannot overflow the conversion; GDI clips them anyway.
LONG devCoord(double v)
{
    if (!(v == v))
        return 0;
    const double lim = 134217728.0; // 2^27, beyond every device GDI draws on
    if (v > lim)
        v = lim;
    if (v < -lim)
        v = -lim;
    return static_cast<LONG>(v);
}

POINT devPoint(const CMavPoint3d& p)
{
    return POINT{devCoord(p.x), devCoord(p.y)};
}

// The colour rule of each target: the window never draws in the colour of its background, the metafile (printed
// on white paper) never draws white.
COLORREF targetColour(const RenderContext& ctx, COLORREF c)
{
    c &= 0xFFFFFF;
    if (ctx.target == RenderTarget::Window) {
        if (c == (GetBkColor(ctx.dc) & 0xFFFFFF))
            c ^= 0xFFFFFF;
    } else if (c == 0xFFFFFF) {
        c = 0;
    }
    return c;
}

// A pen or brush selected for the lifetime of the scope, deleted afterwards.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ obj, bool owned = true) : m_dc(dc), m_obj(obj), m_owned(owned)
    {
        m_old = obj ? SelectObject(dc, obj) : nullptr;
    }
    ~Selected()
    {
        if (m_old)
            SelectObject(m_dc, m_old);
        if (m_owned && m_obj)
            DeleteObject(m_obj);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_obj;
    HGDIOBJ m_old = nullptr;
    bool m_owned;
};

HPEN solidPen(int width, COLORREF c)
{
    return CreatePen(PS_SOLID, width < 0 ? 0 : width, c);
}

// The item pen. The metafile records a pen of its own for every item. The window draws into a bitmap of its own,
// where no one sees which pen object drew a line: it keeps every pen it made (up to kKept of them) for the items
// that ask for the same width and colour again, also for the hatch pens of regions, and deletes them when the
// drawing ends. Every pen an item selects for itself goes back to the item pen when the item is done.
class ItemPens {
public:
    explicit ItemPens(const RenderContext& ctx) : m_dc(ctx.dc), m_keep(ctx.target == RenderTarget::Window) {}
    ~ItemPens()
    {
        release();
        for (const Kept& k : m_kept)
            DeleteObject(k.pen);
        if (m_brush)
            SelectObject(m_dc, m_originalBrush);
        for (const KeptBrush& k : m_brushes)
            DeleteObject(k.brush);
    }
    ItemPens(const ItemPens&) = delete;
    ItemPens& operator=(const ItemPens&) = delete;

    void select(int width, COLORREF colour)
    {
        if (width < 0)
            width = 0;
        if (m_pen && m_width == width && m_colour == colour)
            return;
        HPEN pen = m_keep ? kept(width, colour) : solidPen(width, colour);
        if (!pen) {
            release();
            return;
        }
        HGDIOBJ previous = SelectObject(m_dc, pen);
        if (!m_pen)
            m_original = previous;
        else if (!m_keep)
            DeleteObject(m_pen);
        m_pen = pen;
        m_width = width;
        m_colour = colour;
    }
    // Selects a solid brush of the colour in the window, which stays selected until another is asked for (every
    // other fill selects its own brush and puts the previous one back); the drawing keeps the brushes it made, as
    // its pens. False for the metafile, whose items make their own.
    bool selectBrush(COLORREF colour)
    {
        if (!m_keep)
            return false;
        if (m_brush && m_brushColour == colour)
            return true;
        HBRUSH brush = nullptr;
        for (const KeptBrush& k : m_brushes)
            if (k.colour == colour)
                brush = k.brush;
        if (!brush) {
            if (m_brushes.size() >= kKept)
                prune(m_brushes, &KeptBrush::brush, m_brush);
            brush = CreateSolidBrush(colour);
            if (!brush)
                return false;
            m_brushes.push_back(KeptBrush{colour, brush});
        }
        HGDIOBJ previous = SelectObject(m_dc, brush);
        if (!m_brush)
            m_originalBrush = previous;
        m_brush = brush;
        m_brushColour = colour;
        return true;
    }
    void itemDone()
    {
        if (!m_keep)
            release();
    }

private:
    struct Kept {
        int width;
        COLORREF colour;
        HPEN pen;
    };
    static constexpr size_t kKept = 64;

    // A full store of kept objects: those not selected now go, the selected one stays kept.
    template <class Entry, class Handle>
    static void prune(std::vector<Entry>& kept, Handle Entry::*handle, Handle selected)
    {
        std::vector<Entry> stay;
        for (const Entry& k : kept) {
            if (k.*handle == selected)
                stay.push_back(k);
            else
                DeleteObject(k.*handle);
        }
        kept.swap(stay);
    }

    HPEN kept(int width, COLORREF colour)
    {
        for (const Kept& k : m_kept)
            if (k.width == width && k.colour == colour)
                return k.pen;
        if (m_kept.size() >= kKept)
            prune(m_kept, &Kept::pen, m_pen);
        HPEN pen = solidPen(width, colour);
        if (pen)
            m_kept.push_back(Kept{width, colour, pen});
        return pen;
    }
    void release()
    {
        if (!m_pen)
            return;
        SelectObject(m_dc, m_original);
        if (!m_keep)
            DeleteObject(m_pen);
        m_pen = nullptr;
    }

    struct KeptBrush {
        COLORREF colour;
        HBRUSH brush;
    };

    HDC m_dc;
    bool m_keep;
    HBRUSH m_brush = nullptr; // the kept brush selected now
    HGDIOBJ m_originalBrush = nullptr;
    COLORREF m_brushColour = 0;
    std::vector<KeptBrush> m_brushes;
    HPEN m_pen = nullptr;
    HGDIOBJ m_original = nullptr;
    int m_width = 0;
    COLORREF m_colour = 0;
    std::vector<Kept> m_kept;
};

void singlePixel(const RenderContext& ctx, POINT p, COLORREF c)
{
    if (ctx.target == RenderTarget::Window) {
        SetPixel(ctx.dc, p.x, p.y, c);
    } else {
        MoveToEx(ctx.dc, p.x, p.y, nullptr);
        LineTo(ctx.dc, p.x + 1, p.y);
    }
}

void linesThrough(HDC dc, const CMavPoint3dArray& pts)
{
    if (pts.len() < 2)
        return;
    POINT p = devPoint(pts[0]);
    MoveToEx(dc, p.x, p.y, nullptr);
    for (int i = 1; i < pts.len(); ++i) {
        p = devPoint(pts[i]);
        LineTo(dc, p.x, p.y);
    }
}

// Draws the segments mapped with `toDevice`. On a broken line (dashes) a piece shorter than the threshold is a dot
// and becomes a single pixel in `pixelColour`. Segments that join end to start form one run. The window hands a
// run drawn with a thin pen (width 0 or 1) to GDI as one Polyline, which lights exactly the pixels of MoveTo and
// one LineTo per segment at a fraction of the calls; wide pens (whose joins differ) and the metafile, whose
// records stay one line per segment, take the segments one by one.
void drawVertices(const RenderContext& ctx, const CMavVertexArray& vl, bool unbroken, const CMavMatrix3d& toDevice,
                  COLORREF pixelColour, int penWidth)
{
    const bool asRuns = ctx.target == RenderTarget::Window && penWidth <= 1;
    // A long run goes out in pieces that share their end points, which lights the same pixels.
    POINT run[64];
    int runLen = 0;
    auto flush = [&run, &runLen, &ctx]() {
        if (runLen >= 2)
            Polyline(ctx.dc, run, runLen);
        runLen = 0;
    };
    auto add = [&run, &runLen, &ctx](POINT p) {
        if (runLen == 64) {
            Polyline(ctx.dc, run, runLen);
            run[0] = run[63];
            runLen = 1;
        }
        run[runLen++] = p;
    };
    bool joined = false; // the current position (or the run) ends where the previous segment ended
    for (int i = 0; i < vl.len(); ++i) {
        const CMavVertex& vx = vl[i];
        if (!unbroken && vx.start.distanceTo(vx.end) < ctx.pixelThreshold) {
            if (asRuns)
                flush();
            singlePixel(ctx, devPoint(toDevice * vx.start), pixelColour);
            joined = false;
            continue;
        }
        if (!vx.isArc()) {
            const bool continues = joined && vx.start == vl[i - 1].end;
            if (asRuns) {
                if (!continues) {
                    flush();
                    add(devPoint(toDevice * vx.start));
                }
                add(devPoint(toDevice * vx.end));
            } else {
                // A segment that continues the previous one goes on from the current position.
                if (!continues) {
                    const POINT a = devPoint(toDevice * vx.start);
                    MoveToEx(ctx.dc, a.x, a.y, nullptr);
                }
                const POINT b = devPoint(toDevice * vx.end);
                LineTo(ctx.dc, b.x, b.y);
            }
            joined = true;
            continue;
        }
        if (asRuns)
            flush();
        joined = false;
        CMavVertexArray one;
        one.append(vx);
        one.transformBy(toDevice);
        linesThrough(ctx.dc, one.pts(true, 0.5));
    }
    if (asRuns)
        flush();
}

// A line pattern made ready for dashing: the three-entry flag forms and the single 1 replaced by real patterns,
// dashes and gaps scaled, dots given their length.
CMavArrayTempl<double> normalisedPattern(const CMavArrayTempl<double>& in, double scale, double dotLength)
{
    CMavArrayTempl<double> p;
    const int n = in.len();
    if (n == 1 && in[0] == 1.0)
        return p;
    if (n == 3) {
        const double a = in[0], b = in[1], c = in[2];
        if (a == 1.0 && b == 0.0 && c == 0.0)
            return p;
        if (a == 1.0 && b == 1.0 && c == 0.0) {
            p.append(10.0);
            p.append(-4.0);
        } else if (a == 1.0 && b == 1.0 && c == 1.0) {
            p.append(11.0);
            p.append(-5.0);
            p.append(0.0);
            p.append(-5.0);
        } else if (a == 0.0 && b == 0.0 && c != 0.0) {
            p.append(0.0);
            p.append(-4.0);
        }
    }
    if (p.len() == 0)
        p = in;
    for (int i = 0; i < p.len(); ++i)
        p[i] = p[i] == 0.0 ? dotLength : p[i] * scale;
    return p;
}

bool hasArc(const CMavVertexArray& vl)
{
    for (int i = 0; i < vl.len(); ++i)
        if (vl[i].isArc())
            return true;
    return false;
}

// The window's drawing of many thin lines in one colour (a region's hatch) with a single PolyPolyline: each run
// of joined segments becomes one of its polylines, lighting the pixels drawVertices lights with a Polyline per
// run, and a dot (a piece of a broken line shorter than the threshold) its single pixel, which in one colour may
// come before or after the lines. False, with nothing drawn, for lines with arcs, which drawVertices draws.
bool drawThinLines(const RenderContext& ctx, const CMavArrayTempl<CMavVertexArray>& lines, bool dots,
                   const CMavMatrix3d& toDevice, COLORREF colour)
{
    for (const CMavVertexArray& vl : lines)
        if (hasArc(vl))
            return false;
    // The buffers stay with the thread between items, so a repaint allocates nothing here.
    thread_local std::vector<POINT> points;
    thread_local std::vector<DWORD> counts;
    points.clear();
    counts.clear();
    for (const CMavVertexArray& vl : lines) {
        const bool unbroken = !dots && vl.isContinuous();
        bool joined = false; // the open run ends where the previous segment ended
        for (int i = 0; i < vl.len(); ++i) {
            const CMavVertex& vx = vl[i];
            if (!unbroken && vx.start.distanceTo(vx.end) < ctx.pixelThreshold) {
                singlePixel(ctx, devPoint(toDevice * vx.start), colour);
                joined = false;
                continue;
            }
            if (!(joined && vx.start == vl[i - 1].end)) {
                points.push_back(devPoint(toDevice * vx.start));
                counts.push_back(1);
            }
            points.push_back(devPoint(toDevice * vx.end));
            ++counts.back();
            joined = true;
        }
    }
    if (!counts.empty())
        PolyPolyline(ctx.dc, points.data(), counts.data(), static_cast<DWORD>(counts.size()));
    return true;
}

// A polyline (or a region's contour) in item coordinates: turned by the view direction, dashed there, mapped to
// the device with `toDevice` (composite view x item matrix).
void drawPolyline(const RenderContext& ctx, const CMavVertexArray& in, const CMavArrayTempl<double>& pattern,
                  const CMavMatrix3d& viewDir, const CMavMatrix3d& toDevice, COLORREF colour, int penWidth)
{
    const bool window = ctx.target == RenderTarget::Window;
    // The common case of a plain solid polyline seen from the front draws the stored segments as they are:
    // the view direction, the dashing (which needs two values) and the arc split would all leave them unchanged.
    if (pattern.len() < 2 && viewDir.isIdentity() && !hasArc(in)) {
        const bool unbroken = in.isContinuous() || (!window && in.isClosed());
        drawVertices(ctx, in, unbroken, toDevice, colour, penWidth);
        return;
    }
    CMavVertexArray vl = in.getTransformedCopy(viewDir);
    if (window || pattern.len() > 0)
        mav_gdx_image_vl_measure(vl, pattern, 1);
    const bool unbroken = vl.isContinuous() || (!window && vl.isClosed());
    drawVertices(ctx, mav_gdx_image_vl_split(vl), unbroken, toDevice, colour, penWidth);
}

// Appends the device points of a polyline of straight segments mapped by m, the points pts(true, 0.5) of its
// mapped copy would give: every segment's start, a segment's end where the next one does not start there, and
// the last end. False (nothing appended) when a segment is an arc.
bool appendStraightDevicePoints(const CMavVertexArray& vl, const CMavMatrix3d& m, std::vector<POINT>& out)
{
    const int n = vl.len();
    const CMavVertex* v = vl.data();
    const size_t first = out.size();
    // The device point of m * p: x and y as CMavPoint3d::transformBy computes them, the device needs no more.
    const auto device = [&m](const CMavPoint3d& p) {
        const double x = m.m[0][0] * p.x + m.m[0][1] * p.y + m.m[0][2] * p.z + m.m[0][3];
        const double y = m.m[1][0] * p.x + m.m[1][1] * p.y + m.m[1][2] * p.z + m.m[1][3];
        return POINT{devCoord(x), devCoord(y)};
    };
    // A point on the device pixel of the one before adds an edge of no length: no pixel of the fill or the pen
    // changes without it, and a small glyph loses most of its points to it.
    const auto add = [&out, first](const POINT& d) {
        if (out.size() == first || out.back().x != d.x || out.back().y != d.y)
            out.push_back(d);
    };
    // One pass over the contour: each segment's start, and its end where the next segment starts elsewhere (the
    // last segment's end always); an arc found on the way takes back what was added.
    for (int i = 0; i < n; ++i) {
        if (v[i].bulge != 0.0) {
            out.resize(first);
            return false;
        }
        add(device(v[i].start));
        if (i + 1 == n) {
            add(device(v[i].end));
        } else if (!(v[i + 1].start == v[i].end)) {
            const CMavPoint3d end = m * v[i].end;
            if (!end.isEqualTo(m * v[i + 1].start))
                add(devPoint(end));
        }
    }
    return true;
}

// Device points of one contour as the clipping fill takes them.
void appendDevicePoints(const CMavVertexArray& vl, const CMavMatrix3d& m, std::vector<POINT>& out)
{
    if (appendStraightDevicePoints(vl, m, out))
        return;
    const CMavPoint3dArray pts = vl.getTransformedCopy(m).pts(true, 0.5);
    for (int k = 0; k < pts.len(); ++k)
        out.push_back(devPoint(pts[k]));
}

// A glyph contour with each arc replaced by fine chords: the window's polygon fill knows only straight edges.
CMavVertexArray glyphChords(const CMavVertexArray& contour)
{
    CMavVertexArray out;
    for (const CMavVertex& v : contour) {
        if (v.bulge == 0.0) {
            out.append(v);
            continue;
        }
        CMavVertexArray one;
        one.append(v);
        const CMavVertexArray chords = MAV::g_vl_expl(one, MAV::g_vx_split_dif(v, 0.1));
        for (const CMavVertex& c : chords)
            out.append(c);
    }
    return out;
}

// Device points of a glyph contour in the window: its chords where it has arcs.
void appendGlyphPoints(const CMavVertexArray& contour, const CMavMatrix3d& toDevice, std::vector<POINT>& out)
{
    if (!appendStraightDevicePoints(contour, toDevice, out))
        appendDevicePoints(glyphChords(contour), toDevice, out);
}

// Gives the drawing back its clip after holes were cut out of it. In the window the clip the drawing began with is
// the meta region while it lasts (renderItems), so the clip region only has to go, which costs less than selecting
// a region; the metafile records the whole image as its clip.
void clipToImage(const RenderContext& ctx)
{
    if (ctx.target == RenderTarget::Window) {
        SelectClipRgn(ctx.dc, nullptr);
        return;
    }
    HRGN all = CreateRectRgn(0, 0, ctx.width, ctx.height);
    SelectClipRgn(ctx.dc, all);
    DeleteObject(all);
}

// Fills a region list in the window's way: the holes are taken out of the clip region, the outer contour is
// drawn as a polygon with the selected pen, and the clip becomes the whole image again. Without
// `brushSelected` the fill brush is made here; a caller filling many lists in one colour selects it once.
void fillByClip(const RenderContext& ctx, const CMavGDX& gdx, const CMavArrayTempl<CMavVertexArray>& list,
                const CMavMatrix3d& toDevice, COLORREF colour, bool brushSelected = false)
{
    HDC dc = ctx.dc;
    SetBkColor(dc, gdx.backColorGet().oleColor() & 0xFFFFFF);
    bool cut = false; // a hole was taken out of the clip region
    std::vector<POINT> poly;
    for (int i = 1; i < list.len(); ++i) {
        poly.clear();
        appendDevicePoints(list[i], toDevice, poly);
        if (poly.size() < 3)
            continue;
        HRGN hole = CreatePolygonRgn(poly.data(), static_cast<int>(poly.size()), ALTERNATE);
        if (hole) {
            ExtSelectClipRgn(dc, hole, RGN_DIFF);
            DeleteObject(hole);
            cut = true;
        }
    }
    poly.clear();
    if (list.len() > 0)
        appendDevicePoints(list[0], toDevice, poly);
    {
        Selected brush(dc, brushSelected ? nullptr : CreateSolidBrush(colour));
        SetPolyFillMode(dc, ALTERNATE);
        if (!poly.empty())
            Polygon(dc, poly.data(), static_cast<int>(poly.size()));
    }
    // Unless a hole was cut the window's clip is still the one the drawing began with; the metafile records the
    // reset in any case.
    if (cut || ctx.target != RenderTarget::Window)
        clipToImage(ctx);
}

// Fills a region list in the metafile's way, one device row at a time: each row is cut by the region and its
// inside pieces are drawn as lines with the selected pen.
void fillByScanLines(const RenderContext& ctx, const CMavArrayTempl<CMavVertexArray>& list,
                     const CMavMatrix3d& toDevice)
{
    if (list.len() == 0)
        return;
    CMavArrayTempl<CMavVertexArray> dev;
    for (int i = 0; i < list.len(); ++i)
        dev.append(list[i].getTransformedCopy(toDevice));
    CMavPoint3d mn, mx;
    if (!dev[0].extents(mn, mx) || !std::isfinite(mn.y) || !std::isfinite(mx.y))
        return;
    // Rows outside the picture draw nothing; leaving them out keeps the loop bounded on any geometry.
    double y = static_cast<double>(devCoord(mn.y));
    if (y < -1.0)
        y = -1.0;
    const double yEnd = mx.y < ctx.height + 1.0 ? mx.y : ctx.height + 1.0;
    for (; y < yEnd; y += 1.0) {
        CMavVertexArray row;
        row.append(CMavPoint3d(mn.x, y, 0.0), CMavPoint3d(mx.x, y, 0.0));
        const CMavArrayTempl<CMavVertexArray> pieces = MAV::g_vl_punch_reg(row, dev, true);
        for (int k = 0; k < pieces.len(); ++k)
            drawVertices(ctx, pieces[k], true, CMavMatrix3d(), 0, 1);
    }
}

void drawPoint(const RenderContext& ctx, const CMavGDX& gdx, int item, const CMavMatrix3d& itemToDevice,
               COLORREF colour)
{
    HDC dc = ctx.dc;
    CMavPoint3d pt;
    gdx.geomGet(pt, item);
    const POINT c = devPoint(itemToDevice * pt);
    const int x = c.x, y = c.y;
    const double size = gdx.pdSizeGet(item);
    int s;
    if (size > 0.0) {
        const CMavVector3d unit = ctx.toDevice * CMavVector3d(1.0, 0.0, 0.0);
        s = static_cast<int>(devCoord(size * unit.length()));
    } else {
        s = static_cast<int>(devCoord(size));
    }
    const int h = s >> 1;
    const unsigned long d = gdx.pdModeGet(item);

    Selected pen(dc, solidPen(1, colour));
    Selected hollow(dc, GetStockObject(HOLLOW_BRUSH), false);
    if (d & 8) {
        if (ctx.target == RenderTarget::Window) {
            const RECT r{x - h, y - h, x - h + s, y - h + s};
            const COLORREF oldBk = SetBkColor(dc, colour);
            ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
            SetBkColor(dc, oldBk);
        } else {
            Selected brush(dc, CreateSolidBrush(colour));
            Rectangle(dc, x - h, y - h, x + h, y + h);
        }
        return;
    }
    if (d & 32)
        Ellipse(dc, x - h, y - h, x + h, y + h);
    if (d & 64) {
        const int in = (ctx.target == RenderTarget::Window && (s & 1)) ? 1 : 0;
        Rectangle(dc, x - h + in, y - h + in, x + h, y + h);
    }
    auto ray = [dc, x, y](int ex, int ey) {
        MoveToEx(dc, x, y, nullptr);
        LineTo(dc, ex, ey);
    };
    switch (d & 7) {
    case 0: {
        Selected brush(dc, CreateSolidBrush(colour));
        Ellipse(dc, x - 1, y - 1, x + 1, y + 1);
        break;
    }
    case 2:
    case 6:
        ray(x, y - h);
        ray(x, y + h);
        ray(x + h, y);
        ray(x - h, y);
        break;
    case 3:
    case 7:
        ray(x - h, y - h);
        ray(x - h, y + h);
        ray(x + h, y - h);
        ray(x + h, y + h);
        break;
    case 4:
        ray(x, y - h);
        break;
    default: // 1 and 5 draw no symbol
        break;
    }
}

// The window's remembered hatch of a region item: the cache the item holds when it was made from the item's
// present outlines, hatch property and matrices, else a new one with the outlines split (and no lines yet), which
// the item keeps from now on. Null for an item without a rare part (it has no outlines to hatch).
std::shared_ptr<CMavHatchCache> windowHatchCache(const CMavGDX& gdx, int item, const CHatchProp& hatch)
{
    const CMavDisplayItem& it = gdx.getDisplayList()[item];
    if (!it.hasRare())
        return nullptr;
    const CMavDisplayItemRare& rare = it.rare();
    std::shared_ptr<CMavHatchCache> cache = rare.m_hatchCache;
    if (cache && cache->hatch == hatch && cache->itemMtx == it.m_mtx.get() &&
        cache->viewDir == gdx.viewDirectionMtxGet() && cache->source == rare.m_regl)
        return cache;
    cache = std::make_shared<CMavHatchCache>();
    cache->source = rare.m_regl;
    cache->hatch = hatch;
    cache->itemMtx = it.m_mtx.get();
    cache->viewDir = gdx.viewDirectionMtxGet();
    cache->split = mav_gdx_image_reg_split(rare.m_regl);
    rare.m_hatchCache = cache;
    return cache;
}

// The legibility test of a hatch. The test measures the pattern's spacing along a unit vector mapped to the
// device, which a pan does not change: with a cache, its answer is kept for the linear part of the matrix and
// asked again only when that changes (a zoom, a turn). All the test learns from the outlines and the pattern
// (line count, spacing, whether the hatcher can draw it) is measured once per cache, so a new zoom only scales the
// spacing.
bool legible(CMavHatchCache* cache, const CMavArrayTempl<CMavVertexArray>& own, const CHatchProp& hatch,
             const CMavMatrix3d& test)
{
    if (!cache)
        return mav_gdx_pattern_test(own, hatch, test);
    bool same = cache->legibleKnown;
    for (int r = 0; r < 3 && same; ++r)
        for (int c = 0; c < 3 && same; ++c)
            same = cache->legibleFor.m[r][c] == test.m[r][c];
    if (!same) {
        if (!cache->measured) {
            const MavPatternMeasure m = mav_gdx_pattern_measure(cache->split, hatch);
            cache->lineCount = m.count;
            cache->lineSpacing = m.spacing;
            cache->fits = m.fits;
            cache->measured = true;
        }
        MavPatternMeasure m;
        m.count = cache->lineCount;
        m.spacing = cache->lineSpacing;
        m.fits = cache->fits;
        cache->legible = mav_gdx_pattern_legible(m, test);
        cache->legibleFor = test;
        cache->legibleKnown = true;
    }
    return cache->legible;
}

void drawRegion(const RenderContext& ctx, const CMavGDX& gdx, int item, unsigned long flags, int fillMode,
                COLORREF penColour, const CMavArrayTempl<double>& pattern, ItemPens& pens)
{
    const bool window = ctx.target == RenderTarget::Window;
    HDC dc = ctx.dc;
    const CMavMatrix3d& itemMtx = gdx.mtxGet(item);
    const CMavMatrix3d& viewDir = gdx.viewDirectionMtxGet();
    const CMavMatrix3d toDevice = ctx.toDevice * viewDir * itemMtx;
    const CMavMatrix3d lineToDevice = ctx.toDevice * itemMtx;

    unsigned long f = flags;
    if (window || (f & 3) != 0) {
        // The item's hatch as hatchGet gives it, read in place (a copy per item and drawing costs a string's
        // allocation).
        const CHatchProp& hatch = gdx.getDisplayList()[item].rare().m_hatch;
        const bool haveHatch = (f & 2) != 0;
        // The window tests the legibility of the hatch on the contours as drawn (arcs as chords), the metafile on
        // the contours as stored. The window keeps the split contours and the hatch lines of a hatched item
        // between drawings (windowHatchCache); only the legibility test, which depends on the zoom, runs again.
        std::shared_ptr<CMavHatchCache> cache;
        CMavArrayTempl<CMavVertexArray> own;
        if (window && (f & 2))
            cache = windowHatchCache(gdx, item, hatch);
        if (!cache)
            gdx.geomGet(own, item);
        if (window && !cache)
            own = mav_gdx_image_reg_split(own);
        if (f & 2) {
            const CMavMatrix3d test = window ? itemMtx * viewDir * ctx.toDevice : itemMtx * ctx.toDevice;
            if (!haveHatch || !legible(cache.get(), own, hatch, test)) {
                f = (f & ~2ul) | 1ul;
                // Illegible now: the lines are dropped, and hatched anew when the hatch becomes legible again.
                if (cache && cache->hasLines) {
                    cache->lines.removeAll();
                    cache->hasLines = false;
                }
            }
        }
        COLORREF fill = penColour;
        if (fillMode == 0 && gdx.fcolorGet(item).colorIndex() != 0)
            fill = gdx.fcolorGet(item).oleColor();
        fill = targetColour(ctx, fill);
        HPEN scanPen = window ? nullptr : solidPen(1, fill);
        Selected scanPenSel(dc, scanPen);
        if (!window)
            own = mav_gdx_image_reg_split(own);
        const CMavArrayTempl<CMavVertexArray>& list = cache ? cache->split : own;

        if (f & 1) {
            if (window) {
                pens.select(gdx.thicknGet(item), penColour); // the polygon's outline
                fillByClip(ctx, gdx, list, toDevice, fill);
            }
            else
                fillByScanLines(ctx, list, toDevice);
        }
        if (f & 2) {
            if (window)
                pens.select(1, fill);
            CMavArrayTempl<CMavVertexArray> computed;
            if (cache && !cache->hasLines) {
                cache->lines = mav_gdx_image_reg_hatch2(list, CMavMatrix3d(), hatch);
                cache->hasLines = true;
            } else if (!cache) {
                computed = mav_gdx_image_reg_hatch2(list, CMavMatrix3d(), hatch);
            }
            const CMavArrayTempl<CMavVertexArray>& lines = cache ? cache->lines : computed;
            // Dots are drawn piece by piece. The name is compared exactly, as the hatchers compare pattern names.
            const bool dots = hatch.name == L"DOTS";
            if (!window || !drawThinLines(ctx, lines, dots, toDevice, fill)) {
                for (int i = 0; i < lines.len(); ++i) {
                    const bool unbroken = !dots && (lines[i].isContinuous() || (!window && lines[i].isClosed()));
                    drawVertices(ctx, lines[i], unbroken, toDevice, fill, 1);
                }
            }
        }
    }
    if (f & 0x10) {
        Selected pen(dc, solidPen(gdx.thicknGet(item), penColour));
        CMavArrayTempl<CMavVertexArray> contours;
        gdx.geomGet(contours, item);
        for (int i = 0; i < contours.len(); ++i)
            drawPolyline(ctx, contours[i], pattern, viewDir, lineToDevice, penColour, gdx.thicknGet(item));
    }
}

// The device points' box of points[start, end).
RECT boxOf(const std::vector<POINT>& points, size_t start, size_t end)
{
    RECT r{points[start].x, points[start].y, points[start].x, points[start].y};
    for (size_t k = start + 1; k < end; ++k) {
        r.left = std::min(r.left, points[k].x);
        r.top = std::min(r.top, points[k].y);
        r.right = std::max(r.right, points[k].x);
        r.bottom = std::max(r.bottom, points[k].y);
    }
    return r;
}

// True when two boxes, each widened by reach, share a pixel.
bool boxesMeet(const RECT& a, const RECT& b, LONG reach)
{
    return a.left - reach <= b.right && b.left <= a.right + reach && a.top - reach <= b.bottom &&
           b.top <= a.bottom + reach;
}

// How far a pen of the width reaches beyond the points' box: a thin pen stays within it, a wider one reaches out by
// half its width (a unit more for rounding and its joins).
LONG penReach(int penWidth) { return penWidth <= 1 ? 0 : static_cast<LONG>(penWidth / 2 + 2); }

// Fills one glyph region in the window: its outline and holes as one PolyPolygon in alternate mode, without a
// pen, so the holes stay empty without touching the clip region; then the outline alone is drawn with the item
// pen, as the polygon of the clipping fill drew it. While a hole lies well inside its outline this lights the
// pixels of the outline's polygon with the holes' regions taken out, as clipping did. In small glyphs the
// truncated corners of a hole can reach its outline (a stroke of the outline then lies in the hole's region, or
// a corner of the hole outside the outline), and at the image's edge the device points of a glyph that reaches
// beyond it crowd onto the edge row or column (truncation makes -0.5 the edge's 0). The caller keeps the
// clipping fill for small glyphs; for a glyph with holes that comes within a pixel of the edge false is returned
// before anything is drawn.
bool fillGlyph(const RenderContext& ctx, const CMavArrayTempl<CMavVertexArray>& region, const CMavMatrix3d& toDevice,
               std::vector<POINT>& points, std::vector<INT>& counts)
{
    points.clear();
    counts.clear();
    for (int i = 0; i < region.len(); ++i) {
        const size_t before = points.size();
        appendGlyphPoints(region[i], toDevice, points);
        const int added = static_cast<int>(points.size() - before);
        if (i > 0 && added < 3) {
            points.resize(before); // a hole too small to make a region took nothing away
            continue;
        }
        counts.push_back(added);
    }
    if (counts.empty() || counts[0] == 0)
        return true;
    HDC dc = ctx.dc;
    SetPolyFillMode(dc, ALTERNATE);
    if (counts.size() == 1) {
        Polygon(dc, points.data(), counts[0]);
        return true;
    }
    const RECT box = boxOf(points, 0, static_cast<size_t>(counts[0]));
    if (box.left < 1 || box.top < 1 || box.right > ctx.width - 2 || box.bottom > ctx.height - 2)
        return false;
    {
        Selected noPen(dc, GetStockObject(NULL_PEN), false);
        PolyPolygon(dc, points.data(), counts.data(), static_cast<int>(counts.size()));
    }
    Selected noBrush(dc, GetStockObject(NULL_BRUSH), false);
    Polygon(dc, points.data(), counts[0]);
    return true;
}

// The glyphs of a text item as they are drawn. In the window a glyph with arcs is given with its arcs as chords,
// made when the glyph is asked for (valid until the next is asked for); the stored glyphs are used where they
// are otherwise. The window's fills that take a glyph contour by contour read the stored glyph and make the
// chords of a contour with arcs as they meet it (appendGlyphPoints), which spares a pass over every glyph.
class TextGlyphs {
public:
    TextGlyphs(const CMavArrayTempl<CMavArrayTempl<CMavVertexArray>>& stored, bool window)
        : m_stored(stored), m_window(window)
    {
    }
    int len() const { return m_stored.len(); }
    const CMavArrayTempl<CMavVertexArray>& stored(int g) const { return m_stored[g]; }
    const CMavArrayTempl<CMavVertexArray>& operator[](int g) const
    {
        const CMavArrayTempl<CMavVertexArray>& glyph = m_stored[g];
        if (!m_window || !hasBulge(glyph))
            return glyph;
        m_chords = glyph;
        for (CMavVertexArray& contour : m_chords)
            if (hasBulge(contour))
                contour = glyphChords(contour);
        return m_chords;
    }

private:
    // Any bulge at all, as appendStraightDevicePoints sees it (a degenerate one included).
    static bool hasBulge(const CMavVertexArray& contour)
    {
        for (const CMavVertex& v : contour)
            if (v.bulge != 0.0)
                return true;
        return false;
    }
    static bool hasBulge(const CMavArrayTempl<CMavVertexArray>& glyph)
    {
        for (const CMavVertexArray& contour : glyph)
            if (hasBulge(contour))
                return true;
        return false;
    }

    const CMavArrayTempl<CMavArrayTempl<CMavVertexArray>>& m_stored;
    bool m_window;
    mutable CMavArrayTempl<CMavVertexArray> m_chords;
};

// A glyph contour among a text's device points.
struct Contour {
    size_t start;
    int count;
    int glyph;
    RECT box;
};

// Fills the glyphs of a text in the window as fillByClip does glyph by glyph, with one clip region for the holes
// of all of them: the clip is cut and given back once per text instead of once per glyph with holes. That lights
// the same pixels as long as no glyph's polygon, with its pen, reaches a hole of another glyph; in a text whose
// glyphs come that close (tiny or overlapping glyphs) false is returned before anything is drawn, and the caller
// clips glyph by glyph. Like fillByClip it leaves the whole image as the clip when a hole was cut.
bool fillTextByClip(const RenderContext& ctx, const CMavGDX& gdx, const TextGlyphs& glyphs,
                    const CMavMatrix3d& toDevice, int penWidth, bool oneColour, std::vector<POINT>& points)
{
    thread_local std::vector<Contour> outers, holes;
    outers.clear();
    holes.clear();
    points.clear();
    for (int g = 0; g < glyphs.len(); ++g) {
        const CMavArrayTempl<CMavVertexArray>& glyph = glyphs.stored(g);
        for (int i = 0; i < glyph.len(); ++i) {
            const size_t before = points.size();
            appendGlyphPoints(glyph[i], toDevice, points);
            const int added = static_cast<int>(points.size() - before);
            if (i > 0 && added < 3) {
                points.resize(before); // too small to make a region: it cuts nothing
                continue;
            }
            if (added == 0)
                continue; // an empty outline draws nothing
            (i == 0 ? outers : holes).push_back(Contour{before, added, g, boxOf(points, before, points.size())});
        }
    }
    // A hole's region lies within its points' box, and so do a polygon's fill and its pen's lines within the
    // pen's reach.
    const LONG reach = penReach(penWidth);
    for (const Contour& h : holes)
        for (const Contour& o : outers)
            if (o.glyph != h.glyph && boxesMeet(o.box, h.box, reach))
                return false;
    HDC dc = ctx.dc;
    SetBkColor(dc, gdx.backColorGet().oleColor() & 0xFFFFFF);
    bool cut = false;
    HRGN all = nullptr;
    for (const Contour& h : holes) {
        HRGN hole = CreatePolygonRgn(points.data() + h.start, h.count, ALTERNATE);
        if (!hole)
            continue;
        cut = true;
        if (!all) {
            all = hole;
            continue;
        }
        CombineRgn(all, all, hole, RGN_OR);
        DeleteObject(hole);
    }
    // Glyphs without holes are not touched by the clip (no hole comes near them) and are filled before it is cut:
    // a fill through a clip region with holes costs more than one without. Where outline and fill have one
    // colour, the order of glyphs that overlap does not show; otherwise they keep their order.
    thread_local std::vector<char> holed;
    holed.assign(static_cast<size_t>(glyphs.len()), oneColour ? 0 : 1);
    for (const Contour& h : holes)
        holed[static_cast<size_t>(h.glyph)] = 1;
    SetPolyFillMode(dc, ALTERNATE);
    for (const Contour& o : outers)
        if (!cut || !holed[static_cast<size_t>(o.glyph)])
            Polygon(dc, points.data() + o.start, o.count);
    if (cut) {
        ExtSelectClipRgn(dc, all, RGN_DIFF);
        DeleteObject(all);
        for (const Contour& o : outers)
            if (holed[static_cast<size_t>(o.glyph)])
                Polygon(dc, points.data() + o.start, o.count);
        clipToImage(ctx);
    }
    return true;
}

// Glyphs whose letters are at least this many device units high in both directions are filled without clipping.
// Below it the corners of holes, truncated to whole device units, can reach their outlines: sweeps over every
// glyph with holes, turned, stretched and mirrored, showed single pixels of difference up to 12.75 units and none
// from 13 to 60; the bound keeps a margin.
constexpr double kGlyphPolyPolygonMin = 16.0;

void drawText(const RenderContext& ctx, const CMavGDX& gdx, int item, unsigned long flags, int fillMode,
              COLORREF penColour, ItemPens& pens)
{
    const bool window = ctx.target == RenderTarget::Window;
    const CMavMatrix3d toDevice = ctx.toDevice * gdx.viewDirectionMtxGet() * gdx.mtxGet(item);
    const TextGlyphs glyphs(gdx.getDisplayList()[item].rare().m_txtRegl, window);
    COLORREF brush = penColour;
    if (fillMode == 0 && gdx.fcolorGet(item).colorIndex() != 0)
        brush = gdx.fcolorGet(item).oleColor() & 0xFFFFFF;
    // The window fills all glyphs of the text with one brush (kept for texts of the same colour); the metafile
    // records a brush per glyph.
    const bool textBrush = window && (flags & 1) && pens.selectBrush(brush);
    if (window && (flags & 1))
        SetBkColor(ctx.dc, gdx.backColorGet().oleColor() & 0xFFFFFF);
    // A font unit (the height of a capital) in device units, along the text's x and y directions.
    const double unitX = std::hypot(toDevice.m[0][0], toDevice.m[1][0]);
    const double unitY = std::hypot(toDevice.m[0][1], toDevice.m[1][1]);
    const bool noClip = window && unitX >= kGlyphPolyPolygonMin && unitY >= kGlyphPolyPolygonMin;
    thread_local std::vector<POINT> points;
    thread_local std::vector<INT> counts;
    // Without outlines drawn over them, the glyphs of a small text share one clip region where they can.
    if (window && (flags & 1) && !noClip && !(flags & 0x10) &&
        fillTextByClip(ctx, gdx, glyphs, toDevice, gdx.thicknGet(item), brush == penColour, points))
        return;
    for (int g = 0; g < glyphs.len(); ++g) {
        if ((flags & 1) && !(noClip && fillGlyph(ctx, glyphs.stored(g), toDevice, points, counts)))
            fillByClip(ctx, gdx, glyphs[g], toDevice, brush, textBrush);
        if (flags & 0x10) {
            // Each segment on its own: a contour that is not closed up shows its gaps, not a line across them.
            Selected pen(ctx.dc, solidPen(1, penColour));
            const CMavArrayTempl<CMavVertexArray>& glyph = glyphs[g];
            for (int c = 0; c < glyph.len(); ++c)
                drawVertices(ctx, glyph[c], true, toDevice, penColour, 1);
        }
    }
}

void drawPicture(const RenderContext& ctx, const CMavGDX& gdx, int item, unsigned long flags)
{
    CMavString name;
    int iconId = 0;
    gdx.pictureGet(item, name, iconId);
    CMavPoint3d p0(0.0, 0.0, 0.0), p1(ctx.width, ctx.height, 0.0);
    if (!(flags & 0x20)) {
        CMavVertexArray rect;
        gdx.geomGet(rect, item);
        if (rect.len() > 0) {
            p0 = rect[0].start;
            p1 = rect[rect.len() - 1].end;
        }
    }
    const int w = static_cast<int>(devCoord(p1.x - p0.x));
    const int h = static_cast<int>(devCoord(p1.y - p0.y));
    const bool window = ctx.target == RenderTarget::Window;
    bool fromIcon = window ? true : (flags & 0x40) != 0;
    const unsigned long background = window ? (gdx.backColorGet().oleColor() & 0xFFFFFF) : 0xFFFFFFul;
    HBITMAP bmp = mav_gdx_image_get_bitmap(name, iconId, w, h, fromIcon, background);
    if (!bmp)
        return;
    HDC mem = CreateCompatibleDC(ctx.dc);
    if (!mem)
        mem = CreateCompatibleDC(nullptr);
    if (mem) {
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(ctx.dc, devCoord(p0.x), devCoord(p0.y), w, h, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    DeleteObject(bmp);
}

} // namespace

RenderContext renderContextMake(HDC dc, RenderTarget target, const CMavGDX& gdx, int width, int height)
{
    RenderContext ctx;
    ctx.dc = dc;
    ctx.target = target;
    ctx.width = width;
    ctx.height = height;
    ctx.toDevice = gdx.zoomMtxGet() * (gdx.projMtxGet() * gdx.viewMtxGet());
    ctx.dotLength = 0.21;
    MAV::acadUnitCv(ctx.dotLength, 4, -1);
    ctx.pixelThreshold = 0.22;
    MAV::acadUnitCv(ctx.pixelThreshold, 4, -1);
    return ctx;
}

void renderItems(const CMavGDX& gdx, const RenderContext& ctx)
{
    const bool window = ctx.target == RenderTarget::Window;
    const COLORREF inverseBack = (gdx.backColorGet().oleColor() & 0xFFFFFF) ^ 0xFFFFFF;
    const int n = gdx.lenGet();
    // In the window the clip the drawing begins with becomes the meta region while it lasts, so that a fill that
    // cut holes into the clip region gives it back by dropping it; the context's state is restored after.
    struct WindowState {
        HDC dc;
        int saved;
        ~WindowState()
        {
            if (saved)
                RestoreDC(dc, saved);
        }
    } state{ctx.dc, window ? SaveDC(ctx.dc) : 0};
    if (state.saved)
        SetMetaRgn(ctx.dc);
    ItemPens itemPen(ctx);
    // The window's colour rule compares with the context's background colour. Only a region or text fill sets it
    // (to the list's background), so it is read again after those alone.
    COLORREF windowBack = window ? GetBkColor(ctx.dc) & 0xFFFFFF : 0;
    for (int i = 0; i < n; ++i) {
        const unsigned long flags = gdx.flagGet(i);
        if (flags & 4)
            continue;
        const MavDisplayObj kind = gdx.typeGet(i);
        const int mode = static_cast<int>((flags >> 8) & 15);
        const CMavColor& colour = gdx.colorGet(i);
        const bool noColour = mode == 0 && colour.colorIndex() == -1;
        COLORREF pen;
        if (mode == 0 && !noColour)
            pen = colour.oleColor() & 0xFFFFFF;
        else if (mode == 0 || mode == 15)
            pen = inverseBack;
        else
            pen = gdx.colorTabGet(static_cast<GDX_CMODE>(mode)).oleColor() & 0xFFFFFF;
        if (!window)
            pen = targetColour(ctx, pen);
        else if (pen == windowBack)
            pen ^= 0xFFFFFF;
        // Without a colour of its own an item is drawn as the inverse of the background; the window takes that
        // for its fill and hatch too, the metafile only for its lines.
        const int fillMode = (window && noColour) ? 15 : mode;
        const CMavArrayTempl<double> pattern =
            normalisedPattern(gdx.linetypeGet(i), gdx.ltscaleGet(i), ctx.dotLength);

        const int width = gdx.thicknGet(i);
        // A region in the window selects the pens it draws with as it goes (the item pen for a fill's outline,
        // the hatch pen for its lines): a hatched region, the common case, then costs a pen selection only when
        // its colour differs from the item before.
        if (!(window && static_cast<int>(kind) == 3))
            itemPen.select(width, pen);
        switch (static_cast<int>(kind)) {
        case 1: {
            const CMavVertexArray& vl = gdx.getDisplayList()[i].m_vl;
            drawPolyline(ctx, vl, pattern, gdx.viewDirectionMtxGet(), ctx.toDevice * gdx.mtxGet(i), pen, width);
            break;
        }
        case 2:
            drawPoint(ctx, gdx, i, ctx.toDevice * gdx.viewDirectionMtxGet() * gdx.mtxGet(i), pen);
            break;
        case 3:
            drawRegion(ctx, gdx, i, flags, fillMode, pen, pattern, itemPen);
            break;
        case 5:
            drawText(ctx, gdx, i, flags, fillMode, pen, itemPen);
            break;
        case 6:
            drawPicture(ctx, gdx, i, flags);
            break;
        default:
            break;
        }
        if (window && (kind == 3 || kind == 5))
            windowBack = GetBkColor(ctx.dc) & 0xFFFFFF;
        itemPen.itemDone();
    }
}

void renderWindow(HDC dc, CMavGDX& gdx, int width, int height)
{
    const int saved = SaveDC(dc);
    HRGN clip = CreateRectRgn(0, 0, width, height);
    SelectClipRgn(dc, clip);
    DeleteObject(clip);
    SelectObject(dc, GetStockObject(NULL_PEN));
    const COLORREF back = gdx.backColorGet().oleColor() & 0xFFFFFF;
    HBRUSH backBrush = CreateSolidBrush(back);
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, backBrush);
    DeleteObject(backBrush);
    if (gdx.lenGet() > 0) {
        const COLORREF oldBk = GetBkColor(dc);
        const RenderContext ctx = renderContextMake(dc, RenderTarget::Window, gdx, width, height);
        gdx.displListSort();
        SetBkColor(dc, back);
        renderItems(gdx, ctx);
        SetBkColor(dc, oldBk);
    }
    RestoreDC(dc, saved);
}

} // namespace MAV

void refresh(CMavGDX* gdx, const wchar_t* fileName, int height, int width)
{
    if (!gdx)
        return;
    HDC dc = CreateEnhMetaFileW(nullptr, fileName, nullptr, nullptr);
    if (!dc)
        return;
    gdx->displListSort();
    CMavPoint3d mn, mx;
    gdx->extMaxViewGet(mn, mx);
    gdx->viewMtxSet(getViewMtx(mn, mx, height, width, 0.05));
    const MAV::RenderContext ctx = MAV::renderContextMake(dc, MAV::RenderTarget::Metafile, *gdx, width, height);
    HRGN clip = CreateRectRgn(0, 0, width, height);
    SelectClipRgn(dc, clip);
    DeleteObject(clip);
    MAV::renderItems(*gdx, ctx);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    if (!emf)
        return;
    if (fileName) {
        DeleteEnhMetaFile(emf); // the file is complete; only the handle goes
        return;
    }
    if (!OpenClipboard(nullptr)) {
        DeleteEnhMetaFile(emf);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_ENHMETAFILE, emf))
        DeleteEnhMetaFile(emf);
    CloseClipboard();
}

namespace {

// Draws the icon over the background colour into a new bitmap of the icon's size: the mask cuts the icon's shape
// out of the background, the colour bitmap (with its transparent part cleared by the mask) is laid into it.
HBITMAP iconToBitmap(HICON icon, COLORREF background)
{
    HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    HDC mem = CreateCompatibleDC(display);
    ICONINFO info{};
    HBITMAP result = nullptr;
    if (mem && GetIconInfo(icon, &info)) {
        int w = 32, h = 32;
        BITMAP bm{};
        if (info.hbmColor && GetObjectW(info.hbmColor, sizeof bm, &bm)) {
            w = bm.bmWidth;
            h = bm.bmHeight;
        } else if (info.hbmMask && GetObjectW(info.hbmMask, sizeof bm, &bm)) {
            w = bm.bmWidth;
            h = bm.bmHeight / 2;
        }
        result = CreateCompatibleBitmap(display ? display : mem, w, h);
        if (result) {
            HGDIOBJ oldResult = SelectObject(mem, result);
            HBRUSH fill = CreateSolidBrush(background & 0xFFFFFF);
            const RECT all{0, 0, w, h};
            FillRect(mem, &all, fill);
            DeleteObject(fill);
            HDC maskDc = CreateCompatibleDC(mem);
            HDC colourDc = CreateCompatibleDC(mem);
            HGDIOBJ oldMask = info.hbmMask ? SelectObject(maskDc, info.hbmMask) : nullptr;
            HGDIOBJ oldColour = info.hbmColor ? SelectObject(colourDc, info.hbmColor) : nullptr;
            if (info.hbmMask) {
                BitBlt(mem, 0, 0, w, h, maskDc, 0, 0, SRCAND);
                BitBlt(maskDc, 0, 0, w, h, nullptr, 0, 0, DSTINVERT);
            }
            if (info.hbmColor) {
                if (info.hbmMask)
                    BitBlt(colourDc, 0, 0, w, h, maskDc, 0, 0, SRCAND);
                BitBlt(mem, 0, 0, w, h, colourDc, 0, 0, SRCINVERT);
            }
            if (oldMask)
                SelectObject(maskDc, oldMask);
            if (oldColour)
                SelectObject(colourDc, oldColour);
            DeleteDC(maskDc);
            DeleteDC(colourDc);
            SelectObject(mem, oldResult);
        }
        if (info.hbmMask)
            DeleteObject(info.hbmMask);
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
    }
    if (mem)
        DeleteDC(mem);
    if (display)
        DeleteDC(display);
    DestroyIcon(icon);
    return result;
}

} // namespace

HBITMAP mav_gdx_image_get_bitmap(const CMavString& name, int iconId, int width, int height, bool& fromIcon,
                                 unsigned long background)
{
    HICON icon = nullptr;
    if (name.isEmpty()) {
        icon = LoadIconW(nullptr, MAKEINTRESOURCEW(static_cast<unsigned>(iconId) & 0xFFFFu));
        if (icon) {
            // System icons are shared; draw from a private copy so that destroying it is harmless.
            icon = CopyIcon(icon);
        } else {
            CMavString module;
            if (mavAppFileName(module, L"Mav", L"Mfc", L"Dll")) {
                HMODULE self = GetModuleHandleW(module.c_str());
                if (self)
                    icon = static_cast<HICON>(LoadImageW(self, MAKEINTRESOURCEW(static_cast<unsigned>(iconId) & 0xFFFFu),
                                                         IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
            }
        }
    } else {
        CMavString found;
        if (!MAV::fileFind(name.c_str(), found) || found.len() <= 4)
            return nullptr;
        CMavString ending = found.right(4);
        ending.makeLower();
        if (ending.compare(L".bmp") == 0)
            return static_cast<HBITMAP>(LoadImageW(nullptr, name.c_str(), IMAGE_BITMAP, width, height, LR_LOADFROMFILE));
        if (ending.compare(L".ico") != 0)
            return nullptr;
        icon = static_cast<HICON>(LoadImageW(nullptr, name.c_str(), IMAGE_ICON, width, height, LR_LOADFROMFILE));
    }
    if (!icon)
        return nullptr;
    fromIcon = false;
    return iconToBitmap(icon, background);
}
