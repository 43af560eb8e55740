// The DLL's module handle, for loading its own resources (icons, cursors, dialog templates).
#pragma once

#include <windows.h>

namespace MAV {
// The module handle of MavMfc.dll, set when the DLL is attached.
HINSTANCE dllInstance();
}
