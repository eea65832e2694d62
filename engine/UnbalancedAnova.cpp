#include "engine/UnbalancedAnova.h"

#include "engine/CheckedMath.h"
#include "engine/UTs.h"
#include "study/Error.h"

#include <cmath>
#include <map>
#include <vector>

namespace orbeta {

namespace {

// Turns a standard deviation into a repeatability or reproducibility, as the classic summary.
constexpr long double kCoverageFactor = 1.96L;
constexpr long double kPercent = 100.0L;

// The results held on one day of an analyst: their count and their mean.
struct HeldDay {
    long double count = 0;
    long double mean = 0;
};

long double Squared(long double value) {
    return value * value;
}

// k2 / k1, the share of MS_day in MS_syn.
long double DayShare(const NestedCoefficients& k) {
    return static_cast<long double>(k.k2) / k.k1;
}

// The moment estimates of the components, before a negative one is set to zero.
double DayEstimate(const UnbalancedAnova& anova) {
    return checked::Stored((static_cast<long double>(anova.table.msDay) - anova.table.msError) /
                           anova.coefficients.k1);
}

double AnalystEstimate(const UnbalancedAnova& anova) {
    return checked::Stored(
        (static_cast<long double>(anova.table.msAnalyst) - anova.coefficients.msSynthesized) /
        anova.coefficients.k3);
}

} // namespace

UnbalancedAnova ComputeUnbalancedAnova(const StudyNumbers& numbers) {
    const Design& design = numbers.GetDesign();
    const std::span<const double> results = numbers.Results();
    const int analysts = design.Analysts();
    const auto replicates = static_cast<std::size_t>(design.Replicates());
    std::vector<HeldDay> days(design.DayCount());
    std::vector<HeldDay> analystsHeld(static_cast<std::size_t>(analysts));
    long double total = 0;
    long double n = 0;
    long double daysHeld = 0;
    long double squaredDayCountsOverAnalyst = 0; // sum_ij n_ij^2 / n_i
    long double squaredDayCounts = 0;            // sum_ij n_ij^2
    long double squaredAnalystCounts = 0;        // sum_i n_i^2
    for (int analyst = 1; analyst <= analysts; ++analyst) {
        HeldDay& held = analystsHeld[static_cast<std::size_t>(analyst - 1)];
        long double analystTotal = 0;
        long double analystSquaredDayCounts = 0;
        for (int day = 1; day <= design.Days(); ++day) {
            HeldDay& dayHeld = days[design.DayIndexOf(analyst, day)];
            long double dayTotal = 0;
            // Counted in a register, not in memory at every result: a whole number all the same.
            int dayCount = 0;
            const std::size_t first = design.IndexOf(DesignCell{analyst, day, 1});
            for (std::size_t at = first; at < first + replicates; ++at) {
                if (design.HoldsResultAt(at)) {
                    dayTotal += results[at];
                    ++dayCount;
                }
            }
            dayHeld.count = dayCount;
            if (dayHeld.count > 0) {
                dayHeld.mean = dayTotal / dayHeld.count;
                ++daysHeld;
            }
            held.count += dayHeld.count;
            analystTotal += dayTotal;
            analystSquaredDayCounts += Squared(dayHeld.count);
        }
        if (held.count == 0) {
            throw Error(kInvalidOperation);
        }
        held.mean = analystTotal / held.count;
        total += analystTotal;
        n += held.count;
        squaredDayCounts += analystSquaredDayCounts;
        squaredDayCountsOverAnalyst += analystSquaredDayCounts / held.count;
        squaredAnalystCounts += Squared(held.count);
    }
    const long double a = analysts;
    if (a < 2 || daysHeld - a < 1 || n - daysHeld < 1) {
        throw Error(kInvalidOperation);
    }
    const long double mean = total / n;

    long double ssAnalyst = 0;
    long double ssDay = 0;
    long double ssError = 0;
    long double ssTotal = 0;
    for (int analyst = 1; analyst <= analysts; ++analyst) {
        const HeldDay& held = analystsHeld[static_cast<std::size_t>(analyst - 1)];
        ssAnalyst += held.count * Squared(held.mean - mean);
        for (int day = 1; day <= design.Days(); ++day) {
            const HeldDay& dayHeld = days[design.DayIndexOf(analyst, day)];
            ssDay += dayHeld.count * Squared(dayHeld.mean - held.mean);
            const std::size_t first = design.IndexOf(DesignCell{analyst, day, 1});
            for (std::size_t at = first; at < first + replicates; ++at) {
                if (design.HoldsResultAt(at)) {
                    const long double x = results[at];
                    ssError += Squared(x - dayHeld.mean);
                    ssTotal += Squared(x - mean);
                }
            }
        }
    }

    UnbalancedAnova anova;
    AnovaTable& table = anova.table;
    table.dfAnalyst = checked::Stored(a - 1);
    table.dfDay = checked::Stored(daysHeld - a);
    table.dfError = checked::Stored(n - daysHeld);
    table.ssAnalyst = checked::Stored(ssAnalyst);
    table.ssDay = checked::Stored(ssDay);
    table.ssError = checked::Stored(ssError);
    table.msAnalyst = checked::Stored(ssAnalyst / table.dfAnalyst);
    table.msDay = checked::Stored(ssDay / table.dfDay);
    table.msError = checked::Stored(ssError / table.dfError);
    table.fDay = checked::Stored(checked::Divide(table.msDay, table.msError));
    table.pDay = FProbability(table.fDay, table.dfDay, table.dfError);

    NestedCoefficients& k = anova.coefficients;
    k.k1 = checked::Stored((n - squaredDayCountsOverAnalyst) / (daysHeld - a));
    k.k2 = checked::Stored((squaredDayCountsOverAnalyst - squaredDayCounts / n) / (a - 1));
    k.k3 = checked::Stored((n - squaredAnalystCounts / n) / (a - 1));
    const long double share = DayShare(k);
    k.msSynthesized = checked::Stored(share * table.msDay + (1 - share) * table.msError);
    anova.analystTested = k.msSynthesized > 0;
    if (anova.analystTested) {
        const long double dayTerm = share * table.msDay;
        const long double errorTerm = (1 - share) * table.msError;
        k.dfSynthesized = checked::Stored(
            checked::Divide(Squared(k.msSynthesized),
                            Squared(dayTerm) / table.dfDay + Squared(errorTerm) / table.dfError));
        table.fAnalyst = checked::Stored(table.msAnalyst / k.msSynthesized);
        table.pAnalyst = FProbability(table.fAnalyst, table.dfAnalyst, k.dfSynthesized);
    } else {
        table.pAnalyst = 1;
    }

    anova.mean = checked::Stored(mean);
    anova.totalSd = checked::Stored(checked::SquareRoot(ssTotal / (n - 1)));
    anova.daysHeld = checked::Stored(daysHeld);
    anova.results = checked::Stored(n);
    return anova;
}

double UnbalancedDayVariance(const UnbalancedAnova& anova) {
    const double estimate = DayEstimate(anova);
    return estimate > 0 ? estimate : 0.0;
}

double UnbalancedAnalystVariance(const UnbalancedAnova& anova) {
    const double estimate = AnalystEstimate(anova);
    return estimate > 0 ? estimate : 0.0;
}

DesignFactors UnbalancedFactorsOf(const UnbalancedAnova& anova) {
    // The quantiles depend on the degrees of freedom alone, which the studies of a batch with a
    // few results missing mostly share, and cost more than the rest of the analysis: taken once
    // a thread for each.
    thread_local std::map<PerSource, DesignFactors> known;
    const PerSource df{anova.table.dfAnalyst, anova.table.dfDay, anova.table.dfError};
    auto found = known.find(df);
    if (found == known.end()) {
        found = known.emplace(df, FactorsOfSources(0, 0, df, {})).first;
    }
    DesignFactors factors = found->second;
    // theta's coefficients, analyst, day, error.
    const NestedCoefficients& k = anova.coefficients;
    const long double share = DayShare(k);
    const long double overK1 = 1 / static_cast<long double>(k.k1);
    const long double overK3 = 1 / static_cast<long double>(k.k3);
    const std::array<long double, kAnovaSources> c{overK3, overK1 - share * overK3,
                                                   1 - overK1 - (1 - share) * overK3};
    factors.perDay = k.k1;
    factors.perAnalyst = k.k3;
    factors.c = {static_cast<double>(c[0]), static_cast<double>(c[1]), static_cast<double>(c[2])};
    return factors;
}

bool MlsHolds(const DesignFactors& factors) {
    for (const double c : factors.c) {
        if (c < 0) {
            return false;
        }
    }
    return true;
}

PrecisionSummary UnbalancedPrecision(const UnbalancedAnova& anova) {
    const long double mean = anova.mean;
    double dayVariance = DayEstimate(anova);
    if (!(dayVariance > 0)) {
        dayVariance = anova.table.msError;
    }
    double analystVariance = AnalystEstimate(anova);
    if (!(analystVariance > 0)) {
        analystVariance = dayVariance;
    }
    const auto spread = [&](double variance) {
        return checked::Stored(checked::SquareRoot(variance) * kCoverageFactor);
    };
    const auto relative = [&](double value) {
        return checked::Stored(checked::Divide(value, mean) * kPercent);
    };
    PrecisionSummary summary;
    summary.cvTotal = relative(anova.totalSd);
    summary.repeatability = spread(anova.table.msError);
    summary.reproDayAnalyst = spread(dayVariance);
    summary.reproInterAnalyst = spread(analystVariance);
    summary.cvInterAnalyst = relative(summary.reproInterAnalyst);
    summary.cvDayAnalyst = relative(summary.reproDayAnalyst);
    summary.cvRepeatability = relative(summary.repeatability);
    summary.maxRelativeRange = checked::Stored(2.0L * summary.cvRepeatability);
    summary.mean = anova.mean;
    return summary;
}

} // namespace orbeta
