// The automation client against an object that records what it was called with: argument order and types,
// property puts, result conversion, reference counting, and every failure raised as COleDispatchException*.
#include <gtest/gtest.h>

#include <objbase.h>
#include <oleauto.h>

#include <functional>
#include <string>
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
        if (*out)
            AddRef();
        return *out ? S_OK : E_NOINTERFACE;
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
            excep->wCode = 0;
            excep->scode = E_ACCESSDENIED;
            excep->bstrSource = SysAllocString(L"Recorder");
            excep->bstrDescription = deferred ? nullptr : SysAllocString(L"Schl\u00FCssel fehlt");
            excep->dwHelpContext = 77;
            excep->pfnDeferredFillIn = deferred ? &fillIn : nullptr;
        }
        if (failWith != S_OK)
            return failWith;
        if (result)
            VariantCopy(result, &answer);
        return S_OK;
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

// The error code of the COleDispatchException* the call raises, or S_OK when it raises none.
SCODE raised(const std::function<void()>& call)
{
    try {
        call();
    } catch (COleDispatchException* e) {
        const SCODE sc = e->m_scError;
        e->Delete();
        return sc;
    }
    return S_OK;
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
    EXPECT_EQ(r, 5);
    EXPECT_EQ(o.lastId, 12);
    EXPECT_EQ(o.lastFlags, DISPATCH_METHOD);
    EXPECT_TRUE(o.named.empty());
    EXPECT_EQ(o.args, (std::vector<std::wstring>{tv(VT_BSTR, L"T\u00FCr"), tv(VT_I4, L"70000"), tv(VT_BOOL, L"-1"),
                                                 tv(VT_R8, L"2.5"), tv(VT_I2, L"-3"), tv(VT_R4, L"1.25"),
                                                 tv(VT_UI1, L"255"), tv(VT_DISPATCH)}));
    EXPECT_EQ(o.firstObject, static_cast<IDispatch*>(&o));

    // By reference: the object sees the caller's variables. Null strings travel as empty ones; no parameters at
    // all is an empty list.
    static const BYTE byRef[] = VTS_PI4 VTS_PBSTR;
    long counter = 9;
    BSTR text = SysAllocString(L"x");
    d.InvokeHelper(13, DISPATCH_METHOD, VT_EMPTY, nullptr, byRef, &counter, &text);
    EXPECT_FALSE(o.hadResult);
    EXPECT_EQ(o.args, (std::vector<std::wstring>{tv(VT_I4 | VT_BYREF), tv(VT_BSTR | VT_BYREF)}));
    SysFreeString(text);
    static const BYTE oneString[] = VTS_BSTR;
    d.InvokeHelper(14, DISPATCH_METHOD, VT_EMPTY, nullptr, oneString, static_cast<const wchar_t*>(nullptr));
    EXPECT_EQ(o.args, std::vector<std::wstring>{tv(VT_BSTR)});
    d.InvokeHelper(15, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr);
    EXPECT_TRUE(o.args.empty());
}

