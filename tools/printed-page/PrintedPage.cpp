// Prints the results page of the laser layout for a study file into a PDF, as the printer
// would receive it; tools/screenshots turns it into the README's picture of a printed page.
//
//     printed-page STUDY.w05 PAGE.pdf
#include "engine/Ucalculo.h"
#include "files/StudyFile.h"
#include "print/Uprint.h"
#include "print/qt/QtPrintSurface.h"
#include "study/Error.h"

#include <QGuiApplication>
#include <QPrinter>

#include <iostream>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "usage: printed-page STUDY.w05 PAGE.pdf\n";
        return 2;
    }
    // A page needs fonts, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    try {
        const orbeta::Study study = orbeta::ReadStudyFile(argv[1], '.');
        orbeta::StatisticsEngine engine;
        orbeta::AnovaTable anova;
        orbeta::PrecisionSummary precision;
        engine.ComputeAnova(study, '.', anova);
        engine.ComputePrecision(study, '.', precision);

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromLocal8Bit(argv[2]));
        orbeta::QtPrintSurface surface(printer);
        orbeta::LaserLayout(surface, '.').PrintResults(study, anova, precision);
    } catch (const orbeta::Error& error) {
        std::cerr << argv[1] << ": " << error.what() << '\n';
        return 1;
    }
    return 0;
}
