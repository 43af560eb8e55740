// Materials of the library and of the drawing.
//
// Vocabulary: the "physical code" says where a material's physical data comes from (0 none, 1 its parent
// material, 2 its own "PHYS" entries); the "edge code" says whether it carries edge data (2) or not (0).
// Both are derived from the entries a material has, unless "PHYSCODE" or "EDGECODE" say otherwise.
#include "data/materials.h"

#include <algorithm>
#include <memory>
#include <string>

#include "data/datafile.h"
#include "data/embedded_data.h"
#include "data/labels.h"

namespace {

std::unique_ptr<CMavDataItem>& dataSlot()
{
    static std::unique_ptr<CMavDataItem> d;
    return d;
}

void fillShipped(CMavDataItem& d)
{
    // The shipped text is read once; a reset copies the tree, which costs a fraction of reading it again.
    static const CMavDataItem shipped = [] {
        CMavDataItem tree;
        tree.makeDirectory();
        const std::string text = MAV::embeddedText(MAV::kEmbeddedMaterials);
        MAV::dataFromText(tree, text.data(), text.size());
        return tree;
    }();
    d = shipped;
}

// The material's directory and whether it belongs to the drawing; null when unknown.
const CMavDataItem* findMaterial(const wchar_t* name, bool* drawing)
{
    if (!name || !*name)
        return nullptr;
    const CMavDataItem* root = CMavMatMgr::data();
    // Children looked up by their key part directly: a key path for one step costs an allocation per lookup.
    for (const wchar_t* section : {L"LIBRARY", L"DRAWING"}) {
        const CMavDataItem* dir = root->childAt(root->indexOf(CMavDataKeyPart(section)));
        if (!dir || !dir->isDir())
            continue;
        const CMavDataItem* exact = dir->childAt(dir->indexOf(CMavDataKeyPart(name)));
        const CMavDataItem* found = (exact && exact->isDir()) ? exact : nullptr;
        for (MAV::CDataIterator it(dir); !found && it.valid(); it.next()) {
            const CMavDataItem* m = it.item();
            if (m->isDir() && !m->keyPart().isInt() && m->keyPart().text.compareNoCase(name) == 0)
                found = m;
        }
        if (found) {
            if (drawing)
                *drawing = section[0] == L'D';
            return found;
        }
    }
    return nullptr;
}

// The text keys of a directory entry, in order.
void keysOf(const CMavDataItem* dir, CMavArrayTempl<CMavString>& out)
{
    out.removeAll();
    for (MAV::CDataIterator it(dir); it.valid(); it.next())
        out.append(it.item()->keyPart().toText());
}

} // namespace

namespace MAV {

bool CMatProp::hasPhysKey(const wchar_t* key) const
{
    if (!key)
        return false;
    CMavString k(key);
    k.makeUpper();
    int lo = 0, hi = physKeys.len() - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = physKeys[mid].compare(k.c_str());
        if (c == 0)
            return true;
        if (c < 0)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    return false;
}

} // namespace MAV

CMavDataItem* CMavMatMgr::data()
{
    std::unique_ptr<CMavDataItem>& d = dataSlot();
    if (!d) {
        d = std::make_unique<CMavDataItem>();
        fillShipped(*d);
    }
    return d.get();
}

bool CMavMatMgr::load(const wchar_t* path)
{
    std::string bytes;
    if (!MAV::readFileBytes(path, bytes))
        return false;
    return loadText(bytes.data(), bytes.size());
}

bool CMavMatMgr::loadText(const char* text, size_t size)
{
    return MAV::dataFromText(*data(), text, size);
}

void CMavMatMgr::reset()
{
    fillShipped(*data());
}

