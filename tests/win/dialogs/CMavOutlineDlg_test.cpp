// The outline selection as a user drives it: the list for a filter (also through the filter dialog), typed
// parameters and the preview's extents, ranges switched and back with the values remembered, the switchable sign,
// the parallelogram's angle, outlines with odd parameter counts, and parameters that give no outline.
#include "../ui/ui_test_support.h"
#include "data/datafile.h"
#include "dialogs/CMavMatTreeDlg.h"
#include "dialogs/CMavOutlineDlg.h"

namespace {

using uitest::Script;
using uitest::typeInto;

// Rectangle (group 1) whose sizes may be 0 and whose width has the key word "VOLL", rounded rectangle (group 2) with a switchable sign on its radius,
// chamfered rectangle (group 2) with a signed chamfer but no sign button, parallelogram (group 4), and broken
// entries: 50 declares 9 parameters but has two, 51 declares -1, "JUNK" has a text key.
const char* const kLibrary = R"(
#1 { CODE = int 1 LABEL = text "MAV_OUTL_0201" TXTGEN = int 5 PARMS = int 2
  PARM1 { LABEL = text "MAV_OUTL_0301" VALID = int 1 VAL { #1 = real 1 #2 = real 10 #3 = real 100 #4 = real 1000 }
    KWORD { VOLL = real 2000 } }
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
HWND item(HWND d, int id) { return ::GetDlgItem(d, id); }

int dlgOutline(MAV::outlineData& data, CMavDataItem* lib)
{
    MAV::DlgEnv_st e;
    e.country = L"de";
    return MAV::dlgOutline(e, data, lib);
}

std::string num(double v)
{
    char buf[32];
    snprintf(buf, sizeof buf, "%g", v + 0.0); // -0 reads as 0
    return buf;
}

// The parameters as "a,b,c" and the preview's outline as "width x height" ("-" when it shows none).
std::string state(HWND d)
{
    std::string s;
    for (double v : dialogOf(d)->m_parms)
        s += (s.empty() ? "" : ",") + num(v);
    CMavPoint3d lo, hi;
    if (!dialogOf(d)->preview().get_dpList()->extmaxGet(CMavArrayTempl<int>{1}, lo, hi))
        return s + " -";
    return s + " " + num(hi.x - lo.x) + "x" + num(hi.y - lo.y);
}

std::vector<int> listed(HWND d)
{
    std::vector<int> codes;
    const int n = static_cast<int>(::SendDlgItemMessageW(d, IDC_OUTL_LIST, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
        codes.push_back(static_cast<int>(::SendDlgItemMessageW(d, IDC_OUTL_LIST, CB_GETITEMDATA, i, 0)));
    return codes;
}

int current(HWND d) { return static_cast<int>(::SendDlgItemMessageW(d, IDC_OUTL_LIST, CB_GETCURSEL, 0, 0)); }

// Picks a list row as the user would: the combo box changes its selection and tells the dialog.
void choose(HWND d, int row)
{
    ::SendDlgItemMessageW(d, IDC_OUTL_LIST, CB_SETCURSEL, row, 0);
    ::SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_OUTL_LIST, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(item(d, IDC_OUTL_LIST)));
}

TEST(OutlineDialog, ListForFilterAndFilterDialog)
{
    Library lib;
    MAV::outlineData data;
    data.code = 21;
    data.filter = 2 | 4;
    data.material = L"BUCHE";
    std::vector<int> before, after;
    std::wstring texts, filterRows;
    HWND main = nullptr;
    Script script({{L"#32770",
                    [&](HWND d) {
                        main = d;
                        before = listed(d);
                        before.push_back(current(d));
                        wchar_t first[128] = {};
                        ::SendDlgItemMessageW(d, IDC_OUTL_LIST, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
                        texts = uitest::windowText(d) + L"|" + first + L"|" + uitest::itemText(d, IDC_OUTL_MAT_LABEL) +
                                L"|" + uitest::itemText(d, IDC_OUTL_FILTER) +
                                (::IsWindowVisible(item(d, IDC_OUTL_MAT_BUTTON)) ? L"|material" : L"|none");
                        ::PostMessageW(item(d, IDC_OUTL_FILTER), BM_CLICK, 0, 0);
                    }},
                   {L"#32770",
                    [&](HWND f) {
                        texts += L"|" + uitest::windowText(f);
                        HWND list = ::GetDlgItem(f, IDC_OUTL_FILTER_LIST);
                        for (int i = 0; i < 4; ++i)
                            filterRows += ::SendMessageW(list, LB_GETSEL, i, 0) > 0 ? L"1" : L"0";
                        ::SendMessageW(list, LB_SETSEL, FALSE, -1);
                        ::SendMessageW(list, LB_SETSEL, TRUE, 0);
                        uitest::press(f, IDOK);
                    }},
                   {L"", [&](HWND) {
                        after = listed(main);
                        after.push_back(current(main));
                        uitest::press(main, IDOK);
                    }}});
    EXPECT_EQ(dlgOutline(data, &lib.dir), 1);
    EXPECT_TRUE(Script::finished());
    EXPECT_EQ(before, (std::vector<int>{3, 2, 21, 2}));
    EXPECT_EQ(texts, L"Kontur|Rechteck gerundet|Buche massiv|Filter...|material|Filter Konturen");
    EXPECT_EQ(filterRows, L"0110");
    EXPECT_EQ(after, (std::vector<int>{1, 50, 51, 0}));
    // The outline 21 was not listed any more: the first one (1) was taken, with its text mode.
    EXPECT_EQ(std::make_tuple(data.filter, data.code, data.txtMode, data.material),
              std::make_tuple(1, 1, 5, CMavString(L"BUCHE")));
}

TEST(OutlineDialog, TypedValuesPreviewAndRangesRemembered)
{
    Library lib;
    MAV::outlineData data;
    data.range = 3;
    data.basePt = CMavPoint3d(-5, -7, 0);
    std::vector<std::string> seen;
    std::wstring shown;
    Script script([&](HWND d) {
        shown = uitest::itemText(d, IDC_OUTL_BASE_X) + (::IsWindowVisible(item(d, 1071)) ? L"|2nd" : L"|") +
                (::IsWindowVisible(item(d, 1072)) ? L"|3rd" : L"|") +
                (::IsDlgButtonChecked(d, IDC_OUTL_RANGE100) == BST_CHECKED ? L"|100" : L"|");
        seen.push_back(state(d));
        typeInto(item(d, 1070), L"250", item(d, 1071));
        seen.push_back(state(d));
        typeInto(item(d, 1071), L"0", item(d, 1070)); // no area: no outline
        seen.push_back(state(d));
        typeInto(item(d, 1071), L"30", item(d, 1070));
        seen.push_back(state(d));
        uitest::press(d, IDC_OUTL_RANGE10);
        seen.push_back(state(d));
        uitest::press(d, IDC_OUTL_RANGE100);
        seen.push_back(state(d));
        typeInto(item(d, IDC_OUTL_BASE_X), L"12", item(d, 1070));
        uitest::press(d, IDOK);
    });
    EXPECT_EQ(dlgOutline(data, &lib.dir), 1);
    EXPECT_TRUE(Script::finished());
    EXPECT_EQ(shown, L"5|2nd||100");
    EXPECT_EQ(seen, (std::vector<std::string>{"100,50 100x50", "250,50 250x50", "250,0 -", "250,30 250x30", "10,5 10x5",
                                              "250,30 250x30"}));
    EXPECT_EQ(std::vector<double>(data.parms.begin(), data.parms.end()), (std::vector<double>{250, 30}));
    EXPECT_EQ(std::make_tuple(data.range, data.basePt.x, data.basePt.y), std::make_tuple(3, -12.0, -7.0));

    // A later call, opened on "10", offers the values typed under "100" for the same outline when switched there.
    MAV::outlineData fresh;
    fresh.range = 2;
    std::string offered;
    Script again([&](HWND d) {
        uitest::press(d, IDC_OUTL_RANGE100);
        offered = state(d);
        uitest::press(d, IDCANCEL);
    });
    EXPECT_EQ(dlgOutline(fresh, &lib.dir), 2);
    EXPECT_EQ(offered, "250,30 250x30");
    EXPECT_TRUE(fresh.parms.isEmpty());
}

// The material row: "..." opens the material tree on the current material with the special material offered;
// the one picked there shows by its label and goes back with the record. A key word typed in any case is the
// parameter's number.
TEST(OutlineDialog, MaterialFromTheTreeAndKeyWords)
{
    Library lib;
    MAV::outlineData data;
    data.range = 3;
    data.material = L"EICHE";
    HWND outline = nullptr;
    std::wstring seen;
    std::string typed;
    Script script({{L"#32770",
                    [&](HWND d) {
                        outline = d;
                        typeInto(item(d, 1070), L"voll", item(d, 1071));
                        typed = state(d);
                        seen = uitest::itemText(d, 1070) + L"|" + uitest::itemText(d, IDC_OUTL_MAT_LABEL);
                        ::PostMessageW(item(d, IDC_OUTL_MAT_BUTTON), BM_CLICK, 0, 0);
                    }},
                   {L"#32770",
                    [&](HWND d) {
                        CMavMatTreeCtrl& tree = static_cast<CMavMatTreeDlg*>(CWnd::FromHandlePermanent(d))->tree();
                        CMavString current;
                        tree.getSelMat(current);
                        const CMavString* first = tree.itemMat(tree.GetChildItem(tree.GetRootItem()));
                        seen += L"|" + std::wstring(current.c_str()) + L"|" + (first ? first->c_str() : L"-");
                        tree.selectMat(L"BUCHE");
                        uitest::press(d, IDOK);
                    }},
                   {L"", [&](HWND) {
                        seen += L"|" + uitest::itemText(outline, IDC_OUTL_MAT_LABEL);
                        uitest::press(outline, IDOK);
                    }}});
    EXPECT_EQ(dlgOutline(data, &lib.dir), 1);
    EXPECT_TRUE(Script::finished());
    EXPECT_EQ(typed, "2000,50 2000x50");
    EXPECT_EQ(seen, L"VOLL|Eiche massiv|EICHE|SYSTEM|Buche massiv");
    EXPECT_STREQ(data.material.c_str(), L"BUCHE");
}

// The sign of a parameter with "MINUSP" is kept apart from the typed value; without it the typed value's own sign
// counts and the flat button does nothing. The parallelogram's angle is typed in degrees into an angle edit and
// kept in degrees.
TEST(OutlineDialog, SignsAndAngles)
{
    Library lib;
    const struct {
        int code;
        double given;
        const wchar_t* typed; // into the third parameter
        const char* seen;     // button at the start, value typed, button and value after a click on it
    } cases[] = {
        {3, -10, L"20", "Radius innen|-20|Radius|20"},
        {3, 4, L"-6", "Radius|-6|Radius innen|6"},
        {3, 0, L"7", "Radius|0|Radius|0"},
        {2, 5, L"-4", "Fase flat|-4|Fase flat|-4"},
        {21, 60, L"45", "Winkel flat|45|Winkel flat|45"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seen);
        MAV::outlineData data;
        data.code = c.code;
        data.range = 3;
        for (double v : {100.0, 50.0, c.given})
            data.parms.append(v);
        std::string seen;
        double shownAngle = 0;
        auto third = [](HWND d) { return num(dialogOf(d)->m_parms[2]); };
        auto button = [](HWND d) {
            const std::wstring t = uitest::itemText(d, 1082);
            return std::string(t.begin(), t.end()) +
                   ((::GetWindowLongW(item(d, 1082), GWL_STYLE) & BS_FLAT) ? " flat" : "");
        };
        Script script([&](HWND d) {
            if (c.code == 21)
                static_cast<CMavEdit*>(CWnd::FromHandlePermanent(item(d, 1072)))->getVal(shownAngle);
            seen = button(d);
            typeInto(item(d, 1072), c.typed, item(d, 1070));
            seen += "|" + third(d);
            uitest::press(d, 1082);
            seen += "|" + button(d) + "|" + third(d);
            uitest::press(d, IDOK);
        });
        EXPECT_EQ(dlgOutline(data, &lib.dir), 1);
        EXPECT_TRUE(Script::finished());
        EXPECT_EQ(seen, c.seen);
        EXPECT_EQ(num(data.parms[2]), seen.substr(seen.rfind('|') + 1));
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
    std::vector<std::string> seen;
    Script script([&](HWND d) {
        for (int row : {1, 2, 0}) { // 50: two of nine parameters exist; 51: a negative count
            choose(d, row);
            int visible = 0;
            for (int i = 0; i < 6; ++i)
                visible += ::IsWindowVisible(item(d, 1070 + i)) ? 1 : 0;
            seen.push_back(state(d) + " " + std::to_string(visible));
        }
        uitest::press(d, IDCANCEL);
    });
    EXPECT_EQ(dlgOutline(data, &lib.dir), 2);
    EXPECT_TRUE(Script::finished());
    EXPECT_EQ(seen, (std::vector<std::string>{"1,2 - 2", " - 1", "100,50 100x50 2"}));

    // No library, or one that is a value: nothing opens.
    CMavDataItem value;
    value.set(3);
    EXPECT_EQ(std::make_pair(dlgOutline(data, nullptr), dlgOutline(data, &value)), std::make_pair(0, 2));

    // An empty library gets the shipped outlines first.
    CMavDataItem empty;
    empty.makeDirectory();
    size_t shipped = 0;
    Script third([&](HWND d) {
        shipped = listed(d).size();
        uitest::press(d, IDCANCEL);
    });
    MAV::outlineData all;
    EXPECT_EQ(dlgOutline(all, &empty), 2);
    EXPECT_EQ(std::make_pair(shipped, empty.count()), std::make_pair(size_t(12), 12));
}

} // namespace
