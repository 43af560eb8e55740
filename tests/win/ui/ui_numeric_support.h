// Helpers of the numeric field and tab tests: a page of the cabinet sample on a visible owner window, a catcher
// that reads and closes the task-modal error boxes, typing and the keyboard state of Control and Shift.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "afx/CWnd.h"
#include "ui/CMavDlg.h"

namespace uitest {

// One message box seen: its text and caption.
struct Box {
    std::wstring text;
    std::wstring caption;
};

// Closes every message box this thread opens while it lives, after reading its text and caption (a CBT hook sees
// the box being activated, when its texts are set). A thread timer closes any box the hook missed, so no test
// waits on a box for ever.
class BoxCatcher {
public:
    BoxCatcher()
    {
        s_self = this;
        m_hook = SetWindowsHookExW(WH_CBT, &BoxCatcher::cbt, nullptr, GetCurrentThreadId());
        m_timer = SetTimer(nullptr, 0, 3000, &BoxCatcher::rescue);
    }
    ~BoxCatcher()
    {
        KillTimer(nullptr, m_timer);
        UnhookWindowsHookEx(m_hook);
        s_self = nullptr;
    }
    BoxCatcher(const BoxCatcher&) = delete;
    BoxCatcher& operator=(const BoxCatcher&) = delete;

    std::vector<Box> boxes;
    int rescued = 0;

private:
    static bool isBox(HWND h)
    {
        wchar_t cls[16] = {};
        GetClassNameW(h, cls, 16);
        return lstrcmpW(cls, L"#32770") == 0 && GetDlgItem(h, 0xFFFF) != nullptr;
    }
    static LRESULT CALLBACK cbt(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_ACTIVATE && s_self && isBox(reinterpret_cast<HWND>(wParam))) {
            HWND h = reinterpret_cast<HWND>(wParam);
            wchar_t buf[512] = {};
            Box box;
            GetDlgItemTextW(h, 0xFFFF, buf, 512);
            box.text = buf;
            GetWindowTextW(h, buf, 512);
            box.caption = buf;
            s_self->boxes.push_back(box);
            PostMessageW(h, WM_COMMAND, IDOK, 0);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static BOOL CALLBACK closeBox(HWND h, LPARAM)
    {
        if (isBox(h)) {
            PostMessageW(h, WM_COMMAND, IDOK, 0);
            if (s_self)
                ++s_self->rescued;
        }
        return TRUE;
    }
    static void CALLBACK rescue(HWND, UINT, UINT_PTR, DWORD)
    {
        EnumThreadWindows(GetCurrentThreadId(), &BoxCatcher::closeBox, 0);
    }

    static inline BoxCatcher* s_self = nullptr;
    HHOOK m_hook = nullptr;
    UINT_PTR m_timer = 0;
};

// Types text into a window as the keyboard would: one WM_CHAR per character (8 is Backspace).
inline void type(HWND h, const std::wstring& text)
{
    for (wchar_t ch : text)
        SendMessageW(h, WM_CHAR, ch, 1);
}

// Control, Tab (and Shift) held down for this thread while the object lives.
class KeysHeld {
public:
    explicit KeysHeld(bool shift)
    {
        GetKeyboardState(m_saved);
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_CONTROL] = state[VK_LCONTROL] = state[VK_TAB] = 0x80;
        if (shift)
            state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
        SetKeyboardState(state);
    }
    ~KeysHeld() { SetKeyboardState(m_saved); }
    KeysHeld(const KeysHeld&) = delete;
    KeysHeld& operator=(const KeysHeld&) = delete;

private:
    BYTE m_saved[256] = {};
};

// A key press as the message loop would offer it: through AfxPreTranslateMessage first; true when consumed.
inline bool pressKey(HWND target, UINT key)
{
    MSG msg{};
    msg.hwnd = target;
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    msg.lParam = 1;
    if (AfxPreTranslateMessage(&msg))
        return true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return false;
}

// A visible top-level window that holds a page of the cabinet sample (a child dialog) for the numeric tests.
struct PageOnOwner {
    CWnd owner;
    CMavDlg page;
    explicit PageOnOwner(int IDD) : page(IDD)
    {
        owner.CreateEx(0, nullptr, L"NumericOwner", WS_POPUP | WS_VISIBLE, 20, 20, 420, 260, nullptr, nullptr);
        page.Create(static_cast<UINT>(IDD), &owner);
        page.ShowWindow(SW_SHOW);
        SetActiveWindow(owner.m_hWnd);
    }
    ~PageOnOwner()
    {
        if (page.m_hWnd)
            page.DestroyWindow();
        owner.DestroyWindow();
    }
};

} // namespace uitest
