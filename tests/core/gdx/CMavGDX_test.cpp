// The display list: creation and access, colour table and flags, groups, a group's matrix, removal, the quick
// extents update and bad input; the bulk operations against plain versions are in CMavGDX_random_test.cpp.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <limits>

#include "gdx/CMavGDX.h"
#include "gdx_test_util.h"

using namespace gdxtest;

namespace
{

// Opens the protected per-item operations.
class OpenGDX : public CMavGDX
{
  public:
    OpenGDX() : CMavGDX(CMavColor(), CMavMatrix3d(), 0.0, 0, CMavPoint3d(), CMavPoint3d()) {}
    using CMavGDX::cFlagSet;
    using CMavGDX::flagSet;
    using CMavGDX::removeItem;
};

} // namespace

// Copies are deep; the point mode is a 32-bit word; items keep the caller's values, an empty pattern stored as
// solid; numbers outside the list read a default item with the list's point style, negative ones count from the
// end; fill colours only for filled or hatched regions; pictures keep file and icon (0x7FFFFFFF: none).
TEST(CMavGDX, ConstructionCopyCreationAndAccess)
{
    CMavGDX g(CMavColor(5), CMavMatrix3d::scaling(2.0), 3.0, ~0ul, {-1, -2, 0}, {3, 4, 0});
    CMavPoint3d lo, hi;
    g.extMaxViewGet(lo, hi);
    EXPECT_TRUE(g.pdModeGet() == 0xFFFFFFFFul && g.ColorTabLenGet() == 0 && hi == CMavPoint3d(3, 4, 0));
    g.imageVl(path({1, 2}), 0x1234, line(0, 0, 1, 1), CMavColor(7), CMavMatrix3d(), CMavArrayTempl<double>(), 2, 3);
    g.ColorTabSet(GDX_CMODE_REFER, CMavColor(3));
    CMavGDX copy(g);
    addLine(copy, {2}, 5, 5, 6, 6);
    copy.ColorTabSet(GDX_CMODE_REFER, CMavColor(4));
    EXPECT_TRUE(g.lenGet() == 1 && g.colorTabGet(GDX_CMODE_REFER) == CMavColor(3));
    expectExtents(g, {0, 0, 0}, {2, 2, 0});
    EXPECT_EQ(g.linetypeGet(0), CMavArrayTempl<double>({1.0}));
    g.imagePt(path({2}), 0x4, CMavPoint3d(2, 3, 4), CMavColor(), CMavMatrix3d(), 4.0, 33);
    EXPECT_TRUE(g.pdModeGet(1) == 33ul && g.pdSizeGet(1) == 4.0);
    EXPECT_TRUE(g.typeGet(2) == kDispNone && g.pdSizeGet(2) == 3.0 && g.typeGet(-1) == kDispPoint);
    EXPECT_TRUE(g.flagGet(-2) == 0x1234ul && g.typeGet(-3) == kDispNone);
    MAV::CHatchProp h;
    EXPECT_FALSE(g.hatchGet(-1, h));
    const int fills[][3] = {{0x0, 2, -2}, {0x1, 2, 2}, {0x2, -1, 1}}; // flags, fill, stored (-2: none)
    for (const auto& f : fills) {
        g.imageReg(path({3}), static_cast<unsigned long>(f[0]), CMavArrayTempl<CMavVertexArray>{rect(0, 0, 1, 1)},
                   CMavColor(1), CMavMatrix3d(), CMavArrayTempl<double>(), 0, 0, CMavColor(f[1]),
                   MAV::CHatchProp(L"ANSI31"));
        EXPECT_EQ(g.fcolorGet(-1), f[2] == -2 ? CMavColor() : CMavColor(f[2])) << f[0];
    }
    ASSERT_TRUE(g.hatchGet(2, h));
    EXPECT_EQ(h.name, CMavString(L"ANSI31"));
    g.imagePicture(path({4}), 0, L"a.bmp", 12, {0, 0, 0}, {5, 5, 0});
    g.imagePicture(path({4}), 0, L"", 0x7FFFFFFF, {1, 1, 0}, {1, 1, 0});
    EXPECT_LE(sizeof(CMavDisplayItem), 160u); // half a million items of a large slide must fit in 150 MB
    CMavString name;
    int icon = 0;
    CMavVertexArray vl, none;
    g.geomGet(vl, 5);
    g.geomGet(none, 6);
    EXPECT_TRUE(g.pictureGet(5, name, icon) && name == L"a.bmp" && icon == 12 && !g.pictureGet(6, name, icon));
    EXPECT_TRUE(none.isEmpty() && vl.len() == 1 && vl[0].end == CMavPoint3d(5, 5, 0));
    EXPECT_TRUE(g.pictureGet(9, name, icon) && icon == -1); // a default item's 0xFFFFFFFF is not "no icon"
    g = copy;
    EXPECT_EQ(g.lenGet(), 2);
    expectExtents(g, {0, 0, 0}, {12, 12, 0});
}

