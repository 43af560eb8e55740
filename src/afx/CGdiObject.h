// GDI objects that own their handle (CPen, CBrush, CBitmap, CRgn, CFont) and scoped selections into a DC.
#pragma once

#include <windows.h>

#include "afx/CObject.h"

class CDC;

// Base of the GDI wrappers. A handle made by a Create call or given to Attach is owned and deleted with the
// object; FromHandle gives a temporary wrapper that does not own its handle.
class CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)
public:
    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }
    BOOL Attach(HGDIOBJ handle);
    HGDIOBJ Detach();
    // Deletes an owned handle (a no-op for stock objects); false when there was none.
    BOOL DeleteObject();
    int GetObject(int size, void* buffer) const;
    UINT GetObjectType() const;
    // Wraps a stock object; stock objects are never deleted.
    BOOL CreateStockObject(int index);
    static CGdiObject* FromHandle(HGDIOBJ handle);

    // Handles created through the wrappers' Create calls and not yet deleted, in the whole process. A drawing
    // routine that cleans up leaves this count where it found it.
    static long GetLiveCount();

protected:
    // Takes ownership of a handle just created by a wrapper; false (nothing kept) for a null handle.
    BOOL adoptCreated(HGDIOBJ handle);

private:
    bool m_bOwned = false;
    bool m_bCounted = false;
};

class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    CPen() = default;
    CPen(int style, int width, COLORREF colour);
    BOOL CreatePen(int style, int width, COLORREF colour);
    // A geometric or cosmetic pen with a brush and user style (ExtCreatePen).
    BOOL CreatePen(int style, int width, const LOGBRUSH* brush, int styleCount = 0, const DWORD* styles = nullptr);
    BOOL CreatePenIndirect(const LOGPEN* pen);
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
    static CPen* FromHandle(HPEN handle);
};

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() = default;
    explicit CBrush(COLORREF colour);
    CBrush(int hatchIndex, COLORREF colour);
    BOOL CreateSolidBrush(COLORREF colour);
    BOOL CreateHatchBrush(int index, COLORREF colour);
    BOOL CreatePatternBrush(HBITMAP bitmap);
    BOOL CreateBrushIndirect(const LOGBRUSH* brush);
    BOOL CreateSysColorBrush(int index);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    static CBrush* FromHandle(HBRUSH handle);
};

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    // A top-down 32-bit DIB section of width x height; *bits receives its pixels (0x00RRGGBB each).
    BOOL CreateDIBSection32(int width, int height, DWORD** bits);
    // A bitmap resource of the module that holds it (AfxFindResourceHandle).
    BOOL LoadBitmap(UINT id);
    int GetBitmap(BITMAP* info) const;
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    static CBitmap* FromHandle(HBITMAP handle);
};

class CRgn : public CGdiObject {
    DECLARE_DYNAMIC(CRgn)
public:
    BOOL CreateRectRgn(int left, int top, int right, int bottom);
    BOOL CreateRectRgnIndirect(const RECT* rect);
    BOOL CreateEllipticRgn(int left, int top, int right, int bottom);
    BOOL CreatePolygonRgn(const POINT* points, int count, int fillMode);
    BOOL CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int fillMode);
    // Combines a and b into this region, which must exist already (as MFC); the region type or ERROR.
    int CombineRgn(const CRgn* a, const CRgn* b, int mode);
    int CopyRgn(const CRgn* source);
    int OffsetRgn(int dx, int dy);
    int GetRgnBox(RECT* box) const;
    BOOL PtInRegion(int x, int y) const;
    BOOL EqualRgn(const CRgn* other) const;
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
    static CRgn* FromHandle(HRGN handle);
};

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    BOOL CreateFontIndirect(const LOGFONTW* font);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                    BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                    BYTE pitchAndFamily, const wchar_t* faceName);
    // A font of pointSize10 tenths of a point for the given DC (the screen when null).
    BOOL CreatePointFont(int pointSize10, const wchar_t* faceName, CDC* dc = nullptr);
    int GetLogFont(LOGFONTW* font) const;
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    static CFont* FromHandle(HFONT handle);
};

// Selects a pen, brush, font or bitmap into a DC for the lifetime of the guard and then restores the object that
// was selected before. A region is not selected (use CScopedClip).
class CScopedSelect {
public:
    CScopedSelect(HDC dc, HGDIOBJ object);
    CScopedSelect(CDC& dc, const CGdiObject& object);
    ~CScopedSelect();
    CScopedSelect(const CScopedSelect&) = delete;
    CScopedSelect& operator=(const CScopedSelect&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// Replaces the DC's clip region for the lifetime of the guard (null: no clipping) and restores the previous
// clip region, or no clipping when there was none.
class CScopedClip {
public:
    CScopedClip(HDC dc, HRGN clip);
    ~CScopedClip();
    CScopedClip(const CScopedClip&) = delete;
    CScopedClip& operator=(const CScopedClip&) = delete;

private:
    HDC m_dc;
    HRGN m_previous;
    bool m_hadClip;
};
