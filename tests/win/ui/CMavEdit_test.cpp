// The numeric edit field in a page of the cabinet sample: shown texts, reading back, typing and the checks with
// their error boxes, key words and the modification flag.
#include <cfloat>
#include <cmath>
#include <random>

#include "data/units.h"
#include "ui/CMavEdit.h"
#include "ui_test_support.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
using uitest::text;

// A field of the sample page, typed and formatted as a case asks.
struct Field {
    uitest::PageOnOwner host{IDD_MAV_SAMPLE_PAGE_DIM};
    CMavEdit edit;
    CWnd other;
    Field()
    {
        edit.SubclassDlgItem(IDC_SAMPLE_WIDTH, &host.page);
        other.SubclassDlgItem(IDC_SAMPLE_HEIGHT, &host.page);
    }
    void set(int type, unsigned short flags, int prec, int format = 2, double lo = -DBL_MAX, double hi = DBL_MAX)
    {
        edit.setEditFlags(static_cast<CMavEdit::type>(type), flags, prec, lo, hi);
        edit.setFormat(static_cast<Mav::lFormat>(format));
    }
    // Gives the field the focus, types keys (a paste when there are many) and moves the focus to the next field;
    // the error box this opened as "text|caption", if any.
    std::wstring enter(const std::wstring& keys)
    {
        return uitest::boxOf([&] {
            if (::GetFocus() == edit.m_hWnd)
                ::SetFocus(other.m_hWnd);
            ::SetFocus(edit.m_hWnd);
            if (keys.size() > 100)
                edit.ReplaceSel(keys.c_str(), TRUE);
            else
                uitest::chars(edit.m_hWnd, keys);
            ::SetFocus(other.m_hWnd);
        });
    }
    // The value read back and the text shown, "value=text".
    std::wstring value()
    {
        double v = 99;
        return (edit.getVal(v) ? std::to_wstring(v) : L"none") + L"=" + text(edit);
    }
};

} // namespace

