// The units scene: MAV::dlgUnits with millimetres selected, in German and English.
#include "scene_units.h"

#include "dialogs/CMavUnitsDlg.h"
#include "scene_modal.h"

namespace mavdemo {

bool runUnitsScene(const std::wstring& outDir)
{
    bool ok = true;
    for (const wchar_t* lang : {L"de", L"en"}) {
        MAV::DlgEnv_st env;
        env.country = lang;
        env.hWndParent = nullptr;
        ok = snapModal([&] { MAV::dlgUnits(env, static_cast<Mav::lUnit>(4)); }, [](HWND) {},
                       outDir + L"\\units_" + lang + L".png") &&
             ok;
    }
    return ok;
}

} // namespace mavdemo
