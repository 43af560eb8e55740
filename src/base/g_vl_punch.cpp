// Clipping polylines by regions, point-in-region tests, and cutting holes out of an outline.
//
// A region is its outer outline minus its holes. Each outline counts by the even-odd rule (a self-crossing
// outline is inside where a ray from the point crosses it an odd number of times), and a point inside any
// hole is outside the region, also where a hole reaches beyond the outer outline or two holes overlap.
// Boundaries are closed: a point within the tolerance of an edge is on the boundary, which the inside test
// reports as 2 and the clipping functions keep with the inside pieces.
#include <algorithm>
#include <cmath>
#include <vector>

#include "base/g_vl.h"
#include "base/g_vl_seg.h"

namespace MAV {

namespace {

using seg::Outline;
using seg::Seg;

constexpr double kPi = 3.14159265358979323846;

double tolOf(const CMavVertexArray& vl)
{
    return seg::tolFor(vl, kGeomTol);
}

double tolOf(const CMavArrayTempl<CMavVertexArray>& vll)
{
    double t = kGeomTol;
    for (const CMavVertexArray& vl : vll)
        t = std::max(t, tolOf(vl));
    return t;
}

struct Region {
    std::vector<Outline> outlines; // 0 the outer outline, then the holes

    // 0 outside, 1 inside, 2 on the boundary.
    int classify(double x, double y) const
    {
        if (outlines.empty())
            return 0;
        int c0 = outlines[0].classify(x, y);
        if (c0 == 0)
            return 0;
        bool edge = c0 == 2;
        for (std::size_t k = 1; k < outlines.size(); ++k) {
            int c = outlines[k].classify(x, y);
            if (c == 1)
                return 0;
            edge = edge || c == 2;
        }
        return edge ? 2 : 1;
    }
};

// Sorts the parameters and drops those within tol (in length) of the previous one; 0 and 1 stay exact.
void tidyParams(std::vector<double>& ts, double len, double tol)
{
    std::sort(ts.begin(), ts.end());
    std::vector<double> out;
    out.reserve(ts.size());
    double step = len > 0.0 ? tol / len : 1.0;
    for (double t : ts) {
        if (t <= step)
            t = 0.0;
        if (t >= 1.0 - step)
            t = 1.0;
        if (out.empty() || t - out.back() > step)
            out.push_back(t);
        else if (t == 1.0)
            out.back() = 1.0;
    }
    if (out.empty() || out.front() != 0.0)
        out.insert(out.begin(), 0.0);
    if (out.back() != 1.0)
        out.push_back(1.0);
    ts.swap(out);
}

// Appends to `out` the pieces of vl that the region keeps: inside (boundary included) or outside.
void clip(const CMavVertexArray& vl, const Region& reg, bool inside, double tol, CMavArrayTempl<CMavVertexArray>& out,
          int& budget)
{
    CMavVertexArray cur;
    bool open = false;
    auto closePiece = [&]() {
        if (open) {
            out.append(std::move(cur));
            cur = CMavVertexArray();
            open = false;
        }
    };
    auto keep = [&](const CMavPoint3d& p) {
        int c = reg.classify(p.x, p.y);
        return inside ? c != 0 : c == 0;
    };
    auto add = [&](const CMavVertex& v) {
        if (budget <= 0)
            return;
        --budget;
        if (open && !(cur[-1].end.distanceTo(v.start) <= tol))
            closePiece();
        if (!open)
            cur.setPhysicalLength(1);
        open = true;
        cur.append(v);
    };
    std::vector<double> ts;
    Seg s;
    double tp[4], tq[4];
    for (const CMavVertex& v : vl) {
        if (budget <= 0)
            break;
        if (!seg::make(v, s)) {
            closePiece();
            continue;
        }
        if (s.len <= 0.0) {
            // No extent in the plane: kept or dropped as a whole by its position.
            if (keep(s.a))
                add(v);
            else
                closePiece();
            continue;
        }
        ts.assign({0.0, 1.0});
        for (const Outline& o : reg.outlines)
            o.candidates(s.x0, s.y0, s.x1, s.y1, [&](int i) {
                int n = seg::intersect(s, o.segs()[static_cast<std::size_t>(i)], tol, tp, tq);
                for (int k = 0; k < n && static_cast<int>(ts.size()) < budget + 2; ++k)
                    ts.push_back(tp[k]);
            });
        tidyParams(ts, s.len, tol);
        for (std::size_t k = 0; k + 1 < ts.size(); ++k) {
            double t0 = ts[k], t1 = ts[k + 1];
            if (keep(seg::at(s, (t0 + t1) / 2.0)))
                add(t0 == 0.0 && t1 == 1.0 ? v : seg::sub(s, t0, t1));
            else
                closePiece();
        }
    }
    closePiece();
}

Region regionOf(const CMavArrayTempl<CMavVertexArray>& regions, double tol)
{
    Region reg;
    for (const CMavVertexArray& vl : regions)
        reg.outlines.emplace_back(vl, tol);
    return reg;
}

// The prepared region of the last large region list. Callers clip many lines by the same region (scan-line
// fills, hatch rows); comparing the list with the last one costs far less than preparing it again. Small lists
// are prepared each time. Like the library's other process-wide tables it is used from the host's
// user-interface thread only.
const Region& preparedRegion(const CMavArrayTempl<CMavVertexArray>& regions, double tol, Region& local)
{
    int n = 0;
    for (const CMavVertexArray& vl : regions)
        n += vl.len();
    if (n < 64) {
        local = regionOf(regions, tol);
        return local;
    }
    struct Cache {
        CMavArrayTempl<CMavVertexArray> key;
        double tol = -1.0;
        Region reg;
    };
    static Cache cache;
    if (cache.tol != tol || cache.key != regions) {
        cache.reg = regionOf(regions, tol);
        cache.key = regions;
        cache.tol = tol;
    }
    return cache.reg;
}

// ---- Cutting holes out of an outline -----------------------------------------------------------------------

Seg reversed(const Seg& s)
{
    Seg r;
    seg::make(s.b, s.a, -s.bulge, r);
    return r;
}

std::vector<Seg> counterClockwise(std::vector<Seg> segs)
{
    if (seg::area(segs) < 0.0) {
        std::reverse(segs.begin(), segs.end());
        for (Seg& s : segs)
            s = reversed(s);
    }
    return segs;
}

CMavVertexArray toPolyline(const std::vector<Seg>& segs)
{
    CMavVertexArray out;
    out.setPhysicalLength(static_cast<int>(segs.size()));
    for (const Seg& s : segs)
        out.append(CMavVertex(s.a, s.b, s.bulge));
    return out;
}

// A directed piece of the result's boundary, with the region on its left.
struct Piece {
    CMavVertex v;
    double sdx = 0.0, sdy = 0.0; // direction of travel at the start
    double edx = 0.0, edy = 0.0; // and at the end
    bool used = false;
};

Piece pieceOf(const Seg& s, double t0, double t1, bool forward)
{
    Piece p;
    Seg sub;
    seg::make(seg::at(s, t0), seg::at(s, t1), s.arc ? std::tan((t1 - t0) * s.sweep / 4.0) : 0.0, sub);
    if (!forward)
        sub = reversed(sub);
    p.v = CMavVertex(sub.a, sub.b, sub.bulge);
    seg::tangent(sub, 0.0, p.sdx, p.sdy);
    seg::tangent(sub, 1.0, p.edx, p.edy);
    return p;
}

bool samePoint(const CMavPoint3d& a, const CMavPoint3d& b, double tol)
{
    return std::fabs(a.x - b.x) <= tol && std::fabs(a.y - b.y) <= tol;
}

// A boundary shared by two outlines gives the same directed piece twice; one of them goes.
void dropDuplicates(std::vector<Piece>& pieces, double tol)
{
    std::vector<std::size_t> order(pieces.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return pieces[a].v.start.x < pieces[b].v.start.x; });
    std::vector<char> gone(pieces.size(), 0);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const CMavVertex& a = pieces[order[i]].v;
        if (gone[order[i]])
            continue;
        for (std::size_t j = i + 1; j < order.size() && pieces[order[j]].v.start.x <= a.start.x + tol; ++j) {
            const CMavVertex& b = pieces[order[j]].v;
            if (samePoint(a.start, b.start, tol) && samePoint(a.end, b.end, tol) &&
                std::fabs(a.bulge - b.bulge) <= 1e-9 * (1.0 + std::fabs(a.bulge)))
                gone[order[j]] = 1;
        }
    }
    std::vector<Piece> kept;
    kept.reserve(pieces.size());
    for (std::size_t i = 0; i < pieces.size(); ++i)
        if (!gone[i])
            kept.push_back(pieces[i]);
    pieces.swap(kept);
}

