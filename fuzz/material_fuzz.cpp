// libFuzzer target: a material file over the shipped library, then every question the material dialogs ask of
// each material it names: properties, labels, physical values along the parent chain.
#include "data/materials.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CMavMatMgr::reset();
    (void)CMavMatMgr::loadText(reinterpret_cast<const char*>(data), size);
    CMavMatMgr mgr;
    CMavArrayTempl<CMavString> names, drawing;
    const int n = mgr.matDrawAll(names, false);
    const int nd = mgr.matDrawAll(drawing, true);
    if (n != names.len() || nd != drawing.len() || nd > n)
        std::abort();
    for (const CMavString& name : names) {
        MAV::CMatProp prop;
        if (!mgr.propGet(name.c_str(), prop))
            std::abort();
        (void)mgr.matLabel(name.c_str(), L"de");
        (void)mgr.isShadowMat(name.c_str());
        for (const CMavString& key : prop.physKeys) {
            if (!prop.hasPhysKey(key.c_str()))
                std::abort();
            double v = 0.0;
            (void)mgr.physGet(name.c_str(), key.c_str(), v);
        }
        double v = 0.0;
        (void)mgr.physGet(name.c_str(), L"DENSITY", v);
    }
    return 0;
}
