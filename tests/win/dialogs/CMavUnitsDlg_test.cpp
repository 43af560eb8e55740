// The units dialog as a user meets it: the unit names of the language, the unit passed in selected, Escape
// ignored, OK refused while "unitless" is selected, and the unit chosen returned.
#include <gtest/gtest.h>

#include <windows.h>

#include "dialogs/CMavUnitsDlg.h"
#include "dialogs_test_support.h"
#include "resource.h"

namespace {

using dlgtest::Steps;

MAV::DlgEnv_st env(const wchar_t* country)
{
    MAV::DlgEnv_st e;
    e.country = country;
    e.hWndParent = nullptr;
    return e;
}

void key(HWND target, WPARAM vk) { ::PostMessageW(target, WM_KEYDOWN, vk, 1); }

TEST(UnitsDialog, EscapeIgnoredUnitlessRefusedChoiceReturned)
{
    HWND list = nullptr;
    bool escapeSurvived = false, enterRefused = false;
    Steps steps({[&](HWND d) {
                     list = ::GetDlgItem(d, IDC_UNITS_LIST);
                     EXPECT_EQ(dlgtest::text(d), L"Einheit wählen");
                     EXPECT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 21);
                     EXPECT_EQ(::SendMessageW(list, LB_GETCURSEL, 0, 0), 4);
                     EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(d, IDOK)));
                     EXPECT_EQ(::GetDlgItem(d, IDCANCEL), nullptr);
                     EXPECT_EQ(::GetFocus(), list);
                     key(list, VK_ESCAPE);
                 },
                 [&](HWND d) {
                     escapeSurvived = ::IsWindow(d) != FALSE;
                     key(list, VK_HOME); // to "unitless"
                 },
                 [&](HWND d) {
                     EXPECT_EQ(::SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
                     EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(d, IDOK)));
                     key(list, VK_RETURN);
                 },
                 [&](HWND d) {
                     enterRefused = ::IsWindow(d) != FALSE;
                     key(list, VK_END); // to the last unit, 20
                 },
                 [&](HWND d) {
                     EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(d, IDOK)));
                     dlgtest::click(d, IDOK);
                 }});
    EXPECT_EQ(MAV::dlgUnits(env(L"de"), static_cast<Mav::lUnit>(4)), 20);
    EXPECT_TRUE(Steps::done());
    EXPECT_TRUE(escapeSurvived);
    EXPECT_TRUE(enterRefused);
}

// What is selected and whether OK works for the unit passed in, and what confirming returns: unitless is listed
// but cannot be confirmed; a unit beyond the table selects nothing and comes back unchanged.
TEST(UnitsDialog, UnitPassedInTable)
{
    struct Case {
        int unit;
        int selected;
        bool okEnabled;
        int returned; // after clicking OK, or closing the window when OK is disabled
    } cases[] = {{4, 4, true, 4}, {0, 0, false, 0}, {21, -1, true, 21}, {-3, -1, true, -3}, {1000, -1, true, 1000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unit);
        Steps steps({[&](HWND d) {
            EXPECT_EQ(::SendDlgItemMessageW(d, IDC_UNITS_LIST, LB_GETCURSEL, 0, 0), c.selected);
            EXPECT_EQ(::IsWindowEnabled(::GetDlgItem(d, IDOK)) != FALSE, c.okEnabled);
            EXPECT_EQ(dlgtest::text(::GetDlgItem(d, IDOK)), L"OK");
            if (c.okEnabled)
                dlgtest::click(d, IDOK);
            else
                ::PostMessageW(d, WM_CLOSE, 0, 0);
        }});
        EXPECT_EQ(MAV::dlgUnits(env(L"en"), static_cast<Mav::lUnit>(c.unit)), c.returned);
        EXPECT_TRUE(Steps::done());
    }
}

TEST(UnitsDialog, EnglishNames)
{
    std::wstring caption, first, fourth;
    Steps steps({[&](HWND d) {
        caption = dlgtest::text(d);
        wchar_t buf[64] = {};
        ::SendDlgItemMessageW(d, IDC_UNITS_LIST, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(buf));
        first = buf;
        ::SendDlgItemMessageW(d, IDC_UNITS_LIST, LB_GETTEXT, 4, reinterpret_cast<LPARAM>(buf));
        fourth = buf;
        dlgtest::click(d, IDOK);
    }});
    EXPECT_EQ(MAV::dlgUnits(env(L"en"), static_cast<Mav::lUnit>(4)), 4);
    EXPECT_EQ(caption, L"Select unit");
    EXPECT_EQ(first, L"Unitless");
    EXPECT_EQ(fourth, L"Millimeters");
}

} // namespace
