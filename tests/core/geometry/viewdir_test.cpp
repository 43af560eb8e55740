// View directions by name, and polylines seen along them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/viewdir.h"

// Each name gives the direction towards the viewer ("O" east is -X, "W" west +X); other names the zero vector.
TEST(ViewDirection, NamesGiveTheDirectionTowardsTheViewerOthersTheDefaultVector)
{
    const struct {
        const wchar_t* name;
        double x, y, z;
    } cases[] = {{L"SW", -1, -1, 1}, {L"SO", 1, -1, 1}, {L"NO", 1, 1, 1},  {L"NW", -1, 1, 1}, {L"N", 0, 1, 0},
                 {L"S", 0, -1, 0},   {L"O", -1, 0, 0},  {L"W", 1, 0, 0},   {L"P", 0, 0, 1},   {L"", 0, 0, 0},
                 {L"n", 0, 0, 0},    {L"sw", 0, 0, 0},  {L"NOO", 0, 0, 0}, {L"P ", 0, 0, 0},  {L" P", 0, 0, 0}};
    for (const auto& c : cases)
        EXPECT_TRUE(mav_gdx_view_vdir_get(c.name) == CMavVector3d(c.x, c.y, c.z)) << CMavString(c.name).utf8();
}

// Seen along a direction about a point and flattened: an upright square seen from the south keeps its shape (Z
// upwards), from above it collapses; a vertical step seen from the south-west shortens by the view's tilt. No
// direction only flattens; a bad one changes nothing.
TEST(ViewProjection, PolylinesAreSeenAlongTheDirectionAndFlattened)
{
    CMavVertexArray upright = CMavVertexArray::fromPoints({{0, 5, 0}, {2, 5, 0}, {2, 5, 3}, {0, 5, 3}});
    const CMavVertexArray keep = upright;
    const CMavVertexArray front = mav_g_vl_mtx_view(upright, mav_gdx_view_vdir_get(L"S"), CMavPoint3d(), true);
    EXPECT_TRUE(upright == keep);
    const CMavPoint3d seen[] = {{0, 0, 0}, {2, 0, 0}, {2, 3, 0}, {0, 3, 0}};
    ASSERT_EQ(front.len(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(front[i].start.isEqualTo(seen[i], 1e-12) && front[i].end.isEqualTo(seen[i + 1], 1e-12)) << i;
    for (const CMavVertex& v : mav_g_vl_mtx_view(upright, mav_gdx_view_vdir_get(L"P"), CMavPoint3d(), true))
        EXPECT_TRUE(v.start.z == 0.0 && v.end.z == 0.0 && std::fabs(v.end.y - 5.0) < 1e-12);
    const CMavVertexArray sw = mav_g_vl_mtx_view(CMavVertexArray::fromPoints({{1, 2, 3}, {1, 2, 4}}),
                                                 mav_gdx_view_vdir_get(L"SW"), CMavPoint3d(1, 2, 3), true);
    EXPECT_TRUE(sw[0].start.isEqualTo(CMavPoint3d(1, 2, 0), 1e-12));
    EXPECT_TRUE(sw[0].end.isEqualTo(CMavPoint3d(1, 2 + std::sqrt(2.0 / 3.0), 0), 1e-12));
    EXPECT_TRUE(mav_g_vl_mtx_view(upright, CMavVector3d(), CMavPoint3d(), true)[1].end.isEqualTo({2, 5, 0}, 1e-12));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(mav_g_vl_mtx_view(upright, CMavVector3d(nan, 0, 1), CMavPoint3d(), false).len(), 3);
    EXPECT_EQ(mav_g_vl_mtx_view(CMavVertexArray(), CMavVector3d(1, 1, 1), CMavPoint3d(), true).len(), 0);
}
