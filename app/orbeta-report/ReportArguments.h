#pragma once

// orbeta-report's command line: its options, their values and the files, as one record.

#include "engine/ExtendedAnalysis.h"
#include "engine/StudyPlanner.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orbeta::report {

// "-" as a file name: the study on standard input.
inline constexpr std::string_view kStandardInput = "-";

// The report's form.
enum class Format { Text, Json, Csv };

// What the command line asks for.
struct Arguments {
    bool help = false;
    bool version = false;
    Format format = Format::Text;
    AcceptanceLimits limits;
    std::vector<std::string> files;
    bool plan = false;
    bool verify = false;
    std::optional<std::string> verifyPdf; // --pdf FILE, with --verify
    // The planner's values as given, read once all are known; the limits are read above.
    PlanTexts planTexts{{}, {}, {}, {}, {}, {}, "90"};
    std::vector<std::string_view> planOptionsGiven;
    std::optional<PlanInputs> planInputs; // read, with --plan
};

// A misuse of the command line, with the line that names it.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The options and the files of the arguments that follow the program's name. Throws
// UsageError, and nothing else, on any misuse: an unknown option, a value missing or bad (named
// by its option), no file, or the planner's options without --plan. "-" alone is a file name,
// standard input; an option's value is never taken from the option that follows it.
Arguments ParseArguments(const std::vector<std::string_view>& given);

} // namespace orbeta::report
