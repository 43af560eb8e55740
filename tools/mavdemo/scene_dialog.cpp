// The dialog scenes of the demo. The host brings its own texts (a small catalogue in German and English) and its
// own dialog template; the library's dialog base puts the texts in, shows the tool tip and adds the About box to
// the system menu. Snapshots are taken from the screen, so that the tool tip (a window of its own) is in them.
#include "scene_dialog.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <utility>

#include "afx/afxwin.h"
#include "data/messages.h"
#include "demo_resource.h"
#include "png_write.h"
#include "scene_modal.h"
#include "ui/CMavDlg.h"

namespace mavdemo {
namespace {

const char kGerman[] = "DEMO_CAB_000=Schrank\n"
                       "DEMO_CAB_001=Breite\n"
                       "DEMO_CAB_002=Höhe\n"
                       "DEMO_CAB_003=Tiefe\n"
                       "DEMO_CAB_004=Mit Sockel\n"
                       "DEMO_CAB_011=Außenbreite des Korpus in mm\n";
const char kEnglish[] = "DEMO_CAB_000=Cabinet\n"
                        "DEMO_CAB_001=Width\n"
                        "DEMO_CAB_002=Height\n"
                        "DEMO_CAB_003=Depth\n"
                        "DEMO_CAB_004=With plinth\n"
                        "DEMO_CAB_011=Outer width of the carcass in mm\n";

class CCabinetDlg : public CMavDlg {
public:
    CCabinetDlg() : CMavDlg(IDD_DEMO_CABINET) {}
    ~CCabinetDlg() override
    {
        if (m_hWnd)
            DestroyWindow();
    }

    bool updLang() override
    {
        const bool ok = CMavDlg::updLang();
        if (m_hWnd)
            SetWindowText(CString(GetMsg(L"DEMO_CAB_000", L"Schrank")));
        return ok;
    }
    void OnSysCommand(UINT id, LPARAM lParam) override
    {
        if (!MAV::aboutOnSysCommand(this, id))
            CMavDlg::OnSysCommand(id, lParam);
    }

protected:
    void addLangRsc() override
    {
        const struct {
            UINT id;
            const wchar_t* key;
            const wchar_t* def;
        } texts[] = {{IDC_CAB_WIDTH_LABEL, L"DEMO_CAB_001", L"Breite"},
                     {IDC_CAB_HEIGHT_LABEL, L"DEMO_CAB_002", L"Höhe"},
                     {IDC_CAB_DEPTH_LABEL, L"DEMO_CAB_003", L"Tiefe"},
                     {IDC_CAB_PLINTH, L"DEMO_CAB_004", L"Mit Sockel"},
                     {IDOK, L"DLG_001", L"OK"},
                     {IDCANCEL, L"DLG_002", L"Abbrechen"}};
        for (const auto& t : texts) {
            m_mapLangKey.SetAt(t.id, t.key);
            m_mapLangDef.SetAt(t.id, t.def);
        }
    }
    void addToolTipRsc() override { m_mapToolTipKey.SetAt(IDC_CAB_WIDTH, L"DEMO_CAB_011"); }
    BOOL OnInitDialog() override
    {
        for (int i = 0; i < 3; ++i)
            m_edits[i].SubclassDlgItem(static_cast<UINT>(IDC_CAB_WIDTH + 2 * i), this);
        CMavDlg::OnInitDialog();
        MAV::aboutMenuAdd(this);
        return TRUE;
    }

private:
    CEdit m_edits[3];
};


HWND toolTipOf(HWND dialog)
{
    for (HWND h = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); h;
         h = FindWindowExW(nullptr, h, TOOLTIPS_CLASSW, nullptr))
        if (GetWindow(h, GW_OWNER) == dialog)
            return h;
    return nullptr;
}

// Puts the mouse on the control and waits (at most two seconds) for the tool-tip window to show the tip, as it
// does after its initial delay; where the tip does not come by itself it is shown in tracking mode at the same
// place. Either way its text is asked from the dialog.
bool showTip(HWND dialog, int control)
{
    HWND tip = toolTipOf(dialog);
    HWND target = GetDlgItem(dialog, control);
    if (!tip || !target)
        return false;
    RECT r{};
    GetWindowRect(target, &r);
    // Near the field's right end, so that the tip hangs out to the right rather than over the next field.
    const POINT at{r.right - 6, (r.top + r.bottom) / 2};
    SetCursorPos(at.x, at.y);
    POINT local = at;
    ScreenToClient(target, &local);
    PostMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(local.x, local.y));
    for (int i = 0; i < 40 && !IsWindowVisible(tip); ++i) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        pump();
    }
    if (!IsWindowVisible(tip)) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = dialog;
        tool.uId = reinterpret_cast<UINT_PTR>(target);
        if (SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) {
            tool.uFlags |= TTF_TRACK | TTF_ABSOLUTE;
            tool.lpszText = LPSTR_TEXTCALLBACKW;
            SendMessageW(tip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool));
            SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, r.bottom + 4));
            SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
        }
        pump();
    }
    if (IsWindowVisible(tip))
        RedrawWindow(tip, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return IsWindowVisible(tip) != FALSE;
}

