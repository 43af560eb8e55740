// In-place editing of list cells as a user does it: a click on the selected row opens the clicked cell, Enter
// takes the typed text, Escape drops it, a click elsewhere takes it; the heap edit field is counted so that every
// way of ending (also destroying the dialog, a hook that deletes the row) leaves none behind. Also the language
// combo box's entries and codes.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "base/countries.h"
#include "resource.h"
#include "ui/CMavComboCountryBox.h"
#include "ui/CMavDlg.h"
#include "ui/CMavEdit.h"
#include "ui/CMavListCtrl.h"
#include "ui_test_support.h"

namespace {

enum Column { kName, kLength, kWidth, kCount };

// A parts list that allows editing every cell of the columns in allowed, and records what its hooks saw.
class PartsList : public CMavListCtrl {
public:
    std::vector<int> allowed{kName, kLength, kWidth, kCount};
    int accept = 1;
    int inits = 0, ends = 0, destroys = 0;
    bool deleteRowOnEnd = false;
    bool reenterOnInit = false;
    int reentryResult = -1;
    bool windowGoneAtDestroy = false;
    HWND editAtInit = nullptr;

    void OnInitEditCtrl(LVHITTESTINFO*, CMavEdit* edit) override
    {
        ++inits;
        editAtInit = edit->GetSafeHwnd();
        if (reenterOnInit) {
            // A scroll and a second start while the first start is still running: neither may end or replace it.
            SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
            LVHITTESTINFO other{};
            other.iItem = 0;
            other.iSubItem = kName;
            reentryResult = BeginItemEdit(&other);
        }
    }
    int OnAllowEdit(LVHITTESTINFO* hit) override
    {
        for (int c : allowed)
            if (c == hit->iSubItem)
                return 1;
        return 0;
    }
    int OnEndItemEdit(CMavEdit*) override
    {
        ++ends;
        if (deleteRowOnEnd)
            DeleteItem(GetEditItem());
        return accept;
    }
    void OnDestroyEditCtrl(CMavEdit* edit) override
    {
        ++destroys;
        windowGoneAtDestroy = edit->GetSafeHwnd() == nullptr && !IsWindow(editAtInit);
    }
};

template <class List>
class ListsDialog : public CMavDlg {
public:
    List list;
    CMavComboCountryBox country;
    ListsDialog() : CMavDlg(IDD_MAV_TEST_LISTS) { SavePosition(false); }
    void DoDataExchange(CDataExchange* dx) override
    {
        CMavDlg::DoDataExchange(dx);
        DDX_Control(dx, IDC_TEST_LIST, list);
        DDX_Control(dx, IDC_TEST_COUNTRY, country);
    }
    BOOL OnInitDialog() override
    {
        CMavDlg::OnInitDialog();
        // Whole rows select, as users of such lists expect: a click into any cell of a row selects that row.
        list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
        list.InsertColumn(kName, L"Name", LVCFMT_LEFT, 90);
        list.InsertColumn(kLength, L"L\u00e4nge", LVCFMT_RIGHT, 60);
        list.InsertColumn(kWidth, L"Breite", LVCFMT_CENTER, 60);
        list.InsertColumn(kCount, L"Anzahl", LVCFMT_RIGHT, 50);
        const wchar_t* rows[][4] = {{L"Seitenwand", L"720", L"560", L"2"},
                                    {L"Boden", L"564", L"560", L"1"},
                                    {L"R\u00fcckwand", L"716", L"596", L"1"}};
        for (int r = 0; r < 3; ++r) {
            list.InsertItem(r, rows[r][0]);
            for (int c = 1; c < 4; ++c)
                list.SetItemText(r, c, rows[r][c]);
        }
        return TRUE;
    }
};

// A modeless dialog shown at the screen's top left, its list's cell centres at hand.
template <class List>
struct Fixture {
    ListsDialog<List> dlg;
    Fixture()
    {
        EXPECT_TRUE(dlg.Create(IDD_MAV_TEST_LISTS));
        dlg.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        dlg.ShowWindow(SW_SHOW);
        SetForegroundWindow(dlg.GetSafeHwnd());
        uitest::pump();
    }
    ~Fixture()
    {
        if (dlg.GetSafeHwnd())
            dlg.DestroyWindow();
        uitest::pump();
    }
    POINT cell(int item, int sub)
    {
        CRect r;
        dlg.list.GetSubItemRect(item, sub, LVIR_LABEL, &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void clickCell(int item, int sub)
    {
        POINT p = cell(item, sub);
        uitest::click(dlg.list.GetSafeHwnd(), p.x, p.y);
    }
    std::wstring text(int item, int sub) { return dlg.list.GetItemText(item, sub).GetString(); }
    HWND editWnd() { return dlg.list.GetEditCtrl() ? dlg.list.GetEditCtrl()->GetSafeHwnd() : nullptr; }
};

} // namespace

// Enter takes the typed text into the cell; the field sat over that cell, aligned as its column, with the cell's
// text selected and the focus. Escape drops what was typed. Each time the one heap field is gone afterwards.
TEST(ListInPlaceEdit, EnterTakesTheTextAndEscapeDropsIt)
{
    Fixture<PartsList> f;
    PartsList& list = f.dlg.list;
    EXPECT_EQ(list.SetCurSel(1), 1);
    EXPECT_EQ(list.GetCurSel(), 1);

    f.clickCell(1, kLength);
    HWND edit = f.editWnd();
    ASSERT_NE(edit, nullptr) << "a click on the selected row opens the cell";
    EXPECT_EQ(std::make_tuple(CMavListCtrl::editsAlive(), list.GetEditItem(), list.GetEditSubItem(), GetDlgCtrlID(edit)),
              std::make_tuple(1, 1, int(kLength), 1025));
    EXPECT_TRUE(GetParent(edit) == list.GetSafeHwnd() && GetFocus() == edit);
    EXPECT_EQ(uitest::windowText(edit), L"564");
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(DWORD(0), DWORD(3))) << "the whole text selected";
    EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & ES_RIGHT);
    CRect cellRect, editRect;
    list.GetSubItemRect(1, kLength, LVIR_LABEL, &cellRect);
    GetWindowRect(edit, &editRect);
    list.ScreenToClient(&editRect);
    EXPECT_EQ(std::make_tuple(editRect.left, editRect.right, editRect.top),
              std::make_tuple(cellRect.left, cellRect.right - 2, cellRect.top));

