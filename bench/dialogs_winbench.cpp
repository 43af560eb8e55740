// Speed of the ready-made dialogs where a user would feel it: building the material tree when the dialog opens,
// and recomputing the outline preview after a parameter is typed.
//
// Tree: 5,000 materials in chains of four (each material with sub-materials three deep), so the tree holds
// 12,500 items; init is timed without and with the edge restriction (which searches the sub-materials), each time
// into a new, empty control, as when the dialog opens. The baseline inserts the same texts with bare
// TVM_INSERTITEM calls and no sorting. The tree inserts an item's children when it is first expanded, so init
// inserts the root materials and the path to the initial material; a further case walks the whole tree after init
// (every item inserted, as a user opening every branch would). Preview: the outline dialog, opened modeless on the
// shipped library, gets a new width typed into its first parameter and leaves the field; the time until the
// preview has been recomputed and painted is measured. The baseline is MAV::g_outline alone. Each case runs
// several times and the best time counts.
//
// Usage: dialogs_winbench.exe [repetitions]   (default 5); needs a display.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "afx/CWinApp.h"
#include "data/CMavDataItem.h"
#include "data/materials.h"
#include "data/outlines.h"
#include "dialogs/CMavMatTreeCtrl.h"
#include "dialogs/CMavOutlineDlg.h"
#include "resource.h"

namespace {

// The best time of `run` over reps runs, each after an untimed `prepare`.
double bestOf(int reps, const std::function<void()>& prepare, const std::function<void()>& run)
{
    double best = 1e30;
    for (int i = 0; i < reps; ++i) {
        prepare();
        const auto t0 = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double> d = std::chrono::steady_clock::now() - t0;
        best = std::min(best, d.count());
    }
    return best;
}

void pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::string materials()
{
    std::string text = "LIBRARY {\n";
    char buf[256];
    for (int chain = 0; chain < 1250; ++chain) {
        for (int level = 0; level < 4; ++level) {
            std::snprintf(buf, sizeof buf, " M%04d_%d { LABEL = text \"\\\\de=Material %04d-%d\\\\en=Material %04d-%d\"",
                          chain, level, (chain * 7919) % 10000, level, chain, level);
            text += buf;
            if (level < 3) {
                std::snprintf(buf, sizeof buf, " SUBS { M%04d_%d = none }", chain, level + 1);
                text += buf;
            } else {
                text += " EDGE { THICK = real 2 } EDGES { ABS = none }";
            }
            text += " }\n";
        }
    }
    return text + "}\n";
}

} // namespace

int main(int argc, char** argv)
{
    const int reps = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);

    const std::string text = materials();
    CMavMatMgr::data()->clear();
    CMavMatMgr::data()->makeDirectory();
    CMavMatMgr::loadText(text.data(), text.size());

    HWND host = CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP, 0, 0, 400, 600, nullptr, nullptr, nullptr, nullptr);
    // A dialog that opens builds its tree into a new, empty control of a new dialog: each timed build gets one,
    // made beforehand (the previous one, with all it remembers, goes untimed, as when its dialog closed).
    std::unique_ptr<CMavMatTreeCtrl> control;
    const auto fresh = [&] {
        if (control && control->m_hWnd)
            control->DestroyWindow();
        control = std::make_unique<CMavMatTreeCtrl>();
        control->Create(WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT,
                        RECT{0, 0, 400, 600}, CWnd::FromHandle(host), 1090);
    };
    const auto tree = [&control]() -> CMavMatTreeCtrl& { return *control; };
    // The host stays hidden: a dialog builds its tree in WM_INITDIALOG, before it is shown.
    const CMavArrayTempl<CMavString> none;
    const double plain = bestOf(reps, fresh, [&] { tree().init(0, L"M0625_2", none); });
    const int items = static_cast<int>(tree().GetCount());
    const double edge = bestOf(reps, fresh, [&] { tree().init(4, L"M0625_2", none); });
    std::function<void(HTREEITEM)> walk = [&](HTREEITEM item) {
        for (HTREEITEM c = tree().GetChildItem(item); c; c = tree().GetNextSiblingItem(c))
            walk(c);
    };
    const double whole = bestOf(reps, fresh, [&] {
        tree().init(0, L"M0625_2", none);
        for (HTREEITEM r = tree().GetRootItem(); r; r = tree().GetNextSiblingItem(r))
            walk(r);
    });
    const int allItems = static_cast<int>(tree().GetCount());

    // The same texts, inserted bare.
    std::vector<std::wstring> texts;
    for (int chain = 0; chain < 1250; ++chain)
        for (int level = 0; level < 4; ++level)
            texts.push_back(L"Material " + std::to_wstring(chain) + L"-" + std::to_wstring(level));
    const double bare = bestOf(reps, fresh, [&] {
        tree().SendMessage(WM_SETREDRAW, FALSE);
        HTREEITEM root = tree().InsertItem(L"Bibliothek");
        for (int chain = 0; chain < 1250; ++chain)
            for (int level = 0; level < 4; ++level) {
                HTREEITEM parent = root;
                for (int l = level; l < 4; ++l)
                    parent = tree().InsertItem(texts[static_cast<size_t>(chain * 4 + l)].c_str(), parent);
            }
        tree().SendMessage(WM_SETREDRAW, TRUE);
    });
    std::printf("material tree, %d items (%d at open): init %8.3f ms   with edge search %8.3f ms   bare inserts of "
                "all %8.3f ms   ratio %5.2f / %5.2f\n",
                allItems, items, plain * 1e3, edge * 1e3, bare * 1e3, plain / bare, edge / bare);
    std::printf("material tree, init and every branch opened: %8.3f ms   ratio %5.2f\n", whole * 1e3, whole / bare);
    control->DestroyWindow();
    control.reset();
    DestroyWindow(host);
    CMavMatMgr::reset();

    // The outline preview after a typed parameter.
    CMavDataItem library;
    library.makeDirectory();
    mavOutlineInit(&library);
    CMavOutlineDlg dialog;
    dialog.m_pLib = &library;
    dialog.m_nCode = 6;
    dialog.m_nRange = 3;
    dialog.Create(CMavOutlineDlg::IDD, nullptr);
    dialog.ShowWindow(SW_SHOWNOACTIVATE);
    pump();
    HWND width = dialog.GetDlgItem(1070)->m_hWnd;
    HWND other = dialog.GetDlgItem(1071)->m_hWnd;
    int typed = 900;
    const double preview = bestOf(reps, [] {}, [&] {
        SetFocus(width);
        const std::wstring value = std::to_wstring(++typed);
        for (wchar_t c : value)
            SendMessageW(width, WM_CHAR, c, 1);
        SetFocus(other);
        dialog.preview().UpdateWindow();
    });
    CMavArrayTempl<double> parms{1000, 800, 300, 300};
    const double outline = bestOf(reps, [] {}, [&] {
        for (int i = 0; i < 100; ++i)
            MAV::g_outline(6, CMavVector3d(), parms);
    }) / 100;
    std::printf("outline preview after typing: %8.3f ms   g_outline alone %8.4f ms   ratio %7.1f   (width now %g)\n",
                preview * 1e3, outline * 1e3, preview / outline, dialog.m_parms.len() ? dialog.m_parms[0] : -1.0);
    dialog.DestroyWindow();
    return 0;
}
