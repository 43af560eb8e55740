// Helpers of the ready-made dialog tests: a driver that plays a user's steps inside a dialog's modal loop, one
// step per timer tick (so the loop dispatches what a step posted before the next one looks), and a scoped
// material library for tests that need their own materials.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "data/materials.h"

namespace dlgtest {

// One driver at a time: a new one takes over from any still alive. Once the first dialog (class "#32770")
// activated on this thread is shown, each timer tick runs the next step with that dialog's window. Steps find
// nested dialogs themselves (GetActiveWindow). After the last step, or when no step can run for two seconds,
// the active dialog is cancelled and WM_QUIT ends any modal loop left, so no test waits forever.
class Steps {
public:
    using Step = std::function<void(HWND)>;
    explicit Steps(std::vector<Step> steps)
    {
        s_steps = std::move(steps);
        s_next = 0;
        s_dialog = nullptr;
        s_ticks = 0;
        s_timedOut = false;
        m_hook = ::SetWindowsHookExW(WH_CBT, &cbt, nullptr, ::GetCurrentThreadId());
        m_timer = ::SetTimer(nullptr, 0, 20, &tick);
    }
    ~Steps()
    {
        ::UnhookWindowsHookEx(m_hook);
        ::KillTimer(nullptr, m_timer);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    Steps(const Steps&) = delete;
    Steps& operator=(const Steps&) = delete;
    // True when every step ran and nothing had to be cancelled.
    static bool done() { return s_next == s_steps.size() && !s_timedOut; }

private:
    static LRESULT CALLBACK cbt(int code, WPARAM wParam, LPARAM lParam)
    {
        wchar_t cls[16] = {};
        if (code == HCBT_ACTIVATE && !s_dialog && ::GetClassNameW(reinterpret_cast<HWND>(wParam), cls, 16) &&
            std::wstring(cls) == L"#32770")
            s_dialog = reinterpret_cast<HWND>(wParam);
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (s_dialog && ::IsWindowVisible(s_dialog) && s_next < s_steps.size()) {
            const size_t current = s_next++;
            s_steps[current](s_dialog);
        } else if (++s_ticks == 100) {
            s_timedOut = true;
            HWND active = ::GetActiveWindow();
            if (active)
                ::PostMessageW(active, WM_COMMAND, IDCANCEL, 0);
            ::PostQuitMessage(0);
        }
    }
    UINT_PTR m_timer = 0;
    HHOOK m_hook = nullptr;
    static inline HWND s_dialog = nullptr;
    static inline std::vector<Step> s_steps;
    static inline size_t s_next = 0;
    static inline int s_ticks = 0;
    static inline bool s_timedOut = false;
};

// The material library replaced by text in the data text form for the test's lifetime.
struct ScopedMaterials {
    explicit ScopedMaterials(const char* text)
    {
        CMavDataItem* d = CMavMatMgr::data();
        d->clear();
        d->makeDirectory();
        CMavMatMgr::loadText(text, std::char_traits<char>::length(text));
    }
    ~ScopedMaterials() { CMavMatMgr::reset(); }
};

inline std::wstring text(HWND h)
{
    wchar_t buf[512] = {};
    ::GetWindowTextW(h, buf, 512);
    return buf;
}

// Types into an edit as a user does: focus it (everything selected), type the characters, leave it for next.
inline void typeInto(HWND edit, const std::wstring& chars, HWND next)
{
    ::SetFocus(edit);
    for (wchar_t c : chars)
        ::SendMessageW(edit, WM_CHAR, c, 1);
    ::SetFocus(next);
}

inline void click(HWND dialog, int id) { ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

} // namespace dlgtest
