#pragma once

#include "print/PrintSurface.h"

#include <QPainter>

#include <functional>

class QPagedPaintDevice;
class QPdfWriter;
class QPrinter;

namespace orbeta {

// The print surface over a Qt printer or a PDF writer, which the caller owns and keeps alive.
// Every job is
// drawn at kPageResolution, the resolution the layouts' columns are counted in, and Qt scales
// it to the device, so that every printer and every PDF file gets the same page.
inline constexpr int kPageResolution = 600;

class QtPrintSurface final : public PrintSurface {
public:
    explicit QtPrintSurface(QPrinter& printer);
    explicit QtPrintSurface(QPdfWriter& writer);

    void BeginJob() override;
    void EndJob() override;
    void NewPage() override;
    void SelectFont(const std::string& typeface, int pointSize) override;
    int FontHeight() const override;
    int FontPointSize() const override;
    int TextWidth(const std::string& text) const override;
    void DrawText(int x, int y, const std::string& text) override;
    void DrawLine(int x1, int y1, int x2, int y2) override;
    int PrintableWidth() const override;
    int PrintableHeight() const override;
    int VerticalResolution() const override;

private:
    QPagedPaintDevice& m_device;
    // Sets the device to kPageResolution, which each kind of device does by its own call.
    std::function<void()> m_atResolution;
    QPainter m_painter;
};

} // namespace orbeta
