// mavsoak: opens and closes every dialog of the library a thousand times, paints every control ten thousand times
// with a changing zoom and writes a thousand metafiles, and compares the process's resources before and after each
// part: GDI and USER objects as the system counts them, the handles the afx GDI wrappers hold, the windows of this
// thread and the private bytes. A part whose counts grow beyond a small constant fails; the program exits non-zero.
//
// The parts are rows of tables: a dialog is added with one row naming it and a function that opens and closes it
// once (modalOnce<Dialog> for a CMavDlg shown with DoModal). Modal loops are ended from a CBT hook and a watchdog
// timer, so no round can wait forever.
//
// mavsoak [divisor]: every count divided by divisor (default 1) for a quick pass.
#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "afx/CGdiObject.h"
#include "afx/CWinApp.h"
#include "base/CMavArray.h"
#include "base/CMavVertexArray.h"
#include "data/CMavColor.h"
#include "gdx/CMavGDX.h"
#include "render/CMavDplistImage.h"
#include "render/CMavPicture.h"
#include "render/CMavSlidePic.h"
#include "render/CMavVllImage.h"
#include "render/MavRender.h"
#include "resource.h"
#include "ui/CMavAboutDlg.h"
#include "ui/CMavComboBox.h"
#include "ui/CMavDlg.h"
#include "ui/CMavFileDialog.h"
#include "ui/CMavListCtrl.h"
#include "ui/CMavTabCtrl.h"
#include "ui/CMavTabPage.h"
#include "mav_test_data.h"

namespace {

// ---- measuring ------------------------------------------------------------------------------------------------------

struct Counts {
    long gdi = 0;       // GetGuiResources(GR_GDIOBJECTS)
    long user = 0;      // GetGuiResources(GR_USEROBJECTS)
    long afxGdi = 0;    // handles created through the afx wrappers and not deleted
    long windows = 0;   // windows of this thread, children included
    long long bytes = 0; // committed private memory
};

// Committed private memory of the process, walked region by region: the system's own counter (PrivateUsage) is
// left at zero by Wine, and a walk counts the same on both.
long long privateBytes()
{
    long long total = 0;
    MEMORY_BASIC_INFORMATION mbi{};
    const char* at = nullptr;
    while (::VirtualQuery(at, &mbi, sizeof mbi) == sizeof mbi) {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE)
            total += static_cast<long long>(mbi.RegionSize);
        const char* next = static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return total;
}

BOOL CALLBACK countChild(HWND, LPARAM n)
{
    ++*reinterpret_cast<long*>(n);
    return TRUE;
}

BOOL CALLBACK countTop(HWND w, LPARAM n)
{
    ++*reinterpret_cast<long*>(n);
    ::EnumChildWindows(w, &countChild, n);
    return TRUE;
}

void pump()
{
    MSG msg;
    for (int round = 0; round < 3; ++round)
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!AfxPreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
}

Counts measure()
{
    pump();
    Counts c;
    c.gdi = static_cast<long>(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
    c.user = static_cast<long>(::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS));
    c.afxGdi = CGdiObject::GetLiveCount();
    ::EnumThreadWindows(::GetCurrentThreadId(), &countTop, reinterpret_cast<LPARAM>(&c.windows));
    c.bytes = privateBytes();
    return c;
}

// How much a part may grow: a few objects for caches filled on the way (fonts, brushes kept for the next paint),
// and private bytes a heap may keep without a leak behind them (less than 300 bytes a round over a thousand).
constexpr long kObjects = 4;
constexpr long long kBytes = 320 * 1024;

bool g_failed = false;

struct Growth {
    bool gdi, windows, bytes;
};
Growth g_last{};

// Runs once() rounds times after a warm-up of a few rounds (first-time loads are no leak) and reports the growth.
void soak(const char* part, const char* name, int rounds, void (*once)(int))
{
    const int warm = rounds < 20 ? 1 : 10;
    for (int i = 0; i < warm; ++i)
        once(i);
    const Counts a = measure();
    const DWORD start = ::GetTickCount();
    for (int i = 0; i < rounds; ++i)
        once(i);
    const DWORD ms = ::GetTickCount() - start;
    const Counts b = measure();
    const bool ok = b.gdi - a.gdi <= kObjects && b.user - a.user <= kObjects && b.afxGdi - a.afxGdi <= kObjects &&
                    b.windows - a.windows <= 0 && b.bytes - a.bytes <= kBytes;
    g_failed = g_failed || !ok;
    g_last = {b.afxGdi - a.afxGdi > kObjects, b.windows - a.windows > 0, b.bytes - a.bytes > kBytes};
    std::printf("%-8s %-28s %6d x  gdi %4ld -> %-4ld user %4ld -> %-4ld afx-gdi %3ld -> %-3ld windows %3ld -> %-3ld "
                "private %7lld -> %-7lld KB (%+lld B)  %6lu ms  %s\n",
                part, name, rounds, a.gdi, b.gdi, a.user, b.user, a.afxGdi, b.afxGdi, a.windows, b.windows,
                a.bytes / 1024, b.bytes / 1024, b.bytes - a.bytes, static_cast<unsigned long>(ms), ok ? "ok" : "GROWS");
    std::fflush(stdout);
}

// ---- ending modal loops -----------------------------------------------------------------------------------------------

// While a round runs a modal dialog, the CBT hook posts `command` to the first dialog window activated; a
// watchdog timer ends a modal loop that is still running two seconds later with WM_QUIT and marks the failure.
struct ModalCloser {
    static inline HHOOK hook = nullptr;
    static inline WPARAM command = IDCANCEL;
    static inline HWND closed = nullptr;
    static inline bool timedOut = false;

