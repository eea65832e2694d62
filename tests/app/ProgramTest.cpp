// The orbeta program as the desktop and a terminal start it.
#include "app/Startup.h"
#include "support/Processes.h"
#include "support/Studies.h"
#include "support/TemporaryFolder.h"

#include "ui/Fdatos.h"

#include <QApplication>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace orbeta {
namespace {

using testing::Outcome;
using testing::RunCommand;

// Without any display: what it prints must not need one.
Outcome RunProgram(const std::string& arguments) {
    return RunCommand(std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ") +
                      ORBETA_PROGRAM + " " + arguments);
}

TEST(ProgramCommandLine, PrintsHelpAndVersionAndRefusesWhatItDoesNotRead) {
    struct Case {
        std::string arguments;
        Outcome expected;
    };
    const std::string usage = "; «orbeta --help» muestra el uso\n";
    const Case cases[] = {
        {"--help",
         {0,
          "Uso: orbeta [ESTUDIO.w05] — abre el programa y, si se indica, el estudio guardado en "
          "ese archivo; orbeta --record ESTUDIO.w05 SALIDA.pdf [--limit-repeatability X] "
          "[--limit-intermediate Y] [--unit U] — escribe su registro de validación sin "
          "ventanas; orbeta --verify [--pdf INFORME.pdf] — verifica la instalación sin ventanas\n",
          ""}},
        {"--version", {0, "ORBETA, versión " ORBETA_VERSION "\n", ""}},
        {"-platform offscreen", {2, "", "orbeta: opción desconocida «-platform»" + usage}},
        {"a.w05 b.w05", {2, "", "orbeta: se abre un solo estudio a la vez" + usage}},
    };
    for (const Case& c : cases) {
        const Outcome outcome = RunProgram(c.arguments);
        EXPECT_EQ(outcome.status, c.expected.status) << c.arguments;
        EXPECT_EQ(outcome.out, c.expected.out) << c.arguments;
        EXPECT_EQ(outcome.err, c.expected.err) << c.arguments;
    }
}

std::vector<std::string> g_messages;

void Record(QtMsgType, const QMessageLogContext&, const QString& message) {
    g_messages.push_back(message.toStdString());
}

// The whole start as main() does it, from before the application exists, so that what Qt
// reports while it loads its plugins and translations is caught too.
TEST(ProgramStart, StartsOpensAStudyAndQuitsWithoutAWord) {
    // Qt itself complains when there is no runtime folder, which every desktop session has.
    const testing::TemporaryFolder runtimeFolder;
    std::filesystem::permissions(runtimeFolder.Path(), std::filesystem::perms::owner_all);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(QString::fromStdString(runtimeFolder.Path())));
    const QtMessageHandler previous = qInstallMessageHandler(Record);
    int argumentCount = 1;
    char name[] = "orbeta";
    char* arguments[] = {name, nullptr};
    QApplication application(argumentCount, arguments);
    ConfigureApplication(application);
    int exitCode = -1;
    QString captureCaption;
    {
        // Named as a terminal names it, from the folder it is in.
        const std::filesystem::path startFolder = std::filesystem::current_path();
        std::filesystem::current_path(testing::kWorkedExampleFile.parent_path());
        Program program;
        program.Start(testing::kWorkedExampleFile.filename());
        std::filesystem::current_path(startFolder);
        QTimer::singleShot(0, [&] {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&program.MainWindow()));
            // The study opens once the main window is active.
            EXPECT_TRUE(QTest::qWaitFor([&] { return program.MainWindow().CaptureWindow(); }));
            if (const TFinforma* capture = program.MainWindow().CaptureWindow()) {
                captureCaption = capture->windowTitle();
            }
            program.MainWindow().FileExit();
        });
        exitCode = QApplication::exec();
        EXPECT_FALSE(program.MainWindow().isVisible());
    }
    qInstallMessageHandler(previous);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(captureCaption.toStdString(), testing::kWorkedExampleFile.string());
    EXPECT_EQ(g_messages, std::vector<std::string>());
}

} // namespace
} // namespace orbeta
