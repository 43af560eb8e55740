// The font sheet: the glyph table in rows, a sentence at falling sizes, and the eight alignment codes each shown
// with a cross at its insertion point, so that a wrong shift is seen at once.
#include "scene_font.h"

#include <windows.h>

#include <cstdio>

#include "afx/CDC.h"
#include "afx/CGdiObject.h"
#include "gdx/CMavGDX.h"
#include "geometry/font.h"
#include "render/MavRender.h"
#include "png_write.h"

namespace mavdemo {
namespace {

void fillSheet(CMavGDX& gdx)
{
    const CMavMatrix3d& id = CMavMatrix3d::kIdentity;
    // Texts are drawn as filled outlines. The glyphs, 18 to a row, each its own text item so that every cell starts at the same pitch.
    const unsigned count = MAV::fontGlyphCount();
    for (unsigned i = 0; i < count; ++i) {
        const wchar_t text[2] = {static_cast<wchar_t>(MAV::fontGlyphCode(i)), 0};
        const CMavPoint3d at(1.6 * (i % 18), -2.0 * (i / 18), 0);
        gdx.imageTxt({1, static_cast<int>(i)}, Mav::kGdxFilled, text, CMavColor(5), id, L"", at);
    }
    // One line at four sizes: 1, 1/2, 1/3 and 1/4 of the glyph rows' size. Space has no glyph and does not
    // advance the pen, so the line has none.
    const double sizes[] = {1.0, 0.5, 1.0 / 3.0, 0.25};
    double y = -14.0;
    for (int i = 0; i < 4; ++i) {
        const double s = sizes[i];
        gdx.imageTxt({2, i}, Mav::kGdxFilled, L"T\u00fcr_links:450x600mm(\u00c4hnlich)50%#3@1\u00bd", CMavColor(250),
                     CMavMatrix3d::scaling(s), L"", CMavPoint3d(0, y / s, 0));
        y -= 1.8 * s + 0.4;
    }
    // The alignment codes. The layout measures the text's height from y = 0, so a text is laid out at the origin
    // and placed by its matrix, as hosts do; the red cross marks the place.
    const wchar_t* codes[] = {L"TL", L"TC", L"TR", L"CL", L"CC", L"CR", L"BC", L"BR"};
    for (int i = 0; i < 8; ++i) {
        const CMavPoint3d at(10.0 + 16.0 * (i % 2), -22.0 - 3.5 * (i / 2), 0);
        const CMavString text = CMavString(L"Fach-") + codes[i];
        gdx.imageTxt({3, i}, Mav::kGdxFilled, text.c_str(), CMavColor(3), CMavMatrix3d::translation(at - CMavPoint3d()),
                     codes[i], CMavPoint3d());
        gdx.imagePt({4, i}, 0, at, CMavColor(1), id, -8.0, 3);
    }
}

} // namespace

bool runFontSheet(const std::wstring& outDir)
{
    CMavGDX gdx;
    gdx.backColorSet(CMavColor(7));
    fillSheet(gdx);

    const int w = 1400, h = 1000;
    CMavPoint3d lo, hi;
    gdx.extMaxViewGet(lo, hi);
    gdx.viewMtxSet(getViewMtx(lo, hi, h, w, 0.03));
    gdx.zoomMtxSet(CMavMatrix3d());

    CDC dc;
    CBitmap dib;
    DWORD* bits = nullptr;
    if (!dc.CreateCompatibleDC(nullptr) || !dib.CreateDIBSection32(w, h, &bits)) {
        std::fprintf(stderr, "mavdemo: no bitmap for the font sheet\n");
        return false;
    }
    HGDIOBJ old = SelectObject(dc, dib);
    MAV::renderWindow(dc, gdx, w, h);
    GdiFlush();
    SelectObject(dc, old);
    const std::wstring png = outDir + L"\\fontsheet_dplist.png";
    const bool ok = savePng(bits, w, h, png);
    if (ok)
        std::printf("mavdemo: wrote %ls\n", png.c_str());
    std::fflush(stdout);
    return ok;
}

} // namespace mavdemo
