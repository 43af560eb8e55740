// Drawing display lists into 32-bit DIBs with both targets, the metafile writer and the picture loader, under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "gdx/CMavGDX.h"
#include "geometry/hatch.h"
#include "geometry/measure.h"
#include "geometry/viewdir.h"
#include "render/MavRender.h"
#include "render_test_support.h"

namespace {

using namespace rendertest;
using MAV::RenderTarget;
using Glyphs = CMavArrayTempl<CMavArrayTempl<CMavVertexArray>>;
using Regions = CMavArrayTempl<CMavVertexArray>;
using Doubles = CMavArrayTempl<double>;

constexpr DWORD kBack = 0x00FFFFFF; // white, as a DIB pixel 0x00RRGGBB
constexpr int kW = 120;
constexpr int kH = 100;
constexpr RenderTarget kBoth[] = {RenderTarget::Window, RenderTarget::Metafile};
const CMavArrayTempl<int> kNoStack;

CMavColor rgb(COLORREF bgr)
{
    CMavColor c;
    c.setOleColor(bgr);
    return c;
}

// A list whose world coordinates are device coordinates (identity view, projection and zoom).
CMavGDX plainList(COLORREF background = 0xFFFFFF)
{
    return CMavGDX(rgb(background), CMavMatrix3d(), 0.0, 0, CMavPoint3d(0, 0, 0), CMavPoint3d(kW, kH, 0));
}

Doubles values(std::initializer_list<double> v)
{
    Doubles p;
    for (double x : v)
        p.append(x);
    return p;
}

CMavVertexArray segment(double x0, double y0, double x1, double y1)
{
    CMavVertexArray vl;
    vl.append(CMavPoint3d(x0, y0, 0), CMavPoint3d(x1, y1, 0));
    return vl;
}

CMavVertexArray rectangle(double x0, double y0, double x1, double y1)
{
    CMavVertexArray vl = segment(x0, y0, x1, y0);
    vl.appendTo(CMavPoint3d(x1, y1, 0));
    vl.appendTo(CMavPoint3d(x0, y1, 0));
    vl.appendTo(CMavPoint3d(x0, y0, 0));
    return vl;
}

Regions contours(std::initializer_list<CMavVertexArray> list)
{
    Regions out;
    for (const CMavVertexArray& c : list)
        out.append(c);
    return out;
}

void addPolyline(CMavGDX& g, const CMavVertexArray& vl, const CMavColor& c, unsigned long flags = 0,
                 const Doubles& pattern = Doubles(), double scale = 1.0, int width = 0)
{
    g.imageVl(kNoStack, flags, vl, c, CMavMatrix3d(), pattern, scale, width);
}

// A line across the image at height y.
void addLine(CMavGDX& g, double y, const CMavColor& c, unsigned long flags = 0, const Doubles& pattern = Doubles())
{
    addPolyline(g, segment(10, y, 110, y), c, flags, pattern);
}

void addRegion(CMavGDX& g, unsigned long flags, const Regions& list, COLORREF colour, const CMavColor& fill,
               const MAV::CHatchProp& hatch = MAV::CHatchProp())
{
    g.imageReg(kNoStack, flags, list, rgb(colour), CMavMatrix3d(), Doubles(), 1.0, 0, fill, hatch);
}

void addPoint(CMavGDX& g, double x, double y, double size, unsigned long mode, unsigned long flags = 0)
{
    g.imagePt(kNoStack, flags, CMavPoint3d(x, y, 0), rgb(0), CMavMatrix3d(), size, mode);
}

// A text item with the given glyph regions, as the text layout would leave it.
void addGlyphs(CMavGDX& g, unsigned long flags, const Glyphs& glyphs, COLORREF colour, COLORREF fill,
               const CMavMatrix3d& mtx = CMavMatrix3d())
{
    CMavArrayTempl<CMavDisplayItem> items;
    items.append(CMavDisplayItem());
    items[0].m_kind = static_cast<MavDisplayObj>(5);
    items[0].m_flags = static_cast<std::uint32_t>(flags);
    items[0].m_color = rgb(colour);
    items[0].m_mtx = mtx;
    items[0].rareEdit().m_fcolor = rgb(fill);
    items[0].rareEdit().m_txtRegl = glyphs;
    g.addDisplayList(items);
}

// The list drawn as the target would, but into a DIB so that pixels can be read for both: the window through its
// paint procedure (sorted, background painted), the metafile's item drawing clipped to the image.
DibPtr drawAs(CMavGDX& g, RenderTarget target, DWORD fill = kBack)
{
    auto d = std::make_unique<Dib>(kW, kH, fill);
    if (target == RenderTarget::Window) {
        MAV::renderWindow(d->dc, g, d->w, d->h);
        return d;
    }
    HRGN clip = CreateRectRgn(0, 0, d->w, d->h);
    SelectClipRgn(d->dc, clip);
    DeleteObject(clip);
    MAV::renderItems(g, MAV::renderContextMake(d->dc, target, g, d->w, d->h));
    SelectClipRgn(d->dc, nullptr);
    return d;
}

void expectMatrix(const CMavMatrix3d& got, const CMavMatrix3d& want)
{
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 4; ++k)
            EXPECT_DOUBLE_EQ(got.m[i][k], want.m[i][k]) << i << "," << k;
}

} // namespace

