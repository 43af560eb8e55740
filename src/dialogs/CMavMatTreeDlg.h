// CMavMatTreeDlg: the resizable material choice around a CMavMatTreeCtrl; MAV::dlgMatTree opens it.
#pragma once

#include "dialogs/CMavMatTreeCtrl.h"
#include "ui/CMavDlg.h"

class CMavMatTreeDlg : public CMavDlg {
    DECLARE_DYNAMIC(CMavMatTreeDlg)
public:
    enum { IDD = 203 };
    explicit CMavMatTreeDlg(CWnd* parent = nullptr);

    // Flags of CMavMatTreeCtrl::init and physical property names from a keyword list (see MAV::dlgMatTree).
    void setKeywords(const CMavArrayTempl<CMavString>& keywords, const CMavArrayTempl<CMavString>& physNames,
                     bool drawing, bool names);

    unsigned long m_nFlags = 0;
    CMavString m_strInitMat;               // the material to select when the dialog opens
    CMavString m_strMat;                   // the chosen material (the last selection that allowed OK)
    CMavArrayTempl<CMavString> m_physNames; // upper case

    CMavMatTreeCtrl& tree() { return m_tree; }

    BOOL OnInitDialog() override;

protected:
    void addLangRsc() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnGetMinMaxInfo(MINMAXINFO* info) override;
    void OnSysCommand(UINT id, LPARAM lParam) override;

private:
    // Enables OK as the selected material allows it; true when it does.
    bool checkSelection();
    void layout();
    CMavMatTreeCtrl m_tree;
    CMavMatMgr m_matMgr;
};

namespace MAV {
// Opens the material tree with str selected; on OK the chosen material goes into str and 1 is returned, on Cancel
// 0; any other result of the modal loop is returned as it is.
int dlgMatTree(const MAV::DlgEnvMatTree_st& env, CMavString& str);
} // namespace MAV
