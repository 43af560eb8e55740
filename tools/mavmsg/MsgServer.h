// The message server's automation object "Mav_Msg.App" and its class factory.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "MsgWindow.h"

namespace mavmsg {

// {3F6A2C1E-8B47-4D2A-9C5E-7A1B0D4E6F21}: the class of "Mav_Msg.App".
extern const CLSID kClsidMsgApp;
extern const wchar_t* const kProgID;

// The one object of the process. Its members, by dispatch id:
//   1 GetSelectedKey() -> BSTR         5 wGetMsg(key, lang) -> BSTR
//   2 OpenFile(path) -> BOOL           6 Close()
//   3 SearchKey(key) -> BOOL           7 Visible  (property, BOOL)
//   4 GetMsg(key, default) -> BSTR     8 Country  (property, BSTR)
// The object lives as long as the program; references only count.
class MsgApp : public IDispatch {
public:
    explicit MsgApp(MsgWindow& window) : m_window(window) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excep, UINT* argError) override;

private:
    MsgWindow& m_window;
    LONG m_refs = 1;
};

// Hands out the process's one MsgApp.
class MsgAppFactory : public IClassFactory {
public:
    explicit MsgAppFactory(MsgApp& app) : m_app(app) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    MsgApp& m_app;
    LONG m_refs = 1;
};

} // namespace mavmsg