TEST(RenderColours, ModesInverseTargetRulesAndItemsThatDrawNothing)
{
    const COLORREF red = 0x0000FF, green = 0x00C000, grey = 0x808080;
    CMavGDX g = plainList(grey);
    g.ColorTabSet(static_cast<GDX_CMODE>(3), rgb(green));
    addLine(g, 10, rgb(red));           // own colour
    addLine(g, 20, rgb(red), 3u << 8);  // table entry 3
    addLine(g, 30, rgb(red), 15u << 8); // inverse background
    addLine(g, 40, CMavColor(-1));      // no colour: inverse background too
    addLine(g, 50, rgb(grey));          // equals the background: inverted in the window
    addLine(g, 60, rgb(0xFFFFFF));      // white: black in the metafile only
    // Hidden items of every kind and an item of an unknown kind leave no trace.
    addLine(g, 70, rgb(0), 0x4);
    addRegion(g, 0x1 | 0x10 | 0x4, contours({rectangle(20, 75, 80, 95)}), 0, rgb(0xFF));
    addPoint(g, 50, 85, 10, 8, 0x4);
    CMavArrayTempl<CMavDisplayItem> unknown;
    unknown.append(CMavDisplayItem());
    unknown[0].m_kind = static_cast<MavDisplayObj>(4);
    unknown[0].m_vl = segment(0, 5, 100, 5);
    g.addDisplayList(unknown);

    auto win = drawAs(g, RenderTarget::Window, 0);
    const DWORD inverse = dibPixel(grey ^ 0xFFFFFF);
    EXPECT_EQ(pixels(*win, {{0, 0}, {50, 10}, {50, 20}, {50, 30}, {50, 40}, {50, 50}, {50, 60}}),
              (Pixels{dibPixel(grey), dibPixel(red), dibPixel(green), inverse, inverse, inverse, 0xFFFFFF}));
    EXPECT_EQ(countNot(*win, dibPixel(grey), 0, 65) + countNot(*win, dibPixel(grey), 0, 0, kW, 8), 0);

    // The metafile paints no background and inverts nothing, but draws white as black.
    auto meta = drawAs(g, RenderTarget::Metafile, 0x123456);
    EXPECT_EQ(pixels(*meta, {{0, 0}, {50, 10}, {50, 50}, {50, 60}}),
              (Pixels{0x123456, dibPixel(red), dibPixel(grey), 0}));
    EXPECT_EQ(countNot(*meta, 0x123456, 0, 65) + countNot(*meta, 0x123456, 0, 0, kW, 8), 0);
}

TEST(RenderLines, PatternsPiecesAndPensLightThePixelsOfALinePerPieceWithItsOwnPen)
{
    // The reference gives every item a pen of its own and every piece of its dashing a MoveToEx/LineTo of its
    // own; a piece shorter than the single-pixel length (a dot, 0.21) is one pixel (in the metafile a line one
    // unit long, as wide as the pen). The flag forms of a pattern stand for real patterns, scaled by the item's
    // factor except for the dot. The window draws joined thin segments as polylines (in pieces of bounded length)
    // and keeps an item's pen for the next items of the same width and colour, also across items that are dashed
    // or wide; the pixels must be the same.
    struct Item {
        COLORREF colour;
        int width;
        CMavVertexArray vl;
        Doubles pattern;
        double scale;
        Doubles dashes; // what the pattern stands for
    };
    CMavVertexArray zigzag; // 150 joined segments: more than one polyline piece
    zigzag.append(CMavPoint3d(5.5, 10, 0), CMavPoint3d(6.3, 17.7, 0));
    for (int i = 2; i <= 150; ++i)
        zigzag.appendTo(CMavPoint3d(5.5 + i * 0.73, (i % 2) ? 17.7 : 10.2 + (i % 7), 0));
    CMavVertexArray gapped = segment(10, 60, 50, 70); // two runs: the second does not start where the first ended
    gapped.appendTo(CMavPoint3d(80, 62, 0));
    gapped.append(CMavPoint3d(85, 80, 0), CMavPoint3d(40, 90, 0));
    gapped.appendTo(CMavPoint3d(15, 75, 0));
    const Doubles solid, dashDot = values({1, 1, 1});
    const std::vector<Item> items = {
        {0x000000, 0, zigzag, solid, 1.0, solid},
        {0x000000, 0, segment(10, 20, 110, 20), values({1, 0, 0}), 1.0, solid},
        {0x000000, 0, rectangle(8, 22, 112, 26), dashDot, 1.0, values({11, -5, 0.21, -5})}, // kept pen, dots
        {0x000000, 0, segment(10, 29, 110, 29), values({1, 1, 0}), 2.0, values({20, -8})},
        {0x000000, 3, rectangle(20, 32, 60, 45), solid, 1.0, solid},                           // same colour, wider pen
        {0x000000, 2, segment(5, 50, 115, 50), dashDot, 0.5, values({5.5, -2.5, 0.21, -2.5})}, // wide dashes
        {0x000000, 0, segment(10, 57, 110, 57), values({0, 0, 5}), 3.0, values({0.21, -12})},
        {0x0000FF, 1, gapped, solid, 1.0, solid},
        {0xFF0000, 0, segment(100, 10, 60, 95), values({1}), 7.0, solid}, // another colour crossing the others
        {0x0000FF, 1, rectangle(90, 40, 115, 55), values({2, -1}), 1.5, values({3, -1.5})},
        {0x000000, 0, segment(5, 97, 115, 93), solid, 1.0, solid},
    };
    CMavGDX g = plainList();
    for (const Item& it : items)
        addPolyline(g, it.vl, rgb(it.colour), 0, it.pattern, it.scale, it.width);
    for (RenderTarget target : kBoth) {
        auto drawn = drawAs(g, target);
        Dib ref(kW, kH, kBack);
        int dots = 0;
        for (const Item& it : items) {
            HPEN pen = CreatePen(PS_SOLID, it.width, it.colour);
            HGDIOBJ old = SelectObject(ref.dc, pen);
            CMavVertexArray vl = it.vl;
            mav_gdx_image_vl_measure(vl, it.dashes, 1);
            // A closed line counts as unbroken in the metafile.
            const bool unbroken = vl.isContinuous() || (target == RenderTarget::Metafile && vl.isClosed());
            for (const CMavVertex& v : vl) {
                const int x0 = static_cast<int>(v.start.x), y0 = static_cast<int>(v.start.y);
                MoveToEx(ref.dc, x0, y0, nullptr);
                if (!unbroken && v.start.distanceTo(v.end) < 0.22) { // the metafile's is a unit line in the pen
                    ++dots;
                    if (target == RenderTarget::Window)
                        SetPixel(ref.dc, x0, y0, it.colour);
                    else
                        LineTo(ref.dc, x0 + 1, y0);
                } else {
                    LineTo(ref.dc, static_cast<int>(v.end.x), static_cast<int>(v.end.y));
                }
            }
            DeleteObject(SelectObject(ref.dc, old));
        }
        EXPECT_GT(dots, 12);
        EXPECT_GT(countNot(ref, kBack), 1000);
        EXPECT_EQ(differing(*drawn, ref), 0) << (target == RenderTarget::Window ? "window" : "metafile");
        EXPECT_EQ(drawn->at(19, 37), 0u); // the wide pen's edge, outside a thin line
    }
}

