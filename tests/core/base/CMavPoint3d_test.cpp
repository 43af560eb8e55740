// Points and vectors: lengths without overflow, products, tolerances and matrix application.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/CMavMatrix3d.h"
#include "base/CMavPoint3d.h"
#include "base/CMavVector3d.h"
#include "../geom_test_util.h"

using geomtest::kPi;

TEST(CMavVector3d, LengthsAndUnitVectorsSurviveExtremeComponents)
{
    EXPECT_DOUBLE_EQ(CMavVector3d(3, 4, 12).length(), 13.0);
    EXPECT_DOUBLE_EQ(CMavVector3d(1e200, 1e200, 0).length(), 1e200 * std::sqrt(2.0));
    EXPECT_DOUBLE_EQ(CMavVector3d(3e-200, 4e-200, 0).length(), 5e-200);
    EXPECT_TRUE(std::isnan(CMavVector3d(std::nan(""), 1, 1).length()));
    EXPECT_TRUE(std::isinf(CMavVector3d(HUGE_VAL, 1, 1).length()));

    EXPECT_EQ(CMavVector3d(0, 0, -5).normal(), CMavVector3d(0, 0, -1));
    EXPECT_EQ(CMavVector3d().normal(), CMavVector3d());
    EXPECT_EQ(CMavVector3d(HUGE_VAL, 0, 0).normal(), CMavVector3d());
    CMavVector3d v(0, 2, 0);
    v.normalize();
    EXPECT_EQ(v, CMavVector3d::kYAxis);
}

TEST(CMavVector3d, ProductsAnglesAndSides)
{
    EXPECT_EQ(CMavVector3d::kXAxis.crossProduct(CMavVector3d::kYAxis), CMavVector3d::kZAxis);
    EXPECT_EQ(CMavVector3d::kZAxis.crossProduct(CMavVector3d::kYAxis), -CMavVector3d::kXAxis);
    EXPECT_DOUBLE_EQ(CMavVector3d(1, 2, 3).dotProduct(CMavVector3d(-4, 5, 0.5)), 7.5);

    EXPECT_NEAR(CMavVector3d::kXAxis.angleTo(CMavVector3d::kYAxis, CMavVector3d::kZAxis), kPi / 2, 1e-15);
    EXPECT_NEAR(CMavVector3d::kXAxis.angleTo(CMavVector3d::kYAxis, -CMavVector3d::kZAxis), -kPi / 2, 1e-15);
    EXPECT_NEAR(CMavVector3d(1, 0, 0).angleTo(CMavVector3d(-1, 1e-9, 0)), kPi - 1e-9, 1e-15);
    EXPECT_TRUE(CMavVector3d(1, 2, 3).isParallelTo(CMavVector3d(-2, -4, -6)));
    EXPECT_FALSE(CMavVector3d(1, 2, 3).isParallelTo(CMavVector3d(1, 2, 3.001)));

    EXPECT_EQ(CMavVector3d(0, 0, -2).positiveSide(), CMavVector3d(0, 0, 2));
    EXPECT_EQ(CMavVector3d(3, -1, 0).positiveSide(), CMavVector3d(-3, 1, 0));
    EXPECT_EQ(CMavVector3d(-1, 0, 0).positiveSide(), CMavVector3d(1, 0, 0));
    // A z that is rounding noise against the other components does not decide the side.
    EXPECT_EQ(CMavVector3d(1, -5, 1e-20).positiveSide(), CMavVector3d(-1, 5, -1e-20));

    const CMavVector3d dirs[] = {{1, 0, 0}, {0, 0, 3}, {1, 2, 3}, {-5, 0.1, 0}};
    for (const CMavVector3d& d : dirs) {
        const CMavVector3d p = d.perpVector();
        EXPECT_NEAR(p.length(), 1.0, 1e-15);
        EXPECT_NEAR(p.dotProduct(d), 0.0, 1e-14);
    }
}

TEST(CMavPoint3d, DistancesToleranceAndMatrices)
{
    const CMavPoint3d a(1, 2, 3);
    EXPECT_DOUBLE_EQ(a.distanceTo(CMavPoint3d(4, 6, 3)), 5.0);
    EXPECT_TRUE(a.isEqualTo(CMavPoint3d(1, 2, 3 + 1e-10)));
    EXPECT_FALSE(a.isEqualTo(CMavPoint3d(1, 2, 3 + 1e-6)));
    EXPECT_TRUE(a.isEqualTo(CMavPoint3d(1, 2, 3 + 1e-6), 1e-5));
    EXPECT_FALSE(a.isEqualTo(CMavPoint3d(std::nan(""), 2, 3), 1.0));

    EXPECT_EQ(a - CMavPoint3d(1, 1, 1), CMavVector3d(0, 1, 2));
    EXPECT_EQ(a + CMavVector3d(1, 1, 1), CMavPoint3d(2, 3, 4));
    EXPECT_EQ((a + CMavPoint3d(3, 2, 1)) / 2.0, CMavPoint3d(2, 2, 2));

    // A point takes the translation, a vector does not.
    CMavMatrix3d m;
    m.setToRotation(kPi / 2, CMavVector3d::kZAxis).setTranslation(CMavVector3d(10, 0, 0));
    CMavPoint3d p(1, 0, 5);
    p.transformBy(m);
    EXPECT_NEAR(p.x, 10.0, 1e-15);
    EXPECT_NEAR(p.y, 1.0, 1e-15);
    EXPECT_NEAR(p.z, 5.0, 1e-15);
    const CMavVector3d v = m * CMavVector3d(1, 0, 5);
    EXPECT_NEAR(v.x, 0.0, 1e-15);
    EXPECT_NEAR(v.y, 1.0, 1e-15);
    EXPECT_NEAR(v.z, 5.0, 1e-15);
}