    uitest::type(L"580");
    uitest::key(VK_RETURN);
    EXPECT_EQ(f.text(1, kLength), L"580");
    EXPECT_TRUE(list.GetEditCtrl() == nullptr && !IsWindow(edit));
    EXPECT_EQ(std::make_tuple(CMavListCtrl::editsAlive(), list.inits, list.ends, list.destroys), std::make_tuple(0, 1, 1, 1));
    EXPECT_TRUE(list.windowGoneAtDestroy) << "the hook sees the field after its window is gone";
    EXPECT_TRUE(f.dlg.IsWindowVisible()) << "Enter in the cell does not close the dialog";

    f.clickCell(1, kWidth);
    edit = f.editWnd();
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & ES_CENTER);
    uitest::type(L"999");
    uitest::key(VK_ESCAPE);
    EXPECT_EQ(f.text(1, kWidth), L"560");
    EXPECT_EQ(list.ends, 1) << "an unchanged field is not offered";
    EXPECT_EQ(list.destroys, 2);
    EXPECT_EQ(CMavListCtrl::editsAlive(), 0);
    EXPECT_TRUE(f.dlg.IsWindowVisible()) << "Escape in the cell does not cancel the dialog";
}

// A click elsewhere in the dialog takes the text when the list accepts it and drops it when it refuses; a click
// into the list while editing only ends the edit and leaves the selection; an edit whose text did not change
// leaves the cell as it was even when the list would accept.
TEST(ListInPlaceEdit, ClicksElsewhereEndTheEdit)
{
    Fixture<PartsList> f;
    PartsList& list = f.dlg.list;
    list.SetCurSel(0);
    HWND other = f.dlg.GetDlgItem(IDC_TEST_OTHER)->GetSafeHwnd();

    struct Case {
        int accept;
        const wchar_t* typed;
        const wchar_t* expected;
    } cases[] = {{1, L"Seite links", L"Seite links"}, {0, L"verworfen", L"Seite links"}, {1, nullptr, L"Seite links"}};
    int ends = 0;
    for (const Case& c : cases) {
        list.accept = c.accept;
        f.clickCell(0, kName);
        ASSERT_NE(f.editWnd(), nullptr);
        if (c.typed) {
            uitest::type(c.typed);
            ++ends;
        }
        uitest::click(other, 5, 5);
        EXPECT_EQ(GetFocus(), other);
        EXPECT_EQ(f.text(0, kName), c.expected) << c.accept;
        EXPECT_EQ(list.ends, ends);
        EXPECT_EQ(CMavListCtrl::editsAlive(), 0);
    }

    f.clickCell(0, kCount);
    ASSERT_NE(f.editWnd(), nullptr);
    f.clickCell(2, kName);
    EXPECT_EQ(f.editWnd(), nullptr);
    EXPECT_EQ(CMavListCtrl::editsAlive(), 0);
    EXPECT_EQ(list.GetCurSel(), 0) << "the click that ends the edit does not select";

    // A click on another row selects it and opens nothing; the next click on it opens it.
    f.clickCell(2, kName);
    EXPECT_EQ(f.editWnd(), nullptr);
    EXPECT_EQ(list.GetCurSel(), 2);
    f.clickCell(2, kName);
    EXPECT_NE(f.editWnd(), nullptr);
    // Closing the dialog with the edit open leaves no field behind.
    f.dlg.DestroyWindow();
    EXPECT_EQ(CMavListCtrl::editsAlive(), 0);
}

