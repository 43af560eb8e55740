// The picture scenes of the demo. The picture scene draws a cabinet front into a bitmap, writes it as a .bmp file
// and loads that file through the picture control, once fitted and once zoomed about the handle and panned; the
// polyline scene shows the outlines an outline dialog would offer, with one of them current.
#include "scene_picture.h"

#include <ole2.h>

#include <cstdio>
#include <initializer_list>
#include <vector>

#include "afx/afxwin.h"
#include "base/CMavVertexArray.h"
#include "render/CMavPicture.h"
#include "render/CMavVllImage.h"
#include "png_write.h"

namespace mavdemo {
namespace {

LRESULT CALLBACK sceneProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProcW(wnd, msg, wp, lp);
}

HWND sceneFrame(HINSTANCE instance, const wchar_t* title, int width, int height)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = sceneProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"MavDemoPictureScene";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&wc); // a second registration fails harmlessly
    HWND frame = CreateWindowExW(0, wc.lpszClassName, title, WS_POPUP | WS_VISIBLE, 60, 60, width, height, nullptr,
                                 nullptr, instance, nullptr);
    if (!frame)
        std::fprintf(stderr, "mavdemo: no window for %ls (error %lu)\n", title, GetLastError());
    return frame;
}

HWND frameChild(HWND frame, HINSTANCE instance, int id, int x, int y, int w, int h)
{
    return CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, x, y, w, h, frame,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

void pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// A cabinet front of 240 x 180 pixels: oak-coloured carcass, two doors with a dark gap, round handles, a plinth.
bool writeCabinetBmp(const std::wstring& path)
{
    const int w = 240, h = 180;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h; // bottom-up, as a .bmp file stores it
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp) {
        DeleteDC(dc);
        return false;
    }
    HGDIOBJ old = SelectObject(dc, bmp);
    auto fill = [dc](int l, int t, int r, int b, COLORREF c) {
        const RECT rc{l, t, r, b};
        HBRUSH brush = CreateSolidBrush(c);
        FillRect(dc, &rc, brush);
        DeleteObject(brush);
    };
    fill(0, 0, w, h, RGB(236, 240, 244));              // wall
    fill(20, 10, 220, 160, RGB(196, 150, 96));         // carcass
    for (int y = 14; y < 156; y += 6)                  // grain
        fill(24, y, 216, y + 1, RGB(182, 136, 84));
    fill(28, 18, 118, 150, RGB(210, 166, 110));        // left door
    fill(122, 18, 212, 150, RGB(210, 166, 110));       // right door
    fill(118, 18, 122, 150, RGB(90, 60, 30));          // gap
    fill(20, 160, 220, 172, RGB(60, 60, 64));          // plinth
    HBRUSH knob = CreateSolidBrush(RGB(80, 90, 110));
    HGDIOBJ oldBrush = SelectObject(dc, knob);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, 104, 78, 114, 88);
    Ellipse(dc, 126, 78, 136, 88);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(knob);
    GdiFlush();

    const DWORD imageSize = static_cast<DWORD>(w * h * 4);
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    fh.bfSize = fh.bfOffBits + imageSize;
    bool ok = false;
    if (FILE* f = _wfopen(path.c_str(), L"wb")) {
        ok = fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f) == 1 &&
             fwrite(bits, 1, imageSize, f) == imageSize;
        ok = fclose(f) == 0 && ok;
    }
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return ok;
}

// Copies each child's client area into one picture of the frame's client size and saves it.
bool saveChildren(HWND frame, const std::vector<HWND>& children, const std::wstring& path)
{
    RECT all;
    GetClientRect(frame, &all);
    HDC frameDc = GetDC(frame);
    HDC mem = CreateCompatibleDC(frameDc);
    HBITMAP bmp = CreateCompatibleBitmap(frameDc, all.right, all.bottom);
    HGDIOBJ old = SelectObject(mem, bmp);
    FillRect(mem, &all, GetSysColorBrush(COLOR_BTNFACE));
    for (HWND child : children) {
        RECT rc;
        GetClientRect(child, &rc);
        POINT at{0, 0};
        MapWindowPoints(child, frame, &at, 1);
        HDC cdc = GetDC(child);
        BitBlt(mem, at.x, at.y, rc.right, rc.bottom, cdc, 0, 0, SRCCOPY);
        ReleaseDC(child, cdc);
    }
    const bool ok = saveDcAsPng(mem, all.right, all.bottom, path);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(frame, frameDc);
    return ok;
}

CMavVertexArray outline(std::initializer_list<CMavPoint3d> points)
{
    CMavArrayTempl<CMavPoint3d> pts;
    for (const CMavPoint3d& p : points)
        pts.append(p);
    return CMavVertexArray::fromPoints(pts, true);
}

} // namespace

