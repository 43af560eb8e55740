// The display list container: construction, item creation, per-item access, colour table, flags, groups,
// removal and the extents.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "gdx/CMavGDX.h"
#include "gdx_test_util.h"
#include "data/CMavApp.h"
#include "data/CMavDataItem.h"
#include "data/config.h"

using namespace gdxtest;

namespace {

// Opens the protected flag operations for the tests.
class OpenGDX : public CMavGDX {
public:
    OpenGDX() : CMavGDX(CMavColor(), CMavMatrix3d(), 0.0, 0, CMavPoint3d(), CMavPoint3d()) {}
    using CMavGDX::cFlagSet;
    using CMavGDX::flagSet;
    using CMavGDX::removeItem;
};

void expectExtents(const CMavGDX& g, double x0, double y0, double z0, double x1, double y1, double z1)
{
    CMavPoint3d lo, hi;
    g.extmaxGet(lo, hi);
    expectPoint(lo, x0, y0, z0);
    expectPoint(hi, x1, y1, z1);
}

// An item added as a copy: not in the extents until the next recomputation.
void addFarCopy(CMavGDX& g, double x, const CMavMatrix3d& m2 = CMavMatrix3d())
{
    CMavDisplayItem it;
    it.m_kind = kDispPolyline;
    it.m_stack = path({9});
    it.m_vl = line(x, x, x + 1, x + 1);
    it.rareEdit().m_mtx2 = m2;
    CMavArrayTempl<CMavDisplayItem> items;
    items.append(it);
    g.addDisplayList(items);
}

// A host whose only service used here is its background colour.
class BackgroundHost : public CMavApp {
public:
    Mav::lFormat lFormatGet() override { return Mav::kFormatDecimal; }
    std::uint32_t bkColorGet() override { return 0x00123456u; }
    bool drillDraw(CMavGDX*, CMavDataItem*, CMavDataItem*) override { return false; }
    bool patternGet(const wchar_t*, CMavArrayTempl<CMavArrayTempl<double>>&) override { return false; }
    bool entityGet(ads_name, const wchar_t*, bool) override { return false; }
    int lispCall(const wchar_t*, const resbuf*, MAV::CSmartResbuf&) override { return 5100; }
};

} // namespace

TEST(CMavGDX, DefaultConstructionReadsHostAndConfiguration)
{
    MAV::CConfig::reset();
    BackgroundHost host;
    CMavApp* before = mavAppSet(&host);
    {
        CMavGDX g;
        EXPECT_EQ(g.backColorGet().oleColor(), 0x00123456u);
        EXPECT_EQ(g.pdSizeGet(), 5.0);
        EXPECT_EQ(g.pdModeGet(), 3ul);
        ASSERT_EQ(g.ColorTabLenGet(), 5);
        const int shipped[] = {1, 8, 3, 4, 30}; // HIGHLIGHT, REFER, AXIS, BASE, AUX
        for (int mode = 1; mode <= 5; ++mode)
            EXPECT_EQ(g.colorTabGet(static_cast<GDX_CMODE>(mode)).colorIndex(), shipped[mode - 1]);
    }
    CMavDataItem* colours = MAV::cfg_get(L"KRV_MENU\\COLOR");
    colours->setAt(CMavDataKey(L"PDSIZE"), 0.25);
    colours->setAt(CMavDataKey(L"REFER"), CMavString(L"10,20,30"));
    colours->remove(CMavDataKey(L"AXIS"));
    {
        CMavGDX g;
        EXPECT_EQ(g.pdSizeGet(), 0.25);
        EXPECT_EQ(g.colorTabGet(GDX_CMODE_REFER).color(), 0x0A141EL);
        EXPECT_EQ(g.colorTabGet(GDX_CMODE_AXIS), CMavColor()); // missing: a default colour, still an entry
    }
    MAV::cfg_get(L"KRV_MENU")->remove(CMavDataKey(L"COLOR"));
    {
        CMavGDX g;
        EXPECT_EQ(g.pdSizeGet(), 0.0);
        EXPECT_EQ(g.pdModeGet(), 0ul);
        EXPECT_EQ(g.ColorTabLenGet(), 5);
    }
    mavAppSet(before);
    MAV::CConfig::reset();
}

