// The registry of display lists by key.
#include <gtest/gtest.h>

#include <map>
#include <random>

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
