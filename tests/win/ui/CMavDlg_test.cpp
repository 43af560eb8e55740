// The dialog base on the library's test templates: the saved place in the registry, the dialog stack, Enter and
// Page Up between edits, language texts, tool tips, popup help, help files, the message box caption, the grip.
// Also the About box, the library's default message function and opening help by name.
#include <fstream>

#include "afx/CTabCtrl.h"
#include "data/config.h"
#include "data/messages.h"
#include "ui/CMavAboutDlg.h"
#include "ui_test_support.h"
#include "version.h"

namespace {

using uitest::itemText;
using uitest::str;
const std::wstring kDialogs = L"Software\\MAVORA\\MAV\\Dialogs";

// "key/default/country": shows exactly what the dialog asked for.
const wchar_t* showInputs(const wchar_t* key, const wchar_t* def, const wchar_t* country)
{
    static std::wstring text;
    text = str(key) + L"/" + str(def) + L"/" + str(country);
    return text.c_str();
}
int g_calls = 0;
const wchar_t* counting(const wchar_t* k, const wchar_t* d, const wchar_t* c) { return ++g_calls, showInputs(k, d, c); }
const wchar_t* answersNull(const wchar_t*, const wchar_t*, const wchar_t*) { return nullptr; }
const wchar_t* answersEmpty(const wchar_t*, const wchar_t*, const wchar_t*) { return L""; }

class LoggingEdit : public CEdit {
public:
    std::vector<std::string>* log = nullptr;
    void OnSetFocus(CWnd* old) override { log->push_back("set"), CEdit::OnSetFocus(old); }
    void OnKillFocus(CWnd* next) override { log->push_back("kill"), CEdit::OnKillFocus(next); }
};

// A modeless dialog of a test template; the test fills its maps and names the fields to bind as CEdit objects.
class TestDlg : public CMavDlg {
    DECLARE_DYNAMIC(TestDlg)
public:
    explicit TestDlg(int idd = IDD_MAV_TEST_SIZABLE) : CMavDlg(idd) {}
    ~TestDlg() override
    {
        if (m_hWnd)
            DestroyWindow();
    }
    bool create(CWnd* parent = nullptr, bool save = false)
    {
        AFX_MANAGE_STATE(AfxGetStaticModuleState());
        SavePosition(save);
        const bool ok = Create(m_lpszTemplateName, parent) != FALSE;
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        return ok;
    }
    CMavDlgTextMap &keys = m_mapLangKey, &defs = m_mapLangDef, &help = m_mapHlpKey, &tips = m_mapToolTipKey;
    std::vector<int> editIds;
    LoggingEdit edits[4];
    CComboBox combo;
    bool bindCombo = false;
    std::vector<std::string> focusLog;
    BOOL OnInitDialog() override
    {
        for (size_t i = 0; i < editIds.size(); ++i) {
            edits[i].log = &focusLog;
            edits[i].SubclassDlgItem(static_cast<UINT>(editIds[i]), this);
        }
        if (bindCombo)
            combo.SubclassDlgItem(IDC_TEST_COMBO, this);
        return CMavDlg::OnInitDialog();
    }
};
IMPLEMENT_DYNAMIC(TestDlg, CMavDlg)

class OtherDlg : public CMavDlg {
    DECLARE_DYNAMIC(OtherDlg)
public:
    OtherDlg() : CMavDlg(IDD_MAV_TEST_FIXED) {}
};
IMPLEMENT_DYNAMIC(OtherDlg, CMavDlg)

RECT windowRect(HWND h)
{
    RECT r{};
    ::GetWindowRect(h, &r);
    return r;
}

// Reads "Pos" and "Size" of a key below the dialogs key (0 when missing); writes them, null leaving one out.
std::pair<DWORD, DWORD> readPlace(const std::wstring& title)
{
    DWORD pos = 0, size = 0, n = 4;
    ::RegGetValueW(HKEY_CURRENT_USER, (kDialogs + title).c_str(), L"Pos", RRF_RT_DWORD, nullptr, &pos, &n);
    ::RegGetValueW(HKEY_CURRENT_USER, (kDialogs + title).c_str(), L"Size", RRF_RT_DWORD, nullptr, &size, &n);
    return {pos, size};
}
void writePlace(const std::wstring& title, const DWORD* pos, const DWORD* size)
{
    HKEY key = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, (kDialogs + title).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr);
    for (auto [name, value] : {std::make_pair(L"Pos", pos), std::make_pair(L"Size", size)}) {
        ::RegDeleteValueW(key, name);
        if (value)
            ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(value), 4);
    }
    ::RegCloseKey(key);
}

class DialogBase : public ::testing::Test {
protected:
    // The first saved place must create the maker's key and the keys below it itself, and lasting ones.
    HKEY m_maker = nullptr;
    bool m_newMaker = ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\MAVORA", 0, KEY_READ, &m_maker) != ERROR_SUCCESS;
    void TearDown() override
    {
        if (m_maker)
            ::RegCloseKey(m_maker);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_newMaker ? L"Software\\MAVORA" : kDialogs.c_str());
        MAV::CConfig::reset();
        MAV::msgReset();
    }
};

