// The material tree inserts an item's children when they are first needed: the tree opens with the root
// materials alone, and a user's expansion, the initial material and selectMat bring in what lies below them.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "dialogs/CMavMatTreeDlg.h"
#include "dialogs_test_support.h"

namespace {

// With the edge restriction BOARD and CORE are root materials; FOIL (no edge data) shows only below CORE, once
// below the root material CORE and once below BOARD's CORE.
const char* const kLibrary = R"(
LIBRARY {
  BOARD { LABEL = text "A Board" SUBS { CORE = none } }
  CORE { LABEL = text "B Core" EDGE { THICK = real 1 } EDGES { ABS = none } SUBS { FOIL = none PAPER = none } }
  FOIL { LABEL = text "C Foil" }
  PAPER { LABEL = text "D Paper" }
}
)";

std::wstring matOf(CMavMatTreeCtrl& tree, HTREEITEM item)
{
    const CMavString* name = tree.itemMat(item);
    return name ? name->c_str() : L"-";
}

TEST(MaterialTreeOnDemand, ChildrenArriveWhenNeeded)
{
    dlgtest::ScopedMaterials materials(kLibrary);
    int atOpen = -1, afterKey = -1;
    std::wstring initialPath, shownBelowCore, selected;
    bool expanded = false;
    dlgtest::Steps steps({[&](HWND d) {
        CMavMatTreeCtrl& tree = static_cast<CMavMatTreeDlg*>(CWnd::FromHandlePermanent(d))->tree();
        // The root materials and the path down to the initial material: BOARD, CORE, then BOARD's CORE and its
        // two children.
        atOpen = tree.insertedCount();
        for (HTREEITEM h = tree.GetSelectedItem(); h; h = tree.GetParentItem(h))
            initialPath = matOf(tree, h) + L"/" + initialPath;
        // The user opens the root material CORE with the right arrow key.
        const HTREEITEM board = tree.GetChildItem(tree.GetRootItem());
        const HTREEITEM core = tree.GetNextSiblingItem(board);
        tree.SelectItem(core);
        ::SendMessageW(tree.m_hWnd, WM_KEYDOWN, VK_RIGHT, 0);
        afterKey = tree.insertedCount();
        expanded = (tree.GetItemState(core, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
        for (HTREEITEM v = tree.GetNextItem(core, TVGN_NEXTVISIBLE); v && tree.GetParentItem(v) == core;
             v = tree.GetNextItem(v, TVGN_NEXTVISIBLE))
            shownBelowCore += matOf(tree, v) + L",";
        // Selecting PAPER by name picks one of its items, both now in the tree.
        CMavString name;
        EXPECT_TRUE(tree.selectMat(L"paper"));
        EXPECT_TRUE(tree.getSelMat(name));
        selected = name.c_str();
        dlgtest::click(d, IDCANCEL);
    }});
    MAV::DlgEnvMatTree_st env;
    env.country = L"en";
    env.hWndParent = nullptr;
    env.keywords.append(CMavString(L"EDGE"));
    CMavString chosen(L"foil");
    EXPECT_EQ(MAV::dlgMatTree(env, chosen), 0);
    EXPECT_TRUE(dlgtest::Steps::done());
    EXPECT_EQ(initialPath, L"-/BOARD/CORE/FOIL/");
    EXPECT_EQ(atOpen, 5);
    EXPECT_TRUE(expanded);
    EXPECT_EQ(shownBelowCore, L"FOIL,PAPER,");
    EXPECT_EQ(afterKey, 7);
    EXPECT_EQ(selected, L"PAPER");
}

} // namespace
