// The demo's picture scenes: an image file in the picture control, and outlines in the polyline list view.
#pragma once

#include <windows.h>

#include <string>

namespace mavdemo {

// Writes a small drawing as a .bmp, shows it in two picture controls (fitted, and zoomed and panned) and saves
// outDir\picture_scene.png. False when a step failed (the reason goes to stderr).
bool runPictureScene(HINSTANCE instance, const std::wstring& outDir);

// Shows four outlines in a polyline list view on a dark background, the second one current and the base point
// marked, and saves outDir\vll_scene.png. False when a step failed.
bool runVllScene(HINSTANCE instance, const std::wstring& outDir);

} // namespace mavdemo
