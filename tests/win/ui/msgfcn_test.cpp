// The library's default message function (installed when the library starts), and opening help by name.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "data/config.h"
#include "data/messages.h"
#include "ui_test_support.h"

namespace {

// The callback in place when the library has started is the library's own function: catalogue texts, keys for
// country "0", results in its ring.
TEST(DefaultMessageFunction, IsInstalledWhenTheLibraryStarts)
{
    CMavDlg::MsgFcn installed = CMavDlg::SetMsgCallBack(nullptr);
    ASSERT_NE(installed, nullptr);
    EXPECT_EQ(CMavDlg::SetMsgCallBack(installed), nullptr);
    EXPECT_STREQ(installed(L"DLG_002", L"x", L"en"), L"Cancel");
    EXPECT_STREQ(installed(L"[\\DLG_002\\]", L"x", L"de"), L"[Abbrechen]");
    const wchar_t* key = L"DLG_002";
    EXPECT_EQ(installed(key, L"x", L"0"), key);
}

// Keys framed as prefix\KEY\suffix; any other number of backslashes is looked up whole (and so not found).
TEST(DefaultMessageFunction, SplitsKeyIntoPrefixKeyAndSuffix)
{
    MAV::msgReset();
    struct Case {
        const wchar_t* key;
        const wchar_t* def;
        const wchar_t* country;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"DLG_002", L"x", L"de", L"Abbrechen"},
        {L"DLG_002", L"x", L"en", L"Cancel"},
        {L"\\DLG_002\\...", nullptr, L"en", L"Cancel..."},
        {L"<\\DLG_002\\>", nullptr, L"de", L"<Abbrechen>"},
        {L"DLG_002\\", L"Vorgabe", L"de", L"Vorgabe"},       // one backslash: whole key, unknown
        {L"a\\DLG_002\\b\\c", L"Vorgabe", L"de", L"Vorgabe"}, // three backslashes: whole key, unknown
        {L"\\\\", L"leer", L"de", L"leer"},                    // only backslashes: an empty key framed by nothing
        {L"\\\\\\", L"leer", L"de", L"leer"},
        {L"(\\UNKNOWN_KEY\\)", L"Vorgabe", L"de", L"(Vorgabe)"},
        {L"UNKNOWN_KEY", nullptr, L"de", L""},
        {L"DLG_002", nullptr, nullptr, L"Abbrechen"}, // the current language
        {L"DLG_002", nullptr, L"-1", L"Abbrechen"},
    };
    for (const Case& c : cases) {
        const wchar_t* got = MAV::msgFcnDefault(c.key, c.def, c.country);
        ASSERT_NE(got, nullptr) << "key " << testing::PrintToString(std::wstring(c.key));
        EXPECT_EQ(std::wstring(got), c.expected) << "key " << testing::PrintToString(std::wstring(c.key));
    }
    // Country "0" shows keys: the caller's own pointer comes back, backslashes and all.
    const wchar_t* key = L"\\DLG_002\\...";
    EXPECT_EQ(MAV::msgFcnDefault(key, L"d", L"0"), key);
    EXPECT_EQ(MAV::msgFcnDefault(nullptr, L"d", L"0"), nullptr);
    EXPECT_STREQ(MAV::msgFcnDefault(nullptr, L"Vorgabe", L"de"), L"Vorgabe");
}

// Eight results can be held at once; the ninth call reuses the first one's slot.
TEST(DefaultMessageFunction, RingHoldsEightResults)
{
    const wchar_t* results[9];
    std::wstring texts[9];
    for (int i = 0; i < 9; ++i) {
        const std::wstring def = L"Text " + std::to_wstring(i);
        results[i] = MAV::msgFcnDefault(L"NO_SUCH_KEY", def.c_str(), L"de");
        texts[i] = results[i];
    }
    for (int i = 1; i < 9; ++i)
        EXPECT_EQ(std::wstring(results[i]), texts[i]);
    // Results 1..8 live in eight different slots; the first was overwritten by the ninth.
    for (int i = 1; i < 9; ++i)
        for (int j = i + 1; j < 9; ++j)
            EXPECT_NE(results[i], results[j]);
    EXPECT_EQ(results[0], results[8]);
    EXPECT_EQ(std::wstring(results[0]), L"Text 8");
}

