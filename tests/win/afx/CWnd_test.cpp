// Window objects: run-time classes, the handle map, focus and capture, subclassing with Default() to the original
// procedure, the dispatch of real messages to the OnXxx handlers with their arguments unpacked, and reflection of
// notifications to controls.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "afx/afxwin.h"
#include "afx_test_support.h"

namespace {

using Log = std::vector<std::string>;

std::string fmt(const char* format, ...)
{
    char buf[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    return buf;
}

// What reaches the original window procedure of a raw test window: mouse messages, commands and WM_NCDESTROY.
Log g_raw;
LRESULT CALLBACK rawProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_USER + 5)
        return 42;
    if ((m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || m == WM_NCDESTROY || m == WM_COMMAND)
        g_raw.push_back(fmt("0x%x 0x%x 0x%x", m, static_cast<unsigned>(wp), static_cast<unsigned>(lp)));
    return DefWindowProcW(h, m, wp, lp);
}

HWND makeRawWindow()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = rawProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"AfxTestRaw";
    RegisterClassW(&wc); // fails harmlessly once registered
    return CreateWindowExW(0, L"AfxTestRaw", L"raw", WS_POPUP, 0, 0, 100, 80, nullptr, nullptr, wc.hInstance, nullptr);
}

// Logs every handler it overrides with the unpacked arguments. OnMButtonDown passes the message on through
// Default(); the other mouse handlers consume theirs.
class LoggingWnd : public CWnd {
  public:
    Log log;
    std::string name(CWnd* w) const { return !w ? "null" : w == this ? "self" : "other"; }
    void mouse(const char* what, UINT f, CPoint p) { log.push_back(fmt("%s 0x%x %d,%d", what, f, p.x, p.y)); }

    void PreSubclassWindow() override { log.push_back("PreSubclassWindow"); }
    int OnCreate(LPCREATESTRUCTW cs) override
    {
        log.push_back(fmt("OnCreate %ls %dx%d", cs->lpszName, cs->cx, cs->cy));
        return CWnd::OnCreate(cs);
    }
    void OnSize(UINT type, int cx, int cy) override { log.push_back(fmt("OnSize %u %d %d", type, cx, cy)); }
    void OnMouseMove(UINT f, CPoint p) override { mouse("OnMouseMove", f, p); }
    BOOL OnMouseWheel(UINT f, short delta, CPoint p) override
    {
        log.push_back(fmt("OnMouseWheel 0x%x %d %d,%d", f, delta, p.x, p.y));
        return (f & MK_MBUTTON) ? FALSE : TRUE;
    }
    void OnLButtonDown(UINT f, CPoint p) override { mouse("OnLButtonDown", f, p); }
    void OnLButtonUp(UINT f, CPoint p) override { mouse("OnLButtonUp", f, p); }
    void OnLButtonDblClk(UINT f, CPoint p) override { mouse("OnLButtonDblClk", f, p); }
    void OnRButtonDown(UINT f, CPoint p) override { mouse("OnRButtonDown", f, p); }
    void OnMButtonDown(UINT f, CPoint p) override
    {
        mouse("OnMButtonDown", f, p);
        CWnd::OnMButtonDown(f, p);
    }
    void OnMButtonUp(UINT f, CPoint p) override { mouse("OnMButtonUp", f, p); }
    void OnMButtonDblClk(UINT f, CPoint p) override { mouse("OnMButtonDblClk", f, p); }
    BOOL OnSetCursor(CWnd* w, UINT hit, UINT message) override
    {
        log.push_back(fmt("OnSetCursor %s %u 0x%x", name(w).c_str(), hit, message));
        return TRUE;
    }
    void OnKeyDown(UINT key, UINT n, UINT flags) override { log.push_back(fmt("OnKeyDown %u %u 0x%x", key, n, flags)); }
    void OnChar(UINT ch, UINT n, UINT flags) override { log.push_back(fmt("OnChar %u %u 0x%x", ch, n, flags)); }
    void OnTimer(UINT_PTR id) override { log.push_back(fmt("OnTimer %u", static_cast<unsigned>(id))); }
    void OnContextMenu(CWnd* w, CPoint p) override
    {
        log.push_back(fmt("OnContextMenu %s %d,%d", name(w).c_str(), p.x, p.y));
    }
    void OnSysCommand(UINT id, LPARAM) override { log.push_back(fmt("OnSysCommand 0x%x", id)); }
    void OnClose() override { log.push_back("OnClose"); }
    BOOL OnHelpInfo(HELPINFO* info) override
    {
        log.push_back(fmt("OnHelpInfo %d %d,%d", info->iCtrlId, info->MousePos.x, info->MousePos.y));
        return TRUE;
    }
    void OnDestroy() override
    {
        log.push_back("OnDestroy");
        CWnd::OnDestroy();
    }
    void OnNcDestroy() override
    {
        log.push_back("OnNcDestroy");
        CWnd::OnNcDestroy();
    }
    void PostNcDestroy() override { log.push_back("PostNcDestroy"); }
    HWND peer = nullptr; // named "peer" by the focus and capture handlers
    std::string who(CWnd* w) const { return w && w->m_hWnd == peer ? "peer" : name(w); }
    void OnSetFocus(CWnd* old) override { log.push_back("OnSetFocus " + who(old)), CWnd::OnSetFocus(old); }
    void OnKillFocus(CWnd* next) override { log.push_back("OnKillFocus " + who(next)), CWnd::OnKillFocus(next); }
    void OnCaptureChanged(CWnd* w) override { log.push_back("OnCaptureChanged " + who(w)); }
};

