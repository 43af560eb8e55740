// CMavDlg: language texts by message key, popup help, tool tips, the help file, the saved place in the registry,
// Enter and Page Up between edit fields, the size grip and the application's message box caption.
//
// Vocabulary: the "position title" is the dialog template's caption as the window was created, before any
// language text replaced it; it names the registry key of the saved place. The "dialog stack" holds the windows
// of the open captioned dialogs of the system; the top is the natural parent of the next dialog.
#include "ui/CMavDlg.h"

#include <commctrl.h>
#include <commdlg.h>
#include <htmlhelp.h>
#include <io.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "afx/CComboBox.h"
#include "afx/CEdit.h"
#include "afx/CTabCtrl.h"
#include "afx/CWinApp.h"
#include "base/place.h"
#include "base/win/registry.h"
#include "data/CMavApp.h"
#include "data/config.h"
#include "data/messages.h"

namespace {

std::vector<HWND>& dialogStack()
{
    static std::vector<HWND> stack;
    return stack;
}

bool hasClass(HWND wnd, const wchar_t* name)
{
    wchar_t cls[16] = {};
    return ::GetClassNameW(wnd, cls, 16) && ::lstrcmpiW(cls, name) == 0;
}

// The combo box among the dialog's controls whose edit field is `inner`; null when inner is no such field.
HWND comboOfField(HWND dialog, HWND inner)
{
    HWND outer = inner ? ::GetParent(inner) : nullptr;
    return outer && ::GetParent(outer) == dialog && hasClass(outer, L"ComboBox") ? outer : nullptr;
}

// The dialog's visible control at a point of its client area, disabled ones and labels included; a group box
// only when no control inside it is there (it encloses them and usually comes first). Null for none.
HWND controlAt(HWND dialog, POINT at)
{
    HWND box = nullptr;
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        RECT r{};
        if (!::IsWindowVisible(c) || !::GetWindowRect(c, &r))
            continue;
        ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&r), 2);
        if (!::PtInRect(&r, at))
            continue;
        if ((::GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK) != BS_GROUPBOX || !hasClass(c, L"Button"))
            return c;
        if (!box)
            box = c;
    }
    return box;
}

// A dialog leaves the stack by its own handle, wherever it stands: modeless dialogs may close in any order, and
// popping the top would leave a closed one behind as the parent of the next dialog.
void dlgStackRemove(HWND hWnd)
{
    std::vector<HWND>& stack = dialogStack();
    const auto it = std::find(stack.rbegin(), stack.rend(), hWnd);
    if (it != stack.rend())
        stack.erase(std::next(it).base());
}

// The registry key of a dialog's saved place, below HKEY_CURRENT_USER.
CMavString placeKey(const CString& title)
{
    return MAV::regAppKey(L"MAV") + L"\\Dialogs\\" + title.GetString();
}

// The library's own resource module (icons, templates), whichever module state is current.
HINSTANCE libraryResources()
{
    return AfxGetStaticModuleState()->m_hCurrentResourceHandle;
}

// A part of a path cut to the 259 characters a part may have, so that over-long paths stay bounded.
CString pathPart(const wchar_t* begin, const wchar_t* end)
{
    const std::ptrdiff_t n = end - begin;
    return CString(begin, static_cast<int>(n > MAX_PATH - 1 ? MAX_PATH - 1 : n));
}

} // namespace

IMPLEMENT_DYNAMIC(CMavDlg, CDialog)

CMavDlg::MsgFcn CMavDlg::m_pMsgFcn = nullptr;

CMavDlg::CMavDlg(int IDD, CWnd* parent) : CDialog(static_cast<UINT>(IDD), parent)
{
    // Peek at the stack: a dialog of the system that is open now makes this one a sub-dialog.
    if (HWND top = MAV::dlgStackPop()) {
        m_bSubDlg = true;
        MAV::dlgStackPush(top);
    }
}

CMavDlg::~CMavDlg()
{
    // Destroyed here, the window still reaches this class's WM_DESTROY handling (place saved, stack left).
    if (m_hWnd)
        DestroyWindow();
}

CMavDlg::MsgFcn CMavDlg::SetMsgCallBack(MsgFcn fcn)
{
    MsgFcn previous = m_pMsgFcn;
    m_pMsgFcn = fcn;
    return previous;
}

const wchar_t* CMavDlg::GetMsg(const wchar_t* key, const wchar_t* def, const wchar_t* country)
{
    if (!m_pMsgFcn)
        return def;
    return m_pMsgFcn(key, def, country ? country : m_strCountry.GetString());
}

