// Polylines: building, transforming, measuring and intersecting arrays of segments.
//
// A polyline is a sequence of CMavVertex segments; it is continuous when each segment starts where the previous
// one ends, and closed when its last end meets its first start. Arcs are read in the polyline's plane, whose
// normal (normal()) is kept on the positive side, so a closed outline has the same normal whichever way it runs
// and reverting it only changes the bulges' signs.
#include "base/CMavVertexArray.h"

#include <algorithm>
#include <cmath>

int CMavVertexArray::append(const CMavPoint3d& start, const CMavPoint3d& end, double bulge)
{
    return CMavArrayTempl<CMavVertex>::append(CMavVertex(start, end, bulge));
}

int CMavVertexArray::appendTo(const CMavPoint3d& end, double bulge)
{
    if (isEmpty())
        return -1;
    const CMavPoint3d from = last().end;
    return append(from, end, bulge);
}

CMavVertexArray CMavVertexArray::fromPoints(const CMavArrayTempl<CMavPoint3d>& points, bool close, double tol)
{
    CMavVertexArray out;
    if (points.len() < 2)
        return out;
    for (int i = 0; i + 1 < points.len(); ++i)
        out.append(points[i], points[i + 1]);
    if (close && !points[-1].isEqualTo(points[0], tol))
        out.append(points[-1], points[0]);
    return out;
}

CMavVertexArray& CMavVertexArray::transformBy(const CMavMatrix3d& m)
{
    const CMavVector3d n = normal();
    for (CMavVertex& v : *this)
        v.transformBy(m, n);
    return *this;
}

CMavVertexArray CMavVertexArray::getTransformedCopy(const CMavMatrix3d& m) const
{
    CMavVertexArray copy(*this);
    copy.transformBy(m);
    return copy;
}

CMavVertexArray& CMavVertexArray::move(const CMavVector3d& v)
{
    for (CMavVertex& s : *this) {
        s.start += v;
        s.end += v;
    }
    return *this;
}

CMavVertexArray& CMavVertexArray::revert()
{
    const int n = len();
    for (int i = 0; i < n / 2; ++i)
        std::swap((*this)[i], (*this)[n - 1 - i]);
    for (CMavVertex& v : *this)
        v.revert();
    return *this;
}

bool CMavVertexArray::extents(CMavPoint3d& min, CMavPoint3d& max) const
{
    if (isEmpty())
        return false;
    // Only arcs need the polyline's plane; a straight polyline (the common case) is spared computing it.
    bool arcs = false;
    for (int i = 0; i < len() && !arcs; ++i)
        arcs = (*this)[i].bulge != 0.0;
    if (!arcs) {
        // Straight segments only: the box of their end points, compared in the same order as below.
        const CMavVertex* v = data();
        const int n = len();
        min = CMavPoint3d(std::min(v[0].start.x, v[0].end.x), std::min(v[0].start.y, v[0].end.y),
                          std::min(v[0].start.z, v[0].end.z));
        max = CMavPoint3d(std::max(v[0].start.x, v[0].end.x), std::max(v[0].start.y, v[0].end.y),
                          std::max(v[0].start.z, v[0].end.z));
        for (int i = 1; i < n; ++i) {
            min.x = std::min(min.x, std::min(v[i].start.x, v[i].end.x));
            min.y = std::min(min.y, std::min(v[i].start.y, v[i].end.y));
            min.z = std::min(min.z, std::min(v[i].start.z, v[i].end.z));
            max.x = std::max(max.x, std::max(v[i].start.x, v[i].end.x));
            max.y = std::max(max.y, std::max(v[i].start.y, v[i].end.y));
            max.z = std::max(max.z, std::max(v[i].start.z, v[i].end.z));
        }
        return true;
    }
    const CMavVector3d n = normal();
    (*this)[0].extents(min, max, n);
    for (int i = 1; i < len(); ++i) {
        CMavPoint3d lo, hi;
        (*this)[i].extents(lo, hi, n);
        min = CMavPoint3d(std::min(min.x, lo.x), std::min(min.y, lo.y), std::min(min.z, lo.z));
        max = CMavPoint3d(std::max(max.x, hi.x), std::max(max.y, hi.y), std::max(max.z, hi.z));
    }
    return true;
}

bool CMavVertexArray::isClosed(double tol) const
{
    return !isEmpty() && last().end.isEqualTo(first().start, tol);
}

