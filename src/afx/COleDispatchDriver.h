// COleDispatchDriver: a client of an automation object through IDispatch, with MFC's names. Members are called by
// dispatch id with a parameter description of VTS_ codes; failures are raised as COleDispatchException*.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstdarg>

#include "afx/CException.h"
#include "afx/CString.h"

// Parameter descriptions: one byte per argument, concatenated, in a BYTE array as MFC's callers write them:
//   static const BYTE params[] = VTS_BSTR VTS_I4;
// The byte is the argument's
// VARTYPE; 0x40 added makes it by reference (the argument is then a pointer to the value).
// Argument types: VTS_I2, VTS_UI1, VTS_I1, VTS_UI2 and VTS_BOOL take int (BOOL); VTS_I4 long, VTS_UI4 unsigned
// long, VTS_SCODE SCODE, VTS_I8/VTS_UI8 64-bit integers, VTS_R4/VTS_R8/VTS_DATE double, VTS_BSTR const wchar_t*,
// VTS_DISPATCH IDispatch*, VTS_UNKNOWN IUnknown*, VTS_VARIANT const VARIANT*.
#define VTS_NONE ""
#define VTS_I2 "\x02"
#define VTS_I4 "\x03"
#define VTS_R4 "\x04"
#define VTS_R8 "\x05"
#define VTS_DATE "\x07"
#define VTS_BSTR "\x08"
#define VTS_WBSTR "\x08"
#define VTS_DISPATCH "\x09"
#define VTS_SCODE "\x0A"
#define VTS_BOOL "\x0B"
#define VTS_VARIANT "\x0C"
#define VTS_UNKNOWN "\x0D"
#define VTS_I1 "\x10"
#define VTS_UI1 "\x11"
#define VTS_UI2 "\x12"
#define VTS_UI4 "\x13"
#define VTS_I8 "\x14"
#define VTS_UI8 "\x15"
#define VTS_PI2 "\x42"
#define VTS_PI4 "\x43"
#define VTS_PR4 "\x44"
#define VTS_PR8 "\x45"
#define VTS_PBSTR "\x48"
#define VTS_PDISPATCH "\x49"
#define VTS_PBOOL "\x4B"
#define VTS_PVARIANT "\x4C"

class COleDispatchDriver {
public:
    COleDispatchDriver() = default;
    // Attaches lpDispatch; with autoRelease the driver releases it when it lets go of it.
    explicit COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE);
    // Shares the other driver's object with a reference of its own.
    COleDispatchDriver(const COleDispatchDriver& src);
    ~COleDispatchDriver();
    const COleDispatchDriver& operator=(const COleDispatchDriver& src);

    // Creates an object of the class and attaches it. False, and the reason in error when given, on failure;
    // the attached object is kept then.
    BOOL CreateDispatch(REFCLSID clsid, COleException* error = nullptr);
    BOOL CreateDispatch(LPCWSTR progID, COleException* error = nullptr);
    // Attaches an object, letting go of the previous one.
    void AttachDispatch(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE);
    // Gives up the object without releasing it; the caller owns the reference the driver held.
    LPDISPATCH DetachDispatch();
    // Lets go of the object, releasing it when the driver owns its reference.
    void ReleaseDispatch();

    // Calls member id with kind wFlags (DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT...). The
    // arguments follow paramInfo (null: none). The result is converted to vtRet and stored at pvRet: VT_BSTR into a
    // CString, VT_BOOL into a BOOL, VT_I2 short, VT_I4 long, VT_R4 float, VT_R8 and VT_DATE double, VT_DISPATCH
    // and VT_UNKNOWN a pointer the caller releases, VT_VARIANT a VARIANT the caller clears; VT_EMPTY: none.
    void InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo, ...);
    void InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo,
                       va_list argList);
    // A property's value, converted as InvokeHelper converts results.
    void GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const;
    // Sets a property from one argument of the type vtProp (passed as InvokeHelper's arguments are).
    void SetProperty(DISPID dwDispID, VARTYPE vtProp, ...);

    operator LPDISPATCH() { return m_lpDispatch; }

    LPDISPATCH m_lpDispatch = nullptr;
    BOOL m_bAutoRelease = TRUE;
};
