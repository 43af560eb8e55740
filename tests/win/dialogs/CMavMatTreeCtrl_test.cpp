// The material tree and its dialog on a material set built for the test: the roots and children for each flag,
// images, OK following the selection under edge and physical restrictions, a name listed twice, the initial
// material, and libraries whose sub-materials form cycles or long chains.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/CMavMatTreeDlg.h"
#include "dialogs_test_support.h"
#include "resource.h"

namespace {

using dlgtest::Steps;

// BOARD_A has edge data two levels below it (EDGE_MID, then EDGE_DEEP); KID takes its physical data from DENSE,
// ORPHAN from a parent that does not exist; TWIN is listed as a material and below BOARD_A. Labels start with
// letters that fix the sort order.
const char* const kMaterials = R"(
LIBRARY {
  BOARD_A { LABEL = text "\\de=A Platte\\en=A Board" SUBS { EDGE_MID = none TWIN = none } }
  EDGE_MID { LABEL = text "\\de=B Mitte\\en=B Middle" SUBS { EDGE_DEEP = none } }
  EDGE_DEEP { LABEL = text "\\de=C Kante\\en=C Edge" EDGE { THICK = real 2 } EDGES { ABS_1 = none } }
  EDGE_BARE { LABEL = text "\\de=C2 Kante leer\\en=C2 Bare edge" EDGE { THICK = real 1 } }
  DENSE { LABEL = text "\\de=D Dicht\\en=D Dense" PHYS { DENSITY = real 700 MU = real 50 } SUBS { KID = none ORPHAN = none } }
  KID { LABEL = text "\\de=E Kind\\en=E Kid" PARENT = text "DENSE" }
  ORPHAN { LABEL = text "\\de=E2 Waise\\en=E2 Orphan" PARENT = text "NOWHERE" }
  SPACE { LABEL = text "\\de=F Raum\\en=F Space" }
  TWIN { LABEL = text "\\de=G Zwilling\\en=G Twin" }
  SYSTEM { LABEL = text "\\de=Z System\\en=Z System" }
}
DRAWING {
  DRAW_X { LABEL = text "\\de=H Zeichnung\\en=H Drawing" }
}
)";

// The tree as text: each item's material name (a root's text) with its image, children in braces.
std::wstring dump(CMavMatTreeCtrl& tree, HTREEITEM item)
{
    std::wstring out;
    for (; item; item = tree.GetNextSiblingItem(item)) {
        if (!out.empty())
            out += L",";
        const CMavString* name = tree.itemMat(item);
        int image = -1, selected = -1;
        tree.GetItemImage(item, image, selected);
        out += name ? std::wstring(name->c_str()) + L":" + std::to_wstring(image)
                    : std::wstring(tree.GetItemText(item).GetString());
        if (HTREEITEM child = tree.GetChildItem(item))
            out += L"{" + dump(tree, child) + L"}";
    }
    return out;
}

CMavMatTreeDlg* dialogOf(HWND d) { return static_cast<CMavMatTreeDlg*>(CWnd::FromHandlePermanent(d)); }

MAV::DlgEnvMatTree_st env(const wchar_t* country)
{
    MAV::DlgEnvMatTree_st e;
    e.country = country;
    e.hWndParent = nullptr;
    return e;
}

// Selects the first item of a material as a user's click would (the tree notifies the dialog).
void pick(CMavMatTreeCtrl& tree, const wchar_t* name) { ASSERT_TRUE(tree.selectMat(name)) << name; }

TEST(MaterialTree, RootsAndChildrenPerFlag)
{
    dlgtest::ScopedMaterials materials(kMaterials);
    const CMavArrayTempl<CMavString> density{CMavString(L"DENSITY")}, mu{CMavString(L"MU")},
        missing{CMavString(L"LAMBDA")};
    struct Case {
        unsigned long flags;
        const CMavArrayTempl<CMavString>* phys;
        const wchar_t* tree;
    } cases[] = {
        {0, &density,
         L"Bibliothek{BOARD_A:1{EDGE_MID:1{EDGE_DEEP:1},TWIN:1},EDGE_MID:1{EDGE_DEEP:1},EDGE_DEEP:1,EDGE_BARE:1,"
         L"DENSE:1{KID:1,ORPHAN:1},KID:1,ORPHAN:1,SPACE:1,TWIN:1}"},
        {1 | 8 | 16, &density,
         L"Bibliothek{SYSTEM:1,BOARD_A:1{EDGE_MID:1{EDGE_DEEP:1},TWIN:1},EDGE_MID:1{EDGE_DEEP:1},EDGE_DEEP:1,"
         L"EDGE_BARE:1,DENSE:1{KID:1,ORPHAN:1},KID:1,ORPHAN:1,TWIN:1},Zeichnung{DRAW_X:2}"},
        {4, &density,
         L"Bibliothek{BOARD_A:0{EDGE_MID:0{EDGE_DEEP:1},TWIN:0},EDGE_MID:0{EDGE_DEEP:1},EDGE_DEEP:1,EDGE_BARE:1}"},
        {32, &density, L"Bibliothek{DENSE:1{KID:1,ORPHAN:1}}"},
        {32 | 1, &mu, L"Bibliothek{DENSE:1{KID:1,ORPHAN:1}},Zeichnung"},
        {32, &missing, L"Bibliothek"},
        {4 | 8, &density,
         L"Bibliothek{SYSTEM:0,BOARD_A:0{EDGE_MID:0{EDGE_DEEP:1},TWIN:0},EDGE_MID:0{EDGE_DEEP:1},EDGE_DEEP:1,"
         L"EDGE_BARE:1}"},
    };
    std::wstring names;
    Steps steps({[&](HWND d) {
        CMavMatTreeCtrl& tree = dialogOf(d)->tree();
        for (const Case& c : cases) {
            tree.init(c.flags, L"", *c.phys);
            EXPECT_EQ(dump(tree, tree.GetRootItem()), c.tree) << "flags " << c.flags;
        }
        // Names beside labels, three spaces apart; labels alone otherwise.
        tree.init(2, L"", density);
        names = tree.GetItemText(tree.GetChildItem(tree.GetRootItem())).GetString();
        tree.init(0, L"", density);
        names += L"|" + std::wstring(tree.GetItemText(tree.GetChildItem(tree.GetRootItem())).GetString());
        dlgtest::click(d, IDCANCEL);
    }});
    CMavString chosen(L"UNCHANGED");
    EXPECT_EQ(MAV::dlgMatTree(env(L"de"), chosen), 0);
    EXPECT_TRUE(Steps::done());
    EXPECT_EQ(std::wstring(chosen.c_str()), L"UNCHANGED");
    EXPECT_EQ(names, L"BOARD_A   A Platte|A Platte");
}

