// The bitmap helpers on 32-bit DIB sections: the background colour found from five samples, and a bitmap drawn
// with its background left out.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "../afx/afx_test_support.h"
#include "render/MavBitmap.h"

namespace {

// A DIB section in a CBitmap with its pixels (0x00RRGGBB) and a DC it is selected into.
struct Bitmap {
    CBitmap bmp;
    DWORD* bits = nullptr;
    BITMAP info{};
    int w, h;
    Bitmap(int width, int height, DWORD fill) : w(width), h(height)
    {
        bmp.CreateDIBSection32(w, h, &bits);
        for (int i = 0; i < w * h; ++i)
            bits[i] = fill;
        bmp.GetBitmap(&info);
    }
    void set(int x, int y, DWORD c) { bits[y * w + x] = c; }
};

unsigned long background(Bitmap& b)
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CScopedSelect sel(dc, b.bmp);
    return mav_gdx_picture_bkcolor_get(&dc, &b.info);
}

} // namespace

TEST(Bitmap, BackgroundIsTheMajorityOfFiveSamplesSmallestOnTies)
{
    // Four white corners, red centre: white.
    Bitmap a(5, 5, 0x00FF00);
    a.set(0, 0, 0xFFFFFF);
    a.set(4, 0, 0xFFFFFF);
    a.set(0, 4, 0xFFFFFF);
    a.set(4, 4, 0xFFFFFF);
    a.set(2, 2, 0xFF0000);
    EXPECT_EQ(background(a), 0xFFFFFFul);

    // Two white and two black corners, red centre: the tie goes to the smaller value, black.
    a.set(4, 0, 0);
    a.set(0, 4, 0);
    EXPECT_EQ(background(a), 0ul);
    // Moved so that black sits top left and bottom right: still black, the order of sampling does not matter.
    a.set(4, 0, 0xFFFFFF);
    a.set(0, 4, 0xFFFFFF);
    a.set(0, 0, 0);
    a.set(4, 4, 0);
    EXPECT_EQ(background(a), 0ul);

    // Five different colours: the smallest COLORREF (0x00BBGGRR), here pure red 0x0000FF.
    Bitmap b(5, 5, 0x777777);
    b.set(0, 0, 0x0000FF); // blue: COLORREF 0xFF0000
    b.set(4, 0, 0x00FF00); // green: 0x00FF00
    b.set(0, 4, 0xFF0000); // red: 0x0000FF
    b.set(4, 4, 0xFFFFFF);
    b.set(2, 2, 0x808080);
    EXPECT_EQ(background(b), static_cast<unsigned long>(RGB(255, 0, 0)));

    // 6 x 4: the centre sample is (2, 1), (w - 1) / 2 and (h - 1) / 2 truncated; it decides between two pairs.
    Bitmap c(6, 4, 0x123456);
    c.set(0, 0, 0x0000FF);
    c.set(5, 3, 0x0000FF);
    c.set(5, 0, 0x00FF00);
    c.set(0, 3, 0x00FF00);
    c.set(2, 1, 0x0000FF);
    c.set(3, 2, 0x00FF00); // where a rounded centre would look
    EXPECT_EQ(background(c), static_cast<unsigned long>(RGB(0, 0, 255)));

    EXPECT_EQ(mav_gdx_picture_bkcolor_get(nullptr, &c.info), 0ul);
}

TEST(Bitmap, TransparentDrawingLeavesBackgroundPixelsOfTheTarget)
{
    // An 8 x 6 picture on white: a red block, a near-white pixel and a black pixel, which must all show.
    Bitmap pic(8, 6, 0xFFFFFF);
    for (int y = 2; y < 4; ++y)
        for (int x = 2; x < 6; ++x)
            pic.set(x, y, 0xFF0000);
    pic.set(1, 1, 0xFEFFFF);
    pic.set(6, 4, 0x000000);

    // The target: a different colour in every pixel, so any disturbed pixel shows.
    afxtest::Dib target(20, 16, 0);
    for (int y = 0; y < target.h; ++y)
        for (int x = 0; x < target.w; ++x)
            target.bits[y * target.w + x] = static_cast<DWORD>(0x101010 + x * 0x0B0000 + y * 0x000D00 + (x ^ y));
    std::vector<DWORD> before(target.bits, target.bits + target.w * target.h);
    SetBkColor(target.dc, RGB(1, 2, 3));
    SetTextColor(target.dc, RGB(4, 5, 6));
    const long gdiBefore = CGdiObject::GetLiveCount();
    const long dcBefore = CDC::GetLiveCount();

    CDC* dc = CDC::FromHandle(target.dc);
    mav_gdx_picture_transparent(dc, 5, 7, 100, 100, &pic.bmp);

    for (int y = 0; y < target.h; ++y)
        for (int x = 0; x < target.w; ++x) {
            const int px = x - 5, py = y - 7;
            DWORD expect = before[y * target.w + x];
            if (px >= 0 && py >= 0 && px < 8 && py < 6 && pic.bits[py * 8 + px] != 0xFFFFFF)
                expect = pic.bits[py * 8 + px];
            EXPECT_EQ(target.at(x, y), expect) << "at " << x << "," << y;
        }
    EXPECT_EQ(target.at(7, 9), 0xFF0000u);
    EXPECT_EQ(target.at(6, 8), 0xFEFFFFu);
    EXPECT_EQ(target.at(11, 11), 0u);
    // The target's colours are as they were, and nothing was left behind.
    EXPECT_EQ(GetBkColor(target.dc), RGB(1, 2, 3));
    EXPECT_EQ(GetTextColor(target.dc), RGB(4, 5, 6));
    EXPECT_EQ(CGdiObject::GetLiveCount(), gdiBefore);
    EXPECT_EQ(CDC::GetLiveCount(), dcBefore);
    // The picture is free again: it can be selected elsewhere.
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_NE(SelectObject(other, pic.bmp), nullptr);
    DeleteDC(other);

    // Null arguments draw nothing.
    mav_gdx_picture_transparent(nullptr, 0, 0, 0, 0, &pic.bmp);
    mav_gdx_picture_transparent(dc, 0, 0, 0, 0, nullptr);
    EXPECT_EQ(target.at(0, 0), before[0]);
}
