// The material tree. Vocabulary: a "root" is one of the two top items ("Bibliothek", "Zeichnung"); a "root
// material" is a material listed directly below one of them; every material item shows its sub-materials below
// it. Each material item's parameter is its own handle, and the item-name table maps handles to material names
// (and labels, which the sorting of the roots' children needs), so one binary search answers "which material is
// this item". Library data may name a material among its own sub-materials (directly or through others): the
// searches for edge and physical data visit each material once per question, and the tree never shows a material
// below itself and nests at most kMaxDepth levels.
//
// A large library makes a deep tree of which a user opens a few branches: init inserts the roots and the root
// materials only, each with a button when it has sub-materials to show, and an item's children are inserted when
// it is first expanded or its first child is asked for. The tree then looks and answers as if built whole: the
// same items in the same order below every expanded item, the initial item the one a complete build would leave
// (its last match), and selectMat inserts every item of the material before choosing the first by handle. The
// material data read by init (properties and labels) serves the later insertions, so they show what init saw.
#include "dialogs/CMavMatTreeCtrl.h"

#include <algorithm>
#include <functional>

#include "afx/CWinApp.h"
#include "data/labels.h"
#include "resource.h"

IMPLEMENT_DYNAMIC(CMavMatTreeCtrl, CMavTreeCtrl)

namespace {

// The control whose item-name table the sort comparison reads; set by init, trees are built one at a time.
CMavMatTreeCtrl* g_sortContext = nullptr;

bool isSystem(const CMavString& name) { return name.compareNoCase(L"SYSTEM") == 0; }

// The names point into the material data read for this build, which outlives every search.
bool seenBefore(std::vector<const CMavString*>& seen, const CMavString& name)
{
    for (const CMavString* s : seen)
        if (s->compareNoCase(name.c_str()) == 0)
            return true;
    seen.push_back(&name);
    return false;
}

bool handleLess(HTREEITEM a, HTREEITEM b) { return std::less<HTREEITEM>()(a, b); }

} // namespace

CMavMatTreeCtrl::CMavMatTreeCtrl() = default;

INT_PTR CMavMatTreeCtrl::OnToolHitTest(CPoint, TOOLINFOW*) const
{
    return -1;
}

BOOL CMavMatTreeCtrl::ToolTip(NMHDR*, LRESULT* result)
{
    // Nothing to show: an empty answer keeps any tool tip window from appearing.
    if (result)
        *result = 0;
    return TRUE;
}

BOOL CMavMatTreeCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header && (header->code == TTN_NEEDTEXTW || header->code == TTN_NEEDTEXTA))
            return ToolTip(header, result);
        if (header && (header->code == TVN_ITEMEXPANDINGW || header->code == TVN_ITEMEXPANDINGA)) {
            // Both forms hold the item to expand at the same place: the handle is all that is read.
            const auto* tv = reinterpret_cast<const NMTREEVIEWW*>(lParam);
            if (tv->action & TVE_EXPAND)
                expandItem(tv->itemNew.hItem);
            return FALSE; // the parent may still refuse the expansion
        }
    }
    return CMavTreeCtrl::OnChildNotify(message, wParam, lParam, result);
}

void CMavMatTreeCtrl::PreSubclassWindow()
{
    // Tool tips off: a material's text is never cut, and the dialog has no help texts for single items.
    ModifyStyle(TVS_INFOTIP, TVS_NOTOOLTIPS);
    if (!m_imageList.GetSafeHandle()) {
        m_imageList.Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
        const HINSTANCE module = AfxGetStaticModuleState()->m_hCurrentInstanceHandle;
        for (int id : {IDI_MAV_MAT_GROUP, IDI_MAV_MATERIAL, IDI_MAV_EDGE_BAND}) {
            auto icon = static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
            m_imageList.Add(icon);
            if (icon)
                ::DestroyIcon(icon);
        }
    }
    SetImageList(&m_imageList, TVSIL_NORMAL);
    CMavTreeCtrl::PreSubclassWindow();
}

bool CMavMatTreeCtrl::hasPhysNames(const MAV::CMatProp& prop) const
{
    for (const CMavString& n : m_physNames)
        if (!prop.hasPhysKey(n.c_str()))
            return false;
    return true;
}

