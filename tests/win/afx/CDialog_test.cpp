// Dialogs: the modal loop and its keys, data exchange that keeps the dialog open on a bad field, the owner disabled
// while it runs; driven by messages posted into their own loop, with a timer that ends a dialog a step left open.
#include <gtest/gtest.h>

#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "afx/afxwin.h"
#include "afx_test_support.h"

namespace {

enum { IDC_NAME = 100, IDC_COUNT = 101, IDC_FACTOR = 102, IDC_CHECK = 103 };
using Log = std::vector<std::string>;

afxtest::DialogTemplate makeTemplate(DWORD extraStyle = 0)
{
    afxtest::DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | extraStyle, 200, 120, L"Test");
    t.add(0x81, IDC_NAME, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 10, 10, 100, 12);
    t.add(0x81, IDC_COUNT, WS_BORDER | WS_TABSTOP, 10, 26, 100, 12);
    t.add(0x81, IDC_FACTOR, WS_BORDER | WS_TABSTOP, 10, 42, 100, 12);
    t.add(0x80, IDC_CHECK, BS_AUTOCHECKBOX | WS_TABSTOP, 10, 58, 100, 12, L"Prüfen");
    t.add(0x80, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 40, 90, 50, 14, L"OK");
    t.add(0x80, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 100, 90, 50, 14, L"Abbrechen");
    return t;
}

// Logs the keys it sees first; consumes Escape while asked to.
class KeyLoggingEdit : public CEdit {
  public:
    Log* log = nullptr;
    bool consumeEscape = false;
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN) {
            log->push_back("edit");
            if (consumeEscape && msg->wParam == VK_ESCAPE)
                return TRUE;
        }
        return CEdit::PreTranslateMessage(msg);
    }
};

// WM_APP runs the test's next step inside the modal loop, or ends the dialog with wParam when there is none.
class TestDialog : public CDialog {
  public:
    CString name = L"Grüße";
    int count = 5;
    double factor = 2.5;
    int check = BST_CHECKED;
    KeyLoggingEdit nameEdit;
    Log log;
    std::function<void(TestDialog&)> onInit, onApp;
    int okCalls = 0;
    bool everShown = false;

    TestDialog(LPCDLGTEMPLATEW dialogTemplate, CWnd* parent)
    {
        InitModalIndirect(dialogTemplate, parent);
        nameEdit.log = &log;
    }
    int OnCreate(LPCREATESTRUCTW cs) override { return log.push_back("OnCreate"), CDialog::OnCreate(cs); }
    BOOL OnInitDialog() override
    {
        log.push_back("OnInitDialog");
        CDialog::OnInitDialog();
        if (onInit)
            onInit(*this);
        return TRUE;
    }
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, IDC_NAME, nameEdit);
        DDX_Text(dx, IDC_NAME, name);
        DDX_Text(dx, IDC_COUNT, count);
        DDX_Text(dx, IDC_FACTOR, factor);
        DDX_Check(dx, IDC_CHECK, check);
    }
    void OnOK() override { ++okCalls, CDialog::OnOK(); }
    void OnCancel() override { log.push_back("OnCancel"), CDialog::OnCancel(); }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN)
            log.push_back("dialog");
        return CDialog::PreTranslateMessage(msg);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        everShown |= message == WM_SHOWWINDOW && wParam;
        if (message != WM_APP)
            return CDialog::WindowProc(message, wParam, lParam);
        if (onApp)
            onApp(*this);
        else
            EndDialog(static_cast<int>(wParam));
        return 0;
    }
    void click(int id) { PostMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    void escapeInName() { ::PostMessageW(nameEdit.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001); }
    // The log after OnInitDialog.
    Log afterInit() const
    {
        for (size_t i = 0; i < log.size(); ++i)
            if (log[i] == "OnInitDialog")
                return Log(log.begin() + static_cast<long>(i) + 1, log.end());
        return {};
    }
};

TestDialog* g_dialog = nullptr;

