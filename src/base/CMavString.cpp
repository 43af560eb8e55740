// Wide string value of the base library.
//
// Vocabulary: a "unit" is one wchar_t, 16 bits on Windows (UTF-16) and 32 bits on Linux (UTF-32). Nothing here
// assumes either width: values are read through MAV::wcharValue, and text from or to UTF-8 is encoded for the
// width the compiler gives.
#include "base/CMavString.h"

#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <ostream>

namespace {

constexpr bool kWide16 = sizeof(wchar_t) == 2;
constexpr unsigned long kReplacement = 0xFFFD;

size_t wideLength(const wchar_t* s)
{
    return s ? std::wcslen(s) : 0;
}

void appendCodePoint(std::wstring& out, unsigned long cp)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = kReplacement;
    if (kWide16 && cp >= 0x10000) {
        cp -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (cp >> 10));
        out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    } else {
        out += static_cast<wchar_t>(cp);
    }
}

void appendUtf8(std::string& out, unsigned long cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool isTrimSpace(wchar_t ch)
{
    const unsigned long v = MAV::wcharValue(ch);
    return v == 0x20 || (v >= 0x09 && v <= 0x0D) || v == 0xA0;
}

// Case pairs that are not a fixed offset within a simple block.
unsigned long upperOf(unsigned long v)
{
    if (v >= 'a' && v <= 'z')
        return v - 32;
    if (v < 0xB5)
        return v;
    if (v == 0xB5)
        return 0x39C; // micro sign
    if ((v >= 0xE0 && v <= 0xFE && v != 0xF7))
        return v - 32;
    if (v == 0xFF)
        return 0x178;
    if (v >= 0x100 && v <= 0x17F) {
        // Latin Extended-A: pairs (even upper, odd lower) except 0x130-0x131, 0x138 and the shifted run
        // 0x139-0x148 and 0x179-0x17E (odd upper, even lower).
        if ((v >= 0x139 && v <= 0x148) || (v >= 0x179 && v <= 0x17E))
            return (v & 1) ? v : v - 1;
        if (v == 0x131)
            return 'I';
        if (v == 0x138 || v == 0x149 || v == 0x130 || v == 0x17F)
            return v == 0x17F ? 'S' : v;
        return (v & 1) ? v - 1 : v;
    }
    if (v >= 0x3B1 && v <= 0x3C9 && v != 0x3C2)
        return v - 32;
    if (v == 0x3C2)
        return 0x3A3;
    if (v >= 0x3AC && v <= 0x3AF) {
        static const unsigned short tonos[] = {0x386, 0x388, 0x389, 0x38A};
        return tonos[v - 0x3AC];
    }
    if (v == 0x3CC)
        return 0x38C;
    if (v == 0x3CD || v == 0x3CE)
        return v - 0x3F;
    if (v >= 0x430 && v <= 0x44F)
        return v - 32;
    if (v >= 0x450 && v <= 0x45F)
        return v - 80;
    return v;
}

unsigned long lowerOf(unsigned long v)
{
    if (v >= 'A' && v <= 'Z')
        return v + 32;
    if (v < 0xC0)
        return v;
    if (v >= 0xC0 && v <= 0xDE && v != 0xD7)
        return v + 32;
    if (v == 0x178)
        return 0xFF;
    if (v >= 0x100 && v <= 0x17F) {
        if ((v >= 0x139 && v <= 0x148) || (v >= 0x179 && v <= 0x17E))
            return (v & 1) ? v + 1 : v;
        if (v == 0x130)
            return 'i';
        if (v == 0x131 || v == 0x138 || v == 0x149 || v == 0x17F)
            return v;
        return (v & 1) ? v : v + 1;
    }
    if (v >= 0x391 && v <= 0x3A9 && v != 0x3A2)
        return v + 32;
    if (v == 0x386)
        return 0x3AC;
    if (v >= 0x388 && v <= 0x38A)
        return v + 37;
    if (v == 0x38C)
        return 0x3CC;
    if (v == 0x38E || v == 0x38F)
        return v + 0x3F;
    if (v >= 0x410 && v <= 0x42F)
        return v + 32;
    if (v >= 0x400 && v <= 0x40F)
        return v + 80;
    return v;
}

// ---------------------------------------------------------------------------------------------------------------
// Formatting.

struct FormatSpec {
    bool left = false, plus = false, space = false, alt = false, zero = false;
    int width = -1;
    int precision = -1;
    enum Length { None, HH, H, L, LL, Z, J, T, BigL, I64, I32 } length = None;
};

void pad(std::wstring& out, const std::wstring& body, const FormatSpec& spec)
{
    const int n = static_cast<int>(body.size());
    if (spec.width > n && !spec.left)
        out.append(static_cast<size_t>(spec.width - n), L' ');
    out += body;
    if (spec.width > n && spec.left)
        out.append(static_cast<size_t>(spec.width - n), L' ');
}

// Builds a narrow printf conversion for one numeric argument, with the flags, width and precision of spec.
std::string narrowSpec(const FormatSpec& spec, const char* lengthAndConv)
{
    std::string f = "%";
    if (spec.left)
        f += '-';
    if (spec.plus)
        f += '+';
    if (spec.space)
        f += ' ';
    if (spec.alt)
        f += '#';
    if (spec.zero)
        f += '0';
    if (spec.width >= 0)
        f += std::to_string(spec.width);
    if (spec.precision >= 0)
        f += "." + std::to_string(spec.precision);
    f += lengthAndConv;
    return f;
}

template <class T>
void appendNumber(std::wstring& out, const std::string& f, T value)
{
    char buf[512];
    int n = std::snprintf(buf, sizeof buf, f.c_str(), value);
    if (n < 0)
        return;
    std::string text;
    if (static_cast<size_t>(n) < sizeof buf) {
        text.assign(buf, static_cast<size_t>(n));
    } else {
        text.resize(static_cast<size_t>(n) + 1);
        std::snprintf(&text[0], text.size(), f.c_str(), value);
        text.resize(static_cast<size_t>(n));
    }
    // A process-wide locale may have set a decimal comma; this library's text always uses a point.
    const char* dp = std::localeconv()->decimal_point;
    if (dp && dp[0] && dp[0] != '.' && !dp[1]) {
        for (char& c : text)
            if (c == dp[0])
                c = '.';
    }
    for (char c : text)
        out += static_cast<wchar_t>(static_cast<unsigned char>(c));
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------

namespace MAV {

std::wstring utf8ToWide(const char* s, size_t n)
{
    std::wstring out;
    if (!s)
        return out;
    out.reserve(n);
    size_t i = 0;
    while (i < n) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            out += static_cast<wchar_t>(b);
            ++i;
            continue;
        }
        int extra = 0;
        unsigned long cp = 0, min = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            extra = 1;
            cp = b & 0x1F;
            min = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2;
            cp = b & 0x0F;
            min = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3;
            cp = b & 0x07;
            min = 0x10000;
        } else {
            appendCodePoint(out, kReplacement);
            ++i;
            continue;
        }
        size_t j = i + 1;
        int got = 0;
        while (got < extra && j < n && (static_cast<unsigned char>(s[j]) & 0xC0) == 0x80) {
            cp = (cp << 6) | (static_cast<unsigned char>(s[j]) & 0x3F);
            ++j;
            ++got;
        }
        if (got < extra || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            // A broken sequence is one replacement character; the bytes consumed so far are skipped.
            appendCodePoint(out, kReplacement);
            i = (j > i + 1) ? j : i + 1;
            continue;
        }
        appendCodePoint(out, cp);
        i = j;
    }
    return out;
}

