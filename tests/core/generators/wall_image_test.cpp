// Wall edit preview: which element is marked, which parameters reach the "WALL" generator, and when it is not
// called at all.
#include <gtest/gtest.h>

#include <vector>

#include "data/CMavDataItem.h"
#include "data/config.h"
#include "data/datafile.h"
#include "gdx/CMavGDX.h"
#include "generators/generators.h"
#include "generators/wall_image.h"

namespace
{

// What the "WALL" generator was called with; act -1: no active element.
struct WallCall {
    int calls = 0, act = -1, coord = -1;
    CMavGDX* gdx = nullptr;
    MAV::CDtaFilePointer* wall = nullptr;
    CMavVertexArray vl;
    bool result = true;
} g_wall;

bool wallGenerator(CMavGDX* gdx, MAV::CDtaFilePointer* data, MAV::CDtaFilePointer* parameters)
{
    const CMavDataItem* root = parameters->root();
    ++g_wall.calls;
    g_wall.gdx = gdx;
    g_wall.wall = data;
    root->get(g_wall.act, CMavDataKey(L"ACT"));
    root->get(g_wall.coord, CMavDataKey(L"COORD"));
    root->get(g_wall.vl, CMavDataKey(L"VL"));
    return g_wall.result;
}

// The saved element ("BT") is marked when it is one of the wall's elements, else the wall's first; only in shell
// editing (the mode "SHELL", or "CORNER" with the wall's corner in shell mode; exact names) is it passed as
// active. Without any element, display list or "WALL" generator nothing is drawn; the generator's result is
// passed on.
TEST(WallEditImage, TheElementMarkedAndWhenTheGeneratorIsCalled)
{
    CMavGDX gdx = CMavGDX(CMavColor(), CMavMatrix3d(), 1.0, 0, CMavPoint3d(), CMavPoint3d());
    CMavVertexArray vl;
    vl.append(CMavPoint3d(0, 0, 0), CMavPoint3d(40, 0, 0));
    const struct {
        bool wall;
        std::vector<int> elements;
        int bt; // 0: none saved
        const wchar_t *mode, *corner;
        bool result;
        int act; // -1: called without one, -2: not called
    } cases[] = {
        {true, {3, 5}, 0, L"SHELL", nullptr, true, 3},   {true, {3, 5}, 5, L"SHELL", nullptr, true, 5},
        {true, {3, 5}, 4, L"SHELL", nullptr, false, 3},  {true, {2, 8}, 8, L"CORNER", L"EDGE", true, -1},
        {true, {2, 8}, 8, L"CORNER", L"SHELL", true, 8}, {true, {2, 8}, 8, L"shell", L"SHELL", true, -1},
        {true, {}, 0, L"SHELL", nullptr, false, -2},     {false, {}, 6, L"SHELL", nullptr, true, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(&c - cases));
        MAV::CConfig::reset();
        g_wall = WallCall();
        g_wall.result = c.result;
        setGdxImageFcn(L"WALL", wallGenerator);
        MAV::CDtaFilePointer* wall = MAV::dtaOpen(MAV::kDataTemp, MAV::kDataReadWrite, nullptr, nullptr);
        for (int n : c.elements)
            wall->top()->setAt(CMavDataKey(L"SN").append(CMavDataKey(n)), 1);
        if (c.corner)
            wall->top()->setAt(CMavDataKey(L"CORNER\\MODE"), c.corner);
        CMavDataItem* settings = MAV::cfg_dir_make(L"*WALL_EDIT*");
        if (c.bt)
            settings->setAt(CMavDataKey(L"BT"), c.bt);
        settings->setAt(CMavDataKey(L"MODE"), c.mode);
        settings->setAt(CMavDataKey(L"VL"), vl);
        EXPECT_EQ(mav_wall_edit_image(&gdx, c.wall ? wall : nullptr), c.result && c.act != -2);
        EXPECT_EQ(g_wall.calls, c.act == -2 ? 0 : 1);
        EXPECT_TRUE(c.act == -2 || (g_wall.gdx == &gdx && g_wall.wall == (c.wall ? wall : nullptr) &&
                                    g_wall.coord == 1 && g_wall.vl == vl));
        EXPECT_EQ(g_wall.act, c.act >= 0 ? c.act : -1);
        EXPECT_FALSE(mav_wall_edit_image(nullptr, wall));
        setGdxImageFcn(L"WALL", nullptr);
        EXPECT_FALSE(mav_wall_edit_image(&gdx, c.wall ? wall : nullptr));
        EXPECT_EQ(g_wall.calls, c.act == -2 ? 0 : 1);
        MAV::dtaClose(wall);
    }
    MAV::CConfig::reset();
}

} // namespace
