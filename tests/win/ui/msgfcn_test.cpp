// The library's default message function (installed when the library starts), and opening help by name.
#include <fstream>

#include "data/config.h"
#include "data/messages.h"
#include "ui_test_support.h"

namespace {

// prefix\KEY\suffix frames the text of KEY; one or three backslashes make a whole (unknown) key; country "0"
// gives back the caller's key pointer.
TEST(DefaultMessageFunction, SplitsKeysAndIsInstalledAtStart)
{
    CMavDlg::MsgFcn installed = CMavDlg::SetMsgCallBack(nullptr);
    CMavDlg::SetMsgCallBack(installed);
    MAV::msgReset();
    const wchar_t* const cases[][4] = {
        {L"DLG_002", L"x", L"de", L"Abbrechen"},
        {L"DLG_002", L"x", L"en", L"Cancel"},
        {L"\\DLG_002\\...", nullptr, L"en", L"Cancel..."},
        {L"<\\DLG_002\\>", nullptr, nullptr, L"<Abbrechen>"},
        {L"DLG_002\\", L"Vorgabe", L"de", L"Vorgabe"},
        {L"a\\DLG_002\\b\\c", L"Vorgabe", L"-1", L"Vorgabe"},
        {L"\\\\", L"leer", L"de", L"leer"},
        {L"\\\\\\", L"leer", L"de", L"leer"},
        {L"(\\UNKNOWN\\)", L"Vorgabe", L"de", L"(Vorgabe)"},
        {L"UNKNOWN", nullptr, L"de", L""},
        {nullptr, L"Vorgabe", L"de", L"Vorgabe"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(uitest::str(MAV::msgFcnDefault(c[0], c[1], c[2])), c[3]) << uitest::str(c[0]).size();
        EXPECT_EQ(uitest::str(installed(c[0], c[1], c[2])), c[3]);
    }
    const wchar_t* key = L"\\DLG_002\\...";
    EXPECT_TRUE(MAV::msgFcnDefault(key, L"d", L"0") == key && installed(key, L"d", L"0") == key);
    // Eight results can be held at once; the ninth call reuses the first one's slot.
    const wchar_t* results[9];
    for (int i = 0; i < 9; ++i)
        results[i] = MAV::msgFcnDefault(L"NO_SUCH_KEY", std::to_wstring(i).c_str(), L"de");
    for (int i = 1; i < 9; ++i) {
        EXPECT_EQ(std::wstring(results[i]), std::to_wstring(i));
        for (int j = i + 1; j < 9; ++j)
            EXPECT_NE(results[i], results[j]);
    }
    EXPECT_EQ(results[0], results[8]);
}

// "name\topic" or a topic of the help "Mav": addresses go to the shell with the topic filled in, files to HTML
// Help; an unknown help name opens nothing.
TEST(HelpByName, NameAndTopicChooseFileAndPlace)
{
    uitest::RecordHelp record;
    const std::wstring chm = uitest::ScratchDir::temp() + L"\\mav_help_test.chm";
    std::ofstream(chm.c_str()) << "x";
    std::string cfg = "HELP {\n Mav = text \"http://h.example/mav/<topic>\"\n"
                      " Krv = text \"https://k.example/?q=<topic>\"\n Doc = text \"";
    for (wchar_t ch : chm)
        cfg += ch == L'\\' ? std::string("\\\\") : std::string(1, static_cast<char>(ch));
    cfg += "\"\n}\n";
    ASSERT_TRUE(MAV::CConfig::loadText(cfg.c_str(), cfg.size()));
    const wchar_t* const cases[][2] = {
        {L"Tuer", L"http://h.example/mav/Tuer"},
        {L"", L"http://h.example/mav/"},
        {nullptr, L"http://h.example/mav/"},
        {L"krv\\Schrank", L"https://k.example/?q=Schrank"},
        {L"Krv\\Schrank\\Extra", L"https://k.example/?q=Schrank"},
        {L"\\\\Krv\\\\Regal", L"https://k.example/?q=Regal"}, // empty parts dropped
        {L"Nirgends\\Thema", nullptr},
    };
    for (const auto& c : cases) {
        uitest::shellCalls().clear();
        EXPECT_EQ(MAV::help(c[0]), c[1] != nullptr);
        EXPECT_EQ(uitest::shellCalls().empty() ? L"" : uitest::shellCalls()[0].file, c[1] ? c[1] : L"");
    }
    EXPECT_TRUE(uitest::helpCalls().empty());
    EXPECT_TRUE(MAV::help(L"Doc\\Beschlag"));
    ASSERT_EQ(uitest::helpCalls().size(), 2u);
    EXPECT_EQ(
        std::make_tuple(uitest::helpCalls()[0].command, uitest::helpCalls()[1].command, uitest::helpCalls()[1].text),
        std::make_tuple(UINT(HH_DISPLAY_TOPIC), UINT(HH_KEYWORD_LOOKUP), std::wstring(L"Beschlag")));
    ::DeleteFileW(chm.c_str());
    EXPECT_FALSE(MAV::help(L"Doc\\Beschlag")); // no file for the name any more
    MAV::CConfig::reset();
}

} // namespace
