// Helpers of the standard dialog tests: a script of user actions played on the modal windows a call opens (the
// dialog itself, message boxes over it, a context menu), real mouse and keyboard input, and list view reading.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "../ui/lists_test_support.h"

namespace dlgscript {

// Mouse, keyboard and message pumping as the list tests do them.
using liststest::key;
using liststest::pump;
using liststest::type;

// A window's text.
inline std::wstring windowText(HWND h)
{
    std::wstring s(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(h, s.data(), static_cast<int>(s.size()))));
    return s;
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
            if (::RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ, nullptr, &key,
                                  &how) == ERROR_SUCCESS) {
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

// One step of a script: the window class it waits for ("#32770" a dialog or message box, "#32768" a menu) and
// what the user does there.
struct Step {
    std::wstring cls;
    std::function<void(HWND)> act;
};

// While alive, each dialog window that becomes active on this thread for the first time, and each menu that opens,
// is handed to the next step of its class, from a timer inside whatever modal loop runs (steps may open further
// modal windows; their steps run from the nested loop). After ten seconds every window still open is cancelled
// and the modal loops are told to quit, so no test waits forever; timedOut() then says so.
class Script {
public:
    explicit Script(std::vector<Step> steps)
    {
        s_steps = std::move(steps);
        s_next = 0;
        s_ticks = 0;
        s_seen.clear();
        s_pending.clear();
        s_timedOut = false;
        s_hook = ::SetWindowsHookExW(WH_CBT, &cbt, nullptr, ::GetCurrentThreadId());
        m_timer = ::SetTimer(nullptr, 0, 30, &tick);
    }
    ~Script()
    {
        ::UnhookWindowsHookEx(s_hook);
        ::KillTimer(nullptr, m_timer);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;

    // Steps that ran (started) so far, and whether the watchdog had to end the script.
    static size_t done() { return s_next; }
    static bool timedOut() { return s_timedOut; }

private:
    static bool isClass(HWND h, const wchar_t* cls)
    {
        wchar_t name[16] = {};
        return ::GetClassNameW(h, name, 16) && std::wstring(name) == cls;
    }
    static LRESULT CALLBACK cbt(int code, WPARAM wParam, LPARAM lParam)
    {
        HWND h = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_ACTIVATE && isClass(h, L"#32770")) {
            bool known = false;
            for (HWND s : s_seen)
                known = known || s == h;
            if (!known) {
                s_seen.push_back(h);
                s_pending.push_back(h);
            }
        }
        return ::CallNextHookEx(s_hook, code, wParam, lParam);
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (s_next < s_steps.size()) {
            Step& step = s_steps[s_next];
            HWND target = nullptr;
            if (step.cls == L"#32768") {
                HWND menu = ::FindWindowW(L"#32768", nullptr);
                if (menu && ::IsWindowVisible(menu))
                    target = menu;
            } else {
                while (!s_pending.empty() && !::IsWindow(s_pending.front()))
                    s_pending.erase(s_pending.begin());
                // A modal loop shows its dialog once it is idle: the step waits until the user can see it.
                if (!s_pending.empty() && ::IsWindowVisible(s_pending.front())) {
                    target = s_pending.front();
                    s_pending.erase(s_pending.begin());
                }
            }
            if (target) {
                auto act = step.act;
                ++s_next;
                act(target);
                return;
            }
        }
        if (++s_ticks == 330) { // ten seconds
            s_timedOut = true;
            ::EndMenu();
            for (HWND h : s_seen)
                if (::IsWindow(h))
                    ::PostMessageW(h, WM_COMMAND, IDCANCEL, 0);
            ::PostQuitMessage(0);
        }
    }

    UINT_PTR m_timer = 0;
    static inline HHOOK s_hook = nullptr;
    static inline std::vector<Step> s_steps;
    static inline size_t s_next = 0;
    static inline int s_ticks = 0;
    static inline std::vector<HWND> s_seen;
    static inline std::vector<HWND> s_pending;
    static inline bool s_timedOut = false;
};

// A left click at (x, y) of a window's client area, as the mouse driver sends it. Its top-level window comes to
// the front first, and successive clicks land a few pixels apart, so two are never taken for a double click.
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
    in[0].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].type = INPUT_MOUSE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, in, sizeof(INPUT));
    pump();
}

// Clicks a cell (row, column) of a report list, near the start of its text (a wide cell may reach beyond the
// list's window).
inline void clickCell(HWND list, int row, int column)
{
    RECT r{};
    r.top = column;
    r.left = LVIR_LABEL;
    ::SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    click(list, r.left + std::min(20L, (r.right - r.left) / 2), (r.top + r.bottom) / 2);
}

// The static text of a message box (the control 0xFFFF).
inline std::wstring messageBoxText(HWND box)
{
    return windowText(::GetDlgItem(box, 0xFFFF));
}

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

inline int rowHeight(HWND list, int row)
{
    RECT r{};
    r.left = LVIR_BOUNDS;
    ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    return r.bottom - r.top;
}

// The entries of an open menu window: (command id, text), in order.
inline std::vector<std::pair<UINT, std::wstring>> menuEntries(HWND menuWindow)
{
    std::vector<std::pair<UINT, std::wstring>> entries;
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    const int n = menu ? ::GetMenuItemCount(menu) : 0;
    for (int i = 0; i < n; ++i) {
        wchar_t text[100] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 100, MF_BYPOSITION);
        entries.emplace_back(::GetMenuItemID(menu, i), text);
    }
    return entries;
}

} // namespace dlgscript
