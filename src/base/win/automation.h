// Automation servers by ProgID, and starting programs.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "base/CMavString.h"

namespace MAV {

// The running automation object registered for progID (the running object table), as IDispatch with a reference
// the caller releases; with create true an object is created when none runs. Null when the ProgID is unknown or
// no object is available. COM is initialised on the calling thread when it was not.
IDispatch* dispatchFromProgID(const wchar_t* progID, bool create = false);

// The program registered as local server of progID (LocalServer32 of its class), without quotes and command
// line switches. False, path unchanged, when the ProgID or its server is not registered.
bool serverFromProgID(const wchar_t* progID, CMavString& path);

// Starts a program with optional arguments (null: none). noWait true returns as soon as it runs; false waits
// until it ends and gives its exit code when exitCode is not null. False when it could not be started.
bool execute(const wchar_t* program, const wchar_t* arguments, bool noWait, DWORD* exitCode = nullptr);

} // namespace MAV
