#pragma once

#include "app/CommandLine.h"

#include <string>

namespace orbeta {

// Writes the validation record the request asks for, with no window and no display: the study
// file read as "&Abrir..." reads it, its fingerprint from the bytes read, numbers with the
// decimal separator of the environment's locale. Gives the exit status: 0 when the record was
// written, 1 with the program's message on standard error, in one line, when it was not (a
// folder for a study, an output file that is the study itself, any file or study error).
// `programPath` is the program's own name, `version` its version.
int WriteRecord(const RecordRequest& request, char* programPath, const std::string& version);

} // namespace orbeta