bool runPictureScene(HINSTANCE instance, const std::wstring& outDir)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring bmpPath = std::wstring(temp) + L"mavdemo_cabinet.bmp";
    if (!writeCabinetBmp(bmpPath)) {
        std::fprintf(stderr, "mavdemo: cannot write %ls\n", bmpPath.c_str());
        return false;
    }
    HWND frame = sceneFrame(instance, L"MavMfc picture", 640, 260);
    if (!frame)
        return false;
    HWND left = frameChild(frame, instance, 1101, 10, 10, 300, 240);
    HWND right = frameChild(frame, instance, 1102, 330, 10, 300, 240);
    // The picture control loads through OLE; this host initialises it for its thread, as an MFC host does.
    const HRESULT ole = OleInitialize(nullptr);
    bool ok = false;
    {
        CMavPicture fitted;
        CMavPicture zoomed;
        fitted.SubclassWindow(left);
        zoomed.SubclassWindow(right);
        fitted.SetBackColor(RGB(250, 250, 250));
        zoomed.SetBackColor(RGB(40, 44, 52));
        ok = fitted.LoadImageW(bmpPath.c_str()) && fitted.hasPicture() && zoomed.LoadImageW(bmpPath.c_str()) &&
             zoomed.hasPicture();
        // Two wheel steps in about the right handle, then a pan to the left, as a user would look at the handle.
        POINT handle{zoomed.offsetGet().x + 131, zoomed.offsetGet().y + 83};
        ClientToScreen(right, &handle);
        for (int i = 0; i < 2; ++i)
            SendMessageW(right, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(handle.x, handle.y));
        SendMessageW(right, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(200, 120));
        SendMessageW(right, WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(140, 120));
        SendMessageW(right, WM_MBUTTONUP, 0, MAKELPARAM(140, 120));
        pump();
        RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        const std::wstring png = outDir + L"\\picture_scene.png";
        ok = saveChildren(frame, {left, right}, png) && ok;
        std::printf("mavdemo: wrote %ls (picture %dx%d, zoom %.4f)\n", png.c_str(),
                    static_cast<int>(fitted.pictureSize().cx), static_cast<int>(fitted.pictureSize().cy),
                    zoomed.zoomGet());
        std::fflush(stdout);
    }
    DestroyWindow(frame);
    if (SUCCEEDED(ole))
        OleUninitialize();
    DeleteFileW(bmpPath.c_str());
    return ok;
}

bool runVllScene(HINSTANCE instance, const std::wstring& outDir)
{
    HWND frame = sceneFrame(instance, L"MavMfc outlines", 520, 340);
    if (!frame)
        return false;
    HWND child = frameChild(frame, instance, 1201, 10, 10, 500, 320);
    bool ok = false;
    {
        CMavVllImage view;
        view.SubclassWindow(child);
        view.SetBkColor(RGB(40, 44, 52));
        // The list's point defaults draw the base point: a circle with a cross, 60 drawing units wide.
        view.get_dpList()->pdModeSet(34);
        view.get_dpList()->pdSizeSet(60.0);

        CMavArrayTempl<CMavVertexArray> vll;
        // A plain panel.
        vll.append(outline({CMavPoint3d(0, 0, 0), CMavPoint3d(400, 0, 0), CMavPoint3d(400, 600, 0),
                            CMavPoint3d(0, 600, 0)}));
        // A panel with an arched top (two bulged segments).
        CMavVertexArray arch;
        arch.append(CMavPoint3d(500, 0, 0), CMavPoint3d(900, 0, 0));
        arch.appendTo(CMavPoint3d(900, 450, 0));
        arch.appendTo(CMavPoint3d(700, 600, 0), 0.4);
        arch.appendTo(CMavPoint3d(500, 450, 0), 0.4);
        arch.appendTo(CMavPoint3d(500, 0, 0));
        vll.append(arch);
        // A corner shelf (L-shape).
        vll.append(outline({CMavPoint3d(1000, 0, 0), CMavPoint3d(1400, 0, 0), CMavPoint3d(1400, 150, 0),
                            CMavPoint3d(1150, 150, 0), CMavPoint3d(1150, 600, 0), CMavPoint3d(1000, 600, 0)}));
        // A triangular gable.
        vll.append(outline({CMavPoint3d(1500, 0, 0), CMavPoint3d(1900, 0, 0), CMavPoint3d(1500, 600, 0)}));
        ok = view.setVll(vll);
        view.SetCurVl(1);
        // A full fit that counts the base point too (the quick one after building lets the first polyline
        // replace the base point's empty box).
        view.setDrawBase(true);
        pump();
        RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        const std::wstring png = outDir + L"\\vll_scene.png";
        ok = saveChildren(frame, {child}, png) && ok;
        std::printf("mavdemo: wrote %ls (%d items, current %d)\n", png.c_str(), view.get_dpList()->lenGet(),
                    view.curVlGet());
        std::fflush(stdout);
    }
    DestroyWindow(frame);
    return ok;
}

} // namespace mavdemo
