// View directions by name.
#include <gtest/gtest.h>

#include "generators/viewdir.h"

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
