// The application's registry key and typed reads and writes of registry values.
#pragma once

#include <windows.h>

#include "base/CMavString.h"

namespace MAV {

// The registry path of an application below HKEY_CURRENT_USER: "Software\MAVORA\" + app ("MAV" gives
// "Software\MAVORA\MAV"). Without an app name the maker's key "Software\MAVORA".
CMavString regAppKey(const wchar_t* app);

// Reads a 32-bit number (REG_DWORD) of an open key. False, value unchanged, when the value is absent or of
// another type.
bool regRead(HKEY key, const wchar_t* name, DWORD& value);
// Reads a string (REG_SZ, or REG_EXPAND_SZ with its environment variables expanded). False, value unchanged,
// when absent, of another type or larger than 1 MiB.
bool regRead(HKEY key, const wchar_t* name, CMavString& value);
// Writes a 32-bit number as REG_DWORD; false on failure.
bool regWrite(HKEY key, const wchar_t* name, DWORD value);
// Writes a string, as REG_EXPAND_SZ when expand is true, else as REG_SZ; false on failure.
bool regWrite(HKEY key, const wchar_t* name, const wchar_t* text, bool expand);

// Creates or opens the key at path below root as a volatile key (gone when the user logs off) with the given
// access. The keys above it are created lasting: a volatile create would make every missing key on its path
// volatile, and below a volatile key no lasting key could be created again. Null on failure.
HKEY regCreateVolatile(HKEY root, const wchar_t* path, REGSAM access);

} // namespace MAV
