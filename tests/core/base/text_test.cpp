// Lengths and numbers as text: AutoCAD's length formats both ways, tolerant number reading, splitting, escaping.
#include "base/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace {

std::string rtos(double v, Mav::lFormat f, int prec, bool compact)
{
    return mavRtoS(v, f, prec, compact).utf8();
}

constexpr Mav::lFormat kSci = Mav::kFormatScientific, kDec = Mav::kFormatDecimal, kEng = Mav::kFormatEngineering,
                       kArch = Mav::kFormatArchitectural, kFrac = Mav::kFormatFractional;

} // namespace

TEST(LengthText, ReadsEveryAutocadLengthFormAndRefusesTheRest)
{
    // Decimal and scientific with either separator; engineering and architectural (feet are 12 inches, the sign
    // applies to the whole length); fractional and inch-only forms.
    const std::pair<const wchar_t*, double> good[] = {
        {L"12.5", 12.5}, {L"  -3 ", -3.0}, {L"+.5", 0.5}, {L"7.", 7.0}, {L"1,5", 1.5}, {L"1.2500E+01", 12.5},
        {L"25e-1", 2.5}, {L"1'-5.5\"", 17.5}, {L"1'-5 1/2\"", 17.5}, {L"-1'-5 1/2\"", -17.5}, {L"1' 5-1/2", 17.5},
        {L"1'5\"", 17.0}, {L"2'", 24.0}, {L"1.5'", 18.0}, {L"0'-0 1/256\"", 1.0 / 256.0}, {L"5 1/2", 5.5},
        {L"5-1/2", 5.5}, {L"3/4\"", 0.75}, {L"3/2", 1.5}, {L"6\"", 6.0}, {L"-3/4", -0.75},
        {L"1e-400", 0.0}}; // underflow is a tiny length, not an error
    for (const auto& g : good) {
        double v = -12345.0;
        EXPECT_TRUE(mavAtoF(g.first, v)) << CMavString(g.first).utf8();
        EXPECT_DOUBLE_EQ(v, g.second) << CMavString(g.first).utf8();
    }
    // Broken and hostile texts are refused and leave the value alone; digits from other scripts are no numbers.
    const std::wstring huge(5000, L'9');
    for (const std::wstring& bad :
         std::initializer_list<std::wstring>{L"", L"   ", L"-", L".", L"1'-", L"1'-\"", L"1/0", L"5 1/0", L"1/", L"5-",
                                             L"5.5 1/2", L"12 mm", L"90\u00B0", L"1''2", L"--1", L"NaN", L"inf",
                                             L"1e400", L"1e308'", huge + L"e400", L"\u0661\u0662"}) {
        double v = -12345.0;
        EXPECT_FALSE(mavAtoF(bad.c_str(), v)) << CMavString(bad.c_str()).utf8();
        EXPECT_EQ(v, -12345.0);
    }
    double v = 0.0;
    EXPECT_FALSE(mavAtoF(nullptr, v));
    ASSERT_TRUE(mavAtoF((L"0." + huge).c_str(), v)); // a number far longer than any buffer still reads
    EXPECT_NEAR(v, 1.0, 1e-15);
    // The single-result form gives 0 for what it cannot read.
    EXPECT_DOUBLE_EQ(mavAtoF(L"2'-6\""), 30.0);
    EXPECT_DOUBLE_EQ(mavAtoF(L"abc"), 0.0);
}

