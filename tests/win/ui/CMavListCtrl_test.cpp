// In-place editing of list cells as a user does it: a click on the selected row opens the clicked cell, Enter
// takes the typed text, Escape drops it, a click elsewhere takes it; the heap edit field is counted so that every
// way of ending (also destroying the dialog, a hook that deletes the row) leaves none behind. Also the language
// combo box's entries and codes, and the texts the tree and the list box ask the dialog around them for.
#include "base/countries.h"
#include "ui/CMavComboCountryBox.h"
#include "ui/CMavEdit.h"
#include "ui/CMavListBox.h"
#include "ui/CMavListCtrl.h"
#include "ui/CMavTreeCtrl.h"
#include "ui_test_support.h"

namespace {

enum Column { kName, kLength, kWidth, kCount };

// A parts list that allows editing every cell of the columns in allowed, and records what its hooks saw.
class PartsList : public CMavListCtrl {
public:
    std::vector<int> allowed{kName, kLength, kWidth, kCount};
    int accept = 1, inits = 0, ends = 0, destroys = 0, reentryResult = -1;
    bool deleteRowOnEnd = false, reenterOnInit = false, windowGoneAtDestroy = false, checkedLength = false;
    int nextOnEnd = -1, nextOnDestroy = -1; // the column a list that moves on opens next, from either hook
    HWND editAtInit = nullptr;

