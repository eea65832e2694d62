#include "MachineReport.h"

#include "engine/ExtendedFigures.h"
#include "study/Utf8.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <string_view>
#include <type_traits>
#include <variant>

namespace orbeta::report {

namespace {

// Text written through a pointer at the end of a string whose room is made first, far cheaper
// than appending piece by piece, each piece checking the room again. Once the cursor is gone the
// string ends where the writing ended.
class TextCursor {
public:
    explicit TextCursor(std::string& text) : m_text(text), m_used(text.size()) {}
    TextCursor(const TextCursor&) = delete;
    TextCursor& operator=(const TextCursor&) = delete;
    ~TextCursor() { m_text.resize(m_used); }

    // Where `size` characters more may be written; Wrote then takes where the writing ended.
    char* Room(std::size_t size) {
        if (m_text.size() - m_used < size) {
            m_text.resize(m_used + std::max(size, kStep));
        }
        return m_text.data() + m_used;
    }
    void Wrote(const char* end) { m_used = static_cast<std::size_t>(end - m_text.data()); }

    // The character written last; there is one.
    char Last() const { return m_text[m_used - 1]; }

private:
    static constexpr std::size_t kStep = 2048;
    std::string& m_text;
    std::size_t m_used;
};

char* Put(char* out, std::string_view piece) {
    return std::copy(piece.begin(), piece.end(), out);
}

// Enough for any number std::to_chars writes, a double's shortest form included.
constexpr std::size_t kNumberRoom = 32;

char* PutNumber(char* out, auto value) {
    return std::to_chars(out, out + kNumberRoom, value).ptr;
}

std::string_view TruthText(bool value) {
    return value ? "true" : "false";
}

// A field of a CSV row, quoted when it holds a comma, a quote or a line break; it takes at most
// twice its length and two more.
char* PutCsvField(char* out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        return Put(out, field);
    }
    *out++ = '"';
    for (const char c : field) {
        *out++ = c;
        if (c == '"') {
            *out++ = '"';
        }
    }
    *out++ = '"';
    return out;
}

// Whether JSON holds `text` as it is between its quotes: UTF-8 with no quote, backslash or
// control character, as the keys, the codes, the words and nearly every name are.
bool Verbatim(std::string_view text) {
    std::size_t position = 0;
    while (position < text.size()) {
        const auto byte = static_cast<unsigned char>(text[position]);
        if (byte >= 0x80) {
            if (!DecodeUtf8(text, position)) {
                return false;
            }
        } else if (byte < ' ' || byte == '"' || byte == '\\') {
            return false;
        } else {
            ++position;
        }
    }
    return true;
}

// How many keys two paths of keys joined by "/" begin with alike.
std::size_t SharedLevels(std::string_view first, std::string_view second) {
    const std::size_t common = static_cast<std::size_t>(
        std::mismatch(first.begin(), first.end(), second.begin(), second.end()).first -
        first.begin());
    const auto keyEndsThere = [common](std::string_view path) {
        return common == path.size() || path[common] == '/';
    };
    const auto slashes = std::count(first.begin(), first.begin() + common, '/');
    return static_cast<std::size_t>(slashes) +
           (common > 0 && keyEndsThere(first) && keyEndsThere(second) ? 1 : 0);
}

// The JSON of a report as AppendJson writes its value, written as the walk yields its members:
// an object opened by the path of keys that names it, and closed once a member stands outside it.
class JsonSink {
public:
    JsonSink(std::string& text, int depth) : m_out(text), m_depth(static_cast<std::size_t>(depth)) {
        char* out = m_out.Room(1);
        *out++ = '{';
        m_out.Wrote(out);
    }

    // Makes the object at `path` (keys joined by "/", "" for the report itself) the one that
    // members go into.
    void Group(std::string_view path) {
        const std::size_t shared = SharedLevels(m_group, path);
        for (; m_levels > shared; --m_levels) {
            Close(m_levels);
        }
        m_group = path;
        if (path.empty()) {
            return;
        }
        std::size_t level = 0;
        std::size_t start = 0;
        for (std::size_t end = 0; end <= path.size(); ++end) {
            if (end < path.size() && path[end] != '/') {
                continue;
            }
            if (level >= shared) {
                char* out = Key(path.substr(start, end - start), level, 1);
                *out++ = '{';
                m_out.Wrote(out);
            }
            ++level;
            start = end + 1;
        }
        m_levels = level;
    }

    void Member(std::string_view key, double value) { Number(key, value); }
    void Member(std::string_view key, int value) { Number(key, value); }
    void Member(std::string_view key, bool value) { Written(key, TruthText(value)); }
    // Any byte that is not UTF-8 (a file name's) replaced.
    void Member(std::string_view key, std::string_view value) {
        if (!Verbatim(value)) {
            Written(key, Json(value).dump(-1, ' ', false, Json::error_handler_t::replace));
            return;
        }
        char* out = Key(key, m_levels, value.size() + 2);
        *out++ = '"';
        out = Put(out, value);
        *out++ = '"';
        m_out.Wrote(out);
    }
    // A member whose value is JSON text already.
    void Written(std::string_view key, std::string_view json) {
        m_out.Wrote(Put(Key(key, m_levels, json.size()), json));
    }

