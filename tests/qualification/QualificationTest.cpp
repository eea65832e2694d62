#include "qualification/Report.h"
#include "study/Error.h"
#include "study/Numbers.h"
#include "study/Study.h"
#include "support/Qualifications.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

namespace orbeta::qualification {
namespace {

// A probe that answers as it was told and records nothing else.
class ScriptedProbe final : public InstallationProbe {
public:
    ScriptedProbe(std::string program, PackageRecord record)
        : m_program(std::move(program)), m_record(std::move(record)) {}
    std::string ProgramPath() override { return m_program; }
    PackageRecord Package() override { return m_record; }

private:
    std::string m_program;
    PackageRecord m_record;
};

constexpr std::string_view kInstalled = "/usr/bin/orbeta-report";

ScriptedProbe Uninstalled() {
    return {"/home/ana/orbeta/build/app/orbeta-report/orbeta-report", {}};
}

const ReferenceStudy& StudyNamed(std::string_view name) {
    const auto studies = ReferenceStudies();
    return *std::find_if(studies.begin(), studies.end(),
                         [name](const ReferenceStudy& study) { return study.name == name; });
}

TEST(ResultDifference, IsFormedInDecimalThenRoundedOnce) {
    struct Case {
        const char* value;
        const char* reference;
        char separator;
        double difference;
    };
    // The doubles of the first pair differ by 0.0999755859375.
    const Case cases[] = {
        {"1000000000000.4", "1000000000000.3", '.', 0.1},
        {"12345678901234567890.5", "12345678901234567890.4", '.', 0.1},
        {"1000000000000.3", "1000000000000.4", '.', -0.1},
        {"-2.5", "1.25", '.', -3.75},
        {"  -2.5", "-2.75 ", '.', 0.25},
        {"1,5E3", "2e-1", ',', 1499.8},
        {"7", "7.000", '.', 0},
        {"1e-300", "1e300", '.', -1e300},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResultDifference(c.value, c.reference, c.separator), c.difference)
            << c.value << " - " << c.reference;
    }
    try {
        ResultDifference("5", "1e500", '.');
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "'1e500' is not a valid floating point value");
    }
}

