// The dialog base on the library's own test templates: the saved place in the registry, the sub-dialog flag and
// the environment's parent, Enter and Page Up between edits, language texts, tool tips, popup help, help files,
// the message box caption and the size grip.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cwchar>
#include <fstream>
#include <string>
#include <vector>

#include "data/config.h"
#include "data/messages.h"
#include "resource.h"
#include "ui_test_support.h"

namespace {

using uitest::itemText;

const wchar_t* const kDialogsKey = L"Software\\MAVORA\\MAV\\Dialogs";

// "text of <key> in <country>", or "<def>" when a default was passed: shows exactly what the dialog asked for.
const wchar_t* showInputs(const wchar_t* key, const wchar_t* def, const wchar_t* country)
{
    static std::wstring text;
    text = std::wstring(key ? key : L"(null)") + L"/" + (def ? def : L"(null)") + L"/" +
           (country ? country : L"(null)");
    return text.c_str();
}

int g_calls = 0;
const wchar_t* countingCallback(const wchar_t* key, const wchar_t* def, const wchar_t* country)
{
    ++g_calls;
    return showInputs(key, def, country);
}

const wchar_t* nullCallback(const wchar_t*, const wchar_t*, const wchar_t*)
{
    return nullptr;
}

class LoggingEdit : public CEdit {
public:
    std::vector<std::string>* log = nullptr;
    const char* name = "";
    void OnSetFocus(CWnd* old) override
    {
        if (log)
            log->push_back(std::string("set ") + name);
        CEdit::OnSetFocus(old);
    }
    void OnKillFocus(CWnd* next) override
    {
        if (log)
            log->push_back(std::string("kill ") + name);
        CEdit::OnKillFocus(next);
    }
};

// A dialog of one of the test templates whose maps the test fills before creation.
class TestDlg : public CMavDlg {
    DECLARE_DYNAMIC(TestDlg)
public:
    explicit TestDlg(int idd = IDD_MAV_TEST_SIZABLE, CWnd* parent = nullptr) : CMavDlg(idd, parent) {}
    ~TestDlg() override
    {
        if (m_hWnd)
            DestroyWindow();
    }

    bool create(CWnd* parent = nullptr)
    {
        AFX_MANAGE_STATE(AfxGetStaticModuleState());
        const BOOL ok = Create(m_lpszTemplateName, parent);
        if (ok)
            ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        return ok != FALSE;
    }

    CMavDlgTextMap langKeys, langDefs, hlpKeys, tipKeys;
    std::vector<int> editIds; // subclassed as CEdit, in this order
    LoggingEdit edits[4];
    std::vector<std::string> focusLog;

    void addLangRsc() override
    {
        copy(langKeys, m_mapLangKey);
        copy(langDefs, m_mapLangDef);
    }
    void addHlpRsc() override { copy(hlpKeys, m_mapHlpKey); }
    void addToolTipRsc() override { copy(tipKeys, m_mapToolTipKey); }
    BOOL OnInitDialog() override
    {
        static const char* names[] = {"e0", "e1", "e2", "e3"};
        for (size_t i = 0; i < editIds.size() && i < 4; ++i) {
            edits[i].log = &focusLog;
            edits[i].name = names[i];
            edits[i].SubclassDlgItem(static_cast<UINT>(editIds[i]), this);
        }
        return CMavDlg::OnInitDialog();
    }
    const CString& title() const { return m_strPosTitle; }

private:
    static void copy(const CMavDlgTextMap& from, CMavDlgTextMap& to)
    {
        POSITION pos = from.GetStartPosition();
        while (pos) {
            UINT id = 0;
            CString text;
            from.GetNextAssoc(pos, id, text);
            to.SetAt(id, text);
        }
    }
};
IMPLEMENT_DYNAMIC(TestDlg, CMavDlg)

class OtherDlg : public CMavDlg {
    DECLARE_DYNAMIC(OtherDlg)
public:
    explicit OtherDlg(CWnd* parent) : CMavDlg(IDD_MAV_TEST_FIXED, parent) {}
};
IMPLEMENT_DYNAMIC(OtherDlg, CMavDlg)

void deletePlace(const wchar_t* title)
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(kDialogsKey) + L"\\" + title).c_str());
}

bool readPlace(const wchar_t* title, DWORD& pos, DWORD& size)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, (std::wstring(kDialogsKey) + L"\\" + title).c_str(), 0, KEY_READ,
                        &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, n = sizeof(DWORD);
    bool ok = ::RegQueryValueExW(key, L"Pos", nullptr, &type, reinterpret_cast<BYTE*>(&pos), &n) == ERROR_SUCCESS;
    n = sizeof(DWORD);
    ok = ok && ::RegQueryValueExW(key, L"Size", nullptr, &type, reinterpret_cast<BYTE*>(&size), &n) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return ok;
}

