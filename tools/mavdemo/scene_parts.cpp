// The parts scene: a host's parts list in a CMavListCtrl whose length and width cells open a length field and
// whose name and quantity cells open a text and an integer field, and the language combo box set to the scene's
// language. The list is driven by mouse and keyboard messages as a user would: select a row, click its length,
// type a new value; the picture is taken with the field still open.
#include "scene_parts.h"

#include <cstdio>
#include <vector>

#include "afx/afxwin.h"
#include "png_write.h"
#include "scene_modal.h"
#include "ui/CMavComboCountryBox.h"
#include "ui/CMavEdit.h"
#include "ui/CMavListCtrl.h"

namespace mavdemo {
namespace {

enum { kName, kLength, kWidth, kCount };

// The host's own texts, German and English.
struct Texts {
    const wchar_t* country;
    const wchar_t* title;
    const wchar_t* columns[4];
    const wchar_t* rows[4];
    const wchar_t* language;
};

const Texts kTexts[] = {
    {L"de", L"St\u00fcckliste", {L"Bezeichnung", L"L\u00e4nge", L"Breite", L"Anzahl"},
     {L"Seitenwand", L"Boden", L"R\u00fcckwand", L"Fachboden"}, L"Sprache:"},
    {L"en", L"Parts list", {L"Name", L"Length", L"Width", L"Quantity"},
     {L"Side panel", L"Bottom", L"Back panel", L"Shelf"}, L"Language:"},
};

const int kSizes[4][3] = {{720, 560, 2}, {564, 560, 1}, {716, 596, 1}, {562, 540, 2}};

// Every cell may be edited; lengths and widths are lengths in millimetres, the quantity a positive integer.
class PartsList : public CMavListCtrl {
public:
    int OnAllowEdit(LVHITTESTINFO*) override { return 1; }
    void OnInitEditCtrl(LVHITTESTINFO* hit, CMavEdit* edit) override
    {
        // A thin frame shows which cell is open.
        edit->ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED);
        if (hit->iSubItem == kLength || hit->iSubItem == kWidth)
            edit->setEditFlags(CMavEdit::typeLength, CMavEdit::flagRequired | CMavEdit::flagNoNegative | CMavEdit::flagLimits, 1,
                               1.0, 3000.0);
        else if (hit->iSubItem == kCount)
            edit->setEditFlags(CMavEdit::typeInt, CMavEdit::flagRequired | CMavEdit::flagNoZero | CMavEdit::flagLimits, 0,
                               1.0, 999.0);
    }
    int OnEndItemEdit(CMavEdit*) override { return 1; }
};

LRESULT CALLBACK frameProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProcW(wnd, msg, wp, lp);
}

HWND child(HWND frame, const wchar_t* cls, const wchar_t* text, DWORD style, int id, int x, int y, int w, int h)
{
    HWND wnd = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, frame,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return wnd;
}

bool runOne(HINSTANCE instance, const Texts& t, const std::wstring& path)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = frameProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"MavDemoPartsScene";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&wc); // a second registration fails harmlessly
    const int width = 420, height = 230;
    HWND frame = CreateWindowExW(0, wc.lpszClassName, t.title, WS_POPUP | WS_VISIBLE, 60, 60, width, height, nullptr,
                                 nullptr, instance, nullptr);
    if (!frame) {
        std::fprintf(stderr, "mavdemo: no window for the parts scene (error %lu)\n", GetLastError());
        return false;
    }
    HWND listWnd = child(frame, WC_LISTVIEWW, L"", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER, 1201,
                         10, 10, 400, 150);
    child(frame, L"STATIC", t.language, SS_LEFT, 1202, 10, 178, 80, 20);
    HWND comboWnd = child(frame, L"COMBOBOX", L"", CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL, 1203, 95, 174, 160, 200);

    bool ok = false;
    {
        PartsList list;
        CMavComboCountryBox languages;
        list.SubclassWindow(listWnd);
        languages.SubclassWindow(comboWnd);
        languages.SelectCountry(t.country);
        list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        const int widths[4] = {150, 85, 85, 70};
        for (int c = 0; c < 4; ++c)
            list.InsertColumn(c, t.columns[c], c == kName ? LVCFMT_LEFT : LVCFMT_RIGHT, widths[c]);
        for (int r = 0; r < 4; ++r) {
            list.InsertItem(r, t.rows[r]);
            for (int c = 1; c < 4; ++c)
                list.SetItemText(r, c, std::to_wstring(kSizes[r][c - 1]).c_str());
        }
        pump();

        // The user selects the bottom, clicks its length and types a new one.
        CRect cell;
        list.GetSubItemRect(1, kLength, LVIR_LABEL, &cell);
        const LPARAM at = MAKELPARAM(cell.CenterPoint().x, cell.CenterPoint().y);
        for (int click = 0; click < 2; ++click) {
            list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
            list.SendMessage(WM_LBUTTONUP, 0, at);
            pump();
        }
        CMavEdit* edit = list.GetEditCtrl();
        if (edit) {
            for (wchar_t ch : std::wstring(L"580"))
                edit->SendMessage(WM_CHAR, ch, 1);
            pump();
        }
        RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        pump();

        HDC dc = GetDC(frame);
        ok = edit && languages.GetCountry() && saveDcAsPng(dc, width, height, path);
        ReleaseDC(frame, dc);
        std::printf("mavdemo: wrote %ls (language %ls, editing row %d column %d)\n", path.c_str(),
                    languages.GetCountry() ? languages.GetCountry() : L"-", list.GetEditItem(),
                    list.GetEditSubItem());
        std::fflush(stdout);
    }
    DestroyWindow(frame);
    pump();
    return ok;
}

} // namespace

bool runPartsScene(HINSTANCE instance, const std::wstring& outDir)
{
    bool ok = true;
    for (const Texts& t : kTexts)
        ok = runOne(instance, t, outDir + L"\\parts_scene_" + t.country + L".png") && ok;
    return ok;
}

} // namespace mavdemo
