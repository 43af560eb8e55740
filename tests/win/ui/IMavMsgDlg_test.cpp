// The message server program driven through IMavMsgDlg, end to end: MavMsg.exe registered in the classes root,
// started by getRscAppDispatch, every member answering with its documented type, catalogues opened from files,
// the program ending on Close; and reaching it when nothing is registered, when a registered program never offers
// its object (the 40 looks counted through the wait function), and when it disappears between two calls.
#include "msgserver_test_support.h"
#include "ui/IMavMsgDlg.h"
#include "ui/rscAppDispatch.h"
#include "ui_test_support.h"

namespace {

// The looks for a started server, with their waits and how many showed the wait cursor; the real wait only when
// asked for (while the real program starts).
struct WaitLog {
    int count = 0, withWaitCursor = 0;
    DWORD totalMs = 0;
    bool real = false;
} g_log;
MAV::RscAppWaitFcn g_realWait = nullptr;
void recordWait(DWORD ms)
{
    ++g_log.count;
    g_log.totalMs += ms;
    g_log.withWaitCursor += ::GetCursor() == ::LoadCursorW(nullptr, IDC_WAIT);
    if (g_log.real)
        g_realWait(ms);
}

class MsgServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        msgtest::endServers();
        msgtest::removeRegistration();
        g_log = WaitLog();
        g_realWait = MAV::setRscAppWaitFcn(recordWait);
    }
    void TearDown() override
    {
        MAV::setRscAppWaitFcn(g_realWait);
        msgtest::endServers();
        msgtest::removeRegistration();
        ::CoUninitialize();
    }
    uitest::ScratchDir m_dir{L"mav_msgserver_test"};
};

// The type of a member's result, called through IDispatch directly.
VARTYPE resultType(IDispatch* d, DISPID id, WORD flags, std::initializer_list<const wchar_t*> args)
{
    std::vector<VARIANT> v(args.size());
    size_t i = args.size();
    for (const wchar_t* a : args) {
        v[--i].vt = VT_BSTR;
        v[i].bstrVal = ::SysAllocString(a);
    }
    DISPID put = DISPID_PROPERTYPUT;
    const bool isPut = flags == DISPATCH_PROPERTYPUT;
    DISPPARAMS p = {v.empty() ? nullptr : v.data(), isPut ? &put : nullptr, static_cast<UINT>(v.size()), isPut};
    VARIANT r;
    ::VariantInit(&r);
    const HRESULT hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &p, &r, nullptr, nullptr);
    for (VARIANT& a : v)
        ::VariantClear(&a);
    const VARTYPE vt = FAILED(hr) ? static_cast<VARTYPE>(0xFFFF) : r.vt;
    ::VariantClear(&r);
    return vt;
}

// The text of a control of the server's window (another process: asked by message, not from the window manager).
CString textOf(HWND control)
{
    wchar_t buf[512] = {};
    ::SendMessageW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buf));
    return CString(buf);
}
int rows(HWND list) { return uitest::rowCount(list); }

// The process of the running server ends within ten seconds, with code 0 when asked.
void expectEnds(HANDLE process, DWORD code)
{
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(::WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
    DWORD got = 1;
    ::GetExitCodeProcess(process, &got);
    EXPECT_EQ(got, code);
    ::CloseHandle(process);
}

} // namespace

