// The slide viewer in real windows under Wine: background, colour 7, the coordinate system, transparency, the
// clipboard metafile, and loading from files, libraries and resources.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "../afx/afx_test_support.h"
#include "generators/acadRGB.h"
#include "render/CMavSlidePic.h"

namespace {

using Bytes = std::vector<unsigned char>;

const std::string kDir = std::string(MAV_TEST_DATA_DIR) + "/slides/";

std::wstring widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }
const std::wstring kLibrary = widen(kDir + "library.slb");

Bytes readFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// A DIB pixel (0x00RRGGBB) of an AutoCAD colour index.
DWORD dibColor(int index)
{
    const uint32_t c = acadRGB(index);
    return static_cast<DWORD>((acadRed(c) << 16) | (acadGreen(c) << 8) | acadBlue(c));
}

// A level-2 slide written low byte first, record by record.
struct SlideBuilder {
    Bytes b;
    SlideBuilder(int highX, int highY, int level = 2)
    {
        const char id[] = "AutoCAD Slide\r\n\x1a";
        b.assign(id, id + 17);
        b.push_back(0x56);
        b.push_back(static_cast<unsigned char>(level));
        word(highX);
        word(highY);
        for (int i = 0; i < 4; ++i)
            b.push_back(0); // aspect ratio, not used
        word(2);
        word(0x1234);
    }
    void word(int v)
    {
        b.push_back(static_cast<unsigned char>(v & 0xFF));
        b.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
    }
    SlideBuilder& color(int i)
    {
        word(0xFF00 | i);
        return *this;
    }
    SlideBuilder& line(int x1, int y1, int x2, int y2)
    {
        word(x1);
        word(y1);
        word(x2);
        word(y2);
        return *this;
    }
    SlideBuilder& fill(std::initializer_list<POINT> v)
    {
        const int n = static_cast<int>(v.size());
        for (int w : {0xFD00, n, -2})
            word(w);
        for (const POINT& p : v)
            for (int w : {0xFD00, static_cast<int>(p.x), static_cast<int>(p.y)})
                word(w);
        for (int w : {0xFD00, n, -2})
            word(w);
        return *this;
    }
    Bytes end()
    {
        word(0xFC00);
        return b;
    }
};

// A popup parent (no background of its own unless given a class brush) with the viewer as child 501.
struct Host {
    HWND parent = nullptr;
    CMavSlidePic pic;
    int w, h;
    Host(int width, int height, DWORD exStyle = 0, HBRUSH parentBrush = nullptr) : w(width), h(height)
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = parentBrush;
        wc.lpszClassName = parentBrush ? L"SlidePicTestBrushParent" : L"SlidePicTestParent";
        RegisterClassW(&wc);
        parent = CreateWindowExW(0, wc.lpszClassName, L"parent", WS_POPUP | WS_VISIBLE, 0, 0, w + 40, h + 40,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        pic.CreateEx(exStyle, nullptr, L"", WS_CHILD | WS_VISIBLE, 10, 10, w, h, parent,
                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(501)));
    }
    ~Host()
    {
        pic.DestroyWindow();
        DestroyWindow(parent);
    }
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;
    // What the control's area shows on the screen after a full repaint of the parent and its children.
    std::unique_ptr<afxtest::Dib> grab()
    {
        RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        auto d = std::make_unique<afxtest::Dib>(w, h, 0x123456);
        HDC wdc = GetDC(parent);
        BitBlt(d->dc, 0, 0, w, h, wdc, 10, 10, SRCCOPY);
        ReleaseDC(parent, wdc);
        return d;
    }
};

// The device point of slide point (x, y) in a client area of w x h for a raster of highX x highY.
POINT mapPoint(int x, int y, int highX, int highY, int w, int h)
{
    const double sw = w - 1, sh = h - 1;
    const double scale = std::min(sw / highX, sh / highY);
    const int offX = static_cast<int>(sw - highX * scale) >> 1;
    const int offY = static_cast<int>(sh - highY * scale) >> 1;
    return POINT{static_cast<int>(x * scale + offX), static_cast<int>((highY - y) * scale + offY)};
}

