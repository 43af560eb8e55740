// CTabCtrl: creation and inserting a text tab.
#include "afx/CTabCtrl.h"

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)

BOOL CTabCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(WC_TABCONTROLW, nullptr, style, rect, parent, id);
}

int CTabCtrl::InsertItem(int item, const wchar_t* text)
{
    TCITEMW tc{};
    tc.mask = TCIF_TEXT;
    tc.pszText = const_cast<wchar_t*>(text ? text : L"");
    tc.iImage = -1;
    return static_cast<int>(SendMessage(TCM_INSERTITEMW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&tc)));
}