TEST(RenderLines, WindowColourRuleFollowsTheBackgroundAFillSets)
{
    // The window compares every colour with the context's background colour. A region or text fill sets it to
    // the list's background; items before the fill still see the context's own.
    const COLORREF green = 0x00FF00, grey = 0x808080;
    Glyphs square;
    square.append(contours({rectangle(20, 20, 40, 40)}));
    for (int kind : {3, 5}) {
        CMavGDX g = plainList(grey);
        addLine(g, 10, rgb(green));
        if (kind == 3)
            addRegion(g, 0x1, square[0], 0xFF, CMavColor(0));
        else
            addGlyphs(g, 0x1, square, 0xFF, 0xFF);
        addLine(g, 60, rgb(green));
        addLine(g, 70, rgb(grey));
        Dib d(kW, kH, kBack);
        SetBkColor(d.dc, green);
        MAV::renderItems(g, MAV::renderContextMake(d.dc, RenderTarget::Window, g, kW, kH));
        EXPECT_EQ(pixels(d, {{50, 10}, {30, 30}, {50, 60}, {50, 70}}),
                  (Pixels{dibPixel(green ^ 0xFFFFFF), dibPixel(0xFF), dibPixel(green), 0x7F7F7F}))
            << "kind " << kind;
        EXPECT_EQ(GetBkColor(d.dc), grey);
    }
}

TEST(RenderPoints, ModesAndSizes)
{
    // One point of the given mode and size at (50, 50), drawn in black with the target.
    auto draw = [](unsigned long mode, double size, RenderTarget target) {
        CMavGDX g = plainList();
        addPoint(g, 50, 50, size, mode);
        return drawAs(g, target);
    };
    const RenderTarget W = RenderTarget::Window, M = RenderTarget::Metafile;
    for (RenderTarget t : kBoth) {
        // Size 10, h = 5: plus, cross and tick reach five units from the centre.
        auto plus = draw(2, 10, t);
        EXPECT_EQ(pixels(*plus, {{50, 46}, {46, 50}, {53, 53}}), (Pixels{0, 0, kBack}));
        EXPECT_EQ(countNot(*plus, kBack, 0, 0, 44, kH), 0);
        EXPECT_EQ(pixels(*draw(3, 10, t), {{47, 47}, {53, 53}, {50, 46}}), (Pixels{0, 0, kBack}));
        auto tick = draw(4, 10, t);
        EXPECT_EQ(tick->at(50, 46), 0u);
        EXPECT_EQ(countNot(*tick, kBack, 0, 51), 0);
        EXPECT_EQ(countNot(*draw(1, 10, t), kBack) + countNot(*draw(5, 10, t), kBack), 0);
        // Circle only: its top drawn, its inside empty.
        auto circle = draw(33, 10, t);
        EXPECT_GT(countNot(*circle, kBack, 45, 45, 56, 47), 0);
        EXPECT_EQ(countNot(*circle, kBack, 48, 48, 53, 53), 0);
        // Circle, square and plus together: the square's edge and corner, the plus.
        EXPECT_EQ(pixels(*draw(98, 10, t), {{45, 50}, {50, 47}, {45, 45}}), (Pixels{0, 0, 0}));
        // A size of 0: the plus has no extent, the dot keeps its mark of up to 2 x 2 at the centre.
        EXPECT_EQ(countNot(*draw(2, 0, t), kBack), 0);
        auto dot = draw(0, 0, t);
        const int lit = countNot(*dot, kBack);
        EXPECT_TRUE(lit >= 1 && lit <= 4) << lit;
        EXPECT_EQ(lit, countNot(*dot, kBack, 48, 48, 51, 51));
        // A positive size is scaled by the length of the view's x axis: size 10 under a zoom of 2 is 20 units,
        // the plus reaching 10 from the centre (50, 50) of the point (25, 25).
        CMavGDX g = plainList();
        g.zoomMtxSet(CMavMatrix3d::scaling(2.0));
        addPoint(g, 25, 25, 10, 2);
        EXPECT_EQ(pixels(*drawAs(g, t), {{50, 41}, {50, 40}, {59, 50}, {60, 50}, {41, 50}, {50, 59}}),
                  (Pixels{0, kBack, 0, kBack, 0, 0}));
    }
    // With 8 only a filled square: the window fills s x s from (x - h, y - h); the metafile's rectangle runs to
    // (x + h, y + h) without its right and bottom edge.
    for (const auto& sq : {draw(8 + 2 + 32, 10, W), draw(8, 10, M)}) {
        EXPECT_EQ(countNot(*sq, 0, 45, 45, 55, 55), 0);
        EXPECT_EQ(countNot(*sq, kBack), 100);
    }
    // A negative size is taken in device units: -10 reaches as far as 10.
    EXPECT_EQ(pixels(*draw(2, -10, W), {{50, 46}, {54, 50}}), (Pixels{0, 0}));
    // Odd sizes: the window moves the square's left and top edge one unit inward, the metafile does not.
    EXPECT_EQ(pixels(*draw(64 + 1, 11, W), {{45, 50}, {46, 50}, {50, 45}, {50, 46}}), (Pixels{kBack, 0, kBack, 0}));
    EXPECT_EQ(draw(64 + 1, 11, M)->at(45, 50), 0u);
}

