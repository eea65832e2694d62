#include "ReportArguments.h"

#include "engine/Acceptance.h"
#include "study/Error.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <iterator>
#include <limits>
#include <system_error>
#include <variant>

namespace orbeta::report {

namespace {

void SetFormat(Arguments& arguments, std::string_view name) {
    if (name == "text") {
        arguments.format = Format::Text;
    } else if (name == "json") {
        arguments.format = Format::Json;
    } else if (name == "csv") {
        arguments.format = Format::Csv;
    } else {
        throw UsageError("formato desconocido: " + std::string(name));
    }
}

// A limit written with "." whatever the locale, the whole value a number above zero; a bad one is
// a misuse named by its option.
double LimitNamed(std::string_view option, std::string_view text, LimitedMeasure measure) {
    double value = std::numeric_limits<double>::quiet_NaN();
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failure != std::errc() || end != text.data() + text.size()) {
        value = std::numeric_limits<double>::quiet_NaN();
    }
    try {
        return CheckedLimit(value, measure);
    } catch (const Error& error) {
        throw UsageError(std::string(option) + ": " + error.what());
    }
}

constexpr std::string_view kLimitRepeatabilityOption = "--limit-repeatability";
constexpr std::string_view kLimitIntermediateOption = "--limit-intermediate";
constexpr std::string_view kMeanOption = "--mean";
constexpr std::string_view kSdRepeatabilityOption = "--sd-repeatability";
constexpr std::string_view kSdDayOption = "--sd-day";
constexpr std::string_view kSdAnalystOption = "--sd-analyst";
constexpr std::string_view kProbabilityOption = "--probability";

// A value of the planner's, kept as written until all are known.
template <std::string PlanTexts::*field, const std::string_view& option>
void PlanValue(Arguments& arguments, std::string_view value) {
    arguments.planTexts.*field = value;
    arguments.planOptionsGiven.push_back(option);
}

// An option of the command line: its name, whether a value follows it (as the next argument or
// after "="), and what it sets.
struct Option {
    std::string_view name;
    bool takesValue;
    void (*apply)(Arguments& arguments, std::string_view value);
};

constexpr Option kOptions[] = {
    {"--help", false, [](Arguments& arguments, std::string_view) { arguments.help = true; }},
    {"-h", false, [](Arguments& arguments, std::string_view) { arguments.help = true; }},
    {"--version", false, [](Arguments& arguments, std::string_view) { arguments.version = true; }},
    {"--format", true, SetFormat},
    {kLimitRepeatabilityOption, true,
     [](Arguments& arguments, std::string_view value) {
         arguments.limits.repeatability =
             LimitNamed(kLimitRepeatabilityOption, value, LimitedMeasure::Repeatability);
         arguments.planTexts.limitRepeatability = value;
     }},
    {kLimitIntermediateOption, true,
     [](Arguments& arguments, std::string_view value) {
         arguments.limits.intermediate =
             LimitNamed(kLimitIntermediateOption, value, LimitedMeasure::Intermediate);
         arguments.planTexts.limitIntermediate = value;
     }},
    {"--plan", false, [](Arguments& arguments, std::string_view) { arguments.plan = true; }},
    {"--verify", false, [](Arguments& arguments, std::string_view) { arguments.verify = true; }},
    {"--pdf", true,
     [](Arguments& arguments, std::string_view value) {
         if (value.empty()) {
             throw UsageError("falta el valor de --pdf");
         }
         arguments.verifyPdf = std::string(value);
     }},
    {kMeanOption, true, PlanValue<&PlanTexts::mean, kMeanOption>},
    {kSdRepeatabilityOption, true, PlanValue<&PlanTexts::sdRepeatability, kSdRepeatabilityOption>},
    {kSdDayOption, true, PlanValue<&PlanTexts::sdDay, kSdDayOption>},
    {kSdAnalystOption, true, PlanValue<&PlanTexts::sdAnalyst, kSdAnalystOption>},
    {kProbabilityOption, true, PlanValue<&PlanTexts::probability, kProbabilityOption>},
};

// The planner's options in the order of its fields, for the message of a bad value.
constexpr std::string_view kPlanOptions[] = {
    kMeanOption,       kSdRepeatabilityOption,    kSdDayOption,
    kSdAnalystOption,  kLimitRepeatabilityOption, kLimitIntermediateOption,
    kProbabilityOption};

// The planner's inputs; throws UsageError naming the option whose value is missing or bad, or
// the option that does not go without --plan.
PlanInputs PlanInputsOf(const Arguments& arguments) {
    if (!arguments.plan) {
        throw UsageError(std::string(arguments.planOptionsGiven.front()) + " solo va con --plan");
    }
    if (!arguments.files.empty()) {
        throw UsageError("con --plan no se dan ARCHIVOs: " + arguments.files.front());
    }
    for (const std::string_view required :
         {kMeanOption, kSdRepeatabilityOption, kSdDayOption, kSdAnalystOption}) {
        if (std::find(arguments.planOptionsGiven.begin(), arguments.planOptionsGiven.end(),
                      required) == arguments.planOptionsGiven.end()) {
            throw UsageError("falta " + std::string(required));
        }
    }
    auto read = ReadPlanInputs(arguments.planTexts, '.');
    if (const auto* failure = std::get_if<PlanInputFailure>(&read)) {
        throw UsageError(std::string(kPlanOptions[static_cast<std::size_t>(failure->field)]) +
                         ": " + failure->message);
    }
    return std::get<PlanInputs>(read);
}

// Whether an argument is an option rather than a value: a value may be "-" or a negative number.
bool IsOption(std::string_view argument) {
    return argument.size() > 1 && argument.front() == '-' &&
           std::string_view("0123456789.").find(argument[1]) == std::string_view::npos;
}

} // namespace

