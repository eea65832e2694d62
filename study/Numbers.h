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

// A number text of the one shape study files write numbers in, "." as its point (an optional
// "+" or "-", digits, optionally the point and digits, optionally an exponent: "E" or "e", an
// optional sign, at least one digit; digits may be missing on either side of the point, or
// altogether, and a number without digits is 0), as a loaded grid shows it: FormatResult's text
// when that reads back as the same value ("98.50" as "98.5"), otherwise the text itself
// ("1234567"), so that loading never changes a value. The value is the nearest double to the
// text's number, zero without its sign. Gives the value and sets `shownText`; nothing, with
// `shownText` unchanged, for a text of any other shape, from its first byte to its last, or a
// value beyond the range of a double.
std::optional<double> LoadResult(std::string_view text, std::string& shownText);

// The value LoadResult gives a text, or nothing where it gives nothing, without working out the
// shown text: what a reader that only computes needs.
std::optional<double> LoadResultValue(std::string_view text);

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
