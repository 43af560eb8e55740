// Automation objects by ProgID through the real COM runtime, and program start, with a test-only class
// registered in the classes root and removed afterwards.
#include "base/win/automation.h"

#include <gtest/gtest.h>

#include <cwchar>

#include <objbase.h>
#include <oleauto.h>

namespace {

// {6D1B5E2A-3C4F-4E51-9A7B-0C2D3E4F5A61}
const CLSID kTestClsid = {0x6d1b5e2a, 0x3c4f, 0x4e51, {0x9a, 0x7b, 0x0c, 0x2d, 0x3e, 0x4f, 0x5a, 0x61}};
const wchar_t* const kTestGuid = L"{6D1B5E2A-3C4F-4E51-9A7B-0C2D3E4F5A61}";
const wchar_t* const kRunningProgID = L"MavTest.H1Running";

// A minimal automation object with one property, "Answer", that returns 42.
class AnswerObject : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        *out = riid == IID_IUnknown || riid == IID_IDispatch ? static_cast<IDispatch*>(this) : nullptr;
        if (*out)
            AddRef();
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs)); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(InterlockedDecrement(&refs)); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (count != 1 || lstrcmpiW(names[0], L"Answer") != 0) {
            ids[0] = DISPID_UNKNOWN;
            return DISP_E_UNKNOWNNAME;
        }
        ids[0] = 7;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override
    {
        if (id != 7)
            return DISP_E_MEMBERNOTFOUND;
        if (result) {
            VariantInit(result);
            result->vt = VT_I4;
            result->lVal = 42;
        }
        return S_OK;
    }
    LONG refs = 1;
};

long answerOf(IDispatch* d)
{
    OLECHAR name[] = L"Answer";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    if (FAILED(d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)))
        return -1;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    VARIANT r;
    VariantInit(&r);
    if (FAILED(d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &r, nullptr, nullptr)))
        return -1;
    VariantChangeType(&r, &r, 0, VT_I4);
    return r.lVal;
}

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

TEST_F(Automation, FindsTheRunningObjectOfAProgID)
{
    EXPECT_EQ(MAV::dispatchFromProgID(kRunningProgID), nullptr); // registered but not running
    EXPECT_EQ(MAV::dispatchFromProgID(L"MavTest.NotRegistered"), nullptr);
    EXPECT_EQ(MAV::dispatchFromProgID(nullptr), nullptr);
    EXPECT_EQ(MAV::dispatchFromProgID(L""), nullptr);

    AnswerObject object;
    DWORD cookie = 0;
    ASSERT_EQ(RegisterActiveObject(&object, kTestClsid, ACTIVEOBJECT_STRONG, &cookie), S_OK);
    IDispatch* d = MAV::dispatchFromProgID(kRunningProgID);
    const long answer = d ? answerOf(d) : -2;
    if (d)
        d->Release();
    RevokeActiveObject(cookie, nullptr); // before any assertion: the table must not outlive the object
    EXPECT_EQ(answer, 42);
    EXPECT_EQ(MAV::dispatchFromProgID(kRunningProgID), nullptr);
}

TEST_F(Automation, CreatesAnObjectOnlyWhenAsked)
{
    // The scripting dictionary is a registered in-process automation class of the system.
    EXPECT_EQ(MAV::dispatchFromProgID(L"Scripting.Dictionary"), nullptr);
    IDispatch* d = MAV::dispatchFromProgID(L"Scripting.Dictionary", true);
    ASSERT_NE(d, nullptr);
    OLECHAR name[] = L"Count";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    EXPECT_EQ(d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    d->Release();
    EXPECT_EQ(MAV::dispatchFromProgID(kRunningProgID, true), nullptr); // no server to create it
}

TEST_F(Automation, GivesTheRegisteredServerProgram)
{
    const CMavString server = CMavString(L"CLSID\\") + kTestGuid + L"\\LocalServer32";
    CMavString path(L"unchanged");
    EXPECT_FALSE(MAV::serverFromProgID(kRunningProgID, path)); // class without a local server
    EXPECT_FALSE(MAV::serverFromProgID(L"MavTest.NotRegistered", path));
    EXPECT_EQ(path, L"unchanged");

    // The program of the registered command line, quoted or not, without its arguments; a blank one is none.
    const wchar_t* rows[][2] = {
        {L"\"C:\\Program Files\\Mav\\mavmsg.exe\" /automation", L"C:\\Program Files\\Mav\\mavmsg.exe"},
        {L"C:\\mav\\MAVMSG.EXE -Embedding", L"C:\\mav\\MAVMSG.EXE"},
        {L"  C:\\mav\\server  ", L"C:\\mav\\server"},
        {L"   ", L"unchanged"}};
    for (const auto& r : rows) {
        setDefault(server, r[0]);
        path = L"unchanged";
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
    EXPECT_FALSE(MAV::execute(L"C:\\does\\not\\exist.exe", nullptr, true));
    EXPECT_FALSE(MAV::execute(L"", nullptr, true));
    EXPECT_FALSE(MAV::execute(nullptr, nullptr, true));
}
