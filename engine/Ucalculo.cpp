#include "engine/Ucalculo.h"

#include "engine/CheckedMath.h"
#include "engine/UTs.h"
#include "study/Error.h"
#include "study/Numbers.h"

#include <cstdint>
#include <limits>
#include <utility>

namespace orbeta {

namespace {

// Turns a standard deviation into a repeatability or reproducibility.
constexpr long double kCoverageFactor = 1.96L;
constexpr long double kPercent = 100.0L;

long double Squared(long double value) {
    return value * value;
}

} // namespace

std::vector<double> ReadResults(const Study& study, char decimalSeparator) {
    const Design design = DesignOf(study);
    std::vector<double> results;
    design.ForEachCell([&](const DesignCell& cell) {
        const std::string& text =
            study.Cell(cell.analyst, design.GridRowOf(cell.day, cell.replicate));
        results.push_back(IsMissingResult(text) ? std::numeric_limits<double>::quiet_NaN()
                                                : ParseResult(text, decimalSeparator));
    });
    return results;
}

StudyNumbers::StudyNumbers(const Design& design, std::span<const double> results,
                           std::span<const double> deviations)
    : m_design(design), m_results(results), m_deviations(deviations) {
    if (design.Analysts() < 0 || design.Days() < 0 || design.Replicates() < 0 ||
        static_cast<std::int64_t>(results.size()) !=
            std::int64_t{design.Analysts()} * design.Days() * design.Replicates() ||
        (!deviations.empty() && deviations.size() != results.size())) {
        throw Error("The number of results does not match the counts");
    }
}

void StatisticsEngine::ResetStatistics() {
    const int analysts = m_state.analysts;
    const int days = m_state.days;
    const int replicates = m_state.replicates;
    m_state = EngineWorkingState{};
    m_state.analysts = analysts;
    m_state.days = days;
    m_state.replicates = replicates;
}

void StatisticsEngine::BeginComputation(const Design& design) {
    if (design.Analysts() > kEngineMaxAnalysts || design.Days() > kEngineMaxDays) {
        throw Error("El cálculo admite como máximo " + std::to_string(kEngineMaxAnalysts) +
                    " analistas y " + std::to_string(kEngineMaxDays) + " días por analista.");
    }
    if (!design.IsComplete()) {
        throw Error(kHasMissingResults);
    }
    ResetStatistics();
    m_state.analysts = design.Analysts();
    m_state.days = design.Days();
    m_state.replicates = design.Replicates();
}

// Sums the results of each day as `dayResults(analyst, day)` gives them, with their deviations
// from the first result when it gives those too. The results are read
// day by day, so a result that cannot be read ends the computation with the sums of the
// analysts before it. Extended-precision sums live in registers that any call clobbers: a
// day is read whole before it is summed. An analyst's day sums are kept whole until its last
// day, and only then summed into the analyst's: the eight registers hold a day's sums or an
// analyst's, not both, and a sum stored and reloaded every day waits on its store.
template <typename DayResults> void StatisticsEngine::Accumulate(DayResults&& dayResults) {
    struct DaySums {
        long double sumOfSquares;
        long double centredSum;
        long double centredSumOfSquares;
    };
    std::array<DaySums, kEngineMaxDays> daySums;
    for (int analyst = 1; analyst <= m_state.analysts; ++analyst) {
        auto& dayTotals = m_state.dayTotal[analyst - 1];
        for (int day = 1; day <= m_state.days; ++day) {
            // Named apart rather than bound: lambdas below capture them, which older compilers
            // refuse for structured bindings.
            const auto dayValues = dayResults(analyst, day);
            const std::span<const double> results = dayValues.first;
            const std::span<const double> deviations = dayValues.second;
            if (analyst == 1 && day == 1 && !results.empty()) {
                m_state.reference = results.front();
            }
            long double daySum = 0;
            long double daySumOfSquares = 0;
            long double centredDaySum = 0;
            long double centredDaySumOfSquares = 0;
            // One loop for each source of the deviations, so that neither asks at every result.
            const auto sumDay = [&](auto deviationOf) {
                for (std::size_t i = 0; i < results.size(); ++i) {
                    const long double x = results[i];
                    daySum += x;
                    daySumOfSquares += x * x;
                    const long double deviation = deviationOf(i, x);
                    centredDaySum += deviation;
                    centredDaySumOfSquares += deviation * deviation;
                }
            };
            if (deviations.empty()) {
                const long double reference = m_state.reference;
                sumDay([reference](std::size_t, long double x) { return x - reference; });
            } else {
                sumDay([&](std::size_t i, long double) -> long double { return deviations[i]; });
            }
            dayTotals[day - 1] = daySum;
            daySums[day - 1] = DaySums{daySumOfSquares, centredDaySum, centredDaySumOfSquares};
        }
        long double analystSum = 0;
        long double analystSumOfSquares = 0;
        long double analystSquaredDayTotals = 0;
        long double centredAnalystSum = 0;
        long double centredAnalystSumOfSquares = 0;
        long double centredAnalystSquaredDayTotals = 0;
        for (int day = 0; day < m_state.days; ++day) {
            const long double daySum = dayTotals[day];
            const DaySums& sums = daySums[day];
            analystSumOfSquares += sums.sumOfSquares;
            analystSquaredDayTotals += Squared(daySum);
            analystSum += daySum;
            centredAnalystSumOfSquares += sums.centredSumOfSquares;
            centredAnalystSquaredDayTotals += Squared(sums.centredSum);
            centredAnalystSum += sums.centredSum;
        }
        m_state.analystTotal[analyst - 1] = analystSum;
        m_state.sumOfSquares += analystSumOfSquares;
        m_state.sumOfSquaredDayTotals += analystSquaredDayTotals;
        m_state.sumOfSquaredAnalystTotals += Squared(analystSum);
        m_state.grandTotal += analystSum;
        m_state.centredSumOfSquares += centredAnalystSumOfSquares;
        m_state.centredSquaredDayTotals += centredAnalystSquaredDayTotals;
        m_state.centredSquaredAnalystTotals += Squared(centredAnalystSum);
        m_state.centredGrandTotal += centredAnalystSum;
    }
}

void StatisticsEngine::FillAnovaTable(AnovaTable& table) const {
    const long double a = m_state.analysts;
    const long double d = m_state.days;
    const long double r = m_state.replicates;
    const long double resultsPerAnalyst =
        static_cast<long double>(std::int64_t{m_state.days} * m_state.replicates);
    const long double results = resultsPerAnalyst * a;
    const long double sa = m_state.centredSquaredAnalystTotals;
    const long double sd = m_state.centredSquaredDayTotals;

    table.dfAnalyst = checked::Stored(a - 1);
    table.dfDay = checked::Stored((d - 1) * a);
    table.dfError = checked::Stored((r - 1) * d * a);
    table.ssAnalyst = checked::Stored(checked::Divide(sa, resultsPerAnalyst) -
                                      checked::Divide(Squared(m_state.centredGrandTotal), results));
    table.ssDay = checked::Stored(checked::Divide(sd, r) - checked::Divide(sa, resultsPerAnalyst));
    table.ssError = checked::Stored(m_state.centredSumOfSquares - checked::Divide(sd, r));
    table.msAnalyst = checked::Stored(checked::Divide(table.ssAnalyst, table.dfAnalyst));
    table.msDay = checked::Stored(checked::Divide(table.ssDay, table.dfDay));
    table.msError = checked::Stored(checked::Divide(table.ssError, table.dfError));
    table.fAnalyst = checked::Stored(checked::Divide(table.msAnalyst, table.msDay));
    table.fDay = checked::Stored(checked::Divide(table.msDay, table.msError));
    table.pAnalyst = FProbability(table.fAnalyst, table.dfAnalyst, table.dfDay);
    table.pDay = FProbability(table.fDay, table.dfDay, table.dfError);
}

void StatisticsEngine::FillPrecisionSummary(const AnovaTable& anova, PrecisionSummary& summary) {
    const long double n = static_cast<long double>(std::int64_t{m_state.analysts} * m_state.days *
                                                   m_state.replicates);
    const long double centredTotal = m_state.centredGrandTotal;
    m_state.determinations = checked::Stored(n);
    m_state.mean = checked::Stored(checked::Divide(m_state.grandTotal, n));
    m_state.totalStandardDeviation = checked::Stored(checked::SquareRoot(
        checked::Divide(n * m_state.centredSumOfSquares - Squared(centredTotal), (n - 1) * n)));
    const long double mean = m_state.mean;

    summary.cvTotal =
        checked::Stored(checked::Divide(m_state.totalStandardDeviation, mean) * kPercent);
    summary.repeatability = checked::Stored(checked::SquareRoot(anova.msError) * kCoverageFactor);

    double dayVariance = checked::Stored(
        checked::Divide(static_cast<long double>(anova.msDay) - anova.msError, m_state.replicates));
    if (!(dayVariance > 0)) {
        dayVariance = anova.msError;
    }
    m_state.dayVariance = dayVariance;
    summary.reproDayAnalyst = checked::Stored(checked::SquareRoot(dayVariance) * kCoverageFactor);

    double analystVariance = checked::Stored(
        checked::Divide(static_cast<long double>(anova.msAnalyst) - anova.msDay,
                        static_cast<long double>(m_state.replicates) * m_state.days));
    if (!(analystVariance > 0)) {
        analystVariance = dayVariance;
    }
    m_state.analystVariance = analystVariance;
    summary.reproInterAnalyst =
        checked::Stored(checked::SquareRoot(analystVariance) * kCoverageFactor);

    summary.cvInterAnalyst =
        checked::Stored(checked::Divide(summary.reproInterAnalyst, mean) * kPercent);
    summary.cvDayAnalyst =
        checked::Stored(checked::Divide(summary.reproDayAnalyst, mean) * kPercent);
    summary.cvRepeatability =
        checked::Stored(checked::Divide(summary.repeatability, mean) * kPercent);
    summary.maxRelativeRange = checked::Stored(2.0L * summary.cvRepeatability);
    summary.mean = m_state.mean;
}

void StatisticsEngine::ComputeAnova(const Study& study, char decimalSeparator, AnovaTable& table) {
    const Design design = DesignOf(study);
    BeginComputation(design);
    const std::string& first = study.Cell(1, design.GridRowOf(1, 1));
    Accumulate([&](int analyst, int day) {
        // Grows only as cells are read, so a count far beyond the grid stops at its first
        // missing cell instead of reserving room for it.
        m_dayResults.clear();
        m_dayDeviations.clear();
        for (int replicate = 1; replicate <= design.Replicates(); ++replicate) {
            const std::string& text = study.Cell(analyst, design.GridRowOf(day, replicate));
            if (IsMissingResult(text)) {
                throw Error(kHasMissingResults);
            }
            m_dayResults.push_back(ParseResult(text, decimalSeparator));
            m_dayDeviations.push_back(ResultDifference(text, first, decimalSeparator));
        }
        return std::pair{std::span<const double>(m_dayResults),
                         std::span<const double>(m_dayDeviations)};
    });
    FillAnovaTable(table);
}

void StatisticsEngine::ComputePrecision(const Study& study, char decimalSeparator,
                                        PrecisionSummary& summary) {
    ComputeAnova(study, decimalSeparator, m_ownTable);
    FillPrecisionSummary(m_ownTable, summary);
}

void StatisticsEngine::ComputeAnovaAndPrecision(const StudyNumbers& numbers, AnovaTable& table,
                                                PrecisionSummary& summary) {
    BeginComputation(numbers.GetDesign());
    Accumulate([&](int analyst, int day) {
        return std::pair{numbers.DayResults(analyst, day), numbers.DayDeviations(analyst, day)};
    });
    FillAnovaTable(table);
    FillPrecisionSummary(table, summary);
}

std::array<AnovaRow, kAnovaSources> AnovaRows(const AnovaTable& anova) {
    return {AnovaRow{
                AnovaSource::Analyst,
                {anova.dfAnalyst, anova.ssAnalyst, anova.msAnalyst, anova.fAnalyst, anova.pAnalyst},
                5},
            AnovaRow{AnovaSource::Day,
                     {anova.dfDay, anova.ssDay, anova.msDay, anova.fDay, anova.pDay},
                     5},
            AnovaRow{AnovaSource::Error, {anova.dfError, anova.ssError, anova.msError}, 3}};
}

std::array<PrecisionMeasure, kPrecisionMeasures>
PrecisionMeasures(const PrecisionSummary& precision) {
    return {{
        {"COEFICIENTE DE VARIACIÓN TOTAL = ", "cv_total", precision.cvTotal},
        {"REPETIBILIDAD DEL MÉTODO ANALÍTICO = ", "repeatability", precision.repeatability},
        {"COEFICIENTE DE VARIACIÓN DE REPETIBILIDAD DEL MÉTODO ANALÍTICO = ", "cv_repeatability",
         precision.cvRepeatability},
        {"REPRODUCIBILIDAD INTER DIA/ANALISTA = ", "repro_day_analyst", precision.reproDayAnalyst},
        {"COEFICIENTE DE VARIACIÓN INTER DIA/ANALISTA = ", "cv_day_analyst",
         precision.cvDayAnalyst},
        {"REPRODUCIBILIDAD INTERANALISTA = ", "repro_inter_analyst", precision.reproInterAnalyst},
        {"COEFICIENTE DE VARIACIÓN INTERANALISTA = ", "cv_inter_analyst", precision.cvInterAnalyst},
        {"AMPLITUD MÁXIMA RELATIVA DE LAS DETERMINACIONES ANALÍTICAS = ", "max_relative_range",
         precision.maxRelativeRange},
    }};
}

} // namespace orbeta
