// Automation servers by ProgID, and starting programs.
#include "base/win/automation.h"

#include <objbase.h>
#include <oleauto.h>

#include <vector>

#include "base/win/registry.h"

namespace {

// Makes sure COM is initialised on this thread. A thread that had no COM keeps it (objects handed out must stay
// valid); a nested initialisation of ours is balanced at once.
void ensureCom()
{
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (hr == S_FALSE)
        CoUninitialize();
}

bool classOf(const wchar_t* progID, CLSID& clsid)
{
    return progID && *progID && SUCCEEDED(CLSIDFromProgID(progID, &clsid));
}

// The program part of a registered server command line: the quoted part, or everything up to and including
// ".exe", or the whole line without trailing blanks.
CMavString programOf(CMavString line)
{
    line.trim();
    if (line.isEmpty())
        return line;
    if (line[0] == L'"') {
        const int close = line.find(L'"', 1);
        return close < 0 ? line.mid(1) : line.mid(1, close - 1);
    }
    CMavString lower(line);
    lower.makeLower();
    const int exe = lower.find(L".exe");
    if (exe >= 0)
        return line.left(exe + 4);
    return line;
}

} // namespace

namespace MAV {

IDispatch* dispatchFromProgID(const wchar_t* progID, bool create)
{
    ensureCom();
    CLSID clsid;
    if (!classOf(progID, clsid))
        return nullptr;
    IUnknown* unknown = nullptr;
    if (SUCCEEDED(GetActiveObject(clsid, nullptr, &unknown)) && unknown) {
        IDispatch* dispatch = nullptr;
        const HRESULT hr = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
        unknown->Release();
        if (SUCCEEDED(hr) && dispatch)
            return dispatch;
    }
    if (!create)
        return nullptr;
    IDispatch* dispatch = nullptr;
    if (SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(&dispatch))))
        return dispatch;
    return nullptr;
}

bool serverFromProgID(const wchar_t* progID, CMavString& path)
{
    CLSID clsid;
    if (!classOf(progID, clsid))
        return false;
    wchar_t guid[64] = {};
    if (!StringFromGUID2(clsid, guid, 64))
        return false;
    const CMavString sub = CMavString(L"CLSID\\") + guid + L"\\LocalServer32";
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, sub, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    CMavString line;
    const bool ok = regRead(key, nullptr, line);
    RegCloseKey(key);
    if (!ok)
        return false;
    const CMavString program = programOf(line);
    if (program.isEmpty())
        return false;
    path = program;
    return true;
}

bool execute(const wchar_t* program, const wchar_t* arguments, bool noWait, DWORD* exitCode)
{
    if (!program || !*program)
        return false;
    CMavString cmd;
    if (program[0] == L'"')
        cmd = program;
    else
        cmd = CMavString(L"\"") + program + L"\"";
    if (arguments && *arguments)
        cmd += CMavString(L" ") + arguments;
    std::vector<wchar_t> line(cmd.c_str(), cmd.c_str() + cmd.len() + 1); // CreateProcessW may write into it
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    if (!noWait) {
        WaitForSingleObject(pi.hProcess, INFINITE);
        DWORD code = 0;
        if (exitCode && GetExitCodeProcess(pi.hProcess, &code))
            *exitCode = code;
    }
    CloseHandle(pi.hProcess);
    return true;
}

} // namespace MAV
