// Names and search of the application's files.
#pragma once

#include "base/CMavArray.h"
#include "base/CMavString.h"

// The file name of one of the application's modules: maker + product + "." + the kind in lower case, so
// ("Mav", "Mfc", "Dll") gives "MavMfc.dll". False (out unchanged) when maker, product or kind is null or empty.
bool mavAppFileName(CMavString& out, const wchar_t* maker, const wchar_t* product, const wchar_t* kind);

namespace MAV {

// Looks a file up and gives the path under which it exists (a regular file, not a folder). In order:
//  1. the name as given (absolute, or relative to the current folder);
//  2. for a relative name, each folder of the search list, in the order added;
//  3. the platform's own search, when one is installed (on Windows: environment variables in the name, the
//     program's search path and the library's own folder).
// False, found unchanged, when none has the file or the name is null or empty.
bool fileFind(const wchar_t* name, CMavString& found);
// Steps 1 and 2 with the given folders instead of the search list.
bool fileFindIn(const wchar_t* name, const CMavArrayTempl<CMavString>& folders, CMavString& found);

// The process-wide search list of fileFind.
void fileFindFolderAdd(const wchar_t* folder);
void fileFindFoldersClear();
const CMavArrayTempl<CMavString>& fileFindFolders();

// The platform's search step; the Windows layer installs one when the library is loaded.
using FileFindPlatformFn = bool (*)(const wchar_t* name, CMavString& found);
FileFindPlatformFn fileFindPlatformSet(FileFindPlatformFn fn); // returns the previous one

// True when path names an existing regular file.
bool fileExists(const wchar_t* path);
// True for "/x", "\x", "C:\x", "C:/x" and "\\server\x".
bool pathIsAbsolute(const wchar_t* path);
// folder + name with one separator between them; the separator is a backslash when the folder uses
// backslashes, otherwise a slash.
CMavString pathJoin(const CMavString& folder, const wchar_t* name);

} // namespace MAV
