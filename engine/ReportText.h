#pragma once

#include "engine/Ucalculo.h"
#include "study/Study.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orbeta {

// The conclusion of each F test, by the 0.05 rule.
std::string AnalystConclusion(double pAnalyst);
std::string DayConclusion(double pDay);

// The report of a study, section by section, so that a window can show each part as soon as
// its figures exist. Counts, cells and texts are taken as they stand in the study; numbers are
// written by FormatResult.

// The study's fields and every result, analyst by analyst, each under the grid's row header.
// Throws Error when a count is not a whole number.
std::vector<std::string> ReportStudyLines(const Study& study);

// The analysis of variance source by source, then the two conclusions.
std::vector<std::string> ReportAnovaLines(const AnovaTable& anova, char decimalSeparator);

// Which of the two precision texts: the precision window's, which opens with the mean, or the
// report's.
enum class PrecisionText { Window, Report };

// The precision measures under their title, the method name first.
std::vector<std::string> PrecisionLines(std::string_view methodName,
                                        const PrecisionSummary& precision, char decimalSeparator,
                                        PrecisionText text);

// The whole report of a study that passed the study checks, computed section by section: the
// study's lines go to `append` first; then ComputeAnova fills `anova` and its section follows;
// then ComputePrecision fills `precision` and its section follows. An Error from a computation
// ends it there, the sections before it already handed over.
void ComputeReport(const Study& study, char decimalSeparator, StatisticsEngine& engine,
                   AnovaTable& anova, PrecisionSummary& precision,
                   const std::function<void(const std::vector<std::string>&)>& append);

} // namespace orbeta