void writePlace(const wchar_t* path, const DWORD* pos, const DWORD* size)
{
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    if (pos)
        ::RegSetValueExW(key, L"Pos", 0, REG_DWORD, reinterpret_cast<const BYTE*>(pos), sizeof(DWORD));
    if (size)
        ::RegSetValueExW(key, L"Size", 0, REG_DWORD, reinterpret_cast<const BYTE*>(size), sizeof(DWORD));
    ::RegCloseKey(key);
}

RECT windowRect(HWND h)
{
    RECT r{};
    ::GetWindowRect(h, &r);
    return r;
}

class DialogBase : public ::testing::Test {
protected:
    uitest::EnsureKey maker{L"Software\\MAVORA"};
    uitest::EnsureKey dialogs{kDialogsKey};
    void TearDown() override
    {
        for (const wchar_t* t : {L"MavDlgTestSizable", L"MavDlgTestFixed"})
            deletePlace(t);
        MAV::CConfig::reset();
        MAV::msgReset();
    }
};

// Where a dialog closes decides where it opens next time: pulled back onto the desktop, with its size only when
// it can be resized; a dialog without a caption text neither stores nor restores a place.
TEST_F(DialogBase, SavedPlaceRoundTripsThroughTheRegistry)
{
    const int deskW = ::GetSystemMetrics(SM_CXSCREEN);
    const int deskH = ::GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        int idd;
        const wchar_t* title;
        int x, y, w, h; // where the dialog is when it closes
        int savedLeft, savedTop;
        bool sizeRestored;
    };
    const Case cases[] = {
        {IDD_MAV_TEST_SIZABLE, L"MavDlgTestSizable", -40, -25, 300, 200, 0, 0, true},
        {IDD_MAV_TEST_SIZABLE, L"MavDlgTestSizable", deskW - 100, deskH - 60, 320, 210, deskW - 320, deskH - 210,
         true},
        {IDD_MAV_TEST_FIXED, L"MavDlgTestFixed", deskW - 50, 30, 0, 0, -1, 30, false},
        {IDD_MAV_TEST_FIXED, L"MavDlgTestFixed", -10, -300, 0, 0, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "case at " << c.x << "," << c.y);
        deletePlace(c.title);
        TestDlg first(c.idd);
        ASSERT_TRUE(first.create());
        EXPECT_EQ(first.title(), c.title);
        const RECT templ = windowRect(first.m_hWnd);
        const int w = c.w ? c.w : templ.right - templ.left;
        const int h = c.h ? c.h : templ.bottom - templ.top;
        ::SetWindowPos(first.m_hWnd, nullptr, c.x, c.y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
        first.DestroyWindow();

        DWORD pos = 0, size = 0;
        ASSERT_TRUE(readPlace(c.title, pos, size));
        const int left = c.savedLeft == -1 ? deskW - w : c.savedLeft;
        EXPECT_EQ(pos & 0xFFFF, static_cast<DWORD>(left));
        EXPECT_EQ(pos >> 16, static_cast<DWORD>(c.savedTop));
        EXPECT_EQ(size & 0xFFFF, static_cast<DWORD>(w));
        EXPECT_EQ(size >> 16, static_cast<DWORD>(h));

        // The next dialog of that title opens there; a fixed one keeps its template's size even when the stored
        // size says otherwise.
        if (!c.sizeRestored) {
            const DWORD otherSize = MAKELONG(500, 400);
            writePlace((std::wstring(kDialogsKey) + L"\\" + c.title).c_str(), nullptr, &otherSize);
        }
        TestDlg second(c.idd);
        RECT saved{};
        ASSERT_TRUE(second.create());
        ASSERT_TRUE(second.getSavedPos(&saved));
        const RECT r = windowRect(second.m_hWnd);
        EXPECT_EQ(r.left, left);
        EXPECT_EQ(r.top, c.savedTop);
        EXPECT_EQ(r.right - r.left, c.sizeRestored ? w : templ.right - templ.left);
        EXPECT_EQ(r.bottom - r.top, c.sizeRestored ? h : templ.bottom - templ.top);
        second.SavePosition(false);
    }

    // The key written is volatile: a key below it must be volatile too.
    TestDlg one(IDD_MAV_TEST_FIXED);
    ASSERT_TRUE(one.create());
    one.DestroyWindow();
    HKEY child = nullptr;
    const std::wstring childPath = std::wstring(kDialogsKey) + L"\\MavDlgTestFixed\\child";
    EXPECT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, childPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &child, nullptr),
              ERROR_CHILD_MUST_BE_VOLATILE);
    if (child)
        ::RegCloseKey(child);

    // No caption text: the key its empty title would name is neither read nor written.
    const DWORD farPos = MAKELONG(700, 600), farSize = MAKELONG(400, 300);
    writePlace(kDialogsKey, &farPos, &farSize);
    TestDlg untitled(IDD_MAV_TEST_NOCAPTION);
    ASSERT_TRUE(untitled.create());
    const RECT before = windowRect(untitled.m_hWnd);
    EXPECT_NE(before.left, 700);
    RECT none{};
    EXPECT_FALSE(untitled.getSavedPos(&none));
    ::SetWindowPos(untitled.m_hWnd, nullptr, 11, 12, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    untitled.DestroyWindow();
    DWORD pos = 0, size = 0;
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, kDialogsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD n = sizeof pos;
    ::RegQueryValueExW(key, L"Pos", nullptr, nullptr, reinterpret_cast<BYTE*>(&pos), &n);
    n = sizeof size;
    ::RegQueryValueExW(key, L"Size", nullptr, nullptr, reinterpret_cast<BYTE*>(&size), &n);
    ::RegDeleteValueW(key, L"Pos");
    ::RegDeleteValueW(key, L"Size");
    ::RegCloseKey(key);
    EXPECT_EQ(pos, farPos);
    EXPECT_EQ(size, farSize);

    // Saving switched off before creation: nothing restored, nothing stored.
    deletePlace(L"MavDlgTestFixed");
    TestDlg quiet(IDD_MAV_TEST_FIXED);
    quiet.SavePosition(false);
    ASSERT_TRUE(quiet.create());
    quiet.DestroyWindow();
    EXPECT_FALSE(readPlace(L"MavDlgTestFixed", pos, size));
}

