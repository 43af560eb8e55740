// Hostile polylines, outlines and dash patterns for the polyline algorithms: no crash, no hang, bounded output.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "base/g_vl.h"

namespace {

// Reads numbers from the input: small grid coordinates (exact corners, shared edges, collinear runs) or, in raw
// mode, any double including NaN, infinities and huge values.
struct Reader {
    const uint8_t* p;
    std::size_t n;
    bool raw;

    double next()
    {
        if (raw) {
            double d = 0.0;
            if (n >= sizeof d) {
                std::memcpy(&d, p, sizeof d);
                p += sizeof d;
                n -= sizeof d;
            } else {
                n = 0;
            }
            return d;
        }
        if (n < 2) {
            n = 0;
            return 0.0;
        }
        int16_t v;
        std::memcpy(&v, p, 2);
        p += 2;
        n -= 2;
        return v / 64.0;
    }
    int count(int max)
    {
        if (n == 0)
            return 0;
        int c = *p % (max + 1);
        ++p;
        --n;
        return c;
    }
};

CMavVertexArray polyline(Reader& r, bool closed)
{
    CMavVertexArray vl;
    int k = r.count(24);
    if (k == 0)
        return vl;
    CMavPoint3d first(r.next(), r.next(), 0.0), at = first;
    for (int i = 0; i < k; ++i) {
        CMavPoint3d next = closed && i == k - 1 ? first : CMavPoint3d(r.next(), r.next(), 0.0);
        double bulge = r.count(3) == 0 ? r.next() : 0.0;
        vl.append(CMavVertex(at, next, bulge));
        at = next;
    }
    return vl;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    Reader r{data + 1, size - 1, (data[0] & 1) != 0};
    CMavVertexArray line = polyline(r, false);
    CMavVertexArray outline = polyline(r, true);
    CMavArrayTempl<CMavVertexArray> holes;
    for (int h = r.count(3); h > 0; --h)
        holes.append(polyline(r, true));
    CMavLineParm pattern;
    for (int k = r.count(5); k > 0; --k)
        pattern.append(r.next());
    double scale = r.next();

    CMavArrayTempl<CMavVertexArray> region;
    region.append(outline);
    region.append(holes);

    volatile int sink = 0;
    sink += MAV::g_vl_punch(line, outline, true).len();
    sink += MAV::g_vl_punch_reg(line, region, false).len();
    sink += MAV::g_vll_pt_inside(region, line.isEmpty() ? CMavPoint3d() : line[0].start);
    CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> punched = MAV::g_vl_punch(outline, holes);
    sink += punched.len();
    CMavArrayTempl<CMavVertexArray> pieces = MAV::g_vl_measure(line, scale, pattern);
    if (pieces.len() > MAV::kMaxPieces)
        __builtin_trap();
    sink += pieces.len();
    sink += MAV::g_vl_orient(outline, CMavVector3d::kZAxis) ? 1 : 0;
    sink += MAV::g_vl_extmax(line, scale).len();
    sink += MAV::g_vl_extrect(outline, scale).len();
    sink += MAV::g_vl_to_vll(line).len();
    if (line.len() > 0) {
        sink += MAV::g_vx_split_dif(line[0], scale);
        sink += MAV::g_vl_expl(line, MAV::g_vx_split_dif(line[0], 0.1)).len();
        sink += MAV::g_vl_cut(line, outline.isEmpty() ? CMavPoint3d() : outline[0].start, line[-1].end).len();
    }
    (void)sink;
    return 0;
}