TEST(CMavGDX, DefaultHostDrawsDrillsIntoTheList)
{
    CMavGDX g = plainList();
    CMavDataDir drill, params;
    drill.setAt(CMavDataKey(L"DIA"), 8.0);
    params.setAt(CMavDataKey(L"MTX"), CMavMatrix3d::translation(CMavVector3d(100, 0, 0)));
    params.setAt(CMavDataKey(L"CMODE"), 2);
    ASSERT_TRUE(MAV::CDefaultApp::instance().drillDraw(&g, &drill, &params));
    ASSERT_GE(g.lenGet(), 2); // circle and cross
    EXPECT_EQ(g.StackToItemNr(path({1})).len(), g.lenGet());
    for (int i = 0; i < g.lenGet(); ++i)
        EXPECT_EQ(g.flagGet(i), 0x200ul);
    CMavPoint3d lo, hi;
    g.extmaxGet(lo, hi);
    EXPECT_NEAR((lo.x + hi.x) / 2, 100.0, 1e-9);
    EXPECT_GE(hi.x - lo.x, 8.0 - 1e-9);
}

TEST(CMavGDX, ExplicitConstructionAndCopy)
{
    const CMavMatrix3d proj = CMavMatrix3d::scaling(2.0);
    CMavGDX g(CMavColor(5), proj, 1.5, ~0ul, CMavPoint3d(-1, -2, 0), CMavPoint3d(3, 4, 0)); // all ones, any width
    EXPECT_EQ(g.backColorGet().colorIndex(), 5);
    EXPECT_EQ(g.pdModeGet(), 0xFFFFFFFFul); // a 32-bit word
    EXPECT_EQ(g.ColorTabLenGet(), 0);
    CMavPoint3d lo, hi;
    g.extMaxViewGet(lo, hi);
    EXPECT_EQ(hi, CMavPoint3d(3, 4, 0));
    expectExtents(g, 0, 0, 0, 0, 0, 0);

    addLine(g, {1}, 0, 0, 1, 1); // (0,0)-(2,2) after the projection
    g.ColorTabSet(GDX_CMODE_REFER, CMavColor(3));
    CMavGDX copy(g);
    addLine(copy, {2}, 5, 5, 6, 6);
    copy.ColorTabSet(GDX_CMODE_REFER, CMavColor(4));
    EXPECT_EQ(g.lenGet(), 1);
    EXPECT_EQ(g.colorTabGet(GDX_CMODE_REFER).colorIndex(), 3);
    expectExtents(g, 0, 0, 0, 2, 2, 0);
    g = copy;
    EXPECT_EQ(g.lenGet(), 2);
    expectExtents(g, 0, 0, 0, 12, 12, 0);
}

