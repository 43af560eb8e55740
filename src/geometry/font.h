// Built-in outline font: one glyph per character as a list of filled regions.
#pragma once

#include "base/CMavArray.h"
#include "base/CMavVertexArray.h"

// The glyph of the character (key: the low 16 bits of the code) as a copy: a list of regions, each an outer
// outline followed by its holes, in the font's cell (capitals from y = 0 to 1, left edge at x = 0). A code without
// a glyph, space among them, gives an empty list.
CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> get_ascii_from_map(int code);
CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> get_ascii_from_map(wchar_t code);

namespace MAV {
// Number of glyphs in the font table (fills the table when it is still empty).
unsigned fontGlyphCount();
// Code of the glyph at `index` in ascending code order, or -1 beyond the table.
int fontGlyphCode(unsigned index);
}  // namespace MAV

namespace MAV {
// Lays a text out with the built-in font, one glyph per 16-bit code unit: every outline turned counter-clockwise
// about +Z, the glyphs placed from `point` along +X, each advanced by its box width + 0.5 (characters without a
// glyph add nothing), then the whole moved by the alignment ("TL", "TC", "TR", "CL", "CC", "CR", "BC", "BR"; any
// other text, also null, leaves it where it is). The regions of the text, ready to be stored in a text item.
CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> fontTextLayout(const wchar_t* text, const wchar_t* alignment,
                                                               const CMavPoint3d& point);
}  // namespace MAV
