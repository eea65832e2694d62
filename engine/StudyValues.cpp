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

std::string MissingResultsSentence(const StudyValues& values) {
    const Design design = values.GetDesign();
    if (design.IsComplete()) {
        return {};
    }
    std::string where;
    const auto add = [&where](const std::string& place) {
        where += (where.empty() ? "" : "; ") + place;
    };
    for (int analyst = 1; analyst <= design.Analysts(); ++analyst) {
        for (int day = 1; day <= design.Days(); ++day) {
            const std::string dayName =
                "analista " + std::to_string(analyst) + ", día " + std::to_string(day);
            if (std::isnan(values.DayMean(analyst, day))) {
                add(dayName + ", sin resultados");
                continue;
            }
            for (int replicate = 1; replicate <= design.Replicates(); ++replicate) {
                if (!design.HoldsResult({analyst, day, replicate})) {
                    add(dayName + ", réplica " + std::to_string(replicate));
                }
            }
        }
    }
    return (design.MissingCount() == 1 ? "Falta " : "Faltan ") +
           std::to_string(design.MissingCount()) + " de " + std::to_string(design.ResultCount()) +
           " resultados (NA): " + where + ".";
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
