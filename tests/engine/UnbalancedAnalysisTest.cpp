// Expected figures of the studies with missing results come from tools/unbalanced-expectations
// (exact rationals for the sums of squares, the k's and the components; mpmath at 30 digits for
// the square roots, distributions and quantiles), in the order Figures lists them.
#include "engine/ExtendedAnalysis.h"
#include "files/StudyFile.h"
#include "study/Numbers.h"
#include "support/Expectations.h"
#include "support/Studies.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace orbeta {
namespace {

using testing::ErrorOf;

const std::filesystem::path kData = ORBETA_TEST_DATA;

// A held study file's analysis, by AnalyseStudy or by the unbalanced routines themselves.
StudyAnalysis AnalysedFile(const char* name, bool unbalancedRoutines = false) {
    const StudyFileContents contents = ReadStudyFileContents(kData / name);
    const StudyNumbers numbers(contents.GetDesign(), contents.shownResults);
    return unbalancedRoutines ? AnalyseUnbalancedStudy(numbers) : AnalyseStudy(numbers);
}

// The critical values and extremes of Grubbs's tests, the analysts' level and then each analyst's
// days.
std::vector<double> GrubbsFigures(const GrubbsTests& grubbs) {
    std::vector<double> figures;
    const auto add = [&figures](const GrubbsTest& test) {
        figures.insert(figures.end(), {test.critical5, test.critical1, test.high.g, test.low.g});
    };
    if (grubbs.analysts) {
        add(*grubbs.analysts);
    }
    for (const GrubbsTest& test : grubbs.daysOfAnalysts) {
        add(test);
    }
    return figures;
}

// Every figure as the reports show it, in the order of tools/unbalanced-expectations.
std::vector<std::string> Figures(const StudyAnalysis& analysis) {
    const AnovaTable& t = analysis.anova;
    const ExtendedAnalysis& e = analysis.extended;
    const NestedCoefficients& k = e.coefficients;
    std::vector<std::string> texts;
    const auto add = [&texts](std::initializer_list<double> values) {
        for (const double value : values) {
            texts.push_back(FormatResult(value, '.'));
        }
    };
    add({t.dfAnalyst, t.dfDay, t.dfError, t.ssAnalyst, t.ssDay, t.ssError, t.msAnalyst, t.msDay,
         t.msError, t.fAnalyst, t.fDay, k.k1, k.k2, k.k3, k.msSynthesized, k.dfSynthesized});
    for (const VarianceComponent& c : {e.repeatability, e.day, e.analyst, e.intermediate}) {
        add({c.variance, c.sd, c.cv, c.percent});
    }
    for (const SdInterval& interval : {e.repeatabilityInterval, e.intermediateInterval}) {
        add({interval.df, interval.low, interval.high});
    }
    const RepeatabilityBounds& r = e.repeatabilityBounds;
    const IntermediateBounds& i = e.intermediateBounds;
    add({e.pAnalystExact, e.pDayExact, r.sdUpper, r.rsd, r.rsdUpper, i.sdUpper, i.rsd,
         i.mlsVarianceLow, i.mlsVarianceHigh, i.mlsSdUpper, i.rsdUpper});
    texts.emplace_back(e.absent.mls ? "no MLS" : "MLS");
    if (e.absent.cochran) {
        texts.emplace_back("no Cochran");
    } else {
        add({e.cochran.c, e.cochran.critical5, e.cochran.critical1});
        texts.push_back(std::to_string(e.cochran.largest.analyst) + "/" +
                        std::to_string(e.cochran.largest.day));
    }
    if (e.absent.grubbsAnalysts) {
        texts.emplace_back("no Grubbs of analysts");
    }
    if (e.absent.grubbsDays) {
        texts.emplace_back("no Grubbs of days");
    }
    for (const double value : GrubbsFigures(e.grubbs)) {
        texts.push_back(FormatResult(value, '.'));
    }
    add({analysis.precision.mean, analysis.precision.cvTotal});
    return texts;
}

struct FileRow {
    const char* file;
    std::size_t missing;
    std::vector<std::string> expected;
};

TEST(AnalyseStudy, GivesEveryFigureOfStudiesWithMissingResults) {
    const FileRow rows[] = {
        // The worked example without analyst 2's day 1, replicate 2: k1 = 2.7, k2 = 2.78182.
        {"missing-replicate.w05",
         1,
         {"1",        "2",          "7",        "1.02594",   "1.063",     "1.09833",  "1.02594",
          "0.5315",   "0.156905",   "1.88991",  "3.38741",   "2.7",       "2.78182",  "5.45455",
          "0.542851", "1.96538",    "0.156905", "0.396112",  "0.397485",  "40.8383",  "0.138739",
          "0.372477", "0.373768",   "36.1102",  "0.0885661", "0.297601",  "0.298632", "23.0515",
          "0.38421",  "0.619847",   "0.621995", "100",       "7",         "0.261899", "0.806196",
          "3.56147",  "0.363218",   "1.96158",  "0.304971",  "0.0935499", "0.711873", "0.397485",
          "0.714341", "1.58835",    "0.621995", "0.208752",  "191.755",   "6.9328",   "6.95684",
          "MLS",      "no Cochran", "99.6545",  "0.566516"}},
        // Analyst 2's day 2 lost whole ("NA" and "na"): the days left hold two results each, so
        // Cochran takes them, and Grubbs each analyst's days, but not the analysts, whose means
        // rest on unequal counts; the components are those of equal days, k1 = k2 = 2.
        {"lost-day.w05",
         2,
         {"2",          "5",         "8",         "0.217133",  "0.0543667",
          "0.0186",     "0.108567",  "0.0108733", "0.002325",  "9.98467",
          "4.6767",     "2",         "2",         "5.25",      "0.0108733",
          "5",          "0.002325",  "0.0482183", "0.096268",  "9.22347",
          "0.00427417", "0.0653771", "0.130526",  "16.956",    "0.0186083",
          "0.136412",   "0.272348",  "73.8205",   "0.0252074", "0.158768",
          "0.316982",   "100",       "8",         "0.0325694", "0.0923751",
          "2.9383",     "0.0895657", "0.605036",  "0.0179435", "0.0270891",
          "0.0825022",  "0.096268",  "0.164716",  "0.471717",  "0.316982",
          "0.00998146", "0.821504",  "0.63864",   "1.27505",   "MLS",
          "0.172043",   "0.679821",  "0.794497",  "2/3",       "no Grubbs of analysts",
          "1.1543",     "1.15468",   "0.717943",  "1.14218",   "1.1543",
          "1.15468",    "1.05963",   "0.927173",  "50.0875",   "0.277651"}},
        // Analyst 3 on two days of four, analyst 1 without one replicate of day 3.
        {"fewer-days.w05",
         7,
         {"2",
          "7",
          "19",
          "0.123399",
          "0.0510311",
          "0.0206667",
          "0.0616994",
          "0.00729015",
          "0.00108772",
          "8.31505",
          "6.70224",
          "2.88312",
          "2.94357",
          "9.31034",
          "0.00742021",
          "6.95714",
          "0.00108772",
          "0.0329806",
          "0.320834",
          "11.9938",
          "0.00215129",
          "0.046382",
          "0.451202",
          "23.7214",
          "0.00582999",
          "0.0763544",
          "0.742772",
          "64.2848",
          "0.009069",
          "0.0952313",
          "0.926406",
          "100",
          "19",
          "0.0250814",
          "0.0481705",
          "3.66972",
          "0.0561271",
          "0.293661",
          "0.0143054",
          "0.00044161",
          "0.0451969",
          "0.320834",
          "0.439674",
          "0.239033",
          "0.926406",
          "0.00413227",
          "0.264253",
          "0.362908",
          "3.53035",
          "MLS",
          "no Cochran",
          "no Grubbs of analysts",
          "no Grubbs of days",
          "10.2797",
          "0.812021"}},
        // The largest design with a fifth of its results lost, two whole days among them: the
        // day component is set to zero.
        {"largest-missing.w05",
         100,
         {"9",
          "88",
          "302",
          "0.359372",
          "1.70002",
          "11.9398",
          "0.0399302",
          "0.0193184",
          "0.0395358",
          "2.16896",
          "0.488631",
          "4.0629",
          "4.2455",
          "39.9817",
          "0.0184098",
          "73.0257",
          "0.0395358",
          "0.198836",
          "0.200232",
          "98.6568",
          "0",
          "0",
          "0",
          "0",
          "0.000538257",
          "0.0232004",
          "0.0233632",
          "1.34316",
          "0.040074",
          "0.200185",
          "0.20159",
          "100",
          "302",
          "0.184165",
          "0.216067",
          "377.139",
          "0.174876",
          "0.201742",
          "0.0340025",
          "0.999944",
          "0.213173",
          "0.200232",
          "0.214669",
          "0.199336",
          "0.20159",
          "0.0307027",
          "0.0411906",
          "0.200116",
          "0.201521",
          "MLS",
          "no Cochran",
          "no Grubbs of analysts",
          "no Grubbs of days",
          "99.303",
          "0.188627"}},
    };
    for (const FileRow& row : rows) {
        const StudyAnalysis analysis = AnalysedFile(row.file);
        EXPECT_EQ(Figures(analysis), row.expected) << row.file;
        EXPECT_EQ(analysis.extended.missingResults, row.missing) << row.file;
    }
}

// Every number of the record, in a fixed order.
std::vector<double> Numbers(const StudyAnalysis& analysis) {
    const AnovaTable& t = analysis.anova;
    const PrecisionSummary& p = analysis.precision;
    const ExtendedAnalysis& e = analysis.extended;
    std::vector<double> numbers{t.dfAnalyst,
                                t.dfDay,
                                t.dfError,
                                t.ssAnalyst,
                                t.ssDay,
                                t.ssError,
                                t.msAnalyst,
                                t.msDay,
                                t.msError,
                                t.fAnalyst,
                                t.fDay,
                                t.pAnalyst,
                                t.pDay,
                                p.cvTotal,
                                p.repeatability,
                                p.reproDayAnalyst,
                                p.reproInterAnalyst,
                                p.cvInterAnalyst,
                                p.cvDayAnalyst,
                                p.cvRepeatability,
                                p.maxRelativeRange,
                                p.mean};
    for (const VarianceComponent& c : {e.repeatability, e.day, e.analyst, e.intermediate}) {
        numbers.insert(numbers.end(), {c.variance, c.sd, c.cv, c.percent});
    }
    for (const SdInterval& i : {e.repeatabilityInterval, e.intermediateInterval}) {
        numbers.insert(numbers.end(), {i.df, i.low, i.high});
    }
    const RepeatabilityBounds& r = e.repeatabilityBounds;
    const IntermediateBounds& i = e.intermediateBounds;
    const NestedCoefficients& k = e.coefficients;
    numbers.insert(numbers.end(), {e.pAnalystExact, e.pDayExact, e.cochran.c, e.cochran.critical5,
                                   e.cochran.critical1, r.sdUpper, r.rsd, r.rsdUpper, i.sdUpper,
                                   i.rsd, i.mlsVarianceLow, i.mlsVarianceHigh, i.mlsSdUpper,
                                   i.rsdUpper, k.k1, k.k2, k.k3, k.msSynthesized, k.dfSynthesized});
    const std::vector<double> grubbs = GrubbsFigures(e.grubbs);
    numbers.insert(numbers.end(), grubbs.begin(), grubbs.end());
    return numbers;
}

TEST(AnalyseUnbalancedStudy, GivesTheBalancedFiguresOfEveryHeldCompleteStudy) {
    for (const char* file :
         {"worked-example.w05", "negative-mean.w05", "analyst-offset.w05", "largest.w05"}) {
        const StudyAnalysis balanced = AnalysedFile(file);
        const StudyAnalysis unbalanced = AnalysedFile(file, true);
        const std::vector<double> expected = Numbers(balanced);
        const std::vector<double> actual = Numbers(unbalanced);
        ASSERT_EQ(actual.size(), expected.size());
        for (std::size_t index = 0; index < expected.size(); ++index) {
            EXPECT_LE(std::fabs(actual[index] - expected[index]),
                      1e-12 * std::fabs(expected[index]))
                << file << ", figure " << index << ": " << actual[index] << " against "
                << expected[index];
        }
        const ExtendedAnalysis& e = unbalanced.extended;
        EXPECT_EQ(std::pair(e.cochran.largest.analyst, e.cochran.largest.day),
                  std::pair(balanced.extended.cochran.largest.analyst,
                            balanced.extended.cochran.largest.day))
            << file;
        EXPECT_FALSE(e.absent.analystTest || e.absent.mls || e.absent.cochran ||
                     e.absent.grubbsAnalysts || e.absent.grubbsDays)
            << file;
        EXPECT_EQ(e.missingResults, 0u) << file;
    }
}

// A design of 5 analysts on 2 days of 5 replicates in which only analyst 4 has two days, of
// one result each: k1 = 1 and k2 = 3.43421, so MS_syn = 3.43 MS_day - 2.43 MS_error, below zero
// for these results.
TEST(AnalyseStudy, WithoutAPositiveDenominatorTheAnalystHasNoFTest) {
    const std::vector<std::string> texts{
        "NA",   "NA",  "NA",   "NA",  "NA",   "10.1",  "10.3", "9.9",  "10.2", "10.0",
        "10.4", "9.7", "10.6", "9.9", "10.2", "NA",    "NA",   "NA",   "NA",   "NA",
        "NA",   "NA",  "NA",   "NA",  "NA",   "10.5",  "9.8",  "10.1", "10.4", "9.6",
        "10.0", "NA",  "NA",   "NA",  "NA",   "10.05", "NA",   "NA",   "NA",   "NA",
        "NA",   "NA",  "NA",   "NA",  "NA",   "10.2",  "9.9",  "NA",   "NA",   "NA"};
    const Study study = testing::StudyWithResults(5, 2, 5, texts);
    const std::vector<double> results = ReadResults(study, '.');
    const StudyAnalysis analysis = AnalyseStudy(StudyNumbers(DesignOfResults(study), results));
    const ExtendedAnalysis& e = analysis.extended;
    EXPECT_EQ(FormatResult(e.coefficients.k1, '.'), "1");
    EXPECT_EQ(FormatResult(e.coefficients.k2, '.'), "3.43421");
    EXPECT_TRUE(e.absent.analystTest);
    EXPECT_EQ(
        std::vector<double>({analysis.anova.fAnalyst, analysis.anova.pAnalyst, e.pAnalystExact}),
        std::vector<double>({0, 1, 1}));
    EXPECT_EQ(AbsenceSentences(e.absent),
              std::vector<std::string>(
                  {"Sin prueba F entre analistas: con los resultados que faltan, el denominador "
                   "sintetizado no es mayor que cero.",
                   "Sin prueba de Cochran: los días no tienen todos el mismo número de "
                   "resultados.",
                   "Sin prueba de Grubbs entre analistas: los analistas no tienen todos el "
                   "mismo número de resultados."}));
}

// Each analyst of 3 lacks one result on a different day: their means rest on 5 results each, so
// Grubbs takes the analysts, but not their days, of 1 and 2 results (figures from
// tools/unbalanced-expectations on the same results).
TEST(AnalyseStudy, TakesGrubbsByLevelWhereTheCountsAgree) {
    const std::vector<std::string> texts{"10.1", "NA",   "10.4", "10.2", "9.9",  "10.3",
                                         "10.6", "10.5", "NA",   "10.9", "10.7", "10.4",
                                         "9.8",  "9.6",  "10.0", "9.7",  "NA",   "9.5"};
    const Study study = testing::StudyWithResults(3, 3, 2, texts);
    const std::vector<double> results = ReadResults(study, '.');
    const ExtendedAnalysis e = AnalyseStudy(StudyNumbers(DesignOfResults(study), results)).extended;
    std::vector<std::string> shown;
    for (const double value : GrubbsFigures(e.grubbs)) {
        shown.push_back(FormatResult(value, '.'));
    }
    EXPECT_EQ(shown, std::vector<std::string>({"1.1543", "1.15468", "0.992511", "1.00732"}));
    EXPECT_EQ(AbsenceSentences(e.absent),
              std::vector<std::string>(
                  {"Sin prueba de Grubbs entre los días de cada analista: los días de un "
                   "analista no tienen todos el mismo número de resultados."}));
}

TEST(AnalyseStudy, RefusesAStudyThatLacksTooMuchWithTheChecksMessage) {
    Design design(2, 2, 2);
    for (int day = 1; day <= 2; ++day) {
        design.MarkMissing(DesignCell{1, day, 2});
        design.MarkMissing(DesignCell{2, day, 2});
    }
    const std::vector<double> results{1, 0, 2, 0, 3, 0, 5, 0};
    EXPECT_EQ(ErrorOf([&] { AnalyseStudy(StudyNumbers(design, results)); }),
              "La fuente Error se queda sin grados de libertad: ningún día tiene dos "
              "resultados.");
}

TEST(StatisticsEngine, TheClassicComputationsRefuseAMissingResult) {
    Study study = testing::WorkedExample();
    study.SetCell(2, 3, "na");
    StatisticsEngine engine;
    AnovaTable table;
    PrecisionSummary summary;
    EXPECT_EQ(ErrorOf([&] { engine.ComputeAnova(study, '.', table); }), kHasMissingResults);
    EXPECT_EQ(ErrorOf([&] { engine.ComputePrecision(study, '.', summary); }), kHasMissingResults);
    const std::vector<double> results = ReadResults(study, '.');
    EXPECT_EQ(ErrorOf([&] {
                  engine.ComputeAnovaAndPrecision(StudyNumbers(DesignOfResults(study), results),
                                                  table, summary);
              }),
              kHasMissingResults);
}

} // namespace
} // namespace orbeta
