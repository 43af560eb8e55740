// Polylines as dash pieces, and polylines with their arcs as chords.
//
// Vocabulary. A dash array holds lengths in drawing units: positive a dash, negative a gap, 0 a dot. A dot is
// drawn as a dash of the dot length (0.2 mm) but counts 1.0 towards the period when a pattern is fitted to a
// segment, as drawings made with these patterns have always shown. Fitting stretches the gaps of a segment so
// that a whole number of periods fills it; centring turns the array so that it starts with half of its first
// long dash and ends with the other half, so a dashed segment shows a dash at each end.
#include "geometry/measure.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/CMavLineParm.h"
#include "base/CMavMatrix3d.h"
#include "base/g_vl.h"
#include "data/units.h"

namespace {

// Turns the array so that it starts with a dash longer than 0.21 followed by a gap, and splits that dash into
// halves at the start and the end. An array without such a place stays as it is.
void centre(CMavArrayTempl<double>& dashes)
{
    CMavArrayTempl<double> turned(dashes);
    const int n = turned.len();
    for (int turn = 0; turn < n; ++turn) {
        if (turn > 0) {
            const double first = turned[0];
            turned.removeAt(0);
            turned.append(first);
        }
        if (turned[0] > 0.21 && turned[1] < 0.0) {
            turned[0] *= 0.5;
            turned.append(turned[0]);
            dashes = turned;
            return;
        }
    }
}

// Appends the vertices of every piece, in order.
int appendPieces(CMavVertexArray& out, const CMavArrayTempl<CMavVertexArray>& pieces)
{
    int n = 0;
    for (const CMavVertexArray& p : pieces)
        for (const CMavVertex& v : p) {
            out.append(v);
            ++n;
        }
    return n;
}

// Length of a straight segment in space (the plain sum of squares: coordinates of drawings stay far from where
// it would overflow, and a non-finite result only keeps the segment whole).
double straightLength(const CMavVertex& v)
{
    const double dx = v.end.x - v.start.x, dy = v.end.y - v.start.y, dz = v.end.z - v.start.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// True when measuring `length` with the dashes could exceed what is left of the call's pieces, or when the
// dashes have no usable period.
template <class Dashes>
bool tooDense(double length, const Dashes& dashes, int count, long long left)
{
    double period = 0.0;
    for (double d : dashes)
        period += std::fabs(d);
    if (!(period > 0.0) || !std::isfinite(period))
        return true; // no usable period: kept whole
    const double estimate = (length / period + 1.0) * count;
    return !(estimate <= static_cast<double>(left));
}

// The dash pieces of the straight segment a-b under a pattern of dashes and gaps (no dots), placed as the
// polyline measure places them: the pattern starts at a, a dash cut by b ends there, ends within a relative
// 1e-12 of a or b snap to them. This is the common case of a fitted segment, without the measure's general
// bookkeeping for corners, arcs and jumps. Returns the number of pieces appended.
int appendStraightDashes(CMavVertexArray& out, const CMavPoint3d& a, const CMavPoint3d& b,
                         const std::vector<double>& dashes)
{
    const double l = std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y));
    double period = 0.0;
    bool gaps = false, visible = false;
    for (double d : dashes) {
        period += std::fabs(d);
        gaps = gaps || d < 0.0;
        visible = visible || d > 0.0;
    }
    if (!(l > 0.0) || !std::isfinite(l) || !visible)
        return 0;
    if (!gaps || !(period > 0.0) || !std::isfinite(period)) {
        out.append(a, b);
        return 1;
    }
    const double eps = std::max(period, l) * 1e-12;
    auto param = [&](double g) { return g <= eps ? 0.0 : (g >= l - eps ? 1.0 : g / l); };
    auto at = [&](double t) {
        return t <= 0.0 ? a : (t >= 1.0 ? b : CMavPoint3d(a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), 0.0));
    };
    int n = 0;
    for (double cycle = 0.0;; cycle += 1.0) {
        double g = cycle * period;
        for (double d : dashes) {
            if (g >= l - eps)
                return n;
            const double e = g + std::fabs(d);
            if (d > 0.0) {
                const double t0 = param(g), t1 = param(std::min(e, l));
                if (t1 > t0) {
                    out.append(at(t0), at(t1));
                    ++n;
                }
            }
            g = e;
        }
    }
}

} // namespace

