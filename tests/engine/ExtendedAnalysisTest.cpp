// Expected figures were computed apart from this code, from the formulas in multiple-precision
// arithmetic, or by hand where a closed form exists; critical values are also held against the
// published ISO 5725-2 tables.
#include "engine/ExtendedAnalysis.h"
#include "study/Numbers.h"
#include "support/Expectations.h"
#include "support/Studies.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orbeta {
namespace {

using testing::ErrorOf;
using testing::StudyWithResults;

ExtendedAnalysis Analysed(const Study& study) {
    const std::vector<double> results = testing::ResultsOf(study, '.');
    const StudyNumbers numbers{ParseCount(study.analystCount), ParseCount(study.dayCount),
                               ParseCount(study.replicateCount), results};
    StatisticsEngine engine;
    AnovaTable anova;
    engine.ComputeAnova(numbers, anova);
    return ComputeExtendedAnalysis(numbers, anova);
}

// Every figure as the reports show it, in a fixed order.
std::vector<std::string> Figures(const ExtendedAnalysis& analysis) {
    std::vector<std::string> texts;
    auto add = [&texts](std::initializer_list<double> values) {
        for (const double value : values) {
            texts.push_back(FormatResult(value, '.'));
        }
    };
    auto addTest = [&texts](Verdict verdict, DayOfAnalyst day) {
        texts.insert(texts.end(),
                     {VerdictText(verdict), std::to_string(day.analyst), std::to_string(day.day)});
    };
    for (const VarianceComponent& c :
         {analysis.repeatability, analysis.day, analysis.analyst, analysis.intermediate}) {
        add({c.variance, c.sd, c.cv, c.percent});
    }
    for (const SdInterval& interval :
         {analysis.repeatabilityInterval, analysis.intermediateInterval}) {
        add({interval.df, interval.low, interval.high});
    }
    add({analysis.pAnalystExact, analysis.pDayExact});
    texts.push_back(analysis.exactConclusionsDiffer ? "differ" : "agree");
    add({analysis.cochran.c, analysis.cochran.critical5, analysis.cochran.critical1});
    addTest(analysis.cochran.verdict, analysis.cochran.largest);
    add({analysis.grubbs.critical5, analysis.grubbs.critical1, analysis.grubbs.high.g});
    addTest(analysis.grubbs.high.verdict, analysis.grubbs.high.day);
    add({analysis.grubbs.low.g});
    addTest(analysis.grubbs.low.verdict, analysis.grubbs.low.day);
    return texts;
}

struct StudyRow {
    const char* name;
    Study study;
    std::vector<std::string> expected;
};

TEST(ComputeExtendedAnalysis, GivesEveryFigureOfTheStudies) {
    const StudyRow rows[] = {
        // The day and analyst variances are also the precision measures' own, 0.0772222 and
        // 0.102778. Satterthwaite with all three mean squares.
        {"worked example",
         testing::WorkedExample(),
         {"0.1725",   "0.415331", "0.416825", "48.9362",  "0.0772222", "0.277889", "0.278888",
          "21.907",   "0.102778", "0.32059",  "0.321743", "29.1568",   "0.3525",   "0.593717",
          "0.595852", "100",      "8",        "0.280538", "0.795679",  "3.78033",  "0.351921",
          "1.78567",  "0.252948", "0.158148", "agree",    "0.449275",  "0.767921", "0.864279",
          "correcto", "1",        "1",        "1.48125",  "1.49625",   "1.16454",  "correcto",
          "1",        "2",        "1.27545",  "correcto", "2",         "1"}},
        // Days agree better than replicates: the day component is set to zero, and s2I =
        // msAnalyst/6 - msDay/6 + msError carries a negative coefficient.
        {"negative day component",
         StudyWithResults(2, 2, 3,
                          {"99", "101", "100", "99.6", "100.6", "100.1", "103", "105", "104",
                           "102.9", "104.9", "103.9"}),
         {"0.8125",   "0.901388",    "0.883714", "9.65538",  "0",        "0",        "0",
          "0",        "7.6025",      "2.75726",  "2.7032",   "90.3446",  "8.415",    "2.90086",
          "2.84398",  "100",         "8",        "0.608849", "1.72685",  "1.22262",  "1.35463",
          "50.7235",  "0.000328569", "0.98175",  "agree",    "0.307692", "0.767921", "0.864279",
          "correcto", "1",           "1",        "1.48125",  "1.49625",  "0.887939", "correcto",
          "2",        "1",           "0.887939", "correcto", "1",        "1"}},
        // Analyst 3's day 2 spreads far wider than any other (C = 1.28 / 1.46); analyst 4's day
        // 2 stands high; the analyst component is set to zero.
        {"straggler and outlier",
         StudyWithResults(5, 2, 2,
                          {"99.90",  "100.10", "100.10", "100.30", "99.80",  "100.00", "100.00",
                           "100.20", "99.70",  "99.90",  "99.50",  "101.10", "99.90",  "100.10",
                           "100.60", "100.80", "100.00", "100.20", "99.80",  "100.00"}),
         {"0.146",     "0.382099", "0.381718", "91.8239",  "0.013",    "0.114018", "0.113904",
          "8.1761",    "0",        "0",        "0",        "0",        "0.159",    "0.398748",
          "0.39835",   "100",      "10",       "0.266979", "0.670559", "12.5645",  "0.287744",
          "0.648977",  "0.742789", "0.384526", "agree",    "0.876712", "0.60201",  "0.717489",
          "aberrante", "3",        "2",        "2.28995",  "2.48208",  "2.32379",  "dudoso",
          "4",         "2",        "1.1619",   "correcto", "3",        "1"}},
    };
    for (const StudyRow& row : rows) {
        EXPECT_EQ(Figures(Analysed(row.study)), row.expected) << row.name;
    }
}

TEST(ComputeExtendedAnalysis, NoDaySpreadGivesACochranStatisticOfZero) {
    // Each day's replicates are equal; the error mean square is a rounding residue just above
    // zero, so the analysis of variance and the precision measures still go through.
    const ExtendedAnalysis analysis =
        Analysed(StudyWithResults(2, 2, 3,
                                  {"7.63", "7.63", "7.63", "22.73", "22.73", "22.73", "77.99",
                                   "77.99", "77.99", "31.89", "31.89", "31.89"}));
    EXPECT_EQ(analysis.cochran.c, 0);
    EXPECT_EQ(analysis.cochran.verdict, Verdict::Correct);
    EXPECT_EQ(analysis.cochran.largest.analyst, 1);
    EXPECT_EQ(analysis.cochran.largest.day, 1);
}

TEST(ComputeExtendedAnalysis, RefusesWhatItCannotState) {
    const Study zeroMean = StudyWithResults(
        2, 2, 3, {"-1", "1", "0.5", "-0.5", "2", "-2", "1", "-1", "0.25", "-0.25", "3", "-3"});
    EXPECT_EQ(ErrorOf([&] { Analysed(zeroMean); }), "Floating point division by zero");
    const std::vector<double> results(7, 100.0);
    EXPECT_EQ(ErrorOf([&] {
                  ComputeExtendedAnalysis(StudyNumbers{2, 2, 2, results}, {});
              }),
              "The number of results does not match the counts");
}

struct CriticalRow {
    const char* name;
    double value;
    double expected;
    double tolerance;
};

TEST(CriticalValues, MatchThePublishedTablesAndTheFormulas) {
    const CriticalRow rows[] = {
        // ISO 5725-2, to the tables' three decimals.
        {"Cochran p 4, n 2, 5 %", CochranCriticalValue(4, 2, 0.05), 0.906, 1e-3},
        {"Cochran p 4, n 2, 1 %", CochranCriticalValue(4, 2, 0.01), 0.967, 1e-3},
        {"Grubbs n 4, 5 %", GrubbsCriticalValue(4, 0.05), 1.481, 1e-3},
        {"Grubbs n 4, 1 %", GrubbsCriticalValue(4, 0.01), 1.496, 1e-3},
        {"Grubbs n 10, 5 %", GrubbsCriticalValue(10, 0.05), 2.290, 1e-3},
        {"Grubbs n 10, 1 %", GrubbsCriticalValue(10, 0.01), 2.482, 1e-3},
        // The largest study, 100 days of 5 replicates, in multiple precision.
        {"Cochran p 100, n 5, 5 %", CochranCriticalValue(100, 5, 0.05), 0.0491242, 1e-7},
        {"Cochran p 100, n 5, 1 %", CochranCriticalValue(100, 5, 0.01), 0.0575072, 1e-7},
        {"Grubbs n 100, 5 %", GrubbsCriticalValue(100, 0.05), 3.38408, 1e-5},
        {"Grubbs n 100, 1 %", GrubbsCriticalValue(100, 0.01), 3.75400, 1e-5},
    };
    for (const CriticalRow& row : rows) {
        EXPECT_NEAR(row.value, row.expected, row.tolerance) << row.name;
    }
}

struct ProbabilityRow {
    double f;
    double df1;
    double df2;
    const char* expected;
};

TEST(ExactFProbability, GivesTheUpperTail) {
    const ProbabilityRow rows[] = {
        {19, 2, 2, "0.05"},          // 1 / (1 + F)
        {18, 1, 2, "0.0513167"},     // 1 - sqrt(F / (F + 2))
        {2.52577, 1, 2, "0.252948"}, // the worked example, beside 0.253851
        {4, 9, 90, "0.000251146"},   // beside 0.00042614
        {0.5, 2, 8, "0.624295"},     // below 1, beside 0.628054
        {0, 1, 2, "1"},
        {-3, 1, 2, "1"},
    };
    for (const ProbabilityRow& row : rows) {
        EXPECT_EQ(FormatResult(ExactFProbability(row.f, row.df1, row.df2), '.'), row.expected)
            << row.f << " on " << row.df1 << " and " << row.df2;
    }
}

} // namespace
} // namespace orbeta
