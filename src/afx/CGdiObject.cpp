// GDI wrappers: creation, ownership, temporary wrappers and scoped selection.
#include "afx/CGdiObject.h"

#include "afx/CDC.h"
#include "afx/CHandleMap.h"
#include "afx/CWinApp.h"

#include <cstdlib>

namespace {

long g_liveObjects = 0;

bool gdiAlive(HGDIOBJ h)
{
    return ::GetObjectType(h) != 0;
}

// One map of temporary wrappers per wrapper class, so that FromHandle returns the class that was asked for.
template <class T>
CTempHandleMap<T, HGDIOBJ>& tempMap()
{
    static CTempHandleMap<T, HGDIOBJ> map(&gdiAlive);
    return map;
}

template <class T>
T* wrap(HGDIOBJ handle)
{
    if (!handle)
        return nullptr;
    return tempMap<T>().find(handle, [](HGDIOBJ h) {
        T* object = new T;
        object->m_hObject = h; // not owned: Attach is not used, so the wrapper never deletes it
        return object;
    });
}

} // namespace

void afxDeleteGdiTempMaps()
{
    // Temporary wrappers hold their handle without owning it; clear it first so no destructor deletes it.
    tempMap<CGdiObject>().clear();
    tempMap<CPen>().clear();
    tempMap<CBrush>().clear();
    tempMap<CBitmap>().clear();
    tempMap<CRgn>().clear();
    tempMap<CFont>().clear();
}

// ---------------------------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ handle)
{
    if (!handle || m_hObject)
        return FALSE;
    m_hObject = handle;
    m_bOwned = true;
    m_bCounted = false;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    if (h && m_bCounted)
        --g_liveObjects; // no longer ours to delete
    m_hObject = nullptr;
    m_bOwned = false;
    m_bCounted = false;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    BOOL ok = TRUE;
    if (m_bOwned)
        ok = ::DeleteObject(m_hObject);
    if (m_bCounted)
        --g_liveObjects;
    m_hObject = nullptr;
    m_bOwned = false;
    m_bCounted = false;
    return ok;
}

BOOL CGdiObject::adoptCreated(HGDIOBJ handle)
{
    DeleteObject();
    if (!handle)
        return FALSE;
    m_hObject = handle;
    m_bOwned = true;
    m_bCounted = true;
    ++g_liveObjects;
    return TRUE;
}

int CGdiObject::GetObject(int size, void* buffer) const
{
    return m_hObject ? ::GetObjectW(m_hObject, size, buffer) : 0;
}

UINT CGdiObject::GetObjectType() const
{
    return m_hObject ? static_cast<UINT>(::GetObjectType(m_hObject)) : 0u;
}

BOOL CGdiObject::CreateStockObject(int index)
{
    DeleteObject();
    m_hObject = ::GetStockObject(index);
    return m_hObject != nullptr;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle)
{
    return wrap<CGdiObject>(handle);
}

long CGdiObject::GetLiveCount()
{
    return g_liveObjects;
}

// ---------------------------------------------------------------------------------------------------------------

CPen::CPen(int style, int width, COLORREF colour)
{
    CreatePen(style, width, colour);
}

BOOL CPen::CreatePen(int style, int width, COLORREF colour)
{
    return adoptCreated(::CreatePen(style, width, colour));
}

BOOL CPen::CreatePen(int style, int width, const LOGBRUSH* brush, int styleCount, const DWORD* styles)
{
    return adoptCreated(::ExtCreatePen(static_cast<DWORD>(style), static_cast<DWORD>(width), brush,
                                       static_cast<DWORD>(styleCount), styles));
}

BOOL CPen::CreatePenIndirect(const LOGPEN* pen)
{
    return adoptCreated(::CreatePenIndirect(pen));
}

CPen* CPen::FromHandle(HPEN handle)
{
    return wrap<CPen>(handle);
}

CBrush::CBrush(COLORREF colour)
{
    CreateSolidBrush(colour);
}

CBrush::CBrush(int hatchIndex, COLORREF colour)
{
    CreateHatchBrush(hatchIndex, colour);
}

BOOL CBrush::CreateSolidBrush(COLORREF colour)
{
    return adoptCreated(::CreateSolidBrush(colour));
}

BOOL CBrush::CreateHatchBrush(int index, COLORREF colour)
{
    return adoptCreated(::CreateHatchBrush(index, colour));
}

BOOL CBrush::CreatePatternBrush(HBITMAP bitmap)
{
    return adoptCreated(::CreatePatternBrush(bitmap));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* brush)
{
    return adoptCreated(::CreateBrushIndirect(brush));
}

BOOL CBrush::CreateSysColorBrush(int index)
{
    // System colour brushes belong to the system: wrapped, never deleted.
    DeleteObject();
    m_hObject = ::GetSysColorBrush(index);
    return m_hObject != nullptr;
}

CBrush* CBrush::FromHandle(HBRUSH handle)
{
    return wrap<CBrush>(handle);
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    return adoptCreated(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    return adoptCreated(dc ? ::CreateCompatibleBitmap(dc->m_hDC, width, height) : nullptr);
}

BOOL CBitmap::CreateDIBSection32(int width, int height, DWORD** bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down: row 0 first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bmp = width > 0 && height > 0
                      ? ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0)
                      : nullptr;
    if (bits)
        *bits = bmp ? static_cast<DWORD*>(pixels) : nullptr;
    return adoptCreated(bmp);
}

