#include "app/Startup.h"

#include "support/Expectations.h"
#include "support/TemporaryFolder.h"
#include "ui/CaptureGrid.h"
#include "ui/Fdatos.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace orbeta {
namespace {

TEST(Startup, ShowsTheMainWindowMaximizedUnderTheSplash) {
    Program program;
    TMainForm& mainWindow = program.MainWindow();
    ASSERT_NE(program.Splash(), nullptr) << "the splash comes with the main window";
    EXPECT_TRUE(program.Splash()->isVisible()) << "shown at once";
    EXPECT_FALSE(mainWindow.isVisible()) << "the main window is shown last";
    EXPECT_EQ(mainWindow.normalGeometry().size(), QSize(534, 327));

    program.Start();
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_TRUE(mainWindow.windowState().testFlag(Qt::WindowMaximized));
    EXPECT_EQ(mainWindow.windowTitle(),
              QString::fromUtf8("Precisión del método analítico (Precisión Intermedia)"));
    EXPECT_EQ(program.Splash()->parentWidget(), &mainWindow);
}

TEST(Startup, CreatesThePrintDialogsHiddenForTheWholeRun) {
    Program program;
    for (const char* name : {"TFopprt1", "TFOPRT", "TFopprt"}) {
        const auto* dialog = program.MainWindow().findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(dialog, nullptr) << name;
        EXPECT_FALSE(dialog->isVisible()) << name;
    }
    program.MainWindow().PrintLasserClick();
    EXPECT_TRUE(program.MainWindow().findChild<QWidget*>(QStringLiteral("TFopprt1"))->isVisible());
}

TEST(Startup, MessagesCarryTheApplicationTitleAndHelpComesFromItsHelpFile) {
    EXPECT_STREQ(kApplicationTitle, "Presicion del Método (Presición Intermedia)");
    EXPECT_STREQ(kHelpFile, "AYUDA5.HLP");

    Program program;
    QString caption;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            caption = box->windowTitle();
            box->accept();
        }
    });
    program.MainWindow().Seams().messages.ShowMessage("Falta capturar un dato");
    EXPECT_EQ(caption, QString::fromUtf8(kApplicationTitle));

    program.MainWindow().Seams().help.ShowContents();
    bool helpShown = false;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        helpShown = helpShown || (window->objectName() == "TFayuda" && window->isVisible());
    }
    EXPECT_TRUE(helpShown);
}

// A study changed when the program is terminated (a logout, a shutdown, kill) comes back at the
// next start: SIGTERM writes its recovery copy, the next start offers it, and Yes restores every
// field and cell, still to be saved.
TEST(Startup, AStudyChangedWhenTheProgramIsTerminatedIsOfferedAtTheNextStart) {
    testing::TemporaryFolder state;
    const auto recoveryFolder = state / "orbeta";
    Study typed;
    QString takenBefore;
    {
        Program program(recoveryFolder);
        program.Start();
        TMainForm& mainWindow = program.MainWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));
        mainWindow.findChild<QAction*>(QStringLiteral("FileNewItem"))->trigger();
        QApplication::processEvents();
        auto* method = mainWindow.findChild<QLineEdit*>(QStringLiteral("emetodo"));
        method->setFocus();
        QTest::keyClicks(method, QStringLiteral("Valoracion HPLC"));
        auto* grid = mainWindow.findChild<CaptureGrid*>(QStringLiteral("stgdatos"));
        grid->SetCellText(1, 1, QStringLiteral("99,5"));
        grid->SetCellText(2, 6, QStringLiteral("sin dato"));
        typed = mainWindow.CaptureWindow()->StudySnapshot();
        ASSERT_EQ(mainWindow.Document().MarkText(), "Modificado");
        takenBefore = QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm"));
        QTimer::singleShot(0, [] { ::raise(SIGTERM); });
        EXPECT_EQ(QApplication::exec(), 128 + SIGTERM);
    }
    const QString takenAfter =
        QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm"));

    Program program(recoveryFolder);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(recoveryFolder), {}), 2)
        << "the copy and its lock";
    // The offer is answered as soon as it is shown.
    QString offer;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            offer = box->text();
            box->button(QMessageBox::Yes)->click();
        }
    });
    answer.start(10);
    program.Start();
    TMainForm& mainWindow = program.MainWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return mainWindow.CaptureWindow() != nullptr; }));
    const QString expected =
        QString::fromUtf8("Se encontró un estudio sin guardar de «Nuevo» (%1). ¿Recuperarlo?");
    EXPECT_TRUE(offer == expected.arg(takenBefore) || offer == expected.arg(takenAfter))
        << offer.toStdString();
    EXPECT_TRUE(testing::SameFieldsAndGrid(mainWindow.CaptureWindow()->StudySnapshot(), typed));
    EXPECT_EQ(mainWindow.CaptureWindow()->windowTitle(), "Nuevo");
    EXPECT_EQ(mainWindow.Document().MarkText(), "Modificado");
    EXPECT_TRUE(mainWindow.findChild<QAction*>(QStringLiteral("FileSaveAsItem"))->isEnabled());
    // Held by this run now, the copy is offered to no other.
    EXPECT_TRUE(RecoverySlot::ClaimLeftBehind(recoveryFolder).empty());
}

} // namespace
} // namespace orbeta
