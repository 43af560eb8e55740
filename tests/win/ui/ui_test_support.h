// Helpers of the ui and dialog tests: real mouse and keyboard input, a script of user actions played on the modal
// windows a call opens, reading windows and report lists, recorders standing in for HTML Help and the shell.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <htmlhelp.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "../afx/afx_test_support.h"
#include "afx/afxwin.h"
#include "resource.h"
#include "ui/CMavDlg.h"

namespace uitest {

inline std::wstring str(const wchar_t* s) { return s ? s : L"(null)"; }
inline std::wstring windowText(HWND h)
{
    std::wstring s(static_cast<size_t>(::GetWindowTextLengthW(h)) + 1, L'\0');
    s.resize(static_cast<size_t>(::GetWindowTextW(h, s.data(), static_cast<int>(s.size()))));
    return s;
}
inline std::wstring itemText(HWND dialog, int id) { return windowText(::GetDlgItem(dialog, id)); }
inline std::wstring messageBoxText(HWND box) { return itemText(box, 0xFFFF); } // its static text
inline std::wstring text(const CWnd& w) { return windowText(w.m_hWnd); }
inline void post(HWND dialog, int id) { ::PostMessageW(dialog, WM_COMMAND, id, 0); }
inline void press(HWND dialog, int id) { ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// Dispatches the waiting messages, through PreTranslateMessage up the window chain as a host does.
inline void pump()
{
    for (int round = 0; round < 3; ++round)
        afxtest::pumpWaitingMessages();
}

// A left click at (x, y) of a window's client area through the mouse driver, its top-level window brought to the
// front first; successive clicks land a few pixels apart so that two are never taken for a double click.
inline void click(HWND window, int x, int y)
{
    static int shift = 0;
    shift = (shift + 1) % 3;
    HWND top = ::GetAncestor(window, GA_ROOT);
    if (::GetForegroundWindow() != top) {
        ::SetForegroundWindow(top);
        pump();
    }
    POINT pt{x + 4 * (shift - 1), y};
    ::ClientToScreen(window, &pt);
    ::SetCursorPos(pt.x, pt.y);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, in, sizeof(INPUT));
    pump();
}

// Keys through the keyboard driver: a virtual key pressed times times, or text typed as characters. Without
// pumping the keys wait for a loop that runs anyway (a menu's own).
inline void send(std::vector<INPUT> in, bool pumping)
{
    ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    if (pumping)
        pump();
}
inline void key(WORD vk, int times = 1, bool pumping = true)
{
    std::vector<INPUT> in(2 * static_cast<size_t>(times));
    for (size_t i = 0; i < in.size(); ++i) {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = vk;
        in[i].ki.dwFlags = i % 2 ? KEYEVENTF_KEYUP : 0;
    }
    send(in, pumping);
}
inline void type(const std::wstring& text)
{
    std::vector<INPUT> in(2 * text.size());
    for (size_t i = 0; i < in.size(); ++i) {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wScan = text[i / 2];
        in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i % 2 ? KEYEVENTF_KEYUP : 0);
    }
    send(in, true);
}

// Types into a window one WM_CHAR per character (8 is Backspace), as TranslateMessage hands them on; typeInto
// focuses the edit first (which selects its text) and leaves it for next.
inline void chars(HWND h, const std::wstring& text)
{
    for (wchar_t ch : text)
        ::SendMessageW(h, WM_CHAR, ch, 1);
}
inline void typeInto(HWND edit, const std::wstring& text, HWND next)
{
    ::SetFocus(edit);
    chars(edit, text);
    ::SetFocus(next);
}

// One step of a script: the window it waits for ("#32770" a dialog or message box not seen before, "#32768" an
// open menu, "" the window of the step before, one tick later) and what the user does there.
struct Step {
    std::wstring cls;
    std::function<void(HWND)> act;
};

