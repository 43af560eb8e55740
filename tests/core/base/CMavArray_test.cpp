// Growth, index rules, ordered moves and deep copies of the typed arrays.
#include <gtest/gtest.h>

#include <string>

#include "base/CMavArray.h"

// Arrays that start empty grow 0, 8, 16, ...; arrays whose length is known when they are made (copies, lists in
// braces) take exactly that room and double from there; reserving grows by the same rule ahead of time.
TEST(CMavArray, CapacityStartsAtEightDoublesAndCopiesTakeExactRoom)
{
    CMavArrayTempl<int> a, big;
    for (int i = 0; i < 9; ++i) {
        a.append(i * 3);
        EXPECT_EQ(a.physicalLength(), i < 8 ? 8 : 16);
    }
    EXPECT_EQ(CMavArray::grownCapacity(8, 8), 8);
    big.setLogicalLength(100);
    EXPECT_EQ(big.physicalLength(), 128);
    CMavArrayTempl<int> r{7};
    r.reserve(-5);
    r.reserve(1);
    EXPECT_EQ(r.physicalLength(), 1);
    r.reserve(300);
    EXPECT_EQ(r.physicalLength(), 512);
    const int* before = r.data();
    for (int i = 1; i < 300; ++i)
        r.append(i);
    EXPECT_EQ(r.data(), before); // appending within the room moves nothing
    EXPECT_EQ(r[0] * 1000 + r[299], 7299);

    const CMavArrayTempl<int> copy(a);
    EXPECT_EQ(copy.physicalLength(), 9);
    const CMavArrayTempl<int> none;
    CMavArrayTempl<int> assigned{1}, fromNone(none);
    assigned = a;
    assigned.append(27);
    EXPECT_EQ(assigned.physicalLength(), 18);
    EXPECT_EQ(assigned, (CMavArrayTempl<int>{0, 3, 6, 9, 12, 15, 18, 21, 24, 27}));
    fromNone.append(2);
    EXPECT_EQ(fromNone.physicalLength(), 8);

    // Negative indices count from the end; reads outside give the shared default, writes beyond the end extend.
    CMavArrayTempl<int> b{10, 20, 30}, empty;
    const CMavArrayTempl<int>& cb = b;
    EXPECT_EQ(b[-1] * 100 + b[-3], 3010);
    EXPECT_EQ(cb[-4] + cb[3], 0);
    EXPECT_EQ(CMavArrayTempl<int>{7}[-5], 7);
    empty[-1] = 99; // goes to the shared default, not into the array, and does not leak
    EXPECT_EQ(empty.len() + empty[-1], 0);
    b[5] = 60;
    EXPECT_EQ(b, (CMavArrayTempl<int>{10, 20, 30, 0, 0, 60}));
}

TEST(CMavArray, InsertRemoveKeepOrderAndCopiesAreDeep)
{
    CMavArrayTempl<std::string> a{"a", "b", "c", "d"};
    a.insertAt(1, "x");
    a.insertAt(99, "z");
    a.insertAt(-3, "s");
    EXPECT_EQ(a, (CMavArrayTempl<std::string>{"s", "a", "x", "b", "c", "d", "z"}));
    a.removeAt(1, 3);
    EXPECT_EQ(a, (CMavArrayTempl<std::string>{"s", "c", "d", "z"}));
    a.removeAt(3, 50);
    a.removeAt(-1);
    a.append(a[0]); // an element of the array itself while it grows
    a.append(a);
    EXPECT_EQ(a, (CMavArrayTempl<std::string>{"s", "c", "d", "s", "s", "c", "d", "s"}));

    CMavArrayTempl<CMavArrayTempl<CMavArrayTempl<int>>> outer;
    outer[0][0].append(1);
    for (int v : {5, 6, 7})
        outer[1][2].append(v);
    auto copy = outer;
    EXPECT_EQ(copy[1][2].physicalLength(), 3); // every inner array of a copy is exact as well
    copy[1][2][0] = 6;
    copy[0].removeAll();
    EXPECT_EQ(outer[1][2][0] * 10 + outer[0][0][0], 51);
    outer = outer; // self-assignment keeps the contents
    EXPECT_EQ(outer[1][2][0], 5);
    auto moved = std::move(copy);
    EXPECT_EQ(moved[1][2][0], 6);
    EXPECT_EQ(copy.len(), 0);
    EXPECT_TRUE(outer != moved);
}
