// Message catalogues: lookups with their fallbacks, languages, the catalogue file format and help files.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "data/config.h"
#include "base/files.h"
#include "data/messages.h"

namespace {

class Messages : public testing::Test {
protected:
    void SetUp() override { MAV::msgReset(); }
    void TearDown() override
    {
        MAV::msgReset();
        MAV::CConfig::reset();
    }
};

// Every message key the library's dialogs and controls use, with its German default text.
const wchar_t* const kLibraryKeys[][2] = {
    {L"DLG_001", L"OK"},
    {L"DLG_002", L"Abbrechen"},
    {L"DLG_SG018", L"Zeichnung"},
    {L"MAV001", L"Fehler"},
    {L"MAV022", L"Eintragung notwendig"},
    {L"MAV023", L"Wert darf nicht Null sein"},
    {L"MAV024", L"Wert darf nicht negativ sein"},
    {L"MAV084", L"Einheit w\u00e4hlen"},
    {L"MAV_LIB_027", L"Bibliothek"},
    {L"MAV_MFC_0001", L"Wert darf nicht kleiner sein als"},
    {L"MAV_MFC_0002", L"Wert darf nicht gr\u00f6\u00dfer sein als"},
    {L"MAV_MFC_0004", L"Kopieren"},
    {L"MAV_MFC_0005", L"Einf\u00fcgen"},
    {L"MAV_MFC_0006", L"Einzeilig"},
    {L"MAV_MFC_0007", L"Mehrzeilig"},
    {L"MAV_MFC_0008", L"Import"},
    {L"MAV_MFC_0009", L"Bezeichnung"},
    {L"MAV_MFC_0010", L"Kein Text ausgew\u00e4hlt"},
    {L"MAV_MFC_0011", L"Kein Text zugeordnet"},
    {L"MAV_MFC_0012", L"Materialauswahl"},
    {L"MAV_MFC_0017", L"Mehzeilige Texte nicht m\u00f6glich"},
    {L"MAV_OUTL_0000", L"Kontur"},
    {L"MAV_OUTL_0001", L"Abbrechen"},
    {L"MAV_OUTL_0002", L"OK"},
    {L"MAV_OUTL_0003", L"Auswahl"},
    {L"MAV_OUTL_0004", L"Filter"},
    {L"MAV_OUTL_0005", L"Basispunkt"},
    {L"MAV_OUTL_0006", L"Parameter"},
    {L"MAV_OUTL_0066", L"Bereich"},
    {L"MAV_OUTL_0100", L"Filter Konturen"},
    {L"MAV_OUTL_0101", L"*Grundformen"},
    {L"MAV_OUTL_0102", L"Formen erweitert"},
    {L"MAV_OUTL_0103", L"Sonderformen"},
    {L"MAV_OUTL_0104", L"Bearbeitungen"},
};

} // namespace

TEST_F(Messages, ShippedCataloguesCoverTheLibraryKeys)
{
    for (const auto& k : kLibraryKeys) {
        // German texts equal the defaults the dialogs carry; English ones exist and differ from the sentinel.
        EXPECT_STREQ(mav_msg_get(L"MAV_", k[0], L"?", L"de"), k[1]) << CMavString(k[0]).utf8();
        const wchar_t* en = mav_msg_get(L"MAV_", k[0], L"?", L"en");
        EXPECT_STRNE(en, L"?") << CMavString(k[0]).utf8();
    }
    EXPECT_STREQ(mav_msg_get(L"MAV_", L"MAV022", nullptr, L"en"), L"Entry required");
    EXPECT_STREQ(mav_msg_get(L"MAV_", L"MAV_INSUNITS_4", nullptr, L"EN"), L"Millimeters");
}

