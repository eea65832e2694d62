#pragma once

// Mandel's between-analyst and within-analyst consistency statistics, after ISO 5725-2 with the
// analysts in the place of the laboratories. With p analysts, each of D days of R replicates:
//
//     h_i = (m_i - m) / s_m, where m_i is analyst i's mean, m the mean of the p analyst means and
//           s_m their standard deviation (p - 1 in its denominator);
//     k_i = s_i / sqrt(sum s_j^2 / p), where s_i is analyst i's repeatability SD pooled over its
//           days, on nu_i = D (R - 1) degrees of freedom.
//
// With results missing, m_i is the mean of the results analyst i holds, and s_i pools its days
// with their own counts: s_i^2 = sum_j sum_k (y_ijk - ybar_ij)^2 / nu_i, nu_i = sum_j (n_ij - 1)
// over the days holding a result. The indicator values of k then take nu as the mean of the nu_i,
// the error's degrees of freedom over p (D (R - 1) for a complete study).
//
// Their indicator values at the significance level alpha (1 % and 5 %):
//
//     h = (p - 1) t / sqrt(p (t^2 + p - 2)),  t the upper alpha/2 quantile of Student's t with
//                                              p - 2 degrees of freedom;
//     k = sqrt(p / (1 + (p - 1) / F)),         F the upper alpha quantile of the F distribution
//                                              with nu and (p - 1) nu degrees of freedom.

#include "engine/ExtendedAnalysis.h"
#include "engine/StudyValues.h"

#include <optional>
#include <string>
#include <vector>

namespace orbeta {

// The fewest analysts the statistics are stated for.
inline constexpr int kMandelMinAnalysts = 3;

// One analyst's statistics and their verdicts against the indicator values: within the 5 % one
// in absolute value, beyond it (a straggler), or beyond the 1 % one (an outlier).
struct MandelAnalyst {
    int analyst = 0; // counted from 1
    double h = 0;
    double k = 0;
    Verdict hVerdict = Verdict::Correct;
    Verdict kVerdict = Verdict::Correct;
};

struct MandelStatistics {
    double h1 = 0; // indicator values of |h| at 1 % and 5 %
    double h5 = 0;
    double k1 = 0; // indicator values of k at 1 % and 5 %
    double k5 = 0;
    double nu = 0; // the degrees of freedom of the k indicator values' F
    // An analyst (from 1) none of whose days holds two results, so that no k exists: every k is
    // then 0 and correct. 0 when every analyst has its k.
    int analystWithoutK = 0;
    std::vector<MandelAnalyst> analysts;
};

// The indicator values for p analysts (at least 3) whose SDs each rest on nu degrees of freedom.
MandelStatistics MandelIndicators(int analysts, double nu);

// The statistics of a study of at least 3 analysts and 2 replicates, complete or with results
// missing. When every analyst mean is the same no analyst stands out: every h is 0; likewise
// every k is 0 when no result differs from its day's mean.
MandelStatistics ComputeMandel(const StudyValues& values);

// Why a study has no Mandel statistics, for the reader of a record: with fewer than 3 analysts,
// «Los estadísticos h y k de Mandel necesitan al menos 3 analistas; este estudio tiene 2.»;
// nothing when it has them.
std::optional<std::string> MandelAbsence(int analysts);

// Why the statistics hold no k, «Sin k de Mandel: el analista 2 no tiene ningún día con dos
// resultados o más.»; nothing when every analyst has its k.
std::optional<std::string> MandelKAbsence(const MandelStatistics& mandel);

// A sentence naming each analyst whose h or k is beyond an indicator value, e.g.
// «Analista 3: h = 1,52, dudoso (por encima del valor indicador del 5 %).», in analyst order;
// none when no value is flagged.
std::vector<std::string> MandelFlagSentences(const MandelStatistics& mandel, char separator);

} // namespace orbeta