    // Closes every object, the report's last.
    void Finish() {
        for (; m_levels > 0; --m_levels) {
            Close(m_levels);
        }
        Close(0);
    }

private:
    void Number(std::string_view key, auto value) {
        m_out.Wrote(PutNumber(Key(key, m_levels, kNumberRoom), value));
    }

    // Writes the key of a member of the object `level` levels below the report on a line of its
    // own, with room for `valueRoom` characters of its value after it.
    char* Key(std::string_view key, std::size_t level, std::size_t valueRoom) {
        const std::size_t indent = (m_depth + level + 1) * 2;
        char* out = m_out.Room(indent + key.size() + valueRoom + 6);
        if (m_out.Last() != '{') {
            *out++ = ',';
        }
        *out++ = '\n';
        out = std::fill_n(out, indent, ' ');
        *out++ = '"';
        out = Put(out, key);
        return Put(out, "\": ");
    }

    // Closes the object `level` levels below the report.
    void Close(std::size_t level) {
        const std::size_t indent = (m_depth + level) * 2;
        char* out = m_out.Room(indent + 2);
        *out++ = '\n';
        out = std::fill_n(out, indent, ' ');
        *out++ = '}';
        m_out.Wrote(out);
    }

    TextCursor m_out;
    std::size_t m_depth;
    std::string_view m_group; // the path of the object members go into
    std::size_t m_levels = 0; // its keys
};

// A column of the CSV: the path of the object holding its member, and the member's key.
struct Column {
    std::string group;
    std::string key;
};

// The columns of a report: each member the walk yields, in order.
class ColumnSink {
public:
    void Group(std::string_view path) { m_group = path; }
    void Member(std::string_view key, const auto&) { Written(key, {}); }
    void Written(std::string_view key, std::string_view) {
        columns.push_back(Column{std::string(m_group), std::string(key)});
    }
    void Finish() {}

    std::vector<Column> columns;

private:
    std::string_view m_group;
};

// A row of the CSV, written as the walk yields the report: each member in its column, texts as
// given, the columns of members the report lacks empty. The walk keeps the columns' order, so a
// member's column is sought only after the last one filled.
class CsvSink {
public:
    CsvSink(std::string& text, const std::vector<Column>& columns)
        : m_out(text), m_columns(columns) {}

    void Group(std::string_view path) { m_group = path; }
    void Member(std::string_view key, double value) { Number(key, value); }
    void Member(std::string_view key, int value) { Number(key, value); }
    void Member(std::string_view key, bool value) { Field(key, TruthText(value)); }
    void Member(std::string_view key, std::string_view value) { Field(key, value); }
    void Written(std::string_view key, std::string_view json) { Field(key, json); }

    // Ends the row after its last column.
    void Finish() {
        char* out = Separators(m_columns.size() - 1, 2);
        m_out.Wrote(Put(out, "\r\n"));
    }

private:
    void Number(std::string_view key, auto value) {
        if (const auto column = Find(key)) {
            m_out.Wrote(PutNumber(Separators(*column, kNumberRoom), value));
        }
    }
    void Field(std::string_view key, std::string_view text) {
        if (const auto column = Find(key)) {
            m_out.Wrote(PutCsvField(Separators(*column, text.size() * 2 + 2), text));
        }
    }

    // The column of the member `key` of the current object; nothing when it has none.
    std::optional<std::size_t> Find(std::string_view key) const {
        for (std::size_t column = m_filled; column < m_columns.size(); ++column) {
            if (m_columns[column].key == key && m_columns[column].group == m_group) {
                return column;
            }
        }
        return std::nullopt;
    }

    // Writes the separators up to column `column`, the next to fill, with room for `fieldRoom`
    // characters of its field after them.
    char* Separators(std::size_t column, std::size_t fieldRoom) {
        const std::size_t separators = column + 1 - m_filled - (m_filled == 0 ? 1 : 0);
        char* out = std::fill_n(m_out.Room(separators + fieldRoom), separators, ',');
        m_filled = column + 1;
        return out;
    }

