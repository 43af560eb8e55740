// The Windows part of the file search, installed into the portable search when the library is loaded.
#include "base/win/files.h"

#include <windows.h>

#include <vector>

#include "base/files.h"

namespace {

constexpr DWORD kMaxPath = 32768;

bool isFile(const wchar_t* path)
{
    const DWORD attr = GetFileAttributesW(path);
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

CMavString expandVariables(const wchar_t* name)
{
    const DWORD need = ExpandEnvironmentStringsW(name, nullptr, 0);
    if (need == 0 || need > kMaxPath)
        return CMavString(name);
    std::vector<wchar_t> buf(need + 1, L'\0');
    if (ExpandEnvironmentStringsW(name, buf.data(), need + 1) == 0)
        return CMavString(name);
    return CMavString(buf.data());
}

struct Installer {
    Installer() { MAV::fileFindPlatformSet(&MAV::fileFindWindows); }
};
const Installer s_installer;

} // namespace

namespace MAV {

CMavString libraryFolder()
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&libraryFolder), &module))
        return CMavString();
    std::vector<wchar_t> buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(module, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            return CMavString();
        if (n < buf.size())
            break;
        if (buf.size() >= kMaxPath)
            return CMavString();
        buf.assign(buf.size() * 2, L'\0');
    }
    CMavString path(buf.data());
    const int slash = path.reverseFind(L'\\');
    return slash < 0 ? CMavString() : path.left(slash + 1);
}

bool fileFindWindows(const wchar_t* name, CMavString& found)
{
    if (!name || !*name)
        return false;
    const CMavString expanded = expandVariables(name);
    if (expanded != name && isFile(expanded)) {
        found = expanded;
        return true;
    }
    std::vector<wchar_t> buf(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD n = SearchPathW(nullptr, expanded, nullptr, static_cast<DWORD>(buf.size()), buf.data(), nullptr);
        if (n == 0)
            break;
        if (n < buf.size()) {
            if (isFile(buf.data())) {
                found = buf.data();
                return true;
            }
            break;
        }
        if (n > kMaxPath)
            break;
        buf.assign(n + 1, L'\0');
    }
    if (!pathIsAbsolute(expanded)) {
        const CMavString folder = libraryFolder();
        if (!folder.isEmpty()) {
            const CMavString candidate = folder + expanded;
            if (isFile(candidate)) {
                found = candidate;
                return true;
            }
        }
    }
    return false;
}

} // namespace MAV
