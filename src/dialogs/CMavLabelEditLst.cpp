// CMavLabelEditLst: one row per language of the country table. Column 0 shows the language's name and the row's
// image (0 one line, 1 several lines), column 1 its text; the item data is the row's index in the country table.
//
// Vocabulary: a row's "flag" is 1 when its text has several lines (only in multi-line mode; otherwise every flag
// is 0 and newlines show as spaces). "Line marks" are what ends a line in a text as the user types it in the
// one-line cell editor: a newline, the two characters backslash and n, and the pilcrow (U+00B6). The "shared
// store" is a volatile registry key of the user holding one string value per language, newlines escaped, so a
// label copied in one dialog can be pasted into another until the user logs off.
//
// Row heights: a list view asks its parent for the row height (WM_MEASUREITEM) only while it has the owner-draw
// style and is moved or sized. renewHeights gives it the style and nudges the dialog, the measure answers from
// the texts and takes the style away again, so the rows keep being drawn by the list itself.
#include "dialogs/CMavLabelEditLst.h"

#include <algorithm>

#include "afx/CWinApp.h"
#include "base/countries.h"
#include "base/text.h"
#include "base/win/registry.h"
#include "data/labels.h"
#include "resource.h"
#include "ui/CMavEdit.h"

IMPLEMENT_DYNAMIC(CMavLabelEditLst, CMavListCtrl)

const wchar_t* const CMavLabelEditLst::kStoreKey = L"Software\\MAVORA\\MAV_MSG\\DATA";

namespace {

const wchar_t kPilcrow = 0x00B6;

// The number of line marks in a text.
int lineMarks(const CString& text)
{
    int n = 0;
    const int len = text.GetLength();
    for (int i = 0; i < len; ++i) {
        const wchar_t c = text[i];
        if (c == L'\n' || c == kPilcrow) {
            ++n;
        } else if (c == L'\\' && i + 1 < len && text[i + 1] == L'n') {
            ++n;
            ++i;
        }
    }
    return n;
}

// Newlines (CR LF, LF or a lone CR) as single spaces.
CString newlinesAsSpaces(CString text)
{
    text.Replace(L"\r\n", L" ");
    text.Replace(L'\n', L' ');
    text.Replace(L'\r', L' ');
    return text;
}

bool hasNewline(const CString& text)
{
    return text.Find(L'\n') >= 0;
}

} // namespace