// Colour modes 1 to 14 fill the table up to them, mode 0 reads the last entry; a colour mode replaces bits 8-11,
// keeps the low byte and clears the rest; property codes 4 and 9 set bits 3 and 6, codes 3, 10 and 1 clear bits 3,
// 6 and 2, code 11 changes nothing.
TEST(CMavGDX, ColourTableColourModesAndPropertyBits)
{
    OpenGDX g;
    EXPECT_FALSE(g.ColorTabSet(static_cast<GDX_CMODE>(15), CMavColor(1)) || g.ColorTabSet(GDX_CMODE_NORMAL, {}));
    EXPECT_TRUE(g.ColorTabSet(static_cast<GDX_CMODE>(9), CMavColor(30)) && g.ColorTabLenGet() == 9);
    for (int mode : {9, 0, 1, 12, std::numeric_limits<int>::min()})
        EXPECT_EQ(g.colorTabGet(static_cast<GDX_CMODE>(mode)), mode == 9 || mode == 0 ? CMavColor(30) : CMavColor());
    addLine(g, {5}, 0, 0, 1, 1, 0x1234);
    addLine(g, {5, 1}, 0, 0, 1, 1, 0xFFFFFFFF);
    addLine(g, {6}, 0, 0, 1, 1, 0x0);
    EXPECT_TRUE(g.cModeSet(path({5}), GDX_CMODE_AXIS));
    g.cFlagSet(2, static_cast<GDX_CMODE>(0x1F));
    EXPECT_EQ(listOf(g, &CMavGDX::flagGet), (std::vector<unsigned long>{0x334, 0x3FF, 0xF00}));
    const unsigned long codes[][2] = {{0, 4}, {1, 3}, {2, 9}, {2, 11}, {1, 10}, {1, 1}}; // item, code
    for (const auto& c : codes)
        g.flagSet(static_cast<int>(c[0]), c[1]);
    EXPECT_EQ(listOf(g, &CMavGDX::flagGet), (std::vector<unsigned long>{0x33C, 0x3B3, 0xF40}));
}

// Adding an item widens the extents, except that the first box after a point's replaces it; items left out of the
// extents and pictures do not count; a region counts with its first outline.
TEST(CMavGDX, QuickExtentsUpdateReplacesAPointBoxAndWidensOtherwise)
{
    CMavGDX g = plainList();
    addPoint(g, {1}, 2, 3);
    addLine(g, {1}, 0, 0, 1, 1);
    expectExtents(g, {0, 0, 0}, {1, 1, 0});
    addPoint(g, {1}, -4, 0.5);
    addLine(g, {1}, 100, 100, 200, 200, 0x8);
    g.imagePicture(path({1}), 0, L"x", 1, {-50, -50, 0}, {50, 50, 0});
    addRegion(g, {1}, {rect(0, 0, 1, 2), rect(10, 10, 11, 11)});
    expectExtents(g, {-4, 0, 0}, {1, 2, 0});
}

// redraw recomputes the extents once an item took a known code. A full recomputation takes copies added in bulk,
// the second matrix and the view direction; a text widens x and y by all its glyph regions but keeps the first
// region's depth; a picture has no box.
TEST(CMavGDX, RedrawAndFullRecomputation)
{
    CMavGDX g = plainList();
    addLine(g, {1}, 0, 0, 1, 1, 0x8); // left out of the extents
    addPoint(g, {2}, 5, 5);
    EXPECT_TRUE(g.redraw(path({}), 11));
    expectExtents(g, {5, 5, 0}, {5, 5, 0});
    EXPECT_TRUE(g.redraw(path({1}), 3));
    expectExtents(g, {0, 0, 0}, {5, 5, 0});
    CMavDisplayItem far, text, pic;
    far.m_kind = kDispPolyline;
    far.m_vl = line(10, 10, 11, 11);
    far.rareEdit().m_mtx2 = CMavMatrix3d::translation(CMavVector3d(0, 0, 5));
    text.m_kind = kDispText;
    for (const double q : {0.0, -3.0, 2.0}) { // corner of each glyph region, its depth three times that
        CMavVertexArray outline = rect(q, q, q + 1, q + 1);
        outline.transformBy(CMavMatrix3d::translation(CMavVector3d(0, 0, 3 * q)));
        text.rareEdit().m_txtRegl.append(CMavArrayTempl<CMavVertexArray>{outline});
    }

    pic.m_kind = kDispPicture;
    pic.m_vl = line(-100, -100, 100, 100);
    ASSERT_TRUE(g.addDisplayList(CMavArrayTempl<CMavDisplayItem>{far, text, pic}));
    expectExtents(g, {0, 0, 0}, {5, 5, 0}); // copies do not touch the extents
    g.projMtxSet(CMavMatrix3d());
    expectExtents(g, {-3, -3, 0}, {11, 11, 5});
    g.viewDirectionMtxSet(CMavMatrix3d::translation(CMavVector3d(1, 1, 1)));
    expectExtents(g, {-2, -2, 1}, {12, 12, 6});
}

