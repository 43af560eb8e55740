// The demo's slide scene: one slide of the test slide library in the slide viewer and, beside it, as display items
// in the display list view.
#pragma once

#include <windows.h>

#include <string>

namespace mavdemo {

// Shows slide "EVERY" of the test slide library in a CMavSlidePic and, through mav_gdx_image_sld, in a
// CMavDplistImage, and saves the window as outDir\slide_scene.png. The library is looked for as slides\library.slb
// beside the program, then as tests\data\slides\library.slb in the folders above it. False when a step failed
// (the reason goes to stderr).
bool runSlideScene(HINSTANCE instance, const std::wstring& outDir);

} // namespace mavdemo
