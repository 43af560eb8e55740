// Drawing order and the hit test.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gdx/CMavGDX.h"
#include "gdx_test_util.h"

using namespace gdxtest;

namespace {

// The thickness of each item serves as its name in these tests.
void addNamed(CMavGDX& g, MavDisplayObj kind, int cmode, int name, std::initializer_list<int> stack = {1})
{
    const unsigned long flags = static_cast<unsigned long>(cmode) << 8;
    if (kind == kDispRegion) {
        CMavArrayTempl<CMavVertexArray> regions;
        regions.append(rect(0, 0, 1, 1));
        g.imageReg(path(stack), flags, regions, CMavColor(), CMavMatrix3d(), CMavArrayTempl<double>(), 0,
                   static_cast<unsigned long>(name), CMavColor(), MAV::CHatchProp());
    } else if (kind == kDispPoint) {
        g.imagePt(path(stack), flags, CMavPoint3d(), CMavColor(), CMavMatrix3d(), 0.0, 0xFFFFFFFFul);
    } else if (kind == kDispPicture) {
        g.imagePicture(path(stack), flags, L"p", name, CMavPoint3d(), CMavPoint3d(1, 1, 0));
    } else {
        g.imageVl(path(stack), flags, line(0, 0, 1, 1), CMavColor(), CMavMatrix3d(), CMavArrayTempl<double>(), 0,
                  static_cast<unsigned long>(name));
    }
}

// Names in list order: the thickness, or for points and pictures the point mode read back.
std::vector<int> names(const CMavGDX& g)
{
    std::vector<int> out;
    for (int i = 0; i < g.lenGet(); ++i) {
        const CMavDisplayItem& it = g.getDisplayList()[i];
        out.push_back(it.m_kind == kDispPicture ? static_cast<int>(it.m_pdMode)
                      : it.m_kind == kDispPoint ? it.m_stack[0]
                                                : it.m_thickness);
    }
    return out;
}

} // namespace

TEST(CMavGDXOrder, RegionsFirstThenLinesReferenceHighlightAndPicturesLast)
{
    CMavGDX g = plainList();
    addNamed(g, kDispPolyline, 1, 1);     // highlighted polyline
    addNamed(g, kDispRegion, 0, 2);       // normal region
    addNamed(g, kDispPicture, 0, 3);      // picture
    addNamed(g, kDispPoint, 2, 4, {4});   // reference point (named by its path)
    addNamed(g, kDispPolyline, 0, 5);     // normal polyline
    addNamed(g, kDispRegion, 1, 6);       // highlighted region
    g.displListSort();
    EXPECT_EQ(names(g), (std::vector<int>{2, 5, 4, 6, 1, 3}));

    // Modes 3 and up sort with the normal items; a highlighted picture still goes last.
    CMavGDX m = plainList();
    addNamed(m, kDispPicture, 1, 1);
    addNamed(m, kDispPolyline, 15, 2);
    addNamed(m, kDispPolyline, 2, 3);
    addNamed(m, kDispRegion, 3, 4);
    addNamed(m, kDispRegion, 2, 5);
    addNamed(m, kDispPolyline, 0, 6);
    addNamed(m, kDispRegion, 0, 7);
    m.displListSort();
    EXPECT_EQ(names(m), (std::vector<int>{4, 7, 2, 6, 3, 5, 1}));
}

