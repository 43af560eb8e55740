// Helpers of the message server tests: the programs beside the test program, registering them in the classes
// root and taking everything away again, and finding the server's window and process.
#pragma once

#include <windows.h>

#include <string>

#include "base/win/automation.h"

namespace msgtest {

const wchar_t* const kProgID = L"Mav_Msg.App";
const wchar_t* const kServerGuid = L"{3F6A2C1E-8B47-4D2A-9C5E-7A1B0D4E6F21}"; // MavMsg.exe's class
const wchar_t* const kSilentGuid = L"{9B1E7D2C-5A3F-4C68-8E21-6D0F4B7A9C13}";  // a class nobody serves

inline std::wstring besideTests(const wchar_t* name)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path);
    return p.substr(0, p.find_last_of(L'\\') + 1) + name;
}
inline std::wstring serverPath() { return besideTests(L"MavMsg.exe"); }

// Runs MavMsg.exe with a switch and waits for it; its exit code, or ~0 when it could not be started.
inline DWORD runServer(const wchar_t* args)
{
    DWORD code = ~0u;
    return MAV::execute(serverPath().c_str(), args, false, &code) ? code : ~0u;
}

inline void setClassesValue(const std::wstring& sub, const std::wstring& value)
{
    HKEY k = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, sub.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr))
        return;
    RegSetValueExW(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
}

// Registers a program that ends at once (or the program given) as the ProgID's server, under a class of its own.
inline void registerSilentServer(const std::wstring& program = L"\"" + besideTests(L"silent_server.exe") + L"\"")
{
    setClassesValue(std::wstring(kProgID) + L"\\CLSID", kSilentGuid);
    setClassesValue(std::wstring(L"CLSID\\") + kSilentGuid + L"\\LocalServer32", program);
}

inline void removeRegistration()
{
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgID);
    for (const wchar_t* guid : {kServerGuid, kSilentGuid})
        RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + guid).c_str());
}

// The default value of a key of the classes root; "<none>" when the key is missing.
inline std::wstring classesValue(const std::wstring& sub)
{
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, sub.c_str(), 0, KEY_READ, &k))
        return L"<none>";
    wchar_t buf[1024] = {};
    DWORD size = sizeof buf;
    RegQueryValueExW(k, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(k);
    return buf;
}

inline HWND serverWindow() { return FindWindowW(L"MavMsgServerWindow", nullptr); }

// The process of the server's window, opened to wait for it and end it; null when no server runs.
inline HANDLE serverProcess()
{
    DWORD pid = 0;
    HWND w = serverWindow();
    if (!w || !GetWindowThreadProcessId(w, &pid) || !pid)
        return nullptr;
    return OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
}

// Ends every server a test left running, each by its process id, and waits a bounded time for each.
inline void endServers()
{
    for (int i = 0; i < 8; ++i) {
        HANDLE p = serverProcess();
        if (!p)
            return;
        TerminateProcess(p, 99);
        WaitForSingleObject(p, 5000);
        CloseHandle(p);
    }
}

} // namespace msgtest
