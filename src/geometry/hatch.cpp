// Region hatching from pattern lines, the legibility test of a hatch, and regions with their arcs as chords.
//
// Vocabulary. A region list holds closed outlines: element 0 the outer outline, the others holes. A pattern line
// (angle, origin x, origin y, dx, dy, dashes...) describes a family of parallel hatch lines: they run at the angle
// through the origin, each one dy further across and dx further along than the one before, and carry the dashes
// (positive a dash, negative a gap, 0 a dot). The line frame of a pattern line is the coordinate system turned by
// its angle plus the hatch angle: there the hatch lines are horizontal, y = origin y + k * |dy|, and the outlines
// are cut by scan lines. A hatch line is one polyline holding the visible pieces of one such line, in order along
// the line; it is in general not continuous.
//
// How a hatch line is found. The outlines are broken into pieces along which y rises or falls monotonically (arcs
// at the top and the bottom of their circle); a scan line crosses a piece when it lies in the piece's half-open
// y range, so a line through a corner is counted once per side it really crosses. The crossings, sorted along the
// line, are inside the region between an odd and the next count of outlines, and inside the outer outline. Arcs
// are cut exactly, on their circle, not on chords. The dashes of a line start at the far end of the base line a
// pattern line has always been drawn from, whose half length depends on the region's size, the dash period and
// the pattern's name ("GRAVEL" draws far longer lines), so the dash phase is the one drawings have always shown.
#include "geometry/hatch.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "geometry/measure.h"
#include "geometry/orient.h"
#include "data/CMavApp.h"
#include "base/CMavLineParm.h"
#include "base/g_vl.h"
#include "data/patterns.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// ---- outlines in the plane ----------------------------------------------------------------------------------------

// One segment of an outline in the hatch plane.
struct Seg2 {
    double ax, ay, bx, by, bulge;
};
using Outline2 = std::vector<Seg2>;

// Circle of an arc segment: centre, radius, start angle and signed sweep. False for a straight or degenerate
// segment (zero chord, non-finite values, a radius that does not fit a double).
bool arcOf(const Seg2& s, double& cx, double& cy, double& r, double& a0, double& sweep)
{
    if (s.bulge == 0.0 || !std::isfinite(s.bulge))
        return false;
    const double chx = s.bx - s.ax, chy = s.by - s.ay;
    const double c = std::hypot(chx, chy);
    if (!(c > 0.0) || !std::isfinite(c))
        return false;
    const double ab = std::fabs(s.bulge);
    // Radius and signed distance of the centre from the chord's midpoint, written so that no square of an
    // enormous bulge overflows.
    r = c * 0.25 * (ab + 1.0 / ab);
    const double d = c * 0.25 * (1.0 / s.bulge - s.bulge);
    if (!std::isfinite(r) || !std::isfinite(d))
        return false;
    cx = (s.ax + s.bx) * 0.5 - chy / c * d;
    cy = (s.ay + s.by) * 0.5 + chx / c * d;
    a0 = std::atan2(s.ay - cy, s.ax - cx);
    sweep = 4.0 * std::atan(s.bulge);
    return true;
}

// The angles a0 + k * pi / 2 + offset strictly inside the sweep, in the order of travel: the points where an arc
// turns in x (offset 0: right and left of the circle) or in y (offset pi/2: top and bottom).
int turnAngles(double a0, double sweep, double offset, double out[4])
{
    const double lo = std::min(a0, a0 + sweep), hi = std::max(a0, a0 + sweep);
    int n = 0;
    for (double v = std::ceil((lo - offset) / kPi) * kPi + offset; v < hi && n < 3; v += kPi)
        if (v > lo)
            out[n++] = v;
    if (sweep < 0)
        std::reverse(out, out + n);
    return n;
}

// The outline's segments in the XY plane, with each segment's end taken from the next segment's start so that the
// outline has no cracks for the scan lines to slip through. Non-finite segments are left out.
Outline2 toOutline2(const CMavVertexArray& vl)
{
    Outline2 out;
    const int n = vl.len();
    out.reserve(static_cast<size_t>(n));
    const bool closed = vl.isClosed();
    auto add = [&out](const Seg2& s) {
        if (std::isfinite(s.ax) && std::isfinite(s.ay) && std::isfinite(s.bx) && std::isfinite(s.by))
            out.push_back(s);
    };
    for (int i = 0; i < n; ++i) {
        const CMavVertex& v = vl[i];
        const CMavPoint3d& e = (i + 1 < n) ? vl[i + 1].start : (closed ? vl[0].start : v.end);
        add(Seg2{v.start.x, v.start.y, e.x, e.y, v.bulge});
    }
    // An open outline is closed by a chord, as the region fill closes it.
    if (n > 0 && !closed)
        add(Seg2{vl[n - 1].end.x, vl[n - 1].end.y, vl[0].start.x, vl[0].start.y, 0.0});
    return out;
}