// The guard of every modal test: a thread timer, served by the dialog's own loop, ends a dialog that the test's
// steps failed to end.
struct Guard {
    UINT_PTR timer;
    explicit Guard(TestDialog& d) : timer((g_dialog = &d, SetTimer(nullptr, 0, 10000, expired))) {}
    ~Guard() { KillTimer(nullptr, timer); }
    static void CALLBACK expired(HWND, UINT, UINT_PTR, DWORD) { g_dialog->EndDialog(IDABORT); }
};

} // namespace

TEST(AfxDialog, KeysPassPreTranslateMessageFromTheControlUpToTheDialog)
{
    // Escape in the name field: consumed there, the dialog stays open; passed on, the dialog turns it into Cancel.
    afxtest::DialogTemplate t = makeTemplate();
    TestDialog dlg(t.get(), nullptr);
    Log whileConsumed;
    dlg.onInit = [](TestDialog& d) {
        d.nameEdit.consumeEscape = true;
        d.escapeInName();
        d.PostMessage(WM_APP);
    };
    dlg.onApp = [&](TestDialog& d) {
        if (!whileConsumed.empty())
            return d.EndDialog(IDABORT); // should the key not have cancelled the dialog
        whileConsumed = d.afterInit();
        d.nameEdit.consumeEscape = false;
        d.escapeInName();
        d.PostMessage(WM_APP);
    };
    Guard guard(dlg);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(whileConsumed, Log{"edit"});
    EXPECT_EQ(dlg.afterInit(), (Log{"edit", "edit", "dialog", "OnCancel"}));
}

TEST(AfxDialog, ModalDialogExchangesItsDataKeepsItOpenOnABadFieldAndEndsWithOk)
{
    afxtest::DialogTemplate t = makeTemplate();
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"Owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    TestDialog dlg(t.get(), &owner);
    BOOL ownerEnabled = TRUE;
    bool subclassed = false;
    CString shown;                    // the fields as the dialog shows them, joined by '|'
    std::vector<std::wstring> failed; // after each failed OK: the field with the focus and the members as read
    // A count with trailing text, then one beyond the integer's range, then a factor beyond the double's: each OK
    // fails at that field, with the focus on it, having taken the fields before it and none after it; the fourth
    // pass takes them all.
    const wchar_t* steps[][2] = {
        {L"12x", L"0.125"}, {L"2147483648", L"0.125"}, {L" -17 ", L"1e999"}, {L" -17 ", L"0.125"}};
    size_t step = 0;
    dlg.onInit = [&](TestDialog& d) {
        ownerEnabled = owner.IsWindowEnabled();
        subclassed = CWnd::FromHandlePermanent(::GetDlgItem(d.m_hWnd, IDC_NAME)) == &d.nameEdit;
        for (int id : {IDC_NAME, IDC_COUNT, IDC_FACTOR}) {
            CString text;
            d.GetDlgItemText(id, text);
            shown += text + L'|';
        }
        shown += d.IsDlgButtonChecked(IDC_CHECK) == BST_CHECKED ? L"checked" : L"unchecked";
        d.SetDlgItemText(IDC_NAME, L"Kante");
        d.CheckDlgButton(IDC_CHECK, BST_UNCHECKED);
        d.PostMessage(WM_APP);
    };
    dlg.onApp = [&](TestDialog& d) {
        if (step > 0)
            failed.push_back(std::to_wstring(::GetDlgCtrlID(::GetFocus())) + L" " + d.name.GetString() + L" " +
                             std::to_wstring(d.count) + L" " + std::to_wstring(d.factor) + L" " +
                             std::to_wstring(d.check));
        d.SetDlgItemText(IDC_COUNT, steps[step][0]);
        d.SetDlgItemText(IDC_FACTOR, steps[step][1]);
        d.click(IDOK);
        if (++step < 4)
            d.PostMessage(WM_APP);
    };
    Guard guard(dlg);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_GE(dlg.log.size(), 2u);
    EXPECT_EQ(Log(dlg.log.begin(), dlg.log.begin() + 2), (Log{"OnCreate", "OnInitDialog"}))
        << "the dialog object is bound before its window gets WM_CREATE";
    EXPECT_FALSE(ownerEnabled) << "the owner is disabled while the dialog runs";
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_TRUE(subclassed);
    EXPECT_EQ(shown, L"Grüße|5|2.5|checked");
    EXPECT_EQ(failed, (std::vector<std::wstring>{L"101 Kante 5 2.500000 1", L"101 Kante 5 2.500000 1",
                                                 L"102 Kante -17 2.500000 1"}));
    EXPECT_EQ(dlg.okCalls, 4);
    EXPECT_EQ(dlg.name, L"Kante");
    EXPECT_EQ(dlg.count, -17);
    EXPECT_EQ(dlg.factor, 0.125);
    EXPECT_EQ(dlg.check, BST_UNCHECKED);
    EXPECT_EQ(dlg.m_hWnd, nullptr) << "DoModal destroys the window before it returns";
    EXPECT_EQ(dlg.nameEdit.m_hWnd, nullptr);
}

