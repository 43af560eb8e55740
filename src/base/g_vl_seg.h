// Planar segment arithmetic behind the polyline algorithms (internal to g_vl_*.cpp).
#pragma once

#include <vector>

#include "base/CMavPoint3d.h"
#include "base/CMavVertex.h"
#include "base/CMavVertexArray.h"

namespace MAV {
namespace seg {

// One segment in the XY plane. A position on it is a parameter t in [0, 1]: the fraction of the chord for a
// straight segment, of the swept angle for an arc. z runs linearly with t.
struct Seg {
    CMavPoint3d a;
    CMavPoint3d b;
    double bulge = 0.0;
    bool arc = false;
    double cx = 0.0, cy = 0.0, r = 0.0; // arc centre and radius
    double a0 = 0.0;                    // arc start angle
    double sweep = 0.0;                 // signed included angle, positive counter-clockwise
    double len = 0.0;                   // length in the plane
    double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0; // box, arcs with their bulge
};

// Builds the segment; false when a coordinate or the bulge makes it unusable (not finite). A bulge on a
// zero-length chord, or one too small to move the arc off its chord, gives a straight segment.
// Without `box` the box fields stay unset.
bool make(const CMavPoint3d& a, const CMavPoint3d& b, double bulge, Seg& out, bool box = true);
bool make(const CMavVertex& v, Seg& out, bool box = true);

CMavPoint3d at(const Seg& s, double t);
// Unit direction of travel at t (zero for a zero-length segment).
void tangent(const Seg& s, double t, double& dx, double& dy);
// The part from t0 to t1 (t0 < t1) as a vertex; the ends at t = 0 and t = 1 are the segment's own points.
CMavVertex sub(const Seg& s, double t0, double t1);
// Parameter of the point of the segment nearest to (px, py).
double paramOf(const Seg& s, double px, double py);
double distance(const Seg& s, double px, double py);

// Intersections of p and q: pairs of parameters (tp[i] on p, tq[i] on q), at most 4 (two crossings, or the ends
// of an overlap). Points within tol of both segments count, so touching ends are found.
int intersect(const Seg& p, const Seg& q, double tol, double tp[4], double tq[4]);

// Signed area of the circular segment between an arc and its chord (positive for a counter-clockwise arc).
double bulgeArea(const Seg& s);

// The usable segments of a polyline; with `close` a chord back to the start is added when the polyline does not
// end where it starts.
std::vector<Seg> fromPolyline(const CMavVertexArray& vl, bool close, double tol);
// Signed area of a closed chain of segments.
double area(const std::vector<Seg>& segs);

// A tolerance that fits the coordinates of the polylines: 1e-9 of their largest absolute coordinate, at least
// kGeomTol.
double tolFor(const CMavVertexArray& vl, double tol);

// A closed outline prepared for repeated point and segment queries: its segments binned by y.
class Outline {
public:
    Outline() = default;
    Outline(const CMavVertexArray& vl, double tol);
    explicit Outline(std::vector<Seg> segs, double tol);

    const std::vector<Seg>& segs() const { return m_segs; }
    bool empty() const { return m_segs.empty(); }
    double x0() const { return m_x0; }
    double y0() const { return m_y0; }
    double x1() const { return m_x1; }
    double y1() const { return m_y1; }

    // 0 outside, 1 inside (even-odd), 2 within tol of an edge.
    int classify(double px, double py) const;
    // Calls f(index) once for every segment whose box may meet the box (x0, y0)-(x1, y1).
    template <class F>
    void candidates(double qx0, double qy0, double qx1, double qy1, F f) const
    {
        if (m_segs.empty() || qx1 < m_x0 - m_tol || qx0 > m_x1 + m_tol || qy1 < m_y0 - m_tol ||
            qy0 > m_y1 + m_tol)
            return;
        int b0 = bin(qy0 - m_tol);
        int b1 = bin(qy1 + m_tol);
        for (int b = b0; b <= b1; ++b)
            for (int k = m_start[b]; k < m_start[b + 1]; ++k) {
                int i = m_entries[k];
                const Seg& s = m_segs[i];
                // Visit a segment in the first queried bin that holds it only.
                if (b != b0 && bin(s.y0 - m_tol) != b)
                    continue;
                if (s.x1 + m_tol < qx0 || s.x0 - m_tol > qx1 || s.y1 + m_tol < qy0 || s.y0 - m_tol > qy1)
                    continue;
                f(i);
            }
    }

private:
    void build();
    int bin(double y) const;

    std::vector<Seg> m_segs;
    double m_tol = 0.0;
    double m_x0 = 0.0, m_y0 = 0.0, m_x1 = 0.0, m_y1 = 0.0;
    double m_ybase = 0.0, m_yscale = 0.0;
    int m_bins = 0;
    std::vector<int> m_start;
    std::vector<int> m_entries;
};

} // namespace seg
} // namespace MAV
