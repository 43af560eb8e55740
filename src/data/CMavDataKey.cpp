// Key paths of the data tree.
#include "data/CMavDataKey.h"

#include <climits>
#include <cstdarg>

namespace {

// True with the value when the text is a decimal int: optional '-', then 1 to 10 digits, within the int range.
bool parseIntPart(const std::wstring& s, int& value)
{
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && s[i] == L'-') {
        negative = true;
        ++i;
    }
    if (i == s.size() || s.size() - i > 10)
        return false;
    long long v = 0;
    for (; i < s.size(); ++i) {
        const unsigned long c = MAV::wcharValue(s[i]);
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + static_cast<long long>(c - '0');
    }
    if (negative)
        v = -v;
    if (v < INT_MIN || v > INT_MAX)
        return false;
    value = static_cast<int>(v);
    return true;
}

} // namespace

bool CMavDataKeyPart::matches(const CMavDataKeyPart& other) const
{
    if (isInt() || other.isInt())
        return isInt() && other.isInt() && num == other.num;
    return text == other.text;
}

CMavString CMavDataKeyPart::toText() const
{
    if (isInt())
        return CMavString::format(L"%d", num);
    return text;
}

CMavDataKey& CMavDataKey::set(const wchar_t* path)
{
    m_parts.removeAll();
    if (!path || !*path)
        return *this;
    std::wstring part;
    const auto flush = [this, &part]() {
        int n = 0;
        if (m_parts.len() >= kMaxParts)
            return;
        if (parseIntPart(part, n))
            m_parts.append(CMavDataKeyPart(n));
        else
            m_parts.append(CMavDataKeyPart(part.c_str()));
        part.clear();
    };
    for (const wchar_t* p = path; *p; ++p) {
        if (*p == L'\\')
            flush();
        else
            part += *p;
    }
    flush();
    return *this;
}

CMavDataKey& CMavDataKey::set(int kind, ...)
{
    m_parts.removeAll();
    va_list args;
    va_start(args, kind);
    while (m_parts.len() < kMaxParts) {
        if (kind == MAV::kKeyInt) {
            m_parts.append(CMavDataKeyPart(va_arg(args, int)));
        } else if (kind == MAV::kKeyText || kind == MAV::kKeyName) {
            const wchar_t* t = va_arg(args, const wchar_t*);
            m_parts.append(CMavDataKeyPart(t ? t : L"", static_cast<short>(kind)));
        } else {
            break;
        }
        kind = va_arg(args, int);
    }
    va_end(args);
    return *this;
}

CMavDataKey& CMavDataKey::append(int num)
{
    return append(CMavDataKeyPart(num));
}

CMavDataKey& CMavDataKey::appendText(const wchar_t* text, short kind)
{
    if (kind != MAV::kKeyName)
        kind = MAV::kKeyText;
    return append(CMavDataKeyPart(text ? text : L"", kind));
}

CMavDataKey& CMavDataKey::append(const CMavDataKeyPart& part)
{
    if (m_parts.len() < kMaxParts)
        m_parts.append(part);
    return *this;
}

CMavDataKey& CMavDataKey::append(const CMavDataKey& tail)
{
    for (const CMavDataKeyPart& p : tail.m_parts)
        append(p);
    return *this;
}

short CMavDataKey::type(int i) const
{
    if (i < 0 || i >= m_parts.len())
        return 0;
    return m_parts[i].type;
}

int CMavDataKey::intPart(int i) const
{
    if (i < 0 || i >= m_parts.len() || !m_parts[i].isInt())
        return 0;
    return m_parts[i].num;
}

CMavString CMavDataKey::textPart(int i) const
{
    if (i < 0 || i >= m_parts.len() || m_parts[i].isInt())
        return CMavString();
    return m_parts[i].text;
}

CMavString CMavDataKey::text() const
{
    CMavString out;
    for (int i = 0; i < m_parts.len(); ++i) {
        if (i > 0)
            out += L'\\';
        out += m_parts[i].toText();
    }
    return out;
}