std::string wideToUtf8(const wchar_t* s, size_t n)
{
    std::string out;
    if (!s)
        return out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        unsigned long v = wcharValue(s[i]);
        if (v >= 0xD800 && v <= 0xDBFF && i + 1 < n) {
            const unsigned long lo = wcharValue(s[i + 1]);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                v = 0x10000 + ((v - 0xD800) << 10) + (lo - 0xDC00);
                ++i;
                appendUtf8(out, v);
                continue;
            }
        }
        if ((v >= 0xD800 && v <= 0xDFFF) || v > 0x10FFFF)
            v = kReplacement;
        appendUtf8(out, v);
    }
    return out;
}

wchar_t toUpper(wchar_t ch)
{
    return static_cast<wchar_t>(upperOf(wcharValue(ch)));
}

wchar_t toLower(wchar_t ch)
{
    return static_cast<wchar_t>(lowerOf(wcharValue(ch)));
}

} // namespace MAV

// ---------------------------------------------------------------------------------------------------------------

CMavString::CMavString(const wchar_t* text)
{
    if (text)
        m_s = text;
}

CMavString::CMavString(const char* utf8)
{
    if (utf8)
        m_s = MAV::utf8ToWide(utf8, std::strlen(utf8));
}

CMavString::CMavString(const wchar_t* text, int count)
{
    if (!text || count <= 0)
        return;
    int n = 0;
    while (n < count && text[n])
        ++n;
    m_s.assign(text, static_cast<size_t>(n));
}

