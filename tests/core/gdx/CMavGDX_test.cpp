// The display list container: construction, item creation, per-item access, colour table, flags, groups,
// removal and the extents.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gdx/CMavGDX.h"
#include "gdx_test_util.h"
#include "platform/CMavApp.h"
#include "platform/CMavDataItem.h"
#include "platform/config.h"

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

CMavDisplayItem farPolyline(double x)
{
    CMavDisplayItem it;
    it.m_kind = kDispPolyline;
    it.m_stack = path({9});
    it.m_vl = line(x, x, x + 1, x + 1);
    return it;
}

// A host whose only real service is its background colour.
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
    {
        CMavGDX g;
        EXPECT_EQ(g.pdSizeGet(), 5.0);
        EXPECT_EQ(g.pdModeGet(), 3ul);
        ASSERT_EQ(g.ColorTabLenGet(), 5);
        const int expected[] = {1, 8, 3, 4, 30}; // HIGHLIGHT, REFER, AXIS, BASE, AUX as shipped
        for (int mode = 1; mode <= 5; ++mode)
            EXPECT_EQ(g.colorTabGet(static_cast<GDX_CMODE>(mode)).colorIndex(), expected[mode - 1]) << mode;
        EXPECT_EQ(g.backColorGet().oleColor(), mavAppPtr()->bkColorGet());
        EXPECT_TRUE(g.projMtxGet().isIdentity());
        EXPECT_EQ(g.lenGet(), 0);
    }

    // The background comes from the host, not from the configuration.
    BackgroundHost host;
    CMavApp* before = mavAppSet(&host);
    MAV::cfg_dir_make(L"KRV_MENU\\COLOR")->setAt(CMavDataKey(L"PDSIZE"), 0.25);
    MAV::cfg_get(L"KRV_MENU\\COLOR")->setAt(CMavDataKey(L"REFER"), CMavString(L"10,20,30"));
    MAV::cfg_get(L"KRV_MENU\\COLOR")->remove(CMavDataKey(L"AXIS"));
    {
        CMavGDX g;
        EXPECT_EQ(g.backColorGet().oleColor(), 0x00123456u);
        EXPECT_EQ(g.pdSizeGet(), 0.25);
        EXPECT_EQ(g.colorTabGet(GDX_CMODE_REFER).color(), 0x0A141EL);
        EXPECT_EQ(g.colorTabGet(GDX_CMODE_AXIS), CMavColor()); // missing key: default colour, entry still there
        EXPECT_EQ(g.ColorTabLenGet(), 5);
    }
    MAV::cfg_get(L"KRV_MENU")->remove(CMavDataKey(L"COLOR"));
    {
        CMavGDX g;
        EXPECT_EQ(g.pdSizeGet(), 0.0);
        EXPECT_EQ(g.pdModeGet(), 0ul);
        EXPECT_EQ(g.ColorTabLenGet(), 5);
        EXPECT_EQ(g.colorTabGet(GDX_CMODE_HIGHLIGHT), CMavColor());
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
    ASSERT_GE(g.lenGet(), 2); // the circle and the cross
    for (int i = 0; i < g.lenGet(); ++i) {
        EXPECT_EQ(g.typeGet(i), kDispPolyline);
        EXPECT_EQ(g.flagGet(i), 0x200ul);
        CMavArrayTempl<int> st;
        g.itemStackGet(st, i);
        EXPECT_EQ(st, path({1}));
    }
    CMavPoint3d lo, hi;
    g.extmaxGet(lo, hi); // placed around (100, 0), at least the circle's radius 4
    EXPECT_LE(lo.x, 96.0 + 1e-9);
    EXPECT_GE(hi.x, 104.0 - 1e-9);
    EXPECT_NEAR((lo.x + hi.x) / 2, 100.0, 1e-9);
}

