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
    CMavColor(const CMavColor& other);
    CMavColor(CMavColor&& other) noexcept;
    ~CMavColor() override;
    CMavColor& operator=(const CMavColor& other);
    CMavColor& operator=(CMavColor&& other) noexcept;

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
    long color() const { return isTrueColor() ? static_cast<long>(m_rgb & kRgbMask) : -1L; }
    bool isTrueColor() const { return (m_rgb & kHasTrue) != 0; }

    // Colour name and colour book name, as AutoCAD's named colours carry them.
    void setNames(const wchar_t* colorName, const wchar_t* bookName);
    const CMavString& colorName() const;
    const CMavString& bookName() const;

    bool operator==(const CMavColor& o) const;
    bool operator!=(const CMavColor& o) const { return !(*this == o); }

    // The palette index 1-255 nearest to 0x00BBGGRR (squared distance in RGB; the lowest index wins ties).
    static int nearestIndex(std::uint32_t bgr);

private:
    // Display items carry two colours each and a preview may hold hundreds of thousands of items, so a colour
    // is kept small: the flag "has a true colour" rides in bit 24 of the RGB word, and the names, which few
    // colours have, live in a block of their own that exists only while one of them is not empty.
    struct Names {
        CMavString colorName;
        CMavString bookName;
    };
    static constexpr std::uint32_t kRgbMask = 0xFFFFFFu;
    static constexpr std::uint32_t kHasTrue = 0x1000000u;

    int m_index = 0;
    std::uint32_t m_rgb = 0; // 0x00RRGGBB, with kHasTrue when it holds a true colour
    Names* m_names = nullptr;
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
