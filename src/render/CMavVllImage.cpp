// The polyline list view. Its display list holds the base point in group {0} and polyline i in group {i + 1}, so a
// click on polyline i reports i + 1 to the parent and 0 for the base point. Polylines draw with colour mode 6,
// whose colour-table entry is kept at the contrast colour; the current one switches to colour mode 1, the
// highlight colour of the list's colour table.
#include "render/CMavVllImage.h"

#include <climits>

#include "data/CMavApp.h"
#include "base/CMavMatrix3d.h"
#include "base/CMavPoint3d.h"

IMPLEMENT_DYNAMIC(CMavVllImage, CMavDplistImage)

namespace {

const GDX_CMODE kContrastMode = static_cast<GDX_CMODE>(6);
constexpr unsigned long kBaseFlags = 0x400;        // colour mode 4, "BASE"
constexpr unsigned long kBaseHiddenFlags = 0x40C;  // also hidden and left out of the extents
constexpr unsigned long kPolylineFlags = 0x600;    // colour mode 6, the contrast colour
constexpr unsigned long kCurrentFlags = 0x100;     // colour mode 1, "HIGHLIGHT"

CMavColor colourOf(COLORREF bgr)
{
    CMavColor c;
    c.setOleColor(bgr);
    return c;
}

CMavArrayTempl<int> group(int n)
{
    CMavArrayTempl<int> stack;
    stack.append(n);
    return stack;
}

} // namespace

CMavVllImage::CMavVllImage()
{
    set_dpList(&m_gdx);
    CMavApp* app = mavAppPtr();
    SetBkColor(app ? app->bkColorGet() : 0);
}

CMavVllImage::~CMavVllImage()
{
    set_dpList(nullptr);
}

bool CMavVllImage::setVll(const CMavArrayTempl<CMavVertexArray>& polylines)
{
    m_gdx.clear();
    const CMavColor contrast = colourOf(m_contrastColor);
    const CMavMatrix3d& id = CMavMatrix3d::kIdentity;
    m_gdx.imagePt(group(0), m_drawBase ? kBaseFlags : kBaseHiddenFlags, CMavPoint3d(0, 0, 0), contrast, id,
                  m_basePtSize, static_cast<unsigned long>(static_cast<long>(m_basePtMode)));
    const CMavArrayTempl<double> solid{1.0};
    for (int i = 0; i < polylines.len(); ++i)
        m_gdx.imageVl(group(i + 1), i == m_curVl ? kCurrentFlags : kPolylineFlags, polylines[i], contrast, id, solid,
                      1.0, 0);
    zoomExtents();
    if (m_hWnd)
        Invalidate(TRUE);
    return true;
}

bool CMavVllImage::setDrawBase(bool draw)
{
    const bool previous = m_drawBase;
    m_drawBase = draw;
    const CMavArrayTempl<int> base = group(0);
    m_gdx.propSet(base, draw ? Mav::kGdxPropShow : Mav::kGdxPropHide);
    m_gdx.propSet(base, draw ? Mav::kGdxPropInExtents : Mav::kGdxPropNoExtents);
    zoomExtents();
    if (m_hWnd)
        Invalidate(TRUE);
    return previous;
}

int CMavVllImage::SetCurVl(int index)
{
    // Polyline i lies in group {i + 1}; no list is long enough to hold an index of INT_MAX, which has no group.
    const int previous = m_curVl;
    if (previous >= 0 && previous < INT_MAX)
        m_gdx.cModeSet(group(previous + 1), kContrastMode);
    if (index >= 0 && index < INT_MAX)
        m_gdx.cModeSet(group(index + 1), GDX_CMODE_HIGHLIGHT);
    m_curVl = index;
    if (m_hWnd)
        Invalidate(TRUE);
    return previous;
}

// Light backgrounds get black lines, dark ones white: the mean of red, green and blue in integers decides, below
// 128 counting as dark.
void CMavVllImage::SetBkColor(unsigned long colour)
{
    m_bkColor = static_cast<COLORREF>(colour & 0xFFFFFFul);
    const int mean = (GetRValue(m_bkColor) + GetGValue(m_bkColor) + GetBValue(m_bkColor)) / 3;
    m_contrastColor = mean < 128 ? 0xFFFFFF : 0;
    m_gdx.backColorSet(colourOf(m_bkColor));
    m_gdx.ColorTabSet(kContrastMode, colourOf(m_contrastColor));
}

void CMavVllImage::OnLButtonDblClk(UINT flags, CPoint point)
{
    (void)flags;
    (void)point;
    Default();
    zoomExtents();
    Invalidate(TRUE);
}
