#include "ui/VerifyInstallation.h"

#include "files/FileAccess.h"
#include "qualification/ReportDocument.h"
#include "study/Error.h"

#include <QFile>
#include <QProgressDialog>
#include <QStringList>

namespace orbeta {

void WriteReportPdf(Printer& printer, const std::filesystem::path& file,
                    const qualification::RunContext& context,
                    const qualification::Qualification& qualification) {
    const QByteArray document =
        printer.SurfacePdf(QString::fromUtf8(qualification::kReportDocumentTitle),
                           // The figures' table is wider than a page standing.
                           Printer::Orientation::Landscape, [&](PrintSurface& surface) {
                               qualification::PrintReport(surface, context, qualification);
                           });
    ReplaceFile(file,
                std::string_view(document.constData(), static_cast<std::size_t>(document.size())));
}

void VerifyInstallation(QWidget* parent, const Platform& platform,
                        qualification::InstallationProbe& probe, std::string_view program,
                        const qualification::RunContext& context) {
    const auto studies = qualification::ReferenceStudies();
    QProgressDialog progress(QStringLiteral("Verificando la instalación..."), QString(), 0,
                             static_cast<int>(studies.size()), parent);
    progress.setObjectName(QStringLiteral("VerifyProgress"));
    progress.setWindowTitle(QStringLiteral("Verificar la instalación"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setValue(0);
    const qualification::Qualification outcome = qualification::Qualify(
        probe, program, studies, [&progress](int done, int) { progress.setValue(done); });
    progress.close();
    QStringList lines;
    for (const std::string& line : qualification::OutcomeLines(outcome)) {
        lines.append(QString::fromStdString(line));
    }
    platform.messages.ShowMessage(lines.join(QLatin1Char('\n')));

    const QStringList fileTypes{QStringLiteral("Documento PDF (*.pdf)")};
    const QString date =
        QString::fromStdString(context.dateTime.substr(0, context.dateTime.find(' ')));
    const std::optional<ChosenFile> chosen = platform.fileDialogs.ChooseFileToSave(
        {QStringLiteral("Guardar el informe de verificación"), fileTypes, fileTypes.constFirst(),
         QStringLiteral("pdf"), QStringLiteral("Verificación ORBETA %1.pdf").arg(date)});
    if (!chosen) {
        return;
    }
    try {
        WriteReportPdf(platform.printer,
                       std::filesystem::path(QFile::encodeName(chosen->path).toStdString()),
                       context, outcome);
    } catch (const Error& error) {
        platform.messages.ReportError(error.what());
    }
}

} // namespace orbeta
