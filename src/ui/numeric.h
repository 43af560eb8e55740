// What the numeric edit field and combo box share: number texts of lengths and angles, safe truncation and their
// messages.
#pragma once

#include "afx/CString.h"
#include "base/MavEnums.h"

namespace MAV {

constexpr double kPi = 3.14159265358979323846;

// How a length's value unit relates to the unit it is shown in. The two units' lengths are kept rather than their
// quotient, so a conversion multiplies and divides by exact unit lengths: 0.7 typed in metres for a value in
// millimetres is 700, where dividing by a kept 0.001 would give 699.9999999999999 and refuse a minimum of 700.
// Units that leave a value as it is (the same unit, unitless or unknown) keep both at 1.
struct LengthScale {
    double value = 1.0; // the value unit in millimetres
    double shown = 1.0; // the display unit in millimetres
    // first: the value unit, second: the display unit (-1 the drawing's unit as it is now).
    void set(Mav::lUnit first, Mav::lUnit second);
    double toShown(double v) const { return v * value / shown; }
    double toValue(double typed) const { return typed * shown / value; }
};

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
