// The texts and language of a control taken from the CMavDlg it sits in: a control of the library knows no
// catalogue of its own, so it asks the dialog around it, and shows the default text anywhere else.
#include "ui/ctrlTexts.h"

namespace MAV {

CMavDlg* ctrlParentDlg(const CWnd* control)
{
    if (!control || !control->GetSafeHwnd())
        return nullptr;
    CWnd* parent = CWnd::FromHandlePermanent(::GetParent(control->GetSafeHwnd()));
    return parent && parent->IsKindOf(RUNTIME_CLASS(CMavDlg)) ? static_cast<CMavDlg*>(parent) : nullptr;
}

const wchar_t* ctrlGetMsg(const CWnd* control, const wchar_t* key, const wchar_t* def, const wchar_t* country)
{
    CMavDlg* dlg = ctrlParentDlg(control);
    return dlg ? dlg->GetMsg(key, def, country) : def;
}

} // namespace MAV
