#pragma once

// The qualification as a whole and its report: where it ran, the installation, every reference
// study with its figures, the verdict and the signatures a laboratory files it with.

#include "qualification/Check.h"
#include "qualification/Installation.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace orbeta::qualification {

// Where and when the check ran, as the report names it.
struct RunContext {
    std::string program; // "ORBETA 3.1"
    std::string build;   // the build type and the source's revision
    std::string qt;
    std::string boost;
    std::string compiler;
    std::string system; // the distribution and the kernel
    std::string machine;
    std::string user;
    std::string dateTime; // local time, with its zone
};

// This machine, now. `qt` names the Qt the caller runs with.
RunContext SystemRunContext(std::string qt);

struct Qualification {
    InstallationCheck installation;
    std::vector<StudyCheck> studies;

    int FiguresPassed() const;
    int Figures() const;
    // Every figure passed, every study computed and the installation as its record says.
    bool Passed() const;
};

// Runs the installation check and checks each study; `studyDone(done, total)` after each.
Qualification Qualify(InstallationProbe& probe, std::string_view installedProgram,
                      std::span<const ReferenceStudy> studies,
                      const std::function<void(int, int)>& studyDone = {});

// The outcome: «Verificación correcta: 412 de 412 cifras.», or «Verificación fallida: ...»
// followed by what failed, one line each.
std::vector<std::string> OutcomeLines(const Qualification& qualification);

// The whole report, lines ending in "\n".
std::string ReportText(const RunContext& context, const Qualification& qualification);

// The parts of the report its text and its pages share.
// Where and when it ran, (label, value) in the report's order.
std::vector<std::pair<std::string, std::string>> RunLines(const RunContext& context);
// «NIST SiRstv (2 analistas × 5 días × 5 réplicas)».
std::string StudyTitle(const ReferenceStudy& study);
// «Límites de aceptación (RSD): repetibilidad 2 %, precisión intermedia 15 %», "" without any.
std::string LimitsLine(const ReferenceStudy& study);
// An LRE to one decimal, «—» for a figure held by another rule.
std::string LreText(const std::optional<double>& lre);
// «Cifras correctas: 60 de 62.»
std::string StudyCountLine(const StudyCheck& study);

} // namespace orbeta::qualification
