// Numbers and lengths as text.
//
// Vocabulary: a "length" is a double in drawing units; in the feet-and-inches formats (engineering 3,
// architectural 4) the unit is the inch and a foot is 12 of them. "Units of 1/den" are the steps of the
// architectural and fractional formats, den = 2^prec. All reading works on the unsigned value of each wchar_t
// and accepts ASCII digits only, so that neither the width of wchar_t nor a process locale changes a result.
#include "base/text.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>

namespace {

unsigned long unit(const wchar_t* p)
{
    return MAV::wcharValue(*p);
}

bool isDigit(unsigned long v)
{
    return v >= '0' && v <= '9';
}

bool isSpace(unsigned long v)
{
    return v == ' ' || v == '\t' || v == '\n' || v == '\r' || v == '\v' || v == '\f' || v == 0xA0;
}

void skipSpaces(const wchar_t*& p)
{
    while (*p && isSpace(unit(p)))
        ++p;
}

// A scanned decimal number: its ASCII text for from_chars, and whether it had a fraction or an exponent.
struct Scanned {
    std::string text;
    bool integer = true;
    long magnitude = 0; // rough power of ten of the value, to tell overflow from underflow
};

// Scans digits [ ('.'|',') digits ] [ ('e'|'E') [sign] digits ] at p; at least one digit. Advances p past the
// number on success. A ',' counts as the decimal separator only when a digit follows it, so "1,5" is 1.5.
bool scanNumber(const wchar_t*& p, Scanned& out)
{
    const wchar_t* q = p;
    std::string s;
    long intDigits = 0, leadingFracZeros = 0;
    bool seenNonZero = false, anyDigit = false;
    while (isDigit(unit(q))) {
        const char c = static_cast<char>(unit(q));
        if (c != '0' || seenNonZero) {
            seenNonZero = true;
            s += c;
            ++intDigits;
        }
        anyDigit = true;
        ++q;
    }
    if (s.empty())
        s = "0";
    bool integer = true;
    const unsigned long sep = unit(q);
    if ((sep == '.' && (anyDigit || isDigit(MAV::wcharValue(q[1])))) || (sep == ',' && isDigit(MAV::wcharValue(q[1])))) {
        ++q;
        integer = false;
        s += '.';
        while (isDigit(unit(q))) {
            const char c = static_cast<char>(unit(q));
            if (!seenNonZero) {
                if (c == '0')
                    ++leadingFracZeros;
                else
                    seenNonZero = true;
            }
            s += c;
            anyDigit = true;
            ++q;
        }
    }
    if (!anyDigit)
        return false;
    long exponent = 0;
    const unsigned long e = unit(q);
    if (e == 'e' || e == 'E') {
        const wchar_t* r = q + 1;
        bool neg = false;
        if (unit(r) == '+' || unit(r) == '-') {
            neg = unit(r) == '-';
            ++r;
        }
        if (isDigit(unit(r))) {
            s += 'e';
            if (neg)
                s += '-';
            while (isDigit(unit(r))) {
                if (exponent < 100000)
                    exponent = exponent * 10 + static_cast<long>(unit(r) - '0');
                s += static_cast<char>(unit(r));
                ++r;
            }
            if (neg)
                exponent = -exponent;
            q = r;
            integer = false;
        }
    }
    out.text = std::move(s);
    out.integer = integer;
    out.magnitude = (intDigits > 0 ? intDigits : -leadingFracZeros) + exponent;
    p = q;
    return true;
}

// Converts a scanned number. False when it lies beyond the double range (overflow); an underflow is 0.
bool convert(const Scanned& s, double& v)
{
    double r = 0.0;
    const char* first = s.text.data();
    const char* last = first + s.text.size();
    const std::from_chars_result res = std::from_chars(first, last, r, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        if (s.magnitude > 0)
            return false;
        v = 0.0;
        return true;
    }
    if (res.ec != std::errc() || !std::isfinite(r))
        return false;
    v = r;
    return true;
}

// Scans an unsigned integer (digits only) into a double.
bool scanInteger(const wchar_t*& p, double& v)
{
    if (!isDigit(unit(p)))
        return false;
    double r = 0.0;
    while (isDigit(unit(p))) {
        r = r * 10.0 + static_cast<double>(unit(p) - '0');
        ++p;
    }
    if (!std::isfinite(r))
        return false;
    v = r;
    return true;
}

// A fraction "n/d" at p, with d > 0.
bool scanFraction(const wchar_t*& p, double& v)
{
    const wchar_t* q = p;
    double n = 0.0, d = 0.0;
    if (!scanInteger(q, n) || unit(q) != '/')
        return false;
    ++q;
    if (!scanInteger(q, d) || d == 0.0)
        return false;
    v = n / d;
    p = q;
    return std::isfinite(v);
}

// The inches part of a length: a fraction, or a number optionally followed by a fraction after white space
// or a hyphen ("5 1/2", "5-1/2"); then an optional inch mark.
bool scanInches(const wchar_t*& p, double& v)
{
    const wchar_t* q = p;
    double r = 0.0;
    if (!scanFraction(q, r)) {
        Scanned s;
        if (!scanNumber(q, s) || !convert(s, r))
            return false;
        if (s.integer) {
            const wchar_t* t = q;
            const bool hyphen = unit(t) == '-';
            if (hyphen)
                ++t;
            else
                skipSpaces(t);
            double f = 0.0;
            if (t != q && scanFraction(t, f)) {
                r += f;
                q = t;
            } else if (hyphen) {
                return false; // "5-" or "5-x": a hyphen here must start a fraction
            }
        }
    }
    skipSpaces(q);
    if (unit(q) == '"')
        ++q;
    v = r;
    p = q;
    return true;
}

// ---------------------------------------------------------------------------------------------------------------
// Writing.

// Every double is a binary fraction with at most 1074 binary places, so its decimal expansion ends within 1074
// decimal places: written with this many it is exact, and rounding can be done on its digits.
constexpr int kExactDecimals = 1100;

// Rounds the unsigned decimal text `digits` (digits with at most one '.') after `keep` digits past its first one
// (past the point when `fromPoint`): a dropped part of half a unit or more rounds up, so exact halves go away from
// zero, as a length of 2.5 is expected to read 3 and 1234.5 inches 102'-11". Answers the kept text; `carried` is
// set when the rounding added a digit in front (9.96 to one decimal: 10.0).
std::string roundDigits(const std::string& digits, size_t keep, bool& carried)
{
    carried = false;
    const size_t dot = digits.find('.');
    const size_t end = std::min(digits.size(), (dot == std::string::npos ? digits.size() : dot + 1) + keep);
    std::string out = digits.substr(0, end);
    if (!out.empty() && out.back() == '.')
        out.pop_back();
    if (end >= digits.size() || digits[end] < '5')
        return out;
    for (size_t i = out.size(); i-- > 0;) {
        if (out[i] == '.')
            continue;
        if (out[i] != '9') {
            ++out[i];
            return out;
        }
        out[i] = '0';
    }
    carried = true;
    return "1" + out;
}

// A double in fixed notation with prec decimals, exact halves rounded away from zero, always with a decimal
// point when prec > 0 and independent of any locale.
std::string fixed(double v, int prec)
{
    char buf[kExactDecimals + 400];
    const std::to_chars_result res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::fixed, kExactDecimals);
    if (res.ec != std::errc())
        return std::string();
    bool carried = false;
    const std::string s = roundDigits(std::string(buf, res.ptr), static_cast<size_t>(prec), carried);
    return std::signbit(v) ? "-" + s : s;
}

