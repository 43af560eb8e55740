// CWnd: the handle maps, creation through a CBT hook, subclassing, the window procedure and its handler switch.
//
// Vocabulary: a permanent object is a CWnd bound to a window (Attach, SubclassWindow, Create); the map from
// window handle to permanent object answers FromHandlePermanent. A temporary wrapper is a plain CWnd made by
// FromHandle for a window without a permanent object. The super procedure is the window procedure that was in
// place before ours; Default() passes the current message to it.
#include "afx/CWnd.h"

#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>

#include "afx/CHandleMap.h"
#include "afx/CWinApp.h"

namespace {

// The message being processed by AfxWndProc (innermost), for Default().
struct CurrentMessage {
    HWND hWnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

CurrentMessage g_current;
int g_procDepth = 0;

// The previous window procedure is also kept with the window, so that a window whose object has let go of it
// without restoring the procedure still reaches its original handling.
const wchar_t* const kSuperProp = L"MavAfxSuperProc";

std::unordered_map<HWND, CWnd*>& permanentMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

bool windowAlive(HWND h)
{
    return ::IsWindow(h) != FALSE;
}

CTempHandleMap<CWnd, HWND>& tempMap()
{
    static CTempHandleMap<CWnd, HWND> map(&windowAlive);
    return map;
}


WNDPROC superOf(HWND h)
{
    return reinterpret_cast<WNDPROC>(::GetPropW(h, kSuperProp));
}

CWnd* g_wndInit = nullptr;
HHOOK g_cbtHook = nullptr;

LRESULT CALLBACK cbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && g_wndInit) {
        HWND h = reinterpret_cast<HWND>(wParam);
        // The input method window that the system may create along with a thread's first window is not ours.
        wchar_t cls[8] = {};
        if (!(::GetClassNameW(h, cls, 8) && ::lstrcmpiW(cls, L"IME") == 0)) {
            CWnd* wnd = g_wndInit;
            g_wndInit = nullptr;
            wnd->SubclassWindow(h);
        }
    }
    return ::CallNextHookEx(g_cbtHook, code, wParam, lParam);
}

} // namespace

void AfxGetWindowText(HWND h, CString& text)
{
    int length = h ? ::GetWindowTextLengthW(h) : 0;
    if (length <= 0) {
        text.Empty();
        return;
    }
    wchar_t* buffer = text.GetBufferSetLength(length + 1);
    int got = ::GetWindowTextW(h, buffer, length + 1);
    text.ReleaseBuffer(got > 0 ? got : 0);
}

void AfxDeleteTempMaps()
{
    CWnd::DeleteTempMap();
    afxDeleteDcTempMap();
    afxDeleteGdiTempMaps();
}

int afxWndProcDepth()
{
    return g_procDepth;
}

void AfxHookWindowCreate(CWnd* wnd)
{
    if (!g_cbtHook)
        g_cbtHook = ::SetWindowsHookExW(WH_CBT, cbtFilterHook, nullptr, ::GetCurrentThreadId());
    g_wndInit = wnd;
}

bool AfxUnhookWindowCreate()
{
    bool bound = g_wndInit == nullptr;
    g_wndInit = nullptr;
    if (g_cbtHook) {
        ::UnhookWindowsHookEx(g_cbtHook);
        g_cbtHook = nullptr;
    }
    return bound;
}

LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    static std::set<std::wstring> names;
    HINSTANCE instance = AfxGetStaticModuleState()->m_hCurrentInstanceHandle;
    std::wstring name = L"MavAfx";
    for (uintptr_t part : {reinterpret_cast<uintptr_t>(instance), static_cast<uintptr_t>(classStyle),
                           reinterpret_cast<uintptr_t>(cursor), reinterpret_cast<uintptr_t>(background),
                           reinterpret_cast<uintptr_t>(icon)})
        name += L':' + std::to_wstring(part);
    const std::wstring& stored = *names.insert(name).first;
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (!::GetClassInfoExW(instance, stored.c_str(), &existing)) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = classStyle;
        wc.lpfnWndProc = ::DefWindowProcW; // replaced by AfxWndProc when the window is created
        wc.hInstance = instance;
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.lpszClassName = stored.c_str();
        ::RegisterClassExW(&wc);
    }
    return stored.c_str();
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (!wnd) {
        WNDPROC super = superOf(hWnd);
        if (message == WM_NCDESTROY)
            ::RemovePropW(hWnd, kSuperProp);
        return super ? ::CallWindowProcW(super, hWnd, message, wParam, lParam)
                     : ::DefWindowProcW(hWnd, message, wParam, lParam);
    }
    CurrentMessage saved = g_current;
    g_current = {hWnd, message, wParam, lParam};
    ++g_procDepth;
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    --g_procDepth;
    g_current = saved;
    if (message == WM_NCDESTROY) {
        // OnNcDestroy lets go of the window; should an override have skipped it, the handle must still leave the
        // map (the object itself may be gone by now, so it is not touched).
        permanentMap().erase(hWnd);
        ::RemovePropW(hWnd, kSuperProp);
    }
    return result;
}

