// Points, vectors, point arrays, dash patterns and matrices: lengths without overflow, products and sides, order
// along a direction, the product order and standard constructions of matrices, and the inverse.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "../geom_test_util.h"
#include "base/CMavLineParm.h"
#include "base/CMavMatrix3d.h"
#include "base/CMavPoint3dArray.h"

using namespace geomtest;

TEST(CMavVector3d, LengthsProductsAnglesAndSides)
{
    // Lengths neither overflow nor underflow; a vector that cannot be normalised gives the zero vector.
    const double lengths[][4] = {
        {3, 4, 12, 13}, {1e200, 1e200, 0, 1e200 * std::sqrt(2.0)}, {3e-200, 4e-200, 0, 5e-200}};
    for (const auto& l : lengths)
        EXPECT_DOUBLE_EQ(CMavVector3d(l[0], l[1], l[2]).length(), l[3]);
    EXPECT_TRUE(std::isnan(CMavVector3d(std::nan(""), 1, 1).length()));
    EXPECT_EQ(CMavVector3d(0, 0, -5).normal(), CMavVector3d(0, 0, -1));
    EXPECT_EQ(CMavVector3d(HUGE_VAL, 0, 0).normal(), CMavVector3d());
    EXPECT_EQ(CMavVector3d::kZAxis.crossProduct(CMavVector3d::kYAxis), -CMavVector3d::kXAxis);
    EXPECT_DOUBLE_EQ(CMavVector3d(1, 2, 3).dotProduct(CMavVector3d(-4, 5, 0.5)), 7.5);
    EXPECT_NEAR(CMavVector3d::kXAxis.angleTo(CMavVector3d::kYAxis, -CMavVector3d::kZAxis), -kPi / 2, 1e-15);
    EXPECT_NEAR(CMavVector3d(1, 0, 0).angleTo(CMavVector3d(-1, 1e-9, 0)), kPi - 1e-9, 1e-15);
    EXPECT_TRUE(CMavVector3d(1, 2, 3).isParallelTo(CMavVector3d(-2, -4, -6)));
    EXPECT_FALSE(CMavVector3d(1, 2, 3).isParallelTo(CMavVector3d(1, 2, 3.001)));
    // {vector, its positive side}: z decides, then y, then x; a z that is rounding noise does not decide.
    const CMavVector3d sides[][2] = {
        {{0, 0, -2}, {0, 0, 2}}, {{3, -1, 0}, {-3, 1, 0}}, {{-1, 0, 0}, {1, 0, 0}}, {{1, -5, 1e-20}, {-1, 5, -1e-20}}};
    for (const auto& s : sides)
        EXPECT_EQ(s[0].positiveSide(), s[1]);
    for (const CMavVector3d& d : {CMavVector3d(1, 0, 0), CMavVector3d(0, 0, 3), CMavVector3d(1, 2, 3)})
        EXPECT_TRUE(std::fabs(d.perpVector().length() - 1) + std::fabs(d.perpVector().dotProduct(d)) < 1e-14);

    const CMavPoint3d a(1, 2, 3);
    EXPECT_DOUBLE_EQ(a.distanceTo(CMavPoint3d(4, 6, 3)), 5.0);
    EXPECT_TRUE(a.isEqualTo(CMavPoint3d(1, 2, 3 + 1e-10)) && a.isEqualTo(CMavPoint3d(1, 2, 3 + 1e-6), 1e-5));
    EXPECT_FALSE(a.isEqualTo(CMavPoint3d(1, 2, 3 + 1e-6)) || a.isEqualTo(CMavPoint3d(std::nan(""), 2, 3), 1.0));
    // A point takes the translation, a vector does not.
    CMavMatrix3d m;
    m.setToRotation(kPi / 2, CMavVector3d::kZAxis).setTranslation(CMavVector3d(10, 0, 0));
    expectPoint(CMavPoint3d(1, 0, 5).transformBy(m), 10, 1, 5, 1e-15);
    const CMavVector3d v = m * CMavVector3d(1, 0, 5);
    expectPoint(CMavPoint3d(v.x, v.y, v.z), 0, 1, 5, 1e-15);

    // Points sort by their position along a vector, ties keeping their order, points that are not numbers last;
    // duplicates within the tolerance go.
    CMavPoint3dArray p{{3, 0, 0}, {0, 1, 0}, {1, 1, 0}, {-2, 0, 0}, {2, 0, 0}, {std::nan(""), 0, 0}};
    p.sort(CMavVector3d(1, 1, 0));
    const CMavPoint3dArray sorted{{-2, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 0, 0}, {3, 0, 0}};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(p[i], sorted[i]);
    EXPECT_TRUE(std::isnan(p[5].x));
    CMavPoint3dArray d{{0, 0, 0}, {1, 0, 0}, {0, 0, 1e-12}, {1, 0, 0}, {2, 0, 0}, {1, 0, 0.5}};
    EXPECT_EQ(d.removeDuplicates(), (CMavPoint3dArray{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {1, 0, 0.5}}));
    EXPECT_EQ(d.removeDuplicates(0.6), (CMavPoint3dArray{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}));
    // A dash pattern's period is the sum of its lengths times its scale; one without gaps is continuous.
    EXPECT_DOUBLE_EQ(CMavLineParm(CMavArrayTempl<double>{1.0, -0.5, 0.0, -0.5}, 2.0).period(), 4.0);
    EXPECT_FALSE(CMavLineParm(0.0, -2.5).isContinuous());
    EXPECT_TRUE(CMavLineParm{1.0}.isContinuous());
}

