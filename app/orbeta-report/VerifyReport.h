#pragma once

namespace orbeta::report {

// orbeta-report --verify: the qualification report on standard output; 0 when everything
// passed, 1 otherwise or when the report could not be written.
int Verify();

} // namespace orbeta::report