bool allZeroDigits(const std::string& s)
{
    for (char c : s)
        if (c >= '1' && c <= '9')
            return false;
    return true;
}

void trimZeros(std::string& s)
{
    const size_t dot = s.find('.');
    if (dot == std::string::npos)
        return;
    size_t end = s.size();
    while (end > dot + 1 && s[end - 1] == '0')
        --end;
    if (end == dot + 1)
        --end;
    s.resize(end);
}

std::string scientific(double v, int prec, bool compact)
{
    // The exact significant digits, rounded like the fixed notation; a carry (9.99 to 10.0) moves the exponent.
    char buf[kExactDecimals + 64];
    const std::to_chars_result res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, kExactDecimals);
    if (res.ec != std::errc())
        return std::string();
    const std::string exact(buf, res.ptr);
    const size_t ePos = exact.find('e');
    bool carried = false;
    std::string mantissa = roundDigits(exact.substr(0, ePos), static_cast<size_t>(prec), carried);
    int exponent = std::atoi(exact.c_str() + ePos + 1);
    if (carried) {
        // "10.00" becomes "1.000" and then loses its last digit: one more power of ten.
        const size_t dot = mantissa.find('.');
        if (dot != std::string::npos)
            mantissa.erase(dot, 1);
        mantissa.pop_back();
        if (prec > 0)
            mantissa.insert(1, ".");
        ++exponent;
    }
    std::string s = (std::signbit(v) ? "-" : "") + mantissa + "e" + (exponent < 0 ? "-" : "+") +
                    std::to_string(exponent < 0 ? -exponent : exponent);
    const size_t e = s.find('e');
    std::string mant = s.substr(0, e), exp = s.substr(e + 1);
    if (compact)
        trimZeros(mant);
    if (allZeroDigits(mant) && !mant.empty() && mant[0] == '-')
        mant.erase(0, 1);
    // Exponent as AutoCAD writes it: an explicit sign and at least two digits.
    char sign = '+';
    if (!exp.empty() && (exp[0] == '+' || exp[0] == '-')) {
        sign = exp[0];
        exp.erase(0, 1);
    }
    while (exp.size() < 2)
        exp.insert(exp.begin(), '0');
    return mant + "E" + sign + exp;
}

