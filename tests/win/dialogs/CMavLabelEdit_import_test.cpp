// Import into the label edit dialog from the real message server (MavMsg.exe registered for the test): a key of one
// line, a key of several lines refused outside multi-line mode, a key without texts, no key picked, and a server
// that goes away between two calls.
#include <gtest/gtest.h>

#include <objbase.h>

#include <string>

#include "../ui/msgserver_test_support.h"
#include "../ui/ui_test_support.h"
#include "data/messages.h"
#include "dialogs/CMavLabelEdit.h"
#include "resource.h"
#include "ui/IMavMsgDlg.h"
#include "ui/rscAppDispatch.h"

namespace {

using uitest::Script;

class LabelImport : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        msgtest::endServers();
        msgtest::removeRegistration();
        m_lang = MAV::msgLangSet(nullptr);
        MAV::msgLangSet(L"de");
        m_dir.file(L"de.txt", "TEST_ONE=T\xC3\xBCr\nTEST_MULTI=Zeile eins\\nZeile zwei\nTEST_EMPTY=\n");
        m_dir.file(L"en.txt", "TEST_ONE=Door\nTEST_MULTI=Line one\n");
        m_dir.file(L"fr.txt", "TEST_ONE=Porte\n");
    }
    void TearDown() override
    {
        CMavLabelEdit::setServerFcn(nullptr);
        msgtest::endServers();
        msgtest::removeRegistration();
        MAV::msgLangSet(m_lang.c_str());
        CoUninitialize();
    }

    // The registered server, started and showing the test catalogue.
    IMavMsgDlg startServer()
    {
        EXPECT_EQ(msgtest::runServer(L"/RegServer"), 0u);
        IMavMsgDlg msg(MAV::getRscAppDispatch());
        if (msg.m_lpDispatch) {
            EXPECT_EQ(msg.OpenFile(m_dir.path.c_str()), TRUE);
        }
        return msg;
    }
    static int run(CMavString& label)
    {
        MAV::DlgEnv_st env;
        env.country = L"de";
        return MAV::dlgLabelEdit(env, label, 0, L"\\de=Alt", L"de", nullptr);
    }
    static std::wstring import(HWND dlg)
    {
        ::SendMessageW(::GetDlgItem(dlg, IDC_LABEL_IMPORT), BM_CLICK, 0, 0);
        uitest::pump();
        return uitest::cellText(::GetDlgItem(dlg, IDC_LABEL_LIST), 0, 1);
    }
    // A message box step: its text, then OK.
    static uitest::Step box(std::wstring& text)
    {
        return {L"#32770", [&text](HWND b) {
                    text += uitest::messageBoxText(b) + L"|";
                    ::PostMessageW(b, WM_COMMAND, IDOK, 0);
                }};
    }

    uitest::MakerKeys m_keys;
    uitest::ScratchDir m_dir{L"mav_label_import_test"};
    std::wstring m_lang;
};

TEST_F(LabelImport, KeysOfOneLineSeveralLinesNoTextsAndNoPick)
{
    IMavMsgDlg msg = startServer();
    ASSERT_NE(msg.m_lpDispatch, nullptr);
    std::wstring seen, boxes;
    CMavString label;
    Script script({{L"#32770",
                    [&](HWND dlg) {
                        msg.SearchKey(L"TEST_ONE");
                        seen = import(dlg);
                        for (int row = 1; row < 4; ++row)
                            seen += L"|" + uitest::cellText(::GetDlgItem(dlg, IDC_LABEL_LIST), row, 1);
                        msg.SearchKey(L"TEST_MULTI");
                        seen += L"/" + import(dlg); // refused with a message box
                        msg.SearchKey(L"TEST_EMPTY");
                        seen += L"/" + import(dlg); // no text in any language: a message box
                        msg.OpenFile(m_dir.path.c_str()); // drops the pick
                        seen += L"/" + import(dlg);       // silently nothing
                        ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
                    }},
                   box(boxes), box(boxes)});
    EXPECT_EQ(run(label), IDOK);
    EXPECT_TRUE(Script::finished());
    EXPECT_EQ(seen, L"T\u00fcr|Door|Porte|/T\u00fcr/T\u00fcr/T\u00fcr");
    EXPECT_EQ(boxes, L"Mehzeilige Texte nicht m\u00f6glich|Kein Text zugeordnet|");
    EXPECT_EQ(label, L"\\de=T\u00fcr\\en=Door\\fr=Porte");
}

// Stands between the dialog and the real server and ends the server's process after the first call, so the
// second call meets a server that has gone.
class VanishingServer : public IDispatch {
public:
    explicit VanishingServer(IDispatch* real) : m_real(real) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = iid == IID_IUnknown || iid == IID_IDispatch ? this : nullptr;
        return *out ? (AddRef(), S_OK) : E_NOINTERFACE;
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
    ULONG m_refs = 1;
    int m_calls = 0;

private:
    IDispatch* m_real;
};

VanishingServer* g_vanishing = nullptr;
IDispatch* vanishing() { return g_vanishing->AddRef(), g_vanishing; }

TEST_F(LabelImport, ServerGoneBetweenTwoCallsIsReportedAndTheDialogStaysUsable)
{
    IMavMsgDlg msg = startServer();
    ASSERT_NE(msg.m_lpDispatch, nullptr);
    msg.SearchKey(L"TEST_ONE");
    VanishingServer server(msg.m_lpDispatch);
    g_vanishing = &server;
    CMavLabelEdit::setServerFcn(&vanishing);
    std::wstring text, seen;
    CMavString label;
    Script script({{L"#32770",
                    [&](HWND dlg) {
                        HWND list = ::GetDlgItem(dlg, IDC_LABEL_LIST);
                        seen = import(dlg);
                        uitest::clickCell(list, 0, 1); // the dialog still takes input
                        seen += ::GetDlgItem(list, 1025) ? L"|editing" : L"|not editing";
                        uitest::type(L"Neu");
                        uitest::key(VK_RETURN);
                        ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
                    }},
                   box(text)});
    EXPECT_EQ(run(label), IDOK);
    EXPECT_TRUE(Script::finished());
    g_vanishing = nullptr;
    EXPECT_EQ(server.m_calls, 2); // the pick, then the attributes: the call that failed
    EXPECT_GT(text.size(), 1u);
    EXPECT_EQ(seen, L"Alt|editing");
    EXPECT_EQ(label, L"\\de=Neu");
    EXPECT_EQ(server.m_refs, 1u);
}

} // namespace