// Follows the pieces into closed loops. At a point where several pieces start, the loop takes the one that
// turns furthest to the left, so that regions touching at a point come out as separate loops.
std::vector<std::vector<int>> chainLoops(std::vector<Piece>& pieces, double tol)
{
    std::vector<int> order(pieces.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return pieces[static_cast<std::size_t>(a)].v.start.x < pieces[static_cast<std::size_t>(b)].v.start.x;
    });
    std::vector<double> xs(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        xs[i] = pieces[static_cast<std::size_t>(order[i])].v.start.x;

    auto next = [&](const Piece& from) -> int {
        const CMavPoint3d& e = from.v.end;
        auto lo = std::lower_bound(xs.begin(), xs.end(), e.x - tol);
        int best = -1;
        double bestTurn = -HUGE_VAL;
        for (auto it = lo; it != xs.end() && *it <= e.x + tol; ++it) {
            int j = order[static_cast<std::size_t>(it - xs.begin())];
            const Piece& c = pieces[static_cast<std::size_t>(j)];
            if (c.used || !samePoint(c.v.start, e, tol))
                continue;
            double turn = std::atan2(from.edx * c.sdy - from.edy * c.sdx, from.edx * c.sdx + from.edy * c.sdy);
            if (turn <= -kPi + 1e-12)
                turn = kPi; // straight back counts as the sharpest left turn
            if (turn > bestTurn) {
                bestTurn = turn;
                best = j;
            }
        }
        return best;
    };

    std::vector<std::vector<int>> loops;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].used)
            continue;
        std::vector<int> loop{static_cast<int>(i)};
        pieces[i].used = true;
        bool closed = false;
        while (!closed && loop.size() <= pieces.size()) {
            int j = next(pieces[static_cast<std::size_t>(loop.back())]);
            if (j < 0)
                break;
            pieces[static_cast<std::size_t>(j)].used = true;
            loop.push_back(j);
            closed = samePoint(pieces[static_cast<std::size_t>(j)].v.end, pieces[i].v.start, tol);
        }
        if (closed)
            loops.push_back(std::move(loop));
    }
    return loops;
}

CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> punchHoles(const CMavVertexArray& outline,
                                                         const CMavArrayTempl<CMavVertexArray>& holes)
{
    CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> result;
    double tol = std::max(tolOf(outline), tolOf(holes));

    // All outlines counter-clockwise; holes without area or beside the outline play no part.
    Region reg;
    std::vector<Outline>& outl = reg.outlines;
    outl.emplace_back(counterClockwise(seg::fromPolyline(outline, true, tol)), tol);
    if (outl[0].empty() || !(seg::area(outl[0].segs()) > 0.0))
        return result;
    for (const CMavVertexArray& h : holes) {
        std::vector<Seg> hs = seg::fromPolyline(h, true, tol);
        double a = seg::area(hs);
        if (hs.empty() || a == 0.0 || !std::isfinite(a))
            continue;
        Outline probe(counterClockwise(std::move(hs)), tol);
        const Outline& outer = outl[0];
        if (probe.x1() < outer.x0() - tol || probe.x0() > outer.x1() + tol || probe.y1() < outer.y0() - tol ||
            probe.y0() > outer.y1() + tol)
            continue;
        outl.push_back(std::move(probe));
    }
    const Outline& outer = outl[0];
    const std::size_t count = outl.size();
    auto segs = [&](std::size_t k) -> const std::vector<Seg>& { return outl[k].segs(); };

    // Split every segment where it meets a segment of another outline.
    std::vector<std::vector<std::vector<double>>> cuts(count);
    for (std::size_t k = 0; k < count; ++k)
        cuts[k].resize(segs(k).size());
    long long budget = kMaxPieces;
    bool crossed = false;
    double tp[4], tq[4];
    for (std::size_t k = 0; k < count; ++k)
        for (std::size_t l = k + 1; l < count; ++l) {
            const Outline& ol = outl[l];
            if (outl[k].x1() < ol.x0() - tol || outl[k].x0() > ol.x1() + tol || outl[k].y1() < ol.y0() - tol ||
                outl[k].y0() > ol.y1() + tol)
                continue;
            for (std::size_t i = 0; i < segs(k).size(); ++i) {
                const Seg& s = segs(k)[i];
                ol.candidates(s.x0, s.y0, s.x1, s.y1, [&](int j) {
                    int n = seg::intersect(s, segs(l)[static_cast<std::size_t>(j)], tol, tp, tq);
                    for (int m = 0; m < n; ++m) {
                        cuts[k][i].push_back(tp[m]);
                        cuts[l][static_cast<std::size_t>(j)].push_back(tq[m]);
                        --budget;
                        crossed = true;
                    }
                });
                if (budget < 0)
                    return result; // too many crossings to untangle: no result
            }
        }

    if (!crossed) {
        // No outline touches another: a hole is either inside the outline or beside it, inside another hole
        // or around the whole outline.
        for (std::size_t k = 1; k < count; ++k)
            if (outl[k].classify(segs(0)[0].a.x, segs(0)[0].a.y) == 1)
                return result;
        CMavArrayTempl<CMavVertexArray> region;
        region.append(toPolyline(segs(0)));
        for (std::size_t k = 1; k < count; ++k) {
            const CMavPoint3d& p = segs(k)[0].a;
            bool keepIt = outer.classify(p.x, p.y) == 1;
            for (std::size_t l = 1; l < count && keepIt; ++l)
                if (l != k && outl[l].classify(p.x, p.y) == 1)
                    keepIt = false;
            if (keepIt)
                region.append(toPolyline(segs(k)));
        }
        result.append(std::move(region));
        return result;
    }

    // Keep every piece that has the region on one side only, turned so that the region lies on its left.
    double diag = std::hypot(outer.x1() - outer.x0(), outer.y1() - outer.y0());
    std::vector<Piece> pieces;
    std::vector<double> ts;
    for (std::size_t k = 0; k < count; ++k)
        for (std::size_t i = 0; i < segs(k).size(); ++i) {
            const Seg& s = segs(k)[i];
            ts = cuts[k][i];
            ts.push_back(0.0);
            ts.push_back(1.0);
            tidyParams(ts, s.len, tol);
            for (std::size_t m = 0; m + 1 < ts.size(); ++m) {
                double t0 = ts[m], t1 = ts[m + 1];
                double tm = (t0 + t1) / 2.0;
                CMavPoint3d mid = seg::at(s, tm);
                double dx, dy;
                seg::tangent(s, tm, dx, dy);
                double eps = std::min(std::max(1e-7 * diag, 10.0 * tol), 0.25 * (t1 - t0) * s.len);
                bool left = reg.classify(mid.x - dy * eps, mid.y + dx * eps) == 1;
                bool right = reg.classify(mid.x + dy * eps, mid.y - dx * eps) == 1;
                if (left == right)
                    continue;
                pieces.push_back(pieceOf(s, t0, t1, left));
            }
        }
    dropDuplicates(pieces, tol);

    // Loops: counter-clockwise ones bound pieces of the result, clockwise ones are its holes.
    std::vector<std::vector<int>> loops = chainLoops(pieces, 10.0 * tol);
    struct Loop {
        CMavVertexArray vl;
        double area;
        std::vector<Seg> segs;
    };
    std::vector<Loop> outers, inners;
    for (const std::vector<int>& idx : loops) {
        Loop lp;
        for (int j : idx) {
            CMavVertex v = pieces[static_cast<std::size_t>(j)].v;
            if (!lp.vl.isEmpty())
                v.start = lp.vl[-1].end;
            lp.vl.append(v);
        }
        lp.vl[-1].end = lp.vl[0].start;
        lp.segs = seg::fromPolyline(lp.vl, true, tol);
        lp.area = seg::area(lp.segs);
        if (lp.area > 0.0)
            outers.push_back(std::move(lp));
        else if (lp.area < 0.0)
            inners.push_back(std::move(lp));
    }
    std::vector<CMavArrayTempl<CMavVertexArray>> regions;
    std::vector<Outline> outerIdx;
    for (Loop& o : outers) {
        CMavArrayTempl<CMavVertexArray> r;
        r.append(o.vl);
        regions.push_back(std::move(r));
        outerIdx.emplace_back(o.segs, tol);
    }
    for (Loop& h : inners) {
        CMavPoint3d p = seg::at(h.segs[0], 0.5);
        int best = -1;
        for (std::size_t o = 0; o < outers.size(); ++o)
            if (outerIdx[o].classify(p.x, p.y) != 0 &&
                (best < 0 || outers[o].area < outers[static_cast<std::size_t>(best)].area))
                best = static_cast<int>(o);
        if (best < 0)
            continue;
        regions[static_cast<std::size_t>(best)].append(h.vl);
    }
    for (CMavArrayTempl<CMavVertexArray>& r : regions)
        result.append(std::move(r));
    return result;
}