TEST(CMavGDX, ExplicitConstructionAndCopy)
{
    const CMavColor bg = colourIndex(5);
    const CMavMatrix3d proj = CMavMatrix3d::scaling(2.0);
    CMavGDX g(bg, proj, 1.5, ~0ul, CMavPoint3d(-1, -2, 0), CMavPoint3d(3, 4, 0)); // all ones at any width
    EXPECT_EQ(g.backColorGet().colorIndex(), 5);
    EXPECT_EQ(g.projMtxGet(), proj);
    EXPECT_EQ(g.pdSizeGet(), 1.5);
    EXPECT_EQ(g.pdModeGet(), 0xFFFFFFFFul); // the mode is a 32-bit word
    EXPECT_EQ(g.ColorTabLenGet(), 0);
    EXPECT_EQ(g.lenGet(), 0);
    CMavPoint3d lo, hi;
    g.extMaxViewGet(lo, hi);
    EXPECT_EQ(lo, CMavPoint3d(-1, -2, 0));
    EXPECT_EQ(hi, CMavPoint3d(3, 4, 0));
    expectExtents(g, 0, 0, 0, 0, 0, 0);

    addLine(g, {1}, 0, 0, 1, 1); // box (0,0)-(2,2) after the projection
    g.ColorTabSet(GDX_CMODE_REFER, colourIndex(3));
    CMavGDX copy(g);
    addLine(copy, {2}, 5, 5, 6, 6);
    copy.ColorTabSet(GDX_CMODE_REFER, colourIndex(4));
    EXPECT_EQ(g.lenGet(), 1);
    EXPECT_EQ(copy.lenGet(), 2);
    EXPECT_EQ(g.colorTabGet(GDX_CMODE_REFER).colorIndex(), 3);
    expectExtents(g, 0, 0, 0, 2, 2, 0);
    expectExtents(copy, 0, 0, 0, 12, 12, 0);
    g = copy;
    EXPECT_EQ(g.lenGet(), 2);
    expectExtents(g, 0, 0, 0, 12, 12, 0);
    g = static_cast<const CMavGDX&>(g);
    EXPECT_EQ(g.lenGet(), 2);
}

