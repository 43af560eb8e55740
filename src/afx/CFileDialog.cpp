// CFileDialog: the structure for GetOpenFileNameW/GetSaveFileNameW, MFC's filter form, and the chosen path.
#include "afx/CFileDialog.h"

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

namespace {
// Long enough for any path the dialog may give back, also with OFN_ALLOWMULTISELECT of a few files.
constexpr size_t kFileBufferChars = 4096;
} // namespace

CFileDialog::CFileDialog(BOOL openFileDialog, const wchar_t* defExt, const wchar_t* fileName, DWORD flags,
                         const wchar_t* filter, CWnd* parent, DWORD size, BOOL)
    : m_bOpenFileDialog(openFileDialog), m_fileBuffer(kFileBufferChars, L'\0')
{
    m_pParentWnd = parent;
    m_ofn.lStructSize = size ? size : static_cast<DWORD>(sizeof(OPENFILENAMEW));
    m_ofn.Flags = flags | OFN_EXPLORER;
    m_ofn.hwndOwner = parent ? parent->GetSafeHwnd() : nullptr;
    if (fileName)
        lstrcpynW(m_fileBuffer.data(), fileName, static_cast<int>(m_fileBuffer.size()));
    m_ofn.lpstrFile = m_fileBuffer.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_fileBuffer.size());
    if (defExt) {
        m_defExt = defExt;
        m_ofn.lpstrDefExt = m_defExt.GetString();
    }
    // MFC's filter separates its parts with '|'; the structure wants zeros and a double zero at the end.
    if (filter) {
        for (const wchar_t* p = filter; *p; ++p)
            m_filter.push_back(*p == L'|' ? L'\0' : *p);
        m_filter.push_back(L'\0');
        m_filter.push_back(L'\0');
        m_ofn.lpstrFilter = m_filter.data();
    }
}

INT_PTR CFileDialog::DoModal()
{
    if (!m_ofn.hwndOwner && m_pParentWnd)
        m_ofn.hwndOwner = m_pParentWnd->GetSafeHwnd();
    BOOL chosen = m_bOpenFileDialog ? GetOpenFileNameW(&m_ofn) : GetSaveFileNameW(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const
{
    return CString(m_ofn.lpstrFile ? m_ofn.lpstrFile : L"");
}

CString CFileDialog::GetFileName() const
{
    const wchar_t* path = m_ofn.lpstrFile ? m_ofn.lpstrFile : L"";
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p; ++p)
        if (*p == L'\\' || *p == L'/' || *p == L':')
            name = p + 1;
    return CString(name);
}

CString CFileDialog::GetFileExt() const
{
    CString name = GetFileName();
    const wchar_t* s = name.GetString();
    const wchar_t* dot = nullptr;
    for (const wchar_t* p = s; *p; ++p)
        if (*p == L'.')
            dot = p;
    return CString(dot ? dot + 1 : L"");
}
