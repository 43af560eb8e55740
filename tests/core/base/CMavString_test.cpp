// Wide string value: UTF-8 conversion on either wchar_t width, search and edit operations, case, formatting.
#include "base/CMavString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ios>
#include <vector>

TEST(CMavString, Utf8RoundTripOnEitherWideCharWidth)
{
    // "Größe € 😀": two-byte umlauts, a three-byte euro sign and a four-byte emoji outside the 16-bit plane.
    const char* text = "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80";
    CMavString s(text);
    EXPECT_EQ(s.utf8(), std::string(text));
    EXPECT_EQ(s[2], static_cast<wchar_t>(0xF6));
    EXPECT_EQ(s[6], static_cast<wchar_t>(0x20AC));
    if (sizeof(wchar_t) == 2) {
        ASSERT_EQ(s.len(), 10);
        EXPECT_EQ(MAV::wcharValue(s[8]), 0xD83Dul);
        EXPECT_EQ(MAV::wcharValue(s[9]), 0xDE00ul);
    } else {
        ASSERT_EQ(s.len(), 9);
        EXPECT_EQ(MAV::wcharValue(s[8]), 0x1F600ul);
    }
    // {bytes in, UTF-8 out}: a lone continuation byte, a truncated sequence, an overlong form, an encoded
    // surrogate; the first code point of every length and the last one (F4 8F BF BF) come back unchanged; F5
    // never starts a sequence.
    const char* const broken[][2] = {
        {"\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80", "\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80"},
        {"a\x80" "b\xE2\x82" "c\xC0\xAF" "d\xED\xA0\x80" "e",
         "a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "c\xEF\xBF\xBD\xEF\xBF\xBD" "d\xEF\xBF\xBD" "e"},
        {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
        {"\xF5\x80", "\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const auto& b : broken)
        EXPECT_EQ(CMavString(b[0]).utf8(), b[1]);
    // Lone surrogate units in wide text are written as U+FFFD rather than as invalid UTF-8.
    const wchar_t lone[] = {L'x', static_cast<wchar_t>(0xD800), L'y', static_cast<wchar_t>(0xDC00), 0};
    EXPECT_EQ(CMavString(lone).utf8(), "x\xEF\xBF\xBDy\xEF\xBF\xBD");
    EXPECT_TRUE(CMavString(static_cast<const char*>(nullptr)).isEmpty());
}

TEST(CMavString, SearchAndSubstringsClampTheirArguments)
{
    const CMavString s(L"abcabc");
    // {start, position of "bc"}: the start is clamped to the text, and no match is -1.
    const int finds[][2] = {{0, 1}, {2, 4}, {5, -1}, {-3, 1}};
    for (const auto& f : finds)
        EXPECT_EQ(s.find(L"bc", f[0]), f[1]) << f[0];
    EXPECT_EQ(s.find(L"x"), -1);
    EXPECT_EQ(s.find(L'c', 3), 5);
    EXPECT_EQ(s.find(L'c', 99), -1);
    EXPECT_EQ(s.find(L"", 6), 6);
    EXPECT_EQ(s.find(L"", 7), -1);
    EXPECT_EQ(s.reverseFind(L'a'), 3);
    EXPECT_EQ(s.findOneOf(L"xc"), 2);

    EXPECT_EQ(s.mid(2), L"cabc");
    EXPECT_EQ(s.mid(-1, 2), L"ab");
    EXPECT_EQ(s.mid(4, 100), L"bc");
    EXPECT_TRUE(s.mid(6).isEmpty());
    EXPECT_TRUE(s.left(-1).isEmpty());
    EXPECT_EQ(s.left(10), L"abcabc");
    EXPECT_EQ(s.right(2), L"bc");
    EXPECT_EQ(s.right(10), L"abcabc");
    EXPECT_EQ(s[-1], 0);
    EXPECT_EQ(s[6], 0);
}

TEST(CMavString, EditsReplaceNonOverlappingMatchesLeftToRightAndTrimWhiteSpace)
{
    CMavString s(L"aaaa");
    EXPECT_EQ(s.replace(L"aa", L"b"), 2);
    EXPECT_EQ(s, L"bb");
    CMavString t(L"x.y.z");
    EXPECT_EQ(t.replace(L".", L"::"), 2);
    EXPECT_EQ(t.replace(L"", L"q"), 0);
    EXPECT_EQ(t.replace(L"nothing", L"q"), 0);
    EXPECT_EQ(t, L"x::y::z");
    CMavString u(L"ab");
    EXPECT_EQ(u.replace(L"a", L"aa"), 1); // a replacement holding the needle must not loop
    EXPECT_EQ(u.replace(L'a', L'c'), 2);
    EXPECT_EQ(u, L"ccb");
    EXPECT_EQ(u.remove(L'c'), 2);
    u.insert(0, L"<");
    u.insert(99, L">");
    EXPECT_EQ(u, L"<b>");
    u.erase(1);
    EXPECT_EQ(u, L"<>");

    CMavString w(L" \t\r\n\v\f a b \u00A0\n");
    w.trim();
    EXPECT_EQ(w, L"a b");
    CMavString l(L"  x \x08");
    l.trimLeft();
    EXPECT_EQ(l, L"x \x08");
    l.trimRight();
    EXPECT_EQ(l, L"x \x08"); // a backspace is no white space
}

TEST(CMavString, CaseMappingCoversTheLanguagesOfTheCountryTable)
{
    // {lower, upper}: each maps to the other. The rows sit at the edges of every run of the mapping: Latin-1,
    // the even/odd pairs of Latin Extended-A and its shifted odd/even runs (l-stroke, z-acute), Greek with its
    // accented vowels, Cyrillic with its second block.
    const unsigned pairs[][2] = {{'a', 'A'},     {'z', 'Z'},     {0xE0, 0xC0},   {0xFE, 0xDE},   {0xFF, 0x178},
                                 {0x101, 0x100}, {0x12F, 0x12E}, {0x13A, 0x139}, {0x148, 0x147}, {0x14B, 0x14A},
                                 {0x17A, 0x179}, {0x17E, 0x17D}, {0x3B1, 0x391}, {0x3C9, 0x3A9}, {0x3AC, 0x386},
                                 {0x3AD, 0x388}, {0x3AF, 0x38A}, {0x3CC, 0x38C}, {0x3CD, 0x38E}, {0x3CE, 0x38F},
                                 {0x430, 0x410}, {0x44F, 0x42F}, {0x450, 0x400}, {0x45F, 0x40F}};
    for (const auto& p : pairs) {
        CMavString up(static_cast<wchar_t>(p[0])), down(static_cast<wchar_t>(p[1]));
        up.makeUpper();
        down.makeLower();
        EXPECT_EQ(static_cast<unsigned>(up[0]), p[1]) << std::hex << p[0];
        EXPECT_EQ(static_cast<unsigned>(down[0]), p[0]) << std::hex << p[1];
    }
    // One-way mappings, and letters and signs without a partner: sharp s, kra, n-apostrophe and the signs stay.
    CMavString oneWay(L"\u00B5\u0131\u017F\u03C2\u00DF\u0138\u0149\u00F7\u00D71-");
    oneWay.makeUpper();
    EXPECT_EQ(oneWay, L"\u039CIS\u03A3\u00DF\u0138\u0149\u00F7\u00D71-");
    CMavString back(L"\u0130\u0131\u0138\u0149\u017F\u00D7");
    back.makeLower();
    EXPECT_EQ(back, L"i\u0131\u0138\u0149\u017F\u00D7");
}

TEST(CMavString, ComparisonIsOrdinalOnUnsignedUnits)
{
    EXPECT_LT(CMavString(L"B").compare(L"a"), 0);
    EXPECT_GT(CMavString(L"a").compare(L"B"), 0);
    EXPECT_LT(CMavString(L"ab").compare(L"abc"), 0);
    EXPECT_GT(CMavString(L"abc").compare(L"ab"), 0);
    EXPECT_EQ(CMavString(L"").compare(nullptr), 0);
    // Units above 0x7FFF sort after ASCII on both wchar_t widths.
    EXPECT_TRUE(CMavString(L"z") < CMavString(L"\uE000"));
    EXPECT_FALSE(CMavString(L"\u00E4") < CMavString(L"z"));

    EXPECT_EQ(CMavString(L"\u00C4rger").compareNoCase(L"\u00E4RGER"), 0);
    EXPECT_LT(CMavString(L"apple").compareNoCase(L"BANANA"), 0);
    EXPECT_GT(CMavString(L"abd").compareNoCase(L"ABC"), 0);

    std::vector<CMavString> names = {L"S", L"NO", L"N", L"O", L"P", L"SW"};
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<CMavString>{L"N", L"NO", L"O", L"P", L"S", L"SW"}));
    const CMavString p(L"P");
    EXPECT_TRUE(L"P" == p && p == "P" && p != L"p");
    EXPECT_EQ(L'<' + p + L"x" + CMavString(L"y") + L'z', L"<Pxyz");
}

TEST(CMavString, FormatIsTheSameOnEveryPlatform)
{
    EXPECT_EQ(CMavString::format(L"%d|%5d|%-5d|%05d|%+d", 42, 42, 42, -42, 7), L"42|   42|42   |-0042|+7");
    EXPECT_EQ(CMavString::format(L"%u %x %X %#o", 4000000000u, 255u, 255u, 8u), L"4000000000 ff FF 010");
    EXPECT_EQ(CMavString::format(L"%ld %lld %I64d %I32d %zu", -5L, -9000000000LL, 9000000000LL, -7,
                                 static_cast<size_t>(17)),
              L"-5 -9000000000 9000000000 -7 17");
    EXPECT_EQ(CMavString::format(L"%.2f %8.3f %e %g", 3.14159, -2.5, 12500.0, 0.0001),
              L"3.14   -2.500 1.250000e+04 0.0001");
    EXPECT_EQ(CMavString::format(L"%s|%ls|%hs|%S", L"w\u00E4", L"ide", "n\xC3\xA4", "rrow"), L"w\u00E4|ide|n\u00E4|rrow");
    EXPECT_EQ(CMavString::format(L"[%6s][%-6s][%.2s]", L"ab", L"ab", L"abcdef"), L"[    ab][ab    ][ab]");
    EXPECT_EQ(CMavString::format(L"%c%c%hc", L'\u00C4', L'b', 'c'), L"\u00C4bc");
    EXPECT_EQ(CMavString::format(L"%*d|%-*d|%.*f", 4, 1, 3, 2, 1, 2.25), L"   1|2  |2.2");
    EXPECT_EQ(CMavString::format(L"100%% %s", static_cast<const wchar_t*>(nullptr)), L"100% (null)");
    // An unknown conversion is copied, a lone % at the end too; arguments are not formats.
    EXPECT_EQ(CMavString::format(L"a%qb %"), L"a%qb %");
    EXPECT_EQ(CMavString::format(L"%s %s", L"%d", L"%s"), L"%d %s");
    CMavString s(L"old");
    s.setFormat(L"DlgID = %d, KEY = '%s'", 1086, L"MAV_MFC_0008");
    EXPECT_EQ(s, L"DlgID = 1086, KEY = 'MAV_MFC_0008'");
    // A hostile width is capped rather than allocating without bound.
    EXPECT_EQ(CMavString::format(L"%999999999d", 1).len(), 4096);
}
