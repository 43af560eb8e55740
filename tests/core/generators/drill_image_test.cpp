// Drill and hole images: what reaches the host's drill drawing, coordinate markers and their groups, the solid
// view of a drill, and the outlines, fills and hatches of hole elements with the active element highlighted.
#include <gtest/gtest.h>

#include <vector>

#include "gdx/CMavGDX.h"
#include "generators/drill_image.h"
#include "../gdx/gdx_test_util.h"
#include "data/CMavApp.h"
#include "data/CMavDataItem.h"
#include "data/config.h"
#include "data/datafile.h"
#include "data/solids.h"

using gdxtest::flagsOf;
using gdxtest::kindsOf;

namespace {

// A host that records its drill drawings and offers a chosen "HOLE" entity.
class RecordingHost : public CMavApp {
public:
    struct Drill {
        CMavGDX* gdx;
        CMavDataItem* drill;
        CMavMatrix3d mtx;
        int cmode;
    };
    std::vector<Drill> drills;
    bool offerHole = false;
    ads_name hole = {41, 42};

    Mav::lFormat lFormatGet() override { return MAV::CDefaultApp::instance().lFormatGet(); }
    std::uint32_t bkColorGet() override { return 0; }
    bool drillDraw(CMavGDX* gdx, CMavDataItem* drill, CMavDataItem* parameters) override
    {
        Drill d{gdx, drill, CMavMatrix3d(), -1};
        parameters->get(d.mtx, CMavDataKey(L"MTX"));
        parameters->get(d.cmode, CMavDataKey(L"CMODE"));
        drills.push_back(d);
        return true;
    }
    bool patternGet(const wchar_t*, CMavArrayTempl<CMavArrayTempl<double>>&) override { return false; }
    bool entityGet(ads_name entity, const wchar_t*, bool) override
    {
        if (!offerHole)
            return false;
        entity[0] = hole[0];
        entity[1] = hole[1];
        return true;
    }
    int lispCall(const wchar_t*, const resbuf*, MAV::CSmartResbuf&) override { return -5001; }
};

class DrillHoleImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = mavAppSet(&host);
        data = MAV::dtaOpen(MAV::kDataTemp, MAV::kDataReadWrite, nullptr, nullptr);
        parameters = MAV::dtaOpen(MAV::kDataTemp, MAV::kDataReadWrite, nullptr, nullptr);
        root = data->root(true);
        settings = parameters->root(true);
    }
    void TearDown() override
    {
        MAV::dtaClose(data);
        MAV::dtaClose(parameters);
        mavAppSet(m_previous);
        MAV::CConfig::reset();
    }

    std::vector<int> stackOf(int item) const
    {
        CMavArrayTempl<int> s;
        gdx.itemStackGet(s, item);
        return std::vector<int>(s.begin(), s.end());
    }

    RecordingHost host;
    CMavGDX gdx{CMavColor(), CMavMatrix3d(), 1.0, 0, CMavPoint3d(), CMavPoint3d()};
    MAV::CDtaFilePointer* data = nullptr;
    MAV::CDtaFilePointer* parameters = nullptr;
    CMavDataItem* root = nullptr;
    CMavDataItem* settings = nullptr;

private:
    CMavApp* m_previous = nullptr;
};

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
    EXPECT_EQ(host.drills[0].gdx, &gdx);
    EXPECT_EQ(host.drills[0].drill, root);
    EXPECT_TRUE(host.drills[0].mtx.isEqualTo(mtx));
    EXPECT_EQ(host.drills[0].cmode, 0x23);
    ASSERT_EQ(gdx.lenGet(), 1);
    EXPECT_EQ(gdx.typeGet(0), kDispPoint);
    EXPECT_EQ(stackOf(0), (std::vector<int>{7, 8, 2}));
    EXPECT_EQ(gdx.flagGet(0), 0x423ul);
    EXPECT_EQ(gdx.colorGet(0).colorIndex(), 7);
    CMavPoint3d p(1, 1, 1);
    gdx.geomGet(p, 0);
    EXPECT_EQ(p, CMavPoint3d(0, 0, 0));

    // Without STACK the marker lies in group {2}; COORD 2 is not "on"; without parameters the defaults hold.
    settings->remove(CMavDataKey(L"STACK"));
    EXPECT_TRUE(mav_gdx_image_drill(&gdx, data, parameters));
    EXPECT_EQ(stackOf(1), (std::vector<int>{2}));
    settings->setAt(CMavDataKey(L"COORD"), 2);
    EXPECT_TRUE(mav_gdx_image_drill(&gdx, data, parameters));
    EXPECT_TRUE(mav_gdx_image_drill(&gdx, data, nullptr));
    EXPECT_EQ(gdx.lenGet(), 2);
    ASSERT_EQ(host.drills.size(), 4u);
    EXPECT_TRUE(host.drills[3].mtx.isEqualTo(CMavMatrix3d()));
    EXPECT_EQ(host.drills[3].cmode, 0);
    EXPECT_FALSE(mav_gdx_image_drill(nullptr, data, parameters));
}