class CTestEdit : public CEdit {
    DECLARE_DYNCREATE(CTestEdit)
};
IMPLEMENT_DYNCREATE(CTestEdit, CEdit)
class CUndeclared : public CButton {
};

} // namespace

// Kinds follow the declared base classes; a class without its own declaration answers with the nearest one.
TEST(AfxRuntimeClass, KindOfFollowsTheDeclaredBaseClassesAndOnlyCreatableClassesCreate)
{
    CTestEdit edit;
    CUndeclared button;
    std::unique_ptr<CObject> made(RUNTIME_CLASS(CTestEdit)->CreateObject());
    EXPECT_EQ(std::string(edit.GetRuntimeClass()->m_lpszClassName) + button.GetRuntimeClass()->m_lpszClassName,
              "CTestEditCButton");
    EXPECT_TRUE(edit.IsKindOf(RUNTIME_CLASS(CWnd)) && edit.IsKindOf(RUNTIME_CLASS(CObject)) &&
                RUNTIME_CLASS(CPaintDC)->IsDerivedFrom(RUNTIME_CLASS(CDC)) && made &&
                made->IsKindOf(RUNTIME_CLASS(CTestEdit)));
    EXPECT_FALSE(edit.IsKindOf(RUNTIME_CLASS(CComboBox)) || edit.IsKindOf(nullptr) ||
                 button.IsKindOf(RUNTIME_CLASS(CEdit)) || RUNTIME_CLASS(CDC)->IsDerivedFrom(RUNTIME_CLASS(CPaintDC)) ||
                 RUNTIME_CLASS(CEdit)->CreateObject());
}

TEST(AfxWnd, HandleMapKeepsOnePermanentObjectPerWindowAndHandsOutTemporaryWrappers)
{
    HWND h = makeRawWindow(), other = makeRawWindow();
    CWnd* temp = CWnd::FromHandle(h);
    CWnd first, second;
    // A temporary wrapper never becomes permanent; the permanent object wins over it; a window has one object.
    EXPECT_TRUE(temp && temp->m_hWnd == h && CWnd::FromHandle(h) == temp && !temp->Attach(h) && first.Attach(h));
    EXPECT_TRUE(CWnd::FromHandlePermanent(h) == &first && CWnd::FromHandle(h) == &first);
    EXPECT_FALSE(second.Attach(h) || first.Attach(other) || second.m_hWnd);
    EXPECT_TRUE(first.Detach() == h && IsWindow(h) && !CWnd::FromHandlePermanent(h)) << "Detach does not destroy";
    {
        CWnd owner; // attached, not subclassed: the window dies with its object
        owner.Attach(h);
    }
    EXPECT_FALSE(IsWindow(h));
    DestroyWindow(other);
}

