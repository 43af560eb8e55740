// The Windows part of the file search: environment variables, the program's search path, the library's folder.
#pragma once

#include "base/CMavString.h"

namespace MAV {

// The folder of this library's module file, ending in a backslash; empty when it cannot be found.
CMavString libraryFolder();
// The search step that fileFind adds on Windows (installed when the library loads): the name with environment
// variables expanded, then SearchPathW, then the library's folder. Folders never count as found.
bool fileFindWindows(const wchar_t* name, CMavString& found);

} // namespace MAV
