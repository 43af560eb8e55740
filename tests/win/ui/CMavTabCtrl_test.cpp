// The tab control of the cabinet sample: pages created when first shown at their place under the tabs, disabled
// tabs skipped by Control+Tab and refused to the mouse, keys the control keeps, deleting tabs, and pages taking
// over their host's help and language.
#include "ui/CMavTabCtrl.h"
#include "ui/CMavTabPage.h"
#include "ui_test_support.h"

namespace {

class HostDlg : public CMavDlg {
public:
    HostDlg() : CMavDlg(IDD_MAV_SAMPLE_TABS) { SavePosition(false); }
    int closes = 0;

protected:
    void OnClose() override { ++closes; }
};

// A page that counts the passes of its data exchange that read the controls.
class CountingPage : public CMavTabPage {
public:
    explicit CountingPage(int IDD) : CMavTabPage(IDD) {}
    int saves = 0;

protected:
    void DoDataExchange(CDataExchange* dx) override { saves += dx->m_bSaveAndValidate; }
};

// A page whose initialisation inserts another tab before the first one.
class InsertingPage : public CMavTabPage {
public:
    InsertingPage(CMavTabCtrl& tabCtrl, CMavTabPage& page)
        : CMavTabPage(IDD_MAV_SAMPLE_PAGE_DIM), tabs(tabCtrl), extra(page)
    {
    }
    CMavTabCtrl& tabs;
    CMavTabPage& extra;

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = CMavTabPage::OnInitDialog();
        tabs.InsertItem(0, L"Neu", &extra, IDD_MAV_SAMPLE_PAGE_DRILL);
        return result;
    }
};

// The sample dialog with four pages, the third disabled.
struct Tabs {
    CWnd owner;
    HostDlg host;
    CMavTabCtrl tab;
    CountingPage dim{IDD_MAV_SAMPLE_PAGE_DIM}, mat{IDD_MAV_SAMPLE_PAGE_MAT};
    CMavTabPage drill{IDD_MAV_SAMPLE_PAGE_DRILL}, mat2{IDD_MAV_SAMPLE_PAGE_MAT};
    CMavTabPage* pages[4] = {&dim, &mat, &drill, &mat2};
    explicit Tabs(bool fill = true)
    {
        owner.CreateEx(0, nullptr, L"TabsOwner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr);
        host.Create(IDD_MAV_SAMPLE_TABS, &owner);
        host.ShowWindow(SW_SHOW);
        tab.SubclassDlgItem(IDC_SAMPLE_TAB, &host);
        if (fill) {
            tab.InsertItem(0, L"Ma\u00DFe", &dim, IDD_MAV_SAMPLE_PAGE_DIM);
            tab.InsertItem(1, L"Material", &mat, IDD_MAV_SAMPLE_PAGE_MAT);
            tab.InsertItem(-1, L"Bohrungen", &drill, IDD_MAV_SAMPLE_PAGE_DRILL);
            tab.InsertItem(99, L"Material 2", &mat2, IDD_MAV_SAMPLE_PAGE_MAT);
            tab.EnableTab(2, false);
        }
    }
    ~Tabs()
    {
        tab.DeleteAllItems();
        host.DestroyWindow();
        owner.DestroyWindow();
    }
    // Which pages have windows ("1") and which are visible ("v"), and the current page, selection and focus.
    std::string state()
    {
        std::string s;
        for (CMavTabPage* p : pages)
            s += !p->m_hWnd ? "0" : p->IsWindowVisible() ? "v" : "1";
        return s + " " + std::to_string(tab.GetCurPage()) + std::to_string(tab.GetCurSel()) +
               std::to_string(tab.GetCurFocus());
    }
    void dispatch()
    {
        for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&m);
    }
};

} // namespace

