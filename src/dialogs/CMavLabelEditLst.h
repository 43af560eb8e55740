// CMavLabelEditLst: the label edit dialog's list, one row per language with its text, editable in place, copied to
// and pasted from a store shared by every dialog of the user.
#pragma once

#include "afx/CImageList.h"
#include "base/CMavArray.h"
#include "base/CMavString.h"
#include "ui/CMavListCtrl.h"

class CMavLabelEditLst : public CMavListCtrl {
    DECLARE_DYNAMIC(CMavLabelEditLst)
public:
    // The registry key (below HKEY_CURRENT_USER) of the shared store: one string value per language code.
    static const wchar_t* const kStoreKey;

    CMavLabelEditLst() = default;

    // Whether rows may hold several lines (before filling).
    void setMultiLine(bool multi) { m_bMultiLine = multi; }
    bool multiLine() const { return m_bMultiLine; }

    // Fills the rows from a label (a plain text counts for lang); a null lang is the selected row's language.
    void fill(const wchar_t* label, const wchar_t* lang = nullptr);
    // The label of every row with a text, carriage returns removed.
    CMavString collect() const;
    // The language code of a row; null outside the list.
    const wchar_t* rowCode(int row) const;
    // 1 when the row's text has several lines.
    int rowFlag(int row) const;

    // The shared store: the label it holds (false when there is none), and the rows written into it.
    bool readStore(CMavString& label) const;
    void writeStore() const;

    // Adds the owner-draw style and moves the dialog a pixel aside and back, so the list measures its rows again.
    void renewHeights();
    // The row height for the current texts: 16 pixels per line of the row with the most line marks, plus 2.
    int rowHeight() const;
    // The context menu for the selected row (screen point); exposed so a caller can show it for a given point.
    void showMenu(CPoint screenPoint);

    void PreSubclassWindow() override;
    int OnAllowEdit(LVHITTESTINFO* hit) override;
    int OnEndItemEdit(CMavEdit* edit) override;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnContextMenu(CWnd* wnd, CPoint screenPoint) override;
    // The reflected WM_MEASUREITEM (row height) and WM_DRAWITEM (DrawItem); the rest goes to the base.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // The rows are always drawn by the list itself: an owner-draw request only takes the style away again.
    void DrawItem(LPDRAWITEMSTRUCT item);
    void OnInitEditCtrl(LVHITTESTINFO* hit, CMavEdit* edit) override;

private:
    void setRowText(int row, const CMavString& text);
    void setRowFlag(int row, int flag);
    void toggleRow(int row);
    void afterEdit(int row);

    CMavArrayTempl<int> m_rowFlags;
    CImageList m_images;
    bool m_bMultiLine = false;
};