bool CMavVertexArray::isContinuous(double tol) const
{
    for (int i = 1; i < len(); ++i)
        if (!(*this)[i - 1].end.isEqualTo((*this)[i].start, tol))
            return false;
    return true;
}

CMavVector3d CMavVertexArray::normal() const
{
    if (isEmpty())
        return CMavVector3d::kZAxis;
    // Twice the vector area of the chord polygon (fan from the first point; the closing edge adds nothing).
    const CMavPoint3d p0 = first().start;
    CMavVector3d area;
    double longest = 0.0; // the largest squared chord
    double chords = 0.0;
    CMavPoint3d prev = p0;
    auto add = [&](const CMavPoint3d& p) {
        area += (prev - p0).crossProduct(p - p0);
        longest = std::fmax(longest, (prev - p).lengthSqrd());
        chords += 1.0;
        prev = p;
    };
    for (const CMavVertex& v : *this) {
        if (v.start != prev)
            add(v.start);
        add(v.end);
    }
    // The area counts when it is not negligible against the square of the chord polygon's perimeter. The
    // perimeter is at most the chords times the longest chord (the factor covers the rounding of the sum and of
    // the lengths), so a polyline with a clear area needs no square roots; the perimeter itself decides near the
    // limit, and where the squares of the chords lose precision (tiny chords).
    const double a = area.length();
    if (!std::isfinite(a))
        return fallbackNormal();
    const double bound = chords * std::sqrt(longest) * (1.0 + 1e-6);
    if (longest > 1e-280 && a > 1e-12 * bound * bound)
        return area.normal().positiveSide();
    double perimeter = 0.0;
    prev = p0;
    for (const CMavVertex& v : *this) {
        if (v.start != prev) {
            perimeter += prev.distanceTo(v.start);
            prev = v.start;
        }
        perimeter += prev.distanceTo(v.end);
        prev = v.end;
    }
    if (a > 1e-12 * perimeter * perimeter)
        return area.normal().positiveSide();
    return fallbackNormal();
}

CMavVector3d CMavVertexArray::fallbackNormal() const
{
    // No area: the direction nearest +Z across the polyline's first non-zero chord.
    for (const CMavVertex& v : *this) {
        const CMavVector3d d = (v.end - v.start).normal();
        if (d.lengthSqrd() == 0.0)
            continue;
        const CMavVector3d across = CMavVector3d::kZAxis - d * d.z;
        if (across.length() > 1e-9)
            return across.normal().positiveSide();
        return CMavVector3d::kYAxis;
    }
    return CMavVector3d::kZAxis;
}

double CMavVertexArray::length() const
{
    double sum = 0.0;
    for (const CMavVertex& v : *this)
        sum += v.bulgLen();
    return sum;
}

CMavPoint3dArray CMavVertexArray::pts(bool closed, double tol) const
{
    CMavPoint3dArray out;
    const CMavVector3d n = normal();
    for (int i = 0; i < len(); ++i) {
        const CMavVertex& v = (*this)[i];
        const bool joins = i + 1 >= len() || v.end.isEqualTo((*this)[i + 1].start);
        v.pts(out, tol, !joins, n);
    }
    if (closed && !isEmpty())
        out.append(last().end);
    return out;
}

int CMavVertexArray::intersectWith(const CMavPoint3d& p0, const CMavPoint3d& p1, int mode, CMavPoint3dArray& points,
                                   double tol) const
{
    const CMavVertex line(p0, p1, 0.0);
    const CMavVector3d n = normal();
    int count = 0;
    for (const CMavVertex& v : *this)
        count += v.intersectWith(line, mode, points, n, CMavVector3d::kZAxis, tol);
    return count;
}

int CMavVertexArray::intersectWith(const CMavVertexArray& other, int mode, CMavPoint3dArray& points,
                                   double tol) const
{
    const CMavVector3d n = normal();
    const CMavVector3d otherN = other.normal();
    int count = 0;
    for (const CMavVertex& v : *this)
        for (const CMavVertex& o : other)
            count += v.intersectWith(o, mode, points, n, otherN, tol);
    return count;
}

bool CMavVertexArray::breakVertex(int index, const CMavPoint3d& at, double tol)
{
    if (index < 0 || index >= len())
        return false;
    CMavVertex a, b;
    if (!(*this)[index].breakAt(at, a, b, normal(), tol))
        return false;
    (*this)[index] = a;
    insertAt(index + 1, b);
    return true;
}
