// The tabbed cabinet dialog of the demo. A host dialog holds a CMavTabCtrl with three pages; the dimensions are
// stored in millimetres and shown in feet and inches, the angle in degrees, the shelf count takes the key word
// "auto"; the material page offers standard widths in a combo box with every other row shaded. The texts come
// from the demo's own keys through the message callback, in the dialog's language.
#include "scene_tabs.h"

#include <cfloat>
#include <cstdio>
#include <cwchar>
#include <initializer_list>

#include "afx/afxwin.h"
#include "base/CMavString.h"
#include "data/messages.h"
#include "png_write.h"
#include "scene_modal.h"
#include "resource.h"
#include "ui/CMavComboBox.h"
#include "ui/CMavDlg.h"
#include "ui/CMavEdit.h"
#include "ui/CMavTabCtrl.h"
#include "ui/CMavTabPage.h"

namespace mavdemo {
namespace {

// The demo's texts: key, German, English.
struct DemoText {
    const wchar_t* key;
    const wchar_t* de;
    const wchar_t* en;
};
const DemoText kTexts[] = {
    {L"DEMO_CAB_TITLE", L"Schrank", L"Cabinet"},
    {L"DEMO_CAB_TAB_DIM", L"Ma\u00DFe", L"Dimensions"},
    {L"DEMO_CAB_TAB_MAT", L"Material", L"Material"},
    {L"DEMO_CAB_TAB_DRILL", L"Bohrungen", L"Drillings"},
    {L"DEMO_CAB_WIDTH", L"Breite", L"Width"},
    {L"DEMO_CAB_HEIGHT", L"H\u00F6he", L"Height"},
    {L"DEMO_CAB_DEPTH", L"Tiefe", L"Depth"},
    {L"DEMO_CAB_ANGLE", L"T\u00FCrwinkel", L"Door angle"},
    {L"DEMO_CAB_SHELVES", L"B\u00F6den", L"Shelves"},
    {L"DEMO_CAB_STDWIDTH", L"Normbreite", L"Standard width"},
    {L"DEMO_CAB_THICK", L"Plattenst\u00E4rke", L"Board thickness"},
    {L"DEMO_CAB_HELP", L"Hilfe", L"Help"},
    {L"DEMO_CAB_CANCEL", L"Abbrechen", L"Cancel"},
};

CMavDlg::MsgFcn s_libraryFcn = nullptr;

const wchar_t* demoMsg(const wchar_t* key, const wchar_t* def, const wchar_t* country)
{
    for (const DemoText& t : kTexts)
        if (key && std::wcscmp(key, t.key) == 0)
            return country && std::wcscmp(country, L"en") == 0 ? t.en : t.de;
    return s_libraryFcn ? s_libraryFcn(key, def, country) : def;
}

const wchar_t* demoText(const wchar_t* key, const wchar_t* country)
{
    return demoMsg(key, nullptr, country);
}

class CabinetDlg : public CMavDlg {
public:
    CabinetDlg() : CMavDlg(IDD_MAV_SAMPLE_TABS) {}
    void addLangRsc() override
    {
        m_mapLangKey.SetAt(IDCANCEL, L"DEMO_CAB_CANCEL");
        m_mapLangKey.SetAt(IDC_HELP_BUTTON, L"DEMO_CAB_HELP");
    }
};

class DimPage : public CMavTabPage {
public:
    DimPage() : CMavTabPage(IDD_MAV_SAMPLE_PAGE_DIM) {}
    CMavEdit width, height, depth, angle, shelves;
    void addLangRsc() override
    {
        m_mapLangKey.SetAt(IDC_SAMPLE_WIDTH_LABEL, L"DEMO_CAB_WIDTH");
        m_mapLangKey.SetAt(IDC_SAMPLE_HEIGHT_LABEL, L"DEMO_CAB_HEIGHT");
        m_mapLangKey.SetAt(IDC_SAMPLE_DEPTH_LABEL, L"DEMO_CAB_DEPTH");
        m_mapLangKey.SetAt(IDC_SAMPLE_ANGLE_LABEL, L"DEMO_CAB_ANGLE");
        m_mapLangKey.SetAt(IDC_SAMPLE_SHELVES_LABEL, L"DEMO_CAB_SHELVES");
    }
    BOOL OnInitDialog() override
    {
        CMavTabPage::OnInitDialog();
        // Lengths in millimetres, shown in feet and inches; at least a foot wide, at most eight feet.
        CMavEdit* lengths[] = {&width, &height, &depth};
        const int ids[] = {IDC_SAMPLE_WIDTH, IDC_SAMPLE_HEIGHT, IDC_SAMPLE_DEPTH};
        const double values[] = {609.6, 876.3, 584.2};
        for (int i = 0; i < 3; ++i) {
            lengths[i]->SubclassDlgItem(ids[i], this);
            lengths[i]->setEditFlags(CMavEdit::typeLength, 0x002F, 1, 304.8, 2438.4);
            lengths[i]->setFormat(Mav::kFormatArchitectural);
            lengths[i]->setLUnits(Mav::kUnitsMillimeters, Mav::kUnitsInches);
            lengths[i]->setVal(values[i]);
        }
        angle.SubclassDlgItem(IDC_SAMPLE_ANGLE, this);
        angle.setEditFlags(CMavEdit::typeAngle, 0x0029, 1, 0.0, 3.14159265358979323846);
        angle.setVal(3.14159265358979323846 / 2);
        shelves.SubclassDlgItem(IDC_SAMPLE_SHELVES, this);
        shelves.setEditFlags(CMavEdit::typeInt, 0x0025, 0, 0, 0);
        shelves.setKey(L"auto", -1.0);
        shelves.setVal(-1);
        return FALSE;
    }
};

class MatPage : public CMavTabPage {
public:
    MatPage() : CMavTabPage(IDD_MAV_SAMPLE_PAGE_MAT) {}
    CMavComboBox stdWidth, thick;
    void addLangRsc() override
    {
        m_mapLangKey.SetAt(IDC_SAMPLE_STDWIDTH_LABEL, L"DEMO_CAB_STDWIDTH");
        m_mapLangKey.SetAt(IDC_SAMPLE_THICK_LABEL, L"DEMO_CAB_THICK");
    }
    BOOL OnInitDialog() override
    {
        CMavTabPage::OnInitDialog();
        stdWidth.SubclassDlgItem(IDC_SAMPLE_STDWIDTH, this);
        stdWidth.setEditFlags(CMavComboBox::typeLength, 0x0029, 0, 304.8, 1219.2);
        stdWidth.setFormat(Mav::kFormatArchitectural);
        stdWidth.setLUnits(Mav::kUnitsMillimeters, Mav::kUnitsInches);
        for (double inches : {12.0, 15.0, 18.0, 21.0, 24.0, 30.0, 36.0})
            stdWidth.AddVal(inches * 25.4);
        stdWidth.setAltBackgr({1, 3, 5});
        stdWidth.setVal(24.0 * 25.4);
        thick.SubclassDlgItem(IDC_SAMPLE_THICK, this);
        thick.setEditFlags(CMavComboBox::typeLength, 0x000B, 1, 8.0, 40.0);
        for (double mm : {16.0, 19.0, 22.0, 25.0})
            thick.AddVal(mm);
        thick.setVal(19.0);
        return FALSE;
    }
};

class DrillPage : public CMavTabPage {
public:
    DrillPage() : CMavTabPage(IDD_MAV_SAMPLE_PAGE_DRILL) {}
};

RECT windowRect(HWND h)
{
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

// The windows, each copied from its own window DC (which holds what was last drawn, unlike the screen, which the
// display may not have caught up with) to its place in the rectangle around all of them, as a PNG.
bool saveWindows(std::initializer_list<HWND> windows, const std::wstring& path)
{
    RECT area{};
    for (HWND h : windows) {
        const RECT r = windowRect(h);
        UnionRect(&area, &area, &r);
    }
    const int w = area.right - area.left, h = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(mem, bmp);
    PatBlt(mem, 0, 0, w, h, WHITENESS);
    for (HWND window : windows) {
        const RECT r = windowRect(window);
        HDC dc = GetWindowDC(window);
        BitBlt(mem, r.left - area.left, r.top - area.top, r.right - r.left, r.bottom - r.top, dc, 0, 0, SRCCOPY);
        ReleaseDC(window, dc);
    }
    const bool ok = w > 0 && h > 0 && saveDcAsPng(mem, w, h, path);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    if (ok)
        std::printf("mavdemo: wrote %ls\n", path.c_str());
    else
        std::fprintf(stderr, "mavdemo: cannot write %ls\n", path.c_str());
    std::fflush(stdout);
    return ok;
}

// The error box is photographed from inside its own modal loop: a thread timer fires once the box has painted.
std::wstring s_errorPng;
RECT s_errorArea{};
HWND s_errorDialog = nullptr;
bool s_errorSaved = false;

BOOL CALLBACK findBox(HWND h, LPARAM out)
{
    wchar_t cls[16] = {};
    GetClassNameW(h, cls, 16);
    if (std::wcscmp(cls, L"#32770") == 0 && GetDlgItem(h, 0xFFFF) && IsWindowVisible(h)) {
        *reinterpret_cast<HWND*>(out) = h;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK shootBox(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findBox, reinterpret_cast<LPARAM>(&box));
    if (!box)
        return;
    // The box opens in the middle of the screen; it is moved over the dialog's lower half so that one
    // picture shows both.
    SetWindowPos(box, nullptr, s_errorArea.left + 60, s_errorArea.top + 170, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
    s_errorSaved = saveWindows({s_errorDialog, box}, s_errorPng);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

bool runLanguage(HINSTANCE, const std::wstring& outDir, const wchar_t* lang)
{
    MAV::msgLangSet(lang);
    CWnd owner;
    owner.CreateEx(0, nullptr, L"CabinetOwner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
    CabinetDlg dlg;
    dlg.SavePosition(false);
    dlg.SetCountry(lang);
    if (!dlg.Create(IDD_MAV_SAMPLE_TABS, &owner)) {
        std::fprintf(stderr, "mavdemo: the cabinet dialog was not created\n");
        return false;
    }
    dlg.SetWindowText(demoText(L"DEMO_CAB_TITLE", lang));
    dlg.SetWindowPos(nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    dlg.ShowWindow(SW_SHOW);
    CMavTabCtrl tab;
    tab.SubclassDlgItem(IDC_SAMPLE_TAB, &dlg);
    DimPage dim;
    MatPage mat;
    DrillPage drill;
    tab.InsertItem(0, demoText(L"DEMO_CAB_TAB_DIM", lang), &dim, IDD_MAV_SAMPLE_PAGE_DIM);
    tab.InsertItem(1, demoText(L"DEMO_CAB_TAB_MAT", lang), &mat, IDD_MAV_SAMPLE_PAGE_MAT);
    tab.InsertItem(2, demoText(L"DEMO_CAB_TAB_DRILL", lang), &drill, IDD_MAV_SAMPLE_PAGE_DRILL);
    tab.EnableTab(2, false);
    pump();
    dlg.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
    ::SetFocus(dim.height.m_hWnd);
    pump();
    bool ok = saveWindows({dlg.m_hWnd}, outDir + L"\\tabs_dim_" + lang + L".png");

    // A width below the minimum of one foot: typed, then the focus moves on.
    ::SetFocus(dim.width.m_hWnd);
    for (const wchar_t* p = L"10\""; *p; ++p)
        dim.width.SendMessage(WM_CHAR, *p, 1);
    pump();
    s_errorPng = outDir + L"\\tabs_error_" + lang + L".png";
    s_errorArea = windowRect(dlg.m_hWnd);
    s_errorDialog = dlg.m_hWnd;
    s_errorSaved = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, shootBox);
    ::SetFocus(dim.height.m_hWnd);
    KillTimer(nullptr, timer);
    ok = s_errorSaved && ok;
    pump();

    tab.SetCurSel(1);
    mat.stdWidth.SetCurSel(4);
    mat.stdWidth.ShowDropDown(TRUE);
    pump();
    dlg.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(mat.stdWidth.m_hWnd, &info);
    if (info.hwndList)
        RedrawWindow(info.hwndList, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    pump();
    const std::wstring matPng = outDir + L"\\tabs_material_" + lang + L".png";
    if (info.hwndList && IsWindowVisible(info.hwndList))
        ok = saveWindows({dlg.m_hWnd, info.hwndList}, matPng) && ok;
    else
        ok = saveWindows({dlg.m_hWnd}, matPng) && ok;
    mat.stdWidth.ShowDropDown(FALSE);

    tab.DeleteAllItems();
    dlg.DestroyWindow();
    owner.DestroyWindow();
    pump();
    return ok;
}

} // namespace

bool runTabsScene(HINSTANCE instance, const std::wstring& outDir)
{
    s_libraryFcn = CMavDlg::SetMsgCallBack(&demoMsg);
    const CMavString saved(MAV::msgLangSet(nullptr));
    bool ok = runLanguage(instance, outDir, L"de");
    ok = runLanguage(instance, outDir, L"en") && ok;
    MAV::msgLangSet(saved);
    CMavDlg::SetMsgCallBack(s_libraryFcn);
    return ok;
}

} // namespace mavdemo
