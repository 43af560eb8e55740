// Typed registry values on a real, volatile test key under HKEY_CURRENT_USER, removed again after each test.
#include "base/win/registry.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

class Registry : public ::testing::Test {
  protected:
    void SetUp() override
    {
        path = MAV::regAppKey(L"MAV_TEST") + CMavString::format(L"\\h1_%lu", GetCurrentProcessId());
        key = MAV::regCreateVolatile(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS);
        ASSERT_NE(key, nullptr);
    }
    void TearDown() override
    {
        RegCloseKey(key);
        RegDeleteKeyW(HKEY_CURRENT_USER, path);
        RegDeleteKeyW(HKEY_CURRENT_USER, MAV::regAppKey(L"MAV_TEST"));
        RegDeleteKeyW(HKEY_CURRENT_USER, MAV::regAppKey(nullptr)); // only when nothing else lives there
    }
    DWORD rawType(const wchar_t* name)
    {
        DWORD type = 0;
        RegQueryValueExW(key, name, nullptr, &type, nullptr, nullptr);
        return type;
    }

    CMavString path;
    HKEY key = nullptr;
};

} // namespace

TEST_F(Registry, ValuesKeepTheirTypeAndAllThirtyTwoBitsAndTheirText)
{
    // A dialog position: left 16 in the low half, top 0xFFF0 in the high half; then overwritten.
    DWORD v = 1;
    for (DWORD pos : {0xFFF00010u, 7u}) {
        ASSERT_TRUE(MAV::regWrite(key, L"Pos", pos));
        ASSERT_TRUE(MAV::regRead(key, L"Pos", v));
        EXPECT_EQ(v, pos);
    }
    EXPECT_EQ(rawType(L"Pos"), static_cast<DWORD>(REG_DWORD));
    EXPECT_FALSE(MAV::regRead(static_cast<HKEY>(nullptr), L"Pos", v));
    EXPECT_FALSE(MAV::regWrite(static_cast<HKEY>(nullptr), L"Pos", static_cast<DWORD>(1)));
    // Texts as written, of their type; an expandable one read with its variables expanded.
    SetEnvironmentVariableW(L"MAV_H1_TEST_DIR", L"D:\\mav");
    const std::wstring fits(1000, L'y');
    const struct {
        const wchar_t *name, *text;
        bool expand;
        DWORD type;
        const wchar_t* read;
    } rows[] = {{L"de", L"Kante\\nvorne \u00E4\u20AC", false, REG_SZ, L"Kante\\nvorne \u00E4\u20AC"},
                {L"empty", L"", false, REG_SZ, L""},
                {L"path", L"%MAV_H1_TEST_DIR%\\help.chm", true, REG_EXPAND_SZ, L"D:\\mav\\help.chm"},
                {L"fits", fits.c_str(), false, REG_SZ, fits.c_str()}};
    for (const auto& r : rows) {
        CMavString s(L"unchanged");
        ASSERT_TRUE(MAV::regWrite(key, r.name, r.text, r.expand));
        EXPECT_EQ(rawType(r.name), r.type);
        ASSERT_TRUE(MAV::regRead(key, r.name, s));
        EXPECT_EQ(s, r.read);
    }
}

// A number of the wrong type or size is absent; a text reads its whole characters up to a zero; a huge one is none.
TEST_F(Registry, ValuesOfTheWrongTypeOrSizeAreAbsentAndBrokenTextsReadSafely)
{
    const unsigned long long big = 0x100000005ull;
    const std::wstring huge((1u << 19) + 10, L'x');
    const struct {
        DWORD type;
        const void* data;
        size_t bytes;
        const wchar_t* text; // as read as a string, null: absent
    } rows[] = {{REG_DWORD, L"\x0102", 2, nullptr},

                {REG_DWORD, &big, 4, nullptr} /* a number */,
                {REG_SZ, L"abc", 6, L"abc"},
                {REG_SZ, L"abc", 5, L"ab"},
                {REG_SZ, L"ab\0cd", 12, L"ab"},
                {REG_SZ, huge.c_str(), (huge.size() + 1) * 2, nullptr}};
    for (const auto& r : rows) {
        RegSetValueExW(key, L"v", 0, r.type, static_cast<const BYTE*>(r.data), static_cast<DWORD>(r.bytes));
        DWORD v = 99;
        CMavString s(L"unchanged");
        const bool number = MAV::regRead(key, L"v", v), text = MAV::regRead(key, L"v", s);
        EXPECT_EQ(std::make_tuple(number, v, text, s),
                  std::make_tuple(r.bytes == 4, r.bytes == 4 ? 5ul : 99ul, r.text != nullptr,
                                  CMavString(r.text ? r.text : L"unchanged")))
            << r.type << " " << r.bytes;
    }
}
