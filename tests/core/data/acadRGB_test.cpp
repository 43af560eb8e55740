// The AutoCAD colour index palette: fixed colours, hue sectors, shades, saturation and the grey ramp.
#include <gtest/gtest.h>

#include <climits>

#include "data/acadRGB.h"

namespace {

uint32_t rgb(int r, int g, int b)
{
    return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}

} // namespace

TEST(AcadRGB, FixedColoursAndGreys)
{
    EXPECT_EQ(acadRGB(0), rgb(0, 0, 0));
    EXPECT_EQ(acadRGB(1), rgb(255, 0, 0));
    EXPECT_EQ(acadRGB(2), rgb(255, 255, 0));
    EXPECT_EQ(acadRGB(3), rgb(0, 255, 0));
    EXPECT_EQ(acadRGB(4), rgb(0, 255, 255));
    EXPECT_EQ(acadRGB(5), rgb(0, 0, 255));
    EXPECT_EQ(acadRGB(6), rgb(255, 0, 255));
    EXPECT_EQ(acadRGB(7), rgb(255, 255, 255));
    EXPECT_EQ(acadRGB(8), rgb(127, 127, 127));
    EXPECT_EQ(acadRGB(9), rgb(191, 191, 191));
    // Packing order is that of a COLORREF: red in the low byte.
    EXPECT_EQ(acadRGB(1), 0x000000FFu);
    EXPECT_EQ(acadRGB(5), 0x00FF0000u);
    EXPECT_EQ(acadRed(acadRGB(140)), 0);
    EXPECT_EQ(acadGreen(acadRGB(140)), 191);
    EXPECT_EQ(acadBlue(acadRGB(140)), 255);
}

TEST(AcadRGB, HuesShadesAndSaturation)
{
    EXPECT_EQ(acadRGB(10), rgb(255, 0, 0));
    EXPECT_EQ(acadRGB(11), rgb(255, 127, 127));   // odd index: half saturation
    EXPECT_EQ(acadRGB(12), rgb(165, 0, 0));       // brightness 0.65
    EXPECT_EQ(acadRGB(13), rgb(165, 82, 82));
    EXPECT_EQ(acadRGB(14), rgb(127, 0, 0));
    EXPECT_EQ(acadRGB(16), rgb(76, 0, 0));
    EXPECT_EQ(acadRGB(18), rgb(51, 0, 0));
    EXPECT_EQ(acadRGB(19), rgb(51, 25, 25));
    EXPECT_EQ(acadRGB(20), rgb(255, 63, 0));      // quarter step into the first sector
    EXPECT_EQ(acadRGB(21), rgb(255, 159, 127));
    EXPECT_EQ(acadRGB(50), rgb(255, 255, 0));     // sector 1 starts at yellow
    EXPECT_EQ(acadRGB(60), rgb(191, 255, 0));
    EXPECT_EQ(acadRGB(90), rgb(0, 255, 0));
    EXPECT_EQ(acadRGB(100), rgb(0, 255, 63));
    EXPECT_EQ(acadRGB(130), rgb(0, 255, 255));
    EXPECT_EQ(acadRGB(140), rgb(0, 191, 255));
    EXPECT_EQ(acadRGB(170), rgb(0, 0, 255));
    EXPECT_EQ(acadRGB(180), rgb(63, 0, 255));
    EXPECT_EQ(acadRGB(210), rgb(255, 0, 255));
    EXPECT_EQ(acadRGB(220), rgb(255, 0, 191));
    EXPECT_EQ(acadRGB(240), rgb(255, 0, 63));
    EXPECT_EQ(acadRGB(249), rgb(51, 25, 31));
}

TEST(AcadRGB, GreyRampAndIndicesOutsideThePalette)
{
    EXPECT_EQ(acadRGB(250), rgb(84, 84, 84));
    EXPECT_EQ(acadRGB(251), rgb(119, 119, 119));
    EXPECT_EQ(acadRGB(252), rgb(153, 153, 153));
    EXPECT_EQ(acadRGB(253), rgb(187, 187, 187));
    EXPECT_EQ(acadRGB(254), rgb(221, 221, 221));
    EXPECT_EQ(acadRGB(255), rgb(255, 255, 255));
    // Beyond 255 the ramp goes on and wraps in 8 bits: 256 -> 290 -> 34.
    EXPECT_EQ(acadRGB(256), rgb(34, 34, 34));
    // Below zero: -1 -> truncate(-33.301 * 255) = -8491, low byte 0xD5.
    EXPECT_EQ(acadRGB(-1), rgb(0xD5, 0xD5, 0xD5));
    // Extremes stay defined and grey.
    const uint32_t hi = acadRGB(INT_MAX), lo = acadRGB(INT_MIN);
    EXPECT_EQ(acadRed(hi), acadGreen(hi));
    EXPECT_EQ(acadRed(hi), acadBlue(hi));
    EXPECT_EQ(acadRed(lo), acadBlue(lo));
    EXPECT_EQ(hi >> 24, 0u);
}
