// The numeric combo box in the material page of the cabinet sample: silent corrections when it loses the focus,
// values of lengths and angles, and the alternate row background as painted.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

#include "resource.h"
#include "ui/CMavComboBox.h"
#include "ui_test_support.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

using uitest::text;

struct Box {
    uitest::PageOnOwner host{IDD_MAV_SAMPLE_PAGE_MAT};
    CMavComboBox combo; // owner-drawn list with an edit part
    CMavComboBox plain;
    Box()
    {
        combo.SubclassDlgItem(IDC_SAMPLE_STDWIDTH, &host.page);
        plain.SubclassDlgItem(IDC_SAMPLE_THICK, &host.page);
    }
    // Puts text into the box's edit part as the user would and moves the focus away (CBN_KILLFOCUS).
    void enter(CMavComboBox& box, const wchar_t* typed)
    {
        ::SetFocus(box.m_hWnd);
        box.SetWindowText(typed);
        CMavComboBox& away = &box == &combo ? plain : combo;
        ::SetFocus(away.m_hWnd);
    }
};

} // namespace

TEST(MavComboBox, FocusLossCorrectsTheTextSilently)
{
    Box b;
    struct Case {
        unsigned short flags;
        double min, max;
        const wchar_t* typed;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {0x0000, 0, 0, L"", L""},           // optional: an empty text stays
        {0x0001, 0, 0, L"", L"0.0"},        // required: zero
        {0x0003, 0, 0, L"", L"1.0"},        // required, no zero: one
        {0x000B, 50, 900, L"", L"50.0"},    // required, no zero, limits: the minimum
        {0x0004, 0, 0, L"-5", L"-5.0"},     // negative: a beep, the value stays
        {0x0006, 0, 0, L"0", L"1.0"},       // zero: one
        {0x0008, 900, 50, L"20", L"50.0"},  // limits given in either order clamp silently
        {0x0008, 50, 900, L"1200", L"900.0"},
        {0x0001, 0, 0, L"abc", L"0.0"},     // no number reads as 0
        {0x0001, 0, 0, L"12,26", L"12.3"},  // a decimal comma; one decimal shown
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << c.flags << " typed " << c.typed);
        b.plain.setEditFlags(CMavComboBox::typeLength, c.flags, 1, c.min, c.max);
        EXPECT_EQ(uitest::boxOf([&] { b.enter(b.plain, c.typed); }), L"") << "no message, ever";
        EXPECT_EQ(text(b.plain), c.shown);
    }

    // Integers and an unknown type.
    b.plain.setEditFlags(CMavComboBox::typeInt, 0x0001, -1, 0, 0);
    b.enter(b.plain, L"7.9");
    EXPECT_EQ(text(b.plain), L"7");
    int n = 0;
    ASSERT_TRUE(b.plain.getVal(n));
    EXPECT_EQ(n, 7);
    b.plain.setEditFlags(CMavComboBox::typeNone, 0x0001, -1, 0, 0);
    b.enter(b.plain, L"x1");
    EXPECT_EQ(text(b.plain), L"x1");
    double v = 0;
    EXPECT_FALSE(b.plain.getVal(v));
    EXPECT_FALSE(b.plain.setVal(2.0));
}

TEST(MavComboBox, LengthsAndAnglesConvertBetweenTextAndValue)
{
    Box b;
    b.plain.setEditFlags(CMavComboBox::typeLength, 0x0021, 2, -DBL_MAX, DBL_MAX);
    b.plain.setLUnits(Mav::kUnitsMillimeters, Mav::kUnitsInches);
    ASSERT_TRUE(b.plain.setVal(25.4));
    EXPECT_EQ(text(b.plain), L"1");
    b.plain.SetWindowText(L"2");
    double v = 0;
    ASSERT_TRUE(b.plain.getVal(v));
    EXPECT_DOUBLE_EQ(v, 50.8);
    int n = 0;
    EXPECT_FALSE(b.plain.getVal(n)) << "a length is no integer";

    // The list gets texts as shown; formats 4 and 5 keep fractions even for tiny values.
    b.plain.setFormat(Mav::kFormatArchitectural);
    b.plain.setEditFlags(CMavComboBox::typeLength, 0x0021, 1, -DBL_MAX, DBL_MAX);
    EXPECT_EQ(b.plain.AddVal(444.5), 0);
    EXPECT_EQ(b.plain.InsertVal(0, 609.6), 0);
    EXPECT_EQ(b.plain.AddVal(0.05), 2);
    std::wstring items;
    for (int i = 0; i < 3; ++i) {
        CString item;
        b.plain.GetLBText(i, item);
        items += std::wstring(item.GetString()) + L"|";
    }
    EXPECT_EQ(items, L"2'|1'-5 1/2\"|1/256\"|") << "no decimal form for tiny lengths in the list";

    // Angles: degrees typed, radians got, no degree sign.
    b.plain.setEditFlags(CMavComboBox::typeAngle, 0x0001, 3, -DBL_MAX, DBL_MAX);
    b.plain.setFormat(Mav::kFormatDecimal);
    b.enter(b.plain, L"90");
    ASSERT_TRUE(b.plain.getVal(v));
    EXPECT_DOUBLE_EQ(v, kPi / 2);
    EXPECT_EQ(text(b.plain), L"90.000");
    // Precision -5 is kept as a large number and ends at the formatter's finest.
    b.plain.setEditFlags(CMavComboBox::typeAngle, 0x0001, -5, -DBL_MAX, DBL_MAX);
    b.plain.setVal(kPi);
    EXPECT_EQ(text(b.plain), L"180.000000000000000");
}

