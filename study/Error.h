#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orbeta {

// The one error the core raises: it carries the exact text the user is shown (English for
// conversion, arithmetic and file failures, Spanish for the program's own refusals). Windows
// present it in the general error report; the command that raised it ends there.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Arithmetic failures of the engine, worded as the user sees them.
inline constexpr const char* kDivisionByZero = "Floating point division by zero";
inline constexpr const char* kInvalidOperation = "Invalid floating point operation";
inline constexpr const char* kOverflow = "Floating point overflow";

// The text of the general error report: the message followed by a full stop, unless it is
// empty or already ends in a full stop or in a character that sorts before it.
std::string WithFullStop(const std::string& message);

// The longest quotation of a text in a message, in characters.
inline constexpr std::size_t kMaxQuotedCharacters = 40;

// A UTF-8 text (a field, a cell, a line of a file) as a message quotes it, readable whatever it
// holds: each control character and each byte that is not part of a UTF-8 character shows as
// "?", and a text of more than kMaxQuotedCharacters characters as its first ones and "…".
// Characters are never cut in half.
std::string QuotedInMessage(std::string_view text);

} // namespace orbeta
