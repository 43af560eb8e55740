// The picture control with real windows under Wine: a .bmp written by the test, loaded through the OLE picture
// loader, painted, zoomed by wheel messages within limits, panned by middle-button messages and copied to the
// clipboard; a failed load reported in a box.
#include <gtest/gtest.h>
#include <windows.h>

#include <objbase.h>

#include <string>
#include <thread>
#include <vector>

#include "render/CMavPicture.h"
#include "render_test_support.h"

using namespace rendertest;

namespace {

constexpr DWORD kRed = 0xFF0000; // DIB pixel values, 0x00RRGGBB
constexpr DWORD kBlue = 0x0000FF;
constexpr DWORD kGreen = 0x00FF00;

// A .bmp of w x h in the temporary folder whose left half is red and right half blue; returns its path.
std::wstring halvesBmp(int w, int h)
{
    const std::wstring path = tempPath(L"mav_pic_" + std::to_wstring(w) + L"x" + std::to_wstring(h) + L".bmp");
    std::vector<DWORD> bits(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < bits.size(); ++i)
        bits[i] = static_cast<int>(i % w) < w / 2 ? kRed : kBlue;
    EXPECT_TRUE(writeBmp(path, w, h, bits.data()));
    return path;
}

// The control as a 200 x 100 child, optionally with the 40 x 20 picture loaded on a green background.
struct Pic : Hosted<CMavPicture> {
    explicit Pic(bool load = true) : Hosted(200, 100, 55)
    {
        if (load) {
            EXPECT_TRUE(ctrl.LoadImageW(halvesBmp(40, 20).c_str()));
            ctrl.SetBackColor(0x00FF00);
        }
    }
    // Zoom and the picture's upper left corner.
    void expectView(double zoom, int x, int y)
    {
        EXPECT_DOUBLE_EQ(ctrl.zoomGet(), zoom);
        EXPECT_EQ((std::vector<LONG>{ctrl.offsetGet().x, ctrl.offsetGet().y}), (std::vector<LONG>{x, y}));
    }
};

// The picture drawn with its upper left corner at (x, y) and size w x h: red left half, blue right half, and
// `around` just outside each of its four sides.
void expectHalves(const Dib& d, int x, int y, int w, int h, DWORD around)
{
    EXPECT_EQ(pixels(d, {{x, y},
                         {x + w / 2 - 1, y + h - 1},
                         {x + w / 2, y},
                         {x + w - 1, y + h - 1},
                         {x - 1, y + h / 2},
                         {x + w, y + h / 2},
                         {x + w / 2, y - 1},
                         {x + w / 2, y + h}}),
              Pixels({kRed, kRed, kBlue, kBlue, around, around, around, around}))
        << "picture at " << x << "," << y;
}

} // namespace

TEST(Picture, SmallPictureCentredAtPixelSizeLargeOneShrunk)
{
    Pic p(false);
    EXPECT_EQ(p.ctrl.backColorGet(), GetSysColor(COLOR_BTNFACE));
    EXPECT_FALSE(p.ctrl.LoadImageW(nullptr));
    ASSERT_TRUE(p.ctrl.LoadImageW(halvesBmp(40, 20).c_str()));
    EXPECT_EQ((std::vector<LONG>{p.ctrl.pictureSize().cx, p.ctrl.pictureSize().cy}), (std::vector<LONG>{40, 20}));
    p.expectView(1.0, 80, 40);
    p.ctrl.SetBackColor(0x00FF00);
    expectHalves(*p.grab(), 80, 40, 40, 20, kGreen);
    expectHalves(*p.print(), 80, 40, 40, 20, kGreen);
    // 400 x 100 in 200 x 100: shrunk by 2, centred vertically, filling the width.
    ASSERT_TRUE(p.ctrl.LoadImageW(halvesBmp(400, 100).c_str()));
    p.expectView(1.0, 0, 25);
    EXPECT_EQ(pixels(*p.grab(), {{0, 25}, {99, 74}, {100, 25}, {199, 74}, {50, 24}, {150, 75}}),
              Pixels({kRed, kRed, kBlue, kBlue, kGreen, kGreen}));
    // In a subclassed static frame of 100 x 80 the 40 x 20 picture is centred too.
    CMavPicture framed;
    ASSERT_NE(subclassStaticFrame(framed, p.parent.wnd, 78), nullptr);
    ASSERT_TRUE(framed.LoadImageW(halvesBmp(40, 20).c_str()));
    EXPECT_EQ((std::vector<LONG>{framed.offsetGet().x, framed.offsetGet().y}), (std::vector<LONG>{30, 30}));
    framed.DestroyWindow();
}

