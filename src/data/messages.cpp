// Message catalogues.
//
// Vocabulary: a "catalogue" is the set of texts of one language, split into "sections" by key prefix. The shipped
// German and English catalogues are compiled in (data/msg/de.txt, data/msg/en.txt); files of a host folder are
// merged over them.
#include "data/messages.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/CMavDataItem.h"
#include "data/config.h"
#include "base/countries.h"
#include "data/datafile.h"
#include "data/embedded_data.h"
#include "base/files.h"

namespace {

using Section = std::unordered_map<std::wstring, std::wstring>;
using Catalogue = std::map<std::wstring, Section>; // by prefix

struct MessageState {
    std::map<std::wstring, Catalogue> languages; // by lower-case code
    std::wstring current = L"de";
    bool loaded = false;
};

MessageState& state();

std::wstring lower(const wchar_t* s)
{
    std::wstring out;
    for (; s && *s; ++s)
        out += MAV::toLower(*s);
    return out;
}

bool isSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\v' || c == L'\f' || MAV::wcharValue(c) == 0xFEFF;
}

std::wstring trim(const std::wstring& s)
{
    size_t b = 0, e = s.size();
    while (b < e && isSpace(s[b]))
        ++b;
    while (e > b && isSpace(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

std::wstring unescape(const std::wstring& s)
{
    std::wstring out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == L'\\' && i + 1 < s.size()) {
            const wchar_t e = s[i + 1];
            if (e == L'n' || e == L't' || e == L'\\') {
                out += e == L'n' ? L'\n' : e == L't' ? L'\t' : L'\\';
                ++i;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

int parseInto(Catalogue& cat, const char* text, size_t size)
{
    if (!text)
        return 0;
    const std::wstring all = MAV::utf8ToWide(text, size);
    std::wstring prefix = L"MAV_";
    int count = 0;
    size_t pos = 0;
    while (pos < all.size()) {
        size_t end = all.find(L'\n', pos);
        if (end == std::wstring::npos)
            end = all.size();
        const std::wstring line = trim(all.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line[0] == L';' || line[0] == L'#')
            continue;
        if (line[0] == L'[' && line.back() == L']') {
            prefix = trim(line.substr(1, line.size() - 2));
            continue;
        }
        const size_t eq = line.find(L'=');
        if (eq == std::wstring::npos)
            continue;
        const std::wstring key = trim(line.substr(0, eq));
        if (key.empty())
            continue;
        cat[prefix][key] = unescape(trim(line.substr(eq + 1)));
        ++count;
    }
    return count;
}

void loadShipped(MessageState& s)
{
    s.languages.clear();
    const std::string de = MAV::embeddedText(MAV::kEmbeddedMsgDe);
    const std::string en = MAV::embeddedText(MAV::kEmbeddedMsgEn);
    parseInto(s.languages[L"de"], de.data(), de.size());
    parseInto(s.languages[L"en"], en.data(), en.size());
    s.loaded = true;
}

MessageState& state()
{
    static MessageState s;
    if (!s.loaded)
        loadShipped(s);
    return s;
}

const std::wstring kDefaultPrefix = L"MAV_";

} // namespace

const wchar_t* mav_msg_get(const wchar_t* prefix, const wchar_t* key, const wchar_t* def, const wchar_t* country)
{
    if (!key)
        return def;
    MessageState& s = state();
    std::wstring lang;
    if (country && *country && std::wstring(country) != L"-1") {
        if (std::wstring(country) == L"0")
            return key;
        lang = lower(country);
    } else {
        lang = s.current;
    }
    const auto l = s.languages.find(lang);
    if (l == s.languages.end())
        return def;
    const auto sec = l->second.find(prefix && *prefix ? std::wstring(prefix) : kDefaultPrefix);
    if (sec == l->second.end())
        return def;
    const auto e = sec->second.find(key);
    if (e == sec->second.end())
        return def;
    return e->second.c_str();
}

namespace MAV {

const wchar_t* msgLangSet(const wchar_t* lang)
{
    MessageState& s = state();
    if (lang && *lang)
        s.current = lower(lang);
    return s.current.c_str();
}

int msgLoadText(const wchar_t* lang, const char* text, size_t size)
{
    if (!lang || !*lang)
        return 0;
    return parseInto(state().languages[lower(lang)], text, size);
}

int msgLoadFile(const wchar_t* lang, const wchar_t* path)
{
    std::string bytes;
    if (!readFileBytes(path, bytes))
        return -1;
    return msgLoadText(lang, bytes.data(), bytes.size());
}

int msgLoadFolder(const wchar_t* folder)
{
    if (!folder || !*folder)
        return 0;
    int files = 0;
    for (const MavDlCountry_st* c = mavDlCountrys(); c && c->code; ++c) {
        const CMavString path = pathJoin(CMavString(folder), (CMavString(c->code) + L".txt").c_str());
        if (fileExists(path.c_str()) && msgLoadFile(c->code, path.c_str()) >= 0)
            ++files;
    }
    return files;
}

void msgReset()
{
    MessageState& s = state();
    loadShipped(s);
    s.current = L"de";
}

void msgClear(const wchar_t* lang)
{
    state().languages.erase(lower(lang));
}

int msgCount(const wchar_t* lang, const wchar_t* prefix)
{
    MessageState& s = state();
    const auto l = s.languages.find(lower(lang));
    if (l == s.languages.end())
        return 0;
    const auto sec = l->second.find(prefix && *prefix ? std::wstring(prefix) : kDefaultPrefix);
    return sec == l->second.end() ? 0 : static_cast<int>(sec->second.size());
}

int msgKeys(const wchar_t* lang, const wchar_t* prefix, CMavArrayTempl<CMavString>& keys)
{
    keys.removeAll();
    MessageState& s = state();
    const auto l = s.languages.find(lower(lang));
    if (l == s.languages.end())
        return 0;
    const auto sec = l->second.find(prefix && *prefix ? std::wstring(prefix) : kDefaultPrefix);
    if (sec == l->second.end())
        return 0;
    // The section is a hash map: sort a copy so that every caller sees the same order.
    std::vector<std::wstring> sorted;
    sorted.reserve(sec->second.size());
    for (const auto& e : sec->second)
        sorted.push_back(e.first);
    std::sort(sorted.begin(), sorted.end());
    for (const std::wstring& k : sorted)
        keys.append(CMavString(k));
    return keys.len();
}

bool help_find(const wchar_t* name, CMavString& file)
{
    if (!name || !*name)
        return false;
    CMavString entry;
    bool configured = false;
    if (const CMavDataItem* help = cfg_get(L"HELP")) {
        for (CDataIterator it(help); it.valid(); it.next()) {
            const CMavDataItem* item = it.item();
            if (!item->keyPart().isInt() && item->keyPart().text.compareNoCase(name) == 0 && item->get(entry)) {
                configured = true;
                break;
            }
        }
    }
    if (configured && entry.left(4).compareNoCase(L"http") == 0) {
        file = entry;
        return true;
    }
    if (!configured)
        entry = CMavString(name) + L".chm";
    if (entry.isEmpty())
        return false;
    return fileFind(entry.c_str(), file);
}

} // namespace MAV
