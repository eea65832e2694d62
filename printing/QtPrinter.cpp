#include "printing/QtPrinter.h"

#include "printing/PdfDocument.h"
#include "printing/QtPrintSurface.h"
#include "printing/RecordPdf.h"
#include "study/Error.h"

#include <QPrintDialog>
#include <QPrinter>

namespace orbeta {

QtPrinter::QtPrinter() = default;

QtPrinter::~QtPrinter() = default;

QPrinter& QtPrinter::SystemPrinter() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_surface = std::make_unique<QtPrintSurface>(*m_printer);
    }
    return *m_printer;
}

bool QtPrinter::RunPrintDialog() {
    QPrinter& printer = SystemPrinter();
    // With no printer Qt falls back to its PDF writer, which is valid; an invalid printer means
    // the printing system could not be reached at all.
    if (!printer.isValid()) {
        throw Error(kNoDefaultPrinter);
    }
    QPrintDialog dialog(&printer);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    return dialog.exec() == QDialog::Accepted;
}

PrintSurface& QtPrinter::Surface() {
    SystemPrinter();
    return *m_surface;
}

void QtPrinter::WriteRecordPdf(const QString& fileName, const Study& study,
                               const RecordFigures& figures, const RecordIdentity& identity,
                               char decimalSeparator) {
    orbeta::WriteRecordPdf(fileName, study, figures, identity, decimalSeparator);
}

QByteArray QtPrinter::SurfacePdf(const QString& title, Orientation orientation,
                                 const SurfaceDrawing& draw) {
    return orbeta::SurfacePdf(title, orientation, draw);
}

} // namespace orbeta