std::string decimal(double v, int prec, bool compact)
{
    std::string s = fixed(v, prec);
    if (compact)
        trimZeros(s);
    if (!s.empty() && s[0] == '-' && allZeroDigits(s))
        s.erase(0, 1);
    return s;
}

// Splits |v| into whole feet and the inches left, 0 <= inches < 12.
void feetAndInches(double a, double& feet, double& inches)
{
    feet = std::floor(a / 12.0);
    inches = a - feet * 12.0;
    if (!(inches >= 0.0))
        inches = 0.0;
    if (inches >= 12.0) {
        feet += 1.0;
        inches -= 12.0;
        if (inches >= 12.0 || inches < 0.0)
            inches = 0.0;
    }
}

std::string engineering(double v, int prec, bool compact)
{
    double feet = 0.0, inches = 0.0;
    feetAndInches(std::fabs(v), feet, inches);
    std::string in = fixed(inches, prec);
    double shown = 0.0;
    std::from_chars(in.data(), in.data() + in.size(), shown);
    if (shown >= 12.0) { // rounding reached the next foot
        feet += 1.0;
        in = fixed(0.0, prec);
    }
    const std::string ft = fixed(feet, 0);
    const bool zeroFeet = feet == 0.0, zeroInches = allZeroDigits(in);
    const std::string sign = (v < 0.0 && !(zeroFeet && zeroInches)) ? "-" : "";
    if (!compact)
        return sign + ft + "'-" + in + "\"";
    trimZeros(in);
    if (zeroFeet)
        return sign + in + "\"";
    if (zeroInches)
        return sign + ft + "'";
    return sign + ft + "'-" + in + "\"";
}

// Whole units and a reduced fraction num/den of steps 1/den for a value 0 <= x (x may be huge).
void wholeAndFraction(double x, double den, double& whole, long& num, long& denOut)
{
    whole = std::floor(x);
    double steps = std::floor((x - whole) * den + 0.5);
    if (steps >= den) {
        whole += 1.0;
        steps = 0.0;
    }
    if (steps < 0.0)
        steps = 0.0;
    num = static_cast<long>(steps);
    denOut = static_cast<long>(den);
    while (num != 0 && num % 2 == 0 && denOut % 2 == 0) {
        num /= 2;
        denOut /= 2;
    }
}

std::string fractionText(long num, long den)
{
    return std::to_string(num) + "/" + std::to_string(den);
}

