// Automation objects by ProgID through the real COM runtime, and program start, with a test-only class
// registered in the classes root and removed afterwards.
#include "base/win/automation.h"

#include <gtest/gtest.h>

#include <cwchar>

#include <objbase.h>
#include <oleauto.h>

namespace {

const wchar_t* const kTestGuid = L"{6D1B5E2A-3C4F-4E51-9A7B-0C2D3E4F5A61}";
const wchar_t* const kRunningProgID = L"MavTest.H1Running";

void setDefault(const CMavString& sub, const wchar_t* value)
{
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, sub, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
}

class Automation : public ::testing::Test {
  protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        setDefault(CMavString(kRunningProgID) + L"\\CLSID", kTestGuid);
    }
    void TearDown() override
    {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kRunningProgID);
        RegDeleteTreeW(HKEY_CLASSES_ROOT, CMavString(L"CLSID\\") + kTestGuid);
        CoUninitialize();
    }
};

} // namespace

TEST_F(Automation, FindsNoObjectThatIsNotRunningAndCreatesOneOnlyWhenAsked)
{
    EXPECT_EQ(MAV::dispatchFromProgID(kRunningProgID), nullptr); // registered but not running
    // The scripting dictionary is a registered in-process automation class of the system: not running, created.
    EXPECT_EQ(MAV::dispatchFromProgID(L"Scripting.Dictionary"), nullptr);
    IDispatch* created = MAV::dispatchFromProgID(L"Scripting.Dictionary", true);
    ASSERT_NE(created, nullptr);
    created->Release();
    EXPECT_EQ(MAV::dispatchFromProgID(kRunningProgID, true), nullptr); // no server to create it
}

TEST(Execute, StartsProgramsAndWaitsWhenAsked)
{
    DWORD code = 0;
    ASSERT_TRUE(MAV::execute(L"cmd.exe", L"/c exit 7", false, &code));
    EXPECT_EQ(code, 7u);
    ASSERT_TRUE(MAV::execute(L"\"cmd.exe\"", L"/c exit 3", false, &code));
    EXPECT_EQ(code, 3u);
    code = 55;
    EXPECT_TRUE(MAV::execute(L"cmd.exe", L"/c exit 0", true, &code));
    EXPECT_EQ(code, 55u); // not waited for: no exit code
    EXPECT_FALSE(MAV::execute(L"C:\\does\\not\\exist.exe", nullptr, true) || MAV::execute(L"", nullptr, true) ||
                 MAV::execute(nullptr, nullptr, true));
}
