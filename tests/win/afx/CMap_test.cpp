// CMap: a seeded run of insertions, replacements and removals against std::map, and iteration in bucket order.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "afx/CMap.h"
#include "afx/CString.h"

namespace {

using IdMap = CMap<UINT, UINT, CString, const wchar_t*>;

TEST(CMap, AgreesWithStdMapAndIteratesBucketByBucket)
{
    std::mt19937 random(20261206);
    IdMap map;
    std::map<UINT, CString> reference;
    for (int step = 0; step < 3000; ++step) {
        const UINT key = random() % 400;
        const int what = static_cast<int>(random() % 3);
        if (what == 0) {
            const CString value(std::to_wstring(step));
            map.SetAt(key, value);
            reference[key] = value;
        } else if (what == 1) {
            EXPECT_EQ(map.RemoveKey(key), reference.erase(key) == 1);
        } else {
            CString got;
            const auto it = reference.find(key);
            ASSERT_EQ(map.Lookup(key, got), it != reference.end()) << "key " << key;
            if (it != reference.end()) {
                EXPECT_EQ(got, it->second);
            }
        }
        ASSERT_EQ(map.GetCount(), static_cast<int>(reference.size()));
    }

    // Every entry once, in order of bucket ((key >> 4) % 17).
    std::map<UINT, CString> seen;
    UINT lastBucket = 0;
    POSITION pos = map.GetStartPosition();
    while (pos) {
        UINT key = 0;
        CString value;
        map.GetNextAssoc(pos, key, value);
        EXPECT_TRUE(seen.emplace(key, value).second) << "key " << key << " twice";
        const UINT bucket = (key >> 4) % 17;
        EXPECT_GE(bucket, lastBucket);
        lastBucket = bucket;
    }
    EXPECT_EQ(seen, reference);
    EXPECT_EQ(map.GetHashTableSize(), 17u);
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(map.GetStartPosition(), nullptr);
}

} // namespace