// The outline turned by -phi (given as its cosine and sine): its coordinates in a frame turned by phi.
Outline2 intoFrame(const Outline2& o, double c, double s)
{
    Outline2 out(o.size());
    for (size_t i = 0; i < o.size(); ++i) {
        const Seg2& a = o[i];
        out[i] = Seg2{a.ax * c + a.ay * s, -a.ax * s + a.ay * c, a.bx * c + a.by * s, -a.bx * s + a.by * c, a.bulge};
    }
    return out;
}

// Axis-aligned box of the outline, arcs with their bulge. False when it has no segment.
bool extents2(const Outline2& o, double& x0, double& y0, double& x1, double& y1)
{
    if (o.empty())
        return false;
    x0 = y0 = std::numeric_limits<double>::infinity();
    x1 = y1 = -std::numeric_limits<double>::infinity();
    auto add = [&](double x, double y) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
    };
    for (const Seg2& s : o) {
        add(s.ax, s.ay);
        add(s.bx, s.by);
        double cx, cy, r, a0, sweep;
        if (!arcOf(s, cx, cy, r, a0, sweep))
            continue;
        double t[4];
        const int n = turnAngles(a0, sweep, 0.0, t);
        for (int i = 0; i < n; ++i)
            add(cx + (std::cos(t[i]) > 0 ? r : -r), cy);
        const int m = turnAngles(a0, sweep, kPi / 2, t);
        for (int i = 0; i < m; ++i)
            add(cx, cy + (std::sin(t[i]) > 0 ? r : -r));
    }
    return true;
}

// ---- crossings of horizontal lines with outlines --------------------------------------------------------------

// A piece of an outline along which y changes monotonically: a straight segment, or a part of an arc that lies
// within one half of its circle (left or right of the centre). A horizontal line y = c crosses the piece when
// ylo <= c < yhi. This half-open rule counts a line through a shared end point once, and a line that only touches
// a corner or the top of an arc twice or not at all, so a closed outline always gives an even count; it decides
// which parts of a line lie inside. Where a line meets the outlines is counted apart (Scanner::spans).
struct Edge {
    double ylo, yhi;
    double x0; // straight: x at ylo; arc: the centre's x
    double p;  // straight: dx / dy; arc: the centre's y
    double q;  // straight: least x; arc: the radius
    double u;  // straight: greatest x
    double xl, xh;    // x at ylo and at yhi, exactly as the outline gives the end points
    signed char side; // arc piece: +1 right of the centre, -1 left; 0 for a straight piece
    bool outer;       // piece of the outer outline

    // Where the line y = c crosses the piece, kept within the piece's x range against rounding (a half arc may
    // bulge beyond its ends in x, up to the circle's side). At an end the end point itself, so that pieces meeting
    // there give the same x.
    double xAt(double c) const
    {
        if (c == ylo)
            return xl;
        if (c == yhi)
            return xh;
        double x, lo, hi;
        if (side == 0) {
            x = x0 + (c - ylo) * p;
            lo = q;
            hi = u;
        } else {
            const double d = c - p;
            const double h = q * q - d * d;
            x = x0 + side * std::sqrt(h > 0.0 ? h : 0.0);
            lo = side > 0 ? x0 : x0 - q;
            hi = side > 0 ? x0 + q : x0;
        }
        return x < lo ? lo : (x > hi ? hi : x);
    }
    double xmin() const { return side == 0 ? q : (side > 0 ? x0 : x0 - q); }
    double xmax() const { return side == 0 ? u : (side > 0 ? x0 + q : x0); }
};

// Adds the straight piece p-q; false when it runs along the scan lines (it is never crossed then).
bool addEdge(std::vector<Edge>& out, double px, double py, double qx, double qy, bool outer)
{
    if (py == qy)
        return false;
    const bool up = py < qy;
    const double lx = up ? px : qx, ly = up ? py : qy, hx = up ? qx : px, hy = up ? qy : py;
    out.push_back(Edge{ly, hy, lx, (hx - lx) / (hy - ly), std::min(px, qx), std::max(px, qx), lx, hx, 0, outer});
    return true;
}