TEST(LengthText, WritesTheFormatsAsAutocadDoes)
{
    // Rounding carries into the next inch and foot; a value that rounds to zero carries no minus sign; the
    // precision is clamped (no negative decimals, no finer fraction than 1/256); exact halves (all exact binary
    // fractions) round away from zero in every format, while 2.675, stored a little below, stays below.
    const struct {
        double value;
        Mav::lFormat format;
        int prec;
        bool compact;
        const char* text;
    } cases[] = {
        {17.5, kSci, 4, false, "1.7500E+01"}, {17.5, kDec, 4, false, "17.5000"},
        {-2.0 / 3.0, kDec, 3, false, "-0.667"}, {17.5, kEng, 2, false, "1'-5.50\""},
        {6.0, kEng, 1, false, "0'-6.0\""}, {17.5, kArch, 4, false, "1'-5 1/2\""}, {12.0, kArch, 4, false, "1'-0\""},
        {0.5, kArch, 4, false, "0'-0 1/2\""}, {17.3, kArch, 3, false, "1'-5 1/4\""},
        {17.5, kFrac, 4, false, "17 1/2"}, {0.75, kFrac, 4, false, "3/4"}, {-0.75, kFrac, 4, false, "-3/4"},
        {17.3, kFrac, 0, false, "17"},
        {11.999, kEng, 2, false, "1'-0.00\""}, {11.99, kArch, 4, false, "1'-0\""}, {4.99, kFrac, 4, false, "5"},
        {-0.0001, kDec, 2, false, "0.00"}, {-0.001, kArch, 2, false, "0'-0\""}, {-0.001, kFrac, 2, false, "0"},
        {2.5, kDec, -3, false, "3"}, {1.0 / 1024.0 + 3.0, kFrac, 12, false, "3"},
        {2.5, kDec, 0, false, "3"}, {-2.5, kDec, 0, false, "-3"}, {0.125, kDec, 2, false, "0.13"},
        {2.675, kDec, 2, false, "2.67"}, {1.25, kSci, 1, false, "1.3E+00"}, {9.5, kSci, 0, false, "1E+01"},
        {-99.5, kSci, 1, false, "-1.0E+02"}, {1234.5, kEng, 0, false, "102'-11\""},
        {6.25, kEng, 1, false, "0'-6.3\""}, {1234.5, kArch, 0, false, "102'-11\""},
        {-0.03125, kArch, 4, false, "-0'-0 1/16\""}, {2.5, kFrac, 0, false, "3"}, {0.03125, kFrac, 4, false, "1/16"},
        // The compact flag leaves out trailing zeros and empty parts.
        {12.5, kDec, 8, true, "12.5"}, {-0.000000001, kDec, 8, true, "0"},
        {17.5, kSci, 4, true, "1.75E+01"}, {17.5, kEng, 4, true, "1'-5.5\""},
        {6.25, kEng, 4, true, "6.25\""}, {24.0, kEng, 4, true, "2'"}, {0.0, kEng, 4, true, "0\""},
        {6.5, kArch, 4, true, "6 1/2\""}, {0.5, kArch, 4, true, "1/2\""}, {-24.0, kArch, 4, true, "-2'"},
        {0.0, kArch, 4, true, "0\""}, {24.5, kArch, 4, true, "2'-0 1/2\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rtos(c.value, c.format, c.prec, c.compact), c.text) << c.value << " format " << c.format;

    // Unknown formats and non-finite values fail without touching the text.
    CMavString out(L"unchanged");
    for (int f : {int(Mav::kFormatNone), int(Mav::kFormatCurrent), 6})
        EXPECT_FALSE(mavRtoS(1.0, static_cast<Mav::lFormat>(f), 2, false, out)) << f;
    EXPECT_FALSE(mavRtoS(std::numeric_limits<double>::infinity(), kArch, 2, false, out));
    EXPECT_EQ(out, L"unchanged");
    EXPECT_TRUE(mavRtoS(std::nan(""), kDec, 2, false).isEmpty());
    // Huge lengths are written in full and read back; the largest double fits as decimal text.
    for (int f = 1; f <= 5; ++f) {
        double back = 0.0;
        const CMavString big = mavRtoS(-1.5e300, static_cast<Mav::lFormat>(f), 8, false);
        ASSERT_TRUE(mavAtoF(big, back)) << big.utf8();
        EXPECT_NEAR(back / -1.5e300, 1.0, 1e-8) << big.utf8();
    }
    EXPECT_EQ(mavRtoS(1.7976931348623157e308, kDec, 0, false).len(), 309);
    EXPECT_FALSE(mavRtoS(1.7976931348623157e308, kEng, 0, false).isEmpty());
}

// Every text written in every format reads back as the value within the format's precision: half a unit of
// the last decimal for formats 1-3, half the finest fraction for 4 and 5.
TEST(LengthText, WrittenLengthsReadBackWithinThePrecision)
{
    std::mt19937_64 gen(20240611);
    std::uniform_real_distribution<double> mag(-6.0, 5.0);
    std::uniform_int_distribution<int> precDist(0, 8), coin(0, 1);
    for (int i = 0; i < 4000; ++i) {
        double x = std::pow(10.0, mag(gen)) * (coin(gen) ? -1 : 1);
        if (i % 97 == 0)
            x = std::round(x * 4.0) / 4.0; // exact quarters hit the carry paths
        const int prec = precDist(gen);
        const bool compact = coin(gen) != 0;
        for (int f = 1; f <= 5; ++f) {
            const CMavString text = mavRtoS(x, static_cast<Mav::lFormat>(f), prec, compact);
            double back = std::nan("");
            ASSERT_TRUE(mavAtoF(text, back)) << text.utf8() << " from " << x;
            const double tol = f == 1   ? 0.5 * std::pow(10.0, std::floor(std::log10(std::fabs(x))) - prec)
                               : f <= 3 ? 0.5 * std::pow(10.0, -prec)
                                        : 0.5 / std::ldexp(1.0, prec);
            EXPECT_LE(std::fabs(back - x), tol * (1 + 1e-9) + 1e-12 * std::fabs(x))
                << text.utf8() << " from " << x << " format " << f << " prec " << prec;
        }
    }
}

TEST(NumberText, AtofAndAtoiReadTheLeadingNumberAndIgnoreTheRest)
{
    const double big = std::numeric_limits<double>::max();
    const std::pair<const wchar_t*, double> reals[] = {
        {L"90\u00B0", 90.0}, {L"  -12.5abc", -12.5}, {L"3,25", 3.25}, {L"1e3x", 1000.0}, {L"2e", 2.0}, {L"x12", 0.0},
        {L"", 0.0}, {nullptr, 0.0}, {L"1'-6\"", 1.0}, {L"1e999", big}, {L"-1e999", -big}, {L"1e-999", 0.0},
        {L"nan", 0.0}};
    for (const auto& r : reals)
        EXPECT_DOUBLE_EQ(MAV::atof(r.first), r.second) << (r.first ? CMavString(r.first).utf8() : "null");
    const int imax = std::numeric_limits<int>::max(), imin = std::numeric_limits<int>::min();
    const std::pair<const wchar_t*, int> ints[] = {{L"16711680", 16711680}, {L" -42px", -42}, {L"12.9", 12},
                                                   {L"99999999999999999999", imax}, {L"-99999999999999999999", imin},
                                                   {L"-2147483648", imin}, {L"abc", 0}, {nullptr, 0}};
    for (const auto& i : ints)
        EXPECT_EQ(MAV::atoi(i.first), i.second) << (i.first ? CMavString(i.first).utf8() : "null");
}

TEST(TextSplit, KeepsOrDropsEmptyParts)
{
    // {text, delimiters, keep empty parts, parts joined by '|'}.
    const struct {
        const wchar_t *text, *delims;
        bool keep;
        const wchar_t* joined;
        int count;
    } cases[] = {{L"\\MAV_OUTL_0004\\...", L"\\", true, L"|MAV_OUTL_0004|...", 3},
                 {L"a\\b\\c\\d", L"\\", true, L"a|b|c|d", 4},
                 {L"a\\\\", L"\\", true, L"a||", 3}, {L"", L"\\", true, L"", 1}, {L"", L"\\", false, L"", 0},
                 {L"\\\\Mav\\\\topic\\", L"\\", false, L"Mav|topic", 2}, {L"a, b;c", L",; ", false, L"a|b|c", 3},
                 {nullptr, L",", true, L"", 0}, {L"abc", nullptr, false, L"abc", 1}};
    for (const auto& c : cases) {
        CMavArrayTempl<CMavString> parts{L"stale"};
        EXPECT_EQ(MAV::strTok(c.text, c.delims, parts, c.keep), c.count) << CMavString(c.joined).utf8();
        CMavString joined;
        for (int i = 0; i < parts.len(); ++i)
            joined += (i ? L"|" : L"") + parts[i];
        EXPECT_EQ(joined, c.joined);
    }
}

TEST(TextEscape, LineBreaksBecomeBackslashNAndComeBack)
{
    EXPECT_EQ(escapeWideChar(L"line 1\r\nline 2\nline 3"), L"line 1\\nline 2\\nline 3");
    EXPECT_EQ(escapeWideChar(L"a\tb\rc\x01\x7F C:\\path \u00E4\u20AC"), L"a\\tb\\rc\\x01\\x7F C:\\path \u00E4\u20AC");
    EXPECT_EQ(escapeWideChar(nullptr), L"");
    // Two hex digits of either case; anything else after a backslash stays as it is.
    EXPECT_EQ(unescapeWideChar(L"line 1\\nline 2\\tx\\x41\\q\\x4"), L"line 1\nline 2\txA\\q\\x4");
    EXPECT_EQ(unescapeWideChar(L"\\x4a\\xB0\\xg0\\x@0\\x[0"), L"J\u00B0\\xg0\\x@0\\x[0");
    const CMavString text(L"Kante\nvorne\tlinks\r\x02 \u00FC");
    EXPECT_EQ(unescapeWideChar(escapeWideChar(text)), text);
}
