#include "MachineReport.h"

#include "engine/UTs.h"

#include <algorithm>
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

// A component with its interval, then its bounds.
Json ComponentJson(const VarianceComponent& component, const SdInterval& interval,
                   std::initializer_list<std::pair<const char*, Json>> bounds) {
    Json json = ComponentJson(component, 3 + bounds.size());
    json["df"] = interval.df;
    json["sd_low"] = interval.low;
    json["sd_high"] = interval.high;
    for (const auto& [key, value] : bounds) {
        json[key] = value;
    }
    return json;
}

// An analyst's mean names no day.
Json GrubbsJson(const GrubbsValue& value) {
    Json json = Object(
        {{"g", value.g}, {"verdict", VerdictText(value.verdict)}, {"analyst", value.day.analyst}});
    if (value.day.day > 0) {
        json["day"] = value.day.day;
    }
    return json;
}

// Each source of variation: its figures, then, for a tested source, the exact probability of its
// F ratio.
Json AnovaJson(const AnovaTable& anova, const ExtendedAnalysis& extended) {
    constexpr std::array<const char*, kAnovaSources> sources = {"analyst", "day", "error"};
    constexpr std::array<const char*, 5> figures = {"df", "ss", "ms", "f", "p"};
    const std::array<double, 2> exact = {extended.pAnalystExact, extended.pDayExact};
    Json json = Object({}, kAnovaSources);
    for (const AnovaRow& row : AnovaRows(anova)) {
        const auto source = static_cast<std::size_t>(row.source);
        Json figuresJson = Object({}, row.Figures().size() + 1);
        for (std::size_t figure = 0; figure < row.Figures().size(); ++figure) {
            figuresJson[figures[figure]] = row.Figures()[figure];
        }
        if (row.Tested()) {
            figuresJson["p_exact"] = exact[source];
        }
        json[sources[source]] = std::move(figuresJson);
    }
    return json;
}

Json PrecisionJson(const PrecisionSummary& precision) {
    Json json = Object({{"mean", precision.mean}}, kPrecisionMeasures);
    for (const PrecisionMeasure& measure : PrecisionMeasures(precision)) {
        json[measure.key] = measure.value;
    }
    return json;
}

Json ComponentsJson(const ExtendedAnalysis& extended) {
    Json json = Object({}, 4);
    const RepeatabilityBounds& repeatability = extended.repeatabilityBounds;
    const IntermediateBounds& intermediate = extended.intermediateBounds;
    json["repeatability"] = ComponentJson(extended.repeatability, extended.repeatabilityInterval,
                                          {{"sd_upper", repeatability.sdUpper},
                                           {"rsd", repeatability.rsd},
                                           {"rsd_upper", repeatability.rsdUpper}});
    json["day"] = ComponentJson(extended.day);
    json["analyst"] = ComponentJson(extended.analyst);
    json["intermediate"] = ComponentJson(extended.intermediate, extended.intermediateInterval,
                                         {{"sd_upper", intermediate.sdUpper},
                                          {"rsd", intermediate.rsd},
                                          {"mls_variance_low", intermediate.mlsVarianceLow},
                                          {"mls_variance_high", intermediate.mlsVarianceHigh},
                                          {"mls_sd_upper", intermediate.mlsSdUpper},
                                          {"rsd_upper", intermediate.rsdUpper}});
    return json;
}