void CMavDlg::SetCountry(const wchar_t* code)
{
    const CString next(code);
    if (next == m_strCountry)
        return;
    m_strCountry = next;
    if (m_hWnd)
        updLang();
}

void CMavDlg::addLangRsc() {}
void CMavDlg::addHlpRsc() {}
void CMavDlg::addToolTipRsc() {}

// Texts of the controls named in the language key map. Under a debugger the default texts are framed in brackets
// so that keys missing from the catalogue stand out, and controls missing from the template are reported.
bool CMavDlg::updLang()
{
    if (!m_hWnd || !m_pMsgFcn)
        return false;
    const bool debugging = ::IsDebuggerPresent() != FALSE;
    POSITION pos = m_mapLangKey.GetStartPosition();
    while (pos) {
        UINT id = 0;
        CString key;
        m_mapLangKey.GetNextAssoc(pos, id, key);
        if (::GetDlgItem(m_hWnd, static_cast<int>(id))) {
            CString def;
            bool hasDef = m_mapLangDef.Lookup(id, def);
            if (!hasDef) {
                const wchar_t* looked = GetMsg(key, nullptr, nullptr);
                hasDef = looked != nullptr;
                def = looked;
            }
            if (debugging) {
                def = L"[" + def + L"]";
                hasDef = true;
            }
            const wchar_t* text = GetMsg(key, hasDef ? def.GetString() : nullptr, nullptr);
            if (text)
                SetDlgItemText(static_cast<int>(id), CString(text));
        } else if (debugging) {
            CString report;
            report.Format(L"\nSetDlgItemText failed:\nDlgID = %d\nKEY = '%s'", static_cast<int>(id), key.GetString());
            MessageBoxW(report, nullptr, MB_ICONEXCLAMATION);
        }
    }
    return true;
}

int CMavDlg::MessageBoxW(const wchar_t* text, const wchar_t* caption, int type)
{
    CString title(caption);
    bool hasTitle = caption != nullptr;
    CMavString appl;
    if (CMavDataItem* item = MAV::cfg_get(L"_APPL")) {
        if (item->get(appl)) {
            title = appl.c_str();
            hasTitle = true;
        }
    }
    if (title == L"KRV")
        title = L"KARVEN";
    else if (title == L"MAV")
        title = L"MAVORA";
    return CWnd::MessageBoxW(text, hasTitle ? title.GetString() : nullptr, static_cast<UINT>(type));
}

// ---- saved place ------------------------------------------------------------------------------------------------

bool CMavDlg::getSavedPos(RECT* rect) const
{
    if (!m_bSavePos || !rect)
        return false;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, placeKey(m_strPosTitle), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    // Each value is read as it lies, whatever its type; a value longer than the buffer fails and reads as absent.
    // What the bytes mean is decided by placeFromSaved.
    struct Raw {
        DWORD type = REG_NONE;
        DWORD len = 8;
        unsigned char bytes[8] = {};
    } pos, size;
    const bool read = ::RegQueryValueExW(key, L"Pos", nullptr, &pos.type, pos.bytes, &pos.len) == ERROR_SUCCESS &&
                      ::RegQueryValueExW(key, L"Size", nullptr, &size.type, size.bytes, &size.len) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    MAV::SavedPlace place;
    if (!read || !MAV::placeFromSaved(pos.type, pos.bytes, pos.len, size.type, size.bytes, size.len, place))
        return false;
    rect->left = place.left;
    rect->top = place.top;
    rect->right = place.right;
    rect->bottom = place.bottom;
    return true;
}

