// The units dialog as a user meets it: the unit names of the language, the unit passed in selected, Escape
// ignored, OK refused while "unitless" is selected, and the unit chosen returned.
#include "../ui/ui_test_support.h"
#include "dialogs/CMavUnitsDlg.h"

namespace {

using uitest::Script;

int dlgUnits(const wchar_t* country, int unit)
{
    MAV::DlgEnv_st e;
    e.country = country;
    return MAV::dlgUnits(e, static_cast<Mav::lUnit>(unit));
}
HWND list(HWND d) { return ::GetDlgItem(d, IDC_UNITS_LIST); }
void key(HWND d, WPARAM vk) { ::PostMessageW(list(d), WM_KEYDOWN, vk, 1); }
// Caption, number of rows, rows 0 and 4, the row selected and whether OK can be pressed.
std::wstring shown(HWND d)
{
    wchar_t first[64] = {}, fourth[64] = {};
    ::SendMessageW(list(d), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
    ::SendMessageW(list(d), LB_GETTEXT, 4, reinterpret_cast<LPARAM>(fourth));
    return uitest::windowText(d) + L"|" + std::to_wstring(::SendMessageW(list(d), LB_GETCOUNT, 0, 0)) + L"|" + first +
           L"|" + fourth + L"|" + std::to_wstring(::SendMessageW(list(d), LB_GETCURSEL, 0, 0)) +
           (::IsWindowEnabled(::GetDlgItem(d, IDOK)) ? L"|ok" : L"|no ok");
}

TEST(UnitsDialog, EscapeIgnoredUnitlessRefusedChoiceReturned)
{
    std::wstring seen;
    bool noCancel = false, focused = false;
    {
        Script script({{L"#32770",
                        [&](HWND d) {
                            seen = shown(d);
                            noCancel = ::GetDlgItem(d, IDCANCEL) == nullptr;
                            focused = ::GetFocus() == list(d);
                            key(d, VK_ESCAPE);
                        }},
                       {L"", [&](HWND d) { seen += L"/" + std::to_wstring(::IsWindow(d)), key(d, VK_HOME); }},
                       {L"", [&](HWND d) { seen += L"/" + shown(d), key(d, VK_RETURN); }},
                       {L"", [&](HWND d) { seen += L"/" + std::to_wstring(::IsWindow(d)), key(d, VK_END); }},
                       {L"", [&](HWND d) { seen += L"/" + shown(d), uitest::press(d, IDOK); }}});
        EXPECT_EQ(dlgUnits(L"de", 4), 20);
    }
    EXPECT_TRUE(Script::finished());
    const std::wstring at4 = L"Einheit w\u00e4hlen|21|Ohne Einheit|Millimeter|";
    EXPECT_EQ(seen, at4 + L"4|ok/1/" + at4 + L"0|no ok/1/" + at4 + L"20|ok");
    EXPECT_TRUE(noCancel && focused);

    // The unit passed in: unitless is listed but cannot be confirmed (the window is closed instead); a unit beyond
    // the table selects nothing and comes back unchanged.
    const struct {
        int unit;
        const wchar_t* shown;
    } cases[] = {{4, L"4|ok"}, {0, L"0|no ok"}, {21, L"-1|ok"}, {-3, L"-1|ok"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unit);
        Script script([&](HWND d) {
            seen = shown(d);
            if (::IsWindowEnabled(::GetDlgItem(d, IDOK)))
                uitest::press(d, IDOK);
            else
                ::PostMessageW(d, WM_CLOSE, 0, 0);
        });
        EXPECT_EQ(dlgUnits(L"en", c.unit), c.unit);
        EXPECT_TRUE(Script::finished());
        EXPECT_EQ(seen, std::wstring(L"Select unit|21|Unitless|Millimeters|") + c.shown);
    }
}

} // namespace
