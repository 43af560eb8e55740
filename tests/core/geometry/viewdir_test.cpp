// View directions by name, polylines seen along them, and outline orientation.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "../geom_test_util.h"
#include "geometry/orient.h"
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

// A polyline seen along a direction turns about the given point and is flattened: an upright square seen from the
// south shows its true shape with Z upwards; from the south-west a vertical step of 1 shows
// upwards, shortened by the tilt. No direction or a bad one only flattens.
TEST(ViewProjection, PolylinesAreSeenAlongTheDirectionAndFlattened)
{
    const CMavVertexArray upright =
        CMavVertexArray::fromPoints(CMavArrayTempl<CMavPoint3d>{{0, 5, 0}, {2, 5, 0}, {2, 5, 3}, {0, 5, 3}}, false);
    const CMavVertexArray front = mav_g_vl_mtx_view(upright, mav_gdx_view_vdir_get(L"S"), CMavPoint3d(), true);
    ASSERT_EQ(front.len(), 3);
    EXPECT_TRUE(front[0].start.isEqualTo({0, 0, 0}, 1e-12) && front[1].start.isEqualTo({2, 0, 0}, 1e-12));
    EXPECT_TRUE(front[1].end.isEqualTo({2, 3, 0}, 1e-12) && front[2].end.isEqualTo({0, 3, 0}, 1e-12));
    CMavVertexArray step;
    step.append(CMavPoint3d(1, 2, 3), CMavPoint3d(1, 2, 4));
    const CMavVertexArray sw = mav_g_vl_mtx_view(step, mav_gdx_view_vdir_get(L"SW"), CMavPoint3d(1, 2, 3), true);
    EXPECT_TRUE(sw[0].start.isEqualTo({1, 2, 0}, 1e-12) && std::fabs(sw[0].end.x - 1.0) < 1e-12);
    EXPECT_NEAR(sw[0].end.y - 2.0, std::sqrt(2.0 / 3.0), 1e-12);
    for (const CMavVector3d& none : {CMavVector3d(), CMavVector3d(std::numeric_limits<double>::quiet_NaN(), 0, 1)})
        EXPECT_TRUE(
            mav_g_vl_mtx_view(upright, none, CMavPoint3d(), false) ==
            CMavVertexArray::fromPoints(CMavArrayTempl<CMavPoint3d>{{0, 5, 0}, {2, 5, 0}, {2, 5, 0}, {0, 5, 0}}));
}

// Closed outlines are turned to run counter-clockwise about the normal, open ones stay; mav_vl_orient says whether
// it turned the outline.
TEST(OutlineOrientation, ClosedOutlinesTurnCounterClockwiseOpenOnesStay)
{
    const CMavVertexArray ccw = geomtest::rect(0, 0, 2, 1);
    CMavVertexArray cw = ccw;
    cw.revert();
    CMavVertexArray open = cw;
    open.removeAt(3);
    CMavArrayTempl<CMavVertexArray> r{ccw, cw, open};
    mav_vll_orient(r);
    EXPECT_TRUE(r[0] == ccw && r[1] == ccw && r[2] == open);
    mav_vll_orient(r, CMavVector3d(0, 0, -1));
    EXPECT_TRUE(r[0] == cw && r[1] == cw && r[2] == open);
    EXPECT_TRUE(mav_vl_orient(cw) && cw == ccw && !mav_vl_orient(cw));
}
