// What the numeric edit field and combo box share: number texts of lengths and angles, safe truncation and their
// messages.
#pragma once

#include "afx/CString.h"
#include "base/MavEnums.h"

namespace MAV {

constexpr double kPi = 3.14159265358979323846;

// x truncated toward zero, values beyond the int range clamped to it, NaN as 0.
int truncInt(double x);

// A shown length x as text: decimals or fraction exponent from autoPrec(precision, unit -1 with flag 0x0040 else
// 4, format), compact texts with flag 0x0020. smallFallback: in formats 4 and 5 a length finer than the finest
// fraction is written in format 3 or 2. False, out unchanged, when the formatter refuses.
bool formatLength(CString& out, double x, unsigned short precision, unsigned short flags, Mav::lFormat format,
                  bool smallFallback);
// An angle in radians as decimal degrees with `precision` decimals (no degree sign). False, out unchanged, on failure.
bool formatAngle(CString& out, double radians, unsigned short precision, unsigned short flags);

// A message of the numeric controls from the library's default message function in the current language.
const wchar_t* numMsg(const wchar_t* key, const wchar_t* def);

} // namespace MAV
