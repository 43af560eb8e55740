// Helpers of the list, tree and shell tests: real mouse and keyboard input through SendInput, and the message pump.
#pragma once

#include <windows.h>

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

} // namespace liststest