// Draws a slide's decoded records with plain GDI calls through mapPoint: the expected picture.
class ExpectedPicture : public CMavSlideSink {
public:
    ExpectedPicture(HDC dc, int w, int h) : m_dc(dc), m_w(w), m_h(h) {}
    ~ExpectedPicture() override
    {
        SelectObject(m_dc, GetStockObject(BLACK_PEN));
        SelectObject(m_dc, GetStockObject(WHITE_BRUSH));
        for (HGDIOBJ o : m_objects)
            DeleteObject(o);
    }
    void slideHeader(const MAV::SlideHeader_st& hd) override
    {
        m_highX = hd.highX;
        m_highY = hd.highY;
    }
    void slideLine(MAV::SlidePoint_st a, MAV::SlidePoint_st b) override
    {
        const POINT p = map(a), q = map(b);
        MoveToEx(m_dc, p.x, p.y, nullptr);
        LineTo(m_dc, q.x, q.y);
    }
    void slidePolygon(const MAV::SlidePoint_st* v, int n) override
    {
        std::vector<POINT> pts;
        for (int i = 0; i < n; ++i)
            pts.push_back(map(v[i]));
        Polygon(m_dc, pts.data(), n);
    }
    void slideColor(int index) override
    {
        const uint32_t c = acadRGB(index);
        HPEN pen = CreatePen(PS_SOLID, 1, c);
        HBRUSH brush = CreateSolidBrush(c);
        SelectObject(m_dc, pen);
        SelectObject(m_dc, brush);
        m_objects.push_back(pen);
        m_objects.push_back(brush);
    }

private:
    POINT map(MAV::SlidePoint_st p) const { return mapPoint(p.x, p.y, m_highX, m_highY, m_w, m_h); }
    HDC m_dc;
    int m_w, m_h;
    int m_highX = 1, m_highY = 1;
    std::vector<HGDIOBJ> m_objects;
};

int countDifferences(const afxtest::Dib& a, const afxtest::Dib& b, std::string& first)
{
    int n = 0;
    for (int y = 0; y < a.h; ++y)
        for (int x = 0; x < a.w; ++x)
            if (a.at(x, y) != b.at(x, y) && n++ == 0)
                first = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
    return n;
}

// A slide of raster 99 x 99 drawing in colour 7: a horizontal line at y 50 and a filled square, then a red line.
Bytes colorSevenSlide()
{
    return SlideBuilder(99, 99)
        .color(7)
        .line(10, 50, 90, 50)
        .fill({{20, 70}, {40, 70}, {40, 90}, {20, 90}})
        .color(1)
        .line(10, 10, 90, 10)
        .end();
}

} // namespace

TEST(SlidePic, BackgroundAloneWithoutSlideAndForAnUnknownLevel)
{
    Host host(60, 40);
    long x = -1, y = -1;
    EXPECT_FALSE(host.pic.getSize(x, y));
    EXPECT_EQ(host.pic.BackColor(), 0);
    // No slide: the button face, framed by the DC's pen (black).
    auto d = host.grab();
    const DWORD face = GetSysColor(COLOR_BTNFACE);
    const DWORD faceDib = ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
    EXPECT_EQ(d->at(30, 20), faceDib);
    EXPECT_EQ(d->at(0, 0), 0u);
    EXPECT_EQ(d->at(59, 39), 0u);

    // Level 3 carries a line from (1, 2) to (3, 4); nothing of it is drawn, the whole inside is background.
    EXPECT_EQ(host.pic.SetBkColor(3), 1);
    EXPECT_EQ(host.pic.BackColor(), 3);
    ASSERT_TRUE(host.pic.show(widen(kDir + "level_3.sld").c_str(), nullptr));
    d = host.grab();
    int notBackground = 0;
    for (int py = 1; py < 39; ++py)
        for (int px = 1; px < 59; ++px)
            notBackground += d->at(px, py) != dibColor(3);
    EXPECT_EQ(notBackground, 0);
    EXPECT_EQ(d->at(0, 20), 0u);
    EXPECT_EQ(d->at(30, 39), 0u);

    // The same record in a level-2 slide is drawn (in the DC's black pen): the check above could fail.
    const Bytes level2 = SlideBuilder(99, 99).line(1, 2, 30, 40).end();
    host.pic.show(const_cast<unsigned char*>(level2.data()), static_cast<int>(level2.size()));
    d = host.grab();
    const POINT p = mapPoint(1, 2, 99, 99, 60, 40);
    EXPECT_EQ(d->at(p.x, p.y), 0u);
}

