// Growth, index rules, ordered moves and deep copies of the typed arrays.
#include <gtest/gtest.h>

#include <string>

#include "base/CMavArray.h"

// Arrays that start empty grow 0, 8, 16, ...; arrays whose length is known when they are made (copies, lists in
// braces) take exactly that room and double from there.
TEST(CMavArray, CapacityStartsAtEightDoublesAndCopiesTakeExactRoom)
{
    CMavArrayTempl<int> a;
    a.append(1);
    EXPECT_EQ(a.physicalLength(), 8);
    for (int i = 0; i < 8; ++i)
        a.append(i * 3);
    EXPECT_EQ(a.physicalLength(), 16);
    EXPECT_EQ(CMavArray::grownCapacity(0, 9), 16);
    EXPECT_EQ(CMavArray::grownCapacity(8, 8), 8);
    CMavArrayTempl<int> big;
    big.setLogicalLength(100);
    EXPECT_EQ(big.physicalLength(), 128);

    // Reserving grows by the same rule ahead of time and keeps the length; appending within it moves nothing.
    CMavArrayTempl<int> r{7};
    r.reserve(-5);
    r.reserve(1);
    EXPECT_EQ(r.physicalLength(), 1);
    r.reserve(300);
    EXPECT_EQ(r.physicalLength(), 512);
    const int* before = r.data();
    for (int i = 1; i < 300; ++i)
        r.append(i);
    EXPECT_EQ(r.data(), before);
    EXPECT_EQ(r[0], 7);

    const CMavArrayTempl<int> copy(a);
    EXPECT_EQ(copy.physicalLength(), 9);
    EXPECT_EQ(copy, a);
    CMavArrayTempl<int> assigned{1};
    assigned = a;
    assigned.append(27);
    EXPECT_EQ(assigned.physicalLength(), 18);
    EXPECT_EQ(assigned[8], 21);
    EXPECT_EQ(assigned[9], 27);
    const CMavArrayTempl<double> none;
    CMavArrayTempl<double> fromNone(none);
    EXPECT_EQ(fromNone.physicalLength(), 0);
    fromNone.append(2.0);
    EXPECT_EQ(fromNone.physicalLength(), 8);
}

TEST(CMavArray, NegativeAndOutOfRangeIndices)
{
    CMavArrayTempl<int> a{10, 20, 30};
    const CMavArrayTempl<int>& ca = a;
    EXPECT_EQ(a[-1], 30);
    EXPECT_EQ(a[-3], 10);
    EXPECT_EQ(ca[-4], 0); // below -n: the shared default
    EXPECT_EQ(ca[3], 0);  // read-only beyond the end: the shared default, no growth
    EXPECT_EQ(a.len(), 3);
    CMavArrayTempl<int> one{7};
    EXPECT_EQ(one[-5], 7);

    CMavArrayTempl<int> empty;
    empty[-1] = 99; // goes to the shared default, not into the array, and does not leak
    EXPECT_EQ(empty.len(), 0);
    EXPECT_EQ(empty[-1], 0);

    a[5] = 60; // writable: extends to index + 1
    EXPECT_EQ(a, (CMavArrayTempl<int>{10, 20, 30, 0, 0, 60}));
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
    EXPECT_EQ(a.len(), 3);
    a.append(a[0]); // an element of the array itself while it grows
    a.append(a);
    EXPECT_EQ(a, (CMavArrayTempl<std::string>{"s", "c", "d", "s", "s", "c", "d", "s"}));

    CMavArrayTempl<CMavArrayTempl<CMavArrayTempl<int>>> outer;
    outer[0][0].append(1);
    outer[1][2].append(5);
    outer[1][2].append(6);
    outer[1][2].append(7);
    auto copy = outer;
    EXPECT_EQ(copy[1][2].physicalLength(), 3); // every inner array of a copy is exact as well
    copy[1][2][0] = 6;
    copy[0].removeAll();
    EXPECT_EQ(outer[1][2][0], 5);
    EXPECT_EQ(outer[0][0][0], 1);
    outer = outer; // self-assignment keeps the contents
    EXPECT_EQ(outer[1][2][0], 5);
    auto moved = std::move(copy);
    EXPECT_EQ(moved[1][2][0], 6);
    EXPECT_EQ(copy.len(), 0);
    EXPECT_TRUE(outer != moved);
}
