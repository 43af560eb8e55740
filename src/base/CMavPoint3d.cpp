// Point operations of the geometry types.
#include "base/CMavPoint3d.h"

#include <cmath>

#include "base/CMavMatrix3d.h"

const CMavPoint3d CMavPoint3d::kOrigin(0.0, 0.0, 0.0);

double CMavPoint3d::distanceTo(const CMavPoint3d& p) const
{
    return (*this - p).length();
}

bool CMavPoint3d::isEqualTo(const CMavPoint3d& p, double tol) const
{
    return distanceTo(p) <= tol;
}

bool CMavPoint3d::isFinite() const
{
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(z);
}

CMavPoint3d& CMavPoint3d::transformBy(const CMavMatrix3d& m)
{
    const double nx = m.m[0][0] * x + m.m[0][1] * y + m.m[0][2] * z + m.m[0][3];
    const double ny = m.m[1][0] * x + m.m[1][1] * y + m.m[1][2] * z + m.m[1][3];
    const double nz = m.m[2][0] * x + m.m[2][1] * y + m.m[2][2] * z + m.m[2][3];
    x = nx;
    y = ny;
    z = nz;
    return *this;
}