TEST(AfxWnd, SubclassingRoutesToHandlersAndDefaultReachesTheOriginalProcedure)
{
    HWND h = makeRawWindow();
    g_raw.clear();
    LoggingWnd s;
    ASSERT_TRUE(s.SubclassWindow(h));
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 9));
    SendMessageW(h, WM_MBUTTONDOWN, MK_MBUTTON | MK_SHIFT, MAKELPARAM(-3, 12));
    EXPECT_EQ(SendMessageW(h, WM_USER + 5, 0, 0), 42) << "unhandled messages reach the original with its result";
    SendMessageW(h, WM_COMMAND, MAKEWPARAM(5, BN_CLICKED), 0); // a command no control object took
    EXPECT_EQ(s.log, (Log{"PreSubclassWindow", "OnLButtonDown 0x1 7,9", "OnMButtonDown 0x14 -3,12"}));
    // Only the handler that called its base reached the original, with the message's own parameters.
    EXPECT_EQ(g_raw, (Log{"0x207 0x14 0xcfffd", "0x111 0x5 0x0"}));
    // Unsubclassing gives the window back to its original procedure.
    EXPECT_EQ(s.UnsubclassWindow(), h);
    EXPECT_EQ(GetWindowLongPtrW(h, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&rawProc));
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
    SendMessageW(h, WM_LBUTTONDOWN, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(std::make_pair(s.log.size(), g_raw.size()), std::make_pair(size_t{3}, size_t{3}));
    // Destroyed while subclassed: the original gets WM_NCDESTROY, then the object lets go and PostNcDestroy runs.
    ASSERT_TRUE(s.SubclassWindow(h));
    g_raw.clear();
    ASSERT_TRUE(DestroyWindow(h));
    EXPECT_EQ(s.m_hWnd, nullptr);
    EXPECT_EQ(s.log.back(), "PostNcDestroy");
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
    EXPECT_EQ(g_raw, (Log{"0x82 0x0 0x0"}));
}

TEST(AfxWnd, MessagesReachTheirHandlersWithUnpackedArguments)
{
    LoggingWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"Fenster", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
    // Bound from the first message: PreSubclassWindow before WM_CREATE, which the object handled itself.
    ASSERT_GE(w.log.size(), 2u);
    EXPECT_EQ(Log(w.log.begin(), w.log.begin() + 2), (Log{"PreSubclassWindow", "OnCreate Fenster 200x100"}));
    HWND h = w.m_hWnd;
    HELPINFO help{};
    help.cbSize = sizeof help;
    help.iCtrlId = 1086;
    help.MousePos = {15, 25};
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT result;
        const char* expected;
    } rows[] = {
        {WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 80), 0, "OnSize 0 120 80"},
        {WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(-4, 30), 0, "OnMouseMove 0x10 -4,30"},
        {WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, 120), MAKELPARAM(500, 400), 1, "OnMouseWheel 0x8 120 500,400"},
        {WM_MOUSEWHEEL, MAKEWPARAM(MK_MBUTTON, static_cast<WORD>(-240)), MAKELPARAM(-20, -30), 0,
         "OnMouseWheel 0x10 -240 -20,-30"},
        {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 11), 0, "OnLButtonDown 0x1 10,11"},
        {WM_LBUTTONUP, 0, MAKELPARAM(10, 11), 0, "OnLButtonUp 0x0 10,11"},
        {WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 4), 0, "OnLButtonDblClk 0x1 3,4"},
        {WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(8, 9), 0, "OnRButtonDown 0x2 8,9"},
        {WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(50, 60), 0, "OnMButtonDown 0x10 50,60"},
        {WM_MBUTTONUP, 0, MAKELPARAM(55, 66), 0, "OnMButtonUp 0x0 55,66"},
        {WM_MBUTTONDBLCLK, MK_MBUTTON, MAKELPARAM(1, 2), 0, "OnMButtonDblClk 0x10 1,2"},
        {WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), 1, "OnSetCursor self 1 0x200"},
        {WM_KEYDOWN, VK_NEXT, 0x00510001, 0, "OnKeyDown 34 1 0x51"},
        {WM_CHAR, 0xE4, 0x00280003, 0, "OnChar 228 3 0x28"},
        {WM_TIMER, 77, 0, 0, "OnTimer 77"},
        {WM_CONTEXTMENU, reinterpret_cast<WPARAM>(h), MAKELPARAM(300, 200), 0, "OnContextMenu self 300,200"},
        {WM_SYSCOMMAND, SC_CLOSE, 0, 0, "OnSysCommand 0xf060"},
        {WM_CLOSE, 0, 0, 0, "OnClose"},
        {WM_HELP, 0, reinterpret_cast<LPARAM>(&help), TRUE, "OnHelpInfo 1086 15,25"},
    };
    for (const auto& row : rows) {
        w.log.clear();
        const LRESULT result = SendMessageW(h, row.message, row.wParam, row.lParam);
        EXPECT_EQ(w.log, Log{row.expected});
        EXPECT_EQ(result, row.result) << row.expected;
    }
    EXPECT_TRUE(IsWindow(h)) << "WM_CLOSE and SC_CLOSE were handled without passing them on";
    // Focus and capture between two children: each learns who the other is; SetFocus answers the previous one.
    LoggingWnd child, peer;
    ASSERT_TRUE(child.Create(nullptr, L"a", WS_VISIBLE, CRect(0, 0, 20, 20), &w, 1));
    ASSERT_TRUE(peer.Create(nullptr, L"b", WS_VISIBLE, CRect(20, 0, 40, 20), &w, 2));
    child.peer = peer.m_hWnd;
    peer.peer = child.m_hWnd;
    w.ShowWindow(SW_SHOW);
    child.SetFocus();
    child.log.clear();
    EXPECT_TRUE(peer.SetFocus() == &child && CWnd::GetFocus() == &peer);
    child.SetCapture();
    EXPECT_EQ(CWnd::GetCapture(), &child);
    ReleaseCapture();
    EXPECT_EQ(child.log, (Log{"OnKillFocus peer", "OnCaptureChanged null"}));
    EXPECT_EQ(peer.log.back(), "OnSetFocus peer");
    // Destruction: the last messages in order, and the children go with it.
    w.log.clear();
    ASSERT_TRUE(w.DestroyWindow());
    EXPECT_EQ(w.log, (Log{"OnDestroy", "OnNcDestroy", "PostNcDestroy"}));
    EXPECT_EQ((std::vector<HWND>{w.m_hWnd, child.m_hWnd}), (std::vector<HWND>{nullptr, nullptr}));
    EXPECT_EQ(child.log.back(), "PostNcDestroy");
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

