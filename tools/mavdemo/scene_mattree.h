// The demo's material tree scene: the shipped materials with both roots open and a material selected.
#pragma once

#include <string>

namespace mavdemo {
// Writes outDir\mattree_de.png and outDir\mattree_en.png. False when a picture was not written.
bool runMatTreeScene(const std::wstring& outDir);
} // namespace mavdemo
