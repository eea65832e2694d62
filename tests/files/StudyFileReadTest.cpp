#include "engine/Ucalculo.h"
#include "files/StudyFile.h"
#include "study/Error.h"
#include "study/Numbers.h"
#include "support/Studies.h"
#include "support/TemporaryFolder.h"

#include "support/Expectations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

namespace orbeta {
namespace {

using testing::ErrorOf;

using testing::ReadBytes;
using testing::TemporaryFolder;
using testing::WriteBytes;

using testing::kWorkedExampleFile;

std::string Lines(const std::vector<std::string>& lines, std::string_view end = "\r\n") {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += line;
        bytes += end;
    }
    return bytes;
}

// A 2 x 2 x 3 file whose result lines are the given ones.
std::string FileWithResultLines(const std::vector<std::string>& resultLines) {
    std::vector<std::string> lines{"Valoraci\xF3n", "01/06/2001", "2", "2", "3"};
    lines.insert(lines.end(), resultLines.begin(), resultLines.end());
    return Lines(lines);
}

const std::vector<std::string> kWorkedResults{"99.1", "100.2", "99.8", "100.5", "99.9", "100.1",
                                              "98.7", "99.5",  "99.0", "100.0", "99.6", "99.3"};

std::vector<std::string> ResultCells(const Study& study) {
    std::vector<std::string> cells;
    for (int analyst = 1; analyst < study.gridColumns; ++analyst) {
        for (int row = 1; row < study.gridRows; ++row) {
            cells.push_back(study.Cell(analyst, row));
        }
    }
    return cells;
}

const std::vector<std::string> kWorkedCells{"99.1", "100.2", "99.8", "100.5", "99.9", "100.1",
                                            "98.7", "99.5",  "99",   "100",   "99.6", "99.3"};

TEST(ReadStudyFile, LoadsTheWorkedExample) {
    const Study study = ReadStudyFile(kWorkedExampleFile, '.');
    EXPECT_EQ(study.methodName, "Valoración");
    EXPECT_EQ(study.date, "01/06/2001");
    EXPECT_EQ(study.analystCount, "2");
    EXPECT_EQ(study.dayCount, "2");
    EXPECT_EQ(study.replicateCount, "3");
    EXPECT_EQ(study.gridColumns, 3);
    EXPECT_EQ(study.gridRows, 7);
    EXPECT_EQ(study.Cell(2, 0), "Analista 2");
    EXPECT_EQ(study.Cell(0, 6), "(Día 2,Replica 3)");
    EXPECT_EQ(ResultCells(study), kWorkedCells);
}

TEST(ReadStudyFile, ShowsAResultInTheResultFormatOnlyWhenThatKeepsItsValue) {
    struct Case {
        const char* line;
        const char* shown; // under the comma separator
    };
    const Case cases[] = {
        {"98.50", "98,5"},
        {"100.0", "100"},
        {"0.0000123", "1,23E-5"},
        {"1E-5", "1E-5"},
        {"1.5e3", "1500"},
        {"-5", "-5"},
        {"123456", "123456"},
        {"0.3000000000000000000001", "0,3"}, // more digits than a double holds: the same value
        {"-0", "0"},
        {"-", "0"},
        {".", "0"},
        {"1e-400", "0"},
        // Six digits would change these: they are shown as the file writes them.
        {"1234567", "1234567"},
        {"100.000049", "100,000049"},
        {"99.123456", "99,123456"},
        {"1234565", "1234565"},
        {"999999.5", "999999,5"},
        {"+1234567", "+1234567"},
        {"1234567.", "1234567,"},
        {"123456.7e1", "123456,7e1"},
        {"0.30000000000000004", "0,30000000000000004"},
    };
    std::vector<std::string> lines{"M", "D", "1", std::to_string(std::size(cases)), "1"};
    for (const Case& row : cases) {
        lines.emplace_back(row.line);
    }
    for (const char separator : {',', '.'}) {
        std::vector<std::string> expected;
        for (const Case& row : cases) {
            expected.emplace_back(row.shown);
            std::replace(expected.back().begin(), expected.back().end(), ',', separator);
        }
        EXPECT_EQ(ResultCells(ParseStudyFile(Lines(lines), separator)), expected) << separator;
    }
}

TEST(ReadStudyFile, LineEndsItAccepts) {
    const std::string crlf = FileWithResultLines(kWorkedResults);
    std::string crOnly = crlf;
    std::erase(crOnly, '\n');
    const std::string noFinalEnd = crlf.substr(0, crlf.size() - 2);
    for (const std::string& bytes : {crOnly, noFinalEnd, crlf + "\x1a" + "garbage after the end"}) {
        const Study study = ParseStudyFile(bytes, '.');
        EXPECT_EQ(study.methodName, "Valoración");
        EXPECT_EQ(ResultCells(study), kWorkedCells);
    }
}

TEST(ReadStudyFile, LineFeedsAloneDoNotEndALine) {
    const std::string lfOnly = Lines({"Valoraci\xF3n", "01/06/2001", "2", "2", "3"}, "\n");
    EXPECT_EQ(ErrorOf([&] { ParseStudyFile(lfOnly, '.'); }), "'' is not a valid integer value");
    EXPECT_EQ(ErrorOf([] { ParseStudyFile("M\r\nD\r\n2\r\n", '.'); }),
              "'' is not a valid integer value");
    EXPECT_EQ(ErrorOf([] { ParseStudyFile("", '.'); }), "'' is not a valid integer value");
}

TEST(ReadStudyFile, CountLinesAreReadAsTyped) {
    std::string bytes = FileWithResultLines(kWorkedResults);
    bytes.replace(bytes.find("\r\n2\r\n"), 5, "\r\n 2\r\n");
    const Study study = ParseStudyFile(bytes, '.');
    EXPECT_EQ(study.analystCount, " 2");
    EXPECT_EQ(study.gridColumns, 3);

    bytes.replace(bytes.find("\r\n3\r\n"), 5, "\r\ntres\r\n");
    EXPECT_EQ(ErrorOf([&] { ParseStudyFile(bytes, '.'); }), "'tres' is not a valid integer value");
}

TEST(ReadStudyFile, QuotesACountLineReadablyInItsMessage) {
    using namespace std::string_literals;
    struct Case {
        std::string line;
        std::string quoted;
    };
    // The line is Windows-1252: its bytes above 127 are characters, some of them two or three
    // bytes long in the message.
    const Case cases[] = {
        {"\177ELF\2\1\1"s + std::string(50, '\0'), "?ELF" + std::string(36, '?') + "…"},
        {std::string(39, 'x') + "\xE9zz", std::string(39, 'x') + "é…"},
        {std::string(39, 'x') + "\x80", std::string(39, 'x') + "€"},
        {"3\x85", "3…"},
        {"3\x81", "3?"}, // a byte the code page leaves to a control character
    };
    for (const Case& row : cases) {
        const std::string bytes = Lines({"M", "D", "2", row.line, "3"}) + Lines(kWorkedResults);
        EXPECT_EQ(ErrorOf([&] { ParseStudyFile(bytes, '.'); }),
                  "'" + row.quoted + "' is not a valid integer value")
            << row.quoted;
    }
}

TEST(ParseStudyFileContents, ShownResultsAreTheFileValuesAndWhatTheLoadedGridHolds) {
    // Across the range of a double, subnormal values included, with up to 6 significant digits
    // (shown in the result format) and more (shown as written). Zero loses its sign.
    std::vector<std::string> texts{
        "99.1234567", "1.234567",    "1.23456", "0.000123456", "123456000", "1.50000000",
        "-0",         "0",           "-1e-400", "4.9e-324",    "1e-323",    "2.5e-310",
        "2.225e-308", "1.79769e308", "1e23",    "999999.5",    ".",         "-.5e3"};
    std::mt19937 random(9);
    std::uniform_int_distribution<int> shortMantissa(1, 999999);
    std::uniform_int_distribution<std::int64_t> longMantissa(1, 99'999'999'999'999'999);
    std::uniform_int_distribution<int> exponent(-335, 290);
    while (texts.size() < 1000) {
        const std::int64_t mantissa =
            texts.size() % 2 == 0 ? shortMantissa(random) : longMantissa(random);
        texts.push_back(std::to_string(mantissa) + "e" + std::to_string(exponent(random)));
    }
    const StudyFileContents contents =
        ParseStudyFileContents(Lines({"M", "D", "10", "10", "10"}) + Lines(texts));
    auto bits = [](const std::vector<double>& values) {
        std::vector<std::uint64_t> patterns;
        for (const double value : values) {
            patterns.push_back(std::bit_cast<std::uint64_t>(value));
        }
        return patterns;
    };
    std::vector<double> fileValues;
    for (const std::string& text : texts) {
        fileValues.push_back(std::strtod(text.c_str(), nullptr) + 0.0);
    }
    EXPECT_EQ(bits(contents.shownResults), bits(fileValues));
    for (const char separator : {'.', ','}) {
        EXPECT_EQ(bits(contents.shownResults),
                  bits(ReadResults(StudyOf(contents, separator), separator)))
            << separator;
    }
}

TEST(ParseStudyFileContents, ShowsEachResultByTheRuleThatKeepsItsValue) {
    // Texts of up to 15 digits, with zeros before and after them, the point anywhere and
    // exponents around the range of exact powers of ten, checked against the rule itself: the
    // result format's text when it reads back as the value the file holds, otherwise the text,
    // and the value the text's own.
    std::mt19937 random(23);
    auto draw = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    std::vector<std::string> texts;
    while (texts.size() < 1000) {
        std::string digits(static_cast<std::size_t>(draw(0, 2)), '0');
        const int significant = draw(1, 15);
        for (int index = 0; index < significant; ++index) {
            digits += static_cast<char>('0' + draw(index == 0 ? 1 : 0, 9));
        }
        digits += std::string(static_cast<std::size_t>(draw(0, 3)), '0');
        std::string text = draw(0, 3) == 0 ? "-" : "";
        const auto point = static_cast<std::size_t>(draw(0, static_cast<int>(digits.size())));
        text += draw(0, 4) == 0 ? digits : digits.insert(point, ".");
        if (draw(0, 1) == 0) {
            text += (draw(0, 1) == 0 ? "e" : "E") + std::to_string(draw(-26, 26));
        }
        texts.push_back(text);
    }
    std::vector<std::string> expected;
    std::vector<std::uint64_t> expectedValues;
    for (const std::string& text : texts) {
        const double value = std::strtod(text.c_str(), nullptr);
        const std::string formatted = FormatResult(value, '.');
        expected.push_back(std::strtod(formatted.c_str(), nullptr) == value ? formatted : text);
        expectedValues.push_back(std::bit_cast<std::uint64_t>(value + 0.0));
    }
    const StudyFileContents contents =
        ParseStudyFileContents(Lines({"M", "D", "10", "10", "10"}) + Lines(texts));
    EXPECT_EQ(contents.ShownTexts(), expected);
    std::vector<std::uint64_t> values;
    for (const double value : contents.shownResults) {
        values.push_back(std::bit_cast<std::uint64_t>(value));
    }
    EXPECT_EQ(values, expectedValues) << "the value is the text's own, zero without its sign";
}

TEST(ReadStudyFile, ResultLinesTolerateBlanksAndTrailingText) {
    const Study study = ParseStudyFile(
        FileWithResultLines({"99.1 first of the day", "  \t100.2", "", "   ", "+9.98E1", ".5", "5.",
                             ".", "1e2", "-", "7", "8", "9", "10"}),
        '.');
    EXPECT_EQ(ResultCells(study), (std::vector<std::string>{"99.1", "100.2", "99.8", "0.5", "5",
                                                            "0", "100", "0", "7", "8", "9", "10"}))
        << "blank lines take no position";
}

TEST(ReadStudyFile, RefusesResultsThatAreNotNumbers) {
    for (const char* result : {"99,1", "abc", "1e", "1.2.3", "--1", "1e999", "0x10", "nan", "NaN",
                               "inf", "-inf", "N/A", "NAN", "NA1", "N"}) {
        std::vector<std::string> results = kWorkedResults;
        results[3] = result;
        EXPECT_EQ(ErrorOf([&] { ParseStudyFile(FileWithResultLines(results), '.'); }),
                  "Invalid numeric input")
            << result;
    }
}

TEST(ReadStudyFile, ALineNaInEitherCaseIsAMissingResult) {
    struct Row {
        const char* line;
        std::size_t position;
    };
    const Row rows[] = {{"NA", 0}, {"na", 3}, {"Na", 7}, {"  nA  ", 11}, {"NA trailing", 5}};
    for (const Row& row : rows) {
        std::vector<std::string> results = kWorkedResults;
        results[row.position] = row.line;
        const StudyFileContents contents = ParseStudyFileContents(FileWithResultLines(results));
        std::vector<std::string> expected = kWorkedCells;
        expected[row.position] = "NA";
        EXPECT_EQ(contents.ShownTexts(), expected) << row.line;
        EXPECT_TRUE(std::isnan(contents.shownResults[row.position])) << row.line;
        const Design design = contents.GetDesign();
        EXPECT_EQ(design.MissingCount(), 1u) << row.line;
        design.ForEachCell([&](const DesignCell& cell) {
            EXPECT_EQ(design.HoldsResult(cell), design.IndexOf(cell) != row.position) << row.line;
        });
        EXPECT_EQ(ResultCells(StudyOf(contents, '.')), expected) << row.line;
    }
}

TEST(ReadStudyFile, RefusesAFileThatEndsBeforeItsResults) {
    std::vector<std::string> results = kWorkedResults;
    results.pop_back();
    EXPECT_EQ(ErrorOf([&] { ParseStudyFile(FileWithResultLines(results), '.'); }),
              "El archivo está incompleto: faltan resultados del estudio.");
    results[4] = "";
    EXPECT_EQ(ErrorOf([&] { ParseStudyFile(FileWithResultLines(results), '.'); }),
              "El archivo está incompleto: faltan resultados del estudio.");
    const std::string whole = FileWithResultLines(kWorkedResults);
    EXPECT_EQ(ErrorOf([&] { ParseStudyFile(whole.substr(0, whole.size() - 10), '.'); }),
              "El archivo está incompleto: faltan resultados del estudio.");
    EXPECT_EQ(
        ErrorOf([&] { ParseStudyFile(whole.substr(0, 40) + '\x1a' + whole.substr(40), '.'); }),
        "El archivo está incompleto: faltan resultados del estudio.");
}

TEST(ReadStudyFile, RefusesCountsBeyondTheFormat) {
    const std::string refusal =
        "Un archivo de estudio admite de 1 a 10 analistas y de 1 a 100 resultados por analista.";
    for (const auto& counts :
         std::vector<std::vector<std::string>>{{"11", "2", "3"},
                                               {"0", "2", "3"},
                                               {"2", "-1", "3"},
                                               {"2", "2", "0"},
                                               {"2", "21", "5"},
                                               {"$7FFFFFFF", "$7FFFFFFF", "$7FFFFFFF"}}) {
        const std::string bytes = Lines({"m", "d", counts[0], counts[1], counts[2], "1", "2"});
        EXPECT_EQ(ErrorOf([&] { ParseStudyFile(bytes, '.'); }), refusal) << counts[0];
    }
}

TEST(ReadStudyFile, LoadsCountsOutsideTheStudyRangesWhenTheyFit) {
    std::vector<std::string> lines{"m", "d", "1", "20", "5"};
    for (int index = 0; index < 100; ++index) {
        lines.push_back(std::to_string(index));
    }
    const Study study = ParseStudyFile(Lines(lines), '.');
    EXPECT_EQ(study.gridColumns, 2);
    EXPECT_EQ(study.gridRows, 101);
    EXPECT_EQ(study.Cell(0, 100), "(Día 20,Replica 5)");
    EXPECT_EQ(study.Cell(1, 100), "99");
}

TEST(ReadStudyFile, KeepsLongAndEmptyTextFields) {
    const std::string longName(300, 'x');
    std::string bytes = FileWithResultLines(kWorkedResults);
    bytes.replace(0, bytes.find('\r'), longName);
    bytes.replace(bytes.find("01/06/2001"), 10, "");
    const Study study = ParseStudyFile(bytes, '.');
    EXPECT_EQ(study.methodName, longName);
    EXPECT_EQ(study.date, "");
}

TEST(ReadStudyFile, ReportsTheFileErrorsByTheirMessages) {
    TemporaryFolder folder;
    EXPECT_EQ(ErrorOf([&] { ReadStudyFile(folder / "absent.w05", '.'); }), "File not found");
    EXPECT_EQ(ErrorOf([&] { ReadStudyFile(folder / "no-folder" / "a.w05", '.'); }),
              "Invalid filename");
    EXPECT_EQ(ErrorOf([&] { ReadStudyFile(folder.Path(), '.'); }), "File access denied");
    EXPECT_EQ(ErrorOf([] { ReadStudyFile("/dev/zero", '.'); }), "File access denied");
}

TEST(ReadStudyFile, ReadsAFileOfExactlyTheSizeLimitAndRefusesOneByteMore) {
    TemporaryFolder folder;
    std::string bytes = ReadBytes(kWorkedExampleFile);
    bytes.resize(kMaxStudyFileBytes, ' ');
    WriteBytes(folder / "full.w05", bytes);
    EXPECT_EQ(ResultCells(ReadStudyFile(folder / "full.w05", '.')), kWorkedCells);
    WriteBytes(folder / "over.w05", bytes + ' ');
    EXPECT_EQ(ErrorOf([&] { ReadStudyFile(folder / "over.w05", '.'); }),
              "El archivo es demasiado grande para ser un archivo de estudio.");
}

TEST(ReadStudyFile, TheExtensionMakesNoDifference) {
    TemporaryFolder folder;
    const std::string bytes = ReadBytes(kWorkedExampleFile);
    WriteBytes(folder / "study.txt", bytes);
    WriteBytes(folder / "study", bytes);
    const Study fromW05 = ReadStudyFile(kWorkedExampleFile, '.');
    for (const char* name : {"study.txt", "study"}) {
        const Study other = ReadStudyFile(folder / name, '.');
        EXPECT_EQ(other.methodName, fromW05.methodName);
        EXPECT_EQ(ResultCells(other), ResultCells(fromW05));
    }
}

} // namespace
} // namespace orbeta