TEST(CMavGDX, CreationStoresTheCallersValues)
{
    CMavGDX g = plainList();
    const CMavMatrix3d m = CMavMatrix3d::translation(CMavVector3d(1, 0, 0));
    g.imageVl(path({1, 2}), 0x1234, line(0, 0, 1, 0), colourIndex(7), m, CMavArrayTempl<double>(), 2.0, 3);
    EXPECT_EQ(g.typeGet(0), kDispPolyline);
    EXPECT_EQ(g.flagGet(0), 0x1234ul);
    ASSERT_EQ(g.linetypeGet(0).len(), 1); // an empty pattern is stored as solid
    EXPECT_EQ(g.linetypeGet(0)[0], 1.0);
    EXPECT_EQ(g.ltscaleGet(0), 2.0);
    EXPECT_EQ(g.thicknGet(0), 3);
    EXPECT_EQ(g.colorGet(0).colorIndex(), 7);
    EXPECT_EQ(g.mtxGet(0), m);
    CMavArrayTempl<int> st;
    g.itemStackGet(st, 0);
    EXPECT_EQ(st, path({1, 2}));

    g.imageVl(path({1}), 0, line(0, 0, 1, 0), CMavColor(), CMavMatrix3d(), CMavArrayTempl<double>{2.0, -1.0}, 0.0, 0);
    EXPECT_EQ(g.linetypeGet(1).len(), 2);

    g.imagePt(path({2}), 0, CMavPoint3d(2, 3, 4), CMavColor(), CMavMatrix3d(), 0.0, 0xFFFFFFFFul);
    g.imagePt(path({2}), 0, CMavPoint3d(2, 3, 4), CMavColor(), CMavMatrix3d(), 4.0, 33);
    g.pdModeSet(64ul);
    g.pdSizeSet(0.5);
    EXPECT_EQ(g.pdModeGet(2), 64ul);
    EXPECT_EQ(g.pdSizeGet(2), 0.5);
    EXPECT_EQ(g.pdModeGet(3), 33ul);
    EXPECT_EQ(g.pdSizeGet(3), 4.0);
    CMavPoint3d p;
    g.geomGet(p, 2);
    EXPECT_EQ(p, CMavPoint3d(2, 3, 4));
    EXPECT_EQ(g.txtPointGet(2), CMavPoint3d(2, 3, 4));

    // Fill colour only for filled or hatched regions; a fill colour without index falls back to the line colour.
    CMavArrayTempl<CMavVertexArray> regions;
    regions.append(rect(0, 0, 1, 1));
    MAV::CHatchProp hatch;
    hatch.name = L"ANSI31";
    g.imageReg(path({3}), 0, regions, colourIndex(1), CMavMatrix3d(), CMavArrayTempl<double>(), 0, 0, colourIndex(2),
               hatch);
    g.imageReg(path({3}), 0x1, regions, colourIndex(1), CMavMatrix3d(), CMavArrayTempl<double>(), 0, 0,
               colourIndex(2), hatch);
    g.imageReg(path({3}), 0x2, regions, colourIndex(1), CMavMatrix3d(), CMavArrayTempl<double>(), 0, 0,
               colourIndex(-1), hatch);
    g.imageReg(path({3}), 0x3, regions, colourIndex(1), CMavMatrix3d(), CMavArrayTempl<double>(), 0, 0,
               colourIndex(0), hatch);
    EXPECT_EQ(g.fcolorGet(4).colorIndex(), CMavColor().colorIndex());
    EXPECT_EQ(g.fcolorGet(5).colorIndex(), 2);
    EXPECT_EQ(g.fcolorGet(6).colorIndex(), 1);
    EXPECT_EQ(g.fcolorGet(7).colorIndex(), 0); // index 0 is a colour of its own
    EXPECT_EQ(g.fcolorGet(7).colorName(), CMavString());
    MAV::CHatchProp back;
    ASSERT_TRUE(g.hatchGet(4, back));
    EXPECT_EQ(back.name, CMavString(L"ANSI31"));
    CMavArrayTempl<CMavVertexArray> outl;
    g.geomGet(outl, 4);
    EXPECT_EQ(outl.len(), 1);
    EXPECT_EQ(outl[0].len(), 4);

    // Pictures: file name in the text, icon id in the point mode, a segment only for distinct corners.
    g.imagePicture(path({4}), 0x20, L"a.bmp", 12, CMavPoint3d(0, 0, 0), CMavPoint3d(5, 5, 0));
    g.imagePicture(path({4}), 0, L"", 0x7FFFFFFF, CMavPoint3d(1, 1, 0), CMavPoint3d(1, 1, 0));
    g.imagePicture(path({4}), 0, L"", 8, CMavPoint3d(1, 1, 0), CMavPoint3d(1, 1, 0));
    CMavString name;
    int icon = 0;
    EXPECT_TRUE(g.pictureGet(8, name, icon));
    EXPECT_EQ(name, CMavString(L"a.bmp"));
    EXPECT_EQ(icon, 12);
    EXPECT_EQ(std::wstring(g.txtGet(8)), L"a.bmp");
    CMavVertexArray vl;
    g.geomGet(vl, 8);
    ASSERT_EQ(vl.len(), 1);
    EXPECT_EQ(vl[0].end, CMavPoint3d(5, 5, 0));
    EXPECT_FALSE(g.pictureGet(9, name, icon));
    EXPECT_EQ(icon, 0x7FFFFFFF);
    g.geomGet(vl, 9);
    EXPECT_TRUE(vl.isEmpty());
    EXPECT_TRUE(g.pictureGet(10, name, icon));
}

