// The hole pattern scene: a caller's pattern (drills along a rail and a slot given as its outline) is handed to
// MAV::dlgBgr; a timer inside the dialog's loop selects an element as a click would and photographs the dialog with
// its list and preview.
#include "scene_holeedit.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>

#include "data/CMavApp.h"
#include "data/CMavDataItem.h"
#include "data/config.h"
#include "data/messages.h"
#include "dialogs/dlgBgr.h"
#include "png_write.h"
#include "scene_modal.h"
#include "resource.h"

namespace mavdemo {
namespace {

struct Shot {
    std::wstring path;
    int step = 0, ticks = 0;
    bool saved = false;
    HWND dlg = nullptr;
};
Shot* g_shot = nullptr;

CMavDataKey key(const wchar_t* a) { return CMavDataKey().appendText(a); }
CMavDataKey key(const wchar_t* a, const wchar_t* b) { return CMavDataKey().appendText(a).appendText(b); }

void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
{
    Shot* s = g_shot;
    if (!s)
        return;
    if (++s->ticks > 200) {
        if (s->dlg)
            PostMessageW(s->dlg, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    if (s->step == 0) {
        s->dlg = dialogWith(IDC_HOLE_LIST);
        if (!s->dlg)
            return;
        SetWindowPos(s->dlg, HWND_TOP, 60, 60, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(s->dlg);
        HWND list = GetDlgItem(s->dlg, IDC_HOLE_LIST);
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&state));
        SetFocus(list);
        RedrawWindow(s->dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        s->step = 1;
    } else if (s->step == 1) {
        RECT r{};
        GetWindowRect(s->dlg, &r);
        s->saved = saveScreenAsPng(r, s->path);
        PostMessageW(s->dlg, WM_COMMAND, IDCANCEL, 0);
        s->step = 2;
    }
}

} // namespace

bool runHoleEditScene(const std::wstring& outDir)
{
    CMavDataDir item;
    item.setAt(key(L"", L"DRAW"), CMavString(L"S"));
    item.setAt(key(L"", L"HPNAME"), CMavString(L"ANSI31"));
    item.setAt(key(L"", L"HPSCALE"), 0.5);
    item.setAt(key(L"LABEL"), CMavString(L"Lochreihe 32"));
    const struct {
        const wchar_t* name;
        double x, y, dia, depth;
    } drills[] = {{L"B1", 37, 40, 5, 12}, {L"B2", 69, 40, 5, 12}, {L"B3", 101, 40, 8, 13},
                  {L"B4", 133, 40, 5, 12}, {L"B5", 165, 40, 5, 12}};
    for (const auto& d : drills) {
        CMavDataItem* e = item.makeDir(key(L"HOLE", d.name));
        e->setAt(key(L"MTX"), CMavMatrix3d::translation(CMavVector3d(d.x, d.y, 0)));
        e->setAt(key(L"GEN", L"TYPE"), CMavString(L"DRILL"));
        e->setAt(key(L"GEN", L"DIA"), d.dia);
        e->setAt(key(L"GEN", L"DEPTH"), d.depth);
    }
    // A slot: its outline stored in the element itself, drawn hatched.
    CMavVertexArray slot;
    slot.append(CMavPoint3d(60, 0, 0), CMavPoint3d(140, 0, 0));
    slot.appendTo(CMavPoint3d(140, 16, 0), 1.0);
    slot.appendTo(CMavPoint3d(60, 16, 0));
    slot.appendTo(CMavPoint3d(60, 0, 0), 1.0);
    CMavArrayTempl<CMavVertexArray> outlines;
    outlines.append(slot);
    CMavDataItem* n = item.makeDir(key(L"HOLE", L"N1"));
    n->setAt(key(L"MTX"), CMavMatrix3d());
    n->setAt(key(L"GEN"), outlines);

    const ads_name entity = {4711, 1};
    MAV::CDefaultApp::instance().entityPick(L"HOLE", entity);
    // The dialog takes the current language: once in German, once in English.
    const CMavString previous = MAV::msgLangSet(nullptr);
    bool saved = true;
    for (const wchar_t* lang : {L"de", L"en"}) {
        MAV::msgLangSet(lang);
        Shot shot;
        shot.path = outDir + L"\\hole_edit_" + lang + L".png";
        g_shot = &shot;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, &tick);
        CMavString element(L"B1");
        MAV::dlgBgr(MAV::DlgEnv_st(), element, &item, nullptr);
        KillTimer(nullptr, timer);
        g_shot = nullptr;
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        if (!shot.saved)
            std::fprintf(stderr, "mavdemo: the hole pattern dialog (%ls) was not photographed\n", lang);
        saved = saved && shot.saved;
    }
    MAV::msgLangSet(previous);
    MAV::CDefaultApp::instance().entityForget(L"HOLE");
    return saved;
}

} // namespace mavdemo
