// The application object, module states and resource lookup: which module's resources the library uses.
#pragma once

#include <windows.h>

#include "afx/CObject.h"

class CWinApp;

// The instance and resource module of one module (the host's program or this DLL) and its application object.
struct AFX_MODULE_STATE {
    HINSTANCE m_hCurrentInstanceHandle = nullptr;
    HINSTANCE m_hCurrentResourceHandle = nullptr;
    CWinApp* m_pCurrentWinApp = nullptr;
};

// The module state in force: the host program's, unless a CAfxModuleStateGuard switched to another.
AFX_MODULE_STATE* AfxGetModuleState();
// The host program's module state (its .exe).
AFX_MODULE_STATE* AfxGetAppModuleState();
// The library's own module state (MavMfc.dll).
AFX_MODULE_STATE* AfxGetStaticModuleState();

// Makes a module state current for its lifetime and restores the previous one; by default the library's, so that
// dialog templates, icons and cursors are found in the DLL. Guards nest.
class CAfxModuleStateGuard {
public:
    explicit CAfxModuleStateGuard(AFX_MODULE_STATE* state = AfxGetStaticModuleState());
    ~CAfxModuleStateGuard();
    CAfxModuleStateGuard(const CAfxModuleStateGuard&) = delete;
    CAfxModuleStateGuard& operator=(const CAfxModuleStateGuard&) = delete;

private:
    AFX_MODULE_STATE* m_pPrevious;
};

#define AFX_MANAGE_STATE(state) CAfxModuleStateGuard afxManageStateGuard_(state)

HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);
// The module that holds resource (name, type): the current resource module, then the library, then the host
// program; the current resource module when none has it.
HINSTANCE AfxFindResourceHandle(LPCWSTR name, LPCWSTR type);

// An application object: one per module, registered with that module's state when constructed.
class CWinApp : public CObject {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(const wchar_t* appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Runs once when the module starts; false makes the start fail.
    virtual BOOL InitInstance();
    // Runs once when the module stops; the exit code.
    virtual int ExitInstance();

    HINSTANCE m_hInstance = nullptr;
    const wchar_t* m_pszAppName = nullptr;
    AFX_MODULE_STATE* m_pModuleState = nullptr;

private:
    CWinApp* m_pPrevious = nullptr;
};

// The application object of the current module state, or the library's when the current state has none.
CWinApp* AfxGetApp();

// Called from the DLL's entry point: records the DLL's module handle and runs the library's InitInstance in the
// library's module state. Returns InitInstance's result (true when the library has no application object).
bool afxDllAttach(HINSTANCE dll);
// Called from the DLL's entry point on unload: runs ExitInstance of the library's application object.
void afxDllDetach();