TEST_F(Messages, MissingKeysLanguagesAndSectionsFallBackToTheDefault)
{
    const wchar_t* def = L"Standard";
    EXPECT_EQ(mav_msg_get(L"MAV_", L"NO_SUCH_KEY", def, L"de"), def); // the same pointer
    EXPECT_EQ(mav_msg_get(L"MAV_", L"MAV022", def, L"xx"), def);      // language without catalogue
    EXPECT_EQ(mav_msg_get(L"KRV_", L"MAV022", def, L"de"), def);      // other section
    EXPECT_EQ(mav_msg_get(L"MAV_", nullptr, def, L"de"), def);
    EXPECT_EQ(mav_msg_get(L"MAV_", L"NO_SUCH_KEY", nullptr, nullptr), nullptr);

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

TEST_F(Messages, CatalogueFormat)
{
    const std::string text = "\xEF\xBB\xBF; comment\r\n"
                             "# also a comment\n"
                             "  A1 =  first text  \r\n"
                             "A2=two\\nlines\\tand \\\\ one \\q\n"
                             "no equals sign\n"
                             "=no key\n"
                             "A1=later wins\n"
                             "[KRV_]\n"
                             "A1=section text\n"
                             "E=\n"
                             "EQ=a=b";
    EXPECT_EQ(MAV::msgLoadText(L"fr", text.data(), text.size()), 6);
    EXPECT_STREQ(mav_msg_get(L"MAV_", L"A1", nullptr, L"fr"), L"later wins");
    EXPECT_STREQ(mav_msg_get(L"MAV_", L"A2", nullptr, L"fr"), L"two\nlines\tand \\ one \\q");
    EXPECT_STREQ(mav_msg_get(L"KRV_", L"A1", nullptr, L"fr"), L"section text");
    EXPECT_STREQ(mav_msg_get(L"KRV_", L"E", L"x", L"fr"), L"");
    EXPECT_STREQ(mav_msg_get(L"KRV_", L"EQ", nullptr, L"fr"), L"a=b");
    EXPECT_EQ(MAV::msgCount(L"fr"), 2);
    EXPECT_EQ(MAV::msgCount(L"fr", L"KRV_"), 3);
    // Loading merges: keys of a later load replace, others stay.
    const std::string more = "A1=replaced\nA3=new";
    EXPECT_EQ(MAV::msgLoadText(L"FR", more.data(), more.size()), 2);
    EXPECT_STREQ(mav_msg_get(L"MAV_", L"A1", nullptr, L"fr"), L"replaced");
    EXPECT_STREQ(mav_msg_get(L"MAV_", L"A2", nullptr, L"fr"), L"two\nlines\tand \\ one \\q");
    // The keys of a section come sorted, whatever order the file had.
    CMavArrayTempl<CMavString> keys;
    keys.append(L"stale");
    EXPECT_EQ(MAV::msgKeys(L"FR", nullptr, keys), 3);
    EXPECT_EQ(keys, (CMavArrayTempl<CMavString>{L"A1", L"A2", L"A3"}));
    EXPECT_EQ(MAV::msgKeys(L"fr", L"KRV_", keys), 3);
    EXPECT_EQ(keys, (CMavArrayTempl<CMavString>{L"A1", L"E", L"EQ"}));
    EXPECT_EQ(MAV::msgKeys(L"fr", L"NONE_", keys), 0);
    EXPECT_EQ(MAV::msgKeys(L"xx", nullptr, keys), 0);
    EXPECT_TRUE(keys.isEmpty());
    // Bytes that are not UTF-8 become replacement characters, not a failure.
    const std::string bad = "B=\xFF\xFE";
    EXPECT_EQ(MAV::msgLoadText(L"fr", bad.data(), bad.size()), 1);
    EXPECT_EQ(MAV::msgLoadText(nullptr, bad.data(), bad.size()), 0);
    EXPECT_EQ(MAV::msgLoadFile(L"fr", L"/no/such/catalogue.txt"), -1);
    // Reset drops loaded languages.
    MAV::msgReset();
    EXPECT_EQ(MAV::msgCount(L"fr"), 0);
}

TEST_F(Messages, FolderCataloguesOverrideShippedTexts)
{
    const std::string dir = testing::TempDir();
    const std::string path = dir + "de.txt";
    {
        std::ofstream f(path, std::ios::binary);
        f << "MAV001=Fehler!\nEXTRA=Zusatz\n";
    }
    EXPECT_GE(MAV::msgLoadFolder(CMavString(dir.c_str()).c_str()), 1);
    EXPECT_STREQ(mav_msg_get(L"MAV_", L"MAV001", nullptr, L"de"), L"Fehler!");
    EXPECT_STREQ(mav_msg_get(L"MAV_", L"EXTRA", nullptr, L"de"), L"Zusatz");
    EXPECT_STREQ(mav_msg_get(L"MAV_", L"MAV022", nullptr, L"de"), L"Eintragung notwendig");
    std::remove(path.c_str());
    EXPECT_EQ(MAV::msgLoadFolder(nullptr), 0);
}

TEST_F(Messages, HelpFilesFromTheConfigurationOrTheSearchPath)
{
    CMavString file;
    EXPECT_FALSE(MAV::help_find(L"Mav", file)); // "Mav.chm" is configured but not on the search path
    EXPECT_FALSE(MAV::help_find(nullptr, file));
    MAV::cfg_dir_make(L"HELP")->setAt(L"Web", L"https://help.example/<topic>");
    EXPECT_TRUE(MAV::help_find(L"WEB", file));
    EXPECT_EQ(file, L"https://help.example/<topic>");

    const std::string dir = testing::TempDir();
    const std::string chm = dir + "MavTestHelp.chm";
    {
        std::ofstream f(chm, std::ios::binary);
        f << "x";
    }
    MAV::fileFindFolderAdd(CMavString(dir.c_str()).c_str());
    EXPECT_TRUE(MAV::help_find(L"MavTestHelp", file)); // unconfigured name: "<name>.chm"
    EXPECT_NE(file.find(L"MavTestHelp.chm"), -1);
    MAV::fileFindFoldersClear();
    std::remove(chm.c_str());
}
