// Polyline segments: straight or circular arcs given by a bulge.
//
// Vocabulary. A segment runs from `start` to `end`; the chord is end - start. The bulge b is tan(theta / 4) for
// the arc's included angle theta, so |b| = 1 is a half circle, |b| < 1 a flatter arc, |b| > 1 more than half a
// circle; b > 0 turns counter-clockwise seen from the tip of the plane normal. The sagitta (the arc's height over
// the chord's midpoint) is b * |chord| / 2, on the side of chord x normal. With L = |chord| the radius is
// L / 4 * (|b| + 1 / |b|) and the centre lies L / 4 * (|b| - 1 / |b|) from the chord's midpoint on the sagitta's
// side (negative: the other side); these forms stay finite for very large and very small bulges where
// (1 + b^2) would overflow.
#include "base/CMavVertex.h"

#include <algorithm>
#include <cmath>

#include "base/CMavPoint3dArray.h"

namespace {

const double kPi = 3.14159265358979323846;
const double kTwoPi = 2.0 * kPi;

// Parametric form of an arc: point(phi) = centre + r (a cos phi + b sin phi) for phi in [0, sweep]; a points
// from the centre to the start, b is the direction of travel at the start, n the normal about which the travel
// is counter-clockwise.
struct Arc {
    CMavPoint3d centre;
    CMavVector3d a, b, n;
    double r = 0.0;
    double sweep = 0.0;