// An item's rare part is copied deeply and read as defaults when absent (assigning a plain item drops it); the
// placement matrix keeps the bits it was given, -0.0 included, alone and in compound products.
TEST(CMavDisplayItem, RarePartCopiesDeeplyAndPlacementKeepsItsBits)
{
    CMavDisplayItem src;
    src.rareEdit().m_resText = L"kept";
    src.rareEdit().m_pdMode = 3;
    for (int o = 0; o < 3; ++o) {
        src.rareEdit().m_regl.append(rect(o, o, o + 2, o + 2));
        src.rareEdit().m_txtRegl.append(CMavArrayTempl<CMavVertexArray>{rect(o, 0, o + 1, 1)});
    }
    CMavDisplayItem copy(src);
    copy.rareEdit().m_regl[1][0].start.x = 99.0;
    copy.rareEdit().m_txtRegl[1][0][2].end.y = -7.0;
    EXPECT_TRUE(src.rare().m_regl[1][0].start.x == 1.0 && src.rare().m_txtRegl[1][0][2].end.y == 1.0);
    EXPECT_EQ(copy.rare().m_resText, L"kept");
    CMavDisplayItem& same = copy;
    copy = same;
    EXPECT_TRUE(copy.rare().m_regl.len() == 3 && copy.rare().m_regl[2][0].start == CMavPoint3d(2, 2, 0));
    CMavDisplayItem over(src), plain;
    over = plain; // copy-assigned, not moved
    EXPECT_TRUE(over.rare().m_pdMode == Mav::kGdxPdModeUnset && over.rare().m_regl.isEmpty());
    EXPECT_TRUE(over.rare().m_resText.isEmpty() && over.rare().m_fcolor == CMavColor());

    CMavMatrix3d negZero;
    negZero.m[0][1] = -0.0; // equal to the identity by value, not by bits
    const CMavMatrix3d rot = CMavMatrix3d::rotation(0.3, CMavVector3d::kZAxis),
                       move = CMavMatrix3d::translation({4, -5, 6});
    const CMavMatrix3d cases[] = {CMavMatrix3d::kIdentity, negZero, rot, move, rot * move};
    for (const CMavMatrix3d& m : cases) {
        CMavDisplayItem it;
        it.m_mtx = rot;
        it.m_mtx = m;
        EXPECT_EQ(std::memcmp(&CMavDisplayItem(it).m_mtx.get(), &m, sizeof m), 0);
        CMavMatrix3d expected = m;
        expected *= rot * move;
        it.m_mtx *= rot * move;
        EXPECT_EQ(std::memcmp(&it.m_mtx.get(), &expected, sizeof expected), 0);
    }
    EXPECT_EQ(CMavItemMatrix(move).inverse(), move.inverse());
}

// Groups are path prefixes; stackGet() gives the largest first entry (never below 0), stackGet(path) the largest
// next entry (0 for the path itself, -1 for no item). Point sizes are set by exact path, hatches by prefix.
TEST(CMavGDX, GroupQueriesAndSetters)
{
    CMavGDX g = plainList();
    EXPECT_EQ(g.stackGet(), 0);
    for (auto st : {path({-2}), path({3, 1}), path({7}), path({}), path({5, -3})})
        g.imageVl(st, 0, line(0, 0, 1, 1), CMavColor(), CMavMatrix3d(), CMavArrayTempl<double>(), 0, 0);
    EXPECT_TRUE(g.stackGet() == 7 && g.stackGet(path({5})) == -3 && g.stackGet(path({7})) == 0);
    EXPECT_TRUE(g.stackGet(path({})) == -1 && g.stackGet(path({4})) == -1);
    EXPECT_EQ(g.StackToItemNr(path({5})), path({4}));
    EXPECT_TRUE(g.StackToItemNr(path({})).isEmpty() && g.StackToItemNr(path({3, 1, 0})).isEmpty());
    CMavGDX s = plainList();
    for (auto st : {path({5}), path({5, 1}), path({5, 4, 2}), path({6, 9})})
        s.imagePt(st, 0, CMavPoint3d(), CMavColor(), CMavMatrix3d(), 0.0, 0);
    EXPECT_EQ(s.stackGet(path({5})), 4);
    EXPECT_TRUE(s.pdSizeSet(path({5, 1}), 2.0) && s.pdSizeGet(1) == 2.0 && s.pdSizeGet(0) == 0.0);
    EXPECT_TRUE(s.hatchSet(path({5}), MAV::CHatchProp(L"NET")));
    MAV::CHatchProp back;
    MAV::CHatchProp other;
    EXPECT_TRUE(s.hatchGet(2, back) && back.name == L"NET" && s.hatchGet(3, other) && other.name.isEmpty());
    EXPECT_FALSE(s.hatchSet(path({8}), back));
}

