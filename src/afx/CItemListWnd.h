// CItemListWnd: what list boxes and combo boxes share — owner-drawn items served through the messages the parent
// reflects back, and reading an item's text with the control's length and text messages.
#pragma once

#include "afx/CString.h"
#include "afx/CWnd.h"

class CItemListWnd : public CWnd {
    DECLARE_DYNAMIC(CItemListWnd)
public:
    // Owner drawing of items; the defaults do nothing (CompareItem: 0, equal).
    virtual void DrawItem(LPDRAWITEMSTRUCT item);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT item);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT item);
    virtual void DeleteItem(LPDELETEITEMSTRUCT item);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    // The text of item index through the control's pair of messages; empty for an index out of range.
    void itemText(UINT lengthMessage, UINT textMessage, int index, CString& text) const;
};
