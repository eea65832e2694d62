#include "engine/ExtendedAnalysis.h"

#include "engine/CheckedMath.h"
#include "engine/UTs.h"
#include "study/Error.h"
#include "study/StudyChecks.h"

#include "engine/Distributions.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <map>
#include <optional>
#include <span>
#include <tuple>
#include <utility>
#include <vector>

namespace orbeta {

namespace {

using distributions::ChiSquared;
using distributions::FisherF;
using distributions::StudentsT;

constexpr double kIntervalLevel = 0.95;
constexpr double kStragglerLevel = 0.05;
constexpr double kOutlierLevel = 0.01;
constexpr double kUpperLevel = 0.95;
constexpr long double kPercent = 100.0L;
constexpr int kFewAnalystDf = 3;
constexpr long double kDisagreement = 1.2L;

struct DayFigures {
    double mean = 0;
    double variance = 0; // 0 for a day of one result
    DayOfAnalyst where;
    int count = 0; // of results held
};

Verdict Judge(double statistic, double critical5, double critical1) {
    if (statistic > critical1) {
        return Verdict::Outlier;
    }
    return statistic > critical5 ? Verdict::Straggler : Verdict::Correct;
}

VarianceComponent Component(double variance, double mean, double intermediateVariance) {
    VarianceComponent component;
    component.variance = variance;
    component.sd = SdOf(variance);
    component.cv = RelativeSd(component.sd, mean);
    component.percent = checked::Stored(checked::Divide(variance, intermediateVariance) * kPercent);
    return component;
}

// The chi-square quantiles on `df` degrees of freedom that bound the interval of a standard
// deviation, the upper one first.
struct IntervalQuantiles {
    double upper = 0;
    double lower = 0;
};

IntervalQuantiles IntervalQuantilesOf(double df) {
    const ChiSquared chiSquare(df);
    const double tail = (1 - kIntervalLevel) / 2;
    return IntervalQuantiles{boost::math::quantile(chiSquare, 1 - tail),
                             boost::math::quantile(chiSquare, tail)};
}

// The interval of a standard deviation whose variance is estimated with `df` degrees of freedom.
SdInterval IntervalOf(double variance, double df, const IntervalQuantiles& quantiles) {
    const long double spread = static_cast<long double>(df) * variance;
    return SdInterval{
        df, checked::Stored(checked::SquareRoot(checked::Divide(spread, quantiles.upper))),
        checked::Stored(checked::SquareRoot(checked::Divide(spread, quantiles.lower)))};
}

SdInterval IntervalOf(double variance, double df) {
    return IntervalOf(variance, df, IntervalQuantilesOf(df));
}

// The one-sided upper bound of a standard deviation whose variance is estimated with `df`
// degrees of freedom.
double UpperBoundOf(double variance, double df) {
    return checked::Stored(checked::SquareRoot(
        checked::Divide(static_cast<long double>(df) * variance,
                        distributions::ChiSquareQuantile(1 - kUpperLevel, df))));
}

// The mean and variance of the replicates held on each day that holds any, analyst by analyst,
// `held(index)` saying which by their index in the order of the results.
template <typename Held>
std::vector<DayFigures> FiguresOfDays(const StudyNumbers& numbers, Held held) {
    const Design& design = numbers.GetDesign();
    std::vector<DayFigures> days;
    days.reserve(design.DayCount());
    for (int analyst = 1; analyst <= design.Analysts(); ++analyst) {
        for (int day = 1; day <= design.Days(); ++day) {
            const auto results = numbers.DayResults(analyst, day);
            const std::size_t first = design.IndexOf(DesignCell{analyst, day, 1});
            const auto heldReplicate = [&](int replicate) {
                return held(first + static_cast<std::size_t>(replicate));
            };
            int count = 0;
            long double sum = 0;
            for (int replicate = 0; replicate < design.Replicates(); ++replicate) {
                if (heldReplicate(replicate)) {
                    sum += results[static_cast<std::size_t>(replicate)];
                    ++count;
                }
            }
            if (count == 0) {
                continue;
            }
            const long double mean = sum / count;
            long double squares = 0;
            for (int replicate = 0; replicate < design.Replicates(); ++replicate) {
                if (heldReplicate(replicate)) {
                    const long double x = results[static_cast<std::size_t>(replicate)];
                    squares += (x - mean) * (x - mean);
                }
            }
            days.push_back(DayFigures{checked::Stored(mean),
                                      count > 1 ? checked::Stored(squares / (count - 1)) : 0.0,
                                      DayOfAnalyst{analyst, day}, count});
        }
    }
    return days;
}

// A complete design asks nothing of its cells, so that the loops over its days run straight.
std::vector<DayFigures> FiguresOfDays(const StudyNumbers& numbers) {
    const Design& design = numbers.GetDesign();
    if (design.IsComplete()) {
        return FiguresOfDays(numbers, [](std::size_t) { return true; });
    }
    return FiguresOfDays(numbers, [&](std::size_t index) { return design.HoldsResultAt(index); });
}

// The days' common number of results, or nothing when they differ.
std::optional<int> CommonCount(const std::vector<DayFigures>& days) {
    if (days.empty() || std::any_of(days.begin(), days.end(), [&](const DayFigures& day) {
            return day.count != days.front().count;
        })) {
        return std::nullopt;
    }
    return days.front().count;
}

// What `compute` gives for a design, or for degrees of freedom a design gives, computed once a
// thread: critical values and quantiles depend only on the counts, which a laboratory's studies
// share, and cost more than the rest of the analysis. Threads that analyse studies at once each
// keep their own values and share none. Each caller's lambda is a type of its own, so each keeps
// its own values.
template <typename Key, typename Compute>
const auto& OncePerDesign(const Key& design, Compute compute) {
    thread_local std::map<Key, decltype(compute())> known;
    if (const auto found = known.find(design); found != known.end()) {
        return found->second;
    }
    return known.emplace(design, compute()).first->second;
}

// The interval of the repeatability, whose degrees of freedom a batch's studies mostly share.
SdInterval RepeatabilityInterval(double variance, double df) {
    return IntervalOf(variance, df, OncePerDesign(df, [&] { return IntervalQuantilesOf(df); }));
}

// The 5 % and 1 % critical values of a design.
template <typename Key, typename Critical>
std::pair<double, double> CriticalValues(const Key& design, Critical critical) {
    return OncePerDesign(design, [&] {
        return std::pair{critical(kStragglerLevel), critical(kOutlierLevel)};
    });
}

// On a balanced design: every day variance rests on the same R replicates.
CochranTest Cochran(const std::vector<DayFigures>& days, int replicates) {
    CochranTest test;
    const int cells = static_cast<int>(days.size());
    std::tie(test.critical5, test.critical1) =
        CriticalValues(std::pair{cells, replicates}, [&](double alpha) {
            return CochranCriticalValue(cells, replicates, alpha);
        });
    const auto largest =
        std::max_element(days.begin(), days.end(), [](const DayFigures& a, const DayFigures& b) {
            return a.variance < b.variance;
        });
    long double sum = 0;
    for (const DayFigures& day : days) {
        sum += day.variance;
    }
    test.c = sum > 0 ? checked::Stored(largest->variance / sum) : 0.0;
    test.verdict = Judge(test.c, test.critical5, test.critical1);
    test.largest = largest->where;
    return test;
}

// A mean of a sample Grubbs's test takes, with the analyst and day it names.
struct NamedMean {
    double mean = 0;
    DayOfAnalyst where;
};

// Of a sample of means, each with the analyst and day it names: a NamedMean or a day's figures.
template <typename Named> GrubbsTest Grubbs(std::span<const Named> means) {
    GrubbsTest test;
    const auto n = static_cast<long double>(means.size());
    const int values = static_cast<int>(means.size());
    std::tie(test.critical5, test.critical1) =
        CriticalValues(values, [&](double alpha) { return GrubbsCriticalValue(values, alpha); });
    long double sum = 0;
    for (const Named& value : means) {
        sum += value.mean;
    }
    const long double mean = sum / n;
    long double squares = 0;
    for (const Named& value : means) {
        squares += (value.mean - mean) * (value.mean - mean);
    }
    const long double sd = std::sqrt(squares / (n - 1));
    // Of tied means the first is named on either side (minmax_element would name the last
    // highest).
    const auto below = [](const Named& a, const Named& b) { return a.mean < b.mean; };
    const auto lowest = std::min_element(means.begin(), means.end(), below);
    const auto highest = std::max_element(means.begin(), means.end(), below);
    auto extreme = [&](const Named& value) {
        const double g = sd > 0 ? checked::Stored(std::fabs(value.mean - mean) / sd) : 0.0;
        return GrubbsValue{g, Judge(g, test.critical5, test.critical1), value.where};
    };
    test.high = extreme(*highest);
    test.low = extreme(*lowest);
    return test;
}

constexpr int kFewestMeans = 3;

// The days of each analyst in the study's order, from days listed analyst by analyst: views of
// them, valid while they live.
using DaysOfAnalyst = std::span<const DayFigures>;
std::vector<DaysOfAnalyst> DaysByAnalyst(const std::vector<DayFigures>& days) {
    std::vector<DaysOfAnalyst> groups;
    if (!days.empty()) {
        groups.reserve(static_cast<std::size_t>(days.back().where.analyst));
    }
    for (auto first = days.begin(); first != days.end();) {
        const auto last = std::find_if(first, days.end(), [&](const DayFigures& day) {
            return day.where.analyst != first->where.analyst;
        });
        groups.emplace_back(first, last);
        first = last;
    }
    return groups;
}

// The analysts' means among themselves (given `analystMeans`, one per group of days) and each
// analyst's day means among themselves, where a level has the 3 means a sample needs; the days'
// extremes are gathered only when every analyst's sample shares one critical value.
GrubbsTests GrubbsOfLevels(const std::vector<DaysOfAnalyst>& groups,
                           const std::vector<double>& analystMeans, bool analystsLevel,
                           bool daysLevel) {
    GrubbsTests tests;
    std::vector<NamedMean> named;
    named.reserve(groups.size());
    tests.daysOfAnalysts.reserve(groups.size());
    for (std::size_t at = 0; at < groups.size(); ++at) {
        named.push_back(
            NamedMean{analystMeans[at], DayOfAnalyst{groups[at].front().where.analyst, 0}});
        if (daysLevel && groups[at].size() >= kFewestMeans) {
            tests.daysOfAnalysts.push_back(Grubbs(groups[at]));
        }
    }
    if (analystsLevel && named.size() >= kFewestMeans) {
        tests.analysts = Grubbs(std::span<const NamedMean>(named));
    }
    const bool oneCritical = std::all_of(
        tests.daysOfAnalysts.begin(), tests.daysOfAnalysts.end(), [&](const GrubbsTest& test) {
            return test.critical5 == tests.daysOfAnalysts.front().critical5;
        });
    if (!tests.daysOfAnalysts.empty() && oneCritical) {
        GrubbsTest extreme = tests.daysOfAnalysts.front();
        for (const GrubbsTest& test : tests.daysOfAnalysts) {
            if (test.high.g > extreme.high.g) {
                extreme.high = test.high;
            }
            if (test.low.g > extreme.low.g) {
                extreme.low = test.low;
            }
        }
        tests.extremeDays = extreme;
    }
    return tests;
}

// On a balanced design: an analyst's mean is that of its day means.
GrubbsTests GrubbsOfLevels(const std::vector<DayFigures>& days) {
    const auto groups = DaysByAnalyst(days);
    std::vector<double> analystMeans;
    analystMeans.reserve(groups.size());
    for (const auto& group : groups) {
        long double sum = 0;
        for (const DayFigures& day : group) {
            sum += day.mean;
        }
        analystMeans.push_back(checked::Stored(sum / static_cast<long double>(group.size())));
    }
    return GrubbsOfLevels(groups, analystMeans, true, true);
}

// Whether the days of the range hold the same number of results.
template <typename Days> bool EqualCounts(const Days& days) {
    return std::all_of(days.begin(), days.end(),
                       [&](const DayFigures& day) { return day.count == days.front().count; });
}

// On any design: an analyst's mean is that of its results; a level whose means rest on unequal
// numbers of results is absent.
GrubbsTests UnbalancedGrubbs(const std::vector<DayFigures>& days, AbsentFigures& absent) {
    const auto groups = DaysByAnalyst(days);
    std::vector<double> analystMeans;
    std::vector<int> analystCounts;
    analystMeans.reserve(groups.size());
    analystCounts.reserve(groups.size());
    bool dayCountsEqual = true;
    for (const auto& group : groups) {
        long double sum = 0;
        int count = 0;
        for (const DayFigures& day : group) {
            sum += static_cast<long double>(day.mean) * day.count;
            count += day.count;
        }
        analystMeans.push_back(checked::Stored(sum / count));
        analystCounts.push_back(count);
        if (group.size() >= kFewestMeans && !EqualCounts(group)) {
            dayCountsEqual = false;
        }
    }
    absent.grubbsAnalysts = groups.size() >= kFewestMeans &&
                            std::any_of(analystCounts.begin(), analystCounts.end(),
                                        [&](int count) { return count != analystCounts.front(); });
    absent.grubbsDays = !dayCountsEqual;
    return GrubbsOfLevels(groups, analystMeans, !absent.grubbsAnalysts, dayCountsEqual);
}

// The bounds, the MLS figures, the flags.
void AddBounds(ExtendedAnalysis& analysis, const DesignFactors& factors, const MeanSquares& ms,
               int analysts, double mean) {

    RepeatabilityBounds& repeatability = analysis.repeatabilityBounds;
    repeatability.sdUpper = SdOf(RepeatabilityUpperVariance(factors, ms.error));
    repeatability.rsd = RelativeSd(analysis.repeatability.sd, mean);
    repeatability.rsdUpper = RelativeSd(repeatability.sdUpper, mean);

    IntermediateBounds& intermediate = analysis.intermediateBounds;
    intermediate.sdUpper = UpperBoundOf(MlsVariance(factors, ms), analysis.intermediateInterval.df);
    intermediate.rsd = RelativeSd(analysis.intermediate.sd, mean);
    const VarianceInterval mls = MlsVarianceInterval(factors, ms);
    intermediate.mlsVarianceLow = mls.low;
    intermediate.mlsVarianceHigh = mls.high;
    intermediate.mlsSdUpper = SdOf(MlsUpperVariance(factors, ms));
    intermediate.rsdUpper = RelativeSd(intermediate.mlsSdUpper, mean);

    analysis.flags.analysts = analysts;
    analysis.flags.fewAnalysts = factors.df[0] < kFewAnalystDf;
    analysis.flags.intervalsDisagree =
        intermediate.mlsSdUpper > kDisagreement * intermediate.sdUpper;
}

std::optional<AcceptanceFigures> Against(std::optional<double> limit, LimitedMeasure measure,
                                         double rsd, double rsdUpper) {
    if (!limit) {
        return std::nullopt;
    }
    const double checkedLimit = CheckedLimit(*limit, measure);
    return AcceptanceFigures{checkedLimit, rsd, rsdUpper, Decide(rsd, rsdUpper, checkedLimit)};
}

// The extended figures of numbers whose analysis of variance is `anova`.
ExtendedAnalysis ExtendedFiguresOf(const StudyNumbers& numbers, const AnovaTable& anova) {
    const Design& design = numbers.GetDesign();
    if (design.Analysts() < 2 || design.Days() < 2 || design.Replicates() < 2) {
        throw Error(kInvalidOperation);
    }
    const std::vector<DayFigures> days = FiguresOfDays(numbers);
    long double sumOfMeans = 0;
    for (const DayFigures& day : days) {
        sumOfMeans += day.mean;
    }
    const double mean = checked::Stored(sumOfMeans / static_cast<long double>(days.size()));

    const DesignFactors& factors = OncePerDesign(design, [&] { return DesignFactorsOf(design); });
    const MeanSquares ms{anova.msAnalyst, anova.msDay, anova.msError};
    const double repeatabilityVariance = anova.msError;
    const double dayVariance = DayVariance(factors, ms);
    const double analystVariance = AnalystVariance(factors, ms);
    const double intermediateVariance = IntermediateVariance(factors, ms);

    ExtendedAnalysis analysis;
    analysis.repeatability = Component(repeatabilityVariance, mean, intermediateVariance);
    analysis.day = Component(dayVariance, mean, intermediateVariance);
    analysis.analyst = Component(analystVariance, mean, intermediateVariance);
    analysis.intermediate = Component(intermediateVariance, mean, intermediateVariance);
    analysis.repeatabilityInterval = RepeatabilityInterval(repeatabilityVariance, anova.dfError);

    analysis.intermediateInterval =
        IntervalOf(MlsVariance(factors, ms), IntermediateDf(factors, ms));

    analysis.pAnalystExact = ExactFProbability(anova.fAnalyst, anova.dfAnalyst, anova.dfDay);
    analysis.pDayExact = ExactFProbability(anova.fDay, anova.dfDay, anova.dfError);
    analysis.exactConclusionsDiffer =
        DeclaresEffect(anova.pAnalyst) != DeclaresEffect(analysis.pAnalystExact) ||
        DeclaresEffect(anova.pDay) != DeclaresEffect(analysis.pDayExact);
    analysis.cochran = Cochran(days, design.Replicates());
    analysis.grubbs = GrubbsOfLevels(days);
    AddBounds(analysis, factors, ms, design.Analysts(), mean);
    return analysis;
}

// The extended figures of numbers of any design, from their unbalanced analysis of variance.
ExtendedAnalysis UnbalancedFiguresOf(const StudyNumbers& numbers, const UnbalancedAnova& anova) {
    const AnovaTable& table = anova.table;
    const DesignFactors factors = UnbalancedFactorsOf(anova);
    const MeanSquares ms{table.msAnalyst, table.msDay, table.msError};
    const double dayVariance = UnbalancedDayVariance(anova);
    const double analystVariance = UnbalancedAnalystVariance(anova);
    const double intermediateVariance =
        checked::Stored(static_cast<long double>(table.msError) + dayVariance + analystVariance);
    const double mean = anova.mean;

    ExtendedAnalysis analysis;
    analysis.repeatability = Component(table.msError, mean, intermediateVariance);
    analysis.day = Component(dayVariance, mean, intermediateVariance);
    analysis.analyst = Component(analystVariance, mean, intermediateVariance);
    analysis.intermediate = Component(intermediateVariance, mean, intermediateVariance);
    analysis.repeatabilityInterval = RepeatabilityInterval(table.msError, table.dfError);
    analysis.intermediateInterval =
        IntervalOf(MlsVariance(factors, ms), IntermediateDf(factors, ms));

    analysis.absent.analystTest = !anova.analystTested;
    analysis.pAnalystExact =
        anova.analystTested
            ? ExactFProbability(table.fAnalyst, table.dfAnalyst, anova.coefficients.dfSynthesized)
            : 1.0;
    analysis.pDayExact = ExactFProbability(table.fDay, table.dfDay, table.dfError);
    analysis.exactConclusionsDiffer =
        DeclaresEffect(table.pAnalyst) != DeclaresEffect(analysis.pAnalystExact) ||
        DeclaresEffect(table.pDay) != DeclaresEffect(analysis.pDayExact);

    const std::vector<DayFigures> days = FiguresOfDays(numbers);
    std::vector<DayFigures> spreadDays;
    spreadDays.reserve(days.size());
    std::copy_if(days.begin(), days.end(), std::back_inserter(spreadDays),
                 [](const DayFigures& day) { return day.count > 1; });
    const std::optional<int> spreadCount = CommonCount(spreadDays);
    analysis.absent.cochran = !spreadCount || spreadDays.size() < 2;
    if (!analysis.absent.cochran) {
        analysis.cochran = Cochran(spreadDays, *spreadCount);
    }
    analysis.grubbs = UnbalancedGrubbs(days, analysis.absent);

    AddBounds(analysis, factors, ms, numbers.GetDesign().Analysts(), mean);
    analysis.absent.mls = !MlsHolds(factors);
    if (analysis.absent.mls) {
        IntermediateBounds& bounds = analysis.intermediateBounds;
        bounds.mlsVarianceLow = 0;
        bounds.mlsVarianceHigh = 0;
        bounds.mlsSdUpper = 0;
        bounds.rsdUpper = RelativeSd(bounds.sdUpper, mean);
        analysis.flags.intervalsDisagree = false;
    }
    analysis.coefficients = anova.coefficients;
    analysis.missingResults = numbers.GetDesign().MissingCount();
    return analysis;
}

} // namespace

std::vector<std::string> AbsenceSentences(const AbsentFigures& absent) {
    std::vector<std::string> sentences;
    if (absent.analystTest) {
        sentences.emplace_back("Sin prueba F entre analistas: con los resultados que faltan, el "
                               "denominador sintetizado no es mayor que cero.");
    }
    if (absent.mls) {
        sentences.emplace_back("Sin intervalo MLS de la precisión intermedia: con los resultados "
                               "que faltan, un coeficiente de theta es negativo; la aceptación "
                               "compara el límite de Satterthwaite.");
    }
    if (absent.cochran) {
        sentences.emplace_back("Sin prueba de Cochran: los días no tienen todos el mismo número "
                               "de resultados.");
    }
    if (absent.grubbsAnalysts) {
        sentences.emplace_back("Sin prueba de Grubbs entre analistas: los analistas no tienen "
                               "todos el mismo número de resultados.");
    }
    if (absent.grubbsDays) {
        sentences.emplace_back("Sin prueba de Grubbs entre los días de cada analista: los días "
                               "de un analista no tienen todos el mismo número de resultados.");
    }
    return sentences;
}

std::vector<std::string> FlagSentences(const SmallDesignFlags& flags) {
    std::vector<std::string> sentences;
    if (flags.fewAnalysts) {
        const int df = flags.analysts - 1;
        sentences.push_back("Con " + std::to_string(flags.analysts) +
                            " analistas el componente entre analistas descansa en " +
                            std::to_string(df) + (df == 1 ? " grado" : " grados") +
                            " de libertad: el intervalo de Satterthwaite puede ser demasiado "
                            "estrecho; se muestra también el MLS.");
    }
    if (flags.intervalsDisagree) {
        sentences.emplace_back(
            "El límite superior MLS de la precisión intermedia supera en más de un 20 % al de "
            "Satterthwaite: el de Satterthwaite subestima la incertidumbre; tome el MLS.");
    }
    return sentences;
}

AcceptanceResult Accept(const ExtendedAnalysis& analysis, const AcceptanceLimits& limits) {
    return AcceptanceResult{
        Against(limits.repeatability, LimitedMeasure::Repeatability,
                analysis.repeatabilityBounds.rsd, analysis.repeatabilityBounds.rsdUpper),
        Against(limits.intermediate, LimitedMeasure::Intermediate, analysis.intermediateBounds.rsd,
                analysis.intermediateBounds.rsdUpper)};
}

const char* VerdictText(Verdict verdict) {
    switch (verdict) {
    case Verdict::Straggler:
        return "dudoso";
    case Verdict::Outlier:
        return "aberrante";
    case Verdict::Correct:
        break;
    }
    return "correcto";
}

double ExactFProbability(double f, double df1, double df2) {
    if (!(f > 0)) {
        return 1.0;
    }
    return boost::math::cdf(boost::math::complement(FisherF(df1, df2), f));
}

double CochranCriticalValue(int cells, int replicates, double alpha) {
    const double p = cells;
    const double df = replicates - 1;
    const double f = boost::math::quantile(FisherF(df, (p - 1) * df), 1 - alpha / p);
    return 1 / (1 + (p - 1) / f);
}

double GrubbsCriticalValue(int values, double alpha) {
    const double n = values;
    const double t = boost::math::quantile(StudentsT(n - 2), 1 - alpha / (2 * n));
    return (n - 1) / std::sqrt(n) * std::sqrt(t * t / (n - 2 + t * t));
}

StudyAnalysis AnalyseStudy(const StudyNumbers& numbers, const AcceptanceLimits& limits) {
    const Design& design = numbers.GetDesign();
    if (!design.IsComplete()) {
        if (design.Analysts() < 2 || design.Days() < 2 || design.Replicates() < 2) {
            throw Error(kInvalidOperation);
        }
        if (auto message = CheckMissingResults(design)) {
            throw Error(std::move(*message));
        }
        return AnalyseUnbalancedStudy(numbers, limits);
    }
    StudyAnalysis analysis;
    StatisticsEngine engine;
    engine.ComputeAnovaAndPrecision(numbers, analysis.anova, analysis.precision);
    analysis.extended = ExtendedFiguresOf(numbers, analysis.anova);
    analysis.extended.coefficients = NestedCoefficients{
        static_cast<double>(design.Replicates()), static_cast<double>(design.Replicates()),
        static_cast<double>(design.Days()) * design.Replicates(), analysis.anova.msDay,
        analysis.anova.dfDay};
    analysis.acceptance = Accept(analysis.extended, limits);
    return analysis;
}

StudyAnalysis AnalyseUnbalancedStudy(const StudyNumbers& numbers, const AcceptanceLimits& limits) {
    const UnbalancedAnova anova = ComputeUnbalancedAnova(numbers);
    StudyAnalysis analysis;
    analysis.anova = anova.table;
    analysis.precision = UnbalancedPrecision(anova);
    analysis.extended = UnbalancedFiguresOf(numbers, anova);
    analysis.acceptance = Accept(analysis.extended, limits);
    return analysis;
}

} // namespace orbeta
