// The library's version as a string, for hosts and the About box.
#include "version.h"

namespace MAV {
const char* versionString() { return MAV_VERSION_STRING; }
}
