#pragma once

#include "engine/Ucalculo.h"
#include "study/Study.h"

#include <filesystem>
#include <string>
#include <vector>

namespace orbeta::testing {

// A study laid out for its counts, with the result texts given analyst by analyst, each
// analyst's day 1 replicates first.
Study StudyWithResults(int analysts, int days, int replicates,
                       const std::vector<std::string>& resultsByAnalyst);

// The worked example: 2 analysts, 2 days, 3 replicates, method "Valoración", date "01/06/2001".
Study WorkedExample();

// The worked example's report, line by line, as the user reads it.
const std::vector<std::string>& WorkedExampleReport();

// The worked example's file, as the program writes it.
inline const std::filesystem::path kWorkedExampleFile =
    std::filesystem::path(ORBETA_TEST_DATA) / "worked-example.w05";

// The analysis of variance and the precision of a study, with "." as decimal separator.
struct StudyResults {
    AnovaTable anova;
    PrecisionSummary precision;
};
StudyResults ComputeResults(const Study& study);

// A full 10 x 10 x 5 study whose results vary around 100.
Study LargestStudy();

} // namespace orbeta::testing