BOOL AfxPreTranslateMessage(MSG* msg)
{
    if (!msg || !msg->hwnd)
        return FALSE;
    return CWnd::WalkPreTranslateTree(::GetAncestor(msg->hwnd, GA_ROOT), msg);
}

// ---------------------------------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CWnd, CObject)

CWnd::~CWnd()
{
    if (m_bTemporary) {
        m_hWnd = nullptr;
        return;
    }
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        if (::IsWindow(m_hWnd))
            DestroyWindow();
        if (m_hWnd)
            Detach();
    }
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    if (CWnd* permanent = FromHandlePermanent(hWnd))
        return permanent;
    return tempMap().find(hWnd, [](HWND h) {
        CWnd* wrapper = new CWnd;
        wrapper->m_hWnd = h;
        wrapper->m_bTemporary = true;
        return wrapper;
    });
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    auto& map = permanentMap();
    auto it = map.find(hWnd);
    return it == map.end() ? nullptr : it->second;
}

void CWnd::DeleteTempMap()
{
    tempMap().clear();
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!hWnd || m_hWnd || m_bTemporary || FromHandlePermanent(hWnd))
        return FALSE;
    permanentMap()[hWnd] = this;
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (h && !m_bTemporary) {
        auto& map = permanentMap();
        auto it = map.find(h);
        if (it != map.end() && it->second == this)
            map.erase(it);
    }
    m_hWnd = nullptr;
    return h;
}

void CWnd::hookProcedure(HWND hWnd)
{
    WNDPROC current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
    if (current == AfxWndProc) {
        // Ours already (the window was bound before and let go without restoring): keep the recorded original.
        m_pfnSuper = superOf(hWnd);
        return;
    }
    ::SetPropW(hWnd, kSuperProp, reinterpret_cast<HANDLE>(current));
    ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc));
    m_pfnSuper = current;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    hookProcedure(hWnd);
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    if (!parent || !parent->m_hWnd)
        return FALSE;
    HWND control = ::GetDlgItem(parent->m_hWnd, static_cast<int>(id));
    return control ? SubclassWindow(control) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (!m_hWnd)
        return nullptr;
    if (m_pfnSuper) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        ::RemovePropW(m_hWnd, kSuperProp);
        m_pfnSuper = nullptr;
    }
    return Detach();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU idOrMenu, LPVOID param)
{
    if (m_hWnd || m_bTemporary)
        return FALSE;
    CREATESTRUCTW cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = static_cast<LONG>(style);
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = idOrMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs))
        return FALSE;
    // Classes of this library are registered with the DLL's instance; others with the current module's.
    HINSTANCE library = AfxGetStaticModuleState()->m_hCurrentInstanceHandle;
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    HINSTANCE instance = ::GetClassInfoExW(library, cs.lpszClass, &info) ? library : cs.hInstance;

    AfxHookWindowCreate(this);
    HWND h = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                               cs.cx, cs.cy, cs.hwndParent, cs.hMenu, instance, cs.lpCreateParams);
    AfxUnhookWindowCreate();
    if (!h)
        return FALSE;
    if (!m_hWnd)
        SubclassWindow(h); // the hook missed it: bind now (its first messages have passed by)
    return m_hWnd == h;
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    HWND original = m_hWnd;
    bool permanent = !m_bTemporary && FromHandlePermanent(original) == this;
    BOOL ok = ::DestroyWindow(original);
    // A window that was attached without our procedure never reported WM_NCDESTROY: let go of it here. When the
    // map no longer holds it, OnNcDestroy did so (and PostNcDestroy may have deleted this object).
    if (permanent && FromHandlePermanent(original) == this && !::IsWindow(original))
        Detach();
    return ok;
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

