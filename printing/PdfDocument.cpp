#include "printing/PdfDocument.h"

#include "printing/QtPrintSurface.h"

#include <QBuffer>
#include <QPdfWriter>

namespace orbeta {

namespace {

QByteArray DrawnPdf(const QString& title, const QMarginsF& margins,
                    const std::function<void(QPdfWriter&)>& draw) {
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&document);
        writer.setResolution(kPageResolution);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(margins, QPageLayout::Millimeter);
        writer.setTitle(title);
        draw(writer);
    }
    return document.data();
}

} // namespace

QByteArray SurfacePdf(const QString& title, Printer::Orientation orientation,
                      const Printer::SurfaceDrawing& draw) {
    return DrawnPdf(title, QMarginsF(15, 10, 15, 10), [&](QPdfWriter& writer) {
        // Turned before the first page is begun, with the margins where the page now has them.
        if (orientation == Printer::Orientation::Landscape) {
            writer.setPageOrientation(QPageLayout::Landscape);
        }
        QtPrintSurface surface(writer);
        draw(surface);
    });
}

} // namespace orbeta