    CMavPoint3d at(double phi) const { return centre + a * (r * std::cos(phi)) + b * (r * std::sin(phi)); }
    // Angle of a point of the arc's plane, measured from the start in the direction of travel, in [0, 2 pi).
    double angleOf(const CMavPoint3d& p) const
    {
        const CMavVector3d d = p - centre;
        double phi = std::atan2(d.dotProduct(b), d.dotProduct(a));
        if (phi < 0.0)
            phi += kTwoPi;
        return phi;
    }
    // True when the angle lies on the arc, allowing `slack` radians at both ends (angles just below 2 pi are
    // the start seen from behind).
    bool covers(double phi, double slack) const { return phi <= sweep + slack || phi >= kTwoPi - slack; }
};

CMavVector3d unitNormal(const CMavVector3d& normal)
{
    const CMavVector3d n = normal.normal();
    return n.lengthSqrd() == 0.0 ? CMavVector3d::kZAxis : n;
}

bool finitePoints(const CMavVertex& v)
{
    return v.start.isFinite() && v.end.isFinite();
}

// The arc of a segment; false when the segment is drawn straight.
bool arcOf(const CMavVertex& v, const CMavVector3d& normal, Arc& arc)
{
    if (!v.isArc())
        return false;
    const CMavVector3d chord = v.end - v.start;
    const double len = chord.length();
    const CMavVector3d side = chord.crossProduct(unitNormal(normal));
    const double sideLen = side.length();
    if (!(sideLen > 1e-12 * len))
        return false; // chord along the normal: no plane for the arc
    const CMavVector3d w = side / sideLen;
    const CMavVector3d c = chord / len;
    const double bb = std::fabs(v.bulge);
    const double sg = v.bulge < 0.0 ? -1.0 : 1.0;
    const double r = len / 4.0 * (bb + 1.0 / bb);
    const double off = sg * len / 4.0 * (bb - 1.0 / bb);
    if (!std::isfinite(r) || !std::isfinite(off) || !(r > 0.0))
        return false;
    const CMavPoint3d mid((v.start.x + v.end.x) / 2.0, (v.start.y + v.end.y) / 2.0, (v.start.z + v.end.z) / 2.0);
    arc.centre = mid + w * off;
    arc.n = w.crossProduct(c).normal();
    arc.a = (v.start - arc.centre).normal();
    arc.b = arc.n.crossProduct(arc.a) * sg;
    arc.r = r;
    arc.sweep = 4.0 * std::atan(bb);
    if (arc.a.lengthSqrd() == 0.0 || arc.n.lengthSqrd() == 0.0)
        return false;
    return true;
}

// Parameter range of a line p0 + t (p1 - p0) for an intersection mode.
void lineRange(int mode, double& lo, double& hi)
{
    lo = (mode & 2) ? -HUGE_VAL : 0.0;
    hi = (mode & 1) ? HUGE_VAL : 1.0;
}

// Line p0 + t d (t in [lo, hi]) against the straight segment s-e; points appended in order from s.
int lineWithStraight(const CMavPoint3d& p0, const CMavVector3d& d, double lo, double hi, const CMavPoint3d& s,
                     const CMavPoint3d& e, CMavPoint3dArray& out, double tol)
{
    const CMavVector3d d2 = e - s;
    const double len2 = d2.length(), dlen = d.length();
    if (!(len2 > 0.0) || !(dlen > 0.0))
        return 0;
    const double tTol = tol / dlen, uTol = tol / len2;
    const CMavVector3d r = s - p0;
    const CMavVector3d n = d.crossProduct(d2);
    const double nn = n.lengthSqrd();
    if (!(n.length() > 1e-12 * dlen * len2)) {
        // Parallel: only a collinear segment meets the line, along the common part.
        if (!(r.crossProduct(d).length() / dlen <= tol))
            return 0;
        const double dd = d.lengthSqrd();
        const double ts = r.dotProduct(d) / dd;
        const double te = (e - p0).dotProduct(d) / dd;
        const double from = std::max(lo, std::min(ts, te));
        const double to = std::min(hi, std::max(ts, te));
        if (!(from <= to + tTol))
            return 0;
        // Back to the segment's own parameter so that common ends at the segment's ends are its exact points.
        auto onSeg = [&](double t) {
            const double u = std::min(1.0, std::max(0.0, (t - ts) / (te - ts)));
            return u <= 0.0 ? s : (u >= 1.0 ? e : s + d2 * u);
        };
        const double first = ts <= te ? from : to;
        const double last = ts <= te ? to : from;
        out.append(onSeg(first));
        if (std::fabs(last - first) > tTol) {
            out.append(onSeg(last));
            return 2;
        }
        return 1;
    }
    const double t = r.crossProduct(d2).dotProduct(n) / nn;
    const double u = r.crossProduct(d).dotProduct(n) / nn;
    if (!(t >= lo - tTol && t <= hi + tTol && u >= -uTol && u <= 1.0 + uTol))
        return 0;
    const CMavPoint3d onLine = p0 + d * t;
    const double uc = std::min(1.0, std::max(0.0, u));
    const CMavPoint3d onSegment = uc <= 0.0 ? s : (uc >= 1.0 ? e : s + d2 * uc);
    if (!(onLine.distanceTo(s + d2 * u) <= tol))
        return 0; // skew lines in space
    out.append(onSegment);
    return 1;
}

// Puts a point found on an arc onto its exact end point when it lies within the tolerance of one.
CMavPoint3d snapToEnds(const CMavPoint3d& p, const CMavVertex& v, double tol)
{
    if (p.distanceTo(v.start) <= tol)
        return v.start;
    if (p.distanceTo(v.end) <= tol)
        return v.end;
    return p;
}

// Line p0 + t d (t in [lo, hi]) against an arc; candidate points with their angle on the arc.
int lineWithArc(const CMavPoint3d& p0, const CMavVector3d& d, double lo, double hi, const Arc& arc,
                CMavPoint3d (&pts)[2], double (&phis)[2], double tol)
{
    const double dlen = d.length();
    if (!(dlen > 0.0))
        return 0;
    const double tTol = tol / dlen;
    const double slack = tol / arc.r;
    const double dn = d.dotProduct(arc.n);
    int count = 0;
    auto take = [&](double t, const CMavPoint3d& p) {
        if (!(t >= lo - tTol && t <= hi + tTol))
            return;
        const double phi = arc.angleOf(p);
        if (!arc.covers(phi, slack))
            return;
        pts[count] = p;
        phis[count] = phi >= kTwoPi - slack ? 0.0 : phi;
        ++count;
    };
    if (std::fabs(dn) <= 1e-12 * dlen) {
        // Line in (or parallel to) the arc's plane: circle against line.
        const double h0 = (p0 - arc.centre).dotProduct(arc.n);
        if (!(std::fabs(h0) <= tol))
            return 0;
        const CMavPoint3d q = p0 - arc.n * h0;
        const CMavVector3d f = q - arc.centre;
        const double tStar = -f.dotProduct(d) / d.lengthSqrd();
        const CMavPoint3d foot = q + d * tStar;
        const double h = foot.distanceTo(arc.centre);
        if (!(h <= arc.r + tol))
            return 0;
        if (h >= arc.r) {
            take(tStar, foot); // touching
        } else {
            const double half = std::sqrt((arc.r - h) * (arc.r + h)) / dlen;
            take(tStar - half, q + d * (tStar - half));
            take(tStar + half, q + d * (tStar + half));
        }
    } else {
        // Line through the plane: one candidate where it pierces it.
        const double t = (arc.centre - p0).dotProduct(arc.n) / dn;
        const CMavPoint3d p = p0 + d * t;
        if (!(std::fabs(p.distanceTo(arc.centre) - arc.r) <= tol))
            return 0;
        take(t, p);
    }
    if (count == 2 && phis[1] < phis[0]) {
        std::swap(pts[0], pts[1]);
        std::swap(phis[0], phis[1]);
    }
    return count;
}

// Two arcs in one plane: the points of their circles that lie on both, ordered along `first`.
int arcWithArc(const Arc& first, const Arc& second, CMavPoint3d (&pts)[2], double tol)
{
    if (!(first.n.crossProduct(second.n).length() <= 1e-9))
        return 0;
    const CMavVector3d cc = second.centre - first.centre;
    if (!(std::fabs(cc.dotProduct(first.n)) <= tol))
        return 0;
    const double dist = cc.length();
    if (!(dist > tol))
        return 0; // concentric: none, or the same circle
    if (!(dist <= first.r + second.r + tol) || !(dist >= std::fabs(first.r - second.r) - tol))
        return 0;
    const double along = (dist * dist + first.r * first.r - second.r * second.r) / (2.0 * dist);
    const double h2 = first.r * first.r - along * along;
    const double h = h2 > 0.0 ? std::sqrt(h2) : 0.0;
    const CMavVector3d e = cc / dist;
    const CMavVector3d perp = first.n.crossProduct(e);
    const CMavPoint3d base = first.centre + e * along;
    const CMavPoint3d cand[2] = {base + perp * h, base - perp * h};
    double phis[2];
    int count = 0;
    for (int i = 0; i < (h > 0.0 ? 2 : 1); ++i) {
        const double phi1 = first.angleOf(cand[i]);
        if (!first.covers(phi1, tol / first.r) || !second.covers(second.angleOf(cand[i]), tol / second.r))
            continue;
        pts[count] = cand[i];
        phis[count] = phi1 >= kTwoPi - tol / first.r ? 0.0 : phi1;
        ++count;
    }
    if (count == 2 && phis[1] < phis[0])
        std::swap(pts[0], pts[1]);
    return count;
}

} // namespace

