#pragma once

// The analysis of variance of a nested study with results missing (an unbalanced design), by
// hierarchical (type I) sums of squares and the ANOVA moment estimators of its variance
// components (CLSI EP05-A3), beside the balanced estimators of engine/Ucalculo.h and
// engine/Acceptance.h. A complete design gives the balanced figures.
//
// Notation: analyst i of A holds n_ij results on day j, n_i = sum_j n_ij, N = sum_i n_i; B days
// hold at least one result (a day without any takes no part). The means of a day, an analyst and
// the study are ybar_ij, ybar_i and ybar.
//   SS_analyst = sum_i n_i (ybar_i - ybar)^2          df_analyst = A - 1
//   SS_day     = sum_ij n_ij (ybar_ij - ybar_i)^2     df_day     = B - A
//   SS_error   = sum_ijk (y_ijk - ybar_ij)^2          df_error   = N - B
// Their mean squares MS_q = SS_q / df_q have the expectations
//   E MS_error = s2_e,  E MS_day = s2_e + k1 s2_d,  E MS_analyst = s2_e + k2 s2_d + k3 s2_a,
//   k1 = (N - sum_ij n_ij^2 / n_i) / (B - A),
//   k2 = (sum_ij n_ij^2 / n_i - sum_ij n_ij^2 / N) / (A - 1),
//   k3 = (N - sum_i n_i^2 / N) / (A - 1),
// so that a complete design has k1 = k2 = R and k3 = D R. The moment equations give the
// components, a negative estimate set to zero:
//   s2_e = MS_error,  s2_d = (MS_day - MS_error) / k1,  s2_a = (MS_analyst - MS_syn) / k3,
//   MS_syn = (k2/k1) MS_day + (1 - k2/k1) MS_error,
// MS_syn being the combination of mean squares whose expectation is that of MS_analyst without
// its analyst term. The day is tested by F = MS_day / MS_error on (df_day, df_error), the analyst
// by F = MS_analyst / MS_syn on (df_analyst, df_syn) with Satterthwaite's
//   df_syn = MS_syn^2 / ((k2/k1 MS_day)^2 / df_day + ((1 - k2/k1) MS_error)^2 / df_error).
// When k2 > k1, MS_syn may come out at zero or below: the analyst's F test then does not exist.
//
// theta, the intermediate-precision variance before a component is set to zero, is
// sum_q c_q MS_q with
//   c = (1/k3, 1/k1 - k2/(k1 k3), 1 - 1/k1 - (1 - k2/k1)/k3);
// its interval and Satterthwaite's bound are taken on Satterthwaite's degrees of freedom of
// these same coefficients (IntermediateDf),
// and its MLS interval and bound (engine/Acceptance.h) hold only when none of them is negative.

#include "engine/Acceptance.h"
#include "engine/Ucalculo.h"

#include <array>
#include <cstddef>

namespace orbeta {

// The moment coefficients of a design and the analyst's synthesized denominator.
struct NestedCoefficients {
    double k1 = 0;
    double k2 = 0;
    double k3 = 0;
    double msSynthesized = 0; // MS_syn
    double dfSynthesized = 0; // df_syn, not rounded
};

// The analysis of variance of the results a design holds.
struct UnbalancedAnova {
    // Degrees of freedom, sums of squares, mean squares; F and the program's own P (Paulson's, on
    // df_syn for the analyst). Without an analyst's test its F is 0 and its P 1.
    AnovaTable table;
    NestedCoefficients coefficients;
    bool analystTested = true; // MS_syn is above zero
    double mean = 0;           // of the results held
    double totalSd = 0;        // of the results held, about their mean
    double daysHeld = 0;       // B
    double results = 0;        // N
};

// The analysis of the results the design of `numbers` holds. Throws Error with the engine's
// arithmetic messages where a figure cannot be stated: a source without degrees of freedom or
// no spread at all ("Invalid floating point operation"); whoever shows the user why a source
// lacks them asks CheckMissingResults first.
UnbalancedAnova ComputeUnbalancedAnova(const StudyNumbers& numbers);

// The components between days and between analysts, a negative estimate set to zero.
double UnbalancedDayVariance(const UnbalancedAnova& anova);
double UnbalancedAnalystVariance(const UnbalancedAnova& anova);

// The factors of the bounds of this design: df_q, theta's c_q and the chi-square factors of
// engine/Acceptance.h; perDay and perAnalyst hold k1 and k3.
DesignFactors UnbalancedFactorsOf(const UnbalancedAnova& anova);

// Whether every coefficient of theta is non-negative, so that its MLS interval holds.
bool MlsHolds(const DesignFactors& factors);

// The precision measures of the classic summary, from the moment estimators: a component not
// above zero takes the one below it, as for a complete study.
PrecisionSummary UnbalancedPrecision(const UnbalancedAnova& anova);

} // namespace orbeta
