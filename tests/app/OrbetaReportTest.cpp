// Runs the orbeta-report program as a script would and checks what it prints and returns.
#include "support/Processes.h"
#include "support/Studies.h"
#include "support/TemporaryFolder.h"

#include "files/StudyFile.h"
#include "study/Numbers.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <map>
#include <random>
#include <regex>
#include <sstream>
#include <string_view>
#include <sys/wait.h>
#include <tuple>
#include <utility>
#include <vector>

namespace orbeta {
namespace {

using testing::Outcome;
using testing::ReadBytes;
using testing::TemporaryFolder;
using testing::WriteBytes;

Outcome RunReportProgram(const std::string& arguments,
                         const std::string& environment = "LC_ALL=C") {
    return testing::RunCommand(environment + " " + ORBETA_REPORT_PROGRAM + " " + arguments);
}

const std::string kWorkedExample = testing::kWorkedExampleFile.string();

// A file in `folder` of a study of 2 analysts, 2 days and 2 replicates.
std::string StudyFile(const TemporaryFolder& folder, const std::string& name,
                      const std::string& method, const std::vector<std::string>& results) {
    Study study = testing::StudyWithResults(2, 2, 2, results);
    study.methodName = method;
    WriteStudyFile(folder / name, study, '.');
    return (folder / name).string();
}

// Every figure of a reported file, in the report's order: where it stands and what it holds.
struct Field {
    std::string path;
    bool (nlohmann::json::*holds)() const noexcept;
};

std::vector<Field> ReportedFields() {
    using Json = nlohmann::json;
    const auto text = &Json::is_string;
    const auto number = &Json::is_number;
    const auto truth = &Json::is_boolean;
    const std::tuple<std::string, decltype(text), std::string> groups[] = {
        {"/", text, "file fingerprint method date"},
        {"/", number, "analysts days replicates"},
        {"/anova/analyst/", number, "df ss ms f p p_exact"},
        {"/anova/analyst/", text,
         "conclusion conclusion_code conclusion_exact conclusion_exact_code"},
        {"/anova/day/", number, "df ss ms f p p_exact"},
        {"/anova/day/", text, "conclusion conclusion_code conclusion_exact conclusion_exact_code"},
        {"/anova/error/", number, "df ss ms"},
        {"/conclusions/", truth, "analyst_effect day_effect exact_conclusions_differ"},
        {"/precision/", number,
         "mean cv_total repeatability cv_repeatability repro_day_analyst cv_day_analyst "
         "repro_inter_analyst cv_inter_analyst max_relative_range"},
        {"/components/repeatability/", number,
         "variance sd cv percent df sd_low sd_high sd_upper rsd rsd_upper"},
        {"/components/day/", number, "variance sd cv percent"},
        {"/components/analyst/", number, "variance sd cv percent"},
        {"/components/intermediate/", number,
         "variance sd cv percent df sd_low sd_high sd_upper rsd mls_variance_low "
         "mls_variance_high mls_sd_upper rsd_upper"},
        {"/cochran/", number, "c critical_5 critical_1"},
        {"/cochran/", text, "verdict verdict_code"},
        {"/cochran/", number, "analyst day"},
        {"/flags/", truth, "few_analysts intervals_disagree"},
    };
    std::vector<Field> fields;
    for (const auto& [group, holds, names] : groups) {
        std::istringstream words(names);
        for (std::string name; words >> name;) {
            fields.push_back({group + name, holds});
        }
    }
    return fields;
}

// The rows of a CSV text by RFC 4180: fields split at commas outside quotes, rows at CR LF.
std::vector<std::vector<std::string>> CsvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t index = 0; index < text.size(); ++index) {
        const char c = text[index];
        if (c == '"') {
            if (quoted && index + 1 < text.size() && text[index + 1] == '"') {
                rows.back().back() += '"';
                ++index;
            } else {
                quoted = !quoted;
            }
        } else if (!quoted && c == ',') {
            rows.back().emplace_back();
        } else if (!quoted && text.compare(index, 2, "\r\n") == 0) {
            rows.emplace_back(1);
            ++index;
        } else {
            rows.back().back() += c;
        }
    }
    rows.pop_back(); // after the last CR LF
    return rows;
}

// The field of a CSV row under the header's column `name`.
const std::string& CsvCell(const std::vector<std::vector<std::string>>& rows, std::size_t row,
                           const std::string& name) {
    const auto column = std::find(rows[0].begin(), rows[0].end(), name) - rows[0].begin();
    return rows[row].at(static_cast<std::size_t>(column));
}

std::string Shown(const std::string& number) {
    return FormatResult(std::strtod(number.c_str(), nullptr), '.');
}

TEST(OrbetaReport, PrintsTheReportOfAStudyFile) {
    const Outcome outcome = RunReportProgram(kWorkedExample);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    EXPECT_TRUE(outcome.out.starts_with(
        "PRECISIÓN DEL MÉTODO ANALÍTICO (PRECISIÓN INTERMEDIA)\n \nNombre del método: "
        "Valoración\nFecha: 01/06/2001\n"));
    EXPECT_NE(outcome.out.find("\n(Día 1,Replica 3)          99\n"), std::string::npos)
        << "results shown as the program shows a loaded file";
    EXPECT_NE(outcome.out.find("\nfcal = 2.52577\nPfcal = 0.253851\n"), std::string::npos);
    EXPECT_TRUE(outcome.out.ends_with(
        "AMPLITUD MÁXIMA RELATIVA DE LAS DETERMINACIONES ANALÍTICAS = 1.63395\n"));
    EXPECT_EQ(std::count(outcome.out.begin(), outcome.out.end(), '\n'), 59);
}

TEST(OrbetaReport, ReportsFailuresOnTheErrorStreamOnly) {
    TemporaryFolder folder;
    std::string study = ReadBytes(kWorkedExample);
    WriteBytes(folder / "range.w05", study.replace(study.find("\r\n2\r\n"), 5, "\r\n1\r\n"));
    study = ReadBytes(kWorkedExample);
    WriteBytes(folder / "comma.w05", study.replace(study.find("99.1"), 4, "99,1"));

    struct Case {
        std::string arguments;
        std::string err;
    };
    for (const Case& failing : {
             Case{(folder / "range.w05").string(), "Datos fuera de rango, 2-10 Analistas\n"},
             Case{(folder / "comma.w05").string(), "Invalid numeric input.\n"},
             Case{(folder / "absent.w05").string(), "File not found.\n"},
         }) {
        const Outcome outcome = RunReportProgram(failing.arguments);
        EXPECT_EQ(outcome.status, 1) << failing.arguments;
        EXPECT_EQ(outcome.out, "") << failing.arguments;
        EXPECT_EQ(outcome.err, failing.err) << failing.arguments;
    }
}

