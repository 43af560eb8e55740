// mavsoak: opens and closes every dialog of the library a thousand times, paints every control ten thousand times
// with a changing zoom and writes a thousand metafiles. Before and after each part it counts GDI and USER objects
// as the system does, the handles the afx GDI wrappers hold, this thread's windows and the private bytes; a part
// whose counts grow beyond a small constant fails and the program exits non-zero. Modal loops are ended from a CBT
// hook with a watchdog timer behind it, so no round can wait forever.
//
// mavsoak [divisor]: every count divided by divisor (default 1). mavsoak check: a deliberate leak must show.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "afx/CGdiObject.h"
#include "afx/CWinApp.h"
#include "data/CMavApp.h"
#include "data/outlines.h"
#include "dialogs/CMavLabelEdit.h"
#include "dialogs/CMavMatTreeDlg.h"
#include "dialogs/CMavOutlineDlg.h"
#include "dialogs/CMavUnitsDlg.h"
#include "dialogs/dlgBgr.h"
#include "mav_test_data.h"
#include "render/CMavDplistImage.h"
#include "render/CMavPicture.h"
#include "render/CMavSlidePic.h"
#include "render/CMavVllImage.h"
#include "render/MavRender.h"
#include "resource.h"
#include "ui/CMavAboutDlg.h"
#include "ui/CMavComboBox.h"
#include "ui/CMavFileDialog.h"
#include "ui/CMavListCtrl.h"
#include "ui/CMavTabCtrl.h"
#include "ui/CMavTabPage.h"