TEST_F(MsgServer, RegistersAndUnregistersItsProgIDAndClass)
{
    ASSERT_EQ(msgtest::runServer(L"/RegServer"), 0u);
    const std::wstring cls = std::wstring(L"CLSID\\") + msgtest::kServerGuid;
    EXPECT_EQ(msgtest::classesValue(L"Mav_Msg.App\\CLSID") + L"|" + msgtest::classesValue(cls + L"\\ProgID") + L"|" +
                  msgtest::classesValue(cls + L"\\LocalServer32"),
              msgtest::kServerGuid + std::wstring(L"|Mav_Msg.App|\"") + msgtest::serverPath() + L"\"");
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
    g_log.real = true;
    IDispatch* raw = MAV::getRscAppDispatch();
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(g_log.count, 0); // COM started it: no start of our own, no look
    IMavMsgDlg msg(raw);
    HWND wnd = msgtest::serverWindow();
    ASSERT_NE(wnd, nullptr);
    HANDLE process = msgtest::serverProcess();

    // Names and ids, and the result type of every member.
    std::vector<DISPID> ids;
    for (const wchar_t* name :
         {L"GetSelectedKey", L"OpenFile", L"SearchKey", L"GetMsg", L"wGetMsg", L"Close", L"Visible", L"country"}) {
        LPOLESTR p = const_cast<LPOLESTR>(name);
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
        resultType(raw, 9, DISPATCH_METHOD, {}),                // no such member
        resultType(raw, 4, DISPATCH_METHOD, {L"MAV_MFC_0008"}), // one argument short
    };
    EXPECT_EQ(types, (std::vector<VARTYPE>{VT_BSTR, VT_BOOL, VT_BOOL, VT_BSTR, VT_BSTR, VT_BOOL, VT_BSTR, VT_EMPTY,
                                           0xFFFF, 0xFFFF}));

    // Started by COM, the window shows for the user to pick in; the language starts as German. Picking a key by
    // its name, in any case, selects its row in the window; a miss keeps the pick.
    EXPECT_TRUE(msg.GetVisible() && ::IsWindowVisible(wnd));
    EXPECT_EQ(msg.GetCountry() + L"|" + msg.GetSelectedKey(), L"de|");
    HWND list = ::GetDlgItem(wnd, 103), search = ::GetDlgItem(wnd, 101), shown = ::GetDlgItem(wnd, 104);
    EXPECT_EQ(msg.SearchKey(L"mav_mfc_0009"), TRUE);
    EXPECT_EQ(msg.SearchKey(L"NO_SUCH_KEY"), FALSE);
    EXPECT_EQ(msg.GetSelectedKey() + L"|" + textOf(shown), L"MAV_MFC_0009|Bezeichnung");
    EXPECT_GE(uitest::selectedRow(list), 0);
    EXPECT_GT(rows(list), 20);

    // Texts by language; the second argument of GetMsg is the default, of wGetMsg the language; the window follows
    // the language, a code that is no language of the table changes nothing.
    EXPECT_EQ(msg.GetMsg(L"MAV_MFC_0009", L"dflt"), L"Bezeichnung");
    msg.SetCountry(L"EN");
    msg.SetCountry(L"xx");
    EXPECT_EQ(msg.GetCountry() + L"|" + textOf(shown) + L"|" + msg.GetMsg(L"MAV_MFC_0009", L"dflt") + L"|" +
                  msg.GetMsg(L"NO_SUCH_KEY", L"dflt") + L"|" + msg.wGetMsg(L"NO_SUCH_KEY", L"0"),
              L"en|Label|Label|dflt|");
    CString texts;
    for (const wchar_t* lang : {L"de", L"EN", L"", L"-1", L"fr", L"0"})
        texts += msg.wGetMsg(L"MAV_MFC_0009", lang) + L"|";
    EXPECT_EQ(texts, L"Bezeichnung|Label|Label|Label||K|");

    // A catalogue folder: attributes mark keys with a text of several lines in any language; a new catalogue
    // drops the pick and the shipped one.
    m_dir.file(L"de.txt", "\xEF\xBB\xBFMAV_T_ONE=Einzeilig\nMAV_T_TWO=Zeile eins\\nZeile zwei\n"
                          "MAV_T_TRAIL=Ende\\n\nMAV_T_DE=Nur deutsch\n");
    m_dir.file(L"en.txt", "MAV_T_ONE=Single\nMAV_T_TWO=Line one\nMAV_T_EN=first\\nsecond\n");
    EXPECT_EQ(msg.OpenFile(m_dir.path.c_str()), TRUE);
    EXPECT_EQ(msg.GetSelectedKey() + L"|" + std::to_wstring(rows(list)).c_str(), L"|5");
    const wchar_t* const keys[][4] = {
        {L"MAV_T_ONE", L"K", L"Einzeilig", L"Single"}, {L"MAV_T_TWO", L"KM", L"Zeile eins\nZeile zwei", L"Line one"},
        {L"MAV_T_TRAIL", L"K", L"Ende\n", L""},        {L"MAV_T_DE", L"K", L"Nur deutsch", L""},
        {L"MAV_T_EN", L"KM", L"", L"first\nsecond"},   {L"MAV_MFC_0009", L"", L"", L""},
    };
    for (const auto& k : keys)
        EXPECT_EQ(msg.wGetMsg(k[0], L"0") + L"|" + msg.wGetMsg(k[0], L"de") + L"|" + msg.wGetMsg(k[0], L"en"),
                  CString(k[1]) + L"|" + k[2] + L"|" + k[3]);

    // A person searches by text or by key in the window and picks the first row found with the keyboard; a pick
    // no longer shown is dropped; picking by name clears the search.
    msg.SetCountry(L"de");
    std::wstring seen;
    for (const wchar_t* typed : {L"zeile", L"t_e", L"NUR"}) {
        ::SendMessageW(search, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed));
        seen += std::to_wstring(rows(list)) + L":" + msg.GetSelectedKey().GetString();
        ::SendMessageW(list, WM_KEYDOWN, VK_HOME, 0);
        seen += L">" + std::wstring(msg.GetSelectedKey().GetString()) + L" ";
    }
    ::SendMessageW(search, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    EXPECT_EQ(seen + std::to_wstring(rows(list)), L"1:>MAV_T_TWO 1:>MAV_T_EN 1:>MAV_T_DE 5");
    msg.SetCountry(L"en");
    EXPECT_EQ(msg.SearchKey(L"MAV_T_TWO"), TRUE);
    EXPECT_EQ(msg.GetSelectedKey() + L"|" + textOf(shown) + L"|" + textOf(search), L"MAV_T_TWO|Line one|");
    msg.SetCountry(L"de");
    EXPECT_EQ(textOf(shown), L"Zeile eins\r\nZeile zwei");

    // A place without a catalogue leaves the one shown as it is. One file: its language from its name, else the
    // server's language.
    EXPECT_FALSE(msg.OpenFile(L"C:\\no\\such\\folder") || msg.OpenFile(L""));
    EXPECT_EQ(msg.wGetMsg(L"MAV_T_TWO", L"0") + L"|" + msg.GetSelectedKey(), L"KM|MAV_T_TWO");
    EXPECT_EQ(msg.OpenFile(m_dir.file(L"labels_fr.txt", "MAV_T_FR=Porte\n").c_str()), TRUE);
    EXPECT_EQ(msg.wGetMsg(L"MAV_T_FR", L"fr") + L"|" + msg.wGetMsg(L"MAV_T_ONE", L"0"), L"Porte|");
    EXPECT_EQ(msg.OpenFile(m_dir.file(L"plain.txt", "MAV_T_P=T\xC3\xBCr\n").c_str()), TRUE);
    EXPECT_EQ(msg.wGetMsg(L"MAV_T_P", L"de") + L"|" + msg.wGetMsg(L"MAV_T_P", L"en"), L"T\u00FCr|");

    // Visible hides and shows the window. A copy shares the object; Close ends the program and leaves the running
    // object table.
    msg.SetVisible(FALSE);
    EXPECT_FALSE(msg.GetVisible() || ::IsWindowVisible(wnd));
    msg.SetVisible(TRUE);
    EXPECT_TRUE(::IsWindowVisible(wnd));
    IMavMsgDlg copy(msg);
    EXPECT_EQ(copy.GetCountry(), L"de");
    copy.Close();
    expectEnds(process, 0);
    EXPECT_EQ(MAV::dispatchFromProgID(L"Mav_Msg.App"), nullptr);
    try {
        msg.GetCountry();
        ADD_FAILURE() << "a closed server still answered";
    } catch (COleDispatchException* e) {
        EXPECT_TRUE(FAILED(e->m_scError));
        e->Delete();
    }
}

