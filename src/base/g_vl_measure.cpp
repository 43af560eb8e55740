// Dash pieces of a polyline: a dash pattern run along its length.
//
// The pattern starts at the polyline's start and repeats until its end. A positive entry is a dash (a visible
// piece of that length, running round corners and along arcs as sub-arcs), a negative entry a gap, and 0 a dot
// (a piece of one zero-length segment that takes no length). The pattern keeps running over a jump between
// two continuous parts of the polyline, but no piece crosses a jump: a dash cut by one goes on as a new piece.
#include <algorithm>
#include <cmath>
#include <vector>

#include "base/g_vl.h"
#include "base/g_vl_seg.h"

namespace MAV {

namespace {

CMavArrayTempl<CMavVertexArray> solidParts(const CMavVertexArray& vl)
{
    return g_vl_to_vll(vl);
}

// Length of the segment in space (z included; an arc rises along its sweep like a helix).
double length3(const seg::Seg& s)
{
    double dz = s.b.z - s.a.z;
    if (s.arc)
        return std::hypot(s.len, dz);
    return std::sqrt((s.b.x - s.a.x) * (s.b.x - s.a.x) + (s.b.y - s.a.y) * (s.b.y - s.a.y) + dz * dz);
}

} // namespace

// Degenerate patterns have their own outcome: an empty pattern, a pattern with an entry that is not a number,
// or one without length (only dots, or a scale of 0) draws the polyline solid, as its continuous parts; a
// pattern of gaps only draws nothing. When the pattern would cut the polyline into more than kMaxPieces
// pieces (a period far below the polyline's length), the polyline is drawn solid as well: such a pattern
// cannot be told from a solid line.
CMavArrayTempl<CMavVertexArray> g_vl_measure(const CMavVertexArray& vl, double scale, const CMavLineParm& pattern)
{
    CMavArrayTempl<CMavVertexArray> out;
    if (vl.isEmpty())
        return out;
    double f = std::fabs(scale * pattern.scale());
    std::vector<double> e;
    double period = 0.0;
    int visible = 0;
    bool gaps = false;
    for (double v : pattern) {
        double x = v * f;
        if (!std::isfinite(x) || !std::isfinite(v))
            return solidParts(vl);
        e.push_back(v == 0.0 ? 0.0 : x);
        period += std::fabs(x);
        if (v >= 0.0)
            ++visible;
        else
            gaps = true;
    }
    if (e.empty() || !(period > 0.0) || !std::isfinite(period))
        return solidParts(vl);
    if (visible == 0)
        return out;
    if (!gaps) {
        bool dots = false;
        for (double x : e)
            dots = dots || x == 0.0;
        if (!dots)
            return solidParts(vl);
    }

    // Segments in space, and the bound on the number of pieces.
    // Lengths first (for the bound on the number of pieces); a segment that is not usable has length NaN.
    std::vector<double> lens(static_cast<std::size_t>(vl.len()), std::nan(""));
    double total = 0.0;
    seg::Seg s;
    for (int i = 0; i < vl.len(); ++i) {
        std::size_t k = static_cast<std::size_t>(i);
        if (seg::make(vl[i], s, false)) {
            lens[k] = length3(s);
            if (std::isfinite(lens[k]))
                total += lens[k];
        }
    }
    double estimate = (total / period + 1.0) * visible + vl.len();
    if (!(estimate <= kMaxPieces))
        return solidParts(vl);
    out.setPhysicalLength(static_cast<int>(std::min(estimate, 65536.0)));

    // Entry j of cycle k covers [k * period + prefix[j], k * period + prefix[j + 1]] of the length; positions
    // are computed from those products rather than summed step by step, so that long runs do not drift.
    const int n = static_cast<int>(e.size());
    std::vector<double> prefix(static_cast<std::size_t>(n) + 1, 0.0);
    for (int j = 0; j < n; ++j)
        prefix[static_cast<std::size_t>(j) + 1] = prefix[static_cast<std::size_t>(j)] + std::fabs(e[static_cast<std::size_t>(j)]);
    const double eps = std::max(period, total) * 1e-12;
    const double tol = seg::tolFor(vl, kGeomTol);
    double cycle = 0.0;
    int idx = 0;
    auto advance = [&]() {
        if (++idx == n) {
            idx = 0;
            cycle += 1.0;
        }
    };
    auto startOf = [&]() { return cycle * period + prefix[static_cast<std::size_t>(idx)]; };
    auto endOf = [&]() { return cycle * period + prefix[static_cast<std::size_t>(idx) + 1]; };

    CMavVertexArray cur;
    bool open = false;
    auto closePiece = [&]() {
        if (open) {
            out.append(std::move(cur));
            cur = CMavVertexArray();
            open = false;
        }
    };
    auto dot = [&](const CMavPoint3d& p) {
        closePiece();
        CMavVertexArray d;
        d.setPhysicalLength(1);
        d.append(CMavVertex(p, p, 0.0));
        out.append(std::move(d));
    };
    bool havePrev = false;
    CMavPoint3d prevEnd;
    double g0 = 0.0; // length before the current segment
    int last = -1;   // last segment with length
    for (int i = 0; i < vl.len() && out.len() < kMaxPieces; ++i) {
        std::size_t k = static_cast<std::size_t>(i);
        const double L = lens[k];
        if (!std::isfinite(L)) {
            closePiece();
            havePrev = false;
            continue;
        }
        seg::make(vl[i], s, false);
        if (!(L > 0.0))
            continue;
        if (havePrev && !(prevEnd.distanceTo(s.a) <= tol))
            closePiece();
        havePrev = true;
        prevEnd = s.b;
        last = i;
        const double g1 = g0 + L;
        auto param = [&](double g) { return g <= g0 + eps ? 0.0 : (g >= g1 - eps ? 1.0 : (g - g0) / L); };
        while (out.len() < kMaxPieces) {
            double v = e[static_cast<std::size_t>(idx)];
            double es = startOf();
            if (es >= g1 - eps)
                break; // the entry starts on a later segment (a dot on the joint too)
            if (v == 0.0) {
                dot(seg::at(s, param(es)));
                advance();
                continue;
            }
            double ee = endOf();
            if (v > 0.0) {
                double t0 = param(std::max(es, g0)), t1 = param(std::min(ee, g1));
                if (t1 > t0) {
                    if (!open)
                        cur.setPhysicalLength(1); // most pieces have one segment: no room for eight
                    open = true;
                    cur.append(t0 == 0.0 && t1 == 1.0 ? vl[i] : seg::sub(s, t0, t1));
                }
            }
            if (ee > g1 + eps)
                break; // the entry goes on along the next segment
            if (v > 0.0)
                closePiece();
            advance();
        }
        g0 = g1;
    }
    // Dots that fall on the very end of the polyline.
    if (last >= 0) {
        const CMavPoint3d& end = vl[last].end;
        while (out.len() < kMaxPieces && e[static_cast<std::size_t>(idx)] == 0.0 && startOf() <= g0 + eps) {
            dot(end);
            advance();
        }
    }
    closePiece();
    return out;
}

} // namespace MAV
