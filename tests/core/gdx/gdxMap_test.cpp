// The registry of display lists by key.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "data/CMavDataItem.h"
#include "data/config.h"
#include "gdx/gdxMap.h"
#include "gdx_test_util.h"

using namespace gdxtest;

namespace
{

// The registry is process-wide: each test starts and ends with the keys it uses removed.
class GdxMapTest : public ::testing::Test
{
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

// Seeded random stores and removals against a plain set of keys: a new key is the least free key from 1 (reused
// after removal), a stored list is the registry's own copy, and it stays at its address, its contents replaced
// when the key is set again, while other keys come and go.
TEST_F(GdxMapTest, KeysAndListsAgreeWithAPlainSetOnRandomChanges)
{
    std::mt19937 rng(5);
    std::map<int, CMavGDX*> model;
    CMavGDX one = plainList(), two = plainList();
    addLine(one, {1}, 0, 0, 1, 1);
    addLine(two, {1}, 0, 0, 1, 1);
    addLine(two, {2}, 0, 0, 2, 2);
    for (int step = 0; step < 600; ++step) {
        const int key = static_cast<int>(rng() % (step < 400 ? 300 : 40)) - 5;
        if (rng() % 3 == 0) {
            EXPECT_EQ(gdxMapRemoveAt(key), model.erase(key) == 1) << step;
        } else {
            CMavGDX& list = rng() % 2 ? one : two;
            gdxMapSetAt(key, list);
            CMavGDX* held = getGdxFromMap(key);
            ASSERT_TRUE(held && held != &list && held->lenGet() == list.lenGet()) << step;
            EXPECT_TRUE(model.emplace(key, held).first->second == held) << step;
            gdxMapSetAt(key, *held); // the list given is the stored one itself
            EXPECT_EQ(held->lenGet(), list.lenGet());
        }
        int free = 1;
        while (model.count(free))
            ++free;
        ASSERT_EQ(gdxMapKeyNew(), free) << step;
        for (const auto& kv : model)
            ASSERT_EQ(getGdxFromMap(kv.first), kv.second) << step;
        EXPECT_EQ(getGdxFromMap(key), model.count(key) ? model[key] : nullptr);
    }
}

// A new list takes point style, view box and projection from a data directory, else the configuration's point
// style; colour modes and background come from the configuration (an integer is an index, anything else goes
// through the colour reader), a "COLOR" in the data overriding the background.
TEST_F(GdxMapTest, CreationFromConfigurationAndData)
{
    MAV::CConfig::reset();
    CMavGDX* g = getGdxFromMap(createGdxInMap(nullptr));
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->pdSizeGet(), 5.0);
    EXPECT_TRUE(g->colorTabGet(GDX_CMODE_AUX) == CMavColor(30) && g->backColorGet() == CMavColor(7));
    CMavDataItem plain;
    plain.set(42);
    EXPECT_EQ(createGdxInMap(&plain), 2); // a plain item counts as no data
    MAV::cfg_get(L"KRV_MENU\\COLOR")->setAt(CMavDataKey(L"BACKGROUND"), CMavString(L"10,20,30"));
    CMavDataDir data;
    data.setAt(CMavDataKey(L"PDSIZE"), 3);
    data.setAt(CMavDataKey(L"PDMODE"), 34);
    data.setAt(CMavDataKey(L"EXTVIEW"), CMavPoint3dArray({{1, 2, 0}, {30, 40, 0}}));
    data.setAt(CMavDataKey(L"MTX"), CMavMatrix3d::scaling(2.0));
    data.setAt(CMavDataKey(L"RGB"), CMavString(L"255"));
    data.setAt(CMavDataKey(L"TBL"), CMavString(L"BOOK"));
    g = getGdxFromMap(createGdxInMap(&data));
    CMavPoint3d lo, hi;
    g->extMaxViewGet(lo, hi);
    EXPECT_TRUE(g->pdSizeGet() == 3.0 && g->pdModeGet() == 34ul && g->projMtxGet() == CMavMatrix3d::scaling(2.0));
    EXPECT_TRUE(lo == CMavPoint3d(1, 2, 0) && hi == CMavPoint3d(30, 40, 0));
    EXPECT_EQ(g->backColorGet().color(), 0x0A141EL); // "RGB" and "TBL" without "COLOR" leave the configured one
    data.setAt(CMavDataKey(L"COLOR"), 5);
    g = getGdxFromMap(createGdxInMap(&data));
    EXPECT_TRUE(g->backColorGet().colorIndex() == 5 && g->backColorGet().color() == 255L &&
                g->backColorGet().bookName() == L"BOOK");
    MAV::CConfig::reset();
}