// ---------------------------------------------------------------------------------------------------------------

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(g_current.message, g_current.wParam, g_current.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* msg)
{
    for (HWND h = msg ? msg->hwnd : nullptr; h; h = ::GetParent(h)) {
        CWnd* wnd = FromHandlePermanent(h);
        if (wnd && wnd->PreTranslateMessage(msg))
            return TRUE;
        if (h == hWndStop)
            break;
    }
    return FALSE;
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

BOOL CWnd::ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    CWnd* wnd = FromHandlePermanent(child);
    if (!wnd)
        return FALSE;
    LRESULT local = 0;
    if (!wnd->OnChildNotify(message, wParam, lParam, &local))
        return FALSE;
    if (result)
        *result = local;
    return TRUE;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    LRESULT r = 0;
    const CPoint point(lParam);
    const UINT flags = static_cast<UINT>(wParam);
    switch (message) {
    case WM_CREATE:
        r = OnCreate(reinterpret_cast<LPCREATESTRUCTW>(lParam));
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_NCDESTROY:
        OnNcDestroy();
        break;
    case WM_CLOSE:
        OnClose();
        break;
    case WM_PAINT:
        OnPaint();
        break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT: {
        CDC dc;
        dc.Attach(reinterpret_cast<HDC>(wParam));
        r = message == WM_ERASEBKGND ? OnEraseBkgnd(&dc) : OnPrintClient(&dc, static_cast<UINT>(lParam));
        dc.Detach();
        break;
    }
    case WM_SIZE:
        OnSize(flags, LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_SHOWWINDOW:
        OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
        break;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        break;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        break;
    case WM_SETFOCUS:
        OnSetFocus(FromHandle(reinterpret_cast<HWND>(wParam)));
        break;
    case WM_KILLFOCUS:
        OnKillFocus(FromHandle(reinterpret_cast<HWND>(wParam)));
        break;
    case WM_SETCURSOR:
        r = OnSetCursor(FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(flags, point);
        break;
    case WM_MOUSEWHEEL:
        r = OnMouseWheel(LOWORD(wParam), static_cast<short>(HIWORD(wParam)), point);
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(flags, point);
        break;
    case WM_LBUTTONUP:
        OnLButtonUp(flags, point);
        break;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(flags, point);
        break;
    case WM_RBUTTONDOWN:
        OnRButtonDown(flags, point);
        break;
    case WM_RBUTTONUP:
        OnRButtonUp(flags, point);
        break;
    case WM_RBUTTONDBLCLK:
        OnRButtonDblClk(flags, point);
        break;
    case WM_MBUTTONDOWN:
        OnMButtonDown(flags, point);
        break;
    case WM_MBUTTONUP:
        OnMButtonUp(flags, point);
        break;
    case WM_MBUTTONDBLCLK:
        OnMButtonDblClk(flags, point);
        break;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(FromHandle(reinterpret_cast<HWND>(lParam)));
        break;
    case WM_KEYDOWN:
        OnKeyDown(flags, LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_KEYUP:
        OnKeyUp(flags, LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_CHAR:
        OnChar(flags, LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_GETDLGCODE:
        r = OnGetDlgCode();
        break;
    case WM_COMMAND:
        if (!OnCommand(wParam, lParam))
            return FALSE;
        break;
    case WM_NOTIFY:
        if (!OnNotify(wParam, lParam, &r))
            return FALSE;
        break;
    case WM_DRAWITEM:
        OnDrawItem(static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        r = TRUE;
        break;
    case WM_MEASUREITEM:
        OnMeasureItem(static_cast<int>(wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        r = TRUE;
        break;
    case WM_COMPAREITEM: {
        auto* item = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam);
        if (!item || !ReflectToChild(item->hwndItem, message, wParam, lParam, &r))
            return FALSE;
        break;
    }
    case WM_DELETEITEM: {
        auto* item = reinterpret_cast<DELETEITEMSTRUCT*>(lParam);
        if (!item || !ReflectToChild(item->hwndItem, message, wParam, lParam, &r))
            return FALSE;
        break;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        CDC dc;
        dc.Attach(reinterpret_cast<HDC>(wParam));
        r = reinterpret_cast<LRESULT>(
            OnCtlColor(&dc, FromHandle(reinterpret_cast<HWND>(lParam)), message - WM_CTLCOLORMSGBOX));
        dc.Detach();
        break;
    }
    case WM_CONTEXTMENU:
        OnContextMenu(FromHandle(reinterpret_cast<HWND>(wParam)), point);
        break;
    case WM_HELP:
        r = OnHelpInfo(reinterpret_cast<HELPINFO*>(lParam));
        break;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam), HIWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)));
        break;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam), HIWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)));
        break;
    case WM_SYSCOMMAND:
        OnSysCommand(flags, lParam);
        break;
    case WM_PAINTCLIPBOARD:
        OnPaintClipboard(FromHandle(reinterpret_cast<HWND>(wParam)), reinterpret_cast<HGLOBAL>(lParam));
        break;
    case WM_VKEYTOITEM:
        r = OnVKeyToItem(LOWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)), HIWORD(wParam));
        break;
    default:
        return FALSE;
    }
    *result = r;
    return TRUE;
}

