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

void AppendIndent(std::string& text, int depth) {
    text.append(static_cast<std::size_t>(depth) * 2, ' ');
}

// A string as JSON writes it, any byte that is not UTF-8 replaced. Plain ASCII, the keys and
// codes and most words, goes straight in.
void AppendString(std::string& text, std::string_view value) {
    const bool plain = std::all_of(value.begin(), value.end(), [](char c) {
        return c >= ' ' && c <= '~' && c != '"' && c != '\\';
    });
    if (!plain) {
        text += Json(value).dump(-1, ' ', false, Json::error_handler_t::replace);
        return;
    }
    text += '"';
    text += value;
    text += '"';
}

void AppendNumber(std::string& text, auto value) {
    std::array<char, 32> number{};
    text.append(number.data(),
                std::to_chars(number.data(), number.data() + number.size(), value).ptr);
}

// A report written member by member as AppendJson writes its value, objects opened by the path
// of keys that names them and closed once a member stands outside them.
class ReportWriter {
public:
    ReportWriter(std::string& text, int depth) : m_text(text), m_depth(depth) {
        m_text += '{';
        m_firsts.push_back(true);
    }

    // Makes the object at `path` (keys joined by "/", "" for the report itself) the one that
    // members go into.
    void Enter(std::string_view path) {
        std::size_t level = 0;
        std::size_t start = 0;
        while (start < path.size()) {
            const std::size_t end = std::min(path.find('/', start), path.size());
            const std::string_view key = path.substr(start, end - start);
            if (level < m_path.size() && m_path[level] != key) {
                CloseTo(level);
            }
            if (level == m_path.size()) {
                Key(key);
                m_text += '{';
                m_path.push_back(key);
                m_firsts.push_back(true);
            }
            ++level;
            start = end + 1;
        }
        CloseTo(level);
    }

    void Member(std::string_view key, double value) {
        Key(key);
        AppendNumber(m_text, value);
    }
    void Member(std::string_view key, int value) {
        Key(key);
        AppendNumber(m_text, value);
    }
    void Member(std::string_view key, bool value) {
        Key(key);
        m_text += value ? "true" : "false";
    }
    void Member(std::string_view key, std::string_view value) {
        Key(key);
        AppendString(m_text, value);
    }
    void Member(std::string_view key, const char* value) { Member(key, std::string_view(value)); }
    // A member whose value is JSON text already.
    void Written(std::string_view key, std::string_view json) {
        Key(key);
        m_text += json;
    }

    // Closes every object, the report's last.
    void Finish() {
        CloseTo(0);
        Close();
    }

private:
    void Key(std::string_view key) {
        m_text += m_firsts.back() ? "\n" : ",\n";
        m_firsts.back() = false;
        AppendIndent(m_text, m_depth + static_cast<int>(m_firsts.size()));
        m_text += '"';
        m_text += key;
        m_text += "\": ";
    }

    void Close() {
        m_text += '\n';
        m_firsts.pop_back();
        AppendIndent(m_text, m_depth + static_cast<int>(m_firsts.size()));
        m_text += '}';
    }

    void CloseTo(std::size_t level) {
        while (m_path.size() > level) {
            Close();
            m_path.pop_back();
        }
    }

    std::string& m_text;
    int m_depth;
    std::vector<std::string_view> m_path; // the keys of the open objects below the report
    std::vector<bool> m_firsts;           // whether each open object is still empty
};

// The results a study lacks, each cell as [analyst, day, replicate].
std::string MissingCells(const Design& design) {
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
    return cells;
}

// The results a study lacks: their count, their cells, and which figures the study cannot give
// (those then hold zeros).
void WriteMissing(ReportWriter& writer, const Design& design, const AbsentFigures& absent) {
    writer.Enter("missing");
    writer.Member("count", static_cast<int>(design.MissingCount()));
    writer.Written("cells", MissingCells(design));
    writer.Enter("missing/absent");
    writer.Member("analyst_test", absent.analystTest);
    writer.Member("mls", absent.mls);
    writer.Member("cochran", absent.cochran);
    writer.Member("grubbs_analysts", absent.grubbsAnalysts);
    writer.Member("grubbs_days", absent.grubbsDays);
}

void WriteFigures(ReportWriter& writer, const std::string& file, const StudyFigures& figures) {
    const StudyFileContents& contents = figures.contents;
    const ExtendedAnalysis& extended = figures.extended;
    writer.Member("file", file);
    writer.Member("fingerprint", figures.fingerprint);
    writer.Member("method", contents.methodName);
    writer.Member("date", contents.date);
    writer.Member("analysts", contents.analysts);
    writer.Member("days", contents.days);
    writer.Member("replicates", contents.replicates);
    const bool missing = extended.missingResults > 0;
    if (missing) {
        WriteMissing(writer, contents.GetDesign(), extended.absent);
    }
    // The precision measures stand among the extended figures, after the conclusions.
    bool precisionWritten = false;
    for (const FigureGroup& group :
         ExtendedFigureGroups(figures.anova, figures.extended, figures.acceptance)) {
        const std::string_view key = group.key;
        if (!precisionWritten && !key.starts_with("anova/") && key != "conclusions") {
            writer.Enter("precision");
            writer.Member("mean", figures.precision.mean);
            for (const PrecisionMeasure& measure : PrecisionMeasures(figures.precision)) {
                writer.Member(measure.key, measure.value);
            }
            precisionWritten = true;
        }
        writer.Enter(key);
        for (const Figure& figure : group.figures) {
            std::visit([&](const auto& value) { writer.Member(figure.key, value); }, figure.value);
        }
        if (missing && key == "anova/analyst") {
            writer.Member("df_denominator", extended.coefficients.dfSynthesized);
        }
    }
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
        AddColumns(all, JsonReport(FileOutcome{{}, everything, {}}), {});
        all.push_back(Column{"error", Json::json_pointer("/error")});
        return all;
    }();
    return columns;
}

} // namespace

void AppendJsonReport(std::string& text, const FileOutcome& outcome, int depth) {
    ReportWriter writer(text, depth);
    if (outcome.figures) {
        WriteFigures(writer, outcome.file, *outcome.figures);
    } else {
        writer.Member("file", outcome.file);
        writer.Member("error", outcome.error);
    }
    writer.Finish();
}

Json JsonReport(const FileOutcome& outcome) {
    std::string text;
    AppendJsonReport(text, outcome, 0);
    Json report = Json::parse(text);
    // The name and message as given, which the text holds with any byte that is not UTF-8
    // replaced.
    report["file"] = outcome.file;
    if (!outcome.figures) {
        report["error"] = outcome.error;
    }
    return report;
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
