// 4x4 transformation matrix of the geometry types.
#pragma once

#include "base/CMavPoint3d.h"
#include "base/CMavVector3d.h"

// Row-major m[row][column]; a point (x, y, z) is the column (x, y, z, 1), so the translation sits in the last
// column (m[0][3], m[1][3], m[2][3]). In a product A * B applied to a point, B acts first.
class CMavMatrix3d {
public:
    double m[4][4];

    // The identity.
    constexpr CMavMatrix3d() : m{{1.0, 0.0, 0.0, 0.0}, {0.0, 1.0, 0.0, 0.0}, {0.0, 0.0, 1.0, 0.0}, {0.0, 0.0, 0.0, 1.0}}
    {
    }

    static const CMavMatrix3d kIdentity;

    CMavMatrix3d& setToIdentity();
    CMavMatrix3d& setToTranslation(const CMavVector3d& v);
    // Uniform scaling by `factor` about `centre` (the centre stays where it is).
    CMavMatrix3d& setToScaling(double factor, const CMavPoint3d& centre = CMavPoint3d::kOrigin);
    // Rotation by `angle` (radians, counter-clockwise looking against `axis`) about the line through `centre`.
    // A zero-length axis gives the identity.
    CMavMatrix3d& setToRotation(double angle, const CMavVector3d& axis,
                                const CMavPoint3d& centre = CMavPoint3d::kOrigin);
    // Mirror in the plane through `origin` with the given normal (zero normal: identity).
    CMavMatrix3d& setToMirroring(const CMavPoint3d& origin, const CMavVector3d& normal);
    // Maps the plane coordinate system of `normal` (origin at the world origin, x axis by AutoCAD's
    // arbitrary-axis rule, z axis = the unit normal) to world coordinates. A zero normal is taken as +Z.
    CMavMatrix3d& setToPlaneToWorld(const CMavVector3d& normal);
    // The inverse of setToPlaneToWorld.
    CMavMatrix3d& setToWorldToPlane(const CMavVector3d& normal);
    // Columns x, y, z and origin: maps (1,0,0) to origin + x, and so on. The axes are taken as given (not
    // normalised), so scaled axes give a scaling coordinate system.
    CMavMatrix3d& setCoordSystem(const CMavPoint3d& origin, const CMavVector3d& xAxis, const CMavVector3d& yAxis,
                                 const CMavVector3d& zAxis);
    void getCoordSystem(CMavPoint3d& origin, CMavVector3d& xAxis, CMavVector3d& yAxis, CMavVector3d& zAxis) const;

    static CMavMatrix3d translation(const CMavVector3d& v) { return CMavMatrix3d().setToTranslation(v); }
    static CMavMatrix3d scaling(double factor, const CMavPoint3d& centre = CMavPoint3d::kOrigin)
    {
        return CMavMatrix3d().setToScaling(factor, centre);
    }
    static CMavMatrix3d rotation(double angle, const CMavVector3d& axis,
                                 const CMavPoint3d& centre = CMavPoint3d::kOrigin)
    {
        return CMavMatrix3d().setToRotation(angle, axis, centre);
    }
    static CMavMatrix3d planeToWorld(const CMavVector3d& normal) { return CMavMatrix3d().setToPlaneToWorld(normal); }
    static CMavMatrix3d worldToPlane(const CMavVector3d& normal) { return CMavMatrix3d().setToWorldToPlane(normal); }

    // Product: (A * B) applied to a point applies B first.
    CMavMatrix3d operator*(const CMavMatrix3d& b) const;
    // A *= B means A = A * B (B acts first, then the old A).
    CMavMatrix3d& operator*=(const CMavMatrix3d& b);
    // this = left * this (left acts after this).
    CMavMatrix3d& preMultiplyBy(const CMavMatrix3d& left);
    // this = this * right (right acts before this); the same as *=.
    CMavMatrix3d& postMultiplyBy(const CMavMatrix3d& right);

    // Exact comparison; use isEqualTo for computed matrices.
    bool operator==(const CMavMatrix3d& b) const;
    bool operator!=(const CMavMatrix3d& b) const { return !(*this == b); }
    bool isEqualTo(const CMavMatrix3d& b, double tol = MAV::kGeomTol) const;

    // Inverse. A singular (or non-finite) matrix has no inverse: inverse(out) returns false and sets out to the
    // identity; inverse() returns the identity; invert() returns false and leaves this matrix unchanged.
    bool inverse(CMavMatrix3d& out) const;
    CMavMatrix3d inverse() const;
    bool invert();
    // True when the matrix has no inverse (a pivot vanishes relative to the matrix's size), or is not finite.
    bool isSingular() const;
    double det() const;

    CMavMatrix3d& transposeIt();
    CMavMatrix3d transpose() const;

    // Translation part (last column).
    CMavVector3d translation() const { return {m[0][3], m[1][3], m[2][3]}; }
    CMavMatrix3d& setTranslation(const CMavVector3d& v);
    // Largest length of the images of the three unit axes (1 for rotations and translations, |f| for a scaling
    // by f).
    double scale() const;
    // True when the 3x3 part reverses orientation (negative determinant), as a mirror does.
    bool isMirroring() const;
    bool isIdentity(double tol = 0.0) const;
};

inline CMavPoint3d operator*(const CMavMatrix3d& m, const CMavPoint3d& p)
{
    CMavPoint3d r(p);
    return r.transformBy(m);
}
inline CMavVector3d operator*(const CMavMatrix3d& m, const CMavVector3d& v)
{
    CMavVector3d r(v);
    return r.transformBy(m);
}