TEST(RenderRegions, FillWithHoleHatchFallbackAndOutline)
{
    const COLORREF blue = 0xFF0000, red = 0x0000FF;
    const auto ring = contours({rectangle(10, 10, 90, 90), rectangle(40, 40, 60, 60)});
    const auto square = contours({rectangle(10, 10, 90, 90)});
    for (RenderTarget target : kBoth) {
        CMavGDX g = plainList();
        addRegion(g, 0x1, ring, red, rgb(blue));
        // The hole is left out; after it the whole image is drawn on again (a line across the hole).
        addPolyline(g, segment(45, 42, 110, 42), rgb(0));
        EXPECT_EQ(pixels(*drawAs(g, target), {{20, 20}, {70, 50}, {50, 50}, {5, 5}, {95, 50}, {50, 42}, {100, 42}}),
                  (Pixels{dibPixel(blue), dibPixel(blue), kBack, kBack, kBack, 0, 0}));

        // A legible hatch leaves gaps inside, in the fill colour; a hatch too dense to read is filled instead.
        CMavGDX h = plainList();
        addRegion(h, 0x2, square, red, rgb(blue), MAV::CHatchProp(L"ANSI31", 40.0));
        auto dh = drawAs(h, target);
        const int lit = countNot(*dh, kBack, 12, 12, 88, 88);
        EXPECT_TRUE(lit > 300 && lit < 76 * 76 / 2) << lit;
        EXPECT_EQ(countNot(*dh, kBack, 0, 0, 9, kH), 0); // nothing outside
        EXPECT_EQ(countNot(*dh, dibPixel(blue), 12, 12, 88, 88), 76 * 76 - lit);
        CMavGDX dense = plainList();
        addRegion(dense, 0x2, square, red, rgb(blue), MAV::CHatchProp(L"ANSI31", 1.0));
        EXPECT_EQ(countNot(*drawAs(dense, target), dibPixel(blue), 12, 12, 88, 88), 0);

        // An outline only: every contour's edge in the item colour, the inside untouched.
        CMavGDX o = plainList();
        addRegion(o, 0x10, ring, red, rgb(blue));
        EXPECT_EQ(pixels(*drawAs(o, target), {{10, 50}, {40, 50}, {20, 20}}),
                  (Pixels{dibPixel(red), dibPixel(red), kBack}));

        // Colour index -1 in colour mode 0 on a grey background: the window takes the item as mode 15 throughout,
        // filling with the inverse of the background; the metafile takes only the pen so, and fills with the fill
        // colour.
        CMavGDX none = plainList(0x808080);
        none.imageReg(kNoStack, 0x1, square, CMavColor(-1), CMavMatrix3d(), Doubles(), 1.0, 0, rgb(blue),
                      MAV::CHatchProp());
        EXPECT_EQ(drawAs(none, target)->at(50, 50), target == RenderTarget::Window ? 0x7F7F7Fu : dibPixel(blue));
    }
}

TEST(RenderRegions, DotsHatchLinesAreDrawnPieceByPieceUnderTheExactName)
{
    // "DOTS" zoomed by 10 over a strip 0.5 wide: each hatch line holds one dot (0.2, below the single-pixel length
    // in item coordinates) and is drawn as single pixels, one per piece, never as lines. Another name, "dots"
    // among them (the lookup finds the same pattern), draws each continuous line's dot as a line of 10 x its
    // length.
    const auto strip = contours({rectangle(5, 1, 5.5, 7)});
    const Regions lines = mav_gdx_image_reg_hatch2(strip, CMavMatrix3d(), MAV::CHatchProp(L"DOTS", 16.0));
    ASSERT_GE(lines.len(), 4);
    int single = 0, drawnAsLines = 0;
    for (const CMavVertexArray& vl : lines) {
        ASSERT_EQ(vl.len(), 1);
        ASSERT_LT(vl[0].start.distanceTo(vl[0].end), 0.21);
        ++single;
        drawnAsLines += static_cast<int>(10 * vl[0].end.x) - static_cast<int>(10 * vl[0].start.x);
    }
    ASSERT_GT(drawnAsLines, single);
    for (RenderTarget target : kBoth) {
        for (const wchar_t* name : {L"DOTS", L"dots"}) {
            CMavGDX g = plainList();
            g.zoomMtxSet(CMavMatrix3d::scaling(10.0));
            addRegion(g, 0x2, strip, 0xFF0000, rgb(0xFF0000), MAV::CHatchProp(name, 16.0));
            EXPECT_EQ(countNot(*drawAs(g, target), kBack), name[1] == L'O' ? single : drawnAsLines)
                << (name[1] == L'O') << " " << static_cast<int>(target);
        }
    }
}

TEST(RenderMapping, ViewDirectionAndItemMatrixApplyInTheOrderOfEachKind)
{
    // Seen from the south-west the view direction maps (x, y, 0) to (0.7071 (x - y), 0.4082 (x + y)); the zoom
    // doubles and every item is moved 30 along x by its own matrix. Points, regions and texts map with zoom x view
    // direction x item: the move is seen from the south-west too. Each is also checked to be absent where the
    // other order would have put it.
    const CMavMatrix3d move = CMavMatrix3d::translation(CMavVector3d(30, 0, 0));
    const CMavVertexArray diagonal = segment(10, 10, 59, 59);
    for (RenderTarget target : kBoth) {
        SCOPED_TRACE(static_cast<int>(target));
        CMavGDX g = plainList();
        g.zoomMtxSet(CMavMatrix3d::scaling(2.0));
        g.viewDirectionHvcSet(mav_gdx_view_vdir_get(L"SW"));
        // The point (20, 10), moved to (50, 10), lands on (56.57, 48.99); a plus of 3 units. Other order: (74, 24).
        g.imagePt(kNoStack, 0, CMavPoint3d(20, 10, 0), rgb(0), move, -6, 2);
        // The square (0, 0)-(4, 4), moved to (30, 0)-(34, 4): a diamond about (42.43, 27.76). Other order: (60, 3.3).
        g.imageReg(kNoStack, 0x1, contours({rectangle(0, 0, 4, 4)}), rgb(0xFF0000), move, Doubles(), 1.0, 0,
                   rgb(0xFF0000), MAV::CHatchProp());
        // A glyph, the square (0, 20)-(4, 24): a diamond about (14.14, 44.09). Other order: (31.7, 19.6).
        Glyphs glyph;
        glyph.append(contours({rectangle(0, 20, 4, 24)}));
        addGlyphs(g, 0x1, glyph, 0x00C000, 0x00C000, move);
        // The diagonal (10, 10)-(59, 59) seen from the south-west is the vertical x = 0 from y = 8.16 to 48.17;
        // its dashes of 10 and gaps of 5 are fitted to that length, and then moved and zoomed onto column 60.
        g.imageVl(kNoStack, 0, diagonal, rgb(0), move, values({10, -5}), 1.0, 0);
        auto d = drawAs(g, target);
        const DWORD blue = dibPixel(0xFF0000), green = dibPixel(0x00C000);
        EXPECT_EQ(pixels(*d, {{56, 48}, {56, 50}, {74, 24}, {42, 28}, {60, 3}, {14, 44}, {31, 19}}),
                  (Pixels{0, 0, kBack, blue, kBack, green, kBack}));

        CMavVertexArray seen = diagonal.getTransformedCopy(g.viewDirectionMtxGet());
        ASSERT_NEAR(seen[0].start.x, 0.0, 1e-12);
        ASSERT_TRUE(mav_gdx_image_vl_measure(seen, values({10, -5}), 1));
        ASSERT_GE(seen.len(), 3);
        std::vector<DWORD> expected(kH, kBack), column(kH);
        for (const CMavVertex& v : seen)
            for (int y = static_cast<int>(2 * v.start.y); y < static_cast<int>(2 * v.end.y); ++y)
                expected[static_cast<size_t>(y)] = 0;
        for (int y = 0; y < kH; ++y)
            column[static_cast<size_t>(y)] = d->at(60, y);
        EXPECT_EQ(column, expected);
        EXPECT_EQ(countNot(*d, kBack, 0, 0, 1, kH), 0); // nothing where the move was left out
    }
}

