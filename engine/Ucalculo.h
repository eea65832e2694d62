#pragma once

#include "study/Study.h"

#include <array>
#include <cstddef>
#include <span>
#include <vector>

namespace orbeta {

// The nested analysis of variance of a study; degrees of freedom are whole numbers.
struct AnovaTable {
    double dfAnalyst = 0;
    double dfDay = 0;
    double dfError = 0;
    double ssAnalyst = 0;
    double ssDay = 0;
    double ssError = 0;
    double msAnalyst = 0;
    double msDay = 0;
    double msError = 0;
    double fAnalyst = 0;
    double fDay = 0;
    double pAnalyst = 0;
    double pDay = 0;
};

// The precision of the method; coefficients of variation and the range are percentages.
struct PrecisionSummary {
    double cvTotal = 0;
    double repeatability = 0;
    double reproDayAnalyst = 0;
    double reproInterAnalyst = 0;
    double cvInterAnalyst = 0;
    double cvDayAnalyst = 0;
    double cvRepeatability = 0;
    double maxRelativeRange = 0;
    double mean = 0;
};

// The sources of variation, in the table's order.
enum class AnovaSource { Analyst, Day, Error };
inline constexpr std::size_t kAnovaSources = 3;

// One source of the analysis of variance with its figures in the table's order: degrees of
// freedom, sum of squares, mean square, then, for a tested source, F and its probability.
struct AnovaRow {
    AnovaSource source = AnovaSource::Analyst;
    std::array<double, 5> values{};
    std::size_t count = 0;

    bool Tested() const { return count == values.size(); }
    std::span<const double> Figures() const { return {values.data(), count}; }
};

// The rows of a table, analyst, day and error: the one walk the window, the pages, the report
// text and the machine reports take.
std::array<AnovaRow, kAnovaSources> AnovaRows(const AnovaTable& anova);

// A precision measure with the label the report text and the window give it ("... = ") and the
// key the machine reports give it.
struct PrecisionMeasure {
    const char* label;
    const char* key;
    double value;
};
inline constexpr std::size_t kPrecisionMeasures = 8;

// The measures of a summary in their order, from the total coefficient of variation to the
// largest relative range; the mean is not among them.
std::array<PrecisionMeasure, kPrecisionMeasures>
PrecisionMeasures(const PrecisionSummary& precision);

// The largest study the engine's tables hold.
inline constexpr int kEngineMaxAnalysts = RangeOf(Count::Analysts).maximum;
inline constexpr int kEngineMaxDays = RangeOf(Count::Days).maximum;

// The sums of the last computation. Sums are kept in extended precision so that results far
// from zero keep their digits when the sums of squares are formed from them.
struct EngineWorkingState {
    std::array<long double, kEngineMaxAnalysts> analystTotal{};                         // T(a)
    std::array<std::array<long double, kEngineMaxDays>, kEngineMaxAnalysts> dayTotal{}; // T(a, d)
    long double sumOfSquares = 0;              // sum of x^2 over all results
    long double sumOfSquaredDayTotals = 0;     // sum of T(a, d)^2
    long double sumOfSquaredAnalystTotals = 0; // sum of T(a)^2
    long double grandTotal = 0;                // G
    // The same sums taken over each result less the study's first one: the sums of squares
    // are formed from these, since the raw sums cancel away the digits of results that are
    // large and close together.
    long double reference = 0;
    long double centredSumOfSquares = 0;
    long double centredSquaredDayTotals = 0;
    long double centredSquaredAnalystTotals = 0;
    long double centredGrandTotal = 0;
    double determinations = 0; // N
    double mean = 0;
    double totalStandardDeviation = 0;
    double dayVariance = 0;
    double analystVariance = 0;
    int analysts = 0;
    int days = 0;
    int replicates = 0;
};

// A study's results already read as numbers, one for each cell of its design, in the design's
// order of results; a cell the design marks missing holds a quiet NaN that no computation reads.
// Holds a view of the results, valid while they live. `deviations`, when given, holds each result
// less the first in the same order, formed from their texts (ResultDifference): the sums of
// squares are then taken from them rather than from the doubles, which lose the last digits of
// results far from zero.
class StudyNumbers {
public:
    // Throws Error("The number of results does not match the counts") unless no count is
    // negative, there is a result for every cell and as many deviations or none.
    StudyNumbers(const Design& design, std::span<const double> results,
                 std::span<const double> deviations = {});

