// The DLL's drawn resources: the material tree and row icons in both sizes and the pan cursor with its hot spot
// in the centre, loaded from the library and drawn into a DIB.
#include <gtest/gtest.h>

#include <vector>

#include "afx/afxwin.h"
#include "afx_test_support.h"
#include "resource.h"

namespace {

HICON loadIcon(int id, int size)
{
    return static_cast<HICON>(LoadImageW(afxtest::libraryModule(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
}

struct Probe {
    double x, y; // in the unit square
    DWORD rgb;
};

} // namespace

TEST(AfxResources, IconsOfTheMaterialTreeAndTheRowsDrawInBothSizes)
{
    const DWORD grey = 0x808080;
    struct Case {
        int id;
        Probe inside[2];
    } cases[] = {
        {2001, {{0.50, 0.56, 0xF5C341}, {0.25, 0.21, 0xD7A02D}}}, // folder body, tab
        {2002, {{0.50, 0.12, 0x69411E}, {0.30, 0.40, 0xD7A05F}}}, // board frame, light wood
        {2003, {{0.79, 0.50, 0xD72D28}, {0.38, 0.50, 0xEBDCB9}}}, // red band, light board
        {2004, {{0.50, 0.50, 0x2D2D2D}, {0.50, 0.39, 0xFFFFFF}}}, // text line, row background
        {2005, {{0.40, 0.72, 0x2D2D2D}, {0.80, 0.72, 0xFFFFFF}}}, // short last line, then background
    };
    for (const Case& c : cases) {
        for (int size : {16, 32}) {
            HICON icon = loadIcon(c.id, size);
            ASSERT_NE(icon, nullptr) << c.id << " at " << size;
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP bm{};
            GetObjectW(info.hbmColor, sizeof bm, &bm);
            EXPECT_TRUE(info.fIcon && bm.bmWidth == size) << c.id;
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);

            afxtest::Dib dib(size, size, grey);
            DrawIconEx(dib.dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
            DestroyIcon(icon);
            EXPECT_EQ((std::vector<DWORD>{dib.at(0, 0), dib.at(size - 1, size - 1)}), (std::vector<DWORD>{grey, grey}))
                << c.id << " corners are transparent";
            if (size == 32) {
                for (const Probe& p : c.inside) {
                    const int x = static_cast<int>(p.x * size), y = static_cast<int>(p.y * size);
                    EXPECT_EQ(dib.at(x, y), p.rgb) << c.id << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(AfxResources, PanCursorHasItsHotSpotInTheCentre)
{
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(2006), RT_GROUP_CURSOR);
    ASSERT_EQ(module, afxtest::libraryModule());
    HCURSOR cursor = static_cast<HCURSOR>(LoadImageW(module, MAKEINTRESOURCEW(2006), IMAGE_CURSOR, 32, 32, 0));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_EQ((std::vector<DWORD>{static_cast<DWORD>(info.fIcon), info.xHotspot, info.yHotspot}),
              (std::vector<DWORD>{FALSE, 16, 16}));
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    afxtest::Dib dib(32, 32, 0x808080);
    DrawIconEx(dib.dc, 0, 0, cursor, 32, 32, 0, nullptr, DI_NORMAL);
    DestroyCursor(cursor);
    EXPECT_EQ(dib.at(16, 16), 0x000000u) << "black at the hot spot";
    // Four arms of the same length: black near each tip, white outline beside the shaft, clear between the arms.
    for (auto p : {CPoint(16, 3), CPoint(16, 29), CPoint(3, 16), CPoint(29, 16)})
        EXPECT_EQ(dib.at(p.x, p.y), 0x000000u) << p.x << "," << p.y;
    for (auto p : {CPoint(16, 0), CPoint(16, 32 - 1), CPoint(0, 16), CPoint(31, 16)})
        EXPECT_NE(dib.at(p.x, p.y), 0x000000u) << "the tip ends inside the image " << p.x << "," << p.y;
    EXPECT_EQ((std::vector<DWORD>{dib.at(18, 8), dib.at(8, 14), dib.at(6, 6), dib.at(26, 26)}),
              (std::vector<DWORD>{0xFFFFFF, 0xFFFFFF, 0x808080, 0x808080}));
}