// Adds the pieces of one segment: a straight segment whole, an arc split at the top and the bottom of its circle.
void addSegmentEdges(std::vector<Edge>& out, const Seg2& s, bool outer)
{
    double cx, cy, r, a0, sweep;
    if (!arcOf(s, cx, cy, r, a0, sweep)) {
        addEdge(out, s.ax, s.ay, s.bx, s.by, outer);
        return;
    }
    double t[6];
    t[0] = a0;
    const int nb = turnAngles(a0, sweep, kPi / 2, t + 1);
    const int nt = nb + 2;
    t[nt - 1] = a0 + sweep;
    double px = s.ax, py = s.ay;
    for (int i = 0; i + 1 < nt; ++i) {
        double qx = s.bx, qy = s.by;
        if (i + 2 < nt) {
            qx = cx; // the top or the bottom of the circle
            qy = cy + (std::sin(t[i + 1]) > 0 ? r : -r);
        }
        if (addEdge(out, px, py, qx, qy, outer)) {
            Edge& e = out.back(); // its ends xl, xh stay those of the piece
            e.x0 = cx;
            e.p = cy;
            e.q = r;
            e.side = std::cos((t[i] + t[i + 1]) * 0.5) >= 0.0 ? 1 : -1;
        }
        px = qx;
        py = qy;
    }
}

// Visible intervals of horizontal lines taken in ascending order, found with an active list of pieces. The
// outlines are given in the plane and seen in the frame turned by phi (its cosine c and sine s).
class Scanner {
public:
    Scanner(const std::vector<Outline2>& outlines, double c, double s)
    {
        size_t count = 0;
        for (const Outline2& o : outlines)
            for (const Seg2& a : o)
                count += a.bulge == 0.0 ? 1 : 3;
        m_edges.reserve(count);
        for (size_t i = 0; i < outlines.size(); ++i)
            for (const Seg2& a : outlines[i]) {
                const Seg2 f{a.ax * c + a.ay * s, -a.ax * s + a.ay * c, a.bx * c + a.by * s, -a.bx * s + a.by * c,
                             a.bulge};
                addSegmentEdges(m_edges, f, i == 0);
            }
        m_ylo = std::numeric_limits<double>::infinity();
        m_yhi = -m_ylo;
        m_xlo = m_ylo;
        m_xhi = m_yhi;
        for (const Edge& e : m_edges)
            if (e.outer) {
                m_ylo = std::min(m_ylo, e.ylo);
                m_yhi = std::max(m_yhi, e.yhi);
                m_xlo = std::min(m_xlo, e.xmin());
                m_xhi = std::max(m_xhi, e.xmax());
            }
    }

    // Back to before the first line, for another family of lines in the same frame.
    void rewind()
    {
        m_next = 0;
        m_active.clear();
    }

    // Range of y over which lines can cross the outer outline (empty when ylo > yhi), and its width.
    double ylo() const { return m_ylo; }
    double yhi() const { return m_yhi; }
    double width() const { return m_xhi - m_xlo; }

    // The intervals [x0, x1] of the line y = c that lie inside the outer outline and inside an odd number of all
    // outlines (outside the holes). Lines must come in ascending c.
    //
    // A line whose distinct meeting points with the outlines are odd in number gives nothing: it passes through a
    // corner that turns back (a notch's tip, a corner touched from outside) without another such corner to pair
    // it, and which side of that corner is inside is not decided by the line. Meeting points are counted once
    // each, however many pieces meet there, and a piece whose top end lies on the line meets it too.
    void spans(double c, std::vector<std::pair<double, double>>& out)
    {
        out.clear();
        if (!m_sorted) {
            // The pieces in the order the lines meet them; counting crossings (planning) needs no order.
            std::sort(m_edges.begin(), m_edges.end(), [](const Edge& a, const Edge& b) { return a.ylo < b.ylo; });
            m_sorted = true;
        }
        while (m_next < m_edges.size() && m_edges[m_next].ylo <= c)
            m_active.push_back(&m_edges[m_next++]);
        m_x.clear();
        m_meet.clear();
        size_t keep = 0;
        for (size_t i = 0; i < m_active.size(); ++i) {
            const Edge* e = m_active[i];
            if (e->yhi <= c) {
                if (e->yhi == c)
                    m_meet.push_back(e->xh); // ends on the line
                continue;                    // passed for good: lines come in ascending order
            }
            m_active[keep++] = e;
            m_x.emplace_back(e->xAt(c), e->outer);
        }
        m_active.resize(keep);
        if (m_x.empty() || m_x.size() % 2 != 0)
            return;
        std::sort(m_x.begin(), m_x.end(),
                  [](const std::pair<double, bool>& a, const std::pair<double, bool>& b) { return a.first < b.first; });
        // Distinct values of the crossings and the ends on the line, both sorted, walked together.
        std::sort(m_meet.begin(), m_meet.end());
        size_t distinct = 0, i = 0, j = 0;
        double prev = 0.0;
        while (i < m_x.size() || j < m_meet.size()) {
            const double v = (j == m_meet.size() || (i < m_x.size() && m_x[i].first < m_meet[j])) ? m_x[i++].first
                                                                                                   : m_meet[j++];
            if (distinct == 0 || v != prev)
                ++distinct;
            prev = v;
        }
        if (distinct % 2 != 0)
            return;
        bool all = false, outer = false;
        for (i = 0; i + 1 < m_x.size(); ++i) {
            all = !all;
            if (m_x[i].second)
                outer = !outer;
            if (all && outer && m_x[i + 1].first > m_x[i].first) {
                if (!out.empty() && out.back().second == m_x[i].first)
                    out.back().second = m_x[i + 1].first; // a hole's edge touching nothing splits nothing
                else
                    out.emplace_back(m_x[i].first, m_x[i + 1].first);
            }
        }
    }

