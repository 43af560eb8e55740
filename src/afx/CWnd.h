// CWnd: a window object with MFC's names. One window procedure switches on the message and calls virtual OnXxx
// handlers with cracked arguments; a handler that does not handle a message calls Default().
#pragma once

#include <windows.h>

#include "afx/CDC.h"
#include "afx/CGdiObject.h"
#include "afx/CObject.h"
#include "afx/CRect.h"
#include "afx/CString.h"

// The whole text of a window (empty for a null handle or a window without text).
void AfxGetWindowText(HWND h, CString& text);

class CWnd : public CObject {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd() = default;
    // A window still attached is destroyed with its object.
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // ---- handle map ----------------------------------------------------------------------------------------
    // The permanent object of a window, else a temporary wrapper (valid until the temporary objects are deleted at
    // idle time); null for a null handle.
    static CWnd* FromHandle(HWND hWnd);
    // The permanent object of a window (attached, subclassed or created through this class), else null.
    static CWnd* FromHandlePermanent(HWND hWnd);
    static void DeleteTempMap();
    // Makes this object the window's permanent object; false when either is already bound.
    BOOL Attach(HWND hWnd);
    HWND Detach();

    // ---- creation, subclassing and destruction -------------------------------------------------------------
    // Creates a window whose every message, from the first, goes through this object. A null class name gets a
    // class of this library (double clicks, arrow cursor, no background brush).
    virtual BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                          int width, int height, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
    virtual BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                        UINT id);
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);
    // Routes an existing window through this object; Default() then reaches its previous window procedure.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    virtual BOOL DestroyWindow();
    // Called before subclassing (also when created through this class): adjust styles, set up the control.
    virtual void PreSubclassWindow();
    // Called after the last message of the window; a heap object of a modeless window may delete itself here.
    virtual void PostNcDestroy();

    // ---- message handling ------------------------------------------------------------------------------------
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The original handling: the window procedure that was replaced by subclassing, or DefWindowProcW.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The original handling of the message being processed.
    LRESULT Default();
    // Called for a message before it is dispatched, for this window and each parent up to the modal window;
    // true consumes the message.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Offers msg to PreTranslateMessage of hWnd's objects from msg->hwnd up to hWndStop; true when consumed.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* msg);
    // Messages a parent reflects to its child control (WM_COMMAND and WM_NOTIFY notifications, WM_DRAWITEM,
    // WM_MEASUREITEM, WM_COMPAREITEM, WM_DELETEITEM, WM_CTLCOLOR*, WM_HSCROLL/WM_VSCROLL). True when handled;
    // *result then is the message's result.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // ---- windows around ------------------------------------------------------------------------------------
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int id);
    CWnd* GetDlgItem(int id) const;
    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* parent);
    // The owner set with SetOwner, else the window's owner, else its parent.
    CWnd* GetOwner() const;
    void SetOwner(CWnd* owner) { m_hWndOwner = owner ? owner->m_hWnd : nullptr; }
    CWnd* GetTopLevelParent() const;
    CWnd* GetWindow(UINT command) const;

    // ---- messages --------------------------------------------------------------------------------------------
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr);
    BOOL KillTimer(UINT_PTR id);

    // ---- painting ----------------------------------------------------------------------------------------------
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE);
    void ValidateRect(const RECT* rect);
    void UpdateWindow();
    BOOL RedrawWindow(const RECT* rect = nullptr, HRGN region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    BOOL GetUpdateRect(RECT* rect, BOOL erase = FALSE);
    // A temporary DC wrapper of the client area; give it back with ReleaseDC.
    CDC* GetDC();
    int ReleaseDC(CDC* dc);

    // ---- geometry ----------------------------------------------------------------------------------------------
    void GetClientRect(RECT* rect) const;
    void GetWindowRect(RECT* rect) const;
    void ScreenToClient(POINT* point) const;
    void ScreenToClient(RECT* rect) const;
    void ClientToScreen(POINT* point) const;
    void ClientToScreen(RECT* rect) const;
    void MapWindowPoints(CWnd* to, POINT* points, UINT count) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(const RECT* rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);

    // ---- state and styles --------------------------------------------------------------------------------------
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // Removes then adds style bits; with flags, SetWindowPos(flags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER |
    // SWP_NOACTIVATE) follows so the frame is redrawn. False when nothing changed.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;

    // ---- focus and capture -------------------------------------------------------------------------------------
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    static CWnd* GetCapture();

    // ---- text and font -----------------------------------------------------------------------------------------
    void SetWindowText(const wchar_t* text);
    int GetWindowText(wchar_t* buffer, int size) const;
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int id, const wchar_t* text);
    int GetDlgItemText(int id, CString& text) const;
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
    UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;
    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const;
    int MessageBox(const wchar_t* text, const wchar_t* caption = nullptr, UINT type = MB_OK);

    // ---- message handlers, called by WindowProc with the message's arguments unpacked -----------------------
    // Each default handler calls Default() (or reflects to the child control first, where MFC does).
    virtual int OnCreate(LPCREATESTRUCTW cs);
    virtual void OnDestroy();
    // Default(), then the object lets go of the window (previous window procedure back, out of the map) and
    // PostNcDestroy runs.
    virtual void OnNcDestroy();
    virtual void OnClose();
    virtual void OnPaint();
    virtual BOOL OnEraseBkgnd(CDC* dc);
    // WM_PRINTCLIENT: draw the client area into dc (flags are the PRF_* bits).
    virtual LRESULT OnPrintClient(CDC* dc, UINT flags);
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnShowWindow(BOOL show, UINT status);
    virtual void OnGetMinMaxInfo(MINMAXINFO* info);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnSetFocus(CWnd* oldWnd);
    virtual void OnKillFocus(CWnd* newWnd);
    virtual BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    virtual void OnMouseMove(UINT flags, CPoint point);
    virtual BOOL OnMouseWheel(UINT flags, short delta, CPoint screenPoint);
    virtual void OnLButtonDown(UINT flags, CPoint point);
    virtual void OnLButtonUp(UINT flags, CPoint point);
    virtual void OnLButtonDblClk(UINT flags, CPoint point);
    virtual void OnRButtonDown(UINT flags, CPoint point);
    virtual void OnRButtonUp(UINT flags, CPoint point);
    virtual void OnRButtonDblClk(UINT flags, CPoint point);
    virtual void OnMButtonDown(UINT flags, CPoint point);
    virtual void OnMButtonUp(UINT flags, CPoint point);
    virtual void OnMButtonDblClk(UINT flags, CPoint point);
    virtual void OnCaptureChanged(CWnd* wnd);
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual void OnKeyUp(UINT key, UINT repeat, UINT flags);
    virtual void OnChar(UINT ch, UINT repeat, UINT flags);
    virtual UINT OnGetDlgCode();
    // WM_COMMAND: false when not handled (then the original handling runs). The default reflects control
    // notifications to the control's OnChildNotify.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: false when not handled; *result is the message's result. The default reflects to the sender.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
    virtual void OnMeasureItem(int id, LPMEASUREITEMSTRUCT item);
    // WM_CTLCOLOR*: the brush to paint control wnd with; type is CTLCOLOR_EDIT, CTLCOLOR_STATIC ...
    virtual HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT type);
    virtual void OnContextMenu(CWnd* wnd, CPoint screenPoint);
    virtual BOOL OnHelpInfo(HELPINFO* info);
    virtual void OnHScroll(UINT code, UINT pos, CWnd* scrollBar);
    virtual void OnVScroll(UINT code, UINT pos, CWnd* scrollBar);
    virtual void OnSysCommand(UINT id, LPARAM lParam);
    virtual void OnPaintClipboard(CWnd* clipboardViewer, HGLOBAL paintStruct);
    virtual int OnVKeyToItem(UINT key, CWnd* listBox, UINT index);

protected:
    // The switch of the window procedure: calls the handler of message and stores its result; false for a
    // message it has no handler for. Derived classes extend it for further messages.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Hands a message to the permanent object of child, if any; true when that object handled it.
    static BOOL ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    WNDPROC m_pfnSuper = nullptr;
    HWND m_hWndOwner = nullptr;

private:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend class CDialog;
    bool m_bTemporary = false;
    // Puts this object in front of hWnd's window procedure.
    void hookProcedure(HWND hWnd);
};

// The window procedure of every window that has a permanent CWnd.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Routes the next window created on this thread through wnd (from its first message); AfxUnhookWindowCreate
// ends it and answers whether the window was bound.
void AfxHookWindowCreate(CWnd* wnd);
bool AfxUnhookWindowCreate();

// How deeply window procedures of permanent objects are nested at this moment (0 outside any message).
int afxWndProcDepth();

// A window class of this library with the given class style, cursor, background brush and icon; registered once,
// its name stays valid for the life of the process.
LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                            HICON icon = nullptr);

// What a host's message loop calls before dispatching: PreTranslateMessage from the target window up to its
// top-level window (dialogs run IsDialogMessage there). True when the message was consumed.
BOOL AfxPreTranslateMessage(MSG* msg);
