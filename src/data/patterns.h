// Hatch properties and hatch patterns in AutoCAD's pattern file (.pat) format.
#pragma once

#include <cstddef>

#include "base/CMavArray.h"
#include "base/CMavObj.h"
#include "base/CMavString.h"

namespace MAV {

// How a region is hatched: the pattern's name, a factor on all its lengths, its angle (radians about +Z) and
// the line spacing that the simple hatch by name uses (AutoCAD's HPSPACE). The default is no pattern, scale 1,
// angle 0, spacing 1.
class CHatchProp : public CMavObj {
public:
    CMavString name;
    double scale = 1.0;
    double angle = 0.0;
    double spacing = 1.0;

    CHatchProp() = default;
    CHatchProp(const wchar_t* patternName, double patternScale = 1.0, double patternAngle = 0.0,
               double lineSpacing = 1.0)
        : name(patternName), scale(patternScale), angle(patternAngle), spacing(lineSpacing) {}
    CHatchProp(const CHatchProp&) = default;
    CHatchProp& operator=(const CHatchProp&) = default;

    bool isEmpty() const { return name.isEmpty(); }
    bool operator==(const CHatchProp& o) const
    {
        return name == o.name && scale == o.scale && angle == o.angle && spacing == o.spacing;
    }
    bool operator!=(const CHatchProp& o) const { return !(*this == o); }
};

// One pattern: name (upper case), description and pattern lines. A line holds angle (degrees), origin x,
// origin y, offset along the line, offset between lines, then dash lengths (positive dash, negative gap, 0 dot).
struct PatternDef {
    CMavString name;
    CMavString description;
    CMavArrayTempl<CMavArrayTempl<double>> lines;
    bool operator==(const PatternDef& o) const
    {
        return name == o.name && description == o.description && lines == o.lines;
    }
};

// Limits of the reader: patterns per file, lines per pattern, values per line.
constexpr int kPatMaxPatterns = 10000;
constexpr int kPatMaxLines = 1000;
constexpr int kPatMaxValues = 5 + 256;

// Reads a pattern file (UTF-8 or plain ASCII): "*NAME, description" starts a pattern, the following lines are its
// pattern lines, ';' starts a comment, blank lines are skipped. A pattern line is a comma-separated list of 1 to
// kPatMaxValues numbers; a line with an empty, non-numeric, not finite or surplus value is skipped (the rest of
// the pattern stays). Lines before the first header, patterns beyond the limits and lines of a pattern whose name
// came before in the same file are skipped (the first definition wins). Returns the number of patterns read.
int patParse(const char* text, size_t size, CMavArrayTempl<PatternDef>& out);

// The pattern library: the shipped patterns (data/patterns/mav.pat, compiled in), with patterns of loaded files
// taking the place of shipped ones of the same name.
// The lines of a pattern (name compared without regard to case); false, lines emptied, when unknown.
bool patLookup(const wchar_t* name, CMavArrayTempl<CMavArrayTempl<double>>& lines);
// The whole pattern; null when unknown. Valid until the library changes.
const PatternDef* patFind(const wchar_t* name);
// Merges a pattern file into the library; -1 when it cannot be read, else the number of patterns read.
int patLoadFile(const wchar_t* path);
int patLoadText(const char* text, size_t size);
// The names of all patterns, in library order.
int patNames(CMavArrayTempl<CMavString>& names);
// Back to the shipped patterns.
void patReset();

} // namespace MAV
