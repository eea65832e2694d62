#pragma once

#include "engine/Ucalculo.h"
#include "study/Study.h"

#include <vector>

namespace orbeta {

// A study's results read as numbers, with the means a picture of the study marks.
struct StudyValues {
    int analysts = 0;
    int days = 0;
    int replicates = 0;
    std::vector<double> results;      // in the order StudyNumbers holds them
    std::vector<double> dayMeans;     // analyst by analyst, within an analyst day by day
    std::vector<double> analystMeans; // analyst by analyst
    double grandMean = 0;

    // The results as the engine's computations take them; valid while this record lives.
    StudyNumbers Numbers() const { return {GetDesign(), results}; }
    Design GetDesign() const { return {analysts, days, replicates}; }
    double Result(int analyst, int day, int replicate) const;
    double DayMean(int analyst, int day) const;
};

// What the windows that picture a study's values say of one with a result missing, which only
// the machine reports analyse yet.
inline constexpr const char* kMissingResultsOnlyInReports =
    "Esta versión calcula un estudio con resultados faltantes (NA) solo con orbeta-report "
    "--format json o csv.";

// The values of a study that passed the study checks: the counts by ParseCount, each cell by
// ParseResult. Throws their Error for a text that is not a number, and
// Error(kMissingResultsOnlyInReports) for a study with a result missing.
StudyValues ReadStudyValues(const Study& study, char decimalSeparator);

} // namespace orbeta
