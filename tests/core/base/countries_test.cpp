// The language table: its end record, the languages a European furniture market needs, lookups by code.
#include "base/countries.h"

#include "base/CMavString.h"

#include <gtest/gtest.h>

#include <set>

TEST(CountryTable, EndsWithANullCodeAndHoldsUniqueLowerCaseCodes)
{
    const MavDlCountry_st* t = mavDlCountrys();
    int n = 0;
    std::set<CMavString> codes;
    while (t[n].code) {
        const CMavString code(t[n].code);
        EXPECT_EQ(code.len(), 2) << code.utf8();
        CMavString lower(code);
        lower.makeLower();
        EXPECT_EQ(code, lower);
        EXPECT_TRUE(codes.insert(code).second) << "duplicate " << code.utf8();
        ASSERT_NE(t[n].name, nullptr);
        ASSERT_NE(t[n].nativeName, nullptr);
        EXPECT_FALSE(CMavString(t[n].name).isEmpty());
        ++n;
        ASSERT_LT(n, 200) << "no end record";
    }
    EXPECT_EQ(n, mavDlCountryCount());
    EXPECT_EQ(t[n].name, nullptr);
    for (const wchar_t* needed : {L"de", L"en", L"fr", L"it", L"es", L"nl", L"cs", L"pl", L"pt", L"da", L"sv", L"hu",
                                  L"sk", L"sl", L"ro", L"ru"})
        EXPECT_EQ(codes.count(needed), 1u) << CMavString(needed).utf8();
    // German first: the library's default texts are German.
    EXPECT_EQ(CMavString(t[0].code), L"de");
    EXPECT_EQ(CMavString(t[0].name), L"Deutsch");
}

TEST(CountryTable, FindsCodesWithoutRegardToCase)
{
    const MavDlCountry_st* t = mavDlCountrys();
    const int fr = mavDlCountryFind(L"FR");
    ASSERT_GE(fr, 0);
    EXPECT_EQ(CMavString(t[fr].code), L"fr");
    EXPECT_EQ(CMavString(t[fr].name), L"Franz\u00F6sisch");
    EXPECT_EQ(CMavString(t[fr].nativeName), L"Fran\u00E7ais");
    EXPECT_EQ(CMavString(t[mavDlCountryFind(L"Cs")].nativeName), L"\u010Ce\u0161tina");
    EXPECT_EQ(mavDlCountryFind(L"xx"), -1);
    EXPECT_EQ(mavDlCountryFind(L""), -1);
    EXPECT_EQ(mavDlCountryFind(nullptr), -1);
    EXPECT_EQ(mavDlCountryFind(L"d"), -1);
}
