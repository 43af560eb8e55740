// Data tree: keys, typed values, directories, copies and the walk over children.
#include <gtest/gtest.h>

#include "data/CMavDataItem.h"

#include <algorithm>
#include <map>
#include <random>
#include <string>

TEST(CMavDataKey, TextFormAndTypedParts)
{
    CMavDataKey k(L"VAL\\2"), typed, name, stop;
    typed.set(5005, L"VAL", 5003, 2, 0);
    EXPECT_EQ(typed, k);
    EXPECT_EQ(typed.text(), L"VAL\\2");
    EXPECT_EQ(k.textPart(0) + CMavString::format(L"%d %d", k.intPart(1), k.len()), L"VAL2 2");
    // An empty first part stays a part; parts that are decimal ints within the int range are integers (5003),
    // all else is text (5005).
    EXPECT_EQ(CMavDataKey(L"\\LABEL").len(), 2);
    const std::pair<const wchar_t*, int> parts[] = {
        {L"-7", 5003},          {L"-2147483648", 5003}, {L"2147483647", 5003}, {L"2147483648", 5005},
        {L"-2147483649", 5005}, {L"99999999999", 5005}, {L"1a", 5005},         {L"-", 5005}};
    for (const auto& p : parts)
        EXPECT_EQ(CMavDataKey(p.first).type(0), p.second) << CMavString(p.first).utf8();
    EXPECT_EQ(CMavDataKey(L"-2147483648").intPart(0), -2147483647 - 1);
    // Name parts and text parts address the same child; integer and text "2" do not. An unknown part type ends
    // the list; out-of-range reads give neutral values.
    name.set(5020, L"E1", 0);
    EXPECT_EQ(name.type(), 5020);
    EXPECT_TRUE(name.part(0).matches(CMavDataKeyPart(L"E1")));
    EXPECT_FALSE(CMavDataKeyPart(2).matches(CMavDataKeyPart(L"2")));
    stop.set(5005, L"A", 4711, 5003, 1, 0);
    EXPECT_EQ(stop.len() * 100 + stop.type(5) * 10 + stop.intPart(0), 100);
}

