// Materials: the material library and the drawing's materials, with their properties.
#pragma once

#include "base/CMavArray.h"
#include "data/CMavColor.h"
#include "data/CMavDataItem.h"
#include "base/CMavString.h"

namespace MAV {

// The properties of a material.
class CMatProp : public CMavObj {
public:
    CMavString name;
    CMavString label;  // label string, one text per language (MAV::label_get)
    CMavString kind;   // "WOOD", "BOARD", "EDGE", "GLASS", "METAL", "SPECIAL" or empty
    CMavString parent; // the material whose physical data this one takes (physical code 1)
    CMavString hatch;  // hatch pattern name
    CMavColor color{7};
    double thickness = 0.0;
    CMavArrayTempl<CMavString> edges;    // edge bands that go with the material
    CMavArrayTempl<CMavString> subs;     // sub-materials
    CMavArrayTempl<CMavString> physKeys; // names of the physical properties it defines, sorted ascending
    int physCode = 0;                    // 0 no physical data, 1 taken from the parent, 2 own data
    int edgeCode = 0;                    // 0 no edge data, 2 own edge data
    bool drawing = false;                // a material of the drawing rather than of the library

    // True when name is among the physical keys (binary search; the keys are upper case).
    bool hasPhysKey(const wchar_t* key) const;
};

} // namespace MAV

// The materials known to the data library: the library's and the drawing's. Names are compared without regard to
// case. The data comes from one process-wide directory with "LIBRARY" and "DRAWING" sections, one directory per
// material (entries documented in data/materials/materials.dat); the shipped sample library is compiled in.
class CMavMatMgr {
public:
    // The names of all materials, library first, each in its section's order; with drawingOnly only the
    // drawing's (a directory under an integer key or an empty name is no material). Returns the count.
    int matDrawAll(CMavArrayTempl<CMavString>& names, bool drawingOnly) const;
    // True for a material of the drawing.
    bool isShadowMat(const wchar_t* name) const;
    // The material's label in a language; empty when the material or that language's text is missing.
    CMavString matLabel(const wchar_t* name, const wchar_t* country) const;
    // The material's properties; false (prop reset to defaults with the name) when unknown.
    bool propGet(const wchar_t* name, MAV::CMatProp& prop) const;
    // A physical property value of a material, following parents while the physical code is 1 (at most 32
    // steps); false when missing.
    bool physGet(const wchar_t* name, const wchar_t* key, double& value) const;

    // The process-wide material data.
    static CMavDataItem* data();
    // Merges a material file (data text form) over the current data; false when it cannot be read or is
    // malformed (what was read is kept).
    static bool load(const wchar_t* path);
    static bool loadText(const char* text, size_t size);
    // Back to the shipped sample library.
    static void reset();
};
