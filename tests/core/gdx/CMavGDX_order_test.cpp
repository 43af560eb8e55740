// The hit test at its tolerance; against a plain version on random lists in CMavGDX_random_test.cpp.
#include <gtest/gtest.h>

#include "gdx/CMavGDX.h"
#include "gdx_test_util.h"

using namespace gdxtest;

// The first item within five world units of the point, in reversed drawing order; points by distance in space,
// segments by their foot, arcs on their curve; pictures never, hidden items too.
TEST(CMavGDXOrder, HitTestFindsTheTopmostItemWithinFiveWorldUnits)
{
    EXPECT_EQ(plainList().imageItemGet(CMavPoint3d()), -1);
    CMavGDX p = plainList();
    addPoint(p, {4, 7}, 0, 0, 0, CMavMatrix3d::translation(CMavVector3d(10, 0, 0)));
    EXPECT_EQ(p.imageItemGet(CMavPoint3d(10, 4.9, 0)), 4);
    EXPECT_EQ(p.imageItemGet(CMavPoint3d(10, 5.1, 0)), -1);
    EXPECT_EQ(p.imageItemGet(CMavPoint3d(10, 0, 5.0)), 4);

    CMavGDX o = plainList();
    addLine(o, {2}, 0, 0, 100, 0, 0x100);
    addLine(o, {3}, 0, 1, 100, 1);
    addRegion(o, {5}, {rect(-50, -50, 150, 4)}, 0x100);
    EXPECT_EQ(o.imageItemGet(CMavPoint3d(50, 2, 0)), 2);
    EXPECT_EQ(o.imageItemGet(CMavPoint3d(50, 8, 0)), 5);  // the region's edge only
    EXPECT_EQ(o.imageItemGet(CMavPoint3d(104, 0, 0)), 2); // beyond a segment's end its end point counts
    EXPECT_EQ(o.imageItemGet(CMavPoint3d(156, 0, 0)), -1);
    CMavGDX two = plainList(); // two items alike: the one drawn last is on top
    addLine(two, {6}, 0, 0, 10, 0);
    addLine(two, {7}, 0, 0, 10, 0);
    EXPECT_EQ(two.imageItemGet(CMavPoint3d(5, 0, 0)), 7);
    // A segment high above the plane is judged about its own middle: exactly five units from it is a hit.
    CMavGDX v = plainList();
    v.imageVl(path({8}), 0, CMavVertexArray::fromPoints(CMavArrayTempl<CMavPoint3d>{{0, 0, 100}, {10, 0, 100}}),
              CMavColor(), CMavMatrix3d(), CMavArrayTempl<double>(), 0, 0);
    EXPECT_EQ(v.imageItemGet(CMavPoint3d(5, 0, 105)), 8);
    EXPECT_EQ(v.imageItemGet(CMavPoint3d(5, 0, 105.01)), -1);

    CMavGDX h = plainList();
    h.imagePicture(path({8}), 0, L"p", 1, CMavPoint3d(-10, -10, 0), CMavPoint3d(10, 10, 0));
    addLine(h, {}, -10, 0, 10, 0, 0x4 | 0x8);
    EXPECT_EQ(h.imageItemGet(CMavPoint3d(0, 1, 0)), 0); // an empty path reads as 0
    EXPECT_EQ(h.imageItemGet(CMavPoint3d(-10, -10, 0)), -1);
}