TEST(CMavGDX, ItemNumbersOutsideTheListReadDefaultsOrCountFromTheEnd)
{
    CMavGDX g(CMavColor(), CMavMatrix3d(), 3.0, 9, CMavPoint3d(), CMavPoint3d());
    addLine(g, {1}, 0, 0, 1, 1, 0x10);
    addPoint(g, {2}, 5, 5, 0x4);
    EXPECT_EQ(g.typeGet(2), kDispNone);
    EXPECT_EQ(g.flagGet(100), 0ul);
    EXPECT_EQ(g.pdModeGet(2), 9ul); // a default item takes the list defaults
    EXPECT_EQ(g.pdSizeGet(2), 3.0);
    EXPECT_EQ(g.typeGet(-1), kDispPoint);
    EXPECT_EQ(g.flagGet(-2), 0x10ul);
    EXPECT_EQ(g.typeGet(-3), kDispNone);
    EXPECT_TRUE(g.linetypeGet(5).isEmpty());
    EXPECT_EQ(std::wstring(g.txtAlignGet(5)), L"");
    MAV::CHatchProp h;
    EXPECT_FALSE(g.hatchGet(-1, h));
    EXPECT_FALSE(g.hatchGet(2, h));
    EXPECT_TRUE(g.hatchGet(1, h));
    CMavString name = L"keep";
    int icon = 5;
    EXPECT_TRUE(g.pictureGet(7, name, icon)); // a default item's icon id 0xFFFFFFFF is not "no icon"
    EXPECT_EQ(icon, -1);
    EXPECT_TRUE(name.isEmpty());
}

TEST(CMavGDX, ColourTableAndColourModes)
{
    OpenGDX g;
    EXPECT_FALSE(g.ColorTabSet(static_cast<GDX_CMODE>(15), colourIndex(1)));
    EXPECT_FALSE(g.ColorTabSet(GDX_CMODE_NORMAL, colourIndex(1)));
    EXPECT_EQ(g.ColorTabLenGet(), 0);
    EXPECT_TRUE(g.ColorTabSet(static_cast<GDX_CMODE>(9), colourIndex(30)));
    EXPECT_EQ(g.ColorTabLenGet(), 9);
    EXPECT_EQ(g.colorTabGet(static_cast<GDX_CMODE>(9)).colorIndex(), 30);
    EXPECT_EQ(g.colorTabGet(GDX_CMODE_NORMAL).colorIndex(), 30); // mode 0 reads the last entry
    EXPECT_EQ(g.colorTabGet(GDX_CMODE_HIGHLIGHT).colorIndex(), CMavColor().colorIndex());
    EXPECT_EQ(g.colorTabGet(static_cast<GDX_CMODE>(12)).colorIndex(), CMavColor().colorIndex());
    EXPECT_EQ(g.ColorTabLenGet(), 9); // reading does not grow the table
    EXPECT_EQ(g.colorTabGet(static_cast<GDX_CMODE>(std::numeric_limits<int>::min())).colorIndex(),
              CMavColor().colorIndex());

    // The colour mode replaces bits 8-11, keeps the low byte and clears the rest.
    addLine(g, {5}, 0, 0, 1, 1, 0x1234);
    addLine(g, {5, 1}, 0, 0, 1, 1, 0xFFFFFFFF);
    addLine(g, {6}, 0, 0, 1, 1, 0x0);
    EXPECT_TRUE(g.cModeSet(path({5}), GDX_CMODE_AXIS));
    EXPECT_EQ(g.flagGet(0), 0x0334ul);
    EXPECT_EQ(g.flagGet(1), 0x03FFul);
    EXPECT_EQ(g.flagGet(2), 0x0ul);
    g.cFlagSet(2, static_cast<GDX_CMODE>(0x1F)); // only 4 bits of the mode count
    EXPECT_EQ(g.flagGet(2), 0xF00ul);
    EXPECT_FALSE(g.cModeSet(path({7}), GDX_CMODE_REFER));
    EXPECT_FALSE(g.cModeSet(path({}), GDX_CMODE_REFER));
}

