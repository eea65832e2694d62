// Runs the orbeta-report program as a script would and checks what it prints and returns.
#include "support/Processes.h"
#include "support/Studies.h"
#include "support/TemporaryFolder.h"

#include "files/StudyFile.h"
#include "study/Numbers.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <iomanip>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <tuple>
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
        {"/", text, "file method date"},
        {"/", number, "analysts days replicates"},
        {"/anova/analyst/", number, "df ss ms f p p_exact"},
        {"/anova/day/", number, "df ss ms f p p_exact"},
        {"/anova/error/", number, "df ss ms"},
        {"/conclusions/", truth, "analyst_effect day_effect exact_conclusions_differ"},
        {"/precision/", number,
         "mean cv_total repeatability cv_repeatability repro_day_analyst cv_day_analyst "
         "repro_inter_analyst cv_inter_analyst max_relative_range"},
        {"/components/repeatability/", number, "variance sd cv percent df sd_low sd_high"},
        {"/components/day/", number, "variance sd cv percent"},
        {"/components/analyst/", number, "variance sd cv percent"},
        {"/components/intermediate/", number, "variance sd cv percent df sd_low sd_high"},
        {"/cochran/", number, "c critical_5 critical_1"},
        {"/cochran/", text, "verdict"},
        {"/cochran/", number, "analyst day"},
        {"/grubbs/", number, "critical_5 critical_1"},
        {"/grubbs/high/", number, "g"},
        {"/grubbs/high/", text, "verdict"},
        {"/grubbs/high/", number, "analyst day"},
        {"/grubbs/low/", number, "g"},
        {"/grubbs/low/", text, "verdict"},
        {"/grubbs/low/", number, "analyst day"},
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

TEST(OrbetaReport, ExplainsItsUsage) {
    const std::string usage = "Uso: orbeta-report [--format text|json|csv] ARCHIVO...\n";
    const Outcome help = RunReportProgram("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with(usage));
    EXPECT_EQ(help.err, "");
    for (const char* wrong : {"", "--verbose a.w05", "--format xml a.w05", "--format=yaml a.w05",
                              "--format json", "a.w05 --format"}) {
        const Outcome outcome = RunReportProgram(wrong);
        EXPECT_EQ(outcome.status, 2) << wrong;
        EXPECT_EQ(outcome.out, "") << wrong;
        EXPECT_TRUE(outcome.err.starts_with(usage)) << wrong;
    }
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
             Figure{0, "/grubbs/high/g", "1.16454"},
             Figure{2, "/anova/analyst/p_exact", "0.0513167"},
             Figure{2, "/components/repeatability/sd_high", "2.03191"},
         }) {
        const auto& value = document[figure.file][nlohmann::json::json_pointer(figure.path)];
        EXPECT_EQ(FormatResult(value.get<double>(), '.'), figure.shown) << figure.path;
    }
    EXPECT_EQ(document[0]["file"], kWorkedExample);
    EXPECT_EQ(document[0]["method"], "Valoración");
    EXPECT_EQ(document[0]["grubbs"]["low"]["analyst"], 2);
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
    EXPECT_EQ(cell(1, "error"), "");

    std::vector<std::string> failed(header.size());
    failed.front() = absent;
    failed.back() = "File not found.";
    EXPECT_EQ(rows[2], failed);
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

} // namespace
} // namespace orbeta
