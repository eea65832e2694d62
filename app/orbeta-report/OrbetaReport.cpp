// orbeta-report: the report of a study file on standard output, for scripts and laboratory
// information systems. It reads the file as the program opens it, runs the study checks and
// computes as the report command does; it needs no display.

#include "engine/ReportText.h"
#include "engine/Ucalculo.h"
#include "files/StudyFile.h"
#include "study/Error.h"
#include "study/StudyChecks.h"

#include <clocale>
#include <cstring>
#include <exception>
#include <iostream>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kUsage =
    "Uso: orbeta-report ARCHIVO\n"
    "Escribe en la salida estándar el informe del estudio guardado en ARCHIVO (*.w05 o *.txt):\n"
    "datos, análisis de la varianza, conclusiones y evaluación de la precisión.\n"
    "Sale con 0 si el informe se escribió, 1 si el estudio no se pudo leer, revisar o calcular\n"
    "(el motivo va a la salida de errores) y 2 si se usó mal.\n";

// The decimal separator of the environment's locale; "." when it gives none or a separator
// that is more than one byte.
char RegionalDecimalSeparator() {
    std::setlocale(LC_ALL, "");
    const char* point = std::localeconv()->decimal_point;
    return point != nullptr && std::strlen(point) == 1 ? point[0] : '.';
}

int Report(const char* path) {
    const char separator = RegionalDecimalSeparator();
    try {
        const orbeta::Study study = orbeta::ReadStudyFile(path, separator);
        if (const auto failure = orbeta::ValidateStudy(study)) {
            std::cerr << failure->message << '\n';
            return 1;
        }
        orbeta::StatisticsEngine engine;
        orbeta::AnovaTable anova;
        orbeta::PrecisionSummary precision;
        std::string report;
        orbeta::ComputeReport(study, separator, engine, anova, precision,
                              [&report](const std::vector<std::string>& lines) {
                                  for (const std::string& line : lines) {
                                      report += line;
                                      report += '\n';
                                  }
                              });
        std::cout << report << std::flush;
        return std::cout ? 0 : 1;
    } catch (const orbeta::Error& error) {
        std::cerr << orbeta::WithFullStop(error.what()) << '\n';
    } catch (const std::exception& error) {
        std::cerr << orbeta::WithFullStop(error.what()) << '\n';
    }
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    if (argc != 2 || (argv[1][0] == '-' && argv[1][1] != '\0')) {
        std::cerr << kUsage;
        return 2;
    }
    return Report(argv[1]);
}
