// Plain reference versions of the display list's bulk operations, written the straightforward way (extents
// recomputed from every item's geometry after every single flag change, items copied when reordered, keys tried
// one by one). The tests compare the list's results with them; the benchmark measures against them.
#pragma once

#include <algorithm>

#include "gdx/CMavGDX.h"
#include "gdx/gdxMap.h"
#include "base/g_vl.h"

namespace gdxref {

inline bool startsWith(const CMavArrayTempl<int>& path, const CMavArrayTempl<int>& prefix)
{
    if (path.len() < prefix.len())
        return false;
    for (int i = 0; i < prefix.len(); ++i)
        if (path[i] != prefix[i])
            return false;
    return true;
}

// Box of a polyline carried by the matrices in order; an empty polyline's box is the origin.
inline void chainBox(const CMavVertexArray& vl, const CMavMatrix3d* const* chain, int n, CMavPoint3d& lo,
                     CMavPoint3d& hi)
{
    lo = hi = CMavPoint3d::kOrigin;
    CMavVertexArray copy = vl;
    for (int i = 0; i < n; ++i)
        copy.transformBy(*chain[i]);
    copy.extents(lo, hi);
}

// The extents of a list computed from scratch from its items.
inline void extentsFromScratch(const CMavGDX& g, CMavPoint3d& outLo, CMavPoint3d& outHi)
{
    outLo = outHi = CMavPoint3d::kOrigin;
    bool first = true;
    const CMavArrayTempl<CMavDisplayItem>& items = g.getDisplayList();
    for (int i = 0; i < items.len(); ++i) {
        const CMavDisplayItem& it = items[i];
        if (it.m_flags & 0x8u)
            continue;
        const CMavMatrix3d* chain[4] = {&it.m_mtx.get(), &it.rare().m_mtx2.get(), &g.projMtxGet(), &g.viewDirectionMtxGet()};
        CMavPoint3d lo, hi;
        if (it.m_kind == kDispPolyline) {
            chainBox(it.m_vl, chain, 4, lo, hi);
        } else if (it.m_kind == kDispRegion) {
            chainBox(it.rare().m_regl.isEmpty() ? CMavVertexArray() : it.rare().m_regl[0], chain, 4, lo, hi);
        } else if (it.m_kind == kDispPoint) {
            lo = it.rare().m_point;
            for (const CMavMatrix3d* m : chain)
                lo.transformBy(*m);
            hi = lo;
        } else if (it.m_kind == kDispText && !it.rare().m_txtRegl.isEmpty()) {
            const auto first0 = [](const CMavArrayTempl<CMavVertexArray>& r) {
                return r.isEmpty() ? CMavVertexArray() : r[0];
            };
            chainBox(first0(it.rare().m_txtRegl[0]), chain, 4, lo, hi);
            for (int r = 1; r < it.rare().m_txtRegl.len(); ++r) {
                CMavPoint3d a, b;
                chainBox(first0(it.rare().m_txtRegl[r]), chain, 4, a, b);
                CMavPoint3d mn = MAV::p_min(lo, a), mx = MAV::p_max(hi, b);
                lo.x = mn.x;
                lo.y = mn.y;
                hi.x = mx.x;
                hi.y = mx.y;
            }
        } else {
            continue;
        }
        if (first) {
            outLo = lo;
            outHi = hi;
            first = false;
        } else {
            outLo = MAV::p_min(outLo, lo);
            outHi = MAV::p_max(outHi, hi);
        }
    }
}

// A display list whose propSet, redraw, clear(stack), sort and hit test are the plain versions.
class RefGDX : public CMavGDX {
public:
    RefGDX() : CMavGDX(CMavColor(), CMavMatrix3d(), 0.0, 0, CMavPoint3d(), CMavPoint3d()) {}
    explicit RefGDX(const CMavGDX& g) : CMavGDX(g) {}

