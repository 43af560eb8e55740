// Drill and hole images: what reaches the host's drill drawing, coordinate markers and their groups, the solid
// view of a drill, and the outlines, fills and hatches of hole elements with the active element highlighted.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "../gdx/gdx_test_util.h"
#include "data/CMavApp.h"
#include "data/CMavDataItem.h"
#include "data/config.h"
#include "data/datafile.h"
#include "data/solids.h"
#include "gdx/CMavGDX.h"
#include "generators/drill_image.h"

using gdxtest::listOf;

namespace
{

// A host that records its drill drawings and offers a chosen "HOLE" entity.
class RecordingHost : public CMavApp
{
  public:
    struct Drill {
        CMavGDX* gdx;
        CMavDataItem* drill;
        CMavMatrix3d mtx;
        int cmode;
    };
    std::vector<Drill> drills;
    bool offerHole = false;

    Mav::lFormat lFormatGet() override { return Mav::kFormatDecimal; }
    std::uint32_t bkColorGet() override { return 0; }
    bool drillDraw(CMavGDX* gdx, CMavDataItem* drill, CMavDataItem* parameters) override
    {
        drills.push_back(Drill{gdx, drill, CMavMatrix3d(), -1});
        parameters->get(drills.back().mtx, CMavDataKey(L"MTX"));
        parameters->get(drills.back().cmode, CMavDataKey(L"CMODE"));
        return true;
    }
    bool patternGet(const wchar_t*, CMavArrayTempl<CMavArrayTempl<double>>&) override { return false; }
    bool entityGet(ads_name entity, const wchar_t*, bool) override
    {
        entity[0] = 41;
        entity[1] = 42;
        return offerHole;
    }
    int lispCall(const wchar_t*, const resbuf*, MAV::CSmartResbuf&) override { return -5001; }
};

class DrillHoleImage : public ::testing::Test
{
  protected:
    void SetUp() override { m_previous = mavAppSet(&host); }
    void TearDown() override
    {
        MAV::dtaClose(data);
        MAV::dtaClose(parameters);
        mavAppSet(m_previous);
        MAV::CConfig::reset();
    }