namespace {

struct Counts {
    long gdi = 0, user = 0; // GetGuiResources(GR_GDIOBJECTS, GR_USEROBJECTS)
    long afxGdi = 0;        // handles created through the afx wrappers and not deleted
    long windows = 0;       // windows of this thread, children included
    long long bytes = 0;    // committed private memory
};

bool g_failed = false;
void check(bool ok, const char* what)
{
    if (!ok)
        std::printf("%s\n", what);
    g_failed = g_failed || !ok;
}

void pump()
{
    MSG msg;
    for (int round = 0; round < 3; ++round)
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!AfxPreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
}

// Private memory is walked region by region: Wine leaves the system's own counter (PrivateUsage) at zero, and a
// walk counts the same on both.
Counts measure()
{
    pump();
    Counts c;
    c.gdi = static_cast<long>(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
    c.user = static_cast<long>(::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS));
    c.afxGdi = CGdiObject::GetLiveCount();
    auto top = [](HWND w, LPARAM n) -> BOOL {
        ++*reinterpret_cast<long*>(n);
        ::EnumChildWindows(
            w, [](HWND, LPARAM m) -> BOOL { return ++*reinterpret_cast<long*>(m), TRUE; }, n);
        return TRUE;
    };
    ::EnumThreadWindows(::GetCurrentThreadId(), top, reinterpret_cast<LPARAM>(&c.windows));
    MEMORY_BASIC_INFORMATION mbi{};
    for (const char* at = nullptr; ::VirtualQuery(at, &mbi, sizeof mbi) == sizeof mbi;) {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE)
            c.bytes += static_cast<long long>(mbi.RegionSize);
        const char* next = static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return c;
}

// How much a part may grow: a few objects for caches filled on the way (fonts, brushes kept for the next paint),
// and private bytes a heap may keep without a leak behind them (less than 330 bytes a round over a thousand).
constexpr long kObjects = 4;
constexpr long long kBytes = 320 * 1024;
bool g_grewGdi = false, g_grewWindows = false, g_grewBytes = false; // of the last part, for the check

// Runs once() rounds times after a warm-up of a few rounds (first-time loads are no leak) and reports the growth.
void soak(const char* part, const char* name, int rounds, void (*once)(int))
{
    for (int i = 0, warm = rounds < 20 ? 1 : 10; i < warm; ++i)
        once(i);
    const Counts a = measure();
    const DWORD start = ::GetTickCount();
    for (int i = 0; i < rounds; ++i)
        once(i);
    const DWORD ms = ::GetTickCount() - start;
    const Counts b = measure();
    g_grewGdi = b.afxGdi - a.afxGdi > kObjects;
    g_grewWindows = b.windows > a.windows;
    g_grewBytes = b.bytes - a.bytes > kBytes;
    const bool ok =
        b.gdi - a.gdi <= kObjects && b.user - a.user <= kObjects && !g_grewGdi && !g_grewWindows && !g_grewBytes;
    g_failed = g_failed || !ok;
    std::printf("%-8s %-28s %6d x  gdi %4ld -> %-4ld user %4ld -> %-4ld afx-gdi %3ld -> %-3ld windows %3ld -> %-3ld "
                "private %7lld -> %-7lld KB (%+lld B)  %6lu ms  %s\n",
                part, name, rounds, a.gdi, b.gdi, a.user, b.user, a.afxGdi, b.afxGdi, a.windows, b.windows,
                a.bytes / 1024, b.bytes / 1024, b.bytes - a.bytes, static_cast<unsigned long>(ms), ok ? "ok" : "GROWS");
    std::fflush(stdout);
}

// While it lives, the CBT hook posts `command` to the first dialog window activated; a watchdog timer ends a modal
// loop still running two seconds later with WM_QUIT. Either way a round that was not closed by the hook fails.
struct ModalCloser {
    static inline HHOOK hook = nullptr;
    static inline WPARAM command = IDCANCEL;
    static inline HWND closed = nullptr;
    static inline bool timedOut = false;
    UINT_PTR timer = 0;
    explicit ModalCloser(WPARAM cmd)
    {
        command = cmd;
        closed = nullptr;
        hook = ::SetWindowsHookExW(WH_CBT, &cbt, nullptr, ::GetCurrentThreadId());
        timer =
            ::SetTimer(nullptr, 0, 2000, [](HWND, UINT, UINT_PTR, DWORD) { timedOut = true, ::PostQuitMessage(0); });
    }
    ~ModalCloser()
    {
        ::KillTimer(nullptr, timer);
        ::UnhookWindowsHookEx(hook);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        check(closed && !timedOut, timedOut ? "a modal dialog was not closed by its hook (watchdog)"
                                            : "a modal dialog was not closed by its hook");
        timedOut = false;
    }
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
};

// Runs a ready-made dialog's entry function, cancels the dialog and checks the function's cancel answer.
template <class Open> void cancelled(const char* dialog, long answer, Open open)
{
    ModalCloser close(IDCANCEL);
    const long got = open();
    if (got != answer)
        std::printf("%s: answered %ld after a cancel, not %ld\n", dialog, got, answer);
    g_failed = g_failed || got != answer;
}

// A CMavDlg on one of the library's templates, shown modally and cancelled.
template <UINT IDD> struct TemplateDlg : CMavDlg {
    TemplateDlg() : CMavDlg(IDD) { SavePosition(false); }
};
template <class Dialog> void modalOnce(int)
{
    Dialog dlg;
    ModalCloser close(IDCANCEL);
    dlg.DoModal();
}

// The About box from the system menu of a modeless host, closed with OK.
struct AboutHost : TemplateDlg<IDD_MAV_TEST_FIXED> {
    BOOL OnInitDialog() override { return CMavDlg::OnInitDialog(), MAV::aboutMenuAdd(this), TRUE; }
    void OnSysCommand(UINT id, LPARAM lParam) override
    {
        if (!MAV::aboutOnSysCommand(this, id))
            CMavDlg::OnSysCommand(id, lParam);
    }
};
AboutHost* g_aboutHost = nullptr;

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
    for (int page : {1, 2, 0})
        tab.SetCurSel(page);
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
struct ListDlg : TemplateDlg<IDD_MAV_TEST_LISTS> {
    EditableList list;
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, IDC_TEST_LIST, list); }
    BOOL OnInitDialog() override
    {
        CMavDlg::OnInitDialog();
        list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
        list.InsertColumn(0, L"Name", LVCFMT_LEFT, 90);
        list.InsertColumn(1, L"L\u00e4nge", LVCFMT_RIGHT, 60);
        for (int r = 0; r < 3; ++r)
            list.SetItemText(list.InsertItem(r, L"Seitenwand"), 1, L"720");
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
    const bool opened = dlg.list.GetEditCtrl() && CMavListCtrl::editsAlive() == 1;
    ::SetFocus(dlg.list.m_hWnd); // the field loses the focus: the edit ends
    pump();
    if (!opened || dlg.list.GetEditCtrl())
        std::printf("list edit round %d: the edit field %s\n", i, opened ? "stayed open" : "did not open");
    g_failed = g_failed || !opened || dlg.list.GetEditCtrl();
    dlg.DestroyWindow();
}

