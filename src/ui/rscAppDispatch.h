// Reaching the message server "Mav_Msg.App": the running one, or the registered program started and waited for.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace MAV {

// The message server's object, with a reference the caller releases; null when the server is not registered or
// did not come up within 40 waits of 500 ms after its program was started.
IDispatch* getRscAppDispatch();

// The wait between two looks for the started server (ms: how long). The library's wait sleeps; a test installs a
// function that counts. Returns the previous function; null puts the sleeping one back.
using RscAppWaitFcn = void (*)(DWORD ms);
RscAppWaitFcn setRscAppWaitFcn(RscAppWaitFcn fcn);

} // namespace MAV
