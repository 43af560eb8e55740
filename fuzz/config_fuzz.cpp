// libFuzzer target: a configuration file over the shipped defaults, then what reads the configuration (the
// display list's colours and point style, layer colours, the drawing's unit), and the same bytes as the data a
// display list of the registry is created from.
#include "data/CMavColor.h"
#include "data/config.h"
#include "data/datafile.h"
#include "data/units.h"
#include "gdx/CMavGDX.h"
#include "gdx/gdxMap.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);
    MAV::CConfig::reset();
    (void)MAV::CConfig::loadText(text, size);
    for (const wchar_t* key : {L"KRV_MENU\\COLOR\\PDMODE", L"KRV_MENU\\COLOR\\PDSIZE", L"KRV_MENU\\COLOR", L"_APPL",
                               L"HELP", L"LAYER", L"UNITS\\INSUNITS", L"\\", L""}) {
        const CMavDataItem* item = MAV::cfg_get(key);
        double v = 0.0;
        CMavString s;
        if (item) {
            (void)item->get(v);
            (void)item->get(s);
        }
    }
    CMavColor layer;
    (void)MAV::layer_color(layer, L"0");
    (void)MAV::layer_color(layer, L"MAV_AUX");
    const int unit = MAV::acad_unit_get();
    if (unit < 0 || unit > Mav::kUnitsMax)
        std::abort();

    // A display list takes its background and colour table from the configuration.
    {
        CMavGDX gdx;
        if (!std::isfinite(gdx.pdSizeGet()))
            std::abort();
    }
    CMavDataItem tree;
    (void)MAV::dataFromText(tree, text, size);
    const int key = createGdxInMap(&tree);
    if (key < 0 || !getGdxFromMap(key) || !gdxMapRemoveAt(key))
        std::abort();
    return 0;
}