namespace {

// Takes EN_CHANGE, WM_CTLCOLOREDIT and notification 1234 reflected from its parent.
class NotifiedEdit : public CEdit {
  public:
    Log log;
    HBRUSH brush = nullptr;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE)
            return log.push_back(fmt("EN_CHANGE %d", LOWORD(wParam))), TRUE;
        if (message == WM_CTLCOLOREDIT)
            return *result = reinterpret_cast<LRESULT>(brush), TRUE;
        if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == 1234u)
            return *result = 5, TRUE;
        return CEdit::OnChildNotify(message, wParam, lParam, result);
    }
};

class ParentWnd : public CWnd {
  public:
    Log log;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        const BOOL reflected = CWnd::OnCommand(wParam, lParam);
        log.push_back(fmt("%d 0x%x %s", LOWORD(wParam), HIWORD(wParam), reflected ? "reflected" : "own"));
        return reflected;
    }
};

} // namespace

TEST(AfxWnd, ParentReflectsNotificationsToTheControlObjects)
{
    ParentWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"P", WS_POPUP, 0, 0, 200, 150, nullptr, nullptr));
    NotifiedEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE, CRect(0, 0, 100, 20), &parent, 7));
    HWND rawEdit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 30, 100, 20, parent.m_hWnd,
                                   reinterpret_cast<HMENU>(8), GetModuleHandleW(nullptr), nullptr);
    edit.SetWindowText(L"x"); // the edit notifies its parent with EN_UPDATE, then EN_CHANGE
    SetWindowTextW(rawEdit, L"y");
    EXPECT_EQ(edit.log, (Log{"EN_CHANGE 7"}));
    // Only what the control object handles counts as reflected; the rest stays the parent's.
    EXPECT_EQ(parent.log, (Log{"7 0x400 own", "7 0x300 reflected", "8 0x400 own", "8 0x300 own"}));
    CBrush brush(RGB(1, 2, 3));
    edit.brush = brush;
    afxtest::Dib dib(4, 4);
    EXPECT_EQ(SendMessageW(parent.m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dib.dc),
                           reinterpret_cast<LPARAM>(edit.m_hWnd)),
              reinterpret_cast<LRESULT>(static_cast<HBRUSH>(brush)));
    NMHDR header{edit.m_hWnd, 7, 1234u};
    EXPECT_EQ(SendMessageW(parent.m_hWnd, WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header)), 5);
    header.hwndFrom = rawEdit;
    EXPECT_EQ(SendMessageW(parent.m_hWnd, WM_NOTIFY, 8, reinterpret_cast<LPARAM>(&header)), 0);
    parent.DestroyWindow();
}