TEST(SlidePic, ColourSevenIsBlackOnWhiteAndWhiteOnBlack)
{
    Host host(101, 101);
    Bytes slide = colorSevenSlide();
    host.pic.show(slide.data(), static_cast<int>(slide.size()));
    // Raster 99 in 101 pixels: scale 100 / 99, no offsets. Slide y 50 lands on row 49, y 10 on row 89.
    for (int back : {0, 7}) {
        SCOPED_TRACE(back);
        host.pic.SetBkColor(back);
        auto d = host.grab();
        const DWORD seven = back == 7 ? 0x000000u : 0xFFFFFFu;
        EXPECT_EQ(d->at(50, 80), dibColor(back));
        EXPECT_EQ(d->at(10, 49), seven);
        EXPECT_EQ(d->at(89, 49), seven);
        EXPECT_EQ(d->at(30, 20), seven); // inside the filled square
        EXPECT_EQ(d->at(50, 89), 0xFF0000u);
        EXPECT_EQ(d->at(50, 90), dibColor(back));
        EXPECT_EQ(d->at(50, 88), dibColor(back));
    }
    // A slide loaded, a background index outside the palette: the grey ramp's colour of that index.
    host.pic.SetBkColor(252);
    EXPECT_EQ(host.grab()->at(50, 80), dibColor(252));
}

TEST(SlidePic, PaintedSlideFollowsTheDecodedRecordsThroughTheCoordinateSystem)
{
    // Hand-computed: raster 9 x 9 in 91 x 91 pixels is scale 10 without offsets; the line (1, 1)-(8, 8) runs from
    // pixel (10, 80) up to (80, 10), whose last pixel GDI leaves out.
    {
        Host host(91, 91);
        host.pic.SetBkColor(7);
        ASSERT_TRUE(host.pic.show(L"Diagonal", kLibrary.c_str()));
        auto d = host.grab();
        EXPECT_EQ(d->at(10, 80), 0u);
        EXPECT_EQ(d->at(45, 45), 0u);
        EXPECT_EQ(d->at(79, 11), 0u);
        EXPECT_EQ(d->at(80, 10), 0xFFFFFFu);
        EXPECT_EQ(d->at(9, 81), 0xFFFFFFu);
    }
    // Every record kind, in a client area wider than the raster's proportion (offset x 15, offset y 0), compared
    // pixel by pixel with the decoder's records drawn through the mapping. Both byte orders give the same picture.
    for (const char* name : {"every_l2_le.sld", "every_l2_be.sld"}) {
        SCOPED_TRACE(name);
        const int w = 257, h = 181;
        Host host(w, h);
        host.pic.SetBkColor(9);
        ASSERT_TRUE(host.pic.show(widen(kDir + name).c_str(), L""));
        auto painted = host.grab();

        afxtest::Dib expected(w, h, dibColor(9));
        HGDIOBJ oldPen = SelectObject(expected.dc, GetStockObject(BLACK_PEN));
        HGDIOBJ oldBrush = SelectObject(expected.dc, GetStockObject(NULL_BRUSH));
        Rectangle(expected.dc, 0, 0, w, h);
        {
            ExpectedPicture sink(expected.dc, w, h);
            const Bytes bytes = readFile(kDir + name);
            CMavSlideDecoder decoder;
            const MAV::SlideResult_st res = decoder.decode(bytes.data(), bytes.size(), sink);
            ASSERT_EQ(res.lines, 7);
            ASSERT_EQ(res.polygons, 2);
        }
        SelectObject(expected.dc, oldPen);
        SelectObject(expected.dc, oldBrush);
        EXPECT_EQ(mapPoint(0, 1023, 1279, 1023, w, h).x, 15);
        std::string first;
        EXPECT_EQ(countDifferences(*painted, expected, first), 0) << "first difference at " << first;
        // The green triangle (100, 100), (200, 100), (150, 200) and the grey (250) rectangle of fills.
        const POINT tri = mapPoint(150, 130, 1279, 1023, w, h);
        EXPECT_EQ(painted->at(tri.x, tri.y), dibColor(3));
        const POINT rect = mapPoint(350, 50, 1279, 1023, w, h);
        EXPECT_EQ(painted->at(rect.x, rect.y), dibColor(250));
    }
}