// A dialog opens where it closed, pulled back onto the desktop: 0 for an edge off the left or top, moved back by
// the overhang on the right or bottom (not beyond the left or top edge); its size too when it can be resized.
// Stored values it did not write: halves are unsigned 16-bit numbers, a missing half means no place, a place off
// every monitor is not taken.
TEST_F(DialogBase, SavedPlaceRoundTripsThroughTheRegistry)
{
    const int W = ::GetSystemMetrics(SM_CXSCREEN), H = ::GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        int idd, x, y, w, h, left, top; // w, h 0: the template's size; left -1: W minus the template's width
    } const cases[] = {
        {IDD_MAV_TEST_SIZABLE, -40, -25, 300, 200, 0, 0},
        {IDD_MAV_TEST_SIZABLE, W - 100, H - 60, 320, 210, W - 320, H - 210},
        {IDD_MAV_TEST_FIXED, W - 50, 30, 0, 0, -1, 30},
        {IDD_MAV_TEST_FIXED, -10, -300, 0, 0, 0, 0},
        {IDD_MAV_TEST_SIZABLE, 10, 10, W + 300, H + 300, 0, 0}, // larger than the screen: at its corner
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "closed at " << c.x << "," << c.y);
        const bool sizable = c.idd == IDD_MAV_TEST_SIZABLE;
        const std::wstring title = sizable ? L"\\MavDlgTestSizable" : L"\\MavDlgTestFixed";
        TestDlg first(c.idd);
        ASSERT_TRUE(first.create(nullptr, true));
        const RECT t = windowRect(first.m_hWnd);
        ::SetWindowPos(first.m_hWnd, nullptr, c.x, c.y, c.w ? c.w : t.right - t.left, c.h ? c.h : t.bottom - t.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        const RECT closed = windowRect(first.m_hWnd); // the system may cap a size larger than the screen
        const int w = closed.right - closed.left, h = closed.bottom - closed.top;
        EXPECT_EQ(w > W, c.w > W);
        first.DestroyWindow();
        const int left = c.left == -1 ? W - w : c.left;
        const DWORD pos = MAKELONG(left, c.top), big = MAKELONG(500, 400);
        EXPECT_EQ(readPlace(title), std::make_pair(pos, static_cast<DWORD>(MAKELONG(w, h))));
        if (!sizable) // a fixed dialog ignores a stored size
            writePlace(title, &pos, &big);
        TestDlg second(c.idd);
        ASSERT_TRUE(second.create(nullptr, true));
        const RECT r = windowRect(second.m_hWnd);
        EXPECT_EQ(
            std::make_tuple(r.left, r.top, r.right - r.left, r.bottom - r.top),
            std::make_tuple(LONG(left), LONG(c.top), sizable ? w : t.right - t.left, sizable ? h : t.bottom - t.top));
        second.SavePosition(false);
    }
    // The key is volatile: a key below it must be volatile too. The keys above it stay lasting.
    HKEY child = nullptr;
    EXPECT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, (kDialogs + L"\\MavDlgTestFixed\\x").c_str(), 0, nullptr, 0,
                                KEY_READ, nullptr, &child, nullptr),
              ERROR_CHILD_MUST_BE_VOLATILE);
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, (kDialogs + L"\\lasting").c_str(), 0, nullptr, 0, KEY_READ, nullptr,
                                &child, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(child);

    // Without caption text the key its empty title would name is neither read nor written.
    const DWORD farPos = MAKELONG(700, 600), farSize = MAKELONG(400, 300);
    writePlace(L"", &farPos, &farSize);
    TestDlg untitled(IDD_MAV_TEST_NOCAPTION);
    ASSERT_TRUE(untitled.create(nullptr, true));
    EXPECT_NE(windowRect(untitled.m_hWnd).left, 700);
    ::SetWindowPos(untitled.m_hWnd, nullptr, 11, 12, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    untitled.DestroyWindow();
    EXPECT_EQ(readPlace(L"").first, farPos);

    const DWORD all = 0xFFFFFFFF, negative = 0xFFFDFFEC /* -20, -3 */, small = MAKELONG(100, 50);
    const struct {
        const DWORD *pos, *size;
        RECT expected; // all zero: no saved place
    } bad[] = {{&all, &all, {65535, 65535, 131070, 131070}},
               {&negative, &small, {65516, 65533, 65616, 65583}},
               {&small, nullptr, {}},
               {nullptr, &small, {}}};
    for (const auto& c : bad) {
        writePlace(L"\\MavDlgTestFixed", c.pos, c.size);
        TestDlg dlg(IDD_MAV_TEST_FIXED);
        ASSERT_TRUE(dlg.create(nullptr, true)); // a place off every monitor is not taken
        EXPECT_NE(::MonitorFromWindow(dlg.m_hWnd, MONITOR_DEFAULTTONULL), nullptr);
        RECT r{};
        EXPECT_EQ(dlg.getSavedPos(&r), c.expected.right != 0);
        EXPECT_TRUE(::EqualRect(&r, &c.expected)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        dlg.SavePosition(false);
        EXPECT_FALSE(dlg.getSavedPos(&r)); // saving switched off: no place either
    }
}

// A captioned dialog is on the stack while open: a dialog constructed meanwhile is a sub-dialog, and the
// environment record takes it as parent, else the application's window, else the active window. Dialogs leave
// the stack by their own handle.
TEST_F(DialogBase, DialogStackGivesSubDialogFlagAndParent)
{
    ASSERT_EQ(MAV::dlgStackPop(), nullptr);
    EXPECT_FALSE(TestDlg().isSubDlg());
    {
        TestDlg top(IDD_MAV_TEST_NOCAPTION); // caption bits without caption text still count
        ASSERT_TRUE(top.create());
        EXPECT_TRUE(TestDlg().isSubDlg());
        MAV::DlgEnvMatTree_st env;
        EXPECT_EQ(env.parentWnd(), &top);
        EXPECT_EQ(MAV::DlgEnvMatTree_st(env).hWndParent, top.m_hWnd);
        EXPECT_EQ(MAV::dlgStackPop(), top.m_hWnd); // the peeks left the stack as it was
        MAV::dlgStackPush(top.m_hWnd);
    }
    EXPECT_EQ(MAV::dlgStackPop(), nullptr);
    EXPECT_FALSE(TestDlg().isSubDlg());
    // Modeless dialogs closed out of order each take only themselves off the stack; so does one deleted open.
    {
        TestDlg first, second;
        ASSERT_TRUE(first.create() && second.create());
        auto* third = new OtherDlg;
        AFX_MANAGE_STATE(AfxGetStaticModuleState());
        ASSERT_TRUE(third->Create(IDD_MAV_TEST_FIXED, nullptr));
        delete third;
        EXPECT_EQ(MAV::DlgEnv_st().hWndParent, second.m_hWnd);
        first.DestroyWindow();
        EXPECT_EQ(MAV::DlgEnv_st().hWndParent, second.m_hWnd);
    }
    EXPECT_EQ(MAV::dlgStackPop(), nullptr);
    HWND app = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    MAV::DlgEnv_st::hWndApplic = app;
    EXPECT_EQ(MAV::DlgEnv_st().hWndParent, app);
    MAV::DlgEnv_st::hWndApplic = nullptr;
    EXPECT_EQ(MAV::DlgEnv_st().hWndParent, ::GetActiveWindow());
    ::DestroyWindow(app);
}

// Keys go through the host's message loop: posted to the focus window, offered to PreTranslateMessage up the
// window chain, then dispatched; the control that has the focus afterwards (a combo box for its edit field).
int press(UINT vk)
{
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, vk, 1);
    afxtest::pumpWaitingMessages();
    HWND focus = ::GetFocus();
    return ::GetDlgCtrlID(::GetParent(focus)) == IDC_TEST_COMBO ? IDC_TEST_COMBO : ::GetDlgCtrlID(focus);
}

