// The slide viewer: an AutoCAD slide scaled uniformly into the client area, on a background in an AutoCAD
// colour index, and recorded as an enhanced metafile for the clipboard.
//
// The slide's records come from the shared decoder; this control is the sink that draws them with GDI. The
// coordinate system: w and h are the target's width and height less one, the scale is the smaller of w / highX
// and h / highY, and the unused room is split evenly (offsets truncated and halved). A slide point (x, y) lands on
// (truncate(x * scale + offX), truncate((highY - y) * scale + offY)): the slide's y axis points up.
//
// Colour 7 is "the colour that contrasts with the background": it is drawn black when the background index is 7
// (white), and always black in a metafile, which is pasted onto white paper.
#include "render/CMavSlidePic.h"

#include <cmath>
#include <string>

#include "data/acadRGB.h"

IMPLEMENT_DYNAMIC(CMavSlidePic, CWnd)

namespace {

// Device coordinates far beyond any screen or metafile: hostile slides cannot push a conversion out of range.
constexpr double kDeviceLimit = 268435455.0;  // 2^28 - 1

int truncateToDevice(double v)
{
    if (!(v > -kDeviceLimit))
        return -static_cast<int>(kDeviceLimit);
    if (!(v < kDeviceLimit))
        return static_cast<int>(kDeviceLimit);
    return static_cast<int>(v);
}

// Half of v rounded toward minus infinity, the arithmetic shift right by one, for negative values too.
int halfDown(int v) { return v >= 0 ? v / 2 : -((1 - v) / 2); }

} // namespace

CMavSlidePic::CMavSlidePic()
{
    m_pen.CreatePen(PS_SOLID, 0, acadRGB(7));
    m_brush.CreateSolidBrush(acadRGB(7));
    m_bkBrush.CreateSolidBrush(acadRGB(0));
    m_emptyBrush.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
}

CMavSlidePic::~CMavSlidePic() = default;

COLORREF CMavSlidePic::acadRGB(int index)
{
    return static_cast<COLORREF>(::acadRGB(index));
}

// ---------------------------------------------------------------------------------------------------------------
// Loading.

bool CMavSlidePic::show(const wchar_t* name, const wchar_t* library)
{
    show(nullptr, 0);
    if (name == nullptr)
        return false;
    std::vector<unsigned char> bytes;
    bool found = false;
    if (library != nullptr && library[0] != 0) {
        // Directory names are 8-bit text of at most 32 bytes; a longer name is in no directory.
        const int n = ::WideCharToMultiByte(CP_ACP, 0, name, -1, nullptr, 0, nullptr, nullptr);
        if (n > 0 && n - 1 <= 32) {
            std::string name8(static_cast<size_t>(n), '\0');
            ::WideCharToMultiByte(CP_ACP, 0, name, -1, &name8[0], n, nullptr, nullptr);
            name8.resize(static_cast<size_t>(n - 1));
            found = MAV::slideLibraryLoad(library, name8, bytes);
        }
    } else {
        found = MAV::slideFileLoad(name, bytes);
    }
    if (!found)
        return false;
    m_data.swap(bytes);
    m_loaded = true;
    m_dataSize = static_cast<uint32_t>(m_data.size() & 0xFFFFFFFFu);
    return true;
}

void CMavSlidePic::show(void* data, int size)
{
    m_data.clear();
    m_loaded = false;
    if (data != nullptr) {
        const unsigned char* bytes = static_cast<const unsigned char*>(data);
        m_data.assign(bytes, bytes + (size > 0 ? size : 0));
        m_loaded = true;
    }
    m_readPos = 0;
    m_dataSize = static_cast<uint32_t>(m_data.size() & 0xFFFFFFFFu);
    if (m_hWnd)
        Invalidate(TRUE);
}

bool CMavSlidePic::LoadSlide(unsigned long id, const wchar_t* type)
{
    // Resource ids are 16-bit numbers.
    if (id == 0 || id > 0xFFFFul || type == nullptr)
        return false;
    LPCWSTR name = MAKEINTRESOURCEW(static_cast<WORD>(id));
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC res = ::FindResourceW(module, name, type);
    if (res == nullptr)
        return false;
    HGLOBAL loaded = ::LoadResource(module, res);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    const DWORD size = ::SizeofResource(module, res);
    if (bytes == nullptr || size > 0x7FFFFFFFu)
        return false;
    show(const_cast<void*>(bytes), static_cast<int>(size));
    return true;
}

