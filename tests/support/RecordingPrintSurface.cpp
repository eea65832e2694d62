#include "support/RecordingPrintSurface.h"

namespace orbeta::testing {

void RecordingPrintSurface::BeginJob() {
    m_operations.emplace_back("begin");
}

void RecordingPrintSurface::EndJob() {
    m_operations.emplace_back("end");
}

void RecordingPrintSurface::NewPage() {
    m_operations.emplace_back("page");
}

void RecordingPrintSurface::SelectFont(const std::string& typeface, int pointSize) {
    m_pointSize = pointSize;
    m_operations.push_back("font " + typeface + " " + std::to_string(pointSize));
}

int RecordingPrintSurface::FontHeight() const {
    return (m_pointSize * m_resolution + 36) / 72;
}

int RecordingPrintSurface::TextWidth(const std::string& text) const {
    int characters = 0;
    for (const char byte : text) {
        // UTF-8 continuation bytes do not start a character.
        characters += (static_cast<unsigned char>(byte) & 0xC0) != 0x80 ? 1 : 0;
    }
    return characters * (FontHeight() / 2);
}

void RecordingPrintSurface::DrawText(int x, int y, const std::string& text) {
    m_operations.push_back("text " + std::to_string(x) + " " + std::to_string(y) + " " + text);
}

void RecordingPrintSurface::DrawLine(int x1, int y1, int x2, int y2) {
    m_operations.push_back("line " + std::to_string(x1) + " " + std::to_string(y1) + " " +
                           std::to_string(x2) + " " + std::to_string(y2));
}

} // namespace orbeta::testing
