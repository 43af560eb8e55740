// Import into the label edit dialog from the real message server (MavMsg.exe registered for the test): a key of one
// line, a key of several lines refused outside multi-line mode, a key without texts, no key picked, and a server
// that goes away between two calls.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <string>

#include "../ui/msgserver_test_support.h"
#include "dialogs/CMavLabelEdit.h"
#include "dialogs_script_support.h"
#include "data/messages.h"
#include "resource.h"
#include "ui/IMavMsgDlg.h"
#include "ui/rscAppDispatch.h"

namespace {

void writeUtf8(const std::wstring& path, const char* text)
{
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    CloseHandle(f);
}

class LabelImport : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        msgtest::endServers();
        msgtest::removeRegistration();
        m_lang = MAV::msgLangSet(nullptr);
        MAV::msgLangSet(L"de");
        wchar_t tmp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, tmp);
        m_dir = std::wstring(tmp) + L"mav_label_import_test";
        CreateDirectoryW(m_dir.c_str(), nullptr);
        writeUtf8(m_dir + L"\\de.txt", "TEST_ONE=T\xC3\xBCr\nTEST_MULTI=Zeile eins\\nZeile zwei\nTEST_EMPTY=\n");
        writeUtf8(m_dir + L"\\en.txt", "TEST_ONE=Door\nTEST_MULTI=Line one\n");
        writeUtf8(m_dir + L"\\fr.txt", "TEST_ONE=Porte\n");
    }
    void TearDown() override
    {
        CMavLabelEdit::setServerFcn(nullptr);
        msgtest::endServers();
        msgtest::removeRegistration();
        for (const wchar_t* name : {L"de.txt", L"en.txt", L"fr.txt"})
            DeleteFileW((m_dir + L"\\" + name).c_str());
        RemoveDirectoryW(m_dir.c_str());
        MAV::msgLangSet(m_lang.c_str());
        CoUninitialize();
    }

    // The registered server, started and showing the test catalogue.
    IMavMsgDlg startServer()
    {
        EXPECT_EQ(msgtest::runServer(L"/RegServer"), 0u);
        IMavMsgDlg msg(MAV::getRscAppDispatch());
        EXPECT_NE(msg.m_lpDispatch, nullptr);
        if (msg.m_lpDispatch) {
            EXPECT_EQ(msg.OpenFile(m_dir.c_str()), TRUE);
        }
        return msg;
    }

    static int run(CMavString& label, DWORD flags, const wchar_t* start)
    {
        MAV::DlgEnv_st env;
        env.country = L"de";
        return MAV::dlgLabelEdit(env, label, flags, start, L"de", nullptr);
    }

    static void import(HWND dlg)
    {
        ::SendMessageW(::GetDlgItem(dlg, IDC_LABEL_IMPORT), BM_CLICK, 0, 0);
        dlgscript::pump();
    }

    // A message box step: its text, then OK.
    static dlgscript::Step box(std::wstring& text)
    {
        return {L"#32770", [&text](HWND b) {
                    text = dlgscript::messageBoxText(b);
                    ::PostMessageW(b, WM_COMMAND, IDOK, 0);
                }};
    }

    dlgscript::MakerKeys m_keys;
    std::wstring m_dir;
    std::wstring m_lang;
};

} // namespace

