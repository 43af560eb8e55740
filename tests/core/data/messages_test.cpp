// Message catalogues: lookups with their fallbacks, languages, the catalogue file format and help files; labels
// with one text per language.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "base/files.h"
#include "data/config.h"
#include "data/labels.h"
#include "data/messages.h"

namespace {

// Each test gets a folder of its own: test programs may run side by side.
class Messages : public testing::Test {
protected:
    void SetUp() override
    {
        MAV::msgReset();
        std::filesystem::create_directories(dir);
    }
    void TearDown() override
    {
        MAV::msgReset();
        MAV::CConfig::reset();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    const std::string dir = testing::TempDir() + "mav_msg_" + std::to_string(std::random_device{}()) + "/";
};

} // namespace

TEST_F(Messages, ShippedCataloguesCoverTheLibraryKeysAndFallBackToTheDefault)
{
    // The shipped catalogues hold every key the library's dialogs and controls use, in German and English.
    for (const wchar_t* key : {L"DLG_001", L"DLG_SG018", L"MAV001", L"MAV024", L"MAV084", L"MAV_LIB_027",
                               L"MAV_MFC_0001", L"MAV_MFC_0012", L"MAV_MFC_0017", L"MAV_OUTL_0000", L"MAV_OUTL_0006",
                               L"MAV_OUTL_0066", L"MAV_OUTL_0104", L"MAV_HOLE_0001", L"MAV_HOLE_0005"})
        for (const wchar_t* lang : {L"de", L"en"})
            EXPECT_STRNE(mav_msg_get(L"MAV_", key, L"?", lang), L"?") << CMavString(key).utf8();
    EXPECT_STREQ(mav_msg_get(L"MAV_", L"MAV_INSUNITS_4", nullptr, L"EN"), L"Millimeters");

    // Missing keys, languages without catalogue, other sections give the default itself.
    const wchar_t* def = L"Standard";
    const wchar_t* const missing[][3] = {{L"MAV_", L"NO_SUCH_KEY", L"de"},
                                         {L"MAV_", L"MAV022", L"xx"}, {L"KRV_", L"MAV022", L"de"},
                                         {L"MAV_", nullptr, L"de"}};
    for (const auto& m : missing)
        EXPECT_EQ(mav_msg_get(m[0], m[1], def, m[2]), def);
    // "0" shows keys; null, "" and "-1" mean the current language.
    const wchar_t* key = L"\\MAV_OUTL_0004\\...";
    EXPECT_EQ(mav_msg_get(L"MAV_", key, def, L"0"), key);
    EXPECT_STREQ(MAV::msgLangSet(nullptr), L"de");
    EXPECT_STREQ(mav_msg_get(nullptr, L"MAV001", def, L"-1"), L"Fehler");
    EXPECT_STREQ(MAV::msgLangSet(L"EN"), L"en");
    EXPECT_STREQ(mav_msg_get(L"MAV_", L"MAV001", def, nullptr), L"Error");
    EXPECT_STREQ(mav_msg_get(L"", L"MAV001", def, L""), L"Error");
    EXPECT_STREQ(mav_msg_get(L"MAV_", L"MAV001", def, L"de"), L"Fehler");
    EXPECT_STREQ(MAV::msgLangSet(L""), L"en"); // empty: unchanged
}

TEST_F(Messages, CatalogueFormatMergingAndFolders)
{
    const std::string text = "\xEF\xBB\xBF; comment\r\n# also a comment\n  A1 =  first text  \r\n"
                             "A2=two\\nlines\\tand \\\\ one \\q\\\nno equals sign\n=no key\nA1=later wins\n"
                             "[KRV_]\nA1=section text\nE=\nEQ=a=b";
    EXPECT_EQ(MAV::msgLoadText(L"fr", text.data(), text.size()), 6);
    EXPECT_STREQ(mav_msg_get(L"MAV_", L"A1", nullptr, L"fr"), L"later wins");
    EXPECT_STREQ(mav_msg_get(L"MAV_", L"A2", nullptr, L"fr"), L"two\nlines\tand \\ one \\q\\");
    EXPECT_STREQ(mav_msg_get(L"KRV_", L"A1", nullptr, L"fr"), L"section text");
    EXPECT_STREQ(mav_msg_get(L"KRV_", L"E", L"x", L"fr"), L"");
    EXPECT_STREQ(mav_msg_get(L"KRV_", L"EQ", nullptr, L"fr"), L"a=b");
    EXPECT_EQ(MAV::msgCount(L"fr", L"KRV_"), 3);
    // Loading merges: keys of a later load replace, others stay; a section's keys come sorted.
    const std::string more = "A3=new\nA1=replaced";
    EXPECT_EQ(MAV::msgLoadText(L"FR", more.data(), more.size()), 2);
    EXPECT_STREQ(mav_msg_get(L"MAV_", L"A1", nullptr, L"fr"), L"replaced");
    CMavArrayTempl<CMavString> keys{L"stale"};
    EXPECT_EQ(MAV::msgKeys(L"FR", nullptr, keys), 3);
    EXPECT_EQ(keys, (CMavArrayTempl<CMavString>{L"A1", L"A2", L"A3"}));
    EXPECT_EQ(MAV::msgKeys(L"fr", L"NONE_", keys), 0);
    EXPECT_TRUE(keys.isEmpty());
    // Bytes that are not UTF-8 become replacement characters, not a failure.
    const std::string bad = "B=\xFF\xFE";
    EXPECT_EQ(MAV::msgLoadText(L"fr", bad.data(), bad.size()), 1);
    EXPECT_EQ(MAV::msgLoadText(nullptr, bad.data(), bad.size()), 0);
    EXPECT_EQ(MAV::msgLoadFile(L"fr", L"/no/such/catalogue.txt"), -1);

    // A catalogue in a folder overrides the shipped texts of its language; reset drops loaded languages.
    std::ofstream(dir + "de.txt", std::ios::binary) << "MAV001=Fehler!\nEXTRA=Zusatz\n";
    EXPECT_EQ(MAV::msgLoadFolder(CMavString(dir.c_str()).c_str()), 1);
    EXPECT_STREQ(mav_msg_get(L"MAV_", L"MAV001", nullptr, L"de"), L"Fehler!");
    EXPECT_STREQ(mav_msg_get(L"MAV_", L"EXTRA", nullptr, L"de"), L"Zusatz");
    EXPECT_STREQ(mav_msg_get(L"MAV_", L"MAV022", nullptr, L"de"), L"Eintragung notwendig");
    MAV::msgReset();
    EXPECT_EQ(MAV::msgCount(L"fr"), 0);
    EXPECT_STREQ(mav_msg_get(L"MAV_", L"MAV001", nullptr, L"de"), L"Fehler");
}

TEST_F(Messages, HelpFilesFromTheConfigurationOrTheSearchPath)
{
    CMavString file;
    EXPECT_FALSE(MAV::help_find(L"Mav", file)); // "Mav.chm" is configured but not on the search path
    EXPECT_FALSE(MAV::help_find(nullptr, file));
    MAV::cfg_dir_make(L"HELP")->setAt(L"Web", L"https://help.example/<topic>");
    EXPECT_TRUE(MAV::help_find(L"WEB", file));
    EXPECT_EQ(file, L"https://help.example/<topic>");
    std::ofstream(dir + "MavTestHelp.chm", std::ios::binary) << "x";
    MAV::fileFindFolderAdd(CMavString(dir.c_str()).c_str());
    EXPECT_TRUE(MAV::help_find(L"MavTestHelp", file)); // an unconfigured name: "<name>.chm"
    EXPECT_EQ(file.right(15), L"MavTestHelp.chm");
    MAV::fileFindFoldersClear();
}

TEST_F(Messages, LabelsHoldOneTextPerLanguage)
{
    // {label before, language, text set (null: only read), label after, text read back}: languages ignore case
    // and match whole, replacing keeps the order, an empty text removes the language, a plain text becomes the
    // current language's text; stray backslashes, parts without '=' and empty codes are dropped, a language given
    // twice keeps its first text.
    const wchar_t* const rows[][5] = {
        {L"", L"de", L"T\u00fcr", L"\\de=T\u00fcr", L"T\u00fcr"},
        {L"\\de=T\u00fcr", L"en", L"Door\nwith C:\\path\\", L"\\de=T\u00fcr\\en=Door\nwith C:\\\\path\\\\", L"Door\nwith C:\\path\\"},
        {L"\\de=T\u00fcr\\en=B", L"DE", L"Tor", L"\\de=Tor\\en=B", L"Tor"},
        {L"\\de=A\\en=B", L"de", L"", L"\\en=B", L""},
        {L"Schrank", L"en", L"Cabinet", L"\\de=Schrank\\en=Cabinet", L"Cabinet"},
        {L"\\\\de=A\\xx\\=B\\en=C\\\\\\fr=D\\", L"it", L"E", L"\\de=A\\en=C\\\\\\fr=D\\it=E", L"E"},
        {L"\\de=A\\en=B\\DE=C", L"de", L"X", L"\\de=X\\en=B", L"X"},
        {L"\\de=A\\en=B\\DE=C", L"de", L"", L"\\en=B", L""},
        {L"Schrank", L"fr", nullptr, L"Schrank", L"Schrank"},
        {L"\\de=A\\en=B\\DE=C", L"de", nullptr, L"\\de=A\\en=B\\DE=C", L"A"},
        {L"\\\\de=A\\xx\\=B\\en=C\\\\\\fr=D\\", L"en", nullptr, L"\\\\de=A\\xx\\=B\\en=C\\\\\\fr=D\\", L"C\\"},
        {L"\\de", L"de", nullptr, L"\\de", L""},
        {L"\\d=X\\dex=Y\\de=Z", L"DE", nullptr, L"\\d=X\\dex=Y\\de=Z", L"Z"}};
    for (const auto& r : rows) {
        CMavString label(r[0]);
        if (r[2]) {
            EXPECT_TRUE(MAV::label_set(label, r[1], r[2])) << CMavString(r[3]).utf8();
        }
        EXPECT_EQ(label, r[3]);
        EXPECT_EQ(MAV::label_get(label, r[1]), r[4]) << CMavString(r[3]).utf8();
    }
    CMavString label(L"\\de=A\\en=C"), text(L"stale");
    EXPECT_FALSE(MAV::label_get(label, L"fr", text));
    EXPECT_EQ(text, L"");
    EXPECT_TRUE(MAV::label_get(L"\\de=", L"de", text));
    EXPECT_FALSE(MAV::label_get(nullptr, L"de", text) || MAV::label_get(L"", L"de", text));
    CMavArrayTempl<CMavString> codes;
    EXPECT_EQ(MAV::label_codes(L"\\\\de=A\\xx\\=B\\en=C\\\\\\fr=D\\", codes) * 10 + MAV::label_codes(L"Schrank", codes), 30);
    EXPECT_TRUE(MAV::label_set(label, L"en", nullptr) && MAV::label_codes(label, codes) == 1 && codes[0] == L"de");
    // Codes with '=' or a backslash, empty or overlong codes are refused.
    for (const wchar_t* code :
         {L"", L"a=b", L"a\\b", L"abcdefghijklmnopqrstuvwxyz0123456", static_cast<const wchar_t*>(nullptr)})
        EXPECT_FALSE(MAV::label_set(label, code, L"x"));
    EXPECT_EQ(label, L"\\de=A");
}

TEST(Labels, FromTheSharedStore)
{
    using V = MAV::LabelStoreValue;
    struct Case {
        std::vector<V> values;
        bool multi;
        const wchar_t* label;
        int set;
    };
    const Case cases[] = {
        // Table order, whatever the store's; names in any case; backslash-n a line break or a blank.
        {{{L"EN", L"Door"}, {L"de", L"T\u00fcr\\nzu"}}, true, L"\\de=T\u00fcr\nzu\\en=Door", 2},
        {{{L"de", L"a\\nb\\\\n"}}, false, L"\\de=a b\\\\ ", 1},
        // Unknown names, an empty text, a repeated name (its first value counts).
        {{{L"xx", L"fremd"}, {L"fr", L""}, {L"it", L"eins"}, {L"IT", L"zwei"}, {L"", L"leer"}}, true, L"\\it=eins", 1},
        {{}, true, L"", 0},
    };
    for (const Case& c : cases) {
        CMavArrayTempl<V> values;
        for (const V& v : c.values)
            values.append(v);
        CMavString label;
        EXPECT_EQ(MAV::label_from_store(label, values, c.multi), c.set) << c.label;
        EXPECT_EQ(label, c.label);
    }
    // Languages already in the label keep their place; an empty stored text removes its language.
    CMavString label(L"\\zz=vorher\\de=alt\\en=old");
    CMavArrayTempl<V> values;
    values.append(V{L"de", L""});
    values.append(V{L"en", L"new"});
    EXPECT_EQ(MAV::label_from_store(label, values, false), 1);
    EXPECT_EQ(label, L"\\zz=vorher\\en=new");
}