void CMavLabelEditLst::PreSubclassWindow()
{
    CMavListCtrl::PreSubclassWindow();
    SetExtendedStyle(GetExtendedStyle() | LVS_EX_SUBITEMIMAGES | LVS_EX_TRACKSELECT | LVS_EX_FULLROWSELECT);
    if (!m_images.GetSafeHandle() && m_images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4)) {
        for (int id : {IDI_MAV_ROW_SINGLE, IDI_MAV_ROW_MULTI}) {
            HICON icon = static_cast<HICON>(::LoadImageW(AfxFindResourceHandle(MAKEINTRESOURCEW(id), RT_GROUP_ICON),
                                                          MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
            m_images.Add(icon);
            if (icon)
                ::DestroyIcon(icon);
        }
    }
    SetImageList(&m_images, LVSIL_SMALL);
    DeleteColumn(0);
    CRect rect;
    GetWindowRect(&rect);
    InsertColumn(0, L"", LVCFMT_LEFT, 100);
    InsertColumn(1, L"", LVCFMT_LEFT, 2 * rect.Width());
    SendMessage(LVM_SETHOVERTIME, 0, 500);
}

const wchar_t* CMavLabelEditLst::rowCode(int row) const
{
    if (row < 0 || row >= GetItemCount())
        return nullptr;
    const DWORD_PTR index = GetItemData(row);
    if (index >= static_cast<DWORD_PTR>(mavDlCountryCount()))
        return nullptr;
    return mavDlCountrys()[index].code;
}

int CMavLabelEditLst::rowFlag(int row) const
{
    return row >= 0 && row < m_rowFlags.len() ? m_rowFlags[row] : 0;
}

void CMavLabelEditLst::setRowFlag(int row, int flag)
{
    if (row < 0)
        return;
    while (m_rowFlags.len() <= row)
        m_rowFlags.append(0);
    m_rowFlags[row] = flag;
    SetItemImage(row, 0, flag == 1 ? 1 : 0);
}

void CMavLabelEditLst::setRowText(int row, const CMavString& text)
{
    CString shown(text.c_str());
    const int flag = m_bMultiLine && hasNewline(shown) ? 1 : 0;
    if (flag != 1)
        shown = newlinesAsSpaces(shown);
    setRowFlag(row, flag);
    SetItemText(row, 1, shown);
}

void CMavLabelEditLst::fill(const wchar_t* label, const wchar_t* lang)
{
    if (!m_hWnd)
        return;
    const int selectedBefore = GetCurSel();
    CString code;
    if (lang && *lang) {
        code = lang;
    } else {
        const wchar_t* c = rowCode(selectedBefore < 0 ? 0 : selectedBefore);
        if (!c && mavDlCountryCount() > 0)
            c = mavDlCountrys()[0].code; // no rows yet: row 0 is to be the first language
        code = c ? c : L"";
    }
    CMavString source(label ? label : L"");
    if (source.isEmpty() || source[0] != L'\\') {
        // A plain text is the text of the one language.
        CMavString plain;
        if (!source.isEmpty())
            MAV::label_set(plain, code, source);
        source = plain;
    }
    const MavDlCountry_st* table = mavDlCountrys();
    const int count = mavDlCountryCount();
    for (int i = 0; i < count; ++i) {
        if (GetItemCount() <= i)
            InsertItem(i, table[i].name, 0);
        CMavString text;
        MAV::label_get(source, table[i].code, text);
        setRowText(i, text);
        SetItemData(i, static_cast<DWORD_PTR>(i));
        if (code.CompareNoCase(table[i].code) == 0)
            SetCurSel(i);
    }
    if (m_bMultiLine) {
        renewHeights();
        const int row = (lang && *lang) ? 0 : selectedBefore;
        if (row >= 0)
            EnsureVisible(row, FALSE);
    }
}

CMavString CMavLabelEditLst::collect() const
{
    CMavString label;
    const int rows = GetItemCount();
    for (int i = 0; i < rows; ++i) {
        CString text = GetItemText(i, 1);
        const wchar_t* code = rowCode(i);
        if (text.IsEmpty() || !code)
            continue;
        text.Remove(L'\r');
        MAV::label_set(label, code, text);
    }
    return label;
}

int CMavLabelEditLst::rowHeight() const
{
    int most = 0;
    const int rows = GetItemCount();
    for (int i = 0; i < rows; ++i)
        most = std::max(most, lineMarks(GetItemText(i, 1)));
    // 16 pixels a line; a count so large that the height would overflow is capped at what a window can show.
    most = std::min(most, 4000);
    return 16 * (most + 1) + 2;
}

void CMavLabelEditLst::renewHeights()
{
    if (!m_hWnd)
        return;
    ModifyStyle(0, LVS_OWNERDRAWFIXED);
    CWnd* parent = GetParent();
    if (!parent)
        return;
    CRect rect;
    parent->GetWindowRect(&rect);
    HWND outer = ::GetParent(parent->m_hWnd);
    if (outer && (parent->GetStyle() & WS_CHILD)) {
        ::MapWindowPoints(HWND_DESKTOP, outer, reinterpret_cast<POINT*>(&rect), 2);
    }
    parent->MoveWindow(rect.left + 1, rect.top, rect.Width(), rect.Height(), TRUE);
    parent->MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
    // Not every system passes a move of the parent on to its children as a new size (the client size stays the
    // same), and a list measures only when its own size changes: then it still has the style here, and its
    // height is nudged a pixel and back instead.
    if (GetStyle() & LVS_OWNERDRAWFIXED) {
        CRect own;
        GetWindowRect(&own);
        ::MapWindowPoints(HWND_DESKTOP, parent->m_hWnd, reinterpret_cast<POINT*>(&own), 2);
        MoveWindow(own.left, own.top, own.Width(), own.Height() + 1, TRUE);
        MoveWindow(own.left, own.top, own.Width(), own.Height(), TRUE);
    }
}

BOOL CMavLabelEditLst::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_MEASUREITEM && lParam) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        mis->itemHeight = static_cast<UINT>(rowHeight());
        ModifyStyle(LVS_OWNERDRAWFIXED, 0);
        if (result)
            *result = TRUE;
        return TRUE;
    }
    if (message == WM_DRAWITEM && lParam) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        if (result)
            *result = TRUE;
        return TRUE;
    }
    return CMavListCtrl::OnChildNotify(message, wParam, lParam, result);
}