TEST(CMavGDX, CreationStoresTheCallersValues)
{
    CMavGDX g = plainList();
    g.imageVl(path({1, 2}), 0x1234, line(0, 0, 1, 0), CMavColor(7), CMavMatrix3d(), CMavArrayTempl<double>(), 2.0, 3);
    ASSERT_EQ(g.linetypeGet(0).len(), 1); // an empty pattern is stored as solid
    EXPECT_EQ(g.linetypeGet(0)[0], 1.0);

    g.imagePt(path({2}), 0, CMavPoint3d(2, 3, 4), CMavColor(), CMavMatrix3d(), 0.0, 0xFFFFFFFFul);
    g.imagePt(path({2}), 0, CMavPoint3d(2, 3, 4), CMavColor(), CMavMatrix3d(), 4.0, 33);
    g.pdModeSet(64ul);
    g.pdSizeSet(0.5);
    EXPECT_EQ(g.pdModeGet(1), 64ul);
    EXPECT_EQ(g.pdSizeGet(1), 0.5);
    EXPECT_EQ(g.pdModeGet(2), 33ul);
    EXPECT_EQ(g.pdSizeGet(2), 4.0);

    // Fill colour only for filled or hatched regions; a fill colour without index gives the line colour.
    CMavArrayTempl<CMavVertexArray> regions;
    regions.append(rect(0, 0, 1, 1));
    const MAV::CHatchProp hatch(L"ANSI31");
    const int fills[][3] = {{0x0, 2, -2}, {0x1, 2, 2}, {0x2, -1, 1}, {0x3, 0, 0}}; // flags, fill, stored (-2: none)
    for (const auto& f : fills) {
        g.imageReg(path({3}), static_cast<unsigned long>(f[0]), regions, CMavColor(1), CMavMatrix3d(),
                   CMavArrayTempl<double>(), 0, 0, CMavColor(f[1]), hatch);
        EXPECT_EQ(g.fcolorGet(-1), f[2] == -2 ? CMavColor() : CMavColor(f[2])) << f[0];
    }
    MAV::CHatchProp back;
    ASSERT_TRUE(g.hatchGet(3, back));
    EXPECT_EQ(back.name, CMavString(L"ANSI31"));

    // Pictures: file name in the text, icon id in the point mode, a segment only for distinct corners.
    g.imagePicture(path({4}), 0, L"a.bmp", 12, CMavPoint3d(0, 0, 0), CMavPoint3d(5, 5, 0));
    g.imagePicture(path({4}), 0, L"", 0x7FFFFFFF, CMavPoint3d(1, 1, 0), CMavPoint3d(1, 1, 0));
    g.imagePicture(path({4}), 0, L"", 8, CMavPoint3d(1, 1, 0), CMavPoint3d(1, 1, 0));
    CMavString name;
    int icon = 0;
    EXPECT_TRUE(g.pictureGet(7, name, icon));
    EXPECT_EQ(name, CMavString(L"a.bmp"));
    EXPECT_EQ(icon, 12);
    EXPECT_FALSE(g.pictureGet(8, name, icon)); // icon id 0x7FFFFFFF: no icon
    EXPECT_TRUE(g.pictureGet(9, name, icon));
    CMavVertexArray vl, none;
    g.geomGet(vl, 7);
    g.geomGet(none, 8);
    EXPECT_TRUE(none.isEmpty());
    ASSERT_EQ(vl.len(), 1);
    EXPECT_EQ(vl[0].end, CMavPoint3d(5, 5, 0));
}

TEST(CMavGDX, ItemNumbersOutsideTheListReadDefaultsOrCountFromTheEnd)
{
    CMavGDX g(CMavColor(), CMavMatrix3d(), 3.0, 9, CMavPoint3d(), CMavPoint3d());
    addLine(g, {1}, 0, 0, 1, 1, 0x10);
    addPoint(g, {2}, 5, 5, 0x4);
    EXPECT_EQ(g.typeGet(2), kDispNone);
    EXPECT_EQ(g.pdModeGet(2), 9ul); // a default item takes the list defaults
    EXPECT_EQ(g.pdSizeGet(2), 3.0);
    EXPECT_EQ(g.typeGet(-1), kDispPoint);
    EXPECT_EQ(g.flagGet(-2), 0x10ul);
    EXPECT_EQ(g.typeGet(-3), kDispNone);
    MAV::CHatchProp h;
    EXPECT_FALSE(g.hatchGet(-1, h));
    EXPECT_FALSE(g.hatchGet(2, h));
    CMavString name = L"keep";
    int icon = 5;
    EXPECT_TRUE(g.pictureGet(7, name, icon)); // a default item's icon id 0xFFFFFFFF is not "no icon"
    EXPECT_EQ(icon, -1);
    EXPECT_TRUE(name.isEmpty());
}

