// CListCtrl: creation and the methods that need more than one message.
#include "afx/CListCtrl.h"

#include "afx/CImageList.h"

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(WC_LISTVIEWW, nullptr, style, rect, parent, id);
}

int CListCtrl::InsertColumn(int column, const wchar_t* heading, int format, int width, int subItem)
{
    LVCOLUMNW col{};
    col.mask = LVCF_FMT | LVCF_TEXT;
    col.fmt = format;
    col.pszText = const_cast<wchar_t*>(heading ? heading : L"");
    if (width >= 0) {
        col.mask |= LVCF_WIDTH;
        col.cx = width;
    }
    if (subItem >= 0) {
        col.mask |= LVCF_SUBITEM;
        col.iSubItem = subItem;
    }
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col)));
}

CWnd* CListCtrl::GetHeaderCtrl() const
{
    HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    return header ? CWnd::FromHandle(header) : nullptr;
}

int CListCtrl::InsertItem(int index, const wchar_t* text, int image)
{
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text ? text : L"");
    if (image >= 0) {
        item.mask |= LVIF_IMAGE;
        item.iImage = image;
    }
    return InsertItem(&item);
}

// The control copies at most the buffer's size less one; a full buffer may mean a longer text, so the buffer
// doubles until the text fits.
CString CListCtrl::GetItemText(int item, int subItem) const
{
    CString text;
    if (!m_hWnd || item < 0 || subItem < 0 || item >= GetItemCount())
        return text;
    for (int size = 256; size <= (1 << 24); size *= 2) {
        LVITEMW lv{};
        lv.iSubItem = subItem;
        lv.cchTextMax = size;
        lv.pszText = text.GetBufferSetLength(size);
        lv.pszText[0] = 0;
        int got = static_cast<int>(SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv)));
        if (got < size - 1) {
            text.ReleaseBuffer(got > 0 ? got : 0);
            return text;
        }
    }
    text.ReleaseBuffer(0);
    return text;
}

BOOL CListCtrl::SetItemText(int item, int subItem, const wchar_t* text)
{
    LVITEMW lv{};
    lv.iSubItem = subItem;
    lv.pszText = const_cast<wchar_t*>(text ? text : L"");
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv)));
}

DWORD_PTR CListCtrl::GetItemData(int item) const
{
    LVITEMW lv{};
    lv.mask = LVIF_PARAM;
    lv.iItem = item;
    return GetItem(&lv) ? static_cast<DWORD_PTR>(lv.lParam) : 0;
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data)
{
    LVITEMW lv{};
    lv.mask = LVIF_PARAM;
    lv.iItem = item;
    lv.lParam = static_cast<LPARAM>(data);
    return SetItem(&lv);
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask)
{
    LVITEMW lv{};
    lv.state = state;
    lv.stateMask = mask;
    return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv)));
}

BOOL CListCtrl::GetItemRect(int item, RECT* rect, UINT code) const
{
    if (!rect)
        return FALSE;
    rect->left = static_cast<LONG>(code);
    return static_cast<BOOL>(SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(rect)));
}

BOOL CListCtrl::GetSubItemRect(int item, int subItem, int code, RECT* rect) const
{
    if (!rect)
        return FALSE;
    rect->top = subItem;
    rect->left = code;
    return static_cast<BOOL>(SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(rect)));
}

HIMAGELIST CListCtrl::SetImageList(CImageList* list, int kind)
{
    return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(kind),
                                                    reinterpret_cast<LPARAM>(list ? list->m_hImageList : nullptr)));
}
