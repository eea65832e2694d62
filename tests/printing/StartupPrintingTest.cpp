#include "app/Startup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QPrinter>

#include <gtest/gtest.h>

namespace orbeta {
namespace {

// Whether a library from `folder` is mapped into this process.
bool Loaded(const QString& folder) {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("no /proc/self/maps");
    }
    return QString::fromLocal8Bit(maps.readAll()).contains(folder + QLatin1Char('/'));
}

// Its own program, so that no earlier test has loaded the printing plugins.
TEST(StartUpPrinting, LoadsNothingOfThePrinterSystemBeforeTheFirstPrint) {
    const QString plugins =
        QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/printsupport");
    if (QDir(plugins).isEmpty()) {
        GTEST_SKIP() << "no printing plugin installed in " << plugins.toStdString();
    }
    {
        Program program;
        program.Start();
        program.MainWindow().PrintLasserClick();
        QApplication::processEvents();
        EXPECT_FALSE(Loaded(plugins)) << "started with the print dialogs created";
    }
    QPrinter printer;
    EXPECT_TRUE(Loaded(plugins)) << "a printer loads the plugin, which the check must see";
}

} // namespace
} // namespace orbeta

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
