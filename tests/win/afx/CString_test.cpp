// The wide string: formatting with the Windows rules, searching and editing at the edges, case mapping of
// umlauts, and strings from the resource module's string table.
#include <gtest/gtest.h>

#include <string>

#include "afx/afxwin.h"
#include "afx_test_support.h"

TEST(AfxString, FormatReadsPercentSAsWideText)
{
    CString s;
    s.Format(L"%s=%d (%.2f) %S [%5s|%-4d]", L"Länge", 42, 3.14159, "abc", L"x", 7);
    EXPECT_EQ(s, L"Länge=42 (3.14) abc [    x|7   ]");
    s.AppendFormat(L"%c%u", L'ß', 4000000000u);
    EXPECT_EQ(s, L"Länge=42 (3.14) abc [    x|7   ]ß4000000000");
    // Long results are not cut.
    CString longText(L'w', 3000);
    s.Format(L"<%s>", longText.GetString());
    EXPECT_EQ(s.GetLength(), 3002);
    EXPECT_EQ(s.Right(2), L"w>");
    s.Format(L"\nSetDlgItemText failed:\nDlgID = %d\nKEY = '%s'", 1090, L"MAV022");
    EXPECT_EQ(s, L"\nSetDlgItemText failed:\nDlgID = 1090\nKEY = 'MAV022'");
}

TEST(AfxString, SearchingAndEditingStayWithinTheText)
{
    CString s(L"Kante;Fläche;Kante");
    EXPECT_EQ(s.Find(L';'), 5);
    EXPECT_EQ(s.Find(L"Kante", 1), 13);
    EXPECT_EQ(s.Find(L"Kante", 19), -1);
    EXPECT_EQ(s.Find(L'K', -1), -1);
    EXPECT_EQ(s.ReverseFind(L';'), 12);
    EXPECT_EQ(s.FindOneOf(L"äö"), 8);
    EXPECT_EQ(s.Mid(6, 6), L"Fläche");
    EXPECT_EQ(s.Mid(13, 100), L"Kante");
    EXPECT_EQ(s.Mid(40), L"");
    EXPECT_EQ(s.Mid(-3, 2), L"Ka");
    EXPECT_EQ(s.Left(-1), L"");
    EXPECT_EQ(s.Left(99), s);
    EXPECT_EQ(s.Right(5), L"Kante");
    EXPECT_EQ(s.Replace(L"Kante", L"K"), 2);
    EXPECT_EQ(s, L"K;Fläche;K");
    EXPECT_EQ(s.Replace(L"", L"x"), 0);
    EXPECT_EQ(s.Remove(L';'), 2);
    EXPECT_EQ(s, L"KFlächeK");
    s.Insert(1, L"-");
    s.Insert(100, L'!');
    EXPECT_EQ(s, L"K-FlächeK!");
    s.Delete(0, 2);
    s.Delete(50, 3);
    EXPECT_EQ(s, L"FlächeK!");

    CString padded(L" \t Wert \r\n");
    EXPECT_EQ(CString(padded).TrimLeft(), L"Wert \r\n");
    EXPECT_EQ(CString(padded).TrimRight(), L" \t Wert");
    EXPECT_EQ(padded.Trim(), L"Wert");
    EXPECT_EQ(CString(L"xxaxx").Trim(L"x"), L"a");
    EXPECT_EQ(CString(L"   ").Trim(), L"");

    CString buffer;
    wcscpy(buffer.GetBuffer(10), L"abc");
    buffer.ReleaseBuffer();
    EXPECT_EQ(buffer.GetLength(), 3);
    EXPECT_EQ(buffer + L"d" + CString(L'e', 2), L"abcdee");
}

TEST(AfxString, CaseMappingKnowsUmlauts)
{
    CString s(L"Größe äöü");
    EXPECT_EQ(CString(s).MakeUpper(), L"GRÖßE ÄÖÜ");
    EXPECT_EQ(CString(L"ÄÖÜ ABC").MakeLower(), L"äöü abc");
    EXPECT_EQ(CString(L"KRV").CompareNoCase(L"krv"), 0);
    EXPECT_EQ(CString(L"Äpfel").CompareNoCase(L"äPFEL"), 0);
    EXPECT_LT(CString(L"abc").CompareNoCase(L"ABD"), 0);
    EXPECT_GT(CString(L"b").Compare(L"a"), 0);
    EXPECT_EQ(CString("ansi text"), L"ansi text");
}

TEST(AfxString, LoadStringReadsTheTableOfTheModuleThatHasIt)
{
    CString s(L"stale");
    EXPECT_FALSE(s.LoadString(64000));
    EXPECT_TRUE(s.IsEmpty()) << "a missing string leaves the text empty";
    // user32 carries a string table; reading through the resource module must give exactly what the system
    // reader gives, at full length.
    HINSTANCE user32 = GetModuleHandleW(L"user32.dll");
    const wchar_t* raw = nullptr;
    int rawLength = LoadStringW(user32, 2, reinterpret_cast<LPWSTR>(&raw), 0);
    ASSERT_GT(rawLength, 0);
    HINSTANCE previous = AfxGetResourceHandle();
    AfxSetResourceHandle(user32);
    bool loaded = s.LoadString(2);
    AfxSetResourceHandle(previous);
    EXPECT_TRUE(loaded);
    EXPECT_EQ(s, CString(raw, rawLength));
    EXPECT_TRUE(s.LoadString(user32, 2));
    EXPECT_EQ(s.GetLength(), rawLength);
}
