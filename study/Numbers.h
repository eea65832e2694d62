#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orbeta {

// Both conversions take UTF-8 text, and their messages quote it by QuotedInMessage.

// Converts a count text to a signed 32-bit whole number: leading blanks, then either an
// optional sign and decimal digits, or a hexadecimal number introduced by "$", "x", "X", "0x"
// or "0X" (no sign). Nothing may follow and the value must fit.
// Throws Error("'<text>' is not a valid integer value") otherwise, the empty text included.
std::int32_t ParseCount(std::string_view text);

// A number text taken apart by the one shape both results and study files write numbers in: an
// optional "+" or "-", digits, optionally the decimal separator and digits, optionally an
// exponent ("E" or "e", an optional sign, at least one digit). Digits may be missing on either
// side of the separator, or altogether; each reader says which of those it accepts.
struct NumberText {
    bool negative = false;
    std::string_view integerDigits;
    bool hasSeparator = false;
    std::string_view fractionDigits;
    long long exponent = 0; // saturated far beyond the range of a double
};

// The text taken apart, or nothing when it is not of that shape from its first byte to its last.
std::optional<NumberText> ScanNumber(std::string_view text, char decimalSeparator);

// The double nearest to a scanned number (a number without digits is 0, keeping its sign);
// nothing when it lies beyond the range of a double.
std::optional<double> ValueOf(const NumberText& number);

// Converts a result text to a double: blanks (spaces) around it, an optional sign, digits,
// optionally the decimal separator and digits, optionally an exponent ("E" or "e", an optional
// sign, digits). A lone separator reads as 0; thousands separators are refused.
// Throws Error("'<text>' is not a valid floating point value") for any other text and for a
// value beyond the range of a double.
double ParseResult(std::string_view text, char decimalSeparator);

// value - reference, both result texts as ParseResult reads them, formed exactly in decimal and
// rounded once to the nearest double: results far from zero and close together keep the digits
// in which they differ, which their doubles lose. Throws as ParseResult does for either text.
double ResultDifference(std::string_view value, std::string_view reference, char decimalSeparator);

// The one format of every number the program shows, reports, prints or writes into a loaded
// grid: the exact value rounded to six significant digits (an exact tie away from zero),
// trailing zeros dropped, fixed notation for magnitudes from 0.0001 to below 1000000,
// otherwise d.dddddE<exponent>.
std::string FormatResult(double value, char decimalSeparator);

// The decimal separator of the environment's locale, for the programs run from a command line
// (it sets the C library's locale from the environment); "." when it gives none or a separator
// that is more than one byte.
char EnvironmentDecimalSeparator();

} // namespace orbeta
