#include "CaptureWindowFixture.h"

#include "support/Studies.h"

#include "print/Uprint.h"
#include "print/Uprint1.h"
#include "printing/PrintDialogs.h"
#include "printing/Uopprt.h"
#include "printing/Uopprt1.h"
#include "printing/Uoprt.h"
#include "support/RecordingPrintSurface.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gmock/gmock.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace orbeta {
namespace {

using ::testing::Contains;
using ::testing::IsEmpty;
using ::testing::Not;

std::unique_ptr<PageLayout> Laser(PrintSurface& surface) {
    return std::make_unique<LaserLayout>(surface, '.');
}

std::function<std::unique_ptr<PageLayout>(PrintSurface&)> DeskJetAs(DeskJetSettings settings) {
    return [settings](PrintSurface& surface) {
        return std::make_unique<DeskJetLayout>(surface, '.', settings);
    };
}

class PrintDialogsTest : public testing::CaptureWindowTest {
protected:
    PrintDialogsTest() : dialogs(CreatePrintDialogs(mainWindow)) {}

    void OpenWorkedExample() {
        platform.fileDialogs.QueueAnswer(ChosenFile{
            QString::fromStdString(testing::kWorkedExampleFile.string()), QStringLiteral("")});
        Command("FileOpenItem").trigger();
        QApplication::processEvents();
    }
    static QAbstractButton& Button(QWidget& dialog, const QString& text) {
        for (auto* button : dialog.findChildren<QAbstractButton*>()) {
            if (button->text() == text || button->objectName() == text) {
                return *button;
            }
        }
        throw std::logic_error("no button " + text.toStdString());
    }
    void Accept(QWidget& dialog) {
        Button(dialog, QStringLiteral("BitBtn1")).click();
        QApplication::processEvents();
    }
    const std::vector<std::string>& Printed() { return platform.printer.Recording().Operations(); }
    // The operations printed since the first `from`.
    std::vector<std::string> PrintedSince(std::size_t from) {
        return {Printed().begin() + static_cast<std::ptrdiff_t>(from), Printed().end()};
    }
    // The job a layout prints of the capture window's study as it stands, on the scripted
    // printer's page: its results page when `results`, else its general page.
    std::vector<std::string>
    Job(const std::function<std::unique_ptr<PageLayout>(PrintSurface&)>& layout, bool results) {
        const Study study = Capture()->StudySnapshot();
        testing::RecordingPrintSurface surface(600, 4800);
        if (results) {
            const auto [anova, precision] = testing::ComputeResults(study);
            layout(surface)->PrintResults(study, anova, precision);
        } else {
            layout(surface)->PrintGeneralInfo(study);
        }
        return surface.Operations();
    }

