// The automation client: packing VTS_-described arguments into DISPPARAMS, calling IDispatch::Invoke and
// unpacking the result, with every failure raised as COleDispatchException*.
#include "afx/COleDispatchDriver.h"

#include <objbase.h>
#include <oleauto.h>

#include <cstring>
#include <vector>

namespace {

constexpr BYTE kByRefFlag = 0x40; // in a parameter description byte: the argument is a pointer

// Owns the argument variants of one call: strings the driver allocated are freed, borrowed objects are not.
struct Arguments {
    std::vector<VARIANT> values;
    std::vector<BSTR> allocated;
    ~Arguments()
    {
        for (BSTR s : allocated)
            SysFreeString(s);
    }
};

// Reads one argument of the described type from the list into v. False for a type the driver cannot pass.
bool readArgument(BYTE code, va_list& args, VARIANT& v, std::vector<BSTR>& allocated)
{
    VariantInit(&v);
    if (code & kByRefFlag) {
        const VARTYPE vt = static_cast<VARTYPE>(code & ~kByRefFlag);
        switch (vt) {
        case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_DATE: case VT_BSTR: case VT_DISPATCH:
        case VT_ERROR: case VT_BOOL: case VT_VARIANT: case VT_UNKNOWN: case VT_I1: case VT_UI1: case VT_UI2:
        case VT_UI4: case VT_I8: case VT_UI8:
            v.vt = static_cast<VARTYPE>(vt | VT_BYREF);
            v.byref = va_arg(args, void*);
            return true;
        default:
            return false;
        }
    }
    switch (code) {
    case VT_I2: v.vt = VT_I2; v.iVal = static_cast<SHORT>(va_arg(args, int)); return true;
    case VT_I4: v.vt = VT_I4; v.lVal = va_arg(args, long); return true;
    case VT_R4: v.vt = VT_R4; v.fltVal = static_cast<float>(va_arg(args, double)); return true;
    case VT_R8: v.vt = VT_R8; v.dblVal = va_arg(args, double); return true;
    case VT_DATE: v.vt = VT_DATE; v.date = va_arg(args, double); return true;
    case VT_ERROR: v.vt = VT_ERROR; v.scode = va_arg(args, SCODE); return true;
    case VT_BOOL: v.vt = VT_BOOL; v.boolVal = va_arg(args, int) ? VARIANT_TRUE : VARIANT_FALSE; return true;
    case VT_I1: v.vt = VT_I1; v.cVal = static_cast<CHAR>(va_arg(args, int)); return true;
    case VT_UI1: v.vt = VT_UI1; v.bVal = static_cast<BYTE>(va_arg(args, int)); return true;
    case VT_UI2: v.vt = VT_UI2; v.uiVal = static_cast<USHORT>(va_arg(args, int)); return true;
    case VT_UI4: v.vt = VT_UI4; v.ulVal = va_arg(args, unsigned long); return true;
    case VT_I8: v.vt = VT_I8; v.llVal = va_arg(args, LONGLONG); return true;
    case VT_UI8: v.vt = VT_UI8; v.ullVal = va_arg(args, ULONGLONG); return true;
    case VT_BSTR: {
        const wchar_t* s = va_arg(args, const wchar_t*);
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocString(s ? s : L"");
        allocated.push_back(v.bstrVal);
        return true;
    }
    case VT_DISPATCH: v.vt = VT_DISPATCH; v.pdispVal = va_arg(args, IDispatch*); return true;
    case VT_UNKNOWN: v.vt = VT_UNKNOWN; v.punkVal = va_arg(args, IUnknown*); return true;
    case VT_VARIANT: {
        // Passed as the caller's variant itself (a shallow copy): the caller keeps owning what it holds.
        const VARIANT* p = va_arg(args, const VARIANT*);
        if (!p)
            return false;
        v = *p;
        return true;
    }
    default:
        return false;
    }
}

// Stores a result already converted to vt at out.
void storeResult(VARIANT& r, VARTYPE vt, void* out)
{
    switch (vt) {
    case VT_I2: *static_cast<short*>(out) = r.iVal; break;
    case VT_I4: *static_cast<long*>(out) = r.lVal; break;
    case VT_R4: *static_cast<float*>(out) = r.fltVal; break;
    case VT_R8: *static_cast<double*>(out) = r.dblVal; break;
    case VT_DATE: *static_cast<double*>(out) = r.date; break;
    case VT_ERROR: *static_cast<SCODE*>(out) = r.scode; break;
    case VT_BOOL: *static_cast<BOOL*>(out) = r.boolVal != VARIANT_FALSE; break;
    case VT_I1: *static_cast<char*>(out) = r.cVal; break;
    case VT_UI1: *static_cast<BYTE*>(out) = r.bVal; break;
    case VT_UI2: *static_cast<WORD*>(out) = r.uiVal; break;
    case VT_UI4: *static_cast<DWORD*>(out) = r.ulVal; break;
    case VT_I8: *static_cast<LONGLONG*>(out) = r.llVal; break;
    case VT_UI8: *static_cast<ULONGLONG*>(out) = r.ullVal; break;
    case VT_BSTR:
        *static_cast<CString*>(out) =
            r.bstrVal ? CString(r.bstrVal, static_cast<int>(SysStringLen(r.bstrVal))) : CString();
        VariantClear(&r);
        return;
    case VT_DISPATCH: *static_cast<IDispatch**>(out) = r.pdispVal; return;  // ownership passes to the caller
    case VT_UNKNOWN: *static_cast<IUnknown**>(out) = r.punkVal; return;
    case VT_VARIANT: *static_cast<VARIANT*>(out) = r; return;
    default: break;
    }
    VariantClear(&r);
}

} // namespace