TEST(RenderTexts, GlyphRegionsFilledAndOutlined)
{
    // An "O" as a square ring, a bar, and a contour of two strokes that do not meet.
    Glyphs glyphs;
    glyphs.append(contours({rectangle(10, 10, 50, 50), rectangle(20, 20, 40, 40)}));
    glyphs.append(contours({rectangle(60, 10, 70, 50)}));
    CMavVertexArray strokes = segment(80, 60, 100, 60);
    strokes.append(CMavPoint3d(100, 80, 0), CMavPoint3d(80, 80, 0));
    glyphs.append(contours({strokes}));
    const DWORD red = dibPixel(0x0000FF), green = dibPixel(0x00FF00);
    for (RenderTarget target : kBoth) {
        for (unsigned long flags : {0x1ul, 0x10ul}) {
            CMavGDX g = plainList();
            addGlyphs(g, flags, glyphs, 0x0000FF, 0x00FF00);
            // A line drawn after the text crosses the O's hole: the hole's clip does not outlive the text.
            addPolyline(g, segment(25, 25, 35, 25), rgb(0));
            auto d = drawAs(g, target);
            // The hole stays empty, the edges are in the pen colour either way; filled, the inside is the fill
            // colour, outlined it stays empty and the open contour is not closed across its gaps.
            EXPECT_EQ(pixels(*d, {{30, 30}, {10, 30}, {30, 25}}), (Pixels{kBack, red, 0}));
            if (flags == 0x1)
                EXPECT_EQ(pixels(*d, {{15, 30}, {65, 30}, {90, 70}}), (Pixels{green, green, green}));
            else
                EXPECT_EQ(pixels(*d, {{15, 30}, {60, 30}, {90, 60}, {90, 80}, {90, 70}, {100, 70}, {80, 70}}),
                          (Pixels{kBack, red, red, red, kBack, kBack, kBack}));
        }
    }
}

TEST(RenderState, NoGdiObjectOutlivesTheDrawingAndTheContextIsGivenBack)
{
    // Wine does not count GDI objects per process, but its handle table holds 65536: drawing more items than that
    // would exhaust it if an item kept one pen, brush or region, and the last drawing would come out empty.
    // The cheap kinds are drawn 70,000 times in each target; regions (the costly scan-line fill) in the window.
    const auto ring = contours({rectangle(2, 2, 8, 8), rectangle(4, 4, 6, 6)});
    CMavGDX lines = plainList(0x808080), points = plainList(0x808080), regions = plainList(0x808080);
    for (int i = 0; i < 100; ++i) {
        addLine(lines, 5, rgb(0), 0, i % 2 ? values({1, 1, 1}) : Doubles());
        addPoint(points, 50, 50, 4, i % 2 ? 8 : 96);
        addRegion(regions, i % 2 ? 0x1 : 0x13, ring, 0xFF, rgb(0xFF00), MAV::CHatchProp(L"ANSI31", 40.0));
    }
    // The context's pen, brush and colours are its own again after each drawing.
    Dib d(kW, kH, kBack);
    HPEN pen = CreatePen(PS_SOLID, 3, 0x123456);
    HBRUSH brush = CreateSolidBrush(0x654321);
    HGDIOBJ oldPen = SelectObject(d.dc, pen), oldBrush = SelectObject(d.dc, brush);
    SetTextColor(d.dc, 0x030201);
    auto rounds = [&](const CMavGDX& g, RenderTarget target) {
        SetBkColor(d.dc, 0x808080);
        const MAV::RenderContext ctx = MAV::renderContextMake(d.dc, target, g, d.w, d.h);
        for (int round = 0; round < 700; ++round)
            MAV::renderItems(g, ctx);
        EXPECT_EQ((std::vector<HGDIOBJ>{GetCurrentObject(d.dc, OBJ_PEN), GetCurrentObject(d.dc, OBJ_BRUSH)}),
                  (std::vector<HGDIOBJ>{pen, brush}));
        EXPECT_EQ(GetTextColor(d.dc), 0x030201u);
    };
    for (RenderTarget target : kBoth) {
        rounds(lines, target);
        rounds(points, target);
    }
    rounds(regions, RenderTarget::Window);

    // The window's paint procedure gives back the clip and the background colour too.
    CMavGDX all = plainList(0x808080);
    for (const CMavGDX* part : {&lines, &points, &regions})
        all.addDisplayList(part->getDisplayList());
    SelectClipRgn(d.dc, nullptr);
    SetBkColor(d.dc, 0x010203);
    MAV::renderWindow(d.dc, all, d.w, d.h);
    EXPECT_EQ(GetCurrentObject(d.dc, OBJ_PEN), pen);
    EXPECT_EQ(GetBkColor(d.dc), 0x010203u);
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(d.dc, r), 0); // no clip region, as before
    DeleteObject(r);
    // Filled region, its hole, the line, the point's mark.
    EXPECT_EQ(pixels(d, {{3, 3}, {5, 5}, {50, 5}, {48, 50}}), (Pixels{0x00FF00, 0x808080, 0, 0}));
    SelectObject(d.dc, oldPen);
    SelectObject(d.dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    // A fill without holes leaves the window's clip as the drawing found it (a repaint of part of the window):
    // what follows the fill stays inside that clip too.
    Dib part(kW, kH, kBack);
    HRGN left = CreateRectRgn(0, 0, 60, kH);
    SelectClipRgn(part.dc, left);
    DeleteObject(left);
    CMavGDX g = plainList();
    addRegion(g, 0x1, contours({rectangle(10, 10, 30, 30)}), 0xFF, rgb(0xFF));
    addLine(g, 50, rgb(0));
    MAV::renderItems(g, MAV::renderContextMake(part.dc, RenderTarget::Window, g, kW, kH));
    EXPECT_EQ(pixels(part, {{20, 20}, {50, 50}, {80, 50}}), (Pixels{0xFF0000, 0, kBack}));
}