    RecordingHost host;
    CMavGDX gdx{CMavColor(), CMavMatrix3d(), 1.0, 0, CMavPoint3d(), CMavPoint3d()};
    MAV::CDtaFilePointer* data = MAV::dtaOpen(MAV::kDataTemp, MAV::kDataReadWrite, nullptr, nullptr);
    MAV::CDtaFilePointer* parameters = MAV::dtaOpen(MAV::kDataTemp, MAV::kDataReadWrite, nullptr, nullptr);
    CMavDataItem* root = data->root(true);
    CMavDataItem* settings = parameters->root(true);
    CMavApp* m_previous = nullptr;
};

// The host draws the drill with the caller's placement and colour mode; COORD 1 adds a highlighted marker at the
// origin, in the caller's group plus 2; without parameters no marker and colour mode 0.
TEST_F(DrillHoleImage, PlanDrillHandsPlacementAndColourModeToTheHostAndMarksTheOrigin)
{
    const CMavMatrix3d mtx = CMavMatrix3d::translation(CMavVector3d(5.0, 6.0, 0.0));
    settings->setAt(CMavDataKey(L"STACK"), CMavArrayTempl<int>{7, 8});
    settings->setAt(CMavDataKey(L"MTX"), mtx);
    settings->setAt(CMavDataKey(L"CMODE"), 0x23);
    settings->setAt(CMavDataKey(L"COORD"), 1);
    root->setAt(CMavDataKey(L"DIA"), 8.0);
    EXPECT_TRUE(mav_gdx_image_drill(&gdx, data, parameters));
    ASSERT_EQ(host.drills.size(), 1u);
    EXPECT_TRUE(host.drills[0].gdx == &gdx && host.drills[0].drill == root && host.drills[0].cmode == 0x23);
    EXPECT_TRUE(host.drills[0].mtx.isEqualTo(mtx));
    CMavPoint3d p(1, 1, 1);
    gdx.geomGet(p, 0);
    EXPECT_TRUE(gdx.lenGet() == 1 && gdx.typeGet(0) == kDispPoint && p == CMavPoint3d());
    EXPECT_TRUE(gdx.flagGet(0) == 0x423ul && gdx.colorGet(0) == CMavColor(7));
    EXPECT_EQ(gdx.getDisplayList()[0].m_stack, CMavArrayTempl<int>({7, 8, 2}));
    EXPECT_TRUE(mav_gdx_image_drill(&gdx, data, nullptr));
    EXPECT_TRUE(gdx.lenGet() == 1 && host.drills.size() == 2u && host.drills[1].cmode == 0);
    EXPECT_FALSE(mav_gdx_image_drill(nullptr, data, parameters));
}

// VIEW 3 draws the drill's body as visible edges in its layer's colour, no host drawing, and leaves no solid
// behind; without a diameter there is no body: false, nothing added.
TEST_F(DrillHoleImage, SolidDrillDrawsVisibleEdgesInTheLayerColour)
{
    MAV::cfg_dir_make(L"LAYER\\BODY")->setAt(CMavDataKey(L"COLOR"), 3);
    root->setAt(CMavDataKey(L"VIEW"), 3);
    root->setAt(CMavDataKey(L"PART_SOLID"), L"BODY");
    root->setAt(CMavDataKey(L"DIA"), 10.0);
    root->setAt(CMavDataKey(L"DEPTH"), 20.0);
    settings->setAt(CMavDataKey(L"COORD"), 1);
    const int solids = MAV::solidMapCount();
    EXPECT_TRUE(mav_gdx_image_drill(&gdx, data, parameters));
    EXPECT_TRUE(gdx.lenGet() >= 2 && host.drills.empty() && MAV::solidMapCount() == solids);
    for (int i = 0; i < gdx.lenGet(); ++i)
        EXPECT_TRUE(gdx.typeGet(i) == kDispPolyline && gdx.flagGet(i) == 0ul && gdx.colorGet(i) == CMavColor(3)) << i;
    CMavPoint3d lo, hi;
    gdx.extmaxGet(lo, hi);
    EXPECT_TRUE(std::fabs(hi.x - lo.x - 10.0) < 0.5 && hi.y - lo.y > 10.0); // seen from the front right, above
    root->remove(CMavDataKey(L"DIA"));
    gdx.clear();
    EXPECT_FALSE(mav_gdx_image_drill(&gdx, data, parameters));
    EXPECT_TRUE(gdx.lenGet() == 0 && MAV::solidMapCount() == solids);
}

CMavVertexArray square(double size)
{
    return CMavVertexArray::fromPoints({{0, 0, 0}, {size, 0, 0}, {size, size, 0}, {0, size, 0}}, true);
}

// Each hole element gives its outline and a hatched ("S") or filled ("F") region in the layers' colours, placed by
// its own matrix and the caller's, and a marker at the caller's placement; the active element is highlighted with
// a point; drills go to the host, completed; unknown types get only a marker.
TEST_F(DrillHoleImage, HoleElementsAsHatchedOutlinesDrillsAndMarkers)
{
    MAV::cfg_dir_make(L"LAYER\\CON")->setAt(CMavDataKey(L"COLOR"), 1);
    MAV::cfg_dir_make(L"LAYER\\FILL")->setAt(CMavDataKey(L"COLOR"), 5);
    root->setAt(CMavDataKey(L"DRAW"), L"S");
    root->setAt(CMavDataKey(L"PART_CON"), L"CON");
    root->setAt(CMavDataKey(L"PART_FILL"), L"FILL");
    root->setAt(CMavDataKey(L"HPNAME"), L"ANSI31");
    root->setAt(CMavDataKey(L"HPSCALE"), 2.5);
    root->setAt(CMavDataKey(L"HPANG"), 45.0);
    CMavDataItem* bt = data->top()->makeDir(CMavDataKey(L"BT"));
    bt->setAt(CMavDataKey(L"A\\GEN"), square(2.0));
    bt->setAt(CMavDataKey(L"A\\MTX"), CMavMatrix3d::translation(CMavVector3d(10, 0, 0)));
    bt->setAt(CMavDataKey(L"B\\GEN"), square(1.0));
    bt->setAt(CMavDataKey(L"C\\GEN\\TYPE"), L"SLOT");
    bt->setAt(CMavDataKey(L"D\\GEN\\TYPE"), L"DRILL");
    bt->setAt(CMavDataKey(L"D\\MTX"), CMavMatrix3d::translation(CMavVector3d(0, 30, 0)));
    bt->setAt(CMavDataKey(7).append(CMavDataKey(L"GEN")), square(9.0)); // an integer key: not an element
    settings->setAt(CMavDataKey(L"MTX"), CMavMatrix3d::translation(CMavVector3d(0, 100, 0)));
    settings->setAt(CMavDataKey(L"CMODE"), 3);
    settings->setAt(CMavDataKey(L"ACT"), L"B");
    settings->setAt(CMavDataKey(L"COORD"), 1);
    EXPECT_TRUE(mav_gdx_image_hole(&gdx, data, parameters));
    EXPECT_EQ(listOf(gdx, &CMavGDX::typeGet),
              (std::vector<MavDisplayObj>{kDispPolyline, kDispRegion, kDispPoint, kDispPoint, kDispPolyline,
                                          kDispRegion, kDispPoint, kDispPoint, kDispPoint}));
    EXPECT_EQ(listOf(gdx, &CMavGDX::flagGet),
              (std::vector<unsigned long>{0x300, 0x12, 0x400, 0x100, 0x100, 0x12, 0x400, 0x400, 0x400}));
    EXPECT_EQ(gdx.stackGet(), 0); // no group given: every path empty
    CMavVertexArray vl;
    CMavPoint3d lo, hi, p, q;
    gdx.geomGet(vl, 0);
    gdx.geomGet(p, 2);
    gdx.geomGet(q, 3);
    ASSERT_TRUE(vl.extents(lo, hi));
    EXPECT_TRUE(lo == CMavPoint3d(10, 100, 0) && hi == CMavPoint3d(12, 102, 0));
    EXPECT_TRUE(p == CMavPoint3d(0, 100, 0) && q == p && gdx.colorGet(3) == CMavColor(7));
    EXPECT_TRUE(gdx.colorGet(1) == CMavColor(1) && gdx.fcolorGet(1) == CMavColor(5));
    MAV::CHatchProp hatch;
    ASSERT_TRUE(gdx.hatchGet(1, hatch));
    EXPECT_TRUE(hatch.name == L"ANSI31" && hatch.scale == 2.5 && hatch.angle == 45.0);
    ASSERT_EQ(host.drills.size(), 1u);
    EXPECT_TRUE(host.drills[0].mtx.isEqualTo(CMavMatrix3d::translation(CMavVector3d(0, 130, 0))));
    double dia = 0.0;
    EXPECT_TRUE(host.drills[0].drill->get(dia, CMavDataKey(L"DIA")) && dia == 5.0 && host.drills[0].cmode == 3);

    root->setAt(CMavDataKey(L"DRAW"), L"F");
    settings->setAt(CMavDataKey(L"COORD"), false);
    gdx.clear();
    EXPECT_TRUE(mav_gdx_image_hole(&gdx, data, parameters));
    EXPECT_EQ(listOf(gdx, &CMavGDX::flagGet), (std::vector<unsigned long>{0x300, 0x11, 0x100, 0x11}));
    EXPECT_TRUE(gdx.hatchGet(1, hatch) && hatch.name.isEmpty());
    EXPECT_TRUE(mav_gdx_image_hole(&gdx, nullptr, parameters)); // no data and no "HOLE" entity: nothing
    EXPECT_EQ(gdx.lenGet(), 4);
    EXPECT_FALSE(mav_gdx_image_hole(nullptr, data, parameters));

    // An "OUTLINE" element whose outline cannot be built still adds its (empty) polyline and its region, so the
    // next element's items keep their numbers 2 and 3.
    bt->remove(CMavDataKey(L"A\\GEN"));
    bt->setAt(CMavDataKey(L"A\\GEN\\TYPE"), L"OUTLINE");
    gdx.clear();
    EXPECT_TRUE(mav_gdx_image_hole(&gdx, data, parameters));
    EXPECT_EQ(listOf(gdx, &CMavGDX::typeGet),
              (std::vector<MavDisplayObj>{kDispPolyline, kDispRegion, kDispPolyline, kDispRegion}));
    EXPECT_EQ(listOf(gdx, &CMavGDX::flagGet), (std::vector<unsigned long>{0x300, 0x11, 0x100, 0x11}));
    gdx.geomGet(vl, 0);
    EXPECT_EQ(vl.len(), 0);
    gdx.geomGet(vl, 2);
    EXPECT_TRUE(vl.extents(lo, hi) && hi - lo == CMavVector3d(1, 1, 0)); // B's unit square

    // Without data the host's "HOLE" entity is drawn, found as the same open entity data.
    host.offerHole = true;
    ads_name hole = {41, 42};
    MAV::CDtaFilePointer* entity = MAV::dtaOpen(MAV::kDataEntity, MAV::kDataReadWrite, hole, nullptr);
    ASSERT_NE(entity, nullptr);
    entity->top()->setAt(CMavDataKey(L"BT\\X\\GEN"), square(3.0));
    gdx.clear();
    EXPECT_TRUE(mav_gdx_image_hole(&gdx, nullptr, nullptr));
    MAV::dtaClose(entity);
    ASSERT_EQ(gdx.lenGet(), 1);
    gdx.geomGet(vl, 0);
    EXPECT_TRUE(gdx.flagGet(0) == 0ul && vl.extents(lo, hi) && hi - lo == CMavVector3d(3, 3, 0));
}

} // namespace
