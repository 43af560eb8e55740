// Drawing display lists into 32-bit DIBs with both targets, and the metafile writer, under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "../afx/afx_test_support.h"
#include "gdx/CMavGDX.h"
#include "generators/measure.h"
#include "render/MavRender.h"

namespace {

using afxtest::Dib;

constexpr DWORD kBack = 0x00FFFFFF; // white, as a DIB pixel 0x00RRGGBB
constexpr int kW = 120;
constexpr int kH = 100;

// A list on white whose world coordinates are device coordinates (identity view, projection and zoom).
CMavGDX plainList(COLORREF background = 0xFFFFFF)
{
    CMavColor back;
    back.setOleColor(background);
    return CMavGDX(back, CMavMatrix3d(), 0.0, 0, CMavPoint3d(0, 0, 0), CMavPoint3d(kW, kH, 0));
}

CMavColor rgb(COLORREF bgr)
{
    CMavColor c;
    c.setOleColor(bgr);
    return c;
}

// COLORREF 0x00BBGGRR as the DIB shows it (0x00RRGGBB).
DWORD px(COLORREF c)
{
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

CMavVertexArray segment(double x0, double y0, double x1, double y1)
{
    CMavVertexArray vl;
    vl.append(CMavPoint3d(x0, y0, 0), CMavPoint3d(x1, y1, 0));
    return vl;
}

CMavVertexArray rectangle(double x0, double y0, double x1, double y1)
{
    CMavVertexArray vl;
    vl.append(CMavPoint3d(x0, y0, 0), CMavPoint3d(x1, y0, 0));
    vl.appendTo(CMavPoint3d(x1, y1, 0));
    vl.appendTo(CMavPoint3d(x0, y1, 0));
    vl.appendTo(CMavPoint3d(x0, y0, 0));
    return vl;
}

void addLine(CMavGDX& g, double y, const CMavColor& c, unsigned long flags = 0,
             CMavArrayTempl<double> pattern = CMavArrayTempl<double>(), double scale = 1.0)
{
    g.imageVl(CMavArrayTempl<int>(), flags, segment(10, y, 110, y), c, CMavMatrix3d(), pattern, scale, 0);
}

// Draws the list as the given target would, but into the DIB, so that pixels can be read for both.
void drawAs(Dib& dib, CMavGDX& g, MAV::RenderTarget target)
{
    if (target == MAV::RenderTarget::Window) {
        MAV::renderWindow(dib.dc, g, dib.w, dib.h);
        return;
    }
    HRGN clip = CreateRectRgn(0, 0, dib.w, dib.h);
    SelectClipRgn(dib.dc, clip);
    DeleteObject(clip);
    MAV::renderItems(g, MAV::renderContextMake(dib.dc, target, g, dib.w, dib.h));
    SelectClipRgn(dib.dc, nullptr);
}

DWORD at(const Dib& d, int x, int y)
{
    return d.bits[y * d.w + x] & 0xFFFFFF;
}

int countNot(const Dib& d, DWORD colour, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1)
{
    if (x1 < 0)
        x1 = d.w;
    if (y1 < 0)
        y1 = d.h;
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            n += at(d, x, y) != colour;
    return n;
}

// Lengths of the lit runs along row y, left to right.
std::vector<int> runs(const Dib& d, int y, DWORD back)
{
    std::vector<int> out;
    int len = 0;
    for (int x = 0; x < d.w; ++x) {
        if (at(d, x, y) != back) {
            ++len;
        } else if (len) {
            out.push_back(len);
            len = 0;
        }
    }
    if (len)
        out.push_back(len);
    return out;
}

} // namespace

TEST(RenderColours, ModesTableInverseAndTargetRules)
{
    const COLORREF red = 0x0000FF, green = 0x00C000, grey = 0x808080;
    CMavGDX g = plainList(grey);
    g.ColorTabSet(static_cast<GDX_CMODE>(3), rgb(green));
    addLine(g, 10, rgb(red));                  // own colour
    addLine(g, 20, rgb(red), 3u << 8);         // table entry 3
    addLine(g, 30, rgb(red), 15u << 8);        // inverse background
    addLine(g, 40, CMavColor(-1));             // no colour: inverse background too
    addLine(g, 50, rgb(grey));                 // equals the background: inverted in the window
    addLine(g, 60, rgb(0xFFFFFF));             // white: black in the metafile only

    Dib win(kW, kH, 0);
    drawAs(win, g, MAV::RenderTarget::Window);
    EXPECT_EQ(at(win, 0, 0), px(grey)); // background painted
    EXPECT_EQ(at(win, 50, 10), px(red));
    EXPECT_EQ(at(win, 50, 20), px(green));
    EXPECT_EQ(at(win, 50, 30), px(grey ^ 0xFFFFFF));
    EXPECT_EQ(at(win, 50, 40), px(grey ^ 0xFFFFFF));
    EXPECT_EQ(at(win, 50, 50), px(grey ^ 0xFFFFFF));
    EXPECT_EQ(at(win, 50, 60), 0xFFFFFFu);

    Dib meta(kW, kH, 0x123456);
    drawAs(meta, g, MAV::RenderTarget::Metafile);
    EXPECT_EQ(at(meta, 0, 0), 0x123456u); // the metafile paints no background
    EXPECT_EQ(at(meta, 50, 10), px(red));
    EXPECT_EQ(at(meta, 50, 50), px(grey)); // no inversion here
    EXPECT_EQ(at(meta, 50, 60), 0u);       // white becomes black
}

TEST(RenderColours, HiddenAndUnknownItemsLeaveNoTrace)
{
    CMavGDX g = plainList();
    addLine(g, 10, rgb(0), 0x4);
    CMavArrayTempl<CMavVertexArray> reg;
    reg.append(rectangle(20, 20, 80, 80));
    g.imageReg(CMavArrayTempl<int>(), 0x1 | 0x10 | 0x4, reg, rgb(0), CMavMatrix3d(), CMavArrayTempl<double>(), 1.0,
               0, rgb(0xFF), MAV::CHatchProp());
    g.imagePt(CMavArrayTempl<int>(), 0x4, CMavPoint3d(50, 50, 0), rgb(0), CMavMatrix3d(), 10, 8);
    CMavArrayTempl<CMavDisplayItem> extra;
    extra.append(CMavDisplayItem());
    extra[0].m_kind = static_cast<MavDisplayObj>(4);
    extra[0].m_vl = segment(0, 5, 100, 5);
    g.addDisplayList(extra);
    for (auto target : {MAV::RenderTarget::Window, MAV::RenderTarget::Metafile}) {
        Dib d(kW, kH, kBack);
        drawAs(d, g, target);
        EXPECT_EQ(countNot(d, kBack), 0);
    }
}

TEST(RenderLines, FlagPatternsDashScaledAndDotAsPixel)
{
    auto pattern = [](std::initializer_list<double> v) {
        CMavArrayTempl<double> p;
        for (double x : v)
            p.append(x);
        return p;
    };
    for (auto target : {MAV::RenderTarget::Window, MAV::RenderTarget::Metafile}) {
        CMavGDX g = plainList();
        addLine(g, 10, rgb(0), 0, pattern({1, 0, 0}), 1.0);
        addLine(g, 20, rgb(0), 0, pattern({1, 1, 0}), 1.0);
        addLine(g, 30, rgb(0), 0, pattern({1, 1, 0}), 2.0);
        addLine(g, 40, rgb(0), 0, pattern({1, 1, 1}), 2.0);
        addLine(g, 50, rgb(0), 0, pattern({1}), 7.0);
        Dib d(kW, kH, kBack);
        drawAs(d, g, target);

        EXPECT_EQ(runs(d, 10, kBack), std::vector<int>{100}); // solid
        EXPECT_EQ(runs(d, 50, kBack), std::vector<int>{100});
        // The flag forms become real patterns scaled by the item's factor; the dashing itself is the measure's.
        // A dot (0.21 long) is below the single-pixel length and lights exactly one pixel.
        const struct {
            int row;
            CMavArrayTempl<double> dashes;
        } cases[] = {{20, pattern({10, -4})}, {30, pattern({20, -8})}, {40, pattern({22, -10, 0.21, -10})}};
        for (const auto& c : cases) {
            CMavVertexArray vl = segment(10, c.row, 110, c.row);
            ASSERT_TRUE(mav_gdx_image_vl_measure(vl, c.dashes, 1));
            // The pixels the pieces cover: a line lights its start up to its end, a short piece one pixel.
            std::vector<bool> lit(kW, false);
            for (int i = 0; i < vl.len(); ++i) {
                const int x0 = static_cast<int>(vl[i].start.x), x1 = static_cast<int>(vl[i].end.x);
                if (vl[i].start.distanceTo(vl[i].end) < 0.22)
                    lit[x0] = true;
                for (int x = std::min(x0, x1); x < std::max(x0, x1); ++x)
                    lit[x] = true;
            }
            std::vector<int> want;
            for (int x = 0, len = 0; x <= kW; ++x) {
                if (x < kW && lit[x]) {
                    ++len;
                } else if (len) {
                    want.push_back(len);
                    len = 0;
                }
            }
            const std::vector<int> got = runs(d, c.row, kBack);
            ASSERT_EQ(got.size(), want.size()) << c.row << ::testing::PrintToString(got) << ::testing::PrintToString(want);
            for (size_t i = 0; i < got.size(); ++i)
                EXPECT_NEAR(got[i], want[i], 1) << c.row << " piece " << i;
            EXPECT_GE(got.size(), 4u);
        }
        const std::vector<int> dotted = runs(d, 40, kBack);
        EXPECT_GE(std::count(dotted.begin(), dotted.end(), 1), 2);
    }
}

TEST(RenderLines, ThinRunsAndKeptPensLightTheSamePixelsAsOneLinePerSegment)
{
    // The window draws joined thin segments as polylines (in pieces of bounded length) and keeps an item's pen
    // for the next items of the same width and colour. The reference gives every item a pen of its own and every
    // segment a MoveToEx/LineTo of its own; the pixels must be the same.
    struct Item {
        COLORREF colour;
        unsigned long width;
        CMavVertexArray vl;
    };
    std::vector<Item> items;
    CMavVertexArray zigzag; // 150 joined segments: more than one piece
    zigzag.append(CMavPoint3d(5.5, 10, 0), CMavPoint3d(6.3, 17.7, 0));
    for (int i = 2; i <= 150; ++i)
        zigzag.appendTo(CMavPoint3d(5.5 + i * 0.73, (i % 2) ? 17.7 : 10.2 + (i % 7), 0));
    items.push_back({0x000000, 0, zigzag});
    CMavVertexArray wide = rectangle(20, 30, 60, 45);
    items.push_back({0x000000, 3, wide}); // same colour, wider pen
    CMavVertexArray gapped = segment(10, 60, 50, 70); // two runs: the second does not start where the first ended
    gapped.appendTo(CMavPoint3d(80, 62, 0));
    gapped.append(CMavPoint3d(85, 80, 0), CMavPoint3d(40, 90, 0));
    gapped.appendTo(CMavPoint3d(15, 75, 0));
    items.push_back({0x0000FF, 1, gapped});
    items.push_back({0xFF0000, 0, segment(100, 10, 60, 95)}); // another colour crossing the others
    items.push_back({0x0000FF, 1, rectangle(90, 40, 115, 55)});
    items.push_back({0x000000, 0, segment(5, 97, 115, 93)});

    CMavGDX g = plainList();
    for (const Item& it : items)
        g.imageVl(CMavArrayTempl<int>(), 0, it.vl, rgb(it.colour), CMavMatrix3d(), CMavArrayTempl<double>(), 1.0,
                  it.width);
    Dib drawn(kW, kH, kBack);
    SetBkColor(drawn.dc, 0xFFFFFF);
    MAV::renderItems(g, MAV::renderContextMake(drawn.dc, MAV::RenderTarget::Window, g, kW, kH));

    Dib ref(kW, kH, kBack);
    for (const Item& it : items) {
        HPEN pen = CreatePen(PS_SOLID, static_cast<int>(it.width), it.colour);
        HGDIOBJ old = SelectObject(ref.dc, pen);
        for (int i = 0; i < it.vl.len(); ++i) {
            MoveToEx(ref.dc, static_cast<int>(it.vl[i].start.x), static_cast<int>(it.vl[i].start.y), nullptr);
            LineTo(ref.dc, static_cast<int>(it.vl[i].end.x), static_cast<int>(it.vl[i].end.y));
        }
        SelectObject(ref.dc, old);
        DeleteObject(pen);
    }
    int differing = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            differing += at(drawn, x, y) != at(ref, x, y);
    EXPECT_EQ(differing, 0);
    EXPECT_GT(countNot(ref, kBack), 700);
    EXPECT_EQ(at(drawn, 19, 37), 0u);       // the wide pen's edge, outside a thin line
    EXPECT_LT(countNot(drawn, px(0xFF0000), 85, 32, 95, 33), 10); // the crossing line in its own colour

    // The window's colour rule still sees the list's background after a region fill set it on the context.
    CMavGDX grey = plainList(0x808080);
    CMavArrayTempl<CMavVertexArray> reg;
    reg.append(rectangle(10, 10, 30, 30));
    grey.imageReg(CMavArrayTempl<int>(), 0x1, reg, rgb(0xFF), CMavMatrix3d(), CMavArrayTempl<double>(), 1.0, 0,
                  rgb(0xFF), MAV::CHatchProp());
    addLine(grey, 50, rgb(0x808080));
    Dib d(kW, kH, 0);
    MAV::renderWindow(d.dc, grey, kW, kH);
    EXPECT_EQ(at(d, 20, 20), px(0xFF));
    EXPECT_EQ(at(d, 60, 50), px(0x7F7F7F));
}

TEST(RenderPoints, ModesAndSizes)
{
    // One point of the given mode and size at (50, 50), drawn in black with the target.
    auto draw = [](unsigned long mode, double size, MAV::RenderTarget target) {
        CMavGDX g = plainList();
        g.imagePt(CMavArrayTempl<int>(), 0, CMavPoint3d(50, 50, 0), rgb(0), CMavMatrix3d(), size, mode);
        auto d = std::make_unique<Dib>(kW, kH, kBack);
        drawAs(*d, g, target);
        return d;
    };
    const auto W = MAV::RenderTarget::Window, M = MAV::RenderTarget::Metafile;
    for (auto t : {W, M}) {
        auto plus = draw(2, 10, t); // h = 5
        EXPECT_NE(at(*plus, 50, 46), kBack);
        EXPECT_NE(at(*plus, 46, 50), kBack);
        EXPECT_EQ(at(*plus, 53, 53), kBack);
        EXPECT_EQ(countNot(*plus, kBack, 0, 0, 44, kH), 0);

        auto cross = draw(3, 10, t);
        EXPECT_NE(at(*cross, 47, 47), kBack);
        EXPECT_NE(at(*cross, 53, 53), kBack);
        EXPECT_EQ(at(*cross, 50, 46), kBack);

        auto tick = draw(4, 10, t);
        EXPECT_NE(at(*tick, 50, 46), kBack);
        EXPECT_EQ(countNot(*tick, kBack, 0, 51, kW, kH), 0);

        EXPECT_EQ(countNot(*draw(1, 10, t), kBack), 0);
        EXPECT_EQ(countNot(*draw(5, 10, t), kBack), 0);

        // Circle only: its centre stays empty, its top is drawn.
        auto circle = draw(33, 10, t);
        EXPECT_EQ(at(*circle, 50, 50), kBack);
        EXPECT_GT(countNot(*circle, kBack, 45, 45, 56, 47), 0);
        EXPECT_EQ(countNot(*circle, kBack, 48, 48, 53, 53), 0);

        // Circle, square and plus together.
        auto all = draw(98, 10, t);
        EXPECT_NE(at(*all, 45, 50), kBack); // square's left edge
        EXPECT_NE(at(*all, 50, 47), kBack); // plus
        EXPECT_NE(at(*all, 45, 45), kBack); // square corner, outside the circle

        // A size of 0: the dot keeps its mark, the plus has no extent.
        EXPECT_EQ(countNot(*draw(2, 0, t), kBack), 0);
        const int dot = countNot(*draw(0, 0, t), kBack);
        EXPECT_GE(dot, 1);
        EXPECT_LE(dot, 4);
        EXPECT_EQ(countNot(*draw(0, 0, t), kBack, 0, 0, 48, kH), 0);
    }
    // Filled square: with 8 nothing else is drawn. The window fills s x s from (x - h, y - h); the metafile's
    // rectangle runs to (x + h, y + h) exclusive of its right and bottom edge.
    auto sqW = draw(8 + 2 + 32, 10, W);
    EXPECT_EQ(countNot(*sqW, 0), kW * kH - 100);
    EXPECT_EQ(at(*sqW, 45, 45), 0u);
    EXPECT_EQ(at(*sqW, 54, 54), 0u);
    EXPECT_EQ(at(*sqW, 55, 50), kBack);
    auto sqM = draw(8, 10, M);
    EXPECT_EQ(at(*sqM, 45, 45), 0u);
    EXPECT_EQ(at(*sqM, 54, 54), 0u);
    EXPECT_EQ(countNot(*sqM, kBack), 100);
    // A negative size is taken in device units: -10 reaches as far as 10 in both directions of the plus.
    auto neg = draw(2, -10, W);
    EXPECT_NE(at(*neg, 50, 46), kBack);
    EXPECT_NE(at(*neg, 54, 50), kBack);
    // Odd sizes: the window moves the square's left and top edge one unit inward.
    auto odd = draw(64 + 1, 11, W); // h = 5
    EXPECT_EQ(at(*odd, 45, 50), kBack);
    EXPECT_NE(at(*odd, 46, 50), kBack);
    auto oddM = draw(64 + 1, 11, M);
    EXPECT_NE(at(*oddM, 45, 50), kBack);
}

TEST(RenderRegions, FillWithHoleHatchAndFallback)
{
    const COLORREF blue = 0xFF0000, red = 0x0000FF;
    CMavArrayTempl<CMavVertexArray> reg;
    reg.append(rectangle(10, 10, 90, 90));
    reg.append(rectangle(40, 40, 60, 60));
    for (auto target : {MAV::RenderTarget::Window, MAV::RenderTarget::Metafile}) {
        CMavGDX g = plainList();
        g.imageReg(CMavArrayTempl<int>(), 0x1, reg, rgb(red), CMavMatrix3d(), CMavArrayTempl<double>(), 1.0, 0,
                   rgb(blue), MAV::CHatchProp());
        Dib d(kW, kH, kBack);
        drawAs(d, g, target);
        EXPECT_EQ(at(d, 20, 20), px(blue));
        EXPECT_EQ(at(d, 70, 50), px(blue));
        EXPECT_EQ(at(d, 50, 50), kBack); // the hole
        EXPECT_EQ(at(d, 5, 5), kBack);
        EXPECT_EQ(at(d, 95, 50), kBack);

        // A legible hatch leaves gaps inside; a hatch too dense to read is filled instead.
        CMavArrayTempl<CMavVertexArray> sq;
        sq.append(rectangle(10, 10, 90, 90));
        CMavGDX h = plainList();
        h.imageReg(CMavArrayTempl<int>(), 0x2, sq, rgb(red), CMavMatrix3d(), CMavArrayTempl<double>(), 1.0, 0,
                   rgb(blue), MAV::CHatchProp(L"ANSI31", 40.0));
        Dib dh(kW, kH, kBack);
        drawAs(dh, h, target);
        const int lit = countNot(dh, kBack, 12, 12, 88, 88);
        EXPECT_GT(lit, 300);
        EXPECT_LT(lit, 76 * 76 / 2);
        EXPECT_EQ(countNot(dh, kBack, 0, 0, 9, kH), 0); // nothing outside
        EXPECT_EQ(countNot(dh, px(blue), 12, 12, 88, 88), 76 * 76 - lit);

        CMavGDX dense = plainList();
        dense.imageReg(CMavArrayTempl<int>(), 0x2, sq, rgb(red), CMavMatrix3d(), CMavArrayTempl<double>(), 1.0, 0,
                       rgb(blue), MAV::CHatchProp(L"ANSI31", 1.0));
        Dib dd(kW, kH, kBack);
        drawAs(dd, dense, target);
        EXPECT_EQ(countNot(dd, px(blue), 12, 12, 88, 88), 0);
    }
    // An outline only: the edge in the item colour, the inside untouched.
    CMavGDX o = plainList();
    o.imageReg(CMavArrayTempl<int>(), 0x10, reg, rgb(red), CMavMatrix3d(), CMavArrayTempl<double>(), 1.0, 0,
               rgb(blue), MAV::CHatchProp());
    Dib d(kW, kH, kBack);
    drawAs(d, o, MAV::RenderTarget::Metafile);
    EXPECT_EQ(at(d, 10, 50), px(red));
    EXPECT_EQ(at(d, 40, 50), px(red));
    EXPECT_EQ(at(d, 20, 20), kBack);
}

TEST(RenderTexts, GlyphRegionsFilledAndOutlined)
{
    // A hand-made glyph: an "O" as a square ring, and a second glyph as a bar.
    CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> glyphs;
    glyphs.append(CMavArrayTempl<CMavVertexArray>());
    glyphs.append(CMavArrayTempl<CMavVertexArray>());
    glyphs[0].append(rectangle(10, 10, 50, 50));
    glyphs[0].append(rectangle(20, 20, 40, 40));
    glyphs[1].append(rectangle(60, 10, 70, 50));
    for (auto target : {MAV::RenderTarget::Window, MAV::RenderTarget::Metafile}) {
        for (unsigned long flags : {0x1ul, 0x10ul}) {
            CMavGDX g = plainList();
            CMavArrayTempl<CMavDisplayItem> items;
            items.append(CMavDisplayItem());
            items[0].m_kind = static_cast<MavDisplayObj>(5);
            items[0].m_flags = static_cast<std::uint32_t>(flags);
            items[0].m_color = rgb(0x0000FF);
            items[0].m_fcolor = rgb(0x00FF00);
            items[0].m_txtRegl = glyphs;
            g.addDisplayList(items);
            Dib d(kW, kH, kBack);
            drawAs(d, g, target);
            EXPECT_EQ(at(d, 30, 30), kBack);            // the hole of the O
            EXPECT_EQ(at(d, 10, 30), px(0x0000FF));     // edges in the pen colour either way
            if (flags == 1) {
                EXPECT_EQ(at(d, 15, 30), px(0x00FF00)); // filled with the fill colour
                EXPECT_EQ(at(d, 65, 30), px(0x00FF00));
            } else {
                EXPECT_EQ(at(d, 15, 30), kBack);
                EXPECT_EQ(at(d, 60, 30), px(0x0000FF));
            }
        }
    }
}

namespace {

std::wstring tempEmf(const wchar_t* name)
{
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

// Writes a bottom-up 32-bit .bmp of one colour (0x00RRGGBB) and returns its path.
std::wstring writeBmp(const wchar_t* name, int w, int h, DWORD colour)
{
    const std::wstring path = tempEmf(name);
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = w;
    ih.biHeight = h;
    ih.biPlanes = 1;
    ih.biBitCount = 32;
    ih.biCompression = BI_RGB;
    const DWORD pixels = static_cast<DWORD>(w * h * 4);
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + pixels;
    std::vector<DWORD> bits(static_cast<size_t>(w * h), colour);
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done = 0;
    WriteFile(f, &fh, sizeof fh, &done, nullptr);
    WriteFile(f, &ih, sizeof ih, &done, nullptr);
    WriteFile(f, bits.data(), pixels, &done, nullptr);
    CloseHandle(f);
    return path;
}

SIZE bitmapSize(HBITMAP b)
{
    BITMAP bm{};
    GetObjectW(b, sizeof bm, &bm);
    return SIZE{bm.bmWidth, bm.bmHeight};
}

// Writes the 32-bit pixels of the DIB as a bottom-up .bmp file.
bool saveBmp(const std::wstring& path, const Dib& d)
{
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = d.w;
    ih.biHeight = d.h;
    ih.biPlanes = 1;
    ih.biBitCount = 32;
    ih.biCompression = BI_RGB;
    const DWORD pixels = static_cast<DWORD>(d.w * d.h * 4);
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + pixels;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD done = 0;
    bool ok = WriteFile(f, &fh, sizeof fh, &done, nullptr) && WriteFile(f, &ih, sizeof ih, &done, nullptr);
    for (int y = d.h - 1; ok && y >= 0; --y)
        ok = WriteFile(f, d.bits + y * d.w, static_cast<DWORD>(d.w * 4), &done, nullptr) != 0;
    CloseHandle(f);
    return ok;
}

// When MAV_EMF_KEEP names a folder, a metafile file a test wrote is kept there as `name`.emf, beside `name`.bmp:
// the picture GDI plays from it, cut to the metafile's bounds, on white. Readers of metafiles other than GDI are
// then checked against both (scripts/emf_check.sh).
void keepEmf(const std::wstring& file, const wchar_t* name)
{
    wchar_t dir[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(L"MAV_EMF_KEEP", dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    const std::wstring base = std::wstring(dir) + L"\\" + name;
    EXPECT_TRUE(CopyFileW(file.c_str(), (base + L".emf").c_str(), FALSE));
    HENHMETAFILE emf = GetEnhMetaFileW(file.c_str());
    ASSERT_NE(emf, nullptr);
    ENHMETAHEADER hdr{};
    GetEnhMetaFileHeader(emf, sizeof hdr, &hdr);
    const RECTL b = hdr.rclBounds;
    const int w = b.right >= b.left ? static_cast<int>(b.right - b.left + 1) : 1;
    const int h = b.bottom >= b.top ? static_cast<int>(b.bottom - b.top + 1) : 1;
    Dib d(w, h, 0xFFFFFF);
    // The metafile's frame spans its bounds from the left edge to the right one, so a picture rectangle one unit
    // narrower than the inclusive bounds plays it back at its own scale.
    const RECT to{0, 0, std::max(1, w - 1), std::max(1, h - 1)};
    if (b.right >= b.left)
        PlayEnhMetaFile(d.dc, emf, &to);
    DeleteEnhMetaFile(emf);
    EXPECT_TRUE(saveBmp(base + L".bmp", d));
}

} // namespace

TEST(RenderState, NoGdiObjectOutlivesTheDrawing)
{
    // Wine does not count GDI objects per process, but its handle table holds 65536: drawing more items than that
    // would exhaust it if an item kept one pen, brush or region, and the last drawing would come out empty.
    // The cheap kinds are drawn 70,000 times in each target; regions (the costly scan-line fill) in the window.
    CMavArrayTempl<CMavVertexArray> reg;
    reg.append(rectangle(2, 2, 8, 8));
    reg.append(rectangle(4, 4, 6, 6));
    CMavGDX lines = plainList(0x808080), points = plainList(0x808080), regions = plainList(0x808080);
    for (int i = 0; i < 100; ++i) {
        addLine(lines, 5, rgb(0));
        points.imagePt(CMavArrayTempl<int>(), 0, CMavPoint3d(50, 50, 0), rgb(0), CMavMatrix3d(), 4, 96);
        regions.imageReg(CMavArrayTempl<int>(), 0x1, reg, rgb(0xFF), CMavMatrix3d(), CMavArrayTempl<double>(), 1.0, 0,
                         rgb(0xFF00), MAV::CHatchProp());
    }
    Dib d(kW, kH, kBack);
    auto rounds = [&d](const CMavGDX& g, MAV::RenderTarget target) {
        const MAV::RenderContext ctx = MAV::renderContextMake(d.dc, target, g, d.w, d.h);
        for (int round = 0; round < 700; ++round)
            MAV::renderItems(g, ctx);
    };
    SetBkColor(d.dc, 0x808080);
    for (auto target : {MAV::RenderTarget::Window, MAV::RenderTarget::Metafile}) {
        rounds(lines, target);
        rounds(points, target);
    }
    rounds(regions, MAV::RenderTarget::Window);
    HPEN probe = CreatePen(PS_SOLID, 1, 0);
    EXPECT_NE(probe, nullptr);
    DeleteObject(probe);
    CMavGDX all = plainList(0x808080);
    all.addDisplayList(lines.getDisplayList());
    all.addDisplayList(points.getDisplayList());
    all.addDisplayList(regions.getDisplayList());
    Dib last(kW, kH, kBack);
    drawAs(last, all, MAV::RenderTarget::Window);
    EXPECT_EQ(at(last, 3, 3), 0x00FF00u);  // filled region
    EXPECT_EQ(at(last, 5, 5), 0x808080u);  // its hole
    EXPECT_EQ(at(last, 50, 5), 0u);        // line
    EXPECT_EQ(at(last, 48, 50), 0u);       // point mark
}

TEST(RenderState, ContextGivenBackAsItWas)
{
    CMavGDX g = plainList(0x808080);
    CMavArrayTempl<CMavVertexArray> reg;
    reg.append(rectangle(10, 10, 90, 90));
    reg.append(rectangle(40, 40, 60, 60));
    g.imageReg(CMavArrayTempl<int>(), 0x13, reg, rgb(0xFF), CMavMatrix3d(), CMavArrayTempl<double>(), 1.0, 2,
               rgb(0xFF00), MAV::CHatchProp(L"ANSI31", 40.0));
    g.imagePt(CMavArrayTempl<int>(), 0, CMavPoint3d(5, 5, 0), rgb(0), CMavMatrix3d(), 4, 8);
    g.imagePt(CMavArrayTempl<int>(), 0, CMavPoint3d(5, 95, 0), rgb(0), CMavMatrix3d(), 4, 98);
    CMavArrayTempl<double> dashDot;
    for (int i = 0; i < 3; ++i)
        dashDot.append(1.0);
    addLine(g, 95, rgb(0), 0, dashDot, 1.0);

    Dib d(kW, kH, kBack);
    HPEN pen = CreatePen(PS_SOLID, 3, 0x123456);
    HBRUSH brush = CreateSolidBrush(0x654321);
    HGDIOBJ oldPen = SelectObject(d.dc, pen);
    HGDIOBJ oldBrush = SelectObject(d.dc, brush);
    SetBkColor(d.dc, 0x010203);
    SetTextColor(d.dc, 0x030201);
    for (auto target : {MAV::RenderTarget::Window, MAV::RenderTarget::Metafile}) {
        if (target == MAV::RenderTarget::Window) {
            MAV::renderWindow(d.dc, g, d.w, d.h);
        } else {
            MAV::renderItems(g, MAV::renderContextMake(d.dc, target, g, d.w, d.h));
        }
        EXPECT_EQ(GetCurrentObject(d.dc, OBJ_PEN), pen);
        EXPECT_EQ(GetCurrentObject(d.dc, OBJ_BRUSH), brush);
        EXPECT_EQ(GetTextColor(d.dc), 0x030201u);
        if (target == MAV::RenderTarget::Window) {
            EXPECT_EQ(GetBkColor(d.dc), 0x010203u);
        }
        HRGN r = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(GetClipRgn(d.dc, r), 0); // no clip region, as before
        DeleteObject(r);
    }
    EXPECT_GT(countNot(d, kBack), 1000);
    SelectObject(d.dc, oldPen);
    SelectObject(d.dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

namespace {

int CALLBACK collectRecord(HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM data)
{
    auto* out = reinterpret_cast<std::vector<const ENHMETARECORD*>*>(data);
    const size_t size = rec->nSize;
    auto* copy = static_cast<ENHMETARECORD*>(::operator new(size));
    memcpy(copy, rec, size);
    out->push_back(copy);
    return 1;
}

struct Records {
    std::vector<const ENHMETARECORD*> list;
    explicit Records(HENHMETAFILE emf)
    {
        if (emf)
            EnumEnhMetaFile(nullptr, emf, collectRecord, &list, nullptr);
    }
    ~Records()
    {
        for (auto* r : list)
            ::operator delete(const_cast<ENHMETARECORD*>(r));
    }
    std::vector<DWORD> types() const
    {
        std::vector<DWORD> t;
        for (auto* r : list)
            t.push_back(r->iType);
        return t;
    }
    int count(DWORD type) const
    {
        int n = 0;
        for (auto* r : list)
            n += r->iType == type;
        return n;
    }
};


} // namespace

TEST(RenderMetafile, RecordsFileViewAndClipboard)
{
    // Empty list: header, the clip and the end.
    {
        CMavGDX g = plainList();
        const std::wstring file = tempEmf(L"mav_render_empty.emf");
        DeleteFileW(file.c_str());
        refresh(&g, file.c_str(), 100, 200);
        keepEmf(file, L"render_empty");
        HENHMETAFILE emf = GetEnhMetaFileW(file.c_str());
        ASSERT_NE(emf, nullptr);
        Records r(emf);
        EXPECT_EQ(r.types(), (std::vector<DWORD>{EMR_HEADER, EMR_EXTSELECTCLIPRGN, EMR_EOF}));
        DeleteEnhMetaFile(emf);
        DeleteFileW(file.c_str());
    }
    // One line from (0, 0) to (100, 50), fitted into 200 x 100: the view matrix stays in the list.
    CMavGDX g = plainList();
    g.imageVl(CMavArrayTempl<int>(), 0, segment(0, 0, 100, 50), rgb(0xFFFFFF), CMavMatrix3d(),
              CMavArrayTempl<double>(), 1.0, 0);
    const std::wstring file = tempEmf(L"mav_render_line.emf");
    DeleteFileW(file.c_str());
    refresh(&g, file.c_str(), 100, 200);
    keepEmf(file, L"render_line");
    CMavPoint3d mn, mx;
    g.extMaxViewGet(mn, mx);
    const CMavMatrix3d fit = getViewMtx(mn, mx, 100, 200, 0.05);
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 4; ++k)
            EXPECT_DOUBLE_EQ(g.viewMtxGet().m[i][k], fit.m[i][k]);
    EXPECT_FALSE(fit.m[0][0] == 1.0 && fit.m[0][3] == 0.0); // really a fit, not the identity

    HENHMETAFILE emf = GetEnhMetaFileW(file.c_str());
    ASSERT_NE(emf, nullptr);
    {
        Records r(emf);
        EXPECT_EQ(r.types(), (std::vector<DWORD>{EMR_HEADER, EMR_EXTSELECTCLIPRGN, EMR_CREATEPEN, EMR_SELECTOBJECT,
                                                 EMR_MOVETOEX, EMR_LINETO, EMR_SELECTOBJECT, EMR_DELETEOBJECT,
                                                 EMR_EOF}));
        for (auto* rec : r.list) {
            if (rec->iType == EMR_CREATEPEN) { // white drawn black on paper
                EXPECT_EQ(reinterpret_cast<const EMRCREATEPEN*>(rec)->lopn.lopnColor, 0u);
            }
            if (rec->iType == EMR_MOVETOEX || rec->iType == EMR_LINETO) {
                const POINTL p = reinterpret_cast<const EMRLINETO*>(rec)->ptl;
                const POINT want = rec->iType == EMR_MOVETOEX
                                       ? POINT{static_cast<LONG>((fit * CMavPoint3d(0, 0, 0)).x),
                                               static_cast<LONG>((fit * CMavPoint3d(0, 0, 0)).y)}
                                       : POINT{static_cast<LONG>((fit * CMavPoint3d(100, 50, 0)).x),
                                               static_cast<LONG>((fit * CMavPoint3d(100, 50, 0)).y)};
                EXPECT_EQ(p.x, want.x);
                EXPECT_EQ(p.y, want.y);
                EXPECT_GE(p.x, 0);
                EXPECT_LE(p.x, 200);
                EXPECT_GE(p.y, 0);
                EXPECT_LE(p.y, 100);
            }
        }
    }
    // Played back into a DIB, the line is there in black.
    Dib d(200, 100, kBack);
    ENHMETAHEADER hdr{};
    GetEnhMetaFileHeader(emf, sizeof hdr, &hdr);
    const RECT bounds{hdr.rclBounds.left, hdr.rclBounds.top, hdr.rclBounds.right + 1, hdr.rclBounds.bottom + 1};
    PlayEnhMetaFile(d.dc, emf, &bounds);
    EXPECT_GT(countNot(d, kBack), 80);
    int neither = 0; // every drawn pixel is black
    for (int i = 0; i < d.w * d.h; ++i)
        neither += (d.bits[i] & 0xFFFFFF) != kBack && (d.bits[i] & 0xFFFFFF) != 0;
    EXPECT_EQ(neither, 0);
    DeleteEnhMetaFile(emf);
    DeleteFileW(file.c_str());

    // Without a file name the picture goes to the clipboard.
    refresh(&g, nullptr, 100, 200);
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_ENHMETAFILE));
    ASSERT_TRUE(OpenClipboard(nullptr));
    HENHMETAFILE clip = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
    ASSERT_NE(clip, nullptr);
    {
        Records r(clip);
        EXPECT_EQ(r.count(EMR_LINETO), 1);
        EXPECT_EQ(r.count(EMR_CREATEPEN), 1);
    }
    EmptyClipboard();
    CloseClipboard();
}

TEST(RenderMetafile, ScanLineFillAndDottedHatchInRecords)
{
    CMavGDX g = plainList();
    CMavArrayTempl<CMavVertexArray> reg;
    reg.append(rectangle(0, 0, 100, 100));
    reg.append(rectangle(40, 40, 60, 60));
    g.imageReg(CMavArrayTempl<int>(), 0x1, reg, rgb(0xFF), CMavMatrix3d(), CMavArrayTempl<double>(), 1.0, 0,
               CMavColor(0), MAV::CHatchProp());
    const std::wstring file = tempEmf(L"mav_render_fill.emf");
    refresh(&g, file.c_str(), 100, 100);
    keepEmf(file, L"render_fill");
    HENHMETAFILE emf = GetEnhMetaFileW(file.c_str());
    ASSERT_NE(emf, nullptr);
    Records r(emf);
    // Rows through the hole give two pieces, the others one: more lines than rows, no polygon.
    const int rows = r.count(EMR_LINETO);
    EXPECT_GT(rows, 80);
    EXPECT_LT(rows, 200);
    EXPECT_EQ(r.count(EMR_POLYGON) + r.count(EMR_POLYGON16), 0);
    // Item pen and the fill pen: fill colour index 0 takes the item colour.
    EXPECT_EQ(r.count(EMR_CREATEPEN), 2);
    for (auto* rec : r.list)
        if (rec->iType == EMR_CREATEPEN) {
            EXPECT_EQ(reinterpret_cast<const EMRCREATEPEN*>(rec)->lopn.lopnColor, 0xFFu);
        }
    DeleteEnhMetaFile(emf);
    DeleteFileW(file.c_str());
}


TEST(RenderMetafile, EveryKindWrittenAndPlayedBack)
{
    // One item of each drawable kind, written by refresh and played back: the picture holds each in its colour.
    const COLORREF red = 0x0000FF, blue = 0xC00000, green = 0x00A000, violet = 0x800080, navy = 0x800000;
    CMavGDX g = plainList();
    addLine(g, 10, rgb(red));
    CMavArrayTempl<double> dashes;
    for (double v : {1.0, 1.0, 0.0})
        dashes.append(v);
    addLine(g, 20, rgb(blue), 0, dashes, 0.5);
    g.imagePt(CMavArrayTempl<int>(), 0, CMavPoint3d(20, 35, 0), rgb(0), CMavMatrix3d(), 6, 2);
    g.imagePt(CMavArrayTempl<int>(), 0, CMavPoint3d(40, 35, 0), rgb(0), CMavMatrix3d(), 8, 32 + 3);
    g.imagePt(CMavArrayTempl<int>(), 0, CMavPoint3d(60, 35, 0), rgb(0), CMavMatrix3d(), 6, 8);
    CMavArrayTempl<CMavVertexArray> ring;
    ring.append(rectangle(10, 50, 50, 90));
    ring.append(rectangle(25, 65, 35, 75));
    g.imageReg(CMavArrayTempl<int>(), 0x11, ring, rgb(navy), CMavMatrix3d(), CMavArrayTempl<double>(), 1.0, 0,
               rgb(green), MAV::CHatchProp());
    CMavArrayTempl<CMavVertexArray> square;
    square.append(rectangle(60, 50, 100, 90));
    g.imageReg(CMavArrayTempl<int>(), 0x2, square, rgb(violet), CMavMatrix3d(), CMavArrayTempl<double>(), 1.0, 0,
               CMavColor(0), MAV::CHatchProp(L"ANSI31", 20.0));
    g.imageTxt(CMavArrayTempl<int>(), 0x1, L"LT", rgb(blue),
               CMavMatrix3d::translation(CMavVector3d(75, 30, 0)) * CMavMatrix3d::scaling(10.0), L"BL",
               CMavPoint3d(0, 0, 0));
    g.imageTxt(CMavArrayTempl<int>(), 0x10, L"AB", rgb(red),
               CMavMatrix3d::translation(CMavVector3d(97, 30, 0)) * CMavMatrix3d::scaling(8.0), L"BL",
               CMavPoint3d(0, 0, 0));

    const std::wstring file = tempEmf(L"mav_render_kinds.emf");
    refresh(&g, file.c_str(), 200, 240);
    keepEmf(file, L"render_kinds");
    const CMavMatrix3d fit = g.viewMtxGet();
    auto dev = [&fit](double x, double y) {
        const CMavPoint3d p = fit * CMavPoint3d(x, y, 0);
        return POINT{static_cast<LONG>(p.x), static_cast<LONG>(p.y)};
    };
    HENHMETAFILE emf = GetEnhMetaFileW(file.c_str());
    ASSERT_NE(emf, nullptr);
    {
        Records r(emf);
        EXPECT_EQ(r.count(EMR_ELLIPSE), 1);   // the circle
        EXPECT_EQ(r.count(EMR_RECTANGLE), 1); // the filled square
        EXPECT_EQ(r.count(EMR_POLYGON) + r.count(EMR_POLYGON16), 2); // the two filled letters
    }
    Dib d(240, 200, kBack);
    ENHMETAHEADER hdr{};
    GetEnhMetaFileHeader(emf, sizeof hdr, &hdr);
    const RECT bounds{hdr.rclBounds.left, hdr.rclBounds.top, hdr.rclBounds.right, hdr.rclBounds.bottom};
    PlayEnhMetaFile(d.dc, emf, &bounds);
    DeleteEnhMetaFile(emf);
    DeleteFileW(file.c_str());

    POINT p = dev(60, 10);
    EXPECT_EQ(at(d, p.x, p.y), px(red));
    const POINT dashFrom = dev(10, 20), dashTo = dev(110, 20);
    const std::vector<int> dashRuns = runs(d, dashFrom.y, kBack);
    EXPECT_GE(dashRuns.size(), 10u); // dashes of 5 with gaps of 2, about two device units each
    EXPECT_LT(countNot(d, kBack, dashFrom.x, dashFrom.y, dashTo.x, dashFrom.y + 1), dashTo.x - dashFrom.x - 10);
    p = dev(60, 35);
    EXPECT_EQ(at(d, p.x, p.y), 0u); // filled square
    p = dev(40, 35);
    EXPECT_EQ(at(d, p.x, p.y), 0u); // centre of the cross
    p = dev(15, 55);
    EXPECT_EQ(at(d, p.x, p.y), px(green)); // scan-line fill
    p = dev(30, 70);
    EXPECT_EQ(at(d, p.x, p.y), kBack); // the hole
    p = dev(10, 70);
    EXPECT_EQ(at(d, p.x, p.y), px(navy)); // outline over the fill
    const POINT h0 = dev(62, 88), h1 = dev(98, 52);
    const int inside = (h1.x - h0.x) * (h1.y - h0.y);
    const int hatched = countNot(d, kBack, h0.x, h0.y, h1.x, h1.y);
    EXPECT_GT(hatched, inside / 10);
    EXPECT_LT(hatched, inside / 2);
    EXPECT_EQ(countNot(d, px(violet), h0.x, h0.y, h1.x, h1.y), inside - hatched);
    // The filled letters in their colour only; the outlined ones leave their inside empty.
    const POINT t0 = dev(75, 40), t1 = dev(95, 30);
    EXPECT_GT(countNot(d, kBack, t0.x, t0.y, t1.x, t1.y), 40);
    EXPECT_EQ(countNot(d, px(blue), t0.x, t0.y, t1.x, t1.y) + countNot(d, kBack, t0.x, t0.y, t1.x, t1.y),
              (t1.x - t0.x) * (t1.y - t0.y));
    const POINT a0 = dev(97, 38), a1 = dev(113, 30);
    const int outlined = countNot(d, kBack, a0.x, a0.y, a1.x, a1.y);
    EXPECT_GT(outlined, 30);
    EXPECT_EQ(countNot(d, px(red), a0.x, a0.y, a1.x, a1.y), (a1.x - a0.x) * (a1.y - a0.y) - outlined);
}


TEST(RenderPictures, LoaderAndPictureItems)
{
    // A system icon: drawn over the background colour, the flag tells it came from an icon.
    bool fromIcon = true;
    HBITMAP sys = mav_gdx_image_get_bitmap(CMavString(), 32512 /* IDI_APPLICATION */, 32, 32, fromIcon, 0x00FF00);
    ASSERT_NE(sys, nullptr);
    EXPECT_FALSE(fromIcon);
    EXPECT_EQ(bitmapSize(sys).cx, GetSystemMetrics(SM_CXICON));
    DeleteObject(sys);
    // An icon of this library, by id, at the requested size.
    fromIcon = true;
    HBITMAP own = mav_gdx_image_get_bitmap(CMavString(), 2001, 16, 16, fromIcon, 0xFFFFFF);
    ASSERT_NE(own, nullptr);
    EXPECT_FALSE(fromIcon);
    EXPECT_EQ(bitmapSize(own).cx, 16);
    DeleteObject(own);
    fromIcon = true;
    EXPECT_EQ(mav_gdx_image_get_bitmap(CMavString(), 31999, 16, 16, fromIcon, 0), nullptr);
    EXPECT_TRUE(fromIcon);

    // A bitmap file: returned as it is, the flag untouched; other endings and missing files give nothing.
    const std::wstring bmp = writeBmp(L"mav_render_red.BMP", 4, 4, 0xFF0000);
    fromIcon = true;
    HBITMAP b = mav_gdx_image_get_bitmap(CMavString(bmp.c_str()), 0, 8, 6, fromIcon, 0);
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(fromIcon);
    EXPECT_EQ(bitmapSize(b).cx, 8);
    EXPECT_EQ(bitmapSize(b).cy, 6);
    DeleteObject(b);
    const std::wstring other = tempEmf(L"mav_render_red.png");
    CopyFileW(bmp.c_str(), other.c_str(), FALSE);
    EXPECT_EQ(mav_gdx_image_get_bitmap(CMavString(other.c_str()), 0, 8, 6, fromIcon, 0), nullptr);
    EXPECT_EQ(mav_gdx_image_get_bitmap(CMavString(L"Z:\\no\\such\\file.bmp"), 0, 8, 6, fromIcon, 0), nullptr);
    DeleteFileW(other.c_str());

    // Picture items: without geometry (0x20) the picture covers the whole image; with corners only their box.
    for (auto target : {MAV::RenderTarget::Window, MAV::RenderTarget::Metafile}) {
        CMavGDX g = plainList();
        g.imagePicture(CMavArrayTempl<int>(), 0x20, bmp.c_str(), 0x7FFFFFFF, CMavPoint3d(0, 0, 0),
                       CMavPoint3d(1, 1, 0));
        Dib d(kW, kH, kBack);
        drawAs(d, g, target);
        EXPECT_EQ(countNot(d, 0xFF0000), 0);

        CMavGDX h = plainList();
        h.imagePicture(CMavArrayTempl<int>(), 0, bmp.c_str(), 0x7FFFFFFF, CMavPoint3d(10, 20, 0),
                       CMavPoint3d(30, 50, 0));
        Dib e(kW, kH, kBack);
        drawAs(e, h, target);
        EXPECT_EQ(countNot(e, kBack), 20 * 30);
        EXPECT_EQ(at(e, 10, 20), 0xFF0000u);
        EXPECT_EQ(at(e, 29, 49), 0xFF0000u);

        // An icon id without a file: the library's icon over the list's background (window) or white.
        CMavGDX k = plainList(0x00FF00);
        k.imagePicture(CMavArrayTempl<int>(), 0, L"", 2001, CMavPoint3d(0, 0, 0), CMavPoint3d(16, 16, 0));
        Dib f(kW, kH, 0x123456);
        drawAs(f, k, target);
        const DWORD corner = at(f, 0, 0); // the icon's transparent corner shows the picture background
        EXPECT_EQ(corner, target == MAV::RenderTarget::Window ? 0x00FF00u : 0xFFFFFFu);
        // Beside the icon: the window's background, or the metafile's untouched target.
        EXPECT_EQ(countNot(f, target == MAV::RenderTarget::Window ? 0x00FF00u : 0x123456u, 16, 0, kW, kH), 0);
        EXPECT_GT(countNot(f, corner, 0, 0, 16, 16), 0); // and the icon itself
    }
    DeleteFileW(bmp.c_str());
}
