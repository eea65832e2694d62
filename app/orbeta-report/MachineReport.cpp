#include "MachineReport.h"

#include "engine/ExtendedFigures.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <variant>

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

Json PrecisionJson(const PrecisionSummary& precision) {
    Json json = Object({{"mean", precision.mean}}, kPrecisionMeasures);
    for (const PrecisionMeasure& measure : PrecisionMeasures(precision)) {
        json[measure.key] = measure.value;
    }
    return json;
}

Json ValueJson(const FigureValue& value) {
    return std::visit([](const auto& held) { return Json(held); }, value);
}

// The object at a group's path, made where it is missing with room for `members` members (for
// an object on the way, the few groups it gathers), since an object that outgrows its room
// copies every member it holds.
Json& GroupJson(Json& json, std::string_view path, std::size_t members) {
    constexpr std::size_t kGroupsGathered = 4;
    Json* object = &json;
    for (std::size_t start = 0; start < path.size();) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        std::string key(path.substr(start, end - start));
        const auto found = object->find(key);
        if (found != object->end()) {
            object = &*found;
        } else {
            object = &((*object)[std::move(key)] =
                           Object({}, end == path.size() ? members : kGroupsGathered));
        }
        start = end + 1;
    }
    return *object;
}

// A JSON text as it is written, held in the library's binary value, which AppendJson and the CSV
// write out as its bytes.
Json WrittenJson(std::string_view text) {
    return Json::binary(Json::binary_t::container_type(text.begin(), text.end()));
}

// The results a study lacks: their count, each cell as [analyst, day, replicate], and which
// figures the study cannot give (those then hold zeros).
Json MissingJson(const Design& design, const AbsentFigures& absent) {
    // Written out at once, as a list of many small lists costs far more built value by value.
    std::string cells = "[";
    design.ForEachCell([&](const DesignCell& cell) {
        if (!design.HoldsResult(cell)) {
            cells += cells.size() > 1 ? ",[" : "[";
            for (const int position : {cell.analyst, cell.day, cell.replicate}) {
                cells += std::to_string(position);
                cells += ',';
            }
            cells.back() = ']';
        }
    });
    cells += ']';
    Json json = Object({{"count", design.MissingCount()}}, 2);
    json["cells"] = WrittenJson(cells);
    json["absent"] = Object({{"analyst_test", absent.analystTest},
                             {"mls", absent.mls},
                             {"cochran", absent.cochran},
                             {"grubbs_analysts", absent.grubbsAnalysts},
                             {"grubbs_days", absent.grubbsDays}});
    return json;
}

Json FiguresJson(const std::string& file, const StudyFigures& figures) {
    const StudyFileContents& contents = figures.contents;
    const ExtendedAnalysis& extended = figures.extended;
    Json json = Object({{"file", file},
                        {"fingerprint", figures.fingerprint},
                        {"method", contents.methodName},
                        {"date", contents.date},
                        {"analysts", contents.analysts},
                        {"days", contents.days},
                        {"replicates", contents.replicates}},
                       9);
    if (extended.missingResults > 0) {
        json["missing"] = MissingJson(contents.GetDesign(), extended.absent);
    }
    json["anova"] = Object({}, kAnovaSources);
    json["conclusions"] = Object({}, 3);
    // The precision measures stand among the extended figures, after the conclusions.
    json["precision"] = PrecisionJson(figures.precision);
    for (const FigureGroup& group :
         ExtendedFigureGroups(figures.anova, figures.extended, figures.acceptance)) {
        Json& object = GroupJson(json, group.key, group.figures.size());
        for (const Figure& figure : group.figures) {
            object[figure.key] = ValueJson(figure.value);
        }
    }
    if (extended.missingResults > 0) {
        json["anova"]["analyst"]["df_denominator"] = extended.coefficients.dfSynthesized;
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
    case Json::value_t::binary: {
        const auto& bytes = value.get_binary();
        text.append(bytes.begin(), bytes.end());
        return;
    }
    default:
        text += value.dump(-1, ' ', false, Json::error_handler_t::replace);
        return;
    }
    text.append(number.data(), end);
}

void AppendIndent(std::string& text, int depth) {
    text.append(static_cast<std::size_t>(depth) * 2, ' ');
}

struct Column {
    std::string name; // the keys joined with "_"
    Json::json_pointer place;
};

// Every leaf of `report` below `path`, in order.
void AddColumns(std::vector<Column>& columns, const Json& report, const std::string& path) {
    for (const auto& [key, value] : report.items()) {
        const std::string place = path + "/" + key;
        if (value.is_object()) {
            AddColumns(columns, value, place);
            continue;
        }
        std::string name = place.substr(1);
        std::replace(name.begin(), name.end(), '/', '_');
        columns.push_back(Column{std::move(name), Json::json_pointer(place)});
    }
}

// The columns of the CSV: every figure of a report that holds all a report can, in its order,
// then the error. Read off such a report rather than off the one at hand, so that a member a
// report may lack (an acceptance without its limit, everything of a file that failed) keeps its
// column, empty, and shifts none.
const std::vector<Column>& Columns() {
    static const std::vector<Column> columns = [] {
        StudyFigures everything;
        everything.acceptance = {AcceptanceFigures{}, AcceptanceFigures{}};
        everything.extended.missingResults = 1;
        // Both Grubbs levels, which a design too small for them lacks; a day named in each.
        everything.extended.grubbs.analysts = GrubbsTest{};
        everything.extended.grubbs.extremeDays = GrubbsTest{};
        everything.extended.grubbs.extremeDays->high.day.day = 1;
        everything.extended.grubbs.extremeDays->low.day.day = 1;
        std::vector<Column> all;
        AddColumns(all, FiguresJson({}, everything), {});
        all.push_back(Column{"error", Json::json_pointer("/error")});
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
    for (const auto& [key, item] : value.get_ref<const Json::object_t&>()) {
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
