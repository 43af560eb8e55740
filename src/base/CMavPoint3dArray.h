// Array of points with ordering and clean-up along a direction.
#pragma once

#include "base/CMavArray.h"
#include "base/CMavPoint3d.h"
#include "base/CMavVector3d.h"

class CMavPoint3dArray : public CMavArrayTempl<CMavPoint3d> {
public:
    using CMavArrayTempl<CMavPoint3d>::CMavArrayTempl;
    CMavPoint3dArray() = default;
    CMavPoint3dArray(const CMavArrayTempl<CMavPoint3d>& points) : CMavArrayTempl<CMavPoint3d>(points) {}

    // Orders the points by their position along `dir` (ascending dot product with dir); points at equal
    // positions keep their order. A zero direction leaves the order unchanged.
    CMavPoint3dArray& sort(const CMavVector3d& dir);
    // Removes every point that equals an earlier one within tol; the remaining points keep their order. Compares
    // each point with the kept ones (quadratic): meant for the few crossings of one line, not for large clouds.
    CMavPoint3dArray& removeDuplicates(double tol = MAV::kGeomTol);
};