// What a running script has done: the steps taken, the ticks without one, the dialogs seen and those waiting.
struct ScriptState {
    std::vector<Step> steps;
    size_t next = 0;
    int ticks = 0;
    std::vector<HWND> seen, pending;
    HWND last = nullptr;
    bool timedOut = false;
    HHOOK hook = nullptr;
};

// While alive, each dialog window that becomes active on this thread for the first time, and each menu that opens,
// is handed to the next step of its class, from a timer inside whatever modal loop runs (steps may open further
// modal windows; their steps run from the nested loop). After ten seconds without a step every window still open
// is cancelled and the modal loops are told to quit, so no test waits forever; finished() then says false.
class Script {
public:
    explicit Script(std::vector<Step> steps)
    {
        s = ScriptState();
        s.steps = std::move(steps);
        s.hook = ::SetWindowsHookExW(WH_CBT, &cbt, nullptr, ::GetCurrentThreadId());
        m_timer = ::SetTimer(nullptr, 0, 30, &tick);
    }
    explicit Script(std::function<void(HWND)> act) : Script(std::vector<Step>{{L"#32770", std::move(act)}}) {}
    ~Script()
    {
        ::UnhookWindowsHookEx(s.hook);
        ::KillTimer(nullptr, m_timer);
        MSG msg; // a WM_QUIT left by the guard must not end the test program's next loop
        while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;
    // Every step ran and nothing had to be cancelled.
    static bool finished() { return s.next == s.steps.size() && !s.timedOut; }

private:
    static inline ScriptState s;
    UINT_PTR m_timer = 0;

    static bool isClass(HWND h, const wchar_t* cls)
    {
        wchar_t name[16] = {};
        return ::GetClassNameW(h, name, 16) && std::wstring(name) == cls;
    }
    static LRESULT CALLBACK cbt(int code, WPARAM wParam, LPARAM lParam)
    {
        HWND h = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_ACTIVATE && isClass(h, L"#32770") &&
            std::find(s.seen.begin(), s.seen.end(), h) == s.seen.end()) {
            s.seen.push_back(h);
            s.pending.push_back(h);
        }
        return ::CallNextHookEx(s.hook, code, wParam, lParam);
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (s.next < s.steps.size()) {
            const std::wstring& cls = s.steps[s.next].cls;
            HWND target = nullptr;
            if (cls.empty()) {
                target = s.last;
            } else if (cls == L"#32768") {
                HWND menu = ::FindWindowW(L"#32768", nullptr);
                target = menu && ::IsWindowVisible(menu) ? menu : nullptr;
            } else {
                while (!s.pending.empty() && !::IsWindow(s.pending.front()))
                    s.pending.erase(s.pending.begin());
                // A modal loop shows its dialog once it is idle: the step waits until the user can see it.
                if (!s.pending.empty() && ::IsWindowVisible(s.pending.front())) {
                    target = s.pending.front();
                    s.pending.erase(s.pending.begin());
                }
            }
            if (target) {
                auto act = s.steps[s.next++].act;
                s.last = target;
                act(target);
                return;
            }
        }
        if (++s.ticks % 330 == 0) { // again every ten seconds: a modal loop may swallow the quit
            s.timedOut = true;
            ::EndMenu();
            for (HWND h : s.seen)
                if (::IsWindow(h))
                    post(h, IDCANCEL);
            ::PostQuitMessage(0);
        }
    }
};

// Runs call while a script hands the first dialog it opens to act; true when act ran and nothing timed out.
template <class Call> bool driven(std::function<void(HWND)> act, Call call)
{
    Script script(std::move(act));
    call();
    return Script::finished();
}
// The text and caption of the message box a call opens, read and closed with OK; empty when none opened.
template <class Call> std::wstring boxOf(Call call)
{
    std::wstring box;
    driven(
        [&box](HWND h) {
            box = messageBoxText(h) + L"|" + windowText(h);
            post(h, IDOK);
        },
        call);
    return box;
}