// Stored values the dialog did not write: halves read as unsigned 16-bit numbers, a missing or mistyped value
// means no saved place. The dialog opens in every case.
TEST_F(DialogBase, SavedPlaceFromBadValues)
{
    const std::wstring path = std::wstring(kDialogsKey) + L"\\MavDlgTestFixed";
    struct Case {
        bool hasPos;
        DWORD pos;
        bool hasSize;
        DWORD size;
        bool found;
        RECT expected;
    };
    const Case cases[] = {
        {true, 0xFFFFFFFF, true, 0xFFFFFFFF, true, {65535, 65535, 131070, 131070}},
        {true, static_cast<DWORD>(MAKELONG(static_cast<WORD>(-20), static_cast<WORD>(-3))), true,
         MAKELONG(100, 50), true,
         {65516, 65533, 65616, 65583}},
        {true, MAKELONG(10, 20), false, 0, false, {}},
        {false, 0, true, MAKELONG(100, 50), false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "pos " << c.pos << " size " << c.size);
        deletePlace(L"MavDlgTestFixed");
        writePlace(path.c_str(), c.hasPos ? &c.pos : nullptr, c.hasSize ? &c.size : nullptr);
        TestDlg dlg(IDD_MAV_TEST_FIXED);
        ASSERT_TRUE(dlg.create());
        RECT r{};
        EXPECT_EQ(dlg.getSavedPos(&r), c.found);
        if (c.found) {
            EXPECT_EQ(r.left, c.expected.left);
            EXPECT_EQ(r.top, c.expected.top);
            EXPECT_EQ(r.right, c.expected.right);
            EXPECT_EQ(r.bottom, c.expected.bottom);
        }
        dlg.SavePosition(false);
    }
    // A "Pos" of text is not a place.
    deletePlace(L"MavDlgTestFixed");
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                nullptr),
              ERROR_SUCCESS);
    const wchar_t text[] = L"10,20";
    ::RegSetValueExW(key, L"Pos", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    const DWORD size = MAKELONG(100, 50);
    ::RegSetValueExW(key, L"Size", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&size), sizeof size);
    ::RegCloseKey(key);
    TestDlg dlg(IDD_MAV_TEST_FIXED);
    ASSERT_TRUE(dlg.create());
    RECT r{};
    EXPECT_FALSE(dlg.getSavedPos(&r));
    dlg.SavePosition(false);
}

