// View directions by name.
#include <gtest/gtest.h>

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
