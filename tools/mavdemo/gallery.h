// The demo's gallery scene: a display list with every drawable kind, shown in the library's view control.
#pragma once

#include <windows.h>

#include <string>

namespace mavdemo {

// Shows the gallery in a CMavDplistImage inside a window, saves a PNG of the control and writes the same list
// with refresh as an EMF; both into outDir. False when a step failed (the reason goes to stderr).
bool runGallery(HINSTANCE instance, const std::wstring& outDir, bool interactive);

} // namespace mavdemo
