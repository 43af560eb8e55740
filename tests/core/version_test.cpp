// The core reports the version the resources carry.
#include <gtest/gtest.h>
#include <cstdio>
#include "version.h"

TEST(Version, StringMatchesNumbers)
{
    char expected[32];
    std::snprintf(expected, sizeof expected, "%d.%d.%d", MAV_VERSION_MAJOR, MAV_VERSION_MINOR, MAV_VERSION_PATCH);
    EXPECT_STREQ(MAV::versionString(), expected);
}