// Texts by type, format, precision, units and flags (a length shown in the drawing's unit with flag 0x0040).
// Limits come in either order; precision is kept only for lengths and angles and only above 0, limits only for the
// value types; format 0 is refused; a failing unit conversion leaves the factor at 1.
TEST(MavEdit, ShowsValuesByTypeFormatPrecisionUnitsAndFlags)
{
    const int savedUnit = MAV::acad_unit_get();
    ASSERT_TRUE(MAV::acad_unit_set(Mav::kUnitsInches));
    const Mav::lUnit mm = Mav::kUnitsMillimeters, in = Mav::kUnitsInches;
    const struct {
        int type, format, prec;
        unsigned short flags;
        Mav::lUnit to;
        double value;
        const wchar_t* shown;
    } cases[] = {
        {1, 2, 0, 0x21, mm, 42.9, L"42"},
        {1, 2, 0, 0x21, mm, -7.9, L"-7"},
        {2, 2, 2, 0x21, mm, 12.5, L"12.5"},
        {2, 2, 2, 0x01, mm, 12.5, L"12.50"},
        {2, 2, 8, 0x21, in, 25.4, L"1"},
        {2, 2, 2, 0x61, mm, 1.23456, L"1.235"}, // drawing unit inches: one decimal more than 1/100 mm needs
        {2, 2, 2, 0x21, mm, 1.23456, L"1.23"},
        {2, 3, 1, 0x21, in, 444.5, L"1'-5.5\""},
        {2, 4, 1, 0x21, in, 444.5, L"1'-5 1/2\""},
        {2, 4, 1, 0x21, in, 609.6, L"2'"},
        {2, 4, 1, 0x01, in, 609.6, L"2'-0\""},
        {2, 4, 3, 0x21, in, 0.05, L"0.002\""}, // below 1/256": engineering instead of 0
        {2, 5, 1, 0x21, in, 444.5, L"17 1/2"},
        {2, 5, 3, 0x21, in, 0.05, L"0.002"},             // below 1/256: decimal instead of 0
        {2, 4, 3, 0x21, in, 0.0, L"0\""},                // zero is never "too small"
        {2, 2, 40, 0x01, mm, 0.1, L"0.100000000000000"}, // precision 40 ends at 15 decimals
        {3, 2, 2, 0x21, mm, kPi / 4, L"45\u00B0"},
        {3, 2, 2, 0x01, mm, kPi / 4, L"45.00\u00B0"},
        {0, 2, 2, 0x21, mm, 5.0, L""},
        {7, 2, 2, 0x21, mm, 5.0, L""},
        {2, 2, 2, 0x21, Mav::lUnit(99), 7.0, L"7"}, // no conversion to an unknown unit
    };
    Field f;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << " " << c.format << " " << c.prec << " " << c.flags << " "
                                        << c.value);
        CMavEdit e;
        ASSERT_TRUE(e.SubclassDlgItem(IDC_SAMPLE_DEPTH, &f.host.page));
        e.setEditFlags(static_cast<CMavEdit::type>(c.type), c.flags, c.prec, -DBL_MAX, DBL_MAX);
        e.setFormat(static_cast<Mav::lFormat>(c.format));
        e.setLUnits(c.to == Mav::lUnit(99) ? c.to : mm, c.to == Mav::lUnit(99) ? in : c.to);
        e.SetWindowText(L"old");
        e.setVal(c.value);
        EXPECT_EQ(text(e), std::wstring(c.shown));
        e.UnsubclassWindow();
    }
    MAV::acad_unit_set(savedUnit);

    CMavEdit e;
    auto flags = [&e] {
        CMavEdit::type t;
        unsigned short fl = 0, prec = 0;
        double lo = 0, hi = 0;
        e.getEditFlags(t, fl, prec, lo, hi);
        return std::make_tuple(static_cast<int>(t), int(fl), int(prec), lo, hi);
    };
    EXPECT_EQ(flags(), std::make_tuple(0, 0x21, 8, -DBL_MAX, DBL_MAX));
    double v = 0;
    EXPECT_FALSE(e.getVal(v)) << "a new field has no value and an empty required text";
    const struct {
        int type, flags, prec;
        double lo, hi;
        std::tuple<int, int, int, double, double> kept;
    } setters[] = {
        {2, 9, -5, 100, 10, {2, 9, 8, 10, 100}}, {1, 1, 3, 0, 5, {1, 1, 8, 0, 5}}, {9, 1, 3, -1, 1, {9, 1, 8, 0, 5}}};
    for (const auto& c : setters) {
        e.setEditFlags(static_cast<CMavEdit::type>(c.type), static_cast<unsigned short>(c.flags), c.prec, c.lo, c.hi);
        EXPECT_EQ(flags(), c.kept);
    }
    EXPECT_FALSE(e.setFormat(Mav::kFormatNone));
}

// For lengths in every format, the value set is the value got, and the text shown reads back (as if typed) to the
// value within the precision shown.
TEST(MavEdit, ShownTextReadsBackWithinItsPrecision)
{
    Field f;
    std::mt19937 rng(20261206);
    std::uniform_real_distribution<double> length(-3000.0, 3000.0);
    std::uniform_int_distribution<int> precision(0, 4);
    for (int format = 2; format <= 5; ++format) {
        for (int i = 0; i < 40; ++i) {
            const double v = length(rng);
            const int prec = precision(rng);
            SCOPED_TRACE(testing::Message() << "format " << format << " prec " << prec << " value " << v);
            f.set(CMavEdit::typeLength, 0x21, prec, format);
            f.edit.setLUnits(Mav::kUnitsMillimeters, Mav::kUnitsInches);
            f.edit.setVal(v);
            double got = 0;
            ASSERT_TRUE(f.edit.getVal(got));
            EXPECT_EQ(got, v);
            const std::wstring shown = text(f.edit);
            EXPECT_EQ(f.enter(shown), L""); // the same text, as typed
            ASSERT_TRUE(f.edit.getVal(got));
            const int digits = MAV::autoPrec(prec, 4, format);
            // Half a step of the last digit or fraction shown, in inches, back in millimetres.
            const double step = format >= 4 ? 1.0 / std::ldexp(1.0, digits > 8 ? 8 : digits) : std::pow(10.0, -digits);
            EXPECT_NEAR(got, v, 0.5 * step * 25.4 + 1e-9);
        }
    }
}

