// Umbrella header of MavMfc.dll: the portable core plus the Win32 layer (MFC substitute, renderer, controls,
// dialog base).
#pragma once

#include "mav/mavcore.h"

#include "dllmain.h"
#include "resource.h"
#include "afx/afxwin.h"
#include "afx/COleDispatchDriver.h"
#include "afx/CWaitCursor.h"
#include "render/CMavDplistImage.h"
#include "render/CMavPicture.h"
#include "render/CMavSlidePic.h"
#include "render/CMavVllImage.h"
#include "render/MavBitmap.h"
#include "render/MavRender.h"
#include "ui/CMavAboutDlg.h"
#include "ui/CMavDlg.h"
#include "ui/IMavMsgDlg.h"
#include "ui/rscAppDispatch.h"
#include "base/win/automation.h"
#include "base/win/files.h"
#include "base/win/registry.h"
#include "ui/CMavComboBox.h"
#include "ui/CMavEdit.h"
#include "ui/CMavTabCtrl.h"
#include "ui/CMavTabPage.h"
