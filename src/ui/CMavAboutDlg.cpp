// The About box: product, version and maker come from the library's version resource, so they always name the
// DLL that is loaded; the labels and the caption are message texts in the dialog's language.
#include "ui/CMavAboutDlg.h"

#include <vector>

#include "afx/CWinApp.h"
#include "resource.h"

IMPLEMENT_DYNAMIC(CMavAboutDlg, CMavDlg)

CMavAboutDlg::CMavAboutDlg(CWnd* parent) : CMavDlg(IDD, parent)
{
    // The About box always opens where its template says: its title is the same for every dialog that opens it.
    SavePosition(false);
}

CString CMavAboutDlg::versionString(const wchar_t* name)
{
    wchar_t path[MAX_PATH] = {};
    if (!::GetModuleFileNameW(AfxGetStaticModuleState()->m_hCurrentInstanceHandle, path, MAX_PATH))
        return CString();
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0)
        return CString();
    std::vector<BYTE> block(size);
    if (!::GetFileVersionInfoW(path, 0, size, block.data()))
        return CString();
    // The first translation the resource lists names the string table to read.
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translation = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                          &length) ||
        length < sizeof(Translation))
        return CString();
    CString query;
    query.Format(L"\\StringFileInfo\\%04x%04x\\%s", translation->language, translation->codePage, name);
    wchar_t* value = nullptr;
    if (!::VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&value), &length) || !value)
        return CString();
    return CString(value);
}

void CMavAboutDlg::addLangRsc()
{
    m_mapLangKey.SetAt(IDC_ABOUT_VERSION_LABEL, L"MAV_ABOUT_002");
    m_mapLangDef.SetAt(IDC_ABOUT_VERSION_LABEL, L"Version");
    m_mapLangKey.SetAt(IDC_ABOUT_MAKER_LABEL, L"MAV_ABOUT_003");
    m_mapLangDef.SetAt(IDC_ABOUT_MAKER_LABEL, L"Hersteller");
    m_mapLangKey.SetAt(IDOK, L"DLG_001");
    m_mapLangDef.SetAt(IDOK, L"OK");
}

BOOL CMavAboutDlg::OnInitDialog()
{
    CMavDlg::OnInitDialog();
    const CString product = versionString(L"ProductName");
    SetDlgItemText(IDC_ABOUT_PRODUCT, product);
    SetDlgItemText(IDC_ABOUT_VERSION, versionString(L"FileVersion"));
    SetDlgItemText(IDC_ABOUT_MAKER, versionString(L"CompanyName"));
    // "Info über %s": the caption names the product. The text may come from a host's catalogue, so it is not
    // used as a format: its first "%s" takes the name, any other percent sign stays as it is.
    const wchar_t* text = GetMsg(L"MAV_ABOUT_001", L"Info über %s", nullptr);
    CString caption(text ? text : L"%s");
    const int at = caption.Find(L"%s");
    if (at >= 0)
        caption = caption.Left(at) + product + caption.Mid(at + 2);
    SetWindowText(caption);
    return TRUE;
}

namespace MAV {

void aboutMenuAdd(CWnd* dialog, const wchar_t* country)
{
    if (!dialog || !dialog->m_hWnd)
        return;
    HMENU menu = ::GetSystemMenu(dialog->m_hWnd, FALSE);
    if (!menu)
        return;
    const wchar_t* lang = country;
    if (!lang && dialog->IsKindOf(RUNTIME_CLASS(CMavDlg)))
        lang = static_cast<CMavDlg*>(dialog)->country();
    const wchar_t* def = L"Info über MavMfc...";
    const wchar_t* text = CMavDlg::m_pMsgFcn ? CMavDlg::m_pMsgFcn(L"MAV_ABOUT_004", def, lang) : def;
    const CString entry(text ? text : def);
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, entry);
}

bool aboutOnSysCommand(CWnd* dialog, UINT command, const wchar_t* country)
{
    if ((command & 0xFFF0) != IDM_ABOUTBOX)
        return false;
    const wchar_t* lang = country;
    if (!lang && dialog && dialog->IsKindOf(RUNTIME_CLASS(CMavDlg)))
        lang = static_cast<CMavDlg*>(dialog)->country();
    aboutBox(dialog, lang);
    return true;
}

INT_PTR aboutBox(CWnd* parent, const wchar_t* country)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    CMavAboutDlg dialog(parent);
    if (country && *country)
        dialog.SetCountry(country);
    return dialog.DoModal();
}

} // namespace MAV