    PrintDialogs dialogs;
};

// The dialogs are made at start-up but take their typeface and glyphs at their first show.
TEST_F(PrintDialogsTest, EachDialogFirstShownAfterStartHasItsControlsTypefaceAndDefaults) {
    struct Row {
        QWidget& dialog;
        QStringList buttons;
        QStringList checked;
        QStringList withGlyph;
    };
    const Row rows[] = {
        {dialogs.laserOptions,
         {"Imprime Información General", "Imprime Resultados", "Aceptar", "Cancelar"},
         {"Imprime Información General"},
         {"Aceptar", "Cancelar"}},
        {dialogs.printerAndMargin,
         {"Impresora DeskJet", "Impresora Laser Jet", "1 cm", "1.5 cm", "2.0 cm", "OK"},
         {"Impresora DeskJet", "1.5 cm"},
         {"OK"}},
        {dialogs.deskJetOptions,
         {"Imprime Información General", "Imprime Resultados", "Aceptar", "Cancelar"},
         {"Imprime Información General"},
         {"Aceptar", "Cancelar"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.dialog.objectName().toStdString());
        row.dialog.show();
        QStringList buttons, checked, withGlyph;
        for (const QAbstractButton* button : row.dialog.findChildren<QAbstractButton*>()) {
            buttons.append(button->text());
            if (button->isChecked()) {
                checked.append(button->text());
            }
            if (!button->icon().isNull()) {
                withGlyph.append(button->text());
            }
            EXPECT_EQ(button->font().pixelSize(), 13) << button->text().toStdString();
            EXPECT_TRUE(button->font().bold()) << button->text().toStdString();
        }
        EXPECT_EQ(buttons, row.buttons);
        EXPECT_EQ(checked, row.checked);
        EXPECT_EQ(withGlyph, row.withGlyph);
        row.dialog.hide();
    }
}

TEST_F(PrintDialogsTest, LasserPrintsTheChosenPageComputedAfreshAtEveryPrint) {
    OpenWorkedExample();
    Command("PrintLasser").trigger();
    QWidget& laser = dialogs.laserOptions;
    ASSERT_TRUE(laser.isVisible());
    EXPECT_FALSE(laser.isModal());

    Button(laser, QStringLiteral("Imprime Resultados")).click();
    platform.printer.QueueConfirm(true);
    Accept(laser);
    EXPECT_EQ(Printed(), Job(Laser, true));
    EXPECT_THAT(Printed(), Contains("text 1932 1600 1.02083")) << "the worked example's figures";
    EXPECT_TRUE(laser.isVisible()) << "stays open for the next print";

    Grid().SetCellText(1, 1, QStringLiteral("95"));
    platform.printer.QueueConfirm(true);
    const auto firstJob = Printed().size();
    Accept(laser);
    EXPECT_EQ(PrintedSince(firstJob), Job(Laser, true));
    EXPECT_THAT(PrintedSince(firstJob), Not(Contains("text 1932 1600 1.02083")));

    Button(laser, QStringLiteral("Cancelar")).click();
    EXPECT_FALSE(laser.isVisible());
    Command("PrintLasser").trigger();
    EXPECT_TRUE(Button(laser, QStringLiteral("Imprime Resultados")).isChecked());
}

TEST_F(PrintDialogsTest, NothingIsPrintedOnCancelNoPrinterOrAResultLeftEmpty) {
    OpenWorkedExample();
    Command("PrintLasser").trigger();
    QWidget& laser = dialogs.laserOptions;
    Button(laser, QStringLiteral("Imprime Resultados")).click();

    platform.printer.QueueConfirm(false);
    Accept(laser);
    EXPECT_THAT(ErrorReports(), IsEmpty());
    platform.printer.QueueNoPrinter();
    Accept(laser);
    Grid().SetCellText(2, 6, QString());
    platform.printer.QueueConfirm(true);
    Accept(laser);
    EXPECT_EQ(ErrorReports(), (QStringList{"There is no default printer currently selected.",
                                           "'' is not a valid floating point value."}));

    EXPECT_THAT(Printed(), IsEmpty()) << "no job begun";
    EXPECT_TRUE(laser.isVisible());
    EXPECT_TRUE(Button(laser, QStringLiteral("Imprime Resultados")).isChecked());
}

TEST_F(PrintDialogsTest, AResultMarkedMissingWhileADialogIsOpenIsRefusedBeforeThePrinter) {
    OpenWorkedExample();
    struct Case {
        QWidget* options;
        const char* page;
    };
    const Case cases[] = {
        {&dialogs.laserOptions, "Imprime Información General"},
        {&dialogs.laserOptions, "Imprime Resultados"},
        {&dialogs.deskJetOptions, "Imprime Información General"},
        {&dialogs.deskJetOptions, "Imprime Resultados"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.page);
        Grid().SetCellText(1, 2, QStringLiteral("100.2"));
        mainWindow.PrintLasserClick();
        mainWindow.FilePrint();
        Button(*row.options, QString::fromUtf8(row.page)).click();
        Grid().SetCellText(1, 2, QStringLiteral(" na"));
        const QStringList reportsBefore = ErrorReports();
        Accept(*row.options);
        EXPECT_EQ(ErrorReports(),
                  reportsBefore + QStringList(QString::fromUtf8(kHasMissingResults)));
    }
    EXPECT_EQ(platform.printer.DialogsRun(), 0);
    EXPECT_THAT(Printed(), IsEmpty());
}

TEST_F(PrintDialogsTest, AcceptIsAvailableOnlyWhileACaptureWindowIsOpen) {
    for (QWidget* options : {static_cast<QWidget*>(&dialogs.laserOptions),
                             static_cast<QWidget*>(&dialogs.deskJetOptions)}) {
        QAbstractButton& accept = Button(*options, QStringLiteral("BitBtn1"));
        EXPECT_FALSE(accept.isEnabled());
        NewStudy();
        EXPECT_TRUE(accept.isEnabled());
        DiscardStudy();
        EXPECT_FALSE(accept.isEnabled());
        dynamic_cast<PrintOptionsDialog&>(*options).BitBtn1Click();
    }
    EXPECT_EQ(platform.printer.DialogsRun(), 0) << "no print without a study";
}

TEST_F(PrintDialogsTest, DeskjetChecksTheStudyAndPrintsWithThePrinterAndMarginChosen) {
    NewStudy();
    mainWindow.FilePrint();
    EXPECT_THAT(Messages(), Not(IsEmpty()));
    EXPECT_FALSE(dialogs.deskJetOptions.isVisible());
    DiscardStudy();

    OpenWorkedExample();
    mainWindow.FilePrint();
    ASSERT_TRUE(dialogs.deskJetOptions.isVisible());
    platform.printer.QueueConfirm(true);
    Accept(dialogs.deskJetOptions);
    EXPECT_EQ(Printed(), Job(DeskJetAs({}), false)) << "DeskJet and 1.5 cm until chosen otherwise";

    // Answered once it runs; anything else up is closed, so that the test fails, not waits.
    QTimer::singleShot(0, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != &dialogs.printerAndMargin) {
            ADD_FAILURE() << "the printer and margin dialog is not the modal window";
            if (modal) {
                modal->close();
            }
            return;
        }
        Button(dialogs.printerAndMargin, QStringLiteral("Impresora Laser Jet")).click();
        Button(dialogs.printerAndMargin, QStringLiteral("2.0 cm")).click();
        Accept(dialogs.printerAndMargin);
    });
    dialogs.laserOptions.hide();
    mainWindow.mnuoprtClick();
    EXPECT_FALSE(dialogs.printerAndMargin.isVisible());
    EXPECT_TRUE(dialogs.laserOptions.isVisible()) << "the Laser Jet type opens the laser dialog";

    platform.printer.QueueConfirm(true);
    const auto firstJob = Printed().size();
    Accept(dialogs.deskJetOptions);
    EXPECT_EQ(PrintedSince(firstJob), Job(DeskJetAs({DeskJetSettings::PrinterType::LaserJet,
                                                     DeskJetSettings::Margin::TwoCm}),
                                          false));
}

} // namespace
} // namespace orbeta
