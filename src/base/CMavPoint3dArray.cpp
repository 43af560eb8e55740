// Point arrays: ordering along a direction and removal of repeated points.
#include "base/CMavPoint3dArray.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

CMavPoint3dArray& CMavPoint3dArray::sort(const CMavVector3d& dir)
{
    if (!(dir.lengthSqrd() > 0.0) || !std::isfinite(dir.lengthSqrd()) || len() < 2)
        return *this;
    std::vector<std::pair<double, CMavPoint3d>> keyed;
    keyed.reserve(static_cast<std::size_t>(len()));
    for (const CMavPoint3d& p : *this)
        keyed.emplace_back(p.asVector().dotProduct(dir), p);
    // Points whose position is not a number go last, in their order: the comparison stays a strict ordering.
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        if (std::isnan(a.first))
            return false;
        if (std::isnan(b.first))
            return true;
        return a.first < b.first;
    });
    for (int i = 0; i < len(); ++i)
        (*this)[i] = keyed[static_cast<std::size_t>(i)].second;
    return *this;
}

CMavPoint3dArray& CMavPoint3dArray::removeDuplicates(double tol)
{
    int kept = 0;
    for (int i = 0; i < len(); ++i) {
        const CMavPoint3d p = (*this)[i];
        bool seen = false;
        for (int j = 0; j < kept && !seen; ++j)
            seen = (*this)[j] == p || (*this)[j].isEqualTo(p, tol);
        if (!seen)
            (*this)[kept++] = p;
    }
    setLogicalLength(kept);
    return *this;
}
