// CMavTabPage: a page takes over help file, help topic and country from its host dialog before its texts are set.
#include "ui/CMavTabPage.h"

#include "afx/CTabCtrl.h"

IMPLEMENT_DYNAMIC(CMavTabPage, CMavDlg)

CMavTabPage::CMavTabPage(int IDD, CWnd* parent) : CMavDlg(IDD, parent) {}

BOOL CMavTabPage::OnInitDialog()
{
    CWnd* host = GetParent();
    if (host && host->IsKindOf(RUNTIME_CLASS(CTabCtrl)))
        host = host->GetParent();
    // Kept only when it lives as long as its window: a passing wrapper of a window the library does not know
    // is gone at the next idle moment.
    m_pHostDlg = host ? CWnd::FromHandlePermanent(host->m_hWnd) : nullptr;
    if (host && host->IsKindOf(RUNTIME_CLASS(CMavDlg))) {
        auto* dlg = static_cast<CMavDlg*>(host);
        CString text;
        dlg->GetHelpFile(text);
        SetHelpFile(text.IsEmpty() ? nullptr : text.GetString());
        dlg->GetHelpTopic(text);
        SetHelpTopic(text);
        SetCountry(dlg->country());
    }
    CMavDlg::OnInitDialog();
    // The tab control gives the page the focus when it shows it.
    return FALSE;
}
