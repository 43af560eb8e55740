// LISP result buffers: reading LISP text, printing it back, owning lists and turning lists into regions.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "data/CMavDataItem.h"
#include "data/datafile.h"
#include "data/resbuf.h"
#include "mav_test_data.h"

namespace {

std::vector<short> types(const resbuf* rb)
{
    std::vector<short> out;
    for (; rb; rb = rb->rbnext)
        out.push_back(rb->restype);
    return out;
}

} // namespace

TEST(Resbuf, ReadsAtomsListsAndDottedPairs)
{
    MAV::CSmartResbuf l(MAV::rbToList(L"(1 70000 2.5 \"a\\\"b\" nil T sym (\"K\" . 3) (a . (b c)) (x . nil))"));
    ASSERT_FALSE(l.isEmpty());
    const std::vector<short> expected = {RTLB,  RTSHORT, RTLONG, RTREAL, RTSTR, RTNIL,   RTT,  RTSTR, RTLB,
                                         RTSTR, RTSHORT, RTDOTE, RTLB,   RTSTR, RTSTR,   RTSTR, RTLE, RTLB,
                                         RTSTR, RTLE,    RTLE};
    EXPECT_EQ(types(l), expected);
    EXPECT_TRUE(l.at(1)->resval.rint == 1 && l.at(2)->resval.rlong == 70000 && l.at(3)->resval.rreal == 2.5);
    EXPECT_EQ(MAV::rbToText(l), L"(1 70000 2.5 \"a\\\"b\" nil T \"SYM\" (\"K\" . 3) (\"A\" \"B\" \"C\") (\"X\"))");

    MAV::CSmartResbuf copy(l); // a copy is deep: freeing the original leaves it intact
    l.reset();
    EXPECT_STREQ(copy.at(4)->resval.rstring, L"a\"b");

    // Integer sizes and reals: the boundaries of 16 and 32 bits, and numbers that are not integers.
    MAV::CSmartResbuf n(MAV::rbToList(L"32767 -32768 32768 2147483648 1. -.5 1e3 +4"));
    EXPECT_EQ(types(n), (std::vector<short>{RTSHORT, RTSHORT, RTLONG, RTREAL, RTREAL, RTREAL, RTREAL, RTSHORT}));
    EXPECT_TRUE(n.at(3)->resval.rreal == 2147483648.0 && n.at(7)->resval.rint == 4);
}

TEST(Resbuf, MalformedLispTextGivesNull)
{
    for (const wchar_t* bad : {L"(1 2", L"1 2)", L"\"open", L"(. 1)", L"(1 . 2 3)", L"(1 .)", L".", L"",
                               L"(\"a\\", L"   ; only a comment"})
        EXPECT_EQ(MAV::rbToList(bad), nullptr) << CMavString(bad).utf8();
    EXPECT_EQ(MAV::rbToList(nullptr), nullptr);
    // Nesting is bounded: two lists for each directory level a data tree may have, and four more.
    std::wstring deep(133, L'(');
    deep += std::wstring(133, L')');
    EXPECT_EQ(MAV::rbToList(deep.c_str()), nullptr);
    std::wstring ok(132, L'(');
    ok += std::wstring(132, L')');
    MAV::CSmartResbuf l(MAV::rbToList(ok.c_str()));
    EXPECT_EQ(l.len(), 264);
}

TEST(Resbuf, DataItemsBecomeLispLists)
{
    CMavDataDir text;
    text.setAt(L"TXT", L"T\u00fcr \"A\"");
    text.setAt(L"H", 2.0);
    text.setAt(CMavDataKey(7), 3);
    text.setAt(L"POS\\PT", CMavPoint3d(1, 2, 0));
    EXPECT_EQ(text.mkLisp(), L"((\"TXT\" . \"T\u00fcr \\\"A\\\"\") (\"H\" . 2.0) (7 . 3) (\"POS\" (\"PT\" . (1.0 2.0 0.0))))");
    MAV::CSmartResbuf l(MAV::rbToList(text.mkLisp()));
    EXPECT_EQ(types(l), (std::vector<short>{RTLB, RTLB, RTSTR, RTSTR, RTDOTE, RTLB, RTSTR, RTREAL, RTDOTE, RTLB,
                                            RTSHORT, RTSHORT, RTDOTE, RTLB, RTSTR, RTLB, RTSTR, RTREAL, RTREAL,
                                            RTREAL, RTLE, RTLE, RTLE}));
    EXPECT_STREQ(l.at(3)->resval.rstring, L"T\u00fcr \"A\"");
    EXPECT_EQ(CMavDataItem().mkLisp(), L"nil");
}

