// Saving what a device context shows as a PNG file, for the demo's snapshots, through the Windows Imaging
// Component's PNG encoder.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace mavdemo {

// Encodes 0x00RRGGBB pixels (top-down rows) as a compressed 24-bit RGB PNG. Empty on failure.
std::vector<uint8_t> encodePng(const DWORD* pixels, int width, int height);

// Writes 0x00RRGGBB pixels (top-down rows) to path as a PNG. False on failure.
bool savePng(const DWORD* pixels, int width, int height, const std::wstring& path);

// Copies width x height pixels from the DC into a DIB and writes them to path. False on failure.
bool saveDcAsPng(HDC dc, int width, int height, const std::wstring& path);

// Writes a rectangle of the screen (screen coordinates) to path as a PNG and says so on the console. False for an
// empty rectangle or on failure.
bool saveScreenAsPng(const RECT& rect, const std::wstring& path);

} // namespace mavdemo
