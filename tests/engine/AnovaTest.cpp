#include "engine/Ucalculo.h"
#include "study/Error.h"
#include "study/Numbers.h"
#include "support/Studies.h"

#include "support/Expectations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace orbeta {
namespace {

using testing::ErrorOf;

using testing::LargestStudy;
using testing::StudyWithResults;
using testing::WorkedExample;

std::vector<std::string> Formatted(const AnovaTable& table) {
    std::vector<std::string> texts;
    for (double value : {table.dfAnalyst, table.dfDay, table.dfError, table.ssAnalyst, table.ssDay,
                         table.ssError, table.msAnalyst, table.msDay, table.msError, table.fAnalyst,
                         table.fDay, table.pAnalyst, table.pDay}) {
        texts.push_back(FormatResult(value, '.'));
    }
    return texts;
}

TEST(ComputeAnova, WorkedExampleGivesEveryFigure) {
    StatisticsEngine engine;
    AnovaTable table;
    engine.ComputeAnova(WorkedExample(), '.', table);
    EXPECT_EQ(Formatted(table),
              (std::vector<std::string>{"1", "2", "8", "1.02083", "0.808333", "1.38", "1.02083",
                                        "0.404167", "0.1725", "2.52577", "2.343", "0.253851",
                                        "0.157716"}));

    const EngineWorkingState& state = engine.WorkingState();
    EXPECT_EQ(FormatResult(static_cast<double>(state.dayTotal[0][0]), '.'), "299.1");
    EXPECT_EQ(FormatResult(static_cast<double>(state.dayTotal[0][1]), '.'), "300.5");
    EXPECT_EQ(FormatResult(static_cast<double>(state.dayTotal[1][0]), '.'), "297.2");
    EXPECT_EQ(FormatResult(static_cast<double>(state.dayTotal[1][1]), '.'), "298.9");
    EXPECT_EQ(FormatResult(static_cast<double>(state.analystTotal[0]), '.'), "599.6");
    EXPECT_EQ(FormatResult(static_cast<double>(state.analystTotal[1]), '.'), "596.1");
    EXPECT_EQ(FormatResult(static_cast<double>(state.grandTotal), '.'), "1195.7");
    EXPECT_EQ(FormatResult(static_cast<double>(state.sumOfSquares), '.'), "119145");
    EXPECT_NEAR(static_cast<double>(state.sumOfSquares), 119144.75, 1e-9);
    EXPECT_EQ(state.analysts, 2);
    EXPECT_EQ(state.days, 2);
    EXPECT_EQ(state.replicates, 3);
}

TEST(ComputeAnova, ReadsCellsWithTheRegionalSeparator) {
    Study study = WorkedExample();
    for (int analyst = 1; analyst <= 2; ++analyst) {
        for (int row = 1; row <= 6; ++row) {
            std::string text = study.Cell(analyst, row);
            std::replace(text.begin(), text.end(), '.', ',');
            study.SetCell(analyst, row, text);
        }
    }
    StatisticsEngine engine;
    AnovaTable table;
    engine.ComputeAnova(study, ',', table);
    EXPECT_EQ(FormatResult(table.fAnalyst, ','), "2,52577");
    EXPECT_EQ(ErrorOf([&] { engine.ComputeAnova(study, '.', table); }),
              "'99,1' is not a valid floating point value");
}

TEST(ComputeAnova, TwoCallsGiveIdenticalTables) {
    StatisticsEngine engine;
    AnovaTable first;
    AnovaTable second;
    engine.ComputeAnova(WorkedExample(), '.', first);
    engine.ComputeAnova(LargestStudy(), '.', second);
    engine.ComputeAnova(WorkedExample(), '.', second);
    EXPECT_EQ(std::memcmp(&first, &second, sizeof first), 0);
}

TEST(ComputeAnova, LargestStudyFillsBothTables) {
    StatisticsEngine engine;
    AnovaTable table;
    engine.ComputeAnova(LargestStudy(), '.', table);
    EXPECT_EQ(Formatted(table),
              (std::vector<std::string>{"9", "90", "400", "0.441788", "1.66915", "14.7842",
                                        "0.0490876", "0.0185461", "0.0369604", "2.64679",
                                        "0.501783", "0.00927396", "0.999853"}));
    const EngineWorkingState& state = engine.WorkingState();
    EXPECT_EQ(FormatResult(static_cast<double>(state.dayTotal[0][9]), '.'), "496.76");
    EXPECT_EQ(FormatResult(static_cast<double>(state.dayTotal[9][0]), '.'), "496.66");
    EXPECT_EQ(FormatResult(static_cast<double>(state.dayTotal[9][9]), '.'), "495.82");
    EXPECT_EQ(FormatResult(static_cast<double>(state.analystTotal[9]), '.'), "4963.88");
}

TEST(ComputeAnova, ExponentsAndSignsAreNumbersLikeAnyOther) {
    Study plain = WorkedExample();
    Study written = WorkedExample();
    written.SetCell(1, 1, "+9.91E1");
    written.SetCell(2, 6, " 993e-1 ");
    StatisticsEngine engine;
    AnovaTable expected;
    AnovaTable actual;
    engine.ComputeAnova(plain, '.', expected);
    engine.ComputeAnova(written, '.', actual);
    EXPECT_EQ(Formatted(actual), Formatted(expected));
}

TEST(ComputeAnova, ResultsFarFromZeroKeepTheirDigits) {
    // The worked example shifted by 15000: only the mean moves, every spread stays.
    Study shifted = WorkedExample();
    for (int analyst = 1; analyst <= 2; ++analyst) {
        for (int row = 1; row <= 6; ++row) {
            const double value = ParseResult(shifted.Cell(analyst, row), '.');
            shifted.SetCell(analyst, row, FormatResult(value + 15000, '.'));
        }
    }
    StatisticsEngine engine;
    AnovaTable table;
    engine.ComputeAnova(shifted, '.', table);
    EXPECT_EQ(Formatted(table),
              (std::vector<std::string>{"1", "2", "8", "1.02083", "0.808333", "1.38", "1.02083",
                                        "0.404167", "0.1725", "2.52577", "2.343", "0.253851",
                                        "0.157716"}));
}

TEST(ComputeAnova, LargeResultsCloseTogetherKeepTheirSpread) {
    // Nine-digit results a few tenths apart: raw sums of squares near 1.2e17 would leave the
    // spread in their rounding noise. Exact figures of the stored doubles, by rational arithmetic.
    const Study study =
        StudyWithResults(2, 2, 2,
                         {"123456789.1", "123456789.3", "123456789.2", "123456789.6", "123456789.4",
                          "123456789.5", "123456789.9", "123456789.7"});
    StatisticsEngine engine;
    AnovaTable table;
    engine.ComputeAnova(study, '.', table);
    std::vector<std::string> figures = Formatted(table);
    figures.resize(11);
    EXPECT_EQ(figures, (std::vector<std::string>{"1", "2", "4", "0.21125", "0.1625", "0.125",
                                                 "0.21125", "0.08125", "0.03125", "2.6", "2.6"}));
}

TEST(ComputeAnova, EqualCellsStopOnTheZeroDivisor) {
    StatisticsEngine engine;
    AnovaTable table;
    Study uniform = StudyWithResults(2, 2, 3, std::vector<std::string>(12, "100"));
    EXPECT_EQ(ErrorOf([&] { engine.ComputeAnova(uniform, '.', table); }),
              "Invalid floating point operation");

    // Replicates equal within each day, days differ: msError is 0 under a non-zero msDay.
    Study equalReplicates =
        StudyWithResults(2, 2, 3, {"1", "1", "1", "2", "2", "2", "3", "3", "3", "5", "5", "5"});
    EXPECT_EQ(ErrorOf([&] { engine.ComputeAnova(equalReplicates, '.', table); }),
              "Floating point division by zero");
}

TEST(ComputeAnova, FailureKeepsTheFieldsWrittenBeforeIt) {
    StatisticsEngine engine;
    AnovaTable table;
    table.fDay = -7;
    table.pAnalyst = -8;
    Study equalReplicates =
        StudyWithResults(2, 2, 3, {"1", "1", "1", "2", "2", "2", "3", "3", "3", "5", "5", "5"});
    EXPECT_THROW(engine.ComputeAnova(equalReplicates, '.', table), Error);
    EXPECT_EQ(table.dfError, 8);
    EXPECT_EQ(table.msError, 0);
    EXPECT_EQ(table.fDay, -7);
    EXPECT_EQ(table.pAnalyst, -8);
}

TEST(ComputeAnova, UncheckedStudiesStopWithTheirMessages) {
    StatisticsEngine engine;
    AnovaTable table;
    Study emptyCell = WorkedExample();
    emptyCell.SetCell(2, 4, "");
    EXPECT_EQ(ErrorOf([&] { engine.ComputeAnova(emptyCell, '.', table); }),
              "'' is not a valid floating point value");

    Study oneAnalyst = WorkedExample();
    oneAnalyst.analystCount = "1";
    EXPECT_EQ(ErrorOf([&] { engine.ComputeAnova(oneAnalyst, '.', table); }),
              "Invalid floating point operation");

    Study emptyCount = WorkedExample();
    emptyCount.replicateCount = "";
    EXPECT_EQ(ErrorOf([&] { engine.ComputeAnova(emptyCount, '.', table); }),
              "'' is not a valid integer value");

    Study beyondGrid = WorkedExample();
    beyondGrid.dayCount = "3";
    EXPECT_EQ(ErrorOf([&] { engine.ComputeAnova(beyondGrid, '.', table); }),
              "'' is not a valid floating point value");

    Study notANumber = WorkedExample();
    notANumber.SetCell(1, 2, "1O0.2");
    EXPECT_EQ(ErrorOf([&] { engine.ComputeAnova(notANumber, '.', table); }),
              "'1O0.2' is not a valid floating point value");
}

TEST(ComputeAnova, CellsLeftByALargerLayoutAreReadLikeAnyOther) {
    const Study threeDays = StudyWithResults(2, 3, 3,
                                             {"99.1", "100.2", "99.8", "100.5", "99.9", "100.1",
                                              "99.4", "99.9", "100.3", "98.7", "99.5", "99.0",
                                              "100.0", "99.6", "99.3", "99.2", "98.8", "99.7"});
    Study shrunk = threeDays;
    shrunk.dayCount = "2";
    ApplyStudyLayout(shrunk);
    shrunk.dayCount = "3"; // typed again, not applied: the grid shows two days
    StatisticsEngine engine;
    AnovaTable fromShrunk;
    AnovaTable fromFull;
    engine.ComputeAnova(shrunk, '.', fromShrunk);
    engine.ComputeAnova(threeDays, '.', fromFull);
    EXPECT_EQ(shrunk.gridRows, 7);
    EXPECT_EQ(Formatted(fromShrunk), Formatted(fromFull));
}

TEST(ComputeAnova, RefusesStudiesBeyondItsTablesBeforeTouchingAnything) {
    Study study = LargestStudy();
    study.analystCount = "11";
    StatisticsEngine engine;
    AnovaTable table;
    table.dfAnalyst = 42;
    const std::string refusal =
        "El cálculo admite como máximo 10 analistas y 10 días por analista.";
    EXPECT_EQ(ErrorOf([&] { engine.ComputeAnova(study, '.', table); }), refusal);
    EXPECT_EQ(table.dfAnalyst, 42);
    study.analystCount = "10";
    study.dayCount = "11";
    EXPECT_EQ(ErrorOf([&] { engine.ComputeAnova(study, '.', table); }), refusal);
}

TEST(ComputeAnova, HugeResultsOverflowInsteadOfBecomingInfinite) {
    Study study = WorkedExample();
    study.SetCell(1, 1, "1e200");
    StatisticsEngine engine;
    AnovaTable table;
    EXPECT_EQ(ErrorOf([&] { engine.ComputeAnova(study, '.', table); }), "Floating point overflow");
}

TEST(ResetStatistics, ClearsTheSumsButKeepsTheDimensions) {
    StatisticsEngine engine;
    AnovaTable table;
    engine.ComputeAnova(WorkedExample(), '.', table);
    engine.ResetStatistics();
    const EngineWorkingState& state = engine.WorkingState();
    EXPECT_EQ(state.grandTotal, 0);
    EXPECT_EQ(state.sumOfSquares, 0);
    EXPECT_EQ(state.dayTotal[1][1], 0);
    EXPECT_EQ(state.analystTotal[0], 0);
    EXPECT_EQ(state.analysts, 2);
    EXPECT_EQ(state.replicates, 3);
    EXPECT_EQ(FormatResult(table.fAnalyst, '.'), "2.52577");
}

} // namespace
} // namespace orbeta