// Each check in its order, by typing: the error box's text and caption, the value kept or corrected, and the focus
// given back to the field. Bad texts read as 0 and meet the zero check; nothing crashes or hangs. A field is
// modified exactly when the value changed (an error gives the focus back, which starts afresh).
TEST(MavEdit, TypedEntriesAreCheckedInOrderWithTheirErrorBox)
{
    Field f;
    f.set(CMavEdit::typeLength, 0x002F, 1, 2, 2000.0, 100.0);
    const std::wstring zero = L"Wert darf nicht Null sein";
    const struct {
        std::wstring keys;
        std::wstring error; // empty: no box
        const wchar_t* value;
    } cases[] = {
        {L"\b", L"Eintragung notwendig", L"500"},
        {L"-5", L"Wert darf nicht negativ sein", L"500"}, // below the minimum too: one message only
        {L"0", zero, L"500"},
        {L"50", L"Wert darf nicht kleiner sein als 100", L"100"},
        {L"2500.25", L"Wert darf nicht gr\u00F6\u00DFer sein als 2000", L"2000"},
        {L"750.5", L"", L"750.5"},
        {L"abc", zero, L"500"},
        {L"1'-", zero, L"500"},
        {L"--5", zero, L"500"},
        {L"1e309", zero, L"500"},
        {L"nan", zero, L"500"},
        {L"inf", zero, L"500"},
        {L"\u0663", zero, L"500"},
        {std::wstring(10000, L'9'), zero, L"500"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "typed " << c.keys.size() << " keys, first " << int(c.keys[0]));
        f.edit.setVal(500.0);
        EXPECT_EQ(f.enter(c.keys), c.error.empty() ? L"" : c.error + L"|Fehler");
        EXPECT_EQ(::GetFocus(), c.error.empty() ? f.other.m_hWnd : f.edit.m_hWnd) << "an error gives the focus back";
        EXPECT_EQ(f.value(), std::to_wstring(std::stod(c.value)) + L"=" + c.value);
        EXPECT_EQ(f.edit.GetModify() != 0, c.error.empty() && std::wstring(c.value) != L"500");
    }
    // A text the user did not change is not checked, even outside the limits; emptied, the field goes back to its
    // value, which is checked: it becomes the maximum.
    f.edit.setVal(5000.0);
    EXPECT_EQ(f.enter(L""), L"");
    EXPECT_EQ(f.value(), std::to_wstring(5000.0) + L"=5000");
    EXPECT_EQ(f.enter(L"\b"), L"Wert darf nicht gr\u00F6\u00DFer sein als 2000|Fehler");
    EXPECT_EQ(f.value(), std::to_wstring(2000.0) + L"=2000");
    // An optional field emptied by the user stays empty and reads as 0.
    f.set(CMavEdit::typeInt, 0x0020, 0);
    f.edit.setVal(4);
    EXPECT_EQ(f.enter(L"\b"), L"");
    EXPECT_EQ(f.value(), std::to_wstring(0.0) + L"=");
    // An integer field checks the whole number it will hold.
    f.set(CMavEdit::typeInt, 0x0023, 0);
    f.edit.setVal(4);
    EXPECT_EQ(f.enter(L"0.4"), L"Wert darf nicht Null sein|Fehler");
    EXPECT_EQ(f.value(), std::to_wstring(4.0) + L"=4");
    // A value the host sets afterwards is read back as set, not from its rounded text.
    f.set(CMavEdit::typeLength, 0x0020, 2);
    f.edit.setLUnits(Mav::kUnitsMillimeters, Mav::kUnitsInches);
    f.edit.setVal(4.0);
    EXPECT_EQ(f.enter(L"\b"), L"");
    f.edit.setVal(10.0);
    EXPECT_EQ(f.value(), std::to_wstring(10.0) + L"=0.39");
}

