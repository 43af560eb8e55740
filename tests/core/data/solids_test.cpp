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
    long a = 0, b = 0, c = 0;
    ASSERT_TRUE(MAV::newSolidFromMap(a) && MAV::newSolidFromMap(b));
    EXPECT_NE(a, b);
    EXPECT_GE(a, 1);
    MAV::CSolid* s = nullptr;
    EXPECT_TRUE(MAV::getSolidFromMap(s, a));
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(MAV::removeSolidFromMap(a));
    EXPECT_FALSE(MAV::removeSolidFromMap(a));
    EXPECT_FALSE(MAV::getSolidFromMap(s, a));
    ASSERT_TRUE(MAV::newSolidFromMap(c));
    EXPECT_EQ(c, a); // the smallest free number again
    MAV::removeSolidFromMap(b);
    MAV::removeSolidFromMap(c);
    CMavArrayTempl<long> ids;
    long id = 0;
    while (MAV::newSolidFromMap(id))
        ids.append(id);
    EXPECT_EQ(MAV::solidMapCount(), MAV::kMaxSolids);
    for (long i : ids)
        MAV::removeSolidFromMap(i);
    EXPECT_EQ(MAV::solidMapCount(), before);
}

TEST(Solids, DrillBodyFromDataAndFacesAreChecked)
{
    MAV::CSolid s;
    CMavDataDir drill;
    EXPECT_FALSE(mavObjModel(&s, &drill)); // no diameter
    drill.setAt(L"DIA", 10.0);
    drill.setAt(L"DEPTH", -1.0);
    EXPECT_FALSE(mavObjModel(&s, &drill));
    EXPECT_TRUE(s.isEmpty());
    drill.setAt(L"DEPTH", 20.0);
    ASSERT_TRUE(mavObjModel(&s, &drill));
    EXPECT_EQ(s.vertexCount(), 64);
    EXPECT_EQ(s.faceCount(), 34);
    CMavPoint3d mn, mx;
    ASSERT_TRUE(s.extents(mn, mx));
    EXPECT_NEAR(mn.z, -20.0, 1e-12);
    EXPECT_NEAR(mn.y, -5.0, 1e-12);
    EXPECT_NEAR(mx.x, 5.0, 1e-12);

    drill.setAt(L"TIP", 90.0); // a cone of half angle 45 degrees: as deep as the radius
    drill.setAt(L"MTX", CMavMatrix3d::translation(CMavVector3d(0, 0, 100)));
    ASSERT_TRUE(mavObjModel(&s, &drill));
    EXPECT_EQ(s.faceCount(), 1 + 32 + 32);
    ASSERT_TRUE(s.extents(mn, mx));
    EXPECT_NEAR(mn.z, 100.0 - 25.0, 1e-9);
    EXPECT_NEAR(mx.z, 100.0, 1e-12);
    EXPECT_FALSE(mavObjModel(nullptr, &drill));
    EXPECT_FALSE(mavObjModel(&s, nullptr));
    drill.setAt(L"DIA", std::nan(""));
    EXPECT_FALSE(mavObjModel(&s, &drill));

    // Faces need three known corners. A single triangle's edges are visible from the side its normal faces.
    MAV::CSolid t;
    t.addVertex(CMavPoint3d(0, 0, 0));
    t.addVertex(CMavPoint3d(1, 0, 0));
    EXPECT_FALSE(t.addFace(CMavArrayTempl<int>{0, 1}));
    EXPECT_FALSE(t.addFace(CMavArrayTempl<int>{0, 1, 2}));
    t.addVertex(CMavPoint3d(0, 1, 0));
    EXPECT_TRUE(t.addFace(CMavArrayTempl<int>{0, 1, 2}));
    CMavArrayTempl<CMavVertexArrayEx> visible, hidden;
    t.edgeMode(1);
    EXPECT_EQ(t.edgeGet(CMavMatrix3d::kIdentity, 0, visible, hidden, 1), 1);
    EXPECT_EQ(visible[0].len(), 3);
    EXPECT_EQ(t.edgeGet(viewSystem(CMavVector3d(1, 0, 0), CMavVector3d(0, 0, -1)), 0, visible, hidden, 1), 0);
    EXPECT_EQ(segments(hidden), 3);
}

TEST(Solids, EdgesSeenFromAboveFromTheFrontAndDiagonally)
{
    MAV::CSolid s;
    CMavDataDir drill;
    drill.setAt(L"DIA", 10.0);
    drill.setAt(L"DEPTH", 20.0);
    ASSERT_TRUE(mavObjModel(&s, &drill));
    CMavArrayTempl<CMavVertexArrayEx> visible, hidden;

    // From above: the top circle, joined into one closed polyline; the bottom circle is hidden, and only
    // reported in the mode that asks for hidden edges.
    s.edgePrepare();
    s.edgeMode(1);
    EXPECT_EQ(s.edgeGet(CMavMatrix3d::kIdentity, 0, visible, hidden, 1), 1);
    ASSERT_EQ(visible.len(), 1);
    EXPECT_EQ(visible[0].len(), 32);
    EXPECT_TRUE(visible[0].isClosed());
    EXPECT_EQ(visible[0].kind, 0);
    ASSERT_EQ(hidden.len(), 1);
    EXPECT_NEAR(hidden[0][0].start.z, -20.0, 1e-12);
    s.edgeMode(0);
    s.edgeGet(CMavMatrix3d::kIdentity, 0, visible, hidden, 1);
    EXPECT_EQ(hidden.len(), 0);

    // From the front (looking along +Y): the near halves of both circles as lines and the two outlines of the
    // curved side; in view coordinates the top lies at y = 0 and the bottom at y = -20.
    const CMavMatrix3d front = viewSystem(CMavVector3d(1, 0, 0), CMavVector3d(0, -1, 0));
    s.edgeGet(front, 0, visible, hidden, 1);
    ASSERT_EQ(visible.len(), 4);
    EXPECT_EQ(segments(visible), 16 + 16 + 1 + 1);
    int outlines = 0;
    for (const CMavVertexArrayEx& pl : visible) {
        CMavPoint3d mn, mx;
        ASSERT_TRUE(pl.extents(mn, mx));
        if (pl.kind == 1) {
            ++outlines;
            EXPECT_NEAR(std::fabs(mn.x), 5.0, 1e-9); // the side edges at 0 and 180 degrees
            EXPECT_NEAR(mn.y, -20.0, 1e-12);
            EXPECT_NEAR(mx.y, 0.0, 1e-12);
        } else {
            EXPECT_NEAR(mx.y - mn.y, 0.0, 1e-12); // a circle seen edge-on
        }
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
}
