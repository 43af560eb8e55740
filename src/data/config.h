// The application's configuration tree: one process-wide directory of settings, with shipped defaults.
#pragma once

#include "data/CMavDataItem.h"

namespace MAV {

class CConfig {
public:
    // The root directory of the configuration; filled with the shipped defaults on first use.
    static CMavDataItem* getCfgRoot();
    // Back to the shipped defaults (drops every change).
    static void reset();
    // Merges a configuration file in the data text form over the current configuration; false (with what was
    // read so far merged) when it cannot be read or is malformed.
    static bool load(const wchar_t* path);
    // The same from text (UTF-8).
    static bool loadText(const char* text, size_t size);
};

// The configuration item below key ("KRV_MENU\COLOR\PDMODE"), or null.
CMavDataItem* cfg_get(const CMavDataKey& key);
CMavDataItem* cfg_get(const wchar_t* key);
// Makes the configuration directories along key and returns the last one (null only beyond the depth limit).
CMavDataItem* cfg_dir_make(const CMavDataKey& key);
CMavDataItem* cfg_dir_make(const wchar_t* key);

} // namespace MAV
