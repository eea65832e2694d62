#pragma once

#include "ui/Printer.h"

#include <QMarginsF>

#include <functional>

class QPdfWriter;

namespace orbeta {

// The bytes of an A4 PDF document of the margins given (millimetres), titled `title`, drawn in
// memory by `draw` on the writer at the resolution of the printouts (kPageResolution): nothing
// reaches a file until the caller writes the bytes, so a failed export leaves no part of a file
// behind. Throws what `draw` throws.
QByteArray DrawnPdf(const QString& title, const QMarginsF& margins,
                    const std::function<void(QPdfWriter&)>& draw);

// A window's export, as Printer::PdfDocument promises: margins of 15 mm, the painter's origin
// at the corner of the printable area. Throws Error when no page can be drawn.
QByteArray DrawnPdf(const QString& title, const Printer::PageDrawing& draw);

// A document of print/PagedDocument, as Printer::SurfacePdf promises: the validation record's
// margins, 15 mm at the sides and 10 mm at the top and bottom, drawn on a print surface over the
// writer.
QByteArray SurfacePdf(const QString& title, Printer::Orientation orientation,
                      const Printer::SurfaceDrawing& draw);

} // namespace orbeta
