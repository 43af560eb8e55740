// Polyline algorithms of the base library: clipping by regions, dash pieces, arc chords, orientation, extents.
#pragma once

#include "base/CMavArray.h"
#include "base/CMavLineParm.h"
#include "base/CMavPoint3d.h"
#include "base/CMavPoint3dArray.h"
#include "base/CMavVector3d.h"
#include "base/CMavVertex.h"
#include "base/CMavVertexArray.h"

// Vocabulary. A polyline (CMavVertexArray) is a list of segments, each a start point, an end point and a
// bulge (0 straight, else tan(included angle / 4), positive counter-clockwise about +Z). An outline is a closed
// polyline; one that does not end where it starts is closed by a straight segment for area and inside tests.
// A region list is CMavArrayTempl<CMavVertexArray>: element 0 the outer outline, the others holes. The
// clipping, inside and orientation algorithms work in the XY plane (arcs about +Z); z is carried along each
// segment linearly.
namespace MAV {

// Most pieces (or vertices of pieces) that one call of g_vl_measure or of the clipping functions produces.
constexpr int kMaxPieces = 1000000;

// Vector of `length` at `angle` (radians, counter-clockwise from +X) in the XY plane.
CMavVector3d polar(double angle, double length);
// Point at `distance` from `from` in the direction `angle` in the XY plane (z kept).
CMavPoint3d polar(const CMavPoint3d& from, double angle, double distance);
// Component-wise minimum and maximum.
CMavPoint3d p_min(const CMavPoint3d& a, const CMavPoint3d& b);
CMavPoint3d p_max(const CMavPoint3d& a, const CMavPoint3d& b);

// The segment flattened to the XY plane (z = 0, bulge kept).
CMavVertex g_vx_xy(const CMavVertex& vx);
// Number of chords that replace the arc with a deviation of at most tol (1 for a straight segment).
int g_vx_split_dif(const CMavVertex& vx, double tol);
// The polyline with every arc replaced by `count` equal chords; straight segments are copied.
CMavVertexArray g_vl_expl(const CMavVertexArray& vl, int count);
CMavVertexArray g_vl_expl(const CMavVertex& vx, int count);

// Signed area enclosed by the polyline (closed by a chord) seen from the tip of `normal`; arcs included.
double g_vl_area(const CMavVertexArray& vl, const CMavVector3d& normal = CMavVector3d::kZAxis);
// True when the polyline runs counter-clockwise about `normal` (positive area).
bool g_vl_orient(const CMavVertexArray& vl, const CMavVector3d& normal = CMavVector3d::kZAxis);

// Lower and upper corner of the box of the polyline measured in the XY frame turned by `angle`, both given in
// world coordinates; arcs with their bulge. An empty polyline gives the origin twice.
CMavPoint3dArray g_vl_extmax(const CMavVertexArray& vl, double angle);
// That box as a closed counter-clockwise rectangle of four straight segments at the lower z (empty polyline:
// empty rectangle).
CMavVertexArray g_vl_extrect(const CMavVertexArray& vl, double angle);

// The continuous parts of the polyline, in order.
CMavArrayTempl<CMavVertexArray> g_vl_to_vll(const CMavVertexArray& vl, double tol = kGeomTol);
// The part of the polyline between the points of it nearest to `from` and to `to`, in the polyline's direction.
CMavVertexArray g_vl_cut(const CMavVertexArray& vl, const CMavPoint3d& from, const CMavPoint3d& to);

// The visible pieces of the polyline under a dash pattern whose lengths are multiplied by scale and by the
// pattern's own scale; a dot is a piece of one zero-length segment. A pattern that would give more than
// kMaxPieces pieces, or that has no length, gives the polyline's continuous parts whole.
CMavArrayTempl<CMavVertexArray> g_vl_measure(const CMavVertexArray& vl, double scale, const CMavLineParm& pattern);

// 0 when the point lies outside the region (outer outline minus holes), 1 inside, 2 on its boundary.
int g_vll_pt_inside(const CMavArrayTempl<CMavVertexArray>& regions, const CMavPoint3d& pt);

// The pieces of a polyline inside (or outside) one outline.
CMavArrayTempl<CMavVertexArray> g_vl_punch(const CMavVertexArray& vl, const CMavVertexArray& outline, bool inside);
CMavArrayTempl<CMavVertexArray> g_vl_punch(const CMavArrayTempl<CMavVertexArray>& pieces,
                                           const CMavVertexArray& outline, bool inside);
// The pieces of a polyline inside (or outside) a region: inside the outer outline and outside every hole.
CMavArrayTempl<CMavVertexArray> g_vl_punch_reg(const CMavVertexArray& vl,
                                               const CMavArrayTempl<CMavVertexArray>& regions, bool inside);

// The regions left of a closed outline after cutting the holes out of it: a list of region lists, every
// outline counter-clockwise. A hole inside stays a hole; a hole across the outline's edge is subtracted.
CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> g_vl_punch(const CMavVertexArray& outline,
                                                           const CMavArrayTempl<CMavVertexArray>& holes);
// The same for a region list (element 0 the outline, the others the holes).
CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> g_vl_punch_reg(const CMavArrayTempl<CMavVertexArray>& regions);

} // namespace MAV