    const Design& GetDesign() const { return m_design; }
    std::span<const double> Results() const { return m_results; }
    // The replicates of one day of an analyst, each counted from 1.
    std::span<const double> DayResults(int analyst, int day) const {
        return DayOf(m_results, analyst, day);
    }
    // Their deviations from the study's first result; empty when none were given.
    std::span<const double> DayDeviations(int analyst, int day) const {
        return m_deviations.empty() ? m_deviations : DayOf(m_deviations, analyst, day);
    }

private:
    std::span<const double> DayOf(std::span<const double> values, int analyst, int day) const {
        return values.subspan(m_design.DayIndexOf(analyst, day) *
                                  static_cast<std::size_t>(m_design.Replicates()),
                              static_cast<std::size_t>(m_design.Replicates()));
    }

    Design m_design;
    std::span<const double> m_results;
    std::span<const double> m_deviations;
};

// A study's results as numbers, in the order StudyNumbers holds them for DesignOfResults(study):
// the counts read by ParseCount, each cell by ParseResult, which throw as they do, except that a
// cell marking its result missing holds a quiet NaN.
std::vector<double> ReadResults(const Study& study, char decimalSeparator);

// What the classic computations say of a study with a result missing.
inline constexpr const char* kHasMissingResults =
    "El estudio tiene resultados faltantes (NA): sus cálculos están en Análisis ampliado.";

// The statistics engine, on a balanced design: its sums of squares take every day as holding R
// replicates, and it refuses a study with a result missing (Error(kHasMissingResults)): a cell
// marking it, read in its turn, or an incomplete design, before anything changes. Each computation
// resets the working state and refills it; the program keeps one engine for its whole run. Not
// reentrant.
//
// Both computations read the counts by ParseCount and the cells by ParseResult at the moment
// of the call, with each cell's deviation from the first by ResultDifference, and trust the
// study checks to have passed. A failure raises Error with the text the user sees: a conversion
// failure, "Floating point division by zero", "Invalid floating point operation" or "Floating
// point overflow". Fields of the caller's record are written in their order, so after a failure
// those written before it hold new values and the rest their old ones.
class StatisticsEngine {
public:
    void ResetStatistics();

    // Fills the caller's table. Refuses, before anything changes, a study with more analysts or
    // days than the engine's tables hold.
    void ComputeAnova(const Study& study, char decimalSeparator, AnovaTable& table);

    // Runs the analysis of variance on the engine's own table, then fills the caller's summary.
    void ComputePrecision(const Study& study, char decimalSeparator, PrecisionSummary& summary);

    // The same arithmetic on results already read, both records from one pass over them: the
    // table, then the summary, each holding what the two calls above would give.
    void ComputeAnovaAndPrecision(const StudyNumbers& numbers, AnovaTable& table,
                                  PrecisionSummary& summary);

    const EngineWorkingState& WorkingState() const { return m_state; }

private:
    void BeginComputation(const Design& design);
    template <typename DayResults> void Accumulate(DayResults&& dayResults);
    void FillAnovaTable(AnovaTable& table) const;
    void FillPrecisionSummary(const AnovaTable& anova, PrecisionSummary& summary);

    EngineWorkingState m_state;
    AnovaTable m_ownTable;
    std::vector<double> m_dayResults;    // the results of the day being read from texts
    std::vector<double> m_dayDeviations; // and their deviations from the first, from the texts
};

} // namespace orbeta