TEST(Picture, LoadOnThreadsWithoutComAndInTheMultithreadedApartmentLeavesEachAsItWas)
{
    // A thread without COM loads, and has no apartment afterwards (the multithreaded one can be entered anew); a
    // thread in the multithreaded apartment gets an answer and stays in it.
    const std::wstring path = halvesBmp(40, 20);
    bool loaded = false, answered = false;
    HRESULT after = E_FAIL, again = E_FAIL;
    std::thread([&] {
        CMavPicture pic;
        loaded = pic.LoadImageW(path.c_str()) && pic.hasPicture() && pic.pictureSize().cx == 40;
        if (SUCCEEDED(after = CoInitializeEx(nullptr, COINIT_MULTITHREADED)))
            CoUninitialize();
    }).join();
    std::thread([&] {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CMavPicture pic;
        answered = pic.LoadImageW(path.c_str());
        if (SUCCEEDED(again = CoInitializeEx(nullptr, COINIT_MULTITHREADED)))
            CoUninitialize();
        if (SUCCEEDED(hr))
            CoUninitialize();
    }).join();
    EXPECT_EQ((std::vector<long>{loaded, after, answered, again}), (std::vector<long>{1, S_OK, 1, S_FALSE}));
}

TEST(Picture, WheelZoomsAboutTheCursorWithinLimitsAndTheMiddleButtonPans)
{
    Pic p;
    // One step in about (100, 50): the picture grows to 60 x 30 and the cursor point stays.
    p.wheel(120, 100, 50);
    p.expectView(1.5, 70, 35);
    expectHalves(*p.grab(), 70, 35, 60, 30, kGreen);
    // Outwards from 1: 2/3, then 4/9, then refused. Inwards: eight steps reach 1.5^8, the ninth is refused.
    // Offsets are truncated toward zero, not rounded down.
    p.ctrl.Reset();
    for (int i = 0; i < 3; ++i)
        p.wheel(-120, 100, 50);
    p.expectView(4.0 / 9.0, 90, 45);
    p.ctrl.Reset();
    for (int i = 0; i < 9; ++i)
        p.wheel(120, 80, 40);
    p.expectView(25.62890625, 80, 40);
    p.ctrl.Reset();
    p.wheel(120, 199, 99);
    p.wheel(120, 199, 99);
    p.expectView(2.25, -69, -34); // -268.5 + 199, -133.5 + 99

    // The middle button pans from the press; a move asks for a repaint, and the next move follows the cursor even
    // while a paint is waiting.
    p.ctrl.Reset();
    p.mouse(WM_MBUTTONDOWN, MK_MBUTTON, 10, 10);
    EXPECT_EQ(GetCapture(), p.ctrl.m_hWnd);
    UpdateWindow(p.ctrl.m_hWnd);
    p.mouse(WM_MOUSEMOVE, MK_MBUTTON, 30, 25);
    EXPECT_TRUE(GetUpdateRect(p.ctrl.m_hWnd, nullptr, FALSE));
    p.expectView(1.0, 100, 55);
    p.mouse(WM_MOUSEMOVE, MK_MBUTTON, 5, 0);
    p.mouse(WM_MBUTTONUP, 0, 5, 0);
    EXPECT_NE(GetCapture(), p.ctrl.m_hWnd);
    p.mouse(WM_MOUSEMOVE, 0, 60, 60); // no button: no pan
    p.expectView(1.0, 75, 30);
    expectHalves(*p.grab(), 75, 30, 40, 20, kGreen);
}

TEST(Picture, CopyPutsTheMetafileOnTheClipboardAndAFailedLoadShowsTheSystemsMessageAndKeepsNone)
{
    // The clipboard's metafile holds the picture at its own size whatever the zoom.
    Pic p;
    p.wheel(120, 0, 0);
    ASSERT_TRUE(p.ctrl.Copy());
    HENHMETAFILE emf = clipboardMetafile(true);
    Dib d(40, 20, 0);
    const RECT frame{0, 0, 40, 20};
    PlayEnhMetaFile(d.dc, emf, &frame);
    EXPECT_EQ(bounds(emf), std::vector<LONG>({0, 0, 39, 19}));
    EXPECT_EQ(pixels(d, {{1, 1}, {18, 18}, {21, 1}, {38, 18}}), Pixels({kRed, kRed, kBlue, kBlue}));
    DeleteEnhMetaFile(emf);
    // A failed load shows the system's message for its error in a modal box, which a thread timer served by the
    // box's own loop reads and closes; no picture is kept.
    static wchar_t boxText[300];
    wcscpy(boxText, L"(no box)");
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {
        if (HWND box = FindWindowW(nullptr, L"CMavPicture::LoadImage")) {
            GetDlgItemTextW(box, 0xFFFF, boxText, 300);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    });
    EXPECT_TRUE(p.ctrl.LoadImageW(L"Z:\\no\\such\\folder\\missing.bmp"));
    KillTimer(nullptr, timer);
    wchar_t text[2][300] = {};
    for (DWORD error : {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND})
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, error, 0, text[error & 1], 300, nullptr);
    EXPECT_TRUE(!wcsncmp(boxText, text[0], 12) || !wcsncmp(boxText, text[1], 12)) << boxText;
    EXPECT_FALSE(p.ctrl.hasPicture() || p.ctrl.Copy());
}
