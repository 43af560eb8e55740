// CMavTreeCtrl: language and texts from the parent dialog.
#include "ui/CMavTreeCtrl.h"

#include "ui/ctrlTexts.h"

IMPLEMENT_DYNAMIC(CMavTreeCtrl, CTreeCtrl)

const wchar_t* CMavTreeCtrl::country() const
{
    CMavDlg* dlg = MAV::ctrlParentDlg(this);
    return dlg ? dlg->country() : nullptr;
}

const wchar_t* CMavTreeCtrl::GetMsg(const wchar_t* key, const wchar_t* def, const wchar_t* country) const
{
    return MAV::ctrlGetMsg(this, key, def, country);
}
