// Parametric outlines, the outline library, view and local matrices, and completion of generated objects.
//
// Vocabulary: an "outline" is a closed polyline made from a few parameters (sizes, a count, an angle); its
// "code" selects the shape. The "outline library" is a data directory that describes the shapes to a dialog
// (names, parameter labels, defaults per value range); the shapes themselves are computed here.
#include "data/outlines.h"

#include <cmath>
#include <memory>
#include <string>

#include "data/datafile.h"
#include "data/embedded_data.h"
#include "data/units.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// Bulge of a quarter circle: tan(90 degrees / 4).
const double kQuarterBulge = std::tan(kPi / 8.0);
constexpr int kEllipseSegments = 64;
constexpr int kMaxPolygonCorners = 1000;

const CMavDataItem& shippedLibrary()
{
    static const std::unique_ptr<CMavDataItem> lib = [] {
        auto d = std::make_unique<CMavDataItem>();
        const std::string text = MAV::embeddedText(MAV::kEmbeddedOutlines);
        MAV::dataFromText(*d, text.data(), text.size());
        return d;
    }();
    return *lib;
}

// A closed polyline through the points; bulges[i] belongs to the segment from point i to the next. Segments of
// zero length are left out; fewer than two segments give an empty polyline.
CMavVertexArray closedPolyline(const CMavArrayTempl<CMavPoint3d>& pts, const CMavArrayTempl<double>& bulges)
{
    CMavVertexArray pl;
    const int n = pts.len();
    for (int i = 0; i < n; ++i) {
        const CMavPoint3d& a = pts[i];
        const CMavPoint3d& b = pts[(i + 1) % n];
        if (a.isEqualTo(b))
            continue;
        pl.append(a, b, i < bulges.len() ? bulges[i] : 0.0);
    }
    if (pl.len() < 2)
        pl.removeAll();
    return pl;
}

CMavVertexArray polygon(std::initializer_list<CMavPoint3d> points)
{
    CMavArrayTempl<CMavPoint3d> pts;
    for (const CMavPoint3d& p : points)
        pts.append(p);
    return closedPolyline(pts, CMavArrayTempl<double>());
}

CMavVertexArray rectangle(double w, double h)
{
    return polygon({{0, 0, 0}, {w, 0, 0}, {w, h, 0}, {0, h, 0}});
}

bool allFinite(const CMavVertexArray& pl)
{
    for (const CMavVertex& v : pl) {
        if (!std::isfinite(v.start.x) || !std::isfinite(v.start.y) || !std::isfinite(v.start.z) ||
            !std::isfinite(v.end.x) || !std::isfinite(v.end.y) || !std::isfinite(v.end.z) || !std::isfinite(v.bulge))
            return false;
    }
    return true;
}

