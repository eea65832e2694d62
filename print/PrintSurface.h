#pragma once

#include <string>

namespace orbeta {

// The printer as the page layouts see it: one job at a time, positions and sizes in the
// printer's device pixels, origin at the top-left corner of the printable area. Texts are UTF-8.
// Everything but BeginJob needs a job begun and not yet ended.
class PrintSurface {
public:
    virtual ~PrintSurface() = default;

    // Begins a print job and its first page. Throws Error when the printer cannot start one.
    virtual void BeginJob() = 0;
    // Ends the job and hands its pages to the printer.
    virtual void EndJob() = 0;
    // Ends the page and begins the next one of the same job.
    virtual void NewPage() = 0;

    // Selects a font by typeface and point size, default pitch, regular style.
    virtual void SelectFont(const std::string& typeface, int pointSize) = 0;
    // The selected font's height in device pixels: its point size at the vertical resolution.
    virtual int FontHeight() const = 0;
    // The point size of the font the printer actually selected.
    virtual int FontPointSize() const = 0;
    // The width of a text in the selected font.
    virtual int TextWidth(const std::string& text) const = 0;

    // Draws a text in black on an opaque white background, its text cell's top-left at (x, y).
    virtual void DrawText(int x, int y, const std::string& text) = 0;
    // Draws a black line one device pixel wide.
    virtual void DrawLine(int x1, int y1, int x2, int y2) = 0;

    virtual int PrintableWidth() const = 0;
    virtual int PrintableHeight() const = 0;
    // Device pixels per inch, vertically.
    virtual int VerticalResolution() const = 0;
};

} // namespace orbeta