    static LRESULT CALLBACK cbt(int code, WPARAM wParam, LPARAM lParam)
    {
        wchar_t cls[16] = {};
        HWND w = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_ACTIVATE && !closed && ::GetClassNameW(w, cls, 16) && std::wstring(cls) == L"#32770") {
            closed = w;
            ::PostMessageW(w, WM_COMMAND, command, 0);
        }
        return ::CallNextHookEx(hook, code, wParam, lParam);
    }
    static void CALLBACK watchdog(HWND, UINT, UINT_PTR, DWORD)
    {
        timedOut = true;
        ::PostQuitMessage(0);
    }

    UINT_PTR timer = 0;
    explicit ModalCloser(WPARAM cmd)
    {
        command = cmd;
        closed = nullptr;
        hook = ::SetWindowsHookExW(WH_CBT, &cbt, nullptr, ::GetCurrentThreadId());
        timer = ::SetTimer(nullptr, 0, 2000, &watchdog);
    }
    ~ModalCloser()
    {
        ::KillTimer(nullptr, timer);
        ::UnhookWindowsHookEx(hook);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        if (!closed || timedOut) {
            std::printf("a modal dialog was not closed by its hook%s\n", timedOut ? " (watchdog)" : "");
            g_failed = true;
            timedOut = false;
        }
    }
};

// ---- the dialogs ------------------------------------------------------------------------------------------------------

// A CMavDlg on one of the library's templates, shown modally and cancelled.
template <UINT IDD>
struct TemplateDlg : CMavDlg {
    TemplateDlg() : CMavDlg(IDD) { SavePosition(false); }
};

template <class Dialog>
void modalOnce(int)
{
    Dialog dlg;
    ModalCloser close(IDCANCEL);
    dlg.DoModal();
}

// The About box from the system menu of a modeless host, closed with OK.
struct AboutHost : CMavDlg {
    AboutHost() : CMavDlg(IDD_MAV_TEST_FIXED) { SavePosition(false); }
    BOOL OnInitDialog() override { return CMavDlg::OnInitDialog(), MAV::aboutMenuAdd(this), TRUE; }
    void OnSysCommand(UINT id, LPARAM lParam) override
    {
        if (!MAV::aboutOnSysCommand(this, id))
            CMavDlg::OnSysCommand(id, lParam);
    }
};

AboutHost* g_aboutHost = nullptr;

void aboutOnce(int i)
{
    g_aboutHost->SetCountry(i % 2 ? L"en" : L"de");
    ModalCloser close(IDOK);
    ::SendMessageW(g_aboutHost->m_hWnd, WM_SYSCOMMAND, MAV::IDM_ABOUTBOX, 0);
}