    // How many times the lines y = my + k * uy, k = kLo .. kHi (uy > 0), cross pieces by the half-open rule:
    // exactly the crossings spans() sorts, summed over those lines, found per piece without scanning. A line has
    // at most half its crossings as intervals.
    double crossings(double my, double uy, double kLo, double kHi) const
    {
        double sum = 0.0;
        for (const Edge& e : m_edges) {
            // First k with my + k * uy >= ylo and first k with my + k * uy >= yhi, in the arithmetic of the scan.
            double a = std::max(kLo, std::ceil((e.ylo - my) / uy));
            while (a > kLo && my + (a - 1.0) * uy >= e.ylo)
                a -= 1.0;
            while (a <= kHi && my + a * uy < e.ylo)
                a += 1.0;
            double b = std::min(kHi + 1.0, std::max(a, std::ceil((e.yhi - my) / uy)));
            while (b > a && my + (b - 1.0) * uy >= e.yhi)
                b -= 1.0;
            while (b <= kHi && my + b * uy < e.yhi)
                b += 1.0;
            if (b > a)
                sum += b - a;
        }
        return sum;
    }

private:
    std::vector<Edge> m_edges;
    bool m_sorted = false;
    size_t m_next = 0;
    std::vector<const Edge*> m_active;
    std::vector<std::pair<double, bool>> m_x;
    std::vector<double> m_meet;
    double m_ylo, m_yhi, m_xlo, m_xhi;
};

// ---- hatch lines of one pattern line ------------------------------------------------------------------------------

// Value i of a pattern line; a missing value counts as 0.
double lineValue(const CMavArrayTempl<double>& line, int i)
{
    return i < line.len() ? line[i] : 0.0;
}

// The regions in the hatch plane (placement undone), outer outline first.
struct PlaneRegions {
    std::vector<Outline2> outlines;
    double diagonal = 0.0; // diagonal of the outer outline's box
};

PlaneRegions toPlane(const CMavArrayTempl<CMavVertexArray>& regions, const CMavMatrix3d& toPlaneMtx)
{
    PlaneRegions p;
    p.outlines.reserve(static_cast<size_t>(regions.len()));
    const bool identity = toPlaneMtx.isIdentity();
    for (const CMavVertexArray& vl : regions)
        p.outlines.push_back(identity ? toOutline2(vl) : toOutline2(vl.getTransformedCopy(toPlaneMtx)));
    double x0, y0, x1, y1;
    if (!p.outlines.empty() && extents2(p.outlines[0], x0, y0, x1, y1))
        p.diagonal = std::hypot(x1 - x0, y1 - y0);
    return p;
}

// Appends the visible parts of a dash pattern within [a, b]. The pattern starts at `start` (phase 0) and repeats
// with `period`; `dashes` are (length, visible) pairs. The periods are counted from the one that holds a, so the
// work depends on the span's length only, however far the pattern's start lies.
void appendDashes(std::vector<std::pair<double, double>>& out, double a, double b, double start, double period,
                  const std::vector<std::pair<double, bool>>& dashes)
{
    double off = std::fmod(a - start, period);
    if (!std::isfinite(off))
        return;
    if (off < 0.0)
        off += period;
    const double p0 = a - off;
    const double cycles = std::ceil((b - p0) / period);
    if (!(cycles >= 0.0) || !(cycles <= static_cast<double>(kMavHatchMaxPieces)))
        return;
    for (double j = 0.0; j < cycles; j += 1.0) {
        double p = p0 + j * period;
        for (const std::pair<double, bool>& d : dashes) {
            const double q = p + d.first;
            if (d.second) {
                const double lo = std::max(p, a), hi = std::min(q, b);
                if (hi > lo || (hi == lo && d.first == 0.0 && p >= a && p <= b))
                    out.emplace_back(lo, hi);
            }
            p = q;
            if (p > b)
                return;
        }
    }
}