void CMavLabelEditLst::DrawItem(LPDRAWITEMSTRUCT)
{
    ModifyStyle(LVS_OWNERDRAWFIXED, 0);
    Invalidate();
}

int CMavLabelEditLst::OnAllowEdit(LVHITTESTINFO* hit)
{
    return hit && hit->iItem >= 0 && hit->iItem < GetItemCount() && hit->iSubItem == 1 ? 1 : 0;
}

// The one-line cell editor cannot show line breaks: a multi-line text is edited with "\n" marks in their place,
// and they turn back into newlines when the edit ends.
void CMavLabelEditLst::OnInitEditCtrl(LVHITTESTINFO*, CMavEdit* edit)
{
    if (!edit || !m_bMultiLine)
        return;
    CString text;
    edit->GetWindowText(text);
    if (text.Find(L'\n') < 0 && text.Find(L'\r') < 0)
        return;
    text.Replace(L"\r\n", L"\\n");
    text.Replace(L"\n", L"\\n");
    text.Replace(L"\r", L"");
    edit->SetWindowText(text);
    edit->SetModify(FALSE);
}

int CMavLabelEditLst::OnEndItemEdit(CMavEdit* edit)
{
    // The edited row, which need not be the selected one: with hover selection the selection follows the mouse.
    const int row = GetEditItem();
    if (!edit || row < 0)
        return 0;
    CString text;
    edit->GetWindowText(text);
    SetItemText(row, 1, text);
    if (m_bMultiLine) {
        renewHeights();
        EnsureVisible(row, FALSE);
    }
    return 0;
}

void CMavLabelEditLst::afterEdit(int row)
{
    if (!m_bMultiLine || row < 0 || row >= GetItemCount())
        return;
    CString text = GetItemText(row, 1);
    CString marked = text;
    marked.Replace(L"\\n", L"\n");
    marked.Replace(kPilcrow, L'\n');
    if (marked != text)
        SetItemText(row, 1, marked);
    setRowFlag(row, hasNewline(marked) ? 1 : 0);
}

void CMavLabelEditLst::toggleRow(int row)
{
    if (row < 0 || row >= GetItemCount())
        return;
    if (rowFlag(row) == 1) {
        const CString text = GetItemText(row, 1);
        const CString flat = newlinesAsSpaces(text);
        if (flat != text)
            SetItemText(row, 1, flat);
        if (m_bMultiLine) {
            renewHeights();
            EnsureVisible(row, FALSE);
        }
    }
    setRowFlag(row, rowFlag(row) == 1 ? 0 : 1);
}