// The dialog stack: a captioned dialog is on it while open; a dialog constructed meanwhile is a sub-dialog and
// the environment record takes the open dialog as parent, else the application's window, else the active one.
TEST_F(DialogBase, DialogStackGivesSubDialogFlagAndParent)
{
    ASSERT_EQ(MAV::dlgStackPop(), nullptr) << "a dialog of an earlier test is still on the stack";
    TestDlg lone(IDD_MAV_TEST_FIXED);
    EXPECT_FALSE(lone.isSubDlg());

    MAV::DlgEnv_st::hWndApplic = nullptr;
    {
        TestDlg top(IDD_MAV_TEST_FIXED);
        ASSERT_TRUE(top.create());
        top.SavePosition(false);
        TestDlg sub(IDD_MAV_TEST_FIXED);
        EXPECT_TRUE(sub.isSubDlg());
        MAV::DlgEnv_st env;
        EXPECT_EQ(env.hWndParent, top.m_hWnd);
        EXPECT_EQ(env.parentWnd(), &top);
        EXPECT_EQ(std::wstring(env.country.c_str()), std::wstring(MAV::msgLangSet(nullptr)));
        // Copies carry every field, the derived record's lists and flags too.
        MAV::DlgEnvMatTree_st tree;
        tree.keywords.append(CMavString(L"EDGE"));
        tree.namesBesideLabels = true;
        tree.helpTopic = L"Material";
        MAV::DlgEnvMatTree_st copy(tree);
        MAV::DlgEnvMatTree_st assigned;
        assigned = tree;
        for (const MAV::DlgEnvMatTree_st* r : {&copy, &assigned}) {
            EXPECT_EQ(r->keywords.len(), 1);
            EXPECT_TRUE(r->namesBesideLabels);
            EXPECT_FALSE(r->drawingMaterials);
            EXPECT_EQ(std::wstring(r->helpTopic.c_str()), L"Material");
            EXPECT_EQ(r->hWndParent, top.m_hWnd);
        }
        // The peek left the stack as it was.
        EXPECT_EQ(MAV::dlgStackPop(), top.m_hWnd);
        MAV::dlgStackPush(top.m_hWnd);
    }
    // Closed: popped again.
    EXPECT_EQ(MAV::dlgStackPop(), nullptr);
    TestDlg after(IDD_MAV_TEST_FIXED);
    EXPECT_FALSE(after.isSubDlg());

    // A dialog without caption is no dialog of the stack.
    {
        TestDlg untitled(IDD_MAV_TEST_NOCAPTION);
        ASSERT_TRUE(untitled.create());
        // WS_CAPTION has bits set for this template (a border), so it is pushed.
        EXPECT_EQ(MAV::dlgStackPop(), untitled.m_hWnd);
        MAV::dlgStackPush(untitled.m_hWnd);
    }
    EXPECT_EQ(MAV::dlgStackPop(), nullptr);

    HWND app = ::CreateWindowExW(0, L"STATIC", L"app", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    MAV::DlgEnv_st::hWndApplic = app;
    EXPECT_EQ(MAV::DlgEnv_st().hWndParent, app);
    MAV::DlgEnv_st::hWndApplic = nullptr;
    EXPECT_EQ(MAV::DlgEnv_st().hWndParent, ::GetActiveWindow());
    MAV::DlgEnv_st empty;
    empty.hWndParent = nullptr;
    EXPECT_EQ(empty.parentWnd(), nullptr);
    ::DestroyWindow(app);
}

// Keys go through the host's message loop: posted to the focus window, offered to PreTranslateMessage up the
// window chain, then dispatched.
void pressKey(UINT vk)
{
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, vk, 1);
    afxtest::pumpWaitingMessages();
}

int focusId()
{
    return ::GetDlgCtrlID(::GetFocus());
}

// Enter moves through the edit fields in window order and from the last back to the first; Page Up goes to the
// first; a field that keeps Enter gets it; a dialog with a single field leaves it and comes back to it.
TEST_F(DialogBase, EnterAndPageUpMoveBetweenEdits)
{
    TestDlg dlg(IDD_MAV_TEST_SIZABLE);
    dlg.editIds = {IDC_TEST_EDIT1, IDC_TEST_EDIT2, IDC_TEST_EDIT3};
    ASSERT_TRUE(dlg.create());
    dlg.SavePosition(false);
    ::SetForegroundWindow(dlg.m_hWnd);
    ::SetFocus(::GetDlgItem(dlg.m_hWnd, IDC_TEST_EDIT1));
    ASSERT_EQ(focusId(), IDC_TEST_EDIT1);

    const int expected[] = {IDC_TEST_EDIT2, IDC_TEST_EDIT3, IDC_TEST_EDIT1, IDC_TEST_EDIT2};
    for (int id : expected) {
        pressKey(VK_RETURN);
        EXPECT_EQ(focusId(), id);
    }
    pressKey(VK_PRIOR);
    EXPECT_EQ(focusId(), IDC_TEST_EDIT1);
    // Page Up in the first field stays there.
    pressKey(VK_PRIOR);
    EXPECT_EQ(focusId(), IDC_TEST_EDIT1);

    // A disabled field is skipped.
    ::EnableWindow(::GetDlgItem(dlg.m_hWnd, IDC_TEST_EDIT2), FALSE);
    pressKey(VK_RETURN);
    EXPECT_EQ(focusId(), IDC_TEST_EDIT3);
    ::EnableWindow(::GetDlgItem(dlg.m_hWnd, IDC_TEST_EDIT2), TRUE);

    // The multi-line field with ES_WANTRETURN takes Enter as a line break and keeps the focus.
    HWND multi = ::GetDlgItem(dlg.m_hWnd, IDC_TEST_MULTI);
    ::SetFocus(multi);
    ::SetWindowTextW(multi, L"a");
    ::SendMessageW(multi, EM_SETSEL, 1, 1);
    pressKey(VK_RETURN);
    EXPECT_EQ(::GetFocus(), multi);
    EXPECT_EQ(uitest::windowText(multi), L"a\r\n");

    // A field that is not one of the dialog's edit objects (no permanent CEdit) is left to the dialog keys.
    TestDlg plain(IDD_MAV_TEST_SIZABLE);
    plain.editIds = {IDC_TEST_EDIT2};
    ASSERT_TRUE(plain.create());
    plain.SavePosition(false);
    ::SetForegroundWindow(plain.m_hWnd);
    ::SetFocus(::GetDlgItem(plain.m_hWnd, IDC_TEST_EDIT2));
    plain.focusLog.clear();
    pressKey(VK_RETURN);
    EXPECT_EQ(focusId(), IDC_TEST_EDIT2);
    const std::vector<std::string> leftAndBack = {"kill e0", "set e0"};
    EXPECT_EQ(plain.focusLog, leftAndBack);
    // Page Up with no edit before it: stays, consumed.
    pressKey(VK_PRIOR);
    EXPECT_EQ(focusId(), IDC_TEST_EDIT2);
}