TEST_F(LabelImport, KeysOfOneLineSeveralLinesNoTextsAndNoPick)
{
    IMavMsgDlg msg = startServer();
    ASSERT_NE(msg.m_lpDispatch, nullptr);
    struct {
        std::wstring de, en, fr, it;
        std::wstring afterMulti, afterEmpty, afterNoPick;
    } seen;
    std::wstring multiBox, emptyBox;
    CMavString label;
    auto dialog = [&](HWND dlg) {
        HWND list = ::GetDlgItem(dlg, IDC_LABEL_LIST);
        msg.SearchKey(L"TEST_ONE");
        import(dlg);
        seen.de = dlgscript::cellText(list, 0, 1);
        seen.en = dlgscript::cellText(list, 1, 1);
        seen.fr = dlgscript::cellText(list, 2, 1);
        seen.it = dlgscript::cellText(list, 3, 1);
        msg.SearchKey(L"TEST_MULTI");
        import(dlg); // refused with a message box
        seen.afterMulti = dlgscript::cellText(list, 0, 1);
        msg.SearchKey(L"TEST_EMPTY");
        import(dlg); // no text in any language: a message box
        seen.afterEmpty = dlgscript::cellText(list, 0, 1);
        msg.OpenFile(m_dir.c_str()); // drops the pick
        import(dlg);                 // silently nothing
        seen.afterNoPick = dlgscript::cellText(list, 0, 1);
        ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
    };
    {
        dlgscript::Script script({{L"#32770", dialog}, box(multiBox), box(emptyBox)});
        EXPECT_EQ(run(label, 0, L"\\de=Alt"), IDOK);
        EXPECT_FALSE(dlgscript::Script::timedOut());
        EXPECT_EQ(dlgscript::Script::done(), 3u);
    }
    EXPECT_EQ(seen.de, L"T\u00fcr");
    EXPECT_EQ(seen.en, L"Door");
    EXPECT_EQ(seen.fr, L"Porte");
    EXPECT_EQ(seen.it, L"");
    EXPECT_EQ(multiBox, L"Mehzeilige Texte nicht m\u00f6glich");
    EXPECT_EQ(seen.afterMulti, L"T\u00fcr");
    EXPECT_EQ(emptyBox, L"Kein Text zugeordnet");
    EXPECT_EQ(seen.afterEmpty, L"T\u00fcr");
    EXPECT_EQ(seen.afterNoPick, L"T\u00fcr");
    EXPECT_EQ(label, L"\\de=T\u00fcr\\en=Door\\fr=Porte");
}

namespace {

// Stands between the dialog and the real server and ends the server's process after the first call, so the
// second call meets a server that has gone.
class VanishingServer : public IDispatch {
public:
    explicit VanishingServer(IDispatch* real) : m_real(real) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_refs; } // lives on the test's stack
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return m_real->GetTypeInfoCount(n); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override { return m_real->GetTypeInfo(i, l, t); }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT n, LCID l, DISPID* ids) override
    {
        return m_real->GetIDsOfNames(iid, names, n, l, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID l, WORD flags, DISPPARAMS* p, VARIANT* r,
                                     EXCEPINFO* e, UINT* arg) override
    {
        if (m_calls++ == 1)
            msgtest::endServers();
        return m_real->Invoke(id, iid, l, flags, p, r, e, arg);
    }
    int calls() const { return m_calls; }
    ULONG m_refs = 1;

private:
    IDispatch* m_real;
    int m_calls = 0;
};

VanishingServer* g_vanishing = nullptr;

IDispatch* vanishing()
{
    g_vanishing->AddRef();
    return g_vanishing;
}

} // namespace

TEST_F(LabelImport, ServerGoneBetweenTwoCallsIsReportedAndTheDialogStaysUsable)
{
    IMavMsgDlg msg = startServer();
    ASSERT_NE(msg.m_lpDispatch, nullptr);
    msg.SearchKey(L"TEST_ONE");
    VanishingServer server(msg.m_lpDispatch);
    g_vanishing = &server;
    CMavLabelEdit::setServerFcn(&vanishing);
    std::wstring text, afterImport;
    bool editOpened = false;
    CMavString label;
    {
        dlgscript::Script script({{L"#32770",
                                 [&](HWND dlg) {
                                     HWND list = ::GetDlgItem(dlg, IDC_LABEL_LIST);
                                     import(dlg);
                                     afterImport = dlgscript::cellText(list, 0, 1);
                                     dlgscript::clickCell(list, 0, 1); // the dialog still takes input
                                     editOpened = ::GetDlgItem(list, 1025) != nullptr;
                                     dlgscript::type(L"Neu");
                                     dlgscript::key(VK_RETURN);
                                     ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
                                 }},
                                box(text)});
        EXPECT_EQ(run(label, 0, L"\\de=Alt"), IDOK);
        EXPECT_FALSE(dlgscript::Script::timedOut());
    }
    g_vanishing = nullptr;
    EXPECT_EQ(server.calls(), 2); // the pick, then the attributes: the call that failed
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(afterImport, L"Alt");
    EXPECT_TRUE(editOpened);
    EXPECT_EQ(label, L"\\de=Neu");
    EXPECT_EQ(server.m_refs, 1u);
}
