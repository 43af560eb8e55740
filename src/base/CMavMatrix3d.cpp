// 4x4 transformation matrices: construction, products, inverse.
//
// Storage is row-major m[row][column] and points are columns, so a matrix maps (x, y, z, 1) to
// (m[0][0] x + m[0][1] y + m[0][2] z + m[0][3], ...): the translation is the last column and in A * B the
// right-hand factor B acts first. The fourth row stays (0, 0, 0, 1) for every matrix built here; products and
// inverses keep the full 4x4 arithmetic anyway so that a matrix read from data survives a round trip.
#include "base/CMavMatrix3d.h"

#include <cmath>
#include <utility>

const CMavMatrix3d CMavMatrix3d::kIdentity;

CMavMatrix3d& CMavMatrix3d::setToIdentity()
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            m[r][c] = r == c ? 1.0 : 0.0;
    return *this;
}

CMavMatrix3d& CMavMatrix3d::setToTranslation(const CMavVector3d& v)
{
    setToIdentity();
    return setTranslation(v);
}

CMavMatrix3d& CMavMatrix3d::setTranslation(const CMavVector3d& v)
{
    m[0][3] = v.x;
    m[1][3] = v.y;
    m[2][3] = v.z;
    return *this;
}

CMavMatrix3d& CMavMatrix3d::setToScaling(double factor, const CMavPoint3d& centre)
{
    setToIdentity();
    m[0][0] = m[1][1] = m[2][2] = factor;
    // The centre is a fixed point: p' = centre + factor (p - centre).
    m[0][3] = centre.x * (1.0 - factor);
    m[1][3] = centre.y * (1.0 - factor);
    m[2][3] = centre.z * (1.0 - factor);
    return *this;
}

CMavMatrix3d& CMavMatrix3d::setToRotation(double angle, const CMavVector3d& axis, const CMavPoint3d& centre)
{
    setToIdentity();
    const CMavVector3d k = axis.normal();
    if (k.lengthSqrd() == 0.0)
        return *this;
    // Rodrigues: R = cos I + sin [k]x + (1 - cos) k k^T.
    const double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
    m[0][0] = c + t * k.x * k.x;
    m[0][1] = t * k.x * k.y - s * k.z;
    m[0][2] = t * k.x * k.z + s * k.y;
    m[1][0] = t * k.y * k.x + s * k.z;
    m[1][1] = c + t * k.y * k.y;
    m[1][2] = t * k.y * k.z - s * k.x;
    m[2][0] = t * k.z * k.x - s * k.y;
    m[2][1] = t * k.z * k.y + s * k.x;
    m[2][2] = c + t * k.z * k.z;
    // The centre stays fixed: translation = centre - R centre.
    CMavVector3d rc = centre.asVector();
    rc.transformBy(*this);
    return setTranslation(centre.asVector() - rc);
}

CMavMatrix3d& CMavMatrix3d::setToMirroring(const CMavPoint3d& origin, const CMavVector3d& normal)
{
    setToIdentity();
    const CMavVector3d n = normal.normal();
    if (n.lengthSqrd() == 0.0)
        return *this;
    // Householder reflection I - 2 n n^T about the plane through the origin, then shifted to `origin`.
    const double nv[3] = {n.x, n.y, n.z};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            m[r][c] = (r == c ? 1.0 : 0.0) - 2.0 * nv[r] * nv[c];
    CMavVector3d ro = origin.asVector();
    ro.transformBy(*this);
    return setTranslation(origin.asVector() - ro);
}

namespace {
// AutoCAD's arbitrary-axis rule: the plane's x axis is Wy x N when N lies within 1/64 of the world Z axis,
// else Wz x N; the y axis completes a right-handed system.
void arbitraryAxes(const CMavVector3d& normal, CMavVector3d& ax, CMavVector3d& ay, CMavVector3d& az)
{
    az = normal.normal();
    if (az.lengthSqrd() == 0.0)
        az = CMavVector3d::kZAxis;
    const double limit = 1.0 / 64.0;
    if (std::fabs(az.x) < limit && std::fabs(az.y) < limit)
        ax = CMavVector3d::kYAxis.crossProduct(az).normal();
    else
        ax = CMavVector3d::kZAxis.crossProduct(az).normal();
    ay = az.crossProduct(ax).normal();
}
} // namespace

CMavMatrix3d& CMavMatrix3d::setToPlaneToWorld(const CMavVector3d& normal)
{
    CMavVector3d ax, ay, az;
    arbitraryAxes(normal, ax, ay, az);
    return setCoordSystem(CMavPoint3d::kOrigin, ax, ay, az);
}

CMavMatrix3d& CMavMatrix3d::setToWorldToPlane(const CMavVector3d& normal)
{
    setToPlaneToWorld(normal);
    // An orthonormal rotation: its inverse is its transpose.
    return transposeIt();
}

CMavMatrix3d& CMavMatrix3d::setCoordSystem(const CMavPoint3d& origin, const CMavVector3d& xAxis,
                                           const CMavVector3d& yAxis, const CMavVector3d& zAxis)
{
    setToIdentity();
    const CMavVector3d* axes[3] = {&xAxis, &yAxis, &zAxis};
    for (int c = 0; c < 3; ++c) {
        m[0][c] = axes[c]->x;
        m[1][c] = axes[c]->y;
        m[2][c] = axes[c]->z;
    }
    return setTranslation(origin.asVector());
}

void CMavMatrix3d::getCoordSystem(CMavPoint3d& origin, CMavVector3d& xAxis, CMavVector3d& yAxis,
                                  CMavVector3d& zAxis) const
{
    origin = CMavPoint3d(m[0][3], m[1][3], m[2][3]);
    xAxis = CMavVector3d(m[0][0], m[1][0], m[2][0]);
    yAxis = CMavVector3d(m[0][1], m[1][1], m[2][1]);
    zAxis = CMavVector3d(m[0][2], m[1][2], m[2][2]);
}

