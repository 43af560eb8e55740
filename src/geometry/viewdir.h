// View directions by name, and polylines as seen from a viewing direction.
#pragma once

#include "base/CMavPoint3d.h"
#include "base/CMavString.h"
#include "base/CMavVector3d.h"
#include "base/CMavVertexArray.h"

// The direction from the scene towards the viewer for a view name: "SW", "SO", "NO", "NW" (the diagonals, not
// normalised), "N", "S", "O" (-X), "W" (+X) and "P" (plan, +Z). Any other name gives a default vector.
CMavVector3d mav_gdx_view_vdir_get(const CMavString& name);

// A copy of the polyline as seen along `direction` (from the scene towards the viewer) about `point`, flattened into
// the picture plane (z = 0). With `upright` the world's Z shows upwards. A zero or not finite direction gives the
// polyline flattened as it is.
CMavVertexArray mav_g_vl_mtx_view(const CMavVertexArray& polyline, CMavVector3d direction, CMavPoint3d point,
                                  bool upright);