CMavString::CMavString(wchar_t ch, int repeat)
{
    if (repeat > 0)
        m_s.assign(static_cast<size_t>(repeat), ch);
}

CMavString& CMavString::operator=(const wchar_t* text)
{
    if (text)
        m_s = text;
    else
        m_s.clear();
    return *this;
}

CMavString& CMavString::operator=(wchar_t ch)
{
    m_s.assign(1, ch);
    return *this;
}

CMavString& CMavString::operator+=(const wchar_t* text)
{
    if (text)
        m_s += text;
    return *this;
}

std::string CMavString::utf8() const
{
    return MAV::wideToUtf8(m_s.data(), m_s.size());
}

wchar_t CMavString::operator[](int i) const
{
    if (i < 0 || i >= len())
        return 0;
    return m_s[static_cast<size_t>(i)];
}

void CMavString::setAt(int i, wchar_t ch)
{
    if (i >= 0 && i < len())
        m_s[static_cast<size_t>(i)] = ch;
}

int CMavString::find(const CMavString& needle, int start) const
{
    if (start < 0)
        start = 0;
    if (start > len())
        return -1;
    const size_t p = m_s.find(needle.m_s, static_cast<size_t>(start));
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
}

int CMavString::find(wchar_t ch, int start) const
{
    if (start < 0)
        start = 0;
    if (start >= len())
        return -1;
    const size_t p = m_s.find(ch, static_cast<size_t>(start));
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
}

int CMavString::reverseFind(wchar_t ch) const
{
    const size_t p = m_s.rfind(ch);
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
}

int CMavString::findOneOf(const CMavString& chars) const
{
    if (chars.isEmpty())
        return -1;
    const size_t p = m_s.find_first_of(chars.m_s);
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
}

CMavString CMavString::mid(int start, int count) const
{
    if (start < 0)
        start = 0;
    if (start >= len())
        return CMavString();
    const size_t n = count < 0 ? std::wstring::npos : static_cast<size_t>(count);
    return CMavString(m_s.substr(static_cast<size_t>(start), n));
}

CMavString CMavString::left(int n) const
{
    if (n <= 0)
        return CMavString();
    return CMavString(m_s.substr(0, static_cast<size_t>(n)));
}

CMavString CMavString::right(int n) const
{
    if (n <= 0)
        return CMavString();
    if (n >= len())
        return *this;
    return CMavString(m_s.substr(static_cast<size_t>(len() - n)));
}

int CMavString::replace(const CMavString& oldText, const CMavString& newText)
{
    if (oldText.isEmpty())
        return 0;
    int count = 0;
    std::wstring out;
    size_t pos = 0;
    for (;;) {
        const size_t hit = m_s.find(oldText.m_s, pos);
        if (hit == std::wstring::npos)
            break;
        out.append(m_s, pos, hit - pos);
        out += newText.m_s;
        pos = hit + oldText.m_s.size();
        ++count;
    }
    if (count) {
        out.append(m_s, pos, std::wstring::npos);
        m_s.swap(out);
    }
    return count;
}

