// COleDropSource: the IDropSource the system asks while a drag runs, and the wait for the cursor to leave the
// start rectangle before a drag begins.
#include "afx/COleDropSource.h"

IMPLEMENT_DYNAMIC(COleDropSource, CObject)

COleDropSource::COleDropSource()
{
    m_xDropSource.owner = this;
}

SCODE COleDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState)
{
    if (escapePressed)
        return DRAGDROP_S_CANCEL;
    if (!(keyState & (MK_LBUTTON | MK_RBUTTON)))
        return DRAGDROP_S_DROP;
    return S_OK;
}

SCODE COleDropSource::GiveFeedback(DWORD)
{
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

// The user pressed the button on something draggable; a drag only begins when the cursor leaves the start
// rectangle with the button still down. The wait takes the input it looks at out of the queue so that the window
// under the cursor does not act on it.
BOOL COleDropSource::OnBeginDrag(const RECT* startRect)
{
    if (!startRect)
        return TRUE;
    for (;;) {
        POINT pt{};
        ::GetCursorPos(&pt);
        if (!::PtInRect(startRect, pt))
            return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
        if (!(::GetAsyncKeyState(VK_LBUTTON) & 0x8000) || (::GetAsyncKeyState(VK_ESCAPE) & 0x8000))
            return FALSE;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_INPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
        }
        while (::PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
                return FALSE;
        }
    }
}

STDMETHODIMP COleDropSource::XDropSource::QueryInterface(REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource)) {
        *out = static_cast<IDropSource*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP COleDropSource::XDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState)
{
    return owner->QueryContinueDrag(escapePressed, keyState);
}

STDMETHODIMP COleDropSource::XDropSource::GiveFeedback(DWORD effect)
{
    return owner->GiveFeedback(effect);
}