TEST(OrbetaReport, FailsWhenTheReportCannotBeWritten) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "needs /dev/full";
    }
    const std::string command =
        std::string("LC_ALL=C ") + ORBETA_REPORT_PROGRAM + " " + kWorkedExample + " >/dev/full";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << "a script must not take a lost report for a written one";
}

TEST(OrbetaReport, UsesTheRegionalSeparatorOfTheEnvironment) {
    // A Spanish locale of the test's own, so that the machine's installed locales don't matter.
    TemporaryFolder locales;
    const std::string compile =
        "localedef -i es_ES -f UTF-8 " + (locales / "es_ES.UTF-8").string() + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(compile.c_str()), 0) << "localedef and the locale sources are needed";
    const Outcome outcome = RunReportProgram(kWorkedExample, "LOCPATH=" + locales.Path().string() +
                                                                 " LC_ALL=es_ES.UTF-8");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_NE(outcome.out.find("\n(Día 1,Replica 1)          99,1\n"), std::string::npos);
    EXPECT_NE(outcome.out.find("\nfcal = 2,52577\nPfcal = 0,253851\n"), std::string::npos);
    EXPECT_NE(outcome.out.find("\nMEDIA DE CUADRADOS = 0,1725\n"), std::string::npos);

    const Outcome csv =
        RunReportProgram("--format csv " + kWorkedExample,
                         "LOCPATH=" + locales.Path().string() + " LC_ALL=es_ES.UTF-8");
    const auto rows = CsvRows(csv.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].size(), rows[0].size()) << "numbers keep their \".\" in CSV";
    EXPECT_EQ(
        Shown(
            rows[1][std::find(rows[0].begin(), rows[0].end(), "precision_mean") - rows[0].begin()]),
        "99.6417");
}

// Each command line a misuse: exit 2, nothing on standard output, and its problem in one line.
template <typename Rows> void ExpectUsageErrors(const Rows& rows) {
    for (const auto& [arguments, problem] : rows) {
        const Outcome outcome = RunReportProgram(arguments);
        EXPECT_EQ(outcome.status, 2) << arguments;
        EXPECT_EQ(outcome.out, "") << arguments;
        EXPECT_EQ(outcome.err, std::string(problem) + "\nPruebe 'orbeta-report --help'.\n")
            << arguments;
    }
}

TEST(OrbetaReport, ExplainsItsUsage) {
    const Outcome help = RunReportProgram("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("Uso: orbeta-report [--format text|json|csv] "
                                     "[--limit-repeatability PCT]\n"));
    EXPECT_EQ(help.err, "");
    const Outcome version = RunReportProgram("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "ORBETA, versión " ORBETA_VERSION "\n");
    EXPECT_EQ(version.err, "");
    for (const char* documented : {"--limit-intermediate PCT",
                                   "sd_upper",
                                   "rsd_upper",
                                   "mls_variance_low",
                                   "mls_variance_high",
                                   "mls_sd_upper",
                                   "flags.few_analysts",
                                   "flags.intervals_disagree",
                                   "acceptance.repeatability",
                                   "acceptance.intermediate",
                                   "\"Cumple sin demostrarlo al 95 %\"",
                                   "\"No cumple\"",
                                   "\"-\" lee un estudio de la entrada estándar",
                                   "--plan",
                                   "--mean M",
                                   "--sd-repeatability S, --sd-day S, --sd-analyst S",
                                   "--probability P",
                                   "p_repeatability",
                                   "p_intermediate",
                                   "p_both",
                                   "recommended"}) {
        EXPECT_NE(help.out.find(documented), std::string::npos) << documented;
    }
    const std::pair<const char*, const char*> rows[] = {
        {"", "falta el ARCHIVO de estudio"},
        {"--bogus a.w05", "opción desconocida: --bogus"},
        {"--help=yes", "opción desconocida: --help=yes"},
        {"--format xml a.w05", "formato desconocido: xml"},
        {"--format=yaml a.w05", "formato desconocido: yaml"},
        {"--format json", "falta el ARCHIVO de estudio"},
        {"a.w05 --format", "falta el valor de --format"},
        {"a.w05 --limit-intermediate", "falta el valor de --limit-intermediate"},
        {"--format --limit-repeatability 2 a.w05", "falta el valor de --format"},
        {"--limit-intermediate -h a.w05", "falta el valor de --limit-intermediate"},
        {"--version=1", "opción desconocida: --version=1"},
        {"--verify a.w05", "--verify va solo, o con --pdf ARCHIVO"},
        {"--verify --pdf a.pdf b.pdf", "--verify va solo, o con --pdf ARCHIVO"},
        {"--verify --pdf=a.pdf --format json", "--verify va solo, o con --pdf ARCHIVO"},
        {"--verify --pdf", "falta el valor de --pdf"},
        {"--verify --pdf=", "falta el valor de --pdf"},
        {"--pdf a.pdf a.w05", "--pdf solo va con --verify"},
        {"--limit-repeatability 0 a.w05",
         "--limit-repeatability: El límite de la repetibilidad debe ser un número mayor que "
         "cero."},
        {"--limit-repeatability 1,5 a.w05",
         "--limit-repeatability: El límite de la repetibilidad debe ser un número mayor que "
         "cero."},
        {"--limit-repeatability -1 a.w05",
         "--limit-repeatability: El límite de la repetibilidad debe ser un número mayor que "
         "cero."},
        {"--limit-repeatability=-1 a.w05",
         "--limit-repeatability: El límite de la repetibilidad debe ser un número mayor que "
         "cero."},
        {"--limit-intermediate 2,5 a.w05",
         "--limit-intermediate: El límite de la precisión intermedia debe ser un número mayor "
         "que cero."},
        {"--limit-intermediate nan a.w05",
         "--limit-intermediate: El límite de la precisión intermedia debe ser un número mayor "
         "que cero."},
        {"--limit-intermediate=2x a.w05",
         "--limit-intermediate: El límite de la precisión intermedia debe ser un número mayor "
         "que cero."},
    };
    ExpectUsageErrors(rows);
}

