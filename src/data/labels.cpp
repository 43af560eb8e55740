// Labels: one text per language in a single label string (format in labels.h).
#include "data/labels.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/countries.h"
#include "data/messages.h"

namespace {

constexpr size_t kMaxCodeLength = 32;

struct Part {
    std::wstring code;
    std::wstring text;
};

bool validCode(std::wstring_view code)
{
    if (code.empty() || code.size() > kMaxCodeLength)
        return false;
    for (wchar_t c : code)
        if (c == L'=' || c == L'\\')
            return false;
    return true;
}

// Codes compare without regard to case, as CMavString::compareNoCase folds it; nothing is copied.
bool sameCode(std::wstring_view a, const wchar_t* b)
{
    size_t i = 0;
    for (; i < a.size(); ++i)
        if (!b[i] || MAV::toLower(a[i]) != MAV::toLower(b[i]))
            return false;
    return b[i] == 0;
}

// Walks the parts of a label that begins with a backslash: f(code, raw) gets each part's code and its text as it
// stands (a doubled backslash not yet undone), in order, until it returns false. A stray backslash and a code
// without '=' are skipped. Nothing is copied, so reading one language's text costs no allocation.
template <class F>
void forEachPart(std::wstring_view s, F f)
{
    size_t i = 0;
    const size_t n = s.size();
    while (i < n) {
        if (s[i] != L'\\') {
            ++i; // cannot happen after the first part; skipped for safety
            continue;
        }
        ++i;
        size_t j = i;
        while (j < n && s[j] != L'=' && s[j] != L'\\')
            ++j;
        if (j >= n || s[j] == L'\\') {
            i = j; // a stray backslash or a code without '='
            continue;
        }
        const size_t code = i, start = j + 1;
        // The text runs to the next single backslash; a doubled one stands for one backslash.
        i = start;
        while (i < n && !(s[i] == L'\\' && !(i + 1 < n && s[i + 1] == L'\\')))
            i += s[i] == L'\\' ? 2 : 1;
        if (!f(s.substr(code, j - code), s.substr(start, i - start)))
            return;
    }
}

// A part's text with its doubled backslashes undone.
std::wstring unescaped(std::wstring_view raw)
{
    std::wstring out;
    out.reserve(raw.size());
    for (size_t k = 0; k < raw.size(); k += raw[k] == L'\\' ? 2 : 1)
        out += raw[k];
    return out;
}

// The parts of a label that begins with a backslash (those with a valid code).
std::vector<Part> parse(const std::wstring& s)
{
    std::vector<Part> parts;
    forEachPart(s, [&parts](std::wstring_view code, std::wstring_view raw) {
        if (validCode(code))
            parts.push_back(Part{std::wstring(code), unescaped(raw)});
        return true;
    });
    return parts;
}

std::wstring compose(const std::vector<Part>& parts)
{
    std::wstring out;
    for (const Part& p : parts) {
        out += L'\\';
        out += p.code;
        out += L'=';
        for (wchar_t c : p.text) {
            if (c == L'\\')
                out += L'\\';
            out += c;
        }
    }
    return out;
}

} // namespace

namespace MAV {

bool label_get(const wchar_t* label, const wchar_t* code, CMavString& text)
{
    text.empty();
    if (!label || !*label)
        return false;
    if (label[0] != L'\\') {
        text = label;
        return true;
    }
    if (!code)
        return false;
    // The first part with the wanted code gives its text (dialogs read the labels of thousands of materials).
    bool found = false;
    forEachPart(label, [&](std::wstring_view partCode, std::wstring_view raw) {
        if (!validCode(partCode) || !sameCode(partCode, code))
            return true;
        text = CMavString(unescaped(raw));
        found = true;
        return false;
    });
    return found;
}

CMavString label_get(const wchar_t* label, const wchar_t* code)
{
    CMavString text;
    label_get(label, code, text);
    return text;
}

bool label_set(CMavString& label, const wchar_t* code, const wchar_t* text)
{
    if (!code || !validCode(code))
        return false;
    std::vector<Part> parts;
    if (!label.isEmpty()) {
        if (label[0] == L'\\')
            parts = parse(label.wstr());
        else
            parts.push_back(Part{msgLangSet(nullptr), label.wstr()});
    }
    // The language's first part takes the text; repeated parts of the same language are dropped.
    const std::wstring value = text ? text : L"";
    bool found = false;
    for (size_t i = 0; i < parts.size();) {
        if (!sameCode(parts[i].code, code)) {
            ++i;
            continue;
        }
        if (found || value.empty()) {
            parts.erase(parts.begin() + static_cast<std::ptrdiff_t>(i));
            found = true;
            continue;
        }
        parts[i].text = value;
        found = true;
        ++i;
    }
    if (!found && !value.empty())
        parts.push_back(Part{code, value});
    label = CMavString(compose(parts));
    return true;
}

int label_codes(const wchar_t* label, CMavArrayTempl<CMavString>& codes)
{
    codes.removeAll();
    if (!label || label[0] != L'\\')
        return 0;
    for (const Part& p : parse(label))
        codes.append(CMavString(p.code));
    return codes.len();
}

int label_from_store(CMavString& label, const CMavArrayTempl<LabelStoreValue>& values, bool multiLine)
{
    const MavDlCountry_st* table = mavDlCountrys();
    const int languages = mavDlCountryCount();
    // The first value of each language, found in one pass over the values (a store may hold many).
    std::vector<int> first(static_cast<size_t>(languages), -1);
    for (int v = 0; v < values.len(); ++v) {
        const int lang = mavDlCountryFind(values[v].name.c_str());
        if (lang >= 0 && lang < languages && first[static_cast<size_t>(lang)] < 0)
            first[static_cast<size_t>(lang)] = v;
    }
    int set = 0;
    for (int lang = 0; lang < languages; ++lang) {
        const int v = first[static_cast<size_t>(lang)];
        if (v < 0)
            continue;
        std::wstring text;
        const std::wstring& stored = values[v].text.wstr();
        for (size_t i = 0; i < stored.size(); ++i) {
            if (stored[i] == L'\\' && i + 1 < stored.size() && stored[i + 1] == L'n') {
                text += multiLine ? L'\n' : L' ';
                ++i;
            } else {
                text += stored[i];
            }
        }
        if (label_set(label, table[lang].code, text.c_str()) && !text.empty())
            ++set;
    }
    return set;
}

} // namespace MAV
