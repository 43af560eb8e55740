// Drawing order and the hit test.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gdx/CMavGDX.h"
#include "gdx_test_util.h"

using namespace gdxtest;

namespace {

// Adds an item named by its first path entry.
void addNamed(CMavGDX& g, MavDisplayObj kind, int cmode, int name)
{
    const unsigned long flags = static_cast<unsigned long>(cmode) << 8;
    if (kind == kDispRegion)
        addRect(g, {name}, 0, 0, 1, 1, flags);
    else if (kind == kDispPoint)
        addPoint(g, {name}, 0, 0, flags);
    else if (kind == kDispPicture)
        g.imagePicture(path({name}), flags, L"p", 1, CMavPoint3d(), CMavPoint3d(1, 1, 0));
    else
        addLine(g, {name}, 0, 0, 1, 1, flags);
}

std::vector<int> names(const CMavGDX& g)
{
    std::vector<int> out;
    for (const CMavDisplayItem& it : g.getDisplayList())
        out.push_back(it.m_stack[0]);
    return out;
}

} // namespace

TEST(CMavGDXOrder, RegionsFirstThenLinesReferenceHighlightAndPicturesLast)
{
    CMavGDX g = plainList();
    addNamed(g, kDispPolyline, 1, 1); // highlighted polyline
    addNamed(g, kDispRegion, 0, 2);   // normal region
    addNamed(g, kDispPicture, 0, 3);  // picture
    addNamed(g, kDispPoint, 2, 4);    // reference point
    addNamed(g, kDispPolyline, 0, 5); // normal polyline
    addNamed(g, kDispRegion, 1, 6);   // highlighted region
    g.displListSort();
    EXPECT_EQ(names(g), (std::vector<int>{2, 5, 4, 6, 1, 3}));

    // Modes 3 and up sort with the normal items; a highlighted picture still goes last; the sort is stable.
    CMavGDX m = plainList();
    const int items[][3] = {{kDispPicture, 1, 1}, {kDispPolyline, 15, 2}, {kDispPolyline, 2, 3}, {kDispRegion, 3, 4},
                            {kDispRegion, 2, 5},  {kDispPolyline, 0, 6},  {kDispRegion, 0, 7},   {kDispPolyline, 1, 8},
                            {kDispPolyline, 0, 9}};
    for (const auto& it : items)
        addNamed(m, static_cast<MavDisplayObj>(it[0]), it[1], it[2]);
    m.displListSort();
    EXPECT_EQ(names(m), (std::vector<int>{4, 7, 2, 6, 9, 3, 5, 8, 1}));
    const CMavDisplayItem* storage = m.getDisplayList().data();
    m.displListSort();
    EXPECT_EQ(m.getDisplayList().data(), storage); // already in order: not rebuilt

    // The remembered boxes follow their items through a reorder.
    CMavGDX e = plainList();
    addLine(e, {1}, 0, 0, 1, 1, 0x100);
    addLine(e, {2}, 5, 5, 6, 6, 0x8);
    e.displListSort();
    EXPECT_TRUE(e.propSet(path({1}), 3));
    CMavPoint3d lo, hi;
    e.extmaxGet(lo, hi);
    EXPECT_EQ(hi, CMavPoint3d(1, 1, 0));
}

