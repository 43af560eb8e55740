// View directions by name, and polylines as seen from a viewing direction.
#pragma once

#include "platform/CMavString.h"
#include "platform/CMavVector3d.h"

// The direction from the scene towards the viewer for a view name: "SW", "SO", "NO", "NW" (the diagonals, not
// normalised), "N", "S", "O" (-X), "W" (+X) and "P" (plan, +Z). Any other name gives a default vector.
CMavVector3d mav_gdx_view_vdir_get(const CMavString& name);
