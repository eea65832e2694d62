#pragma once

// The reports of orbeta-report that programs read: JSON and CSV.

#include "engine/ExtendedAnalysis.h"
#include "engine/Ucalculo.h"
#include "study/Study.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace orbeta::report {

// Everything computed for one study file.
struct StudyFigures {
    Study study;
    int analysts = 0;
    int days = 0;
    int replicates = 0;
    AnovaTable anova;
    PrecisionSummary precision;
    ExtendedAnalysis extended;
};

// One file named on the command line: its figures, or the message the program shows for its
// failure.
struct FileOutcome {
    std::string file;
    std::optional<StudyFigures> figures;
    std::string error;
};

// Keys keep the order they are written in, so that the document reads in the report's order.
using Json = nlohmann::ordered_json;

// The object of one file: its fields, counts and every figure as numbers, or only "file" and
// "error" for a file that failed.
Json JsonReport(const FileOutcome& outcome);

// The text of a JSON document, indented by two spaces: numbers in the shortest form that reads
// back as the same double, strings in UTF-8 with any byte that is not UTF-8 (a file name's)
// replaced.
std::string JsonText(const Json& document);

// The reports as CSV by RFC 4180: a header row naming each figure by its JSON keys joined with
// "_", then one row per report, numbers and truth values written as in JSON, and an "error" column
// last, empty for a file that was reported. Rows end in CR LF.
std::string CsvText(const std::vector<Json>& reports);

} // namespace orbeta::report
