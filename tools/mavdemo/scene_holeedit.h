// The demo's hole pattern scene: the library's "Editieren" dialog, opened by MAV::dlgBgr through the default host.
#pragma once

#include <string>

namespace mavdemo {

// Stages a pattern of four drills and a slot as the hole entity, runs MAV::dlgBgr (the default host answers
// "krv_hole_dial" with the "Editieren" dialog), selects the third element and saves outDir\hole_edit.png, then
// cancels. False when the picture could not be taken.
bool runHoleEditScene(const std::wstring& outDir);

} // namespace mavdemo
