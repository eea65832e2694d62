#include "printing/QtPrinter.h"
#include "printing/PrintDialogs.h"
#include "printing/QtPrintSurface.h"
#include "printing/Uopprt1.h"
#include "study/Error.h"
#include "support/Studies.h"
#include "ui/Main.h"

#include "doubles/ScriptedPlatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>

namespace orbeta {
namespace {

// What pdftotext reads of a PDF file, in its reading order.
std::string PdfText(const QString& path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished() || pdftotext.exitCode() != 0) {
        return "pdftotext failed on " + path.toStdString();
    }
    return pdftotext.readAllStandardOutput().toStdString();
}

// The main window with the desktop's printer and scripted seams for the rest.
class QtPrinterTest : public ::testing::Test {
protected:
    QtPrinterTest()
        : mainWindow(Platform{platform.messages, platform.fileDialogs, printer, platform.help,
                              platform.regionalSettings, platform.userSettings}),
          dialogs(CreatePrintDialogs(mainWindow)) {
        mainWindow.show();
    }

    void OpenWorkedExample() {
        platform.fileDialogs.QueueAnswer(
            ChosenFile{QString::fromStdString(testing::kWorkedExampleFile.string()), QString()});
        mainWindow.FileOpen();
        QApplication::processEvents();
    }

    // Answers the system print dialog, once it is up, with `answer`; a window that is not the
    // print dialog is closed so that the test fails instead of waiting.
    void WhenThePrintDialogShows(std::function<void(QPrintDialog&)> answer) {
        QTimer::singleShot(0, [this, answer] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<QPrintDialog*>(modal)) {
                printDialogsSeen++;
                answer(*dialog);
            } else if (modal) {
                modal->close();
            } else if (++waits < 200) {
                WhenThePrintDialogShows(answer);
            }
        });
    }

    // Chooses the dialog's PDF file at `path` and confirms; without that choice, cancels.
    static void ChoosePdfFile(QPrintDialog& dialog, const QString& path) {
        auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers"));
        auto* fileName = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
        const int pdf =
            printers ? printers->findText(QStringLiteral("(PDF)"), Qt::MatchEndsWith) : -1;
        if (pdf < 0 || !fileName) {
            ADD_FAILURE() << "the print dialog offers no PDF file";
            dialog.reject();
            return;
        }
        printers->setCurrentIndex(pdf);
        fileName->setText(path);
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    }

    testing::ScriptedPlatform platform;
    QtPrinter printer;
    TMainForm mainWindow;
    PrintDialogs dialogs;
    int printDialogsSeen = 0;
    int waits = 0;
};

TEST_F(QtPrinterTest, LasserPrintsThePageToAPdfFileChosenInTheSystemPrintDialog) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("estudio.pdf"));
    OpenWorkedExample();
    mainWindow.PrintLasserClick();
    ASSERT_TRUE(dialogs.laserOptions.isVisible());

    WhenThePrintDialogShows([&](QPrintDialog& dialog) { ChoosePdfFile(dialog, path); });
    dialogs.laserOptions.findChild<QAbstractButton*>(QStringLiteral("BitBtn1"))->click();

    EXPECT_EQ(printDialogsSeen, 1);
    EXPECT_TRUE(platform.messages.ErrorReports().isEmpty())
        << platform.messages.ErrorReports().join(' ').toStdString();
    EXPECT_EQ(PdfText(path), R"(Control de Calidad
Precisión del Método Analítico
Información General
Nombre del método: Valoración
Fecha: 01/06/2001
Número de Analistas: 2
Número de días: 2
Número de replicaciones: 3

(Día 1,Replica 1)
(Día 1,Replica 2)
(Día 1,Replica 3)
(Día 2,Replica 1)
(Día 2,Replica 2)
(Día 2,Replica 3)

Analista 1
99.1
100.2
99.8
100.5
99.9
100.1

Realizó: ________________________

Analista 2
98.7
99.5
99
100
99.6
99.3

Revisó: ________________________
ORBETA v. w 3.1

)"
                             "\f");
}

TEST(QtPrintSurface, MeasuresAndDrawsInThePrintersDevicePixels) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath("page.pdf"));

    QtPrintSurface surface(printer);
    surface.BeginJob();
    surface.SelectFont("ARIAL", 12);
    EXPECT_EQ(surface.FontHeight(), 100) << "12 points at 600 dpi, whatever the printer's own";
    EXPECT_EQ(surface.FontPointSize(), 12);
    EXPECT_EQ(surface.VerticalResolution(), 600);
    EXPECT_EQ(surface.PrintableWidth(), printer.width());
    EXPECT_GT(surface.PrintableWidth(), 4000) << "a page is several inches wide";
    const int narrow = surface.TextWidth("Control");
    const int wide = surface.TextWidth("Control de Calidad");
    EXPECT_GT(narrow, 0);
    EXPECT_GT(wide, narrow);
    surface.SelectFont("ARIAL", 10);
    EXPECT_EQ(surface.FontHeight(), 83);
    EXPECT_LT(surface.TextWidth("Control de Calidad"), wide) << "measured in the font selected";
    surface.DrawText(540, 600, "Precisión del Método Analítico");
    surface.DrawLine(0, 820, surface.PrintableWidth(), 820);
    surface.EndJob();

    EXPECT_EQ(PdfText(folder.filePath("page.pdf")), "Precisión del Método Analítico\n\n\f");
}

TEST(QtPrintSurface, SaysInSpanishWhenThePrinterCannotStartTheJob) {
    QTemporaryDir folder;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath("no existe/page.pdf"));
    QtPrintSurface surface(printer);
    try {
        surface.BeginJob();
        ADD_FAILURE() << "a job begun on a file that cannot be written";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "La impresora no pudo iniciar el trabajo de impresión");
    }
}

} // namespace
} // namespace orbeta
