// Point arrays: order along a direction and removal of repeats.
#include <gtest/gtest.h>

#include <cmath>

#include "base/CMavPoint3dArray.h"

TEST(CMavPoint3dArray, SortAlongAVector)
{
    CMavPoint3dArray p{{3, 0, 0}, {0, 1, 0}, {1, 1, 0}, {-2, 0, 0}, {2, 0, 0}};
    p.sort(CMavVector3d(1, 1, 0));
    // Positions along (1, 1): 3, 1, 2, -2, 2; ties keep their order.
    const CMavPoint3dArray expected{{-2, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 0, 0}, {3, 0, 0}};
    EXPECT_EQ(p, expected);
    p.sort(CMavVector3d(-1, 0, 0));
    EXPECT_EQ(p[0], CMavPoint3d(3, 0, 0));
    EXPECT_EQ(p[4], CMavPoint3d(-2, 0, 0));
    EXPECT_EQ(p[2], CMavPoint3d(1, 1, 0)); // equal x: first kept first
    EXPECT_EQ(p[3], CMavPoint3d(0, 1, 0));

    const CMavPoint3dArray before = p;
    p.sort(CMavVector3d());
    EXPECT_EQ(p, before);

    CMavPoint3dArray withNan{{2, 0, 0}, {std::nan(""), 0, 0}, {1, 0, 0}};
    withNan.sort(CMavVector3d(1, 0, 0));
    EXPECT_EQ(withNan[0], CMavPoint3d(1, 0, 0));
    EXPECT_EQ(withNan[1], CMavPoint3d(2, 0, 0));
    EXPECT_TRUE(std::isnan(withNan[2].x));
}

TEST(CMavPoint3dArray, RemoveDuplicatesKeepsFirstOccurrences)
{
    CMavPoint3dArray p{{0, 0, 0}, {1, 0, 0}, {0, 0, 1e-12}, {1, 0, 0}, {2, 0, 0}, {1, 0, 0.5}};
    p.removeDuplicates();
    const CMavPoint3dArray expected{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {1, 0, 0.5}};
    EXPECT_EQ(p, expected);
    p.removeDuplicates(0.6);
    EXPECT_EQ(p.len(), 3);
    EXPECT_EQ(p[2], CMavPoint3d(2, 0, 0));
}
