// View directions by name, and polylines as seen from a viewing direction.
//
// Vocabulary: a view direction points from the scene towards the viewer, +Z is up. The view names are German
// compass points: N(ord), S(üd), O(st), W(est); "P" is the plan view from above.
#include "geometry/viewdir.h"

#include "base/CMavMatrix3d.h"
#include "base/g_vl.h"
#include "data/outlines.h"

namespace {

struct NamedDirection {
    const wchar_t* name;
    CMavVector3d dir;
};

// Looked up in this order. "O" and "W" name where the viewer stands as the library's hosts have always used them:
// "O" looks along +X (direction -X), "W" along -X (direction +X).
const NamedDirection kDirections[] = {
    {L"SW", {-1.0, -1.0, 1.0}}, {L"SO", {1.0, -1.0, 1.0}}, {L"NO", {1.0, 1.0, 1.0}},
    {L"NW", {-1.0, 1.0, 1.0}},  {L"N", {0.0, 1.0, 0.0}},   {L"S", {0.0, -1.0, 0.0}},
    {L"O", {-1.0, 0.0, 0.0}},   {L"W", {1.0, 0.0, 0.0}},   {L"P", {0.0, 0.0, 1.0}},
};

} // namespace

CMavVector3d mav_gdx_view_vdir_get(const CMavString& name)
{
    for (const NamedDirection& d : kDirections)
        if (name == d.name)
            return d.dir;
    return CMavVector3d();
}

CMavVertexArray mav_g_vl_mtx_view(const CMavVertexArray& polyline, CMavVector3d direction, CMavPoint3d point,
                                  bool upright)
{
    CMavVertexArray view = polyline.getTransformedCopy(MAV::g_mtx_view(direction, point, upright));
    for (CMavVertex& v : view)
        v = MAV::g_vx_xy(v);
    return view;
}
