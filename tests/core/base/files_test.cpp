// Module file names, paths and the file search over folders (with real files in a temporary folder), the saved
// place of a dialog from raw registry values, and the language table.
#include "base/countries.h"
#include "base/files.h"
#include "base/place.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

CMavString wide(const fs::path& p)
{
    return CMavString(p.u8string().c_str());
}

CMavString g_platformName;
bool platformFind(const wchar_t* name, CMavString& found)
{
    g_platformName = name;
    if (CMavString(name) != L"system.pat")
        return false;
    found = L"/platform/system.pat";
    return true;
}

std::vector<unsigned char> le(uint32_t v)
{
    return {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v >> 16),
            static_cast<unsigned char>(v >> 24)};
}

} // namespace

TEST(AppFileName, JoinsMakerProductAndKindAndPathsJoinWithTheFoldersOwnSeparator)
{
    CMavString out(L"unchanged");
    ASSERT_TRUE(mavAppFileName(out, L"Mav", L"Mfc", L"Dll"));
    EXPECT_EQ(out, L"MavMfc.dll");
    ASSERT_TRUE(mavAppFileName(out, L"Krv", L"Msg", L"EXE"));
    EXPECT_EQ(out, L"KrvMsg.exe");
    EXPECT_FALSE(mavAppFileName(out, L"", L"Mfc", L"Dll"));
    EXPECT_FALSE(mavAppFileName(out, L"Mav", nullptr, L"Dll"));
    EXPECT_FALSE(mavAppFileName(out, L"Mav", L"Mfc", L""));
    EXPECT_EQ(out, L"KrvMsg.exe");

    EXPECT_EQ(MAV::pathJoin(L"C:\\data", L"a.pat"), L"C:\\data\\a.pat");
    EXPECT_EQ(MAV::pathJoin(L"C:\\data\\", L"a.pat"), L"C:\\data\\a.pat");
    EXPECT_EQ(MAV::pathJoin(L"/usr/share", L"/a.pat"), L"/usr/share/a.pat");
    EXPECT_EQ(MAV::pathJoin(L"rel", L"a.pat"), L"rel/a.pat");
    EXPECT_EQ(MAV::pathJoin(L"", L"a.pat"), L"a.pat");
    // Drive letters from A to Z in either case; the characters just outside those ranges are no drive.
    for (const wchar_t* absolute : {L"A:\\x", L"Z:/x", L"a:\\", L"z:/x", L"\\\\server\\share", L"/x"})
        EXPECT_TRUE(MAV::pathIsAbsolute(absolute)) << CMavString(absolute).utf8();
    for (const wchar_t* relative : {L"@:\\x", L"[:\\x", L"`:/x", L"{:/x", L"C:x", L"x\\y", L""})
        EXPECT_FALSE(MAV::pathIsAbsolute(relative)) << CMavString(relative).utf8();
    EXPECT_FALSE(MAV::pathIsAbsolute(nullptr));
}

TEST(FileSearch, FindsTheFirstFolderThatHoldsTheFileThenAsksThePlatform)
{
    std::error_code ec;
    const fs::path root = fs::temp_directory_path(ec) / ("mav_files_test_" + std::to_string(std::random_device{}()));
    fs::remove_all(root, ec);
    fs::create_directories(root / "one", ec);
    fs::create_directories(root / "two" / "Hatch.pat", ec); // a folder with a file's name
    ASSERT_FALSE(ec) << ec.message();
    for (const fs::path& f : {root / "one" / "a.pat", root / "two" / "a.pat", root / "two" / "b.pat",
                              root / "one" / fs::u8path("K\xC3\xBC" "che \xE2\x82\xAC.bmp")})
        std::ofstream(f) << "x";
    const MAV::FileFindPlatformFn previous = MAV::fileFindPlatformSet(nullptr);
    MAV::fileFindFoldersClear();

    const CMavArrayTempl<CMavString> folders = {wide(root / "one"), CMavString(), wide(root / "two")};
    CMavString found(L"unchanged");
    ASSERT_TRUE(MAV::fileFindIn(L"a.pat", folders, found));
    EXPECT_EQ(found, MAV::pathJoin(wide(root / "one"), L"a.pat"));
    ASSERT_TRUE(MAV::fileFindIn(L"b.pat", folders, found));
    EXPECT_EQ(found, MAV::pathJoin(wide(root / "two"), L"b.pat"));
    found = L"unchanged";
    for (const wchar_t* none : {L"Hatch.pat", L"", static_cast<const wchar_t*>(nullptr)}) // a folder is no file
        EXPECT_FALSE(MAV::fileFindIn(none, folders, found));
    EXPECT_EQ(found, L"unchanged");
    // An absolute name is taken as it is and never looked for in the folders.
    ASSERT_TRUE(MAV::fileFindIn(wide(root / "two" / "b.pat"), folders, found));
    EXPECT_EQ(found, wide(root / "two" / "b.pat"));
    EXPECT_FALSE(MAV::fileFindIn(wide(root / "b.pat"), folders, found));

    // The search list skips empty folders; names beyond ASCII are found; the platform is asked only when the
    // list has no match.
    MAV::fileFindFolderAdd(nullptr);
    MAV::fileFindFolderAdd(L"");
    MAV::fileFindFolderAdd(wide(root / "two"));
    MAV::fileFindFolderAdd(wide(root / "one"));
    EXPECT_EQ(MAV::fileFindFolders().len(), 2);
    ASSERT_TRUE(MAV::fileFind(L"K\u00FCche \u20AC.bmp", found));
    EXPECT_EQ(found.right(10), L"\u00FCche \u20AC.bmp");
    EXPECT_TRUE(MAV::fileExists(found));
    MAV::fileFindPlatformSet(&platformFind);
    g_platformName = L"";
    ASSERT_TRUE(MAV::fileFind(L"a.pat", found));
    EXPECT_EQ(found, MAV::pathJoin(wide(root / "two"), L"a.pat"));
    EXPECT_TRUE(g_platformName.isEmpty());
    ASSERT_TRUE(MAV::fileFind(L"system.pat", found));
    EXPECT_EQ(found, L"/platform/system.pat");
    EXPECT_EQ(g_platformName, L"system.pat");
    found = L"unchanged";
    EXPECT_FALSE(MAV::fileFind(L"missing.pat", found));
    EXPECT_EQ(found, L"unchanged");
    MAV::fileFindFoldersClear();
    EXPECT_FALSE(MAV::fileFind(L"a.pat", found));

    MAV::fileFindPlatformSet(previous);
    fs::remove_all(root, ec);
}

