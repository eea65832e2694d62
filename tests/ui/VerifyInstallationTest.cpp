#include "ui/VerifyInstallation.h"
#include "doubles/ScriptedPlatform.h"
#include "ui/Main.h"

#include <QAction>
#include <QMenu>
#include <QSet>

#include <gtest/gtest.h>

namespace orbeta {
namespace {

using testing::ScriptedPlatform;

class ChangedInstallation final : public qualification::InstallationProbe {
public:
    std::string ProgramPath() override { return "/usr/bin/orbeta"; }
    qualification::PackageRecord Package() override {
        return {true, "??5??????   /usr/share/doc/orbeta/ayuda/anova.html\n"};
    }
};

TEST(VerifyInstallation, TheHelpMenuCommandShowsTheOutcome) {
    ScriptedPlatform platform;
    TMainForm mainWindow(platform.Seams());
    mainWindow.show();
    auto* verify = mainWindow.findChild<QAction*>(QStringLiteral("HelpVerifyItem"));
    ASSERT_NE(verify, nullptr);
    EXPECT_EQ(verify->text(), QStringLiteral("&Verificar la instalación..."));
    EXPECT_TRUE(verify->isEnabled());
    // Each item of the Ayuda menu has an access key of its own.
    QSet<QChar> keys;
    const auto* menu = mainWindow.findChild<QMenu*>(QStringLiteral("HelpMenu"));
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator() && action->isVisible()) {
            const QString text = action->text();
            const QChar key = text.at(text.indexOf(QLatin1Char('&')) + 1).toLower();
            EXPECT_FALSE(keys.contains(key)) << text.toStdString();
            keys.insert(key);
        }
    }
    verify->trigger();
    // Run from the build tree, the program is not where the package puts it.
    EXPECT_EQ(platform.messages.Messages(),
              QStringList{QStringLiteral("Verificación correcta: 369 de 369 cifras.")});
}

TEST(VerifyInstallation, AChangedInstalledFileIsNamed) {
    ScriptedPlatform platform;
    ChangedInstallation probe;
    VerifyInstallation(nullptr, platform.messages, probe, "/usr/bin/orbeta");
    EXPECT_EQ(platform.messages.Messages(),
              QStringList{QStringLiteral(
                  "Verificación fallida: 369 de 369 cifras correctas.\n"
                  "Archivos del paquete orbeta que no coinciden con su registro (dpkg --verify "
                  "orbeta):\n"
                  "Modificado: /usr/share/doc/orbeta/ayuda/anova.html")});
}

} // namespace
} // namespace orbeta