std::string architectural(double v, int prec, bool compact)
{
    const double den = std::ldexp(1.0, prec);
    double feet = 0.0, inches = 0.0;
    feetAndInches(std::fabs(v), feet, inches);
    double whole = 0.0;
    long num = 0, d = 1;
    wholeAndFraction(inches, den, whole, num, d);
    if (whole >= 12.0) {
        feet += 1.0;
        whole -= 12.0;
    }
    const bool zeroFeet = feet == 0.0, zeroInches = whole == 0.0 && num == 0;
    const std::string sign = (v < 0.0 && !(zeroFeet && zeroInches)) ? "-" : "";
    const std::string ft = fixed(feet, 0);
    std::string in = fixed(whole, 0);
    if (num != 0)
        in += " " + fractionText(num, d);
    if (!compact)
        return sign + ft + "'-" + in + "\"";
    if (zeroFeet) {
        if (whole == 0.0 && num != 0)
            in = fractionText(num, d);
        return sign + in + "\"";
    }
    if (zeroInches)
        return sign + ft + "'";
    return sign + ft + "'-" + in + "\"";
}

std::string fractional(double v, int prec)
{
    const double den = std::ldexp(1.0, prec);
    double whole = 0.0;
    long num = 0, d = 1;
    wholeAndFraction(std::fabs(v), den, whole, num, d);
    const std::string sign = (v < 0.0 && !(whole == 0.0 && num == 0)) ? "-" : "";
    if (whole == 0.0 && num != 0)
        return sign + fractionText(num, d);
    std::string s = sign + fixed(whole, 0);
    if (num != 0)
        s += " " + fractionText(num, d);
    return s;
}

