#include "app/RecordCommand.h"

#include "files/Fingerprint.h"
#include "files/StudyFile.h"
#include "printing/RecordPdf.h"
#include "study/Error.h"
#include "study/Numbers.h"
#include "study/StudyChecks.h"

#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>

#include <filesystem>
#include <iostream>

namespace orbeta {

namespace {

QString FromLocal(const std::string& name) {
    return QFile::decodeName(name.c_str());
}

} // namespace

int WriteRecord(const RecordRequest& request, char* programPath, const std::string& version) {
    // No window is shown, so no display is needed: the pages are drawn offscreen. Qt's own
    // notes on its environment would break the promise of one line on failure.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    int qtArgumentCount = 1;
    char* qtArguments[] = {programPath, nullptr};
    const QGuiApplication application(qtArgumentCount, qtArguments);
    try {
        const char separator = EnvironmentDecimalSeparator();
        std::error_code ignored;
        if (std::filesystem::is_directory(request.studyFile, ignored)) {
            throw Error("'" + request.studyFile + "' es una carpeta, no un archivo de estudio.");
        }
        // A record written over its own study would destroy the data it stands for.
        if (std::filesystem::equivalent(request.studyFile, request.outputFile, ignored)) {
            throw Error("El registro no puede escribirse sobre el propio estudio: elija otro "
                        "archivo de salida.");
        }
        const StudyFileContents contents = ReadStudyFileContents(request.studyFile);
        if (const auto failure =
                CheckCounts(contents.analystCount, contents.dayCount, contents.replicateCount)) {
            throw Error(failure->message);
        }
        const Study study = StudyOf(contents, separator);
        const RecordFigures figures = ComputeRecordFigures(study, separator, request.limits);
        const RecordIdentity identity{
            QFileInfo(FromLocal(request.studyFile)).fileName().toStdString(),
            FingerprintOfSavedBytes(contents.bytes), request.unit, "ORBETA " + version,
            QDateTime::currentDateTime()
                .toString(QStringLiteral("dd/MM/yyyy HH:mm"))
                .toStdString()};
        WriteRecordPdf(FromLocal(request.outputFile), study, figures, identity, separator);
    } catch (const std::exception& error) {
        std::cerr << WithFullStop(error.what()) << '\n';
        return 1;
    }
    return 0;
}

} // namespace orbeta
