// The display list: creating items, group (stack path) queries and the group setters.
#include <climits>

#include "gdx/CMavGDX.h"
#include "gdx/gdxBox.h"

namespace {

using MAV::gdx::low32;

// Pen width: the low 32 bits of the caller's value, read as a signed int.
int thicknessFrom(unsigned long v)
{
    const std::uint32_t t = low32(v);
    return t <= 0x7FFFFFFFu ? static_cast<int>(t) : static_cast<int>(static_cast<long long>(t) - 0x100000000LL);
}

// A line pattern as stored: an empty one means solid, {1.0}.
CMavArrayTempl<double> storedPattern(const CMavArrayTempl<double>& pattern)
{
    if (pattern.isEmpty())
        return CMavArrayTempl<double>{1.0};
    return pattern;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------
// Item creation. Each operation builds a default item, fills it and appends it. Polylines, points and regions
// then widen the extents with their box under the item matrix and the projection (not the second matrix nor the
// view direction: that is the full recomputation's business), unless they are flagged 0x8.

void CMavGDX::imageVl(const CMavArrayTempl<int>& stack, unsigned long flags, const CMavVertexArray& polyline,
                      const CMavColor& colour, const CMavMatrix3d& matrix, const CMavArrayTempl<double>& linePattern,
                      double patternScale, unsigned long thickness)
{
    CMavDisplayItem item;
    item.m_kind = kDispPolyline;
    item.m_flags = low32(flags);
    item.m_stack = stack;
    item.m_color = colour;
    item.m_lineType = storedPattern(linePattern);
    item.m_ltScale = patternScale;
    item.m_vl = polyline;
    item.m_mtx = matrix;
    item.m_thickness = thicknessFrom(thickness);
    const int nr = appendItem(std::move(item));
    const CMavDisplayItem& added = m_items.data()[nr];
    if (!(added.m_flags & Mav::kGdxNoExtents)) {
        CMavPoint3d lo, hi;
        MAV::gdx::itemQuickBox(added, m_projMtx, lo, hi);
        extentsWiden(lo, hi);
    }
}

void CMavGDX::imagePt(const CMavArrayTempl<int>& stack, unsigned long flags, const CMavPoint3d& point,
                      const CMavColor& colour, const CMavMatrix3d& matrix, double pointSize, unsigned long pointMode)
{
    CMavDisplayItem item;
    item.m_kind = kDispPoint;
    item.m_flags = low32(flags);
    item.m_stack = stack;
    item.m_color = colour;
    item.rareEdit().m_point = point;
    item.m_mtx = matrix;
    item.rareEdit().m_pdSize = pointSize;
    item.rareEdit().m_pdMode = low32(pointMode);
    const int nr = appendItem(std::move(item));
    const CMavDisplayItem& added = m_items.data()[nr];
    if (!(added.m_flags & Mav::kGdxNoExtents)) {
        CMavPoint3d lo, hi;
        MAV::gdx::itemQuickBox(added, m_projMtx, lo, hi);
        extentsWiden(lo, hi);
    }
}

// The fill colour is taken only for filled or hatched regions: the given fill colour when it has a colour index
// of 0 or more, else the line colour. Only the first outline enters the extents.
void CMavGDX::imageReg(const CMavArrayTempl<int>& stack, unsigned long flags,
                       const CMavArrayTempl<CMavVertexArray>& regions, const CMavColor& colour,
                       const CMavMatrix3d& matrix, const CMavArrayTempl<double>& linePattern, double patternScale,
                       unsigned long thickness, const CMavColor& fillColour, const MAV::CHatchProp& hatch)
{
    CMavDisplayItem item;
    item.m_kind = kDispRegion;
    item.m_flags = low32(flags);
    item.m_stack = stack;
    item.m_color = colour;
    item.m_lineType = storedPattern(linePattern);
    item.m_ltScale = patternScale;
    item.rareEdit().m_regl = regions;
    item.m_mtx = matrix;
    item.m_thickness = thicknessFrom(thickness);
    if (item.m_flags & (Mav::kGdxFilled | Mav::kGdxHatched))
        item.rareEdit().m_fcolor = fillColour.colorIndex() >= 0 ? fillColour : colour;
    item.rareEdit().m_hatch = hatch;
    const int nr = appendItem(std::move(item));
    const CMavDisplayItem& added = m_items.data()[nr];
    if (!(added.m_flags & Mav::kGdxNoExtents)) {
        CMavPoint3d lo, hi;
        MAV::gdx::itemQuickBox(added, m_projMtx, lo, hi);
        extentsWiden(lo, hi);
    }
}

// The picture's rectangle is one straight segment from corner1 to corner2, none when they are equal. The
// extents are not touched.
void CMavGDX::imagePicture(const CMavArrayTempl<int>& stack, unsigned long flags, const wchar_t* fileName,
                           int iconId, const CMavPoint3d& corner1, const CMavPoint3d& corner2)
{
    CMavDisplayItem item;
    item.m_kind = kDispPicture;
    item.m_flags = low32(flags);
    item.m_stack = stack;
    item.rareEdit().m_text = CMavString(fileName);
    item.rareEdit().m_pdMode = static_cast<std::uint32_t>(iconId);
    if (corner1 != corner2)
        item.m_vl.append(CMavVertex(corner1, corner2, 0.0));
    appendItem(std::move(item));
}

// Copies of the items are appended in order; the extents are not touched.
bool CMavGDX::addDisplayList(const CMavArrayTempl<CMavDisplayItem>& items)
{
    if (items.isEmpty())
        return false;
    const CMavArrayTempl<CMavDisplayItem> copy(items); // the source may be this list's own array
    reserveItems(copy.len());
    for (const CMavDisplayItem& it : copy)
        appendItem(CMavDisplayItem(it));
    return true;
}

// ---------------------------------------------------------------------------------------------------------------
// Group queries. An item belongs to the group of path P when its own path begins with P; an empty P selects
// nothing.

CMavArrayTempl<int> CMavGDX::StackToItemNr(const CMavArrayTempl<int>& stack) const
{
    CMavArrayTempl<int> nrs;
    if (stack.isEmpty())
        return nrs;
    const int n = m_items.len();
    const CMavDisplayItem* items = m_items.data();
    for (int i = 0; i < n; ++i)
        if (MAV::gdx::pathStartsWith(items[i].m_stack, stack))
            nrs.append(i);
    return nrs;
}

// The greatest first path entry; the search starts at 0, so negative entries never win.
int CMavGDX::stackGet() const
{
    int best = 0;
    for (const CMavDisplayItem& it : m_items)
        if (!it.m_stack.isEmpty() && it.m_stack.data()[0] > best)
            best = it.m_stack.data()[0];
    return best;
}

// Over the items of the group: a longer path offers its entry after the given path, an equal path offers 0;
// the greatest offer, or -1 when nothing offers.
int CMavGDX::stackGet(const CMavArrayTempl<int>& stack) const
{
    if (stack.isEmpty())
        return -1;
    const int depth = stack.len();
    bool offered = false;
    int best = INT_MIN;
    for (const CMavDisplayItem& it : m_items) {
        if (!MAV::gdx::pathStartsWith(it.m_stack, stack))
            continue;
        const int offer = it.m_stack.len() > depth ? it.m_stack.data()[depth] : 0;
        if (!offered || offer > best)
            best = offer;
        offered = true;
    }
    return offered ? best : -1;
}

void CMavGDX::itemStackGet(CMavArrayTempl<int>& stack, int item) const
{
    stack = m_items.at(item).m_stack;
}

// ---------------------------------------------------------------------------------------------------------------
// Group setters

// The group's own item (the first selected one whose path equals the given path, else the last selected one)
// gives the reference matrix R; every selected matrix is then multiplied in place by D = m x R^-1. A singular or
// non-finite R has no inverse: the base library gives the identity for it, so D = m then.
bool CMavGDX::mtxSet(const CMavArrayTempl<int>& stack, const CMavMatrix3d& m)
{
    if (m_items.isEmpty() || stack.isEmpty())
        return false;
    const CMavArrayTempl<int> nrs = StackToItemNr(stack);
    if (nrs.isEmpty())
        return false;
    CMavDisplayItem* items = m_items.data();
    int ref = nrs.data()[nrs.len() - 1];
    for (int nr : nrs) {
        if (MAV::gdx::pathEquals(items[nr].m_stack, stack)) {
            ref = nr;
            break;
        }
    }
    const CMavMatrix3d d = m * items[ref].m_mtx.inverse();
    for (int nr : nrs) {
        items[nr].m_mtx *= d;
        itemGeometryChanged(nr);
    }
    projMtxSet(m_projMtx);
    return true;
}

template <class F>
bool CMavGDX::forGroup(const CMavArrayTempl<int>& stack, bool exact, F f)
{
    if (stack.isEmpty())
        return false;
    bool any = false;
    const int n = m_items.len();
    for (int i = 0; i < n; ++i) {
        const CMavArrayTempl<int>& path = m_items.data()[i].m_stack;
        if (exact ? MAV::gdx::pathEquals(path, stack) : MAV::gdx::pathStartsWith(path, stack)) {
            f(i);
            any = true;
        }
    }
    return any;
}

bool CMavGDX::cModeSet(const CMavArrayTempl<int>& stack, GDX_CMODE mode)
{
    return forGroup(stack, false, [this, mode](int i) { cFlagSet(i, mode); });
}

// Each selected item takes the property code. Recomputing after every item and once more at the end leaves the
// extents of the final flags, so they are recomputed once (even for a code that changes nothing).
bool CMavGDX::propSet(const CMavArrayTempl<int>& stack, unsigned long code)
{
    if (!forGroup(stack, false, [this, code](int i) { flagApply(i, code); }))
        return false;
    projMtxSet(m_projMtx);
    return true;
}

bool CMavGDX::hatchSet(const CMavArrayTempl<int>& stack, const MAV::CHatchProp& hatch)
{
    return forGroup(stack, false, [this, &hatch](int i) { m_items.data()[i].rareEdit().m_hatch = hatch; });
}

// Point styles go only to items whose path equals the given path.
bool CMavGDX::pdModeSet(const CMavArrayTempl<int>& stack, unsigned long mode)
{
    return forGroup(stack, true, [this, mode](int i) { m_items.data()[i].rareEdit().m_pdMode = low32(mode); });
}

bool CMavGDX::pdSizeSet(const CMavArrayTempl<int>& stack, double size)
{
    return forGroup(stack, true, [this, size](int i) { m_items.data()[i].rareEdit().m_pdSize = size; });
}

// Like propSet, but an empty path selects every item, the result is true for any non-empty list, and the
// extents are recomputed only after an item took a known code (one recomputation stands for all of them).
bool CMavGDX::redraw(const CMavArrayTempl<int>& stack, unsigned long code)
{
    if (m_items.isEmpty())
        return false;
    bool changed = false;
    const int n = m_items.len();
    for (int i = 0; i < n; ++i)
        if (MAV::gdx::pathStartsWith(m_items.data()[i].m_stack, stack))
            changed = flagApply(i, code) || changed;
    if (changed)
        projMtxSet(m_projMtx);
    return true;
}