TEST(SlidePic, TransparentControlPaintsOnlyTheSlide)
{
    // Magenta line (2, 2)-(7, 7) of a 9 x 9 raster at scale 10: pixels x + y = 90 from (20, 70) to (70, 20).
    HBRUSH teal = CreateSolidBrush(RGB(0, 128, 128));
    {
        Host host(91, 91, WS_EX_TRANSPARENT, teal);
        // The library's "T\u00dcR" is the same slide; its name converts alike only in code page 1252.
        if (GetACP() == 1252)
            ASSERT_TRUE(host.pic.show(L"t\u00dcr", kLibrary.c_str()));
        else
            ASSERT_TRUE(host.pic.show(widen(kDir + "magenta_diagonal.sld").c_str(), nullptr));
        auto d = host.grab();
        EXPECT_EQ(d->at(20, 70), 0xFF00FFu);
        EXPECT_EQ(d->at(45, 45), 0xFF00FFu);
        EXPECT_EQ(d->at(60, 60), 0x008080u); // the parent shows through: no background
        EXPECT_EQ(d->at(0, 0), 0x008080u);   // and no frame
        EXPECT_EQ(d->at(20, 71), 0x008080u);
    }
    {
        Host host(91, 91, 0, teal);
        ASSERT_TRUE(host.pic.show(widen(kDir + "magenta_diagonal.sld").c_str(), nullptr));
        auto d = host.grab();
        EXPECT_EQ(d->at(45, 45), 0xFF00FFu);
        EXPECT_EQ(d->at(60, 60), 0u);
        EXPECT_EQ(d->at(0, 0), 0u);
    }
    DeleteObject(teal);
}

TEST(SlidePic, CopyPutsAMetafileWithBlackColourSevenWhateverTheBackground)
{
    Host host(101, 101);
    Bytes slide = colorSevenSlide();
    host.pic.show(slide.data(), static_cast<int>(slide.size()));
    for (int back : {0, 7, 3}) {
        SCOPED_TRACE(back);
        host.pic.SetBkColor(back);
        ASSERT_TRUE(host.pic.Copy());
        EXPECT_EQ(host.pic.BackColor(), back);
        ASSERT_TRUE(IsClipboardFormatAvailable(CF_ENHMETAFILE));
        ASSERT_TRUE(OpenClipboard(nullptr));
        HENHMETAFILE emf = CopyEnhMetaFileW(static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE)), nullptr);
        CloseClipboard();
        ASSERT_NE(emf, nullptr);

        // The pens in the order of the colour records: 7 as black, then red. No rectangle: no background.
        struct Seen {
            std::vector<COLORREF> pens;
            int rectangles = 0;
        } seen;
        EnumEnhMetaFile(
            nullptr, emf,
            [](HDC, HANDLETABLE*, const ENHMETARECORD* r, int, LPARAM p) -> int {
                auto* s = reinterpret_cast<Seen*>(p);
                if (r->iType == EMR_CREATEPEN)
                    s->pens.push_back(reinterpret_cast<const EMRCREATEPEN*>(r)->lopn.lopnColor);
                if (r->iType == EMR_RECTANGLE)
                    ++s->rectangles;
                return 1;
            },
            &seen, nullptr);
        ASSERT_EQ(seen.pens.size(), 2u);
        EXPECT_EQ(seen.pens[0], RGB(0, 0, 0));
        EXPECT_EQ(seen.pens[1], RGB(255, 0, 0));
        EXPECT_EQ(seen.rectangles, 0);

        // Played back onto white at the raster's size: the line and the 20 x 20 square of colour 7 in black, the
        // red line, and nothing else (no background).
        afxtest::Dib d(99, 99, 0xFFFFFF);
        RECT all{0, 0, 99, 99};
        PlayEnhMetaFile(d.dc, emf, &all);
        DeleteEnhMetaFile(emf);
        int black = 0, red = 0, other = 0;
        for (int py = 0; py < 99; ++py)
            for (int px = 0; px < 99; ++px) {
                const DWORD c = d.at(px, py);
                black += c == 0u;
                red += c == 0xFF0000u;
                other += c != 0u && c != 0xFF0000u && c != 0xFFFFFFu;
            }
        EXPECT_GT(black, 70 + 18 * 18);
        EXPECT_LT(black, 90 + 22 * 22);
        EXPECT_GT(red, 70);
        EXPECT_EQ(other, 0);
    }
    // Painting afterwards still draws colour 7 white on the black background.
    host.pic.SetBkColor(0);
    EXPECT_EQ(host.grab()->at(50, 49), 0xFFFFFFu);
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

