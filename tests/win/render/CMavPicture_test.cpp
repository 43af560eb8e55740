// The picture control with real windows under Wine: a .bmp written by the test, loaded through the OLE picture
// loader, painted, zoomed by wheel messages, panned by middle-button messages and copied to the clipboard.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <thread>
#include <memory>
#include <string>
#include <vector>

#include "../afx/afx_test_support.h"
#include "render/CMavPicture.h"

namespace {

constexpr DWORD kRed = 0xFF0000;  // DIB pixel values, 0x00RRGGBB
constexpr DWORD kBlue = 0x0000FF;
constexpr DWORD kGreen = 0x00FF00;

// Writes a 24-bit .bmp of w x h whose left half is red and right half blue; returns its path.
std::wstring writeHalvesBmp(const wchar_t* name, int w, int h)
{
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    std::wstring path = std::wstring(dir) + name;
    const int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = w;
    ih.biHeight = h; // bottom-up rows
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biCompression = BI_RGB;
    ih.biSizeImage = static_cast<DWORD>(stride * h);
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    std::vector<unsigned char> rows(static_cast<size_t>(stride) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &rows[static_cast<size_t>(y) * stride + x * 3]; // blue, green, red
            if (x < w / 2)
                p[2] = 0xFF;
            else
                p[0] = 0xFF;
        }
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f)
        return path;
    fwrite(&fh, sizeof fh, 1, f);
    fwrite(&ih, sizeof ih, 1, f);
    fwrite(rows.data(), 1, rows.size(), f);
    fclose(f);
    return path;
}

// A popup parent with the picture control as a 200 x 100 child.
struct Pic {
    CWnd parent;
    CMavPicture pic;
    Pic()
    {
        parent.CreateEx(0, nullptr, L"parent", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr);
        pic.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &parent, 55);
    }
    ~Pic()
    {
        pic.DestroyWindow();
        parent.DestroyWindow();
    }
    void wheel(int delta, int x, int y)
    {
        POINT p{x, y};
        ClientToScreen(pic.m_hWnd, &p);
        SendMessageW(pic.m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))),
                     MAKELPARAM(p.x, p.y));
    }
    void mouse(UINT msg, WPARAM keys, int x, int y) { SendMessageW(pic.m_hWnd, msg, keys, MAKELPARAM(x, y)); }
    std::unique_ptr<afxtest::Dib> grab()
    {
        RedrawWindow(pic.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        auto d = std::make_unique<afxtest::Dib>(200, 100, 0x777777);
        HDC wdc = GetDC(pic.m_hWnd);
        BitBlt(d->dc, 0, 0, 200, 100, wdc, 0, 0, SRCCOPY);
        ReleaseDC(pic.m_hWnd, wdc);
        return d;
    }
};

// The picture drawn with its upper left corner at (x, y) and size w x h: red left half, blue right half, and
// `around` just outside each of its four sides.
void expectHalves(const afxtest::Dib& d, int x, int y, int w, int h, DWORD around)
{
    EXPECT_EQ(d.at(x, y), kRed) << x << "," << y;
    EXPECT_EQ(d.at(x + w / 2 - 1, y + h - 1), kRed);
    EXPECT_EQ(d.at(x + w / 2, y), kBlue);
    EXPECT_EQ(d.at(x + w - 1, y + h - 1), kBlue);
    EXPECT_EQ(d.at(x - 1, y + h / 2), around);
    EXPECT_EQ(d.at(x + w, y + h / 2), around);
    EXPECT_EQ(d.at(x + w / 2, y - 1), around);
    EXPECT_EQ(d.at(x + w / 2, y + h), around);
}

// Answers the load error box from inside its modal loop: records its caption and text, then presses OK.
struct BoxSeen {
    bool seen = false;
    std::wstring text;
};
BoxSeen g_box;

BOOL CALLBACK closeLoadErrorBox(HWND wnd, LPARAM)
{
    wchar_t caption[64] = {};
    GetWindowTextW(wnd, caption, 64);
    if (std::wstring(caption) != L"CMavPicture::LoadImage")
        return TRUE;
    wchar_t text[300] = {};
    GetDlgItemTextW(wnd, 0xFFFF, text, 300);
    g_box.seen = true;
    g_box.text = text;
    PostMessageW(wnd, WM_COMMAND, IDOK, 0);
    return FALSE;
}

void CALLBACK boxTimer(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), closeLoadErrorBox, 0);
}

} // namespace

