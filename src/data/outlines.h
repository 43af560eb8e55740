// Parametric outlines, the outline library, view and local matrices, and completion of generated objects.
#pragma once

#include "base/CMavArray.h"
#include "data/CMavDataItem.h"
#include "base/CMavMatrix3d.h"
#include "base/CMavVector3d.h"
#include "base/CMavVertexArray.h"

namespace MAV {

// Codes of the shipped outlines.
enum OutlineCode {
    kOutlRectangle = 1,     // width, height
    kOutlChamfered = 2,     // width, height, chamfer
    kOutlRounded = 3,       // width, height, corner radius (negative: concave corners)
    kOutlCircle = 4,        // diameter
    kOutlEllipse = 5,       // width, height
    kOutlL = 6,             // width, height, leg width, leg height
    kOutlU = 7,             // width, height, wall thickness, base thickness
    kOutlT = 8,             // width, height, bar height, stem width
    kOutlTrapezoid = 9,     // bottom width, top width, height
    kOutlPolygon = 10,      // number of corners, circumscribed diameter
    kOutlSlot = 11,         // length, width
    kOutlParallelogram = 21 // width, height, angle of the slanted sides in degrees
};

// The closed polyline of an outline, counter-clockwise, moved by offset. Rectangles and the L, U, T shapes,
// trapezoids and parallelograms have their lower left corner at the origin; circles, ellipses, polygons and slots
// their centre. Missing parameters take the defaults of range 3 ("100"); sizes that give no area, parts that do
// not fit (a leg wider than the shape), values that are not finite, outlines whose corners would not be finite (a parallelogram of almost 0 degrees)
// and unknown codes give an empty polyline.
// Chamfers and radii are limited to half the smaller side; a polygon has 3 to 1000 corners.
CMavVertexArray g_outline(int code, const CMavVector3d& offset, const CMavArrayTempl<double>& parameters);
// The outline of a generated object "GEN": its "OUTL" (code), "P1" ... "P6" (parameters), "BASE" (offset,
// a point) and "UNIT" (unit of its lengths; the drawing's unit when missing), converted into unit (-1 the
// drawing's unit). False, polyline emptied, for a null item or an outline that comes out empty.
bool g_outline(CMavVertexArray& polyline, const CMavDataItem* gen, int unit);

// The default parameters of an outline for a value range 1 ... 4, from the shipped outline library; false for an
// unknown code or range.
bool outlineDefaults(int code, int range, CMavArrayTempl<double>& parameters);
// The codes of the shipped outlines, in library order.
int outlineCodes(CMavArrayTempl<int>& codes);

// The view matrix looking along dir (which points from the scene towards the viewer) about point: world
// coordinates into view coordinates whose z axis is dir, the point staying where it is. With upright the view's
// x axis is horizontal (Z x dir), so the world's Z shows upwards; without it the x axis follows AutoCAD's
// arbitrary-axis rule. dir along Z, and upright with dir along -Z, take the world's X (resp. -X) as x axis.
// A zero or not finite dir gives the identity.
CMavMatrix3d g_mtx_view(const CMavVector3d& dir, const CMavPoint3d& point, bool upright);
// The placement of an element from its data: "POS" (point), "NORMAL" (extrusion direction as a point, AutoCAD's
// arbitrary-axis rule) and "ROT" (rotation in degrees about the element's z axis): translation(POS) x
// planeToWorld(NORMAL) x rotation(ROT). Lengths are converted from fromUnit (0: the item's "UNIT", or no
// conversion without one) to toUnit (-1 the drawing's unit). Missing keys are neutral. False for a null item.
bool g_mtx_local(const CMavDataItem* item, CMavMatrix3d& matrix, int fromUnit, int toUnit);
// Completes a generated object by its "TYPE": a "DRILL" gets "DIA" 5 and "DEPTH" 10 when missing and "VL", its
// circle seen from above; an "OUTLINE" gets "VL", its outline (g_outline in the item's own unit). With flags
// bit 1 existing values are computed again. False for a null item or another type.
bool objGen(CMavDataItem* item, int flags);

} // namespace MAV

// Fills an outline library directory with the shipped outlines (data/outlines/outlines.dat), or with those of a
// file in the data text form when path is given: one directory per outline keyed by its integer code, holding
// "CODE", "LABEL", "TXTGEN", "PARMS" and "PARM1" ... "PARM6" (see the data file). Existing outlines of the same
// codes are replaced, others kept. False for a null or non-directory library (an item without value becomes a
// directory) or a file that cannot be read.
bool mavOutlineInit(CMavDataItem* library, const wchar_t* path = nullptr);
