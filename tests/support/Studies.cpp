#include "support/Studies.h"

#include "study/Numbers.h"

#include <cstddef>

namespace orbeta::testing {

Study StudyWithResults(int analysts, int days, int replicates,
                       const std::vector<std::string>& resultsByAnalyst) {
    Study study = NewStudy();
    study.analystCount = std::to_string(analysts);
    study.dayCount = std::to_string(days);
    study.replicateCount = std::to_string(replicates);
    ApplyStudyLayout(study);
    std::size_t next = 0;
    for (int analyst = 1; analyst <= analysts; ++analyst) {
        for (int row = 1; row <= days * replicates && next < resultsByAnalyst.size(); ++row) {
            study.SetCell(analyst, row, resultsByAnalyst[next++]);
        }
    }
    return study;
}

Study WorkedExample() {
    Study study = StudyWithResults(2, 2, 3,
                                   {"99.1", "100.2", "99.8", "100.5", "99.9", "100.1", "98.7",
                                    "99.5", "99.0", "100.0", "99.6", "99.3"});
    study.methodName = "Valoración";
    study.date = "01/06/2001";
    return study;
}

Study LargestStudy() {
    std::vector<std::string> results;
    for (int analyst = 1; analyst <= 10; ++analyst) {
        for (int day = 1; day <= 10; ++day) {
            for (int replicate = 1; replicate <= 5; ++replicate) {
                const int spread = (analyst * 7 + day * 13 + replicate * 29) % 41;
                results.push_back("99." + std::to_string(spread));
            }
        }
    }
    return StudyWithResults(10, 10, 5, results);
}

std::vector<double> ResultsOf(const Study& study, char decimalSeparator) {
    const int analysts = ParseCount(study.analystCount);
    const int days = ParseCount(study.dayCount);
    const int replicates = ParseCount(study.replicateCount);
    std::vector<double> results;
    for (int analyst = 1; analyst <= analysts; ++analyst) {
        for (int day = 1; day <= days; ++day) {
            for (int replicate = 1; replicate <= replicates; ++replicate) {
                results.push_back(ParseResult(
                    study.Cell(analyst, ResultRow(day, replicate, replicates)), decimalSeparator));
            }
        }
    }
    return results;
}

} // namespace orbeta::testing
