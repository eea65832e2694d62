#pragma once

#include <string>

namespace orbeta {

// `orbeta --verify [--pdf FILE]`, which `orbeta-report --verify --pdf FILE` hands itself over
// to: the qualification of the installed program with no window and no display, its report as
// text on standard output and, with a file, as PDF on the validation record's page layout. Gives
// the exit status: 0 when everything passed and was written, 1 otherwise, a file that cannot be
// written with its message on standard error, in one line. `programPath` is the program's own
// name.
int VerifyInstallationCommand(const std::string& pdfFile, char* programPath);

} // namespace orbeta
