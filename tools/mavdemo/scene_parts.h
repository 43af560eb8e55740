// The demo's parts scene: an in-place editable parts list and the language combo box.
#pragma once

#include <windows.h>

#include <string>

namespace mavdemo {

// Shows a parts list (name, length, width, quantity) with one cell being edited and the language combo box, once
// in German and once in English, and saves outDir\parts_scene_de.png and parts_scene_en.png. False when a step
// failed (the reason goes to stderr).
bool runPartsScene(HINSTANCE instance, const std::wstring& outDir);

} // namespace mavdemo
