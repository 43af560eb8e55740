// The display list's drawing order and hit test.
//
// Drawing order: every item falls into one class by kind and colour mode (cm):
//   B regions with cm 0 or >= 3, C other items with cm 0 or >= 3, D items with cm 2 (reference),
//   E regions with cm 1 (highlight), F other items with cm 1, A pictures (any cm),
// and the list is drawn B, C, D, E, F, A, each class in its list order. Hidden items sort like the others.
#include <algorithm>
#include <cmath>
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

// Fills `order` with the item numbers in drawing order (a stable counting sort by class); true when that is
// the order they already have.
bool drawingOrder(const CMavArrayTempl<CMavDisplayItem>& list, std::vector<int>& order)
{
    const int n = list.len();
    const CMavDisplayItem* items = list.data();
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
    int start[6];
    int pos = 0;
    for (int r = 0; r < 6; ++r) {
        start[r] = pos;
        pos += count[r];
    }
    order.assign(static_cast<std::size_t>(n), 0);
    for (int i = 0; i < n; ++i)
        order[static_cast<std::size_t>(start[rank[static_cast<std::size_t>(i)]]++)] = i;
    return ordered;
}

constexpr double kHitTolerance = 5.0; // world units

// True when the segment, placed by m, certainly lies farther than the tolerance from p, judged without building
// the placed polyline. Placing keeps the size of a bulge (only its sign may change), and an arc with bulge b on
// a chord of length c lies within max(c/2, |b| c/2) of the chord's midpoint, a straight segment within c/2. The
// small relative margin keeps the judgement on the safe side of rounding; anything not finite is never rejected.
bool segmentSurelyMissed(const CMavVertex& seg, const CMavMatrix3d& m, const CMavPoint3d& p)
{
    const CMavPoint3d a = m * seg.start;
    const CMavPoint3d b = m * seg.end;
    const CMavPoint3d mid((a.x + b.x) * 0.5, (a.y + b.y) * 0.5, (a.z + b.z) * 0.5);
    const double half = a.distanceTo(b) * 0.5;
    const double bulge = std::fabs(seg.bulge);
    const double reach = half * (bulge > 1.0 && std::isfinite(bulge) ? bulge : 1.0);
    const double dist = mid.distanceTo(p);
    const double scale = std::fabs(mid.x) + std::fabs(mid.y) + std::fabs(mid.z) + reach + kHitTolerance;
    return dist > reach + kHitTolerance + 1e-9 * scale;
}

} // namespace

void CMavGDX::itemsReorder(const std::vector<int>& order)
{
    const int n = m_items.len();
    CMavArrayTempl<CMavDisplayItem> sorted;
    sorted.setPhysicalLength(n);
    CMavDisplayItem* src = m_items.data();
    for (int i = 0; i < n; ++i)
        sorted.append(std::move(src[order[static_cast<std::size_t>(i)]]));
    m_items = std::move(sorted);
    boxesReorder(order);
}

// When the list is already in drawing order nothing is touched; otherwise the items are moved (not copied) into
// the new order.
void CMavGDX::displListSort()
{
    if (m_items.len() < 2)
        return;
    std::vector<int> order;
    if (!drawingOrder(m_items, order))
        itemsReorder(order);
}

// Hit test: sort into drawing order and reverse, so that the item drawn last comes first (the list keeps that
// order; both steps are done as one reordering), then return the first path entry of the first item within 5
// world units of the world point under the image point. Points are hit by their placed point; polylines and
// regions (first outline) by the foot of the perpendicular on any of their placed segments; other kinds never.
// An item with an empty path reads its first entry as the array's default, 0.
int CMavGDX::imageItemGet(const CMavPoint3d& imagePoint)
{
    const CMavPoint3d p = imagePtWc(imagePoint);
    const int n = m_items.len();
    if (n == 0)
        return -1;
    if (n >= 2) {
        std::vector<int> order;
        drawingOrder(m_items, order);
        std::reverse(order.begin(), order.end());
        bool identity = true;
        for (int i = 0; i < n && identity; ++i)
            identity = order[static_cast<std::size_t>(i)] == i;
        if (!identity)
            itemsReorder(order);
    }

    for (const CMavDisplayItem& it : m_items) {
        bool hit = false;
        if (it.m_kind == kDispPoint) {
            hit = (it.m_mtx * it.rare().m_point).distanceTo(p) <= kHitTolerance;
        } else if (it.m_kind == kDispPolyline || it.m_kind == kDispRegion) {
            const CMavVertexArray& vl = it.m_kind == kDispPolyline ? it.m_vl : it.rare().m_regl.at(0);
            bool possible = false;
            for (const CMavVertex& seg : vl) {
                if (!segmentSurelyMissed(seg, it.m_mtx, p)) {
                    possible = true;
                    break;
                }
            }
            if (!possible)
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