TEST(CMavGDX, ColourTableColourModesAndPropertyBits)
{
    OpenGDX g;
    EXPECT_FALSE(g.ColorTabSet(static_cast<GDX_CMODE>(15), CMavColor(1)));
    EXPECT_FALSE(g.ColorTabSet(GDX_CMODE_NORMAL, CMavColor(1)));
    EXPECT_TRUE(g.ColorTabSet(static_cast<GDX_CMODE>(9), CMavColor(30)));
    EXPECT_EQ(g.ColorTabLenGet(), 9);
    EXPECT_EQ(g.colorTabGet(static_cast<GDX_CMODE>(9)).colorIndex(), 30);
    EXPECT_EQ(g.colorTabGet(GDX_CMODE_NORMAL).colorIndex(), 30); // mode 0 reads the last entry
    EXPECT_EQ(g.colorTabGet(GDX_CMODE_HIGHLIGHT), CMavColor());
    EXPECT_EQ(g.colorTabGet(static_cast<GDX_CMODE>(12)), CMavColor());
    EXPECT_EQ(g.colorTabGet(static_cast<GDX_CMODE>(std::numeric_limits<int>::min())), CMavColor());
    EXPECT_EQ(g.ColorTabLenGet(), 9);

    // The colour mode replaces bits 8-11, keeps the low byte and clears the rest.
    addLine(g, {5}, 0, 0, 1, 1, 0x1234);
    addLine(g, {5, 1}, 0, 0, 1, 1, 0xFFFFFFFF);
    addLine(g, {6}, 0, 0, 1, 1, 0x0);
    EXPECT_TRUE(g.cModeSet(path({5}), GDX_CMODE_AXIS));
    EXPECT_EQ(g.flagGet(0), 0x0334ul);
    EXPECT_EQ(g.flagGet(1), 0x03FFul);
    EXPECT_EQ(g.flagGet(2), 0x0ul);
    g.cFlagSet(2, static_cast<GDX_CMODE>(0x1F));
    EXPECT_EQ(g.flagGet(2), 0xF00ul);
    EXPECT_FALSE(g.cModeSet(path({7}), GDX_CMODE_REFER));
    EXPECT_FALSE(g.cModeSet(path({}), GDX_CMODE_REFER));

    // Property codes set (2, 4, 5, 7, 9) or clear (1, 3, 6, 8, 10) one bit each, from bit 2 up; bits 0 and 1
    // keep their value, other codes change nothing.
    addLine(g, {1}, 0, 0, 1, 1, 0x0);
    addLine(g, {1}, 0, 0, 1, 1, 0x7F);
    const unsigned long codes[][3] = {{2, 1, 0x4}, {4, 3, 0x8}, {5, 6, 0x10}, {7, 8, 0x20}, {9, 10, 0x40}};
    unsigned long low = 0, high = 0x7F;
    for (const auto& c : codes) {
        g.flagSet(3, c[0]);
        g.flagSet(4, c[1]);
        EXPECT_EQ(g.flagGet(3), low |= c[2]) << c[0];
        EXPECT_EQ(g.flagGet(4), high &= ~c[2]) << c[1];
    }
    g.flagSet(3, 11);
    g.flagSet(3, 0);
    EXPECT_EQ(g.flagGet(3), 0x7Cul);
    EXPECT_EQ(g.flagGet(4), 0x3ul);
}

