#include "CaptureWindowFixture.h"

#include "support/Studies.h"

#include "print/qt/PrintDialogs.h"
#include "print/qt/Uopprt.h"
#include "print/qt/Uopprt1.h"
#include "print/qt/Uoprt.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gmock/gmock.h>

#include <algorithm>

namespace orbeta {
namespace {

using ::testing::Contains;
using ::testing::IsEmpty;
using ::testing::Not;

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

    PrintDialogs dialogs;
};

TEST_F(PrintDialogsTest, LasserPrintsTheChosenPageComputedAfreshAtEveryPrint) {
    OpenWorkedExample();
    Command("PrintLasser").trigger();
    QWidget& laser = dialogs.laserOptions;
    ASSERT_TRUE(laser.isVisible());
    EXPECT_FALSE(laser.isModal());

    Button(laser, QStringLiteral("Imprime Resultados")).click();
    platform.printer.QueueConfirm(true);
    Accept(laser);
    EXPECT_THAT(Printed(), Contains("text 1932 1600 1.02083"));
    EXPECT_EQ(Printed().back(), "end");
    EXPECT_TRUE(laser.isVisible()) << "stays open for the next print";

    Grid().SetCellText(1, 1, QStringLiteral("95"));
    platform.printer.QueueConfirm(true);
    const auto firstJob = Printed().size();
    Accept(laser);
    const std::vector<std::string> secondJob(Printed().begin() + firstJob, Printed().end());
    EXPECT_THAT(secondJob, Not(Contains("text 1932 1600 1.02083")));
    EXPECT_THAT(secondJob, Contains("text 540 1800 Error de Método"));

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
    EXPECT_THAT(Printed(), Contains("text 36 1200 Nombre del método: Valoración"))
        << "DeskJet and 1.5 cm until chosen otherwise";

    QTimer::singleShot(0, [this] {
        Button(dialogs.printerAndMargin, QStringLiteral("Impresora Laser Jet")).click();
        Button(dialogs.printerAndMargin, QStringLiteral("2.0 cm")).click();
        Accept(dialogs.printerAndMargin);
    });
    dialogs.laserOptions.hide();
    mainWindow.mnuoprtClick();
    EXPECT_FALSE(dialogs.printerAndMargin.isVisible());
    EXPECT_TRUE(dialogs.laserOptions.isVisible()) << "the Laser Jet type opens the laser dialog";

    platform.printer.QueueConfirm(true);
    Accept(dialogs.deskJetOptions);
    EXPECT_THAT(Printed(), Contains("font ARIAL 14"));
    EXPECT_THAT(Printed(), Contains("text 70 1404 Nombre del método: Valoración"));
}

} // namespace
} // namespace orbeta