class RecordingTab : public CTabCtrl {
public:
    std::vector<WPARAM> keys;
    BOOL answer = TRUE;
    BOOL PreTranslateMessage(MSG* msg) override { return keys.push_back(msg->wParam), answer; }
};

// Enter goes to the next edit field, round from the last to the first; Page Up to the first; hidden and disabled
// fields are skipped; a field with ES_WANTRETURN takes Enter; with no other field, Enter leaves and re-enters it.
// A page of a tab control hands Enter and Control+Tab to the tab control and returns its answer.
TEST_F(DialogBase, EnterAndPageUpMoveBetweenEdits)
{
    TestDlg dlg;
    dlg.editIds = {IDC_TEST_EDIT1, IDC_TEST_EDIT2, IDC_TEST_EDIT3, IDC_TEST_MULTI};
    ASSERT_TRUE(dlg.create());
    ::SetForegroundWindow(dlg.m_hWnd);
    ::SetFocus(::GetDlgItem(dlg.m_hWnd, IDC_TEST_EDIT1));
    std::vector<int> seen;
    for (int i = 0; i < 3; ++i)
        seen.push_back(press(VK_RETURN));
    HWND multi = ::GetDlgItem(dlg.m_hWnd, IDC_TEST_MULTI);
    ::SetWindowTextW(multi, L"a");
    ::SendMessageW(multi, EM_SETSEL, 1, 1);
    seen.push_back(press(VK_RETURN));
    EXPECT_EQ(uitest::windowText(multi), L"a\r\n");
    ::ShowWindow(multi, SW_HIDE);
    ::SetFocus(::GetDlgItem(dlg.m_hWnd, IDC_TEST_EDIT3));
    seen.push_back(press(VK_RETURN));
    ::EnableWindow(::GetDlgItem(dlg.m_hWnd, IDC_TEST_EDIT2), FALSE);
    for (UINT vk : {VK_RETURN, VK_PRIOR, VK_PRIOR})
        seen.push_back(press(vk));
    EXPECT_EQ(seen, (std::vector<int>{IDC_TEST_EDIT2, IDC_TEST_EDIT3, IDC_TEST_MULTI, IDC_TEST_MULTI, IDC_TEST_EDIT1,
                                      IDC_TEST_EDIT3, IDC_TEST_EDIT1, IDC_TEST_EDIT1}));
    TestDlg single;
    single.editIds = {IDC_TEST_EDIT2};
    ASSERT_TRUE(single.create());
    ::SetForegroundWindow(single.m_hWnd);
    ::SetFocus(::GetDlgItem(single.m_hWnd, IDC_TEST_EDIT2));
    single.focusLog.clear();
    EXPECT_EQ(press(VK_RETURN), IDC_TEST_EDIT2);
    EXPECT_EQ(single.focusLog, (std::vector<std::string>{"kill", "set"}));

    // In a combo box with an edit field the focus is on that field; Enter and Page Up move from the combo box.
    TestDlg withCombo;
    withCombo.editIds = {IDC_TEST_EDIT1, IDC_TEST_EDIT2};
    withCombo.bindCombo = true;
    ASSERT_TRUE(withCombo.create());
    ::SetForegroundWindow(withCombo.m_hWnd);
    ::SetFocus(::GetDlgItem(withCombo.m_hWnd, IDC_TEST_EDIT2));
    std::vector<int> fromCombo{press(VK_RETURN), press(VK_RETURN)};
    ::SetFocus(::GetDlgItem(withCombo.m_hWnd, IDC_TEST_COMBO));
    fromCombo.push_back(press(VK_PRIOR));
    EXPECT_EQ(fromCombo, (std::vector<int>{IDC_TEST_COMBO, IDC_TEST_EDIT1, IDC_TEST_EDIT1}));
    EXPECT_TRUE(::IsWindowVisible(withCombo.m_hWnd)) << "Enter in the combo box pressed the default button";

    HWND frame =
        ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    RecordingTab tab;
    ASSERT_TRUE(tab.SubclassWindow(::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 400, 300,
                                                     frame, nullptr, nullptr, nullptr)));
    {
        TestDlg page;
        page.editIds = {IDC_TEST_EDIT1, IDC_TEST_EDIT2};
        ASSERT_TRUE(page.create());
        ::SetWindowLongW(page.m_hWnd, GWL_STYLE, (::GetWindowLongW(page.m_hWnd, GWL_STYLE) & ~WS_POPUP) | WS_CHILD);
        ::SetParent(page.m_hWnd, tab.m_hWnd);
        ::SetFocus(::GetDlgItem(page.m_hWnd, IDC_TEST_EDIT1));
        MSG enter{::GetFocus(), WM_KEYDOWN, VK_RETURN, 1, 0, {}};
        EXPECT_TRUE(page.PreTranslateMessage(&enter));
        tab.answer = FALSE;
        EXPECT_FALSE(page.PreTranslateMessage(&enter));
        EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), IDC_TEST_EDIT1);
        BYTE keys[256] = {}, pressed[256];
        ::GetKeyboardState(keys);
        std::copy(keys, keys + 256, pressed);
        pressed[VK_CONTROL] = pressed[VK_TAB] = 0x80;
        ::SetKeyboardState(pressed);
        MSG tabKey{::GetFocus(), WM_KEYDOWN, VK_TAB, 1, 0, {}};
        page.PreTranslateMessage(&tabKey);
        ::SetKeyboardState(keys);
        EXPECT_EQ(tab.keys, (std::vector<WPARAM>{VK_RETURN, VK_RETURN, VK_TAB}));
    }
    tab.UnsubclassWindow();
    ::DestroyWindow(frame);
}

