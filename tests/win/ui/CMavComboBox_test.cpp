// The numeric combo box in the material page of the cabinet sample: silent corrections when it loses the focus,
// values of lengths and angles, and the alternate row background as painted.
#include <cfloat>

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
    // Puts text into the plain box's edit part as the user would and moves the focus away (CBN_KILLFOCUS); the
    // text shown then, and the message box this opened, if any.
    std::wstring enter(const wchar_t* typed)
    {
        const std::wstring box = uitest::boxOf([&] {
            ::SetFocus(plain.m_hWnd);
            plain.SetWindowText(typed);
            ::SetFocus(combo.m_hWnd);
        });
        return box + text(plain);
    }
};

} // namespace

// No message, ever: an empty optional text stays, a required one becomes 0, 1 without zero or the minimum with
// limits; a negative value only beeps; zero becomes 1; limits in either order clamp; no number reads as 0; a
// decimal comma is taken. Integers drop their fraction; an unknown type keeps its text and has no value.
TEST(MavComboBox, FocusLossCorrectsTheTextSilently)
{
    Box b;
    const struct {
        int type;
        unsigned short flags;
        double min, max;
        const wchar_t *typed, *shown;
    } cases[] = {
        {2, 0x0000, 0, 0, L"", L""},          {2, 0x0001, 0, 0, L"", L"0.0"},
        {2, 0x0003, 0, 0, L"", L"1.0"},       {2, 0x000B, 50, 900, L"", L"50.0"},
        {2, 0x0004, 0, 0, L"-5", L"-5.0"},    {2, 0x0006, 0, 0, L"0", L"1.0"},
        {2, 0x0008, 900, 50, L"20", L"50.0"}, {2, 0x0008, 50, 900, L"1200", L"900.0"},
        {2, 0x0001, 0, 0, L"abc", L"0.0"},    {2, 0x0001, 0, 0, L"12,26", L"12.3"},
        {1, 0x0001, 0, 0, L"7.9", L"7"},      {0, 0x0001, 0, 0, L"x1", L"x1"},
    };
    for (const auto& c : cases) {
        b.plain.setEditFlags(static_cast<CMavComboBox::type>(c.type), c.flags, c.type == 2 ? 1 : -1, c.min, c.max);
        EXPECT_EQ(b.enter(c.typed), c.shown) << c.flags << " " << uitest::str(c.typed);
    }
    double v = 0;
    EXPECT_FALSE(b.plain.getVal(v) || b.plain.setVal(2.0));
    b.plain.setEditFlags(CMavComboBox::typeInt, 0x0001, -1, 0, 0);
    b.enter(L"7.9");
    int n = 0;
    ASSERT_TRUE(b.plain.getVal(n));
    EXPECT_EQ(n, 7);
}

// Lengths convert between units both ways; a length is no integer. The list gets texts as shown; formats 4 and 5
// keep fractions even for tiny values. Angles: degrees typed, radians got, no degree sign; precision -5 is kept
// as a large number and ends at the formatter's finest.
TEST(MavComboBox, LengthsAndAnglesConvertBetweenTextAndValue)
{
    Box b;
    b.plain.setEditFlags(CMavComboBox::typeLength, 0x0021, 2, -DBL_MAX, DBL_MAX);
    b.plain.setLUnits(Mav::kUnitsMillimeters, Mav::kUnitsInches);
    ASSERT_TRUE(b.plain.setVal(25.4));
    EXPECT_EQ(text(b.plain), L"1");
    b.plain.SetWindowText(L"2");
    double v = 0;
    int n = 0;
    ASSERT_TRUE(b.plain.getVal(v));
    EXPECT_DOUBLE_EQ(v, 50.8);
    EXPECT_FALSE(b.plain.getVal(n));

    b.plain.setFormat(Mav::kFormatArchitectural);
    b.plain.setEditFlags(CMavComboBox::typeLength, 0x0021, 1, -DBL_MAX, DBL_MAX);
    const std::vector<int> at{b.plain.AddVal(444.5), b.plain.InsertVal(0, 609.6), b.plain.AddVal(0.05)};
    EXPECT_EQ(at, (std::vector<int>{0, 0, 2}));
    std::wstring items;
    for (int i = 0; i < 3; ++i) {
        CString item;
        b.plain.GetLBText(i, item);
        items += std::wstring(item.GetString()) + L"|";
    }
    EXPECT_EQ(items, L"2'|1'-5 1/2\"|1/256\"|");

    b.plain.setEditFlags(CMavComboBox::typeAngle, 0x0001, 3, -DBL_MAX, DBL_MAX);
    b.plain.setFormat(Mav::kFormatDecimal);
    EXPECT_EQ(b.enter(L"90"), L"90.000");
    ASSERT_TRUE(b.plain.getVal(v));
    EXPECT_DOUBLE_EQ(v, kPi / 2);
    b.plain.setEditFlags(CMavComboBox::typeAngle, 0x0001, -5, -DBL_MAX, DBL_MAX);
    b.plain.setVal(kPi);
    EXPECT_EQ(text(b.plain), L"180.000000000000000");
}

