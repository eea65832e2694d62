#pragma once

// The check of the qualification: each reference study computed by the program, each of its
// figures held against the expected one by the figure's pass rule.

#include "engine/ExtendedAnalysis.h"
#include "qualification/ReferenceStudies.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orbeta::qualification {

// Every figure the program gives for a study, from its numbers to the verdicts.
// The one place the check computes a study, as the program's commands do. Throws Error as the
// engine does.
StudyAnalysis FiguresOfStudy(const StudyNumbers& numbers, const AcceptanceLimits& limits);

// A figure as the program gives it: a number, or a text (a verdict, "sí" or "no").
struct ObtainedFigure {
    std::string name;
    double value = 0;
    std::string text; // empty for a number
};

// Every figure of a study under the names of ExpectedFigure: the walk of the extended figures
// without those the study cannot give (WithoutAbsentFigures; its keys joined by "."; truth values
// as "sí" or "no"), then the mean and the precision measures.
std::vector<ObtainedFigure> ObtainedFigures(const StudyAnalysis& figures);

// NIST's log relative error, the number of significant digits in which `obtained` agrees with
// `expected`: -log10(|obtained - expected| / |expected|), or -log10(|obtained|) when expected is
// 0; between 0 and `digits`, the digits the expected value is known to.
double LogRelativeError(double obtained, double expected, int digits);

// The digits every expected number is known to: certified to 15 by NIST, exact for our own.
inline constexpr int kKnownDigits = 15;

// One figure checked.
struct FigureCheck {
    std::string name;
    std::string expected;      // "—" for a figure the study does not expect
    std::string obtained;      // as the program gives it; "—" when it gives none
    std::optional<double> lre; // for Comparison::Lre
    std::string rule;          // e.g. "LRE ≥ 9"
    bool passed = false;
};

// One study checked: its figures, or the message of the program's failure to compute it.
struct StudyCheck {
    const ReferenceStudy* study = nullptr;
    std::vector<FigureCheck> figures;
    std::string error;

    int Passed() const;
};

// Computes the study from its texts (the results by ParseResult, a result marked missing by
// IsMissingResult, the deviations from the first result held by ResultDifference) through
// FiguresOfStudy and checks each expected figure; of a study that expects every figure, each
// figure the program gives beyond them fails by the rule «no esperada».
StudyCheck CheckStudy(const ReferenceStudy& study);

} // namespace orbeta::qualification
