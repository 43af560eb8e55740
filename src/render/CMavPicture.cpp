// The picture control. The picture is an OLE IPicture; its size is kept twice, in HIMETRIC (what Render takes as
// source) and in screen pixels (what the control lays out with). Painting shows it at zoom / ratio of its pixel
// size, where ratio is the shrink factor that fits it into the current client area; the offset is the client
// position of its upper left corner and is what zoom and pan move.
//
// OLE: OleLoadPicturePath wants a single-threaded apartment on the calling thread. The host's user-interface
// thread has one already (an MFC host initialises OLE at start), and the control leaves it alone. A thread without
// COM gets an apartment for the duration of the load, closed again afterwards, so the thread's COM state is the
// same before and after. A thread in the multithreaded apartment keeps it; a load the system refuses there ends
// like any failed load. Rendering, copying and releasing a loaded picture are in-process calls and need no
// apartment.
#include "render/CMavPicture.h"

#include <ole2.h>
#include <olectl.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CMavPicture, CWnd)

namespace {

// COM for the duration of one call, balanced: a thread that already had an apartment keeps it unchanged.
class ComScope {
public:
    ComScope()
    {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        m_uninit = hr == S_OK || hr == S_FALSE;
    }
    ~ComScope()
    {
        if (m_uninit)
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool m_uninit = false;
};

// A size or extent for Render, which takes LONG. The source extent grows with the shrink ratio, so a picture
// thousands of times larger than the control (a metafile may claim a frame of kilometres) could leave that range;
// such values are held at its edge instead of wrapping.
LONG toLong(double v)
{
    constexpr double kMax = 2147483647.0;
    if (!(v > -kMax))
        return -2147483647;
    if (!(v < kMax))
        return 2147483647;
    return static_cast<LONG>(v);
}

// HIMETRIC (0.01 mm) to pixels at dpi dots per inch, rounded: 2540 HIMETRIC make an inch.
int himetricToPixels(long himetric, int dpi)
{
    return static_cast<int>((static_cast<long long>(himetric) * dpi + 1270) / 2540);
}

} // namespace

CMavPicture::CMavPicture() : m_backColor(GetSysColor(COLOR_BTNFACE)) {}

CMavPicture::~CMavPicture()
{
    releasePicture();
}

void CMavPicture::releasePicture()
{
    if (m_pPicture) {
        m_pPicture->Release();
        m_pPicture = nullptr;
    }
}

void CMavPicture::invalidate()
{
    if (m_hWnd)
        Invalidate(FALSE);
}

bool CMavPicture::LoadImageW(const wchar_t* path)
{
    if (!path)
        return false;
    releasePicture();
    m_width = m_height = m_hmWidth = m_hmHeight = 0;
    {
        ComScope com;
        // Cleared first, so that only an error of this load can raise the message box.
        SetLastError(0);
        IPicture* picture = nullptr;
        const HRESULT hr = OleLoadPicturePath(const_cast<LPOLESTR>(path), nullptr, 0, 0, IID_IPicture,
                                              reinterpret_cast<void**>(&picture));
        const DWORD error = GetLastError();
        if (SUCCEEDED(hr) && picture) {
            m_pPicture = picture;
        } else {
            if (picture)
                picture->Release();
            if (error != 0) {
                wchar_t text[260] = {};
                FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                               MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, 260, nullptr);
                ::MessageBoxW(m_hWnd, text, L"CMavPicture::LoadImage", MB_OK);
            }
        }
    }
    if (m_pPicture) {
        OLE_XSIZE_HIMETRIC hmWidth = 0;
        OLE_YSIZE_HIMETRIC hmHeight = 0;
        m_pPicture->get_Width(&hmWidth);
        m_pPicture->get_Height(&hmHeight);
        m_hmWidth = static_cast<int>(hmWidth);
        m_hmHeight = static_cast<int>(hmHeight);
        HDC screen = ::GetDC(nullptr);
        const int dpiX = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
        const int dpiY = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
        if (screen)
            ::ReleaseDC(nullptr, screen);
        m_width = himetricToPixels(m_hmWidth, dpiX);
        m_height = himetricToPixels(m_hmHeight, dpiY);
        fit();
    }
    invalidate();
    return true;
}

// A picture larger than the client area in either direction is shrunk by the larger of the two overhangs; a
// smaller one is shown at its own size (ratio 1). An empty client area sets no limit.
double CMavPicture::fitRatio(int width, int height) const
{
    double ratio = 1.0;
    if (height > 0)
        ratio = std::max(ratio, static_cast<double>(m_height) / height);
    if (width > 0)
        ratio = std::max(ratio, static_cast<double>(m_width) / width);
    return ratio;
}

void CMavPicture::fit()
{
    CRect rc;
    if (m_hWnd)
        GetClientRect(&rc);
    const double ratio = fitRatio(rc.Width(), rc.Height());
    m_offsetX = static_cast<int>((rc.Width() - m_width / ratio) * 0.5);
    m_offsetY = static_cast<int>((rc.Height() - m_height / ratio) * 0.5);
    m_zoom = 1.0;
}

