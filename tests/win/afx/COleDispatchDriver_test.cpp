// The automation client against an object that records what it was called with: argument order and types,
// property puts and result conversion, reference counting, and every failure raised as COleDispatchException*.
#include <gtest/gtest.h>

#include <objbase.h>
#include <oleauto.h>

#include <string>
#include <tuple>
#include <vector>

#include "afx/COleDispatchDriver.h"
#include "afx_test_support.h"

namespace {

// A variant as "type:text" (the text as the system converts it in US English); by reference or an object: the
// type alone.
std::wstring tv(VARTYPE vt, const wchar_t* text = L"")
{
    return std::to_wstring(vt) + L":" + text;
}
std::wstring show(const VARIANT& v)
{
    VARIANT t;
    VariantInit(&t);
    std::wstring s = tv(v.vt);
    if (!(v.vt & VT_BYREF) && v.vt != VT_DISPATCH &&
        SUCCEEDED(VariantChangeTypeEx(&t, const_cast<VARIANT*>(&v), 0x0409, 0, VT_BSTR)))
        s += t.bstrVal;
    VariantClear(&t);
    return s;
}

// Records the last call; answers with a preset result or failure.
class RecordingObject : public IDispatch {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        *out = riid == IID_IUnknown || riid == IID_IDispatch ? static_cast<IDispatch*>(this) : nullptr;
        return *out ? (AddRef(), S_OK) : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excep, UINT*) override
    {
        lastId = id;
        lastFlags = flags;
        hadResult = result != nullptr;
        args.clear();
        named.assign(params->rgdispidNamedArgs, params->rgdispidNamedArgs + params->cNamedArgs);
        for (UINT i = params->cArgs; i-- > 0;) // the object receives the arguments last first
            args.push_back(show(params->rgvarg[i]));
        firstObject = params->cArgs > 0 && params->rgvarg[0].vt == VT_DISPATCH ? params->rgvarg[0].pdispVal : nullptr;
        if (failWith == DISP_E_EXCEPTION && excep) {
            excep->scode = E_ACCESSDENIED;
            excep->bstrSource = SysAllocString(L"Recorder");
            excep->bstrDescription = deferred ? nullptr : SysAllocString(L"Schl\u00FCssel fehlt");
            excep->dwHelpContext = 77;
            excep->pfnDeferredFillIn = deferred ? &fillIn : nullptr;
        }
        if (failWith == S_OK && result)
            VariantCopy(result, &answer);
        return failWith;
    }
    static HRESULT STDMETHODCALLTYPE fillIn(EXCEPINFO* e)
    {
        return e->bstrDescription = SysAllocString(L"later"), S_OK;
    }
    ~RecordingObject() { VariantClear(&answer); }
    void answerWith(const wchar_t* text)
    {
        VariantClear(&answer);
        answer.vt = VT_BSTR;
        answer.bstrVal = SysAllocString(text);
    }

    long refs = 1;
    DISPID lastId = 0;
    WORD lastFlags = 0;
    bool hadResult = false;
    std::vector<std::wstring> args; // in call order
    std::vector<DISPID> named;
    IDispatch* firstObject = nullptr; // the last argument when it is an object
    VARIANT answer = {};
    HRESULT failWith = S_OK;
    bool deferred = false;
};

// The error code, description, source and help context of the COleDispatchException* a call raises.
std::wstring raised(COleDispatchDriver& d, VARTYPE vt = VT_EMPTY, const BYTE* params = nullptr)
{
    try {
        long result = 5;
        d.InvokeHelper(3, DISPATCH_METHOD, vt, vt == VT_EMPTY ? nullptr : &result, params, 1);
    } catch (COleDispatchException* e) {
        const std::wstring s = std::to_wstring(e->m_scError) + L" " + e->m_strDescription.GetString() + L" " +
                               e->m_strSource.GetString() + L" " + std::to_wstring(e->m_dwHelpContext);
        e->Delete();
        return s;
    }
    return L"none";
}

} // namespace

TEST(AfxDispatchDriver, PacksArgumentsInCallOrderWithTheirTypes)
{
    RecordingObject o;
    COleDispatchDriver d(&o, FALSE);
    static const BYTE params[] = VTS_BSTR VTS_I4 VTS_BOOL VTS_R8 VTS_I2 VTS_R4 VTS_UI1 VTS_DISPATCH;
    o.answer.vt = VT_I4;
    o.answer.lVal = 5;
    long r = 0;
    d.InvokeHelper(12, DISPATCH_METHOD, VT_I4, &r, params, L"T\u00FCr", 70000L, TRUE, 2.5, -3, 1.25, 255, &o);
    EXPECT_EQ((std::vector<long>{r, o.lastId, o.lastFlags, static_cast<long>(o.named.size())}),
              (std::vector<long>{5, 12, DISPATCH_METHOD, 0}));
    EXPECT_EQ(o.args, (std::vector<std::wstring>{tv(VT_BSTR, L"T\u00FCr"), tv(VT_I4, L"70000"), tv(VT_BOOL, L"-1"),
                                                 tv(VT_R8, L"2.5"), tv(VT_I2, L"-3"), tv(VT_R4, L"1.25"),
                                                 tv(VT_UI1, L"255"), tv(VT_DISPATCH)}));
    EXPECT_EQ(o.firstObject, static_cast<IDispatch*>(&o));
    // By reference the object sees the caller's variables; a null string travels as an empty one; no parameters
    // at all is an empty list.
    static const BYTE byRef[] = VTS_PI4 VTS_PBSTR, oneString[] = VTS_BSTR;
    long counter = 9;
    BSTR text = SysAllocString(L"x");
    d.InvokeHelper(13, DISPATCH_METHOD, VT_EMPTY, nullptr, byRef, &counter, &text);
    EXPECT_FALSE(o.hadResult);
    EXPECT_EQ(o.args, (std::vector<std::wstring>{tv(VT_I4 | VT_BYREF), tv(VT_BSTR | VT_BYREF)}));
    SysFreeString(text);
    d.InvokeHelper(14, DISPATCH_METHOD, VT_EMPTY, nullptr, oneString, static_cast<const wchar_t*>(nullptr));
    EXPECT_EQ(o.args, std::vector<std::wstring>{tv(VT_BSTR)});
    d.InvokeHelper(15, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr);
    EXPECT_TRUE(o.args.empty());
}

