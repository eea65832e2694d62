#pragma once

#include "ui/Printer.h"

#include <memory>

class QPrinter;

namespace orbeta {

// The desktop's printers, and Qt's print to a PDF file for a desk with none. Nothing of the
// printer system is touched before the first print dialog, so that the start-up does not load
// the platform's printing plugins.
class QtPrinter final : public Printer {
public:
    QtPrinter();
    ~QtPrinter() override;

    bool RunPrintDialog() override;
    PrintSurface& Surface() override;
    void WriteRecordPdf(const QString& fileName, const Study& study, const RecordFigures& figures,
                        const RecordIdentity& identity, char decimalSeparator) override;
    QByteArray SurfacePdf(const QString& title, Orientation orientation,
                          const SurfaceDrawing& draw) override;

private:
    QPrinter& SystemPrinter();

    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<PrintSurface> m_surface;
};

} // namespace orbeta
