// The demo's tabbed cabinet dialog: numeric fields and combo boxes on tab pages.
#pragma once

#include <windows.h>

#include <string>

namespace mavdemo {

// Shows the cabinet dialog with its three tabs ("Maße", "Material", disabled "Bohrungen") in German and in English
// and saves, for each language xx, outDir\tabs_dim_xx.png (lengths in inches, an angle, a key word),
// outDir\tabs_material_xx.png (the standard widths dropped down, every other row shaded) and
// outDir\tabs_error_xx.png (the error box after a width below the minimum). False when a step failed.
bool runTabsScene(HINSTANCE instance, const std::wstring& outDir);

} // namespace mavdemo
