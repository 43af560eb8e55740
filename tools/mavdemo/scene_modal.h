// Helpers the demo's scenes share: running this thread's messages, finding a dialog by a control it holds, and a
// one-shot action inside the next modal dialog's loop that prepares the dialog, photographs it and closes it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace mavdemo {

// Runs the messages waiting for this thread, each first offered to the library's dialogs (Enter, tab keys).
void pump();

// The visible dialog of this thread that holds the control id (its title follows the language); null when none.
HWND dialogWith(int id);

// Runs open() (which shows a modal dialog and returns when it closes); once the dialog is active, prepare(dialog)
// runs inside its modal loop, the dialog is painted and saved as path, and it is closed with IDCANCEL. A dialog
// still open after ten seconds is cancelled. False when no picture was written.
bool snapModal(const std::function<void()>& open, const std::function<void(HWND)>& prepare,
               const std::wstring& path);

} // namespace mavdemo
