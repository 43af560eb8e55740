// Colours of the data library: an AutoCAD colour index or a true colour, with optional colour names; layers.
#pragma once

#include <cstdint>

#include "base/CMavObj.h"
#include "base/CMavString.h"

class CMavDataItem;

// A colour. The colour index follows AutoCAD: 1-255 the palette, 0 "by block" (for a fill colour: the item's
// own colour), 256 "by layer", -1 no colour. A true colour overrides the palette for display; setOleColor also
// gives the nearest palette index, setColor keeps the index (the colour shown where only indices count).
// The default colour has index 0 and no true colour.
class CMavColor : public CMavObj {
public:
    CMavColor() = default;
    explicit CMavColor(int index) : m_index(index) {}
    CMavColor(const CMavColor&) = default;
    CMavColor& operator=(const CMavColor&) = default;

    int colorIndex() const { return m_index; }
    // Sets the index and drops a true colour.
    void setColorIndex(int index);

    // The colour to show, packed as 0x00BBGGRR: the true colour, else the palette colour of the index
    // (acadRGB; indices outside 0-255 give its greys).
    std::uint32_t oleColor() const;
    // A true colour from 0x00BBGGRR (the top byte is ignored); the index becomes the nearest palette colour 1-255.
    void setOleColor(std::uint32_t bgr);
    // A true colour from AutoCAD's 0x00RRGGBB value (as group code 420 stores it); the index is kept.
    void setColor(std::uint32_t rgb);
    // The true colour as 0x00RRGGBB, or -1 without one.
    long color() const { return m_hasTrue ? static_cast<long>(m_rgb) : -1L; }
    bool isTrueColor() const { return m_hasTrue; }

    // Colour name and colour book name, as AutoCAD's named colours carry them.
    void setNames(const wchar_t* colorName, const wchar_t* bookName);
    const CMavString& colorName() const { return m_colorName; }
    const CMavString& bookName() const { return m_bookName; }

    bool operator==(const CMavColor& o) const;
    bool operator!=(const CMavColor& o) const { return !(*this == o); }

    // The palette index 1-255 nearest to 0x00BBGGRR (squared distance in RGB; the lowest index wins ties).
    static int nearestIndex(std::uint32_t bgr);

private:
    int m_index = 0;
    bool m_hasTrue = false;
    std::uint32_t m_rgb = 0; // 0x00RRGGBB
    CMavString m_colorName;
    CMavString m_bookName;
};

namespace MAV {

// A colour from a data item: an int is a colour index; a text is an index ("7") or "r,g,b" (a true colour);
// a directory gives "COLOR" (index), "RGB" (true colour 0x00RRGGBB as int or text), "NAME" and "BOOK" (names).
// False, colour unchanged, for a null item or one that holds none of these.
bool color_from_data(const CMavDataItem* item, CMavColor& colour);
CMavColor color_from_data(const CMavDataItem* item);

// Properties of a layer.
class CLayerProp {
public:
    CMavString name;
    CMavColor color{7};
    CMavString lineType = L"CONTINUOUS";
    int lineWeight = -3; // AutoCAD's "default"
    bool off = false;
    bool frozen = false;
};

// The colour of a layer (the configuration's "LAYER\<name>\COLOR", else white, index 7). False when the layer is
// not configured (the colour is still set). An empty name is layer "0".
bool layer_color(CMavColor& colour, const wchar_t* layer);

} // namespace MAV

// The layers of the drawing, from the configuration directory "LAYER" (one directory per layer with "COLOR",
// "LTYPE", "LWEIGHT", "OFF", "FROZEN").
class CMavLayerMgr {
public:
    // The properties of a layer; a layer that is not configured gets defaults (white) and the result is false.
    static bool physLayerPropGet(const wchar_t* layer, MAV::CLayerProp& prop);
};
