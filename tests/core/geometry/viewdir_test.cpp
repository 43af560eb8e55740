// View directions by name, and polylines seen along them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/viewdir.h"

TEST(ViewDirection, NamesGiveTheDirectionTowardsTheViewerOthersTheDefaultVector)
{
    // East and west are the viewer's side seen the other way round: "O" is -X, "W" is +X.
    const struct {
        const wchar_t* name;
        double x, y, z;
    } cases[] = {{L"SW", -1, -1, 1}, {L"SO", 1, -1, 1}, {L"NO", 1, 1, 1}, {L"NW", -1, 1, 1}, {L"N", 0, 1, 0},
                 {L"S", 0, -1, 0},   {L"O", -1, 0, 0},  {L"W", 1, 0, 0},  {L"P", 0, 0, 1},   {L"", 0, 0, 0},
                 {L"X", 0, 0, 0},    {L"n", 0, 0, 0},   {L"sw", 0, 0, 0}, {L"NOO", 0, 0, 0}, {L"P ", 0, 0, 0},
                 {L" P", 0, 0, 0},   {L"E", 0, 0, 0}};
    for (const auto& c : cases)
        EXPECT_TRUE(mav_gdx_view_vdir_get(c.name) == CMavVector3d(c.x, c.y, c.z)) << CMavString(c.name).utf8();
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
    for (const CMavVertex& v : mav_g_vl_mtx_view(upright, mav_gdx_view_vdir_get(L"P"), CMavPoint3d(), true))
        EXPECT_TRUE(v.start.z == 0.0 && v.end.z == 0.0 && std::fabs(v.end.y - 5.0) < 1e-12);
    // The point about which the view turns stays where it is (before flattening); seen from the south-west a
    // vertical step of 1 shows upwards, shortened by the view's tilt.
    CMavVertexArray step;
    step.append(CMavPoint3d(1, 2, 3), CMavPoint3d(1, 2, 4));
    const CMavVertexArray sw = mav_g_vl_mtx_view(step, mav_gdx_view_vdir_get(L"SW"), CMavPoint3d(1, 2, 3), true);
    EXPECT_TRUE(sw[0].start.isEqualTo(CMavPoint3d(1, 2, 0), 1e-12));
    EXPECT_NEAR(sw[0].end.x, 1.0, 1e-12);
    EXPECT_NEAR(sw[0].end.y - 2.0, std::sqrt(2.0 / 3.0), 1e-12);
    // No direction: only flattened. A bad direction changes nothing; empty stays empty.
    EXPECT_TRUE(mav_g_vl_mtx_view(upright, CMavVector3d(), CMavPoint3d(), true)[1].end.isEqualTo({2, 5, 0}, 1e-12));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(mav_g_vl_mtx_view(upright, CMavVector3d(nan, 0, 1), CMavPoint3d(), false).len(), 3);
    EXPECT_EQ(mav_g_vl_mtx_view(CMavVertexArray(), CMavVector3d(1, 1, 1), CMavPoint3d(), true).len(), 0);
}
