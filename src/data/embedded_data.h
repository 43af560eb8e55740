// The shipped data files (under data/), compiled into the library so that a host that brings nothing has them.
#pragma once

#include <string>

namespace MAV {

enum EmbeddedFile {
    kEmbeddedConfig,    // data/config/mav.cfg
    kEmbeddedMsgDe,     // data/msg/de.txt
    kEmbeddedMsgEn,     // data/msg/en.txt
    kEmbeddedPatterns,  // data/patterns/mav.pat
    kEmbeddedMaterials, // data/materials/materials.dat
    kEmbeddedOutlines,  // data/outlines/outlines.dat
    kEmbeddedCount
};

// The bytes of a shipped file (empty for an unknown one).
std::string embeddedText(EmbeddedFile file);
// Its path below data/, with forward slashes.
const char* embeddedPath(EmbeddedFile file);

} // namespace MAV
