// The units dialog. The position of a name in the language's unit table is its unit value, so the list keeps the
// table's order (no sorting) and each row carries its value. Unit 0 ("unitless") is listed, since the table has it,
// but a drawing needs a real unit: OK stays disabled while it is selected.
#include "dialogs/CMavUnitsDlg.h"

#include "afx/CWinApp.h"
#include "data/units.h"
#include "resource.h"

IMPLEMENT_DYNAMIC(CMavUnitsDlg, CMavDlg)

CMavUnitsDlg::CMavUnitsDlg(CWnd* parent) : CMavDlg(IDD, parent) {}

void CMavUnitsDlg::addLangRsc()
{
    m_mapLangKey.SetAt(IDOK, L"MAV_OUTL_0002");
    m_mapLangDef.SetAt(IDOK, L"OK");
}

BOOL CMavUnitsDlg::OnInitDialog()
{
    CMavDlg::OnInitDialog();
    m_list.SubclassDlgItem(IDC_UNITS_LIST, this);
    m_list.SetFocus();
    const CMavArrayTempl<CMavString> names = MAV::acad_units(country());
    SetWindowText(GetMsg(L"MAV084", L"Einheit wählen"));
    for (int i = 0; i < names.len(); ++i) {
        const int row = m_list.AddString(names[i].c_str());
        if (row < 0)
            continue;
        m_list.SetItemData(row, static_cast<DWORD_PTR>(i));
        if (i == m_nUnit)
            m_list.SetCurSel(row);
    }
    if (CWnd* ok = GetDlgItem(IDOK))
        ok->EnableWindow(m_nUnit != 0);
    // The focus was set here; FALSE keeps the dialog manager from moving it to the first tab stop.
    return FALSE;
}

void CMavUnitsDlg::onSelChange()
{
    const int row = m_list.GetCurSel();
    if (row < 0)
        return;
    m_nUnit = static_cast<int>(m_list.GetItemData(row));
    if (CWnd* ok = GetDlgItem(IDOK))
        ok->EnableWindow(m_nUnit != 0);
}

BOOL CMavUnitsDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_UNITS_LIST && HIWORD(wParam) == LBN_SELCHANGE) {
        onSelChange();
        return TRUE;
    }
    return CMavDlg::OnCommand(wParam, lParam);
}

void CMavUnitsDlg::OnOK()
{
    // Enter reaches here even while the button is disabled.
    if (m_nUnit != 0)
        CMavDlg::OnOK();
}

BOOL CMavUnitsDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE)
        return TRUE;
    return CMavDlg::PreTranslateMessage(msg);
}

namespace MAV {

Mav::lUnit dlgUnits(const MAV::DlgEnv_st& env, Mav::lUnit unit)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    CMavUnitsDlg dialog(env.parentWnd());
    if (!env.country.isEmpty())
        dialog.SetCountry(env.country.c_str());
    dialog.SetHelpFile(env.helpFile.c_str());
    dialog.SetHelpTopic(env.helpTopic.c_str());
    dialog.m_nUnit = unit;
    dialog.DoModal();
    return static_cast<Mav::lUnit>(dialog.m_nUnit);
}

} // namespace MAV
