// MavMsg.exe: the message server "Mav_Msg.App", an out-of-process automation server with a window to browse and
// pick message keys.
//
//   MavMsg.exe /RegServer     registers the ProgID, its class and this program as its local server; exit code 0
//   MavMsg.exe /UnregServer   removes them again; exit code 0
//   MavMsg.exe /Embedding     started by COM for a client
//   MavMsg.exe                started by hand
// Either way its window shows: a person picks keys there (a client that wants it out of sight sets Visible).
// While it runs, its object is in the running object table; started by COM, its class object is registered too.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>

#include <string>

#include "MsgServer.h"
#include "MsgWindow.h"

namespace {

using mavmsg::kClsidMsgApp;
using mavmsg::kProgID;

const wchar_t* const kDescription = L"Mav Meldungen";

std::wstring clsidText()
{
    wchar_t guid[64] = {};
    StringFromGUID2(kClsidMsgApp, guid, 64);
    return guid;
}

bool setValue(const std::wstring& sub, const wchar_t* name, const std::wstring& value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, sub.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LONG rc = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

// The classes root: the machine's classes as every user sees them (the per-user branch is not merged into the
// classes root on every system this runs on).
bool registerServer()
{
    wchar_t self[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return false;
    const std::wstring clsid = clsidText();
    const std::wstring classKey = L"CLSID\\" + clsid;
    return setValue(kProgID, nullptr, kDescription) && setValue(std::wstring(kProgID) + L"\\CLSID", nullptr, clsid) &&
           setValue(classKey, nullptr, kDescription) && setValue(classKey + L"\\ProgID", nullptr, kProgID) &&
           setValue(classKey + L"\\LocalServer32", nullptr, L"\"" + std::wstring(self) + L"\"");
}

bool unregisterServer()
{
    const LONG a = RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgID);
    const LONG b = RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + clsidText()).c_str());
    return (a == ERROR_SUCCESS || a == ERROR_FILE_NOT_FOUND) && (b == ERROR_SUCCESS || b == ERROR_FILE_NOT_FOUND);
}

// True when the command line holds the switch, written with '/' or '-', in any case.
bool hasSwitch(const wchar_t* cmdLine, const wchar_t* name)
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(cmdLine && *cmdLine ? cmdLine : L"x", &argc);
    bool found = false;
    for (int i = 0; argv && i < argc && !found; ++i)
        found = (argv[i][0] == L'/' || argv[i][0] == L'-') && lstrcmpiW(argv[i] + 1, name) == 0;
    LocalFree(argv);
    return found;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int)
{
    if (hasSwitch(cmdLine, L"RegServer"))
        return registerServer() ? 0 : 1;
    if (hasSwitch(cmdLine, L"UnregServer"))
        return unregisterServer() ? 0 : 1;
    const bool embedded = hasSwitch(cmdLine, L"Embedding") || hasSwitch(cmdLine, L"Automation");

    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 2;
    int exitCode = 0;
    {
        mavmsg::MsgWindow window;
        if (!window.create(instance, true)) {
            CoUninitialize();
            return 3;
        }
        mavmsg::MsgApp app(window);
        mavmsg::MsgAppFactory factory(app);
        DWORD classCookie = 0;
        DWORD runningCookie = 0;
        // The class object is offered only to the COM activation that started us. A program started by hand is
        // found through the running object table; a class object of a server that dies without revoking it can
        // stay in the system's class table (so on Wine) and make every later activation fail.
        const HRESULT registered = embedded ? CoRegisterClassObject(kClsidMsgApp, &factory, CLSCTX_LOCAL_SERVER,
                                                                    REGCLS_MULTIPLEUSE, &classCookie)
                                            : E_FAIL;
        const HRESULT running = RegisterActiveObject(&app, kClsidMsgApp, ACTIVEOBJECT_STRONG, &runningCookie);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (!IsDialogMessageW(window.hwnd(), &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        exitCode = static_cast<int>(msg.wParam);
        if (SUCCEEDED(running))
            RevokeActiveObject(runningCookie, nullptr);
        if (SUCCEEDED(registered))
            CoRevokeClassObject(classCookie);
        // Clients still holding the object get a clear failure instead of calls into a program that is gone.
        CoDisconnectObject(&app, 0);
    }
    CoUninitialize();
    return exitCode;
}
