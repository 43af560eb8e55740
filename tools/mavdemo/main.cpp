// mavdemo: a stand-in host that loads MavMfc.dll, shows a window with a test picture and saves its scenes as PNG
// and EMF files, listing them with their sizes at the end.
#include <windows.h>

#include <cstdio>
#include <string>

#include "dllmain.h"
#include "resource.h"
#include "version.h"
#include "gallery.h"
#include "scene_dialog.h"
#include "scene_font.h"
#include "scene_mattree.h"
#include "scene_msgserver.h"
#include "scene_parts.h"
#include "scene_outline.h"
#include "scene_holeedit.h"
#include "scene_labeledit.h"
#include "scene_picture.h"
#include "scene_slide.h"
#include "scene_tabs.h"
#include "scene_units.h"
#include "png_write.h"

namespace {

void paintScene(HDC dc, int w, int h)
{
    RECT all{0, 0, w, h};
    HBRUSH bg = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dc, &all, bg);
    DeleteObject(bg);
    // A cabinet outline with a door and drawers, as a stand-in preview.
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(30, 80, 160));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 60, 40, 340, 260);
    MoveToEx(dc, 200, 40, nullptr);
    LineTo(dc, 200, 260);
    MoveToEx(dc, 200, 150, nullptr);
    LineTo(dc, 340, 150);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    HPEN dim = CreatePen(PS_SOLID, 1, RGB(255, 150, 30));
    oldPen = SelectObject(dc, dim);
    MoveToEx(dc, 60, 285, nullptr);
    LineTo(dc, 340, 285);
    SelectObject(dc, oldPen);
    DeleteObject(dim);
    SelectObject(dc, oldBrush);
    HICON icon = static_cast<HICON>(
        LoadImageW(MAV::dllInstance(), MAKEINTRESOURCEW(IDI_MAV_APP), IMAGE_ICON, 48, 48, 0));
    if (icon) {
        DrawIconEx(dc, w - 60, 10, icon, 48, 48, 0, nullptr, DI_NORMAL);
        DestroyIcon(icon);
    }
    SetBkMode(dc, TRANSPARENT);
    std::string caption = std::string(MAV_PRODUCT_NAME " ") + MAV::versionString();
    TextOutA(dc, 60, 300, caption.c_str(), static_cast<int>(caption.size()));
}

LRESULT CALLBACK demoProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(wnd, &ps);
        RECT rc;
        GetClientRect(wnd, &rc);
        paintScene(dc, rc.right, rc.bottom);
        EndPaint(wnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(wnd, msg, wp, lp);
}

// Prints every picture and metafile in the output folder with its size, and their total.
void listOutput(const std::wstring& outDir)
{
    unsigned long long total = 0;
    int files = 0;
    for (const wchar_t* pattern : {L"\\*.png", L"\\*.emf"}) {
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW((outDir + pattern).c_str(), &found);
        if (h == INVALID_HANDLE_VALUE)
            continue;
        do {
            const unsigned long long size =
                (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            std::printf("mavdemo: %-24ls %10llu bytes\n", found.cFileName, size);
            total += size;
            ++files;
        } while (FindNextFileW(h, &found));
        FindClose(h);
    }
    std::printf("mavdemo: %d files, %llu bytes in %ls\n", files, total, outDir.c_str());
    std::fflush(stdout);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int)
{
    std::wstring args = cmdLine ? cmdLine : L"";
    bool interactive = args.find(L"--show") != std::wstring::npos;
    std::wstring outDir = L"out";
    size_t at = args.find(L"--out ");
    if (at != std::wstring::npos)
        outDir = args.substr(at + 6);

    WNDCLASSW wc{};
    wc.lpfnWndProc = demoProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"MavDemo";
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(MAV::dllInstance(), MAKEINTRESOURCEW(IDI_MAV_APP));
    RegisterClassW(&wc);
    HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"MavMfc demo", WS_OVERLAPPEDWINDOW, 40, 40, 420, 380, nullptr,
                               nullptr, instance, nullptr);
    if (!wnd) {
        std::fprintf(stderr, "mavdemo: cannot create a window (error %lu); is DISPLAY set?\n", GetLastError());
        return 1;
    }
    ShowWindow(wnd, SW_SHOW);
    UpdateWindow(wnd);

    RECT rc;
    GetClientRect(wnd, &rc);
    CreateDirectoryW(outDir.c_str(), nullptr);
    std::wstring png = outDir + L"\\demo_window.png";
    HDC wdc = GetDC(wnd);
    bool saved = mavdemo::saveDcAsPng(wdc, rc.right, rc.bottom, png);
    ReleaseDC(wnd, wdc);
    if (!saved) {
        std::fprintf(stderr, "mavdemo: cannot write %ls\n", png.c_str());
        DestroyWindow(wnd);
        return 1;
    }
    std::printf("mavdemo: wrote %ls\n", png.c_str());
    std::fflush(stdout);

    DestroyWindow(wnd);
    MSG pending;
    while (PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) {
        // drain the quit message of the first window before the gallery runs its own loop
    }
    bool ok = mavdemo::runFontSheet(outDir);
    ok = mavdemo::runSlideScene(instance, outDir) && ok;
    ok = mavdemo::runPictureScene(instance, outDir) && ok;
    ok = mavdemo::runVllScene(instance, outDir) && ok;
    ok = mavdemo::runDialogScene(outDir) && ok;
    ok = mavdemo::runMsgServerScene(outDir) && ok;
    ok = mavdemo::runTabsScene(instance, outDir) && ok;
    ok = mavdemo::runPartsScene(instance, outDir) && ok;
    ok = mavdemo::runUnitsScene(outDir) && ok;
    ok = mavdemo::runMatTreeScene(outDir) && ok;
    ok = mavdemo::runOutlineScene(outDir) && ok;
    ok = mavdemo::runLabelEditScene(outDir) && ok;
    ok = mavdemo::runHoleEditScene(outDir) && ok;
    ok = mavdemo::runGallery(instance, outDir, interactive) && ok;
    listOutput(outDir);
    return ok ? 0 : 1;
}