// A modal dialog whose window goes away without EndDialog (its owner destroyed, its window destroyed) ends at
// once with -1; a quit request ends it with -1 too and is posted again for the loop outside.
TEST(AfxDialog, ModalLoopEndsWhenItsWindowGoesAwayOrTheApplicationQuits)
{
    afxtest::DialogTemplate t = makeTemplate();
    for (int how = 0; how < 3; ++how) {
        SCOPED_TRACE(how);
        CWnd owner;
        ASSERT_TRUE(owner.CreateEx(0, nullptr, L"Owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
        TestDialog dlg(t.get(), &owner);
        dlg.onInit = [](TestDialog& d) { d.PostMessage(WM_APP); };
        dlg.onApp = [&](TestDialog& d) {
            if (how == 0)
                owner.DestroyWindow();
            else if (how == 1)
                d.DestroyWindow();
            else
                ::PostQuitMessage(3);
        };
        Guard guard(dlg);
        EXPECT_EQ(dlg.DoModal(), -1);
        EXPECT_EQ(dlg.m_hWnd, nullptr);
        MSG quit{};
        EXPECT_EQ(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && quit.wParam == 3, how == 2);
        if (owner.m_hWnd)
            owner.DestroyWindow();
    }
}

// A modeless dialog runs in its caller's loop and leaves the owner enabled; Escape ends it by hiding it. A
// template is looked up in the resource module: missing everywhere, or only in a module that is not the resource
// module yet, DoModal fails; once that module is the resource module the dialog runs.
TEST(AfxDialog, ModelessDialogsAndTemplatesFromTheResourceModule)
{
    afxtest::DialogTemplate t = makeTemplate(WS_VISIBLE);
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"Owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    TestDialog dlg(nullptr, nullptr);
    ASSERT_TRUE(dlg.CreateIndirect(t.get(), &owner));
    EXPECT_EQ(dlg.log, (Log{"OnCreate", "OnInitDialog"}));
    CString text;
    dlg.GetDlgItemText(IDC_NAME, text);
    EXPECT_EQ(text, L"Grüße");
    EXPECT_TRUE(owner.IsWindowEnabled() && dlg.IsWindowVisible());
    dlg.escapeInName();
    afxtest::pumpWaitingMessages();
    EXPECT_EQ(dlg.afterInit(), (Log{"edit", "dialog", "OnCancel"}));
    EXPECT_TRUE(IsWindow(dlg.m_hWnd) && !dlg.IsWindowVisible());
    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_EQ(dlg.m_hWnd, nullptr);

    struct EndsAtInit : CDialog {
        using CDialog::CDialog;
        BOOL OnInitDialog() override { return CDialog::OnInitDialog(), EndDialog(IDOK + 10), TRUE; }
    };
    EXPECT_EQ(EndsAtInit(9999u).DoModal(), -1);
    EXPECT_EQ(EndsAtInit(L"MDI_MOREWINDOWS").DoModal(), -1);
    const HINSTANCE previous = AfxGetResourceHandle();
    AfxSetResourceHandle(GetModuleHandleW(L"user32.dll"));
    const INT_PTR found = EndsAtInit(L"MDI_MOREWINDOWS").DoModal();
    AfxSetResourceHandle(previous);
    EXPECT_EQ(found, IDOK + 10);
}