TEST(LogRelativeError, CountsTheAgreeingDigitsUpToThoseKnown) {
    struct Case {
        double obtained;
        double expected;
        double lre;
    };
    const Case cases[] = {
        {0.21, 0.21, 15}, {0.2100000021, 0.21, 8}, {-0.2100000021, -0.21, 8}, {1e-10, 0, 10},
        {1e-20, 0, 15},   {2.5, 0.21, 0},          {std::nan(""), 1, 0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(LogRelativeError(c.obtained, c.expected, 15), c.lre, 1e-6)
            << c.obtained << " against " << c.expected;
    }
}

TEST(Qualification, EveryReferenceFigurePassesItsRule) {
    ScriptedProbe probe = Uninstalled();
    const Qualification outcome = Qualify(probe, kInstalled, ReferenceStudies());
    EXPECT_EQ(OutcomeLines(outcome),
              std::vector<std::string>{"Verificación correcta: 441 de 441 cifras."});
    // Without the deviations from the text SmLs07's sums of squares keep four digits.
    const StudyCheck smls07 = CheckStudy(StudyNamed("NIST SmLs07"));
    for (const FigureCheck& figure : smls07.figures) {
        EXPECT_GE(*figure.lre, 13) << figure.name;
    }
}

TEST(Qualification, TheEngineReadingTextsKeepsTheDigitsOfResultsFarFromZero) {
    // As a capture window holds SmLs07: its doubles alone give about four digits.
    const ReferenceStudy& reference = StudyNamed("NIST SmLs07");
    Study study = NewStudy();
    study.analystCount = std::to_string(reference.analysts);
    study.dayCount = std::to_string(reference.days);
    study.replicateCount = std::to_string(reference.replicates);
    ApplyStudyLayout(study);
    for (std::size_t index = 0; index < reference.results.size(); ++index) {
        const auto perAnalyst = static_cast<std::size_t>(reference.days * reference.replicates);
        study.SetCell(static_cast<int>(index / perAnalyst) + 1,
                      static_cast<std::int64_t>(index % perAnalyst) + 1,
                      std::string(reference.results[index]));
    }
    StatisticsEngine engine;
    AnovaTable anova;
    engine.ComputeAnova(study, '.', anova);
    EXPECT_GE(LogRelativeError(anova.ssAnalyst, 1.68, kKnownDigits), 13);
    // NIST's within-group sum of squares is the day's and the error's.
    EXPECT_GE(LogRelativeError(anova.ssDay + anova.ssError, 1.8, kKnownDigits), 13);
}

// The reference study named, with one expected figure replaced.
struct Altered {
    ReferenceStudy study;
    std::vector<ExpectedFigure> figures;
};

Altered WithExpected(std::string_view study, std::string_view figure, std::string_view wrong) {
    Altered altered{StudyNamed(study), {}};
    altered.figures.assign(altered.study.figures.begin(), altered.study.figures.end());
    for (ExpectedFigure& expected : altered.figures) {
        if (expected.name == figure) {
            expected.expected = wrong;
        }
    }
    altered.study.figures = altered.figures;
    return altered;
}

TEST(Qualification, AWrongExpectedFigureFailsAndIsNamed) {
    struct Case {
        const char* study;
        const char* figure;
        const char* wrong;
        const char* line;
    };
    const Case cases[] = {
        {"NIST SmLs07", "anova.analyst.ms", "0.210000002",
         "NIST SmLs07, anova.analyst.ms: esperado 0.210000002, obtenido 0.21000000000000002 "
         "(LRE ≥ 9)."},
        {"Ejemplo de trabajo", "precision.mean", "99.6418",
         "Ejemplo de trabajo, precision.mean: esperado 99.6418, obtenido 99.6417 (seis cifras)."},
        {"Promedio negativo", "acceptance.intermediate.verdict", "Cumple",
         "Promedio negativo, acceptance.intermediate.verdict: esperado Cumple, obtenido Cumple "
         "sin demostrarlo al 95 % (mismo texto)."},
        {"Estudio completo", "cochran.day", "2",
         "Estudio completo, cochran.day: esperado 2, obtenido 3 (LRE ≥ 15)."},
    };
    for (const Case& c : cases) {
        const Altered altered = WithExpected(c.study, c.figure, c.wrong);
        ScriptedProbe probe = Uninstalled();
        const Qualification outcome = Qualify(probe, kInstalled, {&altered.study, 1});
        const auto total = std::to_string(altered.figures.size());
        EXPECT_FALSE(outcome.Passed()) << c.figure;
        EXPECT_EQ(OutcomeLines(outcome),
                  (std::vector<std::string>{
                      "Verificación fallida: " + std::to_string(altered.figures.size() - 1) +
                          " de " + total + " cifras correctas.",
                      c.line}));
    }
}

TEST(Qualification, AFigureAStudyOfEveryFigureDoesNotExpectFailsAndIsNamed) {
    // Of NIST's studies only the certified figures are expected; the rest the program gives pass
    // unchecked.
    struct Case {
        const char* study;
        const char* figure;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"Estudio completo",
         "cochran.c",
         {"Verificación fallida: 106 de 107 cifras correctas.",
          "Estudio completo, cochran.c: esperado —, obtenido 0.239626202927253 (no esperada)."}},
        {"NIST SiRstv", "anova.day.f", {"Verificación correcta: 7 de 7 cifras."}},
    };
    for (const Case& c : cases) {
        Altered altered{StudyNamed(c.study), {}};
        std::copy_if(altered.study.figures.begin(), altered.study.figures.end(),
                     std::back_inserter(altered.figures),
                     [&](const ExpectedFigure& expected) { return expected.name != c.figure; });
        altered.study.figures = altered.figures;
        ScriptedProbe probe = Uninstalled();
        EXPECT_EQ(OutcomeLines(Qualify(probe, kInstalled, {&altered.study, 1})), c.lines)
            << c.figure;
    }
}

