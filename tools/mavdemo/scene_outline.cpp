// The outline scene: MAV::dlgOutline on the shipped outline library, the L shape of range "1000" with a material,
// in German and English.
#include "scene_outline.h"

#include "data/CMavDataItem.h"
#include "dialogs/CMavOutlineDlg.h"
#include "scene_modal.h"

namespace mavdemo {

bool runOutlineScene(const std::wstring& outDir)
{
    CMavDataItem library; // empty: the dialog fills it with the shipped outlines
    library.makeDirectory();
    bool ok = true;
    for (const wchar_t* lang : {L"de", L"en"}) {
        MAV::DlgEnv_st env;
        env.country = lang;
        env.hWndParent = nullptr;
        MAV::outlineData data;
        data.code = 6; // L shape
        data.range = 4;
        data.material = L"BUCHE";
        ok = snapModal([&] { MAV::dlgOutline(env, data, &library); }, [](HWND) {},
                       outDir + L"\\outline_" + lang + L".png") &&
             ok;
    }
    return ok;
}

} // namespace mavdemo