CMavVertexArray shape(int code, const CMavArrayTempl<double>& p)
{
    for (double v : p)
        if (!std::isfinite(v))
            return CMavVertexArray();
    const double a = p[0], b = p[1], c = p[2], d = p[3];
    switch (code) {
    case MAV::kOutlRectangle:
        if (a > 0 && b > 0)
            return rectangle(a, b);
        break;
    case MAV::kOutlChamfered: {
        if (!(a > 0 && b > 0))
            break;
        const double k = std::fmin(std::fmax(c, 0.0), std::fmin(a, b) / 2.0);
        if (k == 0.0)
            return rectangle(a, b);
        return polygon({{k, 0, 0}, {a - k, 0, 0}, {a, k, 0}, {a, b - k, 0}, {a - k, b, 0}, {k, b, 0}, {0, b - k, 0},
                        {0, k, 0}});
    }
    case MAV::kOutlRounded: {
        if (!(a > 0 && b > 0))
            break;
        const double r = std::fmin(std::fabs(c), std::fmin(a, b) / 2.0);
        if (r == 0.0)
            return rectangle(a, b);
        // Convex corners turn with the outline (counter-clockwise); concave ones are arcs about the corner
        // point, turning the other way.
        const double bulge = c > 0 ? kQuarterBulge : -kQuarterBulge;
        CMavArrayTempl<CMavPoint3d> pts{{r, 0, 0},     {a - r, 0, 0}, {a, r, 0}, {a, b - r, 0},
                                        {a - r, b, 0}, {r, b, 0},     {0, b - r, 0}, {0, r, 0}};
        CMavArrayTempl<double> bulges{0.0, bulge, 0.0, bulge, 0.0, bulge, 0.0, bulge};
        return closedPolyline(pts, bulges);
    }
    case MAV::kOutlCircle: {
        if (!(a > 0))
            break;
        const double r = a / 2.0;
        CMavVertexArray pl;
        pl.append(CMavPoint3d(r, 0, 0), CMavPoint3d(-r, 0, 0), 1.0);
        pl.append(CMavPoint3d(-r, 0, 0), CMavPoint3d(r, 0, 0), 1.0);
        return pl;
    }
    case MAV::kOutlEllipse: {
        if (!(a > 0 && b > 0))
            break;
        CMavArrayTempl<CMavPoint3d> pts;
        for (int i = 0; i < kEllipseSegments; ++i) {
            const double t = 2.0 * kPi * i / kEllipseSegments;
            pts.append(CMavPoint3d(a / 2.0 * std::cos(t), b / 2.0 * std::sin(t), 0));
        }
        return closedPolyline(pts, CMavArrayTempl<double>());
    }
    case MAV::kOutlL:
        if (a > 0 && b > 0 && c > 0 && c < a && d > 0 && d < b)
            return polygon({{0, 0, 0}, {a, 0, 0}, {a, d, 0}, {c, d, 0}, {c, b, 0}, {0, b, 0}});
        break;
    case MAV::kOutlU:
        if (a > 0 && b > 0 && c > 0 && 2.0 * c < a && d > 0 && d < b)
            return polygon({{0, 0, 0}, {a, 0, 0}, {a, b, 0}, {a - c, b, 0}, {a - c, d, 0}, {c, d, 0}, {c, b, 0},
                            {0, b, 0}});
        break;
    case MAV::kOutlT: {
        if (!(a > 0 && b > 0 && c > 0 && c < b && d > 0 && d < a))
            break;
        const double x0 = (a - d) / 2.0;
        return polygon({{x0, 0, 0}, {x0 + d, 0, 0}, {x0 + d, b - c, 0}, {a, b - c, 0}, {a, b, 0}, {0, b, 0},
                        {0, b - c, 0}, {x0, b - c, 0}});
    }
    case MAV::kOutlTrapezoid:
        if (a > 0 && b >= 0 && c > 0)
            return polygon({{0, 0, 0}, {a, 0, 0}, {(a + b) / 2.0, c, 0}, {(a - b) / 2.0, c, 0}});
        break;
    case MAV::kOutlPolygon: {
        const double corners = std::round(a);
        if (!(corners >= 3 && corners <= kMaxPolygonCorners && b > 0))
            break;
        const int n = static_cast<int>(corners);
        const double r = b / 2.0;
        CMavArrayTempl<CMavPoint3d> pts;
        for (int i = 0; i < n; ++i) {
            // The first edge lies horizontal at the bottom.
            const double t = -kPi / 2.0 - kPi / n + 2.0 * kPi * i / n;
            pts.append(CMavPoint3d(r * std::cos(t), r * std::sin(t), 0));
        }
        return closedPolyline(pts, CMavArrayTempl<double>());
    }
    case MAV::kOutlSlot: {
        if (!(a > 0 && b > 0))
            break;
        const double r = b / 2.0;
        const double h = std::fmax(a - b, 0.0) / 2.0;
        CMavArrayTempl<CMavPoint3d> pts{{-h, -r, 0}, {h, -r, 0}, {h, r, 0}, {-h, r, 0}};
        CMavArrayTempl<double> bulges{0.0, 1.0, 0.0, 1.0};
        return closedPolyline(pts, bulges);
    }
    case MAV::kOutlParallelogram: {
        if (!(a > 0 && b > 0 && c > 0 && c < 180))
            break;
        const double dx = b / std::tan(c * kPi / 180.0);
        return polygon({{0, 0, 0}, {a, 0, 0}, {a + dx, b, 0}, {dx, b, 0}});
    }
    default:
        break;
    }
    return CMavVertexArray();
}

} // namespace

