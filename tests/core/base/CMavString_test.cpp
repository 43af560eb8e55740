// Wide string value: UTF-8 conversion on either wchar_t width, search and edit operations, case, formatting.
#include "base/CMavString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ios>
#include <random>
#include <vector>

TEST(CMavString, Utf8RoundTripOnEitherWideCharWidth)
{
    // "Größe € 😀": two-byte umlauts, a three-byte euro sign and a four-byte emoji outside the 16-bit plane.
    const char* text = "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80";
    CMavString s(text);
    EXPECT_EQ(s.utf8(), std::string(text));
    EXPECT_EQ(s[6], static_cast<wchar_t>(0x20AC));
    ASSERT_EQ(s.len(), sizeof(wchar_t) == 2 ? 10 : 9);
    EXPECT_EQ(MAV::wcharValue(s[8]), sizeof(wchar_t) == 2 ? 0xD83Dul : 0x1F600ul);
    // {bytes in, UTF-8 out}: a lone continuation byte, a truncated sequence, an overlong form, an encoded
    // surrogate; the first code point of every length and the last one (F4 8F BF BF) come back unchanged; F5
    // never starts a sequence; lone surrogate units in wide text are written as U+FFFD.
    const char* const broken[][2] = {
        {"\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80", "\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80"},
        {"a\x80" "b\xE2\x82" "c\xC0\xAF" "d\xED\xA0\x80" "e",
         "a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "c\xEF\xBF\xBD\xEF\xBF\xBD" "d\xEF\xBF\xBD" "e"},
        {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"}, {"\xF5\x80", "\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const auto& b : broken)
        EXPECT_EQ(CMavString(b[0]).utf8(), b[1]);
    const wchar_t lone[] = {L'x', static_cast<wchar_t>(0xD800), L'y', static_cast<wchar_t>(0xDC00), 0};
    EXPECT_EQ(CMavString(lone).utf8(), "x\xEF\xBF\xBDy\xEF\xBF\xBD");
    EXPECT_TRUE(CMavString(static_cast<const char*>(nullptr)).isEmpty());
}

// Searches, substrings and edits agree with std::wstring on random texts over a small alphabet; arguments outside
// the text are clamped.
TEST(CMavString, SearchSubstringsAndEditsAgreeWithTheStandardString)
{
    std::mt19937 rng(5);
    const auto randomText = [&rng](int maxLen) {
        std::wstring t;
        for (int n = static_cast<int>(rng() % (maxLen + 1)); n > 0; --n)
            t += static_cast<wchar_t>(L'a' + rng() % 3);
        return t;
    };
    const auto clampPos = [](int pos, size_t len) { return static_cast<size_t>(std::min<int>(std::max(pos, 0), int(len))); };
    for (int i = 0; i < 500; ++i) {
        const std::wstring t = randomText(8), needle = randomText(2), with = randomText(3);
        const CMavString s(t.c_str());
        const int pos = static_cast<int>(rng() % 12) - 2, count = static_cast<int>(rng() % 12) - 2;
        const size_t at = pos > int(t.size()) ? std::wstring::npos : t.find(needle, clampPos(pos, t.size()));
        EXPECT_EQ(s.find(needle.c_str(), pos), at == std::wstring::npos ? -1 : int(at)) << i;
        // A negative count takes the rest.
        const size_t n = count < 0 ? std::wstring::npos : size_t(count);
        EXPECT_EQ(s.mid(pos, count), t.substr(clampPos(pos, t.size()), n).c_str()) << i;
        EXPECT_EQ(s.left(count), t.substr(0, std::max(count, 0)).c_str());
        EXPECT_EQ(s.right(count), t.substr(t.size() - std::min<size_t>(std::max(count, 0), t.size())).c_str());
        // Non-overlapping matches left to right; an empty needle replaces nothing.
        std::wstring expected = t;
        int replaced = 0;
        for (size_t k = needle.empty() ? std::wstring::npos : expected.find(needle); k != std::wstring::npos;
             k = expected.find(needle, k + with.size()), ++replaced)
            expected.replace(k, needle.size(), with);
        CMavString r = s;
        EXPECT_EQ(r.replace(needle.c_str(), with.c_str()), replaced) << i;
        EXPECT_EQ(r, expected.c_str()) << i;
    }
    const CMavString s(L"abcabc");
    EXPECT_EQ(s.find(L'c', 3) * 10 + s.find(L'c', 99), 49);
    EXPECT_EQ(s.find(L"", 6) * 10 + s.find(L"", 7), 59);
    EXPECT_EQ(s.reverseFind(L'a') * 10 + s.findOneOf(L"xc"), 32);
    EXPECT_EQ(s[-1] + s[6], 0);

    CMavString u(L"ab");
    EXPECT_EQ(u.replace(L'a', L'c') + u.remove(L'c') * 10, 11);
    u.insert(0, L"<");
    u.insert(99, L">");
    EXPECT_EQ(u, L"<b>");
    u.erase(1);
    EXPECT_EQ(u, L"<>");
    CMavString w(L" \t\r\n\v\f a b \u00A0\n"), l(L"  x \x08");
    w.trim();
    EXPECT_EQ(w, L"a b");
    l.trimLeft();
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
        EXPECT_EQ(static_cast<unsigned>(up[0]) * 0x10000 + down[0], p[1] * 0x10000 + p[0]) << std::hex << p[0];
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
    // Units above 0x7FFF sort after ASCII on both wchar_t widths; a shorter prefix sorts first.
    std::vector<CMavString> names = {L"S", L"\uE000", L"NO", L"B", L"N", L"a", L"\u00E4", L"SW"};
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<CMavString>{L"B", L"N", L"NO", L"S", L"SW", L"a", L"\u00E4", L"\uE000"}));
    EXPECT_GT(CMavString(L"abc").compare(L"ab"), 0);
    EXPECT_EQ(CMavString(L"").compare(nullptr), 0);
    EXPECT_EQ(CMavString(L"\u00C4rger").compareNoCase(L"\u00E4RGER"), 0);
    EXPECT_LT(CMavString(L"apple").compareNoCase(L"BANANA"), 0);
    EXPECT_GT(CMavString(L"abd").compareNoCase(L"ABC"), 0);
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
