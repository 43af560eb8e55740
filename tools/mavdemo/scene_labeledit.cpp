// The label edit scene: MAV::dlgLabelEdit runs modally; a timer inside its loop arranges and photographs the
// dialog, opens the context menu of the selected row as a right click would, photographs dialog and menu together
// and cancels.
#include "scene_labeledit.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "dialogs/CMavLabelEdit.h"
#include "png_write.h"
#include "scene_modal.h"
#include "resource.h"

namespace mavdemo {
namespace {

struct Shot {
    std::wstring dir;
    std::wstring lang; // the dialog's language, also the files' suffix
    int step = 0;
    int ticks = 0;
    bool plain = false, menu = false;
    HWND dlg = nullptr;
};
Shot* g_shot = nullptr;


void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
{
    Shot* s = g_shot;
    if (!s)
        return;
    if (++s->ticks > 200) { // ten seconds: give up rather than wait forever
        EndMenu();
        if (s->dlg)
            PostMessageW(s->dlg, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    if (s->step == 0) {
        s->dlg = dialogWith(IDC_LABEL_LIST);
        if (!s->dlg)
            return;
        SetWindowPos(s->dlg, HWND_TOP, 60, 60, 460, 300, SWP_SHOWWINDOW);
        SetForegroundWindow(s->dlg);
        RedrawWindow(s->dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        s->step = 1;
    } else if (s->step == 1) {
        RECT r{};
        GetWindowRect(s->dlg, &r);
        s->plain = saveScreenAsPng(r, s->dir + L"\\label_edit_" + s->lang + L".png");
        HWND list = GetDlgItem(s->dlg, IDC_LABEL_LIST);
        RECT row{};
        row.left = LVIR_BOUNDS;
        SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
        POINT at{row.left + 160, (row.top + row.bottom) / 2};
        ClientToScreen(list, &at);
        PostMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(at.x, at.y));
        s->step = 2;
    } else if (s->step == 2) {
        HWND menu = FindWindowW(L"#32768", nullptr);
        if (!menu || !IsWindowVisible(menu))
            return;
        RECT r{}, m{};
        GetWindowRect(s->dlg, &r);
        GetWindowRect(menu, &m);
        r.right = std::max(r.right, m.right);
        r.bottom = std::max(r.bottom, m.bottom);
        s->menu = saveScreenAsPng(r, s->dir + L"\\label_edit_menu_" + s->lang + L".png");
        EndMenu();
        PostMessageW(s->dlg, WM_COMMAND, IDCANCEL, 0);
        s->step = 3;
    }
}

} // namespace

// The dialog in German and in English, each with the same label of three languages.
bool runLabelEditScene(const std::wstring& outDir)
{
    bool ok = true;
    for (const wchar_t* lang : {L"de", L"en"}) {
        Shot shot;
        shot.dir = outDir;
        shot.lang = lang;
        g_shot = &shot;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, &tick);
        MAV::DlgEnv_st env;
        env.country = lang;
        CMavString label;
        MAV::dlgLabelEdit(env, label, 1,
                          L"\\de=T\u00fcr mit\nGlasf\u00fcllung\\en=Door with glass panel\\fr=Porte vitr\u00e9e", lang,
                          nullptr);
        KillTimer(nullptr, timer);
        g_shot = nullptr;
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        if (!shot.plain || !shot.menu)
            std::fprintf(stderr, "mavdemo: the label edit dialog (%ls) was not photographed (%d, %d)\n", lang,
                         shot.plain, shot.menu);
        ok = ok && shot.plain && shot.menu;
    }
    return ok;
}

} // namespace mavdemo
