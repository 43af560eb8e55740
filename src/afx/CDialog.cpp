// CDialog: templates from the resource module, the modal loop, modeless creation and data exchange.
//
// A modal dialog is created as a modeless dialog window (bound to its object through the creation hook, so even
// WM_CREATE reaches it) and then runs in this file's own loop: every message is first offered to
// PreTranslateMessage of its target window and each parent up to the dialog, whose own PreTranslateMessage hands
// keyboard and mouse input to IsDialogMessage; what nobody consumed is translated and dispatched.
#include "afx/CDialog.h"

#include <cerrno>
#include <climits>
#include <cwchar>

#include "afx/CHandleMap.h"
#include "afx/CWinApp.h"

namespace {

// The control a field exchanges with: null when an earlier field failed already, and null (the exchange failed)
// when the dialog lacks the control.
HWND fieldControl(CDataExchange* dx, int id, bool edit)
{
    if (dx->m_bFailed)
        return nullptr;
    HWND h = edit ? dx->PrepareEditCtrl(id) : dx->PrepareCtrl(id);
    if (!h)
        dx->Fail();
    return h;
}

// A field held by the control as a number it answers to one message and takes with another.
void exchangeByMessages(CDataExchange* dx, int id, int& value, UINT getMessage, UINT setMessage)
{
    HWND h = fieldControl(dx, id, false);
    if (!h)
        return;
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageW(h, getMessage, 0, 0));
    else
        ::SendMessageW(h, setMessage, static_cast<WPARAM>(value), 0);
}

bool onlySpace(const wchar_t* p)
{
    while (*p == L' ' || *p == L'\t')
        ++p;
    return *p == 0;
}

// A whole decimal integer with optional sign and surrounding blanks, within [low, high].
bool parseInteger(const CString& text, long long low, long long high, long long& value)
{
    const wchar_t* p = text.GetString();
    while (*p == L' ' || *p == L'\t')
        ++p;
    bool negative = false;
    if (*p == L'+' || *p == L'-')
        negative = *p++ == L'-';
    if (*p < L'0' || *p > L'9')
        return false;
    long long v = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        v = v * 10 + (*p - L'0');
        if (v > high - low + 1) // beyond every representable value: stop before it can overflow
            return false;
    }
    if (!onlySpace(p))
        return false;
    v = negative ? -v : v;
    if (v < low || v > high)
        return false;
    value = v;
    return true;
}

bool isIdleMessage(const MSG& msg)
{
    // Painting and the system's caret timer come by themselves; they do not mean the user did something.
    return msg.message != WM_PAINT && msg.message != 0x0118 /* WM_SYSTIMER */;
}

} // namespace

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
    if (!dialog || CWnd::FromHandlePermanent(hWnd) != dialog)
        return TRUE;
    return dialog->OnInitDialog();
}

IMPLEMENT_DYNAMIC(CDialog, CWnd)

CDialog::CDialog() = default;

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_lpszTemplateName(MAKEINTRESOURCEW(templateId)), m_nIDHelp(templateId), m_pParentWnd(parent)
{
}

CDialog::CDialog(LPCWSTR templateName, CWnd* parent) : m_lpszTemplateName(templateName), m_pParentWnd(parent) {}

CDialog::~CDialog() = default;

void CDialog::InitModalIndirect(LPCDLGTEMPLATEW dialogTemplate, CWnd* parent)
{
    m_lpDialogTemplate = dialogTemplate;
    if (parent)
        m_pParentWnd = parent;
}

LPCDLGTEMPLATEW CDialog::findTemplate() const
{
    if (m_lpDialogTemplate)
        return m_lpDialogTemplate;
    if (!m_lpszTemplateName)
        return nullptr;
    HINSTANCE module = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    HRSRC resource = ::FindResourceW(module, m_lpszTemplateName, RT_DIALOG);
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    return loaded ? static_cast<LPCDLGTEMPLATEW>(::LockResource(loaded)) : nullptr;
}

HWND CDialog::ownerWindow() const
{
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : ::GetActiveWindow();
    // A child window cannot own a popup: the top-level window that holds it does.
    if (owner && (::GetWindowLongW(owner, GWL_STYLE) & WS_CHILD))
        owner = ::GetAncestor(owner, GA_ROOT);
    return owner;
}

