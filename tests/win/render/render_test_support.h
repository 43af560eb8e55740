// Helpers of the view controls' tests: a control hosted in a popup parent, its picture read back from the screen
// or through WM_PRINTCLIENT, pixel checks, wheel messages and the clipboard's metafile.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <initializer_list>
#include <memory>
#include <vector>

#include "../afx/afx_test_support.h"

namespace rendertest {

using DibPtr = std::unique_ptr<afxtest::Dib>;

// A COLORREF (0x00BBGGRR) as a DIB pixel reads (0x00RRGGBB).
inline DWORD dibPixel(COLORREF c)
{
    return (static_cast<DWORD>(GetRValue(c)) << 16) | (static_cast<DWORD>(GetGValue(c)) << 8) | GetBValue(c);
}

// A popup parent of its own class (with a class brush, or none), w + 40 x h + 40 pixels.
struct Parent {
    HWND wnd = nullptr;
    Parent(int w, int h, HBRUSH brush = nullptr)
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = brush;
        wc.lpszClassName = brush ? L"RenderTestBrushParent" : L"RenderTestParent";
        RegisterClassW(&wc);
        wnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, w + 40, h + 40, nullptr, nullptr,
                              wc.hInstance, nullptr);
    }
    ~Parent() { DestroyWindow(wnd); }
};

// Subclasses a plain static of 100 x 80 at (10, 10) in parent with control, and checks what every view control
// does to it: a static lets the mouse through to its parent until the control adds SS_NOTIFY. Returns the frame.
inline HWND subclassStaticFrame(CWnd& control, HWND parent, int id)
{
    HWND frame = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 100, 80, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    EXPECT_NE(frame, nullptr);
    EXPECT_EQ(SendMessageW(frame, WM_NCHITTEST, 0, MAKELPARAM(50, 50)), HTTRANSPARENT);
    EXPECT_TRUE(control.SubclassWindow(frame));
    EXPECT_TRUE(GetWindowLongW(frame, GWL_STYLE) & SS_NOTIFY);
    POINT inside{50, 40};
    ClientToScreen(frame, &inside);
    EXPECT_EQ(SendMessageW(frame, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCLIENT);
    return frame;
}

// A control of w x h at (10, 10) in its parent, with the given child id.
template <class Ctrl>
struct Hosted {
    int w, h;
    Parent parent;
    Ctrl ctrl;
    Hosted(int width, int height, UINT id = 0, DWORD exStyle = 0, HBRUSH parentBrush = nullptr)
        : w(width), h(height), parent(width, height, parentBrush)
    {
        ctrl.CreateEx(exStyle, nullptr, L"", WS_CHILD | WS_VISIBLE, 10, 10, w, h, parent.wnd,
                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
    }
    ~Hosted() { ctrl.DestroyWindow(); }

    // What the control's area shows on the screen after the parent and its children are repainted.
    DibPtr grab()
    {
        RedrawWindow(parent.wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        auto d = std::make_unique<afxtest::Dib>(w, h, 0x123456);
        HDC wdc = GetDC(parent.wnd);
        BitBlt(d->dc, 0, 0, w, h, wdc, 10, 10, SRCCOPY);
        ReleaseDC(parent.wnd, wdc);
        return d;
    }
    // What the control draws into a DC it is given.
    DibPtr print()
    {
        auto d = std::make_unique<afxtest::Dib>(w, h, 0x123456);
        SendMessageW(ctrl.m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(d->dc), PRF_CLIENT);
        return d;
    }
    // A wheel turn over client point (x, y); the message carries screen coordinates.
    void wheel(int delta, int x, int y)
    {
        POINT p{x, y};
        ClientToScreen(ctrl.m_hWnd, &p);
        SendMessageW(ctrl.m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))),
                     MAKELPARAM(p.x, p.y));
    }
    void mouse(UINT msg, WPARAM keys, int x, int y) { SendMessageW(ctrl.m_hWnd, msg, keys, MAKELPARAM(x, y)); }
};

// The pixels at the points given, in their order: one comparison shows every wrong pixel of a set at once.
inline std::vector<DWORD> pixels(const afxtest::Dib& d, std::initializer_list<POINT> at)
{
    std::vector<DWORD> v;
    for (const POINT& p : at)
        v.push_back(d.at(p.x, p.y));
    return v;
}
using Pixels = std::vector<DWORD>;

// Pixels at least `margin` pixels inside the edges that differ from colour c.
inline int countOther(const afxtest::Dib& d, DWORD c, int margin = 0)
{
    int n = 0;
    for (int y = margin; y < d.h - margin; ++y)
        for (int x = margin; x < d.w - margin; ++x)
            n += d.at(x, y) != c;
    return n;
}

// True when a pixel of the 3 x 3 block around p has the colour (line ends round to either neighbour).
inline bool colourNear(const afxtest::Dib& d, POINT p, DWORD colour)
{
    for (int y = p.y - 1; y <= p.y + 1; ++y)
        for (int x = p.x - 1; x <= p.x + 1; ++x)
            if (x >= 0 && y >= 0 && x < d.w && y < d.h && d.at(x, y) == colour)
                return true;
    return false;
}

// A copy of the clipboard's enhanced metafile (null when there is none); `empty` clears the clipboard after.
// Keeps what the clipboard held when a test began and puts it back at the end, so that a test run does not take
// away what the person at the machine copied. Memory formats and metafiles are kept; other handle formats
// (bitmaps, palettes) and formats the system derives from others are not.
class ClipboardKeeper {
public:
    ClipboardKeeper()
    {
        if (!OpenClipboard(nullptr))
            return;
        for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) {
            HANDLE h = GetClipboardData(f);
            if (!h)
                continue;
            if (f == CF_ENHMETAFILE) {
                if (HENHMETAFILE copy = CopyEnhMetaFileW(static_cast<HENHMETAFILE>(h), nullptr))
                    m_kept.push_back({f, copy});
            } else if (f != CF_BITMAP && f != CF_PALETTE && f != CF_METAFILEPICT && f != CF_DSPBITMAP &&
                       f != CF_DSPENHMETAFILE && f != CF_DSPMETAFILEPICT && f != CF_OWNERDISPLAY) {
                if (HANDLE copy = copyGlobal(h))
                    m_kept.push_back({f, copy});
            }
        }
        CloseClipboard();
    }
    ~ClipboardKeeper()
    {
        if (!OpenClipboard(nullptr))
            return;
        EmptyClipboard();
        for (const Kept& k : m_kept)
            SetClipboardData(k.format, k.data);
        CloseClipboard();
    }
    ClipboardKeeper(const ClipboardKeeper&) = delete;
    ClipboardKeeper& operator=(const ClipboardKeeper&) = delete;

private:
    struct Kept {
        UINT format;
        HANDLE data;
    };
    static HANDLE copyGlobal(HANDLE h)
    {
        const SIZE_T size = GlobalSize(h);
        const void* from = size ? GlobalLock(h) : nullptr;
        if (!from)
            return nullptr;
        HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
        if (void* to = copy ? GlobalLock(copy) : nullptr) {
            memcpy(to, from, size);
            GlobalUnlock(copy);
        }
        GlobalUnlock(h);
        return copy;
    }
    std::vector<Kept> m_kept;
};

inline HENHMETAFILE clipboardMetafile(bool empty)
{
    if (!OpenClipboard(nullptr))
        return nullptr;
    HENHMETAFILE emf = CopyEnhMetaFileW(static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE)), nullptr);
    if (empty)
        EmptyClipboard();
    CloseClipboard();
    return emf;
}

} // namespace rendertest
