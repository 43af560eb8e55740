// Solids: the solid map, the drill body built from data and its edges seen in a view.
#include <gtest/gtest.h>

#include <cmath>

#include "data/CMavDataItem.h"
#include "data/solids.h"

namespace {

CMavMatrix3d viewSystem(const CMavVector3d& x, const CMavVector3d& z)
{
    const CMavVector3d xn = x.normal(), zn = z.normal();
    CMavMatrix3d m;
    m.setCoordSystem(CMavPoint3d(), xn, zn.crossProduct(xn), zn);
    return m;
}

int segments(const CMavArrayTempl<CMavVertexArrayEx>& list)
{
    int n = 0;
    for (const CMavVertexArrayEx& pl : list)
        n += pl.len();
    return n;
}

} // namespace

TEST(Solids, MapNumbersAreReusedAndBounded)
{
    const int before = MAV::solidMapCount();
    long a = 0, b = 0, c = 0, id = 0;
    ASSERT_TRUE(MAV::newSolidFromMap(a) && MAV::newSolidFromMap(b));
    EXPECT_TRUE(a != b && a >= 1);
    MAV::CSolid* s = nullptr;
    EXPECT_TRUE(MAV::getSolidFromMap(s, a) && s != nullptr);
    EXPECT_TRUE(MAV::removeSolidFromMap(a));
    EXPECT_FALSE(MAV::removeSolidFromMap(a) || MAV::getSolidFromMap(s, a));
    ASSERT_TRUE(MAV::newSolidFromMap(c));
    EXPECT_EQ(c, a); // the smallest free number again
    CMavArrayTempl<long> ids{b, c};
    while (MAV::newSolidFromMap(id))
        ids.append(id);
    EXPECT_EQ(MAV::solidMapCount(), MAV::kMaxSolids);
    for (long i : ids)
        MAV::removeSolidFromMap(i);
    EXPECT_EQ(MAV::solidMapCount(), before);
}

