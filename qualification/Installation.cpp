#include "qualification/Installation.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <system_error>

namespace orbeta::qualification {

namespace {

// The output of a fixed command line and whether it exited with 0.
std::pair<std::string, bool> CommandOutput(const char* command) {
    FILE* pipe = popen(command, "r");
    if (pipe == nullptr) {
        return {{}, false};
    }
    std::string output;
    std::array<char, 4096> buffer{};
    for (std::size_t read = 0; (read = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
        output.append(buffer.data(), read);
    }
    return {output, pclose(pipe) == 0};
}

// The file a line of `dpkg --verify` names, and what it says of it.
std::string Difference(const std::string& line) {
    const std::size_t path = line.find('/');
    const std::string file = path == std::string::npos ? line : line.substr(path);
    if (line.starts_with("missing")) {
        return "Falta: " + file;
    }
    // The third of the nine attribute characters is the digest's.
    if (line.size() > 2 && line[2] == '5') {
        return "Modificado: " + file;
    }
    return "Cambiado (" + line.substr(0, line.find(' ')) + "): " + file;
}

} // namespace

std::string PackagedProgram(std::string_view name) {
    return ORBETA_PACKAGE_BINDIR "/" + std::string(name);
}

std::string SystemProbe::ProgramPath() {
    std::error_code failure;
    return std::filesystem::read_symlink("/proc/self/exe", failure).string();
}

PackageRecord SystemProbe::Package() {
    const auto [status, known] =
        CommandOutput("dpkg-query -W -f='${db:Status-Status}' orbeta 2>/dev/null");
    if (!known || status != "installed") {
        return {};
    }
    const auto [output, endedWell] = CommandOutput("dpkg --verify --verify-format=rpm orbeta 2>&1");
    return {true, output, endedWell};
}

InstallationCheck CheckInstallation(InstallationProbe& probe, std::string_view installedProgram) {
    const std::string program = probe.ProgramPath();
    if (program != installedProgram) {
        return {InstallationState::Uninstalled,
                {"Se ejecuta sin instalar, desde " + program +
                 ": no hay archivos instalados que comprobar."}};
    }
    const PackageRecord record = probe.Package();
    if (!record.installed) {
        return {InstallationState::NoRecord,
                {"El programa está en " + program +
                 ", pero el sistema no tiene instalado el paquete orbeta: no hay registro con "
                 "el que comparar sus archivos."}};
    }
    InstallationCheck check{InstallationState::Verified, {}};
    std::istringstream lines(record.verifyOutput);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty()) {
            check.lines.push_back(Difference(line));
        }
    }
    if (check.lines.empty() && !record.verifyEndedWell) {
        return {InstallationState::Differs,
                {"dpkg --verify orbeta no terminó bien y no dijo por qué: no se pudieron "
                 "comprobar los archivos."}};
    }
    if (check.lines.empty()) {
        check.lines.push_back("Todos los archivos del paquete orbeta coinciden con su registro "
                              "(dpkg --verify orbeta).");
        return check;
    }
    check.state = InstallationState::Differs;
    check.lines.insert(check.lines.begin(),
                       "Archivos del paquete orbeta que no coinciden con su registro (dpkg "
                       "--verify orbeta):");
    return check;
}

} // namespace orbeta::qualification