int clampInt(int v, int lo, int hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------

namespace MAV {

int strTok(const wchar_t* text, const wchar_t* delims, CMavArrayTempl<CMavString>& parts, bool keepEmpty)
{
    parts.removeAll();
    if (!text)
        return 0;
    const CMavString sep(delims);
    auto isDelim = [&sep](wchar_t c) { return sep.find(c) >= 0; };
    const wchar_t* start = text;
    const wchar_t* p = text;
    for (;; ++p) {
        if (*p == 0 || isDelim(*p)) {
            if (keepEmpty || p > start)
                parts.append(CMavString(start, static_cast<int>(p - start)));
            if (*p == 0)
                break;
            start = p + 1;
        }
    }
    return parts.len();
}

double atof(const wchar_t* text)
{
    if (!text)
        return 0.0;
    const wchar_t* p = text;
    skipSpaces(p);
    bool neg = false;
    if (unit(p) == '+' || unit(p) == '-') {
        neg = unit(p) == '-';
        ++p;
    }
    Scanned s;
    if (!scanNumber(p, s))
        return 0.0;
    double v = 0.0;
    if (!convert(s, v))
        v = DBL_MAX;
    return neg ? -v : v;
}

int atoi(const wchar_t* text)
{
    if (!text)
        return 0;
    const wchar_t* p = text;
    skipSpaces(p);
    bool neg = false;
    if (unit(p) == '+' || unit(p) == '-') {
        neg = unit(p) == '-';
        ++p;
    }
    long long v = 0;
    while (isDigit(unit(p))) {
        if (v <= static_cast<long long>(INT_MAX) + 1)
            v = v * 10 + static_cast<long long>(unit(p) - '0');
        ++p;
    }
    if (neg)
        v = -v;
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return static_cast<int>(v);
}

} // namespace MAV

bool mavAtoF(const wchar_t* text, double& value)
{
    if (!text)
        return false;
    const wchar_t* p = text;
    skipSpaces(p);
    bool neg = false;
    if (unit(p) == '+' || unit(p) == '-') {
        neg = unit(p) == '-';
        ++p;
    }
    double total = 0.0;
    // Feet: a number followed by a foot mark.
    const wchar_t* q = p;
    Scanned s;
    bool haveFeet = false;
    if (scanNumber(q, s)) {
        const wchar_t* r = q;
        skipSpaces(r);
        if (unit(r) == '\'') {
            double feet = 0.0;
            if (!convert(s, feet))
                return false;
            total = feet * 12.0;
            haveFeet = true;
            p = r + 1;
        }
    }
    if (haveFeet) {
        skipSpaces(p);
        bool hyphen = false;
        if (unit(p) == '-') {
            hyphen = true;
            ++p;
            skipSpaces(p);
        }
        if (*p) {
            double inches = 0.0;
            if (!scanInches(p, inches))
                return false;
            total += inches;
        } else if (hyphen) {
            return false; // "1'-": the inches are missing
        }
    } else {
        // No feet: a plain, scientific or fractional number, optionally with an inch mark.
        double inches = 0.0;
        if (!scanInches(p, inches))
            return false;
        total = inches;
    }
    skipSpaces(p);
    if (*p || !std::isfinite(total))
        return false;
    value = neg ? -total : total;
    return true;
}

double mavAtoF(const wchar_t* text)
{
    double v = 0.0;
    return mavAtoF(text, v) ? v : 0.0;
}

bool mavRtoS(double value, Mav::lFormat format, int prec, bool compact, CMavString& out)
{
    if (!std::isfinite(value))
        return false;
    std::string s;
    switch (format) {
    case Mav::kFormatScientific:
        s = scientific(value, clampInt(prec, 0, 15), compact);
        break;
    case Mav::kFormatDecimal:
        s = decimal(value, clampInt(prec, 0, 15), compact);
        break;
    case Mav::kFormatEngineering:
        s = engineering(value, clampInt(prec, 0, 15), compact);
        break;
    case Mav::kFormatArchitectural:
        s = architectural(value, clampInt(prec, 0, 8), compact);
        break;
    case Mav::kFormatFractional:
        s = fractional(value, clampInt(prec, 0, 8));
        break;
    default:
        return false;
    }
    if (s.empty())
        return false;
    out = CMavString(s.c_str());
    return true;
}

CMavString mavRtoS(double value, Mav::lFormat format, int prec, bool compact)
{
    CMavString s;
    mavRtoS(value, format, prec, compact, s);
    return s;
}

CMavString escapeWideChar(const wchar_t* text)
{
    static const char hex[] = "0123456789ABCDEF";
    CMavString out;
    if (!text)
        return out;
    for (const wchar_t* p = text; *p; ++p) {
        const unsigned long v = unit(p);
        if (v == '\r' && MAV::wcharValue(p[1]) == '\n') {
            continue; // CR LF is one line break
        } else if (v == '\n') {
            out += L"\\n";
        } else if (v == '\r') {
            out += L"\\r";
        } else if (v == '\t') {
            out += L"\\t";
        } else if (v < 0x20 || v == 0x7F) {
            out += L"\\x";
            out += static_cast<wchar_t>(hex[(v >> 4) & 0xF]);
            out += static_cast<wchar_t>(hex[v & 0xF]);
        } else {
            out += *p;
        }
    }
    return out;
}

CMavString unescapeWideChar(const wchar_t* text)
{
    CMavString out;
    if (!text)
        return out;
    auto hexValue = [](unsigned long c) -> int {
        if (c >= '0' && c <= '9')
            return static_cast<int>(c - '0');
        if (c >= 'A' && c <= 'F')
            return static_cast<int>(c - 'A' + 10);
        if (c >= 'a' && c <= 'f')
            return static_cast<int>(c - 'a' + 10);
        return -1;
    };
    for (const wchar_t* p = text; *p; ++p) {
        if (unit(p) == '\\') {
            const unsigned long n = MAV::wcharValue(p[1]);
            if (n == 'n') {
                out += L'\n';
                ++p;
                continue;
            }
            if (n == 'r') {
                out += L'\r';
                ++p;
                continue;
            }
            if (n == 't') {
                out += L'\t';
                ++p;
                continue;
            }
            if (n == 'x' && p[2] && p[3]) {
                const int hi = hexValue(MAV::wcharValue(p[2])), lo = hexValue(MAV::wcharValue(p[3]));
                if (hi >= 0 && lo >= 0) {
                    out += static_cast<wchar_t>(hi * 16 + lo);
                    p += 3;
                    continue;
                }
            }
        }
        out += *p;
    }
    return out;
}
