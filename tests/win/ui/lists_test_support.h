// Helpers of the list, tree and shell tests: real mouse input through SendInput, the message pump, and a driver for
// the system's modal dialogs (a CBT hook that acts once the dialog is active, and a watchdog timer that cancels
// any dialog still open after ten seconds, so that no test can wait forever in a modal loop).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "../afx/afx_test_support.h"

namespace liststest {

// Dispatches the waiting messages, through PreTranslateMessage up the window chain as a host does.
inline void pump()
{
    for (int round = 0; round < 3; ++round)
        afxtest::pumpWaitingMessages();
}

// Moves the cursor to (x, y) of window's client area and sends button down and up as the mouse driver would.
inline void click(HWND window, int x, int y)
{
    POINT pt{x, y};
    ClientToScreen(window, &pt);
    SetCursorPos(pt.x, pt.y);
    INPUT in[2] = {};
    in[0].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].type = INPUT_MOUSE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
    pump();
}

// Presses and releases a key (virtual key code), as the keyboard driver would.
inline void key(WORD vk)
{
    INPUT in[2] = {};
    in[0].type = INPUT_KEYBOARD;
    in[0].ki.wVk = vk;
    in[1].type = INPUT_KEYBOARD;
    in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    pump();
}

// Types text as characters.
inline void type(const std::wstring& text)
{
    for (wchar_t ch : text) {
        INPUT in[2] = {};
        in[0].type = INPUT_KEYBOARD;
        in[0].ki.wScan = ch;
        in[0].ki.dwFlags = KEYEVENTF_UNICODE;
        in[1] = in[0];
        in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendInput(2, in, sizeof(INPUT));
    }
    pump();
}

inline std::wstring windowText(HWND h)
{
    std::wstring s(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(h, s.data(), static_cast<int>(s.size()))));
    return s;
}

// While alive: the first dialog window (class "#32770") that becomes active on this thread is handed to act, which
// posts the user's input. Whatever is still open after ten seconds gets IDCANCEL, and timedOut() says so.
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(HWND)> act) : m_act(std::move(act))
    {
        s_self = this;
        m_hook = SetWindowsHookExW(WH_CBT, &ModalDriver::cbt, nullptr, GetCurrentThreadId());
        m_timer = SetTimer(nullptr, 0, 10000, &ModalDriver::watchdog);
    }
    ~ModalDriver()
    {
        KillTimer(nullptr, m_timer);
        UnhookWindowsHookEx(m_hook);
        s_self = nullptr;
    }
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    HWND dialog() const { return m_dialog; }
    bool timedOut() const { return m_timedOut; }

private:
    static LRESULT CALLBACK cbt(int code, WPARAM wParam, LPARAM lParam)
    {
        ModalDriver* self = s_self;
        if (self && code == HCBT_ACTIVATE && !self->m_dialog) {
            HWND h = reinterpret_cast<HWND>(wParam);
            wchar_t cls[16] = {};
            GetClassNameW(h, cls, 16);
            if (lstrcmpW(cls, L"#32770") == 0) {
                self->m_dialog = h;
                self->m_act(h);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static void CALLBACK watchdog(HWND, UINT, UINT_PTR, DWORD)
    {
        ModalDriver* self = s_self;
        if (!self)
            return;
        self->m_timedOut = true;
        if (self->m_dialog) {
            PostMessageW(self->m_dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND h, LPARAM) -> BOOL {
                wchar_t cls[16] = {};
                GetClassNameW(h, cls, 16);
                if (lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(h))
                    PostMessageW(h, WM_COMMAND, IDCANCEL, 0);
                return TRUE;
            },
            0);
    }

    static inline ModalDriver* s_self = nullptr;
    std::function<void(HWND)> m_act;
    HHOOK m_hook = nullptr;
    UINT_PTR m_timer = 0;
    HWND m_dialog = nullptr;
    bool m_timedOut = false;
};

} // namespace liststest
