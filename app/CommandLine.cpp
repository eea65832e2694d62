#include "app/CommandLine.h"

namespace orbeta {

namespace {

CommandLine WrongUsage(const std::string& problem) {
    return {CommandLine::Action::WrongUsage,
            {},
            "orbeta: " + problem + "; «orbeta --help» muestra el uso"};
}

} // namespace

CommandLine ReadCommandLine(const std::vector<std::string>& arguments, const std::string& version) {
    CommandLine commandLine;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "--help" || argument == "--version") &&
                   arguments.size() > 1) {
            return WrongUsage(argument + " va sin más argumentos");
        } else if (!optionsEnded && argument == "--help") {
            return {CommandLine::Action::Help,
                    {},
                    "Uso: orbeta [ESTUDIO.w05] — abre el programa y, si se indica, el estudio "
                    "guardado en ese archivo"};
        } else if (!optionsEnded && argument == "--version") {
            return {CommandLine::Action::Version, {}, "ORBETA, versión " + version};
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
