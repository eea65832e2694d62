// orbeta-report: the reports of study files on standard output, for scripts and laboratory
// information systems. It reads each file as the program opens it, runs the study checks and
// computes as the report command does; it needs no display.

#include "MachineReport.h"
#include "PlanReport.h"
#include "ReportArguments.h"
#include "VerifyReport.h"
#include "engine/Acceptance.h"
#include "engine/ReportText.h"
#include "engine/StudyPlanner.h"
#include "files/FileAccess.h"
#include "files/Fingerprint.h"
#include "files/StudyFile.h"
#include "study/Error.h"
#include "study/Numbers.h"
#include "study/StudyChecks.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

namespace {

using orbeta::report::Arguments;
using orbeta::report::FileOutcome;
using orbeta::report::Format;
using orbeta::report::kStandardInput;
using orbeta::report::StudyFigures;

constexpr std::string_view kUsage =
    "Uso: orbeta-report [--format text|json|csv] [--limit-repeatability PCT]\n"
    "                   [--limit-intermediate PCT] ARCHIVO...\n"
    "       orbeta-report --plan --mean M --sd-repeatability S --sd-day S --sd-analyst S\n"
    "                   [--limit-repeatability PCT] [--limit-intermediate PCT]\n"
    "                   [--probability P] [--format text|json|csv]\n"
    "       orbeta-report --verify [--pdf ARCHIVO.pdf]\n"
    "Escribe en la salida estándar el informe de cada estudio guardado en los ARCHIVOs (*.w05 o\n"
    "*.txt), en el orden dado; \"-\" lee un estudio de la entrada estándar.\n"
    "  --format text  (por omisión) el informe de texto: datos, análisis de la varianza,\n"
    "                 conclusiones y evaluación de la precisión, con el separador decimal de la\n"
    "                 configuración regional. Los informes de varios archivos van separados por\n"
    "                 una línea en blanco.\n"
    "  --format json  un documento JSON: una lista con un objeto por archivo, con el análisis de\n"
    "                 la varianza y sus probabilidades F exactas, las conclusiones, la precisión,\n"
    "                 los componentes de la varianza con los intervalos de confianza al 95 % de\n"
    "                 sus desviaciones estándar, y las pruebas de Cochran y de Grubbs sobre los\n"
    "                 días. Un archivo que falla da {\"file\": ..., \"error\": \"<motivo>\"}.\n"
    "                 Además, en components.repeatability: sd_upper (límite superior unilateral\n"
    "                 al 95 %, por chi-cuadrado), rsd (100·sd/media) y rsd_upper\n"
    "                 (100·sd_upper/media); en components.intermediate: sd_upper (unilateral,\n"
    "                 Satterthwaite), rsd, mls_variance_low y mls_variance_high (intervalo MLS\n"
    "                 bilateral al 95 % de la varianza), mls_sd_upper (raíz del límite MLS\n"
    "                 unilateral) y rsd_upper (100·mls_sd_upper/media); flags.few_analysts (menos\n"
    "                 de 3 grados de libertad entre analistas) y flags.intervals_disagree (el\n"
    "                 límite MLS supera en más de un 20 % al de Satterthwaite).\n"
    "  --format csv   las mismas cifras en CSV (RFC 4180): una fila de cabecera con los nombres\n"
    "                 de JSON unidos por \"_\" (p. ej. anova_analyst_p_exact) y una fila por\n"
    "                 archivo, con una última columna \"error\". Las columnas de acceptance van\n"
    "                 vacías cuando no se dio su límite.\n"
    "  --limit-repeatability PCT, --limit-intermediate PCT\n"
    "                 el límite de aceptación del RSD (%) de la repetibilidad o de la precisión\n"
    "                 intermedia, un número mayor que cero escrito con \".\". En JSON y CSV cada\n"
    "                 límite dado añade acceptance.repeatability o acceptance.intermediate con\n"
    "                 limit, rsd, rsd_upper y verdict: \"Cumple\" si rsd_upper no supera el\n"
    "                 límite, \"Cumple sin demostrarlo al 95 %\" si solo rsd no lo supera y\n"
    "                 \"No cumple\" si rsd lo supera. El informe de texto no cambia.\n"
    "  --plan         en vez de informar archivos, planifica un estudio: para cada diseño de 2\n"
    "                 a 10 analistas, 2 a 10 días y 2 a 5 replicaciones, las medias de\n"
    "                 cuadrados esperadas, los grados de libertad de Satterthwaite esperados,\n"
    "                 la razón de la cota MLS unilateral al 95 % a la desviación estándar\n"
    "                 verdadera y, para cada límite dado (hace falta al menos uno), la\n"
    "                 probabilidad (%) de que el estudio dé \"Cumple\" (p_repeatability exacta,\n"
    "                 p_intermediate de 20 000 estudios simulados con semilla fija; con los dos\n"
    "                 límites, p_both, la de cumplir ambos); y el diseño recomendado: el de\n"
    "                 menos determinaciones que llega a la probabilidad deseada (a igualdad,\n"
    "                 menos analistas y luego menos días), o el que más se acerca.\n"
    "  --mean M       el promedio esperado, mayor que cero.\n"
    "  --sd-repeatability S, --sd-day S, --sd-analyst S\n"
    "                 las desviaciones estándar esperadas de repetibilidad (mayor que cero),\n"
    "                 entre días y entre analistas (cero o más), en las unidades del promedio.\n"
    "  --probability P\n"
    "                 la probabilidad deseada en %, mayor que 0 y menor que 100; 90 por omisión.\n"
    "                 Con --plan, el texto da la tabla y la frase de la recomendación; JSON, un\n"
    "                 objeto con inputs, recommendation (analysts, days, replicates,\n"
    "                 determinations, reached, sentence) y designs; CSV, una fila por diseño con\n"
    "                 una última columna recommended. Los valores se escriben con \".\".\n"
    "  --verify       verifica la instalación: compara los archivos instalados con el registro\n"
    "                 del paquete (dpkg --verify orbeta), calcula los estudios de referencia\n"
    "                 (NIST StRD, el ejemplo de trabajo y estudios de cifras exactas) y escribe\n"
    "                 el informe de verificación con cada cifra esperada y obtenida, su LRE y\n"
    "                 si pasa. Sale con 0 solo si todo pasa.\n"
    "  --pdf ARCHIVO.pdf\n"
    "                 con --verify, escribe además el informe en PDF, con cabecera y pie en\n"
    "                 cada página y el bloque de firmas; lo dibuja el programa orbeta\n"
    "                 instalado junto a orbeta-report (orbeta --verify --pdf), sin pantalla.\n"
    "  --help, -h     muestra este uso.\n"
    "  --version      muestra la versión del programa.\n"
    "En JSON y CSV los números llevan \".\" y todas sus cifras.\n"
    "Sale con 0 si se informaron todos los archivos; con 1 si alguno no se pudo leer, revisar o\n"
    "calcular (en texto el motivo va a la salida de errores, precedido del archivo cuando hay\n"
    "varios; en JSON y CSV va en el informe), informados los demás, o si no se pudo escribir el\n"
    "informe; y con 2 si se usó mal: una línea con el problema en la salida de errores.\n";

constexpr const char* kTooLarge = "El archivo es demasiado grande para ser un archivo de estudio.";

// The bytes of a study file, or of the study on standard input for "-".
std::string StudyBytes(const std::string& file) {
    if (file == kStandardInput) {
        std::string bytes(orbeta::kMaxStudyFileBytes + 1, '\0');
        std::cin.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(std::cin.gcount()));
        if (bytes.size() > orbeta::kMaxStudyFileBytes) {
            throw orbeta::Error(kTooLarge);
        }
        return bytes;
    }
    try {
        return orbeta::ReadWholeFile(file, orbeta::kMaxStudyFileBytes, kTooLarge);
    } catch (const orbeta::Error&) {
        // Asked only once reading fails, which spares every file read a look at its kind.
        std::error_code failure;
        if (std::filesystem::is_directory(file, failure)) {
            throw orbeta::Error("'" + file + "' es una carpeta, no un archivo de estudio.");
        }
        throw;
    }
}