// The man page names every option the usage names, as the page's source spells an option's
// hyphens.
TEST(OrbetaReport, ItsManPageDocumentsEveryOptionOfTheUsage) {
    std::string page = ReadBytes(ORBETA_REPORT_MAN_PAGE);
    page = std::regex_replace(page, std::regex(R"(\\-)"), "-");
    const std::string usage = RunReportProgram("--help").out;
    const std::regex option(R"((^|[\s\[(,|])(--?[a-z][a-z-]*))");
    std::vector<std::string> options;
    for (auto match = std::sregex_iterator(usage.begin(), usage.end(), option);
         match != std::sregex_iterator(); ++match) {
        if (std::find(options.begin(), options.end(), (*match)[2]) == options.end()) {
            options.push_back((*match)[2]);
        }
    }
    EXPECT_EQ(options, (std::vector<std::string>{
                           "--format", "--limit-repeatability", "--limit-intermediate", "--plan",
                           "--mean", "--sd-repeatability", "--sd-day", "--sd-analyst",
                           "--probability", "--verify", "--pdf", "--help", "-h", "--version"}));
    for (const std::string& name : options) {
        EXPECT_TRUE(std::regex_search(page, std::regex("(^|[^a-z-])" + name + "([^a-z-]|$)")))
            << name;
    }
}

TEST(OrbetaReport, ReadsStandardInputAndRefusesAFolder) {
    const std::string report = RunReportProgram(kWorkedExample).out;
    const Outcome piped = RunReportProgram("- <" + kWorkedExample);
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out, report);
    TemporaryFolder folder;
    const Outcome outcome = RunReportProgram(folder.Path().string());
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err,
              "'" + folder.Path().string() + "' es una carpeta, no un archivo de estudio.\n");
}

TEST(OrbetaReport, ReportsSeveralFilesAsTextInOrder) {
    const std::string report = RunReportProgram(kWorkedExample).out;
    TemporaryFolder folder;
    const std::string absent = (folder / "absent.w05").string();
    const Outcome outcome =
        RunReportProgram(kWorkedExample + " " + absent + " --format=text " + kWorkedExample);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, report + "\n" + report);
    EXPECT_EQ(outcome.err, absent + ": File not found.\n");
}

// The report of one entry alone, its standard input from `input`: the object of its JSON, or the
// row of its CSV.
std::string ReportOfOne(const std::string& format, const std::string& entry,
                        const std::string& input) {
    const std::string out = RunReportProgram("--format " + format + " " + entry + " <" + input).out;
    const std::string_view jsonOpening = "[\n  ";
    const std::string_view jsonClosing = "\n]\n";
    if (format == "json") {
        return out.substr(jsonOpening.size(), out.size() - jsonOpening.size() - jsonClosing.size());
    }
    return out.substr(out.find("\r\n") + 2);
}

// Where two long texts first differ, with some of each from there; empty when they are equal.
// (A plain comparison of megabytes would have the test framework diff them.)
std::string FirstDifference(const std::string& actual, const std::string& expected) {
    if (actual == expected) {
        return "";
    }
    const auto at = static_cast<std::size_t>(
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end()).first -
        actual.begin());
    return "at byte " + std::to_string(at) + ": \"" + actual.substr(at, 60) + "\" instead of \"" +
           expected.substr(at, 60) + "\"";
}

TEST(OrbetaReport, ABatchIsWrittenInTheOrderGivenWhateverItsLength) {
    TemporaryFolder folder;
    std::vector<std::string> files;
    for (int index = 0; index < 30; ++index) {
        files.push_back(StudyFile(
            folder, std::to_string(index) + ".w05", "M" + std::to_string(index),
            {"99.1", "99.3", "98.9", "99.6", "99.2", "99.0", "99.8", std::to_string(90 + index)}));
    }
    files.push_back((folder / "absent.w05").string());
    std::mt19937 random(5);
    std::vector<std::string> many;
    while (many.size() < 600) {
        many.push_back(files[random() % files.size()]);
    }
    many[300] = files.back();
    struct Row {
        std::vector<std::string> entries;
        std::string input; // for the first "-"; any later one reads nothing
    };
    const Row rows[] = {{many, "/dev/null"}, {{files[0], "-", files[1], "-"}, files[2]}};
    for (const std::string format : {"json", "csv"}) {
        std::map<std::pair<std::string, std::string>, std::string> alone;
        const std::string csv = RunReportProgram("--format csv - </dev/null").out;
        const std::string header = csv.substr(0, csv.find("\r\n") + 2);
        for (const Row& row : rows) {
            std::string expected = format == "json" ? "[" : header;
            std::string input = row.input;
            for (std::size_t index = 0; index < row.entries.size(); ++index) {
                const std::string& entry = row.entries[index];
                const std::string entryInput =
                    entry == "-" ? std::exchange(input, "/dev/null") : "/dev/null";
                auto [known, added] = alone.try_emplace({entry, entryInput});
                if (added) {
                    known->second = ReportOfOne(format, entry, entryInput);
                }
                expected += format == "json" ? (index == 0 ? "\n  " : ",\n  ") : "";
                expected += known->second;
            }
            expected += format == "json" ? "\n]\n" : "";
            std::string arguments = "--format " + format;
            for (const std::string& entry : row.entries) {
                arguments += " " + entry;
            }
            const Outcome outcome = RunReportProgram(arguments + " <" + row.input);
            EXPECT_EQ(outcome.status, 1) << format << " " << row.entries.size();
            EXPECT_EQ(FirstDifference(outcome.out, expected), "")
                << format << " " << row.entries.size();
        }
    }
}