TEST_F(DrillHoleImage, SolidDrillDrawsVisibleEdgesInTheLayerColourAndLeavesTheSolidMapAsItWas)
{
    MAV::cfg_dir_make(L"LAYER\\BODY")->setAt(CMavDataKey(L"COLOR"), 3);
    root->setAt(CMavDataKey(L"VIEW"), 3);
    root->setAt(CMavDataKey(L"PART_SOLID"), L"BODY");
    root->setAt(CMavDataKey(L"DIA"), 10.0);
    root->setAt(CMavDataKey(L"DEPTH"), 20.0);
    settings->setAt(CMavDataKey(L"COORD"), 1);
    const int solids = MAV::solidMapCount();

    EXPECT_TRUE(mav_gdx_image_drill(&gdx, data, parameters));
    EXPECT_EQ(MAV::solidMapCount(), solids);
    EXPECT_TRUE(host.drills.empty());
    ASSERT_GE(gdx.lenGet(), 2);
    for (int i = 0; i < gdx.lenGet(); ++i) {
        EXPECT_EQ(gdx.typeGet(i), kDispPolyline);
        EXPECT_EQ(stackOf(i), (std::vector<int>{0}));
        EXPECT_EQ(gdx.flagGet(i), 0ul);
        EXPECT_EQ(gdx.colorGet(i).colorIndex(), 3);
    }
    // Seen from the front right and above: about as wide as the diameter across the view, taller than that.
    CMavPoint3d lo, hi;
    gdx.extmaxGet(lo, hi);
    EXPECT_NEAR(hi.x - lo.x, 10.0, 0.5);
    EXPECT_GT(hi.y - lo.y, 10.0);
    // No body without a diameter: false, nothing added, no solid left behind.
    root->remove(CMavDataKey(L"DIA"));
    const int before = gdx.lenGet();
    EXPECT_FALSE(mav_gdx_image_drill(&gdx, data, parameters));
    EXPECT_EQ(gdx.lenGet(), before);
    EXPECT_EQ(MAV::solidMapCount(), solids);
}

