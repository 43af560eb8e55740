// The public umbrella header compiles on its own and reaches the core's main types.
#include "mav/mavcore.h"

#include <gtest/gtest.h>

TEST(Umbrella, ReachesTheCoreTypes)
{
    CMavGDX gdx;
    EXPECT_EQ(gdx.lenGet(), 0);
    CMavString s(L"MavMfc");
    EXPECT_EQ(s.len(), 6);
}
