// libFuzzer target: a dialog's saved place from raw "Pos" and "Size" registry values of any type and length. A
// place read must encode back to the bytes given and never be inverted; a refused read leaves the place alone.
#include "base/place.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Two bytes of types, one of the first value's length, then the first value and the rest as the second.
    if (size < 3)
        return 0;
    const uint32_t posType = data[0] % 12, sizeType = data[1] % 12;
    const size_t rest = size - 3;
    const size_t posLen = data[2] <= rest ? data[2] : rest;
    const unsigned char* pos = data + 3;
    const unsigned char* sz = pos + posLen;
    const size_t sizeLen = rest - posLen;

    MAV::SavedPlace place;
    place.left = -1;
    const bool ok = MAV::placeFromSaved(posType, pos, posLen, sizeType, sz, sizeLen, place);
    if (ok != (posType == MAV::kRegTypeDword && sizeType == MAV::kRegTypeDword && posLen == 4 && sizeLen == 4))
        std::abort();
    if (!ok) {
        if (place.left != -1 || place.top != 0 || place.right != 0 || place.bottom != 0)
            std::abort();
        return 0;
    }
    const uint32_t p = pos[0] | pos[1] << 8 | pos[2] << 16 | static_cast<uint32_t>(pos[3]) << 24;
    const uint32_t s = sz[0] | sz[1] << 8 | sz[2] << 16 | static_cast<uint32_t>(sz[3]) << 24;
    if (place.left < 0 || place.top < 0 || place.right < place.left || place.bottom < place.top)
        std::abort();
    if ((static_cast<uint32_t>(place.left) | static_cast<uint32_t>(place.top) << 16) != p)
        std::abort();
    if ((static_cast<uint32_t>(place.right - place.left) | static_cast<uint32_t>(place.bottom - place.top) << 16) != s)
        std::abort();
    return 0;
}