// Columns the list refuses, and a list without overrides, never open a cell.
TEST(ListInPlaceEdit, RefusedCellsNeverOpen)
{
    Fixture<PartsList> f;
    f.dlg.list.allowed = {kName};
    f.dlg.list.SetCurSel(1);
    f.clickCell(1, kLength);
    EXPECT_EQ(f.editWnd(), nullptr);
    f.clickCell(1, kName);
    EXPECT_NE(f.editWnd(), nullptr);
    uitest::key(VK_ESCAPE);

    Fixture<CMavListCtrl> plain;
    plain.dlg.list.SetCurSel(0);
    for (int sub : {kName, kLength, kCount})
        plain.clickCell(0, sub);
    EXPECT_EQ(plain.dlg.list.GetEditCtrl(), nullptr);
    EXPECT_EQ(CMavListCtrl::editsAlive(), 0);
}

// While a click starts an edit, a scroll cannot end it and a second start is refused: one field, over the cell
// that was clicked.
TEST(ListInPlaceEdit, ReentryWhileStartingIsRefused)
{
    Fixture<PartsList> f;
    PartsList& list = f.dlg.list;
    list.reenterOnInit = true;
    list.SetCurSel(2);
    f.clickCell(2, kWidth);
    EXPECT_EQ(list.reentryResult, 0);
    ASSERT_NE(f.editWnd(), nullptr);
    EXPECT_EQ(f.editWnd(), list.editAtInit);
    EXPECT_EQ(std::make_tuple(list.GetEditItem(), list.GetEditSubItem(), CMavListCtrl::editsAlive(), list.destroys),
              std::make_tuple(2, int(kWidth), 1, 0));
    // Outside a start, a scroll ends the edit.
    list.reenterOnInit = false;
    list.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(f.editWnd(), nullptr);
    EXPECT_EQ(CMavListCtrl::editsAlive(), 0);
}

// A hook that deletes the edited row: the text goes nowhere (the next row keeps its own), nothing leaks.
TEST(ListInPlaceEdit, HookDeletingTheEditedRow)
{
    Fixture<PartsList> f;
    PartsList& list = f.dlg.list;
    list.deleteRowOnEnd = true;
    list.SetCurSel(1);
    f.clickCell(1, kName);
    uitest::type(L"weg");
    uitest::key(VK_RETURN);
    EXPECT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(f.text(0, kName), L"Seitenwand");
    EXPECT_EQ(f.text(1, kName), L"R\u00fcckwand");
    EXPECT_EQ(CMavListCtrl::editsAlive(), 0);
}

