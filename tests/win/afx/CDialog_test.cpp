// Dialogs: the modal loop with PreTranslateMessage up the window chain before the dialog keys, data exchange,
// modeless dialogs, and templates from the resource module. Dialogs are driven by posted messages and a CBT hook.
#include <gtest/gtest.h>

#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "afx/afxwin.h"
#include "afx_test_support.h"

namespace {

enum { IDC_NAME = 100, IDC_COUNT = 101, IDC_FACTOR = 102, IDC_CHECK = 103 };

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

class KeyLoggingEdit : public CEdit {
public:
    std::vector<std::string>* log = nullptr;
    bool consumeEscape = false;
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN) {
            log->push_back("edit");
            if (consumeEscape && msg->wParam == VK_ESCAPE) {
                ::PostMessageW(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                return TRUE;
            }
        }
        return CEdit::PreTranslateMessage(msg);
    }
};

class TestDialog : public CDialog {
public:
    CString name = L"Grüße";
    int count = 5;
    double factor = 2.5;
    int check = BST_CHECKED;
    KeyLoggingEdit nameEdit;
    std::vector<std::string> log;
    std::function<void(TestDialog&)> onInit; // what the test does once the dialog is up
    int okCalls = 0;
    bool everShown = false;
    bool cancelWhenShown = false;
    HWND focusAtApp = nullptr;

    TestDialog(LPCDLGTEMPLATEW dialogTemplate, CWnd* parent)
    {
        InitModalIndirect(dialogTemplate, parent);
        nameEdit.log = &log;
    }
    int OnCreate(LPCREATESTRUCTW cs) override
    {
        log.push_back("OnCreate");
        return CDialog::OnCreate(cs);
    }
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
    void OnOK() override
    {
        ++okCalls;
        CDialog::OnOK();
    }
    void OnCancel() override
    {
        log.push_back("OnCancel");
        CDialog::OnCancel();
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN)
            log.push_back("dialog");
        return CDialog::PreTranslateMessage(msg);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SHOWWINDOW && wParam) {
            everShown = true;
            if (cancelWhenShown)
                PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
        if (message == WM_APP) {
            focusAtApp = ::GetFocus();
            EndDialog(static_cast<int>(wParam));
            return 0;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }
};

std::vector<std::string> after(const std::vector<std::string>& log, const std::string& entry)
{
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i] == entry)
            return std::vector<std::string>(log.begin() + static_cast<long>(i) + 1, log.end());
    }
    return {};
}

} // namespace

TEST(AfxDialog, ModalDialogExchangesItsDataAndEndsWithOk)
{
    afxtest::DialogTemplate t = makeTemplate();
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"Owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    TestDialog dlg(t.get(), &owner);
    BOOL ownerEnabled = TRUE;
    bool subclassed = false;
    CString shown; // the fields as the dialog shows them, joined by '|'
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
        d.SetDlgItemText(IDC_COUNT, L" -17 ");
        d.SetDlgItemText(IDC_FACTOR, L"0.125");
        d.CheckDlgButton(IDC_CHECK, BST_UNCHECKED);
        d.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_GE(dlg.log.size(), 2u);
    EXPECT_EQ(dlg.log[0], "OnCreate") << "the dialog object is bound before its window gets WM_CREATE";
    EXPECT_EQ(dlg.log[1], "OnInitDialog");
    EXPECT_FALSE(ownerEnabled) << "the owner is disabled while the dialog runs";
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_TRUE(subclassed);
    EXPECT_EQ(shown, L"Grüße|5|2.5|checked");
    EXPECT_EQ(dlg.okCalls, 1);
    EXPECT_EQ(dlg.name, L"Kante");
    EXPECT_EQ(dlg.count, -17);
    EXPECT_EQ(dlg.factor, 0.125);
    EXPECT_EQ(dlg.check, BST_UNCHECKED);
    EXPECT_EQ(dlg.m_hWnd, nullptr) << "DoModal destroys the window before it returns";
    EXPECT_EQ(dlg.nameEdit.m_hWnd, nullptr);
}

TEST(AfxDialog, FieldThatDoesNotParseKeepsTheDialogOpenWithFocusOnIt)
{
    afxtest::DialogTemplate t = makeTemplate();
    // Trailing text and values beyond the integer's range both fail.
    for (const wchar_t* count : {L"12x", L"2147483648"}) {
        TestDialog dlg(t.get(), nullptr);
        HWND countField = nullptr;
        dlg.onInit = [&](TestDialog& d) {
            countField = ::GetDlgItem(d.m_hWnd, IDC_COUNT);
            d.SetDlgItemText(IDC_NAME, L"neu");
            d.SetDlgItemText(IDC_COUNT, count);
            d.SetDlgItemText(IDC_FACTOR, L"9");
            d.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            d.PostMessage(WM_APP, IDCANCEL, 0); // looks at the focus after the failed OK, then ends the dialog
        };
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.okCalls, 1);
        EXPECT_EQ(dlg.focusAtApp, countField);
        EXPECT_EQ(dlg.name, L"neu") << "fields before the failing one are taken";
        EXPECT_EQ(dlg.count, 5);
        EXPECT_EQ(dlg.factor, 2.5) << "the pass stops at the failing field";
    }
}