TEST(CMavGDX, PropertyCodesSetAndClearOneBitEach)
{
    OpenGDX g;
    addLine(g, {1}, 0, 0, 1, 1, 0x0);
    addLine(g, {1}, 0, 0, 1, 1, 0x7F);
    const unsigned long setters[] = {2, 4, 5, 7, 9};
    const unsigned long clearers[] = {1, 3, 6, 8, 10};
    const unsigned long bits[] = {0x4, 0x8, 0x10, 0x20, 0x40};
    unsigned long expectedLow = 0, expectedHigh = 0x7F;
    for (int k = 0; k < 5; ++k) {
        g.flagSet(0, setters[k]);
        expectedLow |= bits[k];
        EXPECT_EQ(g.flagGet(0), expectedLow) << "code " << setters[k];
        g.flagSet(1, clearers[k]);
        expectedHigh &= ~bits[k];
        EXPECT_EQ(g.flagGet(1), expectedHigh) << "code " << clearers[k];
    }
    EXPECT_EQ(g.flagGet(1), 0x3ul); // bits 0 and 1 never change after creation
    g.flagSet(0, 11);
    g.flagSet(0, 0);
    EXPECT_EQ(g.flagGet(0), 0x7Cul);
}

TEST(CMavGDX, QuickExtentsUpdateReplacesAPointBoxAndWidensOtherwise)
{
    CMavGDX g = plainList();
    addPoint(g, {1}, 2, 3);
    expectExtents(g, 2, 3, 0, 2, 3, 0);
    addLine(g, {1}, 0, 0, 1, 1); // replaces the point box, no union
    expectExtents(g, 0, 0, 0, 1, 1, 0);
    addPoint(g, {1}, -4, 0.5);
    expectExtents(g, -4, 0, 0, 1, 1, 0);
    addLine(g, {1}, 100, 100, 200, 200, 0x8); // left out of the extents
    expectExtents(g, -4, 0, 0, 1, 1, 0);
    g.imagePicture(path({1}), 0, L"x", 1, CMavPoint3d(-50, -50, 0), CMavPoint3d(50, 50, 0));
    expectExtents(g, -4, 0, 0, 1, 1, 0);

    // Only the first outline of a region counts, under the item matrix and then the projection.
    CMavGDX r = plainList();
    r.projMtxSet(CMavMatrix3d::scaling(2.0));
    CMavArrayTempl<CMavVertexArray> regions;
    regions.append(rect(0, 0, 1, 1));
    regions.append(rect(10, 10, 11, 11));
    r.imageReg(path({1}), 0, regions, CMavColor(), CMavMatrix3d::translation(CMavVector3d(1, 0, 0)),
               CMavArrayTempl<double>(), 0, 0, CMavColor(), MAV::CHatchProp());
    expectExtents(r, 2, 0, 0, 4, 2, 0);

    // A region without outlines counts as an empty polyline, whose box is the origin.
    r.imageReg(path({1}), 0, CMavArrayTempl<CMavVertexArray>(), CMavColor(), CMavMatrix3d(),
               CMavArrayTempl<double>(), 0, 0, CMavColor(), MAV::CHatchProp());
    expectExtents(r, 0, 0, 0, 4, 2, 0);

    // Arcs count with their bulge: a half circle above the chord (0,0)-(2,0).
    CMavGDX a = plainList();
    CMavVertexArray arc;
    arc.append(CMavPoint3d(2, 0, 0), CMavPoint3d(0, 0, 0), 1.0);
    a.imageVl(path({1}), 0, arc, CMavColor(), CMavMatrix3d(), CMavArrayTempl<double>(), 0, 0);
    expectExtents(a, 0, 0, 0, 2, 1, 0);
}

