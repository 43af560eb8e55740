// CMavDlg: the base of every dialog of the library and of the host modules, its environment record and the
// process-wide dialog stack.
#pragma once

#include <windows.h>

#include "afx/CDialog.h"
#include "afx/CMap.h"
#include "afx/CString.h"
#include "base/CMavArray.h"
#include "base/CMavString.h"
#include "base/MavEnums.h"

// The message callback: (key, default text, country) to the text to show. The returned pointer is read at once
// by the caller and may be null.
using MavMsgFcn = const wchar_t* (*)(const wchar_t* key, const wchar_t* def, const wchar_t* country);

// Control id to text, as the dialog's four maps hold them.
using CMavDlgTextMap = CMap<UINT, UINT, CString, const wchar_t*>;

class CMavDlg : public CDialog {
    DECLARE_DYNAMIC(CMavDlg)
public:
    using MsgFcn = MavMsgFcn;

    // The help button every dialog may have; its click handler belongs to the derived dialog.
    enum { IDC_HELP_BUTTON = 9 };

    // A dialog of the template IDD; records whether another dialog of the system is open (isSubDlg).
    explicit CMavDlg(int IDD, CWnd* parent = nullptr);
    ~CMavDlg() override;

    // True when another dialog of the system was open when this one was constructed.
    bool isSubDlg() const { return m_bSubDlg; }
    // Whether the place is saved on destroy and restored on create; before creation to take effect.
    void SavePosition(bool save) { m_bSavePos = save; }
    // The saved place of this dialog's title (left, top, right, bottom in screen pixels); false when none.
    bool getSavedPos(RECT* rect) const;

    // Help file (a path or an address with "<topic>"), its default topic, and opening it.
    void SetHelpFile(const wchar_t* path);
    void GetHelpFile(CString& path);
    void SetHelpTopic(const wchar_t* topic);
    void GetHelpTopic(CString& topic);
    void Help(const wchar_t* topic = nullptr);

    // Language texts of the controls from the language key map; false without a window or message callback.
    virtual bool updLang();
    // Fill the language/default, help and tool-tip maps; empty here, a derived dialog overrides them.
    virtual void addLangRsc();
    virtual void addHlpRsc();
    virtual void addToolTipRsc();
    // The text of key through the message callback (def itself without one); a null country is the dialog's.
    virtual const wchar_t* GetMsg(const wchar_t* key, const wchar_t* def = nullptr, const wchar_t* country = nullptr);
    // A message box whose caption follows the application ("_APPL", "KRV" -> "KARVEN", "MAV" -> "MAVORA").
    virtual int MessageBoxW(const wchar_t* text, const wchar_t* caption = nullptr, int type = MB_OK);
    // The tool-tip text request (TTN_NEEDTEXTW) for the control in header; TRUE when answered.
    virtual BOOL ToolTip(UINT id, NMHDR* header, LRESULT* result);

    // Installs a message callback for every dialog; returns the previous one.
    static MsgFcn SetMsgCallBack(MsgFcn fcn);
    static MsgFcn m_pMsgFcn;

    // The language code texts are looked up in; a different code refreshes the texts of an open dialog.
    const wchar_t* country() const { return m_strCountry; }
    void SetCountry(const wchar_t* code);

    // The position title (the template's caption), the registry key name of the saved place.
    const wchar_t* positionTitle() const { return m_strPosTitle; }

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    int OnCreate(LPCREATESTRUCTW cs) override;
    void OnDestroy() override;
    void OnShowWindow(BOOL show, UINT status) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnPaint() override;
    BOOL OnHelpInfo(HELPINFO* info) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    CMavDlgTextMap m_mapLangKey;    // control id -> message key of its text
    CMavDlgTextMap m_mapHlpKey;     // control id -> message key of its popup help
    CMavDlgTextMap m_mapLangDef;    // control id -> default (German) text
    CMavDlgTextMap m_mapToolTipKey; // control id -> message key of its tool tip
    CString m_strHelpFile;          // file name with extension
    CString m_strHelpDir;           // drive and directory, ending in a backslash when not empty
    CString m_strHelpTopic;
    CString m_strPosTitle;
    CString m_strCountry;
    bool m_bSavePos = true;
    bool m_bSubDlg = false;

private:
    bool isEdit(CWnd* wnd) const;
    CWnd* nextEdit(CWnd* cur) const;
    CWnd* firstEdit(CWnd* cur) const;
    void updHelpButton();
    void savePlace();
    void enableToolTips();
    void relayToToolTip(const MSG& msg) const;
    HWND m_hToolTip = nullptr;
};