// A cell of 10,000 characters opens whole and takes a typed character at its end; indexes of -1 or past the end
// are refused by every call.
TEST(ListInPlaceEdit, LongTextsAndBadIndexes)
{
    Fixture<PartsList> f;
    PartsList& list = f.dlg.list;
    std::wstring longText;
    for (int i = 0; i < 10000; ++i)
        longText += static_cast<wchar_t>(L'A' + i % 26);
    list.SetItemText(0, kName, longText.c_str());
    list.SetCurSel(0);
    f.clickCell(0, kName);
    HWND edit = f.editWnd();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetWindowTextLengthW(edit), 10000);
    uitest::key(VK_END);
    uitest::type(L"!");
    uitest::key(VK_RETURN);
    EXPECT_EQ(f.text(0, kName), longText + L"!");

    const int count = list.GetItemCount();
    for (int bad : {-1, count, count + 5}) {
        EXPECT_EQ(list.SetCurSel(bad), 0) << bad;
        EXPECT_EQ(list.SetItemImage(bad, 0, 0), 0) << bad;
        LVHITTESTINFO hit{};
        hit.iItem = bad;
        EXPECT_EQ(list.BeginItemEdit(&hit), 0) << bad;
        EXPECT_EQ(f.text(bad, 0), L"");
    }
    LVHITTESTINFO badColumn{};
    badColumn.iItem = 0;
    badColumn.iSubItem = 9;
    EXPECT_EQ(list.BeginItemEdit(&badColumn), 0);
    EXPECT_EQ(list.BeginItemEdit(nullptr), 0);
    EXPECT_EQ(list.GetCurSel(), 0) << "refused selections leave the selection";
    EXPECT_EQ(CMavListCtrl::editsAlive(), 0);

    // SetCurSel adds to the selection of a list that allows several, and scrolls the row into view.
    list.ModifyStyle(LVS_SINGLESEL, 0);
    for (int i = 0; i < 40; ++i)
        list.InsertItem(list.GetItemCount(), L"Fach");
    EXPECT_EQ(list.SetCurSel(40), 1);
    EXPECT_EQ(list.GetItemState(0, LVIS_SELECTED), static_cast<UINT>(LVIS_SELECTED));
    EXPECT_EQ(list.GetItemState(40, LVIS_SELECTED), static_cast<UINT>(LVIS_SELECTED));
    EXPECT_GT(list.GetTopIndex(), 0);
    EXPECT_EQ(list.GetCurSel(), 0);
}

// The combo box lists every language by its display name, sorted, each with its code; SelectCountry ignores case.
TEST(CountryCombo, EntriesCarryTheirCodes)
{
    Fixture<PartsList> f;
    CMavComboCountryBox& box = f.dlg.country;
    const int n = mavDlCountryCount();
    ASSERT_EQ(box.GetCount(), n);
    EXPECT_EQ(box.GetStyle() & 0x103u, 0x103u);
    CString previous;
    for (int i = 0; i < n; ++i) {
        CString name;
        box.GetLBText(i, name);
        const wchar_t* code = reinterpret_cast<const wchar_t*>(box.GetItemData(i));
        int row = mavDlCountryFind(code);
        ASSERT_GE(row, 0) << i;
        EXPECT_STREQ(name.GetString(), mavDlCountrys()[row].name);
        EXPECT_EQ(code, mavDlCountrys()[row].code) << "the item data points into the table";
        if (i > 0) {
            EXPECT_LE(lstrcmpiW(previous.GetString(), name.GetString()), 0) << "sorted";
        }
        previous = name;
    }
    EXPECT_EQ(box.GetCurSel(), 0);
    EXPECT_STREQ(box.GetCountry(), L"bg") << "Bulgarisch sorts first";

    EXPECT_EQ(box.SelectCountry(L"EN"), 1);
    EXPECT_STREQ(box.GetCountry(), L"en");
    CString shown;
    box.GetLBText(box.GetCurSel(), shown);
    EXPECT_STREQ(shown.GetString(), L"Englisch");
    EXPECT_EQ(box.SelectCountry(L"De"), 1);
    for (const wchar_t* bad : {L"xx", L"", static_cast<const wchar_t*>(nullptr)})
        EXPECT_EQ(box.SelectCountry(bad), 0);
    EXPECT_STREQ(box.GetCountry(), L"de") << "a failed selection keeps the entry";

    box.SetCurSel(-1);
    EXPECT_EQ(box.GetCountry(), nullptr);
    box.ResetContent();
    EXPECT_EQ(box.SelectCountry(L"de"), 0);
    EXPECT_EQ(box.GetCountry(), nullptr);
}
