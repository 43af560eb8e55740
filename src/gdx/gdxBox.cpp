// Boxes of display items for the extents of a display list, and the group-path rule.
//
// Vocabulary: a "box" is an axis-aligned pair of corners (lo, hi) of an item's geometry after it has been
// carried by a chain of matrices; "the extents" of a list are the widening of its items' boxes. Polylines are
// transformed as a whole (copy, then transformBy per matrix in chain order) and measured with the base library's
// extents, so arcs count with their bulge.
#include "gdx/gdxBox.h"

#include "base/g_vl.h"

namespace MAV {
namespace gdx {

bool pathStartsWith(const CMavArrayTempl<int>& path, const CMavArrayTempl<int>& prefix)
{
    const int n = prefix.len();
    if (path.len() < n)
        return false;
    const int* a = path.data();
    const int* b = prefix.data();
    for (int i = 0; i < n; ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

bool pathEquals(const CMavArrayTempl<int>& a, const CMavArrayTempl<int>& b)
{
    return a.len() == b.len() && pathStartsWith(a, b);
}

void polylineBox(const CMavVertexArray& vl, const CMavMatrix3d& m1, const CMavMatrix3d* m2, CMavPoint3d& lo,
                 CMavPoint3d& hi)
{
    lo = CMavPoint3d::kOrigin;
    hi = CMavPoint3d::kOrigin;
    if (vl.isEmpty())
        return;
    CMavVertexArray copy(vl);
    copy.transformBy(m1);
    if (m2)
        copy.transformBy(*m2);
    copy.extents(lo, hi);
}

// The first outline of a region list; an empty list reads as an empty polyline.
static const CMavVertexArray& firstOutline(const CMavArrayTempl<CMavVertexArray>& regions)
{
    return regions.at(0);
}

bool itemQuickBox(const CMavDisplayItem& item, const CMavMatrix3d& projection, CMavPoint3d& lo, CMavPoint3d& hi)
{
    switch (item.m_kind) {
    case kDispPolyline:
        polylineBox(item.m_vl, item.m_mtx, &projection, lo, hi);
        return true;
    case kDispRegion:
        polylineBox(firstOutline(item.rare().m_regl), item.m_mtx, &projection, lo, hi);
        return true;
    case kDispPoint: {
        CMavPoint3d p = item.rare().m_point;
        p.transformBy(item.m_mtx);
        p.transformBy(projection);
        lo = hi = p;
        return true;
    }
    default:
        return false;
    }
}

// A copy of the polyline through the four matrices of the full chain, then its box.
static void fullPolylineBox(const CMavVertexArray& vl, const CMavMatrix3d* chain[4], CMavPoint3d& lo,
                            CMavPoint3d& hi)
{
    lo = CMavPoint3d::kOrigin;
    hi = CMavPoint3d::kOrigin;
    if (vl.isEmpty())
        return;
    // An identity leaves every coordinate as it was (at most a zero changes its sign), so it is skipped: most
    // items carry identities in most places of the chain, and the copy is needed only when something moves.
    const CMavMatrix3d* moving[4];
    int n = 0;
    for (int i = 0; i < 4; ++i) {
        if (*chain[i] != CMavMatrix3d::kIdentity)
            moving[n++] = chain[i];
    }
    if (n == 0) {
        vl.extents(lo, hi);
        return;
    }
    CMavVertexArray copy(vl);
    for (int i = 0; i < n; ++i)
        copy.transformBy(*moving[i]);
    copy.extents(lo, hi);
}

bool itemFullBox(const CMavDisplayItem& item, const CMavMatrix3d& projection, const CMavMatrix3d& viewDirection,
                 CMavPoint3d& lo, CMavPoint3d& hi)
{
    const CMavMatrix3d* chain[4] = {&item.m_mtx.get(), &item.rare().m_mtx2.get(), &projection, &viewDirection};
    switch (item.m_kind) {
    case kDispPolyline:
        fullPolylineBox(item.m_vl, chain, lo, hi);
        return true;
    case kDispRegion:
        fullPolylineBox(firstOutline(item.rare().m_regl), chain, lo, hi);
        return true;
    case kDispPoint: {
        CMavPoint3d p = item.rare().m_point;
        for (int i = 0; i < 4; ++i)
            p.transformBy(*chain[i]);
        lo = hi = p;
        return true;
    }
    case kDispText: {
        // The first region's box, widened in x and y only by the following regions: the z range is the first's.
        const int n = item.rare().m_txtRegl.len();
        if (n == 0)
            return false;
        fullPolylineBox(item.rare().m_txtRegl.data()[0].at(0), chain, lo, hi);
        for (int r = 1; r < n; ++r) {
            CMavPoint3d rlo, rhi;
            fullPolylineBox(item.rare().m_txtRegl.data()[r].at(0), chain, rlo, rhi);
            const CMavPoint3d wlo = MAV::p_min(lo, rlo);
            const CMavPoint3d whi = MAV::p_max(hi, rhi);
            lo.x = wlo.x;
            lo.y = wlo.y;
            hi.x = whi.x;
            hi.y = whi.y;
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace gdx
} // namespace MAV
