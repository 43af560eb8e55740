// The outline selection as a user drives it: the list for a filter (also through the filter dialog), typed
// parameters and the preview's extents, ranges switched and back with the values remembered, the switchable sign,
// the parallelogram's angle, outlines with odd parameter counts, and parameters that give no outline.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <string>
#include <vector>

#include "data/datafile.h"
#include "dialogs/CMavOutlineDlg.h"
#include "dialogs_test_support.h"
#include "resource.h"

namespace {

using dlgtest::Steps;

// Rectangle (group 1) whose sizes may be 0, rounded rectangle (group 2) with a switchable sign on its radius,
// chamfered rectangle (group 2) with a signed chamfer but no sign button, parallelogram (group 4), and broken
// entries: 50 declares 9 parameters but has two, 51 declares -1, "JUNK" has a text key.
const char* const kLibrary = R"(
#1 { CODE = int 1 LABEL = text "MAV_OUTL_0201" TXTGEN = int 5 PARMS = int 2
  PARM1 { LABEL = text "MAV_OUTL_0301" VALID = int 1 VAL { #1 = real 1 #2 = real 10 #3 = real 100 #4 = real 1000 } }
  PARM2 { LABEL = text "MAV_OUTL_0302" VALID = int 1 VAL { #1 = real 0.5 #2 = real 5 #3 = real 50 #4 = real 500 } } }
#3 { CODE = int 2 LABEL = text "MAV_OUTL_0203" TXTGEN = int 3 PARMS = int 3
  PARM1 { LABEL = text "MAV_OUTL_0301" VALID = int 7 VAL { #3 = real 100 } }
  PARM2 { LABEL = text "MAV_OUTL_0302" VALID = int 7 VAL { #3 = real 50 } }
  PARM3 { LABEL = text "MAV_OUTL_0304" MINUSP = text "MAV_OUTL_0305" VALID = int 1 VAL { #3 = real 10 } } }
#2 { CODE = int 2 LABEL = text "MAV_OUTL_0202" TXTGEN = int 3 PARMS = int 3
  PARM1 { LABEL = text "MAV_OUTL_0301" VALID = int 7 VAL { #3 = real 100 } }
  PARM2 { LABEL = text "MAV_OUTL_0302" VALID = int 7 VAL { #3 = real 50 } }
  PARM3 { LABEL = text "MAV_OUTL_0303" VALID = int 1 VAL { #3 = real 5 } } }
#21 { CODE = int 4 LABEL = text "MAV_OUTL_0221" TXTGEN = int 3 PARMS = int 3
  PARM1 { LABEL = text "MAV_OUTL_0301" VALID = int 7 VAL { #3 = real 100 } }
  PARM2 { LABEL = text "MAV_OUTL_0302" VALID = int 7 VAL { #3 = real 50 } }
  PARM3 { LABEL = text "MAV_OUTL_0317" VALID = int 3 TYPE = text "A" VAL { #3 = real 60 } } }
#50 { CODE = int 1 LABEL = text "NINE" PARMS = int 9
  PARM1 { LABEL = text "P1" VAL { #3 = real 1 } } PARM2 { LABEL = text "P2" VAL { #3 = real 2 } } }
#51 { CODE = int 1 LABEL = text "NEGATIVE" PARMS = int -1 PARM1 { LABEL = text "P1" VAL { #3 = real 1 } } }
JUNK { CODE = int 15 LABEL = text "JUNK" }
)";

struct Library {
    CMavDataItem dir;
    Library()
    {
        dir.makeDirectory();
        MAV::dataFromText(dir, kLibrary, std::char_traits<char>::length(kLibrary));
    }
};

CMavOutlineDlg* dialogOf(HWND d) { return static_cast<CMavOutlineDlg*>(CWnd::FromHandlePermanent(d)); }

MAV::DlgEnv_st env()
{
    MAV::DlgEnv_st e;
    e.country = L"de";
    e.hWndParent = nullptr;
    return e;
}

std::vector<double> parms(const CMavOutlineDlg* d) { return std::vector<double>(d->m_parms.begin(), d->m_parms.end()); }

// The preview's outline as width x height, "-" when it shows none.
std::string extents(CMavOutlineDlg* d)
{
    CMavPoint3d lo, hi;
    if (!d->preview().get_dpList()->extmaxGet(CMavArrayTempl<int>{1}, lo, hi))
        return "-";
    char buf[64];
    snprintf(buf, sizeof buf, "%gx%g", hi.x - lo.x, hi.y - lo.y);
    return buf;
}

std::vector<int> listed(HWND d)
{
    std::vector<int> codes;
    const int n = static_cast<int>(::SendDlgItemMessageW(d, IDC_OUTL_LIST, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
        codes.push_back(static_cast<int>(::SendDlgItemMessageW(d, IDC_OUTL_LIST, CB_GETITEMDATA, i, 0)));
    return codes;
}

// Picks a list row as the user would: the combo box changes its selection and tells the dialog.
void choose(HWND d, int row)
{
    ::SendDlgItemMessageW(d, IDC_OUTL_LIST, CB_SETCURSEL, row, 0);
    ::SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_OUTL_LIST, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(::GetDlgItem(d, IDC_OUTL_LIST)));
}

HWND item(HWND d, int id) { return ::GetDlgItem(d, id); }

TEST(OutlineDialog, ListForFilterAndFilterDialog)
{
    Library lib;
    MAV::outlineData data;
    data.code = 21;
    data.filter = 2 | 4;
    data.material = L"BUCHE";
    std::vector<int> before, after;
    std::wstring firstText, filterCaption, materialText;
    std::vector<int> filterRows;
    Steps steps({[&](HWND d) {
                     before = listed(d);
                     EXPECT_EQ(::SendDlgItemMessageW(d, IDC_OUTL_LIST, CB_GETCURSEL, 0, 0), 2);
                     wchar_t buf[128] = {};
                     ::SendDlgItemMessageW(d, IDC_OUTL_LIST, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buf));
                     firstText = buf;
                     materialText = dlgtest::text(item(d, IDC_OUTL_MAT_LABEL));
                     EXPECT_TRUE(::IsWindowVisible(item(d, IDC_OUTL_MAT_BUTTON)));
                     EXPECT_EQ(dlgtest::text(d), L"Kontur");
                     EXPECT_EQ(dlgtest::text(item(d, IDC_OUTL_FILTER)), L"Filter...");
                     ::PostMessageW(item(d, IDC_OUTL_FILTER), BM_CLICK, 0, 0);
                 },
                 [&](HWND) {
                     HWND f = ::GetActiveWindow();
                     filterCaption = dlgtest::text(f);
                     HWND list = ::GetDlgItem(f, IDC_OUTL_FILTER_LIST);
                     for (int i = 0; i < 4; ++i)
                         filterRows.push_back(::SendMessageW(list, LB_GETSEL, i, 0) > 0 ? 1 : 0);
                     ::SendMessageW(list, LB_SETSEL, FALSE, -1);
                     ::SendMessageW(list, LB_SETSEL, TRUE, 0);
                     dlgtest::click(f, IDOK);
                 },
                 [&](HWND d) {
                     after = listed(d);
                     EXPECT_EQ(::SendDlgItemMessageW(d, IDC_OUTL_LIST, CB_GETCURSEL, 0, 0), 0);
                     dlgtest::click(d, IDOK);
                 }});
    EXPECT_EQ(MAV::dlgOutline(env(), data, &lib.dir), 1);
    EXPECT_TRUE(Steps::done());
    EXPECT_EQ(before, (std::vector<int>{3, 2, 21}));
    EXPECT_EQ(firstText, L"Rechteck gerundet");
    EXPECT_EQ(materialText, L"Buche massiv");
    EXPECT_EQ(filterCaption, L"Filter Konturen");
    EXPECT_EQ(filterRows, (std::vector<int>{0, 1, 1, 0}));
    EXPECT_EQ(after, (std::vector<int>{1, 50, 51}));
    // The outline 21 was not listed any more: the first one (1) was taken, with its text mode.
    EXPECT_EQ(data.filter, 1);
    EXPECT_EQ(data.code, 1);
    EXPECT_EQ(data.txtMode, 5);
    EXPECT_EQ(data.material, CMavString(L"BUCHE"));
}

TEST(OutlineDialog, TypedValuesPreviewAndRangesRemembered)
{
    Library lib;
    MAV::outlineData data;
    data.range = 3;
    data.basePt = CMavPoint3d(-5, -7, 0);
    std::vector<std::string> previews;
    std::vector<std::vector<double>> values;
    std::wstring shownX;
    Steps steps({[&](HWND d) {
        CMavOutlineDlg* dlg = dialogOf(d);
        values.push_back(parms(dlg));
        previews.push_back(extents(dlg));
        EXPECT_TRUE(::IsWindowVisible(item(d, 1071)));
        EXPECT_FALSE(::IsWindowVisible(item(d, 1072)));
        EXPECT_EQ(::IsDlgButtonChecked(d, IDC_OUTL_RANGE100), BST_CHECKED);
        shownX = dlgtest::text(item(d, IDC_OUTL_BASE_X));
        dlgtest::typeInto(item(d, 1070), L"250", item(d, 1071));
        values.push_back(parms(dlg));
        previews.push_back(extents(dlg));
        dlgtest::typeInto(item(d, 1071), L"0", item(d, 1070)); // no area: no outline
        previews.push_back(extents(dlg));
        dlgtest::typeInto(item(d, 1071), L"30", item(d, 1070));
        previews.push_back(extents(dlg));
        dlgtest::click(d, IDC_OUTL_RANGE10);
        values.push_back(parms(dlg));
        previews.push_back(extents(dlg));
        dlgtest::click(d, IDC_OUTL_RANGE100);
        values.push_back(parms(dlg));
        dlgtest::typeInto(item(d, IDC_OUTL_BASE_X), L"12", item(d, 1070));
        dlgtest::click(d, IDOK);
    }});
    EXPECT_EQ(MAV::dlgOutline(env(), data, &lib.dir), 1);
    EXPECT_TRUE(Steps::done());
    EXPECT_EQ(shownX, L"5");
    EXPECT_EQ(values, (std::vector<std::vector<double>>{{100, 50}, {250, 50}, {10, 5}, {250, 30}}));
    EXPECT_EQ(previews, (std::vector<std::string>{"100x50", "250x50", "-", "250x30", "10x5"}));
    EXPECT_EQ(std::vector<double>(data.parms.begin(), data.parms.end()), (std::vector<double>{250, 30}));
    EXPECT_EQ(data.range, 3);
    EXPECT_DOUBLE_EQ(data.basePt.x, -12);
    EXPECT_DOUBLE_EQ(data.basePt.y, -7);

    // A later call, opened on "10", offers the values typed under "100" for the same outline when switched there.
    MAV::outlineData fresh;
    fresh.range = 2;
    std::vector<double> offered;
    Steps again({[&](HWND d) {
        dlgtest::click(d, IDC_OUTL_RANGE100);
        offered = parms(dialogOf(d));
        dlgtest::click(d, IDCANCEL);
    }});
    EXPECT_EQ(MAV::dlgOutline(env(), fresh, &lib.dir), 2);
    EXPECT_EQ(offered, (std::vector<double>{250, 30}));
    EXPECT_TRUE(fresh.parms.isEmpty());
}

// The sign of a parameter with "MINUSP" is kept apart from the typed value; without it the typed value's own sign
// counts and the flat button does nothing. The parallelogram's angle is typed in degrees into an angle edit and
// kept in degrees.
TEST(OutlineDialog, SignsAndAngles)
{
    Library lib;
    struct Case {
        int code;
        std::vector<double> given;
        const wchar_t* buttonAtStart;
        bool flat;
        const wchar_t* typed;         // into the third parameter
        double afterTyping;
        const wchar_t* buttonAfterClick;
        double afterClick;
    } cases[] = {
        {3, {100, 50, -10}, L"Radius innen", false, L"20", -20, L"Radius", 20},
        {3, {100, 50, 4}, L"Radius", false, L"-6", -6, L"Radius innen", 6},
        {3, {100, 50, 0}, L"Radius", false, L"7", 0, L"Radius", 0},
        {2, {100, 50, 5}, L"Fase", true, L"-4", -4, L"Fase", -4},
        {21, {100, 50, 60}, L"Winkel", true, L"45", 45, L"Winkel", 45},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        SCOPED_TRACE(std::wstring(c.typed));
        MAV::outlineData data;
        data.code = c.code;
        data.range = 3;
        for (double v : c.given)
            data.parms.append(v);
        std::wstring startText, endText;
        bool flat = false;
        double shownAngle = 0;
        std::vector<double> typed, clicked;
        Steps steps({[&](HWND d) {
            CMavOutlineDlg* dlg = dialogOf(d);
            HWND button = item(d, 1082);
            startText = dlgtest::text(button);
            flat = (::GetWindowLongW(button, GWL_STYLE) & BS_FLAT) != 0;
            if (c.code == 21) {
                CMavEdit* angle = static_cast<CMavEdit*>(CWnd::FromHandlePermanent(item(d, 1072)));
                angle->getVal(shownAngle);
            }
            dlgtest::typeInto(item(d, 1072), c.typed, item(d, 1070));
            typed = parms(dlg);
            dlgtest::click(d, 1082);
            clicked = parms(dlg);
            endText = dlgtest::text(button);
            dlgtest::click(d, IDOK);
        }});
        EXPECT_EQ(MAV::dlgOutline(env(), data, &lib.dir), 1);
        EXPECT_TRUE(Steps::done());
        EXPECT_EQ(startText, c.buttonAtStart);
        EXPECT_EQ(flat, c.flat);
        ASSERT_EQ(typed.size(), 3u);
        EXPECT_DOUBLE_EQ(typed[2], c.afterTyping);
        EXPECT_EQ(endText, c.buttonAfterClick);
        EXPECT_DOUBLE_EQ(clicked[2], c.afterClick);
        EXPECT_DOUBLE_EQ(data.parms[2], c.afterClick);
        if (c.code == 21) {
            EXPECT_NEAR(shownAngle, 60 * 3.14159265358979323846 / 180, 1e-12);
        }
    }
}

TEST(OutlineDialog, OddLibrariesAndEntries)
{
    Library lib;
    MAV::outlineData data;
    data.filter = 1;
    data.range = 3;
    std::vector<std::vector<double>> values;
    std::vector<int> visibleRows;
    Steps steps({[&](HWND d) {
        CMavOutlineDlg* dlg = dialogOf(d);
        for (int row : {1, 2}) { // 50: two of nine parameters exist; 51: a negative count
            choose(d, row);
            values.push_back(parms(dlg));
            int visible = 0;
            for (int i = 0; i < 6; ++i)
                visible += ::IsWindowVisible(item(d, 1070 + i)) ? 1 : 0;
            visibleRows.push_back(visible);
            EXPECT_EQ(extents(dlg), "-");
        }
        choose(d, 0);
        EXPECT_EQ(extents(dlg), "100x50");
        dlgtest::click(d, IDCANCEL);
    }});
    EXPECT_EQ(MAV::dlgOutline(env(), data, &lib.dir), 2);
    EXPECT_TRUE(Steps::done());
    EXPECT_EQ(values, (std::vector<std::vector<double>>{{1, 2}, {}}));
    EXPECT_EQ(visibleRows, (std::vector<int>{2, 1}));

    // No library, or one that is a value: nothing opens.
    CMavDataItem value;
    value.set(3);
    EXPECT_EQ(MAV::dlgOutline(env(), data, nullptr), 0);
    EXPECT_EQ(MAV::dlgOutline(env(), data, &value), 2);

    // An empty library gets the shipped outlines first.
    CMavDataItem empty;
    empty.makeDirectory();
    size_t shipped = 0;
    Steps third({[&](HWND d) {
        shipped = listed(d).size();
        dlgtest::click(d, IDCANCEL);
    }});
    MAV::outlineData all;
    EXPECT_EQ(MAV::dlgOutline(env(), all, &empty), 2);
    EXPECT_EQ(shipped, 12u);
    EXPECT_EQ(empty.count(), 12);
}

} // namespace