CMavVertexArray reversedPolyline(const CMavVertexArray& vl)
{
    CMavVertexArray out;
    for (int i = vl.len() - 1; i >= 0; --i)
        out.append(CMavVertex(vl[i].end, vl[i].start, -vl[i].bulge));
    return out;
}

} // namespace

int g_vll_pt_inside(const CMavArrayTempl<CMavVertexArray>& regions, const CMavPoint3d& pt)
{
    if (regions.isEmpty())
        return 0;
    Region local;
    return preparedRegion(regions, tolOf(regions), local).classify(pt.x, pt.y);
}

CMavArrayTempl<CMavVertexArray> g_vl_punch(const CMavVertexArray& vl, const CMavVertexArray& outline, bool inside)
{
    CMavArrayTempl<CMavVertexArray> out;
    double tol = std::max(tolOf(vl), tolOf(outline));
    Region reg;
    reg.outlines.emplace_back(outline, tol);
    int budget = kMaxPieces;
    clip(vl, reg, inside, tol, out, budget);
    return out;
}

CMavArrayTempl<CMavVertexArray> g_vl_punch(const CMavArrayTempl<CMavVertexArray>& pieces,
                                           const CMavVertexArray& outline, bool inside)
{
    CMavArrayTempl<CMavVertexArray> out;
    double tol = std::max(tolOf(pieces), tolOf(outline));
    Region reg;
    reg.outlines.emplace_back(outline, tol);
    int budget = kMaxPieces;
    for (const CMavVertexArray& vl : pieces)
        clip(vl, reg, inside, tol, out, budget);
    return out;
}

