// The registry of display lists by key.
#include <gtest/gtest.h>

#include "gdx/gdxMap.h"
#include "gdx_test_util.h"

using namespace gdxtest;

namespace {

// The registry is process-wide: each test starts and ends with the keys it uses removed.
class GdxMapTest : public ::testing::Test {
protected:
    void SetUp() override { wipe(); }
    void TearDown() override { wipe(); }
    static void wipe()
    {
        for (int k = -20; k <= 400; ++k)
            gdxMapRemoveAt(k);
    }
};

} // namespace

TEST_F(GdxMapTest, NewKeysFillTheFirstGapFromOne)
{
    EXPECT_EQ(gdxMapKeyNew(), 1);
    EXPECT_EQ(gdxMapKeyNew(), 1); // not reserved
    CMavGDX g = plainList();
    gdxMapSetAt(0, g);
    gdxMapSetAt(-5, g);
    EXPECT_NE(getGdxFromMap(0), nullptr);
    EXPECT_NE(getGdxFromMap(-5), nullptr);
    EXPECT_EQ(gdxMapKeyNew(), 1);
    gdxMapSetAt(1, g);
    gdxMapSetAt(2, g);
    gdxMapSetAt(4, g);
    EXPECT_EQ(gdxMapKeyNew(), 3);
    gdxMapSetAt(3, g);
    EXPECT_EQ(gdxMapKeyNew(), 5);
    for (int k = 5; k <= 300; ++k)
        gdxMapSetAt(k, g);
    EXPECT_EQ(gdxMapKeyNew(), 301);
    EXPECT_TRUE(gdxMapRemoveAt(1));
    EXPECT_EQ(gdxMapKeyNew(), 1); // keys are reused
    gdxMapSetAt(1, g);
    EXPECT_TRUE(gdxMapRemoveAt(177));
    EXPECT_EQ(gdxMapKeyNew(), 177);
    EXPECT_TRUE(gdxMapRemoveAt(2));
    EXPECT_EQ(gdxMapKeyNew(), 2);
}

TEST_F(GdxMapTest, ListsStayInPlaceWhileOtherKeysComeAndGo)
{
    CMavGDX a = plainList();
    addLine(a, {1}, 0, 0, 1, 1);
    gdxMapSetAt(50, a);
    CMavGDX* held = getGdxFromMap(50);
    ASSERT_NE(held, nullptr);
    EXPECT_NE(held, &a); // the registry keeps its own copy
    EXPECT_EQ(held->lenGet(), 1);

    CMavGDX b = plainList();
    for (int k = 1; k <= 200; ++k)
        if (k != 50)
            gdxMapSetAt(k, b);
    for (int k = 1; k <= 200; k += 2)
        if (k != 50)
            gdxMapRemoveAt(k);
    gdxMapSetAt(-3, b);
    EXPECT_EQ(getGdxFromMap(50), held);
    EXPECT_EQ(held->lenGet(), 1);

    // Setting the key again replaces the contents of the same object.
    addLine(b, {2}, 0, 0, 2, 2);
    addLine(b, {2}, 0, 0, 3, 3);
    gdxMapSetAt(50, b);
    EXPECT_EQ(getGdxFromMap(50), held);
    EXPECT_EQ(held->lenGet(), 2);
    gdxMapSetAt(50, *held); // the list given is the stored one itself
    EXPECT_EQ(held->lenGet(), 2);

    EXPECT_TRUE(gdxMapRemoveAt(50));
    EXPECT_EQ(getGdxFromMap(50), nullptr);
    EXPECT_FALSE(gdxMapRemoveAt(50));
    EXPECT_EQ(getGdxFromMap(51), nullptr);
}
