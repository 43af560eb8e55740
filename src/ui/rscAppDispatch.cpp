// Reaching the message server: a running one or one COM starts; else the registered program is started and
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
    // A running server, or one COM can start for us (hidden, with its class object offered to this call).
    if (IDispatch* found = dispatchFromProgID(kProgID, true))
        return found;
    CMavString path;
    if (!serverFromProgID(kProgID, path))
        return nullptr;
    CWaitCursor wait;
    // Whether this start succeeds or not, the object is looked for: a start already under way (another caller,
    // the user) may still bring the server up within the looks.
    execute(path.c_str(), nullptr, true);
    for (int i = 0; i < kTries; ++i) {
        g_wait(kWaitMs);
        // Only the running object table: COM already failed to start this server, and asking it again would
        // start another copy of the program at every look.
        if (IDispatch* started = dispatchFromProgID(kProgID))
            return started;
    }
    return nullptr;
}

} // namespace MAV