TEST(AfxDialog, KeysPassPreTranslateMessageFromTheControlUpToTheDialog)
{
    afxtest::DialogTemplate t = makeTemplate();
    // Escape in the edit: the edit sees it first, then the dialog, whose dialog keys turn it into Cancel.
    TestDialog dlg(t.get(), nullptr);
    dlg.onInit = [](TestDialog& d) {
        ::PostMessageW(d.nameEdit.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        d.PostMessage(WM_APP, IDABORT, 0); // ends the dialog should the key not have cancelled it
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(after(dlg.log, "OnInitDialog"), (std::vector<std::string>{"edit", "dialog", "OnCancel"}));

    // A control that consumes the key stops the walk: the dialog never sees it and stays open.
    TestDialog consumed(t.get(), nullptr);
    consumed.nameEdit.consumeEscape = true;
    consumed.onInit = [](TestDialog& d) { ::PostMessageW(d.nameEdit.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001); };
    EXPECT_EQ(consumed.DoModal(), IDOK);
    EXPECT_EQ(after(consumed.log, "OnInitDialog"), (std::vector<std::string>{"edit"}));
}

namespace {
HHOOK g_hook = nullptr;
HWND g_activated = nullptr;

LRESULT CALLBACK cancelWhenActivated(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && !g_activated) {
        HWND h = reinterpret_cast<HWND>(wParam);
        wchar_t cls[16] = {};
        GetClassNameW(h, cls, 16);
        if (std::wcscmp(cls, L"#32770") == 0) {
            g_activated = h;
            PostMessageW(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}
} // namespace

TEST(AfxDialog, DialogIsShownOnceTheLoopIsIdleAndEndsWhenCancelled)
{
    // A template without WS_VISIBLE is shown when no message is waiting.
    afxtest::DialogTemplate t = makeTemplate();
    TestDialog shown(t.get(), nullptr);
    shown.cancelWhenShown = true;
    EXPECT_EQ(shown.DoModal(), IDCANCEL);
    EXPECT_TRUE(shown.everShown);

    // A CBT hook that cancels the dialog as it is activated ends it; its window is gone when DoModal returns.
    TestDialog dlg(t.get(), nullptr);
    g_activated = nullptr;
    g_hook = SetWindowsHookExW(WH_CBT, cancelWhenActivated, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_hook, nullptr);
    INT_PTR result = dlg.DoModal();
    UnhookWindowsHookEx(g_hook);
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_NE(g_activated, nullptr);
    EXPECT_FALSE(IsWindow(g_activated));
    EXPECT_EQ(after(dlg.log, "OnInitDialog"), (std::vector<std::string>{"OnCancel"}));

    // Ended during OnInitDialog: the loop never runs and the dialog is never shown.
    TestDialog quick(t.get(), nullptr);
    quick.onInit = [](TestDialog& d) { d.EndDialog(7); };
    EXPECT_EQ(quick.DoModal(), 7);
    EXPECT_FALSE(quick.everShown);
}

namespace {
class EndsAtInit : public CDialog {
public:
    using CDialog::CDialog;
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        EndDialog(IDOK + 10);
        return TRUE;
    }
};
} // namespace

TEST(AfxDialog, TemplateComesFromTheResourceModuleThatHoldsIt)
{
    EndsAtInit missing(9999u);
    EXPECT_EQ(missing.DoModal(), -1);

    // The program and the library have no such template; once the resource module is one that does, it is found.
    EndsAtInit notYet(L"MDI_MOREWINDOWS");
    EXPECT_EQ(notYet.DoModal(), -1);
    HINSTANCE previous = AfxGetResourceHandle();
    AfxSetResourceHandle(GetModuleHandleW(L"user32.dll"));
    EndsAtInit found(L"MDI_MOREWINDOWS");
    INT_PTR result = found.DoModal();
    AfxSetResourceHandle(previous);
    EXPECT_EQ(result, IDOK + 10);
}

TEST(AfxDialog, ModelessDialogRunsInTheCallersMessageLoop)
{
    afxtest::DialogTemplate t = makeTemplate(WS_VISIBLE);
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"Owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    TestDialog dlg(nullptr, nullptr);
    ASSERT_TRUE(dlg.CreateIndirect(t.get(), &owner));
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"OnCreate", "OnInitDialog"}));
    CString text;
    dlg.GetDlgItemText(IDC_NAME, text);
    EXPECT_EQ(text, L"Grüße");
    EXPECT_TRUE(owner.IsWindowEnabled()) << "a modeless dialog leaves its owner enabled";
    EXPECT_TRUE(dlg.IsWindowVisible());

    ::PostMessageW(dlg.nameEdit.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    afxtest::pumpWaitingMessages();
    EXPECT_EQ(after(dlg.log, "OnInitDialog"), (std::vector<std::string>{"edit", "dialog", "OnCancel"}));
    EXPECT_TRUE(IsWindow(dlg.m_hWnd)) << "ending a modeless dialog hides it";
    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}
