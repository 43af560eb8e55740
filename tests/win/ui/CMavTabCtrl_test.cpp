// The tab control of the cabinet sample: pages created when first shown at their place under the tabs, disabled
// tabs skipped by Control+Tab and refused to the mouse, keys the control keeps, deleting tabs, and pages taking
// over their host's help and language.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "resource.h"
#include "ui/CMavTabCtrl.h"
#include "ui/CMavTabPage.h"
#include "ui_test_support.h"

namespace {

class HostDlg : public CMavDlg {
public:
    HostDlg() : CMavDlg(IDD_MAV_SAMPLE_TABS) {}
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
    void DoDataExchange(CDataExchange* dx) override
    {
        if (dx->m_bSaveAndValidate)
            ++saves;
    }
};

// The sample dialog with four pages, the third disabled.
struct Tabs {
    CWnd owner;
    HostDlg host;
    CMavTabCtrl tab;
    CountingPage dim{IDD_MAV_SAMPLE_PAGE_DIM};
    CountingPage mat{IDD_MAV_SAMPLE_PAGE_MAT};
    CMavTabPage drill{IDD_MAV_SAMPLE_PAGE_DRILL};
    CMavTabPage mat2{IDD_MAV_SAMPLE_PAGE_MAT};
    explicit Tabs(bool fill = true)
    {
        owner.CreateEx(0, nullptr, L"TabsOwner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr);
        host.SavePosition(false);
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
};

// The page's window rectangle in the tab control's client coordinates.
std::tuple<LONG, LONG, LONG, LONG> rectInTab(const CMavTabCtrl& tab, const CWnd& page)
{
    RECT r{};
    page.GetWindowRect(&r);
    tab.ScreenToClient(&r);
    return {r.left, r.top, r.right, r.bottom};
}

} // namespace

TEST(MavTabCtrl, PagesAreCreatedWhenFirstShownUnderTheTabs)
{
    Tabs t;
    EXPECT_EQ(t.tab.GetItemCount(), 4);
    EXPECT_EQ(t.tab.GetCurPage(), 0);
    ASSERT_NE(t.dim.m_hWnd, nullptr) << "the first page is shown at once";
    EXPECT_EQ(t.mat.m_hWnd, nullptr);
    EXPECT_EQ(t.drill.m_hWnd, nullptr);
    EXPECT_EQ(t.mat2.m_hWnd, nullptr);
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
    const int top = tab0.bottom - tab0.top + 4;
    const auto expected = std::make_tuple(2L, LONG(top), LONG(2 + client.right - 6), LONG(client.bottom - 4));
    EXPECT_EQ(rectInTab(t.tab, t.dim), expected);

    EXPECT_EQ(t.tab.SetCurSel(3), 0) << "the tab selected before";
    EXPECT_EQ(t.tab.GetCurSel(), 3);
    ASSERT_NE(t.mat2.m_hWnd, nullptr);
    EXPECT_EQ(t.mat.m_hWnd, nullptr) << "pages passed over stay uncreated";
    EXPECT_EQ(rectInTab(t.tab, t.mat2), expected);
    EXPECT_FALSE(t.dim.IsWindowVisible());
    EXPECT_TRUE(t.mat2.IsWindowVisible());
    EXPECT_EQ(t.tab.SetCurSel(7), 3);
    EXPECT_EQ(t.tab.SetCurSel(2), 3) << "a disabled tab is refused";
    EXPECT_EQ(t.drill.m_hWnd, nullptr);
}

TEST(MavTabCtrl, ControlTabSkipsDisabledTabsBothWays)
{
    Tabs t;
    struct Step {
        bool shift;
        int expected;
    };
    // 0 -> 1 -> (2 disabled) 3 -> 0; back: 0 -> 3 -> (2) 1 -> 0.
    const Step steps[] = {{false, 1}, {false, 3}, {false, 0}, {true, 3}, {true, 1}, {true, 0}};
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << (s.shift ? "Control+Shift+Tab" : "Control+Tab") << " to " << s.expected);
        CMavTabPage* pages[] = {&t.dim, &t.mat, &t.drill, &t.mat2};
        CMavTabPage& current = *pages[t.tab.GetCurPage()];
        HWND from = ::GetNextDlgTabItem(current.m_hWnd, nullptr, FALSE);
        ASSERT_NE(from, nullptr);
        ::SetFocus(from);
        EXPECT_TRUE(uitest::pressKey(from, VK_TAB, true, s.shift));
        EXPECT_EQ(t.tab.GetCurPage(), s.expected);
        EXPECT_EQ(t.tab.GetCurSel(), s.expected);
        EXPECT_EQ(t.drill.m_hWnd, nullptr);
        EXPECT_TRUE(pages[s.expected]->IsWindowVisible());
    }
}