    TextCursor m_out;
    const std::vector<Column>& m_columns;
    std::size_t m_filled = 0; // the columns written, empty or not
    std::string_view m_group;
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

// The one walk of a report, which both the JSON and the CSV take: each member with the path of
// the object holding it, in the report's order. A sink takes Group(path), the object members
// go into next (keys joined by "/", "" for the report itself), Member(key, value) for a number,
// a whole number, a truth value or a text, Written(key, json) for a value that is JSON text
// already, and Finish() after the last.

template <typename Sink> void WriteFigure(Sink& sink, const Figure& figure) {
    std::visit(
        [&](const auto& value) {
            // A word is a text, not a pointer that would pass for a truth value.
            if constexpr (std::is_same_v<std::decay_t<decltype(value)>, const char*>) {
                sink.Member(figure.key, std::string_view(value));
            } else {
                sink.Member(figure.key, value);
            }
        },
        figure.value);
}

// The results a study lacks: their count, their cells, and which figures the study cannot give
// (those then hold zeros).
template <typename Sink>
void WriteMissing(Sink& sink, const Design& design, const AbsentFigures& absent) {
    sink.Group("missing");
    sink.Member("count", static_cast<int>(design.MissingCount()));
    sink.Written("cells", MissingCells(design));
    sink.Group("missing/absent");
    sink.Member("analyst_test", absent.analystTest);
    sink.Member("mls", absent.mls);
    sink.Member("cochran", absent.cochran);
    sink.Member("grubbs_analysts", absent.grubbsAnalysts);
    sink.Member("grubbs_days", absent.grubbsDays);
}

template <typename Sink>
void WriteFigures(Sink& sink, std::string_view file, const StudyFigures& figures) {
    const StudyFileContents& contents = figures.contents;
    const ExtendedAnalysis& extended = figures.extended;
    sink.Member("file", file);
    sink.Member("fingerprint", figures.fingerprint);
    sink.Member("method", contents.methodName);
    sink.Member("date", contents.date);
    sink.Member("analysts", contents.analysts);
    sink.Member("days", contents.days);
    sink.Member("replicates", contents.replicates);
    const bool missing = extended.missingResults > 0;
    if (missing) {
        WriteMissing(sink, contents.GetDesign(), extended.absent);
    }
    // The precision measures stand among the extended figures, after the conclusions.
    bool precisionWritten = false;
    for (const FigureGroup& group :
         ExtendedFigureGroups(figures.anova, figures.extended, figures.acceptance)) {
        const std::string_view key = group.key;
        if (!precisionWritten && !key.starts_with("anova/") && key != "conclusions") {
            sink.Group("precision");
            sink.Member("mean", figures.precision.mean);
            for (const PrecisionMeasure& measure : PrecisionMeasures(figures.precision)) {
                sink.Member(measure.key, measure.value);
            }
            precisionWritten = true;
        }
        sink.Group(key);
        for (const Figure& figure : group.figures) {
            WriteFigure(sink, figure);
        }
        if (missing && key == "anova/analyst") {
            sink.Member("df_denominator", extended.coefficients.dfSynthesized);
        }
    }
}

// Every figure of a file, or only its name and message for a file that failed.
template <typename Sink> void WriteReport(Sink& sink, const FileOutcome& outcome) {
    if (outcome.figures) {
        WriteFigures(sink, outcome.file, *outcome.figures);
    } else {
        sink.Member("file", outcome.file);
        sink.Member("error", outcome.error);
    }
    sink.Finish();
}

// The columns of the CSV: every member of a report that holds all a report can, in its order,
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
        ColumnSink sink;
        WriteReport(sink, FileOutcome{{}, everything, {}});
        sink.columns.push_back(Column{"", "error"});
        return sink.columns;
    }();
    return columns;
}

// A value other than an object as JSON writes it. A double takes the shortest text that reads
// back as the same double, which the library's own writer does not always find.
void AppendScalar(std::string& text, const Json& value) {
    std::array<char, kNumberRoom> number{};
    char* end = number.data();
    switch (value.type()) {
    case Json::value_t::number_float:
        end = PutNumber(number.data(), value.get<double>());
        break;
    case Json::value_t::number_integer:
        end = PutNumber(number.data(), value.get<std::int64_t>());
        break;
    case Json::value_t::boolean:
        text += TruthText(value.get<bool>());
        return;
    default:
        text += value.dump(-1, ' ', false, Json::error_handler_t::replace);
        return;
    }
    text.append(number.data(), end);
}

} // namespace

void AppendJsonReport(std::string& text, const FileOutcome& outcome, int depth) {
    JsonSink sink(text, depth);
    WriteReport(sink, outcome);
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
        text.append(static_cast<std::size_t>(depth + 1) * 2, ' ');
        text += '"';
        text += key;
        text += "\": ";
        AppendJson(text, item, depth + 1);
    }
    text += '\n';
    text.append(static_cast<std::size_t>(depth) * 2, ' ');
    text += '}';
}

std::vector<std::string> CsvHeader() {
    std::vector<std::string> header;
    for (const Column& column : Columns()) {
        std::string name = column.group.empty() ? column.key : column.group + '/' + column.key;
        std::replace(name.begin(), name.end(), '/', '_');
        header.push_back(std::move(name));
    }
    return header;
}

void AppendCsvReport(std::string& text, const FileOutcome& outcome) {
    CsvSink sink(text, Columns());
    WriteReport(sink, outcome);
}

void AppendCsvRow(std::string& text, const std::vector<std::string>& fields) {
    TextCursor out(text);
    for (const std::string& field : fields) {
        char* at = out.Room(field.size() * 2 + 3);
        if (&field != &fields.front()) {
            *at++ = ',';
        }
        out.Wrote(PutCsvField(at, field));
    }
    out.Wrote(Put(out.Room(2), "\r\n"));
}

} // namespace orbeta::report
