// The AutoCAD colour index palette as RGB values.
#pragma once

#include <cstdint>

// RGB of an AutoCAD colour index, packed like a Windows COLORREF: 0x00BBGGRR. Indices outside 0..255 give a grey.
uint32_t acadRGB(int index);

// Components of a packed RGB value.
inline int acadRed(uint32_t rgb) { return static_cast<int>(rgb & 0xFFu); }
inline int acadGreen(uint32_t rgb) { return static_cast<int>((rgb >> 8) & 0xFFu); }
inline int acadBlue(uint32_t rgb) { return static_cast<int>((rgb >> 16) & 0xFFu); }
