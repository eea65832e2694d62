#pragma once

// The study planner's table and recommendation as orbeta-report prints them.

#include "engine/StudyPlanner.h"

#include <string>

namespace orbeta::report {

// Text: the table's headings and rows in aligned columns, numbers as FormatResult writes them
// with the separator given, then a blank line and the recommendation.
std::string PlanText(const StudyPlan& plan, char decimalSeparator);

// JSON: an object with "inputs", "recommendation" (the design, whether it reaches the wanted
// probability, and the sentence) and "designs", a list of one object a design under the keys
// of the plan's columns. Numbers in full, with ".".
std::string PlanJson(const StudyPlan& plan);

// CSV by RFC 4180: a header of the columns' keys and "recommended", then a row a design, the
// recommended one marked true.
std::string PlanCsv(const StudyPlan& plan);

} // namespace orbeta::report