TEST(CMavDataItem, TypedValuesDirectoriesAndCopies)
{
    CMavDataDir root;
    root.setAt(L"INT", 3);
    root.setAt(L"DBL", 2.75);
    root.setAt(L"BIG", 1e12);
    root.setAt(L"TXT", L"T\u00fcr");
    root.setAt(L"STACK", CMavArrayTempl<int>{4, 5});
    int i = -1;
    double d = 0.0;
    CMavString s;
    CMavArrayTempl<int> a;
    EXPECT_TRUE(root.get(d, L"INT") && d == 3.0);
    EXPECT_TRUE(root.get(i, L"DBL") && i == 2);                        // truncated
    for (const wchar_t* none : {L"BIG", L"TXT", L"MISSING", L"STACK"}) // beyond int, text, nothing, two ints
        EXPECT_FALSE(root.get(i, none)) << CMavString(none).utf8();
    EXPECT_EQ(i, 2);
    EXPECT_TRUE(root.get(s, L"TXT") && s == L"T\u00fcr");
    EXPECT_FALSE(root.get(s, L"INT")); // numbers are not texts
    EXPECT_TRUE(root.get(a, L"INT") && a == CMavArrayTempl<int>{3});
    // A polyline reads as a list of one; the own value of an item reads without a key.
    CMavVertexArray pl;
    pl.append(CMavPoint3d(0, 0, 0), CMavPoint3d(1, 0, 0));
    CMavArrayTempl<CMavVertexArray> list;
    EXPECT_TRUE(MAV::dataItemGet(root.setAt(L"GEN", pl), list));
    EXPECT_EQ(list, CMavArrayTempl<CMavVertexArray>{pl});
    EXPECT_FALSE(MAV::dataItemGet(static_cast<const CMavDataItem*>(nullptr), list));

    // Directories keep the insertion order; the same key replaces the value in its place; a value under a plain
    // item turns it into a directory; setting a value drops the children.
    EXPECT_TRUE(MAV::dataItemSet(&root, CMavDataKey(L"KRV_MENU\\COLOR\\PDMODE"), 3));
    root.setAt(CMavDataKey(7), 3);
    root.setAt(L"DBL", 4);
    CMavString keys;
    for (MAV::CDataIterator it(&root); it.valid(); it.next())
        keys += it.key().text() + L";";
    EXPECT_EQ(keys, L"INT;DBL;BIG;TXT;STACK;GEN;KRV_MENU;7;");
    EXPECT_EQ(root.childAt(7)->keyType(), 5003);
    EXPECT_FALSE(MAV::CDataIterator(nullptr).valid());
    EXPECT_EQ(root.get(L"KRV_MENU\\COLOR")->parent()->keyPart().text, L"KRV_MENU");
    EXPECT_EQ(root.get(L"KRV_MENU\\NOPE"), nullptr);
    EXPECT_EQ(root.get(CMavDataKey()), &root);
    root.setAt(L"TXT\\X", 1);
    EXPECT_TRUE(root.get(L"TXT")->isDir());
    root.get(L"TXT")->set(5);
    EXPECT_EQ(root.get(L"TXT")->count(), 0);
    EXPECT_TRUE(root.remove(L"INT"));
    EXPECT_FALSE(root.remove(L"INT"));
    EXPECT_EQ(root.childAt(2)->keyPart().text, L"TXT");
    EXPECT_TRUE(root.get(i, L"TXT") && i == 5); // the index still finds the moved children
    // Depth is bounded: 64 levels below the root, not 65, also counted from an inner item.
    CMavDataKey path;
    for (int k = 0; k < CMavDataItem::kMaxDepth; ++k)
        path.append(k);
    CMavDataItem* deepest = root.makeItem(path);
    ASSERT_NE(deepest, nullptr);
    EXPECT_EQ(root.get(CMavDataKey(0))->makeItem(path), nullptr);
    EXPECT_TRUE(deepest->makeItem(CMavDataKey(1)) == nullptr && deepest->makeDir(CMavDataKey(1)) == nullptr);
    EXPECT_TRUE(deepest->count() == 0 && root.get(CMavDataKey(0))->get(CMavDataKey(0)) == nullptr);
    // Copies are deep; setItem copies under the target key and replaces only when asked, also over an ancestor.
    CMavDataDir src, target;
    src.setAt(L"HOLE\\E1\\DIA", 8.0);
    src.setAt(L"HOLE\\E2\\DIA", 10.0);
    CMavDataItem copy(src);
    copy.setAt(L"HOLE\\E1\\DIA", 99.0);
    EXPECT_TRUE(src.get(d, L"HOLE\\E1\\DIA") && d == 8.0);
    EXPECT_FALSE(copy.equals(src));
    EXPECT_TRUE(target.setItem(L"BT", *src.get(L"HOLE"), 0));
    EXPECT_FALSE(target.setItem(L"BT", *copy.get(L"HOLE"), 0));
    EXPECT_TRUE(target.get(d, L"BT\\E1\\DIA") && d == 8.0);
    EXPECT_TRUE(target.setItem(L"BT", *copy.get(L"HOLE"), 1));
    EXPECT_TRUE(target.get(d, L"BT\\E1\\DIA") && d == 99.0);
    EXPECT_EQ(target.get(L"BT")->keyPart().text, L"BT");
    EXPECT_TRUE(target.setItem(CMavDataKey(), *target.get(L"BT\\E2"), 1));
    EXPECT_TRUE(target.get(d, L"DIA") && d == 10.0 && target.get(L"BT") == nullptr);
    // A moved tree keeps its children, which know their new parent; self-assignment and assignment from a
    // descendant keep the contents.
    CMavDataItem moved(std::move(copy)), tree(src);
    EXPECT_EQ(moved.get(L"HOLE")->parent(), &moved);
    EXPECT_FALSE(copy.isDir() || copy.count() != 0);
    tree = tree;
    EXPECT_TRUE(tree.equals(src));
    tree = *tree.get(L"HOLE\\E2");
    EXPECT_TRUE(tree.get(d, L"DIA") && d == 10.0);
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