namespace MAV {

bool outlineDefaults(int code, int range, CMavArrayTempl<double>& parameters)
{
    parameters.removeAll();
    const CMavDataItem* outline = shippedLibrary().get(CMavDataKey(code));
    if (!outline || range < 1 || range > 4)
        return false;
    int count = 0;
    outline->get(count, L"PARMS");
    for (int i = 1; i <= count && i <= 6; ++i) {
        double v = 0.0;
        CMavDataKey key(CMavString::format(L"PARM%d\\VAL", i));
        key.append(range);
        if (!outline->get(v, key))
            break;
        parameters.append(v);
    }
    return true;
}

int outlineCodes(CMavArrayTempl<int>& codes)
{
    codes.removeAll();
    for (CDataIterator it(&shippedLibrary()); it.valid(); it.next())
        if (it.item()->keyPart().isInt())
            codes.append(it.item()->keyPart().num);
    return codes.len();
}

CMavVertexArray g_outline(int code, const CMavVector3d& offset, const CMavArrayTempl<double>& parameters)
{
    CMavArrayTempl<double> p = parameters;
    CMavArrayTempl<double> defaults;
    if (outlineDefaults(code, 3, defaults))
        for (int i = p.len(); i < defaults.len(); ++i)
            p.append(defaults[i]);
    CMavVertexArray pl = shape(code, p);
    if (pl.len() > 0 && std::isfinite(offset.x) && std::isfinite(offset.y) && std::isfinite(offset.z))
        pl.move(offset);
    // Finite parameters can still overflow: a parallelogram of almost 0 degrees slants without end, a huge size
    // or offset adds up to infinity. Such an outline has no usable geometry.
    return allFinite(pl) ? pl : CMavVertexArray();
}

bool g_outline(CMavVertexArray& polyline, const CMavDataItem* gen, int unit)
{
    polyline.removeAll();
    int code = 0;
    if (!gen || !gen->get(code, L"OUTL"))
        return false;
    CMavArrayTempl<double> parameters;
    for (int i = 1; i <= 6; ++i) {
        double v = 0.0;
        if (!gen->get(v, CMavDataKey(CMavString::format(L"P%d", i))))
            break;
        parameters.append(v);
    }
    CMavVector3d offset;
    gen->get(offset, L"BASE");
    int genUnit = -1;
    gen->get(genUnit, L"UNIT");
    CMavVertexArray pl = g_outline(code, offset, parameters);
    if (pl.len() == 0)
        return false;
    double factor = 1.0;
    if (!acadUnitCv(factor, genUnit, unit))
        return false;
    if (factor != 1.0)
        pl.transformBy(CMavMatrix3d::scaling(factor));
    if (!allFinite(pl))
        return false; // a huge outline in parsecs is no outline in millimetres
    polyline = pl;
    return true;
}

CMavMatrix3d g_mtx_view(const CMavVector3d& dir, const CMavPoint3d& point, bool upright)
{
    CMavMatrix3d m;
    const double len = dir.length();
    if (!(len > 0.0) || !std::isfinite(len))
        return m;
    const CMavVector3d z = dir / len;
    CMavVector3d x;
    if (upright) {
        x = CMavVector3d::kZAxis.crossProduct(z);
        if (x.length() < 1e-12)
            x = z.z > 0 ? CMavVector3d::kXAxis : -CMavVector3d::kXAxis;
        x.normalize();
    } else {
        CMavPoint3d o;
        CMavVector3d px, py, pz;
        CMavMatrix3d::planeToWorld(z).getCoordSystem(o, px, py, pz);
        x = px.normal();
    }
    const CMavVector3d y = z.crossProduct(x).normal();
    const CMavVector3d rows[3] = {x, y, z};
    for (int r = 0; r < 3; ++r) {
        m.m[r][0] = rows[r].x;
        m.m[r][1] = rows[r].y;
        m.m[r][2] = rows[r].z;
        // The point stays: t = p - R p.
        const double rp = rows[r].x * point.x + rows[r].y * point.y + rows[r].z * point.z;
        m.m[r][3] = (r == 0 ? point.x : r == 1 ? point.y : point.z) - rp;
    }
    return m;
}

bool g_mtx_local(const CMavDataItem* item, CMavMatrix3d& matrix, int fromUnit, int toUnit)
{
    if (!item)
        return false;
    CMavPoint3d pos;
    item->get(pos, L"POS");
    if (fromUnit == 0 && !item->get(fromUnit, L"UNIT"))
        fromUnit = 0;
    double f = 1.0;
    if (fromUnit != 0 && acadUnitCv(f, fromUnit, toUnit))
        pos = pos * f;
    CMavVector3d normal = CMavVector3d::kZAxis;
    item->get(normal, L"NORMAL");
    double rot = 0.0;
    item->get(rot, L"ROT");
    CMavMatrix3d m = CMavMatrix3d::translation(pos.asVector());
    if (!normal.isZeroLength() && std::isfinite(normal.length()))
        m *= CMavMatrix3d::planeToWorld(normal);
    if (rot != 0.0 && std::isfinite(rot))
        m *= CMavMatrix3d::rotation(rot * kPi / 180.0, CMavVector3d::kZAxis);
    matrix = m;
    return true;
}

bool objGen(CMavDataItem* item, int flags)
{
    if (!item)
        return false;
    CMavString type;
    item->get(type, L"TYPE");
    const bool again = (flags & 1) != 0;
    if (type == L"DRILL") {
        double dia = 0.0, depth = 0.0;
        if (!item->get(dia, L"DIA")) {
            dia = 5.0;
            item->setAt(L"DIA", dia);
        }
        if (!item->get(depth, L"DEPTH"))
            item->setAt(L"DEPTH", 10.0);
        if ((again || !item->get(L"VL")) && dia > 0.0 && std::isfinite(dia)) {
            CMavArrayTempl<double> p{dia};
            item->setAt(L"VL", g_outline(kOutlCircle, CMavVector3d(), p));
        }
        return true;
    }
    if (type == L"OUTLINE") {
        if (again || !item->get(L"VL")) {
            int unit = -1;
            item->get(unit, L"UNIT");
            CMavVertexArray pl;
            g_outline(pl, item, unit);
            item->setAt(L"VL", pl);
        }
        return true;
    }
    return false;
}

} // namespace MAV

bool mavOutlineInit(CMavDataItem* library, const wchar_t* path)
{
    if (!library || library->hasValue())
        return false;
    std::string text;
    if (path) {
        if (!MAV::readFileBytes(path, text))
            return false;
    } else {
        text = MAV::embeddedText(MAV::kEmbeddedOutlines);
    }
    CMavDataItem source;
    MAV::dataFromText(source, text.data(), text.size());
    library->makeDirectory();
    for (MAV::CDataIterator it(&source); it.valid(); it.next())
        library->setItem(it.key(), *it.item(), 1);
    return true;
}