TEST(CMavGDX, QuickExtentsUpdateReplacesAPointBoxAndWidensOtherwise)
{
    CMavGDX g = plainList();
    addPoint(g, {1}, 2, 3);
    expectExtents(g, 2, 3, 0, 2, 3, 0);
    addLine(g, {1}, 0, 0, 1, 1); // replaces the point box, no union
    expectExtents(g, 0, 0, 0, 1, 1, 0);
    addPoint(g, {1}, -4, 0.5);
    addLine(g, {1}, 100, 100, 200, 200, 0x8); // left out
    g.imagePicture(path({1}), 0, L"x", 1, CMavPoint3d(-50, -50, 0), CMavPoint3d(50, 50, 0));
    expectExtents(g, -4, 0, 0, 1, 1, 0);

    // Only the first outline of a region counts, under the item matrix and then the projection.
    CMavGDX r = plainList();
    r.projMtxSet(CMavMatrix3d::scaling(2.0));
    addRegion(r, {1}, {rect(0, 0, 1, 1), rect(10, 10, 11, 11)}, CMavMatrix3d::translation(CMavVector3d(1, 0, 0)));
    expectExtents(r, 2, 0, 0, 4, 2, 0);
    addRegion(r, {1}, {}); // a region without outlines has the origin as its box
    expectExtents(r, 0, 0, 0, 4, 2, 0);

    // Arcs count with their bulge: a half circle on the chord (0,0)-(2,0).
    CMavGDX a = plainList();
    CMavVertexArray arc;
    arc.append(CMavPoint3d(2, 0, 0), CMavPoint3d(0, 0, 0), 1.0);
    addVl(a, {1}, arc);
    expectExtents(a, 0, 0, 0, 2, 1, 0);
}

TEST(CMavGDX, FullRecomputationUsesSecondMatrixViewDirectionAndTextRegions)
{
    CMavGDX g = plainList();
    addLine(g, {1}, 0, 0, 1, 1);
    addFarCopy(g, 10, CMavMatrix3d::translation(CMavVector3d(0, 0, 5))); // second matrix: z 5
    CMavDisplayItem text;
    text.m_kind = kDispText;
    const double glyphs[][3] = {{0, 0, 0}, {-3, -3, -9}, {2, 2, 9}}; // corner and depth of each glyph region
    for (const auto& q : glyphs) {
        CMavVertexArray outline = rect(q[0], q[1], q[0] + 1, q[1] + 1);
        outline.transformBy(CMavMatrix3d::translation(CMavVector3d(0, 0, q[2])));
        CMavArrayTempl<CMavVertexArray> region;
        region.append(outline);
        text.rareEdit().m_txtRegl.append(region);
    }
    CMavDisplayItem pic;
    pic.m_kind = kDispPicture;
    pic.m_vl = line(-100, -100, 100, 100);
    CMavArrayTempl<CMavDisplayItem> extra;
    extra.append(text);
    extra.append(pic);
    ASSERT_TRUE(g.addDisplayList(extra));
    EXPECT_FALSE(g.addDisplayList(CMavArrayTempl<CMavDisplayItem>()));
    expectExtents(g, 0, 0, 0, 1, 1, 0); // copies do not touch the extents

    // The text widens x and y only (its depth is the first region's); the picture has no box.
    g.projMtxSet(CMavMatrix3d());
    expectExtents(g, -3, -3, 0, 11, 11, 5);
    g.viewDirectionMtxSet(CMavMatrix3d::translation(CMavVector3d(1, 1, 1)));
    expectExtents(g, -2, -2, 1, 12, 12, 6);
}

TEST(CMavGDX, GroupQueries)
{
    CMavGDX g = plainList();
    for (auto st : {path({3, 1}), path({7}), path({}), path({5, 2}), path({-9})})
        g.imageVl(st, 0, line(0, 0, 1, 1), CMavColor(), CMavMatrix3d(), CMavArrayTempl<double>(), 0, 0);
    EXPECT_EQ(g.stackGet(), 7);
    EXPECT_EQ(g.StackToItemNr(path({5})), path({3}));
    EXPECT_TRUE(g.StackToItemNr(path({})).isEmpty());
    EXPECT_TRUE(g.StackToItemNr(path({3, 1, 0})).isEmpty());
    CMavGDX neg = plainList();
    addLine(neg, {-2}, 0, 0, 1, 1);
    EXPECT_EQ(neg.stackGet(), 0);

    CMavGDX s = plainList();
    addLine(s, {5}, 0, 0, 1, 1);
    EXPECT_EQ(s.stackGet(path({5})), 0);
    addLine(s, {5, 1}, 0, 0, 1, 1);
    addLine(s, {5, 4, 2}, 0, 0, 1, 1);
    addLine(s, {6, 9}, 0, 0, 1, 1);
    EXPECT_EQ(s.stackGet(path({5})), 4);
    EXPECT_EQ(s.StackToItemNr(path({5})), path({0, 1, 2}));
    EXPECT_EQ(s.stackGet(path({})), -1);
    EXPECT_EQ(s.stackGet(path({7})), -1);
    CMavGDX negSub = plainList();
    addLine(negSub, {5, -3}, 0, 0, 1, 1);
    EXPECT_EQ(negSub.stackGet(path({5})), -3);
}

