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
const CLSID kTestClsid = {0x6d1b5e2a, 0x3c4f, 0x4e51, {0x9a, 0x7b, 0x0c, 0x2d, 0x3e, 0x4f, 0x5a, 0x61}};

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

TEST_F(Automation, FindsRunningObjectsCreatesOnlyWhenAskedAndGivesTheServerProgram)
{
    EXPECT_EQ(MAV::dispatchFromProgID(kRunningProgID), nullptr); // registered but not running
    // The scripting dictionary is a registered in-process automation class of the system: not running, created.
    EXPECT_EQ(MAV::dispatchFromProgID(L"Scripting.Dictionary"), nullptr);
    IDispatch* created = MAV::dispatchFromProgID(L"Scripting.Dictionary", true);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(MAV::dispatchFromProgID(kRunningProgID, true), nullptr); // no server to create it
    // Once an object of the test class runs (here the dictionary), its ProgID finds it.
    DWORD cookie = 0;
    ASSERT_EQ(RegisterActiveObject(created, kTestClsid, ACTIVEOBJECT_STRONG, &cookie), S_OK);
    IDispatch* running = MAV::dispatchFromProgID(kRunningProgID);
    RevokeActiveObject(cookie, nullptr);
    EXPECT_EQ(running, created);
    if (running)
        running->Release();
    created->Release();

    // The registered command line's program, quoted or not; none for no local server or a blank one.
    const wchar_t* rows[][2] = {
        {L"", L"unchanged"},
        {L"\"C:\\Program Files\\Mav\\mavmsg.exe\" /automation", L"C:\\Program Files\\Mav\\mavmsg.exe"},
        {L"  C:\\mav\\MAVMSG.EXE -Embedding", L"C:\\mav\\MAVMSG.EXE"},
        {L"   ", L"unchanged"}};
    for (const auto& r : rows) {
        if (*r[0])
            setDefault(CMavString(L"CLSID\\") + kTestGuid + L"\\LocalServer32", r[0]);
        CMavString path(L"unchanged");
        EXPECT_EQ(MAV::serverFromProgID(kRunningProgID, path), std::wcscmp(r[1], L"unchanged") != 0);
        EXPECT_EQ(path, r[1]);
    }
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
