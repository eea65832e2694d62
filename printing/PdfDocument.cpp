#include "printing/PdfDocument.h"

#include "printing/QtPrintSurface.h"
#include "study/Error.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

namespace orbeta {

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

QByteArray DrawnPdf(const QString& title, const Printer::PageDrawing& draw) {
    return DrawnPdf(title, QMarginsF(15, 15, 15, 15), [&draw](QPdfWriter& writer) {
        QPainter painter;
        if (!painter.begin(&writer)) {
            throw Error("No se pudo dibujar el documento PDF.");
        }
        // The painter's origin is the corner of the printable area.
        const QRect printable = writer.pageLayout().paintRectPixels(writer.resolution());
        draw(painter, QRectF(0, 0, printable.width(), printable.height()),
             [&writer] { writer.newPage(); });
        painter.end();
    });
}

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
