// Module states, resource lookup and the application object.
//
// Two module states exist: the host program's (current by default, as for any code called from the host) and
// the library's. A scoped guard makes the library's state current while a library dialog runs, so that
// AfxGetResourceHandle and AfxFindResourceHandle find the DLL's templates, icons and cursors first.
#include "afx/CWinApp.h"

namespace {

AFX_MODULE_STATE* g_current = nullptr;

// The module that contains this code: the DLL in the product, whatever links it in a static build.
HINSTANCE selfModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&selfModule), &module);
    return module;
}

// The module state an application object belongs to: the module whose image holds the object (a static object
// of the DLL or of the program); for objects on the heap or stack, the state current at construction.
AFX_MODULE_STATE* stateOfObject(const void* object)
{
    HMODULE module = nullptr;
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCWSTR>(object), &module)) {
        return module == selfModule() ? AfxGetStaticModuleState() : AfxGetAppModuleState();
    }
    return AfxGetModuleState();
}

bool hasResource(HINSTANCE module, LPCWSTR name, LPCWSTR type)
{
    return module && FindResourceW(module, name, type) != nullptr;
}

} // namespace

AFX_MODULE_STATE* AfxGetAppModuleState()
{
    static AFX_MODULE_STATE state = [] {
        AFX_MODULE_STATE s;
        s.m_hCurrentInstanceHandle = GetModuleHandleW(nullptr);
        s.m_hCurrentResourceHandle = s.m_hCurrentInstanceHandle;
        return s;
    }();
    return &state;
}

AFX_MODULE_STATE* AfxGetStaticModuleState()
{
    static AFX_MODULE_STATE state = [] {
        AFX_MODULE_STATE s;
        s.m_hCurrentInstanceHandle = selfModule();
        s.m_hCurrentResourceHandle = s.m_hCurrentInstanceHandle;
        return s;
    }();
    return &state;
}

AFX_MODULE_STATE* AfxGetModuleState()
{
    return g_current ? g_current : AfxGetAppModuleState();
}

CAfxModuleStateGuard::CAfxModuleStateGuard(AFX_MODULE_STATE* state) : m_pPrevious(g_current)
{
    g_current = state ? state : AfxGetModuleState();
}

CAfxModuleStateGuard::~CAfxModuleStateGuard()
{
    g_current = m_pPrevious;
}

HINSTANCE AfxGetInstanceHandle()
{
    return AfxGetModuleState()->m_hCurrentInstanceHandle;
}

HINSTANCE AfxGetResourceHandle()
{
    return AfxGetModuleState()->m_hCurrentResourceHandle;
}

void AfxSetResourceHandle(HINSTANCE module)
{
    AfxGetModuleState()->m_hCurrentResourceHandle = module;
}

HINSTANCE AfxFindResourceHandle(LPCWSTR name, LPCWSTR type)
{
    HINSTANCE current = AfxGetResourceHandle();
    const HINSTANCE candidates[] = {current, AfxGetStaticModuleState()->m_hCurrentResourceHandle,
                                    AfxGetAppModuleState()->m_hCurrentResourceHandle};
    for (HINSTANCE module : candidates) {
        if (hasResource(module, name, type))
            return module;
    }
    return current;
}

IMPLEMENT_DYNAMIC(CWinApp, CObject)

CWinApp::CWinApp(const wchar_t* appName) : m_pszAppName(appName)
{
    m_pModuleState = stateOfObject(this);
    m_hInstance = m_pModuleState->m_hCurrentInstanceHandle;
    m_pPrevious = m_pModuleState->m_pCurrentWinApp;
    m_pModuleState->m_pCurrentWinApp = this;
}

CWinApp::~CWinApp()
{
    if (m_pModuleState->m_pCurrentWinApp == this)
        m_pModuleState->m_pCurrentWinApp = m_pPrevious;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

CWinApp* AfxGetApp()
{
    CWinApp* app = AfxGetModuleState()->m_pCurrentWinApp;
    return app ? app : AfxGetStaticModuleState()->m_pCurrentWinApp;
}

bool afxDllAttach(HINSTANCE dll)
{
    AFX_MODULE_STATE* state = AfxGetStaticModuleState();
    if (dll) {
        state->m_hCurrentInstanceHandle = dll;
        state->m_hCurrentResourceHandle = dll;
    }
    CWinApp* app = state->m_pCurrentWinApp;
    if (!app)
        return true;
    CAfxModuleStateGuard guard(state);
    app->m_hInstance = state->m_hCurrentInstanceHandle;
    return app->InitInstance() != FALSE;
}

void afxDllDetach()
{
    AFX_MODULE_STATE* state = AfxGetStaticModuleState();
    if (CWinApp* app = state->m_pCurrentWinApp) {
        CAfxModuleStateGuard guard(state);
        app->ExitInstance();
    }
}
