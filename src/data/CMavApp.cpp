// The host application object and the default host.
#include "data/CMavApp.h"

#include <cmath>
#include <map>
#include <string>

#include "data/CMavDataItem.h"
#include "data/config.h"
#include "data/patterns.h"

namespace {

CMavApp*& installedApp()
{
    static CMavApp* app = nullptr;
    return app;
}

std::wstring upperKey(const wchar_t* s)
{
    CMavString u(s);
    u.makeUpper();
    return u.wstr();
}

struct DefaultState {
    std::map<std::wstring, MAV::CDefaultApp::LispFn> lisp;
    std::map<std::wstring, std::pair<std::int64_t, std::int64_t>> entities;
    MAV::CDefaultApp::DrillSink drillSink = nullptr;
};

DefaultState& defaults()
{
    static DefaultState s;
    return s;
}

} // namespace

CMavApp* mavAppPtr()
{
    CMavApp* app = installedApp();
    return app ? app : &MAV::CDefaultApp::instance();
}

CMavApp* mavAppSet(CMavApp* app)
{
    CMavApp* previous = installedApp();
    installedApp() = app == &MAV::CDefaultApp::instance() ? nullptr : app;
    return previous;
}

namespace MAV {

CDefaultApp& CDefaultApp::instance()
{
    static CDefaultApp app;
    return app;
}

Mav::lFormat CDefaultApp::lFormatGet()
{
    return Mav::kFormatDecimal;
}

std::uint32_t CDefaultApp::bkColorGet()
{
    const CMavDataItem* item = cfg_get(L"KRV_MENU\\COLOR\\BACKGROUND");
    CMavColor colour(7);
    color_from_data(item, colour);
    return colour.oleColor();
}

bool CDefaultApp::drillDraw(CMavGDX* gdx, CMavDataItem* drill, CMavDataItem* parameters)
{
    const DrillSink sink = defaults().drillSink;
    if (!gdx || !sink)
        return false;
    CMavArrayTempl<CMavVertexArray> lines;
    CMavColor colour;
    unsigned long flags = 0;
    if (!drillPicture(drill, parameters, lines, colour, flags))
        return false;
    sink(gdx, lines, colour, flags);
    return true;
}

bool CDefaultApp::patternGet(const wchar_t* name, CMavArrayTempl<CMavArrayTempl<double>>& lines)
{
    return patLookup(name, lines);
}

bool CDefaultApp::entityGet(ads_name entity, const wchar_t* kind, bool)
{
    if (!entity || !kind)
        return false;
    const auto& table = defaults().entities;
    const auto it = table.find(upperKey(kind));
    if (it == table.end())
        return false;
    entity[0] = it->second.first;
    entity[1] = it->second.second;
    return true;
}

int CDefaultApp::lispCall(const wchar_t* function, const resbuf* args, CSmartResbuf& result)
{
    result.reset();
    if (!function)
        return RTERROR;
    const auto& table = defaults().lisp;
    const auto it = table.find(upperKey(function));
    if (it == table.end() || !it->second)
        return RTERROR;
    return it->second(args, result);
}

CDefaultApp::LispFn CDefaultApp::lispRegister(const wchar_t* name, LispFn fn)
{
    if (!name || !*name)
        return LispFn();
    auto& table = defaults().lisp;
    const auto key = upperKey(name);
    LispFn before;
    auto at = table.find(key);
    if (at != table.end()) {
        before = std::move(at->second);
        table.erase(at);
    }
    if (fn)
        table[key] = std::move(fn);
    return before;
}

void CDefaultApp::entityPick(const wchar_t* kind, const ads_name entity)
{
    if (!kind || !entity)
        return;
    defaults().entities[upperKey(kind)] = std::make_pair(entity[0], entity[1]);
}

void CDefaultApp::entityForget(const wchar_t* kind)
{
    if (kind)
        defaults().entities.erase(upperKey(kind));
}

void CDefaultApp::entityForgetAll()
{
    defaults().entities.clear();
}

CDefaultApp::DrillSink CDefaultApp::drillSinkSet(DrillSink sink)
{
    const DrillSink previous = defaults().drillSink;
    defaults().drillSink = sink;
    return previous;
}

bool drillPicture(const CMavDataItem* drill, const CMavDataItem* parameters,
                  CMavArrayTempl<CMavVertexArray>& polylines, CMavColor& colour, unsigned long& flags)
{
    polylines.removeAll();
    flags = 0;
    double dia = 0.0;
    if (!drill || !drill->get(dia, L"DIA") || !(dia > 0.0) || !std::isfinite(dia))
        return false;
    CMavMatrix3d placement;
    int cmode = 0;
    if (parameters) {
        parameters->get(placement, L"MTX");
        parameters->get(cmode, L"CMODE");
    }
    int index = 7;
    colour = CMavColor(drill->get(index, L"COLOR") ? index : 7);
    flags = static_cast<unsigned long>(cmode & 15) << 8;

    const double r = dia / 2.0;
    const double arm = r + dia / 4.0;
    CMavVertexArray circle;
    circle.append(CMavPoint3d(r, 0, 0), CMavPoint3d(-r, 0, 0), 1.0);
    circle.append(CMavPoint3d(-r, 0, 0), CMavPoint3d(r, 0, 0), 1.0);
    CMavVertexArray horizontal;
    horizontal.append(CMavPoint3d(-arm, 0, 0), CMavPoint3d(arm, 0, 0));
    CMavVertexArray vertical;
    vertical.append(CMavPoint3d(0, -arm, 0), CMavPoint3d(0, arm, 0));
    polylines.append(circle.transformBy(placement));
    polylines.append(horizontal.transformBy(placement));
    polylines.append(vertical.transformBy(placement));
    return true;
}

} // namespace MAV