CMavArrayTempl<CMavVertexArray> g_vl_punch_reg(const CMavVertexArray& vl,
                                               const CMavArrayTempl<CMavVertexArray>& regions, bool inside)
{
    CMavArrayTempl<CMavVertexArray> out;
    double tol = std::max(tolOf(vl), tolOf(regions));
    Region local;
    const Region& reg = preparedRegion(regions, tol, local);
    int budget = kMaxPieces;
    clip(vl, reg, inside, tol, out, budget);
    return out;
}

// Every outline of the result runs counter-clockwise (holes too, as the library's outline orientation has
// them); each region list holds an outer outline and the holes that lie inside it. A hole that lies wholly
// inside the outline stays a hole, a hole that crosses the outline takes its part out of the outline's edge,
// and holes that overlap merge. A hole around the whole outline leaves nothing. Outlines that cross each
// other more than kMaxPieces times give no result.
CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> g_vl_punch(const CMavVertexArray& outline,
                                                           const CMavArrayTempl<CMavVertexArray>& holes)
{
    CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> out = punchHoles(outline, holes);
    for (CMavArrayTempl<CMavVertexArray>& r : out)
        for (CMavVertexArray& vl : r)
            if (g_vl_area(vl) < 0.0)
                vl = reversedPolyline(vl);
    return out;
}

CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> g_vl_punch_reg(const CMavArrayTempl<CMavVertexArray>& regions)
{
    if (regions.isEmpty())
        return {};
    CMavArrayTempl<CMavVertexArray> holes;
    for (int i = 1; i < regions.len(); ++i)
        holes.append(regions[i]);
    return g_vl_punch(regions[0], holes);
}

} // namespace MAV
