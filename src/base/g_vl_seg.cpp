// Planar segment arithmetic behind the polyline algorithms: exact line and arc intersections, parameters,
// areas and a y-binned outline for point and segment queries.
//
// An arc is kept as centre, radius, start angle and signed sweep (4 * atan(bulge)); parameters on it are
// fractions of the sweep, so a sub-arc from t0 to t1 has the bulge tan((t1 - t0) * sweep / 4).
#include "base/g_vl_seg.h"

#include <algorithm>
#include <cmath>

namespace MAV {
namespace seg {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

bool finite3(const CMavPoint3d& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

double cross(double ax, double ay, double bx, double by)
{
    return ax * by - ay * bx;
}

double clamp01(double t)
{
    return t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
}

// Fraction of the arc's sweep at angle phi; -1 when phi is not on the arc. Angles within angTol before the
// start or after the end count as the end.
double angleFrac(const Seg& s, double phi, double angTol)
{
    double rel = s.sweep > 0.0 ? phi - s.a0 : s.a0 - phi;
    rel = std::fmod(rel, kTwoPi);
    if (rel < 0.0)
        rel += kTwoPi;
    double sw = std::fabs(s.sweep);
    if (rel <= sw + angTol)
        return rel >= sw ? 1.0 : rel / sw;
    if (rel >= kTwoPi - angTol)
        return 0.0;
    return -1.0;
}

void addPair(int& n, double tp[4], double tq[4], double a, double b, const Seg& p, const Seg& q, double tol)
{
    for (int i = 0; i < n; ++i)
        if (std::fabs(tp[i] - a) * p.len <= tol && std::fabs(tq[i] - b) * q.len <= tol)
            return;
    if (n < 4) {
        tp[n] = a;
        tq[n] = b;
        ++n;
    }
}

int lineLine(const Seg& p, const Seg& q, double tol, double tp[4], double tq[4])
{
    int n = 0;
    double d1x = p.b.x - p.a.x, d1y = p.b.y - p.a.y;
    double d2x = q.b.x - q.a.x, d2y = q.b.y - q.a.y;
    double wx = q.a.x - p.a.x, wy = q.a.y - p.a.y;
    double l1 = p.len, l2 = q.len;
    double den = cross(d1x, d1y, d2x, d2y);
    if (std::fabs(den) > 1e-12 * l1 * l2) {
        double t = cross(wx, wy, d2x, d2y) / den;
        double u = cross(wx, wy, d1x, d1y) / den;
        if (t * l1 >= -tol && t * l1 <= l1 + tol && u * l2 >= -tol && u * l2 <= l2 + tol)
            addPair(n, tp, tq, clamp01(t), clamp01(u), p, q, tol);
        return n;
    }
    // Parallel: only collinear segments meet, at the ends of their overlap.
    if (std::fabs(cross(wx, wy, d1x, d1y)) / l1 > tol)
        return 0;
    const CMavPoint3d* qe[2] = {&q.a, &q.b};
    for (int k = 0; k < 2; ++k) {
        double t = ((qe[k]->x - p.a.x) * d1x + (qe[k]->y - p.a.y) * d1y) / (l1 * l1);
        if (t * l1 >= -tol && t * l1 <= l1 + tol)
            addPair(n, tp, tq, clamp01(t), double(k), p, q, tol);
    }
    const CMavPoint3d* pe[2] = {&p.a, &p.b};
    for (int k = 0; k < 2; ++k) {
        double u = ((pe[k]->x - q.a.x) * d2x + (pe[k]->y - q.a.y) * d2y) / (l2 * l2);
        if (u * l2 >= -tol && u * l2 <= l2 + tol)
            addPair(n, tp, tq, double(k), clamp01(u), p, q, tol);
    }
    return n;
}

// p straight, q an arc.
int lineArc(const Seg& p, const Seg& q, double tol, double tp[4], double tq[4])
{
    int n = 0;
    double L = p.len;
    double ux = (p.b.x - p.a.x) / L, uy = (p.b.y - p.a.y) / L;
    double s0 = (q.cx - p.a.x) * ux + (q.cy - p.a.y) * uy;
    double h = std::fabs(cross(ux, uy, q.cx - p.a.x, q.cy - p.a.y));
    double ss[2];
    int m = 0;
    if (h > q.r) {
        if (h > q.r + tol)
            return 0;
        ss[m++] = s0; // touches the circle
    } else {
        double k = std::sqrt((q.r - h) * (q.r + h));
        ss[m++] = s0 - k;
        ss[m++] = s0 + k;
    }
    double angTol = tol / q.r;
    for (int i = 0; i < m; ++i) {
        double s = ss[i];
        if (s < -tol || s > L + tol)
            continue;
        double px = p.a.x + ux * s, py = p.a.y + uy * s;
        double ua = angleFrac(q, std::atan2(py - q.cy, px - q.cx), angTol);
        if (ua >= 0.0)
            addPair(n, tp, tq, clamp01(s / L), ua, p, q, tol);
    }
    return n;
}

int arcArc(const Seg& p, const Seg& q, double tol, double tp[4], double tq[4])
{
    int n = 0;
    double dx = q.cx - p.cx, dy = q.cy - p.cy;
    double D = std::hypot(dx, dy);
    if (D <= tol && std::fabs(p.r - q.r) <= tol) {
        // One circle: the arcs meet where the ends of one lie on the other.
        double u;
        if ((u = angleFrac(p, std::atan2(q.a.y - p.cy, q.a.x - p.cx), tol / p.r)) >= 0.0)
            addPair(n, tp, tq, u, 0.0, p, q, tol);
        if ((u = angleFrac(p, std::atan2(q.b.y - p.cy, q.b.x - p.cx), tol / p.r)) >= 0.0)
            addPair(n, tp, tq, u, 1.0, p, q, tol);
        if ((u = angleFrac(q, std::atan2(p.a.y - q.cy, p.a.x - q.cx), tol / q.r)) >= 0.0)
            addPair(n, tp, tq, 0.0, u, p, q, tol);
        if ((u = angleFrac(q, std::atan2(p.b.y - q.cy, p.b.x - q.cx), tol / q.r)) >= 0.0)
            addPair(n, tp, tq, 1.0, u, p, q, tol);
        return n;
    }
    if (D == 0.0 || D > p.r + q.r + tol || D < std::fabs(p.r - q.r) - tol)
        return 0;
    double A = (p.r * p.r - q.r * q.r + D * D) / (2.0 * D);
    double h2 = p.r * p.r - A * A;
    double h = h2 > 0.0 ? std::sqrt(h2) : 0.0;
    double bx = p.cx + A * dx / D, by = p.cy + A * dy / D;
    double nx = -dy / D, ny = dx / D;
    for (int k = 0; k < (h > 0.0 ? 2 : 1); ++k) {
        double sg = k == 0 ? 1.0 : -1.0;
        double px = bx + sg * h * nx, py = by + sg * h * ny;
        double up = angleFrac(p, std::atan2(py - p.cy, px - p.cx), tol / p.r);
        double uq = angleFrac(q, std::atan2(py - q.cy, px - q.cx), tol / q.r);
        if (up >= 0.0 && uq >= 0.0)
            addPair(n, tp, tq, up, uq, p, q, tol);
    }
    return n;
}

} // namespace

bool make(const CMavPoint3d& a, const CMavPoint3d& b, double bulge, Seg& out, bool box)
{
    out = Seg();
    out.a = a;
    out.b = b;
    if (!finite3(a) || !finite3(b))
        return false;
    double dx = b.x - a.x, dy = b.y - a.y;
    double d = std::sqrt(dx * dx + dy * dy);
    if (!std::isfinite(d))
        d = std::hypot(dx, dy); // squares beyond the range of doubles
    if (!std::isfinite(d))
        return false;
    double ab = std::fabs(bulge);
    // A bulge whose sagitta vanishes against the chord is a straight segment.
    if (std::isfinite(bulge) && d > 0.0 && ab > 1e-15) {
        double r = d / 4.0 * (1.0 / ab + ab);
        double off = d / 4.0 * (1.0 / bulge - bulge);
        if (std::isfinite(r) && std::isfinite(off) && r > 0.0) {
            out.arc = true;
            out.bulge = bulge;
            out.r = r;
            out.cx = (a.x + b.x) / 2.0 - dy / d * off;
            out.cy = (a.y + b.y) / 2.0 + dx / d * off;
            out.sweep = 4.0 * std::atan(bulge);
            out.a0 = std::atan2(a.y - out.cy, a.x - out.cx);
            out.len = r * std::fabs(out.sweep);
        }
    }
    if (!out.arc)
        out.len = d;
    if (!std::isfinite(out.len))
        return false;
    if (!box)
        return true;
    out.x0 = std::min(a.x, b.x);
    out.x1 = std::max(a.x, b.x);
    out.y0 = std::min(a.y, b.y);
    out.y1 = std::max(a.y, b.y);
    if (out.arc) {
        static const double kQx[4] = {1.0, 0.0, -1.0, 0.0};
        static const double kQy[4] = {0.0, 1.0, 0.0, -1.0};
        for (int k = 0; k < 4; ++k) {
            if (angleFrac(out, k * kPi / 2.0, 0.0) >= 0.0) {
                double qx = out.cx + out.r * kQx[k], qy = out.cy + out.r * kQy[k];
                out.x0 = std::min(out.x0, qx);
                out.x1 = std::max(out.x1, qx);
                out.y0 = std::min(out.y0, qy);
                out.y1 = std::max(out.y1, qy);
            }
        }
    }
    return true;
}

bool make(const CMavVertex& v, Seg& out, bool box)
{
    return make(v.start, v.end, v.bulge, out, box);
}

CMavPoint3d at(const Seg& s, double t)
{
    if (t <= 0.0)
        return s.a;
    if (t >= 1.0)
        return s.b;
    double z = s.a.z + t * (s.b.z - s.a.z);
    if (!s.arc)
        return {s.a.x + t * (s.b.x - s.a.x), s.a.y + t * (s.b.y - s.a.y), z};
    double ang = s.a0 + t * s.sweep;
    return {s.cx + s.r * std::cos(ang), s.cy + s.r * std::sin(ang), z};
}

void tangent(const Seg& s, double t, double& dx, double& dy)
{
    if (!s.arc) {
        dx = dy = 0.0;
        if (s.len > 0.0) {
            dx = (s.b.x - s.a.x) / s.len;
            dy = (s.b.y - s.a.y) / s.len;
        }
        return;
    }
    double ang = s.a0 + clamp01(t) * s.sweep;
    double sg = s.sweep > 0.0 ? 1.0 : -1.0;
    dx = -sg * std::sin(ang);
    dy = sg * std::cos(ang);
}

CMavVertex sub(const Seg& s, double t0, double t1)
{
    double bulge = s.arc ? std::tan((t1 - t0) * s.sweep / 4.0) : 0.0;
    return CMavVertex(at(s, t0), at(s, t1), bulge);
}

double paramOf(const Seg& s, double px, double py)
{
    if (s.len <= 0.0)
        return 0.0;
    if (!s.arc) {
        double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
        return clamp01(((px - s.a.x) * dx + (py - s.a.y) * dy) / (dx * dx + dy * dy));
    }
    if (px == s.cx && py == s.cy)
        return 0.5;
    double u = angleFrac(s, std::atan2(py - s.cy, px - s.cx), 0.0);
    if (u >= 0.0)
        return u;
    double da = std::hypot(px - s.a.x, py - s.a.y), db = std::hypot(px - s.b.x, py - s.b.y);
    return da <= db ? 0.0 : 1.0;
}

double distance(const Seg& s, double px, double py)
{
    CMavPoint3d f = at(s, paramOf(s, px, py));
    return std::hypot(px - f.x, py - f.y);
}

int intersect(const Seg& p, const Seg& q, double tol, double tp[4], double tq[4])
{
    if (p.len <= 0.0 || q.len <= 0.0)
        return 0;
    if (p.x1 + tol < q.x0 || q.x1 + tol < p.x0 || p.y1 + tol < q.y0 || q.y1 + tol < p.y0)
        return 0;
    if (!p.arc && !q.arc)
        return lineLine(p, q, tol, tp, tq);
    if (!p.arc)
        return lineArc(p, q, tol, tp, tq);
    if (!q.arc)
        return lineArc(q, p, tol, tq, tp);
    return arcArc(p, q, tol, tp, tq);
}

double bulgeArea(const Seg& s)
{
    if (!s.arc)
        return 0.0;
    double th = std::fabs(s.sweep);
    double a = s.r * s.r / 2.0 * (th - std::sin(th));
    return s.sweep > 0.0 ? a : -a;
}

std::vector<Seg> fromPolyline(const CMavVertexArray& vl, bool close, double tol)
{
    std::vector<Seg> out;
    out.reserve(static_cast<std::size_t>(vl.len()) + 1);
    Seg s;
    for (const CMavVertex& v : vl)
        if (make(v, s) && s.len > 0.0)
            out.push_back(s);
    if (close && !out.empty()) {
        const CMavPoint3d& e = out.back().b;
        const CMavPoint3d& f = out.front().a;
        if (std::hypot(e.x - f.x, e.y - f.y) > tol && make(e, f, 0.0, s))
            out.push_back(s);
    }
    return out;
}

double area(const std::vector<Seg>& segs)
{
    double sum = 0.0;
    for (const Seg& s : segs)
        sum += (s.a.x * s.b.y - s.b.x * s.a.y) / 2.0 + bulgeArea(s);
    return sum;
}

double tolFor(const CMavVertexArray& vl, double tol)
{
    double m = 0.0;
    for (const CMavVertex& v : vl) {
        const double c[6] = {v.start.x, v.start.y, v.end.x, v.end.y, 0.0, 0.0};
        for (double x : c)
            if (std::isfinite(x))
                m = std::max(m, std::fabs(x));
    }
    return std::max(tol, m * 1e-10);
}

Outline::Outline(const CMavVertexArray& vl, double tol) : m_segs(fromPolyline(vl, true, tol)), m_tol(tol)
{
    build();
}

Outline::Outline(std::vector<Seg> segs, double tol) : m_segs(std::move(segs)), m_tol(tol)
{
    build();
}

int Outline::bin(double y) const
{
    if (m_bins <= 1)
        return 0;
    double v = (y - m_ybase) * m_yscale;
    if (!(v >= 0.0))
        return 0;
    if (v >= m_bins - 1)
        return m_bins - 1;
    return static_cast<int>(v);
}

void Outline::build()
{
    m_start.assign(2, 0);
    m_entries.clear();
    m_bins = 1;
    if (m_segs.empty())
        return;
    m_x0 = m_y0 = HUGE_VAL;
    m_x1 = m_y1 = -HUGE_VAL;
    for (const Seg& s : m_segs) {
        m_x0 = std::min(m_x0, s.x0);
        m_y0 = std::min(m_y0, s.y0);
        m_x1 = std::max(m_x1, s.x1);
        m_y1 = std::max(m_y1, s.y1);
    }
    const int n = static_cast<int>(m_segs.size());
    double height = m_y1 - m_y0;
    int bins = std::min(4096, std::max(1, n / 2));
    if (!(height > 0.0) || !std::isfinite(height))
        bins = 1;
    // Fewer bins while long segments would fill too many of them.
    for (;;) {
        m_bins = bins;
        m_ybase = m_y0;
        m_yscale = bins > 1 ? bins / height : 0.0;
        long long total = 0;
        for (const Seg& s : m_segs)
            total += bin(s.y1 + m_tol) - bin(s.y0 - m_tol) + 1;
        if (bins == 1 || total <= 8LL * n + 4096)
            break;
        bins /= 2;
    }
    m_start.assign(static_cast<std::size_t>(m_bins) + 1, 0);
    for (const Seg& s : m_segs)
        for (int b = bin(s.y0 - m_tol); b <= bin(s.y1 + m_tol); ++b)
            ++m_start[static_cast<std::size_t>(b) + 1];
    for (int b = 0; b < m_bins; ++b)
        m_start[static_cast<std::size_t>(b) + 1] += m_start[static_cast<std::size_t>(b)];
    m_entries.assign(static_cast<std::size_t>(m_start[static_cast<std::size_t>(m_bins)]), 0);
    std::vector<int> fill(m_start.begin(), m_start.end() - 1);
    for (int i = 0; i < n; ++i) {
        const Seg& s = m_segs[static_cast<std::size_t>(i)];
        for (int b = bin(s.y0 - m_tol); b <= bin(s.y1 + m_tol); ++b)
            m_entries[static_cast<std::size_t>(fill[static_cast<std::size_t>(b)]++)] = i;
    }
}

int Outline::classify(double px, double py) const
{
    if (m_segs.empty() || !std::isfinite(px) || !std::isfinite(py))
        return 0;
    if (px < m_x0 - m_tol || px > m_x1 + m_tol || py < m_y0 - m_tol || py > m_y1 + m_tol)
        return 0;
    int b = bin(py);
    bool in = false;
    for (int k = m_start[static_cast<std::size_t>(b)]; k < m_start[static_cast<std::size_t>(b) + 1]; ++k) {
        const Seg& s = m_segs[static_cast<std::size_t>(m_entries[static_cast<std::size_t>(k)])];
        if (py < s.y0 - m_tol || py > s.y1 + m_tol)
            continue;
        if (px >= s.x0 - m_tol && px <= s.x1 + m_tol && distance(s, px, py) <= m_tol)
            return 2;
        // Even-odd along a ray to +x over the chord; an arc adds the circular segment between it and its
        // chord, which flips the parity of the points inside that segment.
        if ((s.a.y > py) != (s.b.y > py)) {
            double xi = s.a.x + (py - s.a.y) * (s.b.x - s.a.x) / (s.b.y - s.a.y);
            if (xi > px)
                in = !in;
        }
        if (s.arc && px >= s.x0 && px <= s.x1 && std::hypot(px - s.cx, py - s.cy) < s.r) {
            // Side of the chord. The ray rules above treat the point as if moved a vanishing step right, and a
            // far smaller step up; a point on the chord's line takes its side from that move.
            double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
            double side = cross(dx, dy, px - s.a.x, py - s.a.y);
            if (side == 0.0)
                side = dy != 0.0 ? -dy : dx;
            if (side * s.sweep < 0.0)
                in = !in;
        }
    }
    return in ? 1 : 0;
}

} // namespace seg
} // namespace MAV