CMavMatrix3d CMavMatrix3d::operator*(const CMavMatrix3d& b) const
{
    CMavMatrix3d r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += m[i][k] * b.m[k][j];
            r.m[i][j] = sum;
        }
    return r;
}

CMavMatrix3d& CMavMatrix3d::operator*=(const CMavMatrix3d& b)
{
    *this = *this * b;
    return *this;
}

CMavMatrix3d& CMavMatrix3d::preMultiplyBy(const CMavMatrix3d& left)
{
    *this = left * *this;
    return *this;
}

CMavMatrix3d& CMavMatrix3d::postMultiplyBy(const CMavMatrix3d& right)
{
    *this = *this * right;
    return *this;
}

bool CMavMatrix3d::operator==(const CMavMatrix3d& b) const
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (m[r][c] != b.m[r][c])
                return false;
    return true;
}

bool CMavMatrix3d::isEqualTo(const CMavMatrix3d& b, double tol) const
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (!(std::fabs(m[r][c] - b.m[r][c]) <= tol))
                return false;
    return true;
}

namespace {
// Gauss-Jordan elimination with partial pivoting. A pivot below 1e-12 of the largest entry means the matrix
// has no usable inverse: its columns are dependent up to rounding. Non-finite entries count as singular too.
bool invert4(const double (&in)[4][4], double (&out)[4][4])
{
    double a[4][8];
    double big = 0.0;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            if (!std::isfinite(in[r][c]))
                return false;
            big = std::fmax(big, std::fabs(in[r][c]));
            a[r][c] = in[r][c];
            a[r][c + 4] = r == c ? 1.0 : 0.0;
        }
    if (big == 0.0)
        return false;
    const double minPivot = big * 1e-12;
    for (int col = 0; col < 4; ++col) {
        int piv = col;
        for (int r = col + 1; r < 4; ++r)
            if (std::fabs(a[r][col]) > std::fabs(a[piv][col]))
                piv = r;
        if (!(std::fabs(a[piv][col]) > minPivot))
            return false;
        if (piv != col)
            for (int c = 0; c < 8; ++c)
                std::swap(a[piv][c], a[col][c]);
        const double inv = 1.0 / a[col][col];
        for (int c = 0; c < 8; ++c)
            a[col][c] *= inv;
        for (int r = 0; r < 4; ++r) {
            if (r == col || a[r][col] == 0.0)
                continue;
            const double f = a[r][col];
            for (int c = 0; c < 8; ++c)
                a[r][c] -= f * a[col][c];
        }
    }
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            if (!std::isfinite(a[r][c + 4]))
                return false;
            out[r][c] = a[r][c + 4];
        }
    return true;
}
} // namespace

bool CMavMatrix3d::inverse(CMavMatrix3d& out) const
{
    CMavMatrix3d r;
    if (!invert4(m, r.m)) {
        out.setToIdentity();
        return false;
    }
    out = r;
    return true;
}

CMavMatrix3d CMavMatrix3d::inverse() const
{
    CMavMatrix3d r;
    inverse(r);
    return r;
}

bool CMavMatrix3d::invert()
{
    CMavMatrix3d r;
    if (!invert4(m, r.m))
        return false;
    *this = r;
    return true;
}

bool CMavMatrix3d::isSingular() const
{
    double scratch[4][4];
    return !invert4(m, scratch);
}

double CMavMatrix3d::det() const
{
    // Laplace expansion by 2x2 minors of the first two and last two rows.
    const double s0 = m[0][0] * m[1][1] - m[1][0] * m[0][1];
    const double s1 = m[0][0] * m[1][2] - m[1][0] * m[0][2];
    const double s2 = m[0][0] * m[1][3] - m[1][0] * m[0][3];
    const double s3 = m[0][1] * m[1][2] - m[1][1] * m[0][2];
    const double s4 = m[0][1] * m[1][3] - m[1][1] * m[0][3];
    const double s5 = m[0][2] * m[1][3] - m[1][2] * m[0][3];
    const double c5 = m[2][2] * m[3][3] - m[3][2] * m[2][3];
    const double c4 = m[2][1] * m[3][3] - m[3][1] * m[2][3];
    const double c3 = m[2][1] * m[3][2] - m[3][1] * m[2][2];
    const double c2 = m[2][0] * m[3][3] - m[3][0] * m[2][3];
    const double c1 = m[2][0] * m[3][2] - m[3][0] * m[2][2];
    const double c0 = m[2][0] * m[3][1] - m[3][0] * m[2][1];
    return s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
}

CMavMatrix3d& CMavMatrix3d::transposeIt()
{
    for (int r = 0; r < 4; ++r)
        for (int c = r + 1; c < 4; ++c)
            std::swap(m[r][c], m[c][r]);
    return *this;
}

CMavMatrix3d CMavMatrix3d::transpose() const
{
    CMavMatrix3d r(*this);
    return r.transposeIt();
}

double CMavMatrix3d::scale() const
{
    double best = 0.0;
    for (int c = 0; c < 3; ++c) {
        const double len = CMavVector3d(m[0][c], m[1][c], m[2][c]).length();
        if (std::isnan(len))
            return len;
        best = std::fmax(best, len);
    }
    return best;
}

bool CMavMatrix3d::isMirroring() const
{
    const double d3 = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                      m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                      m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    return d3 < 0.0;
}

bool CMavMatrix3d::isIdentity(double tol) const
{
    return isEqualTo(kIdentity, tol);
}
