#pragma once

#include "print/PrintSurface.h"

#include <string>
#include <vector>

namespace orbeta::testing {

// A printer of the given resolution whose jobs are lists of drawing operations: "begin", "end",
// "page", "font ARIAL 12", "text 540 600 Control de Calidad", "line 0 820 4800 820". Its font
// is as high as its point size at the resolution, and every character as wide as half that.
class RecordingPrintSurface final : public PrintSurface {
public:
    RecordingPrintSurface(int resolution, int printableWidth)
        : m_resolution(resolution), m_printableWidth(printableWidth) {}

    const std::vector<std::string>& Operations() const { return m_operations; }

    void BeginJob() override;
    void EndJob() override;
    void NewPage() override;
    void SelectFont(const std::string& typeface, int pointSize) override;
    int FontHeight() const override;
    int FontPointSize() const override { return m_pointSize; }
    int TextWidth(const std::string& text) const override;
    void DrawText(int x, int y, const std::string& text) override;
    void DrawLine(int x1, int y1, int x2, int y2) override;
    int PrintableWidth() const override { return m_printableWidth; }
    // An A4 page's proportions.
    int PrintableHeight() const override { return m_printableWidth * 297 / 210; }
    int VerticalResolution() const override { return m_resolution; }

private:
    int m_resolution;
    int m_printableWidth;
    int m_pointSize = 0;
    std::vector<std::string> m_operations;
};

} // namespace orbeta::testing