TEST(OrbetaReport, JsonHoldsEveryFigureOfEachFileInOrder) {
    TemporaryFolder folder;
    // F = 18 on 1 and 2 df: the approximation declares an analyst effect, the exact P,
    // 1 - sqrt(0.9), does not.
    const std::string differ =
        StudyFile(folder, "differ.w05", "Contraste",
                  {"98.5", "99.5", "100.5", "101.5", "104.5", "105.5", "106.5", "107.5"});
    std::string damaged = ReadBytes(kWorkedExample);
    WriteBytes(folder / "comma.w05", damaged.replace(damaged.find("99.1"), 4, "99,1"));
    const std::string comma = (folder / "comma.w05").string();

    const Outcome outcome =
        RunReportProgram("--format json " + kWorkedExample + " " + comma + " " + differ);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "");
    const auto document = nlohmann::json::parse(outcome.out);
    ASSERT_EQ(document.size(), 3u);
    for (const auto& report : {document[0], document[2]}) {
        for (const Field& field : ReportedFields()) {
            const nlohmann::json::json_pointer pointer(field.path);
            ASSERT_TRUE(report.contains(pointer)) << field.path;
            EXPECT_TRUE((report[pointer].*field.holds)()) << field.path;
        }
    }
    EXPECT_EQ(document[1], (nlohmann::json{{"file", comma}, {"error", "Invalid numeric input."}}));
    // Two analysts of two days each give Grubbs no sample of three means.
    EXPECT_FALSE(document[0].contains("grubbs"));

    struct Figure {
        int file;
        const char* path;
        const char* shown;
    };
    for (const Figure& figure : {
             Figure{0, "/anova/analyst/p", "0.253851"},
             Figure{0, "/anova/analyst/p_exact", "0.252948"},
             Figure{0, "/precision/cv_inter_analyst", "0.630616"},
             Figure{0, "/components/day/variance", "0.0772222"},
             Figure{0, "/components/intermediate/sd_low", "0.351921"},
             Figure{2, "/anova/analyst/p_exact", "0.0513167"},
             Figure{2, "/components/repeatability/sd_high", "2.03191"},
         }) {
        const auto& value = document[figure.file][nlohmann::json::json_pointer(figure.path)];
        EXPECT_EQ(FormatResult(value.get<double>(), '.'), figure.shown) << figure.path;
    }
    EXPECT_EQ(document[0]["file"], kWorkedExample);
    EXPECT_EQ(document[0]["method"], "Valoración");
    EXPECT_EQ(document[2]["conclusions"]["analyst_effect"], true);
    EXPECT_EQ(document[2]["conclusions"]["exact_conclusions_differ"], true);
    EXPECT_EQ(document[0]["conclusions"]["exact_conclusions_differ"], false);
}

TEST(OrbetaReport, WritesEachNumberInItsShortestExactForm) {
    // Among this study's figures are doubles that a 17-digit text reads back as, though 16
    // digits are enough.
    TemporaryFolder folder;
    const std::string file =
        StudyFile(folder, "study.w05", "M",
                  {"98.69", "101.38", "101.32", "99.62", "98.16", "101.43", "101.47", "101.19"});
    const Outcome outcome = RunReportProgram("--format json " + file);
    ASSERT_EQ(outcome.status, 0);
    const std::regex numberAfterKey(R"(": (-?[0-9][-+.eE0-9]*))");
    std::ptrdiff_t numbers = 0;
    for (auto match = std::sregex_iterator(outcome.out.begin(), outcome.out.end(), numberAfterKey);
         match != std::sregex_iterator(); ++match, ++numbers) {
        const std::string text = (*match)[1];
        std::string digits = text.substr(0, text.find_first_of("eE"));
        std::erase_if(digits, [](char c) { return c < '0' || c > '9'; });
        digits.erase(0, digits.find_first_not_of('0'));
        digits.erase(digits.find_last_not_of('0') + 1);
        if (digits.size() > 1) {
            std::ostringstream shorter;
            shorter << std::setprecision(static_cast<int>(digits.size()) - 1)
                    << std::strtod(text.c_str(), nullptr);
            EXPECT_NE(std::strtod(shorter.str().c_str(), nullptr),
                      std::strtod(text.c_str(), nullptr))
                << text << " reads back from " << shorter.str();
        }
    }
    const auto fields = ReportedFields();
    EXPECT_EQ(numbers, std::count_if(fields.begin(), fields.end(), [](const Field& field) {
                  return field.holds == &nlohmann::json::is_number;
              }));
}

TEST(OrbetaReport, CsvHasAHeaderAndARowPerFile) {
    TemporaryFolder folder;
    Study quoted = testing::WorkedExample();
    quoted.methodName = "Valoración, \"lote 7\"";
    WriteStudyFile(folder / "quoted.w05", quoted, '.');
    const std::string absent = (folder / "absent.w05").string();
    const Outcome outcome =
        RunReportProgram("--format csv " + (folder / "quoted.w05").string() + " " + absent);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "");
    const auto rows = CsvRows(outcome.out);
    ASSERT_EQ(rows.size(), 3u);

    std::vector<std::string> header;
    for (const Field& field : ReportedFields()) {
        header.push_back(field.path.substr(1));
        std::replace(header.back().begin(), header.back().end(), '/', '_');
        // What a study with results missing adds, empty for a complete one.
        if (header.back() == "replicates") {
            for (const char* name :
                 {"count", "cells", "absent_analyst_test", "absent_mls", "absent_cochran",
                  "absent_grubbs_analysts", "absent_grubbs_days"}) {
                header.push_back(std::string("missing_") + name);
            }
        }
        if (header.back() == "anova_analyst_conclusion_exact_code") {
            header.emplace_back("anova_analyst_df_denominator");
        }
        // Grubbs's columns stand after Cochran's, empty where a design has no sample to test.
        if (header.back() == "cochran_day") {
            for (const char* level : {"analysts", "days"}) {
                header.push_back(std::string("grubbs_") + level + "_critical_5");
                header.push_back(std::string("grubbs_") + level + "_critical_1");
                for (const char* extreme : {"high", "low"}) {
                    for (const char* name : {"g", "verdict", "verdict_code", "analyst", "day"}) {
                        if (std::string(level) == "analysts" && std::string(name) == "day") {
                            continue;
                        }
                        header.push_back(std::string("grubbs_") + level + "_" + extreme + "_" +
                                         name);
                    }
                }
            }
        }
    }
    for (const char* measure : {"repeatability", "intermediate"}) {
        for (const char* name : {"limit", "rsd", "rsd_upper", "verdict", "verdict_code"}) {
            header.push_back(std::string("acceptance_") + measure + "_" + name);
        }
    }
    header.emplace_back("error");
    EXPECT_EQ(rows[0], header);
    auto cell = [&](std::size_t row, const std::string& name) {
        const auto column = std::find(header.begin(), header.end(), name) - header.begin();
        return rows[row].at(static_cast<std::size_t>(column));
    };
    ASSERT_EQ(rows[1].size(), header.size());
    EXPECT_EQ(cell(1, "method"), "Valoración, \"lote 7\"");
    EXPECT_EQ(Shown(cell(1, "anova_analyst_p_exact")), "0.252948");
    EXPECT_EQ(Shown(cell(1, "components_intermediate_sd_low")), "0.351921");
    EXPECT_EQ(cell(1, "conclusions_analyst_effect"), "false");
    EXPECT_EQ(cell(1, "cochran_verdict"), "correcto");
    EXPECT_EQ(cell(1, "cochran_verdict_code"), "correct");
    EXPECT_EQ(cell(1, "anova_analyst_conclusion"), "sin efecto");
    EXPECT_EQ(cell(1, "anova_analyst_conclusion_code"), "no_effect");
    EXPECT_EQ(cell(1, "error"), "");

    std::vector<std::string> failed(header.size());
    failed.front() = absent;
    failed.back() = "File not found.";
    EXPECT_EQ(rows[2], failed);
}

