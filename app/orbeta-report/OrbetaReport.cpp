// orbeta-report: the reports of study files on standard output, for scripts and laboratory
// information systems. It reads each file as the program opens it, runs the study checks and
// computes as the report command does; it needs no display.

#include "MachineReport.h"
#include "engine/ReportText.h"
#include "files/StudyFile.h"
#include "study/Error.h"
#include "study/StudyChecks.h"

#include <clocale>
#include <cstring>
#include <exception>
#include <iostream>
#include <optional>
#include <string_view>
#include <vector>

namespace {

using orbeta::report::FileOutcome;
using orbeta::report::Json;
using orbeta::report::StudyFigures;

constexpr std::string_view kUsage =
    "Uso: orbeta-report [--format text|json|csv] ARCHIVO...\n"
    "Escribe en la salida estándar el informe de cada estudio guardado en los ARCHIVOs (*.w05 o\n"
    "*.txt), en el orden dado.\n"
    "  --format text  (por omisión) el informe de texto: datos, análisis de la varianza,\n"
    "                 conclusiones y evaluación de la precisión, con el separador decimal de la\n"
    "                 configuración regional. Los informes de varios archivos van separados por\n"
    "                 una línea en blanco.\n"
    "  --format json  un documento JSON: una lista con un objeto por archivo, con el análisis de\n"
    "                 la varianza y sus probabilidades F exactas, las conclusiones, la precisión,\n"
    "                 los componentes de la varianza con los intervalos de confianza al 95 % de\n"
    "                 sus desviaciones estándar, y las pruebas de Cochran y de Grubbs sobre los\n"
    "                 días. Un archivo que falla da {\"file\": ..., \"error\": \"<motivo>\"}.\n"
    "  --format csv   las mismas cifras en CSV (RFC 4180): una fila de cabecera con los nombres\n"
    "                 de JSON unidos por \"_\" (p. ej. anova_analyst_p_exact) y una fila por\n"
    "                 archivo, con una última columna \"error\".\n"
    "En JSON y CSV los números llevan \".\" y todas sus cifras.\n"
    "Sale con 0 si se informaron todos los archivos; con 1 si alguno no se pudo leer, revisar o\n"
    "calcular (en texto el motivo va a la salida de errores, precedido del archivo cuando hay\n"
    "varios; en JSON y CSV va en el informe), informados los demás, o si no se pudo escribir el\n"
    "informe; y con 2 si se usó mal.\n";

enum class Format { Text, Json, Csv };

struct Arguments {
    Format format = Format::Text;
    std::vector<std::string> files;
};

std::optional<Format> FormatNamed(std::string_view name) {
    if (name == "text") {
        return Format::Text;
    }
    if (name == "json") {
        return Format::Json;
    }
    if (name == "csv") {
        return Format::Csv;
    }
    return std::nullopt;
}

// The format and the files, or nothing on misuse. "-" alone is a file name.
std::optional<Arguments> ParseArguments(int argc, char** argv) {
    Arguments arguments;
    for (int index = 1; index < argc; ++index) {
        const std::string_view argument = argv[index];
        std::optional<std::string_view> format;
        if (argument == "--format" && index + 1 < argc) {
            format = argv[++index];
        } else if (argument.starts_with("--format=")) {
            format = argument.substr(std::strlen("--format="));
        } else if (argument.size() > 1 && argument.front() == '-') {
            return std::nullopt;
        } else {
            arguments.files.emplace_back(argument);
            continue;
        }
        const auto named = FormatNamed(*format);
        if (!named) {
            return std::nullopt;
        }
        arguments.format = *named;
    }
    if (arguments.files.empty()) {
        return std::nullopt;
    }
    return arguments;
}

// The decimal separator of the environment's locale; "." when it gives none or a separator
// that is more than one byte.
char RegionalDecimalSeparator() {
    std::setlocale(LC_ALL, "");
    const char* point = std::localeconv()->decimal_point;
    return point != nullptr && std::strlen(point) == 1 ? point[0] : '.';
}

// Reads a file and checks its counts. A study read from a file has its grid laid out for its
// counts and every cell filled, so of the study checks only those of the counts can fail. Gives
// the contents, or nothing with `error` holding the message the program shows.
std::optional<orbeta::StudyFileContents> ReadChecked(const std::string& file, std::string& error) {
    try {
        orbeta::StudyFileContents contents = orbeta::ReadStudyFileContents(file);
        if (const auto failure = orbeta::CheckCounts(contents.analystCount, contents.dayCount,
                                                     contents.replicateCount)) {
            error = failure->message;
            return std::nullopt;
        }
        return contents;
    } catch (const std::exception& failure) {
        error = orbeta::WithFullStop(failure.what());
        return std::nullopt;
    }
}

// Reads, checks and computes one file with its extended analysis; the figures come from the
// results as the grid would show them.
FileOutcome Analyse(const std::string& file) {
    FileOutcome outcome{file, std::nullopt, {}};
    auto contents = ReadChecked(file, outcome.error);
    if (!contents) {
        return outcome;
    }
    try {
        StudyFigures figures{std::move(*contents), {}, {}, {}};
        const orbeta::StudyNumbers numbers{figures.contents.analysts, figures.contents.days,
                                           figures.contents.replicates,
                                           figures.contents.shownResults};
        orbeta::StatisticsEngine engine;
        engine.ComputeAnova(numbers, figures.anova);
        engine.ComputePrecision(numbers, figures.precision);
        figures.extended = orbeta::ComputeExtendedAnalysis(numbers, figures.anova);
        outcome.figures = std::move(figures);
    } catch (const std::exception& error) {
        outcome.error = orbeta::WithFullStop(error.what());
    }
    return outcome;
}

// The text report of one file, computed as the report window computes it; nothing, with `error`
// set, when the file fails.
std::optional<std::string> TextReport(const std::string& file, char separator, std::string& error) {
    const auto contents = ReadChecked(file, error);
    if (!contents) {
        return std::nullopt;
    }
    try {
        orbeta::StatisticsEngine engine;
        orbeta::AnovaTable anova;
        orbeta::PrecisionSummary precision;
        std::string report;
        orbeta::ComputeReport(orbeta::StudyOf(*contents, separator), separator, engine, anova,
                              precision, [&report](const std::vector<std::string>& lines) {
                                  for (const std::string& line : lines) {
                                      report += line;
                                      report += '\n';
                                  }
                              });
        return report;
    } catch (const std::exception& failure) {
        error = orbeta::WithFullStop(failure.what());
        return std::nullopt;
    }
}

// Text: each report on standard output, each failure on standard error.
bool ReportText(const std::vector<std::string>& files, char separator) {
    bool everyFileReported = true;
    bool first = true;
    for (const std::string& file : files) {
        std::string error;
        const auto report = TextReport(file, separator, error);
        if (!report) {
            std::cerr << (files.size() > 1 ? file + ": " : "") << error << '\n';
            everyFileReported = false;
            continue;
        }
        std::cout << (first ? "" : "\n") << *report;
        first = false;
    }
    return everyFileReported;
}

// JSON or CSV: one document holding every file, failures included, written file by file.
bool ReportForPrograms(const std::vector<std::string>& files, Format format) {
    bool everyFileReported = true;
    std::string text;
    if (format == Format::Json) {
        text += '[';
    } else {
        orbeta::report::AppendCsvRow(text, orbeta::report::CsvHeader());
    }
    for (const std::string& file : files) {
        const FileOutcome outcome = Analyse(file);
        everyFileReported = everyFileReported && outcome.figures.has_value();
        const Json report = orbeta::report::JsonReport(outcome);
        if (format == Format::Json) {
            text += &file == &files.front() ? "\n  " : ",\n  ";
            orbeta::report::AppendJson(text, report, 1);
        } else {
            orbeta::report::AppendCsvRow(text, orbeta::report::CsvFields(report));
        }
        std::cout << text;
        text.clear();
    }
    if (format == Format::Json) {
        std::cout << "\n]\n";
    }
    return everyFileReported;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    const auto arguments = ParseArguments(argc, argv);
    if (!arguments) {
        std::cerr << kUsage;
        return 2;
    }
    const char separator = RegionalDecimalSeparator();
    const bool everyFileReported = arguments->format == Format::Text
                                       ? ReportText(arguments->files, separator)
                                       : ReportForPrograms(arguments->files, arguments->format);
    std::cout << std::flush;
    return everyFileReported && std::cout ? 0 : 1;
}