TEST(Picture, SmallPictureCentredAtPixelSizeLargeOneShrunk)
{
    Pic p;
    EXPECT_STREQ(p.pic.GetRuntimeClass()->m_lpszClassName, "CMavPicture");
    EXPECT_TRUE(p.pic.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_EQ(p.pic.backColorGet(), GetSysColor(COLOR_BTNFACE));
    EXPECT_FALSE(p.pic.LoadImageW(nullptr));

    ASSERT_TRUE(p.pic.LoadImageW(writeHalvesBmp(L"mav_pic_small.bmp", 40, 20).c_str()));
    ASSERT_TRUE(p.pic.hasPicture());
    EXPECT_EQ(p.pic.pictureSize().cx, 40);
    EXPECT_EQ(p.pic.pictureSize().cy, 20);
    EXPECT_EQ(p.pic.offsetGet().x, 80);
    EXPECT_EQ(p.pic.offsetGet().y, 40);
    EXPECT_EQ(p.pic.zoomGet(), 1.0);

    p.pic.SetBackColor(0x00FF00);
    expectHalves(*p.grab(), 80, 40, 40, 20, kGreen);
    // The same picture through WM_PRINTCLIENT into a bitmap of our own.
    afxtest::Dib printed(200, 100, 0);
    SendMessageW(p.pic.m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.dc), PRF_CLIENT);
    expectHalves(printed, 80, 40, 40, 20, kGreen);

    // A transparent window fills with the button face colour instead.
    p.pic.ModifyStyleEx(0, WS_EX_TRANSPARENT);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    auto t = p.grab();
    EXPECT_EQ(t->at(10, 10), static_cast<DWORD>((GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face)));
    EXPECT_EQ(t->at(85, 45), kRed);
    p.pic.ModifyStyleEx(WS_EX_TRANSPARENT, 0);

    // 400 x 100 in 200 x 100: shrunk by 2, centred vertically, filling the width.
    ASSERT_TRUE(p.pic.LoadImageW(writeHalvesBmp(L"mav_pic_wide.bmp", 400, 100).c_str()));
    EXPECT_EQ(p.pic.pictureSize().cx, 400);
    EXPECT_EQ(p.pic.offsetGet().x, 0);
    EXPECT_EQ(p.pic.offsetGet().y, 25);
    auto w = p.grab();
    EXPECT_EQ(w->at(0, 25), kRed);
    EXPECT_EQ(w->at(99, 74), kRed);
    EXPECT_EQ(w->at(100, 25), kBlue);
    EXPECT_EQ(w->at(199, 74), kBlue);
    EXPECT_EQ(w->at(50, 24), kGreen);
    EXPECT_EQ(w->at(150, 75), kGreen);
}

TEST(Picture, WheelZoomStopsAtFourNinthsAndOnePointFiveToTheEighth)
{
    Pic p;
    ASSERT_TRUE(p.pic.LoadImageW(writeHalvesBmp(L"mav_pic_small.bmp", 40, 20).c_str()));
    p.pic.SetBackColor(0x00FF00);
    // One step in about (100, 50): the picture grows to 60 x 30 and the cursor point stays.
    p.wheel(120, 100, 50);
    EXPECT_DOUBLE_EQ(p.pic.zoomGet(), 1.5);
    EXPECT_EQ(p.pic.offsetGet().x, 70);
    EXPECT_EQ(p.pic.offsetGet().y, 35);
    expectHalves(*p.grab(), 70, 35, 60, 30, kGreen);

    p.pic.Reset();
    EXPECT_EQ(p.pic.zoomGet(), 1.0);
    EXPECT_EQ(p.pic.offsetGet().x, 80);
    // Outwards: 2/3, then 4/9, then refused. Offsets are truncated toward zero.
    p.wheel(-120, 100, 50);
    EXPECT_DOUBLE_EQ(p.pic.zoomGet(), 2.0 / 3.0);
    EXPECT_EQ(p.pic.offsetGet().x, 86);
    EXPECT_EQ(p.pic.offsetGet().y, 43);
    p.wheel(-120, 100, 50);
    EXPECT_DOUBLE_EQ(p.pic.zoomGet(), 4.0 / 9.0);
    EXPECT_EQ(p.pic.offsetGet().x, 90);
    EXPECT_EQ(p.pic.offsetGet().y, 45);
    p.wheel(-120, 0, 0);
    EXPECT_DOUBLE_EQ(p.pic.zoomGet(), 4.0 / 9.0);
    EXPECT_EQ(p.pic.offsetGet().x, 90);

    // Inwards from 1: eight steps reach 1.5^8, the ninth is refused.
    p.pic.Reset();
    double expect = 1.0;
    for (int i = 0; i < 8; ++i) {
        p.wheel(120, 80, 40);
        expect *= 1.5;
        EXPECT_DOUBLE_EQ(p.pic.zoomGet(), expect) << "step " << i + 1;
        EXPECT_EQ(p.pic.offsetGet().x, 80); // the picture's corner is under the cursor
    }
    p.wheel(120, 0, 0);
    EXPECT_DOUBLE_EQ(p.pic.zoomGet(), 25.62890625);
    EXPECT_EQ(p.pic.offsetGet().x, 80);
    // Zoomed far in about the corner, the red half covers the rest of the client area.
    auto z = p.grab();
    EXPECT_EQ(z->at(80, 40), kRed);
    EXPECT_EQ(z->at(199, 99), kRed);
    EXPECT_EQ(z->at(79, 39), z->at(0, 0));
    EXPECT_NE(z->at(0, 0), kRed);
}