// The first page shows at once in the tab control below the tabs; pages passed over stay uncreated; a disabled
// tab and a tab beyond the last are refused.
TEST(MavTabCtrl, PagesAreCreatedWhenFirstShownUnderTheTabs)
{
    Tabs t;
    EXPECT_EQ(t.tab.GetItemCount(), 4);
    EXPECT_EQ(t.state().substr(0, 7), "v000 00");
    EXPECT_EQ(::GetParent(t.dim.m_hWnd), t.tab.m_hWnd);
    UINT idd = 0;
    ASSERT_TRUE(t.tab.GetDlgIDD(3, idd));
    EXPECT_EQ(idd, static_cast<UINT>(IDD_MAV_SAMPLE_PAGE_MAT));
    EXPECT_FALSE(t.tab.GetDlgIDD(4, idd));
    EXPECT_EQ(t.tab.InsertItem(0, L"nothing", nullptr, IDD_MAV_SAMPLE_PAGE_DIM), 0);
    EXPECT_EQ(t.tab.GetItemCount(), 4);
    RECT client{}, tab0{};
    t.tab.GetClientRect(&client);
    t.tab.GetItemRect(0, &tab0);
    const RECT expected{2, tab0.bottom - tab0.top + 4, 2 + client.right - 6, client.bottom - 4};
    auto placed = [&t, &expected](const CWnd& page) {
        RECT r{};
        page.GetWindowRect(&r);
        t.tab.ScreenToClient(&r);
        return ::EqualRect(&r, &expected) != FALSE;
    };
    EXPECT_TRUE(placed(t.dim));
    EXPECT_EQ(t.tab.SetCurSel(3), 0) << "the tab selected before";
    EXPECT_TRUE(placed(t.mat2));
    EXPECT_EQ(std::make_pair(t.tab.SetCurSel(7), t.tab.SetCurSel(2)), std::make_pair(3, 3));
    EXPECT_EQ(t.state().substr(0, 7), "100v 33");
}

// Control+Tab and Control+Shift+Tab go round the enabled tabs: 0 -> 1 -> (2 disabled) 3 -> 0 and back. A click
// on the disabled tab keeps the current page (and the control's focus on its tab); on another tab it creates and
// shows that tab's page. The arrow keys step over the disabled tab too.
TEST(MavTabCtrl, ControlTabAndTheMouseSkipDisabledTabs)
{
    Tabs t;
    std::string seen;
    for (bool shift : {false, false, false, true, true, true}) {
        HWND from = ::GetNextDlgTabItem(t.pages[t.tab.GetCurPage()]->m_hWnd, nullptr, FALSE);
        ::SetFocus(from);
        seen += uitest::pressKey(from, VK_TAB, true, shift) ? "" : "not consumed ";
        seen += t.state().substr(0, 7) + " ";
    }
    EXPECT_EQ(seen, "1v00 11 110v 33 v101 00 110v 33 1v01 11 v101 00 ");
    for (int tab : {2, 1}) {
        RECT r{};
        t.tab.GetItemRect(tab, &r);
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        t.tab.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        t.tab.SendMessage(WM_LBUTTONUP, 0, at);
        EXPECT_EQ(t.state(), tab == 2 ? "v101 000" : "1v01 111");
    }
    // The arrow keys on the tabs go to the neighbouring enabled tab with its page, stop at the ends, and leave
    // the focus on the tabs.
    ::SetFocus(t.tab.m_hWnd);
    seen.clear();
    for (UINT vk : {VK_RIGHT, VK_RIGHT, VK_DOWN, VK_LEFT, VK_UP, VK_UP}) {
        seen += uitest::pressKey(t.tab.m_hWnd, vk) ? "" : "not consumed ";
        seen += t.state().substr(5) + " ";
    }
    EXPECT_EQ(seen, "333 333 333 111 000 000 ");
    EXPECT_EQ(::GetFocus(), t.tab.m_hWnd);
}

// Escape is kept by the control; a null message closes the owner, posted, not sent.
TEST(MavTabCtrl, EscapeIsKeptAndANullMessageClosesTheOwner)
{
    Tabs t;
    ::SetFocus(t.tab.m_hWnd);
    EXPECT_TRUE(uitest::pressKey(t.tab.m_hWnd, VK_ESCAPE));
    EXPECT_TRUE(t.host.IsWindowVisible());
    MSG msg{t.tab.m_hWnd, WM_NULL, 0, 0, 0, {}};
    EXPECT_TRUE(AfxPreTranslateMessage(&msg));
    EXPECT_EQ(t.host.closes, 0);
    t.dispatch();
    EXPECT_EQ(t.host.closes, 1);
}