// ---- default handlers ---------------------------------------------------------------------------------------

int CWnd::OnCreate(LPCREATESTRUCTW)
{
    return static_cast<int>(Default());
}

void CWnd::OnDestroy()
{
    Default();
}

void CWnd::OnNcDestroy()
{
    Default();
    HWND h = m_hWnd;
    if (h && m_pfnSuper &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(h, GWLP_WNDPROC)) == AfxWndProc)
        ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    if (h)
        ::RemovePropW(h, kSuperProp);
    m_pfnSuper = nullptr;
    Detach();
    PostNcDestroy();
}

void CWnd::OnClose()
{
    Default();
}

void CWnd::OnPaint()
{
    Default();
}

BOOL CWnd::OnEraseBkgnd(CDC*)
{
    return static_cast<BOOL>(Default());
}

LRESULT CWnd::OnPrintClient(CDC*, UINT)
{
    return Default();
}

void CWnd::OnSize(UINT, int, int)
{
    Default();
}

void CWnd::OnShowWindow(BOOL, UINT)
{
    Default();
}

void CWnd::OnGetMinMaxInfo(MINMAXINFO*)
{
    Default();
}

void CWnd::OnTimer(UINT_PTR)
{
    Default();
}

void CWnd::OnSetFocus(CWnd*)
{
    Default();
}

void CWnd::OnKillFocus(CWnd*)
{
    Default();
}

BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    return static_cast<BOOL>(Default());
}

void CWnd::OnMouseMove(UINT, CPoint)
{
    Default();
}

BOOL CWnd::OnMouseWheel(UINT, short, CPoint)
{
    return static_cast<BOOL>(Default());
}

void CWnd::OnLButtonDown(UINT, CPoint)
{
    Default();
}

void CWnd::OnLButtonUp(UINT, CPoint)
{
    Default();
}

void CWnd::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}

void CWnd::OnRButtonDown(UINT, CPoint)
{
    Default();
}

void CWnd::OnRButtonUp(UINT, CPoint)
{
    Default();
}

void CWnd::OnRButtonDblClk(UINT, CPoint)
{
    Default();
}

void CWnd::OnMButtonDown(UINT, CPoint)
{
    Default();
}

void CWnd::OnMButtonUp(UINT, CPoint)
{
    Default();
}

void CWnd::OnMButtonDblClk(UINT, CPoint)
{
    Default();
}

void CWnd::OnCaptureChanged(CWnd*)
{
    Default();
}

void CWnd::OnKeyDown(UINT, UINT, UINT)
{
    Default();
}

void CWnd::OnKeyUp(UINT, UINT, UINT)
{
    Default();
}

void CWnd::OnChar(UINT, UINT, UINT)
{
    Default();
}

