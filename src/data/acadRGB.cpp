// The AutoCAD colour index palette: nine fixed colours, 24 hues of ten shades, and a grey ramp.
//
// Every colour is computed, not tabled: each component is truncate(factor x brightness x 255). The factors of
// indices 10..249 come from the hue (six sectors of four steps) and the saturation (full for even indices, half
// for odd ones); the last digit of the index picks one of five brightness steps. Indices 250..255 and everything
// outside 0..255 fall on a grey ramp whose components keep only their low 8 bits, so far-out indices wrap around
// instead of saturating; AutoCAD's own slides never use them, but the result is defined for every int.
#include "data/acadRGB.h"

namespace {

// Truncates toward zero and keeps the low 8 bits, also for negative and very large values.
uint32_t component(double factor, double brightness)
{
    const double v = factor * brightness * 255.0;
    if (!(v > -9.0e18 && v < 9.0e18))
        return 0;
    const long long t = static_cast<long long>(v);
    return static_cast<uint32_t>(static_cast<unsigned long long>(t) & 0xFFu);
}

uint32_t pack(double r, double g, double b, double brightness)
{
    return component(r, brightness) | (component(g, brightness) << 8) | (component(b, brightness) << 16);
}

} // namespace

uint32_t acadRGB(int index)
{
    switch (index) {
    case 0: return pack(0, 0, 0, 1.0);
    case 1: return pack(1, 0, 0, 1.0);
    case 2: return pack(1, 1, 0, 1.0);
    case 3: return pack(0, 1, 0, 1.0);
    case 4: return pack(0, 1, 1, 1.0);
    case 5: return pack(0, 0, 1, 1.0);
    case 6: return pack(1, 0, 1, 1.0);
    case 7: return pack(1, 1, 1, 1.0);
    case 8: return pack(1, 1, 1, 0.5);
    case 9: return pack(1, 1, 1, 0.75);
    default: break;
    }
    if (index >= 10 && index <= 249) {
        const int hue = (index - 10) / 10;
        const int sector = hue / 4;
        const double f = (hue % 4) / 4.0;
        const double s = (index % 2 == 0) ? 1.0 : 0.5;
        static const double kBrightness[10] = {1.0, 1.0, 0.65, 0.65, 0.5, 0.5, 0.3, 0.3, 0.2, 0.2};
        const double v = kBrightness[index % 10];
        switch (sector) {
        case 0: return pack(1, 1 - (1 - f) * s, 1 - s, v);
        case 1: return pack(1 - f * s, 1, 1 - s, v);
        case 2: return pack(1 - s, 1, 1 - (1 - f) * s, v);
        case 3: return pack(1 - s, 1 - f * s, 1, v);
        case 4: return pack(1 - (1 - f) * s, 1 - s, 1, v);
        default: return pack(1, 1 - s, 1 - f * s, v);
        }
    }
    const double grey = (static_cast<double>(index) - 250.0) * 0.134 + 0.333333;
    return pack(1, 1, 1, grey);
}
