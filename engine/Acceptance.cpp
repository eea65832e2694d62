#include "engine/Acceptance.h"

#include "engine/CheckedMath.h"
#include "engine/Distributions.h"
#include "study/Error.h"
#include "study/Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>

namespace orbeta {

namespace {

using distributions::ChiSquareQuantile;

constexpr long double kPercent = 100.0L;

// sqrt(sum (factor_q c_q MS_q)^2), the half-width of an MLS limit.
long double MlsSpread(const DesignFactors& factors, const PerSource& factor,
                      const MeanSquares& ms) {
    const PerSource squares{ms.analyst, ms.day, ms.error};
    long double sum = 0;
    for (std::size_t q = 0; q < kAnovaSources; ++q) {
        const long double term = static_cast<long double>(factor[q]) * factors.c[q] * squares[q];
        sum += term * term;
    }
    return std::sqrt(sum);
}

} // namespace

DesignFactors DesignFactorsOf(const Design& design) {
    const int analysts = design.Analysts();
    const int days = design.Days();
    const int replicates = design.Replicates();
    if (analysts < 2 || days < 2 || replicates < 2) {
        throw Error(kInvalidOperation);
    }
    const double perDay = replicates;
    const double perAnalyst = static_cast<double>(days) * replicates;
    return FactorsOfSources(perDay, perAnalyst,
                            {analysts - 1.0, analysts * (days - 1.0),
                             static_cast<double>(analysts) * days * (replicates - 1.0)},
                            {1 / perAnalyst, 1 / perDay - 1 / perAnalyst, 1 - 1 / perDay});
}

DesignFactors FactorsOfSources(double perDay, double perAnalyst, const PerSource& df,
                               const PerSource& c) {
    DesignFactors factors;
    factors.perDay = perDay;
    factors.perAnalyst = perAnalyst;
    factors.df = df;
    factors.c = c;
    for (std::size_t q = 0; q < kAnovaSources; ++q) {
        const double dfq = factors.df[q];
        factors.lowFactor[q] = 1 - dfq / ChiSquareQuantile(0.975, dfq);
        factors.highFactor[q] = dfq / ChiSquareQuantile(0.025, dfq) - 1;
        factors.upperFactor[q] = dfq / ChiSquareQuantile(0.05, dfq) - 1;
    }
    factors.repeatabilityUpper = factors.df[2] / ChiSquareQuantile(0.05, factors.df[2]);
    return factors;
}

double DayVariance(const DesignFactors& factors, const MeanSquares& ms) {
    const double estimate =
        checked::Stored((static_cast<long double>(ms.day) - ms.error) / factors.perDay);
    return estimate > 0 ? estimate : 0.0;
}

double AnalystVariance(const DesignFactors& factors, const MeanSquares& ms) {
    const double estimate =
        checked::Stored((static_cast<long double>(ms.analyst) - ms.day) / factors.perAnalyst);
    return estimate > 0 ? estimate : 0.0;
}

double IntermediateVariance(const DesignFactors& factors, const MeanSquares& ms) {
    return checked::Stored(static_cast<long double>(ms.error) + DayVariance(factors, ms) +
                           AnalystVariance(factors, ms));
}

double MlsVariance(const DesignFactors& factors, const MeanSquares& ms) {
    return checked::Stored(static_cast<long double>(factors.c[0]) * ms.analyst +
                           static_cast<long double>(factors.c[1]) * ms.day +
                           static_cast<long double>(factors.c[2]) * ms.error);
}

VarianceInterval MlsVarianceInterval(const DesignFactors& factors, const MeanSquares& ms) {
    const long double theta = MlsVariance(factors, ms);
    const long double low = theta - MlsSpread(factors, factors.lowFactor, ms);
    return VarianceInterval{checked::Stored(low > 0 ? low : 0),
                            checked::Stored(theta + MlsSpread(factors, factors.highFactor, ms))};
}

double MlsUpperVariance(const DesignFactors& factors, const MeanSquares& ms) {
    return checked::Stored(MlsVariance(factors, ms) + MlsSpread(factors, factors.upperFactor, ms));
}

double RepeatabilityUpperVariance(const DesignFactors& factors, double msError) {
    return checked::Stored(static_cast<long double>(msError) * factors.repeatabilityUpper);
}

double IntermediateDf(const DesignFactors& factors, const MeanSquares& ms) {
    const PerSource squares{ms.analyst, ms.day, ms.error};
    const double theta = MlsVariance(factors, ms);
    // Taken on the shares c_q MS_q / theta, so that no square of a small mean square underflows.
    long double sharesOverDf = 0;
    for (std::size_t q = 0; q < kAnovaSources; ++q) {
        const long double share =
            checked::Divide(static_cast<long double>(factors.c[q]) * squares[q], theta);
        sharesOverDf += checked::Divide(share * share, factors.df[q]);
    }
    return checked::Stored(checked::Divide(1, sharesOverDf));
}

double SdOf(double variance) {
    return checked::Stored(checked::SquareRoot(variance));
}

double RelativeSd(double sd, double mean) {
    return checked::Stored(checked::Divide(sd, std::fabs(mean)) * kPercent);
}

Acceptance Decide(double rsd, double rsdUpper, double limit) {
    if (rsd > limit) {
        return Acceptance::Fails;
    }
    return rsdUpper <= limit ? Acceptance::Meets : Acceptance::MeetsUnproven;
}

const char* AcceptanceText(Acceptance acceptance) {
    switch (acceptance) {
    case Acceptance::MeetsUnproven:
        return "Cumple sin demostrarlo al 95 %";
    case Acceptance::Fails:
        return "No cumple";
    case Acceptance::Meets:
        break;
    }
    return "Cumple";
}

double CheckedLimit(double limit, LimitedMeasure measure) {
    if (!(limit > 0) || !std::isfinite(limit)) {
        throw Error(measure == LimitedMeasure::Repeatability
                        ? "El límite de la repetibilidad debe ser un número mayor que cero."
                        : "El límite de la precisión intermedia debe ser un número mayor que "
                          "cero.");
    }
    return limit;
}

namespace {

// The number a text reads as with that separator; NaN for a text that is no number.
double NumberOrNaN(std::string_view text, char decimalSeparator) {
    try {
        return ParseResult(text, decimalSeparator);
    } catch (const Error&) {
        return std::numeric_limits<double>::quiet_NaN();
    }
}

} // namespace

std::optional<double> TypedLimit(std::string_view text, char decimalSeparator,
                                 LimitedMeasure measure) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view typed = text.substr(first, text.find_last_not_of(' ') - first + 1);
    const double limit = NumberOrNaN(typed, decimalSeparator);
    if (std::isnan(limit)) {
        std::string rewritten(typed);
        std::replace(rewritten.begin(), rewritten.end(), decimalSeparator == ',' ? '.' : ',',
                     decimalSeparator);
        if (rewritten != typed && NumberOrNaN(rewritten, decimalSeparator) > 0) {
            throw Error(std::string("Escriba el límite con ") +
                        (decimalSeparator == ',' ? "la coma decimal: " : "el punto decimal: ") +
                        rewritten + ".");
        }
    }
    return CheckedLimit(limit, measure);
}

} // namespace orbeta