// A material shows up many times in a tree (as a root material and below every material that lists it), and the
// searches for edge and physical data visit it again: its properties and label are read from the material data
// once per init.
const CMavMatTreeCtrl::MatInfo& CMavMatTreeCtrl::info(const CMavString& name)
{
    CMavString upper = name;
    upper.makeUpper();
    auto it = m_info.find(upper.wstr());
    if (it == m_info.end()) {
        MatInfo added;
        m_matMgr.propGet(name.c_str(), added.prop);
        // The label in the language, as matLabel gives it, from the label string the properties hold already
        // (looking the material up a second time costs as much as reading all of its properties).
        MAV::label_get(added.prop.label.c_str(), country(), added.label);
        it = m_info.emplace(upper.wstr(), std::move(added)).first;
    }
    return it->second;
}

bool CMavMatTreeCtrl::hasEdgeSubs(const MAV::CMatProp& prop, std::vector<const CMavString*>& seen)
{
    if (prop.edgeCode == 2)
        return true;
    for (const CMavString& sub : prop.subs) {
        if (seenBefore(seen, sub))
            continue;
        if (hasEdgeSubs(info(sub).prop, seen))
            return true;
    }
    return false;
}

bool CMavMatTreeCtrl::hasPhysSubs(const MAV::CMatProp& prop, std::vector<const CMavString*>& seen)
{
    if (prop.physCode == 2 && hasPhysNames(prop))
        return true;
    for (const CMavString& sub : prop.subs) {
        if (seenBefore(seen, sub))
            continue;
        if (hasPhysSubs(info(sub).prop, seen))
            return true;
    }
    return false;
}

void CMavMatTreeCtrl::rootMat(CMavArrayTempl<CMavString>& library, CMavArrayTempl<CMavString>& drawing,
                              unsigned long flags)
{
    library.removeAll();
    CMavArrayTempl<CMavString> names;
    m_matMgr.matDrawAll(names, false);
    for (const CMavString& name : names) {
        if (name.isEmpty() || isSystem(name))
            continue;
        if ((flags & flagNoSpace) && name.compare(L"SPACE") == 0)
            continue;
        const MAV::CMatProp& prop = info(name).prop;
        const bool shadow = prop.drawing;
        if (!(flags & flagDrawing) && shadow)
            continue;
        std::vector<const CMavString*> seen;
        if ((flags & flagEdge) && (seen.assign(1, &name), !hasEdgeSubs(prop, seen)))
            continue;
        if ((flags & flagPhys) && (seen.assign(1, &name), !hasPhysSubs(prop, seen)))
            continue;
        (shadow ? drawing : library).append(name);
    }
    if (flags & flagSystem)
        library.append(CMavString(L"SYSTEM"));
}

