// The picture control with real windows under Wine: a .bmp written by the test, loaded through the OLE picture
// loader, painted, zoomed by wheel messages, panned by middle-button messages and copied to the clipboard.
#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

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

std::wstring trimmed(std::wstring s)
{
    while (!s.empty() && (s.back() == L'\n' || s.back() == L'\r' || s.back() == L' '))
        s.pop_back();
    return s;
}

// The text of the load error box, read from inside its modal loop by a thread timer, which then presses OK.
std::wstring g_boxText;
void CALLBACK closeLoadErrorBox(HWND, UINT, UINT_PTR, DWORD)
{
    if (HWND box = FindWindowW(nullptr, L"CMavPicture::LoadImage")) {
        wchar_t text[300] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 300);
        g_boxText = trimmed(text);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
}

// The system's message for an error, without the line end.
std::wstring systemMessage(DWORD error)
{
    wchar_t text[260] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, 260, nullptr);
    return trimmed(text);
}

} // namespace

TEST(Picture, SmallPictureCentredAtPixelSizeLargeOneShrunk)
{
    Pic p(false);
    EXPECT_STREQ(p.ctrl.GetRuntimeClass()->m_lpszClassName, "CMavPicture");
    EXPECT_EQ(p.ctrl.backColorGet(), GetSysColor(COLOR_BTNFACE));
    EXPECT_FALSE(p.ctrl.LoadImageW(nullptr));

    ASSERT_TRUE(p.ctrl.LoadImageW(halvesBmp(40, 20).c_str()));
    ASSERT_TRUE(p.ctrl.hasPicture());
    EXPECT_EQ((std::vector<LONG>{p.ctrl.pictureSize().cx, p.ctrl.pictureSize().cy}), (std::vector<LONG>{40, 20}));
    p.expectView(1.0, 80, 40);
    p.ctrl.SetBackColor(0x00FF00);
    expectHalves(*p.grab(), 80, 40, 40, 20, kGreen);
    expectHalves(*p.print(), 80, 40, 40, 20, kGreen);

    // A transparent window fills with the button face colour instead.
    p.ctrl.ModifyStyleEx(0, WS_EX_TRANSPARENT);
    EXPECT_EQ(pixels(*p.grab(), {{10, 10}, {85, 45}}), Pixels({dibPixel(GetSysColor(COLOR_BTNFACE)), kRed}));
    p.ctrl.ModifyStyleEx(WS_EX_TRANSPARENT, 0);

    // 400 x 100 in 200 x 100: shrunk by 2, centred vertically, filling the width.
    ASSERT_TRUE(p.ctrl.LoadImageW(halvesBmp(400, 100).c_str()));
    EXPECT_EQ(p.ctrl.pictureSize().cx, 400);
    p.expectView(1.0, 0, 25);
    EXPECT_EQ(pixels(*p.grab(), {{0, 25}, {99, 74}, {100, 25}, {199, 74}, {50, 24}, {150, 75}}),
              Pixels({kRed, kRed, kBlue, kBlue, kGreen, kGreen}));

    // In a subclassed static frame of 100 x 80 the 40 x 20 picture is centred too.
    Parent parent(260, 160);
    CMavPicture framed;
    ASSERT_NE(subclassStaticFrame(framed, parent.wnd, 78), nullptr);
    ASSERT_TRUE(framed.LoadImageW(halvesBmp(40, 20).c_str()));
    EXPECT_EQ((std::vector<LONG>{framed.offsetGet().x, framed.offsetGet().y}), (std::vector<LONG>{30, 30}));
    framed.DestroyWindow();
}

TEST(Picture, WheelZoomsAboutTheCursorWithinLimitsAndTheMiddleButtonPans)
{
    Pic p;
    // One step in about (100, 50): the picture grows to 60 x 30 and the cursor point stays.
    p.wheel(120, 100, 50);
    p.expectView(1.5, 70, 35);
    expectHalves(*p.grab(), 70, 35, 60, 30, kGreen);
    // Outwards from 1: 2/3, then 4/9, then refused. Offsets are truncated toward zero.
    p.ctrl.Reset();
    p.expectView(1.0, 80, 40);
    p.wheel(-120, 100, 50);
    p.expectView(2.0 / 3.0, 86, 43);
    p.wheel(-120, 100, 50);
    p.expectView(4.0 / 9.0, 90, 45);
    p.wheel(-120, 0, 0);
    p.expectView(4.0 / 9.0, 90, 45);
    // Inwards from 1 about the picture's corner: eight steps reach 1.5^8, the ninth is refused.
    p.ctrl.Reset();
    for (int i = 0; i < 8; ++i)
        p.wheel(120, 80, 40);
    p.expectView(25.62890625, 80, 40);
    p.wheel(120, 0, 0);
    p.expectView(25.62890625, 80, 40);
    // Zoomed far in about the corner, the red half covers the rest of the client area.
    EXPECT_EQ(pixels(*p.grab(), {{80, 40}, {199, 99}, {79, 39}, {0, 0}}), Pixels({kRed, kRed, kGreen, kGreen}));
    // About the far corner the offset turns negative: truncated toward zero, not rounded down.
    p.ctrl.Reset();
    p.wheel(120, 199, 99);
    p.expectView(1.5, 20, 10); // -178.5 + 199, -88.5 + 99
    p.wheel(120, 199, 99);
    p.expectView(2.25, -69, -34); // -268.5 + 199, -133.5 + 99

    // The middle button pans from the press.
    p.ctrl.Reset();
    p.mouse(WM_MBUTTONDOWN, MK_MBUTTON, 10, 10);
    EXPECT_EQ(GetCapture(), p.ctrl.m_hWnd);
    EXPECT_EQ(GetFocus(), p.ctrl.m_hWnd);
    UpdateWindow(p.ctrl.m_hWnd);
    EXPECT_FALSE(GetUpdateRect(p.ctrl.m_hWnd, nullptr, FALSE));
    p.mouse(WM_MOUSEMOVE, MK_MBUTTON, 30, 25);
    EXPECT_TRUE(GetUpdateRect(p.ctrl.m_hWnd, nullptr, FALSE)); // a repaint asked for
    p.expectView(1.0, 100, 55);
    // A paint is waiting now; the next move still follows the cursor.
    p.mouse(WM_MOUSEMOVE, MK_MBUTTON, 5, 0);
    p.expectView(1.0, 75, 30);
    p.mouse(WM_MBUTTONUP, 0, 5, 0);
    EXPECT_NE(GetCapture(), p.ctrl.m_hWnd);
    p.mouse(WM_MOUSEMOVE, 0, 60, 60); // no button: no pan
    p.expectView(1.0, 75, 30);
    expectHalves(*p.grab(), 75, 30, 40, 20, kGreen);
    // A second press continues from where the first pan left the picture.
    p.mouse(WM_MBUTTONDOWN, MK_MBUTTON, 50, 50);
    p.mouse(WM_MOUSEMOVE, MK_MBUTTON, 40, 45);
    p.expectView(1.0, 65, 25);
    p.mouse(WM_MBUTTONUP, 0, 40, 45);
}

