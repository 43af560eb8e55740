// Vector arithmetic of the geometry types.
#include "base/CMavVector3d.h"

#include <cmath>

#include "base/CMavMatrix3d.h"

const CMavVector3d CMavVector3d::kXAxis(1.0, 0.0, 0.0);
const CMavVector3d CMavVector3d::kYAxis(0.0, 1.0, 0.0);
const CMavVector3d CMavVector3d::kZAxis(0.0, 0.0, 1.0);

double CMavVector3d::length() const
{
    if (std::isnan(x) || std::isnan(y) || std::isnan(z))
        return std::nan("");
    // Scaling by the largest component keeps huge and tiny components from overflowing or vanishing in the
    // squares.
    const double big = std::fmax(std::fabs(x), std::fmax(std::fabs(y), std::fabs(z)));
    if (big == 0.0 || std::isinf(big))
        return big;
    const double ax = x / big, ay = y / big, az = z / big;
    return big * std::sqrt(ax * ax + ay * ay + az * az);
}

CMavVector3d CMavVector3d::normal() const
{
    const double len = length();
    if (!(len > 0.0) || !std::isfinite(len))
        return {};
    return {x / len, y / len, z / len};
}

CMavVector3d& CMavVector3d::normalize()
{
    *this = normal();
    return *this;
}

bool CMavVector3d::isEqualTo(const CMavVector3d& v, double tol) const
{
    return (*this - v).length() <= tol;
}

bool CMavVector3d::isParallelTo(const CMavVector3d& v, double tol) const
{
    const CMavVector3d a = normal(), b = v.normal();
    if (a.lengthSqrd() == 0.0 || b.lengthSqrd() == 0.0)
        return false;
    return a.crossProduct(b).length() <= tol;
}

double CMavVector3d::angleTo(const CMavVector3d& v) const
{
    const CMavVector3d a = normal(), b = v.normal();
    if (a.lengthSqrd() == 0.0 || b.lengthSqrd() == 0.0)
        return 0.0;
    // atan2 of sine and cosine stays accurate near 0 and pi, where acos of the dot product does not.
    return std::atan2(a.crossProduct(b).length(), a.dotProduct(b));
}

double CMavVector3d::angleTo(const CMavVector3d& v, const CMavVector3d& ref) const
{
    const double angle = angleTo(v);
    if (crossProduct(v).dotProduct(ref) < 0.0)
        return -angle;
    return angle;
}

CMavVector3d CMavVector3d::perpVector() const
{
    const CMavVector3d n = normal();
    if (n.lengthSqrd() == 0.0)
        return {};
    // Cross with the world axis least aligned with the vector: never nearly parallel.
    const double ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    const CMavVector3d other = (ax <= ay && ax <= az) ? kXAxis : (ay <= az ? kYAxis : kZAxis);
    return n.crossProduct(other).normal();
}

CMavVector3d CMavVector3d::positiveSide() const
{
    const double eps = 1e-12 * length();
    if (z > eps)
        return *this;
    if (z < -eps)
        return -*this;
    if (y > eps)
        return *this;
    if (y < -eps)
        return -*this;
    return x < 0.0 ? -*this : *this;
}

CMavVector3d& CMavVector3d::transformBy(const CMavMatrix3d& m)
{
    const double nx = m.m[0][0] * x + m.m[0][1] * y + m.m[0][2] * z;
    const double ny = m.m[1][0] * x + m.m[1][1] * y + m.m[1][2] * z;
    const double nz = m.m[2][0] * x + m.m[2][1] * y + m.m[2][2] * z;
    x = nx;
    y = ny;
    z = nz;
    return *this;
}
