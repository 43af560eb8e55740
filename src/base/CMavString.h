// Wide string value of the base library: a std::wstring with the operations the library's callers use.
#pragma once

#include <cstdarg>
#include <iosfwd>
#include <string>

#include "base/CMavObj.h"

// Wide text. Positions and lengths count wchar_t code units (UTF-16 units on Windows, code points on Linux).
// Comparison with operator== / operator< is ordinal on the unsigned code unit values; compareNoCase folds the
// letters of Latin-1, Latin Extended-A, Greek and Cyrillic, independent of any locale.
class CMavString : public CMavObj {
public:
    CMavString() = default;
    CMavString(const wchar_t* text);          // null is the empty string
    CMavString(const char* utf8);             // UTF-8; invalid bytes become U+FFFD; null is the empty string
    CMavString(const std::wstring& text) : m_s(text) {}
    CMavString(std::wstring&& text) : m_s(std::move(text)) {}
    CMavString(const wchar_t* text, int count); // the first count units (stops early at the end of text)
    explicit CMavString(wchar_t ch, int repeat = 1);
    CMavString(const CMavString&) = default;
    CMavString(CMavString&&) noexcept = default;
    ~CMavString() override = default;
    CMavString& operator=(const CMavString&) = default;
    CMavString& operator=(CMavString&&) noexcept = default;
    CMavString& operator=(const wchar_t* text);
    CMavString& operator=(wchar_t ch);

    const wchar_t* c_str() const { return m_s.c_str(); }
    operator const wchar_t*() const { return m_s.c_str(); }
    const std::wstring& wstr() const { return m_s; }
    std::string utf8() const;

    int len() const { return static_cast<int>(m_s.size()); }
    bool isEmpty() const { return m_s.empty(); }
    void empty() { m_s.clear(); }

    // Read access; an index outside 0..len()-1 gives 0.
    wchar_t operator[](int i) const;
    wchar_t getAt(int i) const { return (*this)[i]; }
    // Sets the unit at i; ignored outside 0..len()-1.
    void setAt(int i, wchar_t ch);

    // Position of the first occurrence at or after start, or -1. A negative start counts as 0.
    // An empty needle is found at start when start <= len().
    int find(const CMavString& needle, int start = 0) const;
    int find(wchar_t ch, int start = 0) const;
    int reverseFind(wchar_t ch) const;
    int findOneOf(const CMavString& chars) const;

    // Substrings clamp their arguments: a negative start counts as 0, a negative count means "to the end".
    CMavString mid(int start, int count = -1) const;
    CMavString left(int n) const;
    CMavString right(int n) const;

    // Replaces every non-overlapping occurrence from left to right; returns the count. An empty needle replaces
    // nothing.
    int replace(const CMavString& oldText, const CMavString& newText);
    int replace(wchar_t oldCh, wchar_t newCh);
    int remove(wchar_t ch);
    void insert(int pos, const CMavString& text);
    void erase(int pos, int count = 1);

    CMavString& makeUpper();
    CMavString& makeLower();
    CMavString& makeReverse();
    // Trimming removes space, tab, CR, LF, VT, FF and no-break space.
    CMavString& trim();
    CMavString& trimLeft();
    CMavString& trimRight();

    // printf-like formatting, the same on every platform (see CMavString.cpp for the supported conversions):
    // %s and %ls take const wchar_t*, %hs and %S take UTF-8 const char*, %c takes a wchar_t, %hc a char.
    [[nodiscard]] static CMavString format(const wchar_t* fmt, ...);
    [[nodiscard]] static CMavString vformat(const wchar_t* fmt, va_list args);
    // The same formatting, stored into this string (a static and a non-static member cannot share a name).
    CMavString& setFormat(const wchar_t* fmt, ...);

    // <0, 0 or >0 like wcscmp.
    int compare(const wchar_t* text) const;
    int compareNoCase(const wchar_t* text) const;

    CMavString& operator+=(const CMavString& text)
    {
        m_s += text.m_s;
        return *this;
    }
    CMavString& operator+=(const wchar_t* text);
    CMavString& operator+=(wchar_t ch)
    {
        m_s += ch;
        return *this;
    }

    friend bool operator==(const CMavString& a, const CMavString& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CMavString& a, const wchar_t* b) { return a.compare(b) == 0; }
    friend bool operator==(const wchar_t* a, const CMavString& b) { return b.compare(a) == 0; }
    friend bool operator!=(const CMavString& a, const CMavString& b) { return !(a == b); }
    friend bool operator!=(const CMavString& a, const wchar_t* b) { return !(a == b); }
    friend bool operator!=(const wchar_t* a, const CMavString& b) { return !(a == b); }
    friend bool operator<(const CMavString& a, const CMavString& b) { return a.compare(b.c_str()) < 0; }
    friend bool operator>(const CMavString& a, const CMavString& b) { return b < a; }
    friend bool operator<=(const CMavString& a, const CMavString& b) { return !(b < a); }
    friend bool operator>=(const CMavString& a, const CMavString& b) { return !(a < b); }

    friend CMavString operator+(const CMavString& a, const CMavString& b) { return CMavString(a.m_s + b.m_s); }
    friend CMavString operator+(const CMavString& a, const wchar_t* b)
    {
        CMavString r(a);
        r += b;
        return r;
    }
    friend CMavString operator+(const wchar_t* a, const CMavString& b)
    {
        CMavString r(a);
        r += b;
        return r;
    }
    friend CMavString operator+(const CMavString& a, wchar_t b)
    {
        CMavString r(a);
        r += b;
        return r;
    }
    friend CMavString operator+(wchar_t a, const CMavString& b)
    {
        CMavString r(a);
        r += b;
        return r;
    }

private:
    std::wstring m_s;
};

// Writes the text as UTF-8 (for logs and test messages).
std::ostream& operator<<(std::ostream& os, const CMavString& s);

namespace MAV {
// Conversions between UTF-8 and the platform's wide text (UTF-16 or UTF-32); invalid input becomes U+FFFD.
std::wstring utf8ToWide(const char* s, size_t n);
std::string wideToUtf8(const wchar_t* s, size_t n);
// Code unit as an unsigned value, whatever the width and signedness of wchar_t.
inline unsigned long wcharValue(wchar_t ch)
{
    return sizeof(wchar_t) == 2 ? (static_cast<unsigned long>(ch) & 0xFFFFul)
                                : (static_cast<unsigned long>(ch) & 0xFFFFFFFFul);
}
// Case mapping of one unit (locale-independent, see CMavString).
wchar_t toUpper(wchar_t ch);
wchar_t toLower(wchar_t ch);
} // namespace MAV
