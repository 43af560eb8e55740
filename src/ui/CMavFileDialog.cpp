// CMavFileDialog: the Open dialog of the system, whatever kind the caller asked for, and never with a hook
// procedure (the library installs none, so a hook flag would point the dialog at nothing).
#include "ui/CMavFileDialog.h"

IMPLEMENT_DYNAMIC(CMavFileDialog, CFileDialog)

CMavFileDialog::CMavFileDialog(int open, const wchar_t* defExt, const wchar_t* fileName, unsigned long flags,
                               const wchar_t* filter, CWnd* parent)
    : CFileDialog(open, defExt, fileName, flags, filter, parent, 0, TRUE)
{
    if (parent)
        m_ofn.hwndOwner = parent->GetSafeHwnd();
}

INT_PTR CMavFileDialog::DoModal()
{
    m_ofn.Flags &= ~static_cast<DWORD>(OFN_ENABLEHOOK);
    m_ofn.lpfnHook = nullptr;
    return GetOpenFileNameW(&m_ofn) ? IDOK : IDCANCEL;
}
