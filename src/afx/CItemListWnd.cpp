// CItemListWnd: the reflected owner-draw messages and item texts of list and combo boxes.
#include "afx/CItemListWnd.h"

IMPLEMENT_DYNAMIC(CItemListWnd, CWnd)

void CItemListWnd::itemText(UINT lengthMessage, UINT textMessage, int index, CString& text) const
{
    text.Empty();
    // LB_ERR and CB_ERR are both -1, so one test serves both controls.
    const int length = static_cast<int>(SendMessage(lengthMessage, static_cast<WPARAM>(index)));
    if (length <= 0)
        return;
    wchar_t* buffer = text.GetBufferSetLength(length + 1);
    const int got = static_cast<int>(SendMessage(textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
    text.ReleaseBuffer(got > 0 ? got : 0);
}

void CItemListWnd::DrawItem(LPDRAWITEMSTRUCT) {}

void CItemListWnd::MeasureItem(LPMEASUREITEMSTRUCT) {}

int CItemListWnd::CompareItem(LPCOMPAREITEMSTRUCT)
{
    return 0;
}

void CItemListWnd::DeleteItem(LPDELETEITEMSTRUCT) {}

BOOL CItemListWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    LRESULT r = TRUE;
    switch (message) {
    case WM_DRAWITEM:
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        break;
    case WM_MEASUREITEM:
        MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        break;
    case WM_COMPAREITEM:
        r = CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
        break;
    case WM_DELETEITEM:
        DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
        break;
    default:
        return CWnd::OnChildNotify(message, wParam, lParam, result);
    }
    if (result)
        *result = r;
    return TRUE;
}
