// Hostile polylines, outlines and dash patterns for the polyline algorithms: no crash, no hang, bounded output.
#include <algorithm>
#include <cmath>
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

// About how many pieces the dash pattern cuts the line into (chords turned into arc lengths). Between a few
// ten thousand pieces and the point where the measure refuses the pattern and draws the line solid, a run only
// repeats one loop many times over and costs a thousand short runs; the unit tests cover the piece limit itself.
double piecesEstimate(const CMavVertexArray& vl, double scale, const CMavLineParm& pattern)
{
    double length = 0.0;
    for (const CMavVertex& v : vl) {
        double chord = (v.end - v.start).length();
        double half = 2.0 * std::atan(std::fabs(v.bulge));
        length += half > 1e-9 ? chord * half / std::sin(half) : chord;
    }
    double period = 0.0;
    for (double x : pattern)
        period += std::fabs(x * scale * pattern.scale());
    return (length / period + 1.0) * pattern.len() + vl.len();
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
    const double estimate = piecesEstimate(line, scale, pattern);
    if (!(estimate > 20000.0 && estimate < 2.0 * MAV::kMaxPieces)) {
        CMavArrayTempl<CMavVertexArray> pieces = MAV::g_vl_measure(line, scale, pattern);
        if (pieces.len() > MAV::kMaxPieces)
            __builtin_trap();
        sink += pieces.len();
    }
    sink += MAV::g_vl_orient(outline, CMavVector3d::kZAxis) ? 1 : 0;
    sink += MAV::g_vl_extmax(line, scale).len();
    sink += MAV::g_vl_extrect(outline, scale).len();
    sink += MAV::g_vl_to_vll(line).len();
    if (line.len() > 0) {
        sink += MAV::g_vx_split_dif(line[0], scale);
        // The count of chords per arc is the first arc's at 0.1 units, at most 256: a larger count only makes
        // the same loop longer.
        sink += MAV::g_vl_expl(line, std::min(MAV::g_vx_split_dif(line[0], 0.1), 256)).len();
        sink += MAV::g_vl_cut(line, outline.isEmpty() ? CMavPoint3d() : outline[0].start, line[-1].end).len();
    }
    (void)sink;
    return 0;
}