TEST(Resbuf, RegionsFromLists)
{
    // Two regions: a square with a square hole (open outlines, closed by the reader) and a half disc whose
    // second vertex carries bulge 1.
    MAV::CSmartResbuf l(MAV::rbToList(L"(((( 0 0) (10 0) (10 10) (0 10)) ((2 2) (4 2) (4 4)))"
                                      L" (((0 0 0 0) (2 0 0 1))) nil)"));
    CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> regions;
    ASSERT_TRUE(MAV::fromRb(regions, l, 0));
    ASSERT_TRUE(regions.len() == 2 && regions[0].len() == 2 && regions[1][0].len() == 2);
    EXPECT_TRUE(regions[0][0].len() == 4 && regions[0][0].isClosed() && regions[0][1].len() == 3);
    EXPECT_TRUE(regions[1][0][0].bulge == 0.0 && regions[1][0][1].bulge == 1.0);
    EXPECT_EQ(regions[1][0][1].end, CMavPoint3d(0, 0, 0));

    // Flag 1 keeps outlines open; nil is no regions; other forms are refused and leave nothing.
    ASSERT_TRUE(MAV::fromRb(regions, l, 1));
    EXPECT_EQ(regions[0][0].len(), 3);
    MAV::CSmartResbuf nil(MAV::rbToList(L"nil"));
    EXPECT_TRUE(MAV::fromRb(regions, nil, 0) && regions.isEmpty());
    for (const wchar_t* bad : {L"(1 2)", L"(((1 2)))", L"((((1))))", L"((((1 2 3 4 5))))", L"\"x\"",
                               L"((((1 \"a\")))"}) {
        MAV::CSmartResbuf b(MAV::rbToList(bad));
        regions.setLogicalLength(3);
        EXPECT_FALSE(MAV::fromRb(regions, b, 0)) << CMavString(bad).utf8();
        EXPECT_EQ(regions.len(), 0);
    }
    EXPECT_FALSE(MAV::fromRb(regions, nullptr, 0));

    // A single outline with point buffers.
    MAV::CSmartResbuf pts;
    pts.appendListBegin().appendPoint(CMavPoint3d(0, 0, 1)).appendPoint(CMavPoint3d(3, 0, 1)).appendListEnd();
    CMavVertexArray pl;
    ASSERT_TRUE(MAV::fromRb(pl, pts, 0));
    EXPECT_TRUE(pl.len() == 2 && pl[0].start.z == 1.0);
}

// A data tree nested as deep as it may be gives a LISP text of twice that many lists; the reader took only 64
// and answered nothing for such a tree (found by fuzzing the text form).
TEST(Resbuf, TheDeepestDataTreeReadsBackAsLisp)
{
    const std::string path = std::string(MAV_TEST_DATA_DIR) + "/findings/datatext_deep_tree_lisp_unreadable.dat";
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CMavDataItem fuzzed;
    EXPECT_FALSE(MAV::dataFromText(fuzzed, bytes.data(), bytes.size())); // too deep: what was read so far stays
    CMavDataItem deepest;
    CMavDataKey key;
    for (int i = 0; i < CMavDataItem::kMaxDepth; ++i)
        key.appendText(L"D");
    ASSERT_NE(deepest.makeItem(key), nullptr);
    deepest.makeItem(key)->set(7);
    for (const CMavDataItem* tree : {&fuzzed, &deepest}) {
        const CMavString lisp = tree->mkLisp();
        MAV::CSmartResbuf list(MAV::rbToList(lisp.c_str()));
        EXPECT_NE(list.head(), nullptr) << lisp.left(80).c_str();
    }
}