// The tabbed cabinet dialog with its three pages, each page shown once, then destroyed.
void tabsOnce(int)
{
    CWnd owner;
    owner.CreateEx(0, nullptr, L"SoakOwner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr);
    TemplateDlg<IDD_MAV_SAMPLE_TABS> host;
    host.Create(IDD_MAV_SAMPLE_TABS, &owner);
    host.ShowWindow(SW_SHOW);
    CMavTabCtrl tab;
    CMavTabPage dim(IDD_MAV_SAMPLE_PAGE_DIM), mat(IDD_MAV_SAMPLE_PAGE_MAT), drill(IDD_MAV_SAMPLE_PAGE_DRILL);
    tab.SubclassDlgItem(IDC_SAMPLE_TAB, &host);
    tab.InsertItem(0, L"Ma\u00DFe", &dim, IDD_MAV_SAMPLE_PAGE_DIM);
    tab.InsertItem(1, L"Material", &mat, IDD_MAV_SAMPLE_PAGE_MAT);
    tab.InsertItem(2, L"Bohrungen", &drill, IDD_MAV_SAMPLE_PAGE_DRILL);
    tab.SetCurSel(1);
    tab.SetCurSel(2);
    tab.SetCurSel(0);
    pump();
    tab.DeleteAllItems();
    host.DestroyWindow();
    owner.DestroyWindow();
}

// The list with in-place editing: a cell opened and closed by moving the focus away, then the dialog destroyed.
struct EditableList : CMavListCtrl {
    int OnAllowEdit(LVHITTESTINFO*) override { return 1; }
    int OnEndItemEdit(CMavEdit*) override { return 1; }
};

struct ListDlg : CMavDlg {
    EditableList list;
    ListDlg() : CMavDlg(IDD_MAV_TEST_LISTS) { SavePosition(false); }
    void DoDataExchange(CDataExchange* dx) override
    {
        CMavDlg::DoDataExchange(dx);
        DDX_Control(dx, IDC_TEST_LIST, list);
    }
    BOOL OnInitDialog() override
    {
        CMavDlg::OnInitDialog();
        list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
        list.InsertColumn(0, L"Name", LVCFMT_LEFT, 90);
        list.InsertColumn(1, L"L\u00e4nge", LVCFMT_RIGHT, 60);
        for (int r = 0; r < 3; ++r) {
            list.InsertItem(r, L"Seitenwand");
            list.SetItemText(r, 1, L"720");
        }
        return TRUE;
    }
};

void listEditOnce(int i)
{
    ListDlg dlg;
    dlg.Create(IDD_MAV_TEST_LISTS);
    dlg.ShowWindow(SW_SHOW);
    LVHITTESTINFO hit{};
    hit.iItem = i % 3;
    hit.iSubItem = 1;
    dlg.list.BeginItemEdit(&hit);
    if (!dlg.list.GetEditCtrl() || CMavListCtrl::editsAlive() != 1) {
        std::printf("list edit round %d: no edit field opened\n", i);
        g_failed = true;
    }
    ::SetFocus(dlg.list.m_hWnd); // the field loses the focus: the edit ends
    pump();
    if (dlg.list.GetEditCtrl()) {
        std::printf("list edit round %d: the edit field stayed open\n", i);
        g_failed = true;
    }
    dlg.DestroyWindow();
}

void fileDialogOnce(int)
{
    CMavFileDialog open(TRUE, L"txt", nullptr, OFN_FILEMUSTEXIST, L"Text (*.txt)|*.txt||", nullptr);
    ModalCloser close(IDCANCEL);
    open.DoModal();
}

// The soak's own check: a round that leaks what each count watches (a brush through the afx wrappers, a window,
// 4 KB of heap). Run with "check", every count must see it.
std::vector<CBrush*> g_leakedBrushes;
std::vector<char*> g_leakedBlocks;
void leakOnce(int)
{
    CBrush* brush = new CBrush;
    brush->CreateSolidBrush(RGB(1, 2, 3));
    g_leakedBrushes.push_back(brush);
    ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    g_leakedBlocks.push_back(static_cast<char*>(std::malloc(4096)));
    std::memset(g_leakedBlocks.back(), 1, 4096);
}

struct Part {
    const char* name;
    int rounds;
    void (*once)(int);
};

// One row per dialog of the library.
const Part kDialogs[] = {
    {"About box", 1000, &aboutOnce},
    {"CMavDlg fixed (modal)", 1000, &modalOnce<TemplateDlg<IDD_MAV_TEST_FIXED>>},
    {"CMavDlg sizable (modal)", 1000, &modalOnce<TemplateDlg<IDD_MAV_TEST_SIZABLE>>},
    {"CMavDlg no caption (modal)", 1000, &modalOnce<TemplateDlg<IDD_MAV_TEST_NOCAPTION>>},
    {"tabbed cabinet, 3 pages", 1000, &tabsOnce},
    {"list with in-place edit", 1000, &listEditOnce},
    {"file dialog (cancelled)", 100, &fileDialogOnce}, // a second a round under Wine
};

// ---- the controls -------------------------------------------------------------------------------------------------

HWND g_parent = nullptr;
constexpr int kW = 240, kH = 160;

void paint(HWND w) { ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

// A wheel step in or out at a point that moves round the client area: the zoom changes every round and wanders
// between its limits.
void wheel(HWND w, int i)
{
    POINT p{20 + (i * 37) % (kW - 40), 20 + (i * 53) % (kH - 40)};
    ::ClientToScreen(w, &p);
    const short delta = (i / 7) % 2 ? -120 : 120;
    ::SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), MAKELPARAM(p.x, p.y));
}