// ---------------------------------------------------------------------------------------------------------------
// Settings and the clipboard.

int CMavSlidePic::SetBkColor(int index)
{
    m_bkIndex = index;
    CBrush brush;
    if (brush.CreateSolidBrush(acadRGB(index))) {
        m_bkBrush.DeleteObject();
        m_bkBrush.Attach(brush.Detach());
    }
    return 1;
}

// The raster size read from the slide's header, so that it is right before the first paint of a new slide; a
// header that cannot be read leaves the size of the last drawing pass.
bool CMavSlidePic::getSize(long& x, long& y)
{
    if (!m_loaded)
        return false;
    MAV::SlideHeader_st header;
    if (m_decoder.readHeader(m_data.data(), m_data.size(), header)) {
        m_highX = static_cast<uint16_t>(header.highX & 0xFFFF);
        m_highY = static_cast<uint16_t>(header.highY & 0xFFFF);
    }
    x = m_highX;
    y = m_highY;
    return true;
}

bool CMavSlidePic::Copy()
{
    if (!::OpenClipboard(m_hWnd))
        return false;
    ::EmptyClipboard();
    long x = m_highX, y = m_highY;
    getSize(x, y);
    HENHMETAFILE emf = CreateEnhMetaFileW(CRect(0, 0, static_cast<int>(x), static_cast<int>(y)));
    if (emf != nullptr && ::SetClipboardData(CF_ENHMETAFILE, emf) == nullptr)
        ::DeleteEnhMetaFile(emf);
    ::CloseClipboard();
    return true;
}

HENHMETAFILE CMavSlidePic::CreateEnhMetaFileW(CRect rect)
{
    // The picture frame, in hundredths of a millimetre, is the rectangle on the screen the metafile refers to.
    HDC screen = ::GetDC(nullptr);
    RECT frame{0, 0, 0, 0};
    const RECT* framePtr = nullptr;
    if (screen != nullptr) {
        const int hres = ::GetDeviceCaps(screen, HORZRES), vres = ::GetDeviceCaps(screen, VERTRES);
        const int hmm = ::GetDeviceCaps(screen, HORZSIZE), vmm = ::GetDeviceCaps(screen, VERTSIZE);
        if (hres > 0 && vres > 0 && hmm > 0 && vmm > 0 && rect.right > rect.left && rect.bottom > rect.top) {
            frame.left = ::MulDiv(rect.left, hmm * 100, hres);
            frame.top = ::MulDiv(rect.top, vmm * 100, vres);
            frame.right = ::MulDiv(rect.right, hmm * 100, hres);
            frame.bottom = ::MulDiv(rect.bottom, vmm * 100, vres);
            framePtr = &frame;
        }
    }
    HDC rec = ::CreateEnhMetaFileW(screen, nullptr, framePtr, L"MavMfc\0Slide\0");
    if (screen != nullptr)
        ::ReleaseDC(nullptr, screen);
    if (rec == nullptr)
        return nullptr;
    CDC dc;
    dc.Attach(rec);
    const int savedBk = m_bkIndex;
    m_bkIndex = 7;
    m_pDC = &dc;
    draw(rect);
    m_pDC = nullptr;
    m_bkIndex = savedBk;
    dc.Detach();
    return ::CloseEnhMetaFile(rec);
}

// ---------------------------------------------------------------------------------------------------------------
// Painting.

void CMavSlidePic::OnPaint()
{
    CPaintDC dc(this);
    paint(dc);
}

// WM_PRINTCLIENT draws exactly what a paint cycle draws, into the DC given.
LRESULT CMavSlidePic::OnPrintClient(CDC* dc, UINT)
{
    if (dc != nullptr && dc->GetSafeHdc() != nullptr)
        paint(*dc);
    return 0;
}

void CMavSlidePic::OnPaintClipboard(CWnd*, HGLOBAL)
{
    Default();
}

