#include "files/StudyFile.h"

#include "files/Cp1252.h"
#include "files/FileAccess.h"
#include "study/Error.h"
#include "study/Numbers.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace orbeta {

namespace {

constexpr char kEndOfData = 26;
constexpr std::string_view kLineEnd = "\r\n";
// A number is at most this many bytes; what follows it on its line is skipped.
constexpr std::size_t kMaxNumberBytes = 64;

const char* const kCountsBeyondFormat =
    "Un archivo de estudio admite de 1 a 10 analistas y de 1 a 100 resultados por analista.";

bool FitsTheFormat(int analysts, int days, int replicates) {
    return analysts >= 1 && analysts <= kMaxAnalysts && days >= 1 && replicates >= 1 &&
           std::int64_t{days} * replicates <= kMaxResultsPerAnalyst;
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
    std::optional<double> NextNumber() {
        while (m_position < m_data.size() &&
               static_cast<unsigned char>(m_data[m_position]) <= ' ') {
            ++m_position;
        }
        if (m_position == m_data.size()) {
            return std::nullopt;
        }
        const std::size_t start = m_position;
        while (m_position < m_data.size() &&
               m_position -
                   start<kMaxNumberBytes&& static_cast<unsigned char>(m_data[m_position])> ' ') {
            ++m_position;
        }
        const double value = NumberOf(m_data.substr(start, m_position - start));
        m_position = std::min(m_data.find('\r', m_position), m_data.size());
        SkipLineEnd();
        return value;
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

    // A number of the file: an optional sign, digits, optionally a point and digits, optionally
    // an exponent with at least one digit. Digits may be missing on either side of the point,
    // or altogether, which reads as 0.
    static double NumberOf(std::string_view text) {
        std::size_t position = 0;
        if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
            ++position;
        }
        bool hasDigits = false;
        auto skipDigits = [&] {
            while (position < text.size() && text[position] >= '0' && text[position] <= '9') {
                ++position;
                hasDigits = true;
            }
        };
        skipDigits();
        if (position < text.size() && text[position] == '.') {
            ++position;
            skipDigits();
        }
        if (position < text.size() && (text[position] == 'E' || text[position] == 'e')) {
            ++position;
            if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
                ++position;
            }
            const std::size_t exponentDigits = position;
            while (position < text.size() && text[position] >= '0' && text[position] <= '9') {
                ++position;
            }
            if (position == exponentDigits) {
                throw Error("Invalid numeric input");
            }
        }
        if (position != text.size()) {
            throw Error("Invalid numeric input");
        }
        if (!hasDigits) {
            return 0.0;
        }
        try {
            return ParseResult(text, '.');
        } catch (const Error&) {
            throw Error("Invalid numeric input");
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

} // namespace

Study ParseStudyFile(std::string_view bytes, char decimalSeparator) {
    StudyFileCursor cursor(bytes);
    std::array<std::string, 5> lines;
    for (auto& line : lines) {
        line = Cp1252ToUtf8(cursor.NextLine());
    }
    const int analysts = ParseCount(lines[2]);
    const int days = ParseCount(lines[3]);
    const int replicates = ParseCount(lines[4]);
    if (!FitsTheFormat(analysts, days, replicates)) {
        throw Error(kCountsBeyondFormat);
    }
    const int resultsPerAnalyst = days * replicates;
    std::vector<double> results;
    results.reserve(static_cast<std::size_t>(analysts * resultsPerAnalyst));
    for (int index = 0; index < analysts * resultsPerAnalyst; ++index) {
        const auto value = cursor.NextNumber();
        if (!value) {
            throw Error("El archivo está incompleto: faltan resultados del estudio.");
        }
        results.push_back(*value);
    }

    Study study = NewStudy();
    ApplyStudyLayout(study, analysts, days, replicates);
    study.methodName = std::move(lines[0]);
    study.date = std::move(lines[1]);
    study.analystCount = std::move(lines[2]);
    study.dayCount = std::move(lines[3]);
    study.replicateCount = std::move(lines[4]);
    auto result = results.begin();
    for (int analyst = 1; analyst <= analysts; ++analyst) {
        for (int row = 1; row <= resultsPerAnalyst; ++row) {
            study.SetCell(analyst, row, FormatResult(*result++, decimalSeparator));
        }
    }
    return study;
}

Study ReadStudyFile(const std::filesystem::path& path, char decimalSeparator) {
    return ParseStudyFile(
        ReadWholeFile(path, kMaxStudyFileBytes,
                      "El archivo es demasiado grande para ser un archivo de estudio."),
        decimalSeparator);
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
    const int replicates = ParseCount(study.replicateCount);
    if (!FitsTheFormat(analysts, days, replicates)) {
        throw Error(kCountsBeyondFormat);
    }
    for (int analyst = 1; analyst <= analysts; ++analyst) {
        for (int row = 1; row <= days * replicates; ++row) {
            std::string text = study.Cell(analyst, row);
            ParseResult(text, decimalSeparator);
            if (text.find_first_not_of(' ') + kMaxNumberBytes <= text.find_last_not_of(' ')) {
                throw Error("El dato '" + text +
                            "' es demasiado largo para guardarse en el archivo.");
            }
            std::replace(text.begin(), text.end(), decimalSeparator, '.');
            bytes += text;
            bytes += kLineEnd;
        }
    }
    return bytes;
}

void WriteStudyFile(const std::filesystem::path& path, const Study& study, char decimalSeparator) {
    ReplaceFile(path, StudyFileBytes(study, decimalSeparator));
}

} // namespace orbeta