// Every leaf of a JSON value under the name of its CSV column, the keys of its path joined by "_".
void AddLeaves(const nlohmann::json& value, const std::string& name,
               std::map<std::string, nlohmann::json>& leaves) {
    if (!value.is_object()) {
        leaves[name] = value;
        return;
    }
    for (const auto& [key, item] : value.items()) {
        AddLeaves(item, name.empty() ? key : name + "_" + key, leaves);
    }
}

TEST(OrbetaReport, EachCsvRowHoldsWhatItsJsonObjectHoldsAndNothingElse) {
    // A name to quote in CSV that is not UTF-8; a study with results missing; one with both
    // Grubbs levels; a file that fails; one limit of two, so that half the acceptance is empty.
    TemporaryFolder folder;
    const std::string named = (folder / "bad\xff, \"q\".w05").string();
    WriteBytes(named, ReadBytes(kWorkedExample));
    const std::filesystem::path data(ORBETA_TEST_DATA);
    const std::vector<std::string> files = {named, (data / "largest-missing.w05").string(),
                                            (data / "largest.w05").string(),
                                            (folder / "absent.w05").string()};
    std::string arguments = "--limit-intermediate 3.5";
    for (const std::string& file : files) {
        arguments += " '" + file + "'";
    }
    const Outcome json = RunReportProgram("--format json " + arguments);
    const Outcome csv = RunReportProgram("--format csv " + arguments);
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(csv.status, 1);
    const auto document = nlohmann::json::parse(json.out);
    const auto rows = CsvRows(csv.out);
    ASSERT_EQ(document.size(), files.size());
    ASSERT_EQ(rows.size(), files.size() + 1);
    // JSON replaces the byte that is not UTF-8; CSV keeps the name byte for byte.
    EXPECT_EQ(document[0]["file"], folder.Path().string() + "/bad\xEF\xBF\xBD, \"q\".w05");

    const std::vector<std::string>& header = rows[0];
    for (std::size_t file = 0; file < files.size(); ++file) {
        std::map<std::string, nlohmann::json> leaves;
        AddLeaves(document[file], "", leaves);
        leaves["file"] = files[file];
        const std::vector<std::string>& row = rows[file + 1];
        ASSERT_EQ(row.size(), header.size()) << files[file];
        for (std::size_t column = 0; column < header.size(); ++column) {
            const std::string& cell = row[column];
            const auto leaf = leaves.find(header[column]);
            if (leaf == leaves.end()) {
                EXPECT_EQ(cell, "") << files[file] << ": " << header[column];
                continue;
            }
            const nlohmann::json& value = leaf->second;
            if (value.is_number()) {
                // The same double; an empty cell reads as none.
                EXPECT_EQ(cell.empty() ? std::nan("") : std::strtod(cell.c_str(), nullptr),
                          value.get<double>())
                    << files[file] << ": " << header[column] << " " << cell;
            } else {
                EXPECT_EQ(cell, value.is_string() ? value.get<std::string>() : value.dump())
                    << files[file] << ": " << header[column];
            }
            leaves.erase(leaf);
        }
        // Every member of the JSON has its column.
        EXPECT_TRUE(leaves.empty()) << files[file] << ": " << leaves.begin()->first;
    }
    EXPECT_EQ(rows[4].back(), "File not found.");
}

TEST(OrbetaReport, RefusesAStudyWithMissingResultsAsTextAndGoesOnWithTheNext) {
    const std::string missing = (std::filesystem::path(ORBETA_TEST_DATA) / "lost-day.w05").string();
    const std::string refusal =
        "El estudio tiene resultados faltantes (NA): sus cálculos están en Análisis ampliado.\n";
    const Outcome alone = RunReportProgram(missing);
    EXPECT_EQ(alone.status, 1);
    EXPECT_EQ(alone.out, "");
    EXPECT_EQ(alone.err, refusal);

    const Outcome batch = RunReportProgram(missing + " " + kWorkedExample + " " + missing);
    EXPECT_EQ(batch.status, 1);
    EXPECT_EQ(batch.out, RunReportProgram(kWorkedExample).out);
    EXPECT_EQ(batch.err, missing + ": " + refusal + missing + ": " + refusal);
}

TEST(OrbetaReport, GivesTheFiguresOfAStudyWithMissingResultsInJsonAndCsv) {
    // Expected figures from tools/unbalanced-expectations (exact rationals and mpmath).
    struct Figure {
        const char* path;
        const char* shown;
    };
    struct Case {
        const char* file;
        const char* cells;
        std::vector<Figure> figures;
    };
    const Case cases[] = {
        {"missing-replicate.w05",
         "[[2,1,2]]",
         {{"/anova/analyst/df", "1"},
          {"/anova/day/df", "2"},
          {"/anova/error/df", "7"},
          {"/anova/analyst/ss", "1.02594"},
          {"/anova/day/ss", "1.063"},
          {"/anova/error/ss", "1.09833"},
          {"/anova/day/ms", "0.5315"},
          {"/anova/analyst/f", "1.88991"},
          {"/anova/day/f", "3.38741"},
          {"/anova/analyst/df_denominator", "1.96538"},
          {"/anova/analyst/p_exact", "0.304971"},
          {"/anova/day/p_exact", "0.0935499"},
          {"/components/day/variance", "0.138739"},
          {"/components/analyst/variance", "0.0885661"},
          {"/components/intermediate/variance", "0.38421"},
          {"/components/intermediate/df", "3.56147"},
          {"/components/intermediate/sd_low", "0.363218"},
          {"/components/repeatability/sd_upper", "0.711873"},
          {"/components/intermediate/mls_sd_upper", "6.9328"},
          {"/precision/mean", "99.6545"},
          {"/missing/count", "1"}}},
        {"lost-day.w05",
         "[[2,2,1],[2,2,2]]",
         {{"/anova/day/df", "5"},
          {"/anova/error/df", "8"},
          {"/anova/analyst/ss", "0.217133"},
          {"/anova/day/ss", "0.0543667"},
          {"/anova/analyst/f", "9.98467"},
          {"/anova/analyst/df_denominator", "5"},
          {"/anova/analyst/p_exact", "0.0179435"},
          {"/components/day/variance", "0.00427417"},
          {"/components/analyst/variance", "0.0186083"},
          {"/components/intermediate/df", "2.9383"},
          {"/components/intermediate/mls_variance_high", "0.821504"},
          {"/cochran/c", "0.172043"},
          {"/cochran/critical_5", "0.679821"},
          {"/cochran/analyst", "2"},
          {"/cochran/day", "3"},
          {"/precision/mean", "50.0875"},
          {"/missing/count", "2"}}},
    };
    for (const Case& study : cases) {
        const std::string file = (std::filesystem::path(ORBETA_TEST_DATA) / study.file).string();
        const Outcome json = RunReportProgram("--format json " + file);
        const Outcome csv = RunReportProgram("--format csv " + file);
        EXPECT_EQ(json.status, 0) << study.file;
        EXPECT_EQ(csv.status, 0) << study.file;
        const auto report = nlohmann::json::parse(json.out).at(0);
        const auto rows = CsvRows(csv.out);
        ASSERT_EQ(rows.size(), 2u) << study.file;
        for (const Figure& figure : study.figures) {
            const auto& value = report[nlohmann::json::json_pointer(figure.path)];
            EXPECT_EQ(FormatResult(value.get<double>(), '.'), figure.shown) << figure.path;
            std::string column = std::string(figure.path).substr(1);
            std::replace(column.begin(), column.end(), '/', '_');
            EXPECT_EQ(Shown(CsvCell(rows, 1, column)), figure.shown) << column;
        }
        EXPECT_EQ(report["missing"]["cells"].dump(), study.cells) << study.file;
        EXPECT_EQ(CsvCell(rows, 1, "missing_cells"), study.cells) << study.file;
    }
    // Cochran's days of unequal counts in the first, equal ones in the second.
    const auto absent = [](const char* name) {
        const std::string file = (std::filesystem::path(ORBETA_TEST_DATA) / name).string();
        return nlohmann::json::parse(RunReportProgram("--format json " + file).out)
            .at(0)["missing"]["absent"];
    };
    EXPECT_EQ(absent("missing-replicate.w05"), (nlohmann::json{{"analyst_test", false},
                                                               {"mls", false},
                                                               {"cochran", true},
                                                               {"grubbs_analysts", false},
                                                               {"grubbs_days", false}}));
    EXPECT_EQ(absent("lost-day.w05")["cochran"], false);
}

