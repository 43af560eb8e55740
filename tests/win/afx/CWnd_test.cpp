// Window objects: the handle map, subclassing with Default() to the original procedure, the dispatch of real
// messages to the OnXxx handlers with their arguments unpacked, and reflection of notifications to controls.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "afx/afxwin.h"
#include "afx_test_support.h"

namespace {

std::string fmt(const char* format, ...)
{
    char buf[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    return buf;
}

// What reaches the original window procedure of a raw test window.
struct RawCall {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<RawCall> g_raw;

LRESULT CALLBACK rawProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_USER + 5)
        return 42;
    if ((m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || m == WM_NCDESTROY || m == WM_COMMAND)
        g_raw.push_back({m, wp, lp});
    return DefWindowProcW(h, m, wp, lp);
}

HWND makeRawWindow()
{
    static ATOM cls = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = rawProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"AfxTestRaw";
        return RegisterClassW(&wc);
    }();
    (void)cls;
    return CreateWindowExW(0, L"AfxTestRaw", L"raw", WS_POPUP, 0, 0, 100, 80, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// Logs every handler it overrides, with the unpacked arguments. OnMButtonDown passes the message on through
// Default(); the other mouse handlers consume theirs.
class LoggingWnd : public CWnd {
public:
    std::vector<std::string> log;
    std::string name(CWnd* w) const { return !w ? "null" : w == this ? "self" : "other"; }

    void PreSubclassWindow() override { log.push_back("PreSubclassWindow"); }
    int OnCreate(LPCREATESTRUCTW cs) override
    {
        char title[64] = {};
        WideCharToMultiByte(CP_UTF8, 0, cs->lpszName, -1, title, sizeof title, nullptr, nullptr);
        log.push_back(fmt("OnCreate %s %dx%d", title, cs->cx, cs->cy));
        return CWnd::OnCreate(cs);
    }
    void OnSize(UINT type, int cx, int cy) override { log.push_back(fmt("OnSize %u %d %d", type, cx, cy)); }
    void OnMouseMove(UINT f, CPoint p) override { log.push_back(fmt("OnMouseMove 0x%x %d,%d", f, p.x, p.y)); }
    BOOL OnMouseWheel(UINT f, short delta, CPoint p) override
    {
        log.push_back(fmt("OnMouseWheel 0x%x %d %d,%d", f, delta, p.x, p.y));
        return (f & MK_MBUTTON) ? FALSE : TRUE;
    }
    void OnLButtonDown(UINT f, CPoint p) override { log.push_back(fmt("OnLButtonDown 0x%x %d,%d", f, p.x, p.y)); }
    void OnLButtonUp(UINT f, CPoint p) override { log.push_back(fmt("OnLButtonUp 0x%x %d,%d", f, p.x, p.y)); }
    void OnLButtonDblClk(UINT f, CPoint p) override { log.push_back(fmt("OnLButtonDblClk 0x%x %d,%d", f, p.x, p.y)); }
    void OnRButtonDown(UINT f, CPoint p) override { log.push_back(fmt("OnRButtonDown 0x%x %d,%d", f, p.x, p.y)); }
    void OnMButtonDown(UINT f, CPoint p) override
    {
        log.push_back(fmt("OnMButtonDown 0x%x %d,%d", f, p.x, p.y));
        CWnd::OnMButtonDown(f, p);
    }
    void OnMButtonUp(UINT f, CPoint p) override { log.push_back(fmt("OnMButtonUp 0x%x %d,%d", f, p.x, p.y)); }
    void OnMButtonDblClk(UINT f, CPoint p) override { log.push_back(fmt("OnMButtonDblClk 0x%x %d,%d", f, p.x, p.y)); }
    BOOL OnSetCursor(CWnd* w, UINT hit, UINT message) override
    {
        log.push_back(fmt("OnSetCursor %s %u 0x%x", name(w).c_str(), hit, message));
        return TRUE;
    }
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override
    {
        log.push_back(fmt("OnKeyDown %u %u 0x%x", key, repeat, flags));
    }
    void OnChar(UINT ch, UINT repeat, UINT flags) override
    {
        log.push_back(fmt("OnChar %u %u 0x%x", ch, repeat, flags));
    }
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
    BOOL OnEraseBkgnd(CDC* dc) override
    {
        dc->FillSolidRect(0, 0, 2, 2, RGB(0, 200, 0));
        log.push_back("OnEraseBkgnd");
        return TRUE;
    }
    LRESULT OnPrintClient(CDC* dc, UINT flags) override
    {
        dc->FillSolidRect(2, 2, 3, 3, RGB(0, 128, 255));
        log.push_back(fmt("OnPrintClient 0x%x", flags));
        return 0;
    }
    void OnSetFocus(CWnd* old) override
    {
        log.push_back("OnSetFocus " + (old && old->m_hWnd == otherHwnd ? std::string("peer") : name(old)));
        CWnd::OnSetFocus(old);
    }
    void OnKillFocus(CWnd* next) override
    {
        log.push_back("OnKillFocus " + (next && next->m_hWnd == otherHwnd ? std::string("peer") : name(next)));
        CWnd::OnKillFocus(next);
    }
    void OnCaptureChanged(CWnd* w) override { log.push_back("OnCaptureChanged " + name(w)); }
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

    HWND otherHwnd = nullptr;
};

} // namespace

TEST(AfxWnd, HandleMapKeepsPermanentObjectsAndHandsOutTemporaryWrappers)
{
    HWND h = makeRawWindow();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    CWnd* temp = CWnd::FromHandle(h);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp->m_hWnd, h);
    EXPECT_EQ(CWnd::FromHandle(h), temp) << "one wrapper per handle";
    EXPECT_FALSE(temp->Attach(h)) << "a temporary wrapper never becomes permanent";

    CWnd first, second;
    ASSERT_TRUE(first.Attach(h));
    EXPECT_EQ(CWnd::FromHandlePermanent(h), &first);
    EXPECT_EQ(CWnd::FromHandle(h), &first) << "the permanent object wins over the wrapper";
    EXPECT_FALSE(second.Attach(h)) << "a window has one permanent object";
    EXPECT_EQ(second.m_hWnd, nullptr);
    HWND other = makeRawWindow();
    EXPECT_FALSE(first.Attach(other)) << "an object has one window";
    DestroyWindow(other);

    EXPECT_EQ(first.Detach(), h);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
    EXPECT_TRUE(IsWindow(h)) << "Detach lets go without destroying";
    CWnd::DeleteTempMap();

    // A window attached (not subclassed) when its object dies is destroyed, and the map forgets it.
    {
        CWnd owner;
        ASSERT_TRUE(owner.Attach(h));
    }
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

TEST(AfxWnd, SubclassingRoutesToHandlersAndDefaultReachesTheOriginalProcedure)
{
    HWND h = makeRawWindow();
    ASSERT_NE(h, nullptr);
    g_raw.clear();
    LoggingWnd s;
    ASSERT_TRUE(s.SubclassWindow(h));
    EXPECT_NE(GetWindowLongPtrW(h, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&rawProc));

    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 9));
    SendMessageW(h, WM_MBUTTONDOWN, MK_MBUTTON | MK_SHIFT, MAKELPARAM(-3, 12));
    EXPECT_EQ(SendMessageW(h, WM_USER + 5, 0, 0), 42) << "unhandled messages reach the original with its result";
    SendMessageW(h, WM_COMMAND, MAKEWPARAM(5, BN_CLICKED), 0); // a command no control object took
    EXPECT_EQ(s.log,
              (std::vector<std::string>{"PreSubclassWindow", "OnLButtonDown 0x1 7,9", "OnMButtonDown 0x14 -3,12"}));
    ASSERT_EQ(g_raw.size(), 2u) << "only the handler that called its base reached the original";
    EXPECT_EQ(g_raw[1].message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(g_raw[0].message, static_cast<UINT>(WM_MBUTTONDOWN));
    EXPECT_EQ(g_raw[0].wParam, static_cast<WPARAM>(MK_MBUTTON | MK_SHIFT));
    EXPECT_EQ(g_raw[0].lParam, MAKELPARAM(-3, 12));

    // Unsubclassing gives the window back to its original procedure.
    EXPECT_EQ(s.UnsubclassWindow(), h);
    EXPECT_EQ(GetWindowLongPtrW(h, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&rawProc));
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
    SendMessageW(h, WM_LBUTTONDOWN, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(s.log.size(), 3u);
    EXPECT_EQ(g_raw.size(), 3u);

    // Destroyed while subclassed: the original gets WM_NCDESTROY, then the object lets go and PostNcDestroy runs.
    ASSERT_TRUE(s.SubclassWindow(h));
    g_raw.clear();
    ASSERT_TRUE(DestroyWindow(h));
    EXPECT_EQ(s.m_hWnd, nullptr);
    EXPECT_EQ(s.log.back(), "PostNcDestroy");
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
    ASSERT_FALSE(g_raw.empty());
    EXPECT_EQ(g_raw.back().message, static_cast<UINT>(WM_NCDESTROY));
}

TEST(AfxWnd, MessagesReachTheirHandlersWithUnpackedArguments)
{
    LoggingWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"Fenster Größe", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
    // Bound from the first message: PreSubclassWindow before WM_CREATE, which the object handled itself.
    ASSERT_GE(w.log.size(), 2u);
    EXPECT_EQ(w.log[0], "PreSubclassWindow");
    EXPECT_EQ(w.log[1], "OnCreate Fenster Größe 200x100");
    w.log.clear();
    HWND h = w.m_hWnd;

    HELPINFO help{};
    help.cbSize = sizeof help;
    help.iCtrlId = 1086;
    help.MousePos = {15, 25};
    struct Row {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT result;
        const char* expected;
    };
    const Row rows[] = {
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
    for (const Row& row : rows) {
        w.log.clear();
        LRESULT result = SendMessageW(h, row.message, row.wParam, row.lParam);
        ASSERT_EQ(w.log.size(), 1u) << row.expected;
        EXPECT_EQ(w.log[0], row.expected);
        EXPECT_EQ(result, row.result) << row.expected;
    }
    EXPECT_TRUE(IsWindow(h)) << "WM_CLOSE and SC_CLOSE were handled without passing them on";

    // The DC handlers draw into the DC of the message.
    afxtest::Dib dib(8, 8);
    w.log.clear();
    EXPECT_EQ(SendMessageW(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dib.dc), 0), TRUE);
    SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.dc), PRF_CLIENT | PRF_ERASEBKGND);
    EXPECT_EQ(w.log, (std::vector<std::string>{"OnEraseBkgnd", "OnPrintClient 0xc"}));
    EXPECT_EQ((std::vector<DWORD>{dib.at(0, 0), dib.at(3, 3), dib.at(6, 6)}),
              (std::vector<DWORD>{0x00C800, 0x0080FF, 0xFFFFFF}));

