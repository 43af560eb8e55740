// Helpers of the numeric field and tab tests: a page of the cabinet sample on a visible owner window, typing, the
// keyboard state of Control and Shift, and the error box read and closed through ModalDriver.
#pragma once

#include <windows.h>

#include <string>

#include "afx/CWnd.h"
#include "ui/CMavDlg.h"
#include "ui_test_support.h"

namespace uitest {

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

// Text and caption of the error box a step opens, read and closed by a ModalDriver; empty when none opened.
struct Box {
    std::wstring text;
    std::wstring caption;
};
template <class Step>
Box boxOf(Step step)
{
    Box box;
    ModalDriver driver([&box](HWND h) {
        box.text = itemText(h, 0xFFFF); // the static text of a message box
        box.caption = windowText(h);
        PostMessageW(h, WM_COMMAND, IDOK, 0);
    });
    step();
    return box;
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