    void recompute()
    {
        CMavPoint3d lo, hi;
        extentsFromScratch(*this, lo, hi);
        extentsStore(lo, hi);
    }
    // One flag change with a full recomputation after it, as a single flagSet does.
    void flagSetPlain(int item, unsigned long code)
    {
        if (flagApply(item, code))
            recompute();
    }
    bool propSetPlain(const CMavArrayTempl<int>& stack, unsigned long code)
    {
        if (lenGet() == 0 || stack.isEmpty())
            return false;
        const CMavArrayTempl<int> nrs = StackToItemNr(stack);
        if (nrs.isEmpty())
            return false;
        for (int i = 0; i < nrs.len(); ++i)
            flagSetPlain(nrs[i], code);
        recompute();
        return true;
    }
    bool redrawPlain(const CMavArrayTempl<int>& stack, unsigned long code)
    {
        if (lenGet() == 0)
            return false;
        for (int i = 0; i < lenGet(); ++i)
            if (startsWith(getDisplayList()[i].m_stack, stack))
                flagSetPlain(i, code);
        return true;
    }
    // Removes the group's items one at a time from the highest number, recomputing after each.
    bool clearPlain(const CMavArrayTempl<int>& stack)
    {
        const CMavArrayTempl<int> nrs = StackToItemNr(stack);
        if (nrs.isEmpty())
            return false;
        for (int i = nrs.len() - 1; i >= 0; --i) {
            removeItem(nrs[i]);
            recompute();
        }
        return true;
    }
    bool cModeSetPlain(const CMavArrayTempl<int>& stack, GDX_CMODE mode)
    {
        if (lenGet() == 0 || stack.isEmpty())
            return false;
        const CMavArrayTempl<int> nrs = StackToItemNr(stack);
        for (int i = 0; i < nrs.len(); ++i)
            cFlagSet(nrs[i], mode);
        return !nrs.isEmpty();
    }
    // Classes B, C, D, E, F, A collected one after the other; the items copied into the new order.
    void sortPlain()
    {
        const CMavArrayTempl<CMavDisplayItem>& items = getDisplayList();
        if (items.len() < 2)
            return;
        CMavArrayTempl<int> order;
        for (int cls = 0; cls < 6; ++cls)
            for (int i = 0; i < items.len(); ++i)
                if (rankOf(items[i]) == cls)
                    order.append(i);
        bool ascending = true;
        for (int i = 1; i < order.len(); ++i)
            if (order[i] < order[i - 1])
                ascending = false;
        if (ascending)
            return;
        CMavArrayTempl<CMavDisplayItem> sorted;
        for (int i = 0; i < order.len(); ++i)
            sorted.append(items[order[i]]);
        replaceItems(sorted);
    }
    // Records every hit, then reports the first.
    int hitPlain(const CMavPoint3d& imagePoint)
    {
        const CMavPoint3d p = imagePtWc(imagePoint);
        sortPlain();
        CMavArrayTempl<CMavDisplayItem> rev;
        for (int i = lenGet() - 1; i >= 0; --i)
            rev.append(getDisplayList()[i]);
        replaceItems(rev);
        CMavArrayTempl<int> hits;
        for (int i = 0; i < lenGet(); ++i) {
            const CMavDisplayItem& it = getDisplayList()[i];
            if (it.m_kind == kDispPoint) {
                CMavPoint3d q = it.rare().m_point;
                q.transformBy(it.m_mtx);
                if (q.distanceTo(p) <= 5.0)
                    hits.append(i);
            } else if (it.m_kind == kDispPolyline || it.m_kind == kDispRegion) {
                CMavVertexArray vl = it.m_kind == kDispPolyline ? it.m_vl
                                     : it.rare().m_regl.isEmpty()      ? CMavVertexArray()
                                                                : it.rare().m_regl[0];
                vl.transformBy(it.m_mtx);
                for (int s = 0; s < vl.len(); ++s)
                    if (vl[s].lotp(p).distanceTo(p) <= 5.0)
                        hits.append(i);
            }
        }
        if (hits.isEmpty())
            return -1;
        const CMavArrayTempl<int>& path = getDisplayList()[hits[0]].m_stack;
        return path.isEmpty() ? 0 : path[0];
    }

    static int rankOf(const CMavDisplayItem& it)
    {
        const unsigned cm = (it.m_flags >> 8) & 15u;
        if (it.m_kind == kDispPicture)
            return 5;
        if (cm == 0 || cm >= 3)
            return it.m_kind == kDispRegion ? 0 : 1;
        if (cm == 2)
            return 2;
        return it.m_kind == kDispRegion ? 3 : 4;
    }

private:
    // Puts the items in place one by one through the writable access, keeping every other field.
    void replaceItems(const CMavArrayTempl<CMavDisplayItem>& items)
    {
        for (int i = 0; i < items.len(); ++i) {
            itemRef(i) = items[i];
            itemGeometryChanged(i);
        }
    }
};

// Keys tried 1, 2, 3, ... with a lookup each.
inline int keyNewPlain()
{
    for (int k = 1;; ++k)
        if (!getGdxFromMap(k))
            return k;
}

} // namespace gdxref