    // Focus and capture between two children: each learns who the other is.
    LoggingWnd a, b;
    ASSERT_TRUE(a.Create(nullptr, L"a", WS_VISIBLE, CRect(0, 0, 20, 20), &w, 1));
    ASSERT_TRUE(b.Create(nullptr, L"b", WS_VISIBLE, CRect(20, 0, 40, 20), &w, 2));
    a.otherHwnd = b.m_hWnd;
    b.otherHwnd = a.m_hWnd;
    w.ShowWindow(SW_SHOW);
    a.SetFocus();
    ASSERT_EQ(CWnd::GetFocus(), &a);
    a.log.clear();
    b.log.clear();
    EXPECT_EQ(b.SetFocus(), &a) << "SetFocus answers the previous focus window";
    EXPECT_EQ(CWnd::GetFocus(), &b);
    EXPECT_EQ(a.log, (std::vector<std::string>{"OnKillFocus peer"}));
    EXPECT_EQ(b.log, (std::vector<std::string>{"OnSetFocus peer"}));
    a.SetCapture();
    EXPECT_EQ(CWnd::GetCapture(), &a);
    a.log.clear();
    ReleaseCapture();
    EXPECT_EQ(a.log, (std::vector<std::string>{"OnCaptureChanged null"}));

    // Destruction: the parent's last messages in order, and the children go with it.
    w.log.clear();
    a.log.clear();
    ASSERT_TRUE(w.DestroyWindow());
    EXPECT_EQ(w.log, (std::vector<std::string>{"OnDestroy", "OnNcDestroy", "PostNcDestroy"}));
    EXPECT_EQ(w.m_hWnd, nullptr);
    EXPECT_EQ(a.m_hWnd, nullptr);
    EXPECT_EQ(b.m_hWnd, nullptr);
    EXPECT_EQ(a.log.back(), "PostNcDestroy");
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

TEST(AfxWnd, WindowFunctionsActOnTheirWindow)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"P", WS_POPUP, 100, 50, 300, 200, nullptr, nullptr));
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, L"Kind", WS_VISIBLE, CRect(10, 20, 110, 70), &parent, 1234));
    EXPECT_EQ(child.GetDlgCtrlID(), 1234);
    EXPECT_EQ(
        (std::vector<CWnd*>{parent.GetDlgItem(1234), child.GetParent(), child.GetOwner(), child.GetTopLevelParent()}),
        (std::vector<CWnd*>{&child, &parent, &parent, &parent}));
    EXPECT_NE(child.GetStyle() & WS_CHILD, 0u) << "Create makes a child window";

    CRect rc;
    child.GetClientRect(&rc);
    EXPECT_EQ(rc, CRect(0, 0, 100, 50));
    child.GetWindowRect(&rc);
    EXPECT_EQ(rc, CRect(110, 70, 210, 120));
    CPoint p(0, 0);
    child.ClientToScreen(&p);
    EXPECT_EQ(p, CPoint(110, 70));
    parent.ScreenToClient(&p);
    EXPECT_EQ(p, CPoint(10, 20));
    CRect r(0, 0, 5, 5);
    child.ClientToScreen(&r);
    EXPECT_EQ(r, CRect(110, 70, 115, 75));

    EXPECT_TRUE(child.ModifyStyle(0, WS_TABSTOP));
    EXPECT_FALSE(child.ModifyStyle(0, WS_TABSTOP)) << "nothing changed: the first call set the bit";
    EXPECT_TRUE(child.ModifyStyle(WS_TABSTOP, WS_GROUP));
    EXPECT_EQ(child.GetStyle() & (WS_TABSTOP | WS_GROUP), static_cast<DWORD>(WS_GROUP));
    EXPECT_TRUE(child.ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED));
    child.GetClientRect(&rc);
    EXPECT_EQ(rc, CRect(0, 0, 96, 46)) << "the new frame applies at once";

    child.SetWindowText(L"Größe ⌀");
    CString text;
    child.GetWindowText(text);
    EXPECT_EQ(text, L"Größe ⌀");
    EXPECT_EQ(child.GetWindowTextLength(), 7);
    EXPECT_EQ(parent.GetDlgItemText(1234, text), 7);
    EXPECT_EQ(text, L"Größe ⌀");
    EXPECT_EQ(parent.GetDlgItemText(999, text), 0);

    child.MoveWindow(5, 6, 50, 40);
    child.GetWindowRect(&rc);
    EXPECT_EQ(rc, CRect(105, 56, 155, 96));
    child.EnableWindow(FALSE);
    EXPECT_FALSE(child.IsWindowEnabled());

    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_AUTOHSCROLL, CRect(0, 100, 100, 120), &parent, 99));
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, L"Tahoma"));
    edit.SetFont(&font);
    EXPECT_EQ(edit.GetFont()->m_hObject, font.m_hObject);
    edit.SetWindowText(L"0123456789");
    edit.SetSel(2, 5);
    int start = 0, end = 0;
    edit.GetSel(start, end);
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(2, 5));
    edit.ReplaceSel(L"ab");
    edit.GetWindowText(text);
    EXPECT_EQ(text, L"01ab56789");
}

