// Bitmap helpers for host modules: the background colour of a bitmap, and drawing a bitmap with its background
// left out.
#pragma once

#include "afx/afxwin.h"

// The background colour of the bitmap selected into dc: the most frequent of five samples (the four corners and
// the centre); on equal counts the smallest colour value. 0 for a null argument.
unsigned long mav_gdx_picture_bkcolor_get(CDC* dc, BITMAP* bitmap);

// Draws the bitmap at its own size with its upper left corner at (x, y) into dc; pixels of its background colour
// leave the target as it was. The two further sizes are not used.
void mav_gdx_picture_transparent(CDC* dc, int x, int y, int, int, CBitmap* bitmap);
