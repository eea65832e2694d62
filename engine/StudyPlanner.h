#pragma once

// The study planner: before a precision study is run, which design of A analysts, D days and R
// replicates shows with the wanted probability that the method meets its limits, at the lowest
// number of determinations. It assumes the balanced nested design of the analysis of variance,
// normal errors and the components as the user expects them.

#include "engine/Acceptance.h"
#include "study/Study.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace orbeta {

// Simulated studies of each design.
inline constexpr int kPlanSimulatedStudies = 20000;

// The seed of every run of chi-square draws, with its source and degrees of freedom mixed in.
inline constexpr std::uint64_t kPlanSeed = 0x4f52424554412d50; // "ORBETA-P"

// What the lab expects of its method: the mean and the standard deviations of the components
// in the results' own units, the limits of the relative standard deviations in percent (at least
// one), and the probability in percent that the study should give «Cumple».
struct PlanInputs {
    double mean = 0;
    double sdRepeatability = 0;
    double sdDay = 0;
    double sdAnalyst = 0;
    std::optional<double> limitRepeatability;
    std::optional<double> limitIntermediate;
    double probability = 90;
};

// The inputs as typed: texts, read with the regional decimal separator. An empty limit is a
// limit not given.
struct PlanTexts {
    std::string mean;
    std::string sdRepeatability;
    std::string sdDay;
    std::string sdAnalyst;
    std::string limitRepeatability;
    std::string limitIntermediate;
    std::string probability;
};

// The inputs in the order the window and the command line ask for them.
enum class PlanField {
    Mean,
    SdRepeatability,
    SdDay,
    SdAnalyst,
    LimitRepeatability,
    LimitIntermediate,
    Probability
};

struct PlanInputFailure {
    PlanField field;
    std::string message;
};

// The inputs, or the first that fails, field by field in their order, with a Spanish message
// naming it: a mean above zero, a repeatability above zero, the other two at zero or above (each
// of the four, when not zero, from 1E-100 to 1E100, where every figure can be computed), each
// limit above zero when given and at least one given, a probability above 0 and below 100.
std::variant<PlanInputs, PlanInputFailure> ReadPlanInputs(const PlanTexts& texts,
                                                          char decimalSeparator);

// The expectation of each mean square of a design: error sigma_r^2, day sigma_r^2 + R sigma_d^2,
// analyst sigma_r^2 + R sigma_d^2 + D R sigma_a^2. Throws Error("Floating point overflow") where
// a double cannot hold it.
MeanSquares ExpectedMeanSquares(const PlanInputs& inputs, int days, int replicates);

// The share in percent of the simulated studies of a design that give «Cumple»: each limit on
// its own and every given limit at once; nothing for a limit not given.
struct SimulatedShares {
    std::optional<double> repeatability;
    std::optional<double> intermediate;
    // With a repeatability limit, the repeatability's closed form times the simulated share of
    // the studies meeting it that also meet the intermediate limit, so never above it.
    double all = 0;
    double allStandardError = 0; // Monte-Carlo, percent
};

// The standardized chi-square draws chi2(df) / df the simulated studies are made of: for each
// source and number of degrees of freedom, one run of draws from a std::mt19937_64 seeded from
// those two alone, drawn on first use by this file's own sampler (Marsaglia and Tsang's gamma
// on Marsaglia's polar normal), whose algorithm no standard library changes. Designs that share a
// source's degrees of freedom share its draws, which costs a fraction of drawing for every design
// and keeps the same inputs giving the same shares on every run.
class ChiSquareDraws {
public:
    explicit ChiSquareDraws(int studies) : m_studies(studies) {}

    int Studies() const { return m_studies; }
    const std::vector<double>& Of(int source, double df);

private:
    int m_studies;
    std::map<std::pair<int, double>, std::vector<double>> m_draws;
};

// Simulates a design's studies: each mean square E[MS] chi2(df) / df, the three independent;
// each simulated study is judged by the acceptance figures.
SimulatedShares SimulateDesign(const PlanInputs& inputs, const DesignFactors& factors, int days,
                               int replicates, ChiSquareDraws& draws);

// The probability that the repeatability of a design gives «Cumple», in closed form:
// F_chi2(df)(l^2 chi2(0.05; df) / sigma_r^2) with df = A D (R - 1) and l = limit mean / 100.
double RepeatabilityProbability(const PlanInputs& inputs, const DesignFactors& factors);

// One design with its figures. Probabilities are in percent.
struct PlannedDesign {
    int analysts = 0;
    int days = 0;
    int replicates = 0;
    int determinations = 0;
    MeanSquares expected;
    // Satterthwaite's degrees of freedom of the intermediate precision at the expected mean
    // squares, on the coefficients of the total variance.
    double satterthwaiteDf = 0;
    // The one-sided 95 % MLS upper bound of the intermediate-precision SD at the expected mean
    // squares, over the true SD.
    double boundRatio = 0;
    std::optional<double> pRepeatability; // in closed form
    std::optional<double> pIntermediate;  // simulated
    double seIntermediate = 0;            // its Monte-Carlo standard error
    // The probability that a study meets every given limit at once: the repeatability's own
    // when it is the only limit, otherwise simulated (SimulatedShares::all), with its
    // Monte-Carlo standard error.
    double pAll = 0;
    double seAll = 0;
};

struct StudyPlan {
    PlanInputs inputs;
    // Sorted by determinations, then analysts, then days.
    std::vector<PlannedDesign> designs;
    // The recommended design: the first in that order whose pAll reaches the wanted probability
    // ("at least", at the precision pAll has: 1e-9 relative in closed form, its standard error
    // when simulated); when none does, the one closest to it (the first of those whose pAll
    // equals the highest at that precision).
    std::size_t recommended = 0;
    bool reached = false;
};

// Every design within the counts' ranges (study/Design.h) with its figures, and the recommendation.
// Throws Error with the engine's arithmetic messages where a double cannot hold a figure.
StudyPlan PlanStudy(const PlanInputs& inputs);

// A figure of the table, as every view of the plan walks it: its heading for people, its key for
// programs, and its value in each design.
struct PlanColumn {
    const char* heading;
    const char* key;
    std::function<double(const PlannedDesign&)> value;
};

// The columns of a plan, in order: the counts, the expected mean squares, the degrees of
// freedom, the bound's ratio, then a probability for each given limit and, with both given, the
// probability of meeting both.
std::vector<PlanColumn> PlanColumns(const StudyPlan& plan);

// The recommendation in plain Spanish, numbers as FormatResult writes them.
std::string RecommendationSentence(const StudyPlan& plan, char decimalSeparator);

// The mean and the standard deviations of the components of a study that passed the study
// checks, as the extended analysis estimates them (a negative component is zero); the limits
// and the probability stay unset. Throws Error as the computation does.
PlanInputs ExpectedSpreadOf(const Study& study, char decimalSeparator);

} // namespace orbeta
