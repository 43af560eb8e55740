// Product name, maker and version of the library, shared by the core, the resources and the About box.
#pragma once

#define MAV_PRODUCT_NAME "MavMfc"
#define MAV_COMPANY_NAME "MAVORA"
#define MAV_VERSION_MAJOR 0
#define MAV_VERSION_MINOR 1
#define MAV_VERSION_PATCH 0
#define MAV_VERSION_STRING "0.1.0"

#ifndef RC_INVOKED
namespace MAV {
// The version as "major.minor.patch".
const char* versionString();
}
#endif
