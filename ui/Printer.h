#pragma once

#include "print/PrintSurface.h"
#include "print/ValidationRecord.h"

#include <QString>

namespace orbeta {

// The text of the general error report when the system print dialog cannot be shown at all.
inline constexpr const char* kNoDefaultPrinter = "There is no default printer currently selected";

// The system's printer: the print dialog that chooses it, and the surface that draws on it.
// Every print goes to the printer chosen last. It also writes the validation record a window
// exports, which goes to a file of its own.
class Printer {
public:
    virtual ~Printer() = default;

    // Runs the system print dialog: a printer or a PDF file, the printer's properties and the
    // number of copies. True when the user confirmed. Throws Error(kNoDefaultPrinter) when the
    // dialog cannot be shown at all.
    virtual bool RunPrintDialog() = 0;

    virtual PrintSurface& Surface() = 0;

    // Writes the validation record of a study as an A4 PDF file, which takes the place of any
    // file of that name only once complete. Throws Error with the file's message.
    virtual void WriteRecordPdf(const QString& fileName, const Study& study,
                                const RecordFigures& figures, const RecordIdentity& identity,
                                char decimalSeparator) = 0;

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
