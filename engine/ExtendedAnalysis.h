#pragma once

#include "engine/Acceptance.h"
#include "engine/Ucalculo.h"
#include "engine/UnbalancedAnova.h"

#include <optional>
#include <string>
#include <vector>

namespace orbeta {

// One source of the spread of the results. Estimates follow the convention that a negative one is
// set to zero: repeatability msError, between days (msDay - msError) / R, between analysts
// (msAnalyst - msDay) / (D R), and the intermediate precision, the sum of the three.
struct VarianceComponent {
    double variance = 0;
    double sd = 0;      // standard deviation
    double cv = 0;      // the relative SD, 100 sd / |mean| (RelativeSd), as every extended figure
    double percent = 0; // the variance's share of the intermediate precision's, percent
};

// A 95 % confidence interval for a standard deviation, with the degrees of freedom it rests on.
struct SdInterval {
    double df = 0;
    double low = 0;
    double high = 0;
};

// A consistency test's verdict on a value: within the 5 % critical value, above it (a
// straggler), or above the 1 % one (an outlier). A value equal to a critical value is within it.
enum class Verdict { Correct, Straggler, Outlier };

// "correcto", "dudoso" or "aberrante".
const char* VerdictText(Verdict verdict);

// A day of an analyst, both counted from 1.
struct DayOfAnalyst {
    int analyst = 0;
    int day = 0;
};

// Cochran's test on the variances of the days, each from the day's replicates: the largest over
// their sum. When every day variance is zero no day stands out: c is 0.
struct CochranTest {
    double c = 0;
    double critical5 = 0;
    double critical1 = 0;
    Verdict verdict = Verdict::Correct;
    DayOfAnalyst largest;
};

// Grubbs's test of one extreme of a sample of means: its distance from the sample's mean, in
// standard deviations of the sample. When every mean is the same none stands out: g is 0.
struct GrubbsValue {
    double g = 0;
    Verdict verdict = Verdict::Correct;
    DayOfAnalyst day; // the mean's analyst and day; day 0 for an analyst's mean
};

struct GrubbsTest {
    double critical5 = 0;
    double critical1 = 0;
    GrubbsValue high;
    GrubbsValue low;
};

// Grubbs's tests as ISO 5725-2 makes them, on samples of means of one level of the design, so
// that an analyst's offset is not taken for an aberrant day:
//   - analysts: the analysts' means among themselves, with 3 analysts or more;
//   - daysOfAnalysts: for each analyst in order, its day means among themselves, with 3 days or
//     more; extremeDays is the highest of their high extremes and the highest of their low ones
//     (the first analyst's of ties), which share one critical value.
struct GrubbsTests {
    std::optional<GrubbsTest> analysts;
    std::vector<GrubbsTest> daysOfAnalysts;
    std::optional<GrubbsTest> extremeDays;
};

// The one-sided 95 % upper bound of the repeatability SD (chi-square on dfError) and the relative
// SDs, percent of the mean, that an acceptance compares.
struct RepeatabilityBounds {
    double sdUpper = 0;
    double rsd = 0;
    double rsdUpper = 0;
};

// The intermediate precision's one-sided 95 % upper bound of the SD by Satterthwaite (of theta,
// with IntermediateDf's degrees of freedom, as the MLS bound), its MLS
// figures (see engine/Acceptance.h) and the relative SDs; rsdUpper is the MLS bound's, the more
// prudent one, which the acceptance compares.
struct IntermediateBounds {
    double sdUpper = 0;
    double rsd = 0;
    double mlsVarianceLow = 0;
    double mlsVarianceHigh = 0;
    double mlsSdUpper = 0; // the square root of the one-sided MLS bound
    double rsdUpper = 0;
};

// Warnings on a small design: fewAnalysts when the analyst term rests on fewer than 3 degrees of
// freedom, intervalsDisagree when the MLS upper bound of the intermediate-precision SD exceeds
// Satterthwaite's by more than 20 %.
struct SmallDesignFlags {
    int analysts = 0; // the count the sentences name
    bool fewAnalysts = false;
    bool intervalsDisagree = false;
};

// The sentence of each flag raised, in the order of the members, for the window.
std::vector<std::string> FlagSentences(const SmallDesignFlags& flags);

// The figures a study with results missing cannot give; none is absent for a complete study.
struct AbsentFigures {
    bool analystTest = false;    // the synthesized denominator is not above zero
    bool mls = false;            // a coefficient of theta is negative
    bool cochran = false;        // the days' variances rest on different numbers of results
    bool grubbsAnalysts = false; // the analysts' means rest on different numbers of results
    bool grubbsDays = false;     // an analyst's day means rest on different numbers of results
};

// The sentence saying why, for each figure absent, in the order of the members.
std::vector<std::string> AbsenceSentences(const AbsentFigures& absent);

// The figures a validation report gives beside the analysis of variance and the precision
// measures. Of days that tie for an extreme, the first in the study's order is named.
struct ExtendedAnalysis {
    VarianceComponent repeatability;
    VarianceComponent day;
    VarianceComponent analyst;
    VarianceComponent intermediate;
    SdInterval repeatabilityInterval; // exact, from chi-square with dfError
    SdInterval
        intermediateInterval; // of theta, on IntermediateDf's degrees of freedom, not rounded
    double pAnalystExact = 0;
    double pDayExact = 0;
    bool exactConclusionsDiffer = false; // either 0.05 conclusion changes with the exact P
    CochranTest cochran;
    GrubbsTests grubbs;
    RepeatabilityBounds repeatabilityBounds;
    IntermediateBounds intermediateBounds;
    SmallDesignFlags flags;
    // The design's moment coefficients and the analyst's denominator (engine/UnbalancedAnova.h;
    // for a complete study k1 = k2 = R, k3 = D R and MS_day on df_day), the results missing,
    // and the figures absent, each of which then holds zeros (the analyst's P holds 1).
    NestedCoefficients coefficients;
    std::size_t missingResults = 0;
    AbsentFigures absent;
};

// The acceptance limits the user gives for the RSD of each measure, percent; none by default.
struct AcceptanceLimits {
    std::optional<double> repeatability;
    std::optional<double> intermediate;
};

// A measure against its limit: the point RSD, its one-sided 95 % upper bound and the verdict.
struct AcceptanceFigures {
    double limit = 0;
    double rsd = 0;
    double rsdUpper = 0;
    Acceptance verdict = Acceptance::Meets;
};

// A verdict for each limit given, and none for a limit not given.
struct AcceptanceResult {
    std::optional<AcceptanceFigures> repeatability;
    std::optional<AcceptanceFigures> intermediate;
};

// Judges the analysis against the limits. Throws Error naming the limit when one given is not a
// number above zero (CheckedLimit).
AcceptanceResult Accept(const ExtendedAnalysis& analysis, const AcceptanceLimits& limits);

// The exact probability that an F(df1, df2) variable exceeds f; 1 for f <= 0. Degrees of freedom
// are positive.
double ExactFProbability(double f, double df1, double df2);

// Cochran's critical value for the largest of `cells` variances, each of `replicates` results,
// at the level alpha; at least 2 of each.
double CochranCriticalValue(int cells, int replicates, double alpha);

// Grubbs's critical value for one extreme of `values` values at the level alpha; at least 3.
double GrubbsCriticalValue(int values, double alpha);

// Every figure of one study: the analysis of variance, the precision measures, the extended
// analysis and the verdict for each limit given.
struct StudyAnalysis {
    AnovaTable anova;
    PrecisionSummary precision;
    ExtendedAnalysis extended;
    AcceptanceResult acceptance;
};

// The one chain from a study's numbers to its figures, which the windows, the command line and
// the planner take; the extended analysis is computed from the analysis of variance of the same
// numbers, so the two always belong together. Needs at least 2 analysts, days and replicates.
// A design with results missing goes through AnalyseUnbalancedStudy, after CheckMissingResults,
// whose message it throws as an Error.
// Throws Error with the engine's arithmetic messages where a figure cannot be stated: a mean of
// zero ("Floating point division by zero"); a negative error mean square (a rounding residue),
// no spread at all, or counts below 2 ("Invalid floating point operation"); and as Accept does
// for a bad limit, once every figure is computed. Never yields an infinity or a NaN.
StudyAnalysis AnalyseStudy(const StudyNumbers& numbers, const AcceptanceLimits& limits = {});

// Every figure of a study by the estimators of an unbalanced design (engine/UnbalancedAnova.h),
// complete or not; throws as ComputeUnbalancedAnova and Accept do. The analysis of variance is
// the hierarchical one, the precision measures UnbalancedPrecision. Cochran's test takes the days
// with two results or more, and is absent unless they all hold the same number; Grubbs's tests
// take the levels as for a complete study, the analysts' means of their results and each
// analyst's days that hold a result, a level absent where its means rest on unequal numbers of
// results. Without the
// MLS interval, the intermediate precision's acceptance compares Satterthwaite's bound.
StudyAnalysis AnalyseUnbalancedStudy(const StudyNumbers& numbers,
                                     const AcceptanceLimits& limits = {});

} // namespace orbeta
