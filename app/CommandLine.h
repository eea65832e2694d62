#pragma once

#include <string>
#include <vector>

namespace orbeta {

// What the command line asks of the program. It reads one study file name, or `--help` or
// `--version` alone, nothing else; "--" ends the options, so a file whose name starts with "-" can
// be named after it.
struct CommandLine {
    enum class Action { Run, Help, Version, WrongUsage };

    Action action = Action::Run;
    // Run: the study file to open at start, empty for none.
    std::string studyFile;
    // Help, Version and WrongUsage: the one line to print (WrongUsage on standard error).
    std::string line;
};

// Reads the arguments that follow the program's name; `version` is the program's version.
CommandLine ReadCommandLine(const std::vector<std::string>& arguments, const std::string& version);

} // namespace orbeta
