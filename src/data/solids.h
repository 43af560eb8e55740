// Solids of the object library: faceted bodies kept in a map by number, the drill body built from data, and the
// edges of a body as seen in a view.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "base/CMavArray.h"
#include "base/CMavMatrix3d.h"
#include "base/CMavVertexArray.h"

class CMavDataItem;

// A polyline with the kind of edge it shows.
class CMavVertexArrayEx : public CMavVertexArray {
public:
    CMavVertexArrayEx() = default;
    CMavVertexArrayEx(const CMavVertexArray& polyline, int edgeKind = 0) : CMavVertexArray(polyline), kind(edgeKind)
    {
    }
    int kind = 0; // 0 an edge between faces, 1 the outline of a curved surface (between smooth faces)
};

namespace MAV {

// A body made of plane faces. A face is a loop of vertex numbers, counter-clockwise seen from outside; faces of
// the same non-zero smooth group belong to one curved surface and meet in edges that are not drawn unless they
// outline the body.
class CSolid {
public:
    void clear();
    bool isEmpty() const { return m_faces.empty(); }
    int addVertex(const CMavPoint3d& p);
    // Adds a face; false (nothing added) for fewer than three vertices or a vertex number out of range.
    bool addFace(const CMavArrayTempl<int>& loop, int smoothGroup = 0);
    int vertexCount() const { return m_vertices.len(); }
    int faceCount() const { return static_cast<int>(m_faces.size()); }
    void transformBy(const CMavMatrix3d& m);
    bool extents(CMavPoint3d& min, CMavPoint3d& max) const;

    // The edge query, in three steps: edgePrepare (finds the edges and their faces), edgeMode (1: hidden edges
    // are given in the second list, 0: they are left out), then edgeGet with the view: the view's coordinate
    // system (its axes in world coordinates, as CMavMatrix3d::setCoordSystem makes it), the viewer looking from
    // the view's +z. Edges are given in the view's coordinates: an edge is visible when one of its faces turns
    // towards the viewer and it is either sharp or outlines the body; edges of faces that all turn away are
    // hidden (the body is taken as convex). With join, edges that meet are joined into polylines. flags is
    // not used. Returns the number of visible polylines.
    void edgePrepare();
    void edgeMode(int mode) { m_mode = mode; }
    int edgeGet(const CMavMatrix3d& view, int flags, CMavArrayTempl<CMavVertexArrayEx>& visible,
                CMavArrayTempl<CMavVertexArrayEx>& hidden, int join);

    static constexpr int kMaxFaces = 100000;

private:
    struct Face {
        std::vector<int> loop;
        int smooth = 0;
        CMavVector3d normal;
    };
    struct Edge {
        int a, b;
        int f1, f2; // f2 -1 for an edge of one face only
    };

    CMavArrayTempl<CMavPoint3d> m_vertices;
    std::vector<Face> m_faces;
    std::vector<Edge> m_edges;
    bool m_prepared = false;
    int m_mode = 0;
};

// The solid map: numbered solids that live until removed. A new solid gets the smallest free number from 1;
// false when kMaxSolids are in use.
constexpr int kMaxSolids = 1024;
bool newSolidFromMap(long& id);
bool getSolidFromMap(CSolid*& solid, long id);
bool removeSolidFromMap(long id);
int solidMapCount();

} // namespace MAV

// Builds the body of a drill from its data: a cylinder of diameter "DIA" (required, above 0) and depth "DEPTH"
// (10 when missing, above 0) going down from z = 0, with a cone tip of "TIP" degrees (0 < TIP < 180; a flat
// bottom without it), placed by the item's "MTX". The sides are a smooth surface of 32 faces. False, solid
// emptied, when the data gives no body or solid is null.
bool mavObjModel(MAV::CSolid* solid, const CMavDataItem* item);
