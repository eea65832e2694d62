#pragma once

#include <string>

namespace orbeta::testing {

// What a program run by the shell printed and returned.
struct Outcome {
    int status; // the exit status, -1 when it did not exit
    std::string out;
    std::string err;
};

// Runs `command` through the shell, its standard output and error each caught whole.
Outcome RunCommand(const std::string& command);

} // namespace orbeta::testing
