// CDialog: modal dialogs through the library's own message loop, modeless dialogs, and data exchange (DDX).
#pragma once

#include <windows.h>

#include "afx/CString.h"
#include "afx/CWnd.h"

class CDataExchange;

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    // A dialog of the template with this resource id (found with AfxFindResourceHandle) or resource name.
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    explicit CDialog(LPCWSTR templateName, CWnd* parent = nullptr);
    ~CDialog() override;

    // Uses a template in memory instead of a resource; it must outlive the dialog's window.
    void InitModalIndirect(LPCDLGTEMPLATEW dialogTemplate, CWnd* parent = nullptr);

    // Runs the dialog modally and answers the value given to EndDialog; -1 when the template is missing or the
    // window cannot be created. The owner is disabled while the dialog runs.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless; the caller's message loop dispatches its messages (AfxPreTranslateMessage).
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    virtual BOOL Create(LPCWSTR templateName, CWnd* parent = nullptr);
    virtual BOOL CreateIndirect(LPCDLGTEMPLATEW dialogTemplate, CWnd* parent = nullptr);
    // Ends a modal dialog with result (the loop returns once the current message is done); hides a modeless one.
    void EndDialog(int result);

    // Runs DoDataExchange into the controls (save false) or from them (save true); false when a field failed.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // Dialog keys (IsDialogMessage) for keyboard and mouse messages of this dialog's windows.
    BOOL PreTranslateMessage(MSG* msg) override;
    // IDOK and IDCANCEL commands go to OnOK and OnCancel after the reflection to the control.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    LPCWSTR m_lpszTemplateName = nullptr;
    UINT m_nIDHelp = 0;
    CWnd* m_pParentWnd = nullptr;

protected:
    virtual void DoDataExchange(CDataExchange* dx);
    // The modal loop: dispatches messages (after PreTranslateMessage up the window chain) until EndDialog.
    int RunModalLoop();
    BOOL ContinueModal() const { return m_bContinueModal; }

    LPCDLGTEMPLATEW m_lpDialogTemplate = nullptr;
    int m_nModalResult = -1;

private:
    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
    LPCDLGTEMPLATEW findTemplate() const;
    HWND ownerWindow() const;
    BOOL createModeless(LPCDLGTEMPLATEW dialogTemplate, CWnd* parent);
    bool m_bContinueModal = false;
    bool m_bInModalLoop = false;
};

// The dialog procedure of every CDialog: WM_INITDIALOG goes to OnInitDialog; everything else reaches the object
// through its window procedure first.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// The state of one UpdateData pass.
class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    // The control with that id (null when the dialog has none), remembered for Fail.
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // Marks the pass failed (the rest of the pass is skipped) and puts the focus on the last prepared control
    // (its text selected when an edit).
    void Fail();

    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
    bool m_bFailed = false;
    HWND m_hWndLastControl = nullptr;
    bool m_bEditLastControl = false;
};

// Binds control id of the dialog to a control object (subclassing it) on the first exchange.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// Text of a control to and from a string, an integer or a number; a value that does not parse fails the pass.
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Text(CDataExchange* dx, int id, double& value);
// Check state of a check box (BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE).
void DDX_Check(CDataExchange* dx, int id, int& value);
// Selected index of a combo box (-1: none).
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