TEST(CMavGDX, FullRecomputationUsesSecondMatrixAndViewDirection)
{
    CMavGDX g = plainList();
    addLine(g, {1}, 0, 0, 1, 1);
    CMavArrayTempl<CMavDisplayItem> extra;
    CMavDisplayItem far = farPolyline(10);
    far.m_mtx = CMavMatrix3d::scaling(2.0);
    far.m_mtx2 = CMavMatrix3d::translation(CMavVector3d(0, 0, 5)); // acts after the item matrix
    extra.append(far);
    CMavDisplayItem text;
    text.m_kind = kDispText;
    CMavArrayTempl<CMavVertexArray> glyph1, glyph2, glyph3;
    CMavVertexArray low = rect(-3, -3, -2, -2);
    low.transformBy(CMavMatrix3d::translation(CMavVector3d(0, 0, -9)));
    CMavVertexArray high = rect(2, 2, 3, 3);
    high.transformBy(CMavMatrix3d::translation(CMavVector3d(0, 0, 9)));
    glyph1.append(rect(0, 0, 1, 1));
    glyph2.append(low); // later regions widen x and y only
    glyph3.append(high);
    text.m_txtRegl.append(glyph1);
    text.m_txtRegl.append(glyph2);
    text.m_txtRegl.append(glyph3);
    extra.append(text);
    CMavDisplayItem pic;
    pic.m_kind = kDispPicture;
    pic.m_vl = line(-100, -100, 100, 100);
    extra.append(pic);
    ASSERT_TRUE(g.addDisplayList(extra));
    EXPECT_FALSE(g.addDisplayList(CMavArrayTempl<CMavDisplayItem>()));
    expectExtents(g, 0, 0, 0, 1, 1, 0); // adding copies does not touch the extents

    g.projMtxSet(CMavMatrix3d());
    expectExtents(g, -3, -3, 0, 22, 22, 5);

    g.viewDirectionMtxSet(CMavMatrix3d::translation(CMavVector3d(1, 1, 1)));
    expectExtents(g, -2, -2, 1, 23, 23, 6);
}

TEST(CMavGDX, GroupQueries)
{
    CMavGDX g = plainList();
    addLine(g, {3, 1}, 0, 0, 1, 1);
    addLine(g, {7}, 0, 0, 1, 1);
    addLine(g, {}, 0, 0, 1, 1);
    addLine(g, {5, 2}, 0, 0, 1, 1);
    addLine(g, {-9}, 0, 0, 1, 1);
    EXPECT_EQ(g.stackGet(), 7);
    EXPECT_EQ(g.StackToItemNr(path({5})), path({3}));
    EXPECT_TRUE(g.StackToItemNr(path({})).isEmpty());
    EXPECT_EQ(g.StackToItemNr(path({3, 1})), path({0}));
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
    EXPECT_EQ(plainList().stackGet(path({5})), -1);

    CMavGDX only6 = plainList();
    addLine(only6, {6, 1}, 0, 0, 1, 1);
    EXPECT_EQ(only6.stackGet(path({5})), -1);
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
    EXPECT_EQ(g.pdModeGet(0), 3ul);
    EXPECT_EQ(g.pdModeGet(1), 0ul);
    EXPECT_TRUE(g.pdSizeSet(path({5, 1}), 2.0));
    EXPECT_EQ(g.pdSizeGet(1), 2.0);
    EXPECT_EQ(g.pdSizeGet(0), 0.0);
    EXPECT_EQ(g.pdModeGet(1), 0ul); // the size alone changed
    EXPECT_EQ(g.pdModeGet(0), 3ul);
    EXPECT_FALSE(g.pdModeSet(path({}), 3ul));
    EXPECT_FALSE(g.pdSizeSet(path({7}), 3.0));
    EXPECT_TRUE(g.cModeSet(path({5}), GDX_CMODE_HIGHLIGHT));
    EXPECT_EQ(g.flagGet(0) & 0xF00, 0x100ul);
    EXPECT_EQ(g.flagGet(1) & 0xF00, 0x100ul);
    EXPECT_EQ(g.flagGet(2) & 0xF00, 0x0ul);

    MAV::CHatchProp h;
    h.name = L"NET";
    EXPECT_TRUE(g.hatchSet(path({5}), h));
    MAV::CHatchProp back;
    g.hatchGet(1, back);
    EXPECT_EQ(back.name, CMavString(L"NET"));
    g.hatchGet(2, back);
    EXPECT_NE(back.name, CMavString(L"NET"));
    EXPECT_FALSE(g.hatchSet(path({8}), h));
    EXPECT_FALSE(plainList().hatchSet(path({5}), h));
}