// OK follows the selection: roots never, materials without the asked-for data not, physical data followed up the
// parent chain. The chosen name is the last selection that allowed OK.
TEST(MaterialTree, OkFollowsSelection)
{
    dlgtest::ScopedMaterials materials(kMaterials);
    struct Pick {
        const wchar_t* name; // null: the root
        bool ok;
    };
    struct Case {
        std::vector<CMavString> keywords;
        std::vector<Pick> picks;
        const wchar_t* result;
    } cases[] = {
        {{CMavString(L"EDGE"), CMavString(L"PHYS")},
         {{nullptr, false}, {L"EDGE_BARE", false}, {L"BOARD_A", false}, {L"EDGE_DEEP", true}},
         L"EDGE_DEEP"},
        {{CMavString(L"PHYS")}, {{L"KID", true}, {L"ORPHAN", false}, {L"DENSE", true}}, L"DENSE"},
        {{CMavString(L"PHYS"), CMavString(L"SYSTEM")}, {{L"ORPHAN", false}, {L"SYSTEM", true}}, L"SYSTEM"},
        {{}, {{L"SPACE", true}, {L"ORPHAN", true}}, L"ORPHAN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::wstring(c.result));
        MAV::DlgEnvMatTree_st e = env(L"en");
        for (const CMavString& k : c.keywords)
            e.keywords.append(k);
        e.physNames.append(CMavString(L"density")); // upper-cased by the dialog
        std::vector<bool> seen;
        Steps steps({[&](HWND d) {
            CMavMatTreeDlg* dlg = dialogOf(d);
            CMavMatTreeCtrl& tree = dlg->tree();
            for (const Pick& p : c.picks) {
                if (p.name)
                    pick(tree, p.name);
                else
                    tree.SelectItem(tree.GetRootItem());
                seen.push_back(::IsWindowEnabled(::GetDlgItem(d, IDOK)) != FALSE);
                EXPECT_EQ(seen.back(), p.ok) << (p.name ? p.name : L"root");
            }
            dlgtest::click(d, IDOK);
        }});
        CMavString chosen;
        const int result = MAV::dlgMatTree(e, chosen);
        EXPECT_EQ(result, 1);
        EXPECT_EQ(std::wstring(chosen.c_str()), c.result);
        EXPECT_EQ(seen.size(), c.picks.size());
    }
}

TEST(MaterialTree, InitialMaterialNameTwiceAndDoubleClick)
{
    dlgtest::ScopedMaterials materials(kMaterials);
    std::wstring initialParent, rootCaption, title;
    bool okAtStart = true, twinIsFirstHandle = false;
    Steps steps({[&](HWND d) {
                     CMavMatTreeCtrl& tree = dialogOf(d)->tree();
                     title = dlgtest::text(d);
                     // "edge_deep" is first built below BOARD_A, EDGE_MID: that item is selected.
                     CMavString sel;
                     EXPECT_TRUE(tree.getSelMat(sel));
                     EXPECT_EQ(std::wstring(sel.c_str()), L"EDGE_DEEP");
                     initialParent = tree.itemMat(tree.GetParentItem(tree.GetSelectedItem()))->c_str();
                     // TWIN: below BOARD_A and as a material of its own; the item with the lower handle wins.
                     EXPECT_TRUE(tree.selectMat(L"TWIN"));
                     const HTREEITEM chosen = tree.GetSelectedItem();
                     HTREEITEM other = nullptr;
                     for (HTREEITEM r = tree.GetChildItem(tree.GetRootItem()); r; r = tree.GetNextSiblingItem(r))
                         if (r != chosen && tree.itemMat(r) && *tree.itemMat(r) == CMavString(L"TWIN"))
                             other = r;
                     for (HTREEITEM c = tree.GetChildItem(tree.GetChildItem(tree.GetRootItem())); c;
                          c = tree.GetNextSiblingItem(c))
                         if (c != chosen && tree.itemMat(c) && *tree.itemMat(c) == CMavString(L"TWIN"))
                             other = c;
                     ASSERT_NE(other, nullptr);
                     twinIsFirstHandle = std::less<HTREEITEM>()(chosen, other);
                     EXPECT_FALSE(tree.selectMat(L"NOT_THERE"));
                     tree.SelectItem(tree.GetRootItem());
                     EXPECT_FALSE(tree.getSelMat(sel));
                     rootCaption = tree.GetItemText(tree.GetRootItem()).GetString();
                     pick(tree, L"SPACE");
                 },
                 [&](HWND d) {
                     // A double click on the selected material confirms it.
                     CMavMatTreeCtrl& tree = dialogOf(d)->tree();
                     RECT r{};
                     tree.GetItemRect(tree.GetSelectedItem(), &r, TRUE);
                     ::SendMessageW(tree.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON,
                                    MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
                 }});
    MAV::DlgEnvMatTree_st e = env(L"en");
    CMavString chosen(L"edge_deep");
    EXPECT_EQ(MAV::dlgMatTree(e, chosen), 1);
    EXPECT_TRUE(Steps::done());
    EXPECT_EQ(std::wstring(chosen.c_str()), L"SPACE");
    EXPECT_EQ(initialParent, L"EDGE_MID");
    EXPECT_TRUE(twinIsFirstHandle);
    EXPECT_EQ(rootCaption, L"Library");
    EXPECT_EQ(title, L"Material selection");

    // An initial material that is not in the tree leaves the root selected and OK disabled.
    Steps again({[&](HWND d) {
        okAtStart = ::IsWindowEnabled(::GetDlgItem(d, IDOK)) != FALSE;
        EXPECT_EQ(dialogOf(d)->tree().GetSelectedItem(), dialogOf(d)->tree().GetRootItem());
        dlgtest::click(d, IDCANCEL);
    }});
    CMavString none(L"UNKNOWN");
    EXPECT_EQ(MAV::dlgMatTree(env(L"de"), none), 0);
    EXPECT_FALSE(okAtStart);
}

// Sub-materials that lead back to a material end the branch there; a chain longer than the nesting limit is cut.
TEST(MaterialTree, CyclesAndLongChainsEnd)
{
    std::string text = "LIBRARY {\n CYC_A { LABEL = text \"A\" SUBS { CYC_B = none } }\n"
                       " CYC_B { LABEL = text \"B\" SUBS { CYC_A = none } }\n"
                       " SELF { LABEL = text \"C\" SUBS { SELF = none } }\n";
    for (int i = 0; i < 40; ++i)
        text += " D" + std::to_string(100 + i) + " { LABEL = text \"D" + std::to_string(100 + i) +
                "\" SUBS { D" + std::to_string(101 + i) + " = none } }\n";
    text += "}\n";
    dlgtest::ScopedMaterials materials(text.c_str());
    std::wstring withEdge, cycles;
    int depth = 0;
    Steps steps({[&](HWND d) {
        CMavMatTreeCtrl& tree = dialogOf(d)->tree();
        withEdge = dump(tree, tree.GetRootItem());
        tree.init(0, L"", CMavArrayTempl<CMavString>());
        HTREEITEM first = tree.GetChildItem(tree.GetRootItem());
        HTREEITEM second = tree.GetNextSiblingItem(first);
        HTREEITEM third = tree.GetNextSiblingItem(second);
        cycles.clear();
        for (HTREEITEM h : {first, second, third}) {
            cycles += std::wstring(tree.itemMat(h)->c_str()) + L"{";
            for (HTREEITEM c = tree.GetChildItem(h); c; c = tree.GetChildItem(c))
                cycles += std::wstring(tree.itemMat(c)->c_str()) + L"/";
            cycles += L"}";
        }
        // D100 heads the longest chain.
        HTREEITEM chain = tree.GetNextSiblingItem(third);
        EXPECT_EQ(std::wstring(tree.itemMat(chain)->c_str()), L"D100");
        for (HTREEITEM c = tree.GetChildItem(chain); c; c = tree.GetChildItem(c))
            ++depth;
        dlgtest::click(d, IDCANCEL);
    }});
    MAV::DlgEnvMatTree_st e = env(L"de");
    e.keywords.append(CMavString(L"EDGE"));
    CMavString chosen;
    EXPECT_EQ(MAV::dlgMatTree(e, chosen), 0);
    EXPECT_TRUE(Steps::done());
    EXPECT_EQ(withEdge, L"Bibliothek");
    EXPECT_EQ(cycles, L"CYC_A{CYC_B/}CYC_B{CYC_A/}SELF{}");
    EXPECT_EQ(depth, CMavMatTreeCtrl::kMaxDepth);
}

} // namespace
