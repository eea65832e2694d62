#include "engine/StudyValues.h"

#include "study/Error.h"
#include "study/Numbers.h"

#include <cstddef>

namespace orbeta {

double StudyValues::Result(int analyst, int day, int replicate) const {
    return results[GetDesign().IndexOf(DesignCell{analyst, day, replicate})];
}

double StudyValues::DayMean(int analyst, int day) const {
    return dayMeans[GetDesign().DayIndexOf(analyst, day)];
}

StudyValues ReadStudyValues(const Study& study, char decimalSeparator) {
    if (!DesignOfResults(study).IsComplete()) {
        throw Error(kMissingResultsOnlyInReports);
    }
    StudyValues values;
    values.results = ReadResults(study, decimalSeparator);
    const Design design = DesignOf(study);
    values.analysts = design.Analysts();
    values.days = design.Days();
    values.replicates = design.Replicates();
    long double grandSum = 0;
    for (int analyst = 1; analyst <= values.analysts; ++analyst) {
        long double analystSum = 0;
        for (int day = 1; day <= values.days; ++day) {
            long double daySum = 0;
            for (int replicate = 1; replicate <= values.replicates; ++replicate) {
                daySum += values.Result(analyst, day, replicate);
            }
            values.dayMeans.push_back(static_cast<double>(daySum / values.replicates));
            analystSum += daySum;
        }
        values.analystMeans.push_back(static_cast<double>(
            analystSum / (static_cast<long double>(values.days) * values.replicates)));
        grandSum += analystSum;
    }
    values.grandMean = static_cast<double>(
        grandSum / static_cast<long double>(values.results.empty() ? 1 : values.results.size()));
    return values;
}

} // namespace orbeta
