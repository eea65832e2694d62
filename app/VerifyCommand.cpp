#include "app/VerifyCommand.h"

#include "printing/QtPrinter.h"
#include "study/Error.h"
#include "ui/VerifyInstallation.h"

#include <QFile>
#include <QGuiApplication>

#include <iostream>

namespace orbeta {

int VerifyInstallationCommand(const std::string& pdfFile, char* programPath) {
    // As the record's command: offscreen, and without Qt's notes on its environment.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    int qtArgumentCount = 1;
    char* qtArguments[] = {programPath, nullptr};
    const QGuiApplication application(qtArgumentCount, qtArguments);
    qualification::SystemProbe probe;
    const auto context = qualification::SystemRunContext(qVersion());
    const qualification::Qualification outcome = qualification::Qualify(
        probe, qualification::PackagedProgram("orbeta"), qualification::ReferenceStudies());
    std::cout << qualification::ReportText(context, outcome) << std::flush;
    if (!pdfFile.empty()) {
        try {
            QtPrinter printer;
            WriteReportPdf(printer, pdfFile, context, outcome);
        } catch (const std::exception& error) {
            std::cerr << WithFullStop(error.what()) << '\n';
            return 1;
        }
    }
    return outcome.Passed() && std::cout ? 0 : 1;
}

} // namespace orbeta