void CMavPicture::Reset()
{
    if (!m_pPicture)
        return;
    fit();
    invalidate();
}

void CMavPicture::SetBackColor(unsigned long colour)
{
    m_backColor = static_cast<COLORREF>(colour & 0xFFFFFFul);
}

// Rendered once more, now into a metafile at the picture's own size, whatever the zoom on screen.
bool CMavPicture::Copy()
{
    if (!m_pPicture || !OpenClipboard(m_hWnd))
        return false;
    HDC emfDc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    if (emfDc) {
        const RECT bounds{0, 0, m_width, m_height};
        m_pPicture->Render(emfDc, 0, 0, m_width, m_height, 0, m_hmHeight, m_hmWidth, -m_hmHeight, &bounds);
    }
    EmptyClipboard();
    HENHMETAFILE emf = emfDc ? CloseEnhMetaFile(emfDc) : nullptr;
    if (emf && !SetClipboardData(CF_ENHMETAFILE, emf))
        DeleteEnhMetaFile(emf);
    CloseClipboard();
    return true;
}

void CMavPicture::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    ModifyStyle(0, SS_NOTIFY);
}

void CMavPicture::OnPaint()
{
    CPaintDC dc(this);
    draw(dc);
}

LRESULT CMavPicture::OnPrintClient(CDC* dc, UINT flags)
{
    (void)flags;
    if (dc && dc->GetSafeHdc())
        draw(*dc);
    return 0;
}

// Drawn into an off-screen bitmap and copied whole, so the window never shows a half-drawn picture. The source
// rectangle is the picture grown by ratio, rendered into the picture's zoomed pixel size: the picture appears at
// zoom / ratio of its pixel size.
void CMavPicture::draw(CDC& target)
{
    CRect rc;
    GetClientRect(&rc);
    if (rc.IsRectEmpty())
        return;
    CRgn clip;
    clip.CreateRectRgnIndirect(&rc);
    CScopedClip targetClip(target, clip);
    CMemDC mem(target, rc);
    CScopedClip memClip(mem, clip);
    const COLORREF fill = (GetExStyle() & WS_EX_TRANSPARENT) ? GetSysColor(COLOR_BTNFACE) : m_backColor;
    mem.FillSolidRect(&rc, fill);
    if (m_pPicture) {
        const double ratio = fitRatio(rc.Width(), rc.Height());
        m_pPicture->Render(mem, m_offsetX, m_offsetY, toLong(m_zoom * m_width), toLong(m_zoom * m_height), 0,
                           m_hmHeight, toLong(m_hmWidth * ratio), toLong(-m_hmHeight * ratio), &rc);
    }
}

// One step of 1.5 about the cursor, so the point under the cursor stays where it is. From zoom 1 the limits
// allow two steps out (4/9) and eight steps in (1.5^8, about 25.6).
BOOL CMavPicture::OnMouseWheel(UINT flags, short delta, CPoint screenPoint)
{
    (void)flags;
    POINT p{screenPoint.x, screenPoint.y};
    ScreenToClient(&p);
    if (delta <= 0) {
        if (m_zoom < 0.5)
            return FALSE;
        m_zoom /= 1.5;
        m_offsetX = static_cast<int>((m_offsetX - p.x) / 1.5 + p.x);
        m_offsetY = static_cast<int>((m_offsetY - p.y) / 1.5 + p.y);
    } else {
        if (m_zoom > 20.0)
            return FALSE;
        m_zoom *= 1.5;
        m_offsetX = static_cast<int>((m_offsetX - p.x) * 1.5 + p.x);
        m_offsetY = static_cast<int>((m_offsetY - p.y) * 1.5 + p.y);
    }
    invalidate();
    return static_cast<BOOL>(Default());
}

void CMavPicture::OnMButtonDown(UINT flags, CPoint point)
{
    (void)flags;
    SetFocus();
    SetCapture();
    m_panBaseX = m_offsetX;
    m_panBaseY = m_offsetY;
    m_panAnchor = point;
    Default();
}

// The offset follows the cursor from the press. While a repaint is still waiting, moves only update the offset:
// the waiting paint shows the latest one, and a slow picture does not pile up paints behind the mouse.
void CMavPicture::OnMouseMove(UINT flags, CPoint point)
{
    if (flags & MK_MBUTTON) {
        m_offsetX = m_panBaseX + point.x - m_panAnchor.x;
        m_offsetY = m_panBaseY + point.y - m_panAnchor.y;
        MSG waiting;
        if (PeekMessageW(&waiting, m_hWnd, WM_PAINT, WM_PAINT, PM_NOREMOVE))
            return;
        invalidate();
    }
    Default();
}

void CMavPicture::OnMButtonUp(UINT flags, CPoint point)
{
    (void)flags;
    (void)point;
    ::ReleaseCapture();
    Default();
}
