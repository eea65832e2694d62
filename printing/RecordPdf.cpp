#include "printing/RecordPdf.h"

#include "files/FileAccess.h"
#include "printing/QtPrintSurface.h"

#include <QBuffer>
#include <QFile>
#include <QPdfWriter>

#include <filesystem>

namespace orbeta {

void WriteRecordPdf(const QString& fileName, const Study& study, const RecordFigures& figures,
                    const RecordIdentity& identity, char decimalSeparator) {
    // Drawn in memory first, so a failed export leaves no part of a file behind.
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&document);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 10, 15, 10), QPageLayout::Millimeter);
        writer.setTitle(QString::fromStdString("Registro de validación: " + study.methodName +
                                               ", " + study.date));
        QtPrintSurface surface(writer);
        PrintValidationRecord(surface, study, figures, identity, decimalSeparator);
    }
    const QByteArray& bytes = document.data();
    ReplaceFile(std::filesystem::path(QFile::encodeName(fileName).toStdString()),
                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace orbeta
