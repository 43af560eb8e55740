// Lengths and numbers as text: AutoCAD's length formats both ways, tolerant number reading, splitting, escaping.
#include "base/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace {

double readLength(const wchar_t* text)
{
    double v = -12345.0;
    EXPECT_TRUE(mavAtoF(text, v)) << CMavString(text).utf8();
    return v;
}

bool rejects(const wchar_t* text)
{
    double v = -12345.0;
    const bool ok = mavAtoF(text, v);
    return !ok && v == -12345.0; // a refused text leaves the value alone
}

std::string rtos(double v, Mav::lFormat f, int prec, bool compact)
{
    return mavRtoS(v, f, prec, compact).utf8();
}

} // namespace

TEST(LengthText, ReadsEveryAutocadLengthForm)
{
    EXPECT_DOUBLE_EQ(readLength(L"12.5"), 12.5);
    EXPECT_DOUBLE_EQ(readLength(L"  -3 "), -3.0);
    EXPECT_DOUBLE_EQ(readLength(L"+.5"), 0.5);
    EXPECT_DOUBLE_EQ(readLength(L"7."), 7.0);
    EXPECT_DOUBLE_EQ(readLength(L"1,5"), 1.5);
    EXPECT_DOUBLE_EQ(readLength(L"1.2500E+01"), 12.5);
    EXPECT_DOUBLE_EQ(readLength(L"25e-1"), 2.5);
    // Engineering and architectural: feet are 12 inches; the sign applies to the whole length.
    EXPECT_DOUBLE_EQ(readLength(L"1'-5.5\""), 17.5);
    EXPECT_DOUBLE_EQ(readLength(L"1'-5 1/2\""), 17.5);
    EXPECT_DOUBLE_EQ(readLength(L"-1'-5 1/2\""), -17.5);
    EXPECT_DOUBLE_EQ(readLength(L"1' 5-1/2"), 17.5);
    EXPECT_DOUBLE_EQ(readLength(L"1'5\""), 17.0);
    EXPECT_DOUBLE_EQ(readLength(L"2'"), 24.0);
    EXPECT_DOUBLE_EQ(readLength(L"1.5'"), 18.0);
    EXPECT_DOUBLE_EQ(readLength(L"0'-0 1/256\""), 1.0 / 256.0);
    // Fractional and inch-only forms.
    EXPECT_DOUBLE_EQ(readLength(L"5 1/2"), 5.5);
    EXPECT_DOUBLE_EQ(readLength(L"5-1/2"), 5.5);
    EXPECT_DOUBLE_EQ(readLength(L"3/4\""), 0.75);
    EXPECT_DOUBLE_EQ(readLength(L"3/2"), 1.5);
    EXPECT_DOUBLE_EQ(readLength(L"6\""), 6.0);
    EXPECT_DOUBLE_EQ(readLength(L"-3/4"), -0.75);
    // The single-result form gives 0 for what it cannot read.
    EXPECT_DOUBLE_EQ(mavAtoF(L"2'-6\""), 30.0);
    EXPECT_DOUBLE_EQ(mavAtoF(L"abc"), 0.0);
}

