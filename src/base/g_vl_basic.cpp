// Small polyline helpers: polar points, component-wise bounds, flattening, arc chords, orientation, extents,
// continuous parts and cutting a piece out of a polyline.
#include <algorithm>
#include <cmath>

#include "base/g_vl.h"
#include "base/g_vl_seg.h"

namespace MAV {

namespace {

bool finite3(const CMavPoint3d& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// Position on a polyline: segment index and parameter on it.
struct Pos {
    int i = -1;
    double t = 0.0;
};

Pos nearestPos(const CMavVertexArray& vl, const CMavPoint3d& p)
{
    Pos best;
    double bestD = HUGE_VAL;
    seg::Seg s;
    for (int i = 0; i < vl.len(); ++i) {
        if (!seg::make(vl[i], s))
            continue;
        double t = seg::paramOf(s, p.x, p.y);
        CMavPoint3d f = seg::at(s, t);
        double d = std::hypot(f.x - p.x, f.y - p.y);
        if (d < bestD) {
            bestD = d;
            best.i = i;
            best.t = t;
        }
    }
    return best;
}

} // namespace

CMavVector3d polar(double angle, double length)
{
    return {std::cos(angle) * length, std::sin(angle) * length, 0.0};
}

CMavPoint3d polar(const CMavPoint3d& from, double angle, double distance)
{
    return from + polar(angle, distance);
}

CMavPoint3d p_min(const CMavPoint3d& a, const CMavPoint3d& b)
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)};
}

CMavPoint3d p_max(const CMavPoint3d& a, const CMavPoint3d& b)
{
    return {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)};
}

CMavVertex g_vx_xy(const CMavVertex& vx)
{
    return CMavVertex(CMavPoint3d(vx.start.x, vx.start.y, 0.0), CMavPoint3d(vx.end.x, vx.end.y, 0.0), vx.bulge);
}

// Chords of n equal parts of an arc of radius r and included angle th stay within r (1 - cos(th / 2n)) of it,
// so n is the smallest count that keeps that deviation at or below tol. The count is capped at
// CMavVertex::kMaxChords, which a tolerance that is not positive (or not a number) also gives.
int g_vx_split_dif(const CMavVertex& vx, double tol)
{
    double b = std::fabs(vx.bulge);
    double d = vx.start.distanceTo(vx.end);
    if (!std::isfinite(b) || b <= 0.0 || !(d > 0.0) || !std::isfinite(d))
        return 1;
    const int cap = CMavVertex::kMaxChords;
    if (!(tol > 0.0))
        return cap;
    double r = d / 4.0 * (1.0 / b + b);
    double th = 4.0 * std::atan(b);
    if (!std::isfinite(r))
        return cap;
    double c = 1.0 - tol / r;
    if (c <= -1.0)
        return 1;
    double half = std::acos(c); // largest half-angle of one chord
    if (!(half > 0.0))
        return cap;
    double n = std::ceil(th / (2.0 * half) - 1e-12);
    if (!(n < cap))
        return cap;
    return n < 1.0 ? 1 : static_cast<int>(n);
}

CMavVertexArray g_vl_expl(const CMavVertex& vx, int count)
{
    CMavVertexArray out;
    seg::Seg s;
    if (!seg::make(vx, s) || !s.arc) {
        out.append(vx);
        return out;
    }
    int n = std::min(std::max(count, 1), static_cast<int>(CMavVertex::kMaxChords));
    out.setPhysicalLength(n);
    CMavPoint3d prev = vx.start;
    for (int k = 1; k <= n; ++k) {
        CMavPoint3d next = k == n ? vx.end : seg::at(s, double(k) / n);
        out.append(CMavVertex(prev, next, 0.0));
        prev = next;
    }
    return out;
}

CMavVertexArray g_vl_expl(const CMavVertexArray& vl, int count)
{
    CMavVertexArray out;
    for (const CMavVertex& v : vl) {
        if (v.bulge == 0.0)
            out.append(v);
        else
            out.append(g_vl_expl(v, count));
    }
    return out;
}

// Newell's sum over the chords (closing chord included) plus, for each arc, the circular segment between arc
// and chord, signed by the arc's sense about +Z.
double g_vl_area(const CMavVertexArray& vl, const CMavVector3d& normal)
{
    CMavVector3d n = normal.normal();
    if (n.isZeroLength(0.0))
        n = CMavVector3d::kZAxis;
    CMavVector3d sum;
    bool have = false;
    CMavPoint3d first, last;
    seg::Seg s;
    for (const CMavVertex& v : vl) {
        if (!finite3(v.start) || !finite3(v.end))
            continue;
        if (!have)
            first = v.start;
        have = true;
        last = v.end;
        sum += v.start.asVector().cross(v.end.asVector()) * 0.5;
        if (seg::make(v, s))
            sum.z += seg::bulgeArea(s);
    }
    if (!have)
        return 0.0;
    sum += last.asVector().cross(first.asVector()) * 0.5;
    return sum.dot(n);
}