int CMavString::replace(wchar_t oldCh, wchar_t newCh)
{
    int count = 0;
    for (wchar_t& c : m_s)
        if (c == oldCh) {
            c = newCh;
            ++count;
        }
    return count;
}

int CMavString::remove(wchar_t ch)
{
    const size_t before = m_s.size();
    std::wstring out;
    out.reserve(before);
    for (wchar_t c : m_s)
        if (c != ch)
            out += c;
    m_s.swap(out);
    return static_cast<int>(before - m_s.size());
}

void CMavString::insert(int pos, const CMavString& text)
{
    if (pos < 0)
        pos = 0;
    if (pos > len())
        pos = len();
    m_s.insert(static_cast<size_t>(pos), text.m_s);
}

void CMavString::erase(int pos, int count)
{
    if (pos < 0 || pos >= len() || count <= 0)
        return;
    m_s.erase(static_cast<size_t>(pos), static_cast<size_t>(count));
}

CMavString& CMavString::makeUpper()
{
    for (wchar_t& c : m_s)
        c = MAV::toUpper(c);
    return *this;
}

CMavString& CMavString::makeLower()
{
    for (wchar_t& c : m_s)
        c = MAV::toLower(c);
    return *this;
}

CMavString& CMavString::makeReverse()
{
    std::wstring out(m_s.rbegin(), m_s.rend());
    m_s.swap(out);
    return *this;
}

CMavString& CMavString::trim()
{
    return trimRight().trimLeft();
}

CMavString& CMavString::trimLeft()
{
    size_t i = 0;
    while (i < m_s.size() && isTrimSpace(m_s[i]))
        ++i;
    m_s.erase(0, i);
    return *this;
}

CMavString& CMavString::trimRight()
{
    size_t n = m_s.size();
    while (n > 0 && isTrimSpace(m_s[n - 1]))
        --n;
    m_s.resize(n);
    return *this;
}

