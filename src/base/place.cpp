#include "base/place.h"

namespace MAV {

namespace {

bool dword(uint32_t type, const unsigned char* bytes, size_t len, uint32_t& value)
{
    if (type != kRegTypeDword || len != 4 || !bytes)
        return false;
    value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
            static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    return true;
}

} // namespace

bool placeFromSaved(uint32_t posType, const unsigned char* pos, size_t posLen, uint32_t sizeType,
                    const unsigned char* size, size_t sizeLen, SavedPlace& place)
{
    uint32_t p = 0, s = 0;
    if (!dword(posType, pos, posLen, p) || !dword(sizeType, size, sizeLen, s))
        return false;
    place.left = static_cast<long>(p & 0xFFFF);
    place.top = static_cast<long>(p >> 16);
    place.right = place.left + static_cast<long>(s & 0xFFFF);
    place.bottom = place.top + static_cast<long>(s >> 16);
    return true;
}

} // namespace MAV
