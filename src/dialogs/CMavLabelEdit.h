// CMavLabelEdit: the label edit dialog (one text per language, imported from the message server if wanted) and
// MAV::dlgLabelEdit, which hosts open it with.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "base/CMavString.h"
#include "dialogs/CMavLabelEditLst.h"
#include "ui/CMavDlg.h"

class CMavLabelEdit : public CMavDlg {
    DECLARE_DYNAMIC(CMavLabelEdit)
public:
    enum { IDD = 204 };
    explicit CMavLabelEdit(CWnd* parent = nullptr);
    ~CMavLabelEdit() override;

    CMavString m_label;      // the label being edited; the result on OK
    CMavString m_startLang;  // the language whose row is selected first
    bool m_bMultiLine = false;
    HICON m_hIcon = nullptr;
    CMavLabelEditLst m_list;
    CMavString m_msgFile;    // the catalogue the import opens in a message server it started

    // How the import reaches a running message server (a reference the caller releases, null when none runs).
    // The library asks the running object table; a test puts a server between the dialog and the real one.
    using ServerFcn = IDispatch* (*)();
    static ServerFcn setServerFcn(ServerFcn fcn);

    bool updLang() override;
    BOOL OnInitDialog() override;
    // Takes the label from the rows and ends the dialog with IDOK.
    void OnOK() override;
    // Imports the texts of the key picked in the message server.
    void OnImport();

protected:
    void addLangRsc() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnGetMinMaxInfo(MINMAXINFO* info) override;
    void OnSysCommand(UINT id, LPARAM lParam) override;

private:
    void layout();
    void importFrom(IDispatch* server, bool started);
};

namespace MAV {

// Opens the label edit dialog on start (a label or a plain text of the language country); label is start at once
// and the edited label after OK. Bit 0 of flags allows texts of several lines; messageFile (may be null) is the
// catalogue a message server started by the import opens. IDOK or IDCANCEL.
int dlgLabelEdit(const DlgEnv_st& env, CMavString& label, DWORD flags, const wchar_t* start, const wchar_t* country,
                 const wchar_t* messageFile);

} // namespace MAV
