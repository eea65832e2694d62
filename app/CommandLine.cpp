#include "app/CommandLine.h"

#include "engine/Acceptance.h"
#include "study/Error.h"
#include "study/Numbers.h"

#include <cstddef>
#include <limits>
#include <optional>

namespace orbeta {

namespace {

constexpr const char* kUsage =
    "Uso: orbeta [ESTUDIO.w05] — abre el programa y, si se indica, el estudio guardado en ese "
    "archivo; orbeta --record ESTUDIO.w05 SALIDA.pdf [--limit-repeatability X] "
    "[--limit-intermediate Y] [--unit U] — escribe su registro de validación sin ventanas; "
    "orbeta --verify [--pdf INFORME.pdf] — verifica la instalación sin ventanas";

CommandLine WrongUsage(const std::string& problem) {
    return {CommandLine::Action::WrongUsage,
            {},
            "orbeta: " + problem + "; «orbeta --help» muestra el uso",
            {},
            {}};
}

// The characters of a UTF-8 text: its bytes but the continuation bytes.
std::size_t CharacterCount(const std::string& text) {
    std::size_t count = 0;
    for (const char byte : text) {
        count += (static_cast<unsigned char>(byte) & 0xc0) != 0x80 ? 1 : 0;
    }
    return count;
}

// A limit in percent, "." as its point; the problem's text when it is not a number above zero.
std::optional<std::string> ReadLimit(const std::string& text, LimitedMeasure measure,
                                     std::optional<double>& limit) {
    double value = std::numeric_limits<double>::quiet_NaN();
    try {
        value = ParseResult(text, '.');
    } catch (const Error&) {
        // Left as no number, which CheckedLimit refuses with the limit's own message.
    }
    try {
        limit = CheckedLimit(value, measure);
        return std::nullopt;
    } catch (const Error& error) {
        // The sentence goes inside the usage line, which has its own end.
        std::string problem = error.what();
        if (!problem.empty() && problem.back() == '.') {
            problem.pop_back();
        }
        return problem;
    }
}

// The arguments after `--record`: the study, the PDF file and the options of the record.
CommandLine ReadRecord(const std::vector<std::string>& arguments, std::size_t next) {
    CommandLine commandLine{CommandLine::Action::Record, {}, {}, {}, {}};
    RecordRequest& request = commandLine.record;
    std::vector<std::string> files;
    for (; next < arguments.size(); ++next) {
        const std::string& argument = arguments[next];
        const bool limit =
            argument == "--limit-repeatability" || argument == "--limit-intermediate";
        if (limit || argument == "--unit") {
            if (next + 1 == arguments.size()) {
                return WrongUsage("falta el valor de " + argument);
            }
            const std::string& value = arguments[++next];
            if (argument == "--unit") {
                if (CharacterCount(value) > kMaxUnitCharacters) {
                    return WrongUsage("la unidad tiene más de " +
                                      std::to_string(kMaxUnitCharacters) + " caracteres");
                }
                request.unit = value;
            } else if (const auto problem = argument == "--limit-repeatability"
                                                ? ReadLimit(value, LimitedMeasure::Repeatability,
                                                            request.limits.repeatability)
                                                : ReadLimit(value, LimitedMeasure::Intermediate,
                                                            request.limits.intermediate)) {
                return WrongUsage(*problem);
            }
        } else if (argument.size() > 1 && argument.front() == '-') {
            return WrongUsage("opción desconocida «" + argument + "»");
        } else if (argument.empty()) {
            return WrongUsage("el nombre del archivo está vacío");
        } else {
            files.push_back(argument);
        }
    }
    if (files.size() != 2) {
        return WrongUsage("--record pide un estudio y un archivo PDF de salida");
    }
    request.studyFile = files[0];
    request.outputFile = files[1];
    return commandLine;
}

// The arguments of `--verify`: nothing, or `--pdf` and the report's file.
CommandLine ReadVerify(const std::vector<std::string>& arguments) {
    if (arguments.size() == 1) {
        return {CommandLine::Action::Verify, {}, {}, {}, {}};
    }
    if (arguments[1] != "--pdf") {
        return WrongUsage("--verify solo admite --pdf INFORME.pdf");
    }
    if (arguments.size() != 3 || arguments[2].empty()) {
        return WrongUsage("--pdf pide un archivo PDF de salida");
    }
    return {CommandLine::Action::Verify, {}, {}, {}, arguments[2]};
}

} // namespace

CommandLine ReadCommandLine(const std::vector<std::string>& arguments, const std::string& version) {
    CommandLine commandLine;
    bool optionsEnded = false;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "--help" || argument == "--version") &&
                   arguments.size() > 1) {
            return WrongUsage(argument + " va sin más argumentos");
        } else if (!optionsEnded && argument == "--help") {
            return {CommandLine::Action::Help, {}, kUsage, {}, {}};
        } else if (!optionsEnded && argument == "--version") {
            return {CommandLine::Action::Version, {}, "ORBETA, versión " + version, {}, {}};
        } else if (!optionsEnded && index == 0 && argument == "--record") {
            return ReadRecord(arguments, 1);
        } else if (!optionsEnded && index == 0 && argument == "--verify") {
            return ReadVerify(arguments);
        } else if (!optionsEnded && argument.size() > 1 && argument.front() == '-') {
            return WrongUsage("opción desconocida «" + argument + "»");
        } else if (!commandLine.studyFile.empty()) {
            return WrongUsage("se abre un solo estudio a la vez");
        } else if (argument.empty()) {
            return WrongUsage("el nombre del archivo está vacío");
        } else {
            commandLine.studyFile = argument;
        }
    }
    return commandLine;
}

} // namespace orbeta
