#include "qualification/Report.h"

#include <boost/version.hpp>

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <numeric>
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace orbeta::qualification {

namespace {

// Texts are UTF-8; a column is as wide as its characters, not its bytes.
std::size_t Width(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string Padded(std::string_view text, std::size_t width) {
    const std::size_t used = Width(text);
    return std::string(text) + std::string(width > used ? width - used : 1, ' ');
}

constexpr std::size_t kNameWidth = 44;
constexpr std::size_t kNumberWidth = 26;
constexpr std::size_t kLreWidth = 6;
constexpr std::size_t kRuleWidth = 13;

std::string FigureLine(std::string_view name, std::string_view expected, std::string_view obtained,
                       std::string_view lre, std::string_view rule, std::string_view passed) {
    return Padded(name, kNameWidth) + Padded(expected, kNumberWidth) +
           Padded(obtained, kNumberWidth) + Padded(lre, kLreWidth) + Padded(rule, kRuleWidth) +
           std::string(passed) + "\n";
}

std::string Compiler() {
#if defined(__clang__)
    return "Clang " __clang_version__;
#elif defined(__GNUC__)
    return "GCC " __VERSION__;
#else
    return "desconocido";
#endif
}

std::string OperatingSystem() {
    std::string name = "desconocido";
    std::ifstream release("/etc/os-release");
    for (std::string line; std::getline(release, line);) {
        if (line.starts_with("PRETTY_NAME=")) {
            name = line.substr(12);
            name.erase(std::remove(name.begin(), name.end(), '"'), name.end());
        }
    }
    utsname system{};
    if (uname(&system) == 0) {
        name += std::string(", ") + system.sysname + " " + system.release + " " + system.machine;
    }
    return name;
}

std::string MachineName() {
    std::array<char, 256> name{};
    return gethostname(name.data(), name.size() - 1) == 0 ? name.data() : "desconocido";
}

std::string UserName() {
    if (const passwd* entry = getpwuid(geteuid()); entry != nullptr) {
        return entry->pw_name;
    }
    return "uid " + std::to_string(geteuid());
}

std::string LocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::array<char, 64> text{};
    std::strftime(text.data(), text.size(), "%Y-%m-%d %H:%M:%S %Z", &local);
    return text.data();
}

} // namespace

std::string LreText(const std::optional<double>& lre) {
    if (!lre) {
        return "—";
    }
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%.1f", *lre);
    return text.data();
}

std::string StudyTitle(const ReferenceStudy& study) {
    return std::string(study.name) + " (" + std::to_string(study.analysts) + " analistas × " +
           std::to_string(study.days) + " días × " + std::to_string(study.replicates) +
           " réplicas)";
}

std::string LimitsLine(const ReferenceStudy& study) {
    std::string limits;
    for (const auto& [measure, limit] :
         {std::pair{"repetibilidad ", study.limitRepeatability},
          std::pair{"precisión intermedia ", study.limitIntermediate}}) {
        if (!limit.empty()) {
            limits +=
                (limits.empty() ? "" : ", ") + std::string(measure) + std::string(limit) + " %";
        }
    }
    return limits.empty() ? limits : "Límites de aceptación (RSD): " + limits;
}

std::string StudyCountLine(const StudyCheck& study) {
    return "Cifras correctas: " + std::to_string(study.Passed()) + " de " +
           std::to_string(study.figures.size()) + ".";
}

std::vector<std::pair<std::string, std::string>> RunLines(const RunContext& context) {
    return {{"Programa", context.program},
            {"Compilación", context.build},
            {"Qt", context.qt},
            {"Boost", context.boost},
            {"Compilador", context.compiler},
            {"Sistema operativo", context.system},
            {"Equipo", context.machine},
            {"Usuario", context.user},
            {"Fecha y hora", context.dateTime}};
}

RunContext SystemRunContext(std::string qt) {
    std::string boost = BOOST_LIB_VERSION;
    std::replace(boost.begin(), boost.end(), '_', '.');
    return {"ORBETA " ORBETA_VERSION, ORBETA_BUILD,  std::move(qt), boost,      Compiler(),
            OperatingSystem(),        MachineName(), UserName(),    LocalTime()};
}

int Qualification::FiguresPassed() const {
    return std::accumulate(studies.begin(), studies.end(), 0,
                           [](int sum, const StudyCheck& study) { return sum + study.Passed(); });
}

int Qualification::Figures() const {
    return std::accumulate(studies.begin(), studies.end(), 0, [](int sum, const StudyCheck& study) {
        return sum + static_cast<int>(study.figures.size());
    });
}

bool Qualification::Passed() const {
    return installation.Passed() && FiguresPassed() == Figures() &&
           std::all_of(studies.begin(), studies.end(),
                       [](const StudyCheck& study) { return study.error.empty(); });
}

Qualification Qualify(InstallationProbe& probe, std::string_view installedProgram,
                      std::span<const ReferenceStudy> studies,
                      const std::function<void(int, int)>& studyDone) {
    Qualification qualification{CheckInstallation(probe, installedProgram), {}};
    for (const ReferenceStudy& study : studies) {
        qualification.studies.push_back(CheckStudy(study));
        if (studyDone) {
            studyDone(static_cast<int>(qualification.studies.size()),
                      static_cast<int>(studies.size()));
        }
    }
    return qualification;
}

std::vector<std::string> OutcomeLines(const Qualification& qualification) {
    const std::string counts = std::to_string(qualification.FiguresPassed()) + " de " +
                               std::to_string(qualification.Figures()) + " cifras";
    if (qualification.Passed()) {
        return {"Verificación correcta: " + counts + "."};
    }
    std::vector<std::string> lines{"Verificación fallida: " + counts + " correctas."};
    if (!qualification.installation.Passed()) {
        lines.insert(lines.end(), qualification.installation.lines.begin(),
                     qualification.installation.lines.end());
    }
    for (const StudyCheck& study : qualification.studies) {
        if (!study.error.empty()) {
            lines.push_back(std::string(study.study->name) +
                            ": no se pudo calcular: " + study.error);
        }
        for (const FigureCheck& figure : study.figures) {
            if (!figure.passed) {
                lines.push_back(std::string(study.study->name) + ", " + std::string(figure.name) +
                                ": esperado " + figure.expected + ", obtenido " + figure.obtained +
                                " (" + figure.rule + ").");
            }
        }
    }
    return lines;
}

std::string ReportText(const RunContext& context, const Qualification& qualification) {
    std::string text = "INFORME DE VERIFICACIÓN DE LA INSTALACIÓN DE ORBETA\n\n";
    for (const auto& [label, value] : RunLines(context)) {
        text += label + ": " + value + "\n";
    }
    text += "\nINSTALACIÓN\n";
    for (const std::string& line : qualification.installation.lines) {
        text += line + "\n";
    }
    for (const StudyCheck& study : qualification.studies) {
        const ReferenceStudy& reference = *study.study;
        text += "\nESTUDIO: " + StudyTitle(reference) + "\n";
        text += "Origen: " + std::string(reference.source) + "\n";
        if (const std::string limits = LimitsLine(reference); !limits.empty()) {
            text += limits + "\n";
        }
        if (!study.error.empty()) {
            text += "No se pudo calcular: " + study.error + "\n";
        }
        text += FigureLine("Cifra", "Esperado", "Obtenido", "LRE", "Regla", "Pasa");
        for (const FigureCheck& figure : study.figures) {
            text += FigureLine(figure.name, figure.expected, figure.obtained, LreText(figure.lre),
                               figure.rule, figure.passed ? "sí" : "NO");
        }
        text += StudyCountLine(study) + "\n";
    }
    text += "\nRESULTADO\n";
    for (const std::string& line : OutcomeLines(qualification)) {
        text += line + "\n";
    }
    text += "\n";
    for (const char* role : {"Ejecutó", "Revisó", "Aprobó"}) {
        text += Padded(std::string(role) + ":", 9) +
                "Nombre: ______________________  Firma: ______________  Fecha: ____________\n";
    }
    return text;
}

} // namespace orbeta::qualification
