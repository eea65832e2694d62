#pragma once

// What the tests of the qualification share: where and when a report says it ran, and a study of
// four figures, one of which fails, checked by hand.

#include "qualification/Report.h"

#include <string_view>

namespace orbeta::testing {

inline qualification::RunContext FixedRunContext() {
    return {"ORBETA 3.1",
            "Release, revisión abc1234",
            "6.4.2",
            "1.74",
            "GCC 12.2.0",
            "Debian GNU/Linux 12",
            "lab-03",
            "ana",
            "2026-12-09 10:30:00 CET"};
}

inline constexpr std::string_view kHandResults[] = {"10.4", "10.3", "10.6", "10.2",
                                                    "10.5", "10.9", "10.7", "10.8"};
// The error's mean square 0.0425 and the mean 10.55 by hand; its df is 4, not 5.
inline constexpr qualification::ExpectedFigure kHandFigures[] = {
    {"anova.error.ms", "0.0425", qualification::Comparison::Lre, 9},
    {"precision.mean", "10.55", qualification::Comparison::SixDigits, 0},
    {"acceptance.repeatability.verdict", "Cumple", qualification::Comparison::SameText, 0},
    {"anova.error.df", "5", qualification::Comparison::Lre, 9},
};
inline constexpr qualification::ReferenceStudy kHandStudy{
    "Prueba", "a mano", 2, 2, 2, kHandResults, "5", "", kHandFigures, false};

} // namespace orbeta::testing
