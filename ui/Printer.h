#pragma once

#include "print/PrintSurface.h"

#include <QByteArray>
#include <QString>

#include <functional>

class QPainter;
class QRectF;

namespace orbeta {

// The text of the general error report when the system print dialog cannot be shown at all.
inline constexpr const char* kNoDefaultPrinter = "There is no default printer currently selected";

// The system's printer: the print dialog that chooses it, and the surface that draws on it.
// Every print goes to the printer chosen last.
class Printer {
public:
    virtual ~Printer() = default;

    // Runs the system print dialog: a printer or a PDF file, the printer's properties and the
    // number of copies. True when the user confirmed. Throws Error(kNoDefaultPrinter) when the
    // dialog cannot be shown at all.
    virtual bool RunPrintDialog() = 0;

    virtual PrintSurface& Surface() = 0;

    // What a window's export draws: its pages in `page`, the printable area of one, with
    // `newPage` called before each page after the first.
    using PageDrawing = std::function<void(QPainter& painter, const QRectF& page,
                                           const std::function<void()>& newPage)>;

    // The bytes of a PDF document, A4 with margins of 15 mm, titled `title`, of the pages `draw`
    // draws, for the caller to write where it chooses. Throws Error when no page can be drawn.
    virtual QByteArray PdfDocument(const QString& title, const PageDrawing& draw) = 0;

    // What a document laid out by print/PagedDocument draws, as one job on the surface.
    using SurfaceDrawing = std::function<void(PrintSurface& surface)>;

    // How an A4 page is turned: landscape for a document whose tables are wider than it stands.
    enum class Orientation { Portrait, Landscape };

    // The bytes of an A4 PDF document on the validation record's margins, titled `title`, of
    // what `draw` draws on a print surface, for the caller to write where it chooses. Throws
    // what `draw` throws.
    virtual QByteArray SurfacePdf(const QString& title, Orientation orientation,
                                  const SurfaceDrawing& draw) = 0;
};

} // namespace orbeta
