// The exceptions of the MFC substitute's automation layer: CException, COleException and COleDispatchException.
// As in MFC they are thrown as heap pointers and the catcher calls Delete():
//   try { driver.InvokeHelper(...); } catch (COleDispatchException* e) { ...; e->Delete(); }
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oaidl.h>

#include "afx/CObject.h"
#include "afx/CString.h"

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    // Frees the exception (the catcher's duty for thrown exceptions).
    void Delete() { delete this; }
    // Copies a readable text of the failure into error (cut to maxError characters with the terminating zero);
    // false when there is none. helpContext, when not null, receives the help context id (0 for none).
    virtual BOOL GetErrorMessage(LPWSTR error, UINT maxError, PUINT helpContext = nullptr) const;

protected:
    CException() = default;
};

// A failed COM call: the HRESULT it answered.
class COleException : public CException {
    DECLARE_DYNAMIC(COleException)
public:
    explicit COleException(SCODE sc = S_OK) : m_sc(sc) {}
    BOOL GetErrorMessage(LPWSTR error, UINT maxError, PUINT helpContext = nullptr) const override;
    // The status code an exception stands for: m_sc of a COleException, m_scError of a COleDispatchException,
    // E_UNEXPECTED for any other.
    static SCODE Process(const CException* e);

    SCODE m_sc;
};

// A failed call of an automation member: the server's own report (EXCEPINFO) or, when it gave none, the
// HRESULT of the call with the system's text for it.
class COleDispatchException : public CException {
    DECLARE_DYNAMIC(COleDispatchException)
public:
    COleDispatchException(const wchar_t* description, UINT helpId, WORD wCode);
    BOOL GetErrorMessage(LPWSTR error, UINT maxError, PUINT helpContext = nullptr) const override;

    WORD m_wCode = 0;                // the server's error code, 0 when it gave an SCODE
    SCODE m_scError = S_OK;          // the status of the call
    CString m_strSource;             // the server's name for itself
    CString m_strDescription;        // what went wrong, in words
    CString m_strHelpFile;           // help on the failure, when the server names one
    DWORD m_dwHelpContext = 0;
};

// The system's text for a status code, without a trailing line break; empty when it has none.
CString AfxGetScodeText(SCODE sc);

[[noreturn]] void AfxThrowOleException(SCODE sc);
// Raises a COleDispatchException with the status sc and, as description, the system's text for it (or the code
// in hexadecimal when the system has none).
[[noreturn]] void AfxThrowOleDispatchException(SCODE sc);
// Raises a COleDispatchException from an automation server's EXCEPINFO (after its deferred fill-in), freeing the
// strings it holds.
[[noreturn]] void AfxThrowOleDispatchException(EXCEPINFO& info);
