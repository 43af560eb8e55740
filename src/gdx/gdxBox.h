// Boxes of display items and the group-path rule, shared by the display list's source files (not public).
#pragma once

#include <cstdint>

#include "gdx/CMavDisplayItem.h"
#include "base/CMavArray.h"
#include "base/CMavMatrix3d.h"
#include "base/CMavPoint3d.h"
#include "base/CMavVertexArray.h"

namespace MAV {
namespace gdx {

// The 32 bits the item's flag word keeps of an `unsigned long` argument (64 bits wide on some platforms).
inline std::uint32_t low32(unsigned long v)
{
    return static_cast<std::uint32_t>(v & 0xFFFFFFFFul);
}

// True when `path` has at least as many entries as `prefix` and begins with it. An empty prefix matches every
// path; callers that give an empty prefix no meaning check for it themselves.
bool pathStartsWith(const CMavArrayTempl<int>& path, const CMavArrayTempl<int>& prefix);
// True when both paths hold the same entries.
bool pathEquals(const CMavArrayTempl<int>& a, const CMavArrayTempl<int>& b);

// Box of a copy of the polyline transformed by m1 and then m2 (m2 may be null). An empty polyline has the
// origin as its box: the base library leaves the corners it is given untouched, and they start at the origin.
void polylineBox(const CMavVertexArray& vl, const CMavMatrix3d& m1, const CMavMatrix3d* m2, CMavPoint3d& lo,
                 CMavPoint3d& hi);

// Box used by the quick extents update of a new item and by the group box: the item matrix, then the projection.
// Polyline, point and region (first outline) have one; false for every other kind.
bool itemQuickBox(const CMavDisplayItem& item, const CMavMatrix3d& projection, CMavPoint3d& lo, CMavPoint3d& hi);

// Box used by the full recomputation: item matrix, second matrix, projection, view direction. False when the
// item has none (kinds 0, 4, picture, a text without regions).
bool itemFullBox(const CMavDisplayItem& item, const CMavMatrix3d& projection, const CMavMatrix3d& viewDirection,
                 CMavPoint3d& lo, CMavPoint3d& hi);

} // namespace gdx
} // namespace MAV