bool CMavVertex::isEqualTo(const CMavVertex& v, double tol) const
{
    return start.isEqualTo(v.start, tol) && end.isEqualTo(v.end, tol) && std::fabs(bulge - v.bulge) <= tol;
}

bool CMavVertex::isArc() const
{
    if (!std::isfinite(bulge) || bulge == 0.0 || !finitePoints(*this))
        return false;
    return start.distanceTo(end) > 0.0;
}

CMavVertex& CMavVertex::transformBy(const CMavMatrix3d& m, const CMavVector3d& normal)
{
    start.transformBy(m);
    end.transformBy(m);
    if (bulge != 0.0) {
        // Carry an oriented basis of the arc's plane through the matrix: the arc turns counter-clockwise about
        // the image of that basis' normal. Bulges are read about the positive side of a plane's normal, so the
        // sign changes when the image normal points to the negative side.
        const CMavVector3d n = unitNormal(normal);
        const CMavVector3d p1 = n.perpVector();
        const CMavVector3d p2 = n.crossProduct(p1);
        const CMavVector3d image = (m * p1).crossProduct(m * p2);
        if (image.lengthSqrd() > 0.0 && image.positiveSide().dotProduct(image) < 0.0)
            bulge = -bulge;
    }
    return *this;
}

CMavVertex& CMavVertex::revert()
{
    std::swap(start, end);
    bulge = -bulge;
    return *this;
}

double CMavVertex::radius() const
{
    if (!isArc())
        return 0.0;
    const double bb = std::fabs(bulge);
    const double r = chordLength() / 4.0 * (bb + 1.0 / bb);
    return std::isfinite(r) ? r : 0.0;
}