TEST(Installation, NamesEveryFileThatDiffersFromThePackagesRecord) {
    struct Case {
        std::string program;
        PackageRecord record;
        InstallationState state;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"/opt/orbeta/bin/orbeta-report",
         {true, ""},
         InstallationState::Uninstalled,
         {"Se ejecuta sin instalar, desde /opt/orbeta/bin/orbeta-report: no hay archivos "
          "instalados que comprobar."}},
        {"/usr/bin/orbeta-report",
         {true, "", true},
         InstallationState::Verified,
         {"Todos los archivos del paquete orbeta coinciden con su registro (dpkg --verify "
          "orbeta)."}},
        {"/usr/bin/orbeta-report",
         {true,
          "??5??????   /usr/bin/orbeta\nmissing     /usr/share/doc/orbeta/ayuda/anova.html\n"},
         InstallationState::Differs,
         {"Archivos del paquete orbeta que no coinciden con su registro (dpkg --verify orbeta):",
          "Modificado: /usr/bin/orbeta", "Falta: /usr/share/doc/orbeta/ayuda/anova.html"}},
        {"/usr/bin/orbeta-report",
         {true, "", false},
         InstallationState::Differs,
         {"dpkg --verify orbeta no terminó bien y no dijo por qué: no se pudieron comprobar los "
          "archivos."}},
        {"/usr/bin/orbeta-report",
         {false, "", false},
         InstallationState::NoRecord,
         {"El programa está en /usr/bin/orbeta-report, pero el sistema no tiene instalado el "
          "paquete orbeta: no hay registro con el que comparar sus archivos."}},
    };
    for (const Case& c : cases) {
        ScriptedProbe probe(c.program, c.record);
        const InstallationCheck check = CheckInstallation(probe, kInstalled);
        EXPECT_EQ(check.state, c.state) << c.record.verifyOutput;
        EXPECT_EQ(check.lines, c.lines);
    }
    ScriptedProbe changed("/usr/bin/orbeta-report", {true, "??5??????   /usr/bin/orbeta\n"});
    const Qualification outcome = Qualify(changed, kInstalled, ReferenceStudies());
    EXPECT_EQ(OutcomeLines(outcome),
              (std::vector<std::string>{
                  "Verificación fallida: 441 de 441 cifras correctas.",
                  "Archivos del paquete orbeta que no coinciden con su registro (dpkg --verify "
                  "orbeta):",
                  "Modificado: /usr/bin/orbeta"}));
}

TEST(Report, HoldsTheRunTheInstallationEveryFigureAndTheSignatures) {
    ScriptedProbe probe = Uninstalled();
    const Qualification outcome = Qualify(probe, kInstalled, {&testing::kHandStudy, 1});
    const RunContext context = testing::FixedRunContext();
    EXPECT_EQ(
        ReportText(context, outcome),
        "INFORME DE VERIFICACIÓN DE LA INSTALACIÓN DE ORBETA\n"
        "\n"
        "Programa: ORBETA 3.1\n"
        "Compilación: Release, revisión abc1234\n"
        "Qt: 6.4.2\n"
        "Boost: 1.74\n"
        "Compilador: GCC 12.2.0\n"
        "Sistema operativo: Debian GNU/Linux 12\n"
        "Equipo: lab-03\n"
        "Usuario: ana\n"
        "Fecha y hora: 2026-12-09 10:30:00 CET\n"
        "\n"
        "INSTALACIÓN\n"
        "Se ejecuta sin instalar, desde /home/ana/orbeta/build/app/orbeta-report/orbeta-report: "
        "no hay archivos instalados que comprobar.\n"
        "\n"
        "ESTUDIO: Prueba (2 analistas × 2 días × 2 réplicas)\n"
        "Origen: a mano\n"
        "Límites de aceptación (RSD): repetibilidad 5 %\n"
        "Cifra                                       Esperado                  Obtenido        "
        "          LRE   Regla        Pasa\n"
        "anova.error.ms                              0.0425                    0.0425          "
        "          15.0  LRE ≥ 9      sí\n"
        "precision.mean                              10.55                     10.55           "
        "          —     seis cifras  sí\n"
        "acceptance.repeatability.verdict            Cumple                    Cumple          "
        "          —     mismo texto  sí\n"
        "anova.error.df                              5                         4               "
        "          0.7   LRE ≥ 9      NO\n"
        "Cifras correctas: 3 de 4.\n"
        "\n"
        "RESULTADO\n"
        "Verificación fallida: 3 de 4 cifras correctas.\n"
        "Prueba, anova.error.df: esperado 5, obtenido 4 (LRE ≥ 9).\n"
        "\n"
        "Ejecutó: Nombre: ______________________  Firma: ______________  Fecha: ____________\n"
        "Revisó:  Nombre: ______________________  Firma: ______________  Fecha: ____________\n"
        "Aprobó:  Nombre: ______________________  Firma: ______________  Fecha: ____________\n");
}

} // namespace
} // namespace orbeta::qualification
