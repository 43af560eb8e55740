// Numbers and lengths as text: splitting, tolerant number reading, AutoCAD-style length formats and escaping.
#pragma once

#include "base/CMavArray.h"
#include "base/CMavString.h"
#include "base/MavEnums.h"

namespace MAV {

// Splits text at every character of delims into parts (parts is emptied first) and returns the number of parts.
// keepEmpty true: every delimiter separates two parts, so "\a\b" gives "", "a", "b" and "" gives one empty part.
// keepEmpty false: runs of delimiters count as one and empty parts are dropped, so "" gives none.
int strTok(const wchar_t* text, const wchar_t* delims, CMavArrayTempl<CMavString>& parts, bool keepEmpty);

// Reads the number at the start of text, like C's atof: leading white space, a sign, digits with '.' or ','
// as decimal separator and an exponent; reading stops at the first character that does not fit ("90°" is 90).
// No number gives 0; a too large number gives +-DBL_MAX. Null is 0.
double atof(const wchar_t* text);
// Reads a decimal integer at the start of text like C's atoi, clamped to the int range; no number gives 0.
int atoi(const wchar_t* text);

} // namespace MAV

// Reads a length as AutoCAD's distof does in any of the formats: decimal ("12.5", "1,5", "-3"), scientific
// ("1.25E+01"), engineering ("1'-5.5\""), architectural ("1'-5 1/2\"", "3/4\"", "2'") and fractional
// ("5 1/2", "5-1/2", "3/4"). Feet count 12 inches. White space around the text is ignored.
// True with the value when the whole text is one such length; false, value unchanged, for anything else
// (empty text, "1'-", "1/0", trailing words, NaN, infinity, a number beyond the double range).
bool mavAtoF(const wchar_t* text, double& value);
// The same, giving 0.0 for a text that is not a length.
double mavAtoF(const wchar_t* text);

// A length as text in a number format, as AutoCAD's rtos writes it:
//   1 scientific "1.7500E+01", 2 decimal "17.5000", 3 engineering "1'-5.5000\"",
//   4 architectural "1'-5 1/2\"", 5 fractional "17 1/2".
// prec is the number of decimals for formats 1-3 (0..15) and the finest fraction 1/2^prec for formats 4 and 5
// (0..8); values outside are clamped. Fractions are reduced.
// compact true leaves out what carries no information: trailing zeros of decimals (and a bare decimal point),
// and in formats 3 and 4 a zero feet part ("6\"" instead of "0'-6\"") or a zero inches part ("2'" instead of
// "2'-0\""). Every text written reads back with mavAtoF.
// False (out unchanged) for a format outside 1..5 or a value that is not finite.
bool mavRtoS(double value, Mav::lFormat format, int prec, bool compact, CMavString& out);
// The same, giving an empty string on failure.
CMavString mavRtoS(double value, Mav::lFormat format, int prec, bool compact);

// Text with line breaks as the two characters backslash and n, so that it fits into one registry string or line:
// CR LF and LF become "\n", a lone CR "\r", a tab "\t"; other control characters become "\xHH". A backslash
// is kept as it is. unescapeWideChar turns "\n", "\r", "\t" and "\xHH" back.
CMavString escapeWideChar(const wchar_t* text);
CMavString unescapeWideChar(const wchar_t* text);
