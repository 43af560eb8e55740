// Dash patterns: entries, scale and period.
#include <gtest/gtest.h>

#include "base/CMavLineParm.h"

TEST(CMavLineParm, EntriesScaleAndPeriod)
{
    const CMavLineParm dots(0.0, -2.5);
    ASSERT_EQ(dots.len(), 2);
    EXPECT_EQ(dots[1], -2.5);
    EXPECT_DOUBLE_EQ(dots.period(), 2.5);
    EXPECT_FALSE(dots.isContinuous());

    const CMavLineParm scaled(CMavArrayTempl<double>{1.0, -0.5, 0.0, -0.5}, 2.0);
    EXPECT_EQ(scaled.len(), 4);
    EXPECT_DOUBLE_EQ(scaled.scale(), 2.0);
    EXPECT_DOUBLE_EQ(scaled.period(), 4.0);
    EXPECT_TRUE(CMavLineParm{1.0}.isContinuous());
    EXPECT_NE(scaled, CMavLineParm(CMavArrayTempl<double>{1.0, -0.5, 0.0, -0.5}, 1.0));
}
