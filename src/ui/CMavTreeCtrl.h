// CMavTreeCtrl: a tree view that takes its language and texts from the dialog around it.
#pragma once

#include "afx/CTreeCtrl.h"

class CMavTreeCtrl : public CTreeCtrl {
    DECLARE_DYNAMIC(CMavTreeCtrl)
public:
    // The parent dialog's country when the parent is a CMavDlg, else null.
    virtual const wchar_t* country() const;
    // The parent dialog's text of key when the parent is a CMavDlg, else def.
    virtual const wchar_t* GetMsg(const wchar_t* key, const wchar_t* def = nullptr,
                                  const wchar_t* country = nullptr) const;
};