TEST(SlidePic, LibraryAndFileLookupAndTheByteOrderKeptByTheControl)
{
    CMavSlidePic pic; // no window needed for loading
    long x = 0, y = 0;
    for (const wchar_t* name : {L"DIAGONAL", L"diagonal", L"dIaGoNaL"}) {
        ASSERT_TRUE(pic.show(name, kLibrary.c_str()));
        ASSERT_TRUE(pic.getSize(x, y));
        EXPECT_EQ(x, 9);
        EXPECT_EQ(y, 9);
    }
    ASSERT_TRUE(pic.show(L"every", kLibrary.c_str()));
    ASSERT_TRUE(pic.getSize(x, y));
    EXPECT_EQ(x, 1279);
    EXPECT_EQ(y, 1023);
    if (GetACP() == 1252) {
        EXPECT_TRUE(pic.show(L"t\u00fcr", kLibrary.c_str()));
        EXPECT_TRUE(pic.getSize(x, y));
        EXPECT_EQ(x, 9);
    }
    // Not found: no slide afterwards.
    EXPECT_FALSE(pic.show(L"DIAGONALE", kLibrary.c_str()));
    EXPECT_FALSE(pic.getSize(x, y));
    EXPECT_FALSE(pic.show(L"", kLibrary.c_str()));
    EXPECT_FALSE(pic.show(nullptr, kLibrary.c_str()));
    EXPECT_FALSE(pic.show(L"Diagonal", widen(kDir + "no_such_library.slb").c_str()));
    EXPECT_FALSE(pic.show(std::wstring(33, L'X').c_str(), widen(kDir + "library_full_name.slb").c_str()));
    ASSERT_TRUE(pic.show(std::wstring(32, L'x').c_str(), widen(kDir + "library_full_name.slb").c_str()));
    EXPECT_TRUE(pic.getSize(x, y));
    EXPECT_EQ(x, 9);
    EXPECT_FALSE(pic.show(widen(kDir + "no_such_slide.sld").c_str(), nullptr));
    EXPECT_FALSE(pic.getSize(x, y));

    // A level-1 slide has no byte-order word: the control reads it in the order of the last level-2 slide.
    ASSERT_TRUE(pic.show(widen(kDir + "every_l2_be.sld").c_str(), nullptr));
    ASSERT_TRUE(pic.getSize(x, y));
    EXPECT_EQ(x, 1279);
    ASSERT_TRUE(pic.show(widen(kDir + "every_l1_be.sld").c_str(), nullptr));
    ASSERT_TRUE(pic.getSize(x, y));
    EXPECT_EQ(x, 1279);
    EXPECT_EQ(y, 1023);
    CMavSlidePic fresh; // low byte first until a level-2 slide says otherwise: 0x04FF read as 0xFF04
    ASSERT_TRUE(fresh.show(widen(kDir + "every_l1_be.sld").c_str(), nullptr));
    ASSERT_TRUE(fresh.getSize(x, y));
    EXPECT_EQ(x, 0xFF04);

    // Slide data in memory is copied; null data means no slide.
    Bytes bytes = SlideBuilder(20, 30).end();
    pic.show(bytes.data(), static_cast<int>(bytes.size()));
    bytes.assign(bytes.size(), 0);
    ASSERT_TRUE(pic.getSize(x, y));
    EXPECT_EQ(x, 20);
    EXPECT_EQ(y, 30);
    pic.show(nullptr, 100);
    EXPECT_FALSE(pic.getSize(x, y));
}