namespace MAV {

// The environment with which a host opens a ready-made dialog.
struct DlgEnv_st {
    // Country and number format current now, empty help strings, parent from the dialog stack, else the
    // application's window, else the active window.
    DlgEnv_st();
    DlgEnv_st(const DlgEnv_st&) = default;
    DlgEnv_st& operator=(const DlgEnv_st&) = default;
    // The window object of the parent handle (permanent or temporary), null for a null handle.
    virtual CWnd* parentWnd() const;
    virtual ~DlgEnv_st() = default;

    Mav::lFormat lFormat;
    CMavString country;
    CMavString helpFile;
    CMavString helpTopic;
    HWND hWndParent = nullptr;

    // The application's main window, set by the host.
    static HWND hWndApplic;
};

// The material tree dialog's environment: keyword list, physical property names, drawing materials wanted, names
// beside labels wanted.
struct DlgEnvMatTree_st : DlgEnv_st {
    DlgEnvMatTree_st() = default;
    DlgEnvMatTree_st(const DlgEnvMatTree_st&) = default;
    DlgEnvMatTree_st& operator=(const DlgEnvMatTree_st&) = default;

    CMavArrayTempl<CMavString> keywords;
    CMavArrayTempl<CMavString> physNames;
    bool drawingMaterials = false;
    bool namesBesideLabels = false;
};

// The dialog stack: the windows of the open dialogs of the system, last opened on top.
void dlgStackPush(HWND hWnd);
// Removes and returns the top; null when empty.
HWND dlgStackPop();

// The library's default message function: the catalogue text of key ("prefix\KEY\suffix" frames it), def when
// the catalogue has none; country "0" gives key itself. A result stays valid for eight further calls.
const wchar_t* msgFcnDefault(const wchar_t* key, const wchar_t* def, const wchar_t* country);

// Opens a help topic: "name\topic" or a plain topic of the help "Mav"; false when no help file is known.
bool help(const wchar_t* request);

// HTML Help's entry point and the shell's open call; tests replace them to record the calls. The default HTML Help
// loads hhctrl.ocx on first use and does nothing when it is missing. Each setter returns the previous function;
// null puts the default back.
using HtmlHelpFcn = HWND(WINAPI*)(HWND owner, LPCWSTR file, UINT command, DWORD_PTR data);
using ShellExecuteFcn = HINSTANCE(WINAPI*)(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR params, LPCWSTR dir,
                                           INT show);
HtmlHelpFcn htmlHelpSet(HtmlHelpFcn fcn);
ShellExecuteFcn shellExecuteSet(ShellExecuteFcn fcn);
HWND htmlHelp(HWND owner, LPCWSTR file, UINT command, DWORD_PTR data);

// Opens a help file or address at a topic: an address ("http...") with every "<topic>" replaced through the shell,
// a file through HTML Help (the topic page, then the keyword lookup of the topic).
void helpOpen(const wchar_t* file, const wchar_t* topic);

// The About box: the system-menu command that opens it, the helper that adds it to a dialog's system menu, the
// hook a dialog's OnSysCommand calls (true when it was the About command), and the box itself.
enum { IDM_ABOUTBOX = 16 };
void aboutMenuAdd(CWnd* dialog, const wchar_t* country = nullptr);
bool aboutOnSysCommand(CWnd* dialog, UINT command, const wchar_t* country = nullptr);
INT_PTR aboutBox(CWnd* parent, const wchar_t* country = nullptr);

} // namespace MAV