// The scanner of the last frame asked for: pattern lines of one angle (ANSI33's two, BRICK's pairs) share it.
class ScannerCache {
public:
    Scanner& get(const PlaneRegions& plane, double phi)
    {
        if (m_scan && phi == m_phi) {
            m_scan->rewind();
        } else {
            m_scan = std::make_unique<Scanner>(plane.outlines, std::cos(phi), std::sin(phi));
            m_phi = phi;
        }
        return *m_scan;
    }

private:
    std::unique_ptr<Scanner> m_scan;
    double m_phi = 0.0;
};

// What one pattern line lays across the region: its frame, its lines and at most how many pieces they hold. The
// whole call is planned before anything is drawn, so that a hatch beyond the work caps gives nothing rather than
// a part of itself, and so that the pattern test can tell beforehand.
struct Family {
    long long count = 0; // hatch lines (0: the pattern line draws nothing)
    double pieces = 0.0; // at most this many visible pieces
    double phi = 0.0, c = 1.0, s = 0.0;
    double mx = 0.0, my = 0.0, ux = 0.0, uy = 0.0, kLo = 0.0;
    bool dashed = false;
    double drawnPeriod = 0.0, phase = 0.0;
    std::vector<std::pair<double, bool>> dashes; // (length, visible)
};

Family planFamily(const PlaneRegions& plane, const CMavArrayTempl<double>& line, bool gravel, double hatchAngle,
                  double scale, double dotLength, ScannerCache& scanners)
{
    Family f;
    const double angle = lineValue(line, 0) * kPi / 180.0;
    const double ox = scale * lineValue(line, 1), oy = scale * lineValue(line, 2);
    const double dx = scale * lineValue(line, 3), dy = scale * lineValue(line, 4);
    if (!std::isfinite(angle) || !std::isfinite(ox) || !std::isfinite(oy) || !std::isfinite(dx) ||
        !std::isfinite(dy) || dy == 0.0 || !std::isfinite(hatchAngle))
        return f;

    // Dashes: a dot is drawn with the dot length but counts 1.0 towards the period that sizes the base line.
    double period = 0.0;
    int visible = 0;
    for (int i = 5; i < line.len(); ++i) {
        const double v = line[i];
        if (!std::isfinite(v))
            return f;
        if (v != 0.0) {
            f.dashes.emplace_back(std::fabs(scale * v), scale * v > 0.0);
            period += std::fabs(v * scale);
        } else {
            f.dashes.emplace_back(dotLength, true);
            period += 1.0;
        }
        f.drawnPeriod += f.dashes.back().first;
        visible += f.dashes.back().second ? 1 : 0;
    }
    f.dashed = !f.dashes.empty() && f.drawnPeriod > 0.0 && std::isfinite(f.drawnPeriod) && period > 0.0;

    // The frame of the hatch lines is turned by the pattern line's angle plus the hatch angle; in it the lines are
    // horizontal. The pattern origin is taken into the line's own frame, which the hatch angle then turns as a
    // whole, so its coordinates hold in the turned frame too.
    f.phi = angle + hatchAngle;
    f.c = std::cos(f.phi);
    f.s = std::sin(f.phi);
    const double ca = std::cos(angle), sa = std::sin(angle);
    f.mx = ox * ca + oy * sa;
    f.my = -ox * sa + oy * ca;
    // One step up to the next line: (dx, dy) when dy > 0, (-dx, -dy) when dy < 0.
    f.ux = dy > 0 ? dx : -dx;
    f.uy = std::fabs(dy);

    const Scanner& scan = scanners.get(plane, f.phi);
    if (!(scan.ylo() <= scan.yhi()))
        return f;
    const double kLo = std::ceil((scan.ylo() - f.my) / f.uy), kHi = std::floor((scan.yhi() - f.my) / f.uy);
    if (!std::isfinite(kLo) || !std::isfinite(kHi) || kHi < kLo)
        return f;
    const double count = kHi - kLo + 1.0;
    f.kLo = kLo;
    if (count > static_cast<double>(kMavHatchMaxLines)) {
        f.count = kMavHatchMaxLines + 1; // beyond the cap whatever else is asked for: not worth counting
        f.pieces = std::numeric_limits<double>::infinity();
        return f;
    }
    f.count = static_cast<long long>(count);
    // Solid lines: one piece per interval, at most half the crossings. Dashed: each interval holds at most its
    // length over the period plus two periods of visible dashes (rounding adds one more), and the intervals of a
    // line together are no longer than the region is wide.
    const double intervals = scan.crossings(f.my, f.uy, kLo, kHi) / 2.0;
    f.pieces = f.dashed ? visible * (count * scan.width() / f.drawnPeriod + 3.0 * intervals) : intervals;
    if (!(f.pieces >= 0.0))
        f.pieces = std::numeric_limits<double>::infinity();

    // Half length of the base line each pattern line starts from; with dashes it fixes where the pattern starts.
    if (f.dashed) {
        const double fac = gravel ? (scale < 1.0 ? 200.0 : 150.0) : 20.0;
        const double half = (std::floor(plane.diagonal / period) + 1.0) * period * fac;
        f.phase = std::fmod(half, f.drawnPeriod);
        if (!std::isfinite(f.phase))
            f.phase = 0.0;
    }
    return f;
}