COleDispatchDriver::COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease)
    : m_lpDispatch(lpDispatch), m_bAutoRelease(bAutoRelease)
{
}

COleDispatchDriver::COleDispatchDriver(const COleDispatchDriver& src) : m_lpDispatch(src.m_lpDispatch)
{
    if (m_lpDispatch)
        m_lpDispatch->AddRef();
}

COleDispatchDriver::~COleDispatchDriver()
{
    ReleaseDispatch();
}

const COleDispatchDriver& COleDispatchDriver::operator=(const COleDispatchDriver& src)
{
    if (this != &src && m_lpDispatch != src.m_lpDispatch) {
        if (src.m_lpDispatch)
            src.m_lpDispatch->AddRef();
        ReleaseDispatch();
        m_lpDispatch = src.m_lpDispatch;
        m_bAutoRelease = TRUE;
    }
    return *this;
}

BOOL COleDispatchDriver::CreateDispatch(REFCLSID clsid, COleException* error)
{
    IUnknown* unknown = nullptr;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IUnknown,
                                  reinterpret_cast<void**>(&unknown));
    IDispatch* dispatch = nullptr;
    if (SUCCEEDED(hr)) {
        // An object that has to be put into its running state (an embedding) is run before it is used.
        hr = OleRun(unknown);
        if (SUCCEEDED(hr))
            hr = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
        unknown->Release();
    }
    if (FAILED(hr) || !dispatch) {
        if (error)
            error->m_sc = FAILED(hr) ? hr : E_NOINTERFACE;
        return FALSE;
    }
    AttachDispatch(dispatch, TRUE);
    return TRUE;
}

BOOL COleDispatchDriver::CreateDispatch(LPCWSTR progID, COleException* error)
{
    CLSID clsid;
    const HRESULT hr = progID ? CLSIDFromProgID(progID, &clsid) : E_INVALIDARG;
    if (FAILED(hr)) {
        if (error)
            error->m_sc = hr;
        return FALSE;
    }
    return CreateDispatch(clsid, error);
}

void COleDispatchDriver::AttachDispatch(LPDISPATCH lpDispatch, BOOL bAutoRelease)
{
    ReleaseDispatch();
    m_lpDispatch = lpDispatch;
    m_bAutoRelease = bAutoRelease;
}

LPDISPATCH COleDispatchDriver::DetachDispatch()
{
    LPDISPATCH d = m_lpDispatch;
    m_lpDispatch = nullptr;
    return d;
}

void COleDispatchDriver::ReleaseDispatch()
{
    if (m_lpDispatch && m_bAutoRelease)
        m_lpDispatch->Release();
    m_lpDispatch = nullptr;
}

void COleDispatchDriver::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                      const BYTE* pbParamInfo, ...)
{
    va_list args;
    va_start(args, pbParamInfo);
    try {
        InvokeHelperV(dwDispID, wFlags, vtRet, pvRet, pbParamInfo, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

void COleDispatchDriver::InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                       const BYTE* pbParamInfo, va_list argList)
{
    if (!m_lpDispatch)
        AfxThrowOleDispatchException(CO_E_OBJNOTCONNECTED);

    // Invoke takes the arguments last first.
    const size_t count = pbParamInfo ? std::strlen(reinterpret_cast<const char*>(pbParamInfo)) : 0;
    Arguments arguments;
    arguments.values.resize(count);
    va_list args;
    va_copy(args, argList);
    for (size_t i = 0; i < count; ++i) {
        if (!readArgument(pbParamInfo[i], args, arguments.values[count - 1 - i], arguments.allocated)) {
            va_end(args);
            AfxThrowOleDispatchException(DISP_E_BADVARTYPE);
        }
    }
    va_end(args);

    DISPPARAMS params = {};
    params.cArgs = static_cast<UINT>(count);
    params.rgvarg = count ? arguments.values.data() : nullptr;
    DISPID named = DISPID_PROPERTYPUT;
    if (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.cNamedArgs = 1;
        params.rgdispidNamedArgs = &named;
    }

    VARIANT result;
    VariantInit(&result);
    EXCEPINFO info = {};
    UINT argError = 0;
    const HRESULT hr = m_lpDispatch->Invoke(dwDispID, IID_NULL, LOCALE_USER_DEFAULT, wFlags, &params,
                                            vtRet == VT_EMPTY ? nullptr : &result, &info, &argError);
    if (FAILED(hr)) {
        VariantClear(&result);
        if (hr == DISP_E_EXCEPTION)
            AfxThrowOleDispatchException(info);
        AfxThrowOleDispatchException(hr);
    }
    if (vtRet == VT_EMPTY)
        return;
    if (vtRet != VT_VARIANT) {
        const HRESULT converted = VariantChangeType(&result, &result, 0, vtRet);
        if (FAILED(converted)) {
            VariantClear(&result);
            AfxThrowOleDispatchException(converted);
        }
    }
    if (pvRet)
        storeResult(result, vtRet, pvRet);
    else
        VariantClear(&result);
}

void COleDispatchDriver::GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const
{
    const_cast<COleDispatchDriver*>(this)->InvokeHelper(dwDispID, DISPATCH_PROPERTYGET, vtProp, pvProp, nullptr);
}

void COleDispatchDriver::SetProperty(DISPID dwDispID, VARTYPE vtProp, ...)
{
    const BYTE paramInfo[2] = {static_cast<BYTE>(vtProp), 0};
    const WORD flags = vtProp == VT_DISPATCH ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
    va_list args;
    va_start(args, vtProp);
    try {
        InvokeHelperV(dwDispID, flags, VT_EMPTY, nullptr, paramInfo, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}
