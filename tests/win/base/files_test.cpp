// The Windows part of the file search: environment variables, the program's search path (files only) and a file
// beside the library, found from any current folder.
#include "base/files.h"
#include "base/win/files.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace {

void touch(const CMavString& path)
{
    HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
}

} // namespace

TEST(WindowsFileSearch, FindsFilesBesideTheLibraryFromAnyCurrentFolder)
{
    const CMavString folder = MAV::libraryFolder(),
                     name = CMavString::format(L"mav_h1_beside_%lu.ico", GetCurrentProcessId());
    ASSERT_EQ(folder.right(1), L"\\");
    touch(folder + name);
    wchar_t oldDir[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH, oldDir);
    SetCurrentDirectoryW(L"C:\\");
    CMavString found;
    const bool ok = MAV::fileFind(name, found);
    SetCurrentDirectoryW(oldDir);
    DeleteFileW(folder + name);
    ASSERT_TRUE(ok);
    EXPECT_EQ(found.compareNoCase(folder + name), 0) << found;
}

TEST(WindowsFileSearch, ExpandsVariablesAndSearchesTheProgramsPathForFilesOnly)
{
    wchar_t temp[MAX_PATH + 1] = {}, oldPath[32768] = {};
    GetTempPathW(MAX_PATH, temp);
    const CMavString dir = CMavString(temp) + L"mav_h1_pat", file = dir + L"\\mav_h1.pat";
    CreateDirectoryW(dir, nullptr);
    CreateDirectoryW(dir + L"\\sub.pat", nullptr);
    touch(file);
    SetEnvironmentVariableW(L"MAV_H1_DIR", dir);
    GetEnvironmentVariableW(L"PATH", oldPath, 32768);
    CMavString found[4];
    std::vector<bool> seen = {MAV::fileFind(L"%MAV_H1_DIR%\\mav_h1.pat", found[0]),
                              MAV::fileFind(L"mav_h1.pat", found[1])};
    SetEnvironmentVariableW(L"PATH", CMavString(oldPath) + L";" + dir);
    seen.insert(seen.end(), {MAV::fileFind(L"mav_h1.pat", found[2]), MAV::fileFindWindows(L"sub.pat", found[3])});
    SetEnvironmentVariableW(L"PATH", oldPath);
    DeleteFileW(file);
    RemoveDirectoryW(dir + L"\\sub.pat");
    EXPECT_EQ(seen, (std::vector<bool>{true, false, true, false})); // a folder is never a found file
    EXPECT_TRUE(found[0].compareNoCase(file) == 0 && found[2].compareNoCase(file) == 0) << found[0] << found[2];
}