// Texts by key: the default map's text is offered as default, else the callback's own text for the key; without
// a callback nothing changes; a country equal to the current one does not ask again.
TEST_F(DialogBase, LanguageTextsFollowCallbackAndCountry)
{
    TestDlg dlg(IDD_MAV_TEST_SIZABLE);
    dlg.langKeys.SetAt(IDOK, L"DLG_001");
    dlg.langDefs.SetAt(IDOK, L"OK");
    dlg.langKeys.SetAt(IDCANCEL, L"DLG_002");
    dlg.langDefs.SetAt(IDCANCEL, L"Abbrechen");
    dlg.langKeys.SetAt(IDC_TEST_LABEL, L"KEY_LABEL");
    dlg.langKeys.SetAt(4711, L"KEY_MISSING"); // no such control: skipped without a debugger
    dlg.SetCountry(L"en");
    {
        uitest::ScopedMsgFcn fcn(&countingCallback);
        g_calls = 0;
        ASSERT_TRUE(dlg.create());
        dlg.SavePosition(false);
        EXPECT_EQ(itemText(dlg.m_hWnd, IDOK), L"DLG_001/OK/en");
        // Without a default, the callback's answer for (key, none) is offered as the default.
        EXPECT_EQ(itemText(dlg.m_hWnd, IDCANCEL), L"DLG_002/Abbrechen/en");
        EXPECT_EQ(itemText(dlg.m_hWnd, IDC_TEST_LABEL), L"KEY_LABEL/KEY_LABEL/(null)/en/en");
        EXPECT_EQ(g_calls, 4);

        g_calls = 0;
        dlg.SetCountry(L"en");
        EXPECT_EQ(g_calls, 0);
        dlg.SetCountry(L"fr");
        EXPECT_EQ(g_calls, 4);
        EXPECT_EQ(itemText(dlg.m_hWnd, IDOK), L"DLG_001/OK/fr");
        EXPECT_STREQ(dlg.country(), L"fr");
        // An explicit country wins over the dialog's.
        EXPECT_STREQ(dlg.GetMsg(L"K", L"d", L"it"), L"K/d/it");
    }
    {
        uitest::ScopedMsgFcn none(nullptr);
        ::SetDlgItemTextW(dlg.m_hWnd, IDOK, L"unchanged");
        EXPECT_FALSE(dlg.updLang());
        EXPECT_EQ(itemText(dlg.m_hWnd, IDOK), L"unchanged");
        const wchar_t* def = L"Vorgabe";
        EXPECT_EQ(dlg.GetMsg(L"DLG_001", def, nullptr), def);
    }
    {
        // A callback that answers null leaves the texts alone.
        uitest::ScopedMsgFcn nothing(&nullCallback);
        EXPECT_TRUE(dlg.updLang());
        EXPECT_EQ(itemText(dlg.m_hWnd, IDOK), L"unchanged");
    }
    // The library's own function: the catalogue's English text.
    dlg.SetCountry(L"en");
    EXPECT_EQ(itemText(dlg.m_hWnd, IDCANCEL), L"Cancel");
    dlg.SetCountry(L"de");
    EXPECT_EQ(itemText(dlg.m_hWnd, IDCANCEL), L"Abbrechen");
    dlg.SetCountry(L"en");

    // A dialog opened from a dialog of its own class speaks the parent's language; another class does not.
    TestDlg child(IDD_MAV_TEST_FIXED, &dlg);
    ASSERT_TRUE(child.create(&dlg));
    child.SavePosition(false);
    EXPECT_STREQ(child.country(), L"en");
    MAV::msgLangSet(L"de");
    OtherDlg other(&dlg);
    {
        AFX_MANAGE_STATE(AfxGetStaticModuleState());
        ASSERT_TRUE(other.Create(IDD_MAV_TEST_FIXED, &dlg));
    }
    other.SavePosition(false);
    EXPECT_STREQ(other.country(), L"de");
    other.DestroyWindow();
}

