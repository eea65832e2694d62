#include "MachineReport.h"

#include "engine/UTs.h"

#include <array>
#include <charconv>
#include <initializer_list>
#include <string_view>
#include <utility>

namespace orbeta::report {

namespace {

// An object of the members given, in their order, with room for `later` members added
// afterwards. Members that are objects themselves are added afterwards, moved in, since a list
// would copy them; and an object that outgrows its room copies every member it holds, as their
// keys cannot move.
Json Object(std::initializer_list<std::pair<const char*, Json>> members, std::size_t later = 0) {
    Json object = Json::object();
    object.get_ref<Json::object_t&>().reserve(members.size() + later);
    for (const auto& [key, value] : members) {
        object[key] = value;
    }
    return object;
}

Json ComponentJson(const VarianceComponent& component, std::size_t later = 0) {
    return Object({{"variance", component.variance},
                   {"sd", component.sd},
                   {"cv", component.cv},
                   {"percent", component.percent}},
                  later);
}

Json ComponentJson(const VarianceComponent& component, const SdInterval& interval) {
    Json json = ComponentJson(component, 3);
    json["df"] = interval.df;
    json["sd_low"] = interval.low;
    json["sd_high"] = interval.high;
    return json;
}

Json GrubbsJson(const GrubbsValue& value) {
    return Object({{"g", value.g},
                   {"verdict", VerdictText(value.verdict)},
                   {"analyst", value.day.analyst},
                   {"day", value.day.day}});
}

// A source of variation: its degrees of freedom, sum and mean of squares, then, for a tested
// source, its F ratio with the program's probability and the exact one.
Json SourceJson(double df, double ss, double ms, std::size_t later = 0) {
    return Object({{"df", df}, {"ss", ss}, {"ms", ms}}, later);
}

Json SourceJson(double df, double ss, double ms, double f, double p, double pExact) {
    Json json = SourceJson(df, ss, ms, 3);
    json["f"] = f;
    json["p"] = p;
    json["p_exact"] = pExact;
    return json;
}

Json AnovaJson(const AnovaTable& anova, const ExtendedAnalysis& extended) {
    Json json = Object({}, 3);
    json["analyst"] = SourceJson(anova.dfAnalyst, anova.ssAnalyst, anova.msAnalyst, anova.fAnalyst,
                                 anova.pAnalyst, extended.pAnalystExact);
    json["day"] = SourceJson(anova.dfDay, anova.ssDay, anova.msDay, anova.fDay, anova.pDay,
                             extended.pDayExact);
    json["error"] = SourceJson(anova.dfError, anova.ssError, anova.msError);
    return json;
}

Json PrecisionJson(const PrecisionSummary& precision) {
    return Object({{"mean", precision.mean},
                   {"cv_total", precision.cvTotal},
                   {"repeatability", precision.repeatability},
                   {"cv_repeatability", precision.cvRepeatability},
                   {"repro_day_analyst", precision.reproDayAnalyst},
                   {"cv_day_analyst", precision.cvDayAnalyst},
                   {"repro_inter_analyst", precision.reproInterAnalyst},
                   {"cv_inter_analyst", precision.cvInterAnalyst},
                   {"max_relative_range", precision.maxRelativeRange}});
}

Json ComponentsJson(const ExtendedAnalysis& extended) {
    Json json = Object({}, 4);
    json["repeatability"] = ComponentJson(extended.repeatability, extended.repeatabilityInterval);
    json["day"] = ComponentJson(extended.day);
    json["analyst"] = ComponentJson(extended.analyst);
    json["intermediate"] = ComponentJson(extended.intermediate, extended.intermediateInterval);
    return json;
}

Json GrubbsTestJson(const GrubbsTest& grubbs) {
    Json json = Object({{"critical_5", grubbs.critical5}, {"critical_1", grubbs.critical1}}, 2);
    json["high"] = GrubbsJson(grubbs.high);
    json["low"] = GrubbsJson(grubbs.low);
    return json;
}

Json FiguresJson(const std::string& file, const StudyFigures& figures) {
    const StudyFileContents& contents = figures.contents;
    const ExtendedAnalysis& extended = figures.extended;
    const CochranTest& cochran = extended.cochran;
    Json json = Object({{"file", file},
                        {"method", contents.methodName},
                        {"date", contents.date},
                        {"analysts", contents.analysts},
                        {"days", contents.days},
                        {"replicates", contents.replicates}},
                       6);
    json["anova"] = AnovaJson(figures.anova, extended);
    json["conclusions"] = Object({{"analyst_effect", DeclaresEffect(figures.anova.pAnalyst)},
                                  {"day_effect", DeclaresEffect(figures.anova.pDay)},
                                  {"exact_conclusions_differ", extended.exactConclusionsDiffer}});
    json["precision"] = PrecisionJson(figures.precision);
    json["components"] = ComponentsJson(extended);
    json["cochran"] = Object({{"c", cochran.c},
                              {"critical_5", cochran.critical5},
                              {"critical_1", cochran.critical1},
                              {"verdict", VerdictText(cochran.verdict)},
                              {"analyst", cochran.largest.analyst},
                              {"day", cochran.largest.day}});
    json["grubbs"] = GrubbsTestJson(extended.grubbs);
    return json;
}

// A value other than an object as JSON writes it. A double takes the shortest text that reads
// back as the same double, which the library's own writer does not always find.
void AppendScalar(std::string& text, const Json& value) {
    std::array<char, 32> number{};
    char* end = number.data();
    switch (value.type()) {
    case Json::value_t::number_float:
        end = std::to_chars(number.data(), number.data() + number.size(), value.get<double>()).ptr;
        break;
    case Json::value_t::number_integer:
        end = std::to_chars(number.data(), number.data() + number.size(), value.get<std::int64_t>())
                  .ptr;
        break;
    case Json::value_t::boolean:
        text += value.get<bool>() ? "true" : "false";
        return;
    default:
        text += value.dump(-1, ' ', false, Json::error_handler_t::replace);
        return;
    }
    text.append(number.data(), end);
}

void AppendIndent(std::string& text, int depth) {
    text.append(static_cast<std::size_t>(depth) * 2, ' ');
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
    std::string cell;
    if (value.is_string()) {
        cell = value.get<std::string>();
    } else {
        AppendScalar(cell, value);
    }
    cells.emplace_back(name, std::move(cell));
}

std::vector<std::pair<std::string, std::string>> Flattened(const Json& report) {
    std::vector<std::pair<std::string, std::string>> cells;
    Flatten(report, "", cells);
    return cells;
}

} // namespace

Json JsonReport(const FileOutcome& outcome) {
    if (!outcome.figures) {
        return Object({{"file", outcome.file}, {"error", outcome.error}});
    }
    return FiguresJson(outcome.file, *outcome.figures);
}

void AppendJson(std::string& text, const Json& value, int depth) {
    if (!value.is_object()) {
        AppendScalar(text, value);
        return;
    }
    text += '{';
    bool first = true;
    for (const auto& [key, item] : value.items()) {
        text += first ? "\n" : ",\n";
        first = false;
        AppendIndent(text, depth + 1);
        text += '"';
        text += key;
        text += "\": ";
        AppendJson(text, item, depth + 1);
    }
    text += '\n';
    AppendIndent(text, depth);
    text += '}';
}

std::vector<std::string> CsvHeader() {
    std::vector<std::string> header;
    for (auto& [name, value] : Flattened(FiguresJson("", StudyFigures{}))) {
        header.push_back(std::move(name));
    }
    header.emplace_back("error");
    return header;
}

std::vector<std::string> CsvFields(const Json& report) {
    std::vector<std::string> fields;
    if (report.contains("error")) {
        fields.resize(CsvHeader().size());
        fields.front() = report["file"].get<std::string>();
        fields.back() = report["error"].get<std::string>();
        return fields;
    }
    for (auto& [name, value] : Flattened(report)) {
        fields.push_back(std::move(value));
    }
    fields.emplace_back();
    return fields;
}

void AppendCsvRow(std::string& text, const std::vector<std::string>& fields) {
    for (std::size_t index = 0; index < fields.size(); ++index) {
        if (index > 0) {
            text += ',';
        }
        const std::string& field = fields[index];
        if (field.find_first_of(",\"\r\n") == std::string::npos) {
            text += field;
            continue;
        }
        text += '"';
        for (const char c : field) {
            text += c;
            if (c == '"') {
                text += '"';
            }
        }
        text += '"';
    }
    text += "\r\n";
}

} // namespace orbeta::report
