// Length units, conversions, names and display precision.
#include "data/units.h"

#include <cmath>

#include "data/CMavDataItem.h"
#include "data/config.h"
#include "data/messages.h"

namespace {

// Millimetres per unit, indexed by INSUNITS number (0 unitless).
const double kMillimetres[21] = {
    0.0,                        // 0 unitless
    25.4,                       // 1 inches
    304.8,                      // 2 feet
    1609344.0,                  // 3 miles
    1.0,                        // 4 millimetres
    10.0,                       // 5 centimetres
    1000.0,                     // 6 metres
    1000000.0,                  // 7 kilometres
    25.4e-6,                    // 8 microinches
    25.4e-3,                    // 9 mils
    914.4,                      // 10 yards
    1e-7,                       // 11 angstroms
    1e-6,                       // 12 nanometres
    1e-3,                       // 13 microns
    100.0,                      // 14 decimetres
    10000.0,                    // 15 dekametres
    100000.0,                   // 16 hectometres
    1e12,                       // 17 gigametres
    149597870700000.0,          // 18 astronomical units
    9460730472580800000.0,      // 19 light years
    30856775814913673000.0      // 20 parsecs
};

const wchar_t* const kGermanNames[21] = {
    L"Ohne Einheit", L"Zoll",         L"Fu\u00DF",       L"Meilen",     L"Millimeter", L"Zentimeter", L"Meter",
    L"Kilometer",    L"Mikrozoll",    L"Mil",            L"Yard",       L"\u00C5ngstr\u00F6m", L"Nanometer",
    L"Mikrometer",   L"Dezimeter",    L"Dekameter",      L"Hektometer", L"Gigameter",
    L"Astronomische Einheiten",       L"Lichtjahre",     L"Parsec"};

bool validUnit(int unit)
{
    return unit >= 0 && unit <= Mav::kUnitsMax;
}

} // namespace

namespace MAV {

Mav::lUnit acad_unit_get()
{
    int unit = Mav::kUnitsMillimeters;
    const CMavDataItem* item = cfg_get(L"UNITS\\INSUNITS");
    if (!item || !item->get(unit) || !validUnit(unit))
        unit = Mav::kUnitsMillimeters;
    return static_cast<Mav::lUnit>(unit);
}

bool acad_unit_set(int unit)
{
    if (!validUnit(unit))
        return false;
    return dataItemSet(CConfig::getCfgRoot(), CMavDataKey(L"UNITS\\INSUNITS"), unit);
}

double acadUnitMm(int unit)
{
    if (unit == Mav::kUnitsDrawing)
        unit = acad_unit_get();
    return validUnit(unit) ? kMillimetres[unit] : 0.0;
}

bool acadUnitCv(double& value, int from, int to)
{
    if (from < Mav::kUnitsDrawing || from > Mav::kUnitsMax || to < Mav::kUnitsDrawing || to > Mav::kUnitsMax)
        return false;
    const double f = acadUnitMm(from);
    const double t = acadUnitMm(to);
    if (f == 0.0 || t == 0.0 || f == t)
        return true;
    value = value * f / t;
    return true;
}

CMavArrayTempl<CMavString> acad_units(const wchar_t* country)
{
    CMavArrayTempl<CMavString> names;
    for (int i = 0; i <= Mav::kUnitsMax; ++i) {
        const CMavString key = CMavString::format(L"MAV_INSUNITS_%d", i);
        names.append(CMavString(mav_msg_get(L"MAV_", key.c_str(), kGermanNames[i], country)));
    }
    return names;
}

int autoPrec(int precision, int unit, int format)
{
    if (precision < 0)
        precision = 0;
    if (precision > 15)
        precision = 15;
    // Engineering and architectural texts show inches whatever the unit; a unitless value counts as millimetres.
    double mm = acadUnitMm(unit);
    if (format == Mav::kFormatEngineering || format == Mav::kFormatArchitectural)
        mm = 25.4;
    if (mm <= 0.0)
        mm = 1.0;
    int digits = 0;
    if (format == Mav::kFormatArchitectural || format == Mav::kFormatFractional) {
        // Finest fraction 1/2^d of the unit no coarser than 10^-precision mm: 2^d >= mm * 10^precision.
        const double need = mm * std::pow(10.0, precision);
        digits = need <= 1.0 ? 0 : static_cast<int>(std::ceil(std::log2(need) - 1e-9));
    } else {
        digits = precision + static_cast<int>(std::lround(std::log10(mm)));
    }
    if (digits < 0)
        digits = 0;
    if (digits > 15)
        digits = 15;
    return digits;
}

} // namespace MAV
