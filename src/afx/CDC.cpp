// Device contexts: ownership, temporary wrappers, selection and the drawing calls with more than one step.
#include "afx/CDC.h"

#include "afx/CHandleMap.h"
#include "afx/CString.h"
#include "afx/CWnd.h"

#include <algorithm>

namespace {

long g_liveDCs = 0;

bool dcAlive(HDC dc)
{
    return ::GetObjectType(dc) != 0;
}

CTempHandleMap<CDC, HDC>& tempDCs()
{
    static CTempHandleMap<CDC, HDC> map(&dcAlive);
    return map;
}

HWND hwndOf(CWnd* wnd)
{
    return wnd ? wnd->m_hWnd : nullptr;
}

} // namespace

void afxDeleteDcTempMap()
{
    tempDCs().clear();
}

IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CDC::~CDC()
{
    DeleteDC();
}

BOOL CDC::Attach(HDC dc)
{
    if (!dc || m_hDC)
        return FALSE;
    m_hDC = dc;
    m_bOwned = false; // an attached DC is the caller's; DeleteDC only forgets it
    return TRUE;
}

HDC CDC::Detach()
{
    HDC dc = m_hDC;
    if (dc && m_bOwned)
        --g_liveDCs;
    m_hDC = nullptr;
    m_bOwned = false;
    return dc;
}

CDC* CDC::FromHandle(HDC dc)
{
    if (!dc)
        return nullptr;
    return tempDCs().find(dc, [](HDC h) {
        CDC* wrapper = new CDC;
        wrapper->Attach(h);
        return wrapper;
    });
}

BOOL CDC::CreateCompatibleDC(CDC* dc)
{
    DeleteDC();
    m_hDC = ::CreateCompatibleDC(dc ? dc->m_hDC : nullptr);
    if (!m_hDC)
        return FALSE;
    m_bOwned = true;
    ++g_liveDCs;
    return TRUE;
}

BOOL CDC::CreateDC(const wchar_t* driver, const wchar_t* device, const wchar_t* output, const DEVMODEW* init)
{
    DeleteDC();
    m_hDC = ::CreateDCW(driver, device, output, init);
    if (!m_hDC)
        return FALSE;
    m_bOwned = true;
    ++g_liveDCs;
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    BOOL ok = TRUE;
    if (m_bOwned) {
        ok = ::DeleteDC(m_hDC);
        --g_liveDCs;
    }
    m_hDC = nullptr;
    m_bOwned = false;
    return ok;
}

long CDC::GetLiveCount()
{
    return g_liveDCs;
}

int CDC::SaveDC()
{
    return ::SaveDC(m_hDC);
}

BOOL CDC::RestoreDC(int saved)
{
    return ::RestoreDC(m_hDC, saved);
}

CPen* CDC::SelectObject(CPen* pen)
{
    return CPen::FromHandle(static_cast<HPEN>(pen ? ::SelectObject(m_hDC, pen->m_hObject) : nullptr));
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    return CBrush::FromHandle(static_cast<HBRUSH>(brush ? ::SelectObject(m_hDC, brush->m_hObject) : nullptr));
}

CFont* CDC::SelectObject(CFont* font)
{
    return CFont::FromHandle(static_cast<HFONT>(font ? ::SelectObject(m_hDC, font->m_hObject) : nullptr));
}

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return CBitmap::FromHandle(static_cast<HBITMAP>(bitmap ? ::SelectObject(m_hDC, bitmap->m_hObject) : nullptr));
}

CGdiObject* CDC::SelectObject(CGdiObject* object)
{
    if (!object)
        return nullptr;
    HGDIOBJ previous = ::SelectObject(m_hDC, object->m_hObject);
    // A region answers its type, not an object: there is nothing to wrap.
    if (!previous || previous == HGDI_ERROR || ::GetObjectType(previous) == 0)
        return nullptr;
    return CGdiObject::FromHandle(previous);
}

int CDC::SelectObject(CRgn* region)
{
    return region ? ::SelectClipRgn(m_hDC, *region) : ERROR;
}

CGdiObject* CDC::SelectStockObject(int index)
{
    HGDIOBJ stock = ::GetStockObject(index);
    return CGdiObject::FromHandle(stock ? ::SelectObject(m_hDC, stock) : nullptr);
}

int CDC::SelectClipRgn(CRgn* region)
{
    return ::SelectClipRgn(m_hDC, region ? static_cast<HRGN>(*region) : nullptr);
}

