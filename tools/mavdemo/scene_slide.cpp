// The slide scene: the same slide drawn twice, by the slide viewer straight from its records and by the display
// list view from the items the slide generator made of them, both framed on the slide's raster.
#include "scene_slide.h"

#include <cstdio>
#include <vector>

#include "generators/sld_image.h"
#include "slide/slide.h"
#include "gdx/CMavGDX.h"
#include "render/CMavDplistImage.h"
#include "render/CMavSlidePic.h"
#include "png_write.h"

namespace mavdemo {
namespace {

constexpr int kViewWidth = 400;
constexpr int kViewHeight = 320;
constexpr int kMargin = 10;
constexpr int kCaption = 24;
const wchar_t* const kSlideName = L"EVERY";

bool fileExists(const std::wstring& path)
{
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// The slide library: beside the program (an installed demo), else in the source tree's test data above the build
// folder the program was built into.
std::wstring findSlideLibrary()
{
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            return std::wstring();
        if (n < buf.size())
            break;
        buf.resize(buf.size() * 2);
    }
    std::wstring dir(buf.data());
    dir = dir.substr(0, dir.find_last_of(L"\\/"));
    if (fileExists(dir + L"\\slides\\library.slb"))
        return dir + L"\\slides\\library.slb";
    for (int up = 0; up < 6 && !dir.empty(); ++up) {
        const std::wstring candidate = dir + L"\\tests\\data\\slides\\library.slb";
        if (fileExists(candidate))
            return candidate;
        const size_t cut = dir.find_last_of(L"\\/");
        if (cut == std::wstring::npos)
            break;
        dir.resize(cut);
    }
    return std::wstring();
}

LRESULT CALLBACK sceneProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(wnd, &ps);
        RECT rc;
        GetClientRect(wnd, &rc);
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        SetBkMode(dc, TRANSPARENT);
        HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        const wchar_t left[] = L"CMavSlidePic: the slide's records";
        const wchar_t right[] = L"CMavDplistImage: mav_gdx_image_sld items";
        TextOutW(dc, kMargin, 5, left, static_cast<int>(wcslen(left)));
        TextOutW(dc, 2 * kMargin + kViewWidth, 5, right, static_cast<int>(wcslen(right)));
        SelectObject(dc, oldFont);
        EndPaint(wnd, &ps);
        return 0;
    }
    return DefWindowProcW(wnd, msg, wp, lp);
}

} // namespace

bool runSlideScene(HINSTANCE instance, const std::wstring& outDir)
{
    const std::wstring library = findSlideLibrary();
    if (library.empty()) {
        std::fprintf(stderr, "mavdemo: slide library not found (slides\\library.slb or tests\\data\\slides)\n");
        return false;
    }
    std::vector<unsigned char> bytes;
    MAV::SlideHeader_st header;
    CMavSlideDecoder probe;
    if (!MAV::slideLibraryLoad(library.c_str(), kSlideName, bytes) ||
        !probe.readHeader(bytes.data(), bytes.size(), header)) {
        std::fprintf(stderr, "mavdemo: slide %ls not readable in %ls\n", kSlideName, library.c_str());
        return false;
    }

    WNDCLASSW wc{};
    wc.lpfnWndProc = sceneProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"MavDemoSlideScene";
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassW(&wc);
    const int clientW = 3 * kMargin + 2 * kViewWidth, clientH = kCaption + kViewHeight + kMargin;
    RECT outer{0, 0, clientW, clientH};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    HWND frame = CreateWindowExW(0, wc.lpszClassName, L"MavMfc slide scene", WS_OVERLAPPEDWINDOW, 60, 60,
                                 outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, instance,
                                 nullptr);
    if (!frame) {
        std::fprintf(stderr, "mavdemo: cannot create the slide scene window (error %lu)\n", GetLastError());
        return false;
    }

    // Left: the viewer on AutoCAD's black, straight from the library.
    CMavSlidePic pic;
    pic.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, kMargin, kCaption, kViewWidth, kViewHeight, frame,
                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(1101)));
    pic.SetBkColor(0);
    const bool shown = pic.show(kSlideName, library.c_str());

    // Right: the same slide as display items, the view fitted on the slide's raster rather than on the items'
    // extents (some lines of this slide run far outside its raster).
    HWND staticWnd = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 2 * kMargin + kViewWidth, kCaption,
                                     kViewWidth, kViewHeight, frame, reinterpret_cast<HMENU>(1102), instance,
                                     nullptr);
    CMavGDX gdx;
    gdx.backColorSet(CMavColor(0));
    const bool items = mav_gdx_image_sld(&gdx, kSlideName, library.c_str(), 0, nullptr);
    gdx.viewMtxSet(getViewMtx(CMavPoint3d(0, 0, 0), CMavPoint3d(header.highX, header.highY, 0), kViewHeight,
                              kViewWidth, 0.0));
    CMavDplistImage view;
    view.SubclassWindow(staticWnd);
    view.set_dpList(&gdx);

    ShowWindow(frame, SW_SHOW);
    UpdateWindow(frame);
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    const std::wstring png = outDir + L"\\slide_scene.png";
    HDC dc = GetDC(frame);
    const bool saved = saveDcAsPng(dc, clientW, clientH, png);
    ReleaseDC(frame, dc);
    if (saved)
        std::printf("mavdemo: wrote %ls (slide %ls of %ls, %d display items)\n", png.c_str(), kSlideName,
                    library.c_str(), gdx.lenGet());
    else
        std::fprintf(stderr, "mavdemo: cannot write %ls\n", png.c_str());
    std::fflush(stdout);

    view.set_dpList(nullptr);
    view.DestroyWindow();
    pic.DestroyWindow();
    DestroyWindow(frame);
    return saved && shown && items;
}

} // namespace mavdemo
