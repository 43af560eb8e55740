// Length units (AutoCAD's INSUNITS numbers), conversions between them, unit names and display precision.
#pragma once

#include "base/CMavArray.h"
#include "base/CMavString.h"
#include "base/MavEnums.h"

namespace MAV {

// Converts value from one unit to another in place. -1 (Mav::kUnitsDrawing) stands for the drawing's unit
// (acad_unit_get). A unitless side (0, also a unitless drawing) leaves the value as it is. False, value
// unchanged, for a unit outside -1..20.
bool acadUnitCv(double& value, int from, int to);
// Length of one unit in millimetres; 0 for unitless or an unknown unit (the drawing's unit for -1).
double acadUnitMm(int unit);

// The drawing's length unit: the configuration's "UNITS\INSUNITS" (4, millimetres, when missing or invalid).
Mav::lUnit acad_unit_get();
// Sets the drawing's unit in the configuration; false for a unit outside 0..20.
bool acad_unit_set(int unit);

// The unit names of a language, position = unit value (0 unitless ... 20 parsecs), from the message keys
// "MAV_INSUNITS_0" ... "MAV_INSUNITS_20" with German names as defaults. Null or "-1" is the current language.
CMavArrayTempl<CMavString> acad_units(const wchar_t* country);

// The number of decimals (formats 1-3) or the fraction exponent (formats 4 and 5: the finest fraction is
// 1/2^result) with which a length shown in `unit` (-1 the drawing's unit) is as fine as `precision` decimals
// of a millimetre: precision + log10(unit in mm), rounded, for decimal formats; for the fractional ones the
// exponent whose fraction of an inch is as fine. The result lies in 0..15; a negative precision counts as 0.
int autoPrec(int precision, int unit, int format);

} // namespace MAV