// Texts by key: the default map's text is offered as default, else the callback's text for the bare key; without
// a callback nothing changes; the same country again does not ask again; a child of the same class inherits it.
TEST_F(DialogBase, LanguageTextsFollowCallbackAndCountry)
{
    TestDlg dlg;
    dlg.keys.SetAt(IDCANCEL, L"DLG_002");
    dlg.defs.SetAt(IDCANCEL, L"Abbrechen");
    dlg.keys.SetAt(IDC_TEST_LABEL, L"KEY_LABEL");
    dlg.keys.SetAt(4711, L"NO_CONTROL"); // skipped without a debugger
    dlg.SetCountry(L"en");
    {
        uitest::ScopedMsgFcn fcn(&counting);
        g_calls = 0;
        ASSERT_TRUE(dlg.create());
        EXPECT_EQ(itemText(dlg.m_hWnd, IDCANCEL), L"DLG_002/Abbrechen/en");
        EXPECT_EQ(itemText(dlg.m_hWnd, IDC_TEST_LABEL), L"KEY_LABEL/KEY_LABEL/(null)/en/en");
        dlg.SetCountry(L"en");
        EXPECT_EQ(g_calls, 3);
        dlg.SetCountry(L"fr");
        EXPECT_EQ(g_calls, 6);
        EXPECT_EQ(itemText(dlg.m_hWnd, IDCANCEL), L"DLG_002/Abbrechen/fr");
        EXPECT_STREQ(dlg.GetMsg(L"K", L"d", L"it"), L"K/d/it");
    }
    {
        uitest::ScopedMsgFcn none(nullptr);
        EXPECT_FALSE(dlg.updLang());
        const wchar_t* def = L"Vorgabe";
        EXPECT_EQ(dlg.GetMsg(L"DLG_001", def), def);
        uitest::ScopedMsgFcn nothing(&answersNull);
        EXPECT_TRUE(dlg.updLang());
        EXPECT_EQ(itemText(dlg.m_hWnd, IDCANCEL), L"DLG_002/Abbrechen/fr");
    }
    dlg.SetCountry(L"en"); // the library's own catalogue
    EXPECT_EQ(itemText(dlg.m_hWnd, IDCANCEL), L"Cancel");
    TestDlg child(IDD_MAV_TEST_FIXED);
    ASSERT_TRUE(child.create(&dlg));
    OtherDlg other;
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    ASSERT_TRUE(other.Create(IDD_MAV_TEST_FIXED, &dlg));
    EXPECT_EQ(str(child.country()) + str(other.country()), L"ende");
    other.DestroyWindow();
}

