// CMavComboCountryBox: the language table as a sorted drop-down list; an entry's item data points at the code in
// the table, which lives as long as the process, so the box copies nothing.
#include "ui/CMavComboCountryBox.h"

#include "base/countries.h"

IMPLEMENT_DYNAMIC(CMavComboCountryBox, CMavComboBox)

void CMavComboCountryBox::PreSubclassWindow()
{
    CMavComboBox::PreSubclassWindow();
    ModifyStyle(0, CBS_DROPDOWNLIST | CBS_SORT);
    fill(); // does nothing in a box made with Create, which the system has not built yet
}

int CMavComboCountryBox::OnCreate(LPCREATESTRUCTW cs)
{
    const int result = CMavComboBox::OnCreate(cs);
    if (result != -1 && GetCount() <= 0)
        fill();
    return result;
}

// Each entry goes to its place in the order of names: a box counts its sort style only as it is made, so one
// from a template without it would otherwise keep the table's order.
void CMavComboCountryBox::fill()
{
    for (const MavDlCountry_st* c = mavDlCountrys(); c && c->code; ++c) {
        const wchar_t* name = c->name ? c->name : c->code;
        int at = GetCount();
        for (CString other; at > 0; --at) {
            GetLBText(at - 1, other);
            if (::lstrcmpiW(other.GetString(), name) <= 0)
                break;
        }
        const int index = InsertString(at, name);
        if (index >= 0)
            SetItemDataPtr(index, const_cast<wchar_t*>(c->code));
    }
    SetCurSel(0);
}

int CMavComboCountryBox::SelectCountry(const wchar_t* code)
{
    if (!code || !m_hWnd)
        return 0;
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        DWORD_PTR data = GetItemData(i);
        if (data == static_cast<DWORD_PTR>(CB_ERR) || !data)
            continue;
        if (::lstrcmpiW(reinterpret_cast<const wchar_t*>(data), code) == 0) {
            SetCurSel(i);
            return 1;
        }
    }
    return 0;
}

const wchar_t* CMavComboCountryBox::GetCountry() const
{
    if (!m_hWnd)
        return nullptr;
    int sel = GetCurSel();
    if (sel < 0)
        return nullptr;
    DWORD_PTR data = GetItemData(sel);
    return data == static_cast<DWORD_PTR>(CB_ERR) ? nullptr : reinterpret_cast<const wchar_t*>(data);
}
