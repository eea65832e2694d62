#pragma once

#include "engine/Ucalculo.h"
#include "study/Study.h"

#include <string>
#include <vector>

namespace orbeta {

// A study's results read as numbers, with the means a picture of the study marks.
struct StudyValues {
    int analysts = 0;
    int days = 0;
    int replicates = 0;
    // In the order StudyNumbers holds them; a quiet NaN where the result is missing.
    std::vector<double> results;
    // Of the results each holds, analyst by analyst, within an analyst day by day; a quiet NaN
    // for a day that lost all its results.
    std::vector<double> dayMeans;
    std::vector<double> analystMeans; // analyst by analyst, of the results each holds
    double grandMean = 0;             // of the results held

    // The results as the engine's computations take them; valid while this record lives.
    StudyNumbers Numbers() const { return {GetDesign(), results}; }
    // The counts, with every cell whose result is missing marked so.
    Design GetDesign() const;
    double Result(int analyst, int day, int replicate) const;
    double DayMean(int analyst, int day) const;
};

// How many results the study lacks and where, in the study's order, e.g. «Faltan 4 de 24
// resultados (NA): analista 1, día 2, réplica 3; analista 2, día 4, sin resultados.», a day that
// lost all its results named once; empty for a complete study.
std::string MissingResultsSentence(const StudyValues& values);

// The values of a study that passed the study checks: the counts by ParseCount, each cell by
// ParseResult, a cell marking its result missing as missing. Throws their Error for a text that
// is not a number.
StudyValues ReadStudyValues(const Study& study, char decimalSeparator);

} // namespace orbeta
