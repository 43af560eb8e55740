// Region hatching from pattern lines, the legibility test of a hatch, and regions with their arcs as chords.
#pragma once

#include "base/CMavArray.h"
#include "base/CMavMatrix3d.h"
#include "base/CMavString.h"
#include "base/CMavVertexArray.h"

namespace MAV {
class CHatchProp;
}

// Pattern lines as a pattern file gives them: angle (degrees), origin x, origin y, offset along the line,
// offset between lines, then dash lengths (positive a dash, negative a gap, 0 a dot).
using MavPatternLines = CMavArrayTempl<CMavArrayTempl<double>>;

// Limits of one call of a hatcher, whatever the pattern and the region. A legible hatch (see mav_gdx_pattern_test)
// has fewer than 95 lines per pattern line and some ten thousand pieces; the limits leave room for forty such
// pattern lines and keep a call within milliseconds. A call that would lay more hatch lines across the region, or
// produce more visible pieces, than these gives nothing at all (never a part of the hatch).
constexpr int kMavHatchMaxLines = 4096;
constexpr int kMavHatchMaxPieces = 262144;

// The hatch lines of a region list (outline 0 the outer outline, the others holes), in world coordinates: one
// polyline of visible pieces per pattern line crossing the region, pattern line by pattern line, bottom to top.
// `placement` maps the hatch's plane to the world. The pattern lines come from the application's pattern lookup.
CMavArrayTempl<CMavVertexArray> mav_gdx_image_reg_hatch2(CMavArrayTempl<CMavVertexArray> regions,
                                                         const CMavMatrix3d& placement, const MAV::CHatchProp& hatch);

// The same with the pattern given: name (for the patterns that need their own factors), angle (radians about
// +Z), scale, the pattern lines and the length drawn for a dot. `capped` (optional) tells whether the result is
// empty because the hatch would exceed the caps above.
CMavArrayTempl<CMavVertexArray> mav_gdx_hatch_pattern(const CMavArrayTempl<CMavVertexArray>& regions,
                                                      const CMavMatrix3d& placement, const CMavString& name,
                                                      double angle, double scale, const MavPatternLines& lines,
                                                      double dotLength, bool* capped = nullptr);

// True when that hatch stays within the caps, found from its line count and, per pattern line, how often its
// lines cross the outlines and how long its dash period is, without drawing it.
bool mav_gdx_hatch_fits(const CMavArrayTempl<CMavVertexArray>& regions, const CMavMatrix3d& placement,
                        double angle, double scale, const MavPatternLines& lines, double dotLength);

// True when the hatch is legible under the world-to-device matrix (fewer than 95 lines across the region and more
// than 2.3 device units between lines) and mav_gdx_image_reg_hatch2 can draw it whole within the caps; false when
// the caller should fill the region instead.
bool mav_gdx_pattern_test(CMavArrayTempl<CMavVertexArray> regions, const MAV::CHatchProp& hatch,
                          const CMavMatrix3d& toDevice);
// The legibility test in two halves, for a caller that asks it again at other zooms: what the test finds from the
// regions and the hatch alone (the most lines a pattern line lays across the outer outline, the least spacing
// between lines in world units, whether the hatcher draws the hatch whole), and the answer for a world-to-device
// matrix from that. mav_gdx_pattern_legible(mav_gdx_pattern_measure(r, h), m) == mav_gdx_pattern_test(r, h, m).
struct MavPatternMeasure {
    double count = 0.0;
    double spacing = 0.0;
    bool fits = true;
};
MavPatternMeasure mav_gdx_pattern_measure(const CMavArrayTempl<CMavVertexArray>& regions,
                                          const MAV::CHatchProp& hatch);
bool mav_gdx_pattern_legible(const MavPatternMeasure& measure, const CMavMatrix3d& toDevice);
// The legibility rule alone, with the pattern lines and scale given.
bool mav_gdx_pattern_test_lines(const CMavArrayTempl<CMavVertexArray>& regions, double scale,
                                const MavPatternLines& lines, const CMavMatrix3d& toDevice);

// Simple hatch by name: "DOTS" (rows of dots at the spacing) or else one family of parallel lines at the spacing
// and the angle (radians; the lines run at -angle). One output polyline per visible piece.
CMavArrayTempl<CMavVertexArray> mav_gdx_image_reg_hatch(CMavArrayTempl<CMavVertexArray> regions,
                                                        const CMavMatrix3d& placement, const CMavString& patternName,
                                                        double spacing, double angle);

// The same outlines, in the same order, with every arc replaced by straight chords.
CMavArrayTempl<CMavVertexArray> mav_gdx_image_reg_split(const CMavArrayTempl<CMavVertexArray>& regions);