TEST(Solids, DrillBodyFromDataAndItsEdgesInViews)
{
    // {diameter, depth, tip angle, faces, lowest z, highest z}: a flat bottom, or a cone of half angle 45 degrees
    // as deep as the radius, placed 100 up; no diameter, a negative depth or a diameter that is not a number give
    // nothing.
    MAV::CSolid s;
    CMavDataDir drill;
    EXPECT_FALSE(mavObjModel(&s, &drill));
    const double rows[][6] = {{10, -1, 0, 0, 0, 0}, {std::nan(""), 20, 0, 0, 0, 0}, {10, 20, 90, 65, 75, 100},
                              {10, 20, 0, 34, -20, 0}};
    for (const auto& r : rows) {
        drill.setAt(L"DIA", r[0]);
        drill.setAt(L"DEPTH", r[1]);
        if (r[2] > 0) {
            drill.setAt(L"TIP", r[2]);
            drill.setAt(L"MTX", CMavMatrix3d::translation(CMavVector3d(0, 0, 100)));
        } else {
            drill.remove(L"TIP");
            drill.remove(L"MTX");
        }
        ASSERT_EQ(mavObjModel(&s, &drill), r[3] > 0) << r[0] << " " << r[1];
        EXPECT_EQ(s.faceCount(), r[3]);
        CMavPoint3d mn, mx;
        if (r[3] > 0) {
            ASSERT_TRUE(s.extents(mn, mx));
            EXPECT_TRUE(std::fabs(mn.z - r[4]) + std::fabs(mx.z - r[5]) + std::fabs(mn.y + 5) < 1e-9) << r[2];
        }
    }
    EXPECT_EQ(s.vertexCount(), 64);

    // From above: the top circle, joined into one closed polyline; the bottom circle is hidden, and only reported
    // in the mode that asks for hidden edges.
    CMavArrayTempl<CMavVertexArrayEx> visible, hidden;
    s.edgePrepare();

    s.edgeMode(1);
    EXPECT_EQ(s.edgeGet(CMavMatrix3d::kIdentity, 0, visible, hidden, 1), 1);
    ASSERT_EQ(visible.len() * 10 + hidden.len(), 11);
    EXPECT_TRUE(visible[0].len() == 32 && visible[0].isClosed() && visible[0].kind == 0);
    EXPECT_NEAR(hidden[0][0].start.z, -20.0, 1e-12);
    s.edgeMode(0);
    s.edgeGet(CMavMatrix3d::kIdentity, 0, visible, hidden, 1);
    EXPECT_EQ(hidden.len(), 0);
    // From the front (looking along +Y): the near halves of both circles as lines and the two outlines of the
    // curved side at 0 and 180 degrees; in view coordinates the top lies at y = 0 and the bottom at y = -20.
    const CMavMatrix3d front = viewSystem(CMavVector3d(1, 0, 0), CMavVector3d(0, -1, 0));
    s.edgeGet(front, 0, visible, hidden, 1);
    ASSERT_EQ(visible.len(), 4);
    EXPECT_EQ(segments(visible), 16 + 16 + 1 + 1);
    int outlines = 0;
    for (const CMavVertexArrayEx& pl : visible) {
        CMavPoint3d mn, mx;
        ASSERT_TRUE(pl.extents(mn, mx));
        outlines += pl.kind == 1;
        if (pl.kind == 1)
            EXPECT_TRUE(std::fabs(std::fabs(mn.x) - 5) + std::fabs(mn.y + 20) + std::fabs(mx.y) < 1e-9);
        else
            EXPECT_NEAR(mx.y - mn.y, 0.0, 1e-12); // a circle seen edge-on
    }
    EXPECT_EQ(outlines, 2);
    s.edgeGet(front, 0, visible, hidden, 0); // without joining every edge is its own polyline
    EXPECT_EQ(visible.len(), 34);
    // The diagonal view of the drill generator sees the top circle whole and part of the bottom one.
    s.edgeMode(1);
    s.edgeGet(viewSystem(CMavVector3d(1, 1, 0), CMavVector3d(1, -1, 1)), 0, visible, hidden, 1);
    EXPECT_GE(segments(visible), 32 + 2);
    EXPECT_GT(segments(hidden), 0);
    EXPECT_EQ(segments(visible) + segments(hidden), 32 + 32 + 2);
    EXPECT_FALSE(mavObjModel(nullptr, &drill) || mavObjModel(&s, nullptr));

    // Faces need three known corners. A single triangle's edges are visible from the side its normal faces.
    MAV::CSolid t;
    t.addVertex(CMavPoint3d(0, 0, 0));
    t.addVertex(CMavPoint3d(1, 0, 0));
    EXPECT_FALSE(t.addFace(CMavArrayTempl<int>{0, 1}) || t.addFace(CMavArrayTempl<int>{0, 1, 2}));
    t.addVertex(CMavPoint3d(0, 1, 0));
    EXPECT_TRUE(t.addFace(CMavArrayTempl<int>{0, 1, 2}));
    t.edgeMode(1);
    EXPECT_EQ(t.edgeGet(CMavMatrix3d::kIdentity, 0, visible, hidden, 1), 1);
    EXPECT_EQ(visible[0].len(), 3);
    EXPECT_EQ(t.edgeGet(viewSystem(CMavVector3d(1, 0, 0), CMavVector3d(0, 0, -1)), 0, visible, hidden, 1), 0);
    EXPECT_EQ(segments(hidden), 3);

    // A square facing the viewer with a face turned away hanging from its right edge: the square's edges make one
    // closed line; the other face's three free edges one hidden line from (1,1) round to (1,0), although the first
    // of them lies in its middle.
    MAV::CSolid fold;
    for (const CMavPoint3d& p : {CMavPoint3d(0, 0, 0), CMavPoint3d(1, 0, 0), CMavPoint3d(1, 1, 0), CMavPoint3d(0, 1, 0),
                                 CMavPoint3d(2, 0, -1), CMavPoint3d(2, 1, -1)})
        fold.addVertex(p);
    ASSERT_TRUE(fold.addFace(CMavArrayTempl<int>{0, 1, 2, 3}) && fold.addFace(CMavArrayTempl<int>{5, 4, 1, 2}));
    fold.edgeMode(1);
    EXPECT_EQ(fold.edgeGet(CMavMatrix3d::kIdentity, 0, visible, hidden, 1), 1);
    EXPECT_TRUE(visible[0].len() == 4 && visible[0].isClosed());
    ASSERT_EQ(hidden.len(), 1);
    ASSERT_EQ(hidden[0].len(), 3);
    const CMavPoint3d path[] = {{1, 1, 0}, {2, 1, -1}, {2, 0, -1}, {1, 0, 0}};
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(hidden[0][i].start == path[i] && hidden[0][i].end == path[i + 1]) << i;
}
