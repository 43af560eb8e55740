// CTabCtrl: thin wrapper of a tab control (WC_TABCONTROLW), its messages as methods.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "afx/CWnd.h"

class CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
    int SetCurSel(int item) { return static_cast<int>(SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(item))); }
    int GetCurFocus() const { return static_cast<int>(SendMessage(TCM_GETCURFOCUS)); }
    void SetCurFocus(int item) { SendMessage(TCM_SETCURFOCUS, static_cast<WPARAM>(item)); }
    BOOL GetItem(int item, TCITEMW* tcItem) const
    {
        return static_cast<BOOL>(SendMessage(TCM_GETITEMW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(tcItem)));
    }
    BOOL SetItem(int item, TCITEMW* tcItem)
    {
        return static_cast<BOOL>(SendMessage(TCM_SETITEMW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(tcItem)));
    }
    // Inserts a tab with the text at item; the index the control gave it, -1 on failure.
    int InsertItem(int item, const wchar_t* text);
    BOOL DeleteItem(int item) { return static_cast<BOOL>(SendMessage(TCM_DELETEITEM, static_cast<WPARAM>(item))); }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(TCM_DELETEALLITEMS)); }
    BOOL GetItemRect(int item, RECT* rect) const
    {
        return static_cast<BOOL>(SendMessage(TCM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(rect)));
    }
    // larger true: the window rectangle for a display area; false: the display area of a window rectangle.
    void AdjustRect(BOOL larger, RECT* rect) const
    {
        SendMessage(TCM_ADJUSTRECT, static_cast<WPARAM>(larger), reinterpret_cast<LPARAM>(rect));
    }
    int GetRowCount() const { return static_cast<int>(SendMessage(TCM_GETROWCOUNT)); }
    // The tab under a point of the client area, -1 when none.
    int HitTest(TCHITTESTINFO* info) const
    {
        return static_cast<int>(SendMessage(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(info)));
    }
};
