// The registry of display lists by key.
#include <gtest/gtest.h>

#include "gdx/gdxMap.h"
#include "gdx_test_util.h"
#include "data/CMavDataItem.h"
#include "data/config.h"

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
    CMavGDX g = plainList();
    gdxMapSetAt(0, g);
    gdxMapSetAt(-5, g);
    EXPECT_NE(getGdxFromMap(-5), nullptr);
    EXPECT_EQ(gdxMapKeyNew(), 1);
    for (int k : {1, 2, 4})
        gdxMapSetAt(k, g);
    EXPECT_EQ(gdxMapKeyNew(), 3);
    for (int k = 3; k <= 300; ++k)
        gdxMapSetAt(k, g);
    EXPECT_EQ(gdxMapKeyNew(), 301);
    for (int k : {177, 1, 2}) {
        EXPECT_TRUE(gdxMapRemoveAt(k));
        EXPECT_EQ(gdxMapKeyNew(), k); // keys are reused
        gdxMapSetAt(k, g);
    }
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
}

TEST_F(GdxMapTest, CreationFromConfigurationAlone)
{
    MAV::CConfig::reset();
    const int key = createGdxInMap(nullptr);
    EXPECT_EQ(key, 1);
    CMavGDX* g = getGdxFromMap(key);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->pdSizeGet(), 5.0);
    EXPECT_EQ(g->colorTabGet(GDX_CMODE_AUX).colorIndex(), 30);
    EXPECT_EQ(g->backColorGet().colorIndex(), 7); // "BACKGROUND"

    // A plain item counts as no data; the next key follows.
    CMavDataItem plain;
    plain.set(42);
    EXPECT_EQ(createGdxInMap(&plain), 2);

    // A configured colour that is not an integer goes through the colour reader.
    MAV::cfg_get(L"KRV_MENU\\COLOR")->setAt(CMavDataKey(L"BACKGROUND"), CMavString(L"10,20,30"));
    MAV::cfg_get(L"KRV_MENU\\COLOR")->setAt(CMavDataKey(L"PDSIZE"), 2.75);
    MAV::cfg_get(L"KRV_MENU\\COLOR")->remove(CMavDataKey(L"BASE"));
    const int k3 = createGdxInMap(nullptr);
    EXPECT_EQ(getGdxFromMap(k3)->backColorGet().color(), 0x0A141EL);
    EXPECT_EQ(getGdxFromMap(k3)->pdSizeGet(), 2.0); // read as an integer
    EXPECT_EQ(getGdxFromMap(k3)->colorTabGet(GDX_CMODE_BASE), CMavColor());
    MAV::CConfig::reset();
}

TEST_F(GdxMapTest, CreationFromADataItem)
{
    MAV::CConfig::reset();
    CMavDataDir data;
    data.setAt(CMavDataKey(L"PDSIZE"), 3);
    data.setAt(CMavDataKey(L"PDMODE"), 34);
    CMavPoint3dArray box;
    box.append(CMavPoint3d(1, 2, 0));
    box.append(CMavPoint3d(30, 40, 0));
    data.setAt(CMavDataKey(L"EXTVIEW"), box);
    data.setAt(CMavDataKey(L"MTX"), CMavMatrix3d::scaling(2.0));
    data.setAt(CMavDataKey(L"RGB"), CMavString(L"255"));
    data.setAt(CMavDataKey(L"TBL"), CMavString(L"BOOK"));
    CMavGDX* g = getGdxFromMap(createGdxInMap(&data));
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->pdSizeGet(), 3.0);
    EXPECT_EQ(g->pdModeGet(), 34ul);
    EXPECT_EQ(g->projMtxGet(), CMavMatrix3d::scaling(2.0));
    CMavPoint3d lo, hi;
    g->extMaxViewGet(lo, hi);
    EXPECT_EQ(lo, CMavPoint3d(1, 2, 0));
    EXPECT_EQ(hi, CMavPoint3d(30, 40, 0));
    EXPECT_EQ(g->backColorGet(), CMavColor(7)); // "RGB" and "TBL" without "COLOR" leave the configured one

    data.setAt(CMavDataKey(L"COLOR"), 5);
    CMavGDX* c = getGdxFromMap(createGdxInMap(&data));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->backColorGet().colorIndex(), 5);
    EXPECT_EQ(c->backColorGet().color(), 255L);
    EXPECT_EQ(c->backColorGet().bookName(), CMavString(L"BOOK"));

    // A view box with one point only: the missing corner reads as the origin.
    CMavDataDir one;
    CMavPoint3dArray single;
    single.append(CMavPoint3d(7, 7, 7));
    one.setAt(CMavDataKey(L"EXTVIEW"), single);
    CMavGDX* o = getGdxFromMap(createGdxInMap(&one));
    ASSERT_NE(o, nullptr);
    o->extMaxViewGet(lo, hi);
    EXPECT_EQ(lo, CMavPoint3d(7, 7, 7));
    EXPECT_EQ(hi, CMavPoint3d());
    MAV::CConfig::reset();
}
