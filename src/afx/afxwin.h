// The whole MFC substitute: windows, dialogs, device contexts, GDI objects, strings and the application object.
#pragma once

#include "afx/CButton.h"
#include "afx/CComboBox.h"
#include "afx/CDC.h"
#include "afx/CDialog.h"
#include "afx/CEdit.h"
#include "afx/CGdiObject.h"
#include "afx/CHandleMap.h"
#include "afx/CItemListWnd.h"
#include "afx/CListBox.h"
#include "afx/CObject.h"
#include "afx/CRect.h"
#include "afx/CStatic.h"
#include "afx/CTabCtrl.h"
#include "afx/CString.h"
#include "afx/CWinApp.h"
#include "afx/CWnd.h"
