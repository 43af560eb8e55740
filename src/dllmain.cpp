// Entry point of MavMfc.dll: remembers the module handle so the library finds its own resources.
#include "dllmain.h"

#include "afx/CWinApp.h"

namespace {
HINSTANCE g_dllInstance = nullptr;
}

namespace MAV {
HINSTANCE dllInstance() { return g_dllInstance; }
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_dllInstance = instance;
        DisableThreadLibraryCalls(instance);
        if (!afxDllAttach(instance))
            return FALSE;
    } else if (reason == DLL_PROCESS_DETACH) {
        afxDllDetach();
    }
    return TRUE;
}
