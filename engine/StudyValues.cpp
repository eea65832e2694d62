#include "engine/StudyValues.h"

#include "study/Numbers.h"

#include <cmath>
#include <cstddef>
#include <limits>

namespace orbeta {

double StudyValues::Result(int analyst, int day, int replicate) const {
    return results[GetDesign().IndexOf(DesignCell{analyst, day, replicate})];
}

double StudyValues::DayMean(int analyst, int day) const {
    return dayMeans[GetDesign().DayIndexOf(analyst, day)];
}

Design StudyValues::GetDesign() const {
    Design design(analysts, days, replicates);
    design.ForEachCell([&](const DesignCell& cell) {
        if (std::isnan(results[design.IndexOf(cell)])) {
            design.MarkMissing(cell);
        }
    });
    return design;
}

StudyValues ReadStudyValues(const Study& study, char decimalSeparator) {
    StudyValues values;
    values.results = ReadResults(study, decimalSeparator);
    const Design design = DesignOfResults(study);
    values.analysts = design.Analysts();
    values.days = design.Days();
    values.replicates = design.Replicates();
    const auto meanOf = [](long double sum, int count) {
        return count == 0 ? std::numeric_limits<double>::quiet_NaN()
                          : static_cast<double>(sum / count);
    };
    long double grandSum = 0;
    int grandCount = 0;
    for (int analyst = 1; analyst <= values.analysts; ++analyst) {
        long double analystSum = 0;
        int analystCount = 0;
        for (int day = 1; day <= values.days; ++day) {
            long double daySum = 0;
            int dayCount = 0;
            for (int replicate = 1; replicate <= values.replicates; ++replicate) {
                const DesignCell cell{analyst, day, replicate};
                if (design.HoldsResult(cell)) {
                    daySum += values.results[design.IndexOf(cell)];
                    ++dayCount;
                }
            }
            values.dayMeans.push_back(meanOf(daySum, dayCount));
            analystSum += daySum;
            analystCount += dayCount;
        }
        values.analystMeans.push_back(meanOf(analystSum, analystCount));
        grandSum += analystSum;
        grandCount += analystCount;
    }
    values.grandMean = grandCount == 0 ? 0 : meanOf(grandSum, grandCount);
    return values;
}

} // namespace orbeta