TEST(OrbetaReport, FingerprintsEachFileAsSha256sumDoes) {
    const std::string missing =
        (std::filesystem::path(ORBETA_TEST_DATA) / "missing-replicate.w05").string();
    const Outcome sums = testing::RunCommand("sha256sum " + kWorkedExample + " " + missing);
    ASSERT_EQ(sums.status, 0);
    const std::vector<std::string> expected{sums.out.substr(0, 64),
                                            sums.out.substr(sums.out.find('\n') + 1, 64)};
    const Outcome json = RunReportProgram("--format json " + kWorkedExample + " " + missing);
    const Outcome csv = RunReportProgram("--format csv " + kWorkedExample + " " + missing);
    const Outcome piped = RunReportProgram("--format json - < " + missing);
    const auto document = nlohmann::json::parse(json.out);
    const auto rows = CsvRows(csv.out);
    ASSERT_EQ(rows.size(), 3u);
    for (std::size_t file = 0; file < expected.size(); ++file) {
        EXPECT_EQ(document.at(file)["fingerprint"], expected[file]) << file;
        EXPECT_EQ(CsvCell(rows, file + 1, "fingerprint"), expected[file]) << file;
    }
    EXPECT_EQ(nlohmann::json::parse(piped.out).at(0)["fingerprint"], expected[1]);
}

TEST(OrbetaReport, ReportsTheResultsAsTheFileHoldsThem) {
    // Six significant digits would change the first four results and the seventh.
    TemporaryFolder folder;
    WriteBytes(folder / "pesadas.w05",
               "Pesadas\r\n09/12/2026\r\n2\r\n2\r\n2\r\n1234567\r\n1234567\r\n"
               "1234568\r\n1234568\r\n1E-5\r\n3E-5\r\n100.000049\r\n98.50\r\n");
    const std::string file = (folder / "pesadas.w05").string();

    const Outcome text = RunReportProgram(file);
    ASSERT_EQ(text.status, 0) << text.err;
    const std::string data = text.out.substr(text.out.find("                    Analista 1"));
    EXPECT_EQ(data.substr(0, data.find(" \n")), "                    Analista 1\n"
                                                "(Día 1,Replica 1)          1234567\n"
                                                "(Día 1,Replica 2)          1234567\n"
                                                "(Día 2,Replica 1)          1234568\n"
                                                "(Día 2,Replica 2)          1234568\n"
                                                "                    Analista 2\n"
                                                "(Día 1,Replica 1)          1E-5\n"
                                                "(Día 1,Replica 2)          3E-5\n"
                                                "(Día 2,Replica 1)          100.000049\n"
                                                "(Día 2,Replica 2)          98.5\n");

    // The figures of the exact results, by exact rational arithmetic. CSV holds the figures that
    // JSON does, from the same reading.
    const auto json = nlohmann::json::parse(RunReportProgram("--format json " + file).out);
    for (const auto& [path, shown] :
         {std::pair{"/anova/day/ss", "9851.56"}, std::pair{"/anova/error/ss", "1.12507"},
          std::pair{"/precision/mean", "617309"}}) {
        EXPECT_EQ(Shown(json[0][nlohmann::json::json_pointer(path)].dump()), shown) << path;
    }
}

TEST(OrbetaReport, EveryFormatQuotesABinaryFileReadably) {
    // A binary file's bytes as a count line: the message must survive its NUL bytes.
    TemporaryFolder folder;
    WriteBytes(folder / "binary.w05",
               "M\r\nD\r\n\177ELF\2\1\1" + std::string(50, '\0') + "\r\n2\r\n3\r\n");
    const std::string file = (folder / "binary.w05").string();
    const std::string message = "'?ELF" + std::string(36, '?') + "…' is not a valid integer value.";

    const Outcome text = RunReportProgram(file);
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.err, message + "\n");
    const Outcome json = RunReportProgram("--format json " + file);
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(nlohmann::json::parse(json.out),
              nlohmann::json::array({nlohmann::json{{"file", file}, {"error", message}}}));
    const Outcome csv = RunReportProgram("--format csv " + file);
    EXPECT_EQ(csv.status, 1);
    const auto rows = CsvRows(csv.out);
    ASSERT_EQ(rows.size(), 2u);
    std::vector<std::string> failed(rows[0].size());
    failed.front() = file;
    failed.back() = message;
    EXPECT_EQ(rows[1], failed);
}

