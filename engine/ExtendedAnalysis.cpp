#include "engine/ExtendedAnalysis.h"

#include "engine/CheckedMath.h"
#include "engine/UTs.h"
#include "study/Error.h"

#include "engine/Distributions.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <map>
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
    double variance = 0;
    DayOfAnalyst where;
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

// The interval of a standard deviation whose variance is estimated with `df` degrees of freedom.
SdInterval IntervalOf(double variance, double df) {
    const ChiSquared chiSquare(df);
    const double tail = (1 - kIntervalLevel) / 2;
    const long double spread = static_cast<long double>(df) * variance;
    return SdInterval{df,
                      checked::Stored(checked::SquareRoot(
                          checked::Divide(spread, boost::math::quantile(chiSquare, 1 - tail)))),
                      checked::Stored(checked::SquareRoot(
                          checked::Divide(spread, boost::math::quantile(chiSquare, tail))))};
}

// The one-sided upper bound of a standard deviation whose variance is estimated with `df`
// degrees of freedom.
double UpperBoundOf(double variance, double df) {
    return checked::Stored(checked::SquareRoot(
        checked::Divide(static_cast<long double>(df) * variance,
                        distributions::ChiSquareQuantile(1 - kUpperLevel, df))));
}

// The mean and variance of each day's replicates, analyst by analyst.
std::vector<DayFigures> FiguresOfDays(const StudyNumbers& numbers) {
    const Design& design = numbers.GetDesign();
    std::vector<DayFigures> days;
    days.reserve(design.DayCount());
    for (int analyst = 1; analyst <= design.Analysts(); ++analyst) {
        for (int day = 1; day <= design.Days(); ++day) {
            const auto results = numbers.DayResults(analyst, day);
            long double sum = 0;
            for (const double x : results) {
                sum += x;
            }
            const long double mean = sum / design.Replicates();
            long double squares = 0;
            for (const double x : results) {
                squares += (x - mean) * (x - mean);
            }
            days.push_back(DayFigures{checked::Stored(mean),
                                      checked::Stored(squares / (design.Replicates() - 1)),
                                      DayOfAnalyst{analyst, day}});
        }
    }
    return days;
}

// What `compute` gives for a design, computed once a thread: critical values and quantiles depend
// only on the counts, which a laboratory's studies share, and cost more than the rest of the
// analysis. Each caller's lambda is a type of its own, so each keeps its own values.
template <typename Key, typename Compute>
const auto& OncePerDesign(const Key& design, Compute compute) {
    thread_local std::map<Key, decltype(compute())> known;
    if (const auto found = known.find(design); found != known.end()) {
        return found->second;
    }
    return known.emplace(design, compute()).first->second;
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

GrubbsTest Grubbs(const std::vector<NamedMean>& means) {
    GrubbsTest test;
    const auto n = static_cast<long double>(means.size());
    const int values = static_cast<int>(means.size());
    std::tie(test.critical5, test.critical1) =
        CriticalValues(values, [&](double alpha) { return GrubbsCriticalValue(values, alpha); });
    long double sum = 0;
    for (const NamedMean& value : means) {
        sum += value.mean;
    }
    const long double mean = sum / n;
    long double squares = 0;
    for (const NamedMean& value : means) {
        squares += (value.mean - mean) * (value.mean - mean);
    }
    const long double sd = std::sqrt(squares / (n - 1));
    // Of tied means the first is named on either side (minmax_element would name the last
    // highest).
    const auto below = [](const NamedMean& a, const NamedMean& b) { return a.mean < b.mean; };
    const auto lowest = std::min_element(means.begin(), means.end(), below);
    const auto highest = std::max_element(means.begin(), means.end(), below);
    auto extreme = [&](const NamedMean& value) {
        const double g = sd > 0 ? checked::Stored(std::fabs(value.mean - mean) / sd) : 0.0;
        return GrubbsValue{g, Judge(g, test.critical5, test.critical1), value.where};
    };
    test.high = extreme(*highest);
    test.low = extreme(*lowest);
    return test;
}

// The analysts' means among themselves and each analyst's day means among themselves, where the
// design has the 3 means a sample needs.
GrubbsTests GrubbsOfLevels(const std::vector<DayFigures>& days, const Design& design) {
    constexpr int kFewestMeans = 3;
    GrubbsTests tests;
    const auto perAnalyst = static_cast<std::size_t>(design.Days());
    std::vector<NamedMean> analystMeans;
    for (std::size_t first = 0; first < days.size(); first += perAnalyst) {
        std::vector<NamedMean> dayMeans;
        long double sum = 0;
        for (std::size_t at = first; at < first + perAnalyst; ++at) {
            dayMeans.push_back(NamedMean{days[at].mean, days[at].where});
            sum += days[at].mean;
        }
        analystMeans.push_back(NamedMean{checked::Stored(sum / design.Days()),
                                         DayOfAnalyst{days[first].where.analyst, 0}});
        if (design.Days() >= kFewestMeans) {
            tests.daysOfAnalysts.push_back(Grubbs(dayMeans));
        }
    }
    if (design.Analysts() >= kFewestMeans) {
        tests.analysts = Grubbs(analystMeans);
    }
    if (!tests.daysOfAnalysts.empty()) {
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
    analysis.repeatabilityInterval = IntervalOf(repeatabilityVariance, anova.dfError);

    analysis.intermediateInterval =
        IntervalOf(MlsVariance(factors, ms), IntermediateDf(factors, ms));

    analysis.pAnalystExact = ExactFProbability(anova.fAnalyst, anova.dfAnalyst, anova.dfDay);
    analysis.pDayExact = ExactFProbability(anova.fDay, anova.dfDay, anova.dfError);
    analysis.exactConclusionsDiffer =
        DeclaresEffect(anova.pAnalyst) != DeclaresEffect(analysis.pAnalystExact) ||
        DeclaresEffect(anova.pDay) != DeclaresEffect(analysis.pDayExact);
    analysis.cochran = Cochran(days, design.Replicates());
    analysis.grubbs = GrubbsOfLevels(days, design);
    AddBounds(analysis, factors, ms, design.Analysts(), mean);
    return analysis;
}

} // namespace

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
    StudyAnalysis analysis;
    StatisticsEngine engine;
    engine.ComputeAnova(numbers, analysis.anova);
    engine.ComputePrecision(numbers, analysis.precision);
    analysis.extended = ExtendedFiguresOf(numbers, analysis.anova);
    analysis.acceptance = Accept(analysis.extended, limits);
    return analysis;
}

} // namespace orbeta