// Reads a file and checks its counts. A study read from a file has its grid laid out for its
// counts and every cell filled, so of the study checks only those of the counts can fail. Gives
// the file's contents, or nothing with `error` holding the message the program shows.
std::optional<orbeta::StudyFileContents> ReadChecked(const std::string& file, std::string& error) {
    try {
        orbeta::StudyFileContents contents = orbeta::ParseStudyFileContents(StudyBytes(file));
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
FileOutcome Analyse(const std::string& file, const orbeta::AcceptanceLimits& limits) {
    FileOutcome outcome{file, std::nullopt, {}};
    auto contents = ReadChecked(file, outcome.error);
    if (!contents) {
        return outcome;
    }
    try {
        // Taken before the contents move into the figures.
        std::string fingerprint = orbeta::Sha256Hex(contents->bytes);
        StudyFigures figures{std::move(*contents), std::move(fingerprint), {}, {}, {}, {}};
        orbeta::StudyAnalysis analysis = orbeta::AnalyseStudy(
            orbeta::StudyNumbers(figures.contents.GetDesign(), figures.contents.shownResults),
            limits);
        figures.anova = analysis.anova;
        figures.precision = analysis.precision;
        figures.extended = std::move(analysis.extended);
        figures.acceptance = analysis.acceptance;
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

// Files are reported this many at a time, which bounds what waits to be written.
constexpr std::size_t kFilesAtATime = 256;

// work(index) for every index below `count`, shared among as many threads, this one included.
void ShareAmongThreads(std::size_t count, std::size_t threads,
                       const std::function<void(std::size_t)>& work) {
    std::atomic<std::size_t> next = 0;
    const auto takeIndices = [&] {
        for (std::size_t index = next++; index < count; index = next++) {
            work(index);
        }
    };
    std::vector<std::jthread> others;
    for (std::size_t thread = 1; thread < std::min(count, threads); ++thread) {
        others.emplace_back(takeIndices);
    }
    takeIndices();
}

// JSON or CSV: one document holding every file, failures included. The files are read and
// computed on every processor and written in the order given. Standard input, which a list may
// name more than once, must be read in that order too: a list that names it is taken in turn.
bool ReportForPrograms(const Arguments& arguments) {
    const std::vector<std::string>& files = arguments.files;
    const Format format = arguments.format;
    std::string text;
    if (format == Format::Json) {
        text += '[';
    } else {
        orbeta::report::AppendCsvRow(text, orbeta::report::CsvHeader());
    }
    std::cout << text;
    const bool namesStandardInput =
        std::find(files.begin(), files.end(), kStandardInput) != files.end();
    const std::size_t threads =
        namesStandardInput ? 1 : std::max(1u, std::thread::hardware_concurrency());
    bool everyFileReported = true;
    std::vector<std::string> reports(std::min(kFilesAtATime, files.size()));
    std::vector<char> reported(reports.size());
    for (std::size_t first = 0; first < files.size(); first += kFilesAtATime) {
        const std::size_t count = std::min(kFilesAtATime, files.size() - first);
        ShareAmongThreads(count, threads, [&](std::size_t index) {
            const FileOutcome outcome = Analyse(files[first + index], arguments.limits);
            reported[index] = outcome.figures.has_value();
            std::string& written = reports[index];
            written.clear();
            if (format == Format::Json) {
                written += first + index == 0 ? "\n  " : ",\n  ";
                orbeta::report::AppendJsonReport(written, outcome, 1);
            } else {
                orbeta::report::AppendCsvReport(written, outcome);
            }
        });
        for (std::size_t index = 0; index < count; ++index) {
            everyFileReported = everyFileReported && reported[index];
            std::cout << reports[index];
        }
    }
    if (format == Format::Json) {
        std::cout << "\n]\n";
    }
    return everyFileReported;
}

// The planner's table and recommendation; 1 when the plan cannot be computed or written.
int ReportPlan(const Arguments& arguments, char separator) {
    try {
        const orbeta::StudyPlan plan = orbeta::PlanStudy(*arguments.planInputs);
        switch (arguments.format) {
        case Format::Json:
            std::cout << orbeta::report::PlanJson(plan);
            break;
        case Format::Csv:
            std::cout << orbeta::report::PlanCsv(plan);
            break;
        case Format::Text:
            std::cout << orbeta::report::PlanText(plan, separator);
            break;
        }
    } catch (const orbeta::Error& error) {
        std::cerr << orbeta::WithFullStop(error.what()) << '\n';
        return 1;
    } catch (const std::exception&) {
        std::cerr << "No se pudo calcular el plan con estos datos.\n";
        return 1;
    }
    std::cout << std::flush;
    return std::cout ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    Arguments arguments;
    try {
        arguments = orbeta::report::ParseArguments({argv + 1, argv + argc});
    } catch (const orbeta::report::UsageError& misuse) {
        std::cerr << misuse.what() << "\nPruebe 'orbeta-report --help'.\n";
        return 2;
    }
    if (arguments.help) {
        std::cout << kUsage;
        return 0;
    }
    if (arguments.version) {
        std::cout << "ORBETA, versión " ORBETA_VERSION "\n";
        return 0;
    }
    if (arguments.verify) {
        return orbeta::report::Verify(arguments.verifyPdf);
    }
    const char separator = orbeta::EnvironmentDecimalSeparator();
    if (arguments.planInputs) {
        return ReportPlan(arguments, separator);
    }
    const bool everyFileReported = arguments.format == Format::Text
                                       ? ReportText(arguments.files, separator)
                                       : ReportForPrograms(arguments);
    std::cout << std::flush;
    return everyFileReported && std::cout ? 0 : 1;
}
