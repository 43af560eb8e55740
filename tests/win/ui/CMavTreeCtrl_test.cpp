// The tree and the list box take language and texts from the CMavDlg around them, and nothing from any other
// parent; the tree's wrapper reads texts of any length.
#include "ui/CMavListBox.h"
#include "ui/CMavTreeCtrl.h"
#include "ui_test_support.h"

namespace {

// Answers every key with key, country and default joined, so a test sees which arguments arrived.
const wchar_t* joiningMsg(const wchar_t* key, const wchar_t* def, const wchar_t* country)
{
    static std::wstring text;
    text = uitest::str(key) + L"|" + uitest::str(country) + L"|" + uitest::str(def);
    return text.c_str();
}

class ListsDialog : public CMavDlg {
public:
    CMavTreeCtrl tree;
    CMavListBox listBox;
    ListsDialog() : CMavDlg(IDD_MAV_TEST_LISTS) { SavePosition(false); }
    void DoDataExchange(CDataExchange* dx) override
    {
        CMavDlg::DoDataExchange(dx);
        DDX_Control(dx, IDC_TEST_TREE, tree);
        DDX_Control(dx, IDC_TEST_LISTBOX, listBox);
    }
};

TEST(ControlTexts, TreeAndListBoxAskTheDialogAroundThem)
{
    uitest::ScopedMsgFcn callback(&joiningMsg);
    ListsDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_MAV_TEST_LISTS));
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

} // namespace
