// Helpers of the dialog tests: recorders standing in for HTML Help and the shell, a scoped message callback, and a
// CBT hook that acts on the next modal dialog window (message box, Open dialog, About box) to read and close it.
#pragma once

#include <windows.h>

#include <htmlhelp.h>

#include <functional>
#include <string>
#include <vector>

#include "afx/afxwin.h"
#include "ui/CMavDlg.h"
#include "../afx/afx_test_support.h"

namespace uitest {

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

inline std::wstring str(const wchar_t* s) { return s ? s : L"(null)"; }

inline std::vector<Call>& helpCalls() { static std::vector<Call> c; return c; }
inline std::vector<Call>& shellCalls() { static std::vector<Call> c; return c; }

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

// While alive, the first dialog window (class "#32770") activated on this thread is handed to act, from a timer
// inside its modal loop; act reads what it needs and posts the command that closes it. After five seconds
// without one a WM_QUIT ends whatever modal loop runs, so no test waits forever.
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(HWND)> act)
    {
        s_act = std::move(act);
        s_pending = nullptr;
        s_ticks = 0;
        s_hook = ::SetWindowsHookExW(WH_CBT, &cbt, nullptr, ::GetCurrentThreadId());
        m_timer = ::SetTimer(nullptr, 0, 50, &tick);
    }
    ~ModalDriver()
    {
        ::UnhookWindowsHookEx(s_hook);
        ::KillTimer(nullptr, m_timer);
        MSG msg; // a WM_QUIT passed on by a modal loop must not end the test program's next loop
        while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    bool acted() const { return s_act == nullptr; }

private:
    static LRESULT CALLBACK cbt(int code, WPARAM wParam, LPARAM lParam)
    {
        wchar_t cls[16] = {};
        if (code == HCBT_ACTIVATE && !s_pending && ::GetClassNameW(reinterpret_cast<HWND>(wParam), cls, 16) &&
            std::wstring(cls) == L"#32770")
            s_pending = reinterpret_cast<HWND>(wParam);
        return ::CallNextHookEx(s_hook, code, wParam, lParam);
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (s_pending && s_act) {
            auto act = std::move(s_act);
            s_act = nullptr;
            act(s_pending);
        } else if (++s_ticks == 100) {
            ::PostQuitMessage(0);
        }
    }
    UINT_PTR m_timer = 0;
    static inline HHOOK s_hook = nullptr;
    static inline HWND s_pending = nullptr;
    static inline int s_ticks = 0;
    static inline std::function<void(HWND)> s_act;
};

inline std::wstring windowText(HWND h)
{
    wchar_t buf[512] = {};
    ::GetWindowTextW(h, buf, 512);
    return buf;
}

inline std::wstring itemText(HWND dialog, int id) { return windowText(::GetDlgItem(dialog, id)); }

// The text of a message box: its static control 0xFFFF.
inline std::wstring messageBoxText(HWND box) { return itemText(box, 0xFFFF); }

} // namespace uitest