// A report list read and clicked as a user sees it.
inline std::wstring cellText(HWND list, int row, int column)
{
    std::vector<wchar_t> buf(1100000);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buf.data();
    item.cchTextMax = static_cast<int>(buf.size());
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buf.data();
}
inline int cellImage(HWND list, int row, int column)
{
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iSubItem = column;
    item.iImage = -7;
    ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}
inline int rowCount(HWND list) { return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }
inline int selectedRow(HWND list)
{
    return static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}
inline RECT cellRect(HWND list, int row, int column, int part = LVIR_LABEL)
{
    RECT r{part, column, 0, 0};
    ::SendMessageW(list, column < 0 ? LVM_GETITEMRECT : LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&r));
    return r;
}
inline int rowHeight(HWND list, int row)
{
    const RECT r = cellRect(list, row, -1, LVIR_BOUNDS);
    return r.bottom - r.top;
}
// Clicks a cell near the start of its text (a wide cell may reach beyond the list's window).
inline void clickCell(HWND list, int row, int column)
{
    const RECT r = cellRect(list, row, column);
    click(list, r.left + std::min(20L, (r.right - r.left) / 2), (r.top + r.bottom) / 2);
}
// The entries of an open menu window as "id text" joined by "|".
inline std::wstring menuEntries(HWND menuWindow)
{
    std::wstring entries;
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    for (int i = 0, n = menu ? ::GetMenuItemCount(menu) : 0; i < n; ++i) {
        wchar_t text[100] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 100, MF_BYPOSITION);
        entries += (i ? L"|" : L"") + std::to_wstring(::GetMenuItemID(menu, i)) + L" " + text;
    }
    return entries;
}

// The maker's keys above the dialogs' saved places and the label store, made non-volatile as an installed
// application has them (the volatile keys the dialogs write would otherwise make them volatile, and no lasting key
// could be made below them afterwards); the ones made here go again at the end.
class MakerKeys {
public:
    MakerKeys()
    {
        for (const wchar_t* path : {L"Software\\MAVORA", L"Software\\MAVORA\\MAV", L"Software\\MAVORA\\MAV\\Dialogs",
                                    L"Software\\MAVORA\\MAV_MSG"}) {
            HKEY key = nullptr;
            DWORD how = 0;
            if (!::RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_READ, nullptr, &key, &how)) {
                ::RegCloseKey(key);
                if (how == REG_CREATED_NEW_KEY)
                    m_made.push_back(path);
            }
        }
    }
    ~MakerKeys()
    {
        for (auto it = m_made.rbegin(); it != m_made.rend(); ++it)
            ::RegDeleteTreeW(HKEY_CURRENT_USER, *it);
    }
    MakerKeys(const MakerKeys&) = delete;
    MakerKeys& operator=(const MakerKeys&) = delete;

private:
    std::vector<const wchar_t*> m_made;
};

// One HtmlHelpW or ShellExecuteW call; for HTML Help the structure its command passes is copied.
struct Call {
    HWND owner = nullptr;
    std::wstring file; // "(null)" for none
    UINT command = 0;  // HH_*; for the shell its show command
    DWORD_PTR data = 0;
    HH_AKLINK link{};
    HH_POPUP popup{};
    std::wstring text; // keywords of the link, text of the popup, verb of the shell call
};
inline std::vector<Call>& helpCalls()
{
    static std::vector<Call> c;
    return c;
}
inline std::vector<Call>& shellCalls()
{
    static std::vector<Call> c;
    return c;
}
inline HWND WINAPI recordHelp(HWND owner, LPCWSTR file, UINT command, DWORD_PTR data)
{
    Call c{owner, str(file), command, data, {}, {}, {}};
    if (command == HH_KEYWORD_LOOKUP && data) {
        c.link = *reinterpret_cast<const HH_AKLINK*>(data);
        c.text = str(c.link.pszKeywords);
    } else if (command == HH_DISPLAY_TEXT_POPUP && data) {
        c.popup = *reinterpret_cast<const HH_POPUP*>(data);
        c.text = str(c.popup.pszText);
    }
    helpCalls().push_back(c);
    return nullptr;
}
inline HINSTANCE WINAPI recordShell(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR params, LPCWSTR, INT show)
{
    shellCalls().push_back({owner, str(file), static_cast<UINT>(show), params != nullptr, {}, {}, str(verb)});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}