    void OnInitEditCtrl(LVHITTESTINFO* hit, CMavEdit* edit) override
    {
        ++inits;
        editAtInit = edit->GetSafeHwnd();
        if (checkedLength && hit->iSubItem == kLength) { // as a parts list checks its lengths
            edit->setEditFlags(CMavEdit::typeLength, CMavEdit::flagRequired | CMavEdit::flagNoZero |
                                                         CMavEdit::flagNoNegative, 2, 0.0, 0.0);
            edit->setVal(_wtof(GetItemText(hit->iItem, kLength)));
            edit->SetModify(FALSE);
        }
        if (reenterOnInit) {
            // A scroll and a second start while the first start is still running: neither may end or replace it.
            SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
            LVHITTESTINFO other{};
            reentryResult = BeginItemEdit(&other);
        }
    }
    int OnAllowEdit(LVHITTESTINFO* hit) override
    {
        return std::find(allowed.begin(), allowed.end(), hit->iSubItem) != allowed.end();
    }
    int OnEndItemEdit(CMavEdit*) override
    {
        ++ends;
        if (deleteRowOnEnd)
            DeleteItem(GetEditItem());
        moveOn(nextOnEnd);
        return accept;
    }
    void OnDestroyEditCtrl(CMavEdit* edit) override
    {
        ++destroys;
        windowGoneAtDestroy = edit->GetSafeHwnd() == nullptr && !IsWindow(editAtInit);
        moveOn(nextOnDestroy);
    }
    void moveOn(int column)
    {
        LVHITTESTINFO next{};
        next.iItem = GetEditItem();
        next.iSubItem = column;
        if (column >= 0 && BeginItemEdit(&next) != 1)
            ADD_FAILURE() << "moving on was refused";
    }
};

template <class List> class ListsDialog : public CMavDlg {
public:
    List list;
    CMavComboCountryBox country;
    CMavTreeCtrl tree;
    CMavListBox listBox;
    ListsDialog() : CMavDlg(IDD_MAV_TEST_LISTS) { SavePosition(false); }
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, IDC_TEST_LIST, list);
        DDX_Control(dx, IDC_TEST_COUNTRY, country);
        DDX_Control(dx, IDC_TEST_TREE, tree);
        DDX_Control(dx, IDC_TEST_LISTBOX, listBox);
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

// A modeless dialog shown at the screen's top left.
template <class List = PartsList> struct Fixture {
    ListsDialog<List> dlg;
    List& list = dlg.list;
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
    void clickCell(int item, int sub)
    {
        const RECT r = uitest::cellRect(list.GetSafeHwnd(), item, sub);
        uitest::click(list.GetSafeHwnd(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    std::wstring text(int item, int sub) { return list.GetItemText(item, sub).GetString(); }
    HWND editWnd() { return list.GetEditCtrl() ? list.GetEditCtrl()->GetSafeHwnd() : nullptr; }
};

// Answers every key with key, country and default joined, so a test sees which arguments arrived.
const wchar_t* joiningMsg(const wchar_t* key, const wchar_t* def, const wchar_t* country)
{
    static std::wstring text;
    text = uitest::str(key) + L"|" + uitest::str(country) + L"|" + uitest::str(def);
    return text.c_str();
}

} // namespace

// Enter takes the typed text into the cell; the field sat over that cell, aligned as its column, with the cell's
// text selected and the focus. Escape drops what was typed. Each time the one heap field is gone afterwards, and
// the dialog stays open.
TEST(ListInPlaceEdit, EnterTakesTheTextAndEscapeDropsIt)
{
    Fixture<> f;
    EXPECT_EQ(f.list.SetCurSel(1), 1);
    EXPECT_EQ(f.list.GetCurSel(), 1);
    f.clickCell(1, kLength);
    HWND edit = f.editWnd();
    ASSERT_NE(edit, nullptr) << "a click on the selected row opens the cell";
    EXPECT_EQ(std::make_tuple(CMavListCtrl::editsAlive(), f.list.GetEditItem(), f.list.GetEditSubItem(),
                              GetDlgCtrlID(edit), uitest::windowText(edit)),
              std::make_tuple(1, 1, int(kLength), 1025, std::wstring(L"564")));
    EXPECT_TRUE(GetParent(edit) == f.list.GetSafeHwnd() && GetFocus() == edit &&
                (GetWindowLongW(edit, GWL_STYLE) & ES_RIGHT));
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const RECT cell = uitest::cellRect(f.list.GetSafeHwnd(), 1, kLength);
    CRect editRect;
    GetWindowRect(edit, &editRect);
    f.list.ScreenToClient(&editRect);
    EXPECT_EQ(std::make_tuple(start, end, editRect.left, editRect.right, editRect.top),
              std::make_tuple(DWORD(0), DWORD(3), cell.left, cell.right - 2, cell.top));

    uitest::type(L"580");
    uitest::key(VK_RETURN);
    EXPECT_EQ(f.text(1, kLength), L"580");
    EXPECT_TRUE(f.list.GetEditCtrl() == nullptr && !IsWindow(edit) && f.list.windowGoneAtDestroy);
    EXPECT_EQ(std::make_tuple(CMavListCtrl::editsAlive(), f.list.inits, f.list.ends, f.list.destroys),
              std::make_tuple(0, 1, 1, 1));
    EXPECT_TRUE(f.dlg.IsWindowVisible()) << "Enter in the cell does not close the dialog";

    f.clickCell(1, kWidth);
    edit = f.editWnd();
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & ES_CENTER);
    uitest::type(L"999");
    uitest::key(VK_ESCAPE);
    EXPECT_EQ(f.text(1, kWidth), L"560");
    // An unchanged field is not offered.
    EXPECT_EQ(std::make_tuple(f.list.ends, f.list.destroys, CMavListCtrl::editsAlive()), std::make_tuple(1, 2, 0));
    EXPECT_TRUE(f.dlg.IsWindowVisible()) << "Escape in the cell does not cancel the dialog";
}

// A click elsewhere in the dialog takes the text when the list accepts it and drops it when it refuses; a click
// into the list while editing only ends the edit and leaves the selection; an edit whose text did not change
// leaves the cell as it was even when the list would accept. Columns the list refuses never open.
TEST(ListInPlaceEdit, ClicksElsewhereEndTheEdit)
{
    Fixture<> f;
    f.list.SetCurSel(0);
    HWND other = f.dlg.GetDlgItem(IDC_TEST_OTHER)->GetSafeHwnd();
    const struct {
        int accept;
        const wchar_t *typed, *expected;
    } cases[] = {{1, L"Seite links", L"Seite links"}, {0, L"verworfen", L"Seite links"}, {1, nullptr, L"Seite links"}};
    int ends = 0;
    for (const auto& c : cases) {
        f.list.accept = c.accept;
        f.clickCell(0, kName);
        ASSERT_NE(f.editWnd(), nullptr);
        if (c.typed) {
            uitest::type(c.typed);
            ++ends;
        }
        uitest::click(other, 5, 5);
        EXPECT_EQ(std::make_tuple(GetFocus(), f.text(0, kName), f.list.ends, CMavListCtrl::editsAlive()),
                  std::make_tuple(other, std::wstring(c.expected), ends, 0));
    }
    f.clickCell(0, kCount);
    ASSERT_NE(f.editWnd(), nullptr);
    f.clickCell(2, kName);
    EXPECT_EQ(std::make_tuple(f.editWnd(), CMavListCtrl::editsAlive(), f.list.GetCurSel()),
              std::make_tuple(HWND(nullptr), 0, 0))
        << "the click that ends the edit does not select";
    // A click on another row selects it and opens nothing; the next click on it opens it.
    f.clickCell(2, kName);
    EXPECT_EQ(std::make_pair(f.editWnd(), f.list.GetCurSel()), std::make_pair(HWND(nullptr), 2));
    f.list.allowed = {kName};
    f.clickCell(2, kLength);
    EXPECT_EQ(f.editWnd(), nullptr);
    f.clickCell(2, kName);
    EXPECT_NE(f.editWnd(), nullptr);
    // Closing the dialog with the edit open leaves no field behind.
    f.dlg.DestroyWindow();
    EXPECT_EQ(CMavListCtrl::editsAlive(), 0);

    Fixture<CMavListCtrl> plain; // a list without overrides never opens a cell
    plain.list.SetCurSel(0);
    for (int sub : {kName, kLength, kCount})
        plain.clickCell(0, sub);
    EXPECT_EQ(plain.list.GetEditCtrl(), nullptr);
}

// While a click starts an edit, a scroll cannot end it and a second start is refused: one field, over the cell
// that was clicked; outside a start a scroll ends the edit. A hook that deletes the edited row: the text goes
// nowhere (the next row keeps its own), nothing leaks.
TEST(ListInPlaceEdit, ReentryAndAHookDeletingTheRow)
{
    Fixture<> f;
    f.list.reenterOnInit = true;
    f.list.SetCurSel(2);
    f.clickCell(2, kWidth);
    ASSERT_NE(f.editWnd(), nullptr);
    EXPECT_EQ(std::make_tuple(f.list.reentryResult, f.editWnd(), f.list.GetEditItem(), f.list.GetEditSubItem(),
                              CMavListCtrl::editsAlive(), f.list.destroys),
              std::make_tuple(0, f.list.editAtInit, 2, int(kWidth), 1, 0));
    f.list.reenterOnInit = false;
    f.list.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(std::make_pair(f.editWnd(), CMavListCtrl::editsAlive()), std::make_pair(HWND(nullptr), 0));

    f.list.deleteRowOnEnd = true;
    f.list.SetCurSel(1);
    f.clickCell(1, kName);
    uitest::type(L"weg");
    uitest::key(VK_RETURN);
    EXPECT_EQ(std::make_tuple(f.list.GetItemCount(), f.text(0, kName), f.text(1, kName), CMavListCtrl::editsAlive()),
              std::make_tuple(2, std::wstring(L"Seitenwand"), std::wstring(L"R\u00fcckwand"), 0));
}

// A length the field refuses: its message, the cell as it was, the edit ended, and the focus where the user sent
// it (the list on Enter, the clicked control), not on a field that no longer exists.
TEST(ListInPlaceEdit, ARefusedLengthShowsTheFieldsMessageAndEndsTheEdit)
{
    Fixture<> f;
    f.list.checkedLength = true;
    f.list.SetCurSel(1);
    HWND other = f.dlg.GetDlgItem(IDC_TEST_OTHER)->GetSafeHwnd();
    const struct {
        const wchar_t* typed; // null: the text deleted
        bool enter;
        const wchar_t* box;
    } cases[] = {{L"-5", false, L"Wert darf nicht negativ sein|Fehler"},
                 {L"0", true, L"Wert darf nicht Null sein|Fehler"},
                 {nullptr, true, L"Eintragung notwendig|Fehler"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(uitest::str(c.box));
        f.clickCell(1, kLength);
        ASSERT_NE(f.editWnd(), nullptr);
        if (c.typed)
            uitest::type(c.typed);
        else
            uitest::key(VK_DELETE);
        const std::wstring box = uitest::boxOf([&] { c.enter ? uitest::key(VK_RETURN) : uitest::click(other, 5, 5); });
        EXPECT_EQ(std::make_tuple(box, f.text(1, kLength), CMavListCtrl::editsAlive(), GetFocus()),
                  std::make_tuple(std::wstring(c.box), std::wstring(L"564"), 0, c.enter ? f.list.GetSafeHwnd() : other));
    }
}

// A list that moves on to the next cell from either end hook: the typed text goes into its own cell, and the next
// cell opens with the focus once the first edit has ended.
TEST(ListInPlaceEdit, MovingOnFromAnEndHookOpensTheNextCell)
{
    for (bool fromEnd : {true, false}) {
        SCOPED_TRACE(fromEnd ? "OnEndItemEdit" : "OnDestroyEditCtrl");
        Fixture<> f;
        (fromEnd ? f.list.nextOnEnd : f.list.nextOnDestroy) = kWidth;
        f.list.SetCurSel(1);
        f.clickCell(1, kLength);
        uitest::type(L"12");
        uitest::key(VK_RETURN);
        EXPECT_EQ(std::make_tuple(f.text(1, kLength), f.text(1, kWidth), f.list.GetEditItem(), f.list.GetEditSubItem(),
                                  CMavListCtrl::editsAlive(), GetFocus() == f.editWnd()),
                  std::make_tuple(std::wstring(L"12"), std::wstring(L"560"), 1, int(kWidth), 1, true));
        f.list.nextOnEnd = f.list.nextOnDestroy = -1;
        uitest::key(VK_ESCAPE);
        EXPECT_EQ(CMavListCtrl::editsAlive(), 0);
    }
}

// A cell of 10,000 characters opens whole and takes a typed character at its end; indexes of -1 or past the end
// are refused by every call. SetCurSel adds to the selection of a list that allows several, and scrolls the row
// into view.
TEST(ListInPlaceEdit, LongTextsAndBadIndexes)
{
    Fixture<> f;
    std::wstring longText;
    for (int i = 0; i < 10000; ++i)
        longText += static_cast<wchar_t>(L'A' + i % 26);
    f.list.SetItemText(0, kName, longText.c_str());
    f.list.SetCurSel(0);
    f.clickCell(0, kName);
    ASSERT_NE(f.editWnd(), nullptr);
    EXPECT_EQ(GetWindowTextLengthW(f.editWnd()), 10000);
    uitest::key(VK_END);
    uitest::type(L"!");
    uitest::key(VK_RETURN);
    EXPECT_EQ(f.text(0, kName), longText + L"!");

    const int count = f.list.GetItemCount();
    for (int bad : {-1, count, count + 5}) {
        LVHITTESTINFO hit{};
        hit.iItem = bad;
        EXPECT_EQ(std::make_tuple(f.list.SetCurSel(bad), f.list.SetItemImage(bad, 0, 0), f.list.BeginItemEdit(&hit),
                                  f.text(bad, 0)),
                  std::make_tuple(0, 0, 0, std::wstring()))
            << bad;
    }
    LVHITTESTINFO badColumn{};
    badColumn.iSubItem = 9;
    EXPECT_EQ(f.list.BeginItemEdit(&badColumn) + f.list.BeginItemEdit(nullptr), 0);
    EXPECT_EQ(std::make_pair(f.list.GetCurSel(), CMavListCtrl::editsAlive()), std::make_pair(0, 0));

    f.list.ModifyStyle(LVS_SINGLESEL, 0);
    for (int i = 0; i < 40; ++i)
        f.list.InsertItem(f.list.GetItemCount(), L"Fach");
    EXPECT_EQ(f.list.SetCurSel(40), 1);
    EXPECT_EQ(f.list.GetItemState(0, LVIS_SELECTED) & f.list.GetItemState(40, LVIS_SELECTED), UINT(LVIS_SELECTED));
    EXPECT_GT(f.list.GetTopIndex(), 0);
    EXPECT_EQ(f.list.GetCurSel(), 0);
}

// The combo box lists every language by its display name, sorted, each with its code; SelectCountry ignores case.
TEST(CountryCombo, EntriesCarryTheirCodes)
{
    Fixture<> f;
    CMavComboCountryBox& box = f.dlg.country;
    const int n = mavDlCountryCount();
    ASSERT_EQ(box.GetCount(), n);
    EXPECT_EQ(box.GetStyle() & 0x103u, 0x103u);
    CString previous, name;
    for (int i = 0; i < n; ++i, previous = name) {
        box.GetLBText(i, name);
        const wchar_t* code = reinterpret_cast<const wchar_t*>(box.GetItemData(i));
        const int row = mavDlCountryFind(code);
        ASSERT_GE(row, 0) << i;
        EXPECT_STREQ(name.GetString(), mavDlCountrys()[row].name);
        EXPECT_EQ(code, mavDlCountrys()[row].code) << "the item data points into the table";
        EXPECT_TRUE(i == 0 || lstrcmpiW(previous.GetString(), name.GetString()) <= 0) << "sorted";
    }
    EXPECT_EQ(box.GetCurSel(), 0);
    EXPECT_STREQ(box.GetCountry(), L"bg") << "Bulgarisch sorts first";
    // Made with Create and a style without sorting: filled, and in the same order.
    CMavComboCountryBox made;
    ASSERT_TRUE(made.Create(WS_CHILD | CBS_DROPDOWNLIST | CBS_HASSTRINGS, CRect(0, 0, 120, 200), &f.dlg, 4711));
    ASSERT_EQ(made.GetCount(), n);
    for (int i = 0; i < n; ++i)
        EXPECT_EQ(made.GetItemData(i), box.GetItemData(i)) << i;
    made.DestroyWindow();
    EXPECT_EQ(box.SelectCountry(L"EN"), 1);
    box.GetLBText(box.GetCurSel(), name);
    EXPECT_EQ(uitest::str(box.GetCountry()) + name.GetString(), L"enEnglisch");
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

TEST(ControlTexts, TreeAndListBoxAskTheDialogAroundThem)
{
    uitest::ScopedMsgFcn callback(&joiningMsg);
    Fixture<> f;
    auto& dlg = f.dlg;
    dlg.SetCountry(L"en");
    EXPECT_EQ(uitest::str(dlg.tree.country()) + dlg.listBox.country(), L"enen");
    // A null country is the dialog's; a given one passes through.
    EXPECT_STREQ(dlg.tree.GetMsg(L"MAV_MAT_0001", L"Gruppe", nullptr), L"MAV_MAT_0001|en|Gruppe");
    EXPECT_STREQ(dlg.tree.GetMsg(L"MAV_MAT_0002", L"Material", L"fr"), L"MAV_MAT_0002|fr|Material");
    EXPECT_STREQ(dlg.listBox.GetMsg(L"DLG_001", L"OK", nullptr), L"DLG_001|en|OK");
    dlg.SetCountry(L"de");
    EXPECT_STREQ(dlg.tree.country(), L"de");
    dlg.DestroyWindow();
    uitest::pump();

    // In a window that is no CMavDlg: no country, and the default text unchanged. An item of 10,000 characters
    // comes back whole.
    HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
    CMavTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 200), CWnd::FromHandle(plain), 5));
    CMavListBox box;
    ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 80), CWnd::FromHandle(plain), 6));
    EXPECT_TRUE(tree.country() == nullptr && box.country() == nullptr);
    EXPECT_STREQ(tree.GetMsg(L"K", L"Vorgabe", L"en"), L"Vorgabe");
    EXPECT_EQ(box.GetMsg(L"K", nullptr, nullptr), nullptr);
    const std::wstring longText(10000, L'a');
    HTREEITEM root = tree.InsertItem(L"Schrank");
    HTREEITEM child = tree.InsertItem(longText.c_str(), root);
    EXPECT_EQ(tree.GetItemText(child) + L"|" + tree.GetItemText(root) + L"|" + tree.GetItemText(nullptr),
              CString((longText + L"|Schrank|").c_str()));
    tree.DestroyWindow();
    box.DestroyWindow();
    DestroyWindow(plain);
}
