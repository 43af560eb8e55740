// The message server program driven through IMavMsgDlg, end to end: MavMsg.exe registered in the classes root,
// started by getRscAppDispatch, every member answering with its documented type, catalogues opened from files,
// and the program ending on Close. The registry and the process are cleaned up in every case.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstring>
#include <string>

#include "msgserver_test_support.h"
#include "ui_test_support.h"
#include "ui/IMavMsgDlg.h"
#include "ui/rscAppDispatch.h"

namespace {

int g_waits = 0;
MAV::RscAppWaitFcn g_realWait = nullptr;

// Counts the looks for the started server and waits as the library does.
void countingWait(DWORD ms)
{
    ++g_waits;
    g_realWait(ms);
}

class MsgServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        msgtest::endServers();
        msgtest::removeRegistration();
        g_waits = 0;
        g_realWait = MAV::setRscAppWaitFcn(countingWait);
    }
    void TearDown() override
    {
        MAV::setRscAppWaitFcn(g_realWait);
        msgtest::endServers();
        msgtest::removeRegistration();
        CoUninitialize();
    }

    uitest::ScratchDir m_dir{L"mav_msgserver_test"};
};

// The type of a member's result, called through IDispatch directly.
VARTYPE resultType(IDispatch* d, DISPID id, WORD flags, std::initializer_list<const wchar_t*> args)
{
    std::vector<VARIANT> v(args.size());
    size_t i = args.size();
    for (const wchar_t* a : args) {
        --i;
        v[i].vt = VT_BSTR;
        v[i].bstrVal = SysAllocString(a);
    }
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS p = {v.empty() ? nullptr : v.data(), flags == DISPATCH_PROPERTYPUT ? &put : nullptr,
                    static_cast<UINT>(v.size()), flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
    VARIANT r;
    VariantInit(&r);
    const HRESULT hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &p, &r, nullptr, nullptr);
    for (VARIANT& a : v)
        VariantClear(&a);
    const VARTYPE vt = FAILED(hr) ? static_cast<VARTYPE>(0xFFFF) : r.vt;
    VariantClear(&r);
    return vt;
}

// The text of a control of the server's window (another process: asked by message, not from the window manager).
CString textOf(HWND control)
{
    wchar_t buf[512] = {};
    SendMessageW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buf));
    return CString(buf);
}

} // namespace

TEST_F(MsgServer, RegistersAndUnregistersItsProgIDAndClass)
{
    ASSERT_EQ(msgtest::runServer(L"/RegServer"), 0u);
    const std::wstring cls = std::wstring(L"CLSID\\") + msgtest::kServerGuid;
    EXPECT_EQ(msgtest::classesValue(L"Mav_Msg.App\\CLSID"), msgtest::kServerGuid);
    EXPECT_EQ(msgtest::classesValue(cls + L"\\ProgID"), L"Mav_Msg.App");
    EXPECT_EQ(msgtest::classesValue(cls + L"\\LocalServer32"), L"\"" + msgtest::serverPath() + L"\"");
    CMavString path;
    ASSERT_TRUE(MAV::serverFromProgID(L"Mav_Msg.App", path));
    EXPECT_EQ(path.compareNoCase(msgtest::serverPath().c_str()), 0);
    EXPECT_EQ(msgtest::serverWindow(), nullptr); // registering does not start the server

    ASSERT_EQ(msgtest::runServer(L"-unregserver"), 0u);
    EXPECT_EQ(msgtest::classesValue(L"Mav_Msg.App") + msgtest::classesValue(cls), L"<none><none>");
    EXPECT_FALSE(MAV::serverFromProgID(L"Mav_Msg.App", path));
    EXPECT_EQ(msgtest::runServer(L"/UnregServer"), 0u); // nothing left to remove is no failure
}