TEST(LengthText, RefusesBrokenAndHostileTexts)
{
    EXPECT_TRUE(rejects(nullptr));
    EXPECT_TRUE(rejects(L""));
    EXPECT_TRUE(rejects(L"   "));
    EXPECT_TRUE(rejects(L"-"));
    EXPECT_TRUE(rejects(L"."));
    EXPECT_TRUE(rejects(L"1'-"));
    EXPECT_TRUE(rejects(L"1'-\""));
    EXPECT_TRUE(rejects(L"1/0"));
    EXPECT_TRUE(rejects(L"5 1/0"));
    EXPECT_TRUE(rejects(L"1/"));
    EXPECT_TRUE(rejects(L"5-"));
    EXPECT_TRUE(rejects(L"5.5 1/2"));
    EXPECT_TRUE(rejects(L"12 mm"));
    EXPECT_TRUE(rejects(L"90\u00B0"));
    EXPECT_TRUE(rejects(L"1''2"));
    EXPECT_TRUE(rejects(L"--1"));
    EXPECT_TRUE(rejects(L"NaN"));
    EXPECT_TRUE(rejects(L"inf"));
    EXPECT_TRUE(rejects(L"1e400"));
    EXPECT_TRUE(rejects(L"1e308'"));         // finite feet, infinite inches
    EXPECT_DOUBLE_EQ(readLength(L"1e-400"), 0.0); // underflow is a tiny length, not an error
    // A number far longer than any buffer still reads.
    std::wstring huge(5000, L'9');
    EXPECT_TRUE(rejects((huge + L"e400").c_str()));
    EXPECT_NEAR(readLength((L"0." + huge).c_str()), 1.0, 1e-15);
    // Digits from other scripts are not numbers (the text is read by code value, not by locale).
    EXPECT_TRUE(rejects(L"\u0661\u0662"));
}

TEST(LengthText, WritesTheFormatsAsAutocadDoes)
{
    EXPECT_EQ(rtos(17.5, Mav::kFormatScientific, 4, false), "1.7500E+01");
    EXPECT_EQ(rtos(0.00125, Mav::kFormatScientific, 2, false), "1.25E-03");
    EXPECT_EQ(rtos(17.5, Mav::kFormatDecimal, 4, false), "17.5000");
    EXPECT_EQ(rtos(-2.0 / 3.0, Mav::kFormatDecimal, 3, false), "-0.667");
    EXPECT_EQ(rtos(17.5, Mav::kFormatEngineering, 2, false), "1'-5.50\"");
    EXPECT_EQ(rtos(-17.5, Mav::kFormatEngineering, 2, false), "-1'-5.50\"");
    EXPECT_EQ(rtos(6.0, Mav::kFormatEngineering, 1, false), "0'-6.0\"");
    EXPECT_EQ(rtos(17.5, Mav::kFormatArchitectural, 4, false), "1'-5 1/2\"");
    EXPECT_EQ(rtos(12.0, Mav::kFormatArchitectural, 4, false), "1'-0\"");
    EXPECT_EQ(rtos(0.5, Mav::kFormatArchitectural, 4, false), "0'-0 1/2\"");
    EXPECT_EQ(rtos(17.3, Mav::kFormatArchitectural, 3, false), "1'-5 1/4\""); // 0.3 is nearest to 2/8
    EXPECT_EQ(rtos(17.33, Mav::kFormatArchitectural, 3, false), "1'-5 3/8\"");
    EXPECT_EQ(rtos(17.5, Mav::kFormatFractional, 4, false), "17 1/2");
    EXPECT_EQ(rtos(0.75, Mav::kFormatFractional, 4, false), "3/4");
    EXPECT_EQ(rtos(-0.75, Mav::kFormatFractional, 4, false), "-3/4");
    EXPECT_EQ(rtos(17.0, Mav::kFormatFractional, 4, false), "17");
    EXPECT_EQ(rtos(17.3, Mav::kFormatFractional, 0, false), "17");
    // Rounding carries into the next inch and the next foot.
    EXPECT_EQ(rtos(11.999, Mav::kFormatEngineering, 2, false), "1'-0.00\"");
    EXPECT_EQ(rtos(11.99, Mav::kFormatArchitectural, 4, false), "1'-0\"");
    EXPECT_EQ(rtos(4.99, Mav::kFormatFractional, 4, false), "5");
    // A value that rounds to zero carries no minus sign.
    EXPECT_EQ(rtos(-0.0001, Mav::kFormatDecimal, 2, false), "0.00");
    EXPECT_EQ(rtos(-0.001, Mav::kFormatArchitectural, 2, false), "0'-0\"");
    EXPECT_EQ(rtos(-0.001, Mav::kFormatFractional, 2, false), "0");
    // Precision is clamped: no negative decimals, no finer fraction than 1/256.
    EXPECT_EQ(rtos(2.5, Mav::kFormatDecimal, -3, false), "3");
    EXPECT_EQ(rtos(1.0 / 1024.0 + 3.0, Mav::kFormatFractional, 12, false), "3");
}

