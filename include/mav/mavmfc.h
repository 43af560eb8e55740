// Umbrella header of MavMfc.dll: the portable core plus the Win32 layer (renderer, controls, dialogs).
#pragma once

#include "mav/mavcore.h"
#include "dllmain.h"