TEST(AfxDispatchDriver, PropertiesAndResultConversion)
{
    RecordingObject o;
    COleDispatchDriver d(&o, FALSE);
    d.SetProperty(7, VT_BOOL, FALSE);
    EXPECT_EQ(o.lastFlags, DISPATCH_PROPERTYPUT);
    EXPECT_EQ(o.named, std::vector<DISPID>{DISPID_PROPERTYPUT});
    EXPECT_EQ(o.args, std::vector<std::wstring>{tv(VT_BOOL, L"0")});
    d.SetProperty(8, VT_BSTR, L"fr");
    EXPECT_EQ(o.args, std::vector<std::wstring>{tv(VT_BSTR, L"fr")});
    d.SetProperty(9, VT_DISPATCH, static_cast<IDispatch*>(&o));
    EXPECT_EQ(o.lastFlags, DISPATCH_PROPERTYPUTREF);

    // Results are converted to the type asked for.
    o.answer.vt = VT_I4;
    o.answer.lVal = 42;
    CString s;
    d.GetProperty(8, VT_BSTR, &s);
    EXPECT_EQ(o.lastFlags, DISPATCH_PROPERTYGET);
    EXPECT_TRUE(o.hadResult);
    EXPECT_EQ(s, L"42");
    BOOL b = FALSE;
    d.GetProperty(7, VT_BOOL, &b);
    EXPECT_EQ(b, TRUE);
    o.answerWith(L"-17");
    long l = 0;
    double r8 = 0;
    VARIANT v;
    d.GetProperty(8, VT_I4, &l);
    d.GetProperty(8, VT_R8, &r8);
    d.GetProperty(8, VT_VARIANT, &v); // a variant result comes as the object gave it
    EXPECT_EQ(l, -17);
    EXPECT_EQ(r8, -17.0);
    EXPECT_EQ(show(v), tv(VT_BSTR, L"-17"));
    VariantClear(&v);
    o.answerWith(L"");
    s = L"stale";
    d.InvokeHelper(1, DISPATCH_METHOD, VT_BSTR, &s, nullptr);
    EXPECT_EQ(s, L"");
    // A result that cannot take the asked type is a failure of the call, with a text, and leaves the variable.
    o.answerWith(L"kein Wert");
    l = 5;
    try {
        d.GetProperty(8, VT_I4, &l);
        ADD_FAILURE() << "no exception";
    } catch (COleDispatchException* e) {
        EXPECT_EQ(e->m_scError, DISP_E_TYPEMISMATCH);
        EXPECT_FALSE(e->m_strDescription.IsEmpty());
        e->Delete();
    }
    EXPECT_EQ(l, 5);
}

