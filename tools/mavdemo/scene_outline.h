// The demo's outline scene: the outline selection with an L-shaped panel in the preview.
#pragma once

#include <string>

namespace mavdemo {
// Writes outDir\outline_de.png and outDir\outline_en.png. False when a picture was not written.
bool runOutlineScene(const std::wstring& outDir);
} // namespace mavdemo
