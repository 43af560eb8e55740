// CComboBox: creation and item texts; owner drawing comes from CItemListWnd.
#include "afx/CComboBox.h"

IMPLEMENT_DYNAMIC(CComboBox, CItemListWnd)

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(L"COMBOBOX", nullptr, style, rect, parent, id);
}

void CComboBox::GetLBText(int index, CString& text) const
{
    itemText(CB_GETLBTEXTLEN, CB_GETLBTEXT, index, text);
}