TEST(LengthText, ExactHalvesRoundAwayFromZeroInEveryFormat)
{
    // Values that lie exactly halfway between two texts (all are exact binary fractions), and near-halves that
    // are not: 2.675 is stored a little below and must stay below.
    const struct {
        double value;
        Mav::lFormat format;
        int prec;
        const char* text;
    } cases[] = {
        {2.5, Mav::kFormatDecimal, 0, "3"},
        {-2.5, Mav::kFormatDecimal, 0, "-3"},
        {0.125, Mav::kFormatDecimal, 2, "0.13"},
        {-0.125, Mav::kFormatDecimal, 2, "-0.13"},
        {-0.5, Mav::kFormatDecimal, 0, "-1"},
        {2.675, Mav::kFormatDecimal, 2, "2.67"},
        {1.25, Mav::kFormatScientific, 1, "1.3E+00"},
        {-0.125, Mav::kFormatScientific, 1, "-1.3E-01"},
        {9.5, Mav::kFormatScientific, 0, "1E+01"},
        {-99.5, Mav::kFormatScientific, 1, "-1.0E+02"},
        {1234.5, Mav::kFormatEngineering, 0, "102'-11\""},
        {-1234.5, Mav::kFormatEngineering, 0, "-102'-11\""},
        {6.25, Mav::kFormatEngineering, 1, "0'-6.3\""},
        {1234.5, Mav::kFormatArchitectural, 0, "102'-11\""},
        {-0.03125, Mav::kFormatArchitectural, 4, "-0'-0 1/16\""},
        {2.5, Mav::kFormatFractional, 0, "3"},
        {-2.5, Mav::kFormatFractional, 0, "-3"},
        {0.03125, Mav::kFormatFractional, 4, "1/16"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rtos(c.value, c.format, c.prec, false), c.text) << c.value << " format " << c.format;
}

TEST(LengthText, CompactFlagLeavesOutZerosAndEmptyParts)
{
    EXPECT_EQ(rtos(12.5, Mav::kFormatDecimal, 8, true), "12.5");
    EXPECT_EQ(rtos(1200.0, Mav::kFormatDecimal, 8, true), "1200");
    EXPECT_EQ(rtos(-0.000000001, Mav::kFormatDecimal, 8, true), "0");
    EXPECT_EQ(rtos(17.5, Mav::kFormatScientific, 4, true), "1.75E+01");
    EXPECT_EQ(rtos(90.0, Mav::kFormatDecimal, 2, true), "90");
    EXPECT_EQ(rtos(17.5, Mav::kFormatEngineering, 4, true), "1'-5.5\"");
    EXPECT_EQ(rtos(6.25, Mav::kFormatEngineering, 4, true), "6.25\"");
    EXPECT_EQ(rtos(24.0, Mav::kFormatEngineering, 4, true), "2'");
    EXPECT_EQ(rtos(0.0, Mav::kFormatEngineering, 4, true), "0\"");
    EXPECT_EQ(rtos(6.5, Mav::kFormatArchitectural, 4, true), "6 1/2\"");
    EXPECT_EQ(rtos(0.5, Mav::kFormatArchitectural, 4, true), "1/2\"");
    EXPECT_EQ(rtos(-24.0, Mav::kFormatArchitectural, 4, true), "-2'");
    EXPECT_EQ(rtos(17.5, Mav::kFormatArchitectural, 4, true), "1'-5 1/2\"");
    EXPECT_EQ(rtos(0.0, Mav::kFormatArchitectural, 4, true), "0\"");
}

TEST(LengthText, FailsForUnknownFormatsAndNonFiniteValues)
{
    CMavString out(L"unchanged");
    EXPECT_FALSE(mavRtoS(1.0, Mav::kFormatNone, 2, false, out));
    EXPECT_FALSE(mavRtoS(1.0, Mav::kFormatCurrent, 2, false, out));
    EXPECT_FALSE(mavRtoS(1.0, static_cast<Mav::lFormat>(6), 2, false, out));
    EXPECT_FALSE(mavRtoS(std::numeric_limits<double>::quiet_NaN(), Mav::kFormatDecimal, 2, false, out));
    EXPECT_FALSE(mavRtoS(std::numeric_limits<double>::infinity(), Mav::kFormatArchitectural, 2, false, out));
    EXPECT_EQ(out, L"unchanged");
    EXPECT_TRUE(mavRtoS(std::nan(""), Mav::kFormatDecimal, 2, false).isEmpty());
    // Huge lengths are written in full and read back.
    for (int f = 1; f <= 5; ++f) {
        const CMavString big = mavRtoS(-1.5e300, static_cast<Mav::lFormat>(f), 8, false);
        ASSERT_FALSE(big.isEmpty()) << f;
        double back = 0.0;
        ASSERT_TRUE(mavAtoF(big, back)) << big.utf8();
        EXPECT_NEAR(back / -1.5e300, 1.0, 1e-8) << big.utf8();
    }
    // The largest double fits as decimal text; as feet it would exceed the double range when read back.
    EXPECT_EQ(mavRtoS(1.7976931348623157e308, Mav::kFormatDecimal, 0, false).len(), 309);
    EXPECT_FALSE(mavRtoS(1.7976931348623157e308, Mav::kFormatEngineering, 0, false).isEmpty());
}

// Every text written in every format reads back as the value within the format's precision: half a unit of
// the last decimal for formats 1-3, half the finest fraction for 4 and 5.
TEST(LengthText, WrittenLengthsReadBackWithinThePrecision)
{
    std::mt19937_64 gen(20240611);
    std::uniform_real_distribution<double> mag(-6.0, 5.0);
    std::uniform_int_distribution<int> precDist(0, 8), coin(0, 1);
    int checked = 0;
    for (int i = 0; i < 4000; ++i) {
        double x = std::pow(10.0, mag(gen));
        if (coin(gen))
            x = -x;
        if (i % 97 == 0)
            x = std::round(x * 4.0) / 4.0; // exact quarters hit the carry paths
        const int prec = precDist(gen);
        const bool compact = coin(gen) != 0;
        for (int f = 1; f <= 5; ++f) {
            const auto fmt = static_cast<Mav::lFormat>(f);
            const CMavString text = mavRtoS(x, fmt, prec, compact);
            ASSERT_FALSE(text.isEmpty());
            double back = std::nan("");
            ASSERT_TRUE(mavAtoF(text, back)) << text.utf8() << " from " << x;
            double tol;
            if (f == 1)
                tol = 0.5 * std::pow(10.0, std::floor(std::log10(std::fabs(x))) - prec);
            else if (f <= 3)
                tol = 0.5 * std::pow(10.0, -prec);
            else
                tol = 0.5 / std::ldexp(1.0, prec);
            EXPECT_LE(std::fabs(back - x), tol * (1 + 1e-9) + 1e-12 * std::fabs(x))
                << text.utf8() << " from " << x << " format " << f << " prec " << prec;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 20000);
}

TEST(NumberText, AtofReadsTheLeadingNumberAndIgnoresTheRest)
{
    EXPECT_DOUBLE_EQ(MAV::atof(L"90\u00B0"), 90.0);
    EXPECT_DOUBLE_EQ(MAV::atof(L"  -12.5abc"), -12.5);
    EXPECT_DOUBLE_EQ(MAV::atof(L"3,25"), 3.25);
    EXPECT_DOUBLE_EQ(MAV::atof(L"1e3x"), 1000.0);
    EXPECT_DOUBLE_EQ(MAV::atof(L"2e"), 2.0);
    EXPECT_DOUBLE_EQ(MAV::atof(L"x12"), 0.0);
    EXPECT_DOUBLE_EQ(MAV::atof(L""), 0.0);
    EXPECT_DOUBLE_EQ(MAV::atof(nullptr), 0.0);
    EXPECT_DOUBLE_EQ(MAV::atof(L"1'-6\""), 1.0);
    EXPECT_DOUBLE_EQ(MAV::atof(L"1e999"), std::numeric_limits<double>::max());
    EXPECT_DOUBLE_EQ(MAV::atof(L"-1e999"), -std::numeric_limits<double>::max());
    EXPECT_DOUBLE_EQ(MAV::atof(L"1e-999"), 0.0);
    EXPECT_DOUBLE_EQ(MAV::atof(L"nan"), 0.0);

    EXPECT_EQ(MAV::atoi(L"16711680"), 16711680);
    EXPECT_EQ(MAV::atoi(L" -42px"), -42);
    EXPECT_EQ(MAV::atoi(L"12.9"), 12);
    EXPECT_EQ(MAV::atoi(L"99999999999999999999"), std::numeric_limits<int>::max());
    EXPECT_EQ(MAV::atoi(L"-99999999999999999999"), std::numeric_limits<int>::min());
    EXPECT_EQ(MAV::atoi(L"-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(MAV::atoi(L"abc"), 0);
    EXPECT_EQ(MAV::atoi(nullptr), 0);
}

TEST(TextSplit, KeepsOrDropsEmptyParts)
{
    CMavArrayTempl<CMavString> parts;
    ASSERT_EQ(MAV::strTok(L"\\MAV_OUTL_0004\\...", L"\\", parts, true), 3);
    EXPECT_EQ(parts[0], L"");
    EXPECT_EQ(parts[1], L"MAV_OUTL_0004");
    EXPECT_EQ(parts[2], L"...");
    EXPECT_EQ(MAV::strTok(L"a\\b", L"\\", parts, true), 2);
    EXPECT_EQ(MAV::strTok(L"a\\b\\c\\d", L"\\", parts, true), 4);
    EXPECT_EQ(MAV::strTok(L"a\\\\", L"\\", parts, true), 3);
    EXPECT_EQ(parts[2], L"");
    EXPECT_EQ(MAV::strTok(L"", L"\\", parts, true), 1);
    EXPECT_EQ(parts[0], L"");

    EXPECT_EQ(MAV::strTok(L"", L"\\", parts, false), 0);
    EXPECT_EQ(parts.len(), 0);
    ASSERT_EQ(MAV::strTok(L"\\\\Mav\\\\topic\\", L"\\", parts, false), 2);
    EXPECT_EQ(parts[0], L"Mav");
    EXPECT_EQ(parts[1], L"topic");
    ASSERT_EQ(MAV::strTok(L"a, b;c", L",; ", parts, false), 3);
    EXPECT_EQ(parts[2], L"c");
    EXPECT_EQ(MAV::strTok(nullptr, L",", parts, true), 0);
    ASSERT_EQ(MAV::strTok(L"abc", nullptr, parts, false), 1);
    EXPECT_EQ(parts[0], L"abc");
}

TEST(TextEscape, LineBreaksBecomeBackslashNAndComeBack)
{
    EXPECT_EQ(escapeWideChar(L"line 1\r\nline 2\nline 3"), L"line 1\\nline 2\\nline 3");
    EXPECT_EQ(escapeWideChar(L"a\tb\rc\x01\x7F"), L"a\\tb\\rc\\x01\\x7F");
    EXPECT_EQ(escapeWideChar(L"C:\\path \u00E4\u20AC"), L"C:\\path \u00E4\u20AC");
    EXPECT_EQ(escapeWideChar(nullptr), L"");
    EXPECT_EQ(unescapeWideChar(L"line 1\\nline 2\\tx\\x41\\q\\x4"), L"line 1\nline 2\txA\\q\\x4");
    const CMavString text(L"Kante\nvorne\tlinks\r\x02 \u00FC");
    EXPECT_EQ(unescapeWideChar(escapeWideChar(text)), text);
}
