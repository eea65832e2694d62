#include "VerifyReport.h"

#include "qualification/Report.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>
#include <unistd.h>

namespace orbeta::report {

namespace {

// `orbeta` beside this program: in the same folder when installed, one folder up in a build
// tree (app/orbeta beside app/orbeta-report/orbeta-report).
std::filesystem::path DrawingProgram() {
    std::error_code failure;
    const std::filesystem::path folder =
        std::filesystem::read_symlink("/proc/self/exe", failure).parent_path();
    const std::filesystem::path installed = folder / "orbeta";
    return std::filesystem::exists(installed, failure) ? installed
                                                       : folder.parent_path() / "orbeta";
}

int VerifyToPdf(const std::string& pdfFile) {
    const std::string program = DrawingProgram().string();
    std::string name = "orbeta";
    std::string verify = "--verify";
    std::string pdf = "--pdf";
    std::string file = pdfFile;
    char* arguments[] = {name.data(), verify.data(), pdf.data(), file.data(), nullptr};
    execv(program.c_str(), arguments);
    std::cerr << "No se pudo ejecutar " << program
              << ", que escribe el informe en PDF: " << std::strerror(errno) << ".\n";
    return 1;
}

} // namespace

int Verify(const std::optional<std::string>& pdfFile) {
    if (pdfFile) {
        return VerifyToPdf(*pdfFile);
    }
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
