// CMavListBox: language and texts from the parent dialog; messages as the list box handles them.
#include "ui/CMavListBox.h"

#include "ui/ctrlTexts.h"

IMPLEMENT_DYNAMIC(CMavListBox, CListBox)

const wchar_t* CMavListBox::country() const
{
    CMavDlg* dlg = MAV::ctrlParentDlg(this);
    return dlg ? dlg->country() : nullptr;
}

const wchar_t* CMavListBox::GetMsg(const wchar_t* key, const wchar_t* def, const wchar_t* country) const
{
    return MAV::ctrlGetMsg(this, key, def, country);
}
