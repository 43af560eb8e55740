// CMavTabPage: the dialog base of a tab control's page; it speaks the language and opens the help of the dialog
// that holds the tab control.
#pragma once

#include "ui/CMavDlg.h"

class CMavTabPage : public CMavDlg {
    DECLARE_DYNAMIC(CMavTabPage)
public:
    explicit CMavTabPage(int IDD, CWnd* parent = nullptr);

    // The dialog holding the tab control, known once the page is created; null before.
    CWnd* hostDlg() const { return m_pHostDlg; }

    BOOL OnInitDialog() override;

protected:
    CWnd* m_pHostDlg = nullptr;
};
