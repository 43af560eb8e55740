// The gallery scene: a cabinet front with a dashed door swing, a filled panel with a hole, a hatched side,
// a glass panel with an arc top, and the point styles, all in one display list.
#include "gallery.h"

#include <cstdio>

#include "gdx/CMavGDX.h"
#include "base/CMavVertexArray.h"
#include "data/patterns.h"
#include "render/CMavDplistImage.h"
#include "render/MavRender.h"
#include "png_write.h"

namespace mavdemo {
namespace {

CMavVertexArray rectangle(double x0, double y0, double x1, double y1)
{
    return CMavVertexArray::fromPoints(
        {CMavPoint3d(x0, y0, 0), CMavPoint3d(x1, y0, 0), CMavPoint3d(x1, y1, 0), CMavPoint3d(x0, y1, 0)}, true);
}

void fillGallery(CMavGDX& gdx)
{
    const CMavMatrix3d& id = CMavMatrix3d::kIdentity;
    // Carcass and shelf in blue, the door swing dashed.
    gdx.imageVl({1}, 0, rectangle(0, 0, 600, 720), CMavColor(5), id, {}, 1.0, 2);
    gdx.imageVl({1}, 0, rectangle(20, 360, 580, 380), CMavColor(5), id, {}, 1.0, 1);
    CMavVertexArray swing;
    swing.append(CMavPoint3d(0, 0, 0), CMavPoint3d(300, 300, 0), 0.0);
    swing.append(CMavPoint3d(300, 300, 0), CMavPoint3d(600, 0, 0), 0.0);
    gdx.imageVl({1}, 0, swing, CMavColor(1), id, {1.0, 1.0, 0.0}, 2.0, 1);
    // A filled panel with a hole for a handle.
    CMavArrayTempl<CMavVertexArray> panel;
    panel.append(rectangle(700, 0, 1000, 720));
    panel.append(rectangle(830, 330, 870, 390));
    gdx.imageReg({2}, 0x1 | 0x10, panel, CMavColor(3), id, {}, 1.0, 1, CMavColor(151), MAV::CHatchProp());
    // A hatched side panel.
    CMavArrayTempl<CMavVertexArray> side;
    side.append(rectangle(1100, 0, 1300, 720));
    gdx.imageReg({3}, 0x2 | 0x10, side, CMavColor(7), id, {}, 1.0, 1, CMavColor(8), MAV::CHatchProp(L"ANSI31", 200.0));
    // A glass panel with an arched top (two bulged segments).
    CMavVertexArray glass;
    glass.append(CMavPoint3d(1400, 0, 0), CMavPoint3d(1700, 0, 0));
    glass.append(CMavPoint3d(1700, 0, 0), CMavPoint3d(1700, 560, 0));
    glass.append(CMavPoint3d(1700, 560, 0), CMavPoint3d(1400, 560, 0), 1.0);
    glass.append(CMavPoint3d(1400, 560, 0), CMavPoint3d(1400, 0, 0));
    CMavArrayTempl<CMavVertexArray> glassRegion;
    glassRegion.append(glass);
    gdx.imageReg({4}, 0x1 | 0x10, glassRegion, CMavColor(4), id, {}, 1.0, 2, CMavColor(254), MAV::CHatchProp());
    // Point styles along the bottom: dot, plus, cross, circle with plus, square with cross, filled square.
    const unsigned long modes[] = {0, 2, 3, 34, 67, 8, 98};
    for (int i = 0; i < 7; ++i)
        gdx.imagePt({5, i}, 0, CMavPoint3d(100.0 + 250.0 * i, -150, 0), CMavColor(6), id, 40.0, modes[i]);
}

LRESULT CALLBACK frameProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(wnd, msg, wp, lp);
}

} // namespace

bool runGallery(HINSTANCE instance, const std::wstring& outDir, bool interactive)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = frameProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"MavDemoGallery";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&wc);
    HWND frame = CreateWindowExW(0, wc.lpszClassName, L"MavMfc gallery", WS_OVERLAPPEDWINDOW, 60, 60, 820, 520,
                                 nullptr, nullptr, instance, nullptr);
    if (!frame)
        return false;
    HWND staticWnd = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 780, 460, frame,
                                     reinterpret_cast<HMENU>(1001), instance, nullptr);
    CMavGDX gdx;
    fillGallery(gdx);
    CMavDplistImage view;
    view.SubclassWindow(staticWnd);
    view.set_dpList(&gdx);
    view.zoomExtents();
    ShowWindow(frame, SW_SHOW);
    UpdateWindow(frame);
    RedrawWindow(staticWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);

    RECT rc;
    GetClientRect(staticWnd, &rc);
    HDC dc = GetDC(staticWnd);
    std::wstring png = outDir + L"\\gallery.png";
    bool ok = saveDcAsPng(dc, rc.right, rc.bottom, png);
    ReleaseDC(staticWnd, dc);
    std::wstring emf = outDir + L"\\gallery.emf";
    CMavGDX copy(gdx);
    refresh(&copy, emf.c_str(), 600, 1000);
    std::printf("mavdemo: wrote %ls and %ls\n", png.c_str(), emf.c_str());
    std::fflush(stdout);

    if (interactive) {
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    view.set_dpList(nullptr);
    if (IsWindow(frame))
        DestroyWindow(frame);
    return ok;
}

} // namespace mavdemo
