// Bitmap helpers: the background colour of a bitmap found by sampling, and transparent drawing through a mask.
//
// The background of a picture such as an icon or a scanned drawing is the colour of most of its border. Five
// samples are enough for the pictures the hosts hand in (a plain background around a centred object); the centre
// sample lets a picture that fills the whole area keep its own colour where the corners disagree.
#include "render/MavBitmap.h"

#include <climits>
#include <map>

unsigned long mav_gdx_picture_bkcolor_get(CDC* dc, BITMAP* bitmap)
{
    if (!dc || !dc->GetSafeHdc() || !bitmap)
        return 0;
    // The last column and row. The record comes from the caller: a width or height of INT_MIN has no last one
    // in range, and GetPixel answers such a point like any other outside the bitmap.
    const int right = bitmap->bmWidth > INT_MIN ? bitmap->bmWidth - 1 : INT_MIN;
    const int bottom = bitmap->bmHeight > INT_MIN ? bitmap->bmHeight - 1 : INT_MIN;
    const POINT samples[5] = {{0, 0},
                              {right, 0},
                              {0, bottom},
                              {static_cast<int>(right * 0.5), static_cast<int>(bottom * 0.5)},
                              {right, bottom}};
    // Ordered by colour value, so the first of equal counts is the smallest colour.
    std::map<COLORREF, int> counts;
    for (const POINT& p : samples)
        ++counts[dc->GetPixel(p.x, p.y)];
    COLORREF best = 0;
    int bestCount = 0;
    for (const auto& entry : counts) {
        if (entry.second > bestCount) {
            best = entry.first;
            bestCount = entry.second;
        }
    }
    return best;
}

// The mask is a monochrome copy of the bitmap in which the background colour became white (1) and everything
// else black (0). Onto the target, bitmap XOR, mask AND, bitmap XOR: where the mask is white the two XORs cancel
// and the target stays; where it is black the AND clears the target and the second XOR leaves the bitmap's pixel.
// The mask reaches the target through its text (0 bits) and background (1 bits) colours, hence black and white.
void mav_gdx_picture_transparent(CDC* dc, int x, int y, int, int, CBitmap* bitmap)
{
    if (!dc || !dc->GetSafeHdc() || !bitmap || !bitmap->GetSafeHandle())
        return;
    BITMAP bm{};
    if (!bitmap->GetBitmap(&bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return;
    const int w = bm.bmWidth;
    const int h = bm.bmHeight;

    const COLORREF oldBack = dc->SetBkColor(RGB(255, 255, 255));
    const COLORREF oldText = dc->SetTextColor(RGB(0, 0, 0));
    CDC image;
    CDC mask;
    CBitmap maskBitmap;
    if (image.CreateCompatibleDC(dc) && mask.CreateCompatibleDC(dc) &&
        maskBitmap.CreateBitmap(w, h, 1, 1, nullptr)) {
        CScopedSelect imageSel(image, *bitmap);
        CScopedSelect maskSel(mask, maskBitmap);
        const COLORREF back = static_cast<COLORREF>(mav_gdx_picture_bkcolor_get(&image, &bm));
        const COLORREF oldImageBack = image.SetBkColor(back);
        mask.BitBlt(0, 0, w, h, &image, 0, 0, SRCCOPY);
        dc->BitBlt(x, y, w, h, &image, 0, 0, SRCINVERT);
        dc->BitBlt(x, y, w, h, &mask, 0, 0, SRCAND);
        dc->BitBlt(x, y, w, h, &image, 0, 0, SRCINVERT);
        image.SetBkColor(oldImageBack);
    }
    dc->SetBkColor(oldBack);
    dc->SetTextColor(oldText);
}
