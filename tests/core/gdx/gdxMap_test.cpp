// The registry of display lists by key.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "data/CMavApp.h"
#include "data/CMavDataItem.h"
#include "data/config.h"
#include "gdx/gdxMap.h"
#include "gdx_test_util.h"

using namespace gdxtest;

// Seeded random stores and removals against a plain set of keys: a new key is the least free key from 1 (reused
// after removal), a stored list is the registry's own copy, and it stays at its address, its contents replaced
// when the key is set again, while other keys come and go.
TEST(GdxMapTest, KeysAndListsAgreeWithAPlainSetOnRandomChanges)
{
    const auto wipe = [] { // the registry is process-wide: the keys used here are removed before and after
        for (int k = -5; k < 300; ++k)
            gdxMapRemoveAt(k);
    };
    wipe();
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
    wipe();
}

// A list made without values takes the host's background and "KRV_MENU\COLOR"'s point size, mode and colour table
// (a missing colour: a default entry; no directory: zeros, the table kept); createGdxInMap reads the configured
// background, or a data item's point style, view box, projection and, with "COLOR", its background.
TEST(GdxMapTest, ListsMadeFromHostConfigurationAndDataDefaultHostDrills)
{
    MAV::CConfig::reset();
    const CMavGDX shipped;
    EXPECT_TRUE(shipped.backColorGet().oleColor() == CMavColor(7).oleColor() && shipped.pdSizeGet() == 5.0 &&
                shipped.pdModeGet() == 3ul);
    const int table[] = {1, 8, 3, 4, 30}; // HIGHLIGHT, REFER, AXIS, BASE, AUX
    for (int mode = 1; mode <= 5; ++mode)
        EXPECT_EQ(shipped.colorTabGet(static_cast<GDX_CMODE>(mode)).colorIndex(), table[mode - 1]);
    CMavDataItem* colours = MAV::cfg_get(L"KRV_MENU\\COLOR");
    colours->setAt(CMavDataKey(L"PDSIZE"), 2.75);
    colours->setAt(CMavDataKey(L"REFER"), CMavString(L"10,20,30"));
    colours->setAt(CMavDataKey(L"BACKGROUND"), CMavString(L"10,20,30"));
    colours->remove(CMavDataKey(L"AXIS"));
    const CMavGDX configured;
    EXPECT_TRUE(configured.pdSizeGet() == 2.75 && configured.colorTabGet(GDX_CMODE_REFER).color() == 0x0A141EL);
    EXPECT_TRUE(configured.colorTabGet(GDX_CMODE_AXIS) == CMavColor() &&
                configured.backColorGet().color() == 0x0A141EL);
    const CMavGDX* fromConfig = getGdxFromMap(createGdxInMap(nullptr));
    EXPECT_TRUE(fromConfig->backColorGet().color() == 0x0A141EL && fromConfig->pdSizeGet() == 2.0); // an integer

    CMavDataDir data;
    data.setAt(CMavDataKey(L"PDSIZE"), 3);
    data.setAt(CMavDataKey(L"PDMODE"), 34);
    data.setAt(CMavDataKey(L"EXTVIEW"), CMavPoint3dArray({CMavPoint3d(1, 2, 0), CMavPoint3d(30, 40, 0)}));
    data.setAt(CMavDataKey(L"MTX"), CMavMatrix3d::scaling(2.0));
    data.setAt(CMavDataKey(L"RGB"), CMavString(L"255"));
    data.setAt(CMavDataKey(L"TBL"), CMavString(L"BOOK"));
    const CMavGDX* g = getGdxFromMap(createGdxInMap(&data));
    CMavPoint3d lo, hi;
    g->extMaxViewGet(lo, hi);
    EXPECT_TRUE(g->pdSizeGet() == 3.0 && g->pdModeGet() == 34ul && g->projMtxGet() == CMavMatrix3d::scaling(2.0));
    EXPECT_TRUE(lo == CMavPoint3d(1, 2, 0) && hi == CMavPoint3d(30, 40, 0));
    EXPECT_EQ(g->backColorGet().color(), 0x0A141EL); // "RGB" and "TBL" without "COLOR": the configured one
    data.setAt(CMavDataKey(L"COLOR"), 5);
    const CMavColor back = getGdxFromMap(createGdxInMap(&data))->backColorGet();
    EXPECT_TRUE(back.colorIndex() == 5 && back.color() == 255L && back.bookName() == L"BOOK");
    MAV::cfg_get(L"KRV_MENU")->remove(CMavDataKey(L"COLOR"));
    const CMavGDX bare;
    EXPECT_TRUE(bare.pdSizeGet() == 0.0 && bare.pdModeGet() == 0ul && bare.ColorTabLenGet() == 5);
    for (int k = 1; k < 4; ++k)
        gdxMapRemoveAt(k);
    MAV::CConfig::reset();

    // The default host draws a drill as circle and cross in the list, at its placement, in its colour mode.
    CMavGDX d = plainList();
    CMavDataDir drill, params;
    drill.setAt(CMavDataKey(L"DIA"), 8.0);
    params.setAt(CMavDataKey(L"MTX"), CMavMatrix3d::translation(CMavVector3d(100, 0, 0)));
    params.setAt(CMavDataKey(L"CMODE"), 2);
    ASSERT_TRUE(MAV::CDefaultApp::instance().drillDraw(&d, &drill, &params));
    EXPECT_TRUE(d.lenGet() == 3 && d.StackToItemNr(path({1})).len() == 3); // circle and two arms
    EXPECT_EQ(listOf(d, &CMavGDX::flagGet), std::vector<unsigned long>(d.lenGet(), 0x200ul));
    expectExtents(d, {94, -6, 0}, {106, 6, 0}); // the cross reaches a quarter diameter beyond the circle
}
