// The display list's view: viewing direction, boxes, the fit of a box into a window and the inverse mapping of an
// image point.
//
// Matrices chain from an item to the image as: item matrix, view direction, view, projection, zoom (in a product
// A * B applied to a point, B acts first).
#include <cmath>

#include "gdx/CMavGDX.h"
#include "gdx/gdxBox.h"
#include "geometry/viewdir.h"
#include "base/g_vl.h"
#include "data/outlines.h"


void CMavGDX::viewDirectionMtxSet(const CMavMatrix3d& m)
{
    m_vdirMtx = m;
    projMtxSet(m_projMtx);
}

// The matrix that looks along `dir` about the origin.
void CMavGDX::viewDirectionHvcSet(const CMavVector3d& dir)
{
    m_vdirMtx = MAV::g_mtx_view(dir, CMavPoint3d::kOrigin, true);
    projMtxSet(m_projMtx);
}

// One of the nine view names; anything else changes nothing.
bool CMavGDX::viewDirectionSet(CMavString name)
{
    static const wchar_t* const kNames[] = {L"P", L"N", L"S", L"O", L"W", L"NO", L"NW", L"SO", L"SW"};
    bool known = false;
    for (const wchar_t* n : kNames)
        if (name == CMavString(n))
            known = true;
    if (!known)
        return false;
    viewDirectionHvcSet(mav_gdx_view_vdir_get(name));
    return true;
}

void CMavGDX::extmaxGet(CMavPoint3d& min, CMavPoint3d& max) const
{
    min = m_extMin;
    max = m_extMax;
}

// Widens the caller's min and max by the boxes (item matrix and projection only) of the group's polylines,
// points and regions; items of other kinds count as found but add nothing.
bool CMavGDX::extmaxGet(const CMavArrayTempl<int>& stack, CMavPoint3d& min, CMavPoint3d& max) const
{
    if (stack.isEmpty())
        return false;
    bool found = false;
    for (const CMavDisplayItem& it : m_items) {
        if (!MAV::gdx::pathStartsWith(it.m_stack, stack))
            continue;
        found = true;
        CMavPoint3d lo, hi;
        if (MAV::gdx::itemQuickBox(it, m_projMtx, lo, hi)) {
            min = MAV::p_min(min, lo);
            max = MAV::p_max(max, hi);
        }
    }
    return found;
}

void CMavGDX::extMaxViewSet(const CMavPoint3d& min, const CMavPoint3d& max)
{
    m_viewMin = min;
    m_viewMax = max;
}

void CMavGDX::extMaxViewSet()
{
    m_viewMin = m_extMin;
    m_viewMax = m_extMax;
}

// The view extents count as not set while both corners are equal; then the extents stand in.
void CMavGDX::extMaxViewGet(CMavPoint3d& min, CMavPoint3d& max) const
{
    if (m_viewMin != m_viewMax) {
        min = m_viewMin;
        max = m_viewMax;
    } else {
        min = m_extMin;
        max = m_extMax;
    }
}

// The zoom is undone first, then the projection, the view and the view direction. A matrix without an inverse
// (singular or not finite) is passed over: the base library's inverse of it is the identity.
CMavPoint3d CMavGDX::imagePtWc(const CMavPoint3d& imagePoint) const
{
    const CMavMatrix3d m = m_vdirMtx.inverse() * m_viewMtx.inverse() * m_projMtx.inverse() * m_zoomMtx.inverse();
    return m * imagePoint;
}

// Fit of a box into h x w pixels: the box grows by margin x its larger side on each side, the scale s makes the
// tighter side fill the window, the other side is centred, and y is turned to point down:
// (x, y, z) -> (s (x - min.x), h - s (y - min.y), s z) with min the grown and centred corner.
// A box that is empty, inverted or not finite after the margin gives the identity.
CMavMatrix3d getViewMtx(CMavPoint3d min, CMavPoint3d max, int height, int width, double margin)
{
    const double h = height == 0 ? 240.0 : static_cast<double>(height);
    const double w = width == 0 ? 320.0 : static_cast<double>(width);
    const double ex = max.x - min.x;
    const double ey = max.y - min.y;
    const double m = margin * (ex > ey ? ex : ey);
    max += CMavVector3d(m, m, 0.0);
    min -= CMavVector3d(m, m, 0.0);
    const double dx = max.x - min.x;
    const double dy = max.y - min.y;
    if (!(dx > 0.0) || !(dy > 0.0) || !std::isfinite(dx) || !std::isfinite(dy))
        return CMavMatrix3d::kIdentity;
    const double s = (w / h > dx / dy) ? h / dy : w / dx;
    const double px = (w / s - dx) * 0.5;
    const double py = (h / s - dy) * 0.5;
    min -= CMavVector3d(px, py, 0.0);

    CMavMatrix3d f;
    f.setCoordSystem(CMavPoint3d(0.0, h, 0.0), CMavVector3d::kXAxis, -CMavVector3d::kYAxis, CMavVector3d::kZAxis);
    CMavMatrix3d sm;
    sm.setCoordSystem(CMavPoint3d(-s * min.x, -s * min.y, 0.0), CMavVector3d(s, 0.0, 0.0), CMavVector3d(0.0, s, 0.0),
                      CMavVector3d(0.0, 0.0, s));
    return f * sm;
}
