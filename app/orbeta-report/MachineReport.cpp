#include "MachineReport.h"

#include "engine/UTs.h"

#include <array>
#include <charconv>
#include <string_view>
#include <utility>

namespace orbeta::report {

namespace {

Json ComponentJson(const VarianceComponent& component) {
    return Json{{"variance", component.variance},
                {"sd", component.sd},
                {"cv", component.cv},
                {"percent", component.percent}};
}

Json ComponentJson(const VarianceComponent& component, const SdInterval& interval) {
    Json json = ComponentJson(component);
    json["df"] = interval.df;
    json["sd_low"] = interval.low;
    json["sd_high"] = interval.high;
    return json;
}

Json GrubbsJson(const GrubbsValue& value) {
    return Json{{"g", value.g},
                {"verdict", VerdictText(value.verdict)},
                {"analyst", value.day.analyst},
                {"day", value.day.day}};
}

Json AnovaJson(const AnovaTable& anova, const ExtendedAnalysis& extended) {
    return Json{{"analyst",
                 {{"df", anova.dfAnalyst},
                  {"ss", anova.ssAnalyst},
                  {"ms", anova.msAnalyst},
                  {"f", anova.fAnalyst},
                  {"p", anova.pAnalyst},
                  {"p_exact", extended.pAnalystExact}}},
                {"day",
                 {{"df", anova.dfDay},
                  {"ss", anova.ssDay},
                  {"ms", anova.msDay},
                  {"f", anova.fDay},
                  {"p", anova.pDay},
                  {"p_exact", extended.pDayExact}}},
                {"error", {{"df", anova.dfError}, {"ss", anova.ssError}, {"ms", anova.msError}}}};
}

Json PrecisionJson(const PrecisionSummary& precision) {
    return Json{{"mean", precision.mean},
                {"cv_total", precision.cvTotal},
                {"repeatability", precision.repeatability},
                {"cv_repeatability", precision.cvRepeatability},
                {"repro_day_analyst", precision.reproDayAnalyst},
                {"cv_day_analyst", precision.cvDayAnalyst},
                {"repro_inter_analyst", precision.reproInterAnalyst},
                {"cv_inter_analyst", precision.cvInterAnalyst},
                {"max_relative_range", precision.maxRelativeRange}};
}

Json FiguresJson(const std::string& file, const StudyFigures& figures) {
    const ExtendedAnalysis& extended = figures.extended;
    const CochranTest& cochran = extended.cochran;
    return Json{
        {"file", file},
        {"method", figures.study.methodName},
        {"date", figures.study.date},
        {"analysts", figures.analysts},
        {"days", figures.days},
        {"replicates", figures.replicates},
        {"anova", AnovaJson(figures.anova, extended)},
        {"conclusions",
         {{"analyst_effect", DeclaresEffect(figures.anova.pAnalyst)},
          {"day_effect", DeclaresEffect(figures.anova.pDay)},
          {"exact_conclusions_differ", extended.exactConclusionsDiffer}}},
        {"precision", PrecisionJson(figures.precision)},
        {"components",
         {{"repeatability", ComponentJson(extended.repeatability, extended.repeatabilityInterval)},
          {"day", ComponentJson(extended.day)},
          {"analyst", ComponentJson(extended.analyst)},
          {"intermediate", ComponentJson(extended.intermediate, extended.intermediateInterval)}}},
        {"cochran",
         {{"c", cochran.c},
          {"critical_5", cochran.critical5},
          {"critical_1", cochran.critical1},
          {"verdict", VerdictText(cochran.verdict)},
          {"analyst", cochran.largest.analyst},
          {"day", cochran.largest.day}}},
        {"grubbs",
         {{"critical_5", extended.grubbs.critical5},
          {"critical_1", extended.grubbs.critical1},
          {"high", GrubbsJson(extended.grubbs.high)},
          {"low", GrubbsJson(extended.grubbs.low)}}},
    };
}

// A number, string, truth value or null as JSON writes it. A double takes the shortest text that
// reads back as the same double, which the library's own writer does not always find.
std::string ScalarText(const Json& value) {
    if (value.is_number_float()) {
        std::array<char, 32> text{};
        char* end = std::to_chars(text.data(), text.data() + text.size(), value.get<double>()).ptr;
        return std::string(text.data(), end);
    }
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void AppendIndent(std::string& text, int depth) {
    text.append(static_cast<std::size_t>(depth) * 2, ' ');
}

void AppendJson(std::string& text, const Json& value, int depth) {
    if (!value.is_structured() || value.empty()) {
        text += value.is_structured() ? value.dump() : ScalarText(value);
        return;
    }
    text += value.is_object() ? '{' : '[';
    bool first = true;
    for (const auto& [key, item] : value.items()) {
        text += first ? "\n" : ",\n";
        first = false;
        AppendIndent(text, depth + 1);
        if (value.is_object()) {
            text += ScalarText(key);
            text += ": ";
        }
        AppendJson(text, item, depth + 1);
    }
    text += '\n';
    AppendIndent(text, depth);
    text += value.is_object() ? '}' : ']';
}

// The leaves of a report, named by their keys joined with "_", in the report's order.
void Flatten(const Json& value, const std::string& name,
             std::vector<std::pair<std::string, std::string>>& cells) {
    if (value.is_object()) {
        for (const auto& [key, item] : value.items()) {
            Flatten(item, name.empty() ? key : name + "_" + key, cells);
        }
        return;
    }
    cells.emplace_back(name, value.is_string() ? value.get<std::string>() : ScalarText(value));
}

std::vector<std::pair<std::string, std::string>> Flattened(const Json& report) {
    std::vector<std::pair<std::string, std::string>> cells;
    Flatten(report, "", cells);
    return cells;
}

void AppendCsvField(std::string& line, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        line += field;
        return;
    }
    line += '"';
    for (const char c : field) {
        line += c;
        if (c == '"') {
            line += '"';
        }
    }
    line += '"';
}

void AppendCsvRow(std::string& text, const std::vector<std::string>& fields) {
    for (std::size_t index = 0; index < fields.size(); ++index) {
        if (index > 0) {
            text += ',';
        }
        AppendCsvField(text, fields[index]);
    }
    text += "\r\n";
}

} // namespace

Json JsonReport(const FileOutcome& outcome) {
    if (!outcome.figures) {
        return Json{{"file", outcome.file}, {"error", outcome.error}};
    }
    return FiguresJson(outcome.file, *outcome.figures);
}

std::string JsonText(const Json& document) {
    std::string text;
    AppendJson(text, document, 0);
    return text;
}

std::string CsvText(const std::vector<Json>& reports) {
    // The columns are those of any reported file; a report's figures come in the same order.
    std::vector<std::string> header;
    for (auto& [name, value] : Flattened(FiguresJson("", StudyFigures{}))) {
        header.push_back(std::move(name));
    }
    header.emplace_back("error");
    std::string text;
    AppendCsvRow(text, header);
    for (const Json& report : reports) {
        std::vector<std::string> row;
        row.reserve(header.size());
        if (report.contains("error")) {
            row.resize(header.size());
            row.front() = report["file"].get<std::string>();
            row.back() = report["error"].get<std::string>();
        } else {
            for (auto& [name, value] : Flattened(report)) {
                row.push_back(std::move(value));
            }
            row.emplace_back();
        }
        AppendCsvRow(text, row);
    }
    return text;
}

} // namespace orbeta::report