bool g_vl_orient(const CMavVertexArray& vl, const CMavVector3d& normal)
{
    return g_vl_area(vl, normal) > 0.0;
}

// The box is taken in the frame turned by `angle` about +Z: every segment is turned by -angle (a turn keeps
// the bulge), its exact box taken there, and the two corners turned back.
CMavPoint3dArray g_vl_extmax(const CMavVertexArray& vl, double angle)
{
    CMavPoint3dArray out;
    double c = std::cos(angle), sn = std::sin(angle);
    if (!std::isfinite(c)) {
        c = 1.0;
        sn = 0.0;
    }
    auto toFrame = [&](const CMavPoint3d& p) { return CMavPoint3d(p.x * c + p.y * sn, -p.x * sn + p.y * c, p.z); };
    auto toWorld = [&](const CMavPoint3d& p) { return CMavPoint3d(p.x * c - p.y * sn, p.x * sn + p.y * c, p.z); };
    bool have = false;
    CMavPoint3d lo, hi;
    seg::Seg s;
    for (const CMavVertex& v : vl) {
        if (!seg::make(toFrame(v.start), toFrame(v.end), v.bulge, s))
            continue;
        CMavPoint3d a(s.x0, s.y0, std::min(v.start.z, v.end.z));
        CMavPoint3d b(s.x1, s.y1, std::max(v.start.z, v.end.z));
        lo = have ? p_min(lo, a) : a;
        hi = have ? p_max(hi, b) : b;
        have = true;
    }
    if (!have) {
        out.append(CMavPoint3d::kOrigin);
        out.append(CMavPoint3d::kOrigin);
        return out;
    }
    out.append(toWorld(lo));
    out.append(toWorld(hi));
    return out;
}

CMavVertexArray g_vl_extrect(const CMavVertexArray& vl, double angle)
{
    CMavVertexArray out;
    if (vl.isEmpty())
        return out;
    CMavPoint3dArray e = g_vl_extmax(vl, angle);
    double c = std::cos(angle), sn = std::sin(angle);
    if (!std::isfinite(c)) {
        c = 1.0;
        sn = 0.0;
    }
    // Corners in the turned frame: the lower one is the first point, the upper the second.
    double lx = e[0].x * c + e[0].y * sn, ly = -e[0].x * sn + e[0].y * c;
    double ux = e[1].x * c + e[1].y * sn, uy = -e[1].x * sn + e[1].y * c;
    double z = e[0].z;
    auto w = [&](double x, double y) { return CMavPoint3d(x * c - y * sn, x * sn + y * c, z); };
    CMavPoint3d p[4] = {w(lx, ly), w(ux, ly), w(ux, uy), w(lx, uy)};
    for (int k = 0; k < 4; ++k)
        out.append(CMavVertex(p[k], p[(k + 1) % 4], 0.0));
    return out;
}

CMavArrayTempl<CMavVertexArray> g_vl_to_vll(const CMavVertexArray& vl, double tol)
{
    CMavArrayTempl<CMavVertexArray> out;
    double t = seg::tolFor(vl, tol);
    for (int i = 0; i < vl.len(); ++i) {
        if (i == 0 || !(vl[i - 1].end.distanceTo(vl[i].start) <= t))
            out.append(CMavVertexArray());
        out[-1].append(vl[i]);
    }
    return out;
}

CMavVertexArray g_vl_cut(const CMavVertexArray& vl, const CMavPoint3d& from, const CMavPoint3d& to)
{
    CMavVertexArray out;
    Pos p = nearestPos(vl, from);
    Pos q = nearestPos(vl, to);
    if (p.i < 0 || q.i < 0)
        return out;
    if (q.i < p.i || (q.i == p.i && q.t < p.t))
        std::swap(p, q);
    seg::Seg s;
    for (int i = p.i; i <= q.i; ++i) {
        if (!seg::make(vl[i], s))
            continue;
        double t0 = i == p.i ? p.t : 0.0;
        double t1 = i == q.i ? q.t : 1.0;
        if (t1 <= t0)
            continue;
        if (t0 == 0.0 && t1 == 1.0)
            out.append(vl[i]);
        else
            out.append(seg::sub(s, t0, t1));
    }
    return out;
}

} // namespace MAV