// Stores the restored place (the normal position, so a minimised or maximised dialog keeps its place), pulled back
// onto the desktop: an edge left of or above it becomes 0, an overhang right or below moves the dialog back.
void CMavDlg::savePlace()
{
    WINDOWPLACEMENT desk{};
    WINDOWPLACEMENT self{};
    desk.length = self.length = sizeof(WINDOWPLACEMENT);
    if (!::GetWindowPlacement(::GetDesktopWindow(), &desk) || !::GetWindowPlacement(m_hWnd, &self))
        return;
    RECT r = self.rcNormalPosition;
    if (!(GetStyle() & WS_CHILD) && !(GetExStyle() & WS_EX_TOOLWINDOW)) {
        // A top-level window's normal position counts from the corner of the work area (beside a taskbar at the
        // top or left); the place is restored with screen coordinates.
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        if (::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor))
            ::OffsetRect(&r, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
    }
    const LONG width = r.right - r.left;
    const LONG height = r.bottom - r.top;
    const LONG left0 = r.left > 0 ? r.left : 0;
    const LONG top0 = r.top > 0 ? r.top : 0;
    const LONG leftShifted = left0 - r.right + desk.rcNormalPosition.right;
    const LONG topShifted = top0 - r.bottom + desk.rcNormalPosition.bottom;
    // A dialog larger than the desktop is moved back only as far as its left or top edge: a negative place
    // would read back as a 16-bit number near 65536, far off the screen.
    const LONG left = std::max(0L, std::min(left0, leftShifted));
    const LONG top = std::max(0L, std::min(top0, topShifted));

    // Volatile: a key created here lasts until the user logs off (the keys above it are made lasting).
    HKEY key = MAV::regCreateVolatile(HKEY_CURRENT_USER, placeKey(m_strPosTitle), 0x2001F);
    if (!key)
        return;
    MAV::regWrite(key, L"Pos", MAKELONG(static_cast<WORD>(left & 0xFFFF), static_cast<WORD>(top & 0xFFFF)));
    MAV::regWrite(key, L"Size", MAKELONG(static_cast<WORD>(width & 0xFFFF), static_cast<WORD>(height & 0xFFFF)));
    ::RegCloseKey(key);
}

// ---- creation and destruction -------------------------------------------------------------------------------------

int CMavDlg::OnCreate(LPCREATESTRUCTW cs)
{
    const int result = CDialog::OnCreate(cs);
    if (result == -1)
        return -1;
    m_strPosTitle = (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) ? cs->lpszName : L"";
    if (m_strPosTitle.IsEmpty())
        m_bSavePos = false;
    RECT saved{};
    // A place on no monitor (one unplugged since, or a value written by something else) is not taken: the
    // dialog would open out of sight, and a modal one would leave its owner blocked with nothing to click.
    if (m_bSavePos && getSavedPos(&saved) && ::MonitorFromRect(&saved, MONITOR_DEFAULTTONULL)) {
        UINT flags = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE;
        if (!(GetStyle() & WS_THICKFRAME))
            flags |= SWP_NOSIZE; // a dialog that cannot be resized keeps its template's size
        SetWindowPos(nullptr, saved.left, saved.top, saved.right - saved.left, saved.bottom - saved.top, flags);
    }
    if (m_strCountry.IsEmpty()) {
        m_strCountry = MAV::msgLangSet(nullptr);
        // A dialog opened from another of the same kind speaks its language.
        for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h)) {
            CWnd* parent = CWnd::FromHandlePermanent(h);
            if (parent && parent->IsKindOf(GetRuntimeClass())) {
                m_strCountry = static_cast<CMavDlg*>(parent)->m_strCountry;
                break;
            }
        }
    }
    return result;
}

BOOL CMavDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (GetStyle() & WS_CAPTION) {
        HINSTANCE module = libraryResources();
        auto big = static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(2000), IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON),
                                                   LR_SHARED));
        auto small = static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(2000), IMAGE_ICON,
                                                     ::GetSystemMetrics(SM_CXSMICON),
                                                     ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
        MAV::dlgStackPush(m_hWnd);
    }
    addLangRsc();
    addHlpRsc();
    addToolTipRsc();
    if (!m_mapToolTipKey.IsEmpty())
        enableToolTips();
    updLang();
    return TRUE;
}

namespace {

// Before it shows a tip, the tool-tip window asks which window lies under the mouse. The system's answer passes
// by disabled controls and labels (to the dialog) and stops at the edit field inside a combo box; the dialog's
// control there is the answer wanted.
LRESULT CALLBACK toolTipProc(HWND tip, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR dialog)
{
    if (message == WM_NCDESTROY)
        ::RemoveWindowSubclass(tip, &toolTipProc, 1);
    if (message != TTM_WINDOWFROMPOINT || !lParam)
        return ::DefSubclassProc(tip, message, wParam, lParam);
    HWND dlg = reinterpret_cast<HWND>(dialog);
    auto under = reinterpret_cast<HWND>(::DefSubclassProc(tip, message, wParam, lParam));
    if (under == dlg) {
        POINT at = *reinterpret_cast<const POINT*>(lParam);
        ::ScreenToClient(dlg, &at);
        HWND control = controlAt(dlg, at);
        return reinterpret_cast<LRESULT>(control ? control : under);
    }
    HWND combo = comboOfField(dlg, under);
    return reinterpret_cast<LRESULT>(combo ? combo : under);
}

} // namespace

