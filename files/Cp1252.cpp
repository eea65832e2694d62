#include "files/Cp1252.h"

#include "study/Utf8.h"

#include <array>
#include <cstdint>

namespace orbeta {

namespace {

// The characters of bytes 0x80 to 0x9F; every other byte is the character of the same number.
constexpr std::array<char32_t, 32> kHighControlRange{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t character) {
    if (character < 0x80) {
        out += static_cast<char>(character);
    } else if (character < 0x800) {
        out += static_cast<char>(0xC0 | (character >> 6));
        out += static_cast<char>(0x80 | (character & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (character >> 12));
        out += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (character & 0x3F));
    }
}

std::optional<char> ByteFor(char32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
        return static_cast<char>(character);
    }
    for (std::size_t index = 0; index < kHighControlRange.size(); ++index) {
        if (kHighControlRange[index] == character) {
            return static_cast<char>(0x80 + index);
        }
    }
    return std::nullopt;
}

} // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        AppendUtf8(text, value >= 0x80 && value <= 0x9F ? kHighControlRange[value - 0x80]
                                                        : static_cast<char32_t>(value));
    }
    return text;
}

std::optional<std::string> Utf8ToCp1252(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    std::size_t position = 0;
    while (position < text.size()) {
        const auto character = DecodeUtf8(text, position);
        if (!character) {
            return std::nullopt;
        }
        const auto byte = ByteFor(*character);
        if (!byte) {
            return std::nullopt;
        }
        bytes += *byte;
    }
    return bytes;
}

} // namespace orbeta
