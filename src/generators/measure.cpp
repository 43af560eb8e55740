// Polylines as dash pieces, and polylines with their arcs as chords.
//
// Vocabulary. A dash array holds lengths in drawing units: positive a dash, negative a gap, 0 a dot. A dot is
// drawn as a dash of the dot length (0.2 mm) but counts 1.0 towards the period when a pattern is fitted to a
// segment, as drawings made with these patterns have always shown. Fitting stretches the gaps of a segment so
// that a whole number of periods fills it; centring turns the array so that it starts with half of its first
// long dash and ends with the other half, so a dashed segment shows a dash at each end.
#include "generators/measure.h"

#include <cmath>

#include "platform/CMavLineParm.h"
#include "platform/CMavMatrix3d.h"
#include "platform/g_vl.h"
#include "platform/units.h"

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

double drawnPeriod(const CMavArrayTempl<double>& dashes)
{
    double sum = 0.0;
    for (double d : dashes)
        sum += std::fabs(d);
    return sum;
}

// True when measuring `length` with the dashes could exceed what is left of the call's pieces.
bool tooDense(double length, const CMavArrayTempl<double>& dashes, long long left)
{
    const double period = drawnPeriod(dashes);
    if (!(period > 0.0))
        return false;
    const double estimate = (length / period + 1.0) * dashes.len();
    return !(estimate <= static_cast<double>(left));
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
        for (const CMavVertexArray& part : parts) {
            for (const CMavVertex& v : part) {
                CMavArrayTempl<double> fitted(dashes);
                const double l = v.bulgLen();
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
                if (tooDense(l, fitted, left)) {
                    polyline.append(v); // a pattern this fine cannot be told from a solid line
                    continue;
                }
                const CMavVertex flat = MAV::g_vx_xy(v);
                const CMavVertexArray segment = MAV::g_vl_expl(flat, MAV::g_vx_split_dif(flat, 0.1));
                left -= appendPieces(polyline, MAV::g_vl_measure(segment, 1.0, CMavLineParm(fitted)));
            }
        }
    } else {
        for (const CMavVertexArray& part : parts) {
            CMavVertexArray flat;
            flat.setPhysicalLength(part.len());
            for (const CMavVertex& v : part)
                flat.append(MAV::g_vx_xy(v));
            if (tooDense(flat.length(), dashes, left)) {
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
