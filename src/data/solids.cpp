// Solids: faceted bodies, the solid map, the drill body and the edges of a body in a view.
#include "data/solids.h"

#include <cmath>
#include <memory>
#include <vector>

#include "data/CMavDataItem.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kDrillSides = 32;

std::map<long, std::unique_ptr<MAV::CSolid>>& solidMap()
{
    static std::map<long, std::unique_ptr<MAV::CSolid>> map;
    return map;
}

} // namespace

namespace MAV {

void CSolid::clear()
{
    m_vertices.removeAll();
    m_faces.clear();
    m_edges.clear();
    m_prepared = false;
}

int CSolid::addVertex(const CMavPoint3d& p)
{
    m_prepared = false;
    return m_vertices.append(p);
}

bool CSolid::addFace(const CMavArrayTempl<int>& loop, int smoothGroup)
{
    if (loop.len() < 3 || faceCount() >= kMaxFaces)
        return false;
    Face f;
    for (int v : loop) {
        if (v < 0 || v >= m_vertices.len())
            return false;
        f.loop.push_back(v);
    }
    f.smooth = smoothGroup;
    m_faces.push_back(std::move(f));
    m_prepared = false;
    return true;
}

void CSolid::transformBy(const CMavMatrix3d& m)
{
    for (CMavPoint3d& p : m_vertices)
        p.transformBy(m);
    m_prepared = false;
}

bool CSolid::extents(CMavPoint3d& min, CMavPoint3d& max) const
{
    if (m_vertices.isEmpty())
        return false;
    min = max = m_vertices[0];
    for (const CMavPoint3d& p : m_vertices) {
        min = CMavPoint3d(std::fmin(min.x, p.x), std::fmin(min.y, p.y), std::fmin(min.z, p.z));
        max = CMavPoint3d(std::fmax(max.x, p.x), std::fmax(max.y, p.y), std::fmax(max.z, p.z));
    }
    return true;
}

void CSolid::edgePrepare()
{
    m_edges.clear();
    std::map<std::pair<int, int>, size_t> index;
    for (size_t fi = 0; fi < m_faces.size(); ++fi) {
        Face& f = m_faces[fi];
        // Newell's normal of the loop.
        CMavVector3d n;
        const size_t k = f.loop.size();
        for (size_t i = 0; i < k; ++i) {
            const CMavPoint3d& a = m_vertices[f.loop[i]];
            const CMavPoint3d& b = m_vertices[f.loop[(i + 1) % k]];
            n.x += (a.y - b.y) * (a.z + b.z);
            n.y += (a.z - b.z) * (a.x + b.x);
            n.z += (a.x - b.x) * (a.y + b.y);
        }
        f.normal = n.normal();
        for (size_t i = 0; i < k; ++i) {
            const int a = f.loop[i];
            const int b = f.loop[(i + 1) % k];
            if (a == b)
                continue;
            const std::pair<int, int> key(std::min(a, b), std::max(a, b));
            const auto it = index.find(key);
            if (it == index.end()) {
                index[key] = m_edges.size();
                m_edges.push_back(Edge{a, b, static_cast<int>(fi), -1});
            } else if (m_edges[it->second].f2 < 0) {
                m_edges[it->second].f2 = static_cast<int>(fi);
            }
        }
    }
    m_prepared = true;
}

namespace {

// Joins edges (pairs of vertex numbers) into chains that follow shared vertices.
std::vector<std::vector<int>> chains(const std::vector<std::pair<int, int>>& edges, bool join)
{
    std::vector<std::vector<int>> out;
    if (!join) {
        for (const auto& e : edges)
            out.push_back({e.first, e.second});
        return out;
    }
    std::map<int, std::vector<size_t>> at;
    for (size_t i = 0; i < edges.size(); ++i) {
        at[edges[i].first].push_back(i);
        at[edges[i].second].push_back(i);
    }
    std::vector<bool> used(edges.size(), false);
    const auto nextFrom = [&](int v) -> long {
        for (size_t e : at[v])
            if (!used[e])
                return static_cast<long>(e);
        return -1;
    };
    for (size_t i = 0; i < edges.size(); ++i) {
        if (used[i])
            continue;
        used[i] = true;
        std::vector<int> chain{edges[i].first, edges[i].second};
        for (long e; (e = nextFrom(chain.back())) >= 0;) {
            used[static_cast<size_t>(e)] = true;
            const auto& ed = edges[static_cast<size_t>(e)];
            chain.push_back(ed.first == chain.back() ? ed.second : ed.first);
        }
        for (long e; (e = nextFrom(chain.front())) >= 0;) {
            used[static_cast<size_t>(e)] = true;
            const auto& ed = edges[static_cast<size_t>(e)];
            chain.insert(chain.begin(), ed.first == chain.front() ? ed.second : ed.first);
        }
        out.push_back(std::move(chain));
    }
    return out;
}

} // namespace

int CSolid::edgeGet(const CMavMatrix3d& view, int, CMavArrayTempl<CMavVertexArrayEx>& visible,
                    CMavArrayTempl<CMavVertexArrayEx>& hidden, int join)
{
    visible.removeAll();
    hidden.removeAll();
    if (!m_prepared)
        edgePrepare();
    CMavPoint3d origin;
    CMavVector3d vx, vy, vz;
    view.getCoordSystem(origin, vx, vy, vz);
    const CMavVector3d towardsViewer = vz.normal();
    const CMavMatrix3d toView = view.inverse();
    const auto front = [&](int f) { return f >= 0 && m_faces[f].normal.dotProduct(towardsViewer) > 1e-9; };
    const auto smooth = [&](const Edge& e) {
        return e.f2 >= 0 && m_faces[e.f1].smooth != 0 && m_faces[e.f1].smooth == m_faces[e.f2].smooth;
    };
    std::vector<std::pair<int, int>> sharpVisible, outlineVisible, hiddenEdges;
    for (const Edge& e : m_edges) {
        const bool f1 = front(e.f1);
        const bool f2 = front(e.f2);
        if (e.f2 < 0) {
            (f1 ? sharpVisible : hiddenEdges).push_back({e.a, e.b});
        } else if (f1 != f2) {
            (smooth(e) ? outlineVisible : sharpVisible).push_back({e.a, e.b});
        } else if (!smooth(e)) {
            (f1 ? sharpVisible : hiddenEdges).push_back({e.a, e.b});
        }
    }
    const auto emit = [&](const std::vector<std::pair<int, int>>& edges, int kind,
                          CMavArrayTempl<CMavVertexArrayEx>& out) {
        for (const std::vector<int>& chain : chains(edges, join != 0)) {
            CMavVertexArray pl;
            for (size_t i = 0; i + 1 < chain.size(); ++i)
                pl.append(toView * m_vertices[chain[i]], toView * m_vertices[chain[i + 1]]);
            out.append(CMavVertexArrayEx(pl, kind));
        }
    };
    emit(sharpVisible, 0, visible);
    emit(outlineVisible, 1, visible);
    if (m_mode == 1)
        emit(hiddenEdges, 0, hidden);
    return visible.len();
}

bool newSolidFromMap(long& id)
{
    auto& map = solidMap();
    if (static_cast<int>(map.size()) >= kMaxSolids)
        return false;
    long next = 1;
    for (const auto& entry : map) {
        if (entry.first != next)
            break;
        ++next;
    }
    map[next] = std::make_unique<CSolid>();
    id = next;
    return true;
}

bool getSolidFromMap(CSolid*& solid, long id)
{
    auto& map = solidMap();
    const auto it = map.find(id);
    if (it == map.end())
        return false;
    solid = it->second.get();
    return true;
}

bool removeSolidFromMap(long id)
{
    return solidMap().erase(id) > 0;
}

int solidMapCount()
{
    return static_cast<int>(solidMap().size());
}

} // namespace MAV

