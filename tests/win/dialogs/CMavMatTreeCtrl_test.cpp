// The material tree and its dialog on a material set built for the test: the roots and children for each flag,
// images, OK following the selection under edge and physical restrictions, a name listed twice, the initial
// material, and libraries whose sub-materials form cycles or long chains.
#include "../ui/ui_test_support.h"
#include "data/materials.h"
#include "dialogs/CMavMatTreeDlg.h"

namespace {

using uitest::Script;

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

// The material library replaced by text in the data text form for the test's lifetime.
struct ScopedMaterials {
    explicit ScopedMaterials(const std::string& text)
    {
        CMavDataItem* d = CMavMatMgr::data();
        d->clear();
        d->makeDirectory();
        CMavMatMgr::loadText(text.c_str(), text.size());
    }
    ~ScopedMaterials() { CMavMatMgr::reset(); }
};

// The tree as text: each item's material name (a root's text) with its image, children in braces; "?" marks an
// item whose parameter is not its own handle (a material's) or 0 (a root's).
std::wstring dump(CMavMatTreeCtrl& tree, HTREEITEM item)
{
    std::wstring out;
    for (; item; item = tree.GetNextSiblingItem(item)) {
        const CMavString* name = tree.itemMat(item);
        int image = -1, selected = -1;
        tree.GetItemImage(item, image, selected);
        out += (out.empty() ? L"" : L",") + (name ? std::wstring(name->c_str()) + L":" + std::to_wstring(image)
                                                  : std::wstring(tree.GetItemText(item).GetString()));
        if (tree.GetItemData(item) != (name ? reinterpret_cast<DWORD_PTR>(item) : 0))
            out += L"?";
        if (HTREEITEM child = tree.GetChildItem(item))
            out += L"{" + dump(tree, child) + L"}";
    }
    return out;
}

std::wstring matOf(CMavMatTreeCtrl& tree, HTREEITEM item)
{
    const CMavString* name = tree.itemMat(item);
    return name ? name->c_str() : L"-";
}

CMavMatTreeCtrl& treeOf(HWND d) { return static_cast<CMavMatTreeDlg*>(CWnd::FromHandlePermanent(d))->tree(); }

MAV::DlgEnvMatTree_st env(const wchar_t* country, std::vector<const wchar_t*> keywords = {})
{
    MAV::DlgEnvMatTree_st e;
    e.country = country;
    for (const wchar_t* k : keywords)
        e.keywords.append(CMavString(k));
    return e;
}

// One opening: the initial material's last item in the order of building selected, the item of a name listed twice with the lower handle
// chosen, the tree for each flag, and a double click on a material confirming it.
TEST(MaterialTree, InitialMaterialFlagsAndDoubleClick)
{
    ScopedMaterials materials(kMaterials);
    const CMavArrayTempl<CMavString> density{CMavString(L"DENSITY")}, mu{CMavString(L"MU")},
        missing{CMavString(L"LAMBDA")};
    const struct {
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
    std::wstring initial, names;
    bool twinIsFirstHandle = false;
    Script script({{L"#32770",
                    [&](HWND d) {
                        CMavMatTreeCtrl& tree = treeOf(d);
                        // "edge_deep" is built below BOARD_A's EDGE_MID, below EDGE_MID and last as a root
                        // material: that last item is selected, as a whole build leaves it.
                        CMavString sel;
                        tree.getSelMat(sel);
                        initial = std::wstring(sel.c_str()) + L" below " +
                                  matOf(tree, tree.GetParentItem(tree.GetSelectedItem()));
                        // TWIN: below BOARD_A and as a material of its own; the item with the lower handle wins.
                        EXPECT_TRUE(tree.selectMat(L"TWIN"));
                        const HTREEITEM chosen = tree.GetSelectedItem(), board = tree.GetChildItem(tree.GetRootItem());
                        HTREEITEM other = nullptr;
                        for (HTREEITEM parent : {tree.GetRootItem(), board})
                            for (HTREEITEM c = tree.GetChildItem(parent); c; c = tree.GetNextSiblingItem(c))
                                if (c != chosen && tree.itemMat(c) && *tree.itemMat(c) == CMavString(L"TWIN"))
                                    other = c;
                        twinIsFirstHandle = other && std::less<HTREEITEM>()(chosen, other);
                        EXPECT_FALSE(tree.selectMat(L"NOT_THERE"));
                        tree.SelectItem(tree.GetRootItem());
                        EXPECT_FALSE(tree.getSelMat(sel));
                        for (const auto& c : cases) {
                            tree.init(c.flags, L"", *c.phys);
                            EXPECT_EQ(dump(tree, tree.GetRootItem()), c.tree) << "flags " << c.flags;
                        }
                        // Names beside labels, three spaces apart; labels alone otherwise.
                        tree.init(2, L"", density);
                        names = tree.GetItemText(tree.GetChildItem(tree.GetRootItem())).GetString();
                        tree.init(0, L"", density);
                        names +=
                            L"|" + std::wstring(tree.GetItemText(tree.GetChildItem(tree.GetRootItem())).GetString());
                        ASSERT_TRUE(tree.selectMat(L"SPACE"));
                    }},
                   {L"", [&](HWND d) {
                        CMavMatTreeCtrl& tree = treeOf(d);
                        RECT r{};
                        tree.GetItemRect(tree.GetSelectedItem(), &r, TRUE);
                        ::SendMessageW(tree.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON,
                                       MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
                    }}});
    CMavString chosen(L"edge_deep");
    EXPECT_EQ(MAV::dlgMatTree(env(L"de"), chosen), 1);
    EXPECT_TRUE(Script::finished());
    EXPECT_EQ(std::wstring(chosen.c_str()) + L"|" + initial + L"|" + names,
              L"SPACE|EDGE_DEEP below -|BOARD_A   A Platte|A Platte");
    EXPECT_TRUE(twinIsFirstHandle);
}

// OK follows the selection: roots never, materials without the asked-for data not, physical data followed up the
// parent chain; a double click where OK is disabled leaves the dialog open. The chosen name is the last selection
// that allowed OK. An initial material that is not in the tree leaves the root selected and OK disabled, one that
// is allows OK at once; Cancel keeps the caller's name.
TEST(MaterialTree, OkFollowsSelection)
{
    ScopedMaterials materials(kMaterials);
    const struct {
        std::vector<const wchar_t*> keywords;
        std::vector<const wchar_t*> picks; // null: the root
        const wchar_t* okSeen;             // per pick: 1 OK enabled, 0 disabled and still open after a double click
        const wchar_t* result;             // null: cancelled
        const wchar_t* initial = L"UNKNOWN";
    } cases[] = {
        {{L"EDGE", L"PHYS"}, {nullptr, L"EDGE_BARE", L"BOARD_A", L"EDGE_DEEP"}, L"0001", L"EDGE_DEEP"},
        {{L"PHYS"}, {L"KID", L"ORPHAN", L"DENSE"}, L"101", L"DENSE"},
        {{L"PHYS", L"SYSTEM"}, {L"ORPHAN", L"SYSTEM"}, L"01", L"SYSTEM"},
        {{}, {L"SPACE", L"ORPHAN"}, L"11", L"ORPHAN"},
        {{}, {}, L"", nullptr},
        {{L"PHYS"}, {}, L"", L"KID", L"kid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(uitest::str(c.result));
        MAV::DlgEnvMatTree_st e = env(L"en", c.keywords);
        e.physNames.append(CMavString(L"density")); // upper-cased by the dialog
        std::wstring start, okSeen;
        Script script([&](HWND d) {
            CMavMatTreeCtrl& tree = treeOf(d);
            start = uitest::windowText(d) + L"|" + tree.GetItemText(tree.GetRootItem()).GetString() +
                    (tree.GetSelectedItem() == tree.GetRootItem() ? L"|root" : L"|other") +
                    (::IsWindowEnabled(::GetDlgItem(d, IDOK)) ? L"|ok" : L"|no ok");
            for (const wchar_t* p : c.picks) {
                if (p) {
                    EXPECT_TRUE(tree.selectMat(p)) << p;
                } else {
                    tree.SelectItem(tree.GetRootItem());
                }
                const bool ok = ::IsWindowEnabled(::GetDlgItem(d, IDOK)) != FALSE;
                if (!ok) {
                    RECT r{};
                    tree.GetItemRect(tree.GetSelectedItem(), &r, TRUE);
                    ::SendMessageW(tree.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON,
                                   MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
                    uitest::pump();
                }
                okSeen += ok ? L"1" : ::IsWindowVisible(d) ? L"0" : L"closed";
            }
            uitest::press(d, c.result ? IDOK : IDCANCEL);
        });
        CMavString chosen(c.initial);
        EXPECT_EQ(MAV::dlgMatTree(e, chosen), c.result ? 1 : 0);
        EXPECT_EQ(start, std::wstring(L"Material selection|Library|") +
                             (c.picks.empty() && c.result ? L"other|ok" : L"root|no ok"));
        EXPECT_EQ(okSeen, c.okSeen);
        EXPECT_EQ(std::wstring(chosen.c_str()), c.result ? c.result : c.initial);
    }
}

// Sub-materials that lead back to a material end the branch there; a chain longer than the nesting limit is cut.
TEST(MaterialTree, CyclesAndLongChainsEnd)
{
    std::string text = "LIBRARY {\n CYC_A { LABEL = text \"A\" SUBS { CYC_B = none } }\n"
                       " CYC_B { LABEL = text \"B\" SUBS { CYC_A = none } }\n"
                       " SELF { LABEL = text \"C\" SUBS { SELF = none } }\n";
    for (int i = 100; i < 140; ++i)
        text += " D" + std::to_string(i) + " { LABEL = text \"D" + std::to_string(i) + "\" SUBS { D" +
                std::to_string(i + 1) + " = none } }\n";
    ScopedMaterials materials(text + "}\n");
    std::wstring withEdge, chains;
    bool shown = false;
    Script script([&](HWND d) {
        CMavMatTreeCtrl& tree = treeOf(d);
        withEdge = dump(tree, tree.GetRootItem());
        tree.init(0, L"", CMavArrayTempl<CMavString>());
        // The first four roots, each with the names down its first children and the depth reached.
        HTREEITEM root = tree.GetChildItem(tree.GetRootItem());
        for (int i = 0; i < 4 && root; ++i, root = tree.GetNextSiblingItem(root)) {
            chains += std::wstring(tree.itemMat(root)->c_str()) + L"{";
            int depth = 0;
            for (HTREEITEM c = tree.GetChildItem(root); c; c = tree.GetChildItem(c), ++depth)
                if (depth < 2)
                    chains += std::wstring(tree.itemMat(c)->c_str()) + L"/";
            chains += std::to_wstring(depth) + L"}";
        }
        // An initial material far down the list is scrolled into view.
        tree.init(0, L"D139", CMavArrayTempl<CMavString>());
        RECT item{}, client{};
        tree.GetClientRect(&client);
        shown = tree.GetItemRect(tree.GetSelectedItem(), &item, TRUE) && item.top >= 0 && item.bottom <= client.bottom &&
                matOf(tree, tree.GetSelectedItem()) == L"D139";
        uitest::press(d, IDCANCEL);
    });
    CMavString chosen;
    EXPECT_EQ(MAV::dlgMatTree(env(L"de", {L"EDGE"}), chosen), 0);
    EXPECT_TRUE(Script::finished());
    EXPECT_EQ(withEdge, L"Bibliothek");
    EXPECT_EQ(chains, L"CYC_A{CYC_B/1}CYC_B{CYC_A/1}SELF{0}D100{D101/D102/" +
                          std::to_wstring(CMavMatTreeCtrl::kMaxDepth) + L"}");
    EXPECT_TRUE(shown);
}

// The tree inserts an item's children when they are first needed: it opens with the root materials alone, and a
// user's expansion, the initial material and selectMat bring in what lies below them.
// With the edge restriction BOARD and CORE are root materials; FOIL (no edge data) shows only below CORE, once
// below the root material CORE and once below BOARD's CORE.
const char* const kLazyLibrary = R"(
LIBRARY {
  BOARD { LABEL = text "A Board" SUBS { CORE = none } }
  CORE { LABEL = text "B Core" EDGE { THICK = real 1 } EDGES { ABS = none } SUBS { FOIL = none PAPER = none } }
  FOIL { LABEL = text "C Foil" }
  PAPER { LABEL = text "D Paper" }
}
)";

TEST(MaterialTreeOnDemand, ChildrenArriveWhenNeeded)
{
    ScopedMaterials materials(kLazyLibrary);
    int atOpen = -1, afterKey = -1, afterSelect = -1;
    std::wstring initialPath, shownBelowBoard, selected;
    bool expanded = false;
    Script script([&](HWND d) {
        CMavMatTreeCtrl& tree = treeOf(d);
        // The root materials and the path down to the initial material, FOIL below the root material CORE (the
        // last of its two places in the order of building): BOARD, CORE and CORE's two children.
        atOpen = tree.insertedCount();
        for (HTREEITEM h = tree.GetSelectedItem(); h; h = tree.GetParentItem(h))
            initialPath = matOf(tree, h) + L"/" + initialPath;
        // The user opens the root material BOARD with the right arrow key: its CORE arrives.
        const HTREEITEM board = tree.GetChildItem(tree.GetRootItem());
        tree.SelectItem(board);
        ::SendMessageW(tree.m_hWnd, WM_KEYDOWN, VK_RIGHT, 0);
        afterKey = tree.insertedCount();
        expanded = (tree.GetItemState(board, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
        for (HTREEITEM v = tree.GetNextItem(board, TVGN_NEXTVISIBLE); v && tree.GetParentItem(v) == board;
             v = tree.GetNextItem(v, TVGN_NEXTVISIBLE))
            shownBelowBoard += matOf(tree, v) + L",";
        // Selecting PAPER by name brings in both its items (below BOARD's CORE too) and picks one.
        CMavString name;
        EXPECT_TRUE(tree.selectMat(L"paper"));
        afterSelect = tree.insertedCount();
        EXPECT_TRUE(tree.getSelMat(name));
        selected = name.c_str();
        uitest::press(d, IDCANCEL);
    });
    CMavString chosen(L"foil");
    EXPECT_EQ(MAV::dlgMatTree(env(L"en", {L"EDGE"}), chosen), 0);
    EXPECT_TRUE(Script::finished() && expanded);
    EXPECT_EQ(initialPath + L"|" + shownBelowBoard + L"|" + selected, L"-/CORE/FOIL/|CORE,|PAPER");
    EXPECT_EQ(std::make_tuple(atOpen, afterKey, afterSelect), std::make_tuple(4, 5, 7));
}

} // namespace