// The tool-tip window asks the dialog for the text of the control under the mouse.
TEST_F(DialogBase, ToolTipTextComesFromTheKeyOfTheControl)
{
    uitest::ScopedMsgFcn fcn(&showInputs);
    TestDlg dlg(IDD_MAV_TEST_SIZABLE);
    dlg.tipKeys.SetAt(IDC_TEST_EDIT1, L"TIP_EDIT1");
    dlg.SetCountry(L"de");
    ASSERT_TRUE(dlg.create());
    dlg.SavePosition(false);

    // Every child is a tool of the dialog's tool-tip window.
    HWND tip = nullptr;
    for (HWND h = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); h;
         h = ::FindWindowExW(nullptr, h, TOOLTIPS_CLASSW, nullptr))
        if (::GetWindow(h, GW_OWNER) == dlg.m_hWnd)
            tip = h;
    ASSERT_NE(tip, nullptr);
    int children = 0;
    for (HWND c = ::GetWindow(dlg.m_hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        ++children;
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), children);

    struct Case {
        int control;
        UINT flags;
        bool answered;
    };
    const Case cases[] = {{IDC_TEST_EDIT1, TTF_IDISHWND, true},
                          {IDC_TEST_EDIT2, TTF_IDISHWND, false},
                          {IDC_TEST_EDIT1, 0, false}};
    for (const Case& c : cases) {
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = tip;
        info.hdr.idFrom = reinterpret_cast<UINT_PTR>(::GetDlgItem(dlg.m_hWnd, c.control));
        info.hdr.code = TTN_NEEDTEXTW;
        info.uFlags = c.flags;
        ::SendMessageW(dlg.m_hWnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        if (c.answered) {
            ASSERT_NE(info.lpszText, nullptr);
            EXPECT_STREQ(info.lpszText, L"TIP_EDIT1/(null)/de");
            EXPECT_EQ(info.hinst, afxtest::libraryModule());
        } else {
            EXPECT_EQ(info.lpszText, nullptr);
        }
    }
    // An empty or null text shows no tip.
    uitest::ScopedMsgFcn nothing(&nullCallback);
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = tip;
    info.hdr.idFrom = reinterpret_cast<UINT_PTR>(::GetDlgItem(dlg.m_hWnd, IDC_TEST_EDIT1));
    info.hdr.code = TTN_NEEDTEXTW;
    info.uFlags = TTF_IDISHWND;
    ::SendMessageW(dlg.m_hWnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.lpszText, nullptr);
}

// F1 on a control: HTML Help's text popup at the control's centre with the help key's text; no key, no popup.
TEST_F(DialogBase, PopupHelpShowsTheControlsHelpText)
{
    uitest::RecordHelp record;
    uitest::ScopedMsgFcn fcn(&showInputs);
    TestDlg dlg(IDD_MAV_TEST_SIZABLE);
    dlg.hlpKeys.SetAt(IDC_TEST_EDIT2, L"HLP_EDIT2");
    ASSERT_TRUE(dlg.create());
    dlg.SavePosition(false);

    HWND edit = ::GetDlgItem(dlg.m_hWnd, IDC_TEST_EDIT2);
    const RECT r = windowRect(edit);
    HELPINFO info{};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_WINDOW;
    info.iCtrlId = IDC_TEST_EDIT2;
    info.hItemHandle = edit;
    info.MousePos = {3, 4};
    EXPECT_EQ(::SendMessageW(dlg.m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info)), TRUE);
    ASSERT_EQ(uitest::helpCalls().size(), 1u);
    const uitest::HelpCall& call = uitest::helpCalls()[0];
    EXPECT_EQ(call.command, static_cast<UINT>(HH_DISPLAY_TEXT_POPUP));
    EXPECT_EQ(call.owner, nullptr);
    EXPECT_EQ(call.file, L"(null)");
    EXPECT_EQ(call.popup.cbStruct, static_cast<int>(sizeof(HH_POPUP)));
    EXPECT_EQ(call.popupText, L"HLP_EDIT2/(null)/" + std::wstring(dlg.country()));
    EXPECT_EQ(call.popup.pt.x, (r.left + r.right) / 2);
    EXPECT_EQ(call.popup.pt.y, (r.top + r.bottom) / 2);
    EXPECT_EQ(call.popup.clrForeground, static_cast<COLORREF>(-1));
    EXPECT_EQ(call.popup.clrBackground, static_cast<COLORREF>(-1));
    EXPECT_EQ(call.popup.rcMargins.left, -1);
    EXPECT_EQ(call.popup.rcMargins.bottom, -1);
    EXPECT_EQ(call.popup.idString, 0u);
    EXPECT_EQ(call.popup.hinst, nullptr);

    // Another control has no help key; a request for no control at all is answered too.
    uitest::helpCalls().clear();
    info.iCtrlId = IDC_TEST_EDIT1;
    EXPECT_EQ(::SendMessageW(dlg.m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info)), TRUE);
    info.iCtrlId = 4711;
    EXPECT_EQ(::SendMessageW(dlg.m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info)), TRUE);
    EXPECT_TRUE(uitest::helpCalls().empty());
}

