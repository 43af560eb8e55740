// The preview of a wall being edited: drawing parameters from the editor's settings, drawn by the "WALL"
// generator.
#pragma once

class CMavGDX;
namespace MAV {
class CDtaFilePointer;
}

// True when the generator registered as "WALL" ran and returned true.
bool mav_wall_edit_image(CMavGDX* gdx, MAV::CDtaFilePointer* wall);