// The soak's own check: a round that leaks what each count watches (a brush through the afx wrappers, a window,
// 4 KB of heap). Run with "check", every count must see it.
std::vector<char*> g_leaked; // kept, or the compiler drops the allocation
void leakOnce(int)
{
    (new CBrush)->CreateSolidBrush(RGB(1, 2, 3));
    ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    g_leaked.push_back(static_cast<char*>(std::malloc(4096)));
    std::memset(g_leaked.back(), 1, 4096);
}

CMavDataItem g_outlines;
const wchar_t* country(int i) { return i % 2 ? L"en" : L"de"; }
MAV::DlgEnv_st env(int i)
{
    MAV::DlgEnv_st e;
    e.country = country(i);
    return e;
}

struct Part {
    const char* name;
    int rounds;
    void (*once)(int);
};
// One row per dialog of the library; the ready-made ones are opened through the entry functions a host calls.
const Part kDialogs[] = {
    {"About box", 1000,
     [](int i) {
         g_aboutHost->SetCountry(country(i));
         ModalCloser close(IDOK);
         ::SendMessageW(g_aboutHost->m_hWnd, WM_SYSCOMMAND, MAV::IDM_ABOUTBOX, 0);
     }},
    {"CMavDlg fixed (modal)", 1000, &modalOnce<TemplateDlg<IDD_MAV_TEST_FIXED>>},
    {"CMavDlg sizable (modal)", 1000, &modalOnce<TemplateDlg<IDD_MAV_TEST_SIZABLE>>},
    {"CMavDlg no caption (modal)", 1000, &modalOnce<TemplateDlg<IDD_MAV_TEST_NOCAPTION>>},
    {"tabbed cabinet, 3 pages", 1000, &tabsOnce},
    {"list with in-place edit", 1000, &listEditOnce},
    {"file dialog (cancelled)", 100, // a second a round under Wine
     [](int) {
         CMavFileDialog open(TRUE, L"txt", nullptr, OFN_FILEMUSTEXIST, L"Text (*.txt)|*.txt||", nullptr);
         ModalCloser close(IDCANCEL);
         open.DoModal();
     }},
    {"material tree (dlgMatTree)", 1000,
     [](int i) {
         MAV::DlgEnvMatTree_st e;
         e.country = country(i);
         e.drawingMaterials = i % 2;
         CMavString chosen(L"BUCHE");
         cancelled("material tree", 0, [&] { return MAV::dlgMatTree(e, chosen); });
     }},
    {"outline (dlgOutline)", 1000,
     [](int i) {
         MAV::outlineData data;
         data.code = i % 3 + 1;
         cancelled("outline", 2, [&] { return MAV::dlgOutline(env(i), data, &g_outlines); });
     }},
    {"units (dlgUnits)", 1000,
     [](int i) { cancelled("units", 1 + i % 20, [&] { return MAV::dlgUnits(env(i), Mav::lUnit(1 + i % 20)); }); }},
    {"label edit (dlgLabelEdit)", 1000,
     [](int i) {
         CMavString label;
         cancelled("label edit", IDCANCEL,
                   [&] { return MAV::dlgLabelEdit(env(i), label, i % 2, L"\\de=T\u00fcr\\en=Door", L"de", nullptr); });
     }},
    {"hole edit (dlgBgr)", 1000, // two drills on the picked hole entity, in the default host's "Editieren" dialog
     [](int i) {
         CMavDataDir item;
         for (const wchar_t* name : {L"B1", L"B2"})
             item.makeDir(CMavDataKey().appendText(L"HOLE").appendText(name))
                 ->setAt(CMavDataKey().appendText(L"GEN").appendText(L"DIA"), 5.0 + i % 3);
         CMavString element(L"B1");
         cancelled("hole edit", 2, [&] { return MAV::dlgBgr(env(i), element, &item, nullptr); });
     }},
};

constexpr int kW = 240, kH = 160;