// Replaces HTML Help and the shell by the recorders for its lifetime.
struct RecordHelp {
    MAV::HtmlHelpFcn help = (helpCalls().clear(), shellCalls().clear(), MAV::htmlHelpSet(&recordHelp));
    MAV::ShellExecuteFcn shell = MAV::shellExecuteSet(&recordShell);
    ~RecordHelp()
    {
        MAV::htmlHelpSet(help);
        MAV::shellExecuteSet(shell);
    }
};

// Installs a message callback for its lifetime and puts the previous one back.
struct ScopedMsgFcn {
    CMavDlg::MsgFcn previous;
    explicit ScopedMsgFcn(CMavDlg::MsgFcn fcn) : previous(CMavDlg::SetMsgCallBack(fcn)) {}
    ~ScopedMsgFcn() { CMavDlg::SetMsgCallBack(previous); }
};

// A key press as the message loop would offer it, through AfxPreTranslateMessage first, with Control and Tab
// (and Shift) held down when asked; true when consumed.
inline bool pressKey(HWND target, UINT vk, bool controlTab = false, bool shift = false)
{
    BYTE saved[256], state[256];
    ::GetKeyboardState(saved);
    std::copy(saved, saved + 256, state);
    if (controlTab)
        state[VK_CONTROL] = state[VK_LCONTROL] = state[VK_TAB] = 0x80;
    if (shift)
        state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
    ::SetKeyboardState(state);
    MSG msg{target, WM_KEYDOWN, vk, 1, 0, {}};
    const bool consumed = AfxPreTranslateMessage(&msg);
    if (!consumed) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::SetKeyboardState(saved);
    return consumed;
}

// A visible top-level window that holds a page of the cabinet sample (a child dialog).
struct PageOnOwner {
    CWnd owner;
    CMavDlg page;
    explicit PageOnOwner(int IDD) : page(IDD)
    {
        owner.CreateEx(0, nullptr, L"PageOwner", WS_POPUP | WS_VISIBLE, 20, 20, 420, 260, nullptr, nullptr);
        page.Create(static_cast<UINT>(IDD), &owner);
        page.ShowWindow(SW_SHOW);
        ::SetActiveWindow(owner.m_hWnd);
    }
    ~PageOnOwner()
    {
        if (page.m_hWnd)
            page.DestroyWindow();
        owner.DestroyWindow();
    }
};

// A folder of its own under the temporary folder (or another), removed with its files at the end.
struct ScratchDir {
    std::wstring path;
    static std::wstring temp()
    {
        wchar_t buf[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, buf);
        std::wstring dir = buf;
        return dir.back() == L'\\' ? dir.substr(0, dir.size() - 1) : dir;
    }
    explicit ScratchDir(const wchar_t* name, const std::wstring& under = temp()) : path(under + L"\\" + name)
    {
        ::CreateDirectoryW(path.c_str(), nullptr);
    }
    // Writes a file of the folder; its path.
    std::wstring file(const wchar_t* name, const char* content = "x") const
    {
        const std::wstring f = path + L"\\" + name;
        HANDLE h = ::CreateFileW(f.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(h, content, static_cast<DWORD>(std::char_traits<char>::length(content)), &written, nullptr);
        ::CloseHandle(h);
        return f;
    }
    ~ScratchDir()
    {
        WIN32_FIND_DATAW fd;
        HANDLE h = ::FindFirstFileW((path + L"\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do
                ::DeleteFileW((path + L"\\" + fd.cFileName).c_str());
            while (::FindNextFileW(h, &fd));
            ::FindClose(h);
        }
        ::RemoveDirectoryW(path.c_str());
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
};

} // namespace uitest