TEST(CMavGDX, GroupSettersSelectByPrefixPointStylesByExactPath)
{
    CMavGDX g = plainList();
    addPoint(g, {5}, 0, 0);
    addPoint(g, {5, 1}, 0, 0);
    addPoint(g, {6}, 0, 0);
    EXPECT_TRUE(g.pdModeSet(path({5}), 3ul));
    EXPECT_TRUE(g.pdSizeSet(path({5, 1}), 2.0));
    EXPECT_EQ(g.pdModeGet(0), 3ul);
    EXPECT_EQ(g.pdModeGet(1), 0ul);
    EXPECT_EQ(g.pdSizeGet(1), 2.0);
    EXPECT_EQ(g.pdSizeGet(0), 0.0);
    EXPECT_TRUE(g.pdSizeSet(path({5}), 4.0)); // the exact path only, not the longer {5, 1}
    EXPECT_EQ(g.pdSizeGet(0), 4.0);
    EXPECT_EQ(g.pdSizeGet(1), 2.0);
    EXPECT_FALSE(g.pdModeSet(path({}), 3ul));
    EXPECT_FALSE(g.pdSizeSet(path({7}), 3.0));
    EXPECT_TRUE(g.cModeSet(path({5}), GDX_CMODE_HIGHLIGHT));
    EXPECT_EQ(g.flagGet(1), 0x100ul);
    EXPECT_EQ(g.flagGet(2), 0x0ul);
    EXPECT_TRUE(g.hatchSet(path({5}), MAV::CHatchProp(L"NET")));
    MAV::CHatchProp back;
    g.hatchGet(1, back);
    EXPECT_EQ(back.name, CMavString(L"NET"));
    g.hatchGet(2, back);
    EXPECT_TRUE(back.name.isEmpty());
    EXPECT_FALSE(g.hatchSet(path({8}), back));
}

TEST(CMavGDX, PropSetAndRedrawRecomputeOnlyWhenTheRulesSaySo)
{
    CMavGDX g = plainList();
    addLine(g, {1}, 0, 0, 1, 1);
    addFarCopy(g, 10);
    expectExtents(g, 0, 0, 0, 1, 1, 0);
    EXPECT_TRUE(g.redraw(path({}), 11)); // unknown code: nothing recomputed
    EXPECT_TRUE(g.redraw(path({4}), 1)); // nothing selected
    EXPECT_FALSE(g.propSet(path({4}), 1));
    EXPECT_FALSE(g.propSet(path({}), 1));
    expectExtents(g, 0, 0, 0, 1, 1, 0);
    EXPECT_TRUE(g.propSet(path({1}), 11)); // selected: recomputed at the end even for code 11
    expectExtents(g, 0, 0, 0, 11, 11, 0);

    EXPECT_TRUE(g.propSet(path({9}), 4));
    EXPECT_EQ(g.flagGet(1), 0x8ul);
    expectExtents(g, 0, 0, 0, 1, 1, 0);
    EXPECT_TRUE(g.redraw(path({}), 3)); // an empty path selects every item
    expectExtents(g, 0, 0, 0, 11, 11, 0);
    EXPECT_TRUE(g.redraw(path({}), 4));
    expectExtents(g, 0, 0, 0, 0, 0, 0); // nothing counts: the origin
    EXPECT_FALSE(plainList().redraw(path({}), 1));
}