// The verdicts of the limits given; nothing when none was.
std::optional<Json> AcceptanceJson(const AcceptanceResult& acceptance) {
    if (!acceptance.repeatability && !acceptance.intermediate) {
        return std::nullopt;
    }
    Json json = Object({}, 2);
    for (const auto& [key, figures] : {std::pair{"repeatability", acceptance.repeatability},
                                       std::pair{"intermediate", acceptance.intermediate}}) {
        if (figures) {
            json[key] = Object({{"limit", figures->limit},
                                {"rsd", figures->rsd},
                                {"rsd_upper", figures->rsdUpper},
                                {"verdict", AcceptanceText(figures->verdict)}});
        }
    }
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
                       8);
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
    Json grubbs = Object({}, 2);
    if (extended.grubbs.analysts) {
        grubbs["analysts"] = GrubbsTestJson(*extended.grubbs.analysts);
    }
    if (extended.grubbs.extremeDays) {
        grubbs["days"] = GrubbsTestJson(*extended.grubbs.extremeDays);
    }
    json["grubbs"] = std::move(grubbs);
    json["flags"] = Object({{"few_analysts", extended.flags.fewAnalysts},
                            {"intervals_disagree", extended.flags.intervalsDisagree}});
    if (auto acceptance = AcceptanceJson(figures.acceptance)) {
        json["acceptance"] = std::move(*acceptance);
    }
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

// The columns of the CSV: where each figure stands in a report, in the report's order. Named here
// rather than read off a report, so that a member a report may lack (an acceptance without its
// limit, everything of a file that failed) keeps its column, empty, and shifts none.
constexpr std::pair<std::string_view, std::string_view> kColumnGroups[] = {
    {"/", "file method date analysts days replicates"},
    {"/anova/analyst/", "df ss ms f p p_exact"},
    {"/anova/day/", "df ss ms f p p_exact"},
    {"/anova/error/", "df ss ms"},
    {"/conclusions/", "analyst_effect day_effect exact_conclusions_differ"},
    {"/precision/", "mean cv_total repeatability cv_repeatability repro_day_analyst cv_day_analyst "
                    "repro_inter_analyst cv_inter_analyst max_relative_range"},
    {"/components/repeatability/", "variance sd cv percent df sd_low sd_high sd_upper rsd "
                                   "rsd_upper"},
    {"/components/day/", "variance sd cv percent"},
    {"/components/analyst/", "variance sd cv percent"},
    {"/components/intermediate/",
     "variance sd cv percent df sd_low sd_high sd_upper rsd mls_variance_low mls_variance_high "
     "mls_sd_upper rsd_upper"},
    {"/cochran/", "c critical_5 critical_1 verdict analyst day"},
    {"/grubbs/analysts/", "critical_5 critical_1"},
    {"/grubbs/analysts/high/", "g verdict analyst"},
    {"/grubbs/analysts/low/", "g verdict analyst"},
    {"/grubbs/days/", "critical_5 critical_1"},
    {"/grubbs/days/high/", "g verdict analyst day"},
    {"/grubbs/days/low/", "g verdict analyst day"},
    {"/flags/", "few_analysts intervals_disagree"},
    {"/acceptance/repeatability/", "limit rsd rsd_upper verdict"},
    {"/acceptance/intermediate/", "limit rsd rsd_upper verdict"},
    {"/", "error"},
};

struct Column {
    std::string name; // the keys joined with "_"
    Json::json_pointer place;
};

const std::vector<Column>& Columns() {
    static const std::vector<Column> columns = [] {
        std::vector<Column> all;
        for (const auto& [group, keys] : kColumnGroups) {
            for (std::size_t start = 0; start < keys.size();) {
                const std::size_t end = std::min(keys.find(' ', start), keys.size());
                std::string path =
                    std::string(group) + std::string(keys.substr(start, end - start));
                std::string name = path.substr(1);
                std::replace(name.begin(), name.end(), '/', '_');
                all.push_back(Column{std::move(name), Json::json_pointer(path)});
                start = end + 1;
            }
        }
        return all;
    }();
    return columns;
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
    for (const Column& column : Columns()) {
        header.push_back(column.name);
    }
    return header;
}

std::vector<std::string> CsvFields(const Json& report) {
    std::vector<std::string> fields;
    fields.reserve(Columns().size());
    for (const Column& column : Columns()) {
        std::string& field = fields.emplace_back();
        if (!report.contains(column.place)) {
            continue;
        }
        const Json& value = report[column.place];
        if (value.is_string()) {
            field = value.get<std::string>();
        } else {
            AppendScalar(field, value);
        }
    }
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
