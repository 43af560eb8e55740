// Umbrella header of MavMfc.dll: the portable core plus the Win32 layer (MFC substitute, renderer, controls).
#pragma once

#include "mav/mavcore.h"

#include "dllmain.h"
#include "resource.h"
#include "afx/afxwin.h"
#include "render/CMavDplistImage.h"
#include "render/CMavPicture.h"
#include "render/CMavSlidePic.h"
#include "render/CMavVllImage.h"
#include "render/MavBitmap.h"
#include "render/MavRender.h"
#include "platform/win/automation.h"
#include "platform/win/files.h"
#include "platform/win/registry.h"
