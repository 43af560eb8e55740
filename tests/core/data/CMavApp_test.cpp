// The host application object: the default host's six services and installing a host's own object.
#include <gtest/gtest.h>

#include <cmath>

#include "data/CMavApp.h"
#include "data/CMavDataItem.h"
#include "data/config.h"

namespace {

// A host that answers every service with a recognisable value.
class FakeHost : public CMavApp {
public:
    Mav::lFormat lFormatGet() override { return Mav::kFormatArchitectural; }
    std::uint32_t bkColorGet() override { return 0x123456u; }
    bool drillDraw(CMavGDX*, CMavDataItem*, CMavDataItem*) override { return true; }
    bool patternGet(const wchar_t*, CMavArrayTempl<CMavArrayTempl<double>>& lines) override
    {
        lines.removeAll();
        return false;
    }
    bool entityGet(ads_name, const wchar_t*, bool) override { return false; }
    int lispCall(const wchar_t*, const resbuf*, MAV::CSmartResbuf&) override { return RTCAN; }
};

CMavGDX* fakeList()
{
    static int dummy = 0;
    return reinterpret_cast<CMavGDX*>(&dummy);
}

struct SinkLog {
    int calls = 0;
    CMavArrayTempl<CMavVertexArray> lines;
    CMavColor colour;
    unsigned long flags = 0;
};
SinkLog g_sink;

void recordSink(CMavGDX*, const CMavArrayTempl<CMavVertexArray>& lines, const CMavColor& colour,
                unsigned long flags)
{
    ++g_sink.calls;
    g_sink.lines = lines;
    g_sink.colour = colour;
    g_sink.flags = flags;
}

} // namespace

TEST(CMavApp, InstallingAHostAndGoingBack)
{
    CMavApp* def = mavAppPtr();
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(def, &MAV::CDefaultApp::instance());
    FakeHost host;
    EXPECT_EQ(mavAppSet(&host), nullptr); // the default was installed
    EXPECT_EQ(mavAppPtr(), &host);
    EXPECT_EQ(mavAppPtr()->lFormatGet(), Mav::kFormatArchitectural);
    EXPECT_EQ(mavAppSet(nullptr), &host);
    EXPECT_EQ(mavAppPtr(), def);
    EXPECT_EQ(mavAppSet(&MAV::CDefaultApp::instance()), nullptr);
    EXPECT_EQ(mavAppPtr(), def);
}

TEST(CMavApp, DefaultHostServices)
{
    MAV::CConfig::reset();
    CMavApp* app = mavAppPtr();
    EXPECT_EQ(app->lFormatGet(), Mav::kFormatDecimal);
    EXPECT_EQ(app->bkColorGet(), 0xFFFFFFu); // configured background colour index 7
    MAV::cfg_get(L"KRV_MENU\\COLOR\\BACKGROUND")->set(5);
    EXPECT_EQ(app->bkColorGet(), 0xFF0000u); // blue as 0x00BBGGRR
    MAV::cfg_get(L"KRV_MENU\\COLOR\\BACKGROUND")->set(L"10,20,30");
    EXPECT_EQ(app->bkColorGet(), 0x1E140Au);
    MAV::CConfig::getCfgRoot()->remove(L"KRV_MENU\\COLOR\\BACKGROUND");
    EXPECT_EQ(app->bkColorGet(), 0xFFFFFFu); // missing: white
    MAV::CConfig::reset();

    CMavArrayTempl<CMavArrayTempl<double>> lines;
    lines.setLogicalLength(2);
    EXPECT_TRUE(app->patternGet(L"ANSI37", lines));
    EXPECT_EQ(lines.len(), 2);
    EXPECT_FALSE(app->patternGet(L"UNKNOWN", lines));
    EXPECT_EQ(lines.len(), 0);

    // Entities: only what has been picked for the kind.
    MAV::CDefaultApp& d = MAV::CDefaultApp::instance();
    d.entityForgetAll();
    ads_name e = {0, 0};
    EXPECT_FALSE(app->entityGet(e, L"HOLE", true));
    const ads_name hole = {42, 7};
    d.entityPick(L"HOLE", hole);
    EXPECT_TRUE(app->entityGet(e, L"hole", true));
    EXPECT_EQ(e[0], 42);
    EXPECT_EQ(e[1], 7);
    EXPECT_FALSE(app->entityGet(e, L"WALL", true));
    EXPECT_FALSE(app->entityGet(nullptr, L"HOLE", true));
    d.entityForget(L"HOLE");
    EXPECT_FALSE(app->entityGet(e, L"HOLE", true));
}