TEST(SlidePic, LoadSlideFromAResourceOfTheCurrentResourceModule)
{
    // A copy of the library with a slide resource added, loaded as data and made the resource module.
    wchar_t dll[MAX_PATH] = {}, dir[MAX_PATH] = {}, copy[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(afxtest::libraryModule(), dll, MAX_PATH), 0u);
    GetTempPathW(MAX_PATH, dir);
    GetTempFileNameW(dir, L"sld", 0, copy);
    ASSERT_TRUE(CopyFileW(dll, copy, FALSE));
    const Bytes slide = SlideBuilder(40, 50).line(1, 1, 2, 2).end();
    HANDLE update = BeginUpdateResourceW(copy, FALSE);
    ASSERT_NE(update, nullptr);
    ASSERT_TRUE(UpdateResourceW(update, L"SLIDE", MAKEINTRESOURCEW(77), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                const_cast<unsigned char*>(slide.data()), static_cast<DWORD>(slide.size())));
    ASSERT_TRUE(EndUpdateResourceW(update, FALSE));
    HMODULE module = LoadLibraryExW(copy, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);

    CMavSlidePic pic;
    long x = 0, y = 0;
    EXPECT_FALSE(pic.LoadSlide(77, L"SLIDE")); // not in the program's resources
    const HINSTANCE previous = AfxGetResourceHandle();
    AfxSetResourceHandle(module);
    EXPECT_TRUE(pic.LoadSlide(77, L"SLIDE"));
    EXPECT_TRUE(pic.getSize(x, y));
    EXPECT_EQ(x, 40);
    EXPECT_EQ(y, 50);
    EXPECT_FALSE(pic.LoadSlide(78, L"SLIDE"));
    EXPECT_FALSE(pic.LoadSlide(77, L"OTHER"));
    EXPECT_FALSE(pic.LoadSlide(0x10000 + 77, L"SLIDE"));
    AfxSetResourceHandle(previous);
    FreeLibrary(module);
    DeleteFileW(copy);
}

TEST(SlidePic, CutAndDegenerateSlidesPaintWithoutFault)
{
    Host host(64, 48);
    host.pic.SetBkColor(5);
    auto print = [&host] {
        auto d = std::make_unique<afxtest::Dib>(64, 48, 0x123456);
        SendMessageW(host.pic.m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(d->dc), PRF_CLIENT);
        return d;
    };
    auto insideIsBackground = [](const afxtest::Dib& d) {
        for (int y = 1; y < 47; ++y)
            for (int x = 1; x < 63; ++x)
                if (d.at(x, y) != dibColor(5))
                    return false;
        return true;
    };
    // Every prefix of a slide of every record kind: a cut header draws nothing, a cut record ends the drawing.
    const Bytes every = readFile(kDir + "every_l2_le.sld");
    ASSERT_GT(every.size(), 100u);
    for (size_t n = 0; n <= every.size(); ++n) {
        host.pic.show(const_cast<unsigned char*>(every.data()), static_cast<int>(n));
        auto d = print();
        if (n < 31) {
            ASSERT_TRUE(insideIsBackground(*d)) << n;
            ASSERT_EQ(d->at(0, 0), 0u) << n;
        }
    }
    // The whole slide shows its grey (250) filled rectangle.
    host.pic.show(const_cast<unsigned char*>(every.data()), static_cast<int>(every.size()));
    const POINT grey = mapPoint(350, 50, 1279, 1023, 64, 48);
    EXPECT_EQ(print()->at(grey.x, grey.y), dibColor(250));

    // A raster of a single dot: scale 1 about the middle of the client area.
    const Bytes dot = SlideBuilder(0, 0).color(1).line(0, 0, 10, 0).end();
    host.pic.show(const_cast<unsigned char*>(dot.data()), static_cast<int>(dot.size()));
    auto d = print();
    EXPECT_EQ(d->at(31, 23), 0xFF0000u);
    EXPECT_EQ(d->at(40, 23), 0xFF0000u);
    EXPECT_EQ(d->at(41, 23), dibColor(5));
    // A negative size loads an empty slide: background only.
    host.pic.show(const_cast<unsigned char*>(dot.data()), -5);
    EXPECT_TRUE(insideIsBackground(*print()));
}