namespace {

// Writes an 8 x 8 icon of 24-bit colour whose left half is opaque red and whose right half is transparent.
bool writeHalfIcon(const std::wstring& path)
{
    std::vector<BYTE> f;
    auto put = [&f](DWORD v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            f.push_back(static_cast<BYTE>((v >> (8 * i)) & 0xFF));
    };
    const DWORD image = 40 + 8 * 24 + 8 * 4; // header, colour rows, mask rows (each padded to 4 bytes)
    put(0, 2), put(1, 2), put(1, 2);         // icon directory: one image
    put(8, 1), put(8, 1), put(0, 1), put(0, 1), put(1, 2), put(24, 2), put(image, 4), put(22, 4);
    put(40, 4), put(8, 4), put(16, 4), put(1, 2), put(24, 2), put(BI_RGB, 4);
    for (int i = 0; i < 5; ++i)
        put(0, 4);
    for (int i = 0; i < 64; ++i)
        put(i % 8 < 4 ? 0xFF0000 : 0, 3); // blue, green, red: red on the left
    for (int y = 0; y < 8; ++y)
        put(0x0F, 4); // mask: the right four pixels transparent
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done = 0;
    const bool ok = h != INVALID_HANDLE_VALUE && WriteFile(h, f.data(), static_cast<DWORD>(f.size()), &done, nullptr);
    CloseHandle(h);
    return ok && done == f.size();
}

// The metafile played at its own scale into a DIB of its bounds (inclusive) on white: the frame spans the bounds
// from the left edge to the right one, so a picture rectangle one unit narrower keeps the scale. Device point
// (x, y) lands on (x - origin.x, y - origin.y). The DIB is at least minW x minH.
DibPtr play(HENHMETAFILE emf, POINT* origin = nullptr, int minW = 1, int minH = 1)
{
    const std::vector<LONG> b = bounds(emf);
    const bool drawn = b[2] >= b[0] && b[3] >= b[1];
    const int w = drawn ? static_cast<int>(b[2] - b[0] + 1) : 1, h = drawn ? static_cast<int>(b[3] - b[1] + 1) : 1;
    auto d = std::make_unique<Dib>(std::max(w, minW), std::max(h, minH), kBack);
    const RECT to{0, 0, std::max(1, w - 1), std::max(1, h - 1)};
    if (drawn)
        PlayEnhMetaFile(d->dc, emf, &to);
    if (origin)
        *origin = POINT{b[0], b[1]};
    return d;
}

// A metafile refresh writes into a temporary file; the handle and the file go with the object. When MAV_EMF_KEEP
// names a folder, the file is kept there as `name`.emf beside `name`.bmp, the picture GDI plays from it, so that
// readers of metafiles other than GDI can be checked against both (scripts/emf_check.sh).
struct WrittenEmf {
    std::wstring file;
    HENHMETAFILE emf = nullptr;
    WrittenEmf(CMavGDX& g, const wchar_t* name, int height, int width)
        : file(tempPath(std::wstring(L"mav_") + name + L".emf"))
    {
        DeleteFileW(file.c_str());
        refresh(&g, file.c_str(), height, width);
        emf = GetEnhMetaFileW(file.c_str());
        wchar_t dir[MAX_PATH];
        const DWORD n = GetEnvironmentVariableW(L"MAV_EMF_KEEP", dir, MAX_PATH);
        if (emf && n > 0 && n < MAX_PATH) {
            const std::wstring base = std::wstring(dir) + L"\\" + name;
            EXPECT_TRUE(CopyFileW(file.c_str(), (base + L".emf").c_str(), FALSE));
            auto d = play(emf);
            EXPECT_TRUE(writeBmp(base + L".bmp", d->w, d->h, d->bits));
        }
    }
    ~WrittenEmf()
    {
        if (emf)
            DeleteEnhMetaFile(emf);
        DeleteFileW(file.c_str());
    }
    WrittenEmf(const WrittenEmf&) = delete;
    WrittenEmf& operator=(const WrittenEmf&) = delete;
};

} // namespace

