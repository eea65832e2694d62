#include "files/StudyFile.h"

#include "files/Cp1252.h"
#include "files/FileAccess.h"
#include "study/Error.h"
#include "study/Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace orbeta {

namespace {

constexpr char kEndOfData = 26;
constexpr std::string_view kLineEnd = "\r\n";
// A number is at most this many bytes; what follows it on its line is skipped.
constexpr std::size_t kMaxNumberBytes = 64;

// The design of a file's counts, refused unless the grid of the program holds it.
Design FittingDesign(int analysts, int days, int replicates) {
    if (!FitsTheGrid(analysts, days, replicates)) {
        throw Error("Un archivo de estudio admite de 1 a " + std::to_string(kMaxAnalysts) +
                    " analistas y de 1 a " + std::to_string(kMaxResultsPerAnalyst) +
                    " resultados por analista.");
    }
    return Design(analysts, days, replicates);
}

// Reads a study file's bytes by its line and number rules. The byte 26 ends the data wherever
// it stands.
class StudyFileCursor {
public:
    explicit StudyFileCursor(std::string_view bytes)
        : m_data(bytes.substr(0, bytes.find(kEndOfData))) {}

    // Every byte up to the next carriage return, which ends the line together with one line feed
    // right after it. A line feed alone is part of the line. At the end of the data, empty lines.
    std::string_view NextLine() {
        const std::size_t end = std::min(m_data.find('\r', m_position), m_data.size());
        const std::string_view line = m_data.substr(m_position, end - m_position);
        m_position = end;
        SkipLineEnd();
        return line;
    }

    // The next number: blanks, control bytes and empty lines before it are skipped; the rest of
    // its line after it is ignored. Nothing when the data ends before a number.
    std::optional<std::string_view> NextNumber() {
        // Scanned with a local position: the bytes read may alias the members, which would then
        // go through memory at every byte.
        const std::size_t size = m_data.size();
        std::size_t position = m_position;
        while (position < size && static_cast<unsigned char>(m_data[position]) <= ' ') {
            ++position;
        }
        if (position == size) {
            m_position = position;
            return std::nullopt;
        }
        const std::size_t start = position;
        const std::size_t longest = std::min(size, start + kMaxNumberBytes);
        while (position<longest&& static_cast<unsigned char>(m_data[position])> ' ') {
            ++position;
        }
        const std::string_view number = m_data.substr(start, position - start);
        m_position = position < size && m_data[position] == '\r'
                         ? position
                         : std::min(m_data.find('\r', position), size);
        SkipLineEnd();
        return number;
    }

private:
    void SkipLineEnd() {
        if (m_position < m_data.size() && m_data[m_position] == '\r') {
            ++m_position;
            if (m_position < m_data.size() && m_data[m_position] == '\n') {
                ++m_position;
            }
        }
    }

