// Number texts of lengths and angles, truncation and messages shared by the numeric edit field and combo box.
#include "ui/numeric.h"

#include <climits>
#include <cmath>

#include "base/CMavString.h"
#include "base/text.h"
#include "data/units.h"
#include "ui/CMavDlg.h"

namespace MAV {

void LengthScale::set(Mav::lUnit first, Mav::lUnit second)
{
    const double f = acadUnitMm(first), t = acadUnitMm(second);
    const bool converts = f > 0.0 && t > 0.0 && f != t;
    value = converts ? f : 1.0;
    shown = converts ? t : 1.0;
}

int truncInt(double v)
{
    // Truncation of a double outside the int range is undefined in C++; such values take the nearest end, NaN 0.
    if (!(v == v))
        return 0;
    if (v >= 2147483647.0)
        return INT_MAX;
    if (v <= -2147483648.0)
        return INT_MIN;
    return static_cast<int>(v);
}

bool formatLength(CString& out, double x, unsigned short precision, unsigned short flags, Mav::lFormat format,
                  bool smallFallback)
{
    const int unit = (flags & 0x0040) ? -1 : 4;
    int digits = autoPrec(precision, unit, format);
    Mav::lFormat fmt = format;
    if (smallFallback && (fmt == Mav::kFormatArchitectural || fmt == Mav::kFormatFractional)) {
        // A fraction finer than 1/256 is never shown; a length below the finest fraction would read 0, so it is
        // shown in the matching decimal form instead (feet and inches for architectural, plain for fractional).
        if (digits > 8)
            digits = 8;
        if (x != 0.0 && std::fabs(x) < 1.0 / std::ldexp(1.0, digits)) {
            fmt = fmt == Mav::kFormatArchitectural ? Mav::kFormatEngineering : Mav::kFormatDecimal;
            digits = autoPrec(precision, -1, Mav::kFormatDecimal);
        }
    }
    CMavString text;
    if (!mavRtoS(x, fmt, digits, (flags & 0x0020) != 0, text))
        return false;
    out = text.c_str();
    return true;
}

bool formatAngle(CString& out, double radians, unsigned short precision, unsigned short flags)
{
    CMavString text;
    if (!mavRtoS(radians * 180.0 / kPi, Mav::kFormatDecimal, precision, (flags & 0x0020) != 0, text))
        return false;
    out = text.c_str();
    return true;
}

const wchar_t* numMsg(const wchar_t* key, const wchar_t* def)
{
    // The field's messages come from the library's own catalogue in the current language, whatever callback a
    // host installed for its dialogs.
    const wchar_t* text = msgFcnDefault(key, def, L"-1");
    return text ? text : def;
}

} // namespace MAV
