// MavMfc.dll loads under Windows, carries its icon and version, and GDI draws through a real window into a DIB.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "afx/afx_test_support.h"
#include "dllmain.h"
#include "resource.h"
#include "version.h"

namespace {

HMODULE libraryModule()
{
    HMODULE dll = GetModuleHandleW(L"MavMfc.dll");
    return dll ? dll : LoadLibraryW(L"MavMfc.dll");
}

using afxtest::Dib;

} // namespace

TEST(DllLoad, ModuleHandleIsTheLoadedDll)
{
    HMODULE dll = libraryModule();
    ASSERT_NE(dll, nullptr);
    EXPECT_EQ(MAV::dllInstance(), dll);
    EXPECT_STREQ(MAV::versionString(), MAV_VERSION_STRING);
}

TEST(DllLoad, VersionResourceNamesProductAndMaker)
{
    wchar_t path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(libraryModule(), path, MAX_PATH), 0u);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, data.data()));
    wchar_t* value = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\040904b0\\ProductName", (void**)&value, &len));
    EXPECT_STREQ(value, L"MavMfc");
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\040904b0\\CompanyName", (void**)&value, &len));
    EXPECT_STREQ(value, L"MAVORA");
    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", (void**)&fixed, &len));
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), MAV_VERSION_MAJOR);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), MAV_VERSION_MINOR);
}

// The icon is drawn into a white DIB: its corners stay transparent (white) and its tile shows the blue of the
// library's icon, with the white cabinet outline inside.
TEST(DllLoad, LibraryIconDrawsWithTransparentCorners)
{
    HICON icon = static_cast<HICON>(LoadImageW(libraryModule(), MAKEINTRESOURCEW(IDI_MAV_APP), IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bm{};
    GetObjectW(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    Dib dib(32, 32);
    RECT all{0, 0, 32, 32};
    FillRect(dib.dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ASSERT_TRUE(DrawIconEx(dib.dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL));
    DestroyIcon(icon);
    EXPECT_EQ(dib.at(0, 0), 0xFFFFFFu);
    EXPECT_EQ(dib.at(31, 31), 0xFFFFFFu);
    DWORD tile = dib.at(3, 16); // left margin of the tile, outside the cabinet
    EXPECT_GT(tile & 0xFF, 120u);            // blue channel (DIB is 0x00RRGGBB)
    EXPECT_LT((tile >> 16) & 0xFF, 60u);     // little red
    EXPECT_EQ(dib.at(6, 16), 0xFAFAFAu);     // the cabinet's left side
}

// A real window exists, its class gets the library icon, and GDI from its DC into a memory DIB gives exact pixels.
TEST(DllLoad, WindowAndDibDrawing)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MavDllLoadTest";
    wc.hIcon = LoadIconW(libraryModule(), MAKEINTRESOURCEW(IDI_MAV_APP));
    ASSERT_NE(wc.hIcon, nullptr);
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"MavMfc", WS_OVERLAPPEDWINDOW, 0, 0, 200, 150, nullptr, nullptr,
                               wc.hInstance, nullptr);
    ASSERT_NE(wnd, nullptr) << "no display? error " << GetLastError();
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(wnd, GCLP_HICON)), wc.hIcon);

    Dib dib(40, 30);
    RECT all{0, 0, 40, 30};
    HBRUSH bg = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dib.dc, &all, bg);
    DeleteObject(bg);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ oldPen = SelectObject(dib.dc, pen);
    MoveToEx(dib.dc, 5, 10, nullptr);
    LineTo(dib.dc, 35, 10);
    SelectObject(dib.dc, oldPen);
    DeleteObject(pen);
    EXPECT_EQ(dib.at(5, 10), 0xFF0000u);
    EXPECT_EQ(dib.at(34, 10), 0xFF0000u);
    EXPECT_EQ(dib.at(35, 10), 0xFFFFFFu); // the last point is not drawn
    EXPECT_EQ(dib.at(20, 11), 0xFFFFFFu);

    DestroyWindow(wnd);
    UnregisterClassW(wc.lpszClassName, wc.hInstance);
}
