// Device contexts: CDC with the drawing calls the library uses, CPaintDC, CClientDC, CWindowDC and CMemDC.
#pragma once

#include <windows.h>

#include "afx/CGdiObject.h"
#include "afx/CObject.h"
#include "afx/CRect.h"

class CWnd;
class CString;

// A device context. A DC made by CreateCompatibleDC or CreateDC is deleted with the object; a DC given to Attach
// stays the caller's. FromHandle gives a temporary wrapper that does not own its DC.
class CDC : public CObject {
    DECLARE_DYNAMIC(CDC)
public:
    CDC() = default;
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL Attach(HDC dc);
    HDC Detach();
    static CDC* FromHandle(HDC dc);
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL CreateDC(const wchar_t* driver, const wchar_t* device, const wchar_t* output, const DEVMODEW* init);
    BOOL DeleteDC();
    int SaveDC();
    BOOL RestoreDC(int saved);
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

    // Selection, answering the previous object as a (possibly temporary) wrapper, as MFC does.
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    CGdiObject* SelectObject(CGdiObject* object);
    // Selecting a region sets the clip region to a copy of it; the region type or ERROR.
    int SelectObject(CRgn* region);
    CGdiObject* SelectStockObject(int index);
    int SelectClipRgn(CRgn* region);
    int SelectClipRgn(CRgn* region, int mode);
    int GetClipBox(RECT* rect) const { return ::GetClipBox(m_hDC, rect); }
    int IntersectClipRect(int l, int t, int r, int b) { return ::IntersectClipRect(m_hDC, l, t, r, b); }
    int ExcludeClipRect(int l, int t, int r, int b) { return ::ExcludeClipRect(m_hDC, l, t, r, b); }

    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int GetBkMode() const { return ::GetBkMode(m_hDC); }
    int SetROP2(int mode) { return ::SetROP2(m_hDC, mode); }
    int GetROP2() const { return ::GetROP2(m_hDC); }
    int SetPolyFillMode(int mode) { return ::SetPolyFillMode(m_hDC, mode); }
    int GetPolyFillMode() const { return ::GetPolyFillMode(m_hDC); }
    UINT SetTextAlign(UINT flags) { return ::SetTextAlign(m_hDC, flags); }
    int SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }
    int SetMapMode(int mode) { return ::SetMapMode(m_hDC, mode); }
    CPoint SetViewportOrg(int x, int y);
    CPoint SetWindowOrg(int x, int y);
    BOOL LPtoDP(POINT* points, int count = 1) const { return ::LPtoDP(m_hDC, points, count); }
    BOOL DPtoLP(POINT* points, int count = 1) const { return ::DPtoLP(m_hDC, points, count); }

    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    BOOL Polyline(const POINT* points, int count) { return ::Polyline(m_hDC, points, count); }
    BOOL PolyPolyline(const POINT* points, const DWORD* counts, int lines)
    {
        return ::PolyPolyline(m_hDC, points, counts, static_cast<DWORD>(lines));
    }
    BOOL Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }
    BOOL PolyPolygon(const POINT* points, const INT* counts, int polygons)
    {
        return ::PolyPolygon(m_hDC, points, counts, polygons);
    }
    BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
    BOOL Rectangle(const RECT* rc) { return Rectangle(rc->left, rc->top, rc->right, rc->bottom); }
    BOOL Ellipse(int l, int t, int r, int b) { return ::Ellipse(m_hDC, l, t, r, b); }
    BOOL Ellipse(const RECT* rc) { return Ellipse(rc->left, rc->top, rc->right, rc->bottom); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }
    BOOL SetPixelV(int x, int y, COLORREF c) { return ::SetPixelV(m_hDC, x, y, c); }

    void FillRect(const RECT* rc, CBrush* brush);
    // Fills with a colour; the DC's background colour is left as it was.
    void FillSolidRect(const RECT* rc, COLORREF colour);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF colour);
    void FrameRect(const RECT* rc, CBrush* brush);
    void InvertRect(const RECT* rc) { ::InvertRect(m_hDC, rc); }
    void DrawFocusRect(const RECT* rc) { ::DrawFocusRect(m_hDC, rc); }
    BOOL FillRgn(CRgn* region, CBrush* brush);
    BOOL FrameRgn(CRgn* region, CBrush* brush, int width, int height);
    BOOL PaintRgn(CRgn* region);
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
    BOOL DrawIconEx(int x, int y, HICON icon, int cx, int cy, UINT flags = DI_NORMAL)
    {
        return ::DrawIconEx(m_hDC, x, y, icon, cx, cy, 0, nullptr, flags);
    }

    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, DWORD rop);
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop) { return ::PatBlt(m_hDC, x, y, width, height, rop); }

    BOOL TextOut(int x, int y, const wchar_t* text, int length);
    BOOL TextOut(int x, int y, const CString& text);
    BOOL ExtTextOut(int x, int y, UINT options, const RECT* rc, const wchar_t* text, UINT length, const INT* dx);
    int DrawText(const wchar_t* text, int length, RECT* rc, UINT format);
    int DrawText(const CString& text, RECT* rc, UINT format);
    CSize GetTextExtent(const wchar_t* text, int length) const;
    CSize GetTextExtent(const CString& text) const;
    BOOL GetTextMetrics(TEXTMETRICW* metrics) const { return ::GetTextMetricsW(m_hDC, metrics); }

    BOOL BeginPath() { return ::BeginPath(m_hDC); }
    BOOL EndPath() { return ::EndPath(m_hDC); }
    BOOL AbortPath() { return ::AbortPath(m_hDC); }
    BOOL FillPath() { return ::FillPath(m_hDC); }
    BOOL StrokePath() { return ::StrokePath(m_hDC); }
    BOOL StrokeAndFillPath() { return ::StrokeAndFillPath(m_hDC); }

    // DCs created through CreateCompatibleDC/CreateDC and not yet deleted, in the whole process.
    static long GetLiveCount();

protected:
    bool m_bOwned = false;
};

// The DC of a paint cycle: BeginPaint in the constructor, EndPaint in the destructor.
class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd;
};

// A window's client-area DC (GetDC / ReleaseDC).
class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

// A window's whole-window DC (GetWindowDC / ReleaseDC).
class CWindowDC : public CDC {
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd;
};

// Double buffering: a memory DC with a bitmap compatible with the target, of the size of rect. Drawing goes to
// the memory DC in the target's coordinates; the destructor (or Flush) copies the result to rect of the target and
// puts everything back.
class CMemDC : public CDC {
public:
    CMemDC(CDC& target, const RECT& rect);
    ~CMemDC() override;
    // Copies the picture to the target now (SRCCOPY); the destructor then does not copy again.
    void Flush();
    // Leaves the target untouched at destruction.
    void Discard() { m_bFlushed = true; }
    const CRect& GetRect() const { return m_rect; }

private:
    CDC& m_target;
    CRect m_rect;
    CBitmap m_bitmap;
    HGDIOBJ m_oldBitmap = nullptr;
    bool m_bFlushed = false;
};
