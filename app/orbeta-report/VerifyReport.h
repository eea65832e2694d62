#pragma once

#include <optional>
#include <string>

namespace orbeta::report {

// orbeta-report --verify: the qualification report on standard output; 0 when everything
// passed, 1 otherwise or when the report could not be written.
// With --pdf FILE the program hands itself over to `orbeta --verify --pdf FILE`, the program
// beside it, which draws pages with Qt: the same check and text, and the report as PDF, from
// one run; orbeta-report itself loads no Qt, so that every script's run of it starts at once.
// Gives 1, with the reason on standard error, when that program cannot be started.
int Verify(const std::optional<std::string>& pdfFile);

} // namespace orbeta::report