TEST(AfxDispatchDriver, PropertiesResultsFailuresAndReferences)
{
    RecordingObject o;
    COleDispatchDriver d(&o, FALSE), none;
    d.SetProperty(7, VT_BOOL, FALSE);
    EXPECT_EQ(std::make_tuple(o.lastFlags, o.named, o.args),
              std::make_tuple(WORD{DISPATCH_PROPERTYPUT}, std::vector<DISPID>{DISPID_PROPERTYPUT},
                              std::vector<std::wstring>{tv(VT_BOOL, L"0")}));
    // A result converted to the type asked for; failures: the server's report (at once or filled in later), a lost
    // connection, a text that is no number, a parameter type that cannot travel, no object.
    o.answerWith(L"-17");
    long l = 0;
    d.GetProperty(8, VT_I4, &l);
    EXPECT_EQ(std::make_pair(l, o.lastFlags), std::make_pair(-17L, WORD{DISPATCH_PROPERTYGET}));
    o.answerWith(L"kein Wert");
    static const BYTE unknownType[] = {0x24, 0};
    auto code = [](const std::wstring& report) { return std::stol(report.substr(0, report.find(L' '))); };
    o.failWith = DISP_E_EXCEPTION;
    std::vector<std::wstring> reports = {raised(d)};
    reports.push_back((o.deferred = true, raised(d)));
    o.failWith = RPC_E_DISCONNECTED;
    const std::vector<long> codes = {code(raised(d)), (o.failWith = S_OK, code(raised(d, VT_I4))),
                                     code(raised(d, VT_EMPTY, unknownType)), code(raised(none))};
    const std::wstring denied = std::to_wstring(E_ACCESSDENIED);
    EXPECT_EQ(reports, (std::vector<std::wstring>{denied + L" Schl\u00FCssel fehlt Recorder 77",
                                                  denied + L" later Recorder 77"}));
    EXPECT_EQ(codes,
              (std::vector<long>{RPC_E_DISCONNECTED, DISP_E_TYPEMISMATCH, DISP_E_BADVARTYPE, CO_E_OBJNOTCONNECTED}));

    // A copy takes a reference of its own; a borrowed dispatch is not released.
    {
        o.AddRef();
        COleDispatchDriver a(&o), b(a), c;
        c = b;
        c = c;
        EXPECT_EQ(o.refs, 4);
        a.AttachDispatch(&o, FALSE);
    }
    EXPECT_EQ(o.refs, 1);
}

// A registered automation class of the system made by its ProgID, driven by the ids of its members; an unknown
// ProgID fails with the system's reason and leaves no dispatch.
TEST(AfxDispatchDriver, CreatesAnObjectByProgID)
{
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        COleDispatchDriver dict;
        COleException error;
        ASSERT_TRUE(dict.CreateDispatch(L"Scripting.Dictionary", &error));
        OLECHAR addName[] = L"Add", countName[] = L"Count";
        LPOLESTR names[] = {addName, countName};
        DISPID ids[2] = {};
        for (int i = 0; i < 2; ++i)
            ASSERT_EQ(dict.m_lpDispatch->GetIDsOfNames(IID_NULL, &names[i], 1, LOCALE_USER_DEFAULT, &ids[i]), S_OK);
        VARIANT item;
        VariantInit(&item);
        item.vt = VT_I4;
        item.lVal = 1;
        static const BYTE keyAndItem[] = VTS_BSTR VTS_VARIANT;
        for (const wchar_t* key : {L"a", L"b"})
            dict.InvokeHelper(ids[0], DISPATCH_METHOD, VT_EMPTY, nullptr, keyAndItem, key, &item);
        long n = 0;
        dict.GetProperty(ids[1], VT_I4, &n);
        EXPECT_EQ(n, 2);

        COleDispatchDriver none;
        COleException why;
        EXPECT_FALSE(none.CreateDispatch(L"MavTest.NoSuchClass", &why));
        EXPECT_EQ(why.m_sc, CO_E_CLASSSTRING);
        EXPECT_EQ(none.m_lpDispatch, nullptr);
    }
    CoUninitialize();
}