// The tool-tip window asks the dialog for the text of the control under the mouse (TTN_NEEDTEXTW). F1 shows HTML
// Help's text popup at the control's centre with its help text; no key or no text, no popup.
TEST_F(DialogBase, ToolTipsAndPopupHelpComeFromTheKeysOfTheControls)
{
    uitest::RecordHelp record;
    uitest::ScopedMsgFcn fcn(&showInputs);
    TestDlg dlg;
    dlg.tips.SetAt(IDC_TEST_EDIT1, L"TIP_EDIT1");
    dlg.help.SetAt(IDC_TEST_EDIT2, L"HLP_EDIT2");
    dlg.help.SetAt(IDC_TEST_COMBO, L"HLP_COMBO");
    dlg.tips.SetAt(IDC_TEST_LABEL, L"TIP_LABEL");
    dlg.tips.SetAt(IDC_TEST_EDIT3, L"TIP_EDIT3");
    ASSERT_TRUE(dlg.create());
    const struct {
        int control;
        UINT flags;
        CMavDlg::MsgFcn fcn;
        const wchar_t* text; // null: not answered
    } cases[] = {{IDC_TEST_EDIT1, TTF_IDISHWND, &showInputs, L"TIP_EDIT1/(null)/de"},
                 {IDC_TEST_EDIT2, TTF_IDISHWND, &showInputs, nullptr},
                 {IDC_TEST_EDIT1, 0, &showInputs, nullptr},
                 {IDC_TEST_EDIT1, TTF_IDISHWND, &answersEmpty, nullptr},
                 {IDC_TEST_EDIT1, TTF_IDISHWND, &answersNull, nullptr}};
    for (const auto& c : cases) {
        uitest::ScopedMsgFcn answer(c.fcn);
        NMTTDISPINFOW info{};
        info.hdr = {nullptr, reinterpret_cast<UINT_PTR>(::GetDlgItem(dlg.m_hWnd, c.control)),
                    static_cast<UINT>(TTN_NEEDTEXTW)};
        info.uFlags = c.flags;
        ::SendMessageW(dlg.m_hWnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(str(info.lpszText), str(c.text));
        EXPECT_EQ(info.hinst, c.text ? afxtest::libraryModule() : nullptr);
    }

    // The mouse over a label or a disabled field moves over the dialog itself (the system passes those by); the
    // tip window still learns that it is over the control (not the group box around both), and shows its tip.
    HWND tip = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
    while (tip && ::GetWindow(tip, GW_OWNER) != dlg.m_hWnd)
        tip = ::FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr);
    ASSERT_NE(tip, nullptr);
    ::SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
    ::EnableWindow(::GetDlgItem(dlg.m_hWnd, IDC_TEST_EDIT3), FALSE);
    POINT mouse{};
    ::GetCursorPos(&mouse); // put back after: a later test's list selects what the mouse rests on
    for (int id : {IDC_TEST_LABEL, IDC_TEST_EDIT3}) {
        HWND control = ::GetDlgItem(dlg.m_hWnd, id);
        RECT c = windowRect(control);
        ::MapWindowPoints(HWND_DESKTOP, dlg.m_hWnd, reinterpret_cast<POINT*>(&c), 2);
        POINT at{(c.left + c.right) / 2, (c.top + c.bottom) / 2};
        MSG move{dlg.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y), 0, {}};
        ::ClientToScreen(dlg.m_hWnd, &at);
        ::SetCursorPos(at.x, at.y); // where the tip window looks before it shows
        dlg.PreTranslateMessage(&move);
        TTTOOLINFOW shown{};
        shown.cbSize = sizeof(shown);
        for (int wait = 0; wait < 200 && !::SendMessageW(tip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&shown));
             ++wait) {
            afxtest::pumpWaitingMessages();
            ::Sleep(10);
        }
        EXPECT_EQ(reinterpret_cast<HWND>(shown.uId), control) << id;
        ::SendMessageW(tip, TTM_POP, 0, 0);
    }
    ::SetCursorPos(mouse.x, mouse.y);

    const RECT r = windowRect(::GetDlgItem(dlg.m_hWnd, IDC_TEST_EDIT2));
    HELPINFO info{sizeof(HELPINFO), HELPINFO_WINDOW, IDC_TEST_EDIT2, nullptr, 0, {3, 4}};
    EXPECT_EQ(::SendMessageW(dlg.m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info)), TRUE);
    ASSERT_EQ(uitest::helpCalls().size(), 1u);
    const uitest::Call& c = uitest::helpCalls()[0];
    const HH_POPUP& p = c.popup;
    EXPECT_TRUE(c.command == HH_DISPLAY_TEXT_POPUP && !c.owner && c.file == L"(null)" && p.cbStruct == sizeof p);
    EXPECT_EQ(c.text, L"HLP_EDIT2/(null)/de");
    EXPECT_TRUE(p.pt.x == (r.left + r.right) / 2 && p.pt.y == (r.top + r.bottom) / 2);
    EXPECT_TRUE(p.clrForeground == CLR_NONE && p.clrBackground == CLR_NONE && !p.idString && !p.hinst);
    const RECT margins{-1, -1, -1, -1};
    EXPECT_TRUE(::EqualRect(&p.rcMargins, &margins));
    uitest::helpCalls().clear();
    for (int id : {IDC_TEST_EDIT1, 4711}) {
        info.iCtrlId = id;
        EXPECT_EQ(::SendMessageW(dlg.m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info)), TRUE);
    }
    info.iCtrlId = IDC_TEST_EDIT2;
    for (CMavDlg::MsgFcn answer : {&answersEmpty, &answersNull}) {
        uitest::ScopedMsgFcn blank(answer);
        ::SendMessageW(dlg.m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    }
    EXPECT_TRUE(uitest::helpCalls().empty());
    // F1 in the edit field of a combo box: the combo box's help at its centre.
    HWND combo = ::GetDlgItem(dlg.m_hWnd, IDC_TEST_COMBO), field = ::GetWindow(combo, GW_CHILD);
    HELPINFO inCombo{sizeof(HELPINFO), HELPINFO_WINDOW, ::GetDlgCtrlID(field), field, 0, {3, 4}};
    ::SendMessageW(dlg.m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&inCombo));
    const RECT cr = windowRect(combo);
    ASSERT_EQ(uitest::helpCalls().size(), 1u);
    EXPECT_EQ(uitest::helpCalls()[0].text, L"HLP_COMBO/(null)/de");
    EXPECT_EQ(uitest::helpCalls()[0].popup.pt.y, (cr.top + cr.bottom) / 2);
}

