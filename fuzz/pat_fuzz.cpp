// libFuzzer target: the hatch pattern file reader on arbitrary bytes. Whatever it keeps must respect the
// reader's limits and hold finite numbers only.
#include "data/patterns.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CMavArrayTempl<MAV::PatternDef> defs;
    const int n = MAV::patParse(reinterpret_cast<const char*>(data), size, defs);
    if (n != defs.len() || n > MAV::kPatMaxPatterns)
        std::abort();
    for (const MAV::PatternDef& p : defs) {
        if (p.name.isEmpty() || p.lines.len() > MAV::kPatMaxLines)
            std::abort();
        for (const CMavArrayTempl<double>& line : p.lines) {
            if (line.len() < 1 || line.len() > MAV::kPatMaxValues)
                std::abort();
            for (double v : line)
                if (!std::isfinite(v))
                    std::abort();
        }
    }
    return 0;
}