TEST(OrbetaReport, JudgesTheLimitsGivenInJsonAndCsv) {
    // The worked example, computed apart: repeatability RSD 0.416825 % with its chi-square upper
    // bound 0.713194 %; intermediate 0.595852 % with the one-sided MLS bound 6.61687 %.
    struct Row {
        const char* limits;
        std::vector<std::string> expected; // the acceptance columns, shown
    };
    const Row rows[] = {
        {"", {"", "", "", "", "", "", "", "", "", ""}},
        {"--limit-intermediate 2",
         {"", "", "", "", "", "2", "0.595852", "6.61687", "Cumple sin demostrarlo al 95 %",
          "meets_unproven"}},
        {"--limit-repeatability=0.72 --limit-intermediate 0.5",
         {"0.72", "0.416825", "0.713194", "Cumple", "meets", "0.5", "0.595852", "6.61687",
          "No cumple", "fails"}},
    };
    for (const Row& row : rows) {
        const auto document = nlohmann::json::parse(
            RunReportProgram(std::string("--format json ") + row.limits + " " + kWorkedExample)
                .out);
        const auto csv = CsvRows(
            RunReportProgram(std::string("--format csv ") + row.limits + " " + kWorkedExample).out);
        ASSERT_EQ(document.size(), 1u) << row.limits;
        ASSERT_EQ(csv.size(), 2u) << row.limits;
        std::vector<std::string> fromJson;
        std::vector<std::string> fromCsv;
        for (const char* measure : {"repeatability", "intermediate"}) {
            for (const char* name : {"limit", "rsd", "rsd_upper", "verdict", "verdict_code"}) {
                const nlohmann::json::json_pointer place(std::string("/acceptance/") + measure +
                                                         "/" + name);
                const std::string column = std::string("acceptance_") + measure + "_" + name;
                const std::string& cell = CsvCell(csv, 1, column);
                const bool verdict = std::string_view(name).starts_with("verdict");
                fromCsv.push_back(verdict || cell.empty() ? cell : Shown(cell));
                if (!document[0].contains(place)) {
                    fromJson.emplace_back();
                } else {
                    const auto& value = document[0][place];
                    fromJson.push_back(verdict ? value.get<std::string>()
                                               : FormatResult(value.get<double>(), '.'));
                }
            }
        }
        EXPECT_EQ(fromJson, row.expected) << row.limits;
        EXPECT_EQ(fromCsv, row.expected) << row.limits;
        EXPECT_EQ(document[0].contains("acceptance"), *row.limits != '\0') << row.limits;
    }
}

TEST(OrbetaReport, NamesTheDaysOfCochranAndGrubbsByAnalystAndDay) {
    // Analyst 3's day 2 spreads widest, as a day of the whole study the 6th; among the analysts'
    // means analyst 4's stands highest and analyst 2's lowest.
    TemporaryFolder folder;
    WriteStudyFile(
        folder / "five.w05",
        testing::StudyWithResults(5, 2, 2, {"99.90",  "100.10", "100.10", "100.30", "99.80",
                                            "100.00", "100.00", "100.20", "99.70",  "99.90",
                                            "99.50",  "101.10", "99.90",  "100.10", "100.60",
                                            "100.80", "100.00", "100.20", "99.80",  "100.00"}),
        '.');
    const std::string file = (folder / "five.w05").string();
    const auto document = nlohmann::json::parse(RunReportProgram("--format json " + file).out);
    const auto csv = CsvRows(RunReportProgram("--format csv " + file).out);
    ASSERT_EQ(csv.size(), 2u);
    const std::vector<std::string> places = {"cochran/analyst", "cochran/day",
                                             "grubbs/analysts/high/analyst",
                                             "grubbs/analysts/low/analyst"};
    std::vector<std::string> fromJson;
    std::vector<std::string> fromCsv;
    for (const std::string& place : places) {
        fromJson.push_back(document[0][nlohmann::json::json_pointer("/" + place)].dump());
        std::string column = place;
        std::replace(column.begin(), column.end(), '/', '_');
        fromCsv.push_back(CsvCell(csv, 1, column));
    }
    const std::vector<std::string> expected = {"3", "2", "4", "2"};
    EXPECT_EQ(fromJson, expected);
    EXPECT_EQ(fromCsv, expected);
}

// The planner for a lab's expectation: mean 100, SDs 0.4, 0.3 and 0.5, a repeatability limit
// of 0.5 %. With that limit alone the probability has a closed form, so the recommended design
// (3 x 8 x 5, 92.1773 %) and the figures of the first one were computed apart, in
// multiple-precision arithmetic.
const std::string kPlan = "--plan --mean 100 --sd-repeatability 0.4 --sd-day 0.3 --sd-analyst 0.5 "
                          "--limit-repeatability 0.5";

TEST(OrbetaReport, PlansAStudyInEachFormat) {
    const Outcome text = RunReportProgram(kPlan);
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.err, "");
    std::vector<std::string> lines;
    std::istringstream stream(text.out);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 327u);
    EXPECT_EQ(lines[0], "Analistas  Días  Replicaciones    N  E[MC] analista  E[MC] día  "
                        "E[MC] error  gl Satterthwaite  Cota MLS / DE  P repetibilidad (%)");
    EXPECT_EQ(lines[1], "        2     2              2    8            1.34       0.34  "
                        "       0.16           2.12879        13.0672              10.7398");
    EXPECT_EQ(lines[325], "");
    EXPECT_EQ(lines[326],
              "Se recomienda el diseño de 3 analistas × 8 días × 5 replicaciones (120 "
              "determinaciones): es el de menos determinaciones con una probabilidad de al menos "
              "el 90 % de demostrar al 95 % que la repetibilidad no pasa del 0.5 % (92.1773 %).");

    const Outcome json = RunReportProgram(kPlan + " --format json --probability 92.5");
    EXPECT_EQ(json.status, 0);
    const auto document = nlohmann::ordered_json::parse(json.out);
    EXPECT_EQ(document["inputs"]["limit_intermediate"], nullptr);
    EXPECT_EQ(document["inputs"]["probability"], 92.5);
    EXPECT_EQ(document["designs"].size(), 324u);
    std::vector<std::string> first;
    for (const auto& [key, value] : document["designs"][0].items()) {
        first.push_back(key + "=" + FormatResult(value.get<double>(), '.'));
    }
    EXPECT_EQ(first,
              (std::vector<std::string>{"analysts=2", "days=2", "replicates=2", "determinations=8",
                                        "expected_ms_analyst=1.34", "expected_ms_day=0.34",
                                        "expected_ms_error=0.16", "satterthwaite_df=2.12879",
                                        "bound_ratio=13.0672", "p_repeatability=10.7398"}));
    // 92.1773 % falls short of 92.5 %: the next design in order that reaches it.
    const auto& chosen = document["recommendation"];
    EXPECT_TRUE(chosen["reached"].get<bool>());
    EXPECT_GT(chosen["determinations"].get<int>(), 120);

    const Outcome csv = RunReportProgram(kPlan + " --format csv");
    EXPECT_EQ(csv.status, 0);
    const auto rows = CsvRows(csv.out);
    ASSERT_EQ(rows.size(), 325u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"analysts", "days", "replicates", "determinations",
                                                 "expected_ms_analyst", "expected_ms_day",
                                                 "expected_ms_error", "satterthwaite_df",
                                                 "bound_ratio", "p_repeatability", "recommended"}));
    std::vector<std::string> recommended;
    for (std::size_t row = 1; row < rows.size(); ++row) {
        if (CsvCell(rows, row, "recommended") == "true") {
            recommended.push_back(rows[row][0] + "x" + rows[row][1] + "x" + rows[row][2] + " " +
                                  Shown(CsvCell(rows, row, "p_repeatability")));
        }
    }
    EXPECT_EQ(recommended, std::vector<std::string>{"3x8x5 92.1773"});
}