// Plans every pattern line of a call. False when the hatch lines or their pieces would exceed the caps.
bool planHatch(const PlaneRegions& plane, const MavPatternLines& lines, bool gravel, double hatchAngle, double scale,
               double dotLength, ScannerCache& scanners, std::vector<Family>& families)
{
    families.clear();
    families.reserve(static_cast<size_t>(lines.len()));
    long long count = 0;
    double pieces = 0.0;
    for (const CMavArrayTempl<double>& line : lines) {
        families.push_back(planFamily(plane, line, gravel, hatchAngle, scale, dotLength, scanners));
        count += families.back().count;
        pieces += families.back().pieces;
        if (count > kMavHatchMaxLines || !(pieces <= static_cast<double>(kMavHatchMaxPieces)))
            return false;
    }
    return true;
}

// Appends the hatch lines of one planned pattern line; `pieces` counts what is left of the cap. False when the
// cap is reached after all (the plan is a bound, so this is a safeguard only).
bool drawFamily(const PlaneRegions& plane, const Family& f, const CMavMatrix3d& placement, ScannerCache& scanners,
                long long& pieces, CMavArrayTempl<CMavVertexArray>& out)
{
    if (f.count == 0)
        return true;
    Scanner& scan = scanners.get(plane, f.phi);
    std::vector<std::pair<double, double>> spans, drawn;
    for (long long i = 0; i < f.count; ++i) {
        const double k = f.kLo + static_cast<double>(i);
        const double y = f.my + k * f.uy;
        scan.spans(y, spans);
        if (spans.empty())
            continue;
        drawn.clear();
        if (f.dashed) {
            const double start = f.mx + k * f.ux - f.phase;
            for (const std::pair<double, double>& g : spans)
                appendDashes(drawn, g.first, g.second, start, f.drawnPeriod, f.dashes);
        } else {
            drawn = spans;
        }
        if (drawn.empty())
            continue;
        if (static_cast<long long>(drawn.size()) > pieces)
            return false;
        pieces -= static_cast<long long>(drawn.size());
        CMavVertexArray hl;
        hl.setPhysicalLength(static_cast<int>(drawn.size()));
        for (const std::pair<double, double>& p : drawn) {
            const CMavPoint3d a(p.first * f.c - y * f.s, p.first * f.s + y * f.c, 0.0);
            const CMavPoint3d b(p.second * f.c - y * f.s, p.second * f.s + y * f.c, 0.0);
            hl.append(a, b);
        }
        if (!placement.isIdentity())
            hl.transformBy(placement);
        out.append(std::move(hl));
    }
    return true;
}

// The pattern lines of a name from the application's pattern lookup; an unknown name gives none.
MavPatternLines patternLines(const CMavString& name)
{
    MavPatternLines lines;
    if (CMavApp* app = mavAppPtr())
        app->patternGet(name.c_str(), lines);
    return lines;
}

// The device-independent half of the legibility rule: the most lines any pattern line lays across the outer
// outline's extents in its own direction, and the least distance between lines, in world units.
void measureLines(const CMavArrayTempl<CMavVertexArray>& regions, double scale, const MavPatternLines& lines,
                  double& count, double& spacing)
{
    const Outline2 outer = regions.isEmpty() ? Outline2() : toOutline2(regions[0]);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    count = -std::numeric_limits<double>::max();
    spacing = std::numeric_limits<double>::max();
    for (const CMavArrayTempl<double>& line : lines) {
        const double dx = (line.len() >= 4 && line[3] != 0.0) ? scale * line[3] : nan;
        const double dy = (line.len() >= 5 && line[4] != 0.0) ? scale * line[4] : nan;
        const double angle = lineValue(line, 0) * kPi / 180.0;
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        extents2(intoFrame(outer, std::cos(angle), std::sin(angle)), x0, y0, x1, y1);
        const double w = std::fabs(x1 - x0), h = std::fabs(y1 - y0);
        if (std::isfinite(dx)) {
            count = std::max(count, w / dx);
            spacing = std::min(spacing, std::fabs(dx));
        }
        if (std::isfinite(dy)) {
            count = std::max(count, h / dy);
            spacing = std::min(spacing, std::fabs(dy));
        }
    }
}

