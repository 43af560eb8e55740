// The demo's dialog scenes: a cabinet dialog of the host on the library's dialog base, and the About box.
#pragma once

#include <windows.h>

#include <string>

namespace mavdemo {

// Shows the cabinet dialog in German and in English with the width field's tool tip up and saves
// outDir\dialog_cabinet_de.png and outDir\dialog_cabinet_en.png; then opens the About box from it in both
// languages and saves outDir\about_box_de.png and outDir\about_box_en.png. False when a step failed (the
// reason goes to stderr).
bool runDialogScene(const std::wstring& outDir);

} // namespace mavdemo
