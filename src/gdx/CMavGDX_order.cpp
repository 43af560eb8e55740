// The display list's drawing order and hit test.
//
// Drawing order: every item falls into one class by kind and colour mode (cm):
//   B regions with cm 0 or >= 3, C other items with cm 0 or >= 3, D items with cm 2 (reference),
//   E regions with cm 1 (highlight), F other items with cm 1, A pictures (any cm),
// and the list is drawn B, C, D, E, F, A, each class in its list order. Hidden items sort like the others.
#include <algorithm>
#include <vector>

#include "gdx/CMavGDX.h"
#include "gdx/gdxBox.h"

namespace {

// Position of an item's class in the drawing order (B = 0 ... A = 5).
int drawRank(const CMavDisplayItem& it)
{
    if (it.m_kind == kDispPicture)
        return 5;
    const unsigned cm = (it.m_flags >> 8) & 15u;
    const bool region = it.m_kind == kDispRegion;
    if (cm == 0 || cm >= 3)
        return region ? 0 : 1;
    if (cm == 2)
        return 2;
    return region ? 3 : 4; // cm 1
}

constexpr double kHitTolerance = 5.0; // world units

} // namespace

// A stable counting sort by class. When the list is already in drawing order nothing is touched; otherwise the
// items are moved (not copied) into the new order.
void CMavGDX::displListSort()
{
    const int n = m_items.len();
    if (n < 2)
        return;
    const CMavDisplayItem* items = m_items.data();
    std::vector<unsigned char> rank(static_cast<std::size_t>(n));
    int count[6] = {0, 0, 0, 0, 0, 0};
    bool ordered = true;
    int prev = 0;
    for (int i = 0; i < n; ++i) {
        const int r = drawRank(items[i]);
        rank[static_cast<std::size_t>(i)] = static_cast<unsigned char>(r);
        ++count[r];
        if (r < prev)
            ordered = false;
        prev = r;
    }
    if (ordered)
        return;

    int start[6];
    int pos = 0;
    for (int r = 0; r < 6; ++r) {
        start[r] = pos;
        pos += count[r];
    }
    std::vector<int> order(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        order[static_cast<std::size_t>(start[rank[static_cast<std::size_t>(i)]]++)] = i;

    CMavArrayTempl<CMavDisplayItem> sorted;
    sorted.setPhysicalLength(n);
    CMavDisplayItem* src = m_items.data();
    for (int i = 0; i < n; ++i)
        sorted.append(std::move(src[order[static_cast<std::size_t>(i)]]));
    m_items = std::move(sorted);
    boxesReorder(order);
}

// Hit test: sort into drawing order, reverse so that the item drawn last comes first (the list keeps that
// order), and return the first path entry of the first item within 5 world units of the world point under the
// image point. Points are hit by their placed point; polylines and regions (first outline) by the foot of the
// perpendicular on any of their placed segments; other kinds never. An item with an empty path reads its first
// entry as the array's default, 0.
int CMavGDX::imageItemGet(const CMavPoint3d& imagePoint)
{
    const CMavPoint3d p = imagePtWc(imagePoint);
    displListSort();
    const int n = m_items.len();
    if (n == 0)
        return -1;
    std::reverse(m_items.begin(), m_items.end());
    if (m_boxes.size() == static_cast<std::size_t>(n))
        std::reverse(m_boxes.begin(), m_boxes.end());
    else
        m_boxes.assign(static_cast<std::size_t>(n), ItemBox());

    for (const CMavDisplayItem& it : m_items) {
        bool hit = false;
        if (it.m_kind == kDispPoint) {
            hit = (it.m_mtx * it.m_point).distanceTo(p) <= kHitTolerance;
        } else if (it.m_kind == kDispPolyline || it.m_kind == kDispRegion) {
            const CMavVertexArray& vl = it.m_kind == kDispPolyline ? it.m_vl : it.m_regl.at(0);
            if (vl.isEmpty())
                continue;
            const CMavVertexArray placed = vl.getTransformedCopy(it.m_mtx);
            for (const CMavVertex& seg : placed) {
                if (seg.lotp(p).distanceTo(p) <= kHitTolerance) {
                    hit = true;
                    break;
                }
            }
        }
        if (hit)
            return it.m_stack.at(0);
    }
    return -1;
}
