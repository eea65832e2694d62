#pragma once

// The qualification as a whole and its report: where it ran, the installation, every reference
// study with its figures, the verdict and the signatures a laboratory files it with.

#include "qualification/Check.h"
#include "qualification/Installation.h"

#include <functional>
#include <span>
#include <string>
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

} // namespace orbeta::qualification