// A length typed in the metric unit it is shown in is exactly the value it stands for: a limit typed as shown
// passes, and the value read back is the limit itself, not a hair beside it.
TEST(MavEdit, LengthsTypedInTheirDisplayUnitAreExact)
{
    Field f;
    const Mav::lUnit cm = Mav::kUnitsCentimeters, m = Mav::kUnitsMeters;
    const struct {
        Mav::lUnit value, shown;
        const wchar_t* typed;
        double stored;
    } cases[] = {
        {Mav::kUnitsMillimeters, cm, L"0.3", 3.0},   {Mav::kUnitsMillimeters, cm, L"0.7", 7.0},
        {Mav::kUnitsMillimeters, cm, L"5.8", 58.0},  {Mav::kUnitsMillimeters, m, L"0.7", 700.0},
        {Mav::kUnitsMillimeters, m, L"2.3", 2300.0}, {m, cm, L"70", 0.7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.typed << " shown in " << c.shown);
        f.set(CMavEdit::typeLength, 0x0029, 4, 2, c.stored, c.stored);
        f.edit.setLUnits(c.value, c.shown);
        f.edit.setVal(c.stored);
        EXPECT_EQ(text(f.edit), c.typed);
        EXPECT_EQ(f.enter(c.typed), L"");
        double got = 0;
        ASSERT_TRUE(f.edit.getVal(got));
        EXPECT_EQ(got, c.stored);
    }
}

// Key words are accepted in any case and shown for their value; a later text for the same value replaces the
// word. setVal keeps the modification flag; gaining the focus selects the whole text and forgets earlier changes.
TEST(MavEdit, KeyWordsAndTheModificationFlag)
{
    Field f;
    f.set(CMavEdit::typeInt, 0x0021, 0);
    f.edit.setKey(L"alt", -1.0);
    f.edit.setKey(L"auto", -1.0);
    f.edit.setVal(3);
    std::wstring seen;
    for (const wchar_t* typed : {L"AUTO", L"7", L"-1", L"alt"}) {
        seen += f.enter(typed);
        seen += f.value() + L" ";
    }
    EXPECT_EQ(seen, std::to_wstring(-1.0) + L"=auto " + std::to_wstring(7.0) + L"=7 " + std::to_wstring(-1.0) +
                        L"=auto " + std::to_wstring(0.0) + L"=0 ");
    f.edit.setVal(-1.0);
    EXPECT_EQ(text(f.edit), L"auto");
    f.edit.removeKeys();
    f.edit.setVal(-1.0);
    EXPECT_EQ(text(f.edit), L"-1");
    // A key word for "no value" (NaN) and one for a number are told apart.
    const double none = std::nan("");
    f.edit.setKey(L"leer", none);
    f.edit.setKey(L"f\u00fcnf", 5.0);
    f.edit.setVal(none);
    const std::wstring empty = text(f.edit);
    f.edit.setVal(5.0);
    EXPECT_EQ(empty + L"|" + text(f.edit), L"leer|f\u00fcnf");
    f.edit.removeKeys();

    f.set(CMavEdit::typeLength, 0x21, 2, 2, 0, 0);
    ::SetFocus(f.edit.m_hWnd);
    uitest::chars(f.edit.m_hWnd, L"12");
    ASSERT_TRUE(f.edit.GetModify());
    f.edit.setVal(5.0);
    EXPECT_EQ(text(f.edit) + std::to_wstring(f.edit.GetModify()), L"51");
    f.edit.SetModify(FALSE);
    f.edit.setVal(6);
    EXPECT_EQ(text(f.edit) + std::to_wstring(f.edit.GetModify()), L"60");
    ::SetFocus(f.other.m_hWnd);
    f.edit.SetModify(TRUE);
    ::SetFocus(f.edit.m_hWnd); // the field's text is valid: no box on the next focus loss
    int start = -1, end = -1;
    f.edit.GetSel(start, end);
    EXPECT_EQ(std::make_tuple(f.edit.GetModify(), start, end), std::make_tuple(FALSE, 0, 1));
    ::SetFocus(f.other.m_hWnd);
}
