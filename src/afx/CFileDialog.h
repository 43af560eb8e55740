// CFileDialog: the system's Open and Save As dialogs with MFC's names.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <vector>

#include "afx/CDialog.h"
#include "afx/CString.h"

class CFileDialog : public CDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    // filter is MFC's form, "Text (*.txt)|*.txt|All (*.*)|*.*||"; size 0 means the structure's own size; vistaStyle
    // is accepted for MFC's signature, the explorer style is always used.
    explicit CFileDialog(BOOL openFileDialog, const wchar_t* defExt = nullptr, const wchar_t* fileName = nullptr,
                         DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const wchar_t* filter = nullptr,
                         CWnd* parent = nullptr, DWORD size = 0, BOOL vistaStyle = TRUE);

    // The Open (or Save As) dialog; IDOK when a file was chosen, else IDCANCEL.
    INT_PTR DoModal() override;

    // The chosen path, its file name part and its extension (without the dot).
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;

    OPENFILENAMEW m_ofn{};

protected:
    BOOL m_bOpenFileDialog;
    std::vector<wchar_t> m_fileBuffer;
    std::vector<wchar_t> m_filter;
    CString m_defExt;
};