Arguments ParseArguments(const std::vector<std::string_view>& given) {
    Arguments arguments;
    for (std::size_t index = 0; index < given.size(); ++index) {
        const std::string_view argument = given[index];
        if (argument == kStandardInput || !argument.starts_with('-')) {
            arguments.files.emplace_back(argument);
            continue;
        }
        const std::string_view name = argument.substr(0, argument.find('='));
        const auto option = std::find_if(std::begin(kOptions), std::end(kOptions),
                                         [name](const Option& row) { return row.name == name; });
        if (option == std::end(kOptions) || (!option->takesValue && name != argument)) {
            throw UsageError("opción desconocida: " + std::string(argument));
        }
        std::string_view value;
        if (name != argument) {
            value = argument.substr(name.size() + 1);
        } else if (option->takesValue) {
            if (index + 1 == given.size() || IsOption(given[index + 1])) {
                throw UsageError("falta el valor de " + std::string(name));
            }
            value = given[++index];
        }
        option->apply(arguments, value);
    }
    const bool reportWanted = !arguments.help && !arguments.version;
    if (arguments.verifyPdf && !arguments.verify) {
        throw UsageError("--pdf solo va con --verify");
    }
    if (arguments.verify && reportWanted) {
        // Beside it, only --pdf and its file, in one argument or two.
        const auto pdfGlued = std::count_if(
            given.begin(), given.end(), [](std::string_view a) { return a.starts_with("--pdf="); });
        const std::size_t pdfArguments = !arguments.verifyPdf ? 0 : pdfGlued > 0 ? 1 : 2;
        if (given.size() != 1 + pdfArguments) {
            throw UsageError("--verify va solo, o con --pdf ARCHIVO");
        }
    } else if (arguments.plan || !arguments.planOptionsGiven.empty()) {
        if (reportWanted) {
            arguments.planInputs = PlanInputsOf(arguments);
        }
    } else if (reportWanted && arguments.files.empty()) {
        throw UsageError("falta el ARCHIVO de estudio");
    }
    return arguments;
}

} // namespace orbeta::report
