// One drawable thing of a preview picture (polyline, point, region, text or picture), kept by value in a display
// list, with its kind, flag word, colour mode and group path.
#pragma once

#include <cstdint>
#include <memory>

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

// Placement matrix of an item. Most items are placed by the identity, so the matrix is kept only when it is
// something else; reading gives the identity otherwise. Bit for bit what was stored comes back: only a matrix
// whose bits equal the identity's is dropped.
class CMavItemMatrix {
public:
    CMavItemMatrix() = default;
    CMavItemMatrix(const CMavMatrix3d& m) { *this = m; }
    CMavItemMatrix(const CMavItemMatrix& other) { *this = other.get(); }
    CMavItemMatrix(CMavItemMatrix&& other) noexcept = default;
    CMavItemMatrix& operator=(const CMavItemMatrix& other) { return *this = other.get(); }
    CMavItemMatrix& operator=(CMavItemMatrix&& other) noexcept = default;
    CMavItemMatrix& operator=(const CMavMatrix3d& m);
    // The base library's compound product, applied to the stored matrix.
    CMavItemMatrix& operator*=(const CMavMatrix3d& m);

    const CMavMatrix3d& get() const { return m_m ? *m_m : CMavMatrix3d::kIdentity; }
    operator const CMavMatrix3d&() const { return get(); }
    bool isIdentity() const { return get().isIdentity(); }
    CMavMatrix3d inverse() const { return get().inverse(); }
    bool operator==(const CMavMatrix3d& m) const { return get() == m; }
    bool operator!=(const CMavMatrix3d& m) const { return get() != m; }

private:
    std::unique_ptr<CMavMatrix3d> m_m;
};

// Hatch lines of a region item as the window drawing last computed them, with everything they were computed from:
// the outlines as stored, the hatch property and the item and view direction matrices. The drawing keeps them
// while all of these are unchanged and the hatch stays legible, so a zoom or pan redraws them without hatching
// again. Copies of an item share the cache; a drawing that finds its item changed makes a new one.
struct CMavHatchCache {
    CMavArrayTempl<CMavVertexArray> source; // the item's outlines when the cache was made
    MAV::CHatchProp hatch;
    CMavMatrix3d itemMtx;
    CMavMatrix3d viewDir;
    CMavArrayTempl<CMavVertexArray> split;  // the outlines with arcs as chords
    bool hasLines = false;                   // lines hold the hatch (it was legible at the last drawing)
    CMavArrayTempl<CMavVertexArray> lines;  // hatch lines in item coordinates
    bool legibleKnown = false;               // legible holds the test's answer for the matrix legibleFor
    bool legible = false;
    CMavMatrix3d legibleFor;
    // What the legibility test finds from the outlines and the hatch alone, whatever the zoom (measured tells
    // that the other three hold it): the test at a new zoom is then a multiplication.
    bool measured = false;
    double lineCount = 0.0;   // most hatch lines across the outer outline
    double lineSpacing = 0.0; // least distance between hatch lines, in item units
    bool fits = true;         // the hatcher draws the hatch whole
};

// The fields that only points, regions, texts and pictures use. Kept apart from the item, and only when one of
// them is set, because line items, the bulk of any large preview, never need them.
struct CMavDisplayItemRare {
    CMavPoint3d m_point;                           // point item / text insertion point
    std::uint32_t m_pdMode = Mav::kGdxPdModeUnset; // point style; picture: icon id
    double m_pdSize = 0.0;                         // point mark size; 0: list default
    CMavArrayTempl<CMavVertexArray> m_regl;        // region outlines, outer boundary first
    CMavColor m_fcolor;                            // fill colour
    MAV::CHatchProp m_hatch;
    CMavString m_resText;      // kept and copied only
    CMavVector3d m_resVector;  // kept and copied only
    CMavItemMatrix m_mtx2;     // applied after m_mtx in the full extents computation
    CMavString m_align;        // text alignment code
    CMavString m_text;         // text; picture: its file name
    CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> m_txtRegl; // text outline regions, one per glyph region
    // Not part of the item's value: what the window drawing remembers of a hatched region (see CMavHatchCache).
    mutable std::shared_ptr<CMavHatchCache> m_hatchCache;
};

// The item record. The fields every item uses are members; the others sit in its rare part (rare() reads it,
// and gives the default values while the item has none; rareEdit() creates it for writing). The display list is
// the only writer.
class CMavDisplayItem : public CMavObj {
public:
    MavDisplayObj m_kind = kDispNone;
    std::uint32_t m_flags = 0;
    CMavArrayTempl<int> m_stack;       // group path, outermost group first
    CMavColor m_color;                 // line colour; index -1: no colour of its own
    CMavArrayTempl<double> m_lineType; // dash pattern
    double m_ltScale = 0.0;            // factor on every non-zero pattern entry
    CMavVertexArray m_vl;              // polyline; picture: its rectangle as one segment
    CMavItemMatrix m_mtx;              // placement in the list's world
    int m_thickness = 0;               // pen width in device units

    CMavDisplayItem() = default;
    CMavDisplayItem(const CMavDisplayItem& other);
    CMavDisplayItem(CMavDisplayItem&& other) = default;
    ~CMavDisplayItem() override;
    CMavDisplayItem& operator=(const CMavDisplayItem& other);
    CMavDisplayItem& operator=(CMavDisplayItem&& other) = default;

    const CMavDisplayItemRare& rare() const { return m_rare ? *m_rare : rareDefault(); }
    bool hasRare() const { return m_rare != nullptr; }
    CMavDisplayItemRare& rareEdit();

    // Colour mode (bits 8-11).
    GDX_CMODE cMode() const { return static_cast<GDX_CMODE>((m_flags >> 8) & 15u); }

private:
    static const CMavDisplayItemRare& rareDefault();
    std::unique_ptr<CMavDisplayItemRare> m_rare;
};
