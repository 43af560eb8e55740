// The Windows part of the file search: environment variables, the search path and the library's folder,
// with real files in the temporary folder.
#include "base/files.h"
#include "base/win/files.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

CMavString tempFolder()
{
    wchar_t buf[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, buf);
    return CMavString(buf) + CMavString::format(L"mav_h1_%lu\\", GetCurrentProcessId());
}

void touch(const CMavString& path)
{
    HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
}

} // namespace

TEST(WindowsFileSearch, ExpandsVariablesAndSearchesThePath)
{
    const CMavString dir = tempFolder();
    CreateDirectoryW(dir, nullptr);
    CreateDirectoryW(dir + L"sub.pat", nullptr);
    touch(dir + L"mav_h1.pat");
    SetEnvironmentVariableW(L"MAV_H1_DIR", dir.left(dir.len() - 1));

    CMavString found(L"unchanged");
    ASSERT_TRUE(MAV::fileFind(L"%MAV_H1_DIR%\\mav_h1.pat", found));
    EXPECT_EQ(found.compareNoCase(dir + L"mav_h1.pat"), 0) << found;

    // A bare name is found through the program's search path.
    wchar_t oldPath[32768] = {};
    GetEnvironmentVariableW(L"PATH", oldPath, 32768);
    found = L"unchanged";
    EXPECT_FALSE(MAV::fileFind(L"mav_h1.pat", found));
    EXPECT_EQ(found, L"unchanged");
    SetEnvironmentVariableW(L"PATH", CMavString(oldPath) + L";" + dir);
    ASSERT_TRUE(MAV::fileFind(L"mav_h1.pat", found));
    EXPECT_EQ(found.compareNoCase(dir + L"mav_h1.pat"), 0) << found;
    // A folder is never a found file.
    EXPECT_FALSE(MAV::fileFindWindows(L"sub.pat", found));
    SetEnvironmentVariableW(L"PATH", oldPath);

    EXPECT_FALSE(MAV::fileFindWindows(L"", found));
    EXPECT_FALSE(MAV::fileFindWindows(nullptr, found));
    DeleteFileW(dir + L"mav_h1.pat");
    RemoveDirectoryW(dir + L"sub.pat");
    RemoveDirectoryW(dir);
}

TEST(WindowsFileSearch, FindsFilesBesideTheLibrary)
{
    const CMavString folder = MAV::libraryFolder();
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_EQ(folder.right(1), L"\\");
    // The folder holds the library module itself.
    CMavString module;
    ASSERT_TRUE(mavAppFileName(module, L"Mav", L"Mfc", L"Dll"));
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&MAV::libraryFolder), &self);
    wchar_t file[MAX_PATH + 1] = {};
    GetModuleFileNameW(self, file, MAX_PATH);
    EXPECT_EQ(CMavString(file).left(folder.len()).compareNoCase(folder), 0);

    const CMavString name = CMavString::format(L"mav_h1_beside_%lu.ico", GetCurrentProcessId());
    touch(folder + name);
    // Seen from another current folder, the file is still found beside the library.
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
