// Helpers of the dialog tests: recording stand-ins for HTML Help and the shell, a CBT hook that acts on the next
// modal window (message box, Open dialog, About box) and closes it, and a message callback that shows its inputs.
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

// One recorded HtmlHelpW call, with the parts of its data that the command defines copied out.
struct HelpCall {
    HWND owner = nullptr;
    std::wstring file;
    UINT command = 0;
    DWORD_PTR data = 0;
    HH_AKLINK link{};          // HH_KEYWORD_LOOKUP
    std::wstring keywords;     // HH_KEYWORD_LOOKUP
    HH_POPUP popup{};          // HH_DISPLAY_TEXT_POPUP
    std::wstring popupText;    // HH_DISPLAY_TEXT_POPUP
};

struct ShellCall {
    std::wstring verb; // "(null)" for the default verb
    std::wstring file;
    bool hasParams = false;
    INT show = 0;
};

inline std::vector<HelpCall>& helpCalls()
{
    static std::vector<HelpCall> calls;
    return calls;
}

inline std::vector<ShellCall>& shellCalls()
{
    static std::vector<ShellCall> calls;
    return calls;
}

inline HWND WINAPI recordHelp(HWND owner, LPCWSTR file, UINT command, DWORD_PTR data)
{
    HelpCall call;
    call.owner = owner;
    call.file = file ? file : L"(null)";
    call.command = command;
    call.data = data;
    if (command == HH_KEYWORD_LOOKUP && data) {
        call.link = *reinterpret_cast<const HH_AKLINK*>(data);
        call.keywords = call.link.pszKeywords ? call.link.pszKeywords : L"(null)";
    }
    if (command == HH_DISPLAY_TEXT_POPUP && data) {
        call.popup = *reinterpret_cast<const HH_POPUP*>(data);
        call.popupText = call.popup.pszText ? call.popup.pszText : L"(null)";
    }
    helpCalls().push_back(call);
    return nullptr;
}

inline HINSTANCE WINAPI recordShell(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR params, LPCWSTR, INT show)
{
    shellCalls().push_back({verb ? verb : L"(null)", file ? file : L"(null)", params != nullptr, show});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}

// Replaces HTML Help and the shell by the recorders for its lifetime.
class RecordHelp {
public:
    RecordHelp()
    {
        helpCalls().clear();
        shellCalls().clear();
        m_help = MAV::htmlHelpSet(&recordHelp);
        m_shell = MAV::shellExecuteSet(&recordShell);
    }
    ~RecordHelp()
    {
        MAV::htmlHelpSet(m_help);
        MAV::shellExecuteSet(m_shell);
    }
    RecordHelp(const RecordHelp&) = delete;
    RecordHelp& operator=(const RecordHelp&) = delete;

private:
    MAV::HtmlHelpFcn m_help;
    MAV::ShellExecuteFcn m_shell;
};

// Installs a message callback for its lifetime and puts the previous one back.
class ScopedMsgFcn {
public:
    explicit ScopedMsgFcn(CMavDlg::MsgFcn fcn) : m_previous(CMavDlg::SetMsgCallBack(fcn)) {}
    ~ScopedMsgFcn() { CMavDlg::SetMsgCallBack(m_previous); }
    ScopedMsgFcn(const ScopedMsgFcn&) = delete;
    ScopedMsgFcn& operator=(const ScopedMsgFcn&) = delete;

private:
    CMavDlg::MsgFcn m_previous;
};

// While alive, the first top-level dialog window activated on this thread is handed to act (it reads what it
// needs and posts the command that closes it). A thread timer ends a modal loop that never showed a window, so
// no test waits forever: after about five seconds it posts WM_QUIT, which every modal loop passes on.
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(HWND)> act)
    {
        s_act = std::move(act);
        s_done = false;
        s_hook = ::SetWindowsHookExW(WH_CBT, &ModalDriver::cbt, nullptr, ::GetCurrentThreadId());
        s_ticks = 0;
        m_timer = ::SetTimer(nullptr, 0, 50, &ModalDriver::watchdog);
    }
    ~ModalDriver()
    {
        ::UnhookWindowsHookEx(s_hook);
        ::KillTimer(nullptr, m_timer);
        // A WM_QUIT the watchdog posted (and a modal loop passed on) must not end the test program's next loop.
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        s_act = nullptr;
    }
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    bool acted() const { return s_done; }
    bool timedOut() const { return s_ticks > 100; }

private:
    static LRESULT CALLBACK cbt(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_ACTIVATE && !s_done) {
            HWND h = reinterpret_cast<HWND>(wParam);
            wchar_t cls[16] = {};
            ::GetClassNameW(h, cls, 16);
            if (std::wstring(cls) == L"#32770") {
                s_pending = h;
                // Act once the window has finished coming up, from inside its own modal loop.
                ::PostMessageW(h, WM_NULL, 0, 0);
                ::SetTimer(nullptr, 0, 1, &ModalDriver::actSoon);
            }
        }
        return ::CallNextHookEx(s_hook, code, wParam, lParam);
    }
    static void CALLBACK actSoon(HWND, UINT, UINT_PTR id, DWORD)
    {
        ::KillTimer(nullptr, id);
        if (s_done || !s_pending)
            return;
        s_done = true;
        if (s_act)
            s_act(s_pending);
    }
    static void CALLBACK watchdog(HWND, UINT, UINT_PTR, DWORD)
    {
        if (++s_ticks == 100)
            ::PostQuitMessage(0);
    }

    UINT_PTR m_timer = 0;
    static inline HHOOK s_hook = nullptr;
    static inline HWND s_pending = nullptr;
    static inline bool s_done = false;
    static inline int s_ticks = 0;
    static inline std::function<void(HWND)> s_act;
};

inline std::wstring windowText(HWND h)
{
    wchar_t buf[512] = {};
    ::GetWindowTextW(h, buf, 512);
    return buf;
}

inline std::wstring itemText(HWND dialog, int id)
{
    return windowText(::GetDlgItem(dialog, id));
}

// The text of a message box: its static control 0xFFFF.
inline std::wstring messageBoxText(HWND box)
{
    return itemText(box, 0xFFFF);
}

// A key below HKEY_CURRENT_USER that the test creates if missing and removes again when it created it.
class EnsureKey {
public:
    explicit EnsureKey(const std::wstring& path) : m_path(path)
    {
        HKEY key = nullptr;
        DWORD disposition = 0;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_READ, nullptr, &key,
                              &disposition) == ERROR_SUCCESS) {
            m_created = disposition == REG_CREATED_NEW_KEY;
            ::RegCloseKey(key);
        }
    }
    ~EnsureKey()
    {
        if (m_created)
            ::RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
    }
    EnsureKey(const EnsureKey&) = delete;
    EnsureKey& operator=(const EnsureKey&) = delete;

private:
    std::wstring m_path;
    bool m_created = false;
};

} // namespace uitest
