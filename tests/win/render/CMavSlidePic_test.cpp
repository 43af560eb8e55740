// The slide viewer in real windows under Wine: colour 7 on the screen and in the clipboard copy, every record kind
// painted through the coordinate system as the decoder hands it over, lookup in libraries and files, cut slides.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "data/acadRGB.h"
#include "mav_test_data.h"
#include "render/CMavSlidePic.h"
#include "render_test_support.h"

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

TEST(SlidePic, ColourSevenIsBlackOnWhiteWhiteOnBlackAndBlackInTheCopy)
{
    // Raster 99 x 99: colour 7, a line at y 50 and the filled square (20, 70)-(40, 90); then a red line at y 10.
    // In 101 pixels the scale is 100 / 99 without offsets: slide y 50 lands on row 49, y 10 on row 89.
    Host host(101, 101);
    show(host.ctrl, slide(99, 99, {0xFF07, 10, 50, 90,     50,                                     //
                                   0xFD00, 4,  -2, 0xFD00, 20, 70, 0xFD00, 40, 70, 0xFD00, 40, 90, //
                                   0xFD00, 20, 90, 0xFD00, 4,  -2, 0xFF01, 10, 10, 90,     10}));
    for (int back : {0, 7}) {
        SCOPED_TRACE(back);
        host.ctrl.SetBkColor(back);
        ASSERT_TRUE(host.ctrl.Copy());
        HENHMETAFILE emf = clipboardMetafile(false); // the copy draws colour 7 as black, the red line in red
        EXPECT_EQ(Records(emf).pens, (std::vector<COLORREF>{RGB(0, 0, 0), RGB(255, 0, 0)}));
        DeleteEnhMetaFile(emf);
        // On the screen colour 7 contrasts with the background: background; both ends of the line and inside the
        // square; the red row and the rows around it.
        const DWORD seven = back == 7 ? 0x000000u : 0xFFFFFFu, bk = acad(back);
        EXPECT_EQ(pixels(*host.grab(), {{50, 80}, {10, 49}, {89, 49}, {30, 20}, {50, 89}, {50, 90}, {50, 88}}),
                  Pixels({bk, seven, seven, seven, 0xFF0000, bk, bk}));
    }
}

TEST(SlidePic, PaintedSlideFollowsTheDecodedRecordsThroughTheCoordinateSystem)
{
    // Every record kind, in a client area wider than the raster's proportion, compared pixel by pixel with the
    // decoder's records drawn through the mapping; both byte orders alike. The drawing spans the client area less
    // one pixel: in 258 x 181 the offset is x 15, where the full width would give 16.
    const int w = 258, h = 181;
    EXPECT_EQ(mapPoint(0, 1023, 1279, 1023, w, h).x, 15);
    for (const char* name : {"every_l2_le.sld", "every_l2_be.sld"}) {
        SCOPED_TRACE(name);
        Host host(w, h);
        host.ctrl.SetBkColor(9);
        ASSERT_TRUE(host.ctrl.show(path(name).c_str(), L""));
        Dib expected(w, h, acad(9));
        SelectObject(expected.dc, GetStockObject(NULL_BRUSH));
        Rectangle(expected.dc, 0, 0, w, h);
        ExpectedPicture sink(expected.dc, w, h);
        const Bytes bytes = readFile(name);
        const MAV::SlideResult_st res = CMavSlideDecoder().decode(bytes.data(), bytes.size(), sink);
        ASSERT_EQ(std::make_pair(res.lines, res.polygons), std::make_pair(7, 2));
        EXPECT_EQ(differing(*host.grab(), expected), 0);
    }
}

