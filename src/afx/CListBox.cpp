// CListBox: creation and item texts; owner drawing comes from CItemListWnd.
#include "afx/CListBox.h"

IMPLEMENT_DYNAMIC(CListBox, CItemListWnd)

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(L"LISTBOX", nullptr, style, rect, parent, id);
}

void CListBox::GetText(int index, CString& text) const
{
    itemText(LB_GETTEXTLEN, LB_GETTEXT, index, text);
}
