// Expected figures were computed apart from this code, from the formulas in multiple-precision
// arithmetic, or by hand where a closed form exists; critical values are also held against the
// published ISO 5725-2 tables.
#include "engine/ExtendedAnalysis.h"
#include "engine/Distributions.h"
#include "files/StudyFile.h"
#include "study/Numbers.h"
#include "support/Expectations.h"
#include "support/Studies.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace orbeta {
namespace {

using testing::ErrorOf;
using testing::StudyWithResults;

ExtendedAnalysis Analysed(const Study& study) {
    const std::vector<double> results = ReadResults(study, '.');
    return AnalyseStudy(StudyNumbers(DesignOf(study), results)).extended;
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
    for (const auto& [level, grubbs] : {std::pair{"analysts", analysis.grubbs.analysts},
                                        std::pair{"days", analysis.grubbs.extremeDays}}) {
        if (!grubbs) {
            texts.push_back(std::string("no ") + level);
            continue;
        }
        add({grubbs->critical5, grubbs->critical1, grubbs->high.g});
        addTest(grubbs->high.verdict, grubbs->high.day);
        add({grubbs->low.g});
        addTest(grubbs->low.verdict, grubbs->low.day);
    }
    return texts;
}

struct StudyRow {
    const char* name;
    Study study;
    std::vector<std::string> expected;
};

TEST(AnalyseStudy, GivesEveryFigureOfTheStudies) {
    const StudyRow rows[] = {
        // The day and analyst variances are also the precision measures' own, 0.0772222 and
        // 0.102778. Satterthwaite with all three mean squares.
        {"worked example",
         testing::WorkedExample(),
         {"0.1725",   "0.415331", "0.416825", "48.9362",     "0.0772222", "0.277889", "0.278888",
          "21.907",   "0.102778", "0.32059",  "0.321743",    "29.1568",   "0.3525",   "0.593717",
          "0.595852", "100",      "8",        "0.280538",    "0.795679",  "3.78033",  "0.351921",
          "1.78567",  "0.252948", "0.158148", "agree",       "0.449275",  "0.767921", "0.864279",
          "correcto", "1",        "1",        "no analysts", "no days"}},
        // Days agree better than replicates: the day component is set to zero; the intermediate
        // interval stays that of theta = msAnalyst/6 + msDay/6 + 2 msError/3 (R: nu 1.1475).
        {"negative day component",
         StudyWithResults(2, 2, 3,
                          {"99", "101", "100", "99.6", "100.6", "100.1", "103", "105", "104",
                           "102.9", "104.9", "103.9"}),
         {"0.8125",   "0.901388",    "0.883714", "9.65538",     "0",        "0",        "0",
          "0",        "7.6025",      "2.75726",  "2.7032",      "90.3446",  "8.415",    "2.90086",
          "2.84398",  "100",         "8",        "0.608849",    "1.72685",  "1.1475",   "1.31407",
          "59.514",   "0.000328569", "0.98175",  "agree",       "0.307692", "0.767921", "0.864279",
          "correcto", "1",           "1",        "no analysts", "no days"}},
        // Analyst 3's day 2 spreads far wider than any other (C = 1.28 / 1.46); analyst 4's mean
        // stands highest, just within the 5 % critical value; the analyst component is set to
        // zero. Two days an analyst leave no day means to test.
        {"straggler and outlier",
         StudyWithResults(5, 2, 2,
                          {"99.90",  "100.10", "100.10", "100.30", "99.80",  "100.00", "100.00",
                           "100.20", "99.70",  "99.90",  "99.50",  "101.10", "99.90",  "100.10",
                           "100.60", "100.80", "100.00", "100.20", "99.80",  "100.00"}),
         {"0.146",     "0.382099", "0.381718", "91.8239",  "0.013",    "0.114018", "0.113904",
          "8.1761",    "0",        "0",        "0",        "0",        "0.159",    "0.398748",
          "0.39835",   "100",      "10",       "0.266979", "0.670559", "18.5484",  "0.28094",
          "0.544069",  "0.742789", "0.384526", "agree",    "0.876712", "0.60201",  "0.717489",
          "aberrante", "3",        "2",        "1.71504",  "1.76368",  "1.71499",  "correcto",
          "4",         "0",        "0.685994", "correcto", "2",        "0",        "no days"}},
    };
    for (const StudyRow& row : rows) {
        EXPECT_EQ(Figures(Analysed(row.study)), row.expected) << row.name;
    }
}

// Every relative SD the extended figures show divides by the size of the mean: a study of
// negative results (mean -25.1917) gives them positive, the components' and the bounds' alike.
TEST(AnalyseStudy, RelativeSdsDivideByTheSizeOfTheMean) {
    const StudyFileContents contents =
        ReadStudyFileContents(std::filesystem::path(ORBETA_TEST_DATA) / "negative-mean.w05");
    const ExtendedAnalysis analysis =
        AnalyseStudy(StudyNumbers(contents.GetDesign(), contents.shownResults)).extended;
    const std::vector<std::string> shown{
        FormatResult(analysis.repeatability.cv, '.'),
        FormatResult(analysis.day.cv, '.'),
        FormatResult(analysis.analyst.cv, '.'),
        FormatResult(analysis.intermediate.cv, '.'),
        FormatResult(analysis.repeatabilityBounds.rsd, '.'),
        FormatResult(analysis.intermediateBounds.rsd, '.'),
    };
    // R: 100 sqrt(component) / abs(mean(x)).
    EXPECT_EQ(shown, (std::vector<std::string>{"0.771602", "0", "0.151365", "0.786308", "0.771602",
                                               "0.786308"}));
}

// Analyst 8 reads about 1.2 higher than the others on each of its days. Pooled, its day 3 would
// look a straggler (G = 2.98 of 24 day means, R); by levels the analyst is named aberrant and
// each analyst's days agree among themselves. Expected values from R's qt and sd.
TEST(AnalyseStudy, GrubbsTestsTheMeansOfEachLevelAmongThemselves) {
    const StudyFileContents contents =
        ReadStudyFileContents(std::filesystem::path(ORBETA_TEST_DATA) / "analyst-offset.w05");
    const GrubbsTests grubbs =
        AnalyseStudy(StudyNumbers(contents.GetDesign(), contents.shownResults)).extended.grubbs;
    const auto shown = [](const GrubbsTest& test) {
        const auto value = [](const GrubbsValue& v) {
            return FormatResult(v.g, '.') + " " + VerdictText(v.verdict) + " " +
                   std::to_string(v.day.analyst) + "," + std::to_string(v.day.day);
        };
        return FormatResult(test.critical5, '.') + " " + FormatResult(test.critical1, '.') + " | " +
               value(test.high) + " | " + value(test.low);
    };
    ASSERT_TRUE(grubbs.analysts && grubbs.extremeDays);
    EXPECT_EQ(shown(*grubbs.analysts),
              "2.12665 2.27437 | 2.47352 aberrante 8,0 | 0.402038 correcto 7,0");
    EXPECT_EQ(shown(*grubbs.extremeDays),
              "1.1543 1.15468 | 1.1209 correcto 3,2 | 1.14459 correcto 6,2");
    std::vector<std::string> days;
    for (const GrubbsTest& test : grubbs.daysOfAnalysts) {
        days.push_back(FormatResult(test.high.g, '.') + "@" +
                       std::to_string(test.high.day.analyst) + "," +
                       std::to_string(test.high.day.day));
    }
    EXPECT_EQ(days, (std::vector<std::string>{"1@1,2", "0.855186@2,1", "1.1209@3,2", "0.872872@4,3",
                                              "0.927173@5,2", "0.704361@6,1", "1.1094@7,2",
                                              "1.09109@8,3"}));
}

// Of two days tied for an analyst's highest (or lowest) mean, the first is named.
TEST(AnalyseStudy, GrubbsNamesTheFirstOfTiedExtremes) {
    const ExtendedAnalysis analysis =
        Analysed(StudyWithResults(2, 3, 2,
                                  {"99.9", "100.1", "100.9", "101.1", "100.9", "101.1", "98.9",
                                   "99.1", "99.9", "100.1", "98.9", "99.1"}));
    ASSERT_EQ(analysis.grubbs.daysOfAnalysts.size(), 2u);
    const GrubbsTest& first = analysis.grubbs.daysOfAnalysts[0];
    const GrubbsTest& second = analysis.grubbs.daysOfAnalysts[1];
    EXPECT_EQ(std::pair(first.high.day.analyst, first.high.day.day), std::pair(1, 2));
    EXPECT_EQ(std::pair(second.low.day.analyst, second.low.day.day), std::pair(2, 1));
}

TEST(AnalyseStudy, NoDaySpreadGivesACochranStatisticOfZero) {
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

TEST(AnalyseStudy, RefusesWhatItCannotState) {
    const Study zeroMean = StudyWithResults(
        2, 2, 3, {"-1", "1", "0.5", "-0.5", "2", "-2", "1", "-1", "0.25", "-0.25", "3", "-3"});
    EXPECT_EQ(ErrorOf([&] { Analysed(zeroMean); }), "Floating point division by zero");
    const std::vector<double> results(7, 100.0);
    // Numbers and counts that disagree never reach the analysis: they make no StudyNumbers.
    EXPECT_EQ(ErrorOf([&] { StudyNumbers(Design(2, 2, 2), results); }),
              "The number of results does not match the counts");
}

struct CriticalRow {
    const char* name;
    double value;
    double expected;
    double tolerance;
};

// A distribution asked what it cannot answer raises the core's Error in Spanish, never a
// standard exception with Boost's English text, which the windows would not catch.
TEST(Distributions, FailuresRaiseTheCoresErrorInSpanish) {
    const std::string domain =
        "Una distribución estadística no admite los valores de este cálculo.";
    const std::string overflow =
        "Un valor de una distribución estadística excede lo que el cálculo puede representar.";
    const std::pair<std::function<void()>, std::string> rows[] = {
        {[] { GrubbsCriticalValue(2, 0.05); }, domain},
        {[] { ExactFProbability(1, 0, 2); }, domain},
        {[] { distributions::ChiSquareQuantile(1.5, 3); }, domain},
        {[] { distributions::ChiSquareQuantile(1, 3); }, overflow},
    };
    for (const auto& [call, message] : rows) {
        EXPECT_EQ(ErrorOf(call), message);
    }
}

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

// The one-sided bounds, the MLS interval and the flags, as the reports show them.
std::vector<std::string> Bounds(const ExtendedAnalysis& analysis) {
    const RepeatabilityBounds& r = analysis.repeatabilityBounds;
    const IntermediateBounds& i = analysis.intermediateBounds;
    std::vector<std::string> texts;
    for (const double value : {r.sdUpper, r.rsd, r.rsdUpper, i.sdUpper, i.rsd, i.mlsVarianceLow,
                               i.mlsVarianceHigh, i.mlsSdUpper, i.rsdUpper}) {
        texts.push_back(FormatResult(value, '.'));
    }
    texts.emplace_back(analysis.flags.fewAnalysts ? "few analysts" : "enough analysts");
    texts.emplace_back(analysis.flags.intervalsDisagree ? "disagree" : "agree");
    return texts;
}

const Study& ThreeByFiveByFive() {
    static const Study study = StudyWithResults(
        3, 5, 5,
        {"50.14", "50.03", "50.21", "50.08", "50.04", "49.96", "49.83", "49.79", "49.89", "49.78",
         "49.99", "50.09", "49.98", "50.16", "50.03", "50.13", "50.31", "50.18", "50.14", "50.24",
         "49.88", "49.84", "49.94", "49.83", "50.01", "50.13", "50.31", "50.18", "50.14", "50.24",
         "50.38", "50.34", "50.44", "50.33", "50.51", "50.59", "50.48", "50.66", "50.53", "50.49",
         "50.36", "50.23", "50.19", "50.29", "50.18", "50.39", "50.49", "50.38", "50.56", "50.43",
         "49.96", "49.83", "49.79", "49.89", "49.78", "49.94", "50.04", "49.93", "50.11", "49.98",
         "49.63", "49.81", "49.68", "49.64", "49.74", "49.88", "49.84", "49.94", "49.83", "50.01",
         "49.69", "49.58", "49.76", "49.63", "49.59"});
    return study;
}

// The second analyst reads 5 units higher: the analyst term, on 1 degree of freedom, dominates.
const Study& StrongAnalystEffect() {
    static const Study study =
        StudyWithResults(2, 3, 2,
                         {"99.8", "100.1", "100.3", "99.9", "100.0", "100.2", "104.6", "104.9",
                          "105.2", "104.8", "104.7", "105.1"});
    return study;
}

const Study& FiveAnalysts() {
    static const Study study = StudyWithResults(
        5, 2, 2, {"99.90",  "100.10", "100.10", "100.30", "99.80",  "100.00", "100.00",
                  "100.20", "99.70",  "99.90",  "99.50",  "101.10", "99.90",  "100.10",
                  "100.60", "100.80", "100.00", "100.20", "99.80",  "100.00"});
    return study;
}

TEST(AnalyseStudy, GivesTheOneSidedBoundsAndTheMlsInterval) {
    // In order: repeatability sd_upper, rsd, rsd_upper; intermediate sd_upper (Satterthwaite),
    // rsd, MLS variance low and high, MLS sd_upper, rsd_upper (MLS); the two flags.
    const StudyRow rows[] = {
        {"worked example",
         testing::WorkedExample(),
         {"0.710638", "0.416825", "0.713194", "1.46081", "0.595852", "0.19473", "173.447",
          "6.59316", "6.61687", "few analysts", "disagree"}},
        // Relative to the mean's size: the worked example's results negated give its figures.
        {"negative mean",
         StudyWithResults(2, 2, 3,
                          {"-99.1", "-100.2", "-99.8", "-100.5", "-99.9", "-100.1", "-98.7",
                           "-99.5", "-99.0", "-100.0", "-99.6", "-99.3"}),
         {"0.710638", "0.416825", "0.713194", "1.46081", "0.595852", "0.19473", "173.447",
          "6.59316", "6.61687", "few analysts", "disagree"}},
        {"3 x 5 x 5",
         ThreeByFiveByFive(),
         {"0.0885969", "0.150123", "0.176946", "0.867943", "0.627198", "0.0415424", "3.08234",
          "1.23782", "2.47218", "few analysts", "disagree"}},
        // Satterthwaite's df of theta fall to 1.00633; its bound then is as wide as MLS's.
        {"2 x 3 x 2, strong analyst effect",
         StrongAnalystEffect(),
         {"0.46262", "0.235709", "0.451483", "53.6898", "3.34317", "2.36193", "11893.9", "54.5029",
          "53.1909", "few analysts", "agree"}},
        // 3 degrees of freedom between analysts are enough, yet the bounds still disagree.
        {"4 x 2 x 2",
         StudyWithResults(4, 2, 2,
                          {"100.1", "100.3", "99.8", "100.0", "100.6", "100.4", "100.9", "101.2",
                           "99.5", "99.9", "99.7", "99.4", "100.2", "100.8", "100.5", "100.1"}),
         {"0.423455", "0.246963", "0.422557", "1.20032", "0.546656", "0.134564", "3.41795",
          "1.45603", "1.45294", "enough analysts", "disagree"}},
        // The analyst component is set to zero, while theta keeps its negative estimate, and so do
        // Satterthwaite's interval and bound, which are of theta (R: nu 18.5484, bound 0.509992).
        {"5 x 2 x 2",
         FiveAnalysts(),
         {"0.608712", "0.381718", "0.608104", "0.509992", "0.39835", "0.089603", "0.44277",
          "0.587474", "0.586887", "enough analysts", "agree"}},
    };
    for (const StudyRow& row : rows) {
        EXPECT_EQ(Bounds(Analysed(row.study)), row.expected) << row.name;
    }
}

struct AcceptanceRow {
    const char* name;
    const Study& study;
    AcceptanceLimits limits;
    std::vector<std::string> expected; // per measure judged: limit, rsd, rsd_upper, verdict
};

std::vector<std::string> Judged(const AcceptanceResult& result) {
    std::vector<std::string> texts;
    for (const auto& figures : {result.repeatability, result.intermediate}) {
        if (!figures) {
            texts.emplace_back("no limit");
            continue;
        }
        texts.insert(texts.end(),
                     {FormatResult(figures->limit, '.'), FormatResult(figures->rsd, '.'),
                      FormatResult(figures->rsdUpper, '.'), AcceptanceText(figures->verdict)});
    }
    return texts;
}

TEST(Accept, JudgesEachLimitGivenByTheUpperBoundAndThePointEstimate) {
    // Worked example: repeatability 0.416825 % (upper 0.713194 %), intermediate 0.595852 %
    // (MLS upper 6.61687 %).
    const Study& worked = testing::WorkedExample();
    const AcceptanceRow rows[] = {
        {"no limits", worked, {}, {"no limit", "no limit"}},
        {"both met",
         worked,
         {0.72, 6.62},
         {"0.72", "0.416825", "0.713194", "Cumple", "6.62", "0.595852", "6.61687", "Cumple"}},
        {"between the point and the bound",
         worked,
         {0.7, 2},
         {"0.7", "0.416825", "0.713194", "Cumple sin demostrarlo al 95 %", "2", "0.595852",
          "6.61687", "Cumple sin demostrarlo al 95 %"}},
        {"below the point",
         worked,
         {0.4, 0.59},
         {"0.4", "0.416825", "0.713194", "No cumple", "0.59", "0.595852", "6.61687", "No cumple"}},
        {"intermediate only",
         ThreeByFiveByFive(),
         {std::nullopt, 2.5},
         {"no limit", "2.5", "0.627198", "2.47218", "Cumple"}},
        {"repeatability only",
         StrongAnalystEffect(),
         {0.45, std::nullopt},
         {"0.45", "0.235709", "0.451483", "Cumple sin demostrarlo al 95 %", "no limit"}},
    };
    for (const AcceptanceRow& row : rows) {
        EXPECT_EQ(Judged(Accept(Analysed(row.study), row.limits)), row.expected) << row.name;
    }
}

struct DecisionRow {
    double rsd;
    double rsdUpper;
    double limit;
    Acceptance expected;
};

TEST(Decide, APointOrBoundAtTheLimitMeetsIt) {
    const double above = std::nextafter(2.0, 3.0);
    const DecisionRow rows[] = {
        {1.0, 2.0, 2.0, Acceptance::Meets},
        {1.0, above, 2.0, Acceptance::MeetsUnproven},
        {2.0, 3.0, 2.0, Acceptance::MeetsUnproven},
        {above, 3.0, 2.0, Acceptance::Fails},
        {2.0, 2.0, 2.0, Acceptance::Meets},
        // A bound below a point estimate above the limit does not rescue it.
        {above, 1.0, 2.0, Acceptance::Fails},
    };
    for (const DecisionRow& row : rows) {
        EXPECT_EQ(Decide(row.rsd, row.rsdUpper, row.limit), row.expected)
            << row.rsd << " up to " << row.rsdUpper << " against " << row.limit;
    }
}

TEST(Accept, RefusesALimitThatIsNotANumberAboveZero) {
    const ExtendedAnalysis analysis = Analysed(testing::WorkedExample());
    const std::string repeatability =
        "El límite de la repetibilidad debe ser un número mayor que cero.";
    const std::string intermediate =
        "El límite de la precisión intermedia debe ser un número mayor que cero.";
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const std::pair<AcceptanceLimits, std::string> rows[] = {
        {{0.0, std::nullopt}, repeatability},
        {{-1.0, 2.0}, repeatability},
        {{nan, std::nullopt}, repeatability},
        {{infinity, 2.0}, repeatability},
        {{std::nullopt, 0.0}, intermediate},
        {{1.0, -0.5}, intermediate},
        {{std::nullopt, nan}, intermediate},
        {{1.0, infinity}, intermediate},
        {{std::numeric_limits<double>::min(), 1e-300}, "no error"},
    };
    for (const auto& [limits, message] : rows) {
        EXPECT_EQ(ErrorOf([&] { Accept(analysis, limits); }), message) << message;
    }
}

TEST(FlagSentences, NameTheAnalystsAndTheirDegreesOfFreedom) {
    const std::string disagree =
        "El límite superior MLS de la precisión intermedia supera en más de un 20 % al de "
        "Satterthwaite: el de Satterthwaite subestima la incertidumbre; tome el MLS.";
    const std::pair<SmallDesignFlags, std::vector<std::string>> rows[] = {
        {{2, true, false},
         {"Con 2 analistas el componente entre analistas descansa en 1 grado de libertad: el "
          "intervalo de Satterthwaite puede ser demasiado estrecho; se muestra también el MLS."}},
        {{3, true, true},
         {"Con 3 analistas el componente entre analistas descansa en 2 grados de libertad: el "
          "intervalo de Satterthwaite puede ser demasiado estrecho; se muestra también el MLS.",
          disagree}},
        {{6, false, true}, {disagree}},
        {{6, false, false}, {}},
    };
    for (const auto& [flags, expected] : rows) {
        EXPECT_EQ(FlagSentences(flags), expected) << flags.analysts;
    }
}

TEST(DesignFactorsOf, RefusesADesignWithoutTwoOfEachCount) {
    for (const auto& [a, d, r] : {std::tuple{1, 2, 2}, std::tuple{2, 1, 2}, std::tuple{2, 2, 1}}) {
        EXPECT_EQ(ErrorOf([&] { DesignFactorsOf(Design(a, d, r)); }),
                  "Invalid floating point operation")
            << a << " x " << d << " x " << r;
    }
}

// What an analysis shows, and the exact bits of the figures a batch's studies may share the
// quantiles of.
std::vector<std::string> Shown(const StudyNumbers& numbers) {
    const ExtendedAnalysis analysis = AnalyseStudy(numbers).extended;
    std::vector<std::string> shown = Figures(analysis);
    const std::vector<std::string> bounds = Bounds(analysis);
    shown.insert(shown.end(), bounds.begin(), bounds.end());
    for (const double value :
         {analysis.repeatabilityInterval.low, analysis.repeatabilityInterval.high,
          analysis.intermediateInterval.low, analysis.intermediateInterval.high,
          analysis.cochran.critical5, analysis.repeatabilityBounds.sdUpper}) {
        shown.push_back(std::to_string(std::bit_cast<std::uint64_t>(value)));
    }
    return shown;
}

// Quantiles and critical values are kept for a design the first time it is analysed: on two
// threads at once, and after other studies of the same design, each study gets the figures of
// a first analysis.
TEST(AnalyseStudy, ThreadsAndStudiesOfADesignGiveTheFiguresOfAFirstAnalysis) {
    const std::vector<double> largest = ReadResults(testing::LargestStudy(), '.');
    std::vector<double> wider;
    for (const double result : largest) {
        wider.push_back(3 * result - 200);
    }
    const StudyFileContents missing =
        ReadStudyFileContents(std::filesystem::path(ORBETA_TEST_DATA) / "largest-missing.w05");
    const std::vector<double> worked = ReadResults(testing::WorkedExample(), '.');
    const std::vector<StudyNumbers> studies{StudyNumbers(Design(10, 10, 5), largest),
                                            StudyNumbers(Design(10, 10, 5), wider),
                                            StudyNumbers(missing.GetDesign(), missing.shownResults),
                                            StudyNumbers(Design(2, 2, 3), worked)};
    std::vector<std::vector<std::string>> first(studies.size());
    for (std::size_t at = 0; at < studies.size(); ++at) {
        std::thread([&] { first[at] = Shown(studies[at]); }).join();
    }
    ASSERT_NE(first[0], first[1]);

    constexpr int kRounds = 20;
    std::vector<std::vector<std::string>> forwards(studies.size());
    std::vector<std::vector<std::string>> backwards(studies.size());
    std::thread forward([&] {
        for (int round = 0; round < kRounds; ++round) {
            for (std::size_t at = 0; at < studies.size(); ++at) {
                forwards[at] = Shown(studies[at]);
            }
        }
    });
    std::thread backward([&] {
        for (int round = 0; round < kRounds; ++round) {
            for (std::size_t at = studies.size(); at-- > 0;) {
                backwards[at] = Shown(studies[at]);
            }
        }
    });
    forward.join();
    backward.join();
    for (std::size_t at = 0; at < studies.size(); ++at) {
        EXPECT_EQ(forwards[at], first[at]) << at;
        EXPECT_EQ(backwards[at], first[at]) << at;
    }
}

} // namespace
} // namespace orbeta