// Inserts a material item as the last child of parent, its parameter its own handle, with a button when it will
// have children (which are inserted when it is first expanded); its entry is left to the caller. Null when the
// tree refuses the item. `children` tells whether it got a button.
HTREEITEM CMavMatTreeCtrl::insertMat(const CMavString& name, const MatInfo& material, HTREEITEM parent, int depth,
                                     bool& children)
{
    const MAV::CMatProp& prop = material.prop;
    CMavString named;
    if (m_flags & flagNames) {
        named = name;
        named += L"   ";
        named += material.label;
    }
    const CMavString& text = (m_flags & flagNames) ? named : material.label.isEmpty() ? name : material.label;
    int image = prop.drawing ? 2 : 1;
    if (((m_flags & flagEdge) && prop.edgeCode == 0) || ((m_flags & flagPhys) && prop.physCode == 0))
        image = 0;
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
    // Whether any sub-material will show below: one that is not this material itself or one above it.
    children = false;
    if (depth < kMaxDepth && prop.subs.len() > 0) {
        std::vector<CMavString> path;
        pathOf(parent, path);
        path.push_back(name);
        for (const CMavString& sub : prop.subs) {
            children = true;
            for (const CMavString& p : path)
                children = children && p.compareNoCase(sub.c_str()) != 0;
            if (children)
                break;
        }
    }
    insert.item.cChildren = children ? 1 : 0;
    // Both go straight to the tree view's own procedure: the items are the control's own business, and for
    // thousands of them the way through the window map and this class's message handling costs as much as the
    // tree view's own work.
    const auto item =
        reinterpret_cast<HTREEITEM>(DefWindowProc(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (item) {
        TVITEMW param{};
        param.mask = TVIF_PARAM;
        param.hItem = item;
        param.lParam = reinterpret_cast<LPARAM>(item);
        DefWindowProc(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&param));
    }
    return item;
}

// The children of a material item at `depth` in the order they are inserted: its sub-materials except those on the
// path from the root material down to the item (`path` ends with the item); none at the nesting limit.
void CMavMatTreeCtrl::childNames(const CMavString& name, int depth, const std::vector<CMavString>& path,
                                 std::vector<CMavString>& out)
{
    out.clear();
    if (depth >= kMaxDepth)
        return;
    const MAV::CMatProp& prop = info(name).prop;
    for (const CMavString& sub : prop.subs) {
        bool onPath = false;
        for (const CMavString& p : path)
            onPath = onPath || p.compareNoCase(sub.c_str()) == 0;
        if (!onPath)
            out.push_back(sub);
    }
}

// The material names from the root material down to item (empty for a root).
void CMavMatTreeCtrl::pathOf(HTREEITEM item, std::vector<CMavString>& path)
{
    path.clear();
    for (HTREEITEM h = item; h; h = GetParentItem(h)) {
        const Entry* e = find(h);
        if (!e)
            break;
        path.push_back(e->name);
    }
    std::reverse(path.begin(), path.end());
}

// Adds entries to the item-name table, which stays ordered by handle.
void CMavMatTreeCtrl::addEntries(std::vector<Entry>& added)
{
    auto less = [](const Entry& a, const Entry& b) { return handleLess(a.item, b.item); };
    std::sort(added.begin(), added.end(), less);
    const auto middle = static_cast<std::ptrdiff_t>(m_itemNames.size());
    // New items mostly get higher handles than all before them: then the table just grows at its end.
    const bool after = added.empty() || m_itemNames.empty() || less(m_itemNames.back(), added.front());
    m_itemNames.insert(m_itemNames.end(), std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    if (!after)
        std::inplace_merge(m_itemNames.begin(), m_itemNames.begin() + middle, m_itemNames.end(), less);
    added.clear();
}

// Inserts items for names below parent, in order, and sorts parent's children by their text; the handles in the
// order of names (null where the tree refused an item).
std::vector<HTREEITEM> CMavMatTreeCtrl::buildTree(const CMavArrayTempl<CMavString>& names, HTREEITEM parent,
                                                  int depth)
{
    std::vector<HTREEITEM> items;
    std::vector<Entry> added;
    for (const CMavString& name : names) {
        bool children = false;
        const MatInfo& material = info(name);
        const HTREEITEM item = insertMat(name, material, parent, depth, children);
        items.push_back(item);
        if (item)
            added.push_back({item, name, &material.label, depth, children});
    }
    const size_t inserted = added.size();
    addEntries(added);
    // One child or none is sorted already.
    if (parent && inserted > 1)
        SendMessage(TVM_SORTCHILDREN, FALSE, reinterpret_cast<LPARAM>(parent));
    return items;
}

// Inserts the root materials below a root. The tree sorts a root's children by their text and then by the sort
// comparison; where the comparison orders the materials completely (no two labels equal, at most one item that
// goes first) both sortings can only end in that order, so the items go in in it and the tree is not asked to
// sort. Otherwise they go in in list order and the tree sorts them. The handles in the order of names.
std::vector<HTREEITEM> CMavMatTreeCtrl::buildRoots(const CMavArrayTempl<CMavString>& names, HTREEITEM parent)
{
    const size_t n = static_cast<size_t>(names.len());
    std::vector<const MatInfo*> infos(n);
    std::vector<const CMavString*> labels(n);
    std::vector<char> goesFirst(n);
    std::vector<size_t> order(n);
    for (size_t i = 0; i < n; ++i) {
        const CMavString& name = names[static_cast<int>(i)];
        infos[i] = &info(name);
        labels[i] = &infos[i]->label;
        goesFirst[i] = name.isEmpty() || isSystem(name);
        order[i] = i;
    }
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (goesFirst[a] != goesFirst[b])
            return goesFirst[a] != 0;
        return !goesFirst[a] && labels[a]->compare(labels[b]->c_str()) < 0;
    });
    bool total = n < 2 || !goesFirst[order[1]];
    for (size_t k = 1; k < n && total; ++k)
        total = goesFirst[order[k - 1]] || labels[order[k - 1]]->compare(labels[order[k]]->c_str()) != 0;
    if (!total) {
        std::vector<HTREEITEM> items = buildTree(names, parent, 0);
        sortRoot(parent);
        return items;
    }
    std::vector<HTREEITEM> items(n);
    std::vector<Entry> added;
    for (size_t k : order) {
        bool children = false;
        const CMavString& name = names[static_cast<int>(k)];
        items[k] = insertMat(name, *infos[k], parent, 0, children);
        if (items[k])
            added.push_back({items[k], name, labels[k], 0, children});
    }
    addEntries(added);
    return items;
}