TEST(SlidePic, LibraryAndFileLookupAndTheByteOrderKeptByTheControl)
{
    CMavSlidePic pic; // loading needs no window
    auto size = [&pic] {
        long x = 0, y = 0;
        return pic.getSize(x, y) ? std::to_string(x) + "x" + std::to_string(y) : "none";
    };
    // A name (any case, at most 32 characters) in a library, or a file; none found leaves no slide. A level-1 slide
    // is read in the byte order of the last level-2 header read (0x04FF low byte first is 0xFF04).
    const std::wstring full = path("library_full_name.slb");
    const struct {
        std::wstring name, library;
        const char* size;
    } rows[] = {{L"dIaGoNaL", kLibrary, "9x9"},
                {L"DIAGONALE", kLibrary, "none"},

                {std::wstring(32, L'x'), full, "9x9"},
                {std::wstring(33, L'X'), full, "none"},
                {path("every_l1_be.sld"), L"", "65284x65283"},
                {path("every_l2_be.sld"), L"", "1279x1023"},
                {path("every_l1_be.sld"), L"", "1279x1023"},
                {path("no_such_slide.sld"), L"", "none"}};
    for (const auto& r : rows) {
        const bool shown = pic.show(r.name.c_str(), r.library.empty() ? nullptr : r.library.c_str());
        EXPECT_EQ(std::make_pair(shown, size()), std::make_pair(std::string(r.size) != "none", std::string(r.size)))
            << std::string(r.name.begin(), r.name.end());
    }
    Bytes bytes = slide(20, 30, {}); // data in memory is copied; null data is no slide
    pic.show(bytes.data(), static_cast<int>(bytes.size()));
    bytes.assign(bytes.size(), 0);
    EXPECT_EQ(size(), "20x30");
    pic.show(nullptr, 100);
    EXPECT_EQ(size(), "none");
    // From a resource of the current resource module (a copy of the library with a slide added, loaded as data):
    // the id (16 bits: 0x1004D is not 77), the type and the module must all match.
    wchar_t dll[MAX_PATH] = {}, dir[MAX_PATH] = {}, copy[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(afxtest::libraryModule(), dll, MAX_PATH), 0u);
    GetTempPathW(MAX_PATH, dir);
    GetTempFileNameW(dir, L"sld", 0, copy);
    ASSERT_TRUE(CopyFileW(dll, copy, FALSE));
    bytes = slide(40, 50, {1, 1, 2, 2});
    HANDLE update = BeginUpdateResourceW(copy, FALSE);
    ASSERT_TRUE(update && UpdateResourceW(update, L"SLIDE", MAKEINTRESOURCEW(77),
                                          MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), bytes.data(),
                                          static_cast<DWORD>(bytes.size())));
    ASSERT_TRUE(EndUpdateResourceW(update, FALSE));
    HMODULE module = LoadLibraryExW(copy, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    EXPECT_FALSE(pic.LoadSlide(77, L"SLIDE")); // not among the program's resources
    const HINSTANCE previous = AfxGetResourceHandle();
    AfxSetResourceHandle(module);
    EXPECT_TRUE(pic.LoadSlide(77, L"SLIDE"));
    EXPECT_EQ(size(), "40x50");
    EXPECT_FALSE(pic.LoadSlide(78, L"SLIDE") || pic.LoadSlide(77, L"OTHER") || pic.LoadSlide(0x1004D, L"SLIDE"));
    AfxSetResourceHandle(previous);
    FreeLibrary(module);
    DeleteFileW(copy);
}

TEST(SlidePic, CutSlidesPaintWhatTheyHold)
{
    // Every prefix of a slide: a cut header draws nothing, a cut record ends the drawing; whole, its grey fill.
    Host host(64, 48);
    host.ctrl.SetBkColor(5);
    Bytes every = readFile("every_l2_le.sld");
    for (size_t n = 0; n <= every.size(); ++n) {
        host.ctrl.show(every.data(), static_cast<int>(n));
        ASSERT_TRUE(n >= 31 || countOther(*host.print(), acad(5), 1) == 0) << n;
    }
    const POINT grey = mapPoint(350, 50, 1279, 1023, 64, 48);
    EXPECT_EQ(host.print()->at(grey.x, grey.y), acad(250));
}
