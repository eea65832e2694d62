#pragma once

#include "engine/ExtendedAnalysis.h"

#include <cstddef>
#include <string>
#include <vector>

namespace orbeta {

// What `--record STUDY OUT [--limit-repeatability X] [--limit-intermediate Y] [--unit U]` asks
// for: the validation record of a study file written to a PDF file, with no window shown.
struct RecordRequest {
    std::string studyFile;
    std::string outputFile;
    AcceptanceLimits limits; // percent, written with "."
    std::string unit;        // at most kMaxUnitCharacters characters
};

// The longest unit a record takes, in characters.
inline constexpr std::size_t kMaxUnitCharacters = 20;

// What the command line asks of the program. It reads one study file name, `--help` or
// `--version` alone, `--record` with what follows it, or `--verify [--pdf FILE]`, nothing else;
// "--" ends the options, so a file whose name starts with "-" can be named after it.
struct CommandLine {
    enum class Action { Run, Help, Version, Record, Verify, WrongUsage };

    Action action = Action::Run;
    // Run: the study file to open at start, empty for none.
    std::string studyFile;
    // Help, Version and WrongUsage: the one line to print (WrongUsage on standard error).
    std::string line;
    RecordRequest record;
    // Verify: the PDF file of the report, empty for the text alone.
    std::string verifyPdf;
};

// Reads the arguments that follow the program's name; `version` is the program's version.
CommandLine ReadCommandLine(const std::vector<std::string>& arguments, const std::string& version);

} // namespace orbeta