TEST(Picture, MiddleButtonPansFromThePress)
{
    Pic p;
    ASSERT_TRUE(p.pic.LoadImageW(writeHalvesBmp(L"mav_pic_small.bmp", 40, 20).c_str()));
    p.mouse(WM_MBUTTONDOWN, MK_MBUTTON, 10, 10);
    EXPECT_EQ(GetCapture(), p.pic.m_hWnd);
    EXPECT_EQ(GetFocus(), p.pic.m_hWnd);
    UpdateWindow(p.pic.m_hWnd);
    EXPECT_FALSE(GetUpdateRect(p.pic.m_hWnd, nullptr, FALSE));
    p.mouse(WM_MOUSEMOVE, MK_MBUTTON, 30, 25);
    EXPECT_TRUE(GetUpdateRect(p.pic.m_hWnd, nullptr, FALSE)); // a repaint asked for
    EXPECT_EQ(p.pic.offsetGet().x, 100);
    EXPECT_EQ(p.pic.offsetGet().y, 55);
    // A paint is waiting now; the next move still follows the cursor.
    p.mouse(WM_MOUSEMOVE, MK_MBUTTON, 5, 0);
    EXPECT_EQ(p.pic.offsetGet().x, 75);
    EXPECT_EQ(p.pic.offsetGet().y, 30);
    p.mouse(WM_MBUTTONUP, 0, 5, 0);
    EXPECT_NE(GetCapture(), p.pic.m_hWnd);
    p.mouse(WM_MOUSEMOVE, 0, 60, 60); // no button: no pan
    EXPECT_EQ(p.pic.offsetGet().x, 75);
    p.pic.SetBackColor(0x00FF00);
    expectHalves(*p.grab(), 75, 30, 40, 20, kGreen);
    // A second press continues from where the first pan left the picture.
    p.mouse(WM_MBUTTONDOWN, MK_MBUTTON, 50, 50);
    p.mouse(WM_MOUSEMOVE, MK_MBUTTON, 40, 45);
    EXPECT_EQ(p.pic.offsetGet().x, 65);
    EXPECT_EQ(p.pic.offsetGet().y, 25);
    p.mouse(WM_MBUTTONUP, 0, 40, 45);
}

TEST(Picture, CopyPutsThePictureOnTheClipboardAsMetafile)
{
    Pic p;
    // Without a picture the clipboard keeps what it had.
    ASSERT_TRUE(OpenClipboard(p.parent.m_hWnd));
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 4 * sizeof(wchar_t));
    wcscpy(static_cast<wchar_t*>(GlobalLock(mem)), L"abc");
    GlobalUnlock(mem);
    SetClipboardData(CF_UNICODETEXT, mem);
    CloseClipboard();
    EXPECT_FALSE(p.pic.Copy());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_ENHMETAFILE));

    ASSERT_TRUE(p.pic.LoadImageW(writeHalvesBmp(L"mav_pic_small.bmp", 40, 20).c_str()));
    p.wheel(120, 0, 0); // the copy is at the picture's own size, whatever the zoom
    ASSERT_TRUE(p.pic.Copy());
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_ENHMETAFILE));
    ASSERT_TRUE(OpenClipboard(p.parent.m_hWnd));
    HENHMETAFILE emf = CopyEnhMetaFile(static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE)), nullptr);
    EmptyClipboard();
    CloseClipboard();
    ASSERT_NE(emf, nullptr);
    ENHMETAHEADER head{};
    GetEnhMetaFileHeader(emf, sizeof head, &head);
    EXPECT_EQ(head.rclBounds.left, 0);
    EXPECT_EQ(head.rclBounds.top, 0);
    EXPECT_EQ(head.rclBounds.right, 39); // inclusive bounds of 40 x 20
    EXPECT_EQ(head.rclBounds.bottom, 19);
    // Played back at its size: red left half, blue right half.
    afxtest::Dib d(40, 20, 0);
    const RECT frame{0, 0, 40, 20};
    PlayEnhMetaFile(d.dc, emf, &frame);
    DeleteEnhMetaFile(emf);
    EXPECT_EQ(d.at(1, 1), kRed);
    EXPECT_EQ(d.at(18, 18), kRed);
    EXPECT_EQ(d.at(21, 1), kBlue);
    EXPECT_EQ(d.at(38, 18), kBlue);
}