TEST(CMavMatrix3d, ProductOrderAndTheStandardConstructions)
{
    const CMavMatrix3d t = CMavMatrix3d::translation(CMavVector3d(1, 0, 0));
    const CMavMatrix3d s = CMavMatrix3d::scaling(2.0);
    expectPoint((t * s) * CMavPoint3d(1, 1, 1), 3, 2, 2); // the right factor applies first
    expectPoint((s * t) * CMavPoint3d(1, 1, 1), 4, 2, 2);
    CMavMatrix3d a = t, b = t, c = t;
    EXPECT_TRUE((a *= s) == t * s && b.preMultiplyBy(s) == s * t && c.postMultiplyBy(s) == t * s);

    const CMavMatrix3d sc = CMavMatrix3d::scaling(2.0, CMavPoint3d(1, 1, 0));
    expectPoint(sc * CMavPoint3d(2, 1, 0), 3, 1, 0);
    EXPECT_EQ(sc.scale() * 10 + sc.det(), 28.0);
    const CMavMatrix3d r = CMavMatrix3d::rotation(kPi / 2, CMavVector3d::kZAxis, CMavPoint3d(1, 0, 0));
    expectPoint(r * CMavPoint3d(2, 0, 0), 1, 1, 0);
    expectPoint(CMavMatrix3d::rotation(kPi / 2, CMavVector3d(2, 0, 0)) * CMavPoint3d(0, 1, 0), 0, 0, 1);
    EXPECT_FALSE(r.isMirroring());
    EXPECT_EQ(CMavMatrix3d::rotation(1.0, CMavVector3d()), CMavMatrix3d::kIdentity);
    CMavMatrix3d mirror;
    mirror.setToMirroring(CMavPoint3d(5, 0, 0), CMavVector3d::kXAxis);
    expectPoint(mirror * CMavPoint3d(7, 3, 1), 3, 3, 1);
    EXPECT_TRUE(mirror.isMirroring());

    // A device frame with a downward y axis, and a frame with scaled axes read back.
    CMavMatrix3d f, g;
    f.setCoordSystem(CMavPoint3d(0, 200, 0), CMavVector3d::kXAxis, -CMavVector3d::kYAxis, CMavVector3d::kZAxis);
    expectPoint(f * CMavPoint3d(2, 3, 0), 2, 197, 0);
    g.setCoordSystem(CMavPoint3d(-1, -2, 0), CMavVector3d(2, 0, 0), CMavVector3d(0, 5, 0), CMavVector3d(0, 0, 2));
    expectPoint(g * CMavPoint3d(1, 1, 1), 1, 3, 2);
    EXPECT_DOUBLE_EQ(g.scale(), 5.0);
    CMavPoint3d o;
    CMavVector3d x, y, z;
    g.getCoordSystem(o, x, y, z);
    EXPECT_TRUE(o == CMavPoint3d(-1, -2, 0) && y == CMavVector3d(0, 5, 0));
    EXPECT_DOUBLE_EQ(g.transpose().m[3][0], -1.0);
    CMavMatrix3d tr = g;
    EXPECT_EQ(tr.transposeIt().transposeIt(), g);
}