TEST(RenderMetafile, RecordsFileViewClipboardAndScanLineFill)
{
    // Empty list: header, the clip and the end.
    {
        CMavGDX g = plainList();
        WrittenEmf empty(g, L"render_empty", 100, 200);
        ASSERT_NE(empty.emf, nullptr);
        EXPECT_EQ(Records(empty.emf).types, (std::vector<DWORD>{EMR_HEADER, EMR_EXTSELECTCLIPRGN, EMR_EOF}));
    }
    // One white line from (0, 0) to (100, 50), fitted into 200 x 100: the fitted view matrix stays in the list,
    // the line is recorded at the fitted device points, in black.
    CMavGDX g = plainList();
    addPolyline(g, segment(0, 0, 100, 50), rgb(0xFFFFFF));
    {
        WrittenEmf line(g, L"render_line", 100, 200);
        ASSERT_NE(line.emf, nullptr);
        CMavPoint3d mn, mx;
        g.extMaxViewGet(mn, mx);
        const CMavMatrix3d fit = getViewMtx(mn, mx, 100, 200, 0.05);
        expectMatrix(g.viewMtxGet(), fit);
        const CMavPoint3d a = fit * CMavPoint3d(0, 0, 0), b = fit * CMavPoint3d(100, 50, 0);
        EXPECT_GT(b.x - a.x, 80.0); // really a fit, not the identity
        const Records r(line.emf);
        EXPECT_EQ(r.types, (std::vector<DWORD>{EMR_HEADER, EMR_EXTSELECTCLIPRGN, EMR_CREATEPEN, EMR_SELECTOBJECT,
                                               EMR_MOVETOEX, EMR_LINETO, EMR_SELECTOBJECT, EMR_DELETEOBJECT, EMR_EOF}));
        EXPECT_EQ(r.pens, std::vector<COLORREF>{0});
        EXPECT_EQ(r.points, (std::vector<LONG>{static_cast<LONG>(a.x), static_cast<LONG>(a.y), static_cast<LONG>(b.x),
                                               static_cast<LONG>(b.y)}));
        EXPECT_TRUE(a.x >= 0 && a.y >= 0 && b.x <= 200 && b.y <= 100);
        auto d = play(line.emf);
        EXPECT_GT(countNot(*d, kBack), 80);
        EXPECT_EQ(countNot(*d, kBack), d->w * d->h - countNot(*d, 0)); // every drawn pixel black
    }
    // Without a file name the picture goes to the clipboard.
    refresh(&g, nullptr, 100, 200);
    HENHMETAFILE clip = clipboardMetafile(true);
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(Records(clip).count(EMR_LINETO), 1);
    DeleteEnhMetaFile(clip);

    // A filled ring: one line per device row (two through the hole) in a pen of the fill colour, which index 0
    // takes from the item; no polygon.
    CMavGDX ring = plainList();
    addRegion(ring, 0x1, contours({rectangle(0, 0, 100, 100), rectangle(40, 40, 60, 60)}), 0xFF, CMavColor(0));
    WrittenEmf fill(ring, L"render_fill", 100, 100);
    const Records r(fill.emf);
    EXPECT_TRUE(r.count(EMR_LINETO) > 80 && r.count(EMR_LINETO) < 200) << r.count(EMR_LINETO);
    EXPECT_EQ(r.count(EMR_POLYGON) + r.count(EMR_POLYGON16), 0);
    EXPECT_EQ(r.pens, (std::vector<COLORREF>{0xFF, 0xFF}));
}

TEST(RenderMetafile, EveryKindWrittenAndPlayedBack)
{
    // One item of each drawable kind, written by refresh and played back: the picture holds each in its colour.
    const COLORREF red = 0x0000FF, blue = 0xC00000, green = 0x00A000, violet = 0x800080, navy = 0x800000;
    CMavGDX g = plainList();
    addLine(g, 10, rgb(red));
    addPolyline(g, segment(10, 20, 110, 20), rgb(blue), 0, values({1.0, 1.0, 0.0}), 0.5);
    addPoint(g, 20, 35, 6, 2);
    addPoint(g, 40, 35, 8, 32 + 3);
    addPoint(g, 60, 35, 6, 8);
    addRegion(g, 0x11, contours({rectangle(10, 50, 50, 90), rectangle(25, 65, 35, 75)}), navy, rgb(green));
    addRegion(g, 0x2, contours({rectangle(60, 50, 100, 90)}), violet, CMavColor(0), MAV::CHatchProp(L"ANSI31", 20.0));
    g.imageTxt(kNoStack, 0x1, L"LT", rgb(blue),
               CMavMatrix3d::translation(CMavVector3d(75, 30, 0)) * CMavMatrix3d::scaling(10.0), L"BL", CMavPoint3d());
    g.imageTxt(kNoStack, 0x10, L"AB", rgb(red),
               CMavMatrix3d::translation(CMavVector3d(97, 30, 0)) * CMavMatrix3d::scaling(8.0), L"BL", CMavPoint3d());

    WrittenEmf kinds(g, L"render_kinds", 200, 240);
    ASSERT_NE(kinds.emf, nullptr);
    const Records r(kinds.emf);
    // The circle, the filled square, the two filled letters.
    EXPECT_EQ(
        (std::vector<int>{r.count(EMR_ELLIPSE), r.count(EMR_RECTANGLE), r.count(EMR_POLYGON) + r.count(EMR_POLYGON16)}),
        (std::vector<int>{1, 1, 2}));
    POINT o{};
    auto d = play(kinds.emf, &o, 240, 200);
    const CMavMatrix3d fit = g.viewMtxGet();
    auto dev = [&fit, o](double x, double y) { // the played picture's pixel of a world point
        const CMavPoint3d p = fit * CMavPoint3d(x, y, 0);
        return POINT{static_cast<LONG>(p.x) - o.x, static_cast<LONG>(p.y) - o.y};
    };
    // Line, filled square, centre of the cross, scan-line fill, its hole, the outline over the fill.
    EXPECT_EQ(pixels(*d, {dev(60, 10), dev(60, 35), dev(40, 35), dev(15, 55), dev(30, 70), dev(10, 70)}),
              (Pixels{dibPixel(red), 0, 0, dibPixel(green), kBack, dibPixel(navy)}));
    // Dashes of 5 with gaps of 2, about two device units each: mostly lit, with more than ten pixels of gaps.
    const POINT dashFrom = dev(10, 20), dashTo = dev(110, 20);
    const int dashed = countNot(*d, kBack, dashFrom.x, dashFrom.y, dashTo.x, dashFrom.y + 1);
    EXPECT_TRUE(dashed > (dashTo.x - dashFrom.x) / 2 && dashed < dashTo.x - dashFrom.x - 10) << dashed;
    // The hatch and both texts drawn in their item's colour, and only in it.
    for (const auto& box : {std::make_tuple(62, 88, 98, 52, violet), std::make_tuple(75, 40, 95, 30, blue),
                            std::make_tuple(97, 38, 113, 30, red)}) {
        const POINT a = dev(std::get<0>(box), std::get<1>(box)), b = dev(std::get<2>(box), std::get<3>(box));
        const int lit = countNot(*d, kBack, a.x, a.y, b.x, b.y);
        EXPECT_GT(lit, 30);
        EXPECT_EQ(countNot(*d, dibPixel(std::get<4>(box)), a.x, a.y, b.x, b.y), (b.x - a.x) * (b.y - a.y) - lit);
    }
}

