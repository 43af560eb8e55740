// Polylines as dash pieces, and polylines with their arcs as chords.
#pragma once

#include "base/CMavArray.h"
#include "base/CMavVertexArray.h"

// Most pieces one call of mav_gdx_image_vl_measure produces; segments beyond it are kept whole (drawn solid).
constexpr int kMavMeasureMaxPieces = 1000000;

// Replaces the polyline by its dash pieces under the dash array (positive dashes, negative gaps, 0 a dot).
// Mode 1 fits the pattern to each segment and centres it on the segment, mode 0 runs the pattern along each
// continuous part as a whole, any other mode fits it to each segment without centring. False, polyline unchanged,
// when the array has fewer than two values or a value that is not a number.
bool mav_gdx_image_vl_measure(CMavVertexArray& polyline, CMavArrayTempl<double> dashes, int mode);

// The polyline with every arc replaced by chords in the polyline's plane; straight segments are copied.
CMavVertexArray mav_gdx_image_vl_split(const CMavVertexArray& polyline);

// The length drawn for a dot of a dash pattern or a hatch: 0.2 mm in the drawing's unit.
double mav_gdx_dot_length();
