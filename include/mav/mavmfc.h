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
#include "base/win/automation.h"
#include "base/win/files.h"
#include "base/win/registry.h"
#include "ui/CMavFileDialog.h"
#include "ui/CMavListBox.h"
#include "ui/CMavTreeCtrl.h"
#include "ui/shell.h"
