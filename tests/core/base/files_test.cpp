// Module file names, paths and the file search over folders (with real files in a temporary folder), the saved
// place of a dialog from raw registry values, and the language table.
#include "base/countries.h"
#include "base/files.h"
#include "base/place.h"

#include <gtest/gtest.h>

#include <array>
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
    ASSERT_TRUE(mavAppFileName(out, L"Krv", L"Msg", L"EXE"));
    EXPECT_EQ(out, L"KrvMsg.exe");
    for (const auto& parts :
         {std::array<const wchar_t*, 3>{L"", L"Mfc", L"Dll"}, {L"Mav", nullptr, L"Dll"}, {L"Mav", L"Mfc", L""}})
        EXPECT_FALSE(mavAppFileName(out, parts[0], parts[1], parts[2]));
    EXPECT_EQ(out, L"KrvMsg.exe");

    const wchar_t* const joins[][3] = {{L"C:\\data", L"a.pat", L"C:\\data\\a.pat"},
                                       {L"C:\\data\\", L"a.pat", L"C:\\data\\a.pat"},
                                       {L"/usr/share", L"/a.pat", L"/usr/share/a.pat"},
                                       {L"rel", L"a.pat", L"rel/a.pat"}, {L"", L"a.pat", L"a.pat"}};
    for (const auto& j : joins)
        EXPECT_EQ(MAV::pathJoin(j[0], j[1]), j[2]);
    // Drive letters from A to Z in either case; the characters just outside those ranges are no drive.
    for (const wchar_t* absolute : {L"A:\\x", L"Z:/x", L"a:\\", L"z:/x", L"\\\\server\\share", L"/x"})
        EXPECT_TRUE(MAV::pathIsAbsolute(absolute)) << CMavString(absolute).utf8();
    for (const wchar_t* relative :
         {L"@:\\x", L"[:\\x", L"`:/x", L"{:/x", L"C:x", L"x\\y", L"", static_cast<const wchar_t*>(nullptr)})
        EXPECT_FALSE(MAV::pathIsAbsolute(relative)) << CMavString(relative).utf8();
}

