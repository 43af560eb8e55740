// Typed registry values on a real, volatile test key under HKEY_CURRENT_USER, removed again after each test.
#include "base/win/registry.h"

#include <gtest/gtest.h>

#include <string>

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
    void rawSet(const wchar_t* name, DWORD type, const void* data, DWORD bytes)
    {
        ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
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

TEST(RegistryKey, ApplicationKeysLieBelowTheMakersKey)
{
    EXPECT_EQ(MAV::regAppKey(L"MAV"), L"Software\\MAVORA\\MAV");
    EXPECT_EQ(MAV::regAppKey(L"MAV") + L"\\Dialogs\\" + L"Units", L"Software\\MAVORA\\MAV\\Dialogs\\Units");
    EXPECT_EQ(MAV::regAppKey(L"MAV_MSG") + L"\\DATA", L"Software\\MAVORA\\MAV_MSG\\DATA");
    EXPECT_EQ(MAV::regAppKey(nullptr), L"Software\\MAVORA");
    EXPECT_EQ(MAV::regAppKey(L""), L"Software\\MAVORA");
}

// The key itself is volatile, the keys made above it are lasting: a lasting key can still be created beside it.
TEST_F(Registry, VolatileKeysLeaveTheKeysAboveThemLasting)
{
    HKEY child = nullptr;
    EXPECT_EQ(RegCreateKeyExW(key, L"x", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ, nullptr, &child, nullptr),
              ERROR_CHILD_MUST_BE_VOLATILE);
    const CMavString beside = MAV::regAppKey(L"MAV_TEST") + L"\\lasting";
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, beside, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ, nullptr,
                              &child, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(child);
    RegDeleteKeyW(HKEY_CURRENT_USER, beside);
    EXPECT_EQ(MAV::regCreateVolatile(HKEY_CURRENT_USER, nullptr, KEY_READ), nullptr);
}

TEST_F(Registry, NumbersRoundTripAllThirtyTwoBits)
{
    // A dialog position: left 16 in the low half, top 0xFFF0 in the high half.
    ASSERT_TRUE(MAV::regWrite(key, L"Pos", static_cast<DWORD>(0xFFF00010u)));
    EXPECT_EQ(rawType(L"Pos"), static_cast<DWORD>(REG_DWORD));
    DWORD v = 1;
    ASSERT_TRUE(MAV::regRead(key, L"Pos", v));
    EXPECT_EQ(v, 0xFFF00010u);
    ASSERT_TRUE(MAV::regWrite(key, L"Pos", static_cast<DWORD>(7)));
    ASSERT_TRUE(MAV::regRead(key, L"Pos", v));
    EXPECT_EQ(v, 7u);

    v = 99;
    EXPECT_FALSE(MAV::regRead(key, L"Size", v));
    EXPECT_EQ(v, 99u);
    // Wrong types and sizes are absent values, not garbage.
    rawSet(L"Text", REG_SZ, L"12", 6);
    EXPECT_FALSE(MAV::regRead(key, L"Text", v));
    const unsigned char two[2] = {1, 2};
    rawSet(L"Short", REG_DWORD, two, 2);
    EXPECT_FALSE(MAV::regRead(key, L"Short", v));
    const unsigned long long big = 0x100000005ull;
    rawSet(L"Quad", REG_QWORD, &big, 8);
    EXPECT_FALSE(MAV::regRead(key, L"Quad", v));
    EXPECT_EQ(v, 99u);
    EXPECT_FALSE(MAV::regRead(static_cast<HKEY>(nullptr), L"Pos", v));
    EXPECT_FALSE(MAV::regWrite(static_cast<HKEY>(nullptr), L"Pos", static_cast<DWORD>(1)));
}

TEST_F(Registry, StringsKeepTheirTextAndType)
{
    const wchar_t* text = L"Kante\\nvorne \u00E4\u20AC";
    ASSERT_TRUE(MAV::regWrite(key, L"de", text, false));
    EXPECT_EQ(rawType(L"de"), static_cast<DWORD>(REG_SZ));
    CMavString s;
    ASSERT_TRUE(MAV::regRead(key, L"de", s));
    EXPECT_EQ(s, text);
    ASSERT_TRUE(MAV::regWrite(key, L"empty", L"", false));
    s = L"x";
    ASSERT_TRUE(MAV::regRead(key, L"empty", s));
    EXPECT_TRUE(s.isEmpty());

    SetEnvironmentVariableW(L"MAV_H1_TEST_DIR", L"D:\\mav");
    ASSERT_TRUE(MAV::regWrite(key, L"path", L"%MAV_H1_TEST_DIR%\\help.chm", true));
    EXPECT_EQ(rawType(L"path"), static_cast<DWORD>(REG_EXPAND_SZ));
    ASSERT_TRUE(MAV::regRead(key, L"path", s));
    EXPECT_EQ(s, L"D:\\mav\\help.chm");

    s = L"unchanged";
    EXPECT_FALSE(MAV::regRead(key, L"missing", s));
    ASSERT_TRUE(MAV::regWrite(key, L"num", static_cast<DWORD>(5)));
    EXPECT_FALSE(MAV::regRead(key, L"num", s));
    EXPECT_EQ(s, L"unchanged");
}

TEST_F(Registry, BrokenStringValuesReadSafely)
{
    CMavString s;
    // No terminating zero, and an odd byte count with half a character at the end.
    rawSet(L"noterm", REG_SZ, L"abc", 6);
    ASSERT_TRUE(MAV::regRead(key, L"noterm", s));
    EXPECT_EQ(s, L"abc");
    rawSet(L"odd", REG_SZ, L"abc", 5);
    ASSERT_TRUE(MAV::regRead(key, L"odd", s));
    EXPECT_EQ(s, L"ab");
    // An embedded zero ends the text.
    rawSet(L"zero", REG_SZ, L"ab\0cd", 12);
    ASSERT_TRUE(MAV::regRead(key, L"zero", s));
    EXPECT_EQ(s, L"ab");
    // More than a mebibyte is refused instead of read.
    const std::wstring huge((1u << 19) + 10, L'x');
    rawSet(L"huge", REG_SZ, huge.c_str(), static_cast<DWORD>((huge.size() + 1) * sizeof(wchar_t)));
    s = L"unchanged";
    EXPECT_FALSE(MAV::regRead(key, L"huge", s));
    EXPECT_EQ(s, L"unchanged");
    const std::wstring fits(1000, L'y');
    ASSERT_TRUE(MAV::regWrite(key, L"fits", fits.c_str(), false));
    ASSERT_TRUE(MAV::regRead(key, L"fits", s));
    EXPECT_EQ(s.len(), 1000);
}
