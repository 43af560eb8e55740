// The About box: opened from a dialog's system menu command 16, it names the library from its version resource in
// the opening dialog's language.
#include <gtest/gtest.h>

#include <string>

#include "data/messages.h"
#include "resource.h"
#include "ui/CMavAboutDlg.h"
#include "ui_test_support.h"
#include "version.h"

namespace {

class HostDlg : public CMavDlg {
public:
    HostDlg() : CMavDlg(IDD_MAV_TEST_FIXED) { SavePosition(false); }
    ~HostDlg() override
    {
        if (m_hWnd)
            DestroyWindow();
    }
    BOOL OnInitDialog() override
    {
        CMavDlg::OnInitDialog();
        MAV::aboutMenuAdd(this);
        return TRUE;
    }
    void OnSysCommand(UINT id, LPARAM lParam) override
    {
        if (!MAV::aboutOnSysCommand(this, id))
            CMavDlg::OnSysCommand(id, lParam);
    }
};

struct AboutView {
    std::wstring caption, product, version, maker, versionLabel, makerLabel, ok;
    bool hasIcon = false;
    bool bigIcon = false;
};

TEST(AboutBox, SystemMenuCommandShowsProductVersionAndMaker)
{
    struct Case {
        const wchar_t* country;
        const wchar_t* menu;
        const wchar_t* caption;
        const wchar_t* versionLabel;
        const wchar_t* makerLabel;
    };
    const Case cases[] = {
        {L"de", L"Info über MavMfc...", L"Info über MavMfc", L"Version", L"Hersteller"},
        {L"en", L"About MavMfc...", L"About MavMfc", L"Version", L"Maker"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.country)));
        HostDlg host;
        host.SetCountry(c.country);
        {
            AFX_MANAGE_STATE(AfxGetStaticModuleState());
            ASSERT_TRUE(host.Create(IDD_MAV_TEST_FIXED));
        }
        HMENU menu = ::GetSystemMenu(host.m_hWnd, FALSE);
        wchar_t entry[64] = {};
        ASSERT_GT(::GetMenuStringW(menu, MAV::IDM_ABOUTBOX, entry, 64, MF_BYCOMMAND), 0);
        EXPECT_EQ(std::wstring(entry), c.menu);

        AboutView view;
        {
            uitest::ModalDriver read([&](HWND box) {
                view.caption = uitest::windowText(box);
                view.product = uitest::itemText(box, IDC_ABOUT_PRODUCT);
                view.version = uitest::itemText(box, IDC_ABOUT_VERSION);
                view.maker = uitest::itemText(box, IDC_ABOUT_MAKER);
                view.versionLabel = uitest::itemText(box, IDC_ABOUT_VERSION_LABEL);
                view.makerLabel = uitest::itemText(box, IDC_ABOUT_MAKER_LABEL);
                view.ok = uitest::itemText(box, IDOK);
                view.hasIcon = ::SendDlgItemMessageW(box, IDC_ABOUT_ICON, STM_GETICON, 0, 0) != 0;
                view.bigIcon = ::SendMessageW(box, WM_GETICON, ICON_BIG, 0) != 0;
                ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            });
            ::SendMessageW(host.m_hWnd, WM_SYSCOMMAND, MAV::IDM_ABOUTBOX, 0);
            EXPECT_TRUE(read.acted());
            EXPECT_FALSE(read.timedOut());
        }
        EXPECT_EQ(view.caption, c.caption);
        EXPECT_EQ(view.product, L"MavMfc");
        EXPECT_EQ(view.version, L"" MAV_VERSION_STRING);
        EXPECT_EQ(view.maker, L"MAVORA");
        EXPECT_EQ(view.versionLabel, c.versionLabel);
        EXPECT_EQ(view.makerLabel, c.makerLabel);
        EXPECT_EQ(view.ok, L"OK");
        EXPECT_TRUE(view.hasIcon);
        EXPECT_TRUE(view.bigIcon);
        // The box was on the dialog stack only while open.
        EXPECT_EQ(MAV::dlgStackPop(), host.m_hWnd);
        MAV::dlgStackPush(host.m_hWnd);
    }
    // Other system commands are not the About box's.
    EXPECT_FALSE(MAV::aboutOnSysCommand(nullptr, SC_MOVE));
}

} // namespace
