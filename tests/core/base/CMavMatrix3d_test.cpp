// Matrices: product order, the standard constructions, plane systems and the inverse.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "base/CMavMatrix3d.h"
#include "../geom_test_util.h"

using namespace geomtest;

TEST(CMavMatrix3d, ProductAppliesTheRightFactorFirst)
{
    const CMavMatrix3d t = CMavMatrix3d::translation(CMavVector3d(1, 0, 0));
    const CMavMatrix3d s = CMavMatrix3d::scaling(2.0);
    expectPoint((t * s) * CMavPoint3d(1, 1, 1), 3, 2, 2);
    expectPoint((s * t) * CMavPoint3d(1, 1, 1), 4, 2, 2);

    CMavMatrix3d a = t;
    a *= s; // a = t * s
    EXPECT_EQ(a, t * s);
    CMavMatrix3d b = t;
    b.preMultiplyBy(s); // b = s * t
    EXPECT_EQ(b, s * t);
    CMavMatrix3d c = t;
    c.postMultiplyBy(s);
    EXPECT_EQ(c, t * s);

    EXPECT_EQ(CMavMatrix3d(), CMavMatrix3d::kIdentity);
    EXPECT_TRUE(CMavMatrix3d::kIdentity.isIdentity());
    EXPECT_EQ(t.translation(), CMavVector3d(1, 0, 0));
}

TEST(CMavMatrix3d, ScalingRotationMirrorAndCoordinateSystems)
{
    const CMavMatrix3d s = CMavMatrix3d::scaling(2.0, CMavPoint3d(1, 1, 0));
    expectPoint(s * CMavPoint3d(1, 1, 0), 1, 1, 0);
    expectPoint(s * CMavPoint3d(2, 1, 0), 3, 1, 0);
    EXPECT_DOUBLE_EQ(s.scale(), 2.0);
    EXPECT_DOUBLE_EQ(s.det(), 8.0);

    const CMavMatrix3d r = CMavMatrix3d::rotation(kPi / 2, CMavVector3d::kZAxis, CMavPoint3d(1, 0, 0));
    expectPoint(r * CMavPoint3d(2, 0, 0), 1, 1, 0);
    expectPoint(CMavMatrix3d::rotation(kPi / 2, CMavVector3d(2, 0, 0)) * CMavPoint3d(0, 1, 0), 0, 0, 1);
    EXPECT_NEAR(r.scale(), 1.0, 1e-15);
    EXPECT_FALSE(r.isMirroring());
    EXPECT_EQ(CMavMatrix3d::rotation(1.0, CMavVector3d()), CMavMatrix3d::kIdentity);

    CMavMatrix3d mirror;
    mirror.setToMirroring(CMavPoint3d(5, 0, 0), CMavVector3d::kXAxis);
    expectPoint(mirror * CMavPoint3d(7, 3, 1), 3, 3, 1);
    EXPECT_TRUE(mirror.isMirroring());

    // Device frame: origin (0, h) with a downward y axis, and a frame with scaled axes.
    CMavMatrix3d f;
    f.setCoordSystem(CMavPoint3d(0, 200, 0), CMavVector3d::kXAxis, -CMavVector3d::kYAxis, CMavVector3d::kZAxis);
    expectPoint(f * CMavPoint3d(2, 3, 0), 2, 197, 0);
    CMavMatrix3d g;
    g.setCoordSystem(CMavPoint3d(-1, -2, 0), CMavVector3d(2, 0, 0), CMavVector3d(0, 5, 0), CMavVector3d(0, 0, 2));
    expectPoint(g * CMavPoint3d(1, 1, 1), 1, 3, 2);
    EXPECT_DOUBLE_EQ(g.scale(), 5.0);
    CMavPoint3d o;
    CMavVector3d x, y, z;
    g.getCoordSystem(o, x, y, z);
    EXPECT_EQ(o, CMavPoint3d(-1, -2, 0));
    EXPECT_EQ(y, CMavVector3d(0, 5, 0));

    CMavMatrix3d tr = g;
    EXPECT_EQ(tr.transposeIt().transposeIt(), g);
    EXPECT_DOUBLE_EQ(g.transpose().m[3][0], -1.0);
}

