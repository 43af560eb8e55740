// A dialog's saved place as the registry keeps it: "Pos" and "Size", each a DWORD value whose low word is x or the
// width and whose high word is y or the height. Reading the raw values is portable, so that what the registry
// hands back (any type, any length) is checked in one place.
#pragma once

#include <cstddef>
#include <cstdint>

namespace MAV {

// The registry's type code of a 32-bit little-endian number (REG_DWORD).
constexpr uint32_t kRegTypeDword = 4;

struct SavedPlace {
    long left = 0, top = 0, right = 0, bottom = 0;
};

// The place from the two values as read: each must be a REG_DWORD of exactly four bytes, or nothing is read (false,
// place untouched). Both halves are unsigned 16-bit numbers, so a place stored negative comes back far right or low.
bool placeFromSaved(uint32_t posType, const unsigned char* pos, size_t posLen, uint32_t sizeType,
                    const unsigned char* size, size_t sizeLen, SavedPlace& place);

} // namespace MAV
