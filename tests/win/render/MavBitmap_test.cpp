// The bitmap helpers on 32-bit DIB sections: the background colour found from five samples, and a bitmap drawn
// with its background left out.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "render/MavBitmap.h"
#include "render_test_support.h"

namespace {

// A DIB section in a CBitmap with its pixels (0x00RRGGBB).
struct Bitmap {
    CBitmap bmp;
    DWORD* bits = nullptr;
    BITMAP info{};
    int w, h;
    Bitmap(int width, int height, DWORD fill) : w(width), h(height)
    {
        bmp.CreateDIBSection32(w, h, &bits);
        std::fill(bits, bits + w * h, fill);
        bmp.GetBitmap(&info);
    }
    // Sets the four corners (top left, top right, bottom left, bottom right) and returns the background found.
    unsigned long background(DWORD tl, DWORD tr, DWORD bl, DWORD br)
    {
        bits[0] = tl, bits[w - 1] = tr, bits[(h - 1) * w] = bl, bits[h * w - 1] = br;
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CScopedSelect sel(dc, bmp);
        return mav_gdx_picture_bkcolor_get(&dc, &info);
    }
};

} // namespace

TEST(Bitmap, BackgroundIsTheMajorityOfFiveSamplesSmallestOnTies)
{
    // The four corners and the centre sample, (w - 1) / 2 and (h - 1) / 2 truncated: four white corners are white;
    // two white and two black tie, and the smaller value, black, wins; five different colours give the smallest
    // COLORREF, pure red; in 6 x 4 the centre (2, 1) decides between two pairs, not (3, 2).
    Bitmap a(5, 5, 0x00FF00), c(6, 4, 0x123456);
    a.bits[2 * 5 + 2] = 0xFF0000;
    c.bits[1 * 6 + 2] = 0x0000FF;
    c.bits[2 * 6 + 3] = 0x00FF00;
    EXPECT_EQ((std::vector<unsigned long>{
                  a.background(0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF), a.background(0xFFFFFF, 0, 0, 0xFFFFFF),
                  a.background(0, 0xFFFFFF, 0xFFFFFF, 0), a.background(0x0000FF, 0x00FF00, 0x808080, 0xFFFFFF),
                  c.background(0x0000FF, 0x00FF00, 0x00FF00, 0x0000FF), mav_gdx_picture_bkcolor_get(nullptr, &c.info)}),
              (std::vector<unsigned long>{0xFFFFFF, 0, 0, RGB(255, 0, 0), RGB(0, 0, 255), 0}));
}

TEST(Bitmap, TransparentDrawingLeavesBackgroundPixelsOfTheTarget)
{
    // An 8 x 6 picture on white: a red block, a near-white pixel and a black pixel, which must all show.
    Bitmap pic(8, 6, 0xFFFFFF);
    for (int y = 2; y < 4; ++y)
        std::fill(pic.bits + y * 8 + 2, pic.bits + y * 8 + 6, 0xFF0000);
    pic.bits[1 * 8 + 1] = 0xFEFFFF;
    pic.bits[4 * 8 + 6] = 0x000000;

    // The target: a different colour in every pixel, so any disturbed pixel shows.
    afxtest::Dib target(20, 16, 0);
    for (int y = 0; y < target.h; ++y)
        for (int x = 0; x < target.w; ++x)
            target.bits[y * target.w + x] = static_cast<DWORD>(0x101010 + x * 0x0B0000 + y * 0x000D00 + (x ^ y));
    const std::vector<DWORD> before(target.bits, target.bits + target.w * target.h);
    SetBkColor(target.dc, RGB(1, 2, 3));
    SetTextColor(target.dc, RGB(4, 5, 6));
    const long gdiBefore = CGdiObject::GetLiveCount(), dcBefore = CDC::GetLiveCount();

    CDC* dc = CDC::FromHandle(target.dc);
    mav_gdx_picture_transparent(dc, 5, 7, 100, 100, &pic.bmp);

    // Drawn at (5, 7): every non-white picture pixel lands there, every other target pixel is untouched.
    afxtest::Dib expected(20, 16, 0);
    for (int i = 0; i < 20 * 16; ++i) {
        const int px = i % 20 - 5, py = i / 20 - 7;
        const bool shows = px >= 0 && py >= 0 && px < 8 && py < 6 && pic.bits[py * 8 + px] != 0xFFFFFF;
        expected.bits[i] = shows ? pic.bits[py * 8 + px] : before[i];
    }
    EXPECT_EQ(rendertest::differing(target, expected), 0);
    // The target's colours are as they were, nothing was left behind, and the picture can be selected elsewhere.
    EXPECT_EQ(
        (std::vector<long>{static_cast<long>(GetBkColor(target.dc)), static_cast<long>(GetTextColor(target.dc)),
                           CGdiObject::GetLiveCount(), CDC::GetLiveCount()}),
        (std::vector<long>{static_cast<long>(RGB(1, 2, 3)), static_cast<long>(RGB(4, 5, 6)), gdiBefore, dcBefore}));
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_NE(SelectObject(other, pic.bmp), nullptr);
    DeleteDC(other);

    // Null arguments draw nothing.
    mav_gdx_picture_transparent(nullptr, 0, 0, 0, 0, &pic.bmp);
    mav_gdx_picture_transparent(dc, 0, 0, 0, 0, nullptr);
    EXPECT_EQ(target.at(0, 0), before[0]);
}
