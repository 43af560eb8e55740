// Data files: the text form of the data tree (round trips, malformed input) and open data files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>

#include "data/datafile.h"
#include "mav_test_data.h"

namespace {

bool fromText(CMavDataItem& dir, const std::string& text, CMavString* error = nullptr)
{
    return MAV::dataFromText(dir, text.data(), text.size(), error);
}

// A random tree of every value type, with text, integer and name keys (some with quotes and backslashes).
void fillRandom(CMavDataItem& dir, std::mt19937& rng, int depth)
{
    std::uniform_real_distribution<double> real(-1e6, 1e6);
    CMavVertexArray pl;
    pl.append(CMavPoint3d(1, 2, 3), CMavPoint3d(real(rng), 5, 6), -0.25);
    pl.appendTo(CMavPoint3d(5, 5, 5));
    CMavMatrix3d m;
    m.m[1][3] = real(rng);
    m.m[2][0] = 0.1;
    const std::function<void(CMavDataItem*)> values[] = {
        [&](CMavDataItem* it) { it->set(static_cast<int>(rng())); },
        [&](CMavDataItem* it) { it->set(real(rng) / 7.0); },
        [&](CMavDataItem* it) { it->set(CMavString(L"T\u00fcr \"mit\" \\ Zeilen\numbruch")); },
        [&](CMavDataItem* it) { it->set(CMavPoint3d(real(rng), real(rng), real(rng))); },
        [&](CMavDataItem* it) { it->set(CMavPoint3dArray{{real(rng), 0.1, -0.2}, {1, 2, 3}}); },
        [&](CMavDataItem* it) { it->set(m); },
        [&](CMavDataItem* it) { it->set(pl); },
        [&](CMavDataItem* it) { it->set(CMavArrayTempl<CMavVertexArray>{pl, CMavVertexArray(), pl}); },
        [&](CMavDataItem* it) { it->set(CMavArrayTempl<int>{1, -2, 2147483647}); },
        [&](CMavDataItem* it) { it->set(-INFINITY); },
        [&](CMavDataItem* it) {
            if (depth < 4) {
                it->makeDirectory();
                fillRandom(*it, rng, depth + 1);
            }
        },
        [](CMavDataItem*) {}}; // no value
    for (int i = static_cast<int>(rng() % 6); i >= 0; --i) {
        const CMavString keys[] = {CMavString::format(L"@n%d", i), CMavString::format(L"%d weird \"key\"\\ %d", i, depth),
                                   CMavString::format(L"K%d_%d", depth, i)};
        const unsigned kind = rng() % 4;
        CMavDataKey key;
        if (kind == 3)
            key.append(static_cast<int>(rng() % 2000) - 1000);
        else
            key.appendText(keys[kind].c_str(), kind == 0 ? MAV::kKeyName : MAV::kKeyText);
        values[rng() % 12](dir.makeItem(key));
    }
}

} // namespace

TEST(DataText, RoundTripsEveryValueTypeExactly)
{
    std::mt19937 rng(4711);
    for (int round = 0; round < 40; ++round) {
        CMavDataDir tree, back;
        fillRandom(tree, rng, 0);
        const std::string text = MAV::dataToText(tree);
        CMavString error;
        ASSERT_TRUE(fromText(back, text, &error)) << error.utf8() << "\n" << text;
        EXPECT_TRUE(back.equals(tree)) << text << "\n---\n" << MAV::dataToText(back);
    }
}