// The help file: folder and name, the help button follows it; an address gets the topic; a file opens in HTML
// Help at the topic; a missing file is asked for with the Open dialog.
TEST_F(DialogBase, HelpFileAddressAndOpenDialog)
{
    uitest::RecordHelp record;
    TestDlg dlg;
    ASSERT_TRUE(dlg.create());
    HWND button = ::GetDlgItem(dlg.m_hWnd, IDC_TEST_HELP);
    auto file = [&dlg, button] {
        CString got;
        dlg.GetHelpFile(got);
        return std::wstring(got.GetString()) + (::IsWindowVisible(button) && ::IsWindowEnabled(button) ? L"+" : L"");
    };
    EXPECT_EQ(file(), L"");
    dlg.SetHelpFile(L"C:\\Docs\\Hilfe\\mav.v2.chm");
    EXPECT_EQ(file(), L"C:\\Docs\\Hilfe\\mav.v2.chm+");
    dlg.SetHelpFile(nullptr);
    EXPECT_EQ(file(), L"");
    const std::wstring longPath = L"C:\\" + std::wstring(300, L'd') + L"\\" + std::wstring(280, L'n') + L".chm";
    dlg.SetHelpFile(longPath.c_str()); // every part cut to 259 characters
    EXPECT_EQ(file(), L"C:\\" + std::wstring(258, L'd') + std::wstring(259, L'n') + L".chm+");

    dlg.SetHelpTopic(L"Schrank");
    const wchar_t* const cases[][3] = {
        {L"HTTPS://h.example/?t=<topic>&u=<topic>", nullptr, L"HTTPS://h.example/?t=Schrank&u=Schrank"},
        {L"http://h.example/index.html", L"Tuer", L"http://h.example/index.html"},
        {L"http://h.example/<topic>.html", L"Tür", L"http://h.example/Tür.html"},
    };
    for (const auto& c : cases) {
        uitest::shellCalls().clear();
        dlg.SetHelpFile(c[0]);
        dlg.Help(c[1]);
        ASSERT_EQ(uitest::shellCalls().size(), 1u);
        const uitest::Call& s = uitest::shellCalls()[0]; // the default verb, shown normally
        EXPECT_EQ(std::make_tuple(s.file, s.text, s.command), std::make_tuple(c[2], L"(null)", UINT(SW_SHOWNORMAL)));
    }
    EXPECT_TRUE(uitest::helpCalls().empty());

    const std::wstring chm = uitest::ScratchDir::temp() + L"\\mavdlg_test.chm";
    std::ofstream(chm.c_str()) << "x";
    // Missing: the Open dialog asks; Cancel shows nothing, a chosen file is taken and opened.
    dlg.SetHelpFile(L"C:\\nowhere\\missing.chm");
    EXPECT_TRUE(uitest::driven([](HWND box) { uitest::post(box, IDCANCEL); }, [&] { dlg.Help(L"Tuer"); }));
    EXPECT_TRUE(uitest::helpCalls().empty());
    EXPECT_TRUE(uitest::driven(
        [&](HWND box) {
            ::SetWindowTextW(::GetDlgItem(box, 0x47C) ? ::GetDlgItem(box, 0x47C) : ::GetDlgItem(box, 0x480),
                             chm.c_str());
            uitest::post(box, IDOK);
        },
        [&] { dlg.Help(nullptr); }));
    EXPECT_EQ(CString(file().substr(0, chm.size()).c_str()).CompareNoCase(chm.c_str()), 0);
    ASSERT_EQ(uitest::helpCalls().size(), 2u);
    const uitest::Call &topic = uitest::helpCalls()[0], &lookup = uitest::helpCalls()[1];
    EXPECT_TRUE(topic.command == HH_DISPLAY_TOPIC && !topic.data && !topic.owner);
    EXPECT_EQ(CString(topic.file.c_str()).CompareNoCase(chm.c_str()), 0);
    const HH_AKLINK& link = lookup.link;
    EXPECT_TRUE(lookup.command == HH_KEYWORD_LOOKUP && !lookup.owner && link.cbStruct == sizeof link);
    EXPECT_EQ(lookup.text, L"Schrank");
    EXPECT_TRUE(!link.pszUrl && !link.pszMsgText && !link.pszMsgTitle && !link.pszWindow && !link.fIndexOnFail);
    ::DeleteFileW(chm.c_str());
}

