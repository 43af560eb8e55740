// Reaching the message server: the running object table first; else the registered program is started and
// looked for again every half second, for at most 20 seconds, under the wait cursor.
#include "ui/rscAppDispatch.h"

#include "afx/CWaitCursor.h"
#include "base/win/automation.h"

namespace {

const wchar_t* const kProgID = L"Mav_Msg.App";
constexpr int kTries = 40;
constexpr DWORD kWaitMs = 500;

void sleepWait(DWORD ms)
{
    Sleep(ms);
}

MAV::RscAppWaitFcn g_wait = sleepWait;

} // namespace

namespace MAV {

RscAppWaitFcn setRscAppWaitFcn(RscAppWaitFcn fcn)
{
    const RscAppWaitFcn previous = g_wait;
    g_wait = fcn ? fcn : sleepWait;
    return previous;
}

IDispatch* getRscAppDispatch()
{
    // Only the running object is asked for: letting COM create it would start the program with COM's own
    // timeout, without the wait cursor and without the bounded number of looks below.
    if (IDispatch* running = dispatchFromProgID(kProgID))
        return running;
    CMavString path;
    if (!serverFromProgID(kProgID, path))
        return nullptr;
    CWaitCursor wait;
    // Whether this start succeeds or not, the object is looked for: a start already under way (another caller,
    // the user) may still bring the server up within the looks.
    execute(path.c_str(), nullptr, true);
    for (int i = 0; i < kTries; ++i) {
        g_wait(kWaitMs);
        if (IDispatch* started = dispatchFromProgID(kProgID))
            return started;
    }
    return nullptr;
}

} // namespace MAV
