// Names and search of the application's files, portable part. Paths are wide text; the existence test goes
// through std::filesystem with the path in the platform's own encoding (wide on Windows, UTF-8 elsewhere).
#include "base/files.h"

#include <filesystem>
#include <system_error>
#include <type_traits>

namespace {

CMavArrayTempl<CMavString>& searchList()
{
    static CMavArrayTempl<CMavString> folders;
    return folders;
}

MAV::FileFindPlatformFn s_platformFind = nullptr;

bool isSeparator(wchar_t c)
{
    return c == L'/' || c == L'\\';
}

std::filesystem::path nativePath(const wchar_t* path)
{
    if constexpr (std::is_same<std::filesystem::path::value_type, wchar_t>::value)
        return std::filesystem::path(std::wstring(path));
    else
        return std::filesystem::u8path(CMavString(path).utf8());
}

} // namespace

bool mavAppFileName(CMavString& out, const wchar_t* maker, const wchar_t* product, const wchar_t* kind)
{
    if (!maker || !*maker || !product || !*product || !kind || !*kind)
        return false;
    CMavString ext(kind);
    ext.makeLower();
    out = CMavString(maker) + product + L"." + ext;
    return true;
}

namespace MAV {

bool fileExists(const wchar_t* path)
{
    if (!path || !*path)
        return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(nativePath(path), ec);
}

bool pathIsAbsolute(const wchar_t* path)
{
    if (!path || !*path)
        return false;
    if (isSeparator(path[0]))
        return true;
    const unsigned long c = wcharValue(path[0]);
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return letter && path[1] == L':' && isSeparator(path[2]);
}

CMavString pathJoin(const CMavString& folder, const wchar_t* name)
{
    CMavString r(folder);
    if (!r.isEmpty() && !isSeparator(r[r.len() - 1]))
        r += (r.find(L'\\') >= 0 && r.find(L'/') < 0) ? L'\\' : L'/';
    const wchar_t* n = name ? name : L"";
    while (!r.isEmpty() && isSeparator(*n))
        ++n;
    r += n;
    return r;
}

bool fileFindIn(const wchar_t* name, const CMavArrayTempl<CMavString>& folders, CMavString& found)
{
    if (!name || !*name)
        return false;
    if (fileExists(name)) {
        found = name;
        return true;
    }
    if (pathIsAbsolute(name))
        return false;
    for (int i = 0; i < folders.len(); ++i) {
        if (folders[i].isEmpty())
            continue;
        const CMavString candidate = pathJoin(folders[i], name);
        if (fileExists(candidate)) {
            found = candidate;
            return true;
        }
    }
    return false;
}

bool fileFind(const wchar_t* name, CMavString& found)
{
    if (!name || !*name)
        return false;
    if (fileFindIn(name, searchList(), found))
        return true;
    CMavString platformFound;
    if (s_platformFind && s_platformFind(name, platformFound) && !platformFound.isEmpty()) {
        found = platformFound;
        return true;
    }
    return false;
}

void fileFindFolderAdd(const wchar_t* folder)
{
    if (folder && *folder)
        searchList().append(CMavString(folder));
}

void fileFindFoldersClear()
{
    searchList().removeAll();
}

const CMavArrayTempl<CMavString>& fileFindFolders()
{
    return searchList();
}

FileFindPlatformFn fileFindPlatformSet(FileFindPlatformFn fn)
{
    const FileFindPlatformFn previous = s_platformFind;
    s_platformFind = fn;
    return previous;
}

} // namespace MAV
