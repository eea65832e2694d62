#include "study/Error.h"

#include "study/Utf8.h"

namespace orbeta {

std::string WithFullStop(const std::string& message) {
    if (message.empty() || static_cast<unsigned char>(message.back()) <= '.') {
        return message;
    }
    return message + '.';
}

namespace {

// C0 controls, DEL and C1 controls: a message box or a terminal shows them as nothing or worse.
bool IsControl(char32_t character) {
    return character < 0x20 || (character >= 0x7F && character <= 0x9F);
}

} // namespace

std::string QuotedInMessage(std::string_view text) {
    std::string quoted;
    std::size_t position = 0;
    for (std::size_t characters = 0; position < text.size(); ++characters) {
        if (characters == kMaxQuotedCharacters) {
            return quoted + "…";
        }
        const std::size_t start = position;
        const auto character = DecodeUtf8(text, position);
        if (!character) {
            ++position;
            quoted += '?';
        } else if (IsControl(*character)) {
            quoted += '?';
        } else {
            quoted += text.substr(start, position - start);
        }
    }
    return quoted;
}

} // namespace orbeta