TEST(CMavGDXOrder, HitTestFindsTheTopmostItemWithinFiveWorldUnits)
{
    EXPECT_EQ(plainList().imageItemGet(CMavPoint3d()), -1);
    CMavGDX p = plainList();
    addPoint(p, {4, 7}, 0, 0, 0, CMavMatrix3d::translation(CMavVector3d(10, 0, 0)));
    EXPECT_EQ(p.imageItemGet(CMavPoint3d(10, 4.9, 0)), 4);
    EXPECT_EQ(p.imageItemGet(CMavPoint3d(10, 5.1, 0)), -1);
    EXPECT_EQ(p.imageItemGet(CMavPoint3d(10, 0, 5.0)), 4); // three-dimensional distance

    // Three polylines in drawing order a, b, c come out reversed.
    CMavGDX r = plainList();
    for (int n = 1; n <= 3; ++n)
        addNamed(r, kDispPolyline, 0, n);
    EXPECT_EQ(r.imageItemGet(CMavPoint3d(500, 500, 0)), -1);
    EXPECT_EQ(names(r), (std::vector<int>{3, 2, 1}));

    // Overlapping items: the one drawn last wins (a highlighted line over a highlighted region over a normal line).
    CMavGDX o = plainList();
    addLine(o, {2}, 0, 0, 100, 0, 0x100);
    addLine(o, {3}, 0, 1, 100, 1);
    addRect(o, {5}, -50, -50, 150, 4, 0x100);
    EXPECT_EQ(o.imageItemGet(CMavPoint3d(50, 2, 0)), 2);
    EXPECT_EQ(o.imageItemGet(CMavPoint3d(50, 8, 0)), 5);   // the region's edge only
    EXPECT_EQ(o.imageItemGet(CMavPoint3d(-54, -20, 0)), 5);
    EXPECT_EQ(o.imageItemGet(CMavPoint3d(50, 20, 0)), -1);
    EXPECT_EQ(o.imageItemGet(CMavPoint3d(104, 0, 0)), 2);  // beyond a segment's end its end point counts
    EXPECT_EQ(o.imageItemGet(CMavPoint3d(156, 0, 0)), -1);
    // A segment high above the plane is judged about its own middle; five units from it is still a hit.
    CMavGDX v = plainList();
    addVl(v, {8}, CMavVertexArray::fromPoints(CMavArrayTempl<CMavPoint3d>{{0, 0, 100}, {10, 0, 100}}, false));
    EXPECT_EQ(v.imageItemGet(CMavPoint3d(5, 0, 103)), 8);
    EXPECT_EQ(v.imageItemGet(CMavPoint3d(5, 0, 105)), 8);

    // The tolerance is in world units: with a zoom of 10 an image distance of 40 is 4 in the world.
    CMavGDX z = plainList();
    addPoint(z, {9}, 0, 0);
    z.zoomMtxSet(CMavMatrix3d::scaling(10.0));
    EXPECT_EQ(z.imageItemGet(CMavPoint3d(40, 0, 0)), 9);
    EXPECT_EQ(z.imageItemGet(CMavPoint3d(60, 0, 0)), -1);

    // A wide arc (bulge 3) placed ten times larger: its far side, 30 units from the chord, is hit.
    CMavGDX w = plainList();
    CMavVertexArray arc;
    arc.append(CMavPoint3d(0, 0, 0), CMavPoint3d(2, 0, 0), 3.0);
    const CMavMatrix3d tenfold = CMavMatrix3d::scaling(10.0);
    w.imageVl(path({6}), 0, arc, CMavColor(), tenfold, CMavArrayTempl<double>(), 0, 0);
    const CMavPoint3d apex = arc.getTransformedCopy(tenfold)[0].mid();
    ASSERT_NEAR(std::fabs(apex.y), 30.0, 1e-9);
    const double away = apex.y > 0 ? 1.0 : -1.0;
    EXPECT_EQ(w.imageItemGet(CMavPoint3d(apex.x, apex.y + away * 4.9, 0)), 6);
    EXPECT_EQ(w.imageItemGet(CMavPoint3d(apex.x, apex.y + away * 5.1, 0)), -1);
    EXPECT_EQ(w.imageItemGet(CMavPoint3d(10, 0, 0)), -1); // the chord is not part of the arc

    // Hidden items are hit, pictures never; an empty path reads as 0.
    CMavGDX h = plainList();
    h.imagePicture(path({8}), 0, L"p", 1, CMavPoint3d(-10, -10, 0), CMavPoint3d(10, 10, 0));
    addLine(h, {}, -10, 0, 10, 0, 0x4 | 0x8);
    EXPECT_EQ(h.imageItemGet(CMavPoint3d(0, 1, 0)), 0);
    EXPECT_EQ(h.imageItemGet(CMavPoint3d(-10, -10, 0)), -1);
}
