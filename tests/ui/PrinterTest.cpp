#include "ui/Printer.h"
#include "print/QtPrintSurface.h"
#include "study/Error.h"

#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace orbeta {
namespace {

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

    EXPECT_GT(QFileInfo(folder.filePath("page.pdf")).size(), 0);
}

TEST(QtPrinter, ReportsTheMissingPrinterInsteadOfShowingTheDialog) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) {
        GTEST_SKIP() << "this machine has a printer";
    }
    QtPrinter printer;
    try {
        printer.RunPrintDialog();
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "There is no default printer currently selected");
    }
}

} // namespace
} // namespace orbeta
