// The process-wide registry of display lists.
//
// Every entry (key, list) is allocated on its own and owned by the table; the table holds pointers to the entries
// sorted by key, without duplicates, so lookup is a binary search and a list never moves while its key lives.
// The pointer array starts with 16 slots and doubles when full.
#include "gdx/gdxMap.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "data/CMavColor.h"
#include "data/CMavDataItem.h"
#include "data/CMavDataKey.h"
#include "base/CMavPoint3dArray.h"
#include "data/config.h"
#include "base/text.h"

namespace {

struct GdxEntry {
    int key = 0;
    CMavGDX gdx;
};

class GdxRegistry {
public:
    std::vector<std::unique_ptr<GdxEntry>> slots;

    // Index of the first entry whose key is not below `key`.
    std::size_t lowerBound(int key) const
    {
        return static_cast<std::size_t>(
            std::lower_bound(slots.begin(), slots.end(), key,
                             [](const std::unique_ptr<GdxEntry>& e, int k) { return e->key < k; }) -
            slots.begin());
    }
    GdxEntry* find(int key) const
    {
        const std::size_t i = lowerBound(key);
        return i < slots.size() && slots[i]->key == key ? slots[i].get() : nullptr;
    }
    void insert(std::unique_ptr<GdxEntry> entry)
    {
        if (slots.size() == slots.capacity())
            slots.reserve(slots.capacity() < 16 ? 16 : slots.capacity() * 2);
        const std::size_t i = lowerBound(entry->key);
        slots.insert(slots.begin() + static_cast<std::ptrdiff_t>(i), std::move(entry));
    }
};

// Created on first use and destroyed, with every list still in it, when the library is unloaded.
GdxRegistry& registry()
{
    static GdxRegistry table;
    return table;
}

} // namespace

// Keys 1, 2, 3, ... are tried in turn. Among the sorted keys from the first one >= 1, the j-th (from 0) is at least
// 1 + j; it equals 1 + j exactly for a leading run of j, and the first j where it does not is the free key - 1.
// That run is found by a binary search instead of trying the keys one by one.
int gdxMapKeyNew()
{
    const GdxRegistry& r = registry();
    const std::size_t first = r.lowerBound(1);
    std::size_t lo = 0;
    std::size_t hi = r.slots.size() - first; // the answer j lies in [lo, hi]
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (static_cast<long long>(r.slots[first + mid]->key) == 1 + static_cast<long long>(mid))
            lo = mid + 1;
        else
            hi = mid;
    }
    return static_cast<int>(1 + lo);
}

CMavGDX* getGdxFromMap(int key)
{
    GdxEntry* e = registry().find(key);
    return e ? &e->gdx : nullptr;
}

// A new entry's list is default-constructed first (which reads the configuration) and then assigned, so it
// equals the given list in every field.
void gdxMapSetAt(int key, CMavGDX& gdx)
{
    GdxRegistry& r = registry();
    if (GdxEntry* e = r.find(key)) {
        e->gdx = gdx;
        return;
    }
    std::unique_ptr<GdxEntry> entry(new GdxEntry());
    entry->key = key;
    entry->gdx = gdx;
    r.insert(std::move(entry));
}

bool gdxMapRemoveAt(int key)
{
    GdxRegistry& r = registry();
    const std::size_t i = r.lowerBound(key);
    if (i >= r.slots.size() || r.slots[i]->key != key)
        return false;
    r.slots.erase(r.slots.begin() + static_cast<std::ptrdiff_t>(i));
    return true;
}

// A new list from a data item. Only a directory counts; for anything else every data key is absent.
//   "PDSIZE", "PDMODE" (integers; else "KRV_MENU\COLOR\PDSIZE" / "PDMODE" of the configuration as integers,
//   else 0), "EXTVIEW" (view box: points 0 and 1; missing points read as the origin), "MTX" (projection),
//   "COLOR" (background colour index, with "RGB" as text for a true colour and "TBL" for the colour's names).
// The list is built with the explicit constructor and stored under a new key; then the configuration gives
// colour modes 1-5 ("HIGHLIGHT", "REFER", "AXIS", "BASE", "AUX") and the background ("BACKGROUND"): an integer
// item is a colour index, anything else (also a missing item) goes through MAV::color_from_data. A "COLOR" in
// the data finally overrides the background.
int createGdxInMap(CMavDataItem* data)
{
    const CMavDataItem* d = (data && data->isDir()) ? data : nullptr;

    CMavColor background(0);
    int pointSize = 0;
    int pointMode = 0;
    if (!(d && d->get(pointSize, CMavDataKey(L"PDSIZE"))))
        MAV::dataItemGet(MAV::cfg_get(L"KRV_MENU\\COLOR\\PDSIZE"), pointSize);
    if (!(d && d->get(pointMode, CMavDataKey(L"PDMODE"))))
        MAV::dataItemGet(MAV::cfg_get(L"KRV_MENU\\COLOR\\PDMODE"), pointMode);
    CMavPoint3dArray viewBox;
    CMavMatrix3d projection;
    if (d) {
        d->get(viewBox, CMavDataKey(L"EXTVIEW"));
        MAV::dataItemGet(d, CMavDataKey(L"MTX"), projection);
    }

    const int key = gdxMapKeyNew();
    {
        const CMavArrayTempl<CMavPoint3d>& box = viewBox;
        CMavGDX fresh(background, projection, static_cast<double>(pointSize),
                      static_cast<unsigned long>(static_cast<std::uint32_t>(pointMode)), box.at(0), box.at(1));
        gdxMapSetAt(key, fresh);
    }
    CMavGDX* gdx = getGdxFromMap(key);
    if (!gdx)
        return -1;

    static const wchar_t* const kColourKeys[] = {
        L"KRV_MENU\\COLOR\\HIGHLIGHT", L"KRV_MENU\\COLOR\\REFER", L"KRV_MENU\\COLOR\\AXIS",
        L"KRV_MENU\\COLOR\\BASE",      L"KRV_MENU\\COLOR\\AUX",   L"KRV_MENU\\COLOR\\BACKGROUND"};
    for (int i = 0; i < 6; ++i) {
        const CMavDataItem* item = MAV::cfg_get(kColourKeys[i]);
        CMavColor colour;
        if (item && item->valueType() == CMavDataItem::kInt) {
            int index = 0;
            item->get(index);
            colour.setColorIndex(index);
        } else {
            colour = MAV::color_from_data(item);
        }
        if (i < 5)
            gdx->ColorTabSet(static_cast<GDX_CMODE>(i + 1), colour);
        else
            gdx->backColorSet(colour);
    }

    int colourIndex = 0;
    if (d && d->get(colourIndex, CMavDataKey(L"COLOR"))) {
        background.setColorIndex(colourIndex);
        CMavString text;
        if (d->get(text, CMavDataKey(L"RGB")))
            background.setColor(static_cast<std::uint32_t>(MAV::atoi(text.c_str())));
        if (d->get(text, CMavDataKey(L"TBL")))
            background.setNames(text.c_str(), text.c_str());
        gdx->backColorSet(background);
    }
    return key;
}
