// The message server scene: the demo plays the host whose label dialog imports a text. It picks a key through
// IMavMsgDlg and photographs the server's window from the screen, since the window belongs to another process.
#include "scene_msgserver.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>

#include "base/win/automation.h"
#include "png_write.h"
#include "ui/IMavMsgDlg.h"
#include "ui/rscAppDispatch.h"

namespace mavdemo {
namespace {

std::wstring besideDemo(const wchar_t* name)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path);
    return p.substr(0, p.find_last_of(L'\\') + 1) + name;
}

// What the screen shows of the window, as a PNG.
bool snapWindow(HWND wnd, const std::wstring& path)
{
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    RECT rc;
    GetWindowRect(wnd, &rc);
    return saveScreenAsPng(rc, path);
}

bool runScene(const std::wstring& outDir)
{
    IDispatch* raw = MAV::getRscAppDispatch();
    if (!raw) {
        std::fprintf(stderr, "mavdemo: the message server did not start\n");
        return false;
    }
    IMavMsgDlg msg(raw);
    bool ok = false;
    HANDLE process = nullptr;
    try {
        msg.SetCountry(L"en");
        msg.SearchKey(L"MAV_MFC_0017");
        msg.SetVisible(TRUE);
        HWND wnd = FindWindowW(L"MavMsgServerWindow", nullptr);
        DWORD pid = 0;
        if (wnd && GetWindowThreadProcessId(wnd, &pid))
            process = OpenProcess(SYNCHRONIZE, FALSE, pid);
        SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        const std::wstring png = outDir + L"\\msgserver_window.png";
        ok = wnd && snapWindow(wnd, png);
        if (ok)
            std::printf("mavdemo: the message server picked %ls\n", msg.GetSelectedKey().GetString());
        else
            std::fprintf(stderr, "mavdemo: cannot photograph the message server's window\n");
        msg.Close();
    } catch (COleDispatchException* e) {
        std::fprintf(stderr, "mavdemo: message server failed: %ls\n", e->m_strDescription.GetString());
        e->Delete();
        ok = false;
    }
    if (process) {
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
    return ok;
}

} // namespace

bool runMsgServerScene(const std::wstring& outDir)
{
    CMavString registered;
    const bool registerHere = !MAV::serverFromProgID(L"Mav_Msg.App", registered);
    const std::wstring server = besideDemo(L"MavMsg.exe");
    DWORD code = 1;
    if (registerHere && (!MAV::execute(server.c_str(), L"/RegServer", false, &code) || code != 0)) {
        std::fprintf(stderr, "mavdemo: cannot register %ls\n", server.c_str());
        return false;
    }
    const bool comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    const bool ok = runScene(outDir);
    if (comStarted)
        CoUninitialize();
    if (registerHere)
        MAV::execute(server.c_str(), L"/UnregServer", false, &code);
    return ok;
}

} // namespace mavdemo
