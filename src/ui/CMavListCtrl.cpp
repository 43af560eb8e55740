// CMavListCtrl: in-place editing of list cells.
//
// Vocabulary: the "edit" is the CMavEdit the list creates on the heap over a cell and deletes when the edit ends;
// the "busy" flag is set while an edit is being started by a click or ended, so that the focus changes and
// window destruction those cause cannot end it a second time. The text goes into the cell only when the user
// changed it and OnEndItemEdit accepts it.
#include "ui/CMavListCtrl.h"

#include "ui/CMavEdit.h"
#include "ui/ctrlTexts.h"

IMPLEMENT_DYNAMIC(CMavListCtrl, CListCtrl)

namespace {
int g_editsAlive = 0;
} // namespace

int CMavListCtrl::editsAlive()
{
    return g_editsAlive;
}

CMavListCtrl::~CMavListCtrl()
{
    deleteEdit();
}

int CMavListCtrl::SetCurSel(int index)
{
    if (!m_hWnd || index < 0 || index >= GetItemCount())
        return 0;
    EnsureVisible(index, TRUE);
    SetItemState(index, LVIS_SELECTED, LVIS_SELECTED);
    return 1;
}

int CMavListCtrl::GetCurSel() const
{
    return m_hWnd ? GetNextItem(-1, LVNI_SELECTED) : -1;
}

int CMavListCtrl::SetItemImage(int item, int subItem, int image)
{
    LVITEMW lv{};
    lv.mask = LVIF_IMAGE;
    lv.iItem = item;
    lv.iSubItem = subItem;
    lv.iImage = image;
    return m_hWnd ? SetItem(&lv) : 0;
}

void CMavListCtrl::OnInitEditCtrl(LVHITTESTINFO*, CMavEdit*) {}

int CMavListCtrl::OnAllowEdit(LVHITTESTINFO*)
{
    return 0;
}

int CMavListCtrl::OnEndItemEdit(CMavEdit*)
{
    return 0;
}

void CMavListCtrl::OnDestroyEditCtrl(CMavEdit*) {}

const wchar_t* CMavListCtrl::GetMsg(const wchar_t* key, const wchar_t* def, const wchar_t* country) const
{
    return MAV::ctrlGetMsg(this, key, def, country);
}

// A click on the row that is already selected opens the clicked cell; a click on another row only selects it.
// While a cell is edited, a click anywhere in the list only ends the edit, so it does not also move the selection.
void CMavListCtrl::OnLButtonDown(UINT flags, CPoint point)
{
    if (m_pEdit) {
        EndItemEdit();
        return;
    }
    m_ptLastClick = point;
    int first = GetNextItem(-1, LVNI_SELECTED);
    if (first < 0)
        first = 0;
    LVHITTESTINFO hit{};
    hit.pt = point;
    SubItemHitTest(&hit);
    if (hit.iItem >= 0 && hit.iItem < GetItemCount() && hit.iItem == first &&
        (hit.flags & (LVHT_ONITEMICON | LVHT_ONITEMLABEL)) && OnAllowEdit(&hit)) {
        m_bBusy = true;
        CListCtrl::OnLButtonDown(flags, point);
        Invalidate();
        EnsureVisible(hit.iItem, FALSE);
        BeginItemEdit(&hit);
        m_bBusy = false;
        return;
    }
    CListCtrl::OnLButtonDown(flags, point);
}

int CMavListCtrl::BeginItemEdit(LVHITTESTINFO* hit)
{
    if (!m_hWnd || !hit || m_bStarting || hit->iItem < 0 || hit->iItem >= GetItemCount() || hit->iSubItem < 0)
        return 0;
    HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    const int columns = header ? static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    if (hit->iSubItem >= (columns > 0 ? columns : 1))
        return 0;
    if (m_bEnding) {
        // The edit that ends is still on its way out: its text goes to its own cell first.
        m_pending = *hit;
        m_bPending = true;
        return 1;
    }
    m_bStarting = true;
    if (m_pEdit && !EndItemEdit())
        deleteEdit(); // an edit that cannot be ended the usual way (while busy) still must not leak
    m_iItem = hit->iItem;
    m_iSubItem = hit->iSubItem;
    m_rowChanges = 0;

    // The label rectangle; in a cell beyond the first that shows an image, the field starts after the image.
    CRect rect;
    GetSubItemRect(m_iItem, m_iSubItem, LVIR_LABEL, &rect);
    if (m_iSubItem > 0) {
        LVITEMW lv{};
        lv.mask = LVIF_IMAGE;
        lv.iItem = m_iItem;
        lv.iSubItem = m_iSubItem;
        lv.iImage = -1;
        if (GetItem(&lv) && lv.iImage >= 0) {
            CRect icon;
            GetSubItemRect(m_iItem, m_iSubItem, LVIR_ICON, &icon);
            rect.left += icon.Width();
        }
    }
    rect.right -= 2;

    // The field aligns its text as the column's header does.
    DWORD style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
    if (header) {
        HDITEMW hd{};
        hd.mask = HDI_FORMAT;
        if (::SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(m_iSubItem), reinterpret_cast<LPARAM>(&hd))) {
            if ((hd.fmt & HDF_JUSTIFYMASK) == HDF_CENTER)
                style |= ES_CENTER;
            else if ((hd.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT)
                style |= ES_RIGHT;
        }
    }

    m_pEdit = new CMavEdit;
    ++g_editsAlive;
    m_pEdit->Create(style, rect, this, IDC_INPLACE_EDIT);
    m_pEdit->SendMessage(WM_SETFONT, static_cast<WPARAM>(SendMessage(WM_GETFONT)), TRUE);
    m_pEdit->SetWindowText(GetItemText(m_iItem, m_iSubItem));

    OnInitEditCtrl(hit, m_pEdit);
    if (m_pEdit) { // the hook may have ended the edit again
        m_pEdit->SetFocus();
        m_pEdit->SetSel(0, -1);
    }
    m_bStarting = false;
    return 1;
}