double mav_gdx_dot_length()
{
    double length = 0.2;
    MAV::acadUnitCv(length, 4, -1); // unchanged when the drawing's unit is unknown
    return length;
}

bool mav_gdx_image_vl_measure(CMavVertexArray& polyline, CMavArrayTempl<double> dashes, int mode)
{
    if (dashes.len() < 2)
        return false;
    for (double d : dashes)
        if (!std::isfinite(d))
            return false;
    const CMavArrayTempl<CMavVertexArray> parts = MAV::g_vl_to_vll(polyline);
    if (mode == 1)
        centre(dashes);

    const double dot = mav_gdx_dot_length();
    double period = 0.0;
    int gaps = 0;
    const bool hasDots = dot == 0.0; // a dot that keeps no length stays a dot of the measure
    for (double& d : dashes) {
        if (d == 0.0) {
            d = dot;
            period += 1.0;
        } else {
            period += std::fabs(d);
        }
        if (d < 0.0)
            ++gaps;
    }

    polyline.removeAll();
    long long left = kMavMeasureMaxPieces;
    if (mode != 0) {
        std::vector<double> fitted;
        for (const CMavVertexArray& part : parts) {
            for (const CMavVertex& v : part) {
                fitted.assign(dashes.begin(), dashes.end());
                const double l = v.bulge == 0.0 ? straightLength(v) : v.bulgLen();
                if (period > 0.0) {
                    if (!(l - period > 0.0)) {
                        polyline.append(v); // not longer than one period: kept whole
                        continue;
                    }
                    const double k = std::trunc(l / period);
                    const double r = l - k * period;
                    if (gaps > 0) {
                        const double grow = std::fabs(r / (gaps * k));
                        for (double& d : fitted)
                            if (d < 0.0)
                                d -= grow;
                    }
                }
                if (tooDense(l, fitted, static_cast<int>(fitted.size()), left)) {
                    polyline.append(v); // a pattern this fine cannot be told from a solid line
                    continue;
                }
                const CMavVertex flat = MAV::g_vx_xy(v);
                if (flat.bulge == 0.0 && !hasDots) {
                    left -= appendStraightDashes(polyline, flat.start, flat.end, fitted);
                    continue;
                }
                const CMavVertexArray segment = MAV::g_vl_expl(flat, MAV::g_vx_split_dif(flat, 0.1));
                CMavLineParm pattern;
                for (double d : fitted)
                    pattern.append(d);
                left -= appendPieces(polyline, MAV::g_vl_measure(segment, 1.0, pattern));
            }
        }
    } else {
        for (const CMavVertexArray& part : parts) {
            CMavVertexArray flat;
            flat.setPhysicalLength(part.len());
            for (const CMavVertex& v : part)
                flat.append(MAV::g_vx_xy(v));
            if (tooDense(flat.length(), dashes, dashes.len(), left)) {
                for (const CMavVertex& v : flat)
                    polyline.append(v);
                continue;
            }
            left -= appendPieces(polyline, MAV::g_vl_measure(flat, 1.0, CMavLineParm(dashes)));
        }
    }
    return true;
}

CMavVertexArray mav_gdx_image_vl_split(const CMavVertexArray& polyline)
{
    const CMavVector3d normal = polyline.normal();
    const CMavMatrix3d toWorld = CMavMatrix3d::planeToWorld(normal);
    const CMavMatrix3d toPlane = CMavMatrix3d::worldToPlane(normal);
    CMavVertexArray out;
    out.setPhysicalLength(polyline.len());
    for (const CMavVertex& v : polyline) {
        if (v.bulge == 0.0 || !v.isArc()) {
            out.append(v);
            continue;
        }
        // The arc is split in its plane with a tolerance that suits its length; the chords are taken back.
        CMavVertex arc(v);
        arc.transformBy(toPlane, normal);
        const double tol = arc.bulgLen() < 4.0 ? 0.01 : 0.05;
        const CMavVertexArray chords = MAV::g_vl_expl(arc, MAV::g_vx_split_dif(arc, tol));
        for (CMavVertex c : chords)
            out.append(c.transformBy(toWorld));
    }
    return out;
}