// Alternate rows as the list box really paints them (the list's WM_PRINTCLIENT reaches DrawItem through the
// dialog's reflection), and the mix of light and dark backgrounds drawn into a DC directly: 5 % black on a light
// background, 5 % white on a dark one, the selection and focus winning, the DC's colours restored.
TEST(MavComboBox, AlternateRowsArePaintedOnTheOtherBackground)
{
    Box b;
    b.combo.setEditFlags(CMavComboBox::typeLength, 0x0021, 0, -DBL_MAX, DBL_MAX);
    b.combo.setFormat(Mav::kFormatDecimal);
    for (double w : {300.0, 450.0, 600.0, 900.0})
        b.combo.AddVal(w);
    b.combo.setAltBackgr({1, 3});
    CMavArrayTempl<int> alt;
    b.combo.getAltBackgr(alt);
    EXPECT_EQ(alt, (CMavArrayTempl<int>{1, 3}));
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(b.combo.m_hWnd, &info));
    RECT rc{};
    GetClientRect(info.hwndList, &rc);
    const int h = static_cast<int>(b.combo.GetItemHeight(0));
    ASSERT_GT(h, 4);
    afxtest::Dib dib(rc.right > 0 ? rc.right : 100, 4 * h + 4, 0x123456);
    SendMessageW(info.hwndList, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.dc), PRF_CLIENT);
    auto rgb = [](COLORREF c, double mix, int t) {
        auto ch = [&](int v) { return static_cast<DWORD>(t * mix + v * (mix ? 0.95 : 1.0)); };
        return ch(GetRValue(c)) << 16 | ch(GetGValue(c)) << 8 | ch(GetBValue(c));
    };
    const COLORREF window = GetSysColor(COLOR_WINDOW), hl = GetSysColor(COLOR_HIGHLIGHT);
    const int t = (GetRValue(window) + 2 * GetGValue(window)) / 3 < 129 ? 255 : 0;
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(dib.at(dib.w - 3, row * h + h / 2), rgb(window, row % 2 ? 0.05 : 0, t)) << row;

    const struct {
        COLORREF back;
        DWORD expected; // 0x00RRGGBB
        UINT state, action;
    } cases[] = {
        {RGB(255, 255, 255), 0xF2F2F2, 0, ODA_DRAWENTIRE},
        {RGB(40, 40, 40), 0x323232, 0, ODA_DRAWENTIRE},
        {RGB(200, 100, 50), 0xBE5F2F, 0, ODA_DRAWENTIRE}, // (200 + 200) / 3 = 133: light
        {RGB(0, 192, 0), 0x0CC30C, 0, ODA_DRAWENTIRE},    // (0 + 384) / 3 = 128: still dark
        {RGB(3, 192, 0), 0x02B600, 0, ODA_DRAWENTIRE},    // (3 + 384) / 3 = 129: light
        {RGB(255, 255, 255), rgb(hl, 0, 0), ODS_SELECTED, ODA_SELECT},
        {RGB(255, 255, 255), 0xF2F2F2, ODS_SELECTED, ODA_DRAWENTIRE}, // a whole repaint is no selection change
        {RGB(255, 255, 255), rgb(hl, 0, 0), ODS_FOCUS, ODA_DRAWENTIRE},
        {RGB(255, 255, 255), 0xF2F2F2, ODS_DISABLED, ODA_DRAWENTIRE},
        {RGB(255, 255, 255), 0xFFFFFF, ODS_COMBOBOXEDIT, ODA_DRAWENTIRE}, // the edit part is no list row
    };
    for (const auto& c : cases) {
        afxtest::Dib cell(40, 12, 0);
        SetBkColor(cell.dc, c.back);
        SetTextColor(cell.dc, RGB(1, 2, 3));
        DRAWITEMSTRUCT di{ODT_COMBOBOX, 0, 1, c.action, c.state, b.combo.m_hWnd, cell.dc, {0, 0, 40, 12}, 0};
        b.combo.DrawItem(&di);
        EXPECT_EQ(std::make_tuple(cell.at(38, 6), GetBkColor(cell.dc), GetTextColor(cell.dc)),
                  std::make_tuple(c.expected, c.back, RGB(1, 2, 3)))
            << std::hex << c.back;
    }
}
