#include "engine/ReportText.h"
#include "study/Error.h"
#include "support/Studies.h"

#include <gtest/gtest.h>

namespace orbeta {
namespace {

using testing::WorkedExample;

TEST(ReportText, WorkedExampleGivesEveryLine) {
    StatisticsEngine engine;
    AnovaTable anova;
    PrecisionSummary precision;
    std::vector<std::string> lines;
    ComputeReport(WorkedExample(), '.', engine, anova, precision, [&lines](const auto& section) {
        lines.insert(lines.end(), section.begin(), section.end());
    });
    EXPECT_EQ(lines, testing::WorkedExampleReport());
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