TEST(Picture, FailedLoadShowsTheSystemErrorAndKeepsNoPicture)
{
    Pic p;
    ASSERT_TRUE(p.pic.LoadImageW(writeHalvesBmp(L"mav_pic_small.bmp", 40, 20).c_str()));
    ASSERT_TRUE(p.pic.hasPicture());
    p.pic.SetBackColor(0x00FF00);

    // The box is modal: a thread timer, served by the box's own message loop, reads and closes it.
    g_box = BoxSeen();
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, boxTimer);
    EXPECT_TRUE(p.pic.LoadImageW(L"Z:\\no\\such\\folder\\missing.bmp"));
    KillTimer(nullptr, timer);
    EXPECT_FALSE(p.pic.hasPicture());
    EXPECT_EQ(p.pic.pictureSize().cx, 0);
    ASSERT_TRUE(g_box.seen);
    // The text is the system's message for the error of the load.
    wchar_t notFound[260] = {}, pathNotFound[260] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_FILE_NOT_FOUND, 0,
                   notFound, 260, nullptr);
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_PATH_NOT_FOUND, 0,
                   pathNotFound, 260, nullptr);
    auto trim = [](std::wstring s) {
        while (!s.empty() && (s.back() == L'\n' || s.back() == L'\r' || s.back() == L' '))
            s.pop_back();
        return s;
    };
    const std::wstring shown = trim(g_box.text);
    EXPECT_TRUE(shown == trim(notFound) || shown == trim(pathNotFound));
    EXPECT_FALSE(shown.empty());

    // Nothing left to show or copy: only the background is painted.
    EXPECT_FALSE(p.pic.Copy());
    p.pic.Reset();
    auto d = p.grab();
    EXPECT_EQ(d->at(85, 45), kGreen);
    EXPECT_EQ(d->at(115, 55), kGreen);
}

TEST(Picture, SubclassedStaticFrameGetsNotifyStyle)
{
    CWnd parent;
    parent.CreateEx(0, nullptr, L"parent", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr);
    HWND frame = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 100, 80, parent.m_hWnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(78)), nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(SendMessageW(frame, WM_NCHITTEST, 0, MAKELPARAM(50, 50)), HTTRANSPARENT);
    {
        CMavPicture pic;
        ASSERT_TRUE(pic.SubclassWindow(frame));
        EXPECT_TRUE(GetWindowLongW(frame, GWL_STYLE) & SS_NOTIFY);
        POINT inside{50, 40};
        ClientToScreen(frame, &inside);
        EXPECT_EQ(SendMessageW(frame, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCLIENT);
        ASSERT_TRUE(pic.LoadImageW(writeHalvesBmp(L"mav_pic_small.bmp", 40, 20).c_str()));
        EXPECT_EQ(pic.offsetGet().x, 30);
        EXPECT_EQ(pic.offsetGet().y, 30);
    }
    parent.DestroyWindow();
}

TEST(Picture, LoadOnAThreadWithoutComLeavesTheThreadAsItWas)
{
    const std::wstring path = writeHalvesBmp(L"mav_pic_small.bmp", 40, 20);
    // A thread without COM loads, and has no apartment afterwards (a new one of either kind can be entered).
    bool loaded = false;
    HRESULT after = E_FAIL;
    std::thread bare([&] {
        CMavPicture pic;
        loaded = pic.LoadImageW(path.c_str()) && pic.hasPicture() && pic.pictureSize().cx == 40;
        after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(after))
            CoUninitialize();
    });
    bare.join();
    EXPECT_TRUE(loaded);
    EXPECT_EQ(after, S_OK); // nothing was left initialised, not even another apartment kind
    // A thread in the multithreaded apartment stays in it. (The OLE loader wants a single-threaded apartment;
    // whether it reads the file from the other kind is the system's affair.)
    bool answered = false;
    HRESULT again = E_FAIL;
    std::thread mta([&] {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CMavPicture pic;
        answered = pic.LoadImageW(path.c_str());
        again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(again))
            CoUninitialize();
        if (SUCCEEDED(hr))
            CoUninitialize();
    });
    mta.join();
    EXPECT_TRUE(answered);
    EXPECT_EQ(again, S_FALSE);
}
