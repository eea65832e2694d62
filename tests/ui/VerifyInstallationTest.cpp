#include "ui/VerifyInstallation.h"
#include "doubles/ScriptedPlatform.h"
#include "support/Processes.h"
#include "support/Qualifications.h"
#include "support/TemporaryFolder.h"
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

const qualification::RunContext kContext = testing::FixedRunContext();

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
    platform.fileDialogs.QueueAnswer(std::nullopt);
    verify->trigger();
    // Run from the build tree, the program is not where the package puts it.
    EXPECT_EQ(platform.messages.Messages(),
              QStringList{QStringLiteral("Verificación correcta: 441 de 441 cifras.")});
    ASSERT_EQ(platform.fileDialogs.SaveDialogsShown().size(), 1U);
    EXPECT_EQ(platform.printer.PdfTitles(), QStringList());
}

TEST(VerifyInstallation, AChangedInstalledFileIsNamedThenTheReportIsOfferedAsPdf) {
    const testing::TemporaryFolder folder;
    struct Case {
        std::optional<std::string> chosen; // none: the user cancels
        QStringList errorReports;
        bool written;
    };
    const Case cases[] = {
        {std::nullopt, {}, false},
        {"informe.pdf", {}, true},
        {"falta/informe.pdf", {QStringLiteral("Invalid filename.")}, false},
    };
    for (const Case& c : cases) {
        ScriptedPlatform platform;
        ChangedInstallation probe;
        const std::filesystem::path target = folder / c.chosen.value_or("nada.pdf");
        platform.fileDialogs.QueueAnswer(
            c.chosen ? std::optional(ChosenFile{QString::fromStdString(target.string()), {}})
                     : std::nullopt);
        VerifyInstallation(nullptr, platform.Seams(), probe, "/usr/bin/orbeta", kContext);
        EXPECT_EQ(platform.messages.Messages(),
                  QStringList{QStringLiteral(
                      "Verificación fallida: 441 de 441 cifras correctas.\n"
                      "Archivos del paquete orbeta que no coinciden con su registro (dpkg "
                      "--verify orbeta):\n"
                      "Modificado: /usr/share/doc/orbeta/ayuda/anova.html")});
        ASSERT_EQ(platform.fileDialogs.SaveDialogsShown().size(), 1U);
        const FileDialogSettings& asked = platform.fileDialogs.SaveDialogsShown().front();
        EXPECT_EQ(asked.title, QStringLiteral("Guardar el informe de verificación"));
        EXPECT_EQ(asked.fileTypes, QStringList{QStringLiteral("Documento PDF (*.pdf)")});
        EXPECT_EQ(asked.defaultExtension, QStringLiteral("pdf"));
        EXPECT_EQ(asked.proposedName, QStringLiteral("Verificación ORBETA 2026-12-09.pdf"));
        EXPECT_EQ(platform.messages.ErrorReports(), c.errorReports);
        EXPECT_EQ(std::filesystem::exists(target), c.written) << target;
        if (c.written) {
            EXPECT_EQ(platform.printer.PdfTitles(),
                      QStringList{QStringLiteral("Verificación de la instalación de ORBETA")});
            EXPECT_EQ(testing::ReadBytes(target).substr(0, 5), "%PDF-");
        }
    }
}

// A check of one study of four figures, one of which fails.
TEST(VerifyInstallation, TheReportAsPdfHoldsEveryPartOnItsPages) {
    ChangedInstallation probe;
    const qualification::Qualification outcome =
        qualification::Qualify(probe, "/usr/bin/orbeta", {&testing::kHandStudy, 1});
    const testing::TemporaryFolder folder;
    ScriptedPlatform platform;
    WriteReportPdf(platform.printer, folder / "informe.pdf", kContext, outcome);
    const std::string pdf = (folder / "informe.pdf").string();
    EXPECT_EQ(
        testing::RunCommand("pdfinfo '" + pdf + "' | grep -E '^(Pages|Page size|Title):'").out,
        "Title:           Verificación de la instalación de ORBETA\n"
        "Pages:           2\n"
        "Page size:       842 x 595 pts (A4)\n");
    // The header on every page: the title, the date and «Página x de y»; the footer: the machine,
    // the program and the moment. The signature block does not fit under the outcome.
    EXPECT_EQ(
        testing::RunCommand("LC_ALL=C pdftotext -layout '" + pdf + "' -").out,
        "Verificación de la instalación de ORBETA                                                  "
        "  2026-12-09                    Página 1 de 2\n"
        "\n"
        "                                                          Informe de verificación de la "
        "instalación de ORBETA\n"
        "\n"
        "Dónde y cuándo se ejecutó\n"
        " Dato                  Valor\n"
        " Programa              ORBETA 3.1\n"
        " Compilación           Release, revisión abc1234\n"
        " Qt                    6.4.2\n"
        " Boost                 1.74\n"
        " Compilador            GCC 12.2.0\n"
        " Sistema operativo     Debian GNU/Linux 12\n"
        " Equipo                lab-03\n"
        " Usuario               ana\n"
        " Fecha y hora          2026-12-09 10:30:00 CET\n"
        "\n"
        "Instalación\n"
        "Archivos del paquete orbeta que no coinciden con su registro (dpkg --verify orbeta):\n"
        "Modificado: /usr/share/doc/orbeta/ayuda/anova.html\n"
        "\n"
        "Estudio: Prueba (2 analistas × 2 días × 2 réplicas)\n"
        " Cifra                                Esperado       Obtenido   LRE    Regla         "
        "Pasa\n"
        " anova.error.ms                             0.0425     0.0425   15.0   LRE ≥ 9       sí\n"
        " precision.mean                              10.55      10.55     —    seis cifras   sí\n"
        " acceptance.repeatability.verdict          Cumple     Cumple      —    mismo texto   sí\n"
        " anova.error.df                                  5          4    0.7   LRE ≥ 9       NO\n"
        "Origen: a mano\n"
        "Límites de aceptación (RSD): repetibilidad 5 %\n"
        "Cifras correctas: 3 de 4.\n"
        "\n"
        "Resultado\n"
        "Verificación fallida: 3 de 4 cifras correctas.\n"
        "Archivos del paquete orbeta que no coinciden con su registro (dpkg --verify orbeta):\n"
        "Modificado: /usr/share/doc/orbeta/ayuda/anova.html\n"
        "Prueba, anova.error.df: esperado 5, obtenido 4 (LRE ≥ 9).\n"
        "\n"
        "\n"
        "\n"
        "\n"
        "Equipo lab-03                                                                             "
        "  ORBETA 3.1          2026-12-09 10:30:00 CET\n"
        "\fVerificación de la instalación de ORBETA                                                "
        "  2026-12-09                       Página 2 de 2\n"
        "\n"
        "Ejecutó                                                         Revisó                    "
        "             Aprobó\n"
        "Nombre:                                                         Nombre:                   "
        "             Nombre:\n"
        "Fecha:                                                          Fecha:                    "
        "             Fecha:\n"
        "Firma:                                                          Firma:                    "
        "             Firma:\n"
        "Ejecutó: quien firma ejecutó esta verificación en este equipo y con este usuario.\n"
        "Revisó: quien firma comprobó la instalación y cada cifra de este informe.\n"
        "Aprobó: quien firma acepta la instalación como cualificada para el uso del laboratorio.\n"
        "\n"
        "\n"
        "\n"
        "\n"
        "Equipo lab-03                                                                             "
        "ORBETA 3.1             2026-12-09 10:30:00 CET\n"
        "\f");
}

} // namespace
} // namespace orbeta
