// Data tree: keys, typed values, directories, copies and the walk over children.
#include <gtest/gtest.h>

#include "data/CMavDataItem.h"

#include <algorithm>
#include <map>
#include <random>
#include <string>

TEST(CMavDataKey, TextFormAndTypedParts)
{
    CMavDataKey k(L"VAL\\2");
    ASSERT_EQ(k.len(), 2);
    EXPECT_EQ(k.type(0), 5005);
    EXPECT_EQ(k.textPart(0), L"VAL");
    EXPECT_EQ(k.intPart(1), 2);
    CMavDataKey typed;
    typed.set(5005, L"VAL", 5003, 2, 0);
    EXPECT_EQ(typed, k);
    EXPECT_EQ(typed.text(), L"VAL\\2");

    // An empty first part stays a part; parts that are decimal ints within the int range are integers (5003),
    // all else is text (5005).
    CMavDataKey lead(L"\\LABEL");
    ASSERT_EQ(lead.len(), 2);
    EXPECT_EQ(lead.textPart(0), L"");
    const std::pair<const wchar_t*, int> parts[] = {{L"-7", 5003}, {L"-2147483648", 5003}, {L"2147483647", 5003},
                                                    {L"2147483648", 5005}, {L"-2147483649", 5005},
                                                    {L"99999999999", 5005}, {L"1a", 5005}, {L"-", 5005}};
    for (const auto& p : parts)
        EXPECT_EQ(CMavDataKey(p.first).type(0), p.second) << CMavString(p.first).utf8();
    EXPECT_EQ(CMavDataKey(L"-2147483648").intPart(0), -2147483647 - 1);
    EXPECT_TRUE(CMavDataKey(L"").isEmpty());

    // Name parts and text parts address the same child; integer and text "2" do not.
    CMavDataKey name;
    name.set(5020, L"E1", 0);
    EXPECT_EQ(name.type(), 5020);
    EXPECT_TRUE(name.part(0).matches(CMavDataKeyPart(L"E1")));
    EXPECT_FALSE(CMavDataKeyPart(2).matches(CMavDataKeyPart(L"2")));
    // An unknown part type ends the list; out-of-range reads give neutral values.
    CMavDataKey stop;
    stop.set(5005, L"A", 4711, 5003, 1, 0);
    EXPECT_EQ(stop.len(), 1);
    EXPECT_EQ(stop.type(5), 0);
    EXPECT_EQ(stop.intPart(0), 0);
}

TEST(CMavDataItem, TypedValuesAndConversions)
{
    CMavDataDir root;
    root.setAt(L"INT", 3);
    root.setAt(L"DBL", 2.75);
    root.setAt(L"BIG", 1e12);
    root.setAt(L"TXT", L"T\u00fcr");
    CMavMatrix3d m;
    m.m[0][3] = 5.0;
    root.setAt(L"MTX", m);
    const CMavArrayTempl<int> stack{4, 5};
    root.setAt(L"STACK", stack);

    int i = -1;
    double d = 0.0;
    CMavString s;
    EXPECT_TRUE(root.get(d, L"INT"));
    EXPECT_EQ(d, 3.0);
    EXPECT_TRUE(root.get(i, L"DBL"));
    EXPECT_EQ(i, 2); // truncated
    i = -1;
    for (const wchar_t* none : {L"BIG", L"TXT", L"MISSING", L"STACK"}) // beyond int, text, nothing, two ints
        EXPECT_FALSE(root.get(i, none)) << CMavString(none).utf8();
    EXPECT_EQ(i, -1);
    EXPECT_TRUE(root.get(s, L"TXT"));
    EXPECT_EQ(s, L"T\u00fcr");
    EXPECT_FALSE(root.get(s, L"INT")); // numbers are not texts
    CMavMatrix3d back;
    EXPECT_TRUE(MAV::dataItemGet(&root, CMavDataKey(L"MTX"), back));
    EXPECT_EQ(back.m[0][3], 5.0);
    CMavArrayTempl<int> a;
    EXPECT_TRUE(root.get(a, L"STACK"));
    EXPECT_EQ(a, stack);
    EXPECT_TRUE(root.get(a, L"INT"));
    EXPECT_EQ(a, CMavArrayTempl<int>{3});

    // A polyline reads as a list of one; the own value of an item reads without a key.
    CMavVertexArray pl;
    pl.append(CMavPoint3d(0, 0, 0), CMavPoint3d(1, 0, 0));
    CMavArrayTempl<CMavVertexArray> list;
    EXPECT_TRUE(MAV::dataItemGet(root.setAt(L"GEN", pl), list));
    ASSERT_EQ(list.len(), 1);
    EXPECT_EQ(list[0], pl);
    EXPECT_FALSE(MAV::dataItemGet(static_cast<const CMavDataItem*>(nullptr), list));
}

