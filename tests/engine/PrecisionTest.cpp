#include "engine/Ucalculo.h"
#include "study/Error.h"
#include "study/Numbers.h"
#include "support/Studies.h"

#include "support/Expectations.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace orbeta {
namespace {

using testing::ErrorOf;

using testing::StudyWithResults;
using testing::WorkedExample;

std::vector<std::string> Formatted(const PrecisionSummary& summary) {
    std::vector<std::string> texts;
    for (double value : {summary.cvTotal, summary.repeatability, summary.reproDayAnalyst,
                         summary.reproInterAnalyst, summary.cvInterAnalyst, summary.cvDayAnalyst,
                         summary.cvRepeatability, summary.maxRelativeRange, summary.mean}) {
        texts.push_back(FormatResult(value, '.'));
    }
    return texts;
}

TEST(ComputePrecision, WorkedExampleGivesEveryFigure) {
    StatisticsEngine engine;
    PrecisionSummary summary;
    engine.ComputePrecision(WorkedExample(), '.', summary);
    EXPECT_EQ(Formatted(summary),
              (std::vector<std::string>{"0.542074", "0.814049", "0.544662", "0.628356", "0.630616",
                                        "0.546621", "0.816977", "1.63395", "99.6417"}));
    const EngineWorkingState& state = engine.WorkingState();
    EXPECT_EQ(state.determinations, 12);
    EXPECT_EQ(FormatResult(state.totalStandardDeviation, '.'), "0.540132");
    EXPECT_EQ(FormatResult(state.dayVariance, '.'), "0.0772222");
    EXPECT_EQ(FormatResult(state.analystVariance, '.'), "0.102778");
}

// Day 1 and day 2 of each analyst agree better than the replicates of a day.
Study StudyWithQuietDays() {
    return StudyWithResults(2, 2, 3,
                            {"99", "101", "100", "99.6", "100.6", "100.1", "103", "105", "104",
                             "102.9", "104.9", "103.9"});
}

TEST(ComputePrecision, DayComponentBelowZeroTakesTheRepeatability) {
    StatisticsEngine engine;
    AnovaTable anova;
    engine.ComputeAnova(StudyWithQuietDays(), '.', anova);
    ASSERT_LT(anova.msDay, anova.msError);
    ASSERT_GT(anova.msAnalyst, anova.msDay);
    PrecisionSummary summary;
    engine.ComputePrecision(StudyWithQuietDays(), '.', summary);
    EXPECT_EQ(summary.reproDayAnalyst, summary.repeatability);
    EXPECT_EQ(summary.cvDayAnalyst, summary.cvRepeatability);
    EXPECT_NE(summary.reproInterAnalyst, summary.reproDayAnalyst);
}

TEST(ComputePrecision, DayComponentOfZeroTakesTheRepeatability) {
    // The days of each analyst differ exactly as much as the replicates of a day.
    const Study study = StudyWithResults(2, 2, 2, {"12", "11", "10", "12", "14", "14", "15", "15"});
    StatisticsEngine engine;
    AnovaTable anova;
    engine.ComputeAnova(study, '.', anova);
    ASSERT_EQ(anova.msDay, anova.msError);
    PrecisionSummary summary;
    engine.ComputePrecision(study, '.', summary);
    EXPECT_EQ(Formatted(summary),
              (std::vector<std::string>{"14.6415", "1.54952", "1.54952", "4.43714", "34.4632",
                                        "12.0351", "12.0351", "24.0702", "12.875"}));
}

TEST(ComputePrecision, AnalystComponentBelowZeroTakesTheDayComponent) {
    // Both analysts alike, days of each analyst far apart.
    const Study study = StudyWithResults(2, 2, 3,
                                         {"99", "99.2", "99.1", "101", "101.3", "101.1", "99.1",
                                          "99", "99.2", "101.2", "101", "101.1"});
    StatisticsEngine engine;
    AnovaTable anova;
    engine.ComputeAnova(study, '.', anova);
    ASSERT_LT(anova.msAnalyst, anova.msDay);
    ASSERT_GT(anova.msDay, anova.msError);
    PrecisionSummary summary;
    engine.ComputePrecision(study, '.', summary);
    EXPECT_EQ(summary.reproInterAnalyst, summary.reproDayAnalyst);
    EXPECT_EQ(summary.cvInterAnalyst, summary.cvDayAnalyst);
    EXPECT_NE(summary.reproDayAnalyst, summary.repeatability);
}

TEST(ComputePrecision, BothReplacementsMakeThreeValuesEqual) {
    // Days agree better than replicates, analysts better than days.
    const Study study = StudyWithResults(2, 2, 3,
                                         {"99", "101", "100", "99.6", "100.6", "100.1", "99.05",
                                          "101.05", "100.05", "99.1", "101.1", "100.1"});
    StatisticsEngine engine;
    AnovaTable anova;
    engine.ComputeAnova(study, '.', anova);
    ASSERT_LT(anova.msAnalyst, anova.msDay);
    ASSERT_LT(anova.msDay, anova.msError);
    PrecisionSummary summary;
    engine.ComputePrecision(study, '.', summary);
    EXPECT_EQ(summary.reproDayAnalyst, summary.repeatability);
    EXPECT_EQ(summary.reproInterAnalyst, summary.repeatability);
}

TEST(ComputePrecision, MaximumRangeIsTwiceTheRepeatabilityCoefficient) {
    StatisticsEngine engine;
    PrecisionSummary summary;
    for (const Study& study : {WorkedExample(), StudyWithQuietDays(), testing::LargestStudy()}) {
        engine.ComputePrecision(study, '.', summary);
        EXPECT_EQ(summary.maxRelativeRange, 2 * summary.cvRepeatability);
    }
}

TEST(ComputePrecision, ZeroMeanIsADivisionByZero) {
    const Study study = StudyWithResults(
        2, 2, 3, {"-1", "1", "0.5", "-0.5", "2", "-2", "1", "-1", "0.25", "-0.25", "3", "-3"});
    StatisticsEngine engine;
    PrecisionSummary summary;
    summary.cvTotal = -1;
    EXPECT_EQ(ErrorOf([&] { engine.ComputePrecision(study, '.', summary); }),
              "Floating point division by zero");
    EXPECT_EQ(summary.cvTotal, -1);
}

TEST(ComputePrecision, AnovaFailureEndsItBeforeAnyFieldIsWritten) {
    Study study = WorkedExample();
    study.SetCell(2, 2, "x");
    StatisticsEngine engine;
    PrecisionSummary summary;
    summary.cvTotal = -1;
    summary.mean = -2;
    EXPECT_EQ(ErrorOf([&] { engine.ComputePrecision(study, '.', summary); }),
              "'x' is not a valid floating point value");
    EXPECT_EQ(summary.cvTotal, -1);
    EXPECT_EQ(summary.mean, -2);
}

TEST(ComputePrecision, NegativeRadicandIsAnInvalidOperation) {
    // Replicates equal within each day: the error sum of squares is a rounding residue, here
    // just below zero, which the analysis of variance carries and the repeatability cannot.
    const Study study = StudyWithResults(2, 2, 3,
                                         {"26.30", "26.30", "26.30", "31.30", "31.30", "31.30",
                                          "49.10", "49.10", "49.10", "34.10", "34.10", "34.10"});
    StatisticsEngine engine;
    AnovaTable anova;
    engine.ComputeAnova(study, '.', anova);
    ASSERT_LT(anova.msError, 0);
    EXPECT_EQ(FormatResult(anova.pDay, '.'), "1");
    PrecisionSummary summary;
    summary.repeatability = -1;
    EXPECT_EQ(ErrorOf([&] { engine.ComputePrecision(study, '.', summary); }),
              "Invalid floating point operation");
    EXPECT_EQ(summary.repeatability, -1);
    EXPECT_NE(summary.cvTotal, 0) << "written before the failing step";
}

// Every figure of both records, bit for bit.
std::vector<std::uint64_t> Bits(const AnovaTable& table, const PrecisionSummary& summary) {
    std::vector<std::uint64_t> bits;
    for (double value : {table.dfAnalyst,
                         table.dfDay,
                         table.dfError,
                         table.ssAnalyst,
                         table.ssDay,
                         table.ssError,
                         table.msAnalyst,
                         table.msDay,
                         table.msError,
                         table.fAnalyst,
                         table.fDay,
                         table.pAnalyst,
                         table.pDay,
                         summary.cvTotal,
                         summary.repeatability,
                         summary.reproDayAnalyst,
                         summary.reproInterAnalyst,
                         summary.cvInterAnalyst,
                         summary.cvDayAnalyst,
                         summary.cvRepeatability,
                         summary.maxRelativeRange,
                         summary.mean}) {
        bits.push_back(std::bit_cast<std::uint64_t>(value));
    }
    return bits;
}

TEST(ComputeAnovaAndPrecision, NumbersAlreadyReadGiveTheRecordsOfTheTexts) {
    for (const Study& study : {WorkedExample(), testing::LargestStudy()}) {
        StatisticsEngine fromTexts;
        AnovaTable textTable;
        PrecisionSummary textSummary;
        fromTexts.ComputeAnova(study, '.', textTable);
        fromTexts.ComputePrecision(study, '.', textSummary);
        const Design design = DesignOf(study);
        const std::vector<double> results = ReadResults(study, '.');
        // The texts' deviations from the first, as the computation from texts forms them.
        std::vector<double> deviations;
        const std::string& first = study.Cell(1, design.GridRowOf(1, 1));
        design.ForEachCell([&](const DesignCell& cell) {
            deviations.push_back(ResultDifference(
                study.Cell(cell.analyst, design.GridRowOf(cell.day, cell.replicate)), first, '.'));
        });
        StatisticsEngine fromNumbers;
        AnovaTable numberTable;
        PrecisionSummary numberSummary;
        fromNumbers.ComputeAnovaAndPrecision(StudyNumbers(design, results, deviations), numberTable,
                                             numberSummary);
        EXPECT_EQ(Bits(numberTable, numberSummary), Bits(textTable, textSummary));
        const EngineWorkingState& expected = fromTexts.WorkingState();
        const EngineWorkingState& actual = fromNumbers.WorkingState();
        EXPECT_EQ(std::tuple(actual.dayVariance, actual.analystVariance,
                             actual.totalStandardDeviation, actual.sumOfSquaredDayTotals),
                  std::tuple(expected.dayVariance, expected.analystVariance,
                             expected.totalStandardDeviation, expected.sumOfSquaredDayTotals));
    }
}

TEST(ComputeAnovaAndPrecision, RefusesResultsThatDoNotMatchTheCounts) {
    std::vector<double> results = ReadResults(testing::LargestStudy(), '.');
    const std::size_t cells = results.size();
    StatisticsEngine engine;
    AnovaTable table;
    PrecisionSummary summary;
    for (const std::size_t count : {cells - 1, cells + 1}) {
        results.resize(count, 99);
        EXPECT_EQ(ErrorOf([&] {
                      engine.ComputeAnovaAndPrecision(StudyNumbers(Design(10, 10, 5), results),
                                                      table, summary);
                  }),
                  "The number of results does not match the counts")
            << count;
    }
}

} // namespace
} // namespace orbeta
