// The demo's message server scene: MavMsg.exe reached as the label dialog reaches it, with a key picked.
#pragma once

#include <string>

namespace mavdemo {

// Registers MavMsg.exe (beside the demo) when no server is registered, starts it through getRscAppDispatch,
// picks a key in English, saves the server's window as outDir\msgserver_window.png, closes the server and
// takes away a registration it made. False when a step failed (the reason goes to stderr).
bool runMsgServerScene(const std::wstring& outDir);

} // namespace mavdemo
