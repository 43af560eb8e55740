// Helpers of the renderer's and the view controls' tests: a control hosted in a popup parent, its picture read back
// from the screen or through WM_PRINTCLIENT, pixel checks, files in the temporary folder and metafile records.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "../afx/afx_test_support.h"

namespace rendertest {

using afxtest::Dib;
using DibPtr = std::unique_ptr<Dib>;
using Pixels = std::vector<DWORD>;

// A COLORREF (0x00BBGGRR) as a DIB pixel reads (0x00RRGGBB).
inline DWORD dibPixel(COLORREF c)
{
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// The pixels at the points given, in their order: one comparison shows every wrong pixel of a set at once.
inline Pixels pixels(const Dib& d, std::initializer_list<POINT> at)
{
    Pixels v;
    for (const POINT& p : at)
        v.push_back(d.at(p.x, p.y));
    return v;
}

// Pixels of the box [x0, x1) x [y0, y1) (the whole DIB by default) that differ from colour c.
inline int countNot(const Dib& d, DWORD c, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1)
{
    int n = 0;
    for (int y = y0; y < (y1 < 0 ? d.h : y1); ++y)
        for (int x = x0; x < (x1 < 0 ? d.w : x1); ++x)
            n += d.at(x, y) != c;
    return n;
}
// Pixels at least `margin` pixels inside the edges that differ from colour c.
inline int countOther(const Dib& d, DWORD c, int margin = 0)
{
    return countNot(d, c, margin, margin, d.w - margin, d.h - margin);
}
inline int differing(const Dib& a, const Dib& b)
{
    int n = 0;
    for (int i = 0; i < a.w * a.h; ++i)
        n += (a.bits[i] & 0xFFFFFF) != (b.bits[i] & 0xFFFFFF);
    return n;
}

// True when a pixel of the 3 x 3 block around p has the colour (line ends round to either neighbour).
inline bool colourNear(const Dib& d, POINT p, DWORD colour)
{
    for (int y = p.y - 1; y <= p.y + 1; ++y)
        for (int x = p.x - 1; x <= p.x + 1; ++x)
            if (x >= 0 && y >= 0 && x < d.w && y < d.h && d.at(x, y) == colour)
                return true;
    return false;
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
    EXPECT_EQ(SendMessageW(frame, WM_NCHITTEST, 0, MAKELPARAM(50, 50)), HTTRANSPARENT);
    EXPECT_TRUE(control.SubclassWindow(frame));
    POINT inside{50, 40};
    ClientToScreen(frame, &inside);
    EXPECT_EQ(SendMessageW(frame, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCLIENT);
    return frame;
}

// What window wnd shows in its client rectangle (x, y, w, h) after it and its children are repainted.
inline DibPtr grabWindow(HWND wnd, int x, int y, int w, int h)
{
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    auto d = std::make_unique<Dib>(w, h, 0x123456);
    HDC wdc = GetDC(wnd);
    BitBlt(d->dc, 0, 0, w, h, wdc, x, y, SRCCOPY);
    ReleaseDC(wnd, wdc);
    return d;
}

// A control of w x h at (10, 10) in its parent, with the given child id.
template <class Ctrl> struct Hosted {
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
    DibPtr grab() { return grabWindow(parent.wnd, 10, 10, w, h); }
    // What the control draws into a DC it is given.
    DibPtr print()
    {
        auto d = std::make_unique<Dib>(w, h, 0x123456);
        SendMessageW(ctrl.m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(d->dc), PRF_CLIENT);
        return d;
    }
    // A wheel turn over client point (x, y); the message carries screen coordinates.
    LRESULT wheel(int delta, int x, int y, WPARAM keys = 0)
    {
        POINT p{x, y};
        ClientToScreen(ctrl.m_hWnd, &p);
        return SendMessageW(ctrl.m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(static_cast<short>(delta))),
                            MAKELPARAM(p.x, p.y));
    }
    void mouse(UINT msg, WPARAM keys, int x, int y) { SendMessageW(ctrl.m_hWnd, msg, keys, MAKELPARAM(x, y)); }
    // The group a click posted to the parent in a message numbered by the control's id, or -1 for none.
    LPARAM posted(UINT id)
    {
        MSG m;
        return PeekMessageW(&m, parent.wnd, id, id, PM_REMOVE) ? m.lParam : -1;
    }
};

inline std::wstring tempPath(const std::wstring& name)
{
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

// Writes w x h top-down 32-bit pixels (0x00RRGGBB) as a bottom-up .bmp file.
inline bool writeBmp(const std::wstring& path, int w, int h, const DWORD* bits)
{
    BITMAPFILEHEADER fh{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    BITMAPINFOHEADER ih{sizeof ih, w, h, 1, 32, BI_RGB, static_cast<DWORD>(w * h * 4), 0, 0, 0, 0};
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done = 0;
    bool ok = f != INVALID_HANDLE_VALUE && WriteFile(f, &fh, sizeof fh, &done, nullptr) &&
              WriteFile(f, &ih, sizeof ih, &done, nullptr);
    for (int y = h - 1; ok && y >= 0; --y)
        ok = WriteFile(f, bits + y * w, static_cast<DWORD>(w * 4), &done, nullptr) != 0;
    CloseHandle(f);
    return ok;
}

// What a metafile records: the record types in order, the colour of the pens created, the points of the moves and
// lines.
struct Records {
    std::vector<DWORD> types;
    std::vector<COLORREF> pens;
    std::vector<LONG> points; // x, y of every MoveToEx and LineTo
    explicit Records(HENHMETAFILE emf)
    {
        if (emf)
            EnumEnhMetaFile(nullptr, emf, collect, this, nullptr);
    }
    int count(DWORD type) const { return static_cast<int>(std::count(types.begin(), types.end(), type)); }
    static int CALLBACK collect(HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM data)
    {
        auto* self = reinterpret_cast<Records*>(data);
        self->types.push_back(rec->iType);
        if (rec->iType == EMR_CREATEPEN)
            self->pens.push_back(reinterpret_cast<const EMRCREATEPEN*>(rec)->lopn.lopnColor);
        if (rec->iType == EMR_MOVETOEX || rec->iType == EMR_LINETO) {
            const POINTL p = reinterpret_cast<const EMRLINETO*>(rec)->ptl;
            self->points.insert(self->points.end(), {p.x, p.y});
        }
        return 1;
    }
};

// The inclusive bounds of a metafile: left, top, right, bottom.
inline std::vector<LONG> bounds(HENHMETAFILE emf)
{
    ENHMETAHEADER head{};
    GetEnhMetaFileHeader(emf, sizeof head, &head);
    return {head.rclBounds.left, head.rclBounds.top, head.rclBounds.right, head.rclBounds.bottom};
}

// A copy of the clipboard's enhanced metafile (null when there is none); `empty` clears the clipboard after.
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