// Inserts the children of a material item that has not shown them yet; their handles in the order of its
// sub-materials (empty when they were there already).
std::vector<HTREEITEM> CMavMatTreeCtrl::expandItem(HTREEITEM item)
{
    Entry* e = find(item);
    if (!e || !e->pending)
        return {};
    e->pending = false;
    const int depth = e->depth;
    const CMavString name = e->name;
    std::vector<CMavString> path, kids;
    pathOf(item, path);
    childNames(name, depth, path, kids);
    CMavArrayTempl<CMavString> names;
    for (const CMavString& k : kids)
        names.append(k);
    std::vector<HTREEITEM> items = buildTree(names, item, depth + 1);
    if (std::all_of(items.begin(), items.end(), [](HTREEITEM h) { return h == nullptr; })) {
        TVITEMW none{};
        none.mask = TVIF_CHILDREN;
        none.hItem = item;
        none.cChildren = 0;
        SetItem(&none);
    }
    return items;
}

// Finds the item of the wanted material that a complete build would make the initial one: the build takes every
// match in turn, each item before its sub-materials, so the last match in that order stays. True with route
// holding the child indices from `name` down to it (empty for `name` itself).
bool CMavMatTreeCtrl::lastRoute(const CMavString& name, int depth, std::vector<CMavString>& path,
                                std::vector<int>& route)
{
    path.push_back(name);
    std::vector<CMavString> kids;
    childNames(name, depth, path, kids);
    bool found = false;
    for (size_t i = kids.size(); i-- > 0 && !found;) {
        route.push_back(static_cast<int>(i));
        found = lastRoute(kids[i], depth + 1, path, route);
        if (!found)
            route.pop_back();
    }
    path.pop_back();
    return found || m_strWantedMat.compareNoCase(name.c_str()) == 0;
}

// True when the material name or one below it (as the tree would show them) is the wanted one.
bool CMavMatTreeCtrl::containsMat(const CMavString& name, int depth, std::vector<CMavString>& path,
                                  const wchar_t* wanted)
{
    if (name.compareNoCase(wanted) == 0)
        return true;
    path.push_back(name);
    std::vector<CMavString> kids;
    childNames(name, depth, path, kids);
    bool found = false;
    for (size_t i = 0; i < kids.size() && !found; ++i)
        found = containsMat(kids[i], depth + 1, path, wanted);
    path.pop_back();
    return found;
}

// Inserts the items on every path from item down to an item of the wanted material.
void CMavMatTreeCtrl::revealMat(HTREEITEM item, const wchar_t* wanted)
{
    const Entry* e = find(item);
    if (!e)
        return;
    const int depth = e->depth;
    std::vector<CMavString> path;
    pathOf(item, path);
    std::vector<CMavString> kids;
    childNames(e->name, depth, path, kids);
    bool below = false;
    for (size_t i = 0; i < kids.size() && !below; ++i)
        below = containsMat(kids[i], depth + 1, path, wanted);
    if (!below)
        return;
    expandItem(item);
    for (HTREEITEM c = GetChildItem(item); c; c = GetNextSiblingItem(c))
        revealMat(c, wanted);
}

const CMavMatTreeCtrl::Entry* CMavMatTreeCtrl::find(HTREEITEM item) const
{
    auto it = std::lower_bound(m_itemNames.begin(), m_itemNames.end(), item,
                               [](const Entry& e, HTREEITEM h) { return handleLess(e.item, h); });
    return it != m_itemNames.end() && it->item == item ? &*it : nullptr;
}

CMavMatTreeCtrl::Entry* CMavMatTreeCtrl::find(HTREEITEM item)
{
    return const_cast<Entry*>(static_cast<const CMavMatTreeCtrl*>(this)->find(item));
}

const CMavString* CMavMatTreeCtrl::itemMat(HTREEITEM item) const
{
    const Entry* e = find(item);
    return e ? &e->name : nullptr;
}