TEST_F(MsgServer, StartedOnDemandAnswersEveryMemberAndEndsOnClose)
{
    ASSERT_EQ(msgtest::runServer(L"/RegServer"), 0u);
    ASSERT_EQ(msgtest::serverWindow(), nullptr);
    IDispatch* raw = MAV::getRscAppDispatch();
    ASSERT_NE(raw, nullptr);
    EXPECT_GE(g_waits, 1); // it was started, not found running
    EXPECT_LE(g_waits, 40);
    IMavMsgDlg msg(raw);
    HWND wnd = msgtest::serverWindow();
    ASSERT_NE(wnd, nullptr);
    HANDLE process = msgtest::serverProcess();
    ASSERT_NE(process, nullptr);

    // Names and ids, and the result type of every member.
    std::vector<DISPID> ids;
    for (const wchar_t* name :
         {L"GetSelectedKey", L"OpenFile", L"SearchKey", L"GetMsg", L"wGetMsg", L"Close", L"Visible", L"country"}) {
        OLECHAR buf[32] = {};
        lstrcpynW(buf, name, 32);
        LPOLESTR p = buf;
        DISPID id = 0;
        ids.push_back(raw->GetIDsOfNames(IID_NULL, &p, 1, LOCALE_USER_DEFAULT, &id) == S_OK ? id : -1);
    }
    EXPECT_EQ(ids, (std::vector<DISPID>{1, 2, 3, 4, 5, 6, 7, 8}));
    const std::vector<VARTYPE> types = {
        resultType(raw, 1, DISPATCH_METHOD, {}),
        resultType(raw, 2, DISPATCH_METHOD, {L"C:\\no\\such\\file.txt"}),
        resultType(raw, 3, DISPATCH_METHOD, {L"NO_SUCH_KEY"}),
        resultType(raw, 4, DISPATCH_METHOD, {L"MAV_MFC_0008", L"x"}),
        resultType(raw, 5, DISPATCH_METHOD, {L"MAV_MFC_0008", L"de"}),
        resultType(raw, 7, DISPATCH_PROPERTYGET, {}),
        resultType(raw, 8, DISPATCH_PROPERTYGET, {}),
        resultType(raw, 8, DISPATCH_PROPERTYPUT, {L"de"}),
        resultType(raw, 9, DISPATCH_METHOD, {}),              // no such member
        resultType(raw, 4, DISPATCH_METHOD, {L"MAV_MFC_0008"}), // one argument short
    };
    EXPECT_EQ(types, (std::vector<VARTYPE>{VT_BSTR, VT_BOOL, VT_BOOL, VT_BSTR, VT_BSTR, VT_BOOL, VT_BSTR, VT_EMPTY,
                                           0xFFFF, 0xFFFF}));

    // Started by hand, the window shows; the language starts as German.
    EXPECT_EQ(msg.GetVisible(), TRUE);
    EXPECT_TRUE(IsWindowVisible(wnd));
    EXPECT_EQ(msg.GetCountry(), L"de");
    EXPECT_EQ(msg.GetSelectedKey(), L"");

    // Picking a key by its name, in any case, selects its row in the window.
    EXPECT_EQ(msg.SearchKey(L"mav_mfc_0009"), TRUE);
    EXPECT_EQ(msg.GetSelectedKey(), L"MAV_MFC_0009");
    HWND list = GetDlgItem(wnd, 103);
    const int row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    EXPECT_GE(row, 0);
    EXPECT_GT(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 20);
    EXPECT_EQ(textOf(GetDlgItem(wnd, 104)), L"Bezeichnung");
    EXPECT_EQ(msg.SearchKey(L"NO_SUCH_KEY"), FALSE);
    EXPECT_EQ(msg.GetSelectedKey(), L"MAV_MFC_0009"); // a miss keeps the pick

    // Texts by language; the second argument of GetMsg is the default, of wGetMsg the language.
    EXPECT_EQ(msg.GetMsg(L"MAV_MFC_0009", L"dflt"), L"Bezeichnung");
    msg.SetCountry(L"EN");
    EXPECT_EQ(msg.GetCountry(), L"en");
    msg.SetCountry(L"xx"); // not a language of the table: unchanged
    EXPECT_EQ(msg.GetCountry(), L"en");
    EXPECT_EQ(textOf(GetDlgItem(wnd, 104)), L"Label"); // the window follows the language
    EXPECT_EQ(msg.GetMsg(L"MAV_MFC_0009", L"dflt"), L"Label");
    EXPECT_EQ(msg.GetMsg(L"NO_SUCH_KEY", L"dflt"), L"dflt");
    CString texts;
    for (const wchar_t* lang : {L"de", L"EN", L"", L"-1", L"fr", L"0"})
        texts += msg.wGetMsg(L"MAV_MFC_0009", lang) + L"|";
    EXPECT_EQ(texts, L"Bezeichnung|Label|Label|Label||K|");
    EXPECT_EQ(msg.wGetMsg(L"NO_SUCH_KEY", L"0"), L"");

    // A catalogue folder: attributes mark keys with a text of several lines in any language.
    m_dir.file(L"de.txt", "\xEF\xBB\xBFMAV_T_ONE=Einzeilig\nMAV_T_TWO=Zeile eins\\nZeile zwei\n"
                                   "MAV_T_TRAIL=Ende\\n\nMAV_T_DE=Nur deutsch\n");
    m_dir.file(L"en.txt", "MAV_T_ONE=Single\nMAV_T_TWO=Line one\nMAV_T_EN=first\\nsecond\n");
    EXPECT_EQ(msg.OpenFile(m_dir.path.c_str()), TRUE);
    EXPECT_EQ(msg.GetSelectedKey(), L""); // a new catalogue drops the pick
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 5);
    const struct {
        const wchar_t* key;
        const wchar_t* attributes;
        const wchar_t* de;
        const wchar_t* en;
    } keys[] = {
        {L"MAV_T_ONE", L"K", L"Einzeilig", L"Single"},
        {L"MAV_T_TWO", L"KM", L"Zeile eins\nZeile zwei", L"Line one"},
        {L"MAV_T_TRAIL", L"K", L"Ende\n", L""},
        {L"MAV_T_DE", L"K", L"Nur deutsch", L""},
        {L"MAV_T_EN", L"KM", L"", L"first\nsecond"},
        {L"MAV_MFC_0009", L"", L"", L""}, // the shipped catalogue is gone
    };
    for (const auto& k : keys)
        EXPECT_EQ(msg.wGetMsg(k.key, L"0") + L"|" + msg.wGetMsg(k.key, L"de") + L"|" + msg.wGetMsg(k.key, L"en"),
                  CString(k.attributes) + L"|" + k.de + L"|" + k.en);
    // A person searches by text or by key in the window and picks the first row found with the keyboard.
    HWND search = GetDlgItem(wnd, 101);
    msg.SetCountry(L"de");
    SendMessageW(search, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"zeile")); // in the German texts
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
    SendMessageW(list, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(msg.GetSelectedKey(), L"MAV_T_TWO");
    SendMessageW(search, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"t_e"));
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(msg.GetSelectedKey(), L""); // the picked row is no longer shown
    SendMessageW(list, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(msg.GetSelectedKey(), L"MAV_T_EN");
    SendMessageW(search, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"NUR"));
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
    SendMessageW(search, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 5);
    msg.SetCountry(L"en");
    EXPECT_EQ(msg.SearchKey(L"MAV_T_TWO"), TRUE);
    EXPECT_EQ(msg.GetSelectedKey(), L"MAV_T_TWO");
    EXPECT_EQ(textOf(GetDlgItem(wnd, 104)), L"Line one");
    EXPECT_EQ(textOf(search), L""); // picking by name clears the search
    msg.SetCountry(L"de");
    EXPECT_EQ(textOf(GetDlgItem(wnd, 104)), L"Zeile eins\r\nZeile zwei");

    // A place without a catalogue leaves the one shown as it is.
    EXPECT_EQ(msg.OpenFile(L"C:\\no\\such\\folder"), FALSE);
    EXPECT_EQ(msg.OpenFile(L""), FALSE);
    EXPECT_EQ(msg.wGetMsg(L"MAV_T_TWO", L"0"), L"KM");
    EXPECT_EQ(msg.GetSelectedKey(), L"MAV_T_TWO");

    // One file: its language from its name, else the server's language.
    EXPECT_EQ(msg.OpenFile(m_dir.file(L"labels_fr.txt", "MAV_T_FR=Porte\n").c_str()), TRUE);
    EXPECT_EQ(msg.wGetMsg(L"MAV_T_FR", L"fr"), L"Porte");
    EXPECT_EQ(msg.wGetMsg(L"MAV_T_ONE", L"0"), L"");
    EXPECT_EQ(msg.OpenFile(m_dir.file(L"plain.txt", "MAV_T_P=T\xC3\xBCr\n").c_str()), TRUE);
    EXPECT_EQ(msg.wGetMsg(L"MAV_T_P", L"de"), L"T\u00FCr");
    EXPECT_EQ(msg.wGetMsg(L"MAV_T_P", L"en"), L"");

    // Visible hides and shows the window.
    msg.SetVisible(FALSE);
    EXPECT_EQ(msg.GetVisible(), FALSE);
    EXPECT_FALSE(IsWindowVisible(wnd));
    msg.SetVisible(TRUE);
    EXPECT_TRUE(IsWindowVisible(wnd));

    // A copy shares the object; Close ends the program and leaves the running object table.
    IMavMsgDlg copy(msg);
    EXPECT_EQ(copy.GetCountry(), L"de");
    copy.Close();
    EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(process, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(process);
    EXPECT_EQ(MAV::dispatchFromProgID(L"Mav_Msg.App"), nullptr);
    try {
        msg.GetCountry();
        ADD_FAILURE() << "a closed server still answered";
    } catch (COleDispatchException* e) {
        EXPECT_TRUE(FAILED(e->m_scError));
        e->Delete();
    }
}

TEST_F(MsgServer, CreatedByCOMRunsHiddenWithItsClassFactory)
{
    ASSERT_EQ(msgtest::runServer(L"/RegServer"), 0u);
    IMavMsgDlg msg;
    COleException error;
    ASSERT_TRUE(msg.CreateDispatch(L"Mav_Msg.App", &error)) << std::hex << error.m_sc;
    EXPECT_EQ(msg.GetVisible(), FALSE);
    HWND wnd = msgtest::serverWindow();
    ASSERT_NE(wnd, nullptr);
    EXPECT_FALSE(IsWindowVisible(wnd));
    // The object COM created is the one in the running object table.
    IDispatch* running = MAV::dispatchFromProgID(L"Mav_Msg.App");
    ASSERT_NE(running, nullptr);
    IMavMsgDlg same(running);
    same.SetCountry(L"it");
    EXPECT_EQ(msg.GetCountry(), L"it");
    HANDLE process = msgtest::serverProcess();
    ASSERT_NE(process, nullptr);
    msg.Close();
    EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
    CloseHandle(process);
}