// The rest of it: fewer than 95 lines, and more than 2.3 device units between them under the device matrix.
bool legibleAt(double count, double spacing, const CMavMatrix3d& toDevice)
{
    CMavVector3d unit(1.0, 0.0, 0.0);
    const double k = unit.transformBy(toDevice).length();
    return count < 95.0 && spacing * k > 2.3;
}

} // namespace

CMavArrayTempl<CMavVertexArray> mav_gdx_image_reg_hatch2(CMavArrayTempl<CMavVertexArray> regions,
                                                         const CMavMatrix3d& placement, const MAV::CHatchProp& hatch)
{
    return mav_gdx_hatch_pattern(regions, placement, hatch.name, hatch.angle, hatch.scale, patternLines(hatch.name),
                                 mav_gdx_dot_length());
}

// Legible, and within the work caps of the hatcher: a hatch that would be cut is filled instead, exactly when
// mav_gdx_image_reg_hatch2 would give nothing for these regions (the renderer hatches in item coordinates).
bool mav_gdx_pattern_test(CMavArrayTempl<CMavVertexArray> regions, const MAV::CHatchProp& hatch,
                          const CMavMatrix3d& toDevice)
{
    return mav_gdx_pattern_legible(mav_gdx_pattern_measure(regions, hatch), toDevice);
}

MavPatternMeasure mav_gdx_pattern_measure(const CMavArrayTempl<CMavVertexArray>& regions,
                                          const MAV::CHatchProp& hatch)
{
    const MavPatternLines lines = patternLines(hatch.name);
    MavPatternMeasure m;
    measureLines(regions, hatch.scale, lines, m.count, m.spacing);
    m.fits = mav_gdx_hatch_fits(regions, CMavMatrix3d(), hatch.angle, hatch.scale, lines, mav_gdx_dot_length());
    return m;
}

bool mav_gdx_pattern_legible(const MavPatternMeasure& measure, const CMavMatrix3d& toDevice)
{
    return legibleAt(measure.count, measure.spacing, toDevice) && measure.fits;
}

CMavArrayTempl<CMavVertexArray> mav_gdx_hatch_pattern(const CMavArrayTempl<CMavVertexArray>& regions,
                                                      const CMavMatrix3d& placement, const CMavString& name,
                                                      double angle, double scale, const MavPatternLines& lines,
                                                      double dotLength, bool* capped)
{
    CMavArrayTempl<CMavVertexArray> out;
    if (capped)
        *capped = false;
    CMavMatrix3d toPlaneMtx;
    if (regions.isEmpty() || lines.isEmpty() || !placement.inverse(toPlaneMtx) || !std::isfinite(scale))
        return out;
    const PlaneRegions plane = toPlane(regions, toPlaneMtx);
    const bool gravel = name == L"GRAVEL";
    ScannerCache scanners;
    std::vector<Family> families;
    bool within = planHatch(plane, lines, gravel, angle, scale, dotLength, scanners, families);
    long long pieces = kMavHatchMaxPieces;
    for (size_t i = 0; within && i < families.size(); ++i)
        within = drawFamily(plane, families[i], placement, scanners, pieces, out);
    if (!within) {
        out.removeAll();
        if (capped)
            *capped = true;
    }
    return out;
}

bool mav_gdx_hatch_fits(const CMavArrayTempl<CMavVertexArray>& regions, const CMavMatrix3d& placement,
                        double angle, double scale, const MavPatternLines& lines, double dotLength)
{
    CMavMatrix3d toPlaneMtx;
    if (regions.isEmpty() || lines.isEmpty() || !placement.inverse(toPlaneMtx) || !std::isfinite(scale))
        return true; // nothing is drawn, nothing is cut
    ScannerCache scanners;
    std::vector<Family> families;
    return planHatch(toPlane(regions, toPlaneMtx), lines, false, angle, scale, dotLength, scanners, families);
}

// ---- legibility test ----------------------------------------------------------------------------------------------

bool mav_gdx_pattern_test_lines(const CMavArrayTempl<CMavVertexArray>& regions, double scale,
                                const MavPatternLines& lines, const CMavMatrix3d& toDevice)
{
    double count = 0.0, spacing = 0.0;
    measureLines(regions, scale, lines, count, spacing);
    return legibleAt(count, spacing, toDevice);
}

// ---- simple hatch by name -----------------------------------------------------------------------------------------

