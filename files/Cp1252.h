#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orbeta {

// Study files are 8-bit text in Windows-1252, the Western European code page of Spanish-language
// desktops; the program's own texts are UTF-8. Every byte has a character (the five bytes the code
// page leaves undefined stand for the control characters of the same number), so a file's text
// survives a load and a save unchanged.

std::string Cp1252ToUtf8(std::string_view bytes);

// Nothing when the text holds a character the code page has no byte for, or is not UTF-8.
std::optional<std::string> Utf8ToCp1252(std::string_view text);

} // namespace orbeta
