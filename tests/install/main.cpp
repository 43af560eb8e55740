// The smallest host: includes the umbrella header and calls into MavMfc.dll.
#include <cstdio>

#include "mav/mavmfc.h"

int main()
{
    std::printf("%s %s\n", MAV_PRODUCT_NAME, MAV::versionString());
    return MAV::dllInstance() != nullptr ? 0 : 1;
}
