#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orbeta {
namespace {

using Action = CommandLine::Action;

const std::string kHelp = "Uso: orbeta [ESTUDIO.w05] — abre el programa y, si se indica, el "
                          "estudio guardado en ese archivo; orbeta --record ESTUDIO.w05 "
                          "SALIDA.pdf [--limit-repeatability X] [--limit-intermediate Y] "
                          "[--unit U] — escribe su registro de validación sin ventanas; orbeta "
                          "--verify [--pdf INFORME.pdf] — verifica la instalación sin ventanas";
const std::string kMoreThanOne =
    "orbeta: se abre un solo estudio a la vez; «orbeta --help» muestra el uso";

TEST(CommandLine, ReadsOneStudyFileHelpAndVersionAndNothingElse) {
    struct Case {
        std::vector<std::string> arguments;
        Action action;
        std::string studyFile;
        std::string line;
    };
    const Case cases[] = {
        {{}, Action::Run, "", ""},
        {{"estudio.w05"}, Action::Run, "estudio.w05", ""},
        {{"/datos/Valoración 1.w05"}, Action::Run, "/datos/Valoración 1.w05", ""},
        {{"-"}, Action::Run, "-", ""},
        {{"--", "-raro.w05"}, Action::Run, "-raro.w05", ""},
        {{"--", "--help"}, Action::Run, "--help", ""},
        {{"--help"}, Action::Help, "", kHelp},
        {{"estudio.w05", "--help"},
         Action::WrongUsage,
         "",
         "orbeta: --help va sin más argumentos; «orbeta --help» muestra el uso"},
        {{"--help", "extra"},
         Action::WrongUsage,
         "",
         "orbeta: --help va sin más argumentos; «orbeta --help» muestra el uso"},
        {{"--version", "--version"},
         Action::WrongUsage,
         "",
         "orbeta: --version va sin más argumentos; «orbeta --help» muestra el uso"},
        {{"--version"}, Action::Version, "", "ORBETA, versión 3.1"},
        {{"a.w05", "b.w05"}, Action::WrongUsage, "", kMoreThanOne},
        {{"a.w05", "--", "b.w05"}, Action::WrongUsage, "", kMoreThanOne},
        {{"-platform", "offscreen"},
         Action::WrongUsage,
         "",
         "orbeta: opción desconocida «-platform»; «orbeta --help» muestra el uso"},
        {{"--Help"},
         Action::WrongUsage,
         "",
         "orbeta: opción desconocida «--Help»; «orbeta --help» muestra el uso"},
        {{""},
         Action::WrongUsage,
         "",
         "orbeta: el nombre del archivo está vacío; «orbeta --help» muestra el uso"},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& argument : c.arguments) {
            shown += " [" + argument + "]";
        }
        const CommandLine read = ReadCommandLine(c.arguments, "3.1");
        EXPECT_EQ(read.action, c.action) << shown;
        EXPECT_EQ(read.studyFile, c.studyFile) << shown;
        EXPECT_EQ(read.line, c.line) << shown;
    }
}

TEST(CommandLine, ReadsAVerificationWithOrWithoutItsPdf) {
    struct Case {
        std::vector<std::string> arguments;
        Action action;
        std::string pdf;
        std::string line;
    };
    const std::string help = "; «orbeta --help» muestra el uso";
    const Case cases[] = {
        {{"--verify"}, Action::Verify, "", ""},
        {{"--verify", "--pdf", "informe.pdf"}, Action::Verify, "informe.pdf", ""},
        {{"--verify", "--pdf"},
         Action::WrongUsage,
         "",
         "orbeta: --pdf pide un archivo PDF de salida" + help},
        {{"--verify", "--pdf", ""},
         Action::WrongUsage,
         "",
         "orbeta: --pdf pide un archivo PDF de salida" + help},
        {{"--verify", "--pdf", "a.pdf", "b.pdf"},
         Action::WrongUsage,
         "",
         "orbeta: --pdf pide un archivo PDF de salida" + help},
        {{"--verify", "estudio.w05"},
         Action::WrongUsage,
         "",
         "orbeta: --verify solo admite --pdf INFORME.pdf" + help},
        {{"estudio.w05", "--verify"},
         Action::WrongUsage,
         "",
         "orbeta: opción desconocida «--verify»" + help},
    };
    for (const Case& c : cases) {
        const CommandLine read = ReadCommandLine(c.arguments, "3.1");
        EXPECT_EQ(read.action, c.action) << c.arguments.size();
        EXPECT_EQ(read.verifyPdf, c.pdf) << c.arguments.size();
        EXPECT_EQ(read.line, c.line) << c.arguments.size();
    }
}

TEST(CommandLine, ReadsARecordRequest) {
    struct Case {
        std::vector<std::string> arguments;
        RecordRequest request;
    };
    const Case cases[] = {
        {{"--record", "a.w05", "b.pdf"}, {"a.w05", "b.pdf", {}, ""}},
        {{"--record", "--unit", "% p/p", "a.w05", "--limit-intermediate", "2.5", "b.pdf",
          "--limit-repeatability", " 1e0 "},
         {"a.w05", "b.pdf", {1.0, 2.5}, "% p/p"}},
        {{"--record", "a.w05", "b.pdf", "--unit", "µg/mL de principio a"},
         {"a.w05", "b.pdf", {}, "µg/mL de principio a"}},
    };
    for (const Case& c : cases) {
        const CommandLine read = ReadCommandLine(c.arguments, "3.1");
        ASSERT_EQ(read.action, Action::Record) << read.line;
        EXPECT_EQ(read.record.studyFile, c.request.studyFile);
        EXPECT_EQ(read.record.outputFile, c.request.outputFile);
        EXPECT_EQ(read.record.limits.repeatability, c.request.limits.repeatability);
        EXPECT_EQ(read.record.limits.intermediate, c.request.limits.intermediate);
        EXPECT_EQ(read.record.unit, c.request.unit);
    }
}

} // namespace
} // namespace orbeta