double CMavVertex::includedAngle() const
{
    if (radius() == 0.0)
        return 0.0;
    return 4.0 * std::atan(bulge);
}

double CMavVertex::bulgeFromAngle(double angle)
{
    return std::tan(angle / 4.0);
}

double CMavVertex::bulgLen() const
{
    const double r = radius();
    if (r > 0.0)
        return r * std::fabs(includedAngle());
    return chordLength();
}

CMavPoint3d CMavVertex::mid(const CMavVector3d& normal) const
{
    const CMavPoint3d m((start.x + end.x) / 2.0, (start.y + end.y) / 2.0, (start.z + end.z) / 2.0);
    Arc arc;
    if (!arcOf(*this, normal, arc))
        return m;
    // The sagitta in closed form: more exact than evaluating the arc at half its angle.
    const CMavVector3d chord = end - start;
    const CMavVector3d w = chord.crossProduct(unitNormal(normal)).normal();
    return m + w * (bulge * chord.length() / 2.0);
}

CMavPoint3d CMavVertex::pointAt(double t, const CMavVector3d& normal) const
{
    if (!(t > 0.0))
        return start;
    if (t >= 1.0)
        return end;
    Arc arc;
    if (!arcOf(*this, normal, arc))
        return start + (end - start) * t;
    return arc.at(arc.sweep * t);
}

CMavPoint3d CMavVertex::lotpUnbounded(const CMavPoint3d& p, const CMavVector3d& normal) const
{
    Arc arc;
    if (arcOf(*this, normal, arc)) {
        const CMavPoint3d q = p - arc.n * (p - arc.centre).dotProduct(arc.n);
        const CMavVector3d d = q - arc.centre;
        const double dl = d.length();
        if (!(dl > 1e-12 * arc.r))
            return mid(normal);
        return arc.centre + d * (arc.r / dl);
    }
    const CMavVector3d d = end - start;
    const double dd = d.lengthSqrd();
    if (!(dd > 0.0))
        return start;
    return start + d * ((p - start).dotProduct(d) / dd);
}

CMavPoint3d CMavVertex::lotp(const CMavPoint3d& p, const CMavVector3d& normal) const
{
    Arc arc;
    if (arcOf(*this, normal, arc)) {
        const CMavPoint3d foot = lotpUnbounded(p, normal);
        if (arc.covers(arc.angleOf(foot), 0.0))
            return foot;
        return p.distanceTo(start) <= p.distanceTo(end) ? start : end;
    }
    const CMavVector3d d = end - start;
    const double dd = d.lengthSqrd();
    if (!(dd > 0.0))
        return start;
    const double t = (p - start).dotProduct(d) / dd;
    if (!(t > 0.0))
        return start;
    if (t >= 1.0)
        return end;
    return start + d * t;
}

double CMavVertex::distanceTo(const CMavPoint3d& p, const CMavVector3d& normal) const
{
    return p.distanceTo(lotp(p, normal));
}

bool CMavVertex::arcCenter(CMavPoint3d& centre, const CMavVector3d& normal) const
{
    Arc arc;
    if (!arcOf(*this, normal, arc))
        return false;
    centre = arc.centre;
    return true;
}

void CMavVertex::extents(CMavPoint3d& min, CMavPoint3d& max, const CMavVector3d& normal) const
{
    min = CMavPoint3d(std::min(start.x, end.x), std::min(start.y, end.y), std::min(start.z, end.z));
    max = CMavPoint3d(std::max(start.x, end.x), std::max(start.y, end.y), std::max(start.z, end.z));
    Arc arc;
    if (!arcOf(*this, normal, arc))
        return;
    // Along each axis the arc's coordinate is centre + r * amp * cos(phi - phi0): its extremes lie at phi0 and
    // phi0 + pi, and count where the arc reaches them.
    const double ca[3] = {arc.centre.x, arc.centre.y, arc.centre.z};
    const double aa[3] = {arc.a.x, arc.a.y, arc.a.z};
    const double ba[3] = {arc.b.x, arc.b.y, arc.b.z};
    double* mins[3] = {&min.x, &min.y, &min.z};
    double* maxs[3] = {&max.x, &max.y, &max.z};
    for (int k = 0; k < 3; ++k) {
        const double amp = std::hypot(aa[k], ba[k]);
        if (!(amp > 0.0))
            continue;
        double phiMax = std::atan2(ba[k], aa[k]);
        if (phiMax < 0.0)
            phiMax += kTwoPi;
        double phiMin = phiMax + kPi;
        if (phiMin >= kTwoPi)
            phiMin -= kTwoPi;
        if (arc.covers(phiMax, 0.0))
            *maxs[k] = std::max(*maxs[k], ca[k] + arc.r * amp);
        if (arc.covers(phiMin, 0.0))
            *mins[k] = std::min(*mins[k], ca[k] - arc.r * amp);
    }
}

