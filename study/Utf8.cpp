#include "study/Utf8.h"

#include <array>

namespace orbeta {

std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& position) {
    const auto lead = static_cast<unsigned char>(text[position]);
    int length = 0;
    char32_t character = 0;
    if (lead < 0x80) {
        ++position;
        return lead;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        character = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        character = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        character = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (position + static_cast<std::size_t>(length) > text.size()) {
        return std::nullopt;
    }
    for (int index = 1; index < length; ++index) {
        const auto next =
            static_cast<unsigned char>(text[position + static_cast<std::size_t>(index)]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        character = (character << 6) | (next & 0x3F);
    }
    constexpr std::array<char32_t, 5> kSmallestOfLength{0, 0, 0x80, 0x800, 0x10000};
    if (character < kSmallestOfLength[static_cast<std::size_t>(length)] || character > 0x10FFFF ||
        (character >= 0xD800 && character <= 0xDFFF)) {
        return std::nullopt;
    }
    position += static_cast<std::size_t>(length);
    return character;
}

} // namespace orbeta
