// Length units and number formats, numbered as AutoCAD numbers them (INSUNITS and LUNITS).
#pragma once

namespace Mav {

// Drawing units with the numbers of AutoCAD's INSUNITS. kUnitsDrawing (-1) stands for "the drawing's current unit"
// wherever a unit is converted.
enum lUnit : int {
    kUnitsDrawing = -1,
    kUnitsUndefined = 0,
    kUnitsInches = 1,
    kUnitsFeet = 2,
    kUnitsMiles = 3,
    kUnitsMillimeters = 4,
    kUnitsCentimeters = 5,
    kUnitsMeters = 6,
    kUnitsKilometers = 7,
    kUnitsMicroinches = 8,
    kUnitsMils = 9,
    kUnitsYards = 10,
    kUnitsAngstroms = 11,
    kUnitsNanometers = 12,
    kUnitsMicrons = 13,
    kUnitsDecimeters = 14,
    kUnitsDekameters = 15,
    kUnitsHectometers = 16,
    kUnitsGigameters = 17,
    kUnitsAstronomical = 18,
    kUnitsLightYears = 19,
    kUnitsParsecs = 20,
    kUnitsMax = kUnitsParsecs
};

// Length display formats with the numbers of AutoCAD's LUNITS. kFormatCurrent (-1) stands for "the application's
// current format"; kFormatNone (0) is no format.
enum lFormat : int {
    kFormatCurrent = -1,
    kFormatNone = 0,
    kFormatScientific = 1,
    kFormatDecimal = 2,
    kFormatEngineering = 3,
    kFormatArchitectural = 4,
    kFormatFractional = 5
};

} // namespace Mav
