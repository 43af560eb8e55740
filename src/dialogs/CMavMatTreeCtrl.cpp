// The material tree. Vocabulary: a "root" is one of the two top items ("Bibliothek", "Zeichnung"); a "root
// material" is a material listed directly below one of them; every material item shows its sub-materials below
// it. Each material item's parameter is its own handle, and the item-name table maps handles to material names
// (and labels, which the sorting of the roots' children needs), so one binary search answers "which material is
// this item". Library data may name a material among its own sub-materials (directly or through others): the
// searches for edge and physical data visit each material once per question, and the tree never shows a material
// below itself and nests at most kMaxDepth levels.
#include "dialogs/CMavMatTreeCtrl.h"

#include <algorithm>
#include <functional>

#include "afx/CWinApp.h"
#include "resource.h"

IMPLEMENT_DYNAMIC(CMavMatTreeCtrl, CMavTreeCtrl)

namespace {

// The control whose item-name table the sort comparison reads; set by init, trees are built one at a time.
CMavMatTreeCtrl* g_sortContext = nullptr;

bool isSystem(const CMavString& name) { return name.compareNoCase(L"SYSTEM") == 0; }

bool seenBefore(std::vector<CMavString>& seen, const CMavString& name)
{
    for (const CMavString& s : seen)
        if (s.compareNoCase(name.c_str()) == 0)
            return true;
    seen.push_back(name);
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
// once per build.
const CMavMatTreeCtrl::MatInfo& CMavMatTreeCtrl::info(const CMavString& name)
{
    CMavString key = name;
    key.makeUpper();
    auto it = m_info.find(key);
    if (it == m_info.end()) {
        MatInfo added;
        m_matMgr.propGet(name.c_str(), added.prop);
        added.label = m_matMgr.matLabel(name.c_str(), country());
        it = m_info.emplace(key, std::move(added)).first;
    }
    return it->second;
}

bool CMavMatTreeCtrl::hasEdgeSubs(const MAV::CMatProp& prop, std::vector<CMavString>& seen)
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

bool CMavMatTreeCtrl::hasPhysSubs(const MAV::CMatProp& prop, std::vector<CMavString>& seen)
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
        std::vector<CMavString> seen{name};
        if ((flags & flagEdge) && !hasEdgeSubs(prop, seen))
            continue;
        seen.assign(1, name);
        if ((flags & flagPhys) && !hasPhysSubs(prop, seen))
            continue;
        (shadow ? drawing : library).append(name);
    }
    if (flags & flagSystem)
        library.append(CMavString(L"SYSTEM"));
}

void CMavMatTreeCtrl::buildTree(const CMavArrayTempl<CMavString>& names, HTREEITEM parent, unsigned long flags,
                                int depth)
{
    int inserted = 0;
    for (const CMavString& name : names) {
        bool onPath = false;
        for (const CMavString& p : m_path)
            onPath = onPath || p.compareNoCase(name.c_str()) == 0;
        if (onPath)
            continue;
        const MatInfo& material = info(name);
        const CMavString& label = material.label;
        const MAV::CMatProp& prop = material.prop;
        CMavString text;
        if (flags & flagNames) {
            text = name;
            text += L"   ";
            text += label;
        } else
            text = label.isEmpty() ? name : label;
        int image = prop.drawing ? 2 : 1;
        if (((flags & flagEdge) && prop.edgeCode == 0) || ((flags & flagPhys) && prop.physCode == 0))
            image = 0;
        const HTREEITEM item = InsertItem(text.c_str(), image, image, parent, TVI_LAST);
        if (!item)
            continue;
        ++inserted;
        SetItemData(item, reinterpret_cast<DWORD_PTR>(item));
        m_itemNames.push_back({item, name, label});
        m_namesSorted = false;
        if (!m_hInitItem && !m_strWantedMat.isEmpty() && m_strWantedMat.compareNoCase(name.c_str()) == 0)
            m_hInitItem = item;
        if (depth < kMaxDepth && prop.subs.len() > 0) {
            m_path.push_back(name);
            buildTree(prop.subs, item, flags, depth + 1);
            m_path.pop_back();
        }
    }
    // One child or none is sorted already.
    if (parent && inserted > 1)
        SendMessage(TVM_SORTCHILDREN, FALSE, reinterpret_cast<LPARAM>(parent));
}

void CMavMatTreeCtrl::sortNames()
{
    if (m_namesSorted)
        return;
    std::stable_sort(m_itemNames.begin(), m_itemNames.end(),
                     [](const Entry& a, const Entry& b) { return handleLess(a.item, b.item); });
    m_namesSorted = true;
}

const CMavMatTreeCtrl::Entry* CMavMatTreeCtrl::find(HTREEITEM item) const
{
    auto it = std::lower_bound(m_itemNames.begin(), m_itemNames.end(), item,
                               [](const Entry& e, HTREEITEM h) { return handleLess(e.item, h); });
    return it != m_itemNames.end() && it->item == item ? &*it : nullptr;
}

const CMavString* CMavMatTreeCtrl::itemMat(HTREEITEM item) const
{
    const Entry* e = m_namesSorted ? find(item) : nullptr;
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
    const int c = ea->label.compare(eb->label.c_str());
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

void CMavMatTreeCtrl::sortRoot(HTREEITEM root)
{
    sortNames();
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
    m_namesSorted = true;
    m_path.clear();
    m_info.clear();
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
    SetItemData(lib, 0);
    m_strWantedMat = m_strInitMat;
    buildTree(library, lib, flags, 0);
    sortRoot(lib);
    if (flags & flagDrawing) {
        const HTREEITEM draw = InsertItem(GetMsg(L"DLG_SG018", L"Zeichnung"), 0, 0, TVI_ROOT, TVI_LAST);
        SetItemData(draw, 0);
        buildTree(drawing, draw, flags, 0);
        sortRoot(draw);
    }
    sortNames();
    m_info.clear();
    SendMessage(WM_SETREDRAW, TRUE);
    SelectItem(m_hInitItem ? m_hInitItem : lib);
    Invalidate();
    return true;
}

bool CMavMatTreeCtrl::selectMat(const wchar_t* name)
{
    if (!name)
        return false;
    sortNames();
    for (const Entry& e : m_itemNames) {
        if (e.name.compareNoCase(name) == 0) {
            SelectItem(e.item);
            EnsureVisible(e.item);
            return true;
        }
    }
    return false;
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
