// The configuration and the host application object: shipped defaults, merging, the default host's services,
// installing a host's own object, and the default drill picture.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "data/CMavApp.h"
#include "data/CMavDataItem.h"
#include "data/config.h"
#include "../geom_test_util.h"

using geomtest::expectPoint;

namespace {

// A host that answers with a recognisable value.
class FakeHost : public CMavApp {
public:
    Mav::lFormat lFormatGet() override { return Mav::kFormatArchitectural; }
    std::uint32_t bkColorGet() override { return 0x123456u; }
    bool drillDraw(CMavGDX*, CMavDataItem*, CMavDataItem*) override { return true; }
    bool patternGet(const wchar_t*, CMavArrayTempl<CMavArrayTempl<double>>&) override { return false; }
    bool entityGet(ads_name, const wchar_t*, bool) override { return false; }
    int lispCall(const wchar_t*, const resbuf*, MAV::CSmartResbuf&) override { return RTCAN; }
};

int g_sinkCalls = 0;
unsigned long g_sinkFlags = 0;
void recordSink(CMavGDX*, const CMavArrayTempl<CMavVertexArray>& lines, const CMavColor&, unsigned long flags)
{
    g_sinkCalls += lines.len() == 3;
    g_sinkFlags = flags;
}

} // namespace

TEST(Config, ShippedDefaultsDirectoriesAndMerging)
{
    MAV::CConfig::reset();
    double pdsize = 0;
    int background = 0, aux = 0;
    EXPECT_TRUE(MAV::cfg_get(L"KRV_MENU\\COLOR")->get(pdsize, L"PDSIZE") && pdsize == 5.0);
    EXPECT_EQ(MAV::cfg_get(L"KRV_MENU\\COLOR\\NOPE"), nullptr);
    CMavDataKey key;
    key.set(5005, L"*WALL_EDIT*", 5005, L"MODE", 0);
    EXPECT_EQ(MAV::cfg_get(key), nullptr);
    CMavDataItem* dir = MAV::cfg_dir_make(L"*WALL_EDIT*");
    ASSERT_NE(dir, nullptr);
    EXPECT_EQ(MAV::cfg_dir_make(L"*WALL_EDIT*"), dir); // made once
    dir->setAt(L"MODE", L"SHELL");
    EXPECT_NE(MAV::cfg_get(key), nullptr);
    // A host file merges: new keys added, known keys replaced, the rest kept; a broken file is read up to the
    // error. A reset brings back the shipped defaults only.
    const std::string host = "KRV_MENU { COLOR { BACKGROUND = int 250 } }\nX = int 1\nY = int";
    EXPECT_FALSE(MAV::CConfig::loadText(host.data(), host.size()));
    EXPECT_TRUE(MAV::cfg_get(L"KRV_MENU\\COLOR\\BACKGROUND")->get(background) && background == 250);
    EXPECT_TRUE(MAV::cfg_get(L"KRV_MENU\\COLOR\\AUX")->get(aux) && aux == 30);
    EXPECT_NE(MAV::cfg_get(L"X"), nullptr);
    EXPECT_FALSE(MAV::CConfig::load(L"/no/such/config.cfg"));
    MAV::CConfig::reset();
    EXPECT_EQ(MAV::cfg_get(L"*WALL_EDIT*"), nullptr);
    EXPECT_TRUE(MAV::cfg_get(L"KRV_MENU\\COLOR\\BACKGROUND")->get(background) && background == 7);
}

