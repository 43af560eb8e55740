// CMavListBox: a list box that takes its language and texts from the dialog around it.
#pragma once

#include "afx/CListBox.h"

class CMavListBox : public CListBox {
    DECLARE_DYNAMIC(CMavListBox)
public:
    // The parent dialog's country when the parent is a CMavDlg, else null.
    const wchar_t* country() const;
    // The parent dialog's text of key when the parent is a CMavDlg, else def.
    const wchar_t* GetMsg(const wchar_t* key, const wchar_t* def = nullptr, const wchar_t* country = nullptr) const;
};