TEST(OrbetaReport, RefusesABadPlanNamingTheOption) {
    const std::string spread = " --sd-repeatability 0.4 --sd-day 0.3 --sd-analyst 0.5";
    const std::pair<std::string, const char*> rows[] = {
        {"--plan --mean 0" + spread + " --limit-repeatability 1",
         "--mean: El promedio esperado debe ser un número mayor que cero."},
        {"--plan --mean 100 --sd-repeatability 0 --sd-day 0 --sd-analyst 0 "
         "--limit-repeatability 1",
         "--sd-repeatability: La desviación estándar de repetibilidad debe ser un número mayor "
         "que cero."},
        {"--plan --mean 100 --sd-repeatability 1 --sd-day=-1 --sd-analyst 0 "
         "--limit-repeatability 1",
         "--sd-day: La desviación estándar entre días debe ser un número mayor o igual que cero."},
        {"--plan --mean 100 --sd-repeatability 1 --sd-day 0 --sd-analyst 0,5 "
         "--limit-repeatability 1",
         "--sd-analyst: La desviación estándar entre analistas debe ser un número mayor o igual "
         "que cero."},
        {"--plan --mean 100" + spread,
         "--limit-repeatability: Indique al menos un límite: el de la repetibilidad o el de la "
         "precisión intermedia."},
        {"--plan --mean 100" + spread + " --limit-intermediate 1 --probability 100",
         "--probability: La probabilidad deseada debe ser un número mayor que 0 y menor que 100."},
        {"--plan --mean 100 --sd-day 0.3 --sd-analyst 0.5 --limit-repeatability 1",
         "falta --sd-repeatability"},
        {"--plan --mean 100" + spread + " --limit-repeatability 1 a.w05",
         "con --plan no se dan ARCHIVOs: a.w05"},
        {"--probability 90 a.w05", "--probability solo va con --plan"},
        {"--plan --mean=" + spread, "--mean: El promedio esperado debe ser un número mayor que "
                                    "cero."},
    };
    ExpectUsageErrors(rows);
}

// The planner's table is the same on every run and every build: its draws come from our own
// sampler on a fixed seed, so the CSV equals the stored copy byte for byte.
TEST(OrbetaReport, ThePlanFromItsFixedSeedEqualsTheStoredCopy) {
    const Outcome outcome =
        RunReportProgram("--plan --mean 100 --sd-repeatability 0.4 --sd-day 0.3 --sd-analyst 0.5 "
                         "--limit-repeatability 0.5 --limit-intermediate 1.2 --format csv");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out,
              ReadBytes(std::filesystem::path(ORBETA_TEST_DATA) / "plan-both-limits.csv"));
}

// Every byte of the report of a study with results missing and both limits judged: the order of
// its members, their nesting and indentation, and each number's text, as the stored copy holds
// them.
TEST(OrbetaReport, TheJsonOfAStudyWithResultsMissingEqualsTheStoredCopy) {
    const std::filesystem::path data(ORBETA_TEST_DATA);
    const std::string file = (data / "largest-missing.w05").string();
    const Outcome outcome = RunReportProgram("--format json --limit-repeatability 1 "
                                             "--limit-intermediate 2 " +
                                             file);
    std::string stored = ReadBytes(data / "largest-missing-limits.json");
    const std::string storedName = "\"largest-missing.w05\"";
    stored.replace(stored.find(storedName), storedName.size(), "\"" + file + "\"");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, stored);
}

} // namespace
} // namespace orbeta

namespace orbeta {
namespace {

// The lines of a report without those that name where, when and with which Qt it ran.
std::string WithoutRunLines(const std::string& report) {
    std::istringstream lines(report);
    std::string kept;
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("Qt: ") && !line.starts_with("Fecha y hora: ") &&
            !line.starts_with("Se ejecuta sin instalar, desde ")) {
            kept += line + "\n";
        }
    }
    return kept;
}

TEST(OrbetaReportVerify, WritesThePdfThroughTheProgramBesideIt) {
    const TemporaryFolder folder;
    const std::string pdf = (folder / "informe.pdf").string();
    const Outcome text = RunReportProgram("--verify");
    const Outcome both = RunReportProgram("--verify --pdf '" + pdf + "'");
    EXPECT_EQ(both.status, 0) << both.err;
    EXPECT_EQ(both.err, "");
    EXPECT_EQ(WithoutRunLines(both.out), WithoutRunLines(text.out));
    EXPECT_EQ(testing::RunCommand("pdfinfo '" + pdf + "' | grep '^Pages:'").out,
              "Pages:           13\n");
    EXPECT_EQ(testing::RunCommand("pdftotext -f 13 -l 13 '" + pdf +
                                  "' - | grep -x 'Verificación correcta: 441 de 441 cifras.'")
                  .status,
              0);

    // Without the program beside it, nothing draws the PDF: said in one line.
    const std::filesystem::path alone = folder / "orbeta-report";
    std::filesystem::copy_file(ORBETA_REPORT_PROGRAM, alone);
    const Outcome lone = testing::RunCommand(alone.string() + " --verify --pdf '" + pdf + "'");
    EXPECT_EQ(lone.status, 1);
    EXPECT_EQ(lone.out, "");
    EXPECT_EQ(lone.err, "No se pudo ejecutar " + (folder.Path().parent_path() / "orbeta").string() +
                            ", que escribe el informe en PDF: No such file or directory.\n");
}

} // namespace
} // namespace orbeta