CMavVertexArray square(double x, double y, double s)
{
    CMavVertexArray vl;
    vl.append(CMavPoint3d(x, y, 0), CMavPoint3d(x + s, y, 0));
    vl.appendTo(CMavPoint3d(x + s, y + s, 0));
    vl.appendTo(CMavPoint3d(x, y + s, 0));
    vl.appendTo(CMavPoint3d(x, y, 0));
    return vl;
}

CMavGDX* g_gdx = nullptr;

// A display list with a filled square, a hatched one, a polyline and a text.
void fillGdx(CMavGDX& gdx)
{
    CMavColor red, blue;
    red.setOleColor(0x0000FF);
    blue.setOleColor(0xFF0000);
    CMavArrayTempl<CMavVertexArray> reg;
    reg.append(square(10, 10, 40));
    gdx.imageReg({1}, 0x1, reg, red, CMavMatrix3d(), CMavArrayTempl<double>(), 1.0, 0, red, MAV::CHatchProp());
    CMavArrayTempl<CMavVertexArray> hatched;
    hatched.append(square(55, 10, 40));
    MAV::CHatchProp hatch;
    gdx.imageReg({2}, 0x2, hatched, blue, CMavMatrix3d(), CMavArrayTempl<double>(), 1.0, 0, blue, hatch);
    gdx.imageVl({3}, 0, square(5, 55, 90), blue, CMavMatrix3d(), {}, 1.0, 1);
    gdx.imageTxt({4}, 0x1, L"T\u00fcr", red, CMavMatrix3d::translation({10, 90, 0}) * CMavMatrix3d::scaling(12),
                 L"TL", CMavPoint3d());
}

CMavDplistImage* g_dplist = nullptr;
void dplistOnce(int i)
{
    wheel(g_dplist->m_hWnd, i);
    paint(g_dplist->m_hWnd);
}

CMavSlidePic* g_slide = nullptr;
void slideOnce(int i)
{
    // The slide fits its client area: a changing size is its zoom.
    ::SetWindowPos(g_slide->m_hWnd, nullptr, 0, 0, 60 + i % 180, 40 + (i * 7) % 120, SWP_NOMOVE | SWP_NOZORDER);
    paint(g_slide->m_hWnd);
}

CMavPicture* g_picture = nullptr;
void pictureOnce(int i)
{
    wheel(g_picture->m_hWnd, i);
    paint(g_picture->m_hWnd);
}

CMavVllImage* g_vll = nullptr;
void vllOnce(int i)
{
    if (i % 50 == 0)
        g_vll->SetCurVl(i / 50 % 3);
    wheel(g_vll->m_hWnd, i);
    paint(g_vll->m_hWnd);
}

// The owner-drawn list of the combo box, dropped down; the item height changes as its zoom.
CMavComboBox* g_combo = nullptr;
HWND g_comboList = nullptr;
void comboOnce(int i)
{
    g_combo->SendMessage(CB_SETITEMHEIGHT, 0, 12 + i % 9);
    paint(g_comboList);
}