TEST(CMavApp, LispCallsGoToRegisteredFunctions)
{
    MAV::CDefaultApp& d = MAV::CDefaultApp::instance();
    CMavApp* app = mavAppPtr();
    MAV::CSmartResbuf result;
    result.appendShort(9);
    EXPECT_EQ(app->lispCall(L"krv_hole_dial", nullptr, result), RTERROR);
    EXPECT_TRUE(result.isEmpty()); // the result is emptied for an unknown function

    int seenArgs = 0;
    d.lispRegister(L"krv_hole_dial", [&seenArgs](const resbuf* args, MAV::CSmartResbuf& out) {
        for (const resbuf* rb = args; rb; rb = rb->rbnext)
            ++seenArgs;
        out.appendShort(1);
        return static_cast<int>(RTNORM);
    });
    MAV::CSmartResbuf args;
    args.appendReal(2.5).appendString(L"x");
    EXPECT_EQ(app->lispCall(L"KRV_HOLE_DIAL", args, result), RTNORM);
    EXPECT_EQ(seenArgs, 2);
    ASSERT_EQ(result.len(), 1);
    EXPECT_EQ(result.head()->restype, RTSHORT);
    EXPECT_EQ(result.head()->resval.rint, 1);
    d.lispRegister(L"krv_hole_dial", nullptr);
    EXPECT_EQ(app->lispCall(L"krv_hole_dial", nullptr, result), RTERROR);
    EXPECT_EQ(app->lispCall(nullptr, nullptr, result), RTERROR);
}

TEST(CMavApp, DefaultDrillDrawing)
{
    CMavDataDir drill;
    drill.setAt(L"DIA", 8.0);
    CMavDataDir parms;
    CMavMatrix3d place;
    place.setToTranslation(CMavVector3d(100, 50, 0));
    parms.setAt(L"MTX", place);
    parms.setAt(L"CMODE", 0x13); // only the low 4 bits are a colour mode

    CMavArrayTempl<CMavVertexArray> lines;
    CMavColor colour;
    unsigned long flags = 0;
    ASSERT_TRUE(MAV::drillPicture(&drill, &parms, lines, colour, flags));
    EXPECT_EQ(flags, 0x300u);
    EXPECT_EQ(colour.colorIndex(), 7);
    ASSERT_EQ(lines.len(), 3);
    // The circle: two half circles of radius 4 about (100, 50).
    ASSERT_EQ(lines[0].len(), 2);
    EXPECT_TRUE(lines[0].isClosed());
    EXPECT_EQ(lines[0][0].bulge, 1.0);
    CMavPoint3d mn, mx;
    ASSERT_TRUE(lines[0].extents(mn, mx));
    EXPECT_NEAR(mn.x, 96.0, 1e-9);
    EXPECT_NEAR(mx.y, 54.0, 1e-9);
    // The cross reaches a quarter diameter beyond the circle.
    EXPECT_NEAR(lines[1][0].start.x, 94.0, 1e-9);
    EXPECT_NEAR(lines[1][0].end.x, 106.0, 1e-9);
    EXPECT_NEAR(lines[2][0].end.y, 56.0, 1e-9);

    drill.setAt(L"COLOR", 3);
    ASSERT_TRUE(MAV::drillPicture(&drill, nullptr, lines, colour, flags));
    EXPECT_EQ(colour.colorIndex(), 3);
    EXPECT_EQ(flags, 0u);
    EXPECT_NEAR(lines[0][0].start.x, 4.0, 1e-12); // no parameters: at the origin
    drill.setAt(L"DIA", 0.0);
    EXPECT_FALSE(MAV::drillPicture(&drill, &parms, lines, colour, flags));
    EXPECT_EQ(lines.len(), 0);
    drill.setAt(L"DIA", std::nan(""));
    EXPECT_FALSE(MAV::drillPicture(&drill, &parms, lines, colour, flags));
    EXPECT_FALSE(MAV::drillPicture(nullptr, &parms, lines, colour, flags));

    // Through the host: only with a sink and a display list.
    drill.setAt(L"DIA", 8.0);
    CMavApp* app = mavAppPtr();
    // The display list installs its own sink at start-up; it is put back at the end.
    const MAV::CDefaultApp::DrillSink installed = MAV::CDefaultApp::drillSinkSet(nullptr);
    EXPECT_FALSE(app->drillDraw(fakeList(), &drill, &parms));
    EXPECT_EQ(MAV::CDefaultApp::drillSinkSet(recordSink), nullptr);
    g_sink = SinkLog();
    EXPECT_FALSE(app->drillDraw(nullptr, &drill, &parms));
    EXPECT_TRUE(app->drillDraw(fakeList(), &drill, &parms));
    EXPECT_EQ(g_sink.calls, 1);
    EXPECT_EQ(g_sink.lines.len(), 3);
    EXPECT_EQ(g_sink.flags, 0x300u);
    EXPECT_EQ(MAV::CDefaultApp::drillSinkSet(installed), &recordSink);
}
