#pragma once

#include "ui/Printer.h"

#include <functional>

namespace orbeta {

// A document of print/PagedDocument, as Printer::SurfacePdf promises: the validation record's
// margins, 15 mm at the sides and 10 mm at the top and bottom, drawn on a print surface over a
// PDF writer at the resolution of the printouts (kPageResolution), in memory: nothing reaches a
// file until the caller writes the bytes, so a failed export leaves no part of a file behind.
QByteArray SurfacePdf(const QString& title, Printer::Orientation orientation,
                      const Printer::SurfaceDrawing& draw);

} // namespace orbeta