INT_PTR CDialog::DoModal()
{
    LPCDLGTEMPLATEW dialogTemplate = findTemplate();
    if (!dialogTemplate || m_hWnd)
        return -1;
    HINSTANCE module = m_lpDialogTemplate ? AfxGetResourceHandle()
                                          : AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    HWND owner = ownerWindow();
    bool enableOwner = false;
    if (owner && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        enableOwner = true;
    }

    m_nModalResult = -1;
    m_bContinueModal = true;
    AfxHookWindowCreate(this);
    HWND h = ::CreateDialogIndirectParamW(module, dialogTemplate, owner, AfxDlgProc, reinterpret_cast<LPARAM>(this));
    AfxUnhookWindowCreate();
    if (h && !m_hWnd)
        SubclassWindow(h);
    if (h && m_bContinueModal)
        RunModalLoop();
    m_bContinueModal = false;

    // Hide before the owner is enabled again, so that activation goes straight back to the owner.
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (enableOwner)
        ::EnableWindow(owner, TRUE);
    if (owner && m_hWnd && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(owner);
    if (m_hWnd)
        DestroyWindow();
    return m_nModalResult;
}

int CDialog::RunModalLoop()
{
    m_bInModalLoop = true;
    bool idle = true;
    bool showOnIdle = (GetStyle() & WS_VISIBLE) == 0;
    MSG msg{};
    while (m_bContinueModal) {
        // Idle: nothing waiting. Show a dialog whose template did not ask to be visible, and let go of temporary
        // objects when no window procedure up the stack can still hold one.
        while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (showOnIdle && m_hWnd) {
                ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
                ::UpdateWindow(m_hWnd);
                showOnIdle = false;
            }
            if (afxWndProcDepth() == 0)
                AfxDeleteTempMaps();
            idle = false;
        }
        do {
            BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0) {
                // The application is quitting: pass the request on to the outer loop and end the dialog.
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                m_nModalResult = -1;
                m_bContinueModal = false;
                break;
            }
            if (got == -1) {
                m_bContinueModal = false;
                break;
            }
            if (!AfxPreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            if (m_bContinueModal && !m_hWnd) {
                // The window went away without EndDialog (destroyed by a caller, or with its owner): nothing is
                // left to wait for.
                m_nModalResult = -1;
                m_bContinueModal = false;
            }
            if (!m_bContinueModal)
                break;
            if (isIdleMessage(msg))
                idle = true;
        } while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
    m_bInModalLoop = false;
    return m_nModalResult;
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    if (m_bContinueModal) {
        m_bContinueModal = false;
        // Wakes the modal loop should EndDialog come from outside a message it dispatched.
        if (m_hWnd && m_bInModalLoop)
            ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    }
    if (m_hWnd)
        ::EndDialog(m_hWnd, result);
}

BOOL CDialog::createModeless(LPCDLGTEMPLATEW dialogTemplate, CWnd* parent)
{
    if (!dialogTemplate || m_hWnd)
        return FALSE;
    if (parent)
        m_pParentWnd = parent;
    HINSTANCE module = m_lpDialogTemplate || !m_lpszTemplateName
                           ? AfxGetResourceHandle()
                           : AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    AfxHookWindowCreate(this);
    HWND h = ::CreateDialogIndirectParamW(module, dialogTemplate, m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr,
                                          AfxDlgProc, reinterpret_cast<LPARAM>(this));
    AfxUnhookWindowCreate();
    if (h && !m_hWnd)
        SubclassWindow(h);
    return m_hWnd != nullptr;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    return Create(MAKEINTRESOURCEW(templateId), parent);
}

BOOL CDialog::Create(LPCWSTR templateName, CWnd* parent)
{
    m_lpszTemplateName = templateName;
    m_lpDialogTemplate = nullptr;
    return createModeless(findTemplate(), parent);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEW dialogTemplate, CWnd* parent)
{
    m_lpDialogTemplate = dialogTemplate;
    return createModeless(dialogTemplate, parent);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (CWnd::PreTranslateMessage(msg))
        return TRUE;
    const UINT m = msg->message;
    if ((m >= WM_KEYFIRST && m <= WM_KEYLAST) || (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST))
        return ::IsDialogMessageW(m_hWnd, msg);
    return FALSE;
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    if (HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
    }
    return FALSE;
}

// ---- data exchange --------------------------------------------------------------------------------------------
//
// A pass stops at the first field that fails: the remaining DDX calls of that pass do nothing, so no later value is
// taken and the focus stays on the field to correct.

HWND CDataExchange::PrepareCtrl(int id)
{
    m_hWndLastControl = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, id) : nullptr;
    m_bEditLastControl = false;
    return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int id)
{
    HWND h = PrepareCtrl(id);
    m_bEditLastControl = true;
    return h;
}

void CDataExchange::Fail()
{
    m_bFailed = true;
    if (m_bSaveAndValidate && m_hWndLastControl) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (dx->m_bFailed)
        return;
    if (control.m_hWnd)
        return;
    HWND h = dx->PrepareCtrl(id);
    if (!h || !control.SubclassWindow(h))
        dx->Fail();
}

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    HWND h = fieldControl(dx, id, true);
    if (!h)
        return;
    if (dx->m_bSaveAndValidate)
        AfxGetWindowText(h, value);
    else
        ::SetWindowTextW(h, value);
}

namespace {

// Exchanges an integer field: the text must be a whole number in [lo, hi]; shown with the printf form given.
template <class T>
void exchangeInteger(CDataExchange* dx, int id, T& value, long long lo, long long hi, const wchar_t* form)
{
    HWND h = fieldControl(dx, id, true);
    if (!h)
        return;
    if (dx->m_bSaveAndValidate) {
        CString text;
        AfxGetWindowText(h, text);
        long long parsed = 0;
        if (parseInteger(text, lo, hi, parsed))
            value = static_cast<T>(parsed);
        else
            dx->Fail();
    } else {
        CString text;
        text.Format(form, value);
        ::SetWindowTextW(h, text);
    }
}

} // namespace

void DDX_Text(CDataExchange* dx, int id, int& value)
{
    exchangeInteger(dx, id, value, INT_MIN, INT_MAX, L"%d");
}

void DDX_Text(CDataExchange* dx, int id, UINT& value)
{
    exchangeInteger(dx, id, value, 0, UINT_MAX, L"%u");
}

void DDX_Text(CDataExchange* dx, int id, double& value)
{
    HWND h = fieldControl(dx, id, true);
    if (!h)
        return;
    if (dx->m_bSaveAndValidate) {
        CString text;
        AfxGetWindowText(h, text);
        const wchar_t* begin = text.GetString();
        wchar_t* end = nullptr;
        errno = 0;
        double parsed = std::wcstod(begin, &end);
        if (end == begin || errno == ERANGE || !onlySpace(end))
            dx->Fail();
        else
            value = parsed;
    } else {
        CString text;
        text.Format(L"%.*g", 15, value);
        ::SetWindowTextW(h, text);
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    exchangeByMessages(dx, id, value, BM_GETCHECK, BM_SETCHECK);
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index)
{
    exchangeByMessages(dx, id, index, CB_GETCURSEL, CB_SETCURSEL);
}