// A group's new matrix m is taken relative to its reference item, the first with the exact path or else the last
// selected: every item gets its own matrix times m * inverse(reference).
TEST(CMavGDX, MtxSetTakesTheGroupsOwnItemAsReference)
{
    const CMavMatrix3d r1 = CMavMatrix3d::translation(CMavVector3d(1, 0, 0)), r2 = CMavMatrix3d::scaling(2.0);
    const CMavMatrix3d m = CMavMatrix3d::translation(CMavVector3d(0, 10, 0)), d = m * r2.inverse();
    CMavGDX g = plainList();
    addLine(g, {3, 1}, 0, 0, 1, 0, 0, r1);
    addLine(g, {3, 2}, 0, 0, 1, 0, 0, r2);
    addLine(g, {4}, 0, 0, 1, 0, 0, r1);
    ASSERT_TRUE(g.mtxSet(path({3}), m));
    EXPECT_TRUE(g.mtxGet(0).isEqualTo(r1 * d) && g.mtxGet(1).isEqualTo(r2 * d) && g.mtxGet(2) == r1);
    expectExtents(g, {0, 0, 0}, {2, 20, 0});
    addLine(g, {3}, 0, 0, 1, 0, 0, r1); // now the group's own item, though last
    ASSERT_TRUE(g.mtxSet(path({3}), m));
    EXPECT_TRUE(g.mtxGet(1).isEqualTo(r2 * d * (m * r1.inverse())) && g.mtxGet(3).isEqualTo(m));
    EXPECT_FALSE(g.mtxSet(path({}), m) || g.mtxSet(path({8}), m));
}

// Removal keeps the order of the rest and recomputes; clear() empties items and boxes but keeps matrices, defaults
// and colours. NaN in a later box is passed over; NaN geometry is never hit. A host's absurd count for reserveItems is
// a hint only.
TEST(CMavGDX, RemovalClearAndBadInput)
{
    OpenGDX o;
    addLine(o, {1}, 0, 0, 1, 1);
    addLine(o, {2}, 5, 5, 6, 6);
    addLine(o, {3}, 7, 7, 8, 8);
    for (int count : {INT_MAX, 1 << 30, -1, INT_MIN})
        o.reserveItems(count);
    EXPECT_FALSE(o.removeItem(3) || o.removeItem(-1));
    EXPECT_TRUE(o.removeItem(1));
    EXPECT_EQ(o.getDisplayList()[1].m_stack, path({3}));
    expectExtents(o, {0, 0, 0}, {8, 8, 0});
    EXPECT_TRUE(o.removeItemStack(path({3})));
    expectExtents(o, {0, 0, 0}, {1, 1, 0});
    EXPECT_FALSE(o.removeItemStack(path({})) || o.removeItemStack(path({3})));
    CMavGDX c(CMavColor(), CMavMatrix3d::scaling(3.0), 2.0, 4, CMavPoint3d(1, 1, 0), CMavPoint3d(2, 2, 0));
    c.ColorTabSet(GDX_CMODE_AUX, CMavColor(6));
    addLine(c, {1}, 1, 1, 2, 2);
    c.clear();
    CMavPoint3d lo, hi;
    c.extMaxViewGet(lo, hi);
    EXPECT_TRUE(c.lenGet() == 0 && hi == CMavPoint3d() && c.ColorTabLenGet() == 5 && c.pdSizeGet() == 2.0);
    addPoint(c, {1}, 1, 1); // starts again from a point box, placed by the kept projection
    expectExtents(c, {3, 3, 0}, {3, 3, 0});

    const double nan = std::numeric_limits<double>::quiet_NaN();
    addPoint(c, {2}, nan, 1);
    c.projMtxSet(CMavMatrix3d());
    expectExtents(c, {1, 1, 0}, {1, 1, 0});
    EXPECT_EQ(c.imageItemGet(CMavPoint3d(nan, 5, 0)), -1);
    EXPECT_EQ(c.imageItemGet(CMavPoint3d(0, 0, 0)), 1);
}