// The saved place of a dialog from the raw "Pos" and "Size" registry values: halves as unsigned 16-bit numbers,
// and every value of another type or length refused without touching the place.
TEST(SavedPlace, DwordHalvesAreUnsignedWordsAndOtherValuesAreRefused)
{
    std::mt19937 rng(23);
    for (int i = 0; i < 2000; ++i) {
        const uint32_t pos = i == 0 ? 0xFFFFFFF6u : rng(), size = i == 0 ? 0x00140010u : rng();
        const auto p = le(pos), s = le(size);
        MAV::SavedPlace place;
        ASSERT_TRUE(MAV::placeFromSaved(MAV::kRegTypeDword, p.data(), 4, MAV::kRegTypeDword, s.data(), 4, place));
        ASSERT_EQ(static_cast<uint32_t>(place.left) | static_cast<uint32_t>(place.top) << 16, pos);
        ASSERT_EQ(static_cast<uint32_t>(place.right - place.left) | static_cast<uint32_t>(place.bottom - place.top)
                                                                          << 16, size);
        ASSERT_GE(place.left, 0);
        ASSERT_GE(place.top, 0);
        if (i == 0) { // stored as -10, -1: far right and low, not off to the left
            EXPECT_EQ(place.left, 65526);
            EXPECT_EQ(place.bottom, 65555);
        }
    }
    const unsigned char bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    // {type of Pos, bytes, length, type of Size, length}: REG_SZ, four bytes of REG_BINARY, REG_DWORD_BIG_ENDIAN,
    // REG_QWORD, too short, too long, an empty size, a REG_MULTI_SZ size, no bytes.
    const struct {
        uint32_t posType;
        const unsigned char* pos;
        size_t posLen;
        uint32_t sizeType;
        size_t sizeLen;
    } refused[] = {{1, bytes, 4, 4, 4}, {3, bytes, 4, 4, 4}, {5, bytes, 4, 4, 4}, {11, bytes, 8, 4, 4},
                   {4, bytes, 3, 4, 4}, {4, bytes, 8, 4, 4}, {4, bytes, 4, 4, 0}, {4, bytes, 4, 7, 4},
                   {4, nullptr, 4, 4, 4}};
    for (const auto& c : refused) {
        MAV::SavedPlace place;
        place.left = 7;
        place.bottom = 9;
        EXPECT_FALSE(MAV::placeFromSaved(c.posType, c.pos, c.posLen, c.sizeType, bytes, c.sizeLen, place))
            << c.posType << "/" << c.posLen << " " << c.sizeType << "/" << c.sizeLen;
        EXPECT_EQ(place.left * 1000 + place.top * 100 + place.right * 10 + place.bottom, 7009);
    }
}

TEST(CountryTable, HoldsUniqueLowerCaseCodesGermanFirstAndFindsCodesWithoutRegardToCase)
{
    const MavDlCountry_st* t = mavDlCountrys();
    int n = 0;
    std::set<CMavString> codes;
    for (; t[n].code; ++n) {
        ASSERT_LT(n, 200) << "no end record";
        CMavString lower(t[n].code);
        lower.makeLower();
        EXPECT_EQ(CMavString(t[n].code), lower);
        EXPECT_EQ(lower.len(), 2);
        EXPECT_TRUE(codes.insert(lower).second) << "duplicate " << lower.utf8();
        ASSERT_NE(t[n].nativeName, nullptr);
        EXPECT_FALSE(CMavString(t[n].name).isEmpty());
    }
    EXPECT_EQ(n, mavDlCountryCount());
    EXPECT_EQ(t[n].name, nullptr);
    for (const wchar_t* needed : {L"de", L"en", L"fr", L"it", L"es", L"nl", L"cs", L"pl", L"pt", L"da", L"sv", L"hu",
                                  L"sk", L"sl", L"ro", L"ru"})
        EXPECT_EQ(codes.count(needed), 1u) << CMavString(needed).utf8();
    EXPECT_EQ(CMavString(t[0].name), L"Deutsch"); // the library's default texts are German

    const int fr = mavDlCountryFind(L"FR");
    ASSERT_GE(fr, 0);
    EXPECT_EQ(CMavString(t[fr].code), L"fr");
    EXPECT_EQ(CMavString(t[fr].name), L"Franz\u00F6sisch");
    EXPECT_EQ(CMavString(t[fr].nativeName), L"Fran\u00E7ais");
    EXPECT_EQ(CMavString(t[mavDlCountryFind(L"Cs")].nativeName), L"\u010Ce\u0161tina");
    for (const wchar_t* none : {L"xx", L"", static_cast<const wchar_t*>(nullptr), L"d"})
        EXPECT_EQ(mavDlCountryFind(none), -1);
}
