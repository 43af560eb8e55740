// CMavListCtrl: a list view whose cells can be edited in place with a numeric edit field.
#pragma once

#include "afx/CListCtrl.h"
#include "afx/CRect.h"

class CMavEdit;

class CMavListCtrl : public CListCtrl {
    DECLARE_DYNAMIC(CMavListCtrl)
public:
    // The control id of the in-place edit, the child of the list while a cell is edited.
    enum { IDC_INPLACE_EDIT = 1025 };

    CMavListCtrl() = default;
    ~CMavListCtrl() override;

    // Selects item (other selections stay) and scrolls it into view; 0 for an index outside the list, else 1.
    int SetCurSel(int index);
    // The first selected item, -1 when none.
    int GetCurSel() const;
    // Sets only the image of one cell; the control's answer.
    int SetItemImage(int item, int subItem, int image);

    // Opens the cell of hit for editing: a CMavEdit over its label, with the cell's text selected and the focus.
    // 1 when the edit is open; 0 for a cell that does not exist or a call from inside another start. Called from
    // OnEndItemEdit or OnDestroyEditCtrl (a list that moves on to the next cell), it opens the cell once the edit
    // that ends is finished.
    int BeginItemEdit(LVHITTESTINFO* hit);

    // Hooks of a derived list. OnInitEditCtrl configures the new edit field (type, flags, units); OnAllowEdit
    // answers whether the hit cell may be edited (default 0: none); OnEndItemEdit whether the edited text is
    // taken into the cell (default 0: it is not); OnDestroyEditCtrl sees the field after its window is gone,
    // to read its value.
    virtual void OnInitEditCtrl(LVHITTESTINFO* hit, CMavEdit* edit);
    virtual int OnAllowEdit(LVHITTESTINFO* hit);
    virtual int OnEndItemEdit(CMavEdit* edit);
    virtual void OnDestroyEditCtrl(CMavEdit* edit);
    // The parent dialog's text of key when the parent is a CMavDlg, else def.
    virtual const wchar_t* GetMsg(const wchar_t* key, const wchar_t* def = nullptr,
                                  const wchar_t* country = nullptr) const;

    // The open edit field and the row and column it edits (-1 when the row was deleted meanwhile); null and -1
    // while no cell is edited.
    CMavEdit* GetEditCtrl() const { return m_pEdit; }
    int GetEditItem() const { return m_iItem; }
    int GetEditSubItem() const { return m_iSubItem; }
    // Where the left button last went down while no cell was edited.
    CPoint GetLastClick() const { return m_ptLastClick; }
    // In-place edit fields alive in the process, of all lists.
    static int editsAlive();

    // Enter in the edit field takes its text into the cell, Escape drops it; both end the edit.
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnKillFocus(CWnd* newWnd) override;
    void OnHScroll(UINT code, UINT pos, CWnd* scrollBar) override;
    void OnVScroll(UINT code, UINT pos, CWnd* scrollBar) override;
    BOOL OnMouseWheel(UINT flags, short delta, CPoint screenPoint) override;
    void OnDestroy() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // EN_KILLFOCUS of the in-place edit: the text into the cell when changed and accepted, then the end.
    void OnKillfocusEdit();

private:
    bool EndItemEdit();
    void deleteEdit();

    CPoint m_ptLastClick;
    CMavEdit* m_pEdit = nullptr;
    int m_iItem = -1;
    int m_iSubItem = -1;
    bool m_bBusy = false;
    bool m_bStarting = false;  // inside BeginItemEdit
    bool m_bEnding = false;    // inside OnEndItemEdit or OnDestroyEditCtrl
    bool m_bPending = false;   // a start asked for there, of the cell in m_pending
    LVHITTESTINFO m_pending{};
    unsigned m_rowChanges = 0; // rows inserted or deleted while a cell is edited, as the parent reported them
};
