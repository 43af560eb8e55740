// The message server's window: plain Win32 controls laid out by hand, filled from the catalogue.
#include "MsgWindow.h"

#include <commctrl.h>

#include "base/countries.h"

namespace mavmsg {

namespace {

const wchar_t* const kClassName = L"MavMsgServerWindow";
constexpr int kMargin = 8;
constexpr int kRowHeight = 22;
constexpr int kTextHeight = 84;

// One line for the list: line breaks shown as the paragraph mark.
std::wstring oneLine(const std::wstring& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        if (c == L'\r')
            continue;
        if (c == L'\n')
            out += L" \u00B6 ";
        else
            out += c;
    }
    return out;
}

// Line breaks as an edit control needs them.
std::wstring withCrLf(const std::wstring& text)
{
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\n')
            out += L"\r\n";
        else if (c != L'\r')
            out += c;
    }
    return out;
}

std::wstring windowText(HWND w)
{
    const int n = GetWindowTextLengthW(w);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(w, &s[0], n + 1);
    s.resize(static_cast<size_t>(n));
    return s;
}

} // namespace

bool MsgWindow::create(HINSTANCE instance, bool show)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    m_catalogue.loadShipped();
    m_hwnd = CreateWindowExW(0, kClassName, L"Mav Meldungen", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 60, 60, 600,
                             440, nullptr, nullptr, instance, this);
    if (!m_hwnd)
        return false;
    if (show) {
        ShowWindow(m_hwnd, SW_SHOW);
        UpdateWindow(m_hwnd);
    }
    return true;
}

LRESULT CALLBACK MsgWindow::proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<MsgWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->m_hwnd = wnd;
        SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MsgWindow*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    return self ? self->handle(msg, wp, lp) : DefWindowProcW(wnd, msg, wp, lp);
}

LRESULT MsgWindow::handle(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        createControls();
        return 0;
    case WM_SIZE:
        layout(LOWORD(lp), HIWORD(lp));
        return 0;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = {360, 260};
        return 0;
    case WM_COMMAND:
        if (LOWORD(wp) == kIdSearch && HIWORD(wp) == EN_CHANGE && !m_filling) {
            fillList(selectedKey());
            return 0;
        }
        if (LOWORD(wp) == kIdLanguage && HIWORD(wp) == CBN_SELCHANGE) {
            const LRESULT i = SendMessageW(item(kIdLanguage), CB_GETCURSEL, 0, 0);
            if (i >= 0 && i < mavDlCountryCount())
                setCountry(mavDlCountrys()[i].code);
            return 0;
        }
        break;
    case WM_NOTIFY: {
        const auto* nm = reinterpret_cast<const NMHDR*>(lp);
        if (nm->idFrom == kIdKeys && nm->code == LVN_ITEMCHANGED && !m_filling) {
            const auto* lv = reinterpret_cast<const NMLISTVIEW*>(lp);
            if ((lv->uChanged & LVIF_STATE) && ((lv->uNewState ^ lv->uOldState) & LVIS_SELECTED))
                showPicked();
        }
        break;
    }
    case WM_CLOSE:
        DestroyWindow(m_hwnd);
        return 0;
    case WM_DESTROY:
        if (m_font)
            DeleteObject(m_font);
        m_font = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_hwnd, msg, wp, lp);
}

void MsgWindow::createControls()
{
    HINSTANCE inst = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_hwnd, GWLP_HINSTANCE));
    NONCLIENTMETRICSW ncm = {};
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
        m_font = CreateFontIndirectW(&ncm.lfMessageFont);
    auto make = [&](DWORD ex, const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
        HWND w = CreateWindowExW(ex, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, m_hwnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
        SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(m_font ? m_font : GetStockObject(DEFAULT_GUI_FONT)),
                     FALSE);
        return w;
    };
    make(0, L"STATIC", L"Suchen:", SS_LEFT | SS_CENTERIMAGE, 201);
    make(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, kIdSearch);
    make(0, L"STATIC", L"Sprache:", SS_LEFT | SS_CENTERIMAGE, 202);
    HWND combo = make(0, L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kIdLanguage);
    for (const MavDlCountry_st* c = mavDlCountrys(); c->code; ++c) {
        const std::wstring entry = std::wstring(c->name) + L" (" + c->code + L")";
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(mavDlCountryFind(m_country.c_str())), 0);
    HWND list = make(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                     WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, kIdKeys);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    LVCOLUMNW col = {};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = 150;
    col.pszText = const_cast<LPWSTR>(L"Schl\u00FCssel");
    ListView_InsertColumn(list, 0, &col);
    col.cx = 400;
    col.pszText = const_cast<LPWSTR>(L"Text");
    ListView_InsertColumn(list, 1, &col);
    make(WS_EX_CLIENTEDGE, L"EDIT", L"", ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL, kIdText);
    make(0, L"STATIC", L"", SS_LEFT | SS_ENDELLIPSIS | SS_CENTERIMAGE, kIdSource);
    fillList(std::wstring());
}