TEST(CMavGDX, PropSetAndRedrawRecomputeOnlyWhenTheRulesSaySo)
{
    // The far item is added as a copy, so it is not in the extents until the next recomputation.
    CMavGDX g = plainList();
    addLine(g, {1}, 0, 0, 1, 1);
    CMavArrayTempl<CMavDisplayItem> extra;
    extra.append(farPolyline(10));
    g.addDisplayList(extra);
    expectExtents(g, 0, 0, 0, 1, 1, 0);

    EXPECT_TRUE(g.redraw(path({}), 11)); // unknown code: nothing changes, nothing is recomputed
    expectExtents(g, 0, 0, 0, 1, 1, 0);
    EXPECT_TRUE(g.redraw(path({4}), 1)); // nothing selected
    expectExtents(g, 0, 0, 0, 1, 1, 0);
    EXPECT_FALSE(g.propSet(path({4}), 1));
    EXPECT_FALSE(g.propSet(path({}), 1));
    expectExtents(g, 0, 0, 0, 1, 1, 0);
    EXPECT_TRUE(g.propSet(path({1}), 11)); // selected: recomputed once more at the end even for code 11
    expectExtents(g, 0, 0, 0, 11, 11, 0);

    EXPECT_TRUE(g.propSet(path({9}), 4)); // leave the far item out
    EXPECT_EQ(g.flagGet(1), 0x8ul);
    expectExtents(g, 0, 0, 0, 1, 1, 0);
    EXPECT_TRUE(g.redraw(path({}), 3)); // an empty path selects every item
    EXPECT_EQ(g.flagGet(1), 0x0ul);
    expectExtents(g, 0, 0, 0, 11, 11, 0);
    EXPECT_TRUE(g.redraw(path({}), 4));
    expectExtents(g, 0, 0, 0, 0, 0, 0); // nothing counts: the origin

    CMavGDX empty = plainList();
    EXPECT_FALSE(empty.redraw(path({}), 1));
}