// One tool-tip window for the dialog; every child control is a tool whose text is asked for when shown
// (TTN_NEEDTEXTW), so controls without a tool-tip key simply show nothing.
void CMavDlg::enableToolTips()
{
    if (m_hToolTip)
        return;
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    m_hToolTip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                   libraryResources(), nullptr);
    if (!m_hToolTip)
        return;
    ::SetWindowSubclass(m_hToolTip, &toolTipProc, 1, reinterpret_cast<DWORD_PTR>(m_hWnd));
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = m_hWnd;
        tool.uId = reinterpret_cast<UINT_PTR>(child);
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        ::SendMessageW(m_hToolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void CMavDlg::OnDestroy()
{
    if (m_bSavePos)
        savePlace();
    const bool captioned = (GetStyle() & WS_CAPTION) != 0;
    CDialog::OnDestroy();
    if (captioned)
        dlgStackRemove(m_hWnd);
    m_hToolTip = nullptr; // owned by the dialog: destroyed with it
}

void CMavDlg::OnShowWindow(BOOL show, UINT status)
{
    CDialog::OnShowWindow(show, status);
    if (show)
        updHelpButton();
}

void CMavDlg::updHelpButton()
{
    if (!m_hWnd)
        return;
    if (HWND button = ::GetDlgItem(m_hWnd, IDC_HELP_BUTTON)) {
        const bool has = !m_strHelpFile.IsEmpty();
        ::ShowWindow(button, has ? SW_SHOW : SW_HIDE);
        ::EnableWindow(button, has);
    }
}

// ---- size grip ---------------------------------------------------------------------------------------------------

void CMavDlg::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    Invalidate(TRUE);
}

// Three groups of diagonal lines in the lower right corner: two grey, one white, at distances 3-5, 7-9, 11-13.
void CMavDlg::OnPaint()
{
    if (!(GetStyle() & WS_THICKFRAME)) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    RECT client{};
    GetClientRect(&client);
    const int w = client.right;
    const int h = client.bottom;
    CPen grey(PS_SOLID, 1, RGB(0x80, 0x80, 0x80));
    CPen white(PS_SOLID, 1, RGB(0xFF, 0xFF, 0xFF));
    for (int group = 0; group < 3; ++group) {
        const int base = 3 + 4 * group;
        const int distances[3] = {base, base + 1, base + 2};
        for (int i = 0; i < 3; ++i) {
            CScopedSelect select(dc, i < 2 ? grey : white);
            dc.MoveTo(w - distances[i], h);
            dc.LineTo(w, h - distances[i]);
        }
    }
}

// ---- help ----------------------------------------------------------------------------------------------------------

void CMavDlg::SetHelpFile(const wchar_t* path)
{
    if (!path) {
        m_strHelpFile.Empty();
        m_strHelpDir.Empty();
    } else {
        const wchar_t* end = path + ::lstrlenW(path);
        const wchar_t* dirStart = path;
        if (path[0] && path[1] == L':')
            dirStart = path + 2;
        const wchar_t* nameStart = dirStart;
        for (const wchar_t* p = dirStart; p < end; ++p)
            if (*p == L'\\' || *p == L'/')
                nameStart = p + 1;
        m_strHelpDir = pathPart(path, dirStart) + pathPart(dirStart, nameStart);
        const wchar_t* extStart = end;
        for (const wchar_t* p = end; p > nameStart; --p) {
            if (p[-1] == L'.') {
                extStart = p - 1;
                break;
            }
        }
        m_strHelpFile = pathPart(nameStart, extStart) + pathPart(extStart, end);
    }
    updHelpButton();
}

void CMavDlg::GetHelpFile(CString& path)
{
    path = m_strHelpDir + m_strHelpFile;
}

void CMavDlg::SetHelpTopic(const wchar_t* topic)
{
    m_strHelpTopic = topic;
}

void CMavDlg::GetHelpTopic(CString& topic)
{
    topic = m_strHelpTopic;
}

