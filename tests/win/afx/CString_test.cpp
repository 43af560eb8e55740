// The wide string: formatting with the Windows rules, searching and editing against std::wstring with indices
// clamped to the text, case mapping of umlauts, and strings from the resource module's string table.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "afx/afxwin.h"
#include "afx_test_support.h"

TEST(AfxString, FormatReadsPercentSAsWideTextAndNeverCuts)
{
    CString s;
    s.Format(L"%s=%d (%.2f) %S [%5s|%-4d]", L"Länge", 42, 3.14159, "abc", L"x", 7);
    s.AppendFormat(L"%c", L'ß');
    EXPECT_EQ(s, L"Länge=42 (3.14) abc [    x|7   ]ß");
    s.Format(L"<%s>", CString(L'w', 3000).GetString());
    EXPECT_EQ(s.GetLength(), 3002);
}

// Every index out of range is clamped to the text (Find answers -1 for a start outside it): the same results as
// the standard string with the index clamped, over random texts and indices.
TEST(AfxString, SearchingAndEditingMatchTheStandardStringWithClampedIndices)
{
    std::mt19937 rnd(7);
    const wchar_t alphabet[] = L"ab;ä";
    auto pick = [&rnd](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rnd); };
    for (int round = 0; round < 400; ++round) {
        std::wstring m;
        for (int k = pick(0, 8); k > 0; --k)
            m += alphabet[pick(0, 3)];
        const int n = static_cast<int>(m.size()), i = pick(-2, n + 2), c = pick(-2, n + 2);
        const size_t ci = static_cast<size_t>(std::min(std::max(i, 0), n)), cc = std::min(std::max(c, 0), n);
        const wchar_t ch = alphabet[pick(0, 3)];
        const std::wstring sub = m.substr(ci, 2);
        auto found = [](size_t p) { return p == std::wstring::npos ? -1 : static_cast<int>(p); };
        const CString s(m.c_str());
        SCOPED_TRACE(testing::Message() << "round " << round << " i " << i << " c " << c);
        EXPECT_EQ(s.Find(ch, i), i < 0 || i > n ? -1 : found(m.find(ch, ci)));
        EXPECT_EQ(s.Find(sub.c_str(), i), i < 0 || i > n ? -1 : found(m.find(sub, ci)));
        EXPECT_EQ(s.ReverseFind(ch), found(m.rfind(ch)));
        EXPECT_EQ(s.FindOneOf(L"ä;"), found(m.find_first_of(L"ä;")));
        EXPECT_EQ(s.Mid(i, c), c <= 0 ? L"" : m.substr(ci, static_cast<size_t>(c)).c_str());
        EXPECT_EQ(s.Mid(i), m.substr(ci).c_str());
        EXPECT_EQ(s.Left(c), m.substr(0, cc).c_str());
        EXPECT_EQ(s.Right(c), m.substr(m.size() - cc).c_str());
        CString e(s);
        std::wstring want = m;
        e.Insert(i, L"-+");
        want.insert(ci, L"-+");
        EXPECT_EQ(e, want.c_str());
        e.Delete(c, 2);
        if (c >= 0 && c < static_cast<int>(want.size()))
            want.erase(static_cast<size_t>(c), 2);
        EXPECT_EQ(e, want.c_str());
        const int removed = e.Remove(ch);
        const size_t before = want.size();
        want.erase(std::remove(want.begin(), want.end(), ch), want.end());
        EXPECT_EQ(e, want.c_str());
        EXPECT_EQ(removed, static_cast<int>(before - want.size()));
    }
}

TEST(AfxString, ReplaceTrimCaseAndBuffer)
{
    struct Row {
        const wchar_t *text, *from, *to, *result;
        int count;
    } rows[] = {{L"Kante;Fläche;Kante", L"Kante", L"K", L"K;Fläche;K", 2},
                {L"aaa", L"a", L"aa", L"aaaaaa", 3},
                {L"abc", L"", L"x", L"abc", 0}};
    for (const Row& r : rows) {
        CString s(r.text);
        EXPECT_EQ(s.Replace(r.from, r.to), r.count) << r.text;
        EXPECT_EQ(s, r.result);
    }
    EXPECT_EQ(CString(L" \t Wert \r\n").Trim(), L"Wert");
    EXPECT_EQ(CString(L"xxaxx").Trim(L"x"), L"a");
    EXPECT_EQ(CString(L"Größe äöü").MakeUpper(), L"GRÖßE ÄÖÜ");
    EXPECT_EQ(CString(L"Äpfel").CompareNoCase(L"äPFEL"), 0);
    EXPECT_LT(CString(L"abc").CompareNoCase(L"ABD"), 0);
    CString buffer;
    wcscpy(buffer.GetBuffer(10), L"abc");
    buffer.ReleaseBuffer();
    EXPECT_EQ(buffer + L"d" + CString(L'e', 2), L"abcdee");
}

TEST(AfxString, LoadStringReadsTheTableOfTheModuleThatHasIt)
{
    // Through the resource module, exactly what the system reader gives, at full length; a missing string leaves
    // the text empty.
    CString s(L"stale");
    EXPECT_FALSE(s.LoadString(64000) || !s.IsEmpty());
    HINSTANCE user32 = GetModuleHandleW(L"user32.dll"), previous = AfxGetResourceHandle();
    const wchar_t* raw = nullptr;
    const int rawLength = LoadStringW(user32, 2, reinterpret_cast<LPWSTR>(&raw), 0);
    ASSERT_GT(rawLength, 0);
    AfxSetResourceHandle(user32);
    const bool loaded = s.LoadString(2);
    AfxSetResourceHandle(previous);
    EXPECT_TRUE(loaded);
    EXPECT_EQ(s, CString(raw, rawLength));
}
