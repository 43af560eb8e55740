// Wall edit image.
//
// The wall editor keeps its state in the configuration section "*WALL_EDIT*": the number of the element being
// edited ("BT"), the edit mode ("MODE") and a polyline ("VL"). The wall's own data lists its elements in the
// directory "SN" (integer keys) and the mode of a corner being edited in "CORNER\MODE". When the saved element
// number names no element of this wall, the first element is taken instead, so that a preview always shows a
// marked element once the wall has any. Only in shell editing is the element marked as active.
#include "generators/wall_image.h"

#include "generators/generators.h"
#include "data/CMavDataItem.h"
#include "data/CMavDataKey.h"
#include "base/CMavVertexArray.h"
#include "data/config.h"
#include "data/datafile.h"

namespace {

CMavDataKey editKey(const wchar_t* name) { return CMavDataKey().appendText(L"*WALL_EDIT*").appendText(name); }

template <class T>
bool cfgRead(const wchar_t* name, T& value)
{
    const CMavDataItem* item = MAV::cfg_get(editKey(name));
    return item && item->get(value);
}

} // namespace

bool mav_wall_edit_image(CMavGDX* gdx, MAV::CDtaFilePointer* wall)
{
    if (!gdx)
        return false;
    MAV::CDtaFilePointer* parameters = MAV::dtaOpen(MAV::kDataTemp, MAV::kDataReadWrite, nullptr, nullptr);
    CMavDataItem* settings = parameters ? parameters->root(true) : nullptr;

    CMavArrayTempl<CMavDataKey> elements;
    if (wall)
        wall->dir(CMavDataKey(L"SN"), elements);

    int element = 0;
    bool enabled = cfgRead(L"BT", element);
    if (!elements.isEmpty()) {
        bool present = false;
        for (int i = 0; i < elements.len() && !present; ++i)
            present = elements[i].type(0) == MAV::kKeyInt && elements[i].intPart(0) == element;
        if (!present) {
            element = elements[0].intPart(0);
            enabled = true;
        }
    }

    CMavString mode;
    CMavVertexArray vl;
    CMavString cornerMode;
    cfgRead(L"MODE", mode);
    cfgRead(L"VL", vl);
    if (wall)
        MAV::dataItemGet(wall->top(), CMavDataKey().appendText(L"CORNER").appendText(L"MODE"), cornerMode);

    const bool shell = mode == L"SHELL" || (mode == L"CORNER" && cornerMode == L"SHELL");
    if (settings) {
        settings->setAt(CMavDataKey(L"VL"), vl);
        if (shell)
            settings->setAt(CMavDataKey(L"ACT"), element);
        settings->setAt(CMavDataKey(L"COORD"), 1);
    }

    bool result = false;
    if (enabled)
        result = mav_gdx_image(L"WALL", gdx, wall, parameters);
    MAV::dtaClose(parameters);
    return result;
}