// Ends the tracking and hides the tip.
void hideTip(HWND dialog, int control)
{
    HWND tip = toolTipOf(dialog);
    if (!tip)
        return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, control));
    SendMessageW(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip, TTM_POP, 0, 0);
}

RECT unionWithTip(HWND dialog)
{
    RECT all{};
    GetWindowRect(dialog, &all);
    HWND tip = toolTipOf(dialog);
    if (tip && IsWindowVisible(tip)) {
        RECT t{};
        GetWindowRect(tip, &t);
        UnionRect(&all, &all, &t);
    }
    InflateRect(&all, 4, 4);
    return all;
}

struct AboutShot {
    std::wstring path;
    bool saved = false;
    int ticks = 0;
};
AboutShot* g_about = nullptr;

// Runs inside the About box's modal loop: once the box is up, snapshot it and press OK; a box that never comes
// ends the loop after two seconds.
void CALLBACK aboutTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (!g_about)
        return;
    HWND box = GetActiveWindow();
    wchar_t cls[16] = {};
    GetClassNameW(box, cls, 16);
    if (box && std::wcscmp(cls, L"#32770") == 0 && GetDlgItem(box, IDOK) && IsWindowVisible(box)) {
        RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT r{};
        GetWindowRect(box, &r);
        InflateRect(&r, 4, 4);
        g_about->saved = saveScreenAsPng(r, g_about->path);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        g_about = nullptr;
    } else if (++g_about->ticks > 40) {
        PostQuitMessage(1);
        g_about = nullptr;
    }
}

} // namespace

bool runDialogScene(const std::wstring& outDir)
{
    MAV::msgLoadText(L"de", kGerman, sizeof kGerman - 1);
    MAV::msgLoadText(L"en", kEnglish, sizeof kEnglish - 1);

    CCabinetDlg dlg;
    dlg.SavePosition(false);
    dlg.SetCountry(L"de");
    dlg.SetHelpFile(L"https://help.example/cabinet/<topic>");
    if (!dlg.Create(IDD_DEMO_CABINET)) {
        std::fprintf(stderr, "mavdemo: cannot create the cabinet dialog (error %lu)\n", GetLastError());
        return false;
    }
    SetWindowPos(dlg.m_hWnd, HWND_TOP, 60, 60, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    dlg.SetDlgItemText(IDC_CAB_WIDTH, L"600");
    dlg.SetDlgItemText(IDC_CAB_HEIGHT, L"720");
    dlg.SetDlgItemText(IDC_CAB_DEPTH, L"560");
    dlg.CheckDlgButton(IDC_CAB_PLINTH, BST_CHECKED);
    SetForegroundWindow(dlg.m_hWnd);
    SetFocus(GetDlgItem(dlg.m_hWnd, IDC_CAB_WIDTH));
    pump();

    bool ok = true;
    const struct {
        const wchar_t* country;
        const wchar_t* file;
    } shots[] = {{L"de", L"\\dialog_cabinet_de.png"}, {L"en", L"\\dialog_cabinet_en.png"}};
    for (const auto& shot : shots) {
        dlg.SetCountry(shot.country);
        hideTip(dlg.m_hWnd, IDC_CAB_WIDTH);
        RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        if (!showTip(dlg.m_hWnd, IDC_CAB_WIDTH))
            std::fprintf(stderr, "mavdemo: the tool tip did not show (%ls)\n", shot.country);
        ok = saveScreenAsPng(unionWithTip(dlg.m_hWnd), outDir + shot.file) && ok;
    }
    hideTip(dlg.m_hWnd, IDC_CAB_WIDTH);
    pump();

    // The About box, from the dialog's system menu command, in both languages.
    bool aboutOk = true;
    const std::pair<const wchar_t*, const wchar_t*> aboutShots[] = {{L"de", L"\\about_box_de.png"},
                                                                    {L"en", L"\\about_box_en.png"}};
    for (const auto& shot : aboutShots) {
        dlg.SetCountry(shot.first);
        AboutShot about;
        about.path = outDir + shot.second;
        g_about = &about;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, &aboutTimer);
        SendMessageW(dlg.m_hWnd, WM_SYSCOMMAND, MAV::IDM_ABOUTBOX, 0);
        KillTimer(nullptr, timer);
        g_about = nullptr;
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        if (!about.saved)
            std::fprintf(stderr, "mavdemo: the About box did not show (%ls)\n", shot.first);
        aboutOk = aboutOk && about.saved;
    }
    dlg.DestroyWindow();
    return ok && aboutOk;
}

} // namespace mavdemo