TEST(FileSearch, FindsTheFirstFolderThatHoldsTheFileThenAsksThePlatform)
{
    std::error_code ec;
    const fs::path root = fs::temp_directory_path(ec) / ("mav_files_test_" + std::to_string(std::random_device{}()));
    fs::create_directories(root / "one", ec);
    fs::create_directories(root / "two" / "Hatch.pat", ec); // a folder with a file's name
    ASSERT_FALSE(ec) << ec.message();
    for (const fs::path& f : {root / "one" / "a.pat", root / "two" / "a.pat", root / "two" / "b.pat",
                              root / "one" /
                                  fs::u8path("K\xC3\xBC"
                                             "che \xE2\x82\xAC.bmp")})
        std::ofstream(f) << "x";
    const CMavString one = wide(root / "one"), two = wide(root / "two");
    const MAV::FileFindPlatformFn previous = MAV::fileFindPlatformSet(&platformFind);
    MAV::fileFindFoldersClear();

    // {name, where it is found: "" for nowhere}. An absolute name is taken as it is, never looked for in the
    // folders; a folder is no file; names beyond ASCII are found.
    const CMavArrayTempl<CMavString> folders = {one, CMavString(), two};
    const CMavString cases[][2] = {{L"a.pat", MAV::pathJoin(one, L"a.pat")},
                                   {L"b.pat", MAV::pathJoin(two, L"b.pat")}, {L"Hatch.pat", L""}, {L"", L""},
                                   {MAV::pathJoin(two, L"b.pat"), MAV::pathJoin(two, L"b.pat")},
                                   {wide(root / "b.pat"), L""},
                                   {L"K\u00FCche \u20AC.bmp", MAV::pathJoin(one, L"K\u00FCche \u20AC.bmp")}};
    for (const auto& c : cases) {
        CMavString found(L"unchanged");
        EXPECT_EQ(MAV::fileFindIn(c[0], folders, found), !c[1].isEmpty()) << c[0].utf8();
        EXPECT_EQ(found, c[1].isEmpty() ? CMavString(L"unchanged") : c[1]) << c[0].utf8();
    }
    CMavString found(L"unchanged");
    EXPECT_FALSE(MAV::fileFindIn(nullptr, folders, found));

    // The search list skips empty folders; the platform is asked only when the list has no match.
    for (const wchar_t* f : {static_cast<const wchar_t*>(nullptr), L"", two.c_str(), one.c_str()})
        MAV::fileFindFolderAdd(f);
    EXPECT_EQ(MAV::fileFindFolders().len(), 2);
    g_platformName = L"";
    ASSERT_TRUE(MAV::fileFind(L"a.pat", found));
    EXPECT_EQ(found, MAV::pathJoin(two, L"a.pat"));
    EXPECT_TRUE(g_platformName.isEmpty() && MAV::fileExists(found));
    ASSERT_TRUE(MAV::fileFind(L"system.pat", found));
    EXPECT_EQ(found + g_platformName, L"/platform/system.patsystem.pat");
    EXPECT_FALSE(MAV::fileFind(L"missing.pat", found));
    EXPECT_EQ(found, L"/platform/system.pat");
    MAV::fileFindFoldersClear();
    MAV::fileFindPlatformSet(nullptr);
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
                                                                        << 16,
                  size);
        ASSERT_GE(place.left, 0);
        ASSERT_GE(place.top, 0);
        if (i == 0) { // stored as -10, -1: far right and low, not off to the left
            EXPECT_EQ(place.left, 65526);
            EXPECT_EQ(place.bottom, 65555);
        }
    }
    // {type of Pos, length, type of Size, length}: REG_SZ, four bytes of REG_BINARY, REG_DWORD_BIG_ENDIAN,
    // REG_QWORD, too short, too long, an empty size, a REG_MULTI_SZ size, and no bytes at all.
    const unsigned char bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const unsigned refused[][4] = {{1, 4, 4, 4}, {3, 4, 4, 4}, {5, 4, 4, 4}, {11, 8, 4, 4}, {4, 3, 4, 4},
                                   {4, 8, 4, 4}, {4, 4, 4, 0}, {4, 4, 7, 4}, {4, 4, 4, 4}};
    for (const auto& c : refused) {
        MAV::SavedPlace place;
        place.left = 7;
        place.bottom = 9;
        EXPECT_FALSE(MAV::placeFromSaved(c[0], &c == &refused[8] ? nullptr : bytes, c[1], c[2], bytes, c[3], place))
            << c[0] << "/" << c[1] << " " << c[2] << "/" << c[3];
        EXPECT_EQ(place.left * 1000 + place.top * 100 + place.right * 10 + place.bottom, 7009);
    }
}

// The language table: unique lower-case two-letter codes, German (the library's default texts) first, an end
// record, and lookups without regard to case.
TEST(CountryTable, HoldsUniqueLowerCaseCodesGermanFirstAndFindsCodesWithoutRegardToCase)
{
    const MavDlCountry_st* t = mavDlCountrys();
    std::set<CMavString> codes;
    int n = 0;
    for (; t[n].code; ++n) {
        ASSERT_LT(n, 200) << "no end record";
        CMavString lower(t[n].code);
        lower.makeLower();
        EXPECT_TRUE(CMavString(t[n].code) == lower && lower.len() == 2 && codes.insert(lower).second) << n;
        EXPECT_TRUE(t[n].nativeName && !CMavString(t[n].name).isEmpty()) << n;
        CMavString upper(t[n].code);
        upper.makeUpper();
        EXPECT_EQ(mavDlCountryFind(upper), n);
    }
    EXPECT_TRUE(n == mavDlCountryCount() && n > 10 && t[n].name == nullptr);
    EXPECT_EQ(CMavString(t[0].code), L"de");
    for (const wchar_t* none : {L"xx", L"", static_cast<const wchar_t*>(nullptr), L"d"})
        EXPECT_EQ(mavDlCountryFind(none), -1);
}
