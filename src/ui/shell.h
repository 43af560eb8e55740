// The shell's helpers for dialogs: choosing a folder and dragging a file out of a window.
#pragma once

#include <windows.h>

#include "base/CMavString.h"

class COleDropSource;

namespace MAV {

// The shell's folder dialog, starting at path; true when a folder was chosen, then path holds it with a trailing
// backslash. Cancel leaves path as it was. A null owner means the active window.
bool dlgFolder(HWND owner, CMavString& path, const wchar_t* title);
// The start path as the folder dialog gets it: forward slashes turned back, a trailing backslash removed except
// after a drive's colon, and a bare drive ("C:") given its root backslash.
CMavString folderStartPath(const wchar_t* path);

// Drags file (which must exist) as CF_HDROP from the caller's window; the drop source decides when the drag ends
// and, with a start rectangle, whether it begins. True when the target performed an effect.
bool DoDragDrop(const wchar_t* file, DWORD effects, const RECT* startRect, COleDropSource* source);

// The drop-files block that DoDragDrop offers: a DROPFILES header, the wide path and two terminating zeros, in
// movable global memory. Null when the memory cannot be had.
HGLOBAL dropFilesBlock(const wchar_t* file);

} // namespace MAV
