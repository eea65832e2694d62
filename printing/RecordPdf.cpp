#include "printing/RecordPdf.h"

#include "files/FileAccess.h"
#include "printing/PdfDocument.h"

#include <QFile>

#include <filesystem>

namespace orbeta {

void WriteRecordPdf(const QString& fileName, const Study& study, const RecordFigures& figures,
                    const RecordIdentity& identity, char decimalSeparator) {
    const QByteArray bytes = SurfacePdf(
        QString::fromStdString("Registro de validación: " + study.methodName + ", " + study.date),
        Printer::Orientation::Portrait, [&](PrintSurface& surface) {
            PrintValidationRecord(surface, study, figures, identity, decimalSeparator);
        });
    ReplaceFile(std::filesystem::path(QFile::encodeName(fileName).toStdString()),
                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace orbeta