// The message box caption is the application's name from the configuration, "KRV" and "MAV" written out.
TEST_F(DialogBase, MessageBoxCaptionFollowsTheApplication)
{
    TestDlg dlg(IDD_MAV_TEST_FIXED);
    ASSERT_TRUE(dlg.create());
    const struct {
        const char* appl; // null: no "_APPL" item
        const wchar_t *caption, *shown;
    } cases[] = {{"MAV", L"Eigene", L"MAVORA"}, {"KRV", nullptr, L"KARVEN"},  {"Werk", L"MAV", L"Werk"},
                 {nullptr, L"MAV", L"MAVORA"},  {nullptr, L"KRV", L"KARVEN"}, {nullptr, L"Mav", L"Mav"}};
    for (const auto& c : cases) {
        MAV::CConfig::reset();
        const std::string text = std::string("_APPL = text \"") + (c.appl ? c.appl : "") + "\"\n";
        if (c.appl)
            ASSERT_TRUE(MAV::CConfig::loadText(text.c_str(), text.size()));
        else
            MAV::CConfig::getCfgRoot()->remove(CMavDataKey(L"_APPL"));
        int answer = 0;
        EXPECT_EQ(uitest::boxOf([&] { answer = dlg.MessageBoxW(L"Wirklich l\u00f6schen?", c.caption, MB_OK); }),
                  L"Wirklich l\u00f6schen?|" + std::wstring(c.shown));
        EXPECT_EQ(answer, IDOK);
    }
}

