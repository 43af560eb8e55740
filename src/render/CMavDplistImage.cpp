// The display list view control. The zoom lives in the control and is pushed into the list after every change,
// so the host reads the current zoom from the list.
#include "render/CMavDplistImage.h"

#include <cstdlib>

#include "render/MavRender.h"
#include "resource.h"

IMPLEMENT_DYNAMIC(CMavDplistImage, CWnd)

CMavDplistImage::CMavDplistImage()
{
    HINSTANCE res = AfxFindResourceHandle(MAKEINTRESOURCEW(IDC_MAV_PAN), MAKEINTRESOURCEW(12)); // RT_GROUP_CURSOR
    m_hPanCursor = LoadCursorW(res, MAKEINTRESOURCEW(IDC_MAV_PAN));
    m_hStdCursor = LoadCursorW(nullptr, IDC_CROSS);
}

CMavDplistImage::~CMavDplistImage() = default;

bool CMavDplistImage::set_dpList(CMavGDX* gdx)
{
    m_pGdx = gdx;
    if (m_hWnd)
        Invalidate(TRUE);
    return gdx != nullptr;
}

void CMavDplistImage::zoomExtents()
{
    if (!m_pGdx)
        return;
    CMavPoint3d mn, mx;
    m_pGdx->extMaxViewGet(mn, mx);
    CRect rc;
    GetClientRect(&rc);
    m_pGdx->viewMtxSet(getViewMtx(mn, mx, rc.Height(), rc.Width(), 0.05));
    m_zoomMtx.setToIdentity();
    m_pGdx->zoomMtxSet(m_zoomMtx);
}

void CMavDplistImage::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    wchar_t cls[16] = {};
    GetClassNameW(m_hWnd, cls, 16);
    if (lstrcmpiW(cls, L"Static") == 0)
        ModifyStyle(0, SS_NOTIFY);
}

void CMavDplistImage::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    if (dc && m_pGdx) {
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        const int w = rc.right - rc.left;
        const int h = rc.bottom - rc.top;
        // Drawn off screen and copied whole, so the window never shows a half-drawn picture.
        HDC mem = CreateCompatibleDC(dc);
        HBITMAP bmp = mem ? CreateCompatibleBitmap(dc, w > 0 ? w : 1, h > 0 ? h : 1) : nullptr;
        if (bmp) {
            HGDIOBJ old = SelectObject(mem, bmp);
            MAV::renderWindow(mem, *m_pGdx, w, h);
            BitBlt(dc, 0, 0, w, h, mem, 0, 0, SRCCOPY);
            SelectObject(mem, old);
            DeleteObject(bmp);
        }
        if (mem)
            DeleteDC(mem);
    }
    EndPaint(m_hWnd, &ps);
}

BOOL CMavDplistImage::OnMouseWheel(UINT flags, short delta, CPoint screenPoint)
{
    if (flags & MK_MBUTTON)
        return FALSE;
    if (!m_pGdx || delta == 0)
        return TRUE;
    POINT p{screenPoint.x, screenPoint.y};
    ScreenToClient(&p);
    const double f = std::abs(static_cast<int>(delta)) * 1.2 / 120.0;
    const double scale = delta > 0 ? f : 1.0 / f;
    CMavMatrix3d s;
    s.setToScaling(scale, CMavPoint3d(p.x, p.y, 0.0));
    m_zoomMtx = s * m_zoomMtx;
    m_panBaseX = m_zoomMtx.m[0][3];
    m_panBaseY = m_zoomMtx.m[1][3];
    m_pGdx->zoomMtxSet(m_zoomMtx);
    Invalidate(TRUE);
    return TRUE;
}

void CMavDplistImage::OnMouseMove(UINT flags, CPoint point)
{
    if (hasFocus()) {
        if (flags & MK_MBUTTON) {
            if (m_pGdx) {
                m_zoomMtx.m[0][3] = point.x + m_panBaseX - m_panAnchorX;
                m_zoomMtx.m[1][3] = point.y + m_panBaseY - m_panAnchorY;
                m_pGdx->zoomMtxSet(m_zoomMtx);
                Invalidate(TRUE);
            }
            ::SetCursor(m_hPanCursor);
        } else {
            ::SetCursor(m_hStdCursor);
        }
    }
    Default();
}

void CMavDplistImage::OnLButtonDown(UINT flags, CPoint point)
{
    (void)flags;
    SetFocus();
    if (m_pGdx) {
        const int group = m_pGdx->imageItemGet(CMavPoint3d(point.x, point.y, 0.0));
        if (group > -1)
            ::PostMessageW(::GetParent(m_hWnd), static_cast<UINT>(GetDlgCtrlID()), 0, static_cast<LPARAM>(group));
    }
    Default();
    if (hasFocus())
        ::SetCursor(m_hStdCursor);
}

void CMavDplistImage::OnLButtonUp(UINT flags, CPoint point)
{
    (void)flags;
    (void)point;
    Default();
    if (hasFocus())
        ::SetCursor(m_hStdCursor);
}

void CMavDplistImage::OnMButtonDown(UINT flags, CPoint point)
{
    (void)flags;
    if (!hasFocus())
        SetFocus();
    m_panBaseX = m_zoomMtx.m[0][3];
    m_panBaseY = m_zoomMtx.m[1][3];
    SetCapture();
    m_panAnchorX = point.x;
    m_panAnchorY = point.y;
    Default();
    ::SetCursor(m_hPanCursor);
}

void CMavDplistImage::OnMButtonUp(UINT flags, CPoint point)
{
    (void)flags;
    (void)point;
    ::ReleaseCapture();
    Default();
    ::SetCursor(m_hStdCursor);
}

void CMavDplistImage::OnMButtonDblClk(UINT flags, CPoint point)
{
    (void)flags;
    (void)point;
    zoomExtents();
    Invalidate(TRUE);
    Default();
}
