#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace orbeta {

// Decodes the UTF-8 character at `position`, which stands before the end, moving past it. Nothing,
// with `position` left where it was, when the bytes there are not a well-formed character (an
// overlong form, a surrogate, a cut sequence, a stray continuation byte).
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& position);

} // namespace orbeta
