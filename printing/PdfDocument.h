#pragma once

#include "ui/Printer.h"

namespace orbeta {

// A PDF document drawn in memory as Printer::PdfDocument promises, at the resolution of the
// printouts (kPageResolution): nothing reaches a file until the caller writes the bytes, so a
// failed export leaves no part of a file behind.
QByteArray DrawnPdf(const QString& title, const Printer::PageDrawing& draw);

} // namespace orbeta
