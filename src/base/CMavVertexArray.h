// Polyline: an ordered array of segments (CMavVertex), straight or arcs, in 3D.
#pragma once

#include "base/CMavArray.h"
#include "base/CMavMatrix3d.h"
#include "base/CMavPoint3d.h"
#include "base/CMavPoint3dArray.h"
#include "base/CMavVector3d.h"
#include "base/CMavVertex.h"

// Arcs of a polyline lie in the polyline's plane; their bulges turn about normal() (see there).
class CMavVertexArray : public CMavArrayTempl<CMavVertex> {
public:
    using CMavArrayTempl<CMavVertex>::CMavArrayTempl;
    CMavVertexArray() = default;
    CMavVertexArray(const CMavArrayTempl<CMavVertex>& vertices) : CMavArrayTempl<CMavVertex>(vertices) {}

    using CMavArrayTempl<CMavVertex>::append;
    // Appends the segment start-end with the bulge; returns its index.
    int append(const CMavPoint3d& start, const CMavPoint3d& end, double bulge = 0.0);
    // Continues the polyline from the end of its last segment to `end`; returns the new index, or -1 (nothing
    // appended) on an empty polyline, which has no end to continue from.
    int appendTo(const CMavPoint3d& end, double bulge = 0.0);

    // Polyline through the points in order, straight segments. With `close` a segment from the last point back
    // to the first is added unless they are already equal within tol. Fewer than two points give an empty
    // polyline.
    static CMavVertexArray fromPoints(const CMavArrayTempl<CMavPoint3d>& points, bool close = false,
                                      double tol = MAV::kGeomTol);

    // Transforms every segment; arcs follow the rule of CMavVertex::transformBy about this polyline's normal.
    CMavVertexArray& transformBy(const CMavMatrix3d& m);
    CMavVertexArray getTransformedCopy(const CMavMatrix3d& m) const;
    // Moves every point by v.
    CMavVertexArray& move(const CMavVector3d& v);
    // Reverses the direction: segments in reverse order, each reverted; arcs keep their shape.
    CMavVertexArray& revert();

    // Axis-aligned box of all segments, arcs with their bulge. False, outputs untouched, when empty.
    bool extents(CMavPoint3d& min, CMavPoint3d& max) const;
    // True when not empty and the last end point equals the first start point within tol.
    bool isClosed(double tol = MAV::kGeomTol) const;
    // True when every segment starts where the previous one ends (within tol); an empty polyline is continuous.
    bool isContinuous(double tol = MAV::kGeomTol) const;
    // Unit normal of the polyline's plane, from the vector area of its chord polygon (the segments' end points).
    // The result does not depend on the direction of travel: it is turned to the positive
    // side (z > 0; on z == 0, y > 0; then x > 0). A polyline without area (straight, a point, empty) gives +Z
    // when it lies across Z, else a normal perpendicular to it.
    CMavVector3d normal() const;
    // Sum of the segments' lengths (arc lengths for arcs).
    double length() const;

    // Points along the polyline: each segment's start, the inner chord points of its arcs (deviation at most
    // tol, at most CMavVertex::kMaxChords chords per arc), and where a segment does not join the next one its
    // end too. With `closed` the last segment's end point is added at the end (a closed polyline then repeats
    // its first point, so consecutive points draw every segment); without it the last end is left off.
    CMavPoint3dArray pts(bool closed, double tol) const;

    // Intersection modes for intersectWith: bit 1 extends the line beyond its second point, bit 2 beyond its
    // first; so kExtendBoth (3) takes the infinite line.
    enum { kOnBoth = 0, kExtendEnd = 1, kExtendStart = 2, kExtendBoth = 3 };
    // Appends to `points` the intersections of the line p0-p1 (extended by `mode`) with every segment, in
    // segment order; arcs exactly (line and circle). A line running along a straight segment gives the two ends
    // of their overlap. A crossing at a point shared by two segments is reported by both. Returns the number
    // of points appended. A zero-length line gives none.
    int intersectWith(const CMavPoint3d& p0, const CMavPoint3d& p1, int mode, CMavPoint3dArray& points,
                      double tol = MAV::kGeomTol) const;
    // The same for every segment of `other` as the line: straight segments with `mode`, arcs of `other` as arcs
    // (mode not applied to them; arc against arc exactly).
    int intersectWith(const CMavVertexArray& other, int mode, CMavPoint3dArray& points,
                      double tol = MAV::kGeomTol) const;

    // Splits segment `index` at the point of it nearest to `at`; the two parts replace it. False (unchanged)
    // when the index names no segment or the point is one of its ends.
    bool breakVertex(int index, const CMavPoint3d& at, double tol = MAV::kGeomTol);

private:
    // The normal of a polyline without area (see normal).
    CMavVector3d fallbackNormal() const;
};
