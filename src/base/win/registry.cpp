// The application's registry key and typed registry values. Values are outside data: every size the registry
// reports is checked against the buffer, and strings without their terminating zero are accepted.
#include "base/win/registry.h"

#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr DWORD kMaxStringBytes = 1u << 20;

} // namespace

namespace MAV {

CMavString regAppKey(const wchar_t* app)
{
    CMavString key(L"Software\\MAVORA");
    if (app && *app)
        key += CMavString(L"\\") + app;
    return key;
}

bool regRead(HKEY key, const wchar_t* name, DWORD& value)
{
    if (!key)
        return false;
    DWORD type = 0, data = 0, size = sizeof data;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_DWORD || size != sizeof data)
        return false;
    value = data;
    return true;
}

bool regRead(HKEY key, const wchar_t* name, CMavString& value)
{
    if (!key)
        return false;
    // The value may change between asking its size and reading it; a few tries settle that.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0, size = 0;
        if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return false;
        if ((type != REG_SZ && type != REG_EXPAND_SZ) || size > kMaxStringBytes)
            return false;
        // Room for every byte reported (an odd count gets half a character more) and a terminating zero.
        const size_t chars = (size + sizeof(wchar_t) - 1) / sizeof(wchar_t);
        std::vector<wchar_t> buf(chars + 1, L'\0');
        DWORD got = static_cast<DWORD>(chars * sizeof(wchar_t));
        const LONG rc = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &got);
        if (rc == ERROR_MORE_DATA)
            continue;
        if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
            return false;
        size_t n = got / sizeof(wchar_t);
        if (n > buf.size() - 1)
            n = buf.size() - 1;
        while (n > 0 && buf[n - 1] == L'\0')
            --n;
        // An embedded zero ends the string, as it does for every reader of REG_SZ.
        std::wstring text(buf.data(), n);
        text = text.c_str();
        if (type == REG_EXPAND_SZ) {
            const DWORD need = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
            if (need > 0 && need < kMaxStringBytes) {
                std::vector<wchar_t> expanded(need + 1, L'\0');
                if (ExpandEnvironmentStringsW(text.c_str(), expanded.data(), need + 1) > 0)
                    text = expanded.data();
            }
        }
        value = CMavString(text);
        return true;
    }
    return false;
}

bool regWrite(HKEY key, const wchar_t* name, DWORD value)
{
    if (!key)
        return false;
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
           ERROR_SUCCESS;
}

bool regWrite(HKEY key, const wchar_t* name, const wchar_t* text, bool expand)
{
    if (!key)
        return false;
    const wchar_t* t = text ? text : L"";
    const size_t bytes = (wcslen(t) + 1) * sizeof(wchar_t);
    if (bytes > kMaxStringBytes)
        return false;
    return RegSetValueExW(key, name, 0, expand ? REG_EXPAND_SZ : REG_SZ, reinterpret_cast<const BYTE*>(t),
                          static_cast<DWORD>(bytes)) == ERROR_SUCCESS;
}

HKEY regCreateVolatile(HKEY root, const wchar_t* path, REGSAM access)
{
    if (!path)
        return nullptr;
    const wchar_t* last = std::wcsrchr(path, L'\\');
    HKEY key = nullptr;
    if (last && last != path) {
        const std::wstring parent(path, static_cast<size_t>(last - path));
        if (::RegCreateKeyExW(root, parent.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_CREATE_SUB_KEY, nullptr,
                              &key, nullptr) != ERROR_SUCCESS)
            return nullptr;
        ::RegCloseKey(key);
        key = nullptr;
    }
    if (::RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_VOLATILE, access, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

} // namespace MAV