// Each row or line is clipped by the polyline clipper, whose boundaries are closed: a row lying along an edge of
// the region (its bottom, its top, a hole's side) keeps the part on that edge. The work is capped as for the
// hatch by pattern lines; a hatch that would pass a cap gives nothing.
CMavArrayTempl<CMavVertexArray> mav_gdx_image_reg_hatch(CMavArrayTempl<CMavVertexArray> regions,
                                                        const CMavMatrix3d& placement, const CMavString& patternName,
                                                        double spacing, double angle)
{
    CMavArrayTempl<CMavVertexArray> out;
    CMavMatrix3d toPlaneMtx;
    if (regions.isEmpty() || !(spacing > 0.0) || !std::isfinite(spacing) || !std::isfinite(angle) ||
        !placement.inverse(toPlaneMtx))
        return out;
    mav_vll_orient(regions);
    if (!toPlaneMtx.isIdentity())
        for (CMavVertexArray& vl : regions)
            vl.transformBy(toPlaneMtx);
    double x0, y0, x1, y1;
    if (!extents2(toOutline2(regions[0]), x0, y0, x1, y1))
        return out;
    long long pieces = 0;
    auto keep = [&out, &pieces, &placement](CMavVertexArray& piece) {
        if (++pieces > kMavHatchMaxPieces)
            return false;
        out.append(piece.transformBy(placement));
        return true;
    };

    if (patternName == L"DOTS") {
        // Rows from the bottom of the outer outline's box while (height / spacing + 1) > i, each reaching 10 units
        // beyond the box on both sides; dots along each piece at the spacing from where the piece starts.
        const double rows = std::ceil((y1 - y0) / spacing + 1.0);
        const double dotsPerRow = (x1 - x0 + 20.0) / spacing + 1.0;
        if (!(rows <= kMavHatchMaxLines) || !(rows * dotsPerRow <= kMavHatchMaxPieces))
            return out;
        const CMavLineParm dots(0.0, -spacing);
        for (int i = 0; i < static_cast<int>(rows); ++i) {
            const double y = y0 + i * spacing;
            CMavVertexArray row;
            row.append(CMavPoint3d(x0 - 10.0, y, 0.0), CMavPoint3d(x1 + 10.0, y, 0.0));
            for (const CMavVertexArray& piece : MAV::g_vl_punch_reg(row, regions, true))
                for (CMavVertexArray& dot : MAV::g_vl_measure(piece, 1.0, dots))
                    if (!keep(dot))
                        return CMavArrayTempl<CMavVertexArray>();
        }
        return out;
    }

    // A family of lines running at -angle, laid from the lowest corner of the outer outline's box (seen across
    // the lines) over the whole box: the count is the box's width across the lines over the spacing, plus one,
    // so the lines reach the far side whatever the spacing.
    const double phi = -angle;
    const double c = std::cos(phi), s = std::sin(phi);
    const double cornersX[4] = {x0, x1, x1, x0}, cornersY[4] = {y0, y0, y1, y1};
    double lo = std::numeric_limits<double>::infinity(), hi = -lo, along0 = lo, along1 = -lo;
    for (int i = 0; i < 4; ++i) {
        const double across = -cornersX[i] * s + cornersY[i] * c, along = cornersX[i] * c + cornersY[i] * s;
        lo = std::min(lo, across);
        hi = std::max(hi, across);
        along0 = std::min(along0, along);
        along1 = std::max(along1, along);
    }
    const double count = std::floor((hi - lo) / spacing) + 1.0;
    if (!(count <= kMavHatchMaxLines))
        return out;
    along0 -= 1.0;
    along1 += 1.0;
    for (int i = 0; i < static_cast<int>(count); ++i) {
        const double y = lo + i * spacing;
        CMavVertexArray line;
        line.append(CMavPoint3d(along0 * c - y * s, along0 * s + y * c, 0.0),
                    CMavPoint3d(along1 * c - y * s, along1 * s + y * c, 0.0));
        for (CMavVertexArray& piece : MAV::g_vl_punch_reg(line, regions, true))
            if (!keep(piece))
                return CMavArrayTempl<CMavVertexArray>();
    }
    return out;
}

// ---- arcs to chords -----------------------------------------------------------------------------------------------

CMavArrayTempl<CMavVertexArray> mav_gdx_image_reg_split(const CMavArrayTempl<CMavVertexArray>& regions)
{
    CMavArrayTempl<CMavVertexArray> out;
    out.setPhysicalLength(regions.len());
    for (const CMavVertexArray& outline : regions)
        out.append(mav_gdx_image_vl_split(outline));
    return out;
}

// ---- orientation --------------------------------------------------------------------------------------------------

bool mav_vl_orient(CMavVertexArray& outline, const CMavVector3d& normal)
{
    if (!outline.isClosed() || MAV::g_vl_orient(outline, normal))
        return false;
    outline.revert();
    return true;
}

void mav_vll_orient(CMavArrayTempl<CMavVertexArray>& outlines, const CMavVector3d& normal)
{
    for (CMavVertexArray& outline : outlines)
        mav_vl_orient(outline, normal);
}
