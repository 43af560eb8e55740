// The slide viewer in real windows under Wine: background, colour 7, the coordinate system, transparency, the
// clipboard metafile, hostile slides, and loading from files, libraries and resources.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "data/acadRGB.h"
#include "render/CMavSlidePic.h"
#include "render_test_support.h"
#include "mav_test_data.h"

using namespace rendertest;

namespace {

using Bytes = std::vector<unsigned char>;
using Host = Hosted<CMavSlidePic>;

const std::string kDir = std::string(MAV_TEST_DATA_DIR) + "/slides/";
std::wstring path(const char* name)
{
    const std::string s = kDir + name;
    return std::wstring(s.begin(), s.end());
}
const std::wstring kLibrary = path("library.slb");

Bytes readFile(const char* name)
{
    std::ifstream f(kDir + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// The DIB pixel of an AutoCAD colour index.
DWORD acad(int index)
{
    return dibPixel(acadRGB(index));
}

// A level-2 slide, low byte first: the header, then the record words given, then an end record unless `cut`.
Bytes slide(int highX, int highY, std::initializer_list<int> words, bool cut = false)
{
    Bytes b{'A', 'u', 't', 'o', 'C', 'A', 'D', ' ', 'S', 'l', 'i', 'd', 'e', '\r', '\n', 0x1A, 0, 0x56, 2};
    // Raster, aspect ratio (unused), fill flag, byte order, the records.
    std::vector<int> all{highX, highY, 0, 0, 2, 0x1234};
    all.insert(all.end(), words.begin(), words.end());
    if (!cut)
        all.push_back(0xFC00);
    for (int w : all)
        b.insert(b.end(), {static_cast<unsigned char>(w & 0xFF), static_cast<unsigned char>((w >> 8) & 0xFF)});
    return b;
}

void show(CMavSlidePic& pic, Bytes b)
{
    pic.show(b.data(), static_cast<int>(b.size()));
}

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
    void slideHeader(const MAV::SlideHeader_st& hd) override { m_highX = hd.highX, m_highY = hd.highY; }
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
        SelectObject(m_dc, GetStockObject(DC_PEN));
        SelectObject(m_dc, GetStockObject(DC_BRUSH));
        SetDCPenColor(m_dc, acadRGB(index));
        SetDCBrushColor(m_dc, acadRGB(index));
    }

private:
    POINT map(MAV::SlidePoint_st p) const { return mapPoint(p.x, p.y, m_highX, m_highY, m_w, m_h); }
    HDC m_dc;
    int m_w, m_h;
    int m_highX = 1, m_highY = 1;
};

} // namespace

TEST(SlidePic, BackgroundAloneWithoutSlideAndForAnUnknownLevel)
{
    Host host(60, 40);
    long x = -1, y = -1;
    EXPECT_FALSE(host.ctrl.getSize(x, y));
    EXPECT_EQ(host.ctrl.BackColor(), 0);
    // No slide: the button face, framed by the DC's pen (black).
    auto d = host.grab();
    EXPECT_EQ(countOther(*d, dibPixel(GetSysColor(COLOR_BTNFACE)), 1), 0);
    EXPECT_EQ(pixels(*d, {{0, 0}, {59, 39}}), Pixels({0, 0}));

    // Level 3 carries a line from (1, 2) to (3, 4): nothing of it is drawn, the whole inside is background.
    EXPECT_EQ(host.ctrl.SetBkColor(3), 1);
    EXPECT_EQ(host.ctrl.BackColor(), 3);
    ASSERT_TRUE(host.ctrl.show(path("level_3.sld").c_str(), nullptr));
    d = host.grab();
    EXPECT_EQ(countOther(*d, acad(3), 1), 0);
    EXPECT_EQ(d->at(0, 20), 0u);
    // The same record in a level-2 slide is drawn, in the DC's black pen.
    show(host.ctrl, slide(99, 99, {1, 2, 30, 40}));
    const POINT p = mapPoint(1, 2, 99, 99, 60, 40);
    EXPECT_EQ(host.grab()->at(p.x, p.y), 0u);
}