// A wheel step in or out at a point that moves round the client area: the zoom changes every round and wanders
// between its limits.
void wheel(HWND w, int i)
{
    POINT p{20 + (i * 37) % (kW - 40), 20 + (i * 53) % (kH - 40)};
    ::ClientToScreen(w, &p);
    const short delta = (i / 7) % 2 ? -120 : 120;
    ::SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), MAKELPARAM(p.x, p.y));
}

// The control painted by a paint part and how a round changes its zoom.
HWND g_control = nullptr;
void (*g_zoom)(HWND, int) = nullptr;
void paintPart(const char* name, int rounds, HWND control, void (*zoom)(HWND, int))
{
    g_control = control;
    g_zoom = zoom;
    soak("paint", name, rounds, [](int i) {
        g_zoom(g_control, i);
        ::RedrawWindow(g_control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    });
}

CMavVertexArray square(double x, double y, double s)
{
    CMavVertexArray vl;
    vl.append(CMavPoint3d(x, y, 0), CMavPoint3d(x + s, y, 0));
    for (const CMavPoint3d& p : {CMavPoint3d(x + s, y + s, 0), CMavPoint3d(x, y + s, 0), CMavPoint3d(x, y, 0)})
        vl.appendTo(p);
    return vl;
}

std::wstring tempFile(const wchar_t* name)
{
    wchar_t dir[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

// A 64 x 48 32-bit bitmap with a red left half and a blue right half.
std::wstring writeBmp()
{
    const std::wstring path = tempFile(L"mavsoak.bmp");
    std::vector<DWORD> pixels(64 * 48);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = i % 64 < 32 ? 0xFF0000 : 0x0000FF;
    BITMAPINFOHEADER ih{sizeof ih, 64, 48, 1, 32, BI_RGB, static_cast<DWORD>(pixels.size() * 4), 0, 0, 0, 0};
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof ih;
    BITMAPFILEHEADER fh{0x4D42, offset + ih.biSizeImage, 0, 0, offset};
    if (FILE* f = _wfopen(path.c_str(), L"wb")) {
        fwrite(&fh, sizeof fh, 1, f);
        fwrite(&ih, sizeof ih, 1, f);
        fwrite(pixels.data(), 4, pixels.size(), f);
        fclose(f);
    }
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "check") {
        soak("check", "a leak in every count", 1000, &leakOnce);
        const bool seen = g_grewGdi && g_grewWindows && g_grewBytes;
        std::printf("%s\n", seen ? "the soak sees the leak in every count" : "SOAK CHECK FAILED: a leak went unseen");
        return seen ? 0 : 1;
    }
    const int divisor = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    auto n = [divisor](int count) { return std::max(1, count / divisor); };
    ::OleInitialize(nullptr);
    AFX_MANAGE_STATE(AfxGetStaticModuleState());

    // Dialogs. The hole edit works on an entity the default host has picked.
    AboutHost about;
    about.Create(IDD_MAV_TEST_FIXED);
    g_aboutHost = &about;
    mavAppSet(nullptr);
    const ads_name hole = {4711, 7};
    MAV::CDefaultApp::instance().entityPick(L"HOLE", hole);
    check(mavOutlineInit(&g_outlines), "the shipped outlines did not load");
    for (const Part& p : kDialogs)
        soak("dialog", p.name, n(p.rounds), p.once);
    about.DestroyWindow();

    // Controls, each a child of one popup parent, showing a display list with a filled square, a hatched one, a
    // polyline and a text.
    CWnd parent;
    parent.CreateEx(0, nullptr, L"SoakParent", WS_POPUP | WS_VISIBLE, 0, 0, kW + 20, kH + 20, nullptr, nullptr);
    CMavColor yellow, red, blue;
    yellow.setOleColor(0x00FFFF);
    red.setOleColor(0x0000FF);
    blue.setOleColor(0xFF0000);
    CMavGDX gdx(yellow, CMavMatrix3d(), 0.0, 0, CMavPoint3d(0, 0, 0), CMavPoint3d(100, 100, 0));
    CMavArrayTempl<CMavVertexArray> reg, hatched;
    reg.append(square(10, 10, 40));
    hatched.append(square(55, 10, 40));
    gdx.imageReg({1}, 0x1, reg, red, CMavMatrix3d(), CMavArrayTempl<double>(), 1.0, 0, red, MAV::CHatchProp());
    gdx.imageReg({2}, 0x2, hatched, blue, CMavMatrix3d(), CMavArrayTempl<double>(), 1.0, 0, blue, MAV::CHatchProp());
    gdx.imageVl({3}, 0, square(5, 55, 90), blue, CMavMatrix3d(), {}, 1.0, 1);
    gdx.imageTxt({4}, 0x1, L"T\u00fcr", red, CMavMatrix3d::translation({10, 90, 0}) * CMavMatrix3d::scaling(12), L"TL",
                 CMavPoint3d());
    {
        CMavDplistImage view;
        view.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, kW, kH), &parent, 101);
        view.set_dpList(&gdx);
        view.zoomExtents();
        paintPart("CMavDplistImage", n(10000), view.m_hWnd, &wheel);
        view.DestroyWindow();
    }
    {
        // "every": a slide with every kind of record. It fits its client area: a changing size is its zoom.
        CMavSlidePic pic;
        pic.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, kW, kH, parent.m_hWnd, nullptr);
        const std::string dir = std::string(MAV_TEST_DATA_DIR) + "/slides/library.slb";
        check(pic.show(L"every", std::wstring(dir.begin(), dir.end()).c_str()), "the slide did not load");
        paintPart("CMavSlidePic", n(10000), pic.m_hWnd, [](HWND w, int i) {
            ::SetWindowPos(w, nullptr, 0, 0, 60 + i % 180, 40 + (i * 7) % 120, SWP_NOMOVE | SWP_NOZORDER);
        });
        pic.DestroyWindow();
    }
    {
        CMavPicture pic;
        pic.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, kW, kH, parent.m_hWnd, nullptr);
        const std::wstring bmp = writeBmp();
        check(pic.LoadImageW(bmp.c_str()), "the picture did not load");
        paintPart("CMavPicture", n(10000), pic.m_hWnd, &wheel);
        pic.DestroyWindow();
        ::DeleteFileW(bmp.c_str());
    }
    {
        static CMavVllImage vll;
        vll.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, kW, kH, parent.m_hWnd, nullptr);
        CMavArrayTempl<CMavVertexArray> outlines;
        for (double x0 : {100.0, 200.0, 300.0})
            outlines.append(square(x0, 100, 50));
        vll.setVll(outlines);
        paintPart("CMavVllImage", n(10000), vll.m_hWnd, [](HWND w, int i) {
            if (i % 50 == 0)
                vll.SetCurVl(i / 50 % 3);
            wheel(w, i);
        });
        vll.DestroyWindow();
    }
    {
        // The owner-drawn list of the combo box, dropped down; the item height changes as its zoom.
        CWnd owner;
        owner.CreateEx(0, nullptr, L"SoakComboOwner", WS_POPUP | WS_VISIBLE, 20, 20, 420, 260, nullptr, nullptr);
        TemplateDlg<IDD_MAV_SAMPLE_PAGE_MAT> page;
        page.Create(IDD_MAV_SAMPLE_PAGE_MAT, &owner);
        page.ShowWindow(SW_SHOW);
        static CMavComboBox combo;
        combo.SubclassDlgItem(IDC_SAMPLE_STDWIDTH, &page);
        for (const wchar_t* w : {L"300", L"400", L"450", L"500", L"600", L"800", L"900"})
            combo.AddString(w);
        combo.SendMessage(CB_SHOWDROPDOWN, TRUE, 0);
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        ::GetComboBoxInfo(combo.m_hWnd, &info);
        paintPart("CMavComboBox owner-drawn list", n(10000), info.hwndList,
                  [](HWND, int i) { combo.SendMessage(CB_SETITEMHEIGHT, 0, 12 + i % 9); });
        combo.SendMessage(CB_SHOWDROPDOWN, FALSE, 0);
        page.DestroyWindow();
        owner.DestroyWindow();
    }
    static std::wstring emf = tempFile(L"mavsoak.emf");
    static CMavGDX* list = &gdx;
    soak("refresh", "metafile of the display list", n(1000),
         [](int i) { refresh(list, emf.c_str(), 100 + i % 200, 150 + (i * 3) % 250); });
    ::DeleteFileW(emf.c_str());
    parent.DestroyWindow();
    ::OleUninitialize();
    std::printf("%s\n", g_failed ? "SOAK FAILED" : "soak passed");
    return g_failed ? 1 : 0;
}