TEST(CMavGDX, MtxSetTakesTheGroupsOwnItemAsReference)
{
    // No item has the path {3}: the last selected one ({3, 2}) is the reference.
    CMavGDX g = plainList();
    const CMavMatrix3d r1 = CMavMatrix3d::translation(CMavVector3d(1, 0, 0));
    const CMavMatrix3d r2 = CMavMatrix3d::scaling(2.0);
    const CMavMatrix3d m = CMavMatrix3d::translation(CMavVector3d(0, 10, 0));
    addLine(g, {3, 1}, 0, 0, 1, 0, 0, r1);
    addLine(g, {3, 2}, 0, 0, 1, 0, 0, r2);
    addLine(g, {4}, 0, 0, 1, 0, 0, r1);
    ASSERT_TRUE(g.mtxSet(path({3}), m));
    const CMavMatrix3d d = m * r2.inverse();
    EXPECT_TRUE(g.mtxGet(0).isEqualTo(r1 * d));
    EXPECT_TRUE(g.mtxGet(1).isEqualTo(r2 * d));
    EXPECT_EQ(g.mtxGet(2), r1);
    expectExtents(g, 0, 0, 0, 2, 20, 0); // recomputed: (1,10)-(1.5,10), (0,20)-(1,20) and (1,0)-(2,0)

    // The first item of the exact path is the reference, wherever it stands.
    CMavGDX e = plainList();
    addLine(e, {3}, 0, 0, 1, 0, 0, r2);
    addLine(e, {3, 1}, 0, 0, 1, 0, 0, r1);
    addLine(e, {3}, 0, 0, 1, 0, 0, r1);
    ASSERT_TRUE(e.mtxSet(path({3}), m));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(e.mtxGet(i).isEqualTo((i == 0 ? r2 : r1) * (m * r2.inverse()))) << i;
    EXPECT_FALSE(e.mtxSet(path({}), m));
    EXPECT_FALSE(e.mtxSet(path({8}), m));

    // A singular reference has no inverse: D is m itself.
    CMavGDX s = plainList();
    CMavMatrix3d flat;
    flat.m[2][2] = 0.0;
    addLine(s, {1}, 0, 0, 1, 0, 0, flat);
    ASSERT_TRUE(s.mtxSet(path({1}), m));
    EXPECT_EQ(s.mtxGet(0), flat * m);
}

TEST(CMavGDX, RemovalKeepsOrderAndRecomputes)
{
    CMavGDX g = plainList();
    addLine(g, {2}, 0, 0, 1, 1);
    addLine(g, {1}, 5, 5, 6, 6);
    addLine(g, {2, 5}, -3, -3, 0, 0);
    ASSERT_TRUE(g.clear(path({2})));
    ASSERT_EQ(g.lenGet(), 1);
    EXPECT_EQ(g.getDisplayList()[0].m_stack, path({1}));
    expectExtents(g, 5, 5, 0, 6, 6, 0);
    EXPECT_FALSE(g.clear(path({2})));
    EXPECT_FALSE(g.removeItemStack(path({})));
    EXPECT_FALSE(plainList().removeItemStack(path({1})));

    OpenGDX o;
    addLine(o, {1}, 0, 0, 1, 1);
    addLine(o, {2}, 5, 5, 6, 6);
    addLine(o, {3}, 7, 7, 8, 8);
    EXPECT_FALSE(o.removeItem(3));
    EXPECT_FALSE(o.removeItem(-1));
    EXPECT_TRUE(o.removeItem(1));
    EXPECT_EQ(o.getDisplayList()[1].m_stack, path({3}));
    expectExtents(o, 0, 0, 0, 8, 8, 0);
    EXPECT_TRUE(o.removeItemStack(path({3})));
    expectExtents(o, 0, 0, 0, 1, 1, 0);
    EXPECT_FALSE(OpenGDX().removeItem(0));

    // clear() empties items and all four box corners but keeps matrices, defaults and colours.
    CMavGDX c(CMavColor(), CMavMatrix3d::scaling(3.0), 2.0, 4, CMavPoint3d(1, 1, 0), CMavPoint3d(2, 2, 0));
    c.ColorTabSet(GDX_CMODE_AUX, CMavColor(6));
    addLine(c, {1}, 1, 1, 2, 2);
    c.clear();
    EXPECT_EQ(c.lenGet(), 0);
    CMavPoint3d vlo, vhi;
    c.extMaxViewGet(vlo, vhi);
    EXPECT_EQ(vhi, CMavPoint3d());
    EXPECT_EQ(c.projMtxGet(), CMavMatrix3d::scaling(3.0));
    EXPECT_EQ(c.ColorTabLenGet(), 5);
    addPoint(c, {1}, 1, 1); // starts again from a point box
    expectExtents(c, 3, 3, 0, 3, 3, 0);
}

