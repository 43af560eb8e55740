// Import into the label edit dialog from the real message server (MavMsg.exe registered for the test): a key of one
// line, a key of several lines refused outside multi-line mode, a key without texts, no key picked, and a server
// that has gone away.
#include "../ui/msgserver_test_support.h"
#include "../ui/ui_test_support.h"
#include "data/messages.h"
#include "dialogs/CMavLabelEdit.h"
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
                    uitest::post(b, IDOK);
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
                        seen += L"/" + import(dlg);       // no text in any language: a message box
                        msg.OpenFile(m_dir.path.c_str()); // drops the pick
                        seen += L"/" + import(dlg);       // silently nothing
                        uitest::post(dlg, IDOK);
                    }},
                   box(boxes),
                   box(boxes)});
    EXPECT_EQ(run(label), IDOK);
    EXPECT_TRUE(Script::finished());
    EXPECT_EQ(seen, L"T\u00fcr|Door|Porte|/T\u00fcr/T\u00fcr/T\u00fcr");
    EXPECT_EQ(boxes, L"Mehzeilige Texte nicht m\u00f6glich|Kein Text zugeordnet|");
    EXPECT_EQ(label, L"\\de=T\u00fcr\\en=Door\\fr=Porte");
}

IDispatch* g_gone = nullptr;
IDispatch* gone() { return g_gone->AddRef(), g_gone; }

// A server whose program has ended: the failed call is reported and the dialog stays usable.
TEST_F(LabelImport, ServerGoneIsReportedAndTheDialogStaysUsable)
{
    IMavMsgDlg msg = startServer();
    ASSERT_NE(msg.m_lpDispatch, nullptr);
    msg.SearchKey(L"TEST_ONE");
    msgtest::endServers();
    g_gone = msg.m_lpDispatch;
    CMavLabelEdit::setServerFcn(&gone);
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
                        uitest::post(dlg, IDOK);
                    }},
                   box(text)});
    EXPECT_EQ(run(label), IDOK);
    EXPECT_TRUE(Script::finished());
    EXPECT_GT(text.size(), 1u);
    EXPECT_EQ(seen, L"Alt|editing");
    EXPECT_EQ(label, L"\\de=Neu");
}

} // namespace