namespace {

class NotifiedEdit : public CEdit {
public:
    std::vector<std::string> log;
    HBRUSH brush = nullptr;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
            log.push_back(fmt("EN_CHANGE %d", LOWORD(wParam)));
            return TRUE;
        }
        if (message == WM_CTLCOLOREDIT) {
            *result = reinterpret_cast<LRESULT>(brush);
            return TRUE;
        }
        if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == 1234u) {
            *result = 5;
            return TRUE;
        }
        return CEdit::OnChildNotify(message, wParam, lParam, result);
    }
};

class ParentWnd : public CWnd {
public:
    std::vector<std::string> log;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        BOOL reflected = CWnd::OnCommand(wParam, lParam);
        log.push_back(fmt("OnCommand %d 0x%x %s", LOWORD(wParam), HIWORD(wParam), reflected ? "reflected" : "own"));
        return reflected;
    }
};

class OwnerDrawButton : public CButton {
public:
    int drawn = 0;
    UINT lastId = 0;
    UINT lastAction = 0;
    void DrawItem(LPDRAWITEMSTRUCT item) override
    {
        ++drawn;
        lastId = item->CtlID;
        lastAction = item->itemAction;
        FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
};

class TallRowsCombo : public CComboBox {
public:
    int measured = 0;
    void MeasureItem(LPMEASUREITEMSTRUCT item) override
    {
        ++measured;
        item->itemHeight = 23;
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
    ASSERT_NE(rawEdit, nullptr);

    edit.SetWindowText(L"x"); // the edit notifies its parent with EN_UPDATE, then EN_CHANGE
    SetWindowTextW(rawEdit, L"y");
    EXPECT_EQ(edit.log, (std::vector<std::string>{"EN_CHANGE 7"}));
    // Only what the control object handles counts as reflected; the rest stays the parent's.
    EXPECT_EQ(parent.log, (std::vector<std::string>{"OnCommand 7 0x400 own", "OnCommand 7 0x300 reflected",
                                                    "OnCommand 8 0x400 own", "OnCommand 8 0x300 own"}));

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

    // An owner-drawn combo box asks its parent for the row height while it is being created: the object is bound
    // by then, so the reflected WM_MEASUREITEM reaches its MeasureItem.
    TallRowsCombo combo;
    ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                             CRect(0, 90, 100, 200), &parent, 9));
    EXPECT_GE(combo.measured, 1);
    EXPECT_EQ(combo.GetItemHeight(0), 23);

    // A real owner-drawn button paints through its parent's WM_DRAWITEM, reflected to its DrawItem.
    OwnerDrawButton button;
    ASSERT_TRUE(button.Create(L"", WS_VISIBLE | BS_OWNERDRAW, CRect(0, 60, 40, 80), &parent, 5));
    parent.ShowWindow(SW_SHOWNA);
    parent.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
    EXPECT_GE(button.drawn, 1);
    EXPECT_EQ(button.lastId, 5u);
    EXPECT_EQ(button.lastAction, static_cast<UINT>(ODA_DRAWENTIRE));
    parent.DestroyWindow();
}