// The grip of a resizable dialog: grey, grey, white diagonals 3-5, 7-9 and 11-13 pixels from the corner.
TEST_F(DialogBase, ResizableDialogPaintsTheSizeGrip)
{
    for (int idd : {IDD_MAV_TEST_SIZABLE, IDD_MAV_TEST_FIXED}) {
        TestDlg dlg(idd);
        ASSERT_TRUE(dlg.create());
        ::SetWindowPos(dlg.m_hWnd, HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        ::RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT rc{};
        ::GetClientRect(dlg.m_hWnd, &rc);
        const int w = rc.right, h = rc.bottom;
        afxtest::Dib dib(w, h, 0x123456);
        HDC dc = ::GetDC(dlg.m_hWnd);
        ::BitBlt(dib.dc, 0, 0, w, h, dc, 0, 0, SRCCOPY);
        ::ReleaseDC(dlg.m_hWnd, dc);
        const DWORD f = ::GetSysColor(COLOR_BTNFACE), face = (f & 0xFF) << 16 | (f & 0xFF00) | (f >> 16 & 0xFF);
        const bool grip = idd == IDD_MAV_TEST_SIZABLE;
        // The diagonal at distance d covers (w - d + k, h - k) for k = 1 .. d - 1.
        for (int d = 2; d <= 14; ++d) {
            const DWORD expected = !grip || d % 4 == 2 ? face : d % 4 == 1 ? 0xFFFFFFu : 0x808080u;
            for (int k = 1; k < d; ++k)
                EXPECT_EQ(dib.at(w - d + k, h - k), expected) << (grip ? "grip" : "fixed") << " d=" << d;
        }
    }
}

// System-menu command 16 opens the About box with the library's icon, product name, version and maker from the
// version resource, in the dialog's language.
class HostDlg : public CMavDlg {
public:
    HostDlg() : CMavDlg(IDD_MAV_TEST_FIXED) { SavePosition(false); }
    BOOL OnInitDialog() override { return CMavDlg::OnInitDialog(), MAV::aboutMenuAdd(this), TRUE; }
    void OnSysCommand(UINT id, LPARAM lParam) override
    {
        if (!MAV::aboutOnSysCommand(this, id))
            CMavDlg::OnSysCommand(id, lParam);
    }
};

// A host's catalogue (language "xx" here) gives a caption with stray percent signs: they are shown, not read as a
// format.
const wchar_t* percentCaption(const wchar_t* key, const wchar_t* def, const wchar_t* country)
{
    if (str(country) != L"xx")
        return MAV::msgFcnDefault(key, def, country);
    return str(key) == L"MAV_ABOUT_001" ? L"%n%d %s (%s) 100%" : MAV::msgFcnDefault(key, def, L"en");
}

TEST(AboutBox, SystemMenuCommandShowsProductVersionAndMaker)
{
    const wchar_t* const cases[][5] = {
        {L"de", L"Info über MavMfc...", L"Info über MavMfc", L"Version", L"Hersteller"},
        {L"en", L"About MavMfc...", L"About MavMfc", L"Version", L"Maker"},
        {L"xx", L"About MavMfc...", L"%n%d MavMfc (%s) 100%", L"Version", L"Maker"},
    };
    const CMavDlg::MsgFcn installed = CMavDlg::SetMsgCallBack(percentCaption);
    for (const auto& c : cases) {
        HostDlg host;
        host.SetCountry(c[0]);
        AFX_MANAGE_STATE(AfxGetStaticModuleState());
        ASSERT_TRUE(host.Create(IDD_MAV_TEST_FIXED));
        wchar_t entry[64] = {};
        ::GetMenuStringW(::GetSystemMenu(host.m_hWnd, FALSE), MAV::IDM_ABOUTBOX, entry, 64, MF_BYCOMMAND);
        EXPECT_EQ(std::wstring(entry), c[1]);

        std::wstring seen;
        uitest::Script read([&](HWND box) {
            seen = uitest::windowText(box);
            for (int id : {IDC_ABOUT_PRODUCT, IDC_ABOUT_VERSION, IDC_ABOUT_MAKER, IDC_ABOUT_VERSION_LABEL,
                           IDC_ABOUT_MAKER_LABEL})
                seen += L"|" + uitest::itemText(box, id);
            if (::SendDlgItemMessageW(box, IDC_ABOUT_ICON, STM_GETICON, 0, 0) &&
                ::SendMessageW(box, WM_GETICON, ICON_BIG, 0))
                seen += L"|icons";
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
        ::SendMessageW(host.m_hWnd, WM_SYSCOMMAND, MAV::IDM_ABOUTBOX, 0);
        EXPECT_EQ(seen,
                  std::wstring(c[2]) + L"|MavMfc|" MAV_VERSION_STRING L"|MAVORA|" + c[3] + L"|" + c[4] + L"|icons");
        host.DestroyWindow();
    }
    CMavDlg::SetMsgCallBack(installed);
    EXPECT_FALSE(MAV::aboutOnSysCommand(nullptr, SC_MOVE));
}

// prefix\KEY\suffix frames the text of KEY; one or three backslashes make a whole (unknown) key; country "0"
// gives back the caller's key pointer.
TEST(DefaultMessageFunction, SplitsKeysAndIsInstalledAtStart)
{
    CMavDlg::MsgFcn installed = CMavDlg::SetMsgCallBack(nullptr);
    CMavDlg::SetMsgCallBack(installed);
    MAV::msgReset();
    const wchar_t* const cases[][4] = {
        {L"DLG_002", L"x", L"de", L"Abbrechen"},
        {L"DLG_002", L"x", L"en", L"Cancel"},
        {L"\\DLG_002\\...", nullptr, L"en", L"Cancel..."},
        {L"<\\DLG_002\\>", nullptr, nullptr, L"<Abbrechen>"},
        {L"DLG_002\\", L"Vorgabe", L"de", L"Vorgabe"},
        {L"a\\DLG_002\\b\\c", L"Vorgabe", L"-1", L"Vorgabe"},
        {L"\\\\", L"leer", L"de", L"leer"},
        {L"\\\\\\", L"leer", L"de", L"leer"},
        {L"(\\UNKNOWN\\)", L"Vorgabe", L"de", L"(Vorgabe)"},
        {L"UNKNOWN", nullptr, L"de", L""},
        {nullptr, L"Vorgabe", L"de", L"Vorgabe"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(uitest::str(MAV::msgFcnDefault(c[0], c[1], c[2])), c[3]) << uitest::str(c[0]).size();
        EXPECT_EQ(uitest::str(installed(c[0], c[1], c[2])), c[3]);
    }
    const wchar_t* key = L"\\DLG_002\\...";
    EXPECT_TRUE(MAV::msgFcnDefault(key, L"d", L"0") == key && installed(key, L"d", L"0") == key);
    // Eight results can be held at once; the ninth call reuses the first one's slot.
    const wchar_t* results[9];
    for (int i = 0; i < 9; ++i)
        results[i] = MAV::msgFcnDefault(L"NO_SUCH_KEY", std::to_wstring(i).c_str(), L"de");
    for (int i = 1; i < 9; ++i) {
        EXPECT_EQ(std::wstring(results[i]), std::to_wstring(i));
        for (int j = i + 1; j < 9; ++j)
            EXPECT_NE(results[i], results[j]);
    }
    EXPECT_EQ(results[0], results[8]);
}

// "name\topic" or a topic of the help "Mav": addresses go to the shell with the topic filled in, files to HTML
// Help; an unknown help name opens nothing.
TEST(HelpByName, NameAndTopicChooseFileAndPlace)
{
    uitest::RecordHelp record;
    const std::wstring chm = uitest::ScratchDir::temp() + L"\\mav_help_test.chm";
    std::ofstream(chm.c_str()) << "x";
    std::string cfg = "HELP {\n Mav = text \"http://h.example/mav/<topic>\"\n"
                      " Krv = text \"https://k.example/?q=<topic>\"\n Doc = text \"";
    for (wchar_t ch : chm)
        cfg += ch == L'\\' ? std::string("\\\\") : std::string(1, static_cast<char>(ch));
    cfg += "\"\n}\n";
    ASSERT_TRUE(MAV::CConfig::loadText(cfg.c_str(), cfg.size()));
    const wchar_t* const cases[][2] = {
        {L"Tuer", L"http://h.example/mav/Tuer"},
        {L"", L"http://h.example/mav/"},
        {nullptr, L"http://h.example/mav/"},
        {L"krv\\Schrank", L"https://k.example/?q=Schrank"},
        {L"Krv\\Schrank\\Extra", L"https://k.example/?q=Schrank"},
        {L"\\\\Krv\\\\Regal", L"https://k.example/?q=Regal"}, // empty parts dropped
        {L"Nirgends\\Thema", nullptr},
    };
    for (const auto& c : cases) {
        uitest::shellCalls().clear();
        EXPECT_EQ(MAV::help(c[0]), c[1] != nullptr);
        EXPECT_EQ(uitest::shellCalls().empty() ? L"" : uitest::shellCalls()[0].file, c[1] ? c[1] : L"");
    }
    EXPECT_TRUE(uitest::helpCalls().empty());
    EXPECT_TRUE(MAV::help(L"Doc\\Beschlag"));
    ASSERT_EQ(uitest::helpCalls().size(), 2u);
    EXPECT_EQ(
        std::make_tuple(uitest::helpCalls()[0].command, uitest::helpCalls()[1].command, uitest::helpCalls()[1].text),
        std::make_tuple(UINT(HH_DISPLAY_TOPIC), UINT(HH_KEYWORD_LOOKUP), std::wstring(L"Beschlag")));
    ::DeleteFileW(chm.c_str());
    EXPECT_FALSE(MAV::help(L"Doc\\Beschlag")); // no file for the name any more
    MAV::CConfig::reset();
}

} // namespace