TEST(CMavMatrix3d, PlaneToWorldFollowsTheArbitraryAxisRule)
{
    EXPECT_TRUE(CMavMatrix3d::planeToWorld(CMavVector3d::kZAxis).isIdentity(1e-15));
    EXPECT_TRUE(CMavMatrix3d::planeToWorld(CMavVector3d()).isIdentity(1e-15));
    // {normal, expected x axis, expected y axis}: within 1/64 of the Z axis the x axis comes from the world Y
    // axis, outside it from the world Z axis.
    const CMavVector3d rows[][3] = {{{0, 0, -3}, {-1, 0, 0}, {0, 1, 0}},
                                    {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
                                    {{0.01, 0, 1}, CMavVector3d(1, 0, -0.01).normal(), {0, 1, 0}},
                                    {{0.02, 0, 1}, {0, 1, 0}, CMavVector3d(-1, 0, 0.02).normal()}};
    for (const auto& row : rows) {
        CMavPoint3d o;
        CMavVector3d x, y, z;
        CMavMatrix3d::planeToWorld(row[0]).getCoordSystem(o, x, y, z);
        EXPECT_TRUE(x.isEqualTo(row[1])) << row[0].x;
        EXPECT_TRUE(y.isEqualTo(row[2])) << row[0].x;
        EXPECT_TRUE(z.isEqualTo(row[0].normal())) << row[0].x;
    }
    const CMavVector3d n(0.3, -0.7, 0.2);
    const CMavMatrix3d p = CMavMatrix3d::planeToWorld(n);
    EXPECT_TRUE((CMavMatrix3d::worldToPlane(n) * p).isIdentity(1e-15));
    EXPECT_NEAR(p.det(), 1.0, 1e-15);
}

TEST(CMavMatrix3d, InverseUndoesRandomMatricesAndRefusesSingularOnes)
{
    std::mt19937 rng(4711);
    std::uniform_real_distribution<double> u(-10.0, 10.0);
    for (int i = 0; i < 200; ++i) {
        CMavMatrix3d m;
        if (i % 2 == 0) {
            m = CMavMatrix3d::translation(CMavVector3d(u(rng), u(rng), u(rng))) *
                CMavMatrix3d::rotation(u(rng), CMavVector3d(u(rng), u(rng), u(rng))) *
                CMavMatrix3d::scaling(0.1 + std::fabs(u(rng)), CMavPoint3d(u(rng), u(rng), u(rng)));
        } else {
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 4; ++c)
                    m.m[r][c] = u(rng);
        }
        CMavMatrix3d inv;
        ASSERT_TRUE(m.inverse(inv)) << i;
        const CMavPoint3d p(u(rng), u(rng), u(rng));
        EXPECT_TRUE((inv * (m * p)).isEqualTo(p, 1e-9)) << i;
        EXPECT_TRUE((m * m.inverse()).isIdentity(1e-9)) << i;
    }

    // The determinant of full matrices (a last row other than 0 0 0 1): multiplicative and blind to transposing.
    for (int i = 0; i < 20; ++i) {
        CMavMatrix3d a, b;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) {
                a.m[r][c] = u(rng);
                b.m[r][c] = u(rng);
            }
        const double da = a.det(), db = b.det();
        EXPECT_NEAR((a * b).det(), da * db, 1e-9 * std::fabs(da * db)) << i;
        EXPECT_NEAR(a.transpose().det(), da, 1e-9 * std::fabs(da)) << i;
    }

    // Zero scale, dependent columns and non-finite entries are singular: false, the identity, the matrix kept.
    CMavMatrix3d dep, bad;
    dep.setCoordSystem(CMavPoint3d(), CMavVector3d(1, 1, 0), CMavVector3d(1, 1, 0), CMavVector3d::kZAxis);
    bad.m[1][2] = std::nan("");
    for (const CMavMatrix3d& singular : {CMavMatrix3d::scaling(0.0), dep, bad}) {
        CMavMatrix3d out = CMavMatrix3d::translation(CMavVector3d(1, 2, 3)), keep = singular;
        EXPECT_TRUE(singular.isSingular());
        EXPECT_FALSE(singular.inverse(out));
        EXPECT_EQ(out, CMavMatrix3d::kIdentity);
        EXPECT_EQ(singular.inverse(), CMavMatrix3d::kIdentity);
        EXPECT_FALSE(keep.invert());
        EXPECT_EQ(keep.m[0][0], singular.m[0][0]);
    }
    EXPECT_FALSE(CMavMatrix3d::scaling(1e-6).isSingular());
    EXPECT_NEAR(CMavMatrix3d::scaling(1e-6).inverse().m[0][0], 1e6, 1e-6);
}
