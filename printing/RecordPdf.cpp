#include "printing/RecordPdf.h"

#include "files/FileAccess.h"
#include "printing/QtPrintSurface.h"
#include "study/Error.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>

#include <cerrno>
#include <filesystem>

namespace orbeta {

void WriteRecordPdf(const QString& fileName, const Study& study, const RecordFigures& figures,
                    const RecordIdentity& identity, char decimalSeparator) {
    const QTemporaryDir drafts;
    if (!drafts.isValid()) {
        throw Error(FileErrorMessage(errno, std::filesystem::temp_directory_path()));
    }
    const QString draft = drafts.filePath(QStringLiteral("record.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(draft);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(15, 10, 15, 10), QPageLayout::Millimeter);
        QtPrintSurface surface(printer);
        PrintValidationRecord(surface, study, figures, identity, decimalSeparator);
    }
    QFile drawn(draft);
    if (!drawn.open(QIODevice::ReadOnly)) {
        throw Error(FileErrorMessage(EIO, draft.toStdString()));
    }
    const QByteArray bytes = drawn.readAll();
    ReplaceFile(std::filesystem::path(QFile::encodeName(fileName).toStdString()),
                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace orbeta