TEST(CMavGDX, MtxSetTakesTheGroupsOwnItemAsReference)
{
    // No item has the path {3}: the last selected one ({3, 2}) is the reference.
    CMavGDX g = plainList();
    const CMavMatrix3d r1 = CMavMatrix3d::translation(CMavVector3d(1, 0, 0));
    const CMavMatrix3d r2 = CMavMatrix3d::scaling(2.0);
    addLine(g, {3, 1}, 0, 0, 1, 0, 0, r1);
    addLine(g, {3, 2}, 0, 0, 1, 0, 0, r2);
    addLine(g, {4}, 0, 0, 1, 0, 0, r1);
    const CMavMatrix3d m = CMavMatrix3d::translation(CMavVector3d(0, 10, 0));
    ASSERT_TRUE(g.mtxSet(path({3}), m));
    const CMavMatrix3d d = m * r2.inverse();
    EXPECT_TRUE(g.mtxGet(0).isEqualTo(r1 * d));
    EXPECT_TRUE(g.mtxGet(1).isEqualTo(r2 * d));
    EXPECT_EQ(g.mtxGet(2), r1);
    // Recomputed: item 0 is (0,0)-(1,0) under r1 * d, a translation by (1, 5) after halving.
    CMavPoint3d lo, hi;
    g.extmaxGet(lo, hi);
    CMavPoint3d p0 = (r1 * d) * CMavPoint3d(0, 0, 0);
    EXPECT_NEAR(lo.x, std::fmin(p0.x, 0.0), 1e-12);

    // With an item of the exact path, that item is the reference even when it is not the last.
    CMavGDX e = plainList();
    addLine(e, {3}, 0, 0, 1, 0, 0, r2);
    addLine(e, {3, 1}, 0, 0, 1, 0, 0, r1);
    addLine(e, {3}, 0, 0, 1, 0, 0, r1); // a second item of the exact path: the first one counts
    ASSERT_TRUE(e.mtxSet(path({3}), m));
    EXPECT_TRUE(e.mtxGet(0).isEqualTo(r2 * (m * r2.inverse())));
    EXPECT_TRUE(e.mtxGet(1).isEqualTo(r1 * (m * r2.inverse())));
    EXPECT_TRUE(e.mtxGet(2).isEqualTo(r1 * (m * r2.inverse())));

    EXPECT_FALSE(e.mtxSet(path({}), m));
    EXPECT_FALSE(e.mtxSet(path({8}), m));
    EXPECT_FALSE(plainList().mtxSet(path({3}), m));

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
    CMavArrayTempl<int> st;
    g.itemStackGet(st, 0);
    EXPECT_EQ(st, path({1}));
    expectExtents(g, 5, 5, 0, 6, 6, 0);
    EXPECT_FALSE(g.clear(path({2})));
    EXPECT_FALSE(g.clear(path({})));
    EXPECT_FALSE(g.removeItemStack(path({})));
    EXPECT_FALSE(plainList().removeItemStack(path({1})));

    OpenGDX o;
    addLine(o, {1}, 0, 0, 1, 1);
    addLine(o, {2}, 5, 5, 6, 6);
    addLine(o, {3}, 7, 7, 8, 8);
    EXPECT_FALSE(o.removeItem(3));
    EXPECT_FALSE(o.removeItem(-1));
    EXPECT_TRUE(o.removeItem(1));
    o.itemStackGet(st, 1);
    EXPECT_EQ(st, path({3}));
    expectExtents(o, 0, 0, 0, 8, 8, 0);
    EXPECT_TRUE(o.removeItemStack(path({3})));
    expectExtents(o, 0, 0, 0, 1, 1, 0);
    EXPECT_FALSE(OpenGDX().removeItem(0));

    // clear() empties the items and all four box corners but keeps matrices, defaults and colours.
    CMavGDX c(CMavColor(), CMavMatrix3d::scaling(3.0), 2.0, 4, CMavPoint3d(1, 1, 0), CMavPoint3d(2, 2, 0));
    c.ColorTabSet(GDX_CMODE_AUX, colourIndex(6));
    addLine(c, {1}, 1, 1, 2, 2);
    c.clear();
    EXPECT_EQ(c.lenGet(), 0);
    expectExtents(c, 0, 0, 0, 0, 0, 0);
    CMavPoint3d vlo, vhi;
    c.extMaxViewGet(vlo, vhi);
    EXPECT_EQ(vlo, CMavPoint3d());
    EXPECT_EQ(vhi, CMavPoint3d());
    EXPECT_EQ(c.projMtxGet(), CMavMatrix3d::scaling(3.0));
    EXPECT_EQ(c.pdModeGet(), 4ul);
    EXPECT_EQ(c.ColorTabLenGet(), 5);
    addPoint(c, {1}, 1, 1); // the list starts again from a point box
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
    EXPECT_GE(g.imageItemGet(CMavPoint3d(0, 0, 0)), -1);
    g.displListSort();
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
    later.extmaxGet(lo, hi);
    EXPECT_EQ(lo, CMavPoint3d(0, 0, 0));
    EXPECT_EQ(hi, CMavPoint3d(2, 3, 0));
    // NaN geometry is never hit; finite items around it still are.
    CMavGDX hits = plainList();
    addPoint(hits, {1}, nan, nan);
    addLine(hits, {2}, nan, 0, nan, 10);
    EXPECT_EQ(hits.imageItemGet(CMavPoint3d(0, 0, 0)), -1);
    addPoint(hits, {3}, 1, 1);
    EXPECT_EQ(hits.imageItemGet(CMavPoint3d(0, 0, 0)), 3);

    // Empty paths: the group operations select nothing, the item keeps its empty path.
    addLine(g, {}, 0, 0, 1, 1);
    EXPECT_FALSE(g.propSet(path({}), 2));
    EXPECT_FALSE(g.mtxSet(path({}), CMavMatrix3d()));
    EXPECT_FALSE(g.clear(path({})));
    EXPECT_EQ(g.lenGet(), 3);
}
