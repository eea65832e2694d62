#include "engine/StudyValues.h"

#include "study/Numbers.h"

#include <cstddef>

namespace orbeta {

namespace {

std::size_t IndexOf(int analyst, int day, int replicate, int days, int replicates) {
    return (static_cast<std::size_t>(analyst - 1) * static_cast<std::size_t>(days) +
            static_cast<std::size_t>(day - 1)) *
               static_cast<std::size_t>(replicates) +
           static_cast<std::size_t>(replicate - 1);
}

} // namespace

double StudyValues::Result(int analyst, int day, int replicate) const {
    return results[IndexOf(analyst, day, replicate, days, replicates)];
}

double StudyValues::DayMean(int analyst, int day) const {
    return dayMeans[IndexOf(analyst, day, 1, days, 1)];
}

StudyValues ReadStudyValues(const Study& study, char decimalSeparator) {
    StudyValues values;
    values.results = ReadResults(study, decimalSeparator);
    values.analysts = ParseCount(study.analystCount);
    values.days = ParseCount(study.dayCount);
    values.replicates = ParseCount(study.replicateCount);
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