// The help file: split into folder and name, the help button follows it; an address gets the topic; a file is
// opened with HTML Help; a missing file is asked for with the Open dialog.
TEST_F(DialogBase, HelpFileAddressAndOpenDialog)
{
    uitest::RecordHelp record;
    TestDlg dlg(IDD_MAV_TEST_SIZABLE);
    ASSERT_TRUE(dlg.create());
    dlg.SavePosition(false);
    HWND button = ::GetDlgItem(dlg.m_hWnd, IDC_TEST_HELP);
    EXPECT_FALSE(::IsWindowVisible(button));

    CString got;
    dlg.SetHelpFile(L"C:\\Docs\\Hilfe\\mav.v2.chm");
    dlg.GetHelpFile(got);
    EXPECT_EQ(got, L"C:\\Docs\\Hilfe\\mav.v2.chm");
    EXPECT_TRUE(::IsWindowVisible(button));
    EXPECT_TRUE(::IsWindowEnabled(button));
    dlg.SetHelpFile(nullptr);
    dlg.GetHelpFile(got);
    EXPECT_EQ(got, L"");
    EXPECT_FALSE(::IsWindowVisible(button));

    // A path longer than a path may be: every part is cut, nothing overflows.
    std::wstring longPath = L"C:\\" + std::wstring(300, L'd') + L"\\" + std::wstring(280, L'n') + L".chm";
    dlg.SetHelpFile(longPath.c_str());
    dlg.GetHelpFile(got);
    EXPECT_EQ(got, L"C:\\" + std::wstring(258, L'd') + std::wstring(259, L'n') + L".chm");

    dlg.SetHelpTopic(L"Schrank");
    dlg.GetHelpTopic(got);
    EXPECT_EQ(got, L"Schrank");
    struct Case {
        const wchar_t* file;
        const wchar_t* topic;
        const wchar_t* opened;
    };
    const Case cases[] = {
        {L"HTTPS://help.example/mav?t=<topic>&again=<topic>", nullptr,
         L"HTTPS://help.example/mav?t=Schrank&again=Schrank"},
        {L"http://help.example/index.html", L"Tuer", L"http://help.example/index.html"},
        {L"http://help.example/<topic>.html", L"Tür", L"http://help.example/Tür.html"},
    };
    for (const Case& c : cases) {
        uitest::shellCalls().clear();
        dlg.SetHelpFile(c.file);
        dlg.Help(c.topic);
        ASSERT_EQ(uitest::shellCalls().size(), 1u);
        EXPECT_EQ(uitest::shellCalls()[0].file, c.opened);
        EXPECT_EQ(uitest::shellCalls()[0].verb, L"(null)");
        EXPECT_FALSE(uitest::shellCalls()[0].hasParams);
        EXPECT_EQ(uitest::shellCalls()[0].show, SW_SHOWNORMAL);
    }
    EXPECT_TRUE(uitest::helpCalls().empty());

    // A readable file: the topic page, then the keyword lookup of the topic.
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring chm = std::wstring(folder) + L"mavdlg_test.chm";
    { std::ofstream(chm.c_str()) << "x"; }
    dlg.SetHelpFile(chm.c_str());
    dlg.Help(nullptr);
    ASSERT_EQ(uitest::helpCalls().size(), 2u);
    EXPECT_EQ(uitest::helpCalls()[0].command, static_cast<UINT>(HH_DISPLAY_TOPIC));
    EXPECT_EQ(uitest::helpCalls()[0].file, chm);
    EXPECT_EQ(uitest::helpCalls()[0].data, 0u);
    EXPECT_EQ(uitest::helpCalls()[0].owner, nullptr);
    const uitest::HelpCall& lookup = uitest::helpCalls()[1];
    EXPECT_EQ(lookup.command, static_cast<UINT>(HH_KEYWORD_LOOKUP));
    EXPECT_EQ(lookup.owner, nullptr);
    EXPECT_EQ(lookup.link.cbStruct, static_cast<int>(sizeof(HH_AKLINK)));
    EXPECT_EQ(lookup.keywords, L"Schrank");
    EXPECT_EQ(lookup.link.pszUrl, nullptr);
    EXPECT_EQ(lookup.link.pszMsgText, nullptr);
    EXPECT_EQ(lookup.link.pszWindow, nullptr);
    EXPECT_FALSE(lookup.link.fIndexOnFail);

    // A missing file: the Open dialog asks; Cancel shows nothing, a chosen file is taken and opened.
    dlg.SetHelpFile(L"C:\\nowhere\\missing.chm");
    uitest::helpCalls().clear();
    std::wstring openTitle;
    {
        uitest::ModalDriver cancel([&](HWND box) {
            openTitle = uitest::windowText(box);
            ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        });
        dlg.Help(L"Tuer");
        EXPECT_TRUE(cancel.acted());
    }
    EXPECT_TRUE(uitest::helpCalls().empty());
    dlg.GetHelpFile(got);
    EXPECT_EQ(got, L"C:\\nowhere\\missing.chm");
    {
        uitest::ModalDriver choose([&](HWND box) {
            // The file name field of the Open dialog (the combo box 0x47C, or the edit 0x480 of older dialogs).
            HWND name = ::GetDlgItem(box, 0x47C);
            if (!name)
                name = ::GetDlgItem(box, 0x480);
            ::SetWindowTextW(name, chm.c_str());
            ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(box, IDOK)));
        });
        dlg.Help(L"Tuer");
        EXPECT_TRUE(choose.acted());
    }
    dlg.GetHelpFile(got);
    EXPECT_EQ(CString(got).CompareNoCase(chm.c_str()), 0);
    ASSERT_EQ(uitest::helpCalls().size(), 2u);
    EXPECT_EQ(uitest::helpCalls()[1].keywords, L"Tuer");
    ::DeleteFileW(chm.c_str());
}