// Keys that written bare would read back as something else (found by fuzzing the text form): the words a list of
// numbers reads ("inf", "nan", "infinity") after a value of numbers, which took them in; a key beginning with the
// byte order mark as the first word of the text, which lost the mark.
TEST(DataText, KeysSpelledLikeNumbersOrTheFileMarkReadBack)
{
    CMavDataDir fuzzed[2], made;
    const char* const files[] = {"datatext_key_inf_taken_as_number.dat", "datatext_key_bom_taken_as_file_mark.dat"};
    for (int i = 0; i < 2; ++i) {
        std::ifstream in(std::string(MAV_TEST_DATA_DIR) + "/findings/" + files[i], std::ios::binary);
        fromText(fuzzed[i], std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
        ASSERT_NE(fuzzed[i].get(CMavDataKey().appendText(i == 0 ? L"inf" : L"\uFEFF")), nullptr) << files[i];
    }
    for (const wchar_t* key : {L"A", L"inf", L"infinity", L"nan"})
        made.makeItem(CMavDataKey().appendText(key))->set(2.5);
    for (const CMavDataDir* tree : {&fuzzed[0], &fuzzed[1], &made}) {
        const std::string text = MAV::dataToText(*tree);
        CMavDataDir back;
        CMavString error;
        EXPECT_TRUE(fromText(back, text, &error) && back.equals(*tree)) << error.utf8() << "\n" << text;
    }
}

TEST(DataText, ReadsTheDocumentedFormsAndStopsAtMalformedInput)
{
    const std::string text = "; comment\nA = int -5   B = real .5e1 ; trailing comment\n#12 = text \"x\\\"y\\\\z\\n\"\n"
                             "@E1 { P = point 1 2 +3 }\n\"\" { LABEL = text \"root\" }\n"
                             "L = polylines 0 0 0 1 0 0 0 | | 1 1 1 2 2 2 1\nN = none\nA = int 7\n";
    CMavDataDir d;
    ASSERT_TRUE(fromText(d, text));
    int a = 0;
    double b = 0;
    CMavString s;
    CMavPoint3d p;
    CMavArrayTempl<CMavVertexArray> list;
    // A repeated key replaces the value, keeping its place.
    EXPECT_TRUE(d.get(a, L"A") && a == 7 && d.childAt(0)->keyPart().text == L"A");
    EXPECT_TRUE(d.get(b, L"B") && b == 5.0);
    EXPECT_TRUE(d.get(s, CMavDataKey(12)) && s == L"x\"y\\z\n");
    EXPECT_EQ(d.get(L"E1")->keyType(), 5020);
    EXPECT_TRUE(d.get(p, L"E1\\P") && p == CMavPoint3d(1, 2, 3));
    EXPECT_TRUE(d.get(s, L"\\LABEL") && s == L"root");
    ASSERT_TRUE(d.get(list, L"L") && list.len() == 3);
    EXPECT_TRUE(list[1].isEmpty() && list[2][0].bulge == 1.0);
    EXPECT_EQ(d.get(L"N")->valueType(), CMavDataItem::kNone);

    // {second line, error}: reading stops with the line's error and keeps what was read before.
    const char* const cases[][2] = {{"B = int 1.5", "line 2: integer expected"},
                                    {"B = point 1 2", "line 2: three numbers expected"},
                                    {"B {\nC = int 2\n", "line 4: missing '}'"}, {"}", "line 2: unexpected '}'"},
                                    {"B = text \"open", "line 2: quoted text expected"},
                                    {"B = int 99999999999", "line 2: integer expected"},
                                    {"B = matrix 1 2 3", "line 2: sixteen numbers expected"},
                                    {"B = polyline 1 2 3", "line 2: a polyline needs 7 numbers per segment"},
                                    {"B = colour 3", "line 2: unknown value type"},
                                    {"B 3", "line 2: '=' or '{' expected after a key"},
                                    {"#x = int 3", "line 2: bad integer key"}, {"B = real 1e999", "line 2: bad number"},
                                    {"B = real 1..2", "line 2: bad number"},
                                    {"B|= int 3", "line 2: '=' or '{' expected after a key"},
                                    {"= int 3", "line 2: key expected"}};
    for (const auto& c : cases) {
        CMavDataDir bad;
        CMavString error;
        EXPECT_FALSE(fromText(bad, std::string("A = int 1\n") + c[0], &error)) << c[0];
        EXPECT_EQ(error.utf8(), c[1]) << c[0];
        EXPECT_TRUE(bad.get(a, L"A")) << c[0];
    }
    // Nesting beyond 64 levels is refused, not recursed into; empty and null input are an empty directory.
    std::string deep;
    for (int i = 0; i < 200; ++i)
        deep += "A { ";
    CMavString error;
    EXPECT_FALSE(fromText(d, deep, &error));
    EXPECT_NE(error.utf8().find("nesting too deep"), std::string::npos);
    EXPECT_TRUE(fromText(d, ""));
    EXPECT_TRUE(MAV::dataFromText(d, nullptr, 5));
}

TEST(DataFile, EntityDataStaysForTheSessionAndOpensOnce)
{
    const std::int64_t entity[2] = {0x1234, 77};
    EXPECT_EQ(MAV::dtaOpen(3, 1, entity, nullptr, nullptr), nullptr); // read mode: no data yet
    MAV::CDtaFilePointer* p = MAV::dtaOpen(3, 3, entity, nullptr, nullptr);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(MAV::dtaOpen(3, 3, entity, nullptr, nullptr), p); // open already: the same pointer
    EXPECT_EQ(p->root(), nullptr);
    p->root(true)->setAt(L"LABEL", L"Bohrbild");
    CMavDataDir bt;
    bt.setAt(L"E1\\GEN\\TYPE", L"DRILL");
    EXPECT_TRUE(p->set(L"BT", &bt));
    EXPECT_FALSE(p->set(CMavDataKey(), &bt) || p->set(L"BT", nullptr));
    CMavString s;
    EXPECT_TRUE(p->get(CMavDataKey().appendText(L"").appendText(L"LABEL"))->get(s) && s == L"Bohrbild");
    EXPECT_NE(p->get(L"NEW", true), nullptr);
    CMavArrayTempl<CMavDataKey> keys;
    EXPECT_TRUE(p->dir(L"BT", keys));
    EXPECT_EQ(keys, CMavArrayTempl<CMavDataKey>{CMavDataKey(L"E1")});
    EXPECT_FALSE(p->dir(L"NOPE", keys));
    MAV::dtaClose(p);
    MAV::dtaClose(p); // closed already (a host closed what its caller holds): nothing happens
    // Reopened read-only after closing: the data is still there, but cannot be changed.
    MAV::CDtaFilePointer* r = MAV::dtaOpen(3, 1, entity, nullptr, nullptr);
    ASSERT_NE(r, nullptr);
    EXPECT_NE(r->get(L"BT\\E1\\GEN"), nullptr);
    EXPECT_EQ(r->get(L"NEW2", true), nullptr);
    EXPECT_FALSE(r->set(L"X", &bt));
    delete r;
    EXPECT_EQ(MAV::dtaOpen(3, 3, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(MAV::dtaOpen(9, 3, entity, nullptr, nullptr), nullptr);
}

TEST(DataFile, TemporaryAndDiskFiles)
{
    MAV::CDtaFilePointer *t1 = MAV::dtaOpen(6, 3, nullptr, nullptr), *t2 = MAV::dtaOpen(6, 3, nullptr, nullptr);
    ASSERT_NE(t2, t1);
    t1->root(true)->setAt(L"COORD", 1);
    EXPECT_EQ(t2->get(L"\\COORD"), nullptr); // every temporary file is new
    EXPECT_FALSE(t1->save());
    MAV::dtaClose(t1);
    MAV::dtaClose(t2);

    const CMavString path(
        (testing::TempDir() + "mav_datafile_test_" + std::to_string(std::random_device{}()) + ".dat").c_str());
    EXPECT_EQ(MAV::dtaOpen(1, 1, nullptr, path.c_str()), nullptr); // missing, read mode
    MAV::CDtaFilePointer* w = MAV::dtaOpen(1, 3, nullptr, path.c_str());
    ASSERT_NE(w, nullptr);
    w->get(L"A\\B", true)->set(2.5);
    EXPECT_TRUE(w->save());
    delete w;
    MAV::CDtaFilePointer* r = MAV::dtaOpen(1, 1, nullptr, path.c_str());
    ASSERT_NE(r, nullptr);
    double v = 0;
    EXPECT_TRUE(r->get(L"A\\B")->get(v) && v == 2.5);
    EXPECT_FALSE(r->save()); // read mode
    delete r;
    std::remove(path.utf8().c_str());
}
