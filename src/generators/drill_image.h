// Image generators of a drilling and of a hole pattern (a set of machined elements).
#pragma once

class CMavGDX;
namespace MAV {
class CDtaFilePointer;
}

// A drilling: with "VIEW" 3 the edges of its solid seen obliquely from the front right, else the host's plan
// drawing with an optional coordinate marker. Parameters (optional): "STACK", "MTX", "CMODE", "COORD".
// False for a null display list or when the solid cannot be had or built.
bool mav_gdx_image_drill(CMavGDX* gdx, MAV::CDtaFilePointer* data, MAV::CDtaFilePointer* parameters);

// A hole pattern: every element of "BT" as outlines (filled or hatched by "DRAW") or as a drill, the active
// element ("ACT") highlighted. Without data the hole entity the host offers is drawn. False for a null display
// list only.
bool mav_gdx_image_hole(CMavGDX* gdx, MAV::CDtaFilePointer* data, MAV::CDtaFilePointer* parameters);
