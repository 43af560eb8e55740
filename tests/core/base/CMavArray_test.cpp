// Growth, index rules, ordered moves and deep copies of the typed arrays.
#include <gtest/gtest.h>

#include <string>

#include "base/CMavArray.h"

TEST(CMavArray, CapacityStartsAtEightAndDoubles)
{
    CMavArrayTempl<int> a;
    EXPECT_EQ(a.physicalLength(), 0);
    a.append(1);
    EXPECT_EQ(a.physicalLength(), 8);
    for (int i = 0; i < 8; ++i)
        a.append(i);
    EXPECT_EQ(a.len(), 9);
    EXPECT_EQ(a.physicalLength(), 16);
    a.setLogicalLength(100);
    EXPECT_EQ(a.physicalLength(), 128);
    EXPECT_EQ(CMavArray::grownCapacity(0, 9), 16);
    EXPECT_EQ(CMavArray::grownCapacity(8, 8), 8);

    // Reserving grows by the same rule ahead of time and keeps the length; appending within it moves nothing.
    CMavArrayTempl<int> r;
    r.append(7);
    r.reserve(-5);
    r.reserve(3);
    EXPECT_EQ(r.physicalLength(), 8);
    r.reserve(300);
    EXPECT_EQ(r.physicalLength(), 512);
    EXPECT_EQ(r.len(), 1);
    const int* before = r.data();
    for (int i = 1; i < 300; ++i)
        r.append(i);
    EXPECT_EQ(r.data(), before);
    EXPECT_EQ(r[0], 7);
}

// Arrays whose length is known when they are made (copies, lists in braces) take exactly that room; appending
// to them doubles from there. Arrays that start empty keep the 0, 8, 16, ... rule.
TEST(CMavArray, CopiesTakeExactRoomAndAppendingDoublesFromThere)
{
    CMavArrayTempl<int> grown;
    for (int i = 0; i < 9; ++i)
        grown.append(i * 3);
    ASSERT_EQ(grown.physicalLength(), 16);

    const CMavArrayTempl<int> copy(grown);
    EXPECT_EQ(copy.physicalLength(), 9);
    EXPECT_EQ(copy, grown);
    CMavArrayTempl<int> assigned{1};
    assigned = grown;
    EXPECT_EQ(assigned.physicalLength(), 9);
    EXPECT_EQ(assigned[8], 24);
    assigned.append(27);
    EXPECT_EQ(assigned.physicalLength(), 18);
    EXPECT_EQ(assigned.len(), 10);
    EXPECT_EQ(assigned[9], 27);

    const CMavArrayTempl<double> braces{1.0, 0.0, 0.0};
    EXPECT_EQ(braces.physicalLength(), 3);
    const CMavArrayTempl<double> none;
    const CMavArrayTempl<double> noneCopy(none);
    EXPECT_EQ(noneCopy.physicalLength(), 0);
    CMavArrayTempl<double> fromNone(noneCopy);
    fromNone.append(2.0);
    EXPECT_EQ(fromNone.physicalLength(), 8);

    // Nested: every inner array of a copy is exact as well.
    CMavArrayTempl<CMavArrayTempl<int>> nested;
    nested.append(CMavArrayTempl<int>{1, 2});
    nested[0].append(3);
    ASSERT_EQ(nested[0].physicalLength(), 4);
    const CMavArrayTempl<CMavArrayTempl<int>> nestedCopy(nested);
    EXPECT_EQ(nestedCopy.physicalLength(), 1);
    EXPECT_EQ(nestedCopy[0].physicalLength(), 3);
    EXPECT_EQ(nestedCopy[0][2], 3);
}

TEST(CMavArray, NegativeAndOutOfRangeIndices)
{
    CMavArrayTempl<int> a{10, 20, 30};
    EXPECT_EQ(a[-1], 30);
    EXPECT_EQ(a[-3], 10);
    const CMavArrayTempl<int>& ca = a;
    EXPECT_EQ(ca[-4], 0);   // below -n: shared default
    EXPECT_EQ(ca[3], 0);    // read-only beyond the end: shared default, no growth
    EXPECT_EQ(a.len(), 3);

    CMavArrayTempl<int> one{7};
    EXPECT_EQ(one[-1], 7);
    EXPECT_EQ(one[-5], 7);

    CMavArrayTempl<int> empty;
    const CMavArrayTempl<int>& cempty = empty;
    EXPECT_EQ(cempty[-1], 0);
    empty[-1] = 99;           // goes to the shared default, not into the array
    EXPECT_EQ(empty.len(), 0);
    EXPECT_EQ(empty[-1], 0);  // and the write does not leak

    a[5] = 60; // writable: extends to index + 1
    ASSERT_EQ(a.len(), 6);
    EXPECT_EQ(a[3], 0);
    EXPECT_EQ(a[4], 0);
    EXPECT_EQ(a[5], 60);
}

TEST(CMavArray, InsertRemoveKeepOrder)
{
    CMavArrayTempl<std::string> a{"a", "b", "c", "d"};
    a.insertAt(1, "x");
    a.insertAt(99, "z");
    a.insertAt(-3, "s");
    ASSERT_EQ(a.len(), 7);
    EXPECT_EQ(a[0], "s");
    EXPECT_EQ(a[2], "x");
    EXPECT_EQ(a[6], "z");
    a.removeAt(1, 3); // a, x, b
    ASSERT_EQ(a.len(), 4);
    EXPECT_EQ(a[0], "s");
    EXPECT_EQ(a[1], "c");
    EXPECT_EQ(a[3], "z");
    a.removeAt(3, 50);
    EXPECT_EQ(a.len(), 3);
    a.removeAt(-1);
    EXPECT_EQ(a.len(), 3);
    a.append(a[0]); // element of the array itself while it grows
    EXPECT_EQ(a[3], "s");
    a.append(a);
    EXPECT_EQ(a.len(), 8);
    EXPECT_EQ(a[7], "s");
}

TEST(CMavArray, NestedArraysCopyDeeply)
{
    CMavArrayTempl<CMavArrayTempl<CMavArrayTempl<int>>> outer;
    outer[0][0].append(1);
    outer[1][2].append(5);
    auto copy = outer;
    copy[1][2][0] = 6;
    copy[0].removeAll();
    EXPECT_EQ(outer[1][2][0], 5);
    EXPECT_EQ(outer[0][0][0], 1);
    EXPECT_EQ(copy[1][2][0], 6);
    outer = outer; // self-assignment keeps the contents
    EXPECT_EQ(outer[1][2][0], 5);
    auto moved = std::move(copy);
    EXPECT_EQ(moved[1][2][0], 6);
    EXPECT_EQ(copy.len(), 0);
    EXPECT_TRUE(outer != moved);
}
