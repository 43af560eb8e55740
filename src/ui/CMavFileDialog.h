// CMavFileDialog: the system's Open dialog with a title and the owner taken from the parent.
#pragma once

#include "afx/CFileDialog.h"

class CMavFileDialog : public CFileDialog {
    DECLARE_DYNAMIC(CMavFileDialog)
public:
    // filter in MFC's form ("(*.chm)|*.chm||"); a parent's window becomes the owner.
    CMavFileDialog(int open, const wchar_t* defExt, const wchar_t* fileName, unsigned long flags,
                   const wchar_t* filter, CWnd* parent);

    // The dialog's title; the text is not copied and must outlive DoModal.
    void SetTitle(const wchar_t* title) { m_ofn.lpstrTitle = title; }

    // Always the Open dialog, without a hook; IDOK when a file was chosen, else IDCANCEL.
    INT_PTR DoModal() override;
};