// The message box caption follows the application's name in the configuration, with the two makers' short names
// written out.
TEST_F(DialogBase, MessageBoxCaptionFollowsTheApplication)
{
    TestDlg dlg(IDD_MAV_TEST_FIXED);
    ASSERT_TRUE(dlg.create());
    dlg.SavePosition(false);
    struct Case {
        const char* appl; // configuration text; null: no "_APPL" item
        const wchar_t* caption;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {"MAV", L"Eigene", L"MAVORA"}, {"KRV", nullptr, L"KARVEN"},   {"Werkstatt", L"MAV", L"Werkstatt"},
        {nullptr, L"MAV", L"MAVORA"},  {nullptr, L"KRV", L"KARVEN"}, {nullptr, L"Mav", L"Mav"},
    };
    for (const Case& c : cases) {
        MAV::CConfig::reset();
        if (c.appl) {
            std::string text = std::string("_APPL = text \"") + c.appl + "\"\n";
            ASSERT_TRUE(MAV::CConfig::loadText(text.c_str(), text.size()));
        } else {
            MAV::CConfig::getCfgRoot()->remove(CMavDataKey(L"_APPL"));
        }
        std::wstring caption, text;
        int result = 0;
        {
            uitest::ModalDriver read([&](HWND box) {
                caption = uitest::windowText(box);
                text = uitest::messageBoxText(box);
                ::PostMessageW(box, WM_COMMAND, IDNO, 0);
            });
            result = dlg.MessageBoxW(L"Wirklich löschen?", c.caption, MB_YESNO | MB_ICONQUESTION);
            EXPECT_TRUE(read.acted());
        }
        EXPECT_EQ(caption, c.shown);
        EXPECT_EQ(text, L"Wirklich löschen?");
        EXPECT_EQ(result, IDNO);
    }
}

// The size grip of a resizable dialog: grey, grey, white diagonals at 3-5, 7-9 and 11-13 pixels from the corner.
TEST_F(DialogBase, ResizableDialogPaintsTheSizeGrip)
{
    for (int idd : {IDD_MAV_TEST_SIZABLE, IDD_MAV_TEST_FIXED}) {
        TestDlg dlg(idd);
        ASSERT_TRUE(dlg.create());
        dlg.SavePosition(false);
        ::SetWindowPos(dlg.m_hWnd, HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        ::RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT client{};
        ::GetClientRect(dlg.m_hWnd, &client);
        const int w = client.right, h = client.bottom;
        afxtest::Dib dib(w, h, 0x123456);
        HDC dc = ::GetDC(dlg.m_hWnd);
        ::BitBlt(dib.dc, 0, 0, w, h, dc, 0, 0, SRCCOPY);
        ::ReleaseDC(dlg.m_hWnd, dc);
        const DWORD face = ::GetSysColor(COLOR_BTNFACE);
        const DWORD faceRgb = ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
        // Pixel at x = w - d + k, y = h - k for k = 1 .. d - 1 on the diagonal of distance d.
        auto diagonal = [&](int d, int k) { return dib.at(w - d + k, h - k); };
        const bool grip = idd == IDD_MAV_TEST_SIZABLE;
        SCOPED_TRACE(grip ? "resizable" : "fixed");
        for (int group = 0; group < 3; ++group) {
            const int base = 3 + 4 * group;
            for (int k = 1; k < base; ++k) {
                EXPECT_EQ(diagonal(base, k), grip ? 0x808080u : faceRgb) << "d=" << base << " k=" << k;
                EXPECT_EQ(diagonal(base + 1, k), grip ? 0x808080u : faceRgb) << "d=" << base + 1 << " k=" << k;
                EXPECT_EQ(diagonal(base + 2, k), grip ? 0xFFFFFFu : faceRgb) << "d=" << base + 2 << " k=" << k;
            }
            EXPECT_EQ(diagonal(base + 3, 1), faceRgb) << "gap after d=" << base + 2;
        }
        EXPECT_EQ(diagonal(2, 1), faceRgb);
    }
}

} // namespace
