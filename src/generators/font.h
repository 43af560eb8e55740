// Built-in outline font: one glyph per character as a list of filled regions.
#pragma once

#include "platform/CMavArray.h"
#include "platform/CMavVertexArray.h"

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