class HelpByName : public ::testing::Test {
protected:
    void TearDown() override { MAV::CConfig::reset(); }
    void configure(const char* text)
    {
        ASSERT_TRUE(MAV::CConfig::loadText(text, std::char_traits<char>::length(text)));
    }
};

// "name\topic" or a topic of the help "Mav": addresses go to the shell with the topic filled in, files to HTML
// Help; an unknown help name opens nothing.
TEST_F(HelpByName, NameAndTopicChooseFileAndPlace)
{
    uitest::RecordHelp record;
    configure("HELP {\n  Mav = text \"http://help.example/mav/<topic>\"\n"
              "  Krv = text \"https://krv.example/?q=<topic>\"\n}\n");
    struct Case {
        const wchar_t* spec;
        bool found;
        const wchar_t* opened;
    };
    const Case cases[] = {
        {L"Tuer", true, L"http://help.example/mav/Tuer"},
        {L"", true, L"http://help.example/mav/"},
        {L"krv\\Schrank", true, L"https://krv.example/?q=Schrank"},
        {L"Krv\\Schrank\\Extra", true, L"https://krv.example/?q=Schrank"},
        {L"\\\\Krv\\\\Regal", true, L"https://krv.example/?q=Regal"}, // empty parts dropped
        {L"Nirgends\\Thema", false, nullptr},
    };
    for (const Case& c : cases) {
        uitest::shellCalls().clear();
        EXPECT_EQ(MAV::help(c.spec), c.found) << testing::PrintToString(std::wstring(c.spec));
        if (c.opened) {
            ASSERT_EQ(uitest::shellCalls().size(), 1u);
            EXPECT_EQ(uitest::shellCalls()[0].file, c.opened);
            EXPECT_EQ(uitest::shellCalls()[0].verb, L"(null)");
            EXPECT_EQ(uitest::shellCalls()[0].show, SW_SHOWNORMAL);
        } else {
            EXPECT_TRUE(uitest::shellCalls().empty());
        }
    }
    EXPECT_TRUE(MAV::help(nullptr));
    EXPECT_EQ(uitest::shellCalls().back().file, L"http://help.example/mav/");
    EXPECT_TRUE(uitest::helpCalls().empty());

    // A help file: HTML Help shows its topic page, then looks the topic up as a keyword.
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring chm = std::wstring(folder) + L"mav_help_test.chm";
    { std::ofstream(chm.c_str()) << "x"; }
    std::string path(chm.begin(), chm.end());
    std::string escaped;
    for (char ch : path)
        escaped += ch == '\\' ? std::string("\\\\") : std::string(1, ch);
    const std::string cfg = "HELP {\n  Doc = text \"" + escaped + "\"\n}\n";
    configure(cfg.c_str());
    EXPECT_TRUE(MAV::help(L"Doc\\Beschlag"));
    ASSERT_EQ(uitest::helpCalls().size(), 2u);
    EXPECT_EQ(uitest::helpCalls()[0].command, static_cast<UINT>(HH_DISPLAY_TOPIC));
    EXPECT_EQ(uitest::helpCalls()[0].data, 0u);
    EXPECT_EQ(CString(uitest::helpCalls()[0].file.c_str()).CompareNoCase(chm.c_str()), 0);
    EXPECT_EQ(uitest::helpCalls()[1].command, static_cast<UINT>(HH_KEYWORD_LOOKUP));
    EXPECT_EQ(uitest::helpCalls()[1].keywords, L"Beschlag");
    EXPECT_EQ(uitest::helpCalls()[1].link.cbStruct, static_cast<int>(sizeof(HH_AKLINK)));
    ::DeleteFileW(chm.c_str());
    // Gone: no file for the name any more.
    EXPECT_FALSE(MAV::help(L"Doc\\Beschlag"));
}

// Without the stand-in, HTML Help is the system's: hhctrl.ocx answers (a topic of a file that does not exist
// shows no window) and the call returns.
TEST_F(HelpByName, SystemHtmlHelpIsLoadedOnFirstUse)
{
    MAV::htmlHelp(nullptr, L"Z:\\no\\such\\file.chm", 0x0000 /* HH_DISPLAY_TOPIC */, 0);
    EXPECT_NE(::GetModuleHandleW(L"hhctrl.ocx"), nullptr);
}

} // namespace