TEST(Picture, CopyPutsThePictureOnTheClipboardAsMetafileAndAFailedLoadKeepsNone)
{
    Pic p(false);
    // Without a picture the clipboard keeps what it had.
    ASSERT_TRUE(OpenClipboard(p.parent.wnd));
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 4 * sizeof(wchar_t));
    wcscpy(static_cast<wchar_t*>(GlobalLock(mem)), L"abc");
    GlobalUnlock(mem);
    SetClipboardData(CF_UNICODETEXT, mem);
    CloseClipboard();
    EXPECT_FALSE(p.ctrl.Copy());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_ENHMETAFILE));

    // With one, the clipboard holds only the metafile, at the picture's own size whatever the zoom.
    ASSERT_TRUE(p.ctrl.LoadImageW(halvesBmp(40, 20).c_str()));
    p.wheel(120, 0, 0);
    ASSERT_TRUE(p.ctrl.Copy());
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    HENHMETAFILE emf = clipboardMetafile(true);
    ASSERT_NE(emf, nullptr);
    EXPECT_EQ(bounds(emf), std::vector<LONG>({0, 0, 39, 19})); // inclusive bounds of 40 x 20
    // Played back at its size: red left half, blue right half.
    Dib d(40, 20, 0);
    const RECT frame{0, 0, 40, 20};
    PlayEnhMetaFile(d.dc, emf, &frame);
    DeleteEnhMetaFile(emf);
    EXPECT_EQ(pixels(d, {{1, 1}, {18, 18}, {21, 1}, {38, 18}}), Pixels({kRed, kRed, kBlue, kBlue}));

    // A failed load shows the system's message for its error in a modal box: a thread timer, served by the box's
    // own message loop, reads and closes it. No picture is kept: nothing to copy, only the background painted.
    p.ctrl.SetBackColor(0x00FF00);
    g_boxText = L"(no box)";
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, closeLoadErrorBox);
    EXPECT_TRUE(p.ctrl.LoadImageW(L"Z:\\no\\such\\folder\\missing.bmp"));
    KillTimer(nullptr, timer);
    EXPECT_FALSE(p.ctrl.hasPicture());
    EXPECT_EQ(p.ctrl.pictureSize().cx, 0);
    EXPECT_TRUE(g_boxText == systemMessage(ERROR_FILE_NOT_FOUND) || g_boxText == systemMessage(ERROR_PATH_NOT_FOUND))
        << std::string(g_boxText.begin(), g_boxText.end());
    EXPECT_FALSE(p.ctrl.Copy());
    p.ctrl.Reset();
    EXPECT_EQ(countOther(*p.grab(), kGreen), 0);
}

TEST(Picture, LoadOnAThreadWithoutComLeavesTheThreadAsItWas)
{
    const std::wstring path = halvesBmp(40, 20);
    // A thread without COM loads, and has no apartment afterwards: the multithreaded one can be entered anew.
    // A thread in the multithreaded apartment stays in it. (The OLE loader wants a single-threaded apartment;
    // whether it reads the file from the other kind is the system's affair.)
    bool loaded = false, answered = false;
    HRESULT after = E_FAIL, again = E_FAIL;
    std::thread([&] {
        CMavPicture pic;
        loaded = pic.LoadImageW(path.c_str()) && pic.hasPicture() && pic.pictureSize().cx == 40;
        after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(after))
            CoUninitialize();
    }).join();
    std::thread([&] {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CMavPicture pic;
        answered = pic.LoadImageW(path.c_str());
        again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(again))
            CoUninitialize();
        if (SUCCEEDED(hr))
            CoUninitialize();
    }).join();
    EXPECT_TRUE(loaded);
    EXPECT_EQ(after, S_OK);
    EXPECT_TRUE(answered);
    EXPECT_EQ(again, S_FALSE);
}