// A click on the disabled tab keeps the current page (and the control's focus on its tab); on another tab it
// creates and shows that tab's page.
TEST(MavTabCtrl, MouseOnADisabledTabKeepsTheCurrentPage)
{
    Tabs t;
    const CMavTabPage* pages[] = {&t.dim, &t.mat, &t.drill, &t.mat2};
    for (int tab : {2, 1}) {
        RECT r{};
        t.tab.GetItemRect(tab, &r);
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        t.tab.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        t.tab.SendMessage(WM_LBUTTONUP, 0, at);
        const int page = tab == 2 ? 0 : 1;
        EXPECT_EQ(std::make_tuple(t.tab.GetCurPage(), t.tab.GetCurFocus(), t.tab.GetCurSel()),
                  std::make_tuple(page, page, page));
        EXPECT_EQ(t.drill.m_hWnd, nullptr);
        EXPECT_TRUE(pages[page]->IsWindowVisible());
        EXPECT_EQ(t.dim.IsWindowVisible() != FALSE, page == 0);
    }
}

TEST(MavTabCtrl, EscapeIsKeptAndANullMessageClosesTheOwner)
{
    Tabs t;
    ::SetFocus(t.tab.m_hWnd);
    EXPECT_TRUE(uitest::pressKey(t.tab.m_hWnd, VK_ESCAPE));
    EXPECT_TRUE(t.host.IsWindowVisible());
    MSG msg{t.tab.m_hWnd, WM_NULL, 0, 0, 0, {}};
    EXPECT_TRUE(AfxPreTranslateMessage(&msg));
    EXPECT_EQ(t.host.closes, 0) << "posted, not sent";
    for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageW(&m);
    EXPECT_EQ(t.host.closes, 1);
}

TEST(MavTabCtrl, DeletingKeepsTheShownPage)
{
    Tabs t;
    t.tab.SetCurSel(1);
    ASSERT_NE(t.dim.m_hWnd, nullptr);
    EXPECT_EQ(t.tab.DeleteItem(0), 1);
    EXPECT_EQ(t.dim.m_hWnd, nullptr) << "the page's window is destroyed, the object stays";
    EXPECT_EQ(std::make_tuple(t.tab.GetCurPage(), t.tab.GetCurSel(), t.tab.GetPage(0)), std::make_tuple(0, 0, &t.mat));
    EXPECT_TRUE(t.mat.IsWindowVisible());
    EXPECT_EQ(t.tab.DeleteItem(5), 0);
    EXPECT_FALSE(t.tab.isTabEnabled(1)) << "the disabled tab moved up by one";
    EXPECT_FALSE(t.tab.EnableTab(3, true));

    // Deleting the current tab makes the next one current, created when it had no window.
    EXPECT_EQ(t.tab.DeleteItem(0), 1);
    EXPECT_EQ(std::make_tuple(t.tab.GetCurPage(), t.tab.GetItemCount(), t.tab.GetPage(0)), std::make_tuple(0, 2, &t.drill));
    EXPECT_EQ(t.tab.DeleteAllItems(), TRUE);
    EXPECT_EQ(std::make_tuple(t.tab.GetCurPage(), t.tab.GetItemCount()), std::make_tuple(-1, 0));
    EXPECT_EQ(t.mat.m_hWnd, nullptr);
}

TEST(MavTabCtrl, PagesTakeOverTheHostsHelpAndLanguage)
{
    Tabs t(false);
    t.host.SetHelpFile(L"C:\\help\\schrank.chm");
    t.host.SetHelpTopic(L"masse");
    t.host.SetCountry(L"en");
    t.tab.InsertItem(0, L"Ma\u00DFe", &t.dim, IDD_MAV_SAMPLE_PAGE_DIM);
    ASSERT_NE(t.dim.m_hWnd, nullptr);
    EXPECT_EQ(t.dim.hostDlg(), &t.host);
    CString s;
    t.dim.GetHelpFile(s);
    EXPECT_EQ(std::wstring(s.GetString()), L"C:\\help\\schrank.chm");
    t.dim.GetHelpTopic(s);
    EXPECT_EQ(std::wstring(s.GetString()), L"masse");
    EXPECT_EQ(std::wstring(t.dim.country()), L"en");

    // OnOk exchanges and closes every created page.
    t.tab.OnOk();
    for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageW(&m);
    EXPECT_EQ(t.dim.saves, 1);
    EXPECT_EQ(t.mat.saves, 0) << "a page never shown has nothing to give";
    EXPECT_FALSE(t.dim.IsWindowVisible()) << "closed pages are hidden";
}