TEST_F(MsgServer, CreatedByCOMShowsItsWindowAndOffersItsClassFactory)
{
    ASSERT_EQ(msgtest::runServer(L"/RegServer"), 0u);
    IMavMsgDlg msg;
    COleException error;
    ASSERT_TRUE(msg.CreateDispatch(L"Mav_Msg.App", &error)) << std::hex << error.m_sc;
    ASSERT_NE(msgtest::serverWindow(), nullptr);
    EXPECT_TRUE(msg.GetVisible() && ::IsWindowVisible(msgtest::serverWindow()));
    // The object COM created is the one in the running object table.
    IDispatch* running = MAV::dispatchFromProgID(L"Mav_Msg.App");
    ASSERT_NE(running, nullptr);
    IMavMsgDlg same(running);
    same.SetCountry(L"it");
    EXPECT_EQ(msg.GetCountry(), L"it");
    HANDLE process = msgtest::serverProcess();
    msg.Close();
    expectEnds(process, 0);
}

// Nothing registered, or a ProgID without a local server: null at once, no look. A program that ends at once, and
// one that cannot be started at all, are looked for forty times, half a second each under the wait cursor; the
// cursor is given back. The wait function can be put back: null restores the library's own.
TEST_F(MsgServer, AServerThatNeverComesUpEndsAfterFortyLooks)
{
    EXPECT_EQ(MAV::getRscAppDispatch(), nullptr);
    msgtest::setClassesValue(std::wstring(msgtest::kProgID) + L"\\CLSID", msgtest::kSilentGuid);
    EXPECT_EQ(MAV::getRscAppDispatch(), nullptr);
    EXPECT_EQ(g_log.count, 0);
    for (const wchar_t* program : {L"silent_server.exe", L"no_such_server.exe"}) {
        SCOPED_TRACE(uitest::str(program));
        g_log = WaitLog();
        msgtest::registerSilentServer(L"\"" + msgtest::besideTests(program) + L"\"");
        HCURSOR before = ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        EXPECT_EQ(MAV::getRscAppDispatch(), nullptr);
        EXPECT_EQ(std::make_tuple(g_log.count, g_log.totalMs, g_log.withWaitCursor),
                  std::make_tuple(40, 40ul * 500, 40));
        EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
        ::SetCursor(before);
    }
    EXPECT_EQ(MAV::setRscAppWaitFcn(nullptr), &recordWait);
    EXPECT_NE(MAV::setRscAppWaitFcn(recordWait), &recordWait);
}

// Found running the second time: no start, no wait. A server ended from outside raises on the next call.
TEST_F(MsgServer, AServerThatDisappearsRaisesOnTheNextCall)
{
    ASSERT_EQ(msgtest::runServer(L"/RegServer"), 0u);
    g_log.real = true;
    IMavMsgDlg msg(MAV::getRscAppDispatch());
    ASSERT_NE(msg.m_lpDispatch, nullptr);
    EXPECT_EQ(msg.GetCountry(), L"de");
    g_log = WaitLog();
    IDispatch* again = MAV::getRscAppDispatch();
    EXPECT_NE(again, nullptr);
    EXPECT_EQ(g_log.count, 0);
    if (again)
        again->Release();
    HANDLE process = msgtest::serverProcess();
    ::TerminateProcess(process, 7);
    expectEnds(process, 7);
    SCODE sc = S_OK;
    CString description;
    try {
        msg.SearchKey(L"MAV_MFC_0009");
    } catch (COleDispatchException* e) {
        sc = e->m_scError;
        description = e->m_strDescription;
        e->Delete();
    }
    EXPECT_TRUE(FAILED(sc) && !description.IsEmpty()) << std::hex << sc;
}
