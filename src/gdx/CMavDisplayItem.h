// One drawable thing of a preview picture (polyline, point, region, text or picture), kept by value in a display
// list, with its kind, flag word, colour mode and group path.
#pragma once

#include <cstdint>

#include "base/CMavArray.h"
#include "data/CMavColor.h"
#include "base/CMavMatrix3d.h"
#include "base/CMavObj.h"
#include "base/CMavPoint3d.h"
#include "base/CMavString.h"
#include "base/CMavVector3d.h"
#include "base/CMavVertexArray.h"
#include "data/patterns.h"

// Kind of a display item. The numbers are part of the interface: typeGet returns them and the renderer switches
// on them.
enum MavDisplayObj : std::int32_t {
    kDispNone = 0,     // default-constructed item, draws nothing
    kDispPolyline = 1, // imageVl
    kDispPoint = 2,    // imagePt
    kDispRegion = 3,   // imageReg
    kDispUnused = 4,   // never produced here; drawn as nothing
    kDispText = 5,     // imageTxt
    kDispPicture = 6   // imagePicture
};

// Colour mode of an item (bits 8-11 of its flag word) and index into the display list's colour table.
// Modes 6-14 have no name; they are valid values of the type all the same (cast an int).
enum GDX_CMODE : int {
    GDX_CMODE_NORMAL = 0,    // the item's own colour (index -1: the inverted background)
    GDX_CMODE_HIGHLIGHT = 1, // "HIGHLIGHT"
    GDX_CMODE_REFER = 2,     // "REFER"
    GDX_CMODE_AXIS = 3,      // "AXIS"
    GDX_CMODE_BASE = 4,      // "BASE"
    GDX_CMODE_AUX = 5,       // "AUX"
    GDX_CMODE_INVERSE = 15   // the background with all 24 RGB bits inverted
};

namespace Mav {

// Bits of a display item's flag word.
enum gdxFlag : std::uint32_t {
    kGdxFilled = 0x1,         // region or text filled with the fill colour
    kGdxHatched = 0x2,        // region hatched with its hatch property
    kGdxHidden = 0x4,         // skipped by the renderer
    kGdxNoExtents = 0x8,      // left out of the list's extents
    kGdxOutline = 0x10,       // outline drawing
    kGdxPictureNoGeom = 0x20, // picture without geometry
    kGdxPictureOption = 0x40, // handed on to the picture drawing
    kGdxCModeMask = 0xF00     // colour mode
};

// Property codes of CMavGDX::propSet / redraw (not bit masks).
enum gdxProp : unsigned long {
    kGdxPropShow = 1,
    kGdxPropHide = 2,
    kGdxPropInExtents = 3,
    kGdxPropNoExtents = 4,
    kGdxPropOutlineOn = 5,
    kGdxPropOutlineOff = 6,
    kGdxPropPictureNoGeomOn = 7,
    kGdxPropPictureNoGeomOff = 8,
    kGdxPropPictureOptionOn = 9,
    kGdxPropPictureOptionOff = 10
};

// Point mode meaning "not set on the item: the list's default applies"; icon id meaning "no icon".
constexpr std::uint32_t kGdxPdModeUnset = 0xFFFFFFFFu;
constexpr std::uint32_t kGdxNoIcon = 0x7FFFFFFFu;

} // namespace Mav

// The item record. Fields are public and kept in this order; the display list is the only writer.
class CMavDisplayItem : public CMavObj {
public:
    MavDisplayObj m_kind = kDispNone;
    std::uint32_t m_flags = 0;
    CMavArrayTempl<int> m_stack;                   // group path, outermost group first
    CMavColor m_color;                             // line colour; index -1: no colour of its own
    CMavArrayTempl<double> m_lineType;             // dash pattern
    double m_ltScale = 0.0;                        // factor on every non-zero pattern entry
    CMavPoint3d m_point;                           // point item / text insertion point
    std::uint32_t m_pdMode = Mav::kGdxPdModeUnset; // point style; picture: icon id
    double m_pdSize = 0.0;                         // point mark size; 0: list default
    CMavVertexArray m_vl;                          // polyline; picture: its rectangle as one segment
    CMavArrayTempl<CMavVertexArray> m_regl;        // region outlines, outer boundary first
    CMavMatrix3d m_mtx;                            // placement in the list's world
    CMavColor m_fcolor;                            // fill colour
    int m_thickness = 0;                           // pen width in device units
    MAV::CHatchProp m_hatch;
    CMavString m_resText;      // kept and copied only
    CMavVector3d m_resVector;  // kept and copied only
    CMavMatrix3d m_mtx2;       // applied after m_mtx in the full extents computation
    CMavString m_align;        // text alignment code
    CMavString m_text;         // text; picture: its file name
    CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> m_txtRegl; // text outline regions, one per glyph region

    CMavDisplayItem() = default;
    CMavDisplayItem(const CMavDisplayItem& other);
    CMavDisplayItem(CMavDisplayItem&& other) = default;
    ~CMavDisplayItem() override;
    CMavDisplayItem& operator=(const CMavDisplayItem& other);
    CMavDisplayItem& operator=(CMavDisplayItem&& other) = default;

    // Colour mode (bits 8-11).
    GDX_CMODE cMode() const { return static_cast<GDX_CMODE>((m_flags >> 8) & 15u); }
};
