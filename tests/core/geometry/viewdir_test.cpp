// View directions by name.
#include <gtest/gtest.h>

#include "geometry/viewdir.h"

#include <cmath>
#include <limits>

namespace {

void expectDir(const wchar_t* name, double x, double y, double z)
{
    const CMavVector3d v = mav_gdx_view_vdir_get(name);
    EXPECT_EQ(v.x, x) << CMavString(name).utf8();
    EXPECT_EQ(v.y, y) << CMavString(name).utf8();
    EXPECT_EQ(v.z, z) << CMavString(name).utf8();
}

} // namespace

TEST(ViewDirection, NamesGiveTheDirectionTowardsTheViewer)
{
    expectDir(L"SW", -1, -1, 1);
    expectDir(L"SO", 1, -1, 1);
    expectDir(L"NO", 1, 1, 1);
    expectDir(L"NW", -1, 1, 1);
    expectDir(L"N", 0, 1, 0);
    expectDir(L"S", 0, -1, 0);
    // East and west are the viewer's side seen the other way round: "O" is -X, "W" is +X.
    expectDir(L"O", -1, 0, 0);
    expectDir(L"W", 1, 0, 0);
    expectDir(L"P", 0, 0, 1);
}

TEST(ViewDirection, UnknownNamesGiveTheDefaultVector)
{
    const CMavVector3d none;
    for (const wchar_t* name : {L"", L"X", L"n", L"sw", L"NOO", L"P ", L" P", L"E"}) {
        const CMavVector3d v = mav_gdx_view_vdir_get(name);
        EXPECT_TRUE(v == none) << CMavString(name).utf8();
    }
}

TEST(ViewProjection, PolylinesAreSeenAlongTheDirectionAndFlattened)
{
    // A square standing upright at y = 5 in the XZ plane, seen from the south: its true shape, Z upwards.
    CMavVertexArray upright;
    upright.append(CMavPoint3d(0, 5, 0), CMavPoint3d(2, 5, 0));
    upright.append(CMavPoint3d(2, 5, 0), CMavPoint3d(2, 5, 3));
    upright.append(CMavPoint3d(2, 5, 3), CMavPoint3d(0, 5, 3));
    const CMavVertexArray keep = upright;
    const CMavVertexArray front = mav_g_vl_mtx_view(upright, mav_gdx_view_vdir_get(L"S"), CMavPoint3d(), true);
    EXPECT_TRUE(upright == keep);
    ASSERT_EQ(front.len(), 3);
    EXPECT_TRUE(front[0].start.isEqualTo(CMavPoint3d(0, 0, 0), 1e-12));
    EXPECT_TRUE(front[1].start.isEqualTo(CMavPoint3d(2, 0, 0), 1e-12));
    EXPECT_TRUE(front[1].end.isEqualTo(CMavPoint3d(2, 3, 0), 1e-12));
    EXPECT_TRUE(front[2].end.isEqualTo(CMavPoint3d(0, 3, 0), 1e-12));

    // From above (plan) the same square collapses onto a line, flattened to z = 0.
    const CMavVertexArray plan = mav_g_vl_mtx_view(upright, mav_gdx_view_vdir_get(L"P"), CMavPoint3d(), true);
    for (const CMavVertex& v : plan) {
        EXPECT_EQ(v.start.z, 0.0);
        EXPECT_EQ(v.end.z, 0.0);
        EXPECT_NEAR(v.end.y, 5.0, 1e-12);
    }

    // The point about which the view turns stays where it is (before flattening).
    const CMavPoint3d about(1, 2, 3);
    CMavVertexArray dot;
    dot.append(about, CMavPoint3d(1, 2, 4));
    const CMavVertexArray sw = mav_g_vl_mtx_view(dot, mav_gdx_view_vdir_get(L"SW"), about, true);
    EXPECT_TRUE(sw[0].start.isEqualTo(CMavPoint3d(1, 2, 0), 1e-12));
    // Seen from the south-west a vertical step of 1 shows upwards, shortened by the view's tilt.
    EXPECT_NEAR(sw[0].end.x, 1.0, 1e-12);
    EXPECT_NEAR(sw[0].end.y - 2.0, std::sqrt(2.0 / 3.0), 1e-12);

    // No direction: only flattened. Empty stays empty.
    const CMavVertexArray none = mav_g_vl_mtx_view(upright, CMavVector3d(), CMavPoint3d(), true);
    EXPECT_TRUE(none[1].end.isEqualTo(CMavPoint3d(2, 5, 0), 1e-12));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(mav_g_vl_mtx_view(upright, CMavVector3d(nan, 0, 1), CMavPoint3d(), false).len(), 3);
    EXPECT_EQ(mav_g_vl_mtx_view(CMavVertexArray(), CMavVector3d(1, 1, 1), CMavPoint3d(), true).len(), 0);
}