TEST(CMavMatrix3d, PlaneToWorldFollowsTheArbitraryAxisRule)
{
    EXPECT_TRUE(CMavMatrix3d::planeToWorld(CMavVector3d::kZAxis).isIdentity(1e-15));
    EXPECT_TRUE(CMavMatrix3d::planeToWorld(CMavVector3d()).isIdentity(1e-15));

    CMavPoint3d o;
    CMavVector3d x, y, z;
    CMavMatrix3d::planeToWorld(CMavVector3d(0, 0, -3)).getCoordSystem(o, x, y, z);
    EXPECT_TRUE(x.isEqualTo(CMavVector3d(-1, 0, 0)));
    EXPECT_TRUE(y.isEqualTo(CMavVector3d(0, 1, 0)));
    EXPECT_TRUE(z.isEqualTo(CMavVector3d(0, 0, -1)));

    CMavMatrix3d::planeToWorld(CMavVector3d(1, 0, 0)).getCoordSystem(o, x, y, z);
    EXPECT_TRUE(x.isEqualTo(CMavVector3d(0, 1, 0)));
    EXPECT_TRUE(y.isEqualTo(CMavVector3d(0, 0, 1)));

    // Within 1/64 of the Z axis the x axis comes from the world Y axis, outside it from the world Z axis.
    CMavMatrix3d::planeToWorld(CMavVector3d(0.01, 0, 1)).getCoordSystem(o, x, y, z);
    EXPECT_TRUE(x.isEqualTo(CMavVector3d(1, 0, -0.01).normal()));
    CMavMatrix3d::planeToWorld(CMavVector3d(0.02, 0, 1)).getCoordSystem(o, x, y, z);
    EXPECT_TRUE(x.isEqualTo(CMavVector3d(0, 1, 0)));

    const CMavVector3d n(0.3, -0.7, 0.2);
    const CMavMatrix3d p = CMavMatrix3d::planeToWorld(n);
    EXPECT_TRUE((CMavMatrix3d::worldToPlane(n) * p).isIdentity(1e-15));
    EXPECT_NEAR(p.det(), 1.0, 1e-15);
    EXPECT_TRUE((p * CMavVector3d::kZAxis).isEqualTo(n.normal(), 1e-15));
}

TEST(CMavMatrix3d, InverseUndoesRandomMatricesOnPoints)
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
        for (int k = 0; k < 5; ++k) {
            const CMavPoint3d p(u(rng), u(rng), u(rng));
            const CMavPoint3d back = inv * (m * p);
            EXPECT_TRUE(back.isEqualTo(p, 1e-9)) << i << ": " << back.x << " " << back.y << " " << back.z;
        }
        EXPECT_TRUE((m * m.inverse()).isIdentity(1e-9)) << i;
    }
}

TEST(CMavMatrix3d, SingularMatricesGiveFalseAndTheIdentity)
{
    const CMavMatrix3d flat = CMavMatrix3d::scaling(0.0);
    CMavMatrix3d out = CMavMatrix3d::translation(CMavVector3d(1, 2, 3));
    EXPECT_TRUE(flat.isSingular());
    EXPECT_FALSE(flat.inverse(out));
    EXPECT_EQ(out, CMavMatrix3d::kIdentity);
    EXPECT_EQ(flat.inverse(), CMavMatrix3d::kIdentity);
    CMavMatrix3d keep = flat;
    EXPECT_FALSE(keep.invert());
    EXPECT_EQ(keep, flat);

    // Dependent columns (x axis = y axis) and non-finite entries.
    CMavMatrix3d dep;
    dep.setCoordSystem(CMavPoint3d(), CMavVector3d(1, 1, 0), CMavVector3d(1, 1, 0), CMavVector3d::kZAxis);
    EXPECT_TRUE(dep.isSingular());
    CMavMatrix3d bad;
    bad.m[1][2] = std::nan("");
    EXPECT_TRUE(bad.isSingular());
    EXPECT_FALSE(bad.inverse(out));

    // A tiny but regular scaling is invertible.
    EXPECT_FALSE(CMavMatrix3d::scaling(1e-6).isSingular());
    EXPECT_NEAR(CMavMatrix3d::scaling(1e-6).inverse().m[0][0], 1e6, 1e-6);
}