void MsgWindow::layout(int width, int height)
{
    const int labelW = 52;
    const int comboW = 150;
    const int y = kMargin;
    MoveWindow(GetDlgItem(m_hwnd, 201), kMargin, y, labelW, kRowHeight, TRUE);
    const int searchW = width - 4 * kMargin - 2 * labelW - comboW;
    MoveWindow(item(kIdSearch), kMargin + labelW, y, searchW > 40 ? searchW : 40, kRowHeight, TRUE);
    const int comboX = width - kMargin - comboW;
    MoveWindow(GetDlgItem(m_hwnd, 202), comboX - labelW - kMargin / 2, y, labelW, kRowHeight, TRUE);
    MoveWindow(item(kIdLanguage), comboX, y, comboW, 300, TRUE);
    const int listTop = y + kRowHeight + kMargin;
    const int sourceTop = height - kMargin - kRowHeight;
    const int textTop = sourceTop - kMargin / 2 - kTextHeight;
    const int listH = textTop - kMargin / 2 - listTop;
    MoveWindow(item(kIdKeys), kMargin, listTop, width - 2 * kMargin, listH > 30 ? listH : 30, TRUE);
    MoveWindow(item(kIdText), kMargin, textTop, width - 2 * kMargin, kTextHeight, TRUE);
    MoveWindow(item(kIdSource), kMargin, sourceTop, width - 2 * kMargin, kRowHeight, TRUE);
}

void MsgWindow::fillList(const std::wstring& keep)
{
    HWND list = item(kIdKeys);
    m_filling = true;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    const std::vector<int> hits = m_catalogue.search(windowText(item(kIdSearch)), m_country.c_str());
    int keepRow = -1;
    for (size_t row = 0; row < hits.size(); ++row) {
        const std::wstring& key = m_catalogue.keys()[static_cast<size_t>(hits[row])];
        LVITEMW it = {};
        it.mask = LVIF_TEXT | LVIF_PARAM;
        it.iItem = static_cast<int>(row);
        it.pszText = const_cast<LPWSTR>(key.c_str());
        it.lParam = hits[row];
        const int at = ListView_InsertItem(list, &it);
        const std::wstring text = oneLine(m_catalogue.text(key.c_str(), m_country.c_str()));
        ListView_SetItemText(list, at, 1, const_cast<LPWSTR>(text.c_str()));
        if (!keep.empty() && key == keep)
            keepRow = at;
    }
    if (keepRow >= 0) {
        ListView_SetItemState(list, keepRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, keepRow, FALSE);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    m_filling = false;
    showPicked();
    showSource();
}

void MsgWindow::showPicked()
{
    const std::wstring key = selectedKey();
    const std::wstring text = key.empty() ? std::wstring() : withCrLf(m_catalogue.text(key.c_str(), m_country.c_str()));
    SetWindowTextW(item(kIdText), text.c_str());
}

void MsgWindow::showSource()
{
    std::wstring s = m_catalogue.source().empty() ? std::wstring(L"Mitgelieferte Meldungen") : m_catalogue.source();
    s += L" \u2013 " + std::to_wstring(m_catalogue.keys().size()) + L" Schl\u00FCssel";
    SetWindowTextW(item(kIdSource), s.c_str());
}

std::wstring MsgWindow::selectedKey() const
{
    HWND list = item(kIdKeys);
    const int row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    if (row < 0)
        return std::wstring();
    LVITEMW it = {};
    it.mask = LVIF_PARAM;
    it.iItem = row;
    if (!ListView_GetItem(list, &it) || it.lParam < 0 ||
        static_cast<size_t>(it.lParam) >= m_catalogue.keys().size())
        return std::wstring();
    return m_catalogue.keys()[static_cast<size_t>(it.lParam)];
}

bool MsgWindow::searchKey(const wchar_t* key)
{
    const int i = m_catalogue.find(key);
    if (i < 0)
        return false;
    m_filling = true;
    SetWindowTextW(item(kIdSearch), L"");
    m_filling = false;
    fillList(m_catalogue.keys()[static_cast<size_t>(i)]);
    if (GetForegroundWindow() == m_hwnd)
        SetFocus(item(kIdKeys));
    return true;
}

bool MsgWindow::openFile(const wchar_t* path)
{
    if (!m_catalogue.open(path, m_country.c_str()))
        return false;
    fillList(std::wstring());
    return true;
}

bool MsgWindow::setCountry(const wchar_t* code)
{
    const int i = mavDlCountryFind(code);
    if (i < 0)
        return false;
    m_country = mavDlCountrys()[i].code;
    SendMessageW(item(kIdLanguage), CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    fillList(selectedKey());
    return true;
}

bool MsgWindow::visible() const
{
    return IsWindowVisible(m_hwnd) != FALSE;
}

void MsgWindow::setVisible(bool show)
{
    ShowWindow(m_hwnd, show ? SW_SHOW : SW_HIDE);
    if (show) {
        // Shown for a person to pick a key: the list takes the keyboard, so the pick shows in full colour.
        SetForegroundWindow(m_hwnd);
        SetFocus(item(kIdKeys));
        UpdateWindow(m_hwnd);
    }
}

void MsgWindow::close()
{
    PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
}

} // namespace mavmsg
