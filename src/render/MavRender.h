// Drawing a display list with GDI: the item drawing shared by the window (an off-screen bitmap of a view
// control) and the enhanced metafile that refresh writes, the metafile writer itself, and the picture loader.
#pragma once

#include <windows.h>

#include "gdx/CMavGDX.h"
#include "base/CMavMatrix3d.h"
#include "base/CMavString.h"

namespace MAV {

// Where the drawing goes. The two differ only in a few rules (colours, region fill, single pixels, dashes,
// text arcs, filled point squares, picture background); everything else is one procedure.
enum class RenderTarget { Window, Metafile };

struct RenderContext {
    HDC dc = nullptr;
    RenderTarget target = RenderTarget::Window;
    int width = 0;  // image size in device units: the client area, or the picture refresh writes
    int height = 0;
    CMavMatrix3d toDevice; // zoom x (projection x view)
    double dotLength = 0.0;      // length that replaces a dot of a line pattern
    double pixelThreshold = 0.0; // broken pieces shorter than this are drawn as a single pixel
};

// The context for a display list: its composite view matrix and the two lengths, for the given target and size.
RenderContext renderContextMake(HDC dc, RenderTarget target, const CMavGDX& gdx, int width, int height);

// Draws every item of the list in its current order. The pens, brushes, regions and bitmaps made for an item are
// deleted before the next one; the context gets back its pen and brush, in the window its whole state (the clip it
// came with bounds the whole drawing).
void renderItems(const CMavGDX& gdx, const RenderContext& ctx);

// The window picture: clip to the image, background filled with the list's background colour, the list sorted
// into drawing order and every item drawn. The context's state (pen, brush, colours, clip) is as it was after.
void renderWindow(HDC dc, CMavGDX& gdx, int width, int height);

} // namespace MAV

// Records the display list as an enhanced metafile into the file, or onto the clipboard when the name is null,
// fitted into height x width device units. The list is sorted and keeps the fitted view matrix.
void refresh(CMavGDX* gdx, const wchar_t* fileName, int height, int width);

// A bitmap of the picture: a system icon or an icon of this library by id (no name), else a ".ico" or ".bmp" file
// found on the search path. Icons are drawn over `background`, and `fromIcon` becomes false for them. The caller
// deletes the bitmap; null when nothing could be loaded.
HBITMAP mav_gdx_image_get_bitmap(const CMavString& name, int iconId, int width, int height, bool& fromIcon,
                                 unsigned long background);
