#include "VerifyReport.h"

#include "qualification/Report.h"

#include <iostream>

namespace orbeta::report {

int Verify() {
    qualification::SystemProbe probe;
    const qualification::Qualification outcome = qualification::Qualify(
        probe, qualification::PackagedProgram("orbeta-report"), qualification::ReferenceStudies());
    // orbeta-report itself loads no Qt: it names the one the package was built with.
    const auto context = qualification::SystemRunContext(
        ORBETA_QT_VERSION " (la de la compilación; orbeta-report no la carga)");
    std::cout << qualification::ReportText(context, outcome) << std::flush;
    return outcome.Passed() && std::cout ? 0 : 1;
}

} // namespace orbeta::report