TEST(CMavDataItem, DirectoriesKeepInsertionOrderAndReplaceValues)
{
    CMavDataDir root;
    EXPECT_TRUE(MAV::dataItemSet(&root, CMavDataKey(L"KRV_MENU\\COLOR\\PDMODE"), 3));
    root.setAt(L"B", 1);
    root.setAt(L"A", 2);
    root.setAt(CMavDataKey(7), 3);
    root.setAt(L"B", 4); // same key: value replaced, place kept
    CMavString keys;
    for (MAV::CDataIterator it(&root); it.valid(); it.next())
        keys += it.key().text() + L";";
    EXPECT_EQ(keys, L"KRV_MENU;B;A;7;");
    EXPECT_EQ(root.childAt(3)->keyType(), 5003);
    EXPECT_FALSE(MAV::CDataIterator(nullptr).valid());
    int v = 0;
    EXPECT_TRUE(root.get(v, L"B"));
    EXPECT_EQ(v, 4);

    const CMavDataItem* colour = root.get(L"KRV_MENU\\COLOR");
    ASSERT_NE(colour, nullptr);
    EXPECT_TRUE(colour->isDir());
    EXPECT_EQ(colour->parent()->keyPart().text, L"KRV_MENU");
    EXPECT_EQ(root.get(L"KRV_MENU\\NOPE"), nullptr);
    EXPECT_EQ(root.get(CMavDataKey()), &root);

    // Storing a value under a plain item turns it into a directory; setting a value drops children.
    root.setAt(L"A\\X", 1);
    EXPECT_TRUE(root.get(L"A")->isDir());
    root.get(L"A")->set(5);
    EXPECT_EQ(root.get(L"A")->count(), 0);
    EXPECT_TRUE(root.remove(L"B"));
    EXPECT_FALSE(root.remove(L"B"));
    EXPECT_EQ(root.count(), 3);
    EXPECT_EQ(root.childAt(1)->keyPart().text, L"A");
    EXPECT_TRUE(root.get(v, L"A")); // the index still finds the moved children
    EXPECT_EQ(v, 5);

    // Depth is bounded: 64 levels below the root, not 65.
    CMavDataKey path, more;
    for (int i = 0; i < 60; ++i)
        path.append(i);
    CMavDataItem* inner = root.makeItem(path);
    ASSERT_NE(inner, nullptr);
    more.append(1).append(2).append(3).append(4).append(5);
    EXPECT_EQ(inner->makeItem(more), nullptr);
    EXPECT_EQ(inner->makeDir(more), nullptr);
    EXPECT_EQ(inner->count(), 0);
    more.clear();
    more.append(1).append(2).append(3).append(4);
    EXPECT_NE(inner->makeItem(more), nullptr);
}