    std::string_view m_data;
    std::size_t m_position = 0;
};

// The file's form of a method name or date: Windows-1252, on one line.
std::string LineBytes(const std::string& text, const char* fieldName) {
    const auto bytes = Utf8ToCp1252(text);
    if (!bytes || bytes->find_first_of(std::string_view("\r\n\x1a", 3)) != std::string::npos) {
        throw Error(std::string(fieldName) +
                    " no se puede guardar: contiene un carácter que el archivo no admite.");
    }
    return *bytes;
}

// The value of a number of the file; a missing result, "NA" in either case, as NaN.
double NumberOf(std::string_view text) {
    if (const auto value = LoadResultValue(text)) {
        return *value;
    }
    if (IsMissingResult(text)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    throw Error("Invalid numeric input");
}

} // namespace

StudyFileContents ParseStudyFileContents(std::string_view bytes) {
    StudyFileContents contents;
    contents.bytes = bytes;
    StudyFileCursor cursor(contents.bytes);
    for (std::string* line : {&contents.methodName, &contents.date, &contents.analystCount,
                              &contents.dayCount, &contents.replicateCount}) {
        *line = Cp1252ToUtf8(cursor.NextLine());
    }
    contents.analysts = ParseCount(contents.analystCount);
    contents.days = ParseCount(contents.dayCount);
    contents.replicates = ParseCount(contents.replicateCount);
    const std::size_t count =
        FittingDesign(contents.analysts, contents.days, contents.replicates).ResultCount();
    contents.resultTexts.reserve(count);
    contents.shownResults.reserve(count);
    for (std::size_t index = 0; index < count; ++index) {
        const auto number = cursor.NextNumber();
        if (!number) {
            throw Error("El archivo está incompleto: faltan resultados del estudio.");
        }
        contents.shownResults.push_back(NumberOf(*number));
        contents.resultTexts.emplace_back(
            static_cast<std::size_t>(number->data() - contents.bytes.data()), number->size());
    }
    return contents;
}

std::vector<std::string> StudyFileContents::ShownTexts() const {
    std::vector<std::string> shown(resultTexts.size());
    for (std::size_t index = 0; index < resultTexts.size(); ++index) {
        if (std::isnan(shownResults[index])) {
            shown[index] = kMissingResult;
        } else {
            const auto [start, size] = resultTexts[index];
            LoadResult(std::string_view(bytes).substr(start, size), shown[index]);
        }
    }
    return shown;
}

std::string ReadStudyFileBytes(const std::filesystem::path& path) {
    return ReadWholeFile(path, kMaxStudyFileBytes,
                         "El archivo es demasiado grande para ser un archivo de estudio.");
}

StudyFileContents ReadStudyFileContents(const std::filesystem::path& path) {
    return ParseStudyFileContents(ReadStudyFileBytes(path));
}

Design StudyFileContents::GetDesign() const {
    Design design(analysts, days, replicates);
    // Most files hold every result: one look at the values settles it.
    if (std::none_of(shownResults.begin(), shownResults.end(),
                     [](double value) { return std::isnan(value); })) {
        return design;
    }
    design.ForEachCell([&](const DesignCell& cell) {
        if (std::isnan(shownResults[design.IndexOf(cell)])) {
            design.MarkMissing(cell);
        }
    });
    return design;
}

Study StudyOf(const StudyFileContents& contents, char decimalSeparator) {
    Study study = NewStudy();
    ApplyStudyLayout(study, contents.analysts, contents.days, contents.replicates);
    study.methodName = contents.methodName;
    study.date = contents.date;
    study.analystCount = contents.analystCount;
    study.dayCount = contents.dayCount;
    study.replicateCount = contents.replicateCount;
    const Design design(contents.analysts, contents.days, contents.replicates);
    std::vector<std::string> shownTexts = contents.ShownTexts();
    design.ForEachCell([&](const DesignCell& cell) {
        std::string text = std::move(shownTexts[design.IndexOf(cell)]);
        std::replace(text.begin(), text.end(), '.', decimalSeparator);
        study.SetCell(cell.analyst, design.GridRowOf(cell.day, cell.replicate), std::move(text));
    });
    return study;
}

Study ParseStudyFile(std::string_view bytes, char decimalSeparator) {
    return StudyOf(ParseStudyFileContents(bytes), decimalSeparator);
}

Study ReadStudyFile(const std::filesystem::path& path, char decimalSeparator) {
    return StudyOf(ReadStudyFileContents(path), decimalSeparator);
}

std::string StudyFileBytes(const Study& study, char decimalSeparator) {
    std::string bytes;
    for (const std::string& line :
         {LineBytes(study.methodName, "El nombre del método"), LineBytes(study.date, "La fecha"),
          LineBytes(study.analystCount, "El número de analistas"),
          LineBytes(study.dayCount, "El número de días"),
          LineBytes(study.replicateCount, "El número de replicaciones")}) {
        bytes += line;
        bytes += kLineEnd;
    }
    const int analysts = ParseCount(study.analystCount);
    const int days = ParseCount(study.dayCount);
    const Design design = FittingDesign(analysts, days, ParseCount(study.replicateCount));
    design.ForEachCell([&](const DesignCell& cell) {
        std::string text = study.Cell(cell.analyst, design.GridRowOf(cell.day, cell.replicate));
        if (IsMissingResult(text)) {
            bytes += kMissingResult;
            bytes += kLineEnd;
            return;
        }
        ParseResult(text, decimalSeparator);
        if (text.find_first_not_of(' ') + kMaxNumberBytes <= text.find_last_not_of(' ')) {
            throw Error("El dato '" + text + "' es demasiado largo para guardarse en el archivo.");
        }
        std::replace(text.begin(), text.end(), decimalSeparator, '.');
        bytes += text;
        bytes += kLineEnd;
    });
    return bytes;
}

void WriteStudyFile(const std::filesystem::path& path, const Study& study, char decimalSeparator,
                    const FileCalls& calls) {
    ReplaceFile(path, StudyFileBytes(study, decimalSeparator), calls);
}

std::vector<std::filesystem::path> CompleteInterruptedSaves(const std::filesystem::path& path) {
    std::vector<std::filesystem::path> complete;
    for (const std::filesystem::path& leftover : LeftoverTemporaries(path)) {
        try {
            ReadStudyFileContents(leftover);
            complete.push_back(leftover);
        } catch (const Error&) {
            // An empty or half-written one holds nothing worth offering.
        }
    }
    return complete;
}

} // namespace orbeta
