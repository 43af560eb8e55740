// Position in 3D space: three doubles that take the translation of a matrix.
#pragma once

#include "base/CMavVector3d.h"

class CMavMatrix3d;

class CMavPoint3d {
public:
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    constexpr CMavPoint3d() = default;
    constexpr CMavPoint3d(double ax, double ay, double az) : x(ax), y(ay), z(az) {}

    static const CMavPoint3d kOrigin;

    CMavPoint3d operator+(const CMavVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    CMavPoint3d operator-(const CMavVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    CMavVector3d operator-(const CMavPoint3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
    // Component sums and scaling, for averages and weighted sums of positions.
    CMavPoint3d operator+(const CMavPoint3d& p) const { return {x + p.x, y + p.y, z + p.z}; }
    CMavPoint3d operator*(double s) const { return {x * s, y * s, z * s}; }
    CMavPoint3d operator/(double s) const { return {x / s, y / s, z / s}; }
    CMavPoint3d& operator+=(const CMavVector3d& v) { x += v.x; y += v.y; z += v.z; return *this; }
    CMavPoint3d& operator-=(const CMavVector3d& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
    // Exact comparison (array search); use isEqualTo for geometry.
    bool operator==(const CMavPoint3d& p) const { return x == p.x && y == p.y && z == p.z; }
    bool operator!=(const CMavPoint3d& p) const { return !(*this == p); }

    CMavVector3d asVector() const { return {x, y, z}; }
    static CMavPoint3d fromVector(const CMavVector3d& v) { return {v.x, v.y, v.z}; }

    double distanceTo(const CMavPoint3d& p) const;
    // True when the distance to p is at most tol.
    bool isEqualTo(const CMavPoint3d& p, double tol = MAV::kGeomTol) const;
    bool isFinite() const;

    // Applies the full matrix, translation included (no perspective division).
    CMavPoint3d& transformBy(const CMavMatrix3d& m);
};

inline CMavPoint3d operator*(double s, const CMavPoint3d& p) { return p * s; }
