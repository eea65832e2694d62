#include "print/Uprint.h"
#include "print/Uprint1.h"
#include "printing/QtPrintSurface.h"
#include "support/Studies.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace orbeta {
namespace {

// What a PDF viewer shows of the file: its text, laid out, pages separated by form feeds.
QString PdfText(const QString& path, const QStringList& options) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), options + QStringList{path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished() || pdftotext.exitCode() != 0) {
        throw std::runtime_error("pdftotext failed on " + path.toStdString());
    }
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

struct PathCase {
    const char* name;
    std::function<std::unique_ptr<PageLayout>(PrintSurface&)> layout;
    bool results;
    Study study;
    int pages;
    QStringList texts;
};

std::unique_ptr<PageLayout> Laser(PrintSurface& surface) {
    return std::make_unique<LaserLayout>(surface, '.');
}

std::unique_ptr<PageLayout> DeskJet(PrintSurface& surface) {
    return std::make_unique<DeskJetLayout>(surface, '.', DeskJetSettings{});
}

std::unique_ptr<PageLayout> LargeDeskJet(PrintSurface& surface) {
    return std::make_unique<DeskJetLayout>(
        surface, '.',
        DeskJetSettings{DeskJetSettings::PrinterType::LaserJet, DeskJetSettings::Margin::TwoCm});
}

TEST(QtPrintPath, PrintsEveryPageWholeToAPdfFile) {
    const Study example = testing::WorkedExample();
    const auto [anova, precision] = testing::ComputeResults(example);
    const QStringList frame = {"Control de Calidad", "ORBETA v. w 3.1"};
    const std::vector<PathCase> cases = {
        {"laser general information", Laser, false, example, 1,
         frame + QStringList{"Precisión del Método Analítico", "Información General",
                             "Nombre del método: Valoración", "Fecha: 01/06/2001", "Analista 2",
                             "(Día 2,Replica 3)", "99.3", "Realizó: ____", "Revisó: ____"}},
        {"laser results", Laser, true, example, 1,
         frame + QStringList{"Análisis de la Varianza", "Cuadrados", "Fcal", "Pr", "1.02083",
                             "2.52577", "0.253851", "Error de Método",
                             "El Analista no presenta efecto sobre la valoración.",
                             "Coeficiente de Variación Total = 0.542074",
                             "Número de replicaciones: 3"}},
        {"laser general information, ten by ten by five", Laser, false, testing::LargestStudy(), 3,
         frame + QStringList{"Analista 10", "(Día 10,Replica 5)"}},
        {"DeskJet general information", DeskJet, false, example, 1,
         frame + QStringList{"Ondravel", "INFORMACIÓN GENERAL", "Analista 2", "99.3"}},
        {"DeskJet results, LaserJet type and widest margin", LargeDeskJet, true, example, 1,
         frame + QStringList{"ANÁLISIS DE LA VARIANZA", "Pr", "0.253851",
                             "EL ANALISTA NO PRESENTA EFECTO SOBRE LA VALORACIÓN.",
                             "EVALUACIÓN DE LA PRECISIÓN DEL MÉTODO", "Fecha: 01/06/2001"}},
    };
    const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)")re"));
    const QRegularExpression page(
        QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)")re"));
    for (const PathCase& each : cases) {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("page.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        QtPrintSurface surface(printer);
        const auto layout = each.layout(surface);
        if (each.results) {
            layout->PrintResults(each.study, anova, precision);
        } else {
            layout->PrintGeneralInfo(each.study);
        }

        const QString text = PdfText(path, {QStringLiteral("-layout")});
        EXPECT_EQ(text.count(QChar('\f')), each.pages) << each.name;
        for (const QString& expected : each.texts) {
            EXPECT_TRUE(text.contains(expected)) << each.name << ": " << expected.toStdString();
        }
        // The printable area lies within the page less Qt's margins on every side.
        const QString boxes = PdfText(path, {QStringLiteral("-bbox")});
        const auto size = page.match(boxes);
        ASSERT_TRUE(size.hasMatch());
        const double margin = printer.pageLayout().margins(QPageLayout::Point).left();
        for (auto box = word.globalMatch(boxes); box.hasNext();) {
            const auto found = box.next();
            EXPECT_GE(found.captured(1).toDouble(), margin - 1) << each.name;
            EXPECT_LE(found.captured(3).toDouble(), size.captured(1).toDouble() - margin + 1)
                << each.name << ": a text runs off the right edge";
            EXPECT_LE(found.captured(4).toDouble(), size.captured(2).toDouble() - margin + 1)
                << each.name << ": a text runs off the bottom";
        }
    }
}

struct PlaceCase {
    const char* word; // the first word on the page that reads so
    double left, top; // where the layout puts its text cell, in points from the printable
                      // area's top-left corner; a left below 0 is not checked (centred)
};

TEST(QtPrintPath, DrawsEachTextWhereTheLayoutPutsItOnThePage) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("page.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    QtPrintSurface surface(printer);
    Laser(surface)->PrintGeneralInfo(testing::WorkedExample());

    // Rows of 100 and columns of 12 device pixels at 600 dpi: 12 and 1.44 points.
    const std::vector<PlaceCase> cases = {
        {"Control", -1, 6 * 12.0},           // the header's first row
        {"Analista", 106 * 1.44, 20 * 12.0}, // the table's heading row
        {"99.1", 106 * 1.44, 21 * 12.0},     // its first value
        {"99.3", 167 * 1.44, 26 * 12.0},     // its last
        {"ORBETA", -1, 58 * 12.0},           // the product line
    };
    const QString boxes = PdfText(path, {QStringLiteral("-bbox")});
    const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Point);
    for (const PlaceCase& each : cases) {
        const QRegularExpression word(
            QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>%1</word>)re")
                .arg(QRegularExpression::escape(QString::fromUtf8(each.word))));
        const auto found = word.match(boxes);
        ASSERT_TRUE(found.hasMatch()) << each.word;
        // pdftotext boxes a word from its font's ascent, which the text cell's top matches
        // within a point or two; a row is 12 points.
        EXPECT_NEAR(found.captured(2).toDouble() - margins.top(), each.top, 2.0) << each.word;
        if (each.left >= 0) {
            EXPECT_NEAR(found.captured(1).toDouble() - margins.left(), each.left, 1.0) << each.word;
        }
    }
}

} // namespace
} // namespace orbeta
