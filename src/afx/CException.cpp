// The automation exceptions: texts for status codes, and raising them as MFC does, by heap pointer.
#include "afx/CException.h"

#include <oleauto.h>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(COleException, CException)
IMPLEMENT_DYNAMIC(COleDispatchException, CException)

namespace {

BOOL copyMessage(const CString& text, LPWSTR error, UINT maxError)
{
    if (!error || maxError == 0)
        return FALSE;
    lstrcpynW(error, text.GetString(), static_cast<int>(maxError));
    return !text.IsEmpty();
}

CString textOf(SCODE sc)
{
    CString text = AfxGetScodeText(sc);
    if (text.IsEmpty())
        text.Format(L"0x%08X", static_cast<unsigned>(sc));
    return text;
}

} // namespace

BOOL CException::GetErrorMessage(LPWSTR error, UINT maxError, PUINT helpContext) const
{
    if (helpContext)
        *helpContext = 0;
    return copyMessage(CString(), error, maxError);
}

BOOL COleException::GetErrorMessage(LPWSTR error, UINT maxError, PUINT helpContext) const
{
    if (helpContext)
        *helpContext = 0;
    return copyMessage(textOf(m_sc), error, maxError);
}

SCODE COleException::Process(const CException* e)
{
    if (e && e->IsKindOf(RUNTIME_CLASS(COleException)))
        return static_cast<const COleException*>(e)->m_sc;
    if (e && e->IsKindOf(RUNTIME_CLASS(COleDispatchException)))
        return static_cast<const COleDispatchException*>(e)->m_scError;
    return E_UNEXPECTED;
}

COleDispatchException::COleDispatchException(const wchar_t* description, UINT helpId, WORD wCode)
    : m_wCode(wCode), m_strDescription(description), m_dwHelpContext(helpId)
{
}

BOOL COleDispatchException::GetErrorMessage(LPWSTR error, UINT maxError, PUINT helpContext) const
{
    if (helpContext)
        *helpContext = m_dwHelpContext;
    return copyMessage(m_strDescription, error, maxError);
}

CString AfxGetScodeText(SCODE sc)
{
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(sc), 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    CString text;
    if (n && buffer)
        text = CString(buffer, static_cast<int>(n));
    if (buffer)
        LocalFree(buffer);
    text.TrimRight(L"\r\n ");
    return text;
}

void AfxThrowOleException(SCODE sc)
{
    throw new COleException(sc);
}

void AfxThrowOleDispatchException(SCODE sc)
{
    auto* e = new COleDispatchException(textOf(sc), 0, 0);
    e->m_scError = sc;
    throw e;
}

void AfxThrowOleDispatchException(EXCEPINFO& info)
{
    if (info.pfnDeferredFillIn)
        info.pfnDeferredFillIn(&info);
    auto* e = new COleDispatchException(info.bstrDescription, info.dwHelpContext, info.wCode);
    // A server that reports by wCode leaves scode 0; the call itself then failed with DISP_E_EXCEPTION.
    e->m_scError = info.scode ? info.scode : DISP_E_EXCEPTION;
    e->m_strSource = info.bstrSource;
    e->m_strHelpFile = info.bstrHelpFile;
    if (e->m_strDescription.IsEmpty())
        e->m_strDescription = textOf(e->m_scError);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    info.bstrSource = info.bstrDescription = info.bstrHelpFile = nullptr;
    throw e;
}
