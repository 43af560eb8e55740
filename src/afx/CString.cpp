// CString's searching, editing, formatting and string-table loading.
#include "afx/CString.h"

#include "afx/CWinApp.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace {
const wchar_t* const kSpace = L" \t\r\n\v\f";

size_t clampIndex(int i, size_t size)
{
    return i < 0 ? 0 : std::min(static_cast<size_t>(i), size);
}
} // namespace

CString::CString(const wchar_t* s, int length)
{
    if (s && length > 0)
        m_str.assign(s, static_cast<size_t>(length));
}

CString::CString(wchar_t ch, int repeat)
{
    if (repeat > 0)
        m_str.assign(static_cast<size_t>(repeat), ch);
}

CString::CString(const char* s)
{
    if (!s || !*s)
        return;
    int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
    if (n <= 1)
        return;
    m_str.resize(static_cast<size_t>(n));
    MultiByteToWideChar(CP_ACP, 0, s, -1, &m_str[0], n);
    m_str.resize(static_cast<size_t>(n - 1));
}

int CString::Compare(const wchar_t* s) const
{
    return m_str.compare(s ? s : L"");
}

int CString::CompareNoCase(const wchar_t* s) const
{
    // Both sides are upper-cased with the system's mapping (which knows umlauts) and compared ordinally.
    CString a(*this), b(s);
    a.MakeUpper();
    b.MakeUpper();
    return a.m_str.compare(b.m_str);
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    size_t from = clampIndex(first, m_str.size());
    if (count <= 0)
        return CString();
    return CString(m_str.substr(from, static_cast<size_t>(count)));
}

CString CString::Left(int count) const
{
    return CString(m_str.substr(0, clampIndex(count, m_str.size())));
}

CString CString::Right(int count) const
{
    size_t n = clampIndex(count, m_str.size());
    return CString(m_str.substr(m_str.size() - n));
}

int CString::Find(wchar_t ch, int start) const
{
    if (start < 0 || static_cast<size_t>(start) > m_str.size())
        return -1;
    size_t p = m_str.find(ch, static_cast<size_t>(start));
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
}

int CString::Find(const wchar_t* sub, int start) const
{
    if (!sub || start < 0 || static_cast<size_t>(start) > m_str.size())
        return -1;
    size_t p = m_str.find(sub, static_cast<size_t>(start));
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
}

int CString::ReverseFind(wchar_t ch) const
{
    size_t p = m_str.rfind(ch);
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
}

int CString::FindOneOf(const wchar_t* chars) const
{
    if (!chars)
        return -1;
    size_t p = m_str.find_first_of(chars);
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText)
{
    if (!oldText || !*oldText)
        return 0;
    const std::wstring from(oldText), to(newText ? newText : L"");
    int count = 0;
    size_t p = 0;
    while ((p = m_str.find(from, p)) != std::wstring::npos) {
        m_str.replace(p, from.size(), to);
        p += to.size();
        ++count;
    }
    return count;
}

int CString::Replace(wchar_t oldCh, wchar_t newCh)
{
    int count = 0;
    for (wchar_t& c : m_str) {
        if (c == oldCh) {
            c = newCh;
            ++count;
        }
    }
    return count;
}

int CString::Remove(wchar_t ch)
{
    size_t before = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
    return static_cast<int>(before - m_str.size());
}

int CString::Insert(int index, const wchar_t* s)
{
    if (s)
        m_str.insert(clampIndex(index, m_str.size()), s);
    return GetLength();
}

int CString::Insert(int index, wchar_t ch)
{
    m_str.insert(clampIndex(index, m_str.size()), 1, ch);
    return GetLength();
}

int CString::Delete(int index, int count)
{
    if (count > 0 && index >= 0 && static_cast<size_t>(index) < m_str.size())
        m_str.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    return GetLength();
}

CString& CString::MakeUpper()
{
    if (!m_str.empty())
        CharUpperBuffW(&m_str[0], static_cast<DWORD>(m_str.size()));
    return *this;
}

CString& CString::MakeLower()
{
    if (!m_str.empty())
        CharLowerBuffW(&m_str[0], static_cast<DWORD>(m_str.size()));
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(m_str.begin(), m_str.end());
    return *this;
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

CString& CString::TrimLeft()
{
    return TrimLeft(kSpace);
}

CString& CString::TrimRight()
{
    return TrimRight(kSpace);
}

CString& CString::Trim(const wchar_t* chars)
{
    return TrimRight(chars).TrimLeft(chars);
}

CString& CString::TrimLeft(const wchar_t* chars)
{
    size_t p = m_str.find_first_not_of(chars ? chars : L"");
    m_str.erase(0, p == std::wstring::npos ? m_str.size() : p);
    return *this;
}

CString& CString::TrimRight(const wchar_t* chars)
{
    size_t p = m_str.find_last_not_of(chars ? chars : L"");
    m_str.erase(p == std::wstring::npos ? 0 : p + 1);
    return *this;
}

void CString::FormatV(const wchar_t* format, va_list args)
{
    m_str.clear();
    if (!format)
        return;
    // The Windows runtime's formatter is used on purpose: in wide formats it reads %s as a wide string, which is
    // what every format text of this library expects.
    va_list count;
    va_copy(count, args);
    int n = _vscwprintf(format, count);
    va_end(count);
    if (n <= 0)
        return;
    std::vector<wchar_t> buf(static_cast<size_t>(n) + 1);
    int written = _vsnwprintf(buf.data(), buf.size(), format, args);
    if (written > 0)
        m_str.assign(buf.data(), static_cast<size_t>(std::min(written, n)));
}

void CString::Format(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(const wchar_t* format, ...)
{
    CString tail;
    va_list args;
    va_start(args, format);
    tail.FormatV(format, args);
    va_end(args);
    m_str += tail.m_str;
}

bool CString::LoadString(UINT id)
{
    // String tables are stored in blocks of 16 strings; block n + 1 holds ids 16 n ... 16 n + 15.
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW((id >> 4) + 1), RT_STRING);
    return LoadString(module, id);
}

bool CString::LoadString(HINSTANCE module, UINT id)
{
    m_str.clear();
    const wchar_t* text = nullptr;
    // With a buffer size of 0 the call hands out a pointer into the resource and the length: no copy limit.
    int n = ::LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (n <= 0 || !text)
        return false;
    m_str.assign(text, static_cast<size_t>(n));
    return true;
}

wchar_t* CString::GetBuffer(int minLength)
{
    if (minLength > 0 && static_cast<size_t>(minLength) > m_str.size())
        m_str.resize(static_cast<size_t>(minLength));
    return &m_str[0];
}

wchar_t* CString::GetBufferSetLength(int length)
{
    m_str.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return &m_str[0];
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0)
        newLength = static_cast<int>(wcsnlen(m_str.c_str(), m_str.size()));
    m_str.resize(std::min(static_cast<size_t>(newLength), m_str.size()));
}