// An address opens in the browser; a file that cannot be read is asked for with the Open dialog first.
void CMavDlg::Help(const wchar_t* topic)
{
    const CString theTopic = topic ? CString(topic) : m_strHelpTopic;
    CString file;
    GetHelpFile(file);
    if (file.Left(4).CompareNoCase(L"http") != 0 && ::_waccess(file, 4) != 0) {
        wchar_t chosen[MAX_PATH] = {};
        ::lstrcpynW(chosen, file, MAX_PATH);
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof(ofn);
        ofn.hwndOwner = m_hWnd;
        ofn.lpstrFilter = L"(*.chm)\0*.chm\0\0";
        ofn.lpstrFile = chosen;
        ofn.nMaxFile = MAX_PATH;
        ofn.lpstrDefExt = L"chm";
        ofn.Flags = OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING;
        if (!::GetOpenFileNameW(&ofn))
            return;
        SetHelpFile(chosen);
        GetHelpFile(file);
    }
    MAV::helpOpen(file, theTopic);
}

BOOL CMavDlg::OnHelpInfo(HELPINFO* info)
{
    if (!info)
        return TRUE;
    POINT at = info->MousePos;
    int id = info->iCtrlId;
    // F1 in the edit field of a combo box asks for the combo box's help.
    if (info->iContextType == HELPINFO_WINDOW)
        if (HWND combo = comboOfField(m_hWnd, static_cast<HWND>(info->hItemHandle)))
            id = ::GetDlgCtrlID(combo);
    HWND control = ::GetDlgItem(m_hWnd, id);
    if (control) {
        RECT r{};
        ::GetWindowRect(control, &r);
        at.x = (r.left + r.right) / 2;
        at.y = (r.top + r.bottom) / 2;
    }
    if (m_pMsgFcn && !m_mapHlpKey.IsEmpty()) {
        CString key;
        if (m_mapHlpKey.Lookup(static_cast<UINT>(id), key)) {
            const wchar_t* text = GetMsg(key, nullptr, nullptr);
            if (text && *text) {
                const CString kept(text);
                HH_POPUP popup{};
                popup.cbStruct = sizeof(popup);
                popup.clrForeground = static_cast<COLORREF>(-1);
                popup.clrBackground = static_cast<COLORREF>(-1);
                popup.rcMargins = {-1, -1, -1, -1};
                popup.pszText = kept.GetString();
                popup.pt = at;
                MAV::htmlHelp(nullptr, nullptr, HH_DISPLAY_TEXT_POPUP, reinterpret_cast<DWORD_PTR>(&popup));
            }
        }
    }
    return TRUE;
}

// ---- tool tips -----------------------------------------------------------------------------------------------------

BOOL CMavDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header && header->code == TTN_NEEDTEXTW && ToolTip(0, header, result))
        return TRUE;
    return CDialog::OnNotify(wParam, lParam, result);
}

BOOL CMavDlg::ToolTip(UINT, NMHDR* header, LRESULT*)
{
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    if (!info || !(info->uFlags & TTF_IDISHWND))
        return FALSE;
    const UINT id = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom)));
    if (id == 0)
        return FALSE;
    CString key;
    if (!m_mapToolTipKey.Lookup(id, key))
        return FALSE;
    // One text for all dialogs: the tool-tip window reads it after this returns.
    static CString text;
    text = GetMsg(key, nullptr, nullptr);
    if (text.IsEmpty())
        return FALSE;
    info->lpszText = const_cast<wchar_t*>(text.GetString());
    info->hinst = libraryResources();
    return TRUE;
}

// ---- edit navigation -------------------------------------------------------------------------------------------

