// The material tree scene: MAV::dlgMatTree with the drawing's materials and names beside the labels, both roots
// expanded and a library material selected, in German and English.
#include "scene_mattree.h"

#include <windows.h>

#include <commctrl.h>

#include "dialogs/CMavMatTreeDlg.h"
#include "resource.h"
#include "scene_modal.h"

namespace mavdemo {

bool runMatTreeScene(const std::wstring& outDir)
{
    bool ok = true;
    for (const wchar_t* lang : {L"de", L"en"}) {
        MAV::DlgEnvMatTree_st env;
        env.country = lang;
        env.hWndParent = nullptr;
        env.drawingMaterials = true;
        env.namesBesideLabels = true;
        CMavString material(L"EICHE");
        ok = snapModal([&] { MAV::dlgMatTree(env, material); },
                       [](HWND dialog) {
                           // A larger window shows more of the tree; the dialog lays itself out again.
                           SetWindowPos(dialog, nullptr, 0, 0, 420, 480, SWP_NOMOVE | SWP_NOZORDER);
                           HWND tree = GetDlgItem(dialog, IDC_MAT_TREE);
                           for (HTREEITEM root = TreeView_GetRoot(tree); root;
                                root = TreeView_GetNextSibling(tree, root))
                               TreeView_Expand(tree, root, TVE_EXPAND);
                           TreeView_EnsureVisible(tree, TreeView_GetSelection(tree));
                       },
                       outDir + L"\\mattree_" + lang + L".png") &&
             ok;
    }
    return ok;
}

} // namespace mavdemo