TEST(RenderPictures, LoaderAndPictureItems)
{
    auto size = [](HBITMAP b) {
        BITMAP bm{};
        GetObjectW(b, sizeof bm, &bm);
        DeleteObject(b);
        return std::vector<LONG>{bm.bmWidth, bm.bmHeight};
    };
    // A system icon at its own size, an icon of this library by id at the requested size: both drawn over the
    // colour given, and the flag tells they came from icons. An unknown id gives nothing and leaves the flag.
    bool fromIcon = true;
    HBITMAP sys = mav_gdx_image_get_bitmap(CMavString(), 32512 /* IDI_APPLICATION */, 32, 32, fromIcon, 0x00FF00);
    ASSERT_NE(sys, nullptr);
    EXPECT_FALSE(fromIcon);
    EXPECT_EQ(size(sys)[0], GetSystemMetrics(SM_CXICON));
    fromIcon = true;
    HBITMAP own = mav_gdx_image_get_bitmap(CMavString(), 2001, 16, 16, fromIcon, 0xFFFFFF);
    ASSERT_NE(own, nullptr);
    EXPECT_FALSE(fromIcon);
    EXPECT_EQ(size(own), (std::vector<LONG>{16, 16}));
    fromIcon = true;
    EXPECT_EQ(mav_gdx_image_get_bitmap(CMavString(), 31999, 16, 16, fromIcon, 0), nullptr);
    EXPECT_TRUE(fromIcon);

    // A bitmap file, its ending in capitals: returned as it is at the requested size, the flag untouched. Other
    // endings and missing files give nothing.
    const std::wstring bmp = tempPath(L"mav_render_red.BMP"), other = tempPath(L"mav_render_red.png");
    const std::vector<DWORD> red(16, 0xFF0000);
    ASSERT_TRUE(writeBmp(bmp, 4, 4, red.data()));
    HBITMAP b = mav_gdx_image_get_bitmap(CMavString(bmp.c_str()), 0, 8, 6, fromIcon, 0);
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(fromIcon);
    EXPECT_EQ(size(b), (std::vector<LONG>{8, 6}));
    CopyFileW(bmp.c_str(), other.c_str(), FALSE);
    EXPECT_EQ(mav_gdx_image_get_bitmap(CMavString(other.c_str()), 0, 8, 6, fromIcon, 0), nullptr);
    EXPECT_EQ(mav_gdx_image_get_bitmap(CMavString(L"Z:\\no\\such\\file.bmp"), 0, 8, 6, fromIcon, 0), nullptr);
    DeleteFileW(other.c_str());

    const std::wstring ico = tempPath(L"mav_render_half.ICO");
    ASSERT_TRUE(writeHalfIcon(ico));
    for (RenderTarget target : kBoth) {
        const bool window = target == RenderTarget::Window;
        // Without geometry (0x20) the picture covers the whole image; with corners only their box.
        CMavGDX g = plainList();
        g.imagePicture(kNoStack, 0x20, bmp.c_str(), 0x7FFFFFFF, CMavPoint3d(0, 0, 0), CMavPoint3d(1, 1, 0));
        EXPECT_EQ(countNot(*drawAs(g, target), 0xFF0000), 0);
        CMavGDX h = plainList();
        h.imagePicture(kNoStack, 0, bmp.c_str(), 0x7FFFFFFF, CMavPoint3d(10, 20, 0), CMavPoint3d(30, 50, 0));
        auto e = drawAs(h, target);
        EXPECT_EQ(countNot(*e, kBack), 20 * 30);
        EXPECT_EQ(pixels(*e, {{10, 20}, {29, 49}}), (Pixels{0xFF0000, 0xFF0000}));

        // An icon id without a file: the library's icon over the list's background (window) or white; beside it
        // the window's background, or the metafile's untouched target.
        CMavGDX k = plainList(0x00FF00);
        k.imagePicture(kNoStack, 0, L"", 2001, CMavPoint3d(0, 0, 0), CMavPoint3d(16, 16, 0));
        auto f = drawAs(k, target, 0x123456);
        EXPECT_EQ(f->at(0, 0), window ? 0x00FF00u : 0xFFFFFFu); // the icon's transparent corner
        EXPECT_EQ(countNot(*f, window ? 0x00FF00u : 0x123456u, 16, 0), 0);
        EXPECT_GT(countNot(*f, f->at(0, 0), 0, 0, 16, 16), 0); // and the icon itself

        // An .ico file at its corners: its opaque left half red, its transparent right half the list's
        // background (window) or white (metafile).
        CMavGDX i = plainList(0x00FF00);
        i.imagePicture(kNoStack, 0, ico.c_str(), 0x7FFFFFFF, CMavPoint3d(10, 20, 0), CMavPoint3d(18, 28, 0));
        const DWORD clear = window ? 0x00FF00u : 0xFFFFFFu, outside = window ? 0x00FF00u : 0x123456u;
        EXPECT_EQ(pixels(*drawAs(i, target, 0x123456), {{10, 20}, {13, 27}, {14, 20}, {17, 27}, {18, 20}, {9, 20}}),
                  (Pixels{0xFF0000, 0xFF0000, clear, clear, outside, outside}));

        // A picture item without geometry (no corners, no 0x20) also covers the whole image.
        CMavArrayTempl<CMavDisplayItem> bare;
        bare.append(CMavDisplayItem());
        bare[0].m_kind = static_cast<MavDisplayObj>(6);
        bare[0].rareEdit().m_text = CMavString(bmp.c_str());
        bare[0].rareEdit().m_pdMode = Mav::kGdxNoIcon;
        CMavGDX n = plainList();
        n.addDisplayList(bare);
        EXPECT_EQ(countNot(*drawAs(n, target), 0xFF0000), 0);
    }
    DeleteFileW(bmp.c_str());
    DeleteFileW(ico.c_str());
}
