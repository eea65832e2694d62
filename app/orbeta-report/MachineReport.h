#pragma once

// The reports of orbeta-report that programs read: JSON and CSV.

#include "engine/ExtendedAnalysis.h"
#include "engine/Ucalculo.h"
#include "files/StudyFile.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace orbeta::report {

// Everything computed for one study file.
struct StudyFigures {
    StudyFileContents contents;
    std::string fingerprint; // Sha256Hex of the file's bytes as read
    AnovaTable anova;
    PrecisionSummary precision;
    ExtendedAnalysis extended;
    AcceptanceResult acceptance;
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

// Appends the text of the object of one file, standing `depth` levels deep as AppendJson writes
// it: its fields, counts and every figure as numbers, or only "file" and "error" for a file that
// failed. Written as the figures are walked, since a value built first costs several times more.
void AppendJsonReport(std::string& text, const FileOutcome& outcome, int depth);

// Appends the text of a report, or of any JSON value, that stands `depth` levels deep, the members
// of objects indented by two spaces a level: numbers in the shortest form that reads back as the
// same double, strings in UTF-8 with any byte that is not UTF-8 (a file name's) replaced. Keys are
// plain identifiers.
void AppendJson(std::string& text, const Json& value, int depth);

// CSV by RFC 4180. The header names each figure a report can hold by its JSON keys joined with
// "_", in the report's order, then "error".
std::vector<std::string> CsvHeader();

// Appends the row of one file under CsvHeader(), from the same walk of the figures as its JSON:
// numbers and truth values written as in JSON, texts as given (the file's name byte for byte),
// a field empty where the report lacks the member (the acceptance without a limit, the figures
// of a file that failed, the error of one that was reported).
void AppendCsvReport(std::string& text, const FileOutcome& outcome);

// Appends one row, ending in CR LF, its fields quoted where they need it.
void AppendCsvRow(std::string& text, const std::vector<std::string>& fields);

} // namespace orbeta::report
