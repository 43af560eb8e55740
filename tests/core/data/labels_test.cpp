// Labels: one text per language in a label string, with backslashes and line breaks inside texts.
#include <gtest/gtest.h>

#include <vector>

#include "data/labels.h"
#include "data/messages.h"

TEST(Labels, SetAndGetPerLanguage)
{
    CMavString label;
    EXPECT_TRUE(MAV::label_set(label, L"de", L"T\u00fcr"));
    EXPECT_EQ(label, L"\\de=T\u00fcr");
    EXPECT_TRUE(MAV::label_set(label, L"en", L"Door\nwith C:\\path\\"));
    EXPECT_EQ(label, L"\\de=T\u00fcr\\en=Door\nwith C:\\\\path\\\\");
    EXPECT_EQ(MAV::label_get(label, L"EN"), L"Door\nwith C:\\path\\");
    EXPECT_EQ(MAV::label_get(label, L"de"), L"T\u00fcr");
    CMavString text(L"stale");
    EXPECT_FALSE(MAV::label_get(label, L"fr", text));
    EXPECT_EQ(text, L"");

    // Replacing keeps the order; an empty text removes the language.
    EXPECT_TRUE(MAV::label_set(label, L"DE", L"Tor"));
    CMavArrayTempl<CMavString> codes;
    EXPECT_EQ(MAV::label_codes(label, codes), 2);
    EXPECT_EQ(codes[0], L"de");
    EXPECT_EQ(MAV::label_get(label, L"de"), L"Tor");
    EXPECT_TRUE(MAV::label_set(label, L"de", L""));
    EXPECT_EQ(MAV::label_codes(label, codes), 1);
    EXPECT_EQ(codes[0], L"en");
    EXPECT_TRUE(MAV::label_set(label, L"en", nullptr));
    EXPECT_EQ(label, L"");

    // Codes with '=' or a backslash, empty or overlong codes are refused.
    EXPECT_FALSE(MAV::label_set(label, L"", L"x"));
    EXPECT_FALSE(MAV::label_set(label, L"a=b", L"x"));
    EXPECT_FALSE(MAV::label_set(label, L"a\\b", L"x"));
    EXPECT_FALSE(MAV::label_set(label, L"abcdefghijklmnopqrstuvwxyz0123456", L"x"));
    EXPECT_FALSE(MAV::label_set(label, nullptr, L"x"));
    EXPECT_EQ(label, L"");
}

TEST(Labels, PlainTextsCountForEveryLanguage)
{
    MAV::msgReset();
    EXPECT_EQ(MAV::label_get(L"Schrank", L"fr"), L"Schrank");
    CMavArrayTempl<CMavString> codes;
    EXPECT_EQ(MAV::label_codes(L"Schrank", codes), 0);
    // Setting into a plain text keeps it as the current language's text.
    CMavString label(L"Schrank");
    MAV::label_set(label, L"en", L"Cabinet");
    EXPECT_EQ(label, L"\\de=Schrank\\en=Cabinet");
    EXPECT_FALSE(MAV::label_get(nullptr, L"de", label));
    EXPECT_FALSE(MAV::label_get(L"", L"de", label));
}

TEST(Labels, MalformedLabelsGiveTheirWellFormedParts)
{
    // Stray backslashes, a part without '=', an empty code, a trailing backslash: only whole parts count.
    const wchar_t* label = L"\\\\de=A\\xx\\=B\\en=C\\\\\\fr=D\\";
    EXPECT_EQ(MAV::label_get(label, L"de"), L"A");
    EXPECT_EQ(MAV::label_get(label, L"en"), L"C\\");
    EXPECT_EQ(MAV::label_get(label, L"fr"), L"D");
    CMavArrayTempl<CMavString> codes;
    EXPECT_EQ(MAV::label_codes(label, codes), 3);
    // Writing drops the malformed parts and keeps the rest.
    CMavString l(label);
    MAV::label_set(l, L"it", L"E");
    EXPECT_EQ(l, L"\\de=A\\en=C\\\\\\fr=D\\it=E");
    EXPECT_EQ(MAV::label_get(L"\\", L"de"), L"");
    // A language given twice: reading takes the first; setting keeps one part.
    CMavString twice(L"\\de=A\\en=B\\DE=C");
    EXPECT_EQ(MAV::label_get(twice, L"de"), L"A");
    MAV::label_set(twice, L"de", L"X");
    EXPECT_EQ(twice, L"\\de=X\\en=B");
    twice = L"\\de=A\\en=B\\DE=C";
    MAV::label_set(twice, L"de", L"");
    EXPECT_EQ(twice, L"\\en=B");
    EXPECT_EQ(MAV::label_get(L"\\de", L"de"), L"");
    EXPECT_EQ(MAV::label_get(L"\\de=", L"de"), L"");
    EXPECT_TRUE(MAV::label_get(L"\\de=", L"de", l));
}

TEST(Labels, FromTheSharedStore)
{
    using V = MAV::LabelStoreValue;
    struct Case {
        std::vector<V> values;
        bool multi;
        const wchar_t* label;
        int set;
    };
    const Case cases[] = {
        // Table order, whatever the store's; names in any case; backslash-n a line break or a blank.
        {{{L"EN", L"Door"}, {L"de", L"T\u00fcr\\nzu"}}, true, L"\\de=T\u00fcr\nzu\\en=Door", 2},
        {{{L"de", L"a\\nb\\\\n"}}, false, L"\\de=a b\\\\ ", 1},
        // Unknown names, an empty text, a repeated name (its first value counts).
        {{{L"xx", L"fremd"}, {L"fr", L""}, {L"it", L"eins"}, {L"IT", L"zwei"}, {L"", L"leer"}}, true, L"\\it=eins", 1},
        {{}, true, L"", 0},
    };
    for (const Case& c : cases) {
        CMavArrayTempl<V> values;
        for (const V& v : c.values)
            values.append(v);
        CMavString label;
        EXPECT_EQ(MAV::label_from_store(label, values, c.multi), c.set) << c.label;
        EXPECT_EQ(label, c.label);
    }
    // Languages already in the label keep their place; an empty stored text removes its language.
    CMavString label(L"\\zz=vorher\\de=alt\\en=old");
    CMavArrayTempl<V> values;
    values.append(V{L"de", L""});
    values.append(V{L"en", L"new"});
    EXPECT_EQ(MAV::label_from_store(label, values, false), 1);
    EXPECT_EQ(label, L"\\zz=vorher\\en=new");
}