int CDC::SelectClipRgn(CRgn* region, int mode)
{
    return ::ExtSelectClipRgn(m_hDC, region ? static_cast<HRGN>(*region) : nullptr, mode);
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT old{0, 0};
    ::SetViewportOrgEx(m_hDC, x, y, &old);
    return CPoint(old);
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT old{0, 0};
    ::SetWindowOrgEx(m_hDC, x, y, &old);
    return CPoint(old);
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT old{0, 0};
    ::MoveToEx(m_hDC, x, y, &old);
    return CPoint(old);
}

void CDC::FillRect(const RECT* rc, CBrush* brush)
{
    if (rc && brush)
        ::FillRect(m_hDC, rc, *brush);
}

void CDC::FillSolidRect(const RECT* rc, COLORREF colour)
{
    if (!rc)
        return;
    // An opaque ExtTextOut without text fills with the background colour and needs no brush.
    COLORREF old = ::SetBkColor(m_hDC, colour);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, rc, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF colour)
{
    RECT rc{x, y, x + cx, y + cy};
    FillSolidRect(&rc, colour);
}

void CDC::FrameRect(const RECT* rc, CBrush* brush)
{
    if (rc && brush)
        ::FrameRect(m_hDC, rc, *brush);
}

BOOL CDC::FillRgn(CRgn* region, CBrush* brush)
{
    return region && brush ? ::FillRgn(m_hDC, *region, *brush) : FALSE;
}

BOOL CDC::FrameRgn(CRgn* region, CBrush* brush, int width, int height)
{
    return region && brush ? ::FrameRgn(m_hDC, *region, *brush, width, height) : FALSE;
}

BOOL CDC::PaintRgn(CRgn* region)
{
    return region ? ::PaintRgn(m_hDC, *region) : FALSE;
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop)
{
    return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, xSrc, ySrc, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                     int srcHeight, DWORD rop)
{
    return ::StretchBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, xSrc, ySrc, srcWidth,
                        srcHeight, rop);
}

BOOL CDC::TextOut(int x, int y, const wchar_t* text, int length)
{
    return ::TextOutW(m_hDC, x, y, text, length);
}

BOOL CDC::TextOut(int x, int y, const CString& text)
{
    return ::TextOutW(m_hDC, x, y, text.GetString(), text.GetLength());
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, const RECT* rc, const wchar_t* text, UINT length, const INT* dx)
{
    return ::ExtTextOutW(m_hDC, x, y, options, rc, text, length, dx);
}

int CDC::DrawText(const wchar_t* text, int length, RECT* rc, UINT format)
{
    return ::DrawTextW(m_hDC, text, length, rc, format);
}

int CDC::DrawText(const CString& text, RECT* rc, UINT format)
{
    return ::DrawTextW(m_hDC, text.GetString(), text.GetLength(), rc, format);
}

CSize CDC::GetTextExtent(const wchar_t* text, int length) const
{
    SIZE size{0, 0};
    ::GetTextExtentPoint32W(m_hDC, text, length, &size);
    return CSize(size);
}

CSize CDC::GetTextExtent(const CString& text) const
{
    return GetTextExtent(text.GetString(), text.GetLength());
}

// ---------------------------------------------------------------------------------------------------------------

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(hwndOf(wnd))
{
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(hwndOf(wnd))
{
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(hwndOf(wnd))
{
    Attach(::GetWindowDC(m_hWnd));
}

CWindowDC::~CWindowDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}

CMemDC::CMemDC(CDC& target, const RECT& rect) : m_target(target), m_rect(rect)
{
    m_rect.NormalizeRect();
    if (CreateCompatibleDC(&target) &&
        m_bitmap.CreateCompatibleBitmap(&target, std::max(1, m_rect.Width()), std::max(1, m_rect.Height()))) {
        m_oldBitmap = ::SelectObject(m_hDC, m_bitmap);
        ::SetWindowOrgEx(m_hDC, m_rect.left, m_rect.top, nullptr);
    } else {
        m_bFlushed = true; // nothing to copy
    }
}

CMemDC::~CMemDC()
{
    Flush();
    if (m_oldBitmap)
        ::SelectObject(m_hDC, m_oldBitmap);
    m_bitmap.DeleteObject();
    DeleteDC();
}

void CMemDC::Flush()
{
    if (m_bFlushed)
        return;
    m_bFlushed = true;
    ::BitBlt(m_target.m_hDC, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, m_rect.left,
             m_rect.top, SRCCOPY);
}