int CALLBACK CMavMatTreeCtrl::compareItems(LPARAM a, LPARAM b, LPARAM)
{
    if (!g_sortContext)
        return 0;
    const Entry* ea = g_sortContext->find(reinterpret_cast<HTREEITEM>(a));
    const Entry* eb = g_sortContext->find(reinterpret_cast<HTREEITEM>(b));
    // Items without a material name, and "SYSTEM", go first.
    if (!ea || ea->name.isEmpty() || isSystem(ea->name))
        return -1;
    if (!eb || eb->name.isEmpty() || isSystem(eb->name))
        return 1;
    const int c = ea->label->compare(eb->label->c_str());
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

void CMavMatTreeCtrl::sortRoot(HTREEITEM root)
{
    TVSORTCB sort{};
    sort.hParent = root;
    sort.lpfnCompare = reinterpret_cast<PFNTVCOMPARE>(&CMavMatTreeCtrl::compareItems);
    sort.lParam = 0;
    SendMessage(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

bool CMavMatTreeCtrl::init(unsigned long flags, const wchar_t* initialName,
                           const CMavArrayTempl<CMavString>& physNames)
{
    g_sortContext = this;
    DeleteAllItems();
    m_itemNames.clear();
    m_info.clear();
    m_flags = flags;
    m_physNames.removeAll();
    if (flags & flagPhys)
        m_physNames = physNames;
    m_strInitMat = initialName ? initialName : L"";
    m_hInitItem = nullptr;
    CMavArrayTempl<CMavString> library, drawing;
    rootMat(library, drawing, flags);

    // Updating thousands of items one by one would repaint after each.
    SendMessage(WM_SETREDRAW, FALSE);
    const HTREEITEM lib = InsertItem(GetMsg(L"MAV_LIB_027", L"Bibliothek"), 0, 0, TVI_ROOT, TVI_LAST);
    m_strWantedMat = m_strInitMat;
    const std::vector<HTREEITEM> libItems = buildRoots(library, lib);
    std::vector<HTREEITEM> drawItems;
    if (flags & flagDrawing) {
        const HTREEITEM draw = InsertItem(GetMsg(L"DLG_SG018", L"Zeichnung"), 0, 0, TVI_ROOT, TVI_LAST);
        drawItems = buildRoots(drawing, draw);
    }
    // The initial item is the wanted material's last item in the order of a complete build (searched from the
    // end: drawing before library, later root materials first); the items down to it are inserted now.
    if (!m_strWantedMat.isEmpty()) {
        std::vector<CMavString> path;
        std::vector<int> route;
        for (int pass = 0; pass < 2 && !m_hInitItem; ++pass) {
            const CMavArrayTempl<CMavString>& names = pass == 0 ? drawing : library;
            const std::vector<HTREEITEM>& items = pass == 0 ? drawItems : libItems;
            for (int i = std::min(names.len(), static_cast<int>(items.size())) - 1; i >= 0 && !m_hInitItem; --i) {
                route.clear();
                if (!items[static_cast<size_t>(i)] || !lastRoute(names[i], 0, path, route))
                    continue;
                HTREEITEM item = items[static_cast<size_t>(i)];
                for (int step : route) {
                    const std::vector<HTREEITEM> kids = expandItem(item);
                    item = step < static_cast<int>(kids.size()) ? kids[static_cast<size_t>(step)] : nullptr;
                    if (!item)
                        break;
                }
                m_hInitItem = item;
            }
        }
    }
    // Selected while the tree does not redraw (opening the branches down to the item then measures their items
    // once), and scrolled into view when it does again.
    const HTREEITEM initial = m_hInitItem ? m_hInitItem : lib;
    SelectItem(initial);
    SendMessage(WM_SETREDRAW, TRUE);
    EnsureVisible(initial);
    Invalidate();
    return true;
}

bool CMavMatTreeCtrl::selectMat(const wchar_t* name)
{
    if (!name)
        return false;
    // Every item of the material is inserted, so that the first in handle order is among them.
    std::vector<HTREEITEM> roots;
    for (HTREEITEM r = GetRootItem(); r; r = GetNextSiblingItem(r))
        for (HTREEITEM m = GetChildItem(r); m; m = GetNextSiblingItem(m))
            roots.push_back(m);
    for (HTREEITEM m : roots)
        revealMat(m, name);
    HTREEITEM found = nullptr;
    for (const Entry& e : m_itemNames) {
        if (e.name.compareNoCase(name) == 0) {
            found = e.item;
            break;
        }
    }
    if (!found)
        return false;
    // Taken out of the table first: the selection change goes to the parent, which may open branches and so
    // grow the table.
    SelectItem(found);
    EnsureVisible(found);
    return true;
}

bool CMavMatTreeCtrl::getSelMat(CMavString& name)
{
    const HTREEITEM item = GetSelectedItem();
    if (!item || !GetParentItem(item))
        return false;
    const CMavString* found = itemMat(item);
    if (!found)
        return false;
    name = *found;
    return true;
}

// Children are inserted when first asked for: when the tree is about to expand an item (by the user, through its
// parent's notification, or by TVM_EXPAND) and when a caller asks for an item's first child, so that every caller
// walking the tree sees the same items as in a tree built whole.
LRESULT CMavMatTreeCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == TVM_GETNEXTITEM && wParam == TVGN_CHILD && lParam) ||
        (message == TVM_EXPAND && (wParam & TVE_EXPAND))) // expand or toggle, not collapse
        expandItem(reinterpret_cast<HTREEITEM>(lParam));
    return CMavTreeCtrl::WindowProc(message, wParam, lParam);
}