CMavVertexArray square(double size)
{
    CMavArrayTempl<CMavPoint3d> pts{CMavPoint3d(0, 0, 0), CMavPoint3d(size, 0, 0), CMavPoint3d(size, size, 0),
                                    CMavPoint3d(0, size, 0)};
    return CMavVertexArray::fromPoints(pts, true);
}

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
    // A: stored polyline, own matrix. B: the active element. C: an unknown type. D: a drill. 7: integer key.
    bt->setAt(CMavDataKey(L"A\\GEN"), square(2.0));
    bt->setAt(CMavDataKey(L"A\\MTX"), CMavMatrix3d::translation(CMavVector3d(10, 0, 0)));
    bt->setAt(CMavDataKey(L"B\\GEN"), square(1.0));
    bt->setAt(CMavDataKey(L"C\\GEN\\TYPE"), L"SLOT");
    bt->setAt(CMavDataKey(L"D\\GEN\\TYPE"), L"DRILL");
    bt->setAt(CMavDataKey(L"D\\MTX"), CMavMatrix3d::translation(CMavVector3d(0, 30, 0)));
    bt->setAt(CMavDataKey(7).append(CMavDataKey(L"GEN")), square(9.0));
    const CMavMatrix3d place = CMavMatrix3d::translation(CMavVector3d(0, 100, 0));
    settings->setAt(CMavDataKey(L"MTX"), place);
    settings->setAt(CMavDataKey(L"CMODE"), 3);
    settings->setAt(CMavDataKey(L"ACT"), L"B");
    settings->setAt(CMavDataKey(L"COORD"), 1);

    EXPECT_TRUE(mav_gdx_image_hole(&gdx, data, parameters));
    // A: polyline, region, marker. B: highlight point, polyline, region, marker. C: marker. D: marker.
    EXPECT_EQ(kindsOf(gdx), (std::vector<MavDisplayObj>{kDispPolyline, kDispRegion, kDispPoint, kDispPoint,
                                                        kDispPolyline, kDispRegion, kDispPoint, kDispPoint,
                                                        kDispPoint}));
    EXPECT_EQ(flagsOf(gdx), (std::vector<unsigned long>{0x300, 0x12, 0x400, 0x100, 0x100, 0x12, 0x400, 0x400, 0x400}));
    EXPECT_EQ(gdx.stackGet(), 0); // no group given: every path empty
    CMavVertexArray vl;
    gdx.geomGet(vl, 0);
    CMavPoint3d lo, hi;
    ASSERT_TRUE(vl.extents(lo, hi));
    EXPECT_EQ(lo, CMavPoint3d(10, 100, 0));
    EXPECT_EQ(hi, CMavPoint3d(12, 102, 0));
    EXPECT_TRUE(gdx.colorGet(0) == CMavColor(1) && gdx.colorGet(1) == CMavColor(1) && gdx.fcolorGet(1) == CMavColor(5));
    MAV::CHatchProp hatch;
    ASSERT_TRUE(gdx.hatchGet(1, hatch));
    EXPECT_TRUE(hatch.name == L"ANSI31" && hatch.scale == 2.5 && hatch.angle == 45.0);
    for (int marker : {2, 3}) {
        CMavPoint3d p;
        gdx.geomGet(p, marker);
        EXPECT_EQ(p, CMavPoint3d(0, 100, 0)); // at the caller's placement, not the element's
    }
    EXPECT_EQ(gdx.colorGet(3).colorIndex(), 7);

    ASSERT_EQ(host.drills.size(), 1u);
    EXPECT_TRUE(host.drills[0].mtx.isEqualTo(CMavMatrix3d::translation(CMavVector3d(0, 130, 0))));
    EXPECT_EQ(host.drills[0].cmode, 3);
    double dia = 0.0;
    EXPECT_TRUE(host.drills[0].drill->get(dia, CMavDataKey(L"DIA")));  // completed before drawing
    EXPECT_EQ(dia, 5.0);

    // Filled instead of hatched: flag 0x11 and no hatch pattern; any other DRAW: outlines only.
    root->setAt(CMavDataKey(L"DRAW"), L"F");
    settings->setAt(CMavDataKey(L"COORD"), false);
    gdx.clear();
    EXPECT_TRUE(mav_gdx_image_hole(&gdx, data, parameters));
    EXPECT_EQ(flagsOf(gdx), (std::vector<unsigned long>{0x300, 0x11, 0x100, 0x11}));
    ASSERT_TRUE(gdx.hatchGet(1, hatch));
    EXPECT_TRUE(hatch.name.isEmpty());
    root->setAt(CMavDataKey(L"DRAW"), L"f");
    EXPECT_TRUE(mav_gdx_image_hole(&gdx, data, parameters));
    EXPECT_EQ(gdx.lenGet(), 6);

    // An "OUTLINE" element whose outline cannot be built (no outline code) still adds its polyline, empty, and
    // its filled region, so that the next element's items keep their numbers 2 and 3.
    MAV::CDtaFilePointer* two = MAV::dtaOpen(MAV::kDataTemp, MAV::kDataReadWrite, nullptr, nullptr);
    two->root(true)->setAt(CMavDataKey(L"DRAW"), L"F");
    CMavDataItem* bt2 = two->top()->makeDir(CMavDataKey(L"BT"));
    bt2->setAt(CMavDataKey(L"A\\GEN\\TYPE"), L"OUTLINE");
    bt2->setAt(CMavDataKey(L"B\\GEN"), square(1.0));
    gdx.clear();
    EXPECT_TRUE(mav_gdx_image_hole(&gdx, two, parameters));
    MAV::dtaClose(two);
    EXPECT_EQ(kindsOf(gdx), (std::vector<MavDisplayObj>{kDispPolyline, kDispRegion, kDispPolyline, kDispRegion}));
    EXPECT_EQ(flagsOf(gdx), (std::vector<unsigned long>{0x300, 0x11, 0x100, 0x11}));
    gdx.geomGet(vl, 0);
    EXPECT_EQ(vl.len(), 0);
    gdx.geomGet(vl, 2);
    ASSERT_TRUE(vl.extents(lo, hi));
    EXPECT_EQ(hi - lo, CMavVector3d(1, 1, 0));  // B's unit square
}

TEST_F(DrillHoleImage, HoleWithoutDataDrawsTheHostsHoleEntityOrNothing)
{
    EXPECT_TRUE(mav_gdx_image_hole(&gdx, nullptr, parameters));
    EXPECT_EQ(gdx.lenGet(), 0);

    host.offerHole = true;
    MAV::CDtaFilePointer* entity = MAV::dtaOpen(MAV::kDataEntity, MAV::kDataReadWrite, host.hole, nullptr);
    ASSERT_NE(entity, nullptr);
    entity->top()->setAt(CMavDataKey(L"BT\\X\\GEN"), square(3.0));
    EXPECT_TRUE(mav_gdx_image_hole(&gdx, nullptr, nullptr));
    ASSERT_EQ(gdx.lenGet(), 1);
    EXPECT_EQ(gdx.flagGet(0), 0ul);
    MAV::dtaClose(entity);  // the generator found the same open entity data
    EXPECT_FALSE(mav_gdx_image_hole(nullptr, data, parameters));
}

} // namespace
