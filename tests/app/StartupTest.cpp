#include "app/Startup.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

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

} // namespace
} // namespace orbeta
