// The ready-made dialogs open modally through the library's own entry points, as a host opens them; a CBT hook
// notes the dialog when it is activated and a thread timer acts on it from inside the modal loop.
#include "scene_modal.h"

#include <cstdio>

#include "afx/afxwin.h"
#include "png_write.h"

namespace mavdemo {
namespace {

struct Shot {
    HWND dialog = nullptr;
    bool done = false;
    int prepared = 0; // ticks since it was prepared and redrawn; photographed after a few, once the screen shows it
    bool saved = false;
    int ticks = 0;
    const std::function<void(HWND)>* prepare = nullptr;
    const std::wstring* path = nullptr;
    HHOOK hook = nullptr;
};
Shot g_shot;
constexpr int kSettleTicks = 4;

LRESULT CALLBACK onCbt(int code, WPARAM wParam, LPARAM lParam)
{
    wchar_t cls[16] = {};
    if (code == HCBT_ACTIVATE && !g_shot.dialog && GetClassNameW(reinterpret_cast<HWND>(wParam), cls, 16) &&
        std::wstring(cls) == L"#32770")
        g_shot.dialog = reinterpret_cast<HWND>(wParam);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool saveWindow(HWND wnd, const std::wstring& path)
{
    RECT r{};
    GetWindowRect(wnd, &r);
    return saveScreenAsPng(r, path);
}

void CALLBACK onTick(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_shot.done)
        return;
    if (g_shot.dialog && IsWindowVisible(g_shot.dialog) && !g_shot.prepared) {
        g_shot.prepared = 1;
        (*g_shot.prepare)(g_shot.dialog);
        RedrawWindow(g_shot.dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    } else if (g_shot.prepared && ++g_shot.prepared < kSettleTicks) {
        // Wine hands a window's pixels to the X server some time after they are painted: a grab right after a
        // redraw can show child windows still blank, so the photograph waits a few quiet ticks.
    } else if (g_shot.prepared) {
        g_shot.done = true;
        g_shot.saved = saveWindow(g_shot.dialog, *g_shot.path);
        PostMessageW(g_shot.dialog, WM_COMMAND, IDCANCEL, 0);
    } else if (++g_shot.ticks == 200) {
        g_shot.done = true;
        if (HWND active = GetActiveWindow())
            PostMessageW(active, WM_COMMAND, IDCANCEL, 0);
    }
}

} // namespace

void pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!AfxPreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

HWND dialogWith(int id)
{
    struct Find {
        int id;
        HWND found;
    } find{id, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM lp) -> BOOL {
            auto* f = reinterpret_cast<Find*>(lp);
            if (IsWindowVisible(h) && GetDlgItem(h, f->id)) {
                f->found = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&find));
    return find.found;
}

bool snapModal(const std::function<void()>& open, const std::function<void(HWND)>& prepare,
               const std::wstring& path)
{
    g_shot = Shot{};
    g_shot.prepare = &prepare;
    g_shot.path = &path;
    g_shot.hook = SetWindowsHookExW(WH_CBT, &onCbt, nullptr, GetCurrentThreadId());
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &onTick);
    open();
    KillTimer(nullptr, timer);
    UnhookWindowsHookEx(g_shot.hook);
    return g_shot.saved;
}

} // namespace mavdemo