// The tool-tip window watches each control's own mouse messages, which some controls never get: those of a
// disabled control or a label go to the dialog, those over the edit field of a combo box to that field. They are
// passed on to the tool-tip window as the control's own.
void CMavDlg::relayToToolTip(const MSG& msg) const
{
    if (msg.message != WM_MOUSEMOVE && (msg.message < WM_LBUTTONDOWN || msg.message > WM_MBUTTONDBLCLK))
        return;
    POINT at{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
    HWND control = msg.hwnd == m_hWnd ? controlAt(m_hWnd, at) : comboOfField(m_hWnd, msg.hwnd);
    if (!control)
        return;
    ::MapWindowPoints(msg.hwnd, control, &at, 1);
    MSG relayed = msg;
    relayed.hwnd = control;
    relayed.lParam = MAKELPARAM(at.x, at.y);
    ::SendMessageW(m_hToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

BOOL CMavDlg::PreTranslateMessage(MSG* msg)
{
    if (m_hToolTip && msg)
        relayToToolTip(*msg);
    if (msg && msg->message == WM_KEYDOWN) {
        CWnd* parent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
        const bool inTab = parent && parent->IsKindOf(RUNTIME_CLASS(CTabCtrl));
        if (::GetKeyState(VK_CONTROL) < 0 && ::GetKeyState(VK_TAB) < 0) {
            // Control+Tab switches the pages of the tab control this dialog is a page of.
            if (inTab)
                return parent->PreTranslateMessage(msg);
        } else {
            HWND focus = ::GetFocus();
            if (focus && !(::GetWindowLongW(focus, GWL_STYLE) & ES_WANTRETURN)) {
                CWnd* current = CWnd::FromHandlePermanent(focus);
                if (!current) {
                    // In a combo box with an edit field the focus is on the field inside it: the combo box is
                    // the control that Enter and Page Up move from.
                    current = CWnd::FromHandlePermanent(comboOfField(m_hWnd, focus));
                }
                if (msg->wParam == VK_RETURN) {
                    if (inTab)
                        return parent->PreTranslateMessage(msg);
                    if (isEdit(current)) {
                        if (CWnd* next = nextEdit(current)) {
                            next->SetFocus();
                        } else {
                            // No other edit: leave and re-enter the field so that it validates its value.
                            SetFocus();
                            current->SetFocus();
                        }
                        return TRUE;
                    }
                } else if (msg->wParam == VK_PRIOR && isEdit(current)) {
                    if (CWnd* first = firstEdit(current))
                        first->SetFocus();
                    return TRUE;
                }
            }
        }
    }
    return CDialog::PreTranslateMessage(msg);
}

bool CMavDlg::isEdit(CWnd* wnd) const
{
    if (!wnd || !wnd->m_hWnd || CWnd::FromHandlePermanent(wnd->m_hWnd) != wnd)
        return false;
    if (!::IsWindowVisible(wnd->m_hWnd) || !::IsWindowEnabled(wnd->m_hWnd))
        return false;
    if (wnd->IsKindOf(RUNTIME_CLASS(CEdit)))
        return true;
    return wnd->IsKindOf(RUNTIME_CLASS(CComboBox)) && !(wnd->GetStyle() & 1);
}

CWnd* CMavDlg::nextEdit(CWnd* cur) const
{
    if (!cur || !cur->m_hWnd)
        return nullptr;
    for (HWND h = ::GetWindow(cur->m_hWnd, GW_HWNDNEXT); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        CWnd* w = CWnd::FromHandlePermanent(h);
        if (isEdit(w))
            return w;
    }
    HWND first = nullptr;
    for (HWND h = ::GetWindow(cur->m_hWnd, GW_HWNDPREV); h; h = ::GetWindow(h, GW_HWNDPREV))
        first = h;
    for (HWND h = first; h && h != cur->m_hWnd; h = ::GetWindow(h, GW_HWNDNEXT)) {
        CWnd* w = CWnd::FromHandlePermanent(h);
        if (isEdit(w))
            return w;
    }
    return nullptr;
}

CWnd* CMavDlg::firstEdit(CWnd* cur) const
{
    if (!cur || !cur->m_hWnd)
        return nullptr;
    HWND first = nullptr;
    for (HWND h = ::GetWindow(cur->m_hWnd, GW_HWNDPREV); h; h = ::GetWindow(h, GW_HWNDPREV))
        first = h;
    for (HWND h = first; h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        CWnd* w = CWnd::FromHandlePermanent(h);
        if (isEdit(w))
            return w;
    }
    return nullptr;
}

// ---- environment record and dialog stack ----------------------------------------------------------------------------

namespace MAV {

HWND DlgEnv_st::hWndApplic = nullptr;

DlgEnv_st::DlgEnv_st() : lFormat(mavAppPtr()->lFormatGet()), country(msgLangSet(nullptr))
{
    HWND top = dlgStackPop();
    if (top)
        dlgStackPush(top);
    hWndParent = top ? top : hWndApplic ? hWndApplic : ::GetActiveWindow();
}

CWnd* DlgEnv_st::parentWnd() const
{
    return hWndParent ? CWnd::FromHandle(hWndParent) : nullptr;
}

void dlgStackPush(HWND hWnd)
{
    dialogStack().push_back(hWnd);
}

HWND dlgStackPop()
{
    std::vector<HWND>& stack = dialogStack();
    if (stack.empty())
        return nullptr;
    HWND top = stack.back();
    stack.pop_back();
    return top;
}

} // namespace MAV