TEST(CMavDataItem, CopiesAreDeepAndSetItemHonoursTheReplaceFlag)
{
    CMavDataDir src;
    src.setAt(L"HOLE\\E1\\DIA", 8.0);
    src.setAt(L"HOLE\\E2\\DIA", 10.0);
    CMavDataItem copy(src);
    copy.setAt(L"HOLE\\E1\\DIA", 99.0);
    double d = 0.0;
    EXPECT_TRUE(src.get(d, L"HOLE\\E1\\DIA"));
    EXPECT_EQ(d, 8.0);
    EXPECT_FALSE(copy.equals(src));

    CMavDataDir target;
    EXPECT_TRUE(target.setItem(L"BT", *src.get(L"HOLE"), 0));
    EXPECT_FALSE(target.setItem(L"BT", *copy.get(L"HOLE"), 0)); // exists, no replace flag
    EXPECT_TRUE(target.get(d, L"BT\\E1\\DIA"));
    EXPECT_EQ(d, 8.0);
    EXPECT_TRUE(target.setItem(L"BT", *copy.get(L"HOLE"), 1));
    EXPECT_TRUE(target.get(d, L"BT\\E1\\DIA"));
    EXPECT_EQ(d, 99.0);
    EXPECT_EQ(target.get(L"BT")->keyPart().text, L"BT"); // the target key, not the source's
    // A subtree copied over its own ancestor.
    EXPECT_TRUE(target.setItem(CMavDataKey(), *target.get(L"BT\\E2"), 1));
    EXPECT_TRUE(target.get(d, L"DIA"));
    EXPECT_EQ(d, 10.0);
    EXPECT_EQ(target.get(L"BT"), nullptr);

    // A moved tree keeps its children, which now know their new parent; the source is left empty.
    CMavDataItem moved(std::move(copy));
    EXPECT_EQ(moved.get(L"HOLE")->parent(), &moved);
    EXPECT_EQ(copy.count(), 0);
    EXPECT_FALSE(copy.isDir());
    // Self-assignment and assignment from a descendant.
    CMavDataItem tree(src);
    tree = tree;
    EXPECT_TRUE(tree.equals(src));
    tree = *tree.get(L"HOLE\\E2");
    EXPECT_TRUE(tree.get(d, L"DIA"));
    EXPECT_EQ(d, 10.0);
}

// Large directories are looked up through a hash table; whatever is added, removed, copied or assigned, a lookup
// finds exactly what a plain map of the same keys holds. Integer 7 and text "7" are different keys; a name part
// finds the text part of the same text.
TEST(CMavDataItem, LargeDirectoriesFindWhatAPlainMapHolds)
{
    std::mt19937 rng(11);
    std::map<std::pair<bool, std::wstring>, int> expected;
    CMavDataDir dir;
    const auto keyOf = [](bool isInt, const std::wstring& k) {
        return isInt ? CMavDataKey(std::stoi(k)) : CMavDataKey().appendText(k.c_str());
    };
    const auto check = [&](const CMavDataItem& d) {
        ASSERT_EQ(d.count(), static_cast<int>(expected.size()));
        for (int i = 0; i < 300; ++i)
            for (bool isInt : {false, true}) {
                const std::wstring k = std::to_wstring(i);
                const auto it = expected.find({isInt, k});
                int v = -1;
                EXPECT_EQ(d.get(v, keyOf(isInt, k)), it != expected.end()) << isInt << " " << i;
                if (it != expected.end()) {
                    EXPECT_EQ(v, it->second);
                }
            }
    };
    for (int step = 0; step < 2000; ++step) {
        const bool isInt = rng() % 2 == 0;
        const std::wstring k = std::to_wstring(rng() % 300);
        if (rng() % 4 == 0) {
            EXPECT_EQ(dir.remove(keyOf(isInt, k)), expected.erase({isInt, k}) == 1);
        } else {
            dir.setAt(keyOf(isInt, k), step);
            expected[{isInt, k}] = step;
        }
        if (step % 500 == 499) {
            check(dir);
            check(CMavDataItem(dir));
            CMavDataItem assigned;
            assigned = dir;
            check(assigned);
        }
    }
    const auto named = std::find_if(expected.begin(), expected.end(), [](const auto& e) { return !e.first.first; });
    ASSERT_NE(named, expected.end());
    int v = -1;
    EXPECT_TRUE(dir.get(v, CMavDataKey().appendText(named->first.second.c_str(), MAV::kKeyName)));
    EXPECT_EQ(v, named->second);
}