TEST(CMavGDXOrder, SortIsStableAndLeavesAnOrderedListAlone)
{
    CMavGDX g = plainList();
    addNamed(g, kDispPolyline, 0, 1);
    addNamed(g, kDispPolyline, 1, 2);
    addNamed(g, kDispPolyline, 0, 3);
    addNamed(g, kDispPolyline, 1, 4);
    addNamed(g, kDispPolyline, 0, 5);
    g.displListSort();
    EXPECT_EQ(names(g), (std::vector<int>{1, 3, 5, 2, 4}));
    const CMavDisplayItem* storage = g.getDisplayList().data();
    g.displListSort();
    EXPECT_EQ(g.getDisplayList().data(), storage); // not rebuilt
    EXPECT_EQ(names(g), (std::vector<int>{1, 3, 5, 2, 4}));

    // The extents follow the items, not their numbers: a reorder and a recomputation agree.
    CMavGDX e = plainList();
    addLine(e, {1}, 0, 0, 1, 1, 0x100);
    addLine(e, {2}, 5, 5, 6, 6, 0x8);
    e.displListSort();
    EXPECT_TRUE(e.propSet(path({1}), 3));
    CMavPoint3d lo, hi;
    e.extmaxGet(lo, hi);
    EXPECT_EQ(lo, CMavPoint3d(0, 0, 0));
    EXPECT_EQ(hi, CMavPoint3d(1, 1, 0));
}

TEST(CMavGDXOrder, HitTestFindsTheTopmostItemWithinFiveWorldUnits)
{
    CMavGDX empty = plainList();
    EXPECT_EQ(empty.imageItemGet(CMavPoint3d()), -1);

    CMavGDX p = plainList();
    addPoint(p, {4, 7}, 0, 0, 0, CMavMatrix3d::translation(CMavVector3d(10, 0, 0)));
    EXPECT_EQ(p.imageItemGet(CMavPoint3d(10, 4.9, 0)), 4);
    EXPECT_EQ(p.imageItemGet(CMavPoint3d(10, 5.1, 0)), -1);
    EXPECT_EQ(p.imageItemGet(CMavPoint3d(10, 0, 5.0)), 4); // three-dimensional distance, at most 5

    // Three polylines in drawing order a, b, c come out reversed.
    CMavGDX r = plainList();
    addNamed(r, kDispPolyline, 0, 1);
    addNamed(r, kDispPolyline, 0, 2);
    addNamed(r, kDispPolyline, 0, 3);
    EXPECT_EQ(r.imageItemGet(CMavPoint3d(500, 500, 0)), -1);
    EXPECT_EQ(names(r), (std::vector<int>{3, 2, 1}));

    // Overlapping items: the one drawn last wins (highlight over normal, even when added first).
    CMavGDX o = plainList();
    addLine(o, {2}, 0, 0, 100, 0, 0x100);
    addLine(o, {3}, 0, 1, 100, 1);
    CMavArrayTempl<CMavVertexArray> regions;
    regions.append(rect(-50, -50, 150, 4));
    o.imageReg(path({5}), 0x100, regions, CMavColor(), CMavMatrix3d(), CMavArrayTempl<double>(), 0, 0, CMavColor(),
               MAV::CHatchProp());
    EXPECT_EQ(o.imageItemGet(CMavPoint3d(50, 2, 0)), 2);
    // The region's outline is hit by its edge only (y = 4 is within 5 of y = 8).
    EXPECT_EQ(o.imageItemGet(CMavPoint3d(50, 8, 0)), 5);
    EXPECT_EQ(o.imageItemGet(CMavPoint3d(-54, -20, 0)), 5);
    EXPECT_EQ(o.imageItemGet(CMavPoint3d(50, 20, 0)), -1);
    // Beyond the end of a segment the end point counts.
    EXPECT_EQ(o.imageItemGet(CMavPoint3d(104, 0, 0)), 2);
    EXPECT_EQ(o.imageItemGet(CMavPoint3d(156, 0, 0)), -1);

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

    // Hidden items and pictures: the first are hit, the second never; an empty path reads as 0.
    CMavGDX h = plainList();
    h.imagePicture(path({8}), 0, L"p", 1, CMavPoint3d(-10, -10, 0), CMavPoint3d(10, 10, 0));
    addLine(h, {}, -10, 0, 10, 0, 0x4 | 0x8);
    EXPECT_EQ(h.imageItemGet(CMavPoint3d(0, 1, 0)), 0);
    EXPECT_EQ(h.imageItemGet(CMavPoint3d(-10, -10, 0)), -1);
}