bool CMavListCtrl::EndItemEdit()
{
    if (!m_pEdit || m_bBusy)
        return false;
    m_bBusy = true;
    m_pEdit->DestroyWindow();
    m_bEnding = true;
    OnDestroyEditCtrl(m_pEdit);
    m_bEnding = false;
    m_bBusy = false;
    deleteEdit();
    if (m_bPending) { // a start asked for by a hook above, now that this edit is gone
        m_bPending = false;
        LVHITTESTINFO hit = m_pending;
        BeginItemEdit(&hit);
    }
    return true;
}

void CMavListCtrl::deleteEdit()
{
    CMavEdit* edit = m_pEdit;
    m_pEdit = nullptr;
    m_iItem = -1;
    m_iSubItem = -1;
    if (!edit)
        return;
    delete edit; // destroys a window still attached
    --g_editsAlive;
}

void CMavListCtrl::OnKillfocusEdit()
{
    if (!m_pEdit)
        return;
    HWND editWnd = m_pEdit->GetSafeHwnd();
    if (m_pEdit->GetModify()) {
        CString text;
        m_pEdit->GetWindowText(text);
        const int rowsBefore = GetItemCount();
        const unsigned changesBefore = m_rowChanges;
        m_bEnding = true;
        const int accepted = OnEndItemEdit(m_pEdit);
        m_bEnding = false;
        if (accepted && m_pEdit) {
            // The hook may have removed or inserted rows. Where the parent reported it, the edited row was followed;
            // a change nobody reported leaves the row unknown, and no other row gets the text.
            bool rowKnown = m_iItem >= 0 && m_iItem < GetItemCount() &&
                            (GetItemCount() == rowsBefore || m_rowChanges != changesBefore);
            if (rowKnown)
                SetItemText(m_iItem, m_iSubItem, text);
        }
    }
    HWND focus = ::GetFocus();
    EndItemEdit(); // also opens a cell OnEndItemEdit asked for, here or in the end already under way
    if (focus != m_hWnd && focus != editWnd)
        Default();
}

BOOL CMavListCtrl::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_INPLACE_EDIT && HIWORD(wParam) == EN_KILLFOCUS && m_pEdit &&
        reinterpret_cast<HWND>(lParam) == m_pEdit->GetSafeHwnd()) {
        OnKillfocusEdit();
        return TRUE;
    }
    return CListCtrl::OnCommand(wParam, lParam);
}

// The parent reflects the list's notifications here: rows inserted or deleted while a cell is edited move the
// edited row along, or mark it gone. The parent still sees every notification.
BOOL CMavListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_NOTIFY && m_pEdit && lParam) {
        const auto* nm = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if (nm->hdr.hwndFrom == m_hWnd) {
            if (nm->hdr.code == LVN_DELETEALLITEMS) {
                m_iItem = -1;
                ++m_rowChanges;
            } else if (nm->hdr.code == LVN_DELETEITEM && m_iItem >= 0) {
                if (nm->iItem == m_iItem)
                    m_iItem = -1;
                else if (nm->iItem < m_iItem)
                    --m_iItem;
                ++m_rowChanges;
            } else if (nm->hdr.code == LVN_INSERTITEM && m_iItem >= 0) {
                if (nm->iItem <= m_iItem)
                    ++m_iItem;
                ++m_rowChanges;
            }
        }
    }
    return CListCtrl::OnChildNotify(message, wParam, lParam, result);
}

BOOL CMavListCtrl::PreTranslateMessage(MSG* msg)
{
    if (m_pEdit && msg->message == WM_KEYDOWN && msg->hwnd == m_pEdit->GetSafeHwnd()) {
        if (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) {
            if (msg->wParam == VK_ESCAPE)
                m_pEdit->SetModify(FALSE);
            // Taking the focus back runs the field's own check and then ends the edit through EN_KILLFOCUS.
            SetFocus();
            if (m_pEdit && ::GetFocus() != m_pEdit->GetSafeHwnd())
                EndItemEdit();
            return TRUE;
        }
    }
    return CListCtrl::PreTranslateMessage(msg);
}

void CMavListCtrl::OnKillFocus(CWnd* newWnd)
{
    // While the field shows its message about a refused entry (its box took the focus from the list after Enter),
    // the field is still in its own focus handling; it ends the edit itself when that is done.
    if (m_pEdit && !(newWnd && newWnd->GetSafeHwnd() == m_pEdit->GetSafeHwnd()) && !m_pEdit->showingError())
        EndItemEdit();
    CListCtrl::OnKillFocus(newWnd);
}

void CMavListCtrl::OnHScroll(UINT code, UINT pos, CWnd* scrollBar)
{
    EndItemEdit();
    CListCtrl::OnHScroll(code, pos, scrollBar);
}

void CMavListCtrl::OnVScroll(UINT code, UINT pos, CWnd* scrollBar)
{
    EndItemEdit();
    CListCtrl::OnVScroll(code, pos, scrollBar);
}

BOOL CMavListCtrl::OnMouseWheel(UINT flags, short delta, CPoint screenPoint)
{
    EndItemEdit();
    return CListCtrl::OnMouseWheel(flags, delta, screenPoint);
}

void CMavListCtrl::OnDestroy()
{
    m_bBusy = false;
    m_bPending = false;
    EndItemEdit();
    CListCtrl::OnDestroy();
}
