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

// The key itself is volatile, the keys made above it are lasting: a lasting key can still be created beside it.
TEST_F(Registry, VolatileKeysLieBelowTheMakersKeyAndLeaveTheKeysAboveThemLasting)
{
    EXPECT_EQ(MAV::regAppKey(L"MAV_MSG") + L"\\DATA", L"Software\\MAVORA\\MAV_MSG\\DATA");
    EXPECT_EQ(MAV::regAppKey(nullptr), L"Software\\MAVORA");
    EXPECT_EQ(MAV::regAppKey(L""), L"Software\\MAVORA");
    HKEY child = nullptr;
    EXPECT_EQ(RegCreateKeyExW(key, L"x", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ, nullptr, &child, nullptr),
              ERROR_CHILD_MUST_BE_VOLATILE);
    const CMavString beside = MAV::regAppKey(L"MAV_TEST") + L"\\lasting";
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, beside, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ, nullptr, &child,
                              nullptr),
              ERROR_SUCCESS);
    RegCloseKey(child);
    RegDeleteKeyW(HKEY_CURRENT_USER, beside);
    EXPECT_EQ(MAV::regCreateVolatile(HKEY_CURRENT_USER, nullptr, KEY_READ), nullptr);
}

TEST_F(Registry, ValuesKeepTheirTypeAndAllThirtyTwoBitsAndTheirText)
{
    // A dialog position: left 16 in the low half, top 0xFFF0 in the high half.
    DWORD v = 1;
    ASSERT_TRUE(MAV::regWrite(key, L"Pos", static_cast<DWORD>(0xFFF00010u)));
    EXPECT_EQ(rawType(L"Pos"), static_cast<DWORD>(REG_DWORD));
    ASSERT_TRUE(MAV::regRead(key, L"Pos", v));
    EXPECT_EQ(v, 0xFFF00010u);
    ASSERT_TRUE(MAV::regWrite(key, L"Pos", static_cast<DWORD>(7)));
    ASSERT_TRUE(MAV::regRead(key, L"Pos", v));
    EXPECT_EQ(v, 7u);
    EXPECT_FALSE(MAV::regRead(static_cast<HKEY>(nullptr), L"Pos", v));
    EXPECT_FALSE(MAV::regWrite(static_cast<HKEY>(nullptr), L"Pos", static_cast<DWORD>(1)));

    const wchar_t* text = L"Kante\\nvorne \u00E4\u20AC";
    CMavString s;
    ASSERT_TRUE(MAV::regWrite(key, L"de", text, false));
    EXPECT_EQ(rawType(L"de"), static_cast<DWORD>(REG_SZ));
    ASSERT_TRUE(MAV::regRead(key, L"de", s));
    EXPECT_EQ(s, text);
    ASSERT_TRUE(MAV::regWrite(key, L"empty", L"", false));
    ASSERT_TRUE(MAV::regRead(key, L"empty", s));
    EXPECT_TRUE(s.isEmpty());
    SetEnvironmentVariableW(L"MAV_H1_TEST_DIR", L"D:\\mav");
    ASSERT_TRUE(MAV::regWrite(key, L"path", L"%MAV_H1_TEST_DIR%\\help.chm", true));
    EXPECT_EQ(rawType(L"path"), static_cast<DWORD>(REG_EXPAND_SZ));
    ASSERT_TRUE(MAV::regRead(key, L"path", s));
    EXPECT_EQ(s, L"D:\\mav\\help.chm");
    const std::wstring fits(1000, L'y');
    ASSERT_TRUE(MAV::regWrite(key, L"fits", fits.c_str(), false));
    ASSERT_TRUE(MAV::regRead(key, L"fits", s));
    EXPECT_EQ(s.len(), 1000);
}

TEST_F(Registry, ValuesOfTheWrongTypeOrSizeAreAbsentAndBrokenTextsReadSafely)
{
    const unsigned char two[2] = {1, 2};
    const unsigned long long big = 0x100000005ull;
    const std::wstring huge((1u << 19) + 10, L'x'); // more than a mebibyte is refused instead of read
    const DWORD five = 5;
    struct Row {
        const wchar_t* name;
        DWORD type;
        const void* data;
        size_t bytes;
        const wchar_t* text; // as read as a string, null: absent
        bool number;         // read as a number
    } rows[] = {
        {L"Text", REG_SZ, L"12", 6, L"12", false},
        {L"Short", REG_DWORD, two, 2, nullptr, false},
        {L"Quad", REG_QWORD, &big, 8, nullptr, false},
        {L"num", REG_DWORD, &five, 4, nullptr, true},
        {L"noterm", REG_SZ, L"abc", 6, L"abc", false},  // no terminating zero
        {L"odd", REG_SZ, L"abc", 5, L"ab", false},      // half a character at the end
        {L"zero", REG_SZ, L"ab\0cd", 12, L"ab", false}, // an embedded zero ends the text
        {L"huge", REG_SZ, huge.c_str(), (huge.size() + 1) * 2, nullptr, false},
        {L"missing", REG_NONE, nullptr, 0, nullptr, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.type << " " << r.bytes);
        ASSERT_TRUE(!r.data || RegSetValueExW(key, r.name, 0, r.type, static_cast<const BYTE*>(r.data),
                                              static_cast<DWORD>(r.bytes)) == ERROR_SUCCESS);
        DWORD v = 99;
        CMavString s(L"unchanged");
        EXPECT_EQ(MAV::regRead(key, r.name, v), r.number);
        EXPECT_EQ(v, r.number ? 5u : 99u);
        EXPECT_EQ(MAV::regRead(key, r.name, s), r.text != nullptr);
        EXPECT_EQ(s, r.text ? r.text : L"unchanged");
    }
}
