// The saved place of a dialog from the raw "Pos" and "Size" registry values: halves as unsigned 16-bit numbers,
// and every value of another type or length refused without touching the place.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "base/place.h"

namespace {

std::vector<unsigned char> le(uint32_t v)
{
    return {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v >> 16),
            static_cast<unsigned char>(v >> 24)};
}

} // namespace

TEST(SavedPlace, DwordHalvesAreUnsignedWords)
{
    struct Case {
        uint32_t pos, size;
        long left, top, right, bottom;
    };
    const Case cases[] = {
        {0x00640032, 0x00C80190, 50, 100, 450, 300},
        {0x00000000, 0x00000000, 0, 0, 0, 0},
        {0xFFFFFFF6, 0x00140010, 65526, 65535, 65542, 65555}, // stored as -10, -1: far right and low
        {0x80007FFF, 0xFFFFFFFF, 32767, 32768, 98302, 98303},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pos);
        const auto p = le(c.pos), s = le(c.size);
        MAV::SavedPlace place;
        ASSERT_TRUE(MAV::placeFromSaved(MAV::kRegTypeDword, p.data(), 4, MAV::kRegTypeDword, s.data(), 4, place));
        EXPECT_EQ(place.left, c.left);
        EXPECT_EQ(place.top, c.top);
        EXPECT_EQ(place.right, c.right);
        EXPECT_EQ(place.bottom, c.bottom);
    }
}

TEST(SavedPlace, OtherTypesLengthsAndNullAreRefused)
{
    const unsigned char bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    struct Case {
        uint32_t posType;
        const unsigned char* pos;
        size_t posLen;
        uint32_t sizeType;
        size_t sizeLen;
    };
    const Case cases[] = {
        {1, bytes, 4, 4, 4},         // REG_SZ
        {3, bytes, 4, 4, 4},         // REG_BINARY of four bytes
        {5, bytes, 4, 4, 4},         // REG_DWORD_BIG_ENDIAN
        {11, bytes, 8, 4, 4},        // REG_QWORD
        {4, bytes, 3, 4, 4},         // too short
        {4, bytes, 8, 4, 4},         // too long
        {4, bytes, 4, 4, 0},         // the size empty
        {4, bytes, 4, 7, 4},         // the size a REG_MULTI_SZ
        {4, nullptr, 4, 4, 4},       // no bytes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.posType << "/" << c.posLen << " " << c.sizeType << "/" << c.sizeLen);
        MAV::SavedPlace place;
        place.left = 7;
        place.bottom = 9;
        EXPECT_FALSE(MAV::placeFromSaved(c.posType, c.pos, c.posLen, c.sizeType, bytes, c.sizeLen, place));
        EXPECT_EQ(place.left, 7);
        EXPECT_EQ(place.top, 0);
        EXPECT_EQ(place.right, 0);
        EXPECT_EQ(place.bottom, 9);
    }
}

// Any two DWORDs: the place encodes back to the same values, and is never inverted.
TEST(SavedPlace, RandomDwordsRoundTrip)
{
    std::mt19937 rng(23);
    for (int i = 0; i < 2000; ++i) {
        const uint32_t pos = rng(), size = rng();
        const auto p = le(pos), s = le(size);
        MAV::SavedPlace place;
        ASSERT_TRUE(MAV::placeFromSaved(4, p.data(), 4, 4, s.data(), 4, place));
        ASSERT_EQ(static_cast<uint32_t>(place.left) | static_cast<uint32_t>(place.top) << 16, pos);
        ASSERT_EQ(static_cast<uint32_t>(place.right - place.left) | static_cast<uint32_t>(place.bottom - place.top)
                                                                          << 16,
                  size);
        ASSERT_GE(place.left, 0);
        ASSERT_LE(place.bottom, 0x1FFFE);
    }
}
