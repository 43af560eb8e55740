// The process-wide table of named image generators and the dispatcher that calls them by name.
#pragma once

#include <cstdint>

#include "base/CMavString.h"

class CMavGDX;
namespace MAV {
class CDtaFilePointer;
}

// An image generator: fills a display list from the data of an item with the caller's parameters.
typedef bool (*MavGdxImageFcn)(CMavGDX* gdx, MAV::CDtaFilePointer* data, MAV::CDtaFilePointer* parameters);

// Registers fn under name (replacing the function of a name present already); a null fn removes the name.
// A null name does nothing.
void setGdxImageFcn(const wchar_t* name, MavGdxImageFcn fn);

// Calls the generator registered under name with the arguments unchanged and returns its result; false for a null
// or unknown name (nothing is called then).
bool mav_gdx_image(const wchar_t* name, CMavGDX* gdx, MAV::CDtaFilePointer* data, MAV::CDtaFilePointer* parameters);

namespace MAV {

// Read access to the table, for inspection.
std::uint32_t gdxImageCount();
std::uint32_t gdxImageCapacity();
// Name of entry i in table order; empty for an index out of range.
CMavString gdxImageNameAt(std::uint32_t i);
// Searches the table: true and the entry's index when found, else false and the index a new entry would take.
bool gdxImageFind(const CMavString& name, std::uint32_t& index);
// Removes every entry and frees the array.
void gdxImageClear();

} // namespace MAV