TEST(SlidePic, ColourSevenIsBlackOnWhiteWhiteOnBlackAndBlackInTheCopy)
{
    // Raster 99 x 99: colour 7, a line at y 50 and the filled square (20, 70)-(40, 90); then a red line at y 10.
    // In 101 pixels the scale is 100 / 99 without offsets: slide y 50 lands on row 49, y 10 on row 89.
    Host host(101, 101);
    show(host.ctrl, slide(99, 99, {0xFF07, 10, 50, 90,     50,                                     //
                                   0xFD00, 4,  -2, 0xFD00, 20, 70, 0xFD00, 40, 70, 0xFD00, 40, 90, //
                                   0xFD00, 20, 90, 0xFD00, 4,  -2, 0xFF01, 10, 10, 90,     10}));
    for (int back : {0, 7, 3}) {
        SCOPED_TRACE(back);
        host.ctrl.SetBkColor(back);
        ASSERT_TRUE(host.ctrl.Copy());
        EXPECT_EQ(host.ctrl.BackColor(), back);
        HENHMETAFILE emf = clipboardMetafile(false);
        ASSERT_NE(emf, nullptr);
        // The copy's pens in the order of the colour records, 7 as black; no rectangle: no background.
        const Records seen(emf);
        EXPECT_EQ(seen.pens, (std::vector<COLORREF>{RGB(0, 0, 0), RGB(255, 0, 0)}));
        EXPECT_EQ(seen.penStyles, (std::vector<LONG>{PS_SOLID, 1, PS_SOLID, 1}));
        EXPECT_EQ(seen.count(EMR_RECTANGLE), 0);
        // Recorded into the rectangle (0, 0, 99, 99): scale 98 / 99, so the upper left of the square (20, 90)
        // lands on (19, 8) and the line ends x 10 and y 10 on column 9 and row 88.
        const std::vector<LONG> b = bounds(emf);
        EXPECT_EQ(std::vector<LONG>({b[0], b[1], b[3]}), std::vector<LONG>({9, 8, 88}));
        // Played back onto white at the raster's size: the line and the 20 x 20 square of colour 7 in black, the
        // red line, and nothing else.
        Dib played(99, 99, 0xFFFFFF);
        const RECT all{0, 0, 99, 99};
        PlayEnhMetaFile(played.dc, emf, &all);
        DeleteEnhMetaFile(emf);
        const int n = 99 * 99, white = n - countOther(played, 0xFFFFFF), black = n - countOther(played, 0);
        const int red = n - countOther(played, 0xFF0000);
        EXPECT_TRUE(black > 70 + 18 * 18 && black < 90 + 22 * 22) << black;
        EXPECT_GT(red, 70);
        EXPECT_EQ(white + black + red, n);

        // On the screen, after the copy, colour 7 contrasts with the black or white background: background; both
        // ends of the line and inside the square; the red row and the rows around it.
        if (back == 3)
            continue;
        const DWORD seven = back == 7 ? 0x000000u : 0xFFFFFFu, bk = acad(back);
        EXPECT_EQ(pixels(*host.grab(), {{50, 80}, {10, 49}, {89, 49}, {30, 20}, {50, 89}, {50, 90}, {50, 88}}),
                  Pixels({bk, seven, seven, seven, 0xFF0000, bk, bk}));
    }
    host.ctrl.SetBkColor(252); // the grey ramp
    EXPECT_EQ(host.grab()->at(50, 80), acad(252));
}

TEST(SlidePic, PaintedSlideFollowsTheDecodedRecordsThroughTheCoordinateSystem)
{
    // Worked by hand: raster 9 x 9 in 91 x 91 pixels is scale 10 without offsets; the line (1, 1)-(8, 8) runs
    // from pixel (10, 80) up to (80, 10), whose last pixel GDI leaves out.
    {
        Host host(91, 91);
        host.ctrl.SetBkColor(7);
        ASSERT_TRUE(host.ctrl.show(L"Diagonal", kLibrary.c_str()));
        EXPECT_EQ(pixels(*host.grab(), {{10, 80}, {45, 45}, {79, 11}, {80, 10}, {9, 81}}),
                  Pixels({0, 0, 0, 0xFFFFFF, 0xFFFFFF}));
    }
    // Every record kind in a client area wider than the raster's proportion (offset x 15, offset y 0), compared
    // pixel by pixel with the decoder's records drawn through the mapping; both byte orders alike.
    const int w = 257, h = 181;
    EXPECT_EQ(mapPoint(0, 1023, 1279, 1023, w, h).x, 15);
    for (const char* name : {"every_l2_le.sld", "every_l2_be.sld"}) {
        SCOPED_TRACE(name);
        Host host(w, h);
        host.ctrl.SetBkColor(9);
        ASSERT_TRUE(host.ctrl.show(path(name).c_str(), L""));
        auto painted = host.grab();

        Dib expected(w, h, acad(9));
        SelectObject(expected.dc, GetStockObject(NULL_BRUSH));
        SelectObject(expected.dc, GetStockObject(BLACK_PEN));
        Rectangle(expected.dc, 0, 0, w, h);
        ExpectedPicture sink(expected.dc, w, h);
        const Bytes bytes = readFile(name);
        const MAV::SlideResult_st res = CMavSlideDecoder().decode(bytes.data(), bytes.size(), sink);
        ASSERT_EQ(res.lines, 7);
        ASSERT_EQ(res.polygons, 2);
        EXPECT_EQ(differing(*painted, expected), 0);
        // Inside the green triangle and the grey (250) rectangle of the fills.
        const POINT tri = mapPoint(150, 130, 1279, 1023, w, h), rect = mapPoint(350, 50, 1279, 1023, w, h);
        EXPECT_EQ(pixels(*painted, {tri, rect}), Pixels({acad(3), acad(250)}));
    }
}

