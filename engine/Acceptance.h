#pragma once

// The one-sided 95 % upper bounds of the precision and the acceptance decision against a limit,
// split so that a caller judging many studies of one design pays for the quantiles once: the
// factors of a design depend on its counts alone; the bounds of a study then cost a few products
// and a square root from its three mean squares. The extended analysis goes through these same
// functions, so a study planner that simulates mean squares decides «Cumple» exactly as a
// computed study does.
//
// Notation: A analysts, D days, R replicates; the sources q = analyst, day, error with degrees
// of freedom df_q = (A - 1, A (D - 1), A D (R - 1)) and mean squares MS_q; chi2(p; df) is the
// lower-tail p quantile of the chi-square distribution.
//
// Repeatability, one-sided upper bound of the variance: MS_error df_error / chi2(0.05; df_error).
//
// Intermediate precision, modified large-sample (MLS, Graybill and Wang 1980; Burdick and
// Graybill 1992) on the classic estimator of the total variance
//     theta = sum c_q MS_q,  c = (1/(D R), 1/R - 1/(D R), 1 - 1/R),
// every coefficient positive and theta the sum of the components whenever none is set to zero:
//     two-sided 95 %:  L = theta - sqrt(sum (G_q c_q MS_q)^2),  G_q = 1 - df_q / chi2(0.975; df_q)
//                      U = theta + sqrt(sum (H_q c_q MS_q)^2),  H_q = df_q / chi2(0.025; df_q) - 1
//                      and L below zero is set to zero;
//     one-sided 95 %:  U with H_q = df_q / chi2(0.05; df_q) - 1.
//
// The verdict of a study, as AnalyseStudy and Accept reach it, for a caller that has
// the mean squares and the mean (the factors taken once per design):
//     repeatability:  Decide(RelativeSd(SdOf(ms.error), mean),
//                            RelativeSd(SdOf(RepeatabilityUpperVariance(factors, ms.error)), mean),
//                            limit)
//     intermediate:   Decide(RelativeSd(SdOf(IntermediateVariance(factors, ms)), mean),
//                            RelativeSd(SdOf(MlsUpperVariance(factors, ms)), mean), limit)

#include "engine/Ucalculo.h"

#include <array>
#include <optional>
#include <string_view>

namespace orbeta {

// A figure of each source, in the order of AnovaSource: analyst, day, error.
using PerSource = std::array<double, kAnovaSources>;

// The three mean squares of one study, or of one simulated study.
struct MeanSquares {
    double analyst = 0;
    double day = 0;
    double error = 0;
};

// What the bounds of every study of one design share.
struct DesignFactors {
    double perDay = 0;           // R: results behind a day mean
    double perAnalyst = 0;       // D R: results behind an analyst mean
    PerSource df{};              // df_q
    PerSource c{};               // c_q of theta
    PerSource lowFactor{};       // G_q of the two-sided interval
    PerSource highFactor{};      // H_q of the two-sided interval
    PerSource upperFactor{};     // H_q of the one-sided bound
    double repeatabilityUpper{}; // df_error / chi2(0.05; df_error)
};

// The factors of a balanced design of at least 2 analysts, days and replicates; throws
// Error("Invalid floating point operation") for smaller counts.
DesignFactors DesignFactorsOf(const Design& design);

// The factors of sources of the given degrees of freedom (each positive) and coefficients of
// theta, with the results behind a day mean and an analyst mean.
DesignFactors FactorsOfSources(double perDay, double perAnalyst, const PerSource& df,
                               const PerSource& c);

// The components of the variance, a negative estimate set to zero: between days
// (MS_day - MS_error) / R, between analysts (MS_analyst - MS_day) / (D R); repeatability's is
// MS_error itself.
double DayVariance(const DesignFactors& factors, const MeanSquares& ms);
double AnalystVariance(const DesignFactors& factors, const MeanSquares& ms);

// The point estimate of the intermediate-precision variance: the sum of the three components.
double IntermediateVariance(const DesignFactors& factors, const MeanSquares& ms);

// theta, the MLS estimate of the intermediate-precision variance.
double MlsVariance(const DesignFactors& factors, const MeanSquares& ms);

struct VarianceInterval {
    double low = 0;
    double high = 0;
};

// The two-sided 95 % MLS interval of the intermediate-precision variance.
VarianceInterval MlsVarianceInterval(const DesignFactors& factors, const MeanSquares& ms);

// The one-sided 95 % MLS upper bound of the intermediate-precision variance.
double MlsUpperVariance(const DesignFactors& factors, const MeanSquares& ms);

// The one-sided 95 % upper bound of the repeatability variance.
double RepeatabilityUpperVariance(const DesignFactors& factors, double msError);

// Satterthwaite's degrees of freedom of the intermediate precision, the one choice of the
// extended analysis and the planner: those of theta on theta's own coefficients,
//     nu = theta^2 / sum (c_q MS_q)^2 / df_q,
// whatever component a study's estimate sets to zero, so that the Satterthwaite interval and
// bound (taken on theta with nu) and the MLS ones are of one quantity. Throws Error rather than
// yield an infinity or a NaN.
double IntermediateDf(const DesignFactors& factors, const MeanSquares& ms);

// The standard deviation of a variance; throws Error("Invalid floating point operation") for a
// negative one.
double SdOf(double variance);

// 100 sd / |mean|, the relative standard deviation in percent. Throws Error("Floating point
// division by zero") for a mean of zero and never yields an infinity or a NaN.
double RelativeSd(double sd, double mean);

// The verdict of a precision measure against its limit.
enum class Acceptance { Meets, MeetsUnproven, Fails };

// Fails when the point estimate exceeds the limit; otherwise Meets when the upper bound is at
// most the limit (a bound exactly at the limit meets it), and MeetsUnproven when it is above. All
// three in percent, as RelativeSd gives them.
Acceptance Decide(double rsd, double rsdUpper, double limit);

// «Cumple», «Cumple sin demostrarlo al 95 %» or «No cumple».
const char* AcceptanceText(Acceptance acceptance);

// The measures a limit is given for, as their messages name them.
enum class LimitedMeasure { Repeatability, Intermediate };

// The limit itself when it is a number above zero; otherwise throws Error with a message naming
// the limit, e.g. «El límite de la repetibilidad debe ser un número mayor que cero.».
double CheckedLimit(double limit, LimitedMeasure measure);

// A limit as typed in a field with the regional decimal separator: none when blank, else the
// CheckedLimit of its number. A limit above zero written with the other separator is refused
// with the way to write it, e.g. «Escriba el límite con la coma decimal: 2,5.»; any other text
// with CheckedLimit's message.
std::optional<double> TypedLimit(std::string_view text, char decimalSeparator,
                                 LimitedMeasure measure);

} // namespace orbeta