int CMavVertex::chordCount(double tol) const
{
    const double r = radius();
    if (r == 0.0)
        return 1;
    if (!(tol > 0.0) || !std::isfinite(tol))
        return kMaxChords;
    const double sweep = std::fabs(includedAngle());
    // A chord over the angle alpha deviates r (1 - cos(alpha / 2)) from the arc.
    const double alpha = 2.0 * std::acos(std::max(-1.0, 1.0 - tol / r));
    if (!(alpha > 0.0))
        return kMaxChords;
    const double n = std::ceil(sweep / alpha);
    if (!(n < kMaxChords))
        return kMaxChords;
    return n < 1.0 ? 1 : static_cast<int>(n);
}

void CMavVertex::pts(CMavPoint3dArray& out, double tol, bool withEnd, const CMavVector3d& normal) const
{
    out.append(start);
    Arc arc;
    if (arcOf(*this, normal, arc)) {
        const int n = chordCount(tol);
        for (int i = 1; i < n; ++i)
            out.append(arc.at(arc.sweep * i / n));
    }
    if (withEnd)
        out.append(end);
}

int CMavVertex::intersectWith(const CMavVertex& other, int mode, CMavPoint3dArray& points,
                              const CMavVector3d& normal, const CMavVector3d& otherNormal, double tol) const
{
    if (!finitePoints(*this) || !finitePoints(other))
        return 0;
    Arc mine, theirs;
    const bool thisArc = arcOf(*this, normal, mine);
    const bool otherArc = arcOf(other, otherNormal, theirs);
    CMavPoint3d found[2];
    double phis[2];
    int n = 0;
    if (!otherArc) {
        double lo, hi;
        lineRange(mode, lo, hi);
        const CMavVector3d d = other.end - other.start;
        if (!thisArc)
            return lineWithStraight(other.start, d, lo, hi, start, end, points, tol);
        n = lineWithArc(other.start, d, lo, hi, mine, found, phis, tol);
    } else if (!thisArc) {
        // This straight segment as a bounded line against the other arc; order along this segment.
        const CMavVector3d d = end - start;
        n = lineWithArc(start, d, 0.0, 1.0, theirs, found, phis, tol);
        if (n == 2 && (found[1] - start).dotProduct(d) < (found[0] - start).dotProduct(d))
            std::swap(found[0], found[1]);
    } else {
        n = arcWithArc(mine, theirs, found, tol);
    }
    for (int i = 0; i < n; ++i)
        points.append(snapToEnds(found[i], *this, tol));
    return n;
}

bool CMavVertex::breakAt(const CMavPoint3d& at, CMavVertex& first, CMavVertex& second, const CMavVector3d& normal,
                         double tol) const
{
    if (!finitePoints(*this) || !at.isFinite() || !(chordLength() > 0.0))
        return false;
    const CMavPoint3d foot = lotp(at, normal);
    if (foot.isEqualTo(start, tol) || foot.isEqualTo(end, tol))
        return false;
    Arc arc;
    if (!arcOf(*this, normal, arc)) {
        first = CMavVertex(start, foot, 0.0);
        second = CMavVertex(foot, end, 0.0);
        return true;
    }
    const double phi = std::min(arc.angleOf(foot), arc.sweep);
    const double sg = bulge < 0.0 ? -1.0 : 1.0;
    first = CMavVertex(start, foot, sg * std::tan(phi / 4.0));
    second = CMavVertex(foot, end, sg * std::tan((arc.sweep - phi) / 4.0));
    return true;
}