std::wstring tempFile(const wchar_t* name)
{
    wchar_t dir[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

// A 64 x 48 24-bit bitmap with a red left half and a blue right half.
std::wstring writeBmp()
{
    const std::wstring path = tempFile(L"mavsoak.bmp");
    const int w = 64, h = 48, stride = w * 3;
    BITMAPFILEHEADER fh{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    BITMAPINFOHEADER ih{sizeof ih, w, h, 1, 24, BI_RGB, static_cast<DWORD>(stride * h), 0, 0, 0, 0};
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    std::vector<unsigned char> rows(ih.biSizeImage, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            rows[static_cast<size_t>(y) * stride + x * 3 + (x < w / 2 ? 2 : 0)] = 0xFF;
    if (FILE* f = _wfopen(path.c_str(), L"wb")) {
        fwrite(&fh, sizeof fh, 1, f);
        fwrite(&ih, sizeof ih, 1, f);
        fwrite(rows.data(), 1, rows.size(), f);
        fclose(f);
    }
    return path;
}

// ---- metafiles ----------------------------------------------------------------------------------------------------

std::wstring g_emf;
void refreshOnce(int i)
{
    refresh(g_gdx, g_emf.c_str(), 100 + i % 200, 150 + (i * 3) % 250);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "check") {
        soak("check", "a leak in every count", 1000, &leakOnce);
        const bool seen = g_last.gdi && g_last.windows && g_last.bytes;
        std::printf("%s\n", seen ? "the soak sees the leak in every count" : "SOAK CHECK FAILED: a leak went unseen");
        return seen ? 0 : 1;
    }
    const int divisor = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    auto n = [divisor](int count) { return std::max(1, count / divisor); };

    ::OleInitialize(nullptr);
    AFX_MANAGE_STATE(AfxGetStaticModuleState());

    // Dialogs.
    AboutHost about;
    about.Create(IDD_MAV_TEST_FIXED);
    g_aboutHost = &about;
    for (const Part& p : kDialogs)
        soak("dialog", p.name, n(p.rounds), p.once);
    about.DestroyWindow();

    // Controls, each a child of one popup parent.
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"MavSoakParent";
    ::RegisterClassW(&wc);
    g_parent = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, kW + 20, kH + 20, nullptr,
                                 nullptr, wc.hInstance, nullptr);
    CWnd* parent = CWnd::FromHandle(g_parent);

    CMavColor yellow;
    yellow.setOleColor(0x00FFFF);
    CMavGDX gdx(yellow, CMavMatrix3d(), 0.0, 0, CMavPoint3d(0, 0, 0), CMavPoint3d(100, 100, 0));
    fillGdx(gdx);
    g_gdx = &gdx;
    {
        CMavDplistImage view;
        view.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, kW, kH), parent, 101);
        view.set_dpList(&gdx);
        view.zoomExtents();
        g_dplist = &view;
        soak("paint", "CMavDplistImage", n(10000), &dplistOnce);
        view.DestroyWindow();
    }
    {
        CMavSlidePic pic;
        pic.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, kW, kH, g_parent, nullptr);
        const std::string dir = std::string(MAV_TEST_DATA_DIR) + "/slides/library.slb";
        // "every": a slide with every kind of record.
        if (!pic.show(L"every", std::wstring(dir.begin(), dir.end()).c_str())) {
            std::printf("the slide did not load\n");
            g_failed = true;
        }
        g_slide = &pic;
        soak("paint", "CMavSlidePic", n(10000), &slideOnce);
        pic.DestroyWindow();
    }
    {
        CMavPicture pic;
        pic.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, kW, kH, g_parent, nullptr);
        const std::wstring bmp = writeBmp();
        if (!pic.LoadImageW(bmp.c_str())) {
            std::printf("the picture did not load\n");
            g_failed = true;
        }
        g_picture = &pic;
        soak("paint", "CMavPicture", n(10000), &pictureOnce);
        pic.DestroyWindow();
        ::DeleteFileW(bmp.c_str());
    }
    {
        CMavVllImage vll;
        vll.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, kW, kH, g_parent, nullptr);
        CMavArrayTempl<CMavVertexArray> outlines;
        for (double x0 : {100.0, 200.0, 300.0})
            outlines.append(square(x0, 100, 50));
        vll.setVll(outlines);
        g_vll = &vll;
        soak("paint", "CMavVllImage", n(10000), &vllOnce);
        vll.DestroyWindow();
    }
    {
        CWnd owner;
        owner.CreateEx(0, nullptr, L"SoakComboOwner", WS_POPUP | WS_VISIBLE, 20, 20, 420, 260, nullptr, nullptr);
        TemplateDlg<IDD_MAV_SAMPLE_PAGE_MAT> page;
        page.Create(IDD_MAV_SAMPLE_PAGE_MAT, &owner);
        page.ShowWindow(SW_SHOW);
        CMavComboBox combo;
        combo.SubclassDlgItem(IDC_SAMPLE_STDWIDTH, &page);
        for (const wchar_t* w : {L"300", L"400", L"450", L"500", L"600", L"800", L"900"})
            combo.AddString(w);
        combo.SendMessage(CB_SHOWDROPDOWN, TRUE, 0);
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        ::GetComboBoxInfo(combo.m_hWnd, &info);
        g_combo = &combo;
        g_comboList = info.hwndList;
        soak("paint", "CMavComboBox owner-drawn list", n(10000), &comboOnce);
        combo.SendMessage(CB_SHOWDROPDOWN, FALSE, 0);
        page.DestroyWindow();
        owner.DestroyWindow();
    }

    g_emf = tempFile(L"mavsoak.emf");
    soak("refresh", "metafile of the display list", n(1000), &refreshOnce);
    ::DeleteFileW(g_emf.c_str());

    ::DestroyWindow(g_parent);
    ::OleUninitialize();
    std::printf("%s\n", g_failed ? "SOAK FAILED" : "soak passed");
    return g_failed ? 1 : 0;
}
