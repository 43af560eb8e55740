// The About box: system-menu command 16 of a dialog opens it with the library's icon, product name, version and
// maker from the version resource, in the dialog's language.
#include "ui/CMavAboutDlg.h"
#include "ui_test_support.h"
#include "version.h"

namespace {

class HostDlg : public CMavDlg {
public:
    HostDlg() : CMavDlg(IDD_MAV_TEST_FIXED) { SavePosition(false); }
    BOOL OnInitDialog() override { return CMavDlg::OnInitDialog(), MAV::aboutMenuAdd(this), TRUE; }
    void OnSysCommand(UINT id, LPARAM lParam) override
    {
        if (!MAV::aboutOnSysCommand(this, id))
            CMavDlg::OnSysCommand(id, lParam);
    }
};

TEST(AboutBox, SystemMenuCommandShowsProductVersionAndMaker)
{
    const wchar_t* const cases[][5] = {
        {L"de", L"Info über MavMfc...", L"Info über MavMfc", L"Version", L"Hersteller"},
        {L"en", L"About MavMfc...", L"About MavMfc", L"Version", L"Maker"},
    };
    for (const auto& c : cases) {
        HostDlg host;
        host.SetCountry(c[0]);
        AFX_MANAGE_STATE(AfxGetStaticModuleState());
        ASSERT_TRUE(host.Create(IDD_MAV_TEST_FIXED));
        wchar_t entry[64] = {};
        ::GetMenuStringW(::GetSystemMenu(host.m_hWnd, FALSE), MAV::IDM_ABOUTBOX, entry, 64, MF_BYCOMMAND);
        EXPECT_EQ(std::wstring(entry), c[1]);

        std::wstring seen;
        uitest::Script read([&](HWND box) {
            seen = uitest::windowText(box);
            for (int id : {IDC_ABOUT_PRODUCT, IDC_ABOUT_VERSION, IDC_ABOUT_MAKER, IDC_ABOUT_VERSION_LABEL,
                           IDC_ABOUT_MAKER_LABEL})
                seen += L"|" + uitest::itemText(box, id);
            if (::SendDlgItemMessageW(box, IDC_ABOUT_ICON, STM_GETICON, 0, 0) &&
                ::SendMessageW(box, WM_GETICON, ICON_BIG, 0))
                seen += L"|icons";
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
        ::SendMessageW(host.m_hWnd, WM_SYSCOMMAND, MAV::IDM_ABOUTBOX, 0);
        EXPECT_EQ(seen,
                  std::wstring(c[2]) + L"|MavMfc|" MAV_VERSION_STRING L"|MAVORA|" + c[3] + L"|" + c[4] + L"|icons");
        host.DestroyWindow();
    }
    EXPECT_FALSE(MAV::aboutOnSysCommand(nullptr, SC_MOVE));
}

} // namespace