UINT CWnd::OnGetDlgCode()
{
    return static_cast<UINT>(Default());
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND control = reinterpret_cast<HWND>(lParam);
    return control && ReflectToChild(control, WM_COMMAND, wParam, lParam, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    return header && header->hwndFrom && ReflectToChild(header->hwndFrom, WM_NOTIFY, wParam, lParam, result);
}

void CWnd::OnDrawItem(int id, LPDRAWITEMSTRUCT item)
{
    if (item && item->CtlType != ODT_MENU &&
        ReflectToChild(item->hwndItem, WM_DRAWITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(item),
                       nullptr))
        return;
    Default();
}

void CWnd::OnMeasureItem(int id, LPMEASUREITEMSTRUCT item)
{
    if (item && item->CtlType != ODT_MENU) {
        HWND control = ::GetDlgItem(m_hWnd, id);
        if (control && ReflectToChild(control, WM_MEASUREITEM, static_cast<WPARAM>(id),
                                      reinterpret_cast<LPARAM>(item), nullptr))
            return;
    }
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC* dc, CWnd* wnd, UINT type)
{
    LRESULT brush = 0;
    if (wnd && dc &&
        ReflectToChild(wnd->m_hWnd, WM_CTLCOLORMSGBOX + type, reinterpret_cast<WPARAM>(dc->m_hDC),
                       reinterpret_cast<LPARAM>(wnd->m_hWnd), &brush))
        return reinterpret_cast<HBRUSH>(brush);
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnContextMenu(CWnd*, CPoint)
{
    Default();
}

BOOL CWnd::OnHelpInfo(HELPINFO*)
{
    return static_cast<BOOL>(Default());
}

void CWnd::OnHScroll(UINT code, UINT pos, CWnd* scrollBar)
{
    if (scrollBar && ReflectToChild(scrollBar->m_hWnd, WM_HSCROLL, MAKEWPARAM(code, pos),
                                    reinterpret_cast<LPARAM>(scrollBar->m_hWnd), nullptr))
        return;
    Default();
}

void CWnd::OnVScroll(UINT code, UINT pos, CWnd* scrollBar)
{
    if (scrollBar && ReflectToChild(scrollBar->m_hWnd, WM_VSCROLL, MAKEWPARAM(code, pos),
                                    reinterpret_cast<LPARAM>(scrollBar->m_hWnd), nullptr))
        return;
    Default();
}

void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}

void CWnd::OnPaintClipboard(CWnd*, HGLOBAL)
{
    Default();
}

int CWnd::OnVKeyToItem(UINT, CWnd*, UINT)
{
    return static_cast<int>(Default());
}

// ---- thin wrappers of window functions ----------------------------------------------------------------------

int CWnd::SetDlgCtrlID(int id)
{
    return static_cast<int>(::SetWindowLongPtrW(m_hWnd, GWLP_ID, id));
}

CWnd* CWnd::GetDlgItem(int id) const
{
    return FromHandle(::GetDlgItem(m_hWnd, id));
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::SetParent(CWnd* parent)
{
    return FromHandle(::SetParent(m_hWnd, parent ? parent->m_hWnd : nullptr));
}

CWnd* CWnd::GetOwner() const
{
    if (m_hWndOwner)
        return FromHandle(m_hWndOwner);
    if (HWND owner = ::GetWindow(m_hWnd, GW_OWNER))
        return FromHandle(owner);
    return GetParent();
}

CWnd* CWnd::GetTopLevelParent() const
{
    HWND root = ::GetAncestor(m_hWnd, GA_ROOT);
    return FromHandle(root);
}

CWnd* CWnd::GetWindow(UINT command) const
{
    return FromHandle(::GetWindow(m_hWnd, command));
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendDlgItemMessageW(m_hWnd, id, message, wParam, lParam);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    return ::SetTimer(m_hWnd, id, elapse, proc);
}

BOOL CWnd::KillTimer(UINT_PTR id)
{
    return ::KillTimer(m_hWnd, id);
}

void CWnd::Invalidate(BOOL erase)
{
    ::InvalidateRect(m_hWnd, nullptr, erase);
}

void CWnd::InvalidateRect(const RECT* rect, BOOL erase)
{
    ::InvalidateRect(m_hWnd, rect, erase);
}

void CWnd::ValidateRect(const RECT* rect)
{
    ::ValidateRect(m_hWnd, rect);
}

void CWnd::UpdateWindow()
{
    ::UpdateWindow(m_hWnd);
}

BOOL CWnd::RedrawWindow(const RECT* rect, HRGN region, UINT flags)
{
    return ::RedrawWindow(m_hWnd, rect, region, flags);
}

BOOL CWnd::GetUpdateRect(RECT* rect, BOOL erase)
{
    return ::GetUpdateRect(m_hWnd, rect, erase);
}

CDC* CWnd::GetDC()
{
    return CDC::FromHandle(::GetDC(m_hWnd));
}

int CWnd::ReleaseDC(CDC* dc)
{
    if (!dc)
        return 0;
    return ::ReleaseDC(m_hWnd, dc->m_hDC);
}

void CWnd::GetClientRect(RECT* rect) const
{
    ::GetClientRect(m_hWnd, rect);
}

void CWnd::GetWindowRect(RECT* rect) const
{
    ::GetWindowRect(m_hWnd, rect);
}

void CWnd::ScreenToClient(POINT* point) const
{
    ::ScreenToClient(m_hWnd, point);
}

void CWnd::ScreenToClient(RECT* rect) const
{
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::ClientToScreen(POINT* point) const
{
    ::ClientToScreen(m_hWnd, point);
}

void CWnd::ClientToScreen(RECT* rect) const
{
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::MapWindowPoints(CWnd* to, POINT* points, UINT count) const
{
    ::MapWindowPoints(m_hWnd, to ? to->m_hWnd : nullptr, points, count);
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint)
{
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::MoveWindow(const RECT* rect, BOOL repaint)
{
    if (rect)
        MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, cx, cy, flags);
}

DWORD CWnd::GetStyle() const
{
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
}

DWORD CWnd::GetExStyle() const
{
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
}

namespace {
BOOL modifyLong(HWND h, int index, DWORD remove, DWORD add, UINT flags)
{
    DWORD style = static_cast<DWORD>(::GetWindowLongW(h, index));
    DWORD changed = (style & ~remove) | add;
    if (changed == style)
        return FALSE;
    ::SetWindowLongW(h, index, static_cast<LONG>(changed));
    if (flags)
        ::SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}
} // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags)
{
    return modifyLong(m_hWnd, GWL_STYLE, remove, add, flags);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags)
{
    return modifyLong(m_hWnd, GWL_EXSTYLE, remove, add, flags);
}

BOOL CWnd::ShowWindow(int command)
{
    return ::ShowWindow(m_hWnd, command);
}

BOOL CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(m_hWnd);
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    return ::EnableWindow(m_hWnd, enable);
}

BOOL CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd);
}

CWnd* CWnd::SetFocus()
{
    return FromHandle(::SetFocus(m_hWnd));
}

CWnd* CWnd::GetFocus()
{
    return FromHandle(::GetFocus());
}

CWnd* CWnd::SetCapture()
{
    return FromHandle(::SetCapture(m_hWnd));
}

CWnd* CWnd::GetCapture()
{
    return FromHandle(::GetCapture());
}

void CWnd::SetWindowText(const wchar_t* text)
{
    ::SetWindowTextW(m_hWnd, text);
}

int CWnd::GetWindowText(wchar_t* buffer, int size) const
{
    return ::GetWindowTextW(m_hWnd, buffer, size);
}

void CWnd::GetWindowText(CString& text) const
{
    AfxGetWindowText(m_hWnd, text);
}

int CWnd::GetWindowTextLength() const
{
    return ::GetWindowTextLengthW(m_hWnd);
}

void CWnd::SetDlgItemText(int id, const wchar_t* text)
{
    ::SetDlgItemTextW(m_hWnd, id, text);
}

int CWnd::GetDlgItemText(int id, CString& text) const
{
    AfxGetWindowText(::GetDlgItem(m_hWnd, id), text);
    return text.GetLength();
}

void CWnd::SetDlgItemInt(int id, UINT value, BOOL isSigned)
{
    ::SetDlgItemInt(m_hWnd, id, value, isSigned);
}

UINT CWnd::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const
{
    return ::GetDlgItemInt(m_hWnd, id, translated, isSigned);
}

void CWnd::CheckDlgButton(int id, UINT check)
{
    ::CheckDlgButton(m_hWnd, id, check);
}

UINT CWnd::IsDlgButtonChecked(int id) const
{
    return ::IsDlgButtonChecked(m_hWnd, id);
}

void CWnd::SetFont(CFont* font, BOOL redraw)
{
    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), redraw);
}

CFont* CWnd::GetFont() const
{
    return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)));
}

int CWnd::MessageBox(const wchar_t* text, const wchar_t* caption, UINT type)
{
    return ::MessageBoxW(m_hWnd, text, caption, type);
}