// Alternate rows as the list box really paints them (the list's WM_PRINTCLIENT reaches DrawItem through the
// dialog's reflection), and the mix of light and dark backgrounds drawn into a DC directly.
TEST(MavComboBox, AlternateRowsArePaintedOnTheOtherBackground)
{
    Box b;
    b.combo.setEditFlags(CMavComboBox::typeLength, 0x0021, 0, -DBL_MAX, DBL_MAX);
    b.combo.setFormat(Mav::kFormatDecimal);
    for (double w : {300.0, 450.0, 600.0, 900.0})
        b.combo.AddVal(w);
    b.combo.setAltBackgr({1, 3});
    CMavArrayTempl<int> rows;
    b.combo.getAltBackgr(rows);
    EXPECT_EQ(rows, (CMavArrayTempl<int>{1, 3}));

    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(b.combo.m_hWnd, &info));
    RECT rc{};
    GetClientRect(info.hwndList, &rc);
    const int h = static_cast<int>(b.combo.GetItemHeight(0));
    ASSERT_GT(h, 4);
    afxtest::Dib dib(rc.right > 0 ? rc.right : 100, 4 * h + 4, 0x123456);
    SendMessageW(info.hwndList, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.dc), PRF_CLIENT);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const int r = GetRValue(window), g = GetGValue(window), bl = GetBValue(window);
    const int t = (r + 2 * g) / 3 < 129 ? 255 : 0;
    const DWORD plainPx = (r << 16) | (g << 8) | bl;
    auto mix = [t](int c) { return static_cast<DWORD>(t * 0.05 + c * 0.95); };
    const DWORD altPx = (mix(r) << 16) | (mix(g) << 8) | mix(bl);
    const int x = dib.w - 3;
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(dib.at(x, row * h + h / 2), (row % 2) ? altPx : plainPx);
    }

    struct Case {
        COLORREF back;
        DWORD expected; // 0x00RRGGBB
        UINT state = 0;
        UINT action = ODA_DRAWENTIRE;
    };
    const COLORREF hl = GetSysColor(COLOR_HIGHLIGHT);
    const DWORD hlPx = (GetRValue(hl) << 16) | (GetGValue(hl) << 8) | GetBValue(hl);
    const Case cases[] = {
        {RGB(255, 255, 255), 0xF2F2F2}, // light: 5 % black
        {RGB(40, 40, 40), 0x323232},    // dark: 5 % white
        {RGB(200, 100, 50), 0xBE5F2F},  // (200 + 200) / 3 = 133: light
        {RGB(0, 192, 0), 0x0CC30C},     // (0 + 384) / 3 = 128: still dark
        {RGB(3, 192, 0), 0x02B600},     // (3 + 384) / 3 = 129: light
        {RGB(255, 255, 255), hlPx, ODS_SELECTED, ODA_SELECT},     // the selection wins over the shading
        {RGB(255, 255, 255), 0xF2F2F2, ODS_SELECTED},             // a whole repaint is no selection change
        {RGB(255, 255, 255), hlPx, ODS_FOCUS},                    // the focus row is highlighted on any action
        {RGB(255, 255, 255), 0xF2F2F2, ODS_DISABLED},             // a shaded row keeps its shading when disabled
        {RGB(255, 255, 255), 0xFFFFFF, ODS_COMBOBOXEDIT},         // the edit part is no list row
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.back);
        afxtest::Dib cell(40, 12, 0);
        SetBkColor(cell.dc, c.back);
        SetTextColor(cell.dc, RGB(1, 2, 3));
        DRAWITEMSTRUCT di{};
        di.CtlType = ODT_COMBOBOX;
        di.hwndItem = b.combo.m_hWnd;
        di.itemID = 1;
        di.itemAction = c.action;
        di.itemState = c.state;
        di.hDC = cell.dc;
        di.rcItem = {0, 0, 40, 12};
        b.combo.DrawItem(&di);
        EXPECT_EQ(cell.at(38, 6), c.expected);
        EXPECT_EQ(GetBkColor(cell.dc), c.back) << "the DC's colours are restored";
        EXPECT_EQ(GetTextColor(cell.dc), RGB(1, 2, 3));
    }
}