TEST(SlidePic, TransparentControlPaintsOnlyTheSlide)
{
    // Magenta line (2, 2)-(7, 7) of a 9 x 9 raster at scale 10: pixels x + y = 90 from (20, 70) to (70, 20).
    HBRUSH teal = CreateSolidBrush(RGB(0, 128, 128));
    for (DWORD exStyle : {static_cast<DWORD>(WS_EX_TRANSPARENT), 0ul}) {
        SCOPED_TRACE(exStyle);
        Host host(91, 91, 0, exStyle, teal);
        // The library's "T\u00dcR" is that slide; its name converts alike only in code page 1252.
        if (GetACP() == 1252)
            ASSERT_TRUE(host.ctrl.show(L"t\u00dcr", kLibrary.c_str()));
        else
            ASSERT_TRUE(host.ctrl.show(path("magenta_diagonal.sld").c_str(), nullptr));
        const DWORD under = exStyle ? 0x008080u : 0u; // the parent shows through, or background and frame
        EXPECT_EQ(pixels(*host.grab(), {{20, 70}, {45, 45}, {60, 60}, {0, 0}, {20, 71}}),
                  Pixels({0xFF00FF, 0xFF00FF, under, under, under}));
    }
    DeleteObject(teal);
}

TEST(SlidePic, LibraryFileAndResourceLookupAndTheByteOrderKeptByTheControl)
{
    CMavSlidePic pic; // loading needs no window
    long x = 0, y = 0;
    auto size = [&pic, &x, &y] { return pic.getSize(x, y) ? std::to_string(x) + "x" + std::to_string(y) : "none"; };
    // Each row: slide name, library (null: a file), whether found, the size then held.
    struct Row {
        std::wstring name;
        std::wstring library;
        bool found;
        const char* size;
    } rows[] = {
        {L"DIAGONAL", kLibrary, true, "9x9"},
        {L"diagonal", kLibrary, true, "9x9"},
        {L"dIaGoNaL", kLibrary, true, "9x9"},
        {L"every", kLibrary, true, "1279x1023"},
        {L"DIAGONALE", kLibrary, false, "none"}, // not found: no slide afterwards
        {L"Diagonal", path("no_such_library.slb"), false, "none"},
        // A library name holds at most 32 characters.
        {std::wstring(33, L'X'), path("library_full_name.slb"), false, "none"},
        {std::wstring(32, L'x'), path("library_full_name.slb"), true, "9x9"},
        {path("no_such_slide.sld"), L"", false, "none"},
        // A level-1 slide has no byte-order word: the control reads it in the order of the last level-2 header
        // it read (its raster 0x04FF then reads as 0xFF04 low byte first).
        {path("every_l2_be.sld"), L"", true, "1279x1023"},
        {path("every_l1_be.sld"), L"", true, "1279x1023"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(pic.show(r.name.c_str(), r.library.empty() ? nullptr : r.library.c_str()), r.found);
        EXPECT_EQ(size(), r.size) << std::string(r.name.begin(), r.name.end());
    }
    if (GetACP() == 1252) {
        EXPECT_TRUE(pic.show(L"t\u00fcr", kLibrary.c_str()));
        EXPECT_EQ(size(), "9x9");
    }
    EXPECT_FALSE(pic.show(L"", kLibrary.c_str()));
    EXPECT_FALSE(pic.show(nullptr, kLibrary.c_str()));
    CMavSlidePic fresh; // low byte first before any level-2 header
    EXPECT_TRUE(fresh.show(path("every_l1_be.sld").c_str(), nullptr));
    EXPECT_TRUE(fresh.getSize(x, y));
    EXPECT_EQ(x, 0xFF04);

    // Slide data in memory is copied; null data is no slide.
    Bytes bytes = slide(20, 30, {});
    show(pic, bytes);
    bytes.assign(bytes.size(), 0);
    EXPECT_EQ(size(), "20x30");
    pic.show(nullptr, 100);
    EXPECT_EQ(size(), "none");

    // From a resource of the current resource module: a copy of the library with a slide resource added,
    // loaded as data.
    wchar_t dll[MAX_PATH] = {}, dir[MAX_PATH] = {}, copy[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(afxtest::libraryModule(), dll, MAX_PATH), 0u);
    GetTempPathW(MAX_PATH, dir);
    GetTempFileNameW(dir, L"sld", 0, copy);
    ASSERT_TRUE(CopyFileW(dll, copy, FALSE));
    bytes = slide(40, 50, {1, 1, 2, 2});
    HANDLE update = BeginUpdateResourceW(copy, FALSE);
    ASSERT_NE(update, nullptr);
    ASSERT_TRUE(UpdateResourceW(update, L"SLIDE", MAKEINTRESOURCEW(77), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                bytes.data(), static_cast<DWORD>(bytes.size())));
    ASSERT_TRUE(EndUpdateResourceW(update, FALSE));
    HMODULE module = LoadLibraryExW(copy, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    EXPECT_FALSE(pic.LoadSlide(77, L"SLIDE")); // not among the program's resources
    const HINSTANCE previous = AfxGetResourceHandle();
    AfxSetResourceHandle(module);
    EXPECT_TRUE(pic.LoadSlide(77, L"SLIDE"));
    EXPECT_EQ(size(), "40x50");
    EXPECT_FALSE(pic.LoadSlide(78, L"SLIDE"));
    EXPECT_FALSE(pic.LoadSlide(77, L"OTHER"));
    EXPECT_FALSE(pic.LoadSlide(0x10000 + 77, L"SLIDE"));
    AfxSetResourceHandle(previous);
    FreeLibrary(module);
    DeleteFileW(copy);
}

TEST(SlidePic, CutDegenerateAndUncolouredSlidesPaintWithoutFault)
{
    Host host(64, 48);
    host.ctrl.SetBkColor(5);
    // Every prefix of a slide of every record kind: a cut header draws nothing, a cut record ends the drawing.
    Bytes every = readFile("every_l2_le.sld");
    ASSERT_GT(every.size(), 100u);
    for (size_t n = 0; n <= every.size(); ++n) {
        host.ctrl.show(every.data(), static_cast<int>(n));
        auto d = host.print();
        ASSERT_TRUE(n >= 31 || countOther(*d, acad(5), 1) == 0) << n;
    }
    // The whole slide shows its grey (250) filled rectangle.
    const POINT grey = mapPoint(350, 50, 1279, 1023, 64, 48);
    EXPECT_EQ(host.print()->at(grey.x, grey.y), acad(250));

    // A raster of a single dot: scale 1 about the middle of the client area.
    Bytes dot = slide(0, 0, {0xFF01, 0, 0, 10, 0});
    show(host.ctrl, dot);
    EXPECT_EQ(pixels(*host.print(), {{31, 23}, {40, 23}, {41, 23}}), Pixels({0xFF0000, 0xFF0000, acad(5)}));
    // A negative size loads an empty slide: background only.
    host.ctrl.show(dot.data(), -5);
    EXPECT_EQ(countOther(*host.print(), acad(5), 1), 0);

    // A common endpoint cut before its dy byte is drawn with dy = 0: raster 9 x 9 in 91 x 91 is scale 10, the
    // red line from (1, 5) four units right runs along row 40 from column 10 to 49.
    Host wide(91, 91);
    wide.ctrl.SetBkColor(3);
    show(wide.ctrl, slide(9, 9, {0xFF01, 1, 5, 1, 5, 0xFE04}, true));
    EXPECT_EQ(pixels(*wide.print(), {{10, 40}, {30, 40}, {49, 40}, {30, 39}, {51, 40}}),
              Pixels({0xFF0000, 0xFF0000, 0xFF0000, acad(3), acad(3)}));

    // The square (2, 2)-(7, 7) covers pixels (20, 20)-(70, 70). Before any colour record it is filled with the
    // background brush and edged with the DC's pen (black); after a colour record in that record's colour.
    show(wide.ctrl, slide(9, 9, {0xFD00, 5, 0, 0xFD00, 2, 2, 0xFD00, 7, 2, 0xFD00, 7, 7, 0xFD00, 2, 7, 0xFD00, 5, -2}));
    EXPECT_EQ(pixels(*wide.grab(), {{45, 45}, {20, 45}, {45, 70}, {10, 10}}), Pixels({acad(3), 0, 0, acad(3)}));
    show(wide.ctrl,
         slide(9, 9, {0xFF01, 0xFD00, 5, 0, 0xFD00, 2, 2, 0xFD00, 7, 2, 0xFD00, 7, 7, 0xFD00, 2, 7, 0xFD00, 5, -2}));
    EXPECT_EQ(pixels(*wide.grab(), {{45, 45}, {20, 45}, {10, 10}}), Pixels({0xFF0000, 0xFF0000, acad(3)}));
}
