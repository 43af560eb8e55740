// libFuzzer target: a material file over the shipped library, then every question the material dialogs ask of
// each material the file names: properties, labels, physical values along the parent chain. The shipped
// materials are asked about once, before the first input; each input asks only about its own names, so that a
// run spends its time on what the input changes.
#include "data/CMavDataItem.h"
#include "data/datafile.h"
#include "data/materials.h"

#include <cstdint>
#include <cstdlib>

namespace {

// The questions; a material the list names must be known to every one of them.
void ask(CMavMatMgr& mgr, const CMavString& name, bool listed)
{
    MAV::CMatProp prop;
    if (!mgr.propGet(name.c_str(), prop) && listed)
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

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    CMavMatMgr mgr;
    CMavArrayTempl<CMavString> names;
    mgr.matDrawAll(names, false);
    for (const CMavString& name : names)
        ask(mgr, name, true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);
    CMavMatMgr::reset();
    (void)CMavMatMgr::loadText(text, size);
    CMavMatMgr mgr;
    CMavArrayTempl<CMavString> names, drawing;
    const int n = mgr.matDrawAll(names, false);
    const int nd = mgr.matDrawAll(drawing, true);
    if (n != names.len() || nd != drawing.len() || nd > n)
        std::abort();
    // The input's own materials, read once more on their own for their names (the shipped ones it leaves alone
    // answered before the first input).
    CMavDataItem own;
    (void)MAV::dataFromText(own, text, size);
    for (const wchar_t* section : {L"LIBRARY", L"DRAWING"})
        for (MAV::CDataIterator it(own.get(CMavDataKey().appendText(section))); it.valid(); it.next()) {
            const CMavString name = it.item()->keyPart().toText();
            bool listed = false;
            for (int i = 0; i < names.len() && !listed; ++i)
                listed = names[i] == name;
            ask(mgr, name, listed);
        }
    return 0;
}
