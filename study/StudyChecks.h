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
// is left to whoever reads it. A cell marking its result missing is not empty; the last check is
// whether the study keeps what its analysis needs (CheckMissingResults). Throws Error("'<text>' is
// not a valid integer value") when a count reached by the checks is not a whole number. Changes
// nothing.
std::optional<CheckFailure> ValidateStudy(const Study& study);

// The first steps of ValidateStudy: the three counts, each present and within its range, in
// their order. The first failure, or nothing. Throws Error("'<text>' is not a valid integer
// value") for a count reached that is not a whole number.
std::optional<CheckFailure> CheckCounts(const std::string& analystCount,
                                        const std::string& dayCount,
                                        const std::string& replicateCount);

// The check of one count field as the user leaves it: the message of the first failing step
// (empty, not a whole number, out of range), or nothing when the text passes. `field` is one of
// the three count controls.
std::optional<std::string> CheckCountField(StudyControl field, const std::string& text);

// Whether the grid is laid out for the counts: rows compared first, then columns. Throws Error
// for a count that is not a whole number.
std::optional<CheckFailure> CheckGridLayout(const Study& study);

// The check of the data cells as the user leaves the grid: walking the grid as it is laid out,
// analyst by analyst and each from the top, the first cell that is empty or that ParseResult
// refuses decides the message; nothing when every cell holds a number or marks its result
// missing (IsMissingResult).
std::optional<std::string> CheckGridData(const Study& study, char decimalSeparator);

// Whether a design keeps what its analysis needs: a result of every analyst, and a degree of
// freedom for the day (some analyst with two days that hold results) and for the error (some
// day with two results); a day may lose all its results. The message naming the first analyst,
// or the source, that falls short, or nothing.
std::optional<std::string> CheckMissingResults(const Design& design);

} // namespace orbeta