int CMavMatMgr::matDrawAll(CMavArrayTempl<CMavString>& names, bool drawingOnly) const
{
    names.removeAll();
    for (const wchar_t* section : {L"LIBRARY", L"DRAWING"}) {
        if (drawingOnly && section[0] == L'L')
            continue;
        const CMavDataItem* dir = data()->get(CMavDataKey().appendText(section));
        // Only what findMaterial can find again is a material: a directory with a non-empty text name. One under
        // an integer key or an empty name would be listed and then be unknown to every other question.
        for (MAV::CDataIterator it(dir); it.valid(); it.next()) {
            const CMavDataItem* m = it.item();
            if (m->isDir() && !m->keyPart().isInt() && !m->keyPart().text.isEmpty())
                names.append(m->keyPart().toText());
        }
    }
    return names.len();
}

bool CMavMatMgr::isShadowMat(const wchar_t* name) const
{
    bool drawing = false;
    return findMaterial(name, &drawing) && drawing;
}

CMavString CMavMatMgr::matLabel(const wchar_t* name, const wchar_t* country) const
{
    const CMavDataItem* m = findMaterial(name, nullptr);
    CMavString label;
    if (!m || !m->get(label, L"LABEL"))
        return CMavString();
    return MAV::label_get(label.c_str(), country);
}

bool CMavMatMgr::propGet(const wchar_t* name, MAV::CMatProp& prop) const
{
    prop = MAV::CMatProp();
    prop.name = name;
    bool drawing = false;
    const CMavDataItem* m = findMaterial(name, &drawing);
    if (!m)
        return false;
    prop.name = m->keyPart().toText();
    prop.drawing = drawing;
    // One walk over the material's entries: the dialogs ask this of thousands of materials when they open.
    const CMavDataItem *color = nullptr, *edges = nullptr, *subs = nullptr, *phys = nullptr, *edge = nullptr;
    const CMavDataItem *physCode = nullptr, *edgeCode = nullptr;
    for (MAV::CDataIterator it(m); it.valid(); it.next()) {
        const CMavDataItem* e = it.item();
        if (e->keyPart().isInt())
            continue;
        const CMavString& k = e->keyPart().text;
        if (k == L"LABEL")
            e->get(prop.label);
        else if (k == L"KIND")
            e->get(prop.kind);
        else if (k == L"PARENT")
            e->get(prop.parent);
        else if (k == L"HATCH")
            e->get(prop.hatch);
        else if (k == L"THICK")
            e->get(prop.thickness);
        else if (k == L"COLOR")
            color = e;
        else if (k == L"EDGES")
            edges = e;
        else if (k == L"SUBS")
            subs = e;
        else if (k == L"PHYS")
            phys = e;
        else if (k == L"EDGE")
            edge = e;
        else if (k == L"PHYSCODE")
            physCode = e;
        else if (k == L"EDGECODE")
            edgeCode = e;
    }
    MAV::color_from_data(color, prop.color);
    keysOf(edges, prop.edges);
    keysOf(subs, prop.subs);
    keysOf(phys, prop.physKeys);
    for (CMavString& k : prop.physKeys)
        k.makeUpper();
    std::sort(prop.physKeys.begin(), prop.physKeys.end());
    if (!physCode || !physCode->get(prop.physCode))
        prop.physCode = prop.physKeys.len() > 0 ? 2 : !prop.parent.isEmpty() ? 1 : 0;
    if (!edgeCode || !edgeCode->get(prop.edgeCode))
        prop.edgeCode = (edge && edge->isDir()) ? 2 : 0;
    return true;
}

bool CMavMatMgr::physGet(const wchar_t* name, const wchar_t* key, double& value) const
{
    if (!key)
        return false;
    CMavString current(name);
    for (int step = 0; step < 32; ++step) {
        MAV::CMatProp prop;
        if (!propGet(current.c_str(), prop))
            return false;
        if (prop.physCode == 2) {
            const CMavDataItem* phys = findMaterial(prop.name.c_str(), nullptr)->get(L"PHYS");
            for (MAV::CDataIterator it(phys); it.valid(); it.next())
                if (it.item()->keyPart().toText().compareNoCase(key) == 0)
                    return it.item()->get(value);
            return false;
        }
        if (prop.physCode != 1 || prop.parent.isEmpty())
            return false;
        current = prop.parent;
    }
    return false;
}
