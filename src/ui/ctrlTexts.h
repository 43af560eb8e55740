// The texts and language of a control taken from the CMavDlg it sits in.
#pragma once

#include "afx/CWnd.h"
#include "ui/CMavDlg.h"

namespace MAV {

// The control's parent as a CMavDlg, null when the parent is no window of that class.
CMavDlg* ctrlParentDlg(const CWnd* control);
// The parent dialog's text of key; def when the parent is no CMavDlg.
const wchar_t* ctrlGetMsg(const CWnd* control, const wchar_t* key, const wchar_t* def, const wchar_t* country);

} // namespace MAV
