// One polyline segment: start point, end point and bulge (0 = straight, otherwise a circular arc).
#pragma once

#include "base/CMavMatrix3d.h"
#include "base/CMavPoint3d.h"
#include "base/CMavVector3d.h"

class CMavPoint3dArray;

// The bulge is tan(included angle / 4): 1 is a half circle, positive turns counter-clockwise from start to end
// seen from the tip of the plane normal (+Z unless a normal is passed), as in AutoCAD. The arc lies in the plane
// that holds its chord and the chord's perpendicular c x normal, which is the plane with that normal whenever the
// chord lies across it. A non-finite bulge, or a bulge on a zero-length chord or on a chord along the normal, is
// treated as straight.
class CMavVertex {
public:
    CMavPoint3d start;
    CMavPoint3d end;
    double bulge = 0.0;

    CMavVertex() = default;
    CMavVertex(const CMavPoint3d& s, const CMavPoint3d& e, double b = 0.0) : start(s), end(e), bulge(b) {}

    // Exact comparison of the three fields.
    bool operator==(const CMavVertex& v) const { return start == v.start && end == v.end && bulge == v.bulge; }
    bool operator!=(const CMavVertex& v) const { return !(*this == v); }
    bool isEqualTo(const CMavVertex& v, double tol = MAV::kGeomTol) const;

    // True when the segment is drawn as an arc (finite non-zero bulge on a chord of non-zero length).
    bool isArc() const;
    double chordLength() const { return start.distanceTo(end); }

    // Transforms both points. The bulge changes sign when the matrix turns the arc's sense as seen from the
    // (canonical) plane normal: a mirror, or a turn of the plane upside down. Non-uniform scalings keep the bulge
    // (the arc stays circular through its new ends).
    CMavVertex& transformBy(const CMavMatrix3d& m, const CMavVector3d& normal = CMavVector3d::kZAxis);
    // Reverses the direction: start and end swap, the bulge changes sign; the arc keeps its shape.
    CMavVertex& revert();
    CMavVertex reverted() const { return CMavVertex(*this).revert(); }

    // Length along the segment: arc length for an arc, chord length for a straight segment.
    double bulgLen() const;
    // Point at half the length: on the arc for an arc, the chord's midpoint otherwise.
    CMavPoint3d mid(const CMavVector3d& normal = CMavVector3d::kZAxis) const;
    // Point at parameter t in [0, 1] of the length (t outside is clamped).
    CMavPoint3d pointAt(double t, const CMavVector3d& normal = CMavVector3d::kZAxis) const;

    // Foot of the perpendicular from p on the segment: for a straight segment on its line, for an arc on its
    // circle (p first projected into the arc's plane). When that foot lies beyond the segment's ends the
    // nearer end point is returned, so lotp always lies on the segment. A zero-length segment gives its start;
    // p at an arc's centre gives the arc's midpoint.
    CMavPoint3d lotp(const CMavPoint3d& p, const CMavVector3d& normal = CMavVector3d::kZAxis) const;
    // The same foot, not limited to the segment: on the infinite line, or on the full circle.
    CMavPoint3d lotpUnbounded(const CMavPoint3d& p, const CMavVector3d& normal = CMavVector3d::kZAxis) const;
    // Distance from p to the segment (to lotp).
    double distanceTo(const CMavPoint3d& p, const CMavVector3d& normal = CMavVector3d::kZAxis) const;

    // Arc data: false (outputs untouched) for a straight segment.
    bool arcCenter(CMavPoint3d& centre, const CMavVector3d& normal = CMavVector3d::kZAxis) const;
    // Radius of the arc; 0 for a straight segment.
    double radius() const;
    // Signed included angle (4 * atan(bulge)): positive counter-clockwise; 0 for a straight segment.
    double includedAngle() const;
    // Bulge of an arc through start and end with the given signed included angle.
    static double bulgeFromAngle(double angle);

    // Axis-aligned box of the segment, arcs included with their bulge (exact, not from chords).
    void extents(CMavPoint3d& min, CMavPoint3d& max, const CMavVector3d& normal = CMavVector3d::kZAxis) const;

    // Number of chords that approximate the arc with a deviation of at most `tol`; 1 for a straight segment.
    // Capped at kMaxChords per arc; a tolerance that is not positive or not finite gives the cap.
    int chordCount(double tol) const;
    static constexpr int kMaxChords = 1024;
    // Appends the start point and the inner chord points of the arc (chordCount(tol) chords); with `withEnd`
    // also the end point.
    void pts(CMavPoint3dArray& out, double tol, bool withEnd, const CMavVector3d& normal = CMavVector3d::kZAxis) const;

    // Intersections of this segment with `other`. A straight `other` is taken as the line from its start to its
    // end, extended by `mode` (bit 1 beyond its end, bit 2 beyond its start; 3 = the infinite line); an arc
    // `other` is taken as it is (mode not applied). Arcs meet lines and arcs exactly (circle equations); arcs in
    // different planes, concentric arcs and zero-length segments give no points. Where the two run along each
    // other (collinear straight parts) the two ends of the common part are given. Points are appended in order
    // along this segment; returns their number. Non-finite coordinates give none.
    int intersectWith(const CMavVertex& other, int mode, CMavPoint3dArray& points,
                      const CMavVector3d& normal = CMavVector3d::kZAxis,
                      const CMavVector3d& otherNormal = CMavVector3d::kZAxis, double tol = MAV::kGeomTol) const;

    // Splits the segment at the point of it nearest to `at` (lotp). False, outputs untouched, when that point is
    // one of the ends (within tol) or the segment has zero length. Arcs give two arcs on the same circle.
    bool breakAt(const CMavPoint3d& at, CMavVertex& first, CMavVertex& second,
                 const CMavVector3d& normal = CMavVector3d::kZAxis, double tol = MAV::kGeomTol) const;
};
