// Wall edit preview: which element is marked, which parameters reach the "WALL" generator, and when it is not
// called at all.
#include <gtest/gtest.h>

#include "gdx/CMavGDX.h"
#include "generators/generators.h"
#include "generators/wall_image.h"
#include "data/CMavDataItem.h"
#include "data/config.h"
#include "data/datafile.h"

namespace {

struct WallCall {
    int calls = 0;
    CMavGDX* gdx = nullptr;
    MAV::CDtaFilePointer* wall = nullptr;
    bool hasAct = false;
    int act = -1;
    int coord = -1;
    CMavVertexArray vl;
    bool result = true;
};
WallCall g_wall;

bool wallGenerator(CMavGDX* gdx, MAV::CDtaFilePointer* data, MAV::CDtaFilePointer* parameters)
{
    ++g_wall.calls;
    g_wall.gdx = gdx;
    g_wall.wall = data;
    const CMavDataItem* root = parameters ? parameters->root() : nullptr;
    g_wall.hasAct = root && root->get(g_wall.act, CMavDataKey(L"ACT"));
    if (root) {
        root->get(g_wall.coord, CMavDataKey(L"COORD"));
        root->get(g_wall.vl, CMavDataKey(L"VL"));
    }
    return g_wall.result;
}

class WallEditImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_wall = WallCall();
        MAV::CConfig::reset();
        setGdxImageFcn(L"WALL", wallGenerator);
        wall = MAV::dtaOpen(MAV::kDataTemp, MAV::kDataReadWrite, nullptr, nullptr);
    }
    void TearDown() override
    {
        MAV::dtaClose(wall);
        setGdxImageFcn(L"WALL", nullptr);
        MAV::CConfig::reset();
    }

    static void setting(const wchar_t* name, int v) { MAV::cfg_dir_make(L"*WALL_EDIT*")->setAt(CMavDataKey(name), v); }
    static void setting(const wchar_t* name, const wchar_t* v)
    {
        MAV::cfg_dir_make(L"*WALL_EDIT*")->setAt(CMavDataKey(name), v);
    }
    void elements(std::initializer_list<int> numbers)
    {
        CMavDataItem* sn = wall->top()->makeDir(CMavDataKey(L"SN"));
        for (int n : numbers)
            sn->setAt(CMavDataKey(n), 1);
    }

    CMavGDX gdx{CMavColor(), CMavMatrix3d(), 1.0, 0, CMavPoint3d(), CMavPoint3d()};
    MAV::CDtaFilePointer* wall = nullptr;
};

TEST_F(WallEditImage, MissingOrUnknownElementFallsBackToTheWallsFirstElement)
{
    elements({3, 5});
    setting(L"MODE", L"SHELL");
    EXPECT_TRUE(mav_wall_edit_image(&gdx, wall));
    EXPECT_EQ(g_wall.calls, 1);
    EXPECT_EQ(g_wall.gdx, &gdx);
    EXPECT_EQ(g_wall.wall, wall);
    EXPECT_TRUE(g_wall.hasAct);
    EXPECT_EQ(g_wall.act, 3);
    EXPECT_EQ(g_wall.coord, 1);

    setting(L"BT", 5);  // an element of the wall: kept
    EXPECT_TRUE(mav_wall_edit_image(&gdx, wall));
    EXPECT_EQ(g_wall.act, 5);
    setting(L"BT", 4);  // not an element of the wall: the first one
    EXPECT_TRUE(mav_wall_edit_image(&gdx, wall));
    EXPECT_EQ(g_wall.act, 3);
    EXPECT_EQ(g_wall.calls, 3);

    // The generator's own result is passed on.
    g_wall.result = false;
    EXPECT_FALSE(mav_wall_edit_image(&gdx, wall));
    EXPECT_EQ(g_wall.calls, 4);
}

TEST_F(WallEditImage, ActiveElementOnlyInShellEditing)
{
    elements({2, 8});
    setting(L"BT", 8);
    CMavVertexArray vl;
    vl.append(CMavPoint3d(0, 0, 0), CMavPoint3d(40, 0, 0));
    MAV::cfg_dir_make(L"*WALL_EDIT*")->setAt(CMavDataKey(L"VL"), vl);

    setting(L"MODE", L"CORNER");
    wall->top()->setAt(CMavDataKey(L"CORNER\\MODE"), L"EDGE");
    EXPECT_TRUE(mav_wall_edit_image(&gdx, wall));
    EXPECT_FALSE(g_wall.hasAct);
    EXPECT_EQ(g_wall.coord, 1);
    ASSERT_EQ(g_wall.vl.len(), 1);
    EXPECT_EQ(g_wall.vl[0].end, CMavPoint3d(40, 0, 0));

    wall->top()->setAt(CMavDataKey(L"CORNER\\MODE"), L"SHELL");
    EXPECT_TRUE(mav_wall_edit_image(&gdx, wall));
    EXPECT_TRUE(g_wall.hasAct);
    EXPECT_EQ(g_wall.act, 8);

    setting(L"MODE", L"shell");  // modes compare exactly
    EXPECT_TRUE(mav_wall_edit_image(&gdx, wall));
    EXPECT_FALSE(g_wall.hasAct);
    EXPECT_EQ(g_wall.calls, 3);
}

TEST_F(WallEditImage, NothingDrawnWithoutElementOrGenerator)
{
    // No saved element and a wall without elements: the generator is not called.
    EXPECT_FALSE(mav_wall_edit_image(&gdx, wall));
    EXPECT_FALSE(mav_wall_edit_image(&gdx, nullptr));
    EXPECT_EQ(g_wall.calls, 0);
    // A saved element draws even without wall data.
    setting(L"BT", 6);
    setting(L"MODE", L"SHELL");
    EXPECT_TRUE(mav_wall_edit_image(&gdx, nullptr));
    EXPECT_EQ(g_wall.wall, nullptr);
    EXPECT_EQ(g_wall.act, 6);
    // Without a display list, or without a "WALL" generator, the result is false.
    EXPECT_FALSE(mav_wall_edit_image(nullptr, wall));
    setGdxImageFcn(L"WALL", nullptr);
    EXPECT_FALSE(mav_wall_edit_image(&gdx, nullptr));
    EXPECT_EQ(g_wall.calls, 1);
}

} // namespace
