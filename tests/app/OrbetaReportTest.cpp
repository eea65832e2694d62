// Runs the orbeta-report program as a script would and checks what it prints and returns.
#include "support/Studies.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace orbeta {
namespace {

using testing::ReadBytes;
using testing::TemporaryFolder;
using testing::WriteBytes;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome RunReportProgram(const std::string& arguments,
                         const std::string& environment = "LC_ALL=C") {
    TemporaryFolder folder;
    const std::string command = environment + " " + ORBETA_REPORT_PROGRAM + " " + arguments + " >" +
                                (folder / "out").string() + " 2>" + (folder / "err").string();
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(folder / "out"),
            ReadBytes(folder / "err")};
}

const std::string kWorkedExample = testing::kWorkedExampleFile.string();

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
}

TEST(OrbetaReport, ExplainsItsUsage) {
    const Outcome help = RunReportProgram("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("Uso: orbeta-report ARCHIVO\n"));
    EXPECT_EQ(help.err, "");
    for (const char* wrong : {"", "a.w05 b.w05", "--verbose"}) {
        const Outcome outcome = RunReportProgram(wrong);
        EXPECT_EQ(outcome.status, 2) << wrong;
        EXPECT_EQ(outcome.out, "") << wrong;
        EXPECT_TRUE(outcome.err.starts_with("Uso: orbeta-report ARCHIVO\n")) << wrong;
    }
}

} // namespace
} // namespace orbeta