bool mavObjModel(MAV::CSolid* solid, const CMavDataItem* item)
{
    if (!solid)
        return false;
    solid->clear();
    double dia = 0.0, depth = 10.0, tip = 0.0;
    if (!item || !item->get(dia, L"DIA"))
        return false;
    item->get(depth, L"DEPTH");
    item->get(tip, L"TIP");
    if (!(dia > 0.0) || !(depth > 0.0) || !std::isfinite(dia) || !std::isfinite(depth) || !std::isfinite(tip))
        return false;
    const double r = dia / 2.0;
    CMavArrayTempl<int> top, bottom;
    for (int i = 0; i < kDrillSides; ++i) {
        const double a = 2.0 * kPi * i / kDrillSides;
        top.append(solid->addVertex(CMavPoint3d(r * std::cos(a), r * std::sin(a), 0.0)));
    }
    for (int i = 0; i < kDrillSides; ++i) {
        const double a = 2.0 * kPi * i / kDrillSides;
        bottom.append(solid->addVertex(CMavPoint3d(r * std::cos(a), r * std::sin(a), -depth)));
    }
    solid->addFace(top);
    for (int i = 0; i < kDrillSides; ++i) {
        const int j = (i + 1) % kDrillSides;
        solid->addFace(CMavArrayTempl<int>{bottom[i], bottom[j], top[j], top[i]}, 1);
    }
    if (tip > 0.0 && tip < 180.0) {
        const int apex = solid->addVertex(CMavPoint3d(0, 0, -depth - r / std::tan(tip * kPi / 360.0)));
        for (int i = 0; i < kDrillSides; ++i)
            solid->addFace(CMavArrayTempl<int>{bottom[(i + 1) % kDrillSides], bottom[i], apex}, 2);
    } else {
        CMavArrayTempl<int> base;
        for (int i = kDrillSides - 1; i >= 0; --i)
            base.append(bottom[i]);
        solid->addFace(base);
    }
    CMavMatrix3d placement;
    if (item->get(placement, L"MTX"))
        solid->transformBy(placement);
    return true;
}