TEST(CMavApp, InstallingAHostAndTheDefaultHostsServices)
{
    // Installing a host answers the previous one, nullptr for the default; nullptr puts the default back.
    CMavApp* def = mavAppPtr();
    EXPECT_EQ(def, &MAV::CDefaultApp::instance());
    FakeHost host;
    EXPECT_EQ(mavAppSet(&host), nullptr);
    EXPECT_EQ(mavAppPtr()->lFormatGet(), Mav::kFormatArchitectural);
    EXPECT_EQ(mavAppSet(nullptr), &host);
    EXPECT_EQ(mavAppPtr(), def);

    MAV::CConfig::reset();
    EXPECT_EQ(def->lFormatGet(), Mav::kFormatDecimal);
    // The configured background as 0x00BBGGRR: index 7, index 5 (blue), three numbers, missing (white).
    EXPECT_EQ(def->bkColorGet(), 0xFFFFFFu);
    MAV::cfg_get(L"KRV_MENU\\COLOR\\BACKGROUND")->set(5);
    EXPECT_EQ(def->bkColorGet(), 0xFF0000u);
    MAV::cfg_get(L"KRV_MENU\\COLOR\\BACKGROUND")->set(L"10,20,30");
    EXPECT_EQ(def->bkColorGet(), 0x1E140Au);
    MAV::CConfig::getCfgRoot()->remove(L"KRV_MENU\\COLOR\\BACKGROUND");
    EXPECT_EQ(def->bkColorGet(), 0xFFFFFFu);
    MAV::CConfig::reset();
    CMavArrayTempl<CMavArrayTempl<double>> lines;
    EXPECT_TRUE(def->patternGet(L"ANSI37", lines) && lines.len() == 2);
    EXPECT_FALSE(def->patternGet(L"UNKNOWN", lines));
    EXPECT_EQ(lines.len(), 0);

    // Entities: only what has been picked for the kind, whatever its case.
    MAV::CDefaultApp& d = MAV::CDefaultApp::instance();
    d.entityForgetAll();
    ads_name e = {0, 0};
    const ads_name hole = {42, 7};
    d.entityPick(L"HOLE", hole);
    EXPECT_TRUE(def->entityGet(e, L"hole", true));
    EXPECT_EQ(e[0] * 100 + e[1], 4207);
    EXPECT_FALSE(def->entityGet(e, L"WALL", true) || def->entityGet(nullptr, L"HOLE", true));
    d.entityForget(L"HOLE");
    EXPECT_FALSE(def->entityGet(e, L"HOLE", true));

    // LISP calls go to registered functions, whatever the case of the name; the result is emptied otherwise.
    MAV::CSmartResbuf result, args;
    result.appendShort(9);
    EXPECT_EQ(def->lispCall(L"krv_hole_dial", nullptr, result), RTERROR);
    EXPECT_TRUE(result.isEmpty());
    int seenArgs = 0;
    d.lispRegister(L"krv_hole_dial", [&seenArgs](const resbuf* a, MAV::CSmartResbuf& out) {
        for (; a; a = a->rbnext)
            ++seenArgs;
        out.appendShort(1);
        return static_cast<int>(RTNORM);
    });
    args.appendReal(2.5).appendString(L"x");
    EXPECT_EQ(def->lispCall(L"KRV_HOLE_DIAL", args, result), RTNORM);
    EXPECT_EQ(seenArgs, 2);
    ASSERT_EQ(result.len(), 1);
    EXPECT_EQ(result.head()->resval.rint, 1);
    d.lispRegister(L"krv_hole_dial", nullptr);
    EXPECT_EQ(def->lispCall(L"krv_hole_dial", nullptr, result), RTERROR);
    EXPECT_EQ(def->lispCall(nullptr, nullptr, result), RTERROR);
}

TEST(CMavApp, DefaultDrillDrawing)
{
    CMavDataDir drill, parms;
    drill.setAt(L"DIA", 8.0);
    parms.setAt(L"MTX", CMavMatrix3d::translation(CMavVector3d(100, 50, 0)));
    parms.setAt(L"CMODE", 0x13); // only the low 4 bits are a colour mode
    CMavArrayTempl<CMavVertexArray> lines;
    CMavColor colour;
    unsigned long flags = 0;
    ASSERT_TRUE(MAV::drillPicture(&drill, &parms, lines, colour, flags));
    EXPECT_EQ(flags, 0x300u);
    EXPECT_EQ(colour.colorIndex(), 7);
    ASSERT_EQ(lines.len(), 3);
    // The circle: two half circles of radius 4 about (100, 50); the cross reaches a quarter diameter beyond it.
    EXPECT_TRUE(lines[0].len() == 2 && lines[0].isClosed() && lines[0][0].bulge == 1.0);
    CMavPoint3d mn, mx;
    ASSERT_TRUE(lines[0].extents(mn, mx));
    EXPECT_TRUE(mn.isEqualTo(CMavPoint3d(96, 46, 0), 1e-9) && mx.isEqualTo(CMavPoint3d(104, 54, 0), 1e-9));
    expectPoint(lines[1][0].start, 94, 50);
    expectPoint(lines[1][0].end, 106, 50);
    expectPoint(lines[2][0].end, 100, 56);
    // Without parameters the picture lies at the origin in the drill's own colour; no diameter, nothing.
    drill.setAt(L"COLOR", 3);
    ASSERT_TRUE(MAV::drillPicture(&drill, nullptr, lines, colour, flags));
    EXPECT_EQ(colour.colorIndex() * 10 + flags, 30u);
    EXPECT_NEAR(lines[0][0].start.x, 4.0, 1e-12);
    for (double bad : {0.0, std::nan("")}) {
        drill.setAt(L"DIA", bad);
        EXPECT_FALSE(MAV::drillPicture(&drill, &parms, lines, colour, flags));
        EXPECT_EQ(lines.len(), 0);
    }
    EXPECT_FALSE(MAV::drillPicture(nullptr, &parms, lines, colour, flags));

    // Through the host: only with a sink and a display list. The display list installs its own sink at
    // start-up; it is put back at the end.
    static int list = 0;
    CMavGDX* fakeList = reinterpret_cast<CMavGDX*>(&list);
    drill.setAt(L"DIA", 8.0);
    const MAV::CDefaultApp::DrillSink installed = MAV::CDefaultApp::drillSinkSet(nullptr);
    EXPECT_FALSE(mavAppPtr()->drillDraw(fakeList, &drill, &parms));
    EXPECT_EQ(MAV::CDefaultApp::drillSinkSet(recordSink), nullptr);
    g_sinkCalls = 0;
    EXPECT_FALSE(mavAppPtr()->drillDraw(nullptr, &drill, &parms));
    EXPECT_TRUE(mavAppPtr()->drillDraw(fakeList, &drill, &parms));
    EXPECT_EQ(g_sinkCalls * 0x1000 + g_sinkFlags, 0x1300u);
    EXPECT_EQ(MAV::CDefaultApp::drillSinkSet(installed), &recordSink);
}
