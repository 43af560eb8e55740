// Slide names in code page 1252: a UTF-16 surrogate pair is one character, whichever low half closes it.
#include <gtest/gtest.h>

#include "slide/slide.h"

TEST(SlideNames, EverySurrogatePairIsOneQuestionMark)
{
    // The lowest and the highest low halves close a pair; a high half before anything else stands alone.
    const wchar_t text[] = {static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0xDC00), L'a',
                            static_cast<wchar_t>(0xDBFF), static_cast<wchar_t>(0xDFFF), L'b',
                            static_cast<wchar_t>(0xD83D), L'c', 0};
    EXPECT_EQ(MAV::toCp1252(text), "?a?b?c");
}
