#pragma once

#include "study/Study.h"

#include <optional>
#include <string>

namespace orbeta {

// The two pages of the capture window.
enum class StudyPage { GeneralInformation, DataCapture };

// The controls of the capture window a failed check sends the focus to.
enum class StudyControl { AnalystCount, DayCount, ReplicateCount, Grid };

// What a failed check tells the user and where the capture window puts the focus afterwards.
struct CheckFailure {
    std::string message;
    StudyPage page;
    StudyControl focus;
};

// Runs the checks a study must pass before it is calculated, saved or printed, in their fixed
// order, and returns the first failure, or nothing when the study passed. The method name and
// the date are not examined; a cell holding blanks is not empty; whether a cell holds a number
// is left to whoever reads it. Throws Error("'<text>' is not a valid integer value") when a
// count reached by the checks is not a whole number. Changes nothing.
std::optional<CheckFailure> ValidateStudy(const Study& study);

} // namespace orbeta
