// The Windows part of the file search: a file beside the library is found from any current folder.
#include "base/files.h"
#include "base/win/files.h"

#include <gtest/gtest.h>

#include <windows.h>

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