TEST(CMavGDX, BadCoordinatesAndMatricesGiveDefinedResults)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    CMavGDX g = plainList();
    addLine(g, {1}, 0, 0, 1, 1);
    addLine(g, {2}, nan, 0, inf, 1);
    addPoint(g, {3}, -inf, nan);
    CMavMatrix3d bad;
    bad.m[0][0] = nan;
    bad.m[1][3] = inf;
    EXPECT_TRUE(g.mtxSet(path({1}), bad));
    EXPECT_TRUE(g.propSet(path({2}), 2));
    g.projMtxSet(bad);
    g.viewDirectionMtxSet(bad);
    g.imageItemGet(CMavPoint3d(0, 0, 0)); // must not crash; its answer is undefined here
    EXPECT_TRUE(g.clear(path({1})));
    EXPECT_EQ(g.lenGet(), 2);

    // NaN in the first counted box stays in the extents (placing spreads it to every coordinate); NaN in a
    // later box is passed over.
    CMavGDX first = plainList();
    addPoint(first, {1}, nan, 1);
    addLine(first, {2}, 0, 0, 2, 3);
    CMavPoint3d lo, hi;
    first.extmaxGet(lo, hi);
    EXPECT_TRUE(std::isnan(lo.x) && std::isnan(lo.y) && std::isnan(hi.y));
    CMavGDX later = plainList();
    addLine(later, {2}, 0, 0, 2, 3);
    addPoint(later, {1}, nan, 1);
    later.projMtxSet(CMavMatrix3d());
    expectExtents(later, 0, 0, 0, 2, 3, 0);
    // NaN geometry is never hit; finite items around it still are.
    CMavGDX hits = plainList();
    addPoint(hits, {1}, nan, nan);
    addLine(hits, {2}, nan, 0, nan, 10);
    EXPECT_EQ(hits.imageItemGet(CMavPoint3d(0, 0, 0)), -1);
    addPoint(hits, {3}, 1, 1);
    EXPECT_EQ(hits.imageItemGet(CMavPoint3d(0, 0, 0)), 3);
}

// A host's absurd count once asked for two billion items' room: the allocation failed and threw out of the
// library. The count is a hint: huge, overflowing and negative counts keep the list whole and usable.
TEST(CMavGDX, ReserveItemsWithAHugeCountNeitherThrowsNorLosesItems)
{
    OpenGDX g;
    g.imagePt(CMavArrayTempl<int>({1}), 0, CMavPoint3d(1, 2, 0), CMavColor(1), CMavMatrix3d(), 1.0, 0);
    for (int count : {INT_MAX, INT_MAX - 1, 1 << 30, -1, INT_MIN})
        g.reserveItems(count);
    g.imagePt(CMavArrayTempl<int>({2}), 0, CMavPoint3d(3, 4, 0), CMavColor(1), CMavMatrix3d(), 1.0, 0);
    ASSERT_EQ(g.lenGet(), 2);
    CMavPoint3d p;
    g.geomGet(p, 0);
    EXPECT_EQ(p, CMavPoint3d(1, 2, 0));
    g.geomGet(p, 1);
    EXPECT_EQ(p, CMavPoint3d(3, 4, 0));
    EXPECT_EQ(g.typeGet(1), kDispPoint);
}