// A transparent window leaves what lies beneath it and paints only the slide's lines and fills; any other window
// first fills its client area with the background (button face while no slide is loaded), framed by the DC's
// current pen. The background brush stays selected for the records: only a colour record selects the fill brush,
// so a fill that comes before any colour record is filled with the background and edged with the DC's pen. The
// DC gets its brush back with the rest of its state at the end.
void CMavSlidePic::paint(CDC& dc)
{
    CRect client;
    GetClientRect(&client);
    const int saved = dc.SaveDC();
    CRgn clip;
    if (clip.CreateRectRgn(0, 0, client.Width(), client.Height()))
        dc.SelectClipRgn(&clip);
    m_pDC = &dc;
    if (!(GetExStyle() & WS_EX_TRANSPARENT)) {
        ::SelectObject(dc.GetSafeHdc(), (m_loaded ? m_bkBrush : m_emptyBrush).GetSafeHandle());
        dc.Rectangle(0, 0, client.Width(), client.Height());
    }
    draw(client);
    m_pDC = nullptr;
    dc.RestoreDC(saved);
}

// One drawing pass over the loaded slide into the current drawing context. The DC gets back its pen, brush and
// everything else; the pen and brush of the last colour record stay with the control.
bool CMavSlidePic::draw(CRect rect)
{
    if (!m_loaded || m_pDC == nullptr)
        return false;
    m_readPos = 0;
    const int saved = m_pDC->SaveDC();
    // The decoder calls slideHeader before any record, which sets the coordinate system for this rectangle.
    m_target = rect;
    const MAV::SlideResult_st res = m_decoder.decode(m_data.data(), m_data.size(), *this);
    m_readPos = static_cast<uint32_t>(res.position & 0xFFFFFFFFu);
    m_pDC->RestoreDC(saved);
    return res.headerRead();
}

bool CMavSlidePic::SetCoordSystem(CRect rect, int highX, int highY)
{
    if (m_pDC == nullptr)
        return false;
    const int w = rect.Width() - 1, h = rect.Height() - 1;
    // A raster of one dot in a direction puts no bound on the scale in that direction.
    if (highX > 0 && highY > 0)
        m_scale = std::fmin(static_cast<double>(w) / highX, static_cast<double>(h) / highY);
    else if (highX > 0)
        m_scale = static_cast<double>(w) / highX;
    else if (highY > 0)
        m_scale = static_cast<double>(h) / highY;
    else
        m_scale = 1.0;
    m_offX = halfDown(truncateToDevice(w - highX * m_scale));
    m_offY = halfDown(truncateToDevice(h - highY * m_scale));
    return true;
}

POINT CMavSlidePic::trans(int x, int y) const
{
    POINT p;
    p.x = truncateToDevice(x * m_scale + m_offX);
    p.y = truncateToDevice((static_cast<double>(m_highY) - y) * m_scale + m_offY);
    return p;
}

void CMavSlidePic::MoveTo(POINT p)
{
    m_pDC->MoveTo(p.x, p.y);
}

void CMavSlidePic::LineTo(POINT p)
{
    m_pDC->LineTo(p.x, p.y);
}

void CMavSlidePic::Polygon(std::vector<POINT>& points)
{
    m_pDC->Polygon(points.data(), static_cast<int>(points.size()));
}

void CMavSlidePic::newColor(int index)
{
    if (index == 7 && m_bkIndex == 7)
        index = 0;
    const COLORREF c = acadRGB(index);
    CPen pen;
    CBrush brush;
    if (!pen.CreatePen(PS_SOLID, 1, c) || !brush.CreateSolidBrush(c))
        return;
    // The new objects are selected before the old ones are deleted, so none is deleted while selected.
    ::SelectObject(m_pDC->GetSafeHdc(), pen.GetSafeHandle());
    ::SelectObject(m_pDC->GetSafeHdc(), brush.GetSafeHandle());
    m_pen.DeleteObject();
    m_pen.Attach(pen.Detach());
    m_brush.DeleteObject();
    m_brush.Attach(brush.Detach());
}

void CMavSlidePic::slideHeader(const MAV::SlideHeader_st& header)
{
    m_highX = static_cast<uint16_t>(header.highX & 0xFFFF);
    m_highY = static_cast<uint16_t>(header.highY & 0xFFFF);
    SetCoordSystem(m_target, m_highX, m_highY);
}

void CMavSlidePic::slideLine(MAV::SlidePoint_st from, MAV::SlidePoint_st to)
{
    MoveTo(trans(from));
    LineTo(trans(to));
}

void CMavSlidePic::slidePolygon(const MAV::SlidePoint_st* vertices, int count)
{
    if (count < 1)
        return;
    m_points.clear();
    for (int i = 0; i < count; ++i)
        m_points.push_back(trans(vertices[i]));
    m_points.push_back(m_points.front());
    Polygon(m_points);
}

void CMavSlidePic::slideColor(int index)
{
    newColor(index);
}