TEST(AfxDispatchDriver, FailuresAreDispatchExceptionsWithTheServersReport)
{
    RecordingObject o;
    COleDispatchDriver d(&o, FALSE);
    struct Case {
        HRESULT fail;
        bool deferred;
        SCODE sc;
        const wchar_t* description; // null: any non-empty text
        const wchar_t* source;
        DWORD help;
    };
    const Case cases[] = {
        {DISP_E_EXCEPTION, false, E_ACCESSDENIED, L"Schl\u00FCssel fehlt", L"Recorder", 77},
        {DISP_E_EXCEPTION, true, E_ACCESSDENIED, L"later", L"Recorder", 77},
        {RPC_E_DISCONNECTED, false, RPC_E_DISCONNECTED, nullptr, L"", 0},
        {DISP_E_MEMBERNOTFOUND, false, DISP_E_MEMBERNOTFOUND, nullptr, L"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.fail);
        o.failWith = c.fail;
        o.deferred = c.deferred;
        CString result(L"unchanged");
        bool thrown = false;
        try {
            d.InvokeHelper(3, DISPATCH_METHOD, VT_BSTR, &result, nullptr);
        } catch (COleDispatchException* e) {
            thrown = true;
            EXPECT_EQ(e->m_scError, c.sc);
            EXPECT_EQ(e->m_strDescription, c.description ? c.description : e->m_strDescription.GetString());
            EXPECT_FALSE(e->m_strDescription.IsEmpty());
            EXPECT_EQ(e->m_strSource, c.source);
            EXPECT_EQ(e->m_dwHelpContext, c.help);
            wchar_t text[8] = {};
            UINT help = 99;
            EXPECT_TRUE(e->GetErrorMessage(text, 8, &help));
            EXPECT_EQ(std::wstring(text), std::wstring(e->m_strDescription.GetString()).substr(0, 7));
            EXPECT_EQ(help, c.help);
            EXPECT_EQ(COleException::Process(e), c.sc);
            e->Delete();
        }
        EXPECT_TRUE(thrown);
        EXPECT_EQ(result, L"unchanged");
    }
    o.failWith = S_OK;
    // A parameter type the driver cannot pass, and a driver without an object.
    static const BYTE unknownType[] = {0x24, 0};
    EXPECT_EQ(raised([&] { d.InvokeHelper(3, DISPATCH_METHOD, VT_EMPTY, nullptr, unknownType, 1); }),
              DISP_E_BADVARTYPE);
    COleDispatchDriver empty;
    EXPECT_EQ(raised([&] { empty.InvokeHelper(3, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr); }),
              CO_E_OBJNOTCONNECTED);
}

TEST(AfxDispatchDriver, OwnsItsReferenceOnlyWhenAsked)
{
    RecordingObject o;
    {
        o.AddRef(); // the driver's reference
        COleDispatchDriver a(&o);
        EXPECT_EQ(o.refs, 2);
        {
            COleDispatchDriver b(a); // a copy takes a reference of its own
            EXPECT_EQ(o.refs, 3);
            COleDispatchDriver c;
            c = b;
            c = c;
            EXPECT_EQ(o.refs, 4);
            EXPECT_EQ(c.m_bAutoRelease, TRUE);
        }
        EXPECT_EQ(o.refs, 2);
        LPDISPATCH detached = a.DetachDispatch(); // the caller now owns it
        EXPECT_EQ(detached, static_cast<IDispatch*>(&o));
        EXPECT_EQ(a.m_lpDispatch, nullptr);
        EXPECT_EQ(o.refs, 2);
        a.AttachDispatch(detached, TRUE);
        a.AttachDispatch(&o, FALSE); // lets go of the owned reference, borrows the next
        EXPECT_EQ(o.refs, 1);
        a.ReleaseDispatch();
        EXPECT_EQ(o.refs, 1);
    }
    EXPECT_EQ(o.refs, 1);
}

TEST(AfxDispatchDriver, CreatesAnObjectByProgID)
{
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        // The scripting dictionary is a registered automation class of the system: Add and Count by their ids.
        COleDispatchDriver dict;
        COleException error;
        ASSERT_TRUE(dict.CreateDispatch(L"Scripting.Dictionary", &error));
        ASSERT_NE(dict.m_lpDispatch, nullptr);
        OLECHAR addName[] = L"Add", countName[] = L"Count";
        LPOLESTR names[] = {addName, countName};
        DISPID add = 0, count = 0;
        ASSERT_EQ(dict.m_lpDispatch->GetIDsOfNames(IID_NULL, &names[0], 1, LOCALE_USER_DEFAULT, &add), S_OK);
        ASSERT_EQ(dict.m_lpDispatch->GetIDsOfNames(IID_NULL, &names[1], 1, LOCALE_USER_DEFAULT, &count), S_OK);
        VARIANT item;
        VariantInit(&item);
        item.vt = VT_I4;
        item.lVal = 1;
        static const BYTE keyAndItem[] = VTS_BSTR VTS_VARIANT;
        dict.InvokeHelper(add, DISPATCH_METHOD, VT_EMPTY, nullptr, keyAndItem, L"a", &item);
        dict.InvokeHelper(add, DISPATCH_METHOD, VT_EMPTY, nullptr, keyAndItem, L"b", &item);
        long n = 0;
        dict.GetProperty(count, VT_I4, &n);
        EXPECT_EQ(n, 2);
        // The dictionary refuses a key twice: the server's own failure comes through.
        EXPECT_TRUE(FAILED(
            raised([&] { dict.InvokeHelper(add, DISPATCH_METHOD, VT_EMPTY, nullptr, keyAndItem, L"a", &item); })));

        COleDispatchDriver none;
        COleException why;
        EXPECT_FALSE(none.CreateDispatch(L"MavTest.NoSuchClass", &why));
        EXPECT_EQ(why.m_sc, CO_E_CLASSSTRING);
        EXPECT_EQ(none.m_lpDispatch, nullptr);
    }
    CoUninitialize();
}
