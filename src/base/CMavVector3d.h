// Direction and displacement in 3D space: three doubles, no translation under a matrix.
#pragma once

class CMavMatrix3d;

namespace MAV {
// Default distance below which two coordinates count as equal in the geometry types.
constexpr double kGeomTol = 1e-9;
} // namespace MAV

class CMavVector3d {
public:
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    constexpr CMavVector3d() = default;
    constexpr CMavVector3d(double ax, double ay, double az) : x(ax), y(ay), z(az) {}

    static const CMavVector3d kXAxis;
    static const CMavVector3d kYAxis;
    static const CMavVector3d kZAxis;

    CMavVector3d operator+(const CMavVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    CMavVector3d operator-(const CMavVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    CMavVector3d operator-() const { return {-x, -y, -z}; }
    CMavVector3d operator*(double s) const { return {x * s, y * s, z * s}; }
    CMavVector3d operator/(double s) const { return {x / s, y / s, z / s}; }
    CMavVector3d& operator+=(const CMavVector3d& v) { x += v.x; y += v.y; z += v.z; return *this; }
    CMavVector3d& operator-=(const CMavVector3d& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
    CMavVector3d& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
    // Exact comparison (array search); use isEqualTo for geometry.
    bool operator==(const CMavVector3d& v) const { return x == v.x && y == v.y && z == v.z; }
    bool operator!=(const CMavVector3d& v) const { return !(*this == v); }

    double dotProduct(const CMavVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
    CMavVector3d crossProduct(const CMavVector3d& v) const
    {
        return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
    }
    double dot(const CMavVector3d& v) const { return dotProduct(v); }
    CMavVector3d cross(const CMavVector3d& v) const { return crossProduct(v); }

    double length() const;
    double lengthSqrd() const { return x * x + y * y + z * z; }
    // Unit vector in the same direction; a zero-length or non-finite vector gives the zero vector.
    CMavVector3d normal() const;
    // Makes this a unit vector (see normal()).
    CMavVector3d& normalize();
    bool isZeroLength(double tol = MAV::kGeomTol) const { return length() <= tol; }
    bool isEqualTo(const CMavVector3d& v, double tol = MAV::kGeomTol) const;
    // True when both vectors are non-zero and parallel or anti-parallel within the angle tolerance.
    bool isParallelTo(const CMavVector3d& v, double tol = 1e-12) const;
    // Angle in [0, pi] between this and v; 0 when either is zero.
    double angleTo(const CMavVector3d& v) const;
    // Angle in (-pi, pi] from this to v, measured counter-clockwise about `ref`.
    double angleTo(const CMavVector3d& v, const CMavVector3d& ref) const;
    // Some unit vector perpendicular to this one (zero for the zero vector).
    CMavVector3d perpVector() const;
    // This vector or its negative, whichever points to the positive side: z > 0; when z is (nearly) 0, y > 0;
    // then x > 0. Plane normals are kept on this side so that a plane has one normal whatever the direction in
    // which a polyline in it runs.
    CMavVector3d positiveSide() const;

    // Applies the matrix without its translation (last column ignored, no perspective division).
    CMavVector3d& transformBy(const CMavMatrix3d& m);
};

inline CMavVector3d operator*(double s, const CMavVector3d& v) { return v * s; }
