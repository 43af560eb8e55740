// Module file names and the file search over folders, with real files in a temporary folder.
#include "base/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// A fresh folder with two sub-folders; removed again at the end of the test.
class FileSearch : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::error_code ec;
        root = fs::temp_directory_path(ec) / ("mav_files_test_" + std::to_string(
            reinterpret_cast<std::uintptr_t>(this) & 0xFFFFFFu));
        fs::remove_all(root, ec);
        fs::create_directories(root / "one", ec);
        fs::create_directories(root / "two" / "Hatch.pat", ec); // a folder with a file's name
        ASSERT_FALSE(ec) << ec.message();
        previous = MAV::fileFindPlatformSet(nullptr);
        MAV::fileFindFoldersClear();
    }
    void TearDown() override
    {
        MAV::fileFindFoldersClear();
        MAV::fileFindPlatformSet(previous);
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    CMavString wide(const fs::path& p) const { return CMavString(p.u8string().c_str()); }
    void touch(const fs::path& p) const { std::ofstream(p) << "x"; }

    fs::path root;
    MAV::FileFindPlatformFn previous = nullptr;
};

CMavString g_platformName;
bool platformFind(const wchar_t* name, CMavString& found)
{
    g_platformName = name;
    if (CMavString(name) != L"system.pat")
        return false;
    found = L"/platform/system.pat";
    return true;
}

} // namespace

TEST(AppFileName, JoinsMakerProductAndLowerCaseKind)
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
}

TEST(AppFileName, PathsJoinWithTheFoldersOwnSeparator)
{
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

TEST_F(FileSearch, FindsTheFirstFolderThatHoldsTheFile)
{
    touch(root / "one" / "a.pat");
    touch(root / "two" / "a.pat");
    touch(root / "two" / "b.pat");
    CMavArrayTempl<CMavString> folders = {wide(root / "one"), CMavString(), wide(root / "two")};
    CMavString found(L"unchanged");
    ASSERT_TRUE(MAV::fileFindIn(L"a.pat", folders, found));
    EXPECT_EQ(found, MAV::pathJoin(wide(root / "one"), L"a.pat"));
    ASSERT_TRUE(MAV::fileFindIn(L"b.pat", folders, found));
    EXPECT_EQ(found, MAV::pathJoin(wide(root / "two"), L"b.pat"));
    // A folder that carries the file's name is not the file.
    found = L"unchanged";
    EXPECT_FALSE(MAV::fileFindIn(L"Hatch.pat", folders, found));
    EXPECT_FALSE(MAV::fileFindIn(L"", folders, found));
    EXPECT_FALSE(MAV::fileFindIn(nullptr, folders, found));
    EXPECT_EQ(found, L"unchanged");
    // An absolute name is taken as it is and never looked for in the folders.
    const CMavString absolute = wide(root / "two" / "b.pat");
    ASSERT_TRUE(MAV::fileFindIn(absolute, folders, found));
    EXPECT_EQ(found, absolute);
    EXPECT_FALSE(MAV::fileFindIn(wide(root / "b.pat"), folders, found));
}

TEST_F(FileSearch, FindsNamesBeyondAscii)
{
    touch(root / "one" / fs::u8path("K\xC3\xBC" "che \xE2\x82\xAC.bmp"));
    MAV::fileFindFolderAdd(wide(root / "one"));
    CMavString found;
    ASSERT_TRUE(MAV::fileFind(L"K\u00FCche \u20AC.bmp", found));
    EXPECT_EQ(found.right(10), L"\u00FCche \u20AC.bmp");
    EXPECT_TRUE(MAV::fileExists(found));
}

TEST_F(FileSearch, AsksThePlatformOnlyWhenTheListHasNoMatch)
{
    touch(root / "two" / "local.pat");
    MAV::fileFindFolderAdd(nullptr);
    MAV::fileFindFolderAdd(L"");
    MAV::fileFindFolderAdd(wide(root / "two"));
    EXPECT_EQ(MAV::fileFindFolders().len(), 1);
    MAV::fileFindPlatformSet(&platformFind);
    g_platformName = L"";
    CMavString found;
    ASSERT_TRUE(MAV::fileFind(L"local.pat", found));
    EXPECT_EQ(found, MAV::pathJoin(wide(root / "two"), L"local.pat"));
    EXPECT_TRUE(g_platformName.isEmpty());
    ASSERT_TRUE(MAV::fileFind(L"system.pat", found));
    EXPECT_EQ(found, L"/platform/system.pat");
    EXPECT_EQ(g_platformName, L"system.pat");
    found = L"unchanged";
    EXPECT_FALSE(MAV::fileFind(L"missing.pat", found));
    EXPECT_EQ(found, L"unchanged");
    MAV::fileFindFoldersClear();
    EXPECT_FALSE(MAV::fileFind(L"local.pat", found));
}
