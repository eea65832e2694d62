#include "engine/ReportText.h"
#include "study/Error.h"
#include "support/Studies.h"

#include <gtest/gtest.h>

namespace orbeta {
namespace {

using testing::WorkedExample;

const std::vector<std::string> kWorkedExampleReport{
    "PRECISIÓN DEL MÉTODO ANALÍTICO (PRECISIÓN INTERMEDIA)",
    " ",
    "Nombre del método: Valoración",
    "Fecha: 01/06/2001",
    "Número de analistas: 2",
    "Número de días: 2",
    "Número de replicaciones;",
    "3",
    "                    Analista 1",
    "(Día 1,Replica 1)          99.1",
    "(Día 1,Replica 2)          100.2",
    "(Día 1,Replica 3)          99.8",
    "(Día 2,Replica 1)          100.5",
    "(Día 2,Replica 2)          99.9",
    "(Día 2,Replica 3)          100.1",
    "                    Analista 2",
    "(Día 1,Replica 1)          98.7",
    "(Día 1,Replica 2)          99.5",
    "(Día 1,Replica 3)          99.0",
    "(Día 2,Replica 1)          100.0",
    "(Día 2,Replica 2)          99.6",
    "(Día 2,Replica 3)          99.3",
    " ",
    "ANÁLISIS DE LA VARIANZA",
    " ",
    "FUENTE DE VARIACIÓN : ANALISTA",
    "GRADOS DE LIBERTAD = 1",
    "SUMA DE CUADRADOS = 1.02083",
    "MEDIA DE CUADRADOS = 1.02083",
    "fcal = 2.52577",
    "Pfcal = 0.253851",
    " ",
    "FUENTE DE VARIACIÓN : DIA",
    "GRADOS DE LIBERTAD = 2",
    "SUMA DE CUADRADOS = 0.808333",
    "MEDIA DE CUADRADOS = 0.404167",
    "fcal = 2.343",
    "Pfcal = 0.157716",
    " ",
    "FUENTE DE VARIACIÓN : ERROR",
    "GRADOS DE LIBERTAD = 8",
    "SUMA DE CUADRADOS = 1.38",
    "MEDIA DE CUADRADOS = 0.1725",
    " ",
    "EL ANALISTA NO PRESENTA EFECTO SOBRE LA VALORACIÓN.",
    "NO EXISTE EFECTO DE LOS DÍAS PARA UN ANALISTA EN LA VALORACIÓN.",
    " ",
    " ",
    "                                   EVALUACIÓN DE LA PRECISIÓN",
    " ",
    "NOMBRE DEL MÉTODO = Valoración",
    "COEFICIENTE DE VARIACIÓN TOTAL = 0.542074",
    "REPETIBILIDAD DEL MÉTODO ANALÍTICO = 0.814049",
    "COEFICIENTE DE VARIACIÓN DE REPETIBILIDAD DEL MÉTODO ANALÍTICO = 0.816977",
    "REPRODUCIBILIDAD INTER DIA/ANALISTA = 0.544662",
    "COEFICIENTE DE VARIACIÓN INTER DIA/ANALISTA = 0.546621",
    "REPRODUCIBILIDAD INTERANALISTA = 0.628356",
    "COEFICIENTE DE VARIACIÓN INTERANALISTA = 0.630616",
    "AMPLITUD MÁXIMA RELATIVA DE LAS DETERMINACIONES ANALÍTICAS = 1.63395",
};

TEST(ReportText, WorkedExampleGivesEveryLine) {
    const Study study = WorkedExample();
    StatisticsEngine engine;
    AnovaTable anova;
    PrecisionSummary precision;
    engine.ComputeAnova(study, '.', anova);
    engine.ComputePrecision(study, '.', precision);
    EXPECT_EQ(ReportLines(study, anova, precision, '.'), kWorkedExampleReport);
}

TEST(ReportText, LargestStudyListsEveryResultUnderItsAnalyst) {
    const Study study = testing::LargestStudy();
    const auto lines = ReportStudyLines(study);
    EXPECT_EQ(lines.size(), 8u + 10u * 51u);
    EXPECT_EQ(lines.back(), "(Día 10,Replica 5)          " + study.Cell(10, 50));
    EXPECT_EQ(lines[8 + 9 * 51], "                    Analista 10");
}

TEST(ReportText, TextsAndCountsStandAsTyped) {
    Study study = WorkedExample();
    study.methodName.clear();
    study.analystCount = "02";
    study.SetCell(1, 1, " 99.10 ");
    const auto lines = ReportStudyLines(study);
    EXPECT_EQ(lines[2], "Nombre del método: ");
    EXPECT_EQ(lines[4], "Número de analistas: 02");
    EXPECT_EQ(lines[9], "(Día 1,Replica 1)           99.10 ");
    study.dayCount = "dos";
    EXPECT_THROW(ReportStudyLines(study), Error);
}

TEST(ReportText, ConclusionsFollowTheLevel) {
    AnovaTable anova;
    anova.pAnalyst = 0.05;
    anova.pDay = 0.05;
    auto lines = ReportAnovaLines(anova, '.');
    EXPECT_EQ(lines[lines.size() - 2], "EL ANALISTA NO PRESENTA EFECTO SOBRE LA VALORACIÓN.");
    EXPECT_EQ(lines.back(), "NO EXISTE EFECTO DE LOS DÍAS PARA UN ANALISTA EN LA VALORACIÓN.");
    anova.pAnalyst = 0.0490155;
    anova.pDay = 5.048177e-14;
    lines = ReportAnovaLines(anova, '.');
    EXPECT_EQ(lines[lines.size() - 2], "EL ANALISTA PRESENTA EFECTO SOBRE LA VALORACIÓN.");
    EXPECT_EQ(lines.back(), "EXISTE EFECTO DE LOS DÍAS PARA UN ANALISTA EN LA VALORACIÓN.");
    EXPECT_EQ(lines[15], "Pfcal = 5.04818E-14");
}

TEST(ReportText, PrecisionWindowTextOpensWithTheMean) {
    PrecisionSummary precision;
    precision.mean = 99.64166666;
    precision.cvTotal = 0.5420742;
    const auto lines = PrecisionLines("", precision, ',', PrecisionText::Window);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], "                                   EVALUACIÓN DE LA PRECISIÓN");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "NOMBRE DEL MÉTODO = ");
    EXPECT_EQ(lines[3], "PROMEDIO DE LAS DETERMINACIONES = 99,6417");
    EXPECT_EQ(lines[4], "COEFICIENTE DE VARIACIÓN TOTAL = 0,542074");
}

} // namespace
} // namespace orbeta