int CMavString::compare(const wchar_t* text) const
{
    const size_t n = wideLength(text);
    const size_t common = m_s.size() < n ? m_s.size() : n;
    for (size_t i = 0; i < common; ++i) {
        const unsigned long a = MAV::wcharValue(m_s[i]), b = MAV::wcharValue(text[i]);
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (m_s.size() == n)
        return 0;
    return m_s.size() < n ? -1 : 1;
}

int CMavString::compareNoCase(const wchar_t* text) const
{
    const size_t n = wideLength(text);
    const size_t common = m_s.size() < n ? m_s.size() : n;
    for (size_t i = 0; i < common; ++i) {
        const unsigned long a = lowerOf(MAV::wcharValue(m_s[i])), b = lowerOf(MAV::wcharValue(text[i]));
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (m_s.size() == n)
        return 0;
    return m_s.size() < n ? -1 : 1;
}

// Formatting follows printf with the wide-text conventions of the Windows C library, made the same everywhere:
//   flags - + space # 0, width and precision (numbers or *),
//   lengths hh h l ll z j t L I64 I32 (I64 and I32 as in the Microsoft library),
//   d i u o x X: integers; f F e E g G a A: doubles (L: long double); p: pointer; %%: a percent sign;
//   c and lc: a wchar_t (passed as int), hc: a char;
//   s, ls, ws: const wchar_t*; hs and S: const char* in UTF-8. A null string prints "(null)".
// An unknown conversion is copied as it stands. Numbers always use a decimal point.
CMavString CMavString::vformat(const wchar_t* fmt, va_list args)
{
    std::wstring out;
    if (!fmt)
        return CMavString();
    const wchar_t* p = fmt;
    while (*p) {
        if (*p != L'%') {
            out += *p++;
            continue;
        }
        const wchar_t* start = p++;
        if (*p == L'%') {
            out += L'%';
            ++p;
            continue;
        }
        FormatSpec spec;
        for (;; ++p) {
            if (*p == L'-')
                spec.left = true;
            else if (*p == L'+')
                spec.plus = true;
            else if (*p == L' ')
                spec.space = true;
            else if (*p == L'#')
                spec.alt = true;
            else if (*p == L'0')
                spec.zero = true;
            else
                break;
        }
        if (*p == L'*') {
            spec.width = va_arg(args, int);
            if (spec.width < 0) {
                spec.left = true;
                spec.width = spec.width == -2147483647 - 1 ? 0 : -spec.width;
            }
            ++p;
        } else {
            while (*p >= L'0' && *p <= L'9') {
                spec.width = (spec.width < 0 ? 0 : spec.width);
                if (spec.width < 100000)
                    spec.width = spec.width * 10 + static_cast<int>(*p - L'0');
                ++p;
            }
        }
        if (*p == L'.') {
            ++p;
            spec.precision = 0;
            if (*p == L'*') {
                spec.precision = va_arg(args, int);
                if (spec.precision < 0)
                    spec.precision = -1;
                ++p;
            } else {
                while (*p >= L'0' && *p <= L'9') {
                    if (spec.precision < 100000)
                        spec.precision = spec.precision * 10 + static_cast<int>(*p - L'0');
                    ++p;
                }
            }
        }
        // Widths beyond what any caller needs are capped so that a hostile format cannot allocate without bound.
        if (spec.width > 4096)
            spec.width = 4096;
        if (spec.precision > 4096)
            spec.precision = 4096;
        if (*p == L'h') {
            ++p;
            spec.length = FormatSpec::H;
            if (*p == L'h') {
                ++p;
                spec.length = FormatSpec::HH;
            }
        } else if (*p == L'l') {
            ++p;
            spec.length = FormatSpec::L;
            if (*p == L'l') {
                ++p;
                spec.length = FormatSpec::LL;
            }
        } else if (*p == L'w') {
            ++p;
            spec.length = FormatSpec::L;
        } else if (*p == L'z') {
            ++p;
            spec.length = FormatSpec::Z;
        } else if (*p == L'j') {
            ++p;
            spec.length = FormatSpec::J;
        } else if (*p == L't') {
            ++p;
            spec.length = FormatSpec::T;
        } else if (*p == L'L') {
            ++p;
            spec.length = FormatSpec::BigL;
        } else if (*p == L'I' && p[1] == L'6' && p[2] == L'4') {
            p += 3;
            spec.length = FormatSpec::I64;
        } else if (*p == L'I' && p[1] == L'3' && p[2] == L'2') {
            p += 3;
            spec.length = FormatSpec::I32;
        }
        const wchar_t conv = *p;
        if (!conv) {
            out.append(start, p);
            break;
        }
        ++p;
        switch (conv) {
        case L'd':
        case L'i':
            switch (spec.length) {
            case FormatSpec::L:
                appendNumber(out, narrowSpec(spec, "ld"), va_arg(args, long));
                break;
            case FormatSpec::LL:
            case FormatSpec::I64:
            case FormatSpec::J:
                appendNumber(out, narrowSpec(spec, "lld"), static_cast<long long>(va_arg(args, long long)));
                break;
            case FormatSpec::Z:
            case FormatSpec::T:
                appendNumber(out, narrowSpec(spec, "lld"), static_cast<long long>(va_arg(args, std::ptrdiff_t)));
                break;
            case FormatSpec::H:
                appendNumber(out, narrowSpec(spec, "d"), static_cast<int>(static_cast<short>(va_arg(args, int))));
                break;
            case FormatSpec::HH:
                appendNumber(out, narrowSpec(spec, "d"),
                             static_cast<int>(static_cast<signed char>(va_arg(args, int))));
                break;
            default:
                appendNumber(out, narrowSpec(spec, "d"), va_arg(args, int));
                break;
            }
            break;
        case L'u':
        case L'o':
        case L'x':
        case L'X': {
            const char c = static_cast<char>(conv);
            const char ll[] = {'l', 'l', c, 0};
            const char l1[] = {'l', c, 0};
            const char n0[] = {c, 0};
            switch (spec.length) {
            case FormatSpec::L:
                appendNumber(out, narrowSpec(spec, l1), va_arg(args, unsigned long));
                break;
            case FormatSpec::LL:
            case FormatSpec::I64:
            case FormatSpec::J:
                appendNumber(out, narrowSpec(spec, ll), va_arg(args, unsigned long long));
                break;
            case FormatSpec::Z:
            case FormatSpec::T:
                appendNumber(out, narrowSpec(spec, ll), static_cast<unsigned long long>(va_arg(args, size_t)));
                break;
            case FormatSpec::H:
                appendNumber(out, narrowSpec(spec, n0), static_cast<unsigned>(va_arg(args, unsigned) & 0xFFFFu));
                break;
            case FormatSpec::HH:
                appendNumber(out, narrowSpec(spec, n0), static_cast<unsigned>(va_arg(args, unsigned) & 0xFFu));
                break;
            default:
                appendNumber(out, narrowSpec(spec, n0), va_arg(args, unsigned));
                break;
            }
            break;
        }
        case L'f':
        case L'F':
        case L'e':
        case L'E':
        case L'g':
        case L'G':
        case L'a':
        case L'A': {
            const char c = static_cast<char>(conv);
            if (spec.length == FormatSpec::BigL) {
                const char lc[] = {'L', c, 0};
                appendNumber(out, narrowSpec(spec, lc), va_arg(args, long double));
            } else {
                const char n0[] = {c, 0};
                appendNumber(out, narrowSpec(spec, n0), va_arg(args, double));
            }
            break;
        }
        case L'p': {
            const void* ptr = va_arg(args, void*);
            FormatSpec ps = spec;
            ps.precision = static_cast<int>(2 * sizeof(void*));
            ps.zero = false;
            appendNumber(out, narrowSpec(ps, "llX"),
                         static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(ptr)));
            break;
        }
        case L'c':
        case L'C': {
            std::wstring body;
            const int v = va_arg(args, int);
            const bool narrow = spec.length == FormatSpec::H || (conv == L'C' && spec.length != FormatSpec::L);
            if (narrow)
                body = static_cast<wchar_t>(static_cast<unsigned char>(v));
            else
                body = static_cast<wchar_t>(kWide16 ? (static_cast<unsigned>(v) & 0xFFFFu) : static_cast<unsigned>(v));
            pad(out, body, spec);
            break;
        }
        case L's':
        case L'S': {
            const bool narrow = spec.length == FormatSpec::H || (conv == L'S' && spec.length != FormatSpec::L);
            std::wstring body;
            if (narrow) {
                const char* s = va_arg(args, const char*);
                if (!s)
                    body = L"(null)";
                else {
                    size_t n = 0;
                    while (s[n] && (spec.precision < 0 || n < static_cast<size_t>(spec.precision) * 4))
                        ++n;
                    body = MAV::utf8ToWide(s, n);
                }
            } else {
                const wchar_t* s = va_arg(args, const wchar_t*);
                if (!s)
                    body = L"(null)";
                else {
                    size_t n = 0;
                    while (s[n] && (spec.precision < 0 || n < static_cast<size_t>(spec.precision)))
                        ++n;
                    body.assign(s, n);
                }
            }
            if (spec.precision >= 0 && body.size() > static_cast<size_t>(spec.precision))
                body.resize(static_cast<size_t>(spec.precision));
            pad(out, body, spec);
            break;
        }
        default:
            out.append(start, p);
            break;
        }
    }
    return CMavString(std::move(out));
}

CMavString CMavString::format(const wchar_t* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    CMavString r = vformat(fmt, args);
    va_end(args);
    return r;
}

CMavString& CMavString::setFormat(const wchar_t* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    CMavString r = vformat(fmt, args);
    va_end(args);
    m_s.swap(r.m_s);
    return *this;
}

std::ostream& operator<<(std::ostream& os, const CMavString& s)
{
    return os << s.utf8();
}
