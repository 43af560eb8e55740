// The message server's catalogue over the data library's message store.
//
// Vocabulary: a "language" is a code of the country table ("de", "en", ...); the server shows the keys of the
// section "MAV_" only, the section the library's message function looks keys up in.
#include "MsgCatalogue.h"

#include <windows.h>

#include <algorithm>

#include "base/CMavArray.h"
#include "base/CMavString.h"
#include "base/countries.h"
#include "base/files.h"
#include "data/messages.h"

namespace mavmsg {

namespace {

const wchar_t* const kSection = L"MAV_";

bool isFolder(const wchar_t* path)
{
    const DWORD a = GetFileAttributesW(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool isFile(const std::wstring& path)
{
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// The language a catalogue file's name gives: the whole name before the extension, or its last part after '_'
// or '.', when that is a code of the country table.
std::wstring languageOfName(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    const size_t sep = name.find_last_of(L"_.");
    const std::wstring tail = sep == std::wstring::npos ? name : name.substr(sep + 1);
    const int i = mavDlCountryFind(tail.c_str());
    return i < 0 ? std::wstring() : std::wstring(mavDlCountrys()[i].code);
}

void clearAllLanguages()
{
    for (const MavDlCountry_st* c = mavDlCountrys(); c->code; ++c)
        MAV::msgClear(c->code);
}

} // namespace

std::wstring lowerOf(const std::wstring& s)
{
    std::wstring out(s);
    for (wchar_t& c : out)
        c = MAV::toLower(c);
    return out;
}

void MsgCatalogue::loadShipped()
{
    MAV::msgReset();
    m_source.clear();
    collectKeys();
}

bool MsgCatalogue::open(const wchar_t* path, const wchar_t* fallbackLang)
{
    if (!path || !*path)
        return false;
    const std::wstring p(path);
    if (isFolder(path)) {
        bool any = false;
        for (const MavDlCountry_st* c = mavDlCountrys(); c->code && !any; ++c)
            any = isFile(MAV::pathJoin(CMavString(p), (std::wstring(c->code) + L".txt").c_str()).wstr());
        if (!any)
            return false;
        clearAllLanguages();
        MAV::msgLoadFolder(path);
    } else {
        if (!isFile(p))
            return false;
        std::wstring lang = languageOfName(p);
        if (lang.empty())
            lang = fallbackLang && *fallbackLang ? fallbackLang : L"de";
        // Read into a scratch language first, so that a file that cannot be read leaves the catalogue as it is.
        const wchar_t* const scratch = L"~open";
        const int read = MAV::msgLoadFile(scratch, path);
        MAV::msgClear(scratch);
        if (read < 0)
            return false;
        clearAllLanguages();
        MAV::msgLoadFile(lang.c_str(), path);
    }
    m_source = p;
    collectKeys();
    return true;
}

void MsgCatalogue::collectKeys()
{
    m_keys.clear();
    CMavArrayTempl<CMavString> keys;
    for (const MavDlCountry_st* c = mavDlCountrys(); c->code; ++c) {
        MAV::msgKeys(c->code, kSection, keys);
        for (const CMavString& k : keys)
            m_keys.push_back(k.wstr());
    }
    std::sort(m_keys.begin(), m_keys.end());
    m_keys.erase(std::unique(m_keys.begin(), m_keys.end()), m_keys.end());
}

int MsgCatalogue::find(const wchar_t* key) const
{
    if (!key)
        return -1;
    for (size_t i = 0; i < m_keys.size(); ++i)
        if (CMavString(m_keys[i]).compareNoCase(key) == 0)
            return static_cast<int>(i);
    return -1;
}

bool MsgCatalogue::hasText(const wchar_t* key, const wchar_t* lang) const
{
    // Only codes of the country table: "0" and "-1" mean something else to the data library.
    return key && *key && mavDlCountryFind(lang) >= 0 && mav_msg_get(kSection, key, nullptr, lang) != nullptr;
}

std::wstring MsgCatalogue::text(const wchar_t* key, const wchar_t* lang) const
{
    if (!hasText(key, lang))
        return std::wstring();
    return mav_msg_get(kSection, key, nullptr, lang);
}

std::wstring MsgCatalogue::attributes(const wchar_t* key) const
{
    bool known = false;
    bool multiLine = false;
    for (const MavDlCountry_st* c = mavDlCountrys(); c->code; ++c) {
        if (!hasText(key, c->code))
            continue;
        known = true;
        // A line break at the very end still leaves one line of text.
        std::wstring t = text(key, c->code);
        while (!t.empty() && (t.back() == L'\n' || t.back() == L'\r'))
            t.pop_back();
        if (t.find(L'\n') != std::wstring::npos)
            multiLine = true;
    }
    std::wstring a;
    if (known)
        a += L'K';
    if (multiLine)
        a += L'M';
    return a;
}

std::vector<int> MsgCatalogue::search(const std::wstring& needle, const wchar_t* lang) const
{
    std::vector<int> hits;
    const std::wstring n = lowerOf(needle);
    for (size_t i = 0; i < m_keys.size(); ++i) {
        if (n.empty() || lowerOf(m_keys[i]).find(n) != std::wstring::npos ||
            lowerOf(text(m_keys[i].c_str(), lang)).find(n) != std::wstring::npos)
            hits.push_back(static_cast<int>(i));
    }
    return hits;
}

} // namespace mavmsg
