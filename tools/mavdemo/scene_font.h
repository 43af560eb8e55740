// The demo's font sheet: every glyph of the built-in font and sample texts in the eight alignments, as text items
// of a display list drawn by the library's renderer.
#pragma once

#include <string>

namespace mavdemo {

// Draws the sheet into an off-screen bitmap and saves it as outDir\fontsheet_dplist.png. False when a step failed.
bool runFontSheet(const std::wstring& outDir);

} // namespace mavdemo
