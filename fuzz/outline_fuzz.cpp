// libFuzzer target: outline definitions. The first byte picks the reader: a parametric outline from a code and
// raw parameters (any double), or the data text form read as generated objects and placed elements, whose
// outlines, placement matrices and completion read every key from the input.
#include "data/datafile.h"
#include "data/outlines.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void checkPolyline(const CMavVertexArray& vl)
{
    if (vl.len() > 1001 * 4)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    if (data[0] & 1) {
        static const int kCodes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 21, -1, 12, 99};
        const int code = kCodes[data[1] % 16];
        CMavArrayTempl<double> parameters;
        for (size_t at = 2; at + 8 <= size && parameters.len() < 8; at += 8) {
            double v;
            std::memcpy(&v, data + at, 8);
            parameters.append(v);
        }
        const CMavVertexArray vl = MAV::g_outline(code, CMavVector3d(0, 0, 0), parameters);
        checkPolyline(vl);
        for (int i = 0; i < vl.len(); ++i)
            if (!std::isfinite(vl[i].start.x) || !std::isfinite(vl[i].start.y) || !std::isfinite(vl[i].bulge))
                std::abort();
        CMavArrayTempl<double> defaults;
        (void)MAV::outlineDefaults(code, data[1] >> 4, defaults);
        return 0;
    }
    CMavDataItem tree;
    (void)MAV::dataFromText(tree, reinterpret_cast<const char*>(data + 1), size - 1);
    const int unit = static_cast<int>(data[0] >> 1) % 23 - 1;
    for (int i = 0; i < tree.count(); ++i) {
        CMavDataItem* item = tree.childAt(i);
        CMavVertexArray vl;
        if (MAV::g_outline(vl, item, unit) && vl.len() < 2)
            std::abort();
        checkPolyline(vl);
        CMavMatrix3d m;
        (void)MAV::g_mtx_local(item, m, unit < 0 ? 0 : unit, -1);
        (void)MAV::objGen(item, data[0] & 2 ? 1 : 0);
    }
    return 0;
}