TEST(AfxWnd, WindowFunctionsActOnTheirWindow)
{
    CWnd parent, child;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"P", WS_POPUP, 100, 50, 300, 200, nullptr, nullptr));
    ASSERT_TRUE(child.Create(nullptr, L"Kind", WS_VISIBLE, CRect(10, 20, 110, 70), &parent, 1234));
    EXPECT_EQ((std::vector<CWnd*>{parent.GetDlgItem(1234), child.GetParent(), child.GetOwner(),
                                  child.GetTopLevelParent()}),
              (std::vector<CWnd*>{&child, &parent, &parent, &parent}));
    EXPECT_EQ(std::make_pair(child.GetDlgCtrlID(), child.GetStyle() & WS_CHILD),
              std::make_pair(1234, static_cast<DWORD>(WS_CHILD)));
    CRect client, window, r(0, 0, 5, 5);
    CPoint p(0, 0);
    child.GetClientRect(&client);
    child.GetWindowRect(&window);
    child.ClientToScreen(&p);
    child.ClientToScreen(&r);
    EXPECT_EQ((std::vector<CRect>{client, window, r}),
              (std::vector<CRect>{CRect(0, 0, 100, 50), CRect(110, 70, 210, 120), CRect(110, 70, 115, 75)}));
    EXPECT_EQ(p, CPoint(110, 70));
    parent.ScreenToClient(&p);
    EXPECT_EQ(p, CPoint(10, 20));
    // ModifyStyle answers whether anything changed; a new frame applies at once.
    EXPECT_EQ((std::vector<bool>{child.ModifyStyle(0, WS_TABSTOP) != 0, child.ModifyStyle(0, WS_TABSTOP) != 0,
                                 child.ModifyStyle(WS_TABSTOP, WS_GROUP) != 0}),
              (std::vector<bool>{true, false, true}));
    EXPECT_EQ(child.GetStyle() & (WS_TABSTOP | WS_GROUP), static_cast<DWORD>(WS_GROUP));
    EXPECT_TRUE(child.ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED));
    child.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 96, 46));
    child.SetWindowText(L"Gr\u00f6\u00dfe \u2300");
    CString text, item, none(L"x");
    child.GetWindowText(text);
    EXPECT_EQ(std::make_pair(child.GetWindowTextLength(), parent.GetDlgItemText(1234, item)), std::make_pair(7, 7));
    EXPECT_EQ((std::vector<CString>{text, item}), (std::vector<CString>(2, L"Gr\u00f6\u00dfe \u2300")));
    EXPECT_EQ(parent.GetDlgItemText(999, none), 0);
    child.MoveWindow(5, 6, 50, 40);
    child.GetWindowRect(&window);
    child.EnableWindow(FALSE);
    EXPECT_EQ(std::make_pair(window, child.IsWindowEnabled() != 0), std::make_pair(CRect(105, 56, 155, 96), false));
    CEdit edit;
    CFont font;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_AUTOHSCROLL, CRect(0, 100, 100, 120), &parent, 99) &&
                font.CreatePointFont(90, L"Tahoma"));
    edit.SetFont(&font);
    edit.SetWindowText(L"0123456789");
    edit.SetSel(2, 5);
    int start = 0, end = 0;
    edit.GetSel(start, end);
    edit.ReplaceSel(L"ab");
    edit.GetWindowText(text);
    EXPECT_EQ(std::make_tuple(edit.GetFont()->m_hObject, start, end, text),
              std::make_tuple(static_cast<HGDIOBJ>(font.m_hObject), 2, 5, CString(L"01ab56789")));
}