BOOL CBitmap::LoadBitmap(UINT id)
{
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(id), RT_BITMAP);
    return adoptCreated(::LoadBitmapW(module, MAKEINTRESOURCEW(id)));
}

int CBitmap::GetBitmap(BITMAP* info) const
{
    return GetObject(sizeof(BITMAP), info);
}

CBitmap* CBitmap::FromHandle(HBITMAP handle)
{
    return wrap<CBitmap>(handle);
}

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom)
{
    return adoptCreated(::CreateRectRgn(left, top, right, bottom));
}

BOOL CRgn::CreateRectRgnIndirect(const RECT* rect)
{
    return adoptCreated(rect ? ::CreateRectRgnIndirect(rect) : nullptr);
}

BOOL CRgn::CreateEllipticRgn(int left, int top, int right, int bottom)
{
    return adoptCreated(::CreateEllipticRgn(left, top, right, bottom));
}

BOOL CRgn::CreatePolygonRgn(const POINT* points, int count, int fillMode)
{
    return adoptCreated(points && count > 0 ? ::CreatePolygonRgn(points, count, fillMode) : nullptr);
}

BOOL CRgn::CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int fillMode)
{
    return adoptCreated(points && counts && polygons > 0 ? ::CreatePolyPolygonRgn(points, counts, polygons, fillMode)
                                                         : nullptr);
}

int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode)
{
    if (!m_hObject || !a)
        return ERROR;
    return ::CombineRgn(*this, *a, b ? static_cast<HRGN>(*b) : nullptr, mode);
}

int CRgn::CopyRgn(const CRgn* source)
{
    return m_hObject && source ? ::CombineRgn(*this, *source, nullptr, RGN_COPY) : ERROR;
}

int CRgn::OffsetRgn(int dx, int dy)
{
    return m_hObject ? ::OffsetRgn(*this, dx, dy) : ERROR;
}

int CRgn::GetRgnBox(RECT* box) const
{
    return m_hObject ? ::GetRgnBox(*this, box) : ERROR;
}

BOOL CRgn::PtInRegion(int x, int y) const
{
    return m_hObject ? ::PtInRegion(*this, x, y) : FALSE;
}

BOOL CRgn::EqualRgn(const CRgn* other) const
{
    return m_hObject && other && other->m_hObject ? ::EqualRgn(*this, *other) : FALSE;
}

CRgn* CRgn::FromHandle(HRGN handle)
{
    return wrap<CRgn>(handle);
}

BOOL CFont::CreateFontIndirect(const LOGFONTW* font)
{
    return adoptCreated(font ? ::CreateFontIndirectW(font) : nullptr);
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, const wchar_t* faceName)
{
    return adoptCreated(::CreateFontW(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                      charSet, outPrecision, clipPrecision, quality, pitchAndFamily, faceName));
}

BOOL CFont::CreatePointFont(int pointSize10, const wchar_t* faceName, CDC* dc)
{
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    if (faceName)
        lstrcpynW(lf.lfFaceName, faceName, LF_FACESIZE);
    HDC screen = dc ? nullptr : ::GetDC(nullptr);
    HDC target = dc ? dc->m_hDC : screen;
    // Tenths of a point to logical units: through device pixels, then the DC's mapping.
    POINT pt{0, MulDiv(::GetDeviceCaps(target, LOGPIXELSY), pointSize10, 720)};
    POINT origin{0, 0};
    ::DPtoLP(target, &pt, 1);
    ::DPtoLP(target, &origin, 1);
    lf.lfHeight = -std::abs(static_cast<int>(pt.y - origin.y));
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONTW* font) const
{
    return GetObject(sizeof(LOGFONTW), font);
}

CFont* CFont::FromHandle(HFONT handle)
{
    return wrap<CFont>(handle);
}

// ---------------------------------------------------------------------------------------------------------------

CScopedSelect::CScopedSelect(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(nullptr)
{
    // Selecting a region sets the clip region and answers no object to put back: that is CScopedClip's job.
    if (!dc || !object || ::GetObjectType(object) == OBJ_REGION)
        return;
    m_previous = ::SelectObject(dc, object);
    if (m_previous == HGDI_ERROR)
        m_previous = nullptr;
}

CScopedSelect::CScopedSelect(CDC& dc, const CGdiObject& object) : CScopedSelect(dc.m_hDC, object.m_hObject) {}

CScopedSelect::~CScopedSelect()
{
    if (m_previous)
        ::SelectObject(m_dc, m_previous);
}

CScopedClip::CScopedClip(HDC dc, HRGN clip) : m_dc(dc), m_previous(::CreateRectRgn(0, 0, 0, 0)), m_hadClip(false)
{
    // GetClipRgn answers 1 when the DC has a clip region (copied into m_previous), 0 when it has none.
    m_hadClip = m_previous && ::GetClipRgn(dc, m_previous) == 1;
    ::SelectClipRgn(dc, clip);
}

CScopedClip::~CScopedClip()
{
    ::SelectClipRgn(m_dc, m_hadClip ? m_previous : nullptr);
    if (m_previous)
        ::DeleteObject(m_previous);
}
