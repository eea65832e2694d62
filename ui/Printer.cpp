#include "ui/Printer.h"

#include "print/QtPrintSurface.h"
#include "study/Error.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace orbeta {

QtPrinter::QtPrinter()
    : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      m_surface(std::make_unique<QtPrintSurface>(*m_printer)) {}

QtPrinter::~QtPrinter() = default;

bool QtPrinter::RunPrintDialog() {
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        throw Error(kNoDefaultPrinter);
    }
    QPrintDialog dialog(m_printer.get());
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    return dialog.exec() == QDialog::Accepted;
}

PrintSurface& QtPrinter::Surface() {
    return *m_surface;
}

} // namespace orbeta
