// The automation object: names to dispatch ids, and each member's arguments checked and converted.
#include "MsgServer.h"

#include <oleauto.h>

#include <string>

namespace mavmsg {

const CLSID kClsidMsgApp = {0x3f6a2c1e, 0x8b47, 0x4d2a, {0x9c, 0x5e, 0x7a, 0x1b, 0x0d, 0x4e, 0x6f, 0x21}};
const wchar_t* const kProgID = L"Mav_Msg.App";

namespace {

enum : DISPID {
    kGetSelectedKey = 1,
    kOpenFile = 2,
    kSearchKey = 3,
    kGetMsg = 4,
    kWGetMsg = 5,
    kClose = 6,
    kVisible = 7,
    kCountry = 8,
};

struct Member {
    const wchar_t* name;
    DISPID id;
    int arguments;   // of the method or the property put
    bool property;
};

const Member kMembers[] = {
    {L"GetSelectedKey", kGetSelectedKey, 0, false}, {L"OpenFile", kOpenFile, 1, false},
    {L"SearchKey", kSearchKey, 1, false},           {L"GetMsg", kGetMsg, 2, false},
    {L"wGetMsg", kWGetMsg, 2, false},               {L"Close", kClose, 0, false},
    {L"Visible", kVisible, 1, true},                {L"Country", kCountry, 1, true},
};

const Member* memberOf(DISPID id)
{
    for (const Member& m : kMembers)
        if (m.id == id)
            return &m;
    return nullptr;
}

// Argument i (0 = first) as text. Positional arguments come last first; a property put has its value as the one
// named argument.
HRESULT stringArgument(const DISPPARAMS* params, UINT i, std::wstring& out, UINT* argError)
{
    VARIANT v;
    VariantInit(&v);
    const UINT at = params->cArgs - 1 - i;
    HRESULT hr = VariantChangeType(&v, &params->rgvarg[at], 0, VT_BSTR);
    if (FAILED(hr)) {
        if (argError)
            *argError = at;
        return DISP_E_TYPEMISMATCH;
    }
    out.assign(v.bstrVal ? v.bstrVal : L"", v.bstrVal ? SysStringLen(v.bstrVal) : 0);
    VariantClear(&v);
    return S_OK;
}

HRESULT boolArgument(const DISPPARAMS* params, UINT i, bool& out, UINT* argError)
{
    VARIANT v;
    VariantInit(&v);
    const UINT at = params->cArgs - 1 - i;
    if (FAILED(VariantChangeType(&v, &params->rgvarg[at], 0, VT_BOOL))) {
        if (argError)
            *argError = at;
        return DISP_E_TYPEMISMATCH;
    }
    out = v.boolVal != VARIANT_FALSE;
    return S_OK;
}

void setString(VARIANT* result, const std::wstring& s)
{
    if (!result)
        return;
    VariantInit(result);
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
}

void setBool(VARIANT* result, bool b)
{
    if (!result)
        return;
    VariantInit(result);
    result->vt = VT_BOOL;
    result->boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
}

} // namespace

HRESULT MsgApp::QueryInterface(REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG MsgApp::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

ULONG MsgApp::Release()
{
    return static_cast<ULONG>(InterlockedDecrement(&m_refs));
}

HRESULT MsgApp::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT MsgApp::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT MsgApp::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!names || !ids)
        return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        // Only the member's own name is known; parameter names are not.
        if (i == 0 && names[i]) {
            for (const Member& m : kMembers)
                if (lstrcmpiW(names[i], m.name) == 0)
                    ids[i] = m.id;
        }
        if (ids[i] == DISPID_UNKNOWN)
            hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT MsgApp::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                       UINT* argError)
{
    const Member* m = memberOf(id);
    if (!m)
        return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    if (!params)
        params = &none;
    if (m->property) {
        if (flags & DISPATCH_PROPERTYPUT) {
            if (params->cArgs != 1 || params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
                return DISP_E_BADPARAMCOUNT;
            if (id == kVisible) {
                bool show = false;
                const HRESULT hr = boolArgument(params, 0, show, argError);
                if (SUCCEEDED(hr))
                    m_window.setVisible(show);
                return hr;
            }
            std::wstring code;
            const HRESULT hr = stringArgument(params, 0, code, argError);
            if (FAILED(hr))
                return hr;
            // An unknown language leaves the server's language as it is; GetCountry tells which one holds.
            m_window.setCountry(code.c_str());
            return S_OK;
        }
        if (!(flags & DISPATCH_PROPERTYGET))
            return DISP_E_MEMBERNOTFOUND;
        if (params->cArgs != 0)
            return DISP_E_BADPARAMCOUNT;
        if (id == kVisible)
            setBool(result, m_window.visible());
        else
            setString(result, m_window.country());
        return S_OK;
    }

    if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
        return DISP_E_MEMBERNOTFOUND;
    if (params->cNamedArgs != 0)
        return DISP_E_NONAMEDARGS;
    if (params->cArgs != static_cast<UINT>(m->arguments))
        return DISP_E_BADPARAMCOUNT;
    std::wstring a, b;
    HRESULT hr = S_OK;
    if (m->arguments >= 1)
        hr = stringArgument(params, 0, a, argError);
    if (SUCCEEDED(hr) && m->arguments >= 2)
        hr = stringArgument(params, 1, b, argError);
    if (FAILED(hr))
        return hr;

    const MsgCatalogue& cat = m_window.catalogue();
    switch (id) {
    case kGetSelectedKey:
        setString(result, m_window.selectedKey());
        break;
    case kOpenFile:
        setBool(result, m_window.openFile(a.c_str()));
        break;
    case kSearchKey:
        setBool(result, m_window.searchKey(a.c_str()));
        break;
    case kGetMsg:
        // The text in the server's language, the second argument when the key has none there.
        setString(result, cat.hasText(a.c_str(), m_window.country().c_str())
                              ? cat.text(a.c_str(), m_window.country().c_str())
                              : b);
        break;
    case kWGetMsg:
        // The text in the language named by the second argument ("" or "-1": the server's language); "0" asks
        // for the key's attributes instead.
        if (b == L"0")
            setString(result, cat.attributes(a.c_str()));
        else
            setString(result, cat.text(a.c_str(), b.empty() || b == L"-1" ? m_window.country().c_str() : b.c_str()));
        break;
    case kClose:
        m_window.close();
        if (result)
            VariantInit(result);
        break;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
    return S_OK;
}

HRESULT MsgAppFactory::QueryInterface(REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG MsgAppFactory::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

ULONG MsgAppFactory::Release()
{
    return static_cast<ULONG>(InterlockedDecrement(&m_refs));
}

HRESULT MsgAppFactory::CreateInstance(IUnknown* outer, REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    return m_app.QueryInterface(riid, out);
}

HRESULT MsgAppFactory::LockServer(BOOL)
{
    // The program runs until Close or until its window is closed, whatever clients lock.
    return S_OK;
}

} // namespace mavmsg