BOOL CMavLabelEditLst::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    if (id == IDC_INPLACE_EDIT && HIWORD(wParam) == EN_KILLFOCUS) {
        const int row = GetEditItem();
        const BOOL done = CMavListCtrl::OnCommand(wParam, lParam);
        afterEdit(row);
        return done;
    }
    if (lParam == 0) {
        const int row = GetCurSel();
        if (id == ID_LABEL_TOGGLE) {
            toggleRow(row);
        } else if (id == ID_LABEL_PASTE) {
            CMavString label;
            if (readStore(label))
                fill(label, rowCode(row));
        } else if (id == ID_LABEL_COPY) {
            writeStore();
        }
    }
    return CMavListCtrl::OnCommand(wParam, lParam);
}

void CMavLabelEditLst::OnContextMenu(CWnd*, CPoint screenPoint)
{
    showMenu(screenPoint);
}

void CMavLabelEditLst::showMenu(CPoint screenPoint)
{
    const int row = GetCurSel();
    if (row < 0)
        return;
    HMENU menu = ::CreatePopupMenu();
    if (!menu)
        return;
    if (m_bMultiLine) {
        const bool multi = rowFlag(row) == 1;
        ::AppendMenuW(menu, MF_STRING, ID_LABEL_TOGGLE,
                      multi ? GetMsg(L"MAV_MFC_0006", L"Einzeilig") : GetMsg(L"MAV_MFC_0007", L"Mehrzeilig"));
    }
    HKEY store = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, KEY_READ, &store) == ERROR_SUCCESS) {
        ::RegCloseKey(store);
        ::AppendMenuW(menu, MF_STRING, ID_LABEL_PASTE, GetMsg(L"MAV_MFC_0005", L"Einf\u00fcgen"));
    }
    ::AppendMenuW(menu, MF_STRING, ID_LABEL_COPY, GetMsg(L"MAV_MFC_0004", L"Kopieren"));
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0, m_hWnd, nullptr);
    ::DestroyMenu(menu);
}

bool CMavLabelEditLst::readStore(CMavString& label) const
{
    HKEY store = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, KEY_READ, &store) != ERROR_SUCCESS)
        return false;
    // Every string value, whatever its name; which of them are languages is for label_from_store to say. A name
    // longer than any language code is none and is stepped over, and the walk has an end even if values keep
    // being added while it runs.
    CMavArrayTempl<MAV::LabelStoreValue> values;
    for (DWORD index = 0; index < 1024; ++index) {
        wchar_t name[64] = {};
        DWORD len = 64;
        const LONG r = ::RegEnumValueW(store, index, name, &len, nullptr, nullptr, nullptr, nullptr);
        if (r == ERROR_NO_MORE_ITEMS)
            break;
        MAV::LabelStoreValue value;
        if (r == ERROR_SUCCESS && MAV::regRead(store, name, value.text)) {
            value.name = name;
            values.append(value);
        }
    }
    ::RegCloseKey(store);
    MAV::label_from_store(label, values, m_bMultiLine);
    return true;
}

void CMavLabelEditLst::writeStore() const
{
    HKEY store = MAV::regCreateVolatile(HKEY_CURRENT_USER, kStoreKey, 0x2001F);
    if (!store)
        return;
    // Every value goes first. A name that does not fit the ten-character buffer is no language code of ours
    // and is stepped over, as is one that cannot be deleted, so the walk always ends.
    DWORD index = 0;
    for (;;) {
        wchar_t name[10] = {};
        DWORD len = 10;
        const LONG r = ::RegEnumValueW(store, index, name, &len, nullptr, nullptr, nullptr, nullptr);
        if (r == ERROR_NO_MORE_ITEMS)
            break;
        if (r != ERROR_SUCCESS || ::RegDeleteValueW(store, name) != ERROR_SUCCESS)
            ++index;
    }
    const int rows = GetItemCount();
    for (int i = 0; i < rows; ++i) {
        const CString text = GetItemText(i, 1);
        const wchar_t* code = rowCode(i);
        if (text.IsEmpty() || !code)
            continue;
        MAV::regWrite(store, code, escapeWideChar(text), false);
    }
    ::RegCloseKey(store);
}