// Deleting a tab destroys its page's window and keeps the shown page; deleting the current tab makes the next one
// current, created when it had no window.
TEST(MavTabCtrl, DeletingKeepsTheShownPage)
{
    Tabs t;
    t.tab.SetCurSel(1);
    EXPECT_EQ(t.tab.DeleteItem(0), 1);
    EXPECT_EQ(std::make_tuple(t.dim.m_hWnd, t.tab.GetCurPage(), t.tab.GetCurSel(), t.tab.GetPage(0)),
              std::make_tuple(HWND(nullptr), 0, 0, static_cast<CMavTabPage*>(&t.mat)));
    EXPECT_TRUE(t.mat.IsWindowVisible());
    EXPECT_EQ(t.tab.DeleteItem(5), 0);
    EXPECT_FALSE(t.tab.isTabEnabled(1)) << "the disabled tab moved up by one";
    EXPECT_FALSE(t.tab.EnableTab(3, true));
    EXPECT_EQ(t.tab.DeleteItem(0), 1);
    EXPECT_EQ(std::make_tuple(t.tab.GetCurPage(), t.tab.GetItemCount(), t.tab.GetPage(0)),
              std::make_tuple(0, 2, &t.drill));
    EXPECT_EQ(t.tab.DeleteAllItems(), TRUE);
    EXPECT_EQ(std::make_tuple(t.tab.GetCurPage(), t.tab.GetItemCount(), t.mat.m_hWnd),
              std::make_tuple(-1, 0, HWND(nullptr)));
}

// A page whose initialisation inserts a tab before its own is the page shown and selected, at its new place.
TEST(MavTabCtrl, APageThatInsertsATabIsShownAtItsNewPlace)
{
    CMavTabPage extra(IDD_MAV_SAMPLE_PAGE_DRILL);
    Tabs t;
    InsertingPage inserting(t.tab, extra);
    EXPECT_EQ(t.tab.InsertItem(4, L"Mehr", &inserting, IDD_MAV_SAMPLE_PAGE_DIM), 4);
    EXPECT_EQ(t.tab.SetCurSel(4), 1) << "the tab selected before, moved from 0 to 1";
    EXPECT_EQ(std::make_tuple(t.tab.GetCurPage(), t.tab.GetCurSel(), t.tab.GetPage(5), extra.m_hWnd),
              std::make_tuple(5, 5, static_cast<CDialog*>(&inserting), HWND(nullptr)));
    EXPECT_TRUE(inserting.IsWindowVisible() && !t.dim.IsWindowVisible());
    t.tab.DeleteAllItems(); // before the page object, made after the control, goes
}

// Pages take over the host's help file, topic and language; OnOk exchanges, closes and hides every created page.
TEST(MavTabCtrl, PagesTakeOverTheHostsHelpAndLanguage)
{
    Tabs t(false);
    t.host.SetHelpFile(L"C:\\help\\schrank.chm");
    t.host.SetHelpTopic(L"masse");
    t.host.SetCountry(L"en");
    t.tab.InsertItem(0, L"Ma\u00DFe", &t.dim, IDD_MAV_SAMPLE_PAGE_DIM);
    ASSERT_NE(t.dim.m_hWnd, nullptr);
    EXPECT_EQ(t.dim.hostDlg(), &t.host);
    CString file, topic;
    t.dim.GetHelpFile(file);
    t.dim.GetHelpTopic(topic);
    EXPECT_EQ(file + L"|" + topic + L"|" + t.dim.country(), L"C:\\help\\schrank.chm|masse|en");
    t.tab.OnOk();
    t.dispatch();
    EXPECT_EQ(std::make_tuple(t.dim.saves, t.mat.saves, t.dim.IsWindowVisible()), std::make_tuple(1, 0, FALSE));
}
