#include "engine/ReportText.h"

#include "engine/UTs.h"
#include "study/Numbers.h"

#include <array>
#include <cstddef>

namespace orbeta {

namespace {

// The report separates its sections by lines holding one blank.
const std::string kBlankLine = " ";

std::string Labelled(std::string_view label, double value, char decimalSeparator) {
    return std::string(label) + FormatResult(value, decimalSeparator);
}

} // namespace

std::string AnalystConclusion(double pAnalyst) {
    return DeclaresEffect(pAnalyst) ? "EL ANALISTA PRESENTA EFECTO SOBRE LA VALORACIÓN."
                                    : "EL ANALISTA NO PRESENTA EFECTO SOBRE LA VALORACIÓN.";
}

std::string DayConclusion(double pDay) {
    return DeclaresEffect(pDay) ? "EXISTE EFECTO DE LOS DÍAS PARA UN ANALISTA EN LA VALORACIÓN."
                                : "NO EXISTE EFECTO DE LOS DÍAS PARA UN ANALISTA EN LA VALORACIÓN.";
}

std::vector<std::string> ReportStudyLines(const Study& study) {
    const int analysts = ParseCount(study.analystCount);
    const int days = ParseCount(study.dayCount);
    const int replicates = ParseCount(study.replicateCount);
    std::vector<std::string> lines{
        "PRECISIÓN DEL MÉTODO ANALÍTICO (PRECISIÓN INTERMEDIA)",
        kBlankLine,
        "Nombre del método: " + study.methodName,
        "Fecha: " + study.date,
        "Número de analistas: " + study.analystCount,
        "Número de días: " + study.dayCount,
        "Número de replicaciones;",
        study.replicateCount,
    };
    const std::int64_t rows = std::int64_t{days} * replicates;
    for (int analyst = 1; analyst <= analysts; ++analyst) {
        lines.push_back(std::string(20, ' ') + AnalystHeader(analyst));
        for (std::int64_t row = 1; row <= rows; ++row) {
            lines.push_back(study.Cell(0, row) + std::string(10, ' ') + study.Cell(analyst, row));
        }
    }
    return lines;
}

std::vector<std::string> ReportAnovaLines(const AnovaTable& anova, char decimalSeparator) {
    std::vector<std::string> lines{kBlankLine, "ANÁLISIS DE LA VARIANZA"};
    constexpr std::array<const char*, kAnovaSources> names = {"ANALISTA", "DIA", "ERROR"};
    constexpr std::array<const char*, 5> labels = {"GRADOS DE LIBERTAD = ", "SUMA DE CUADRADOS = ",
                                                   "MEDIA DE CUADRADOS = ", "fcal = ", "Pfcal = "};
    for (const AnovaRow& row : AnovaRows(anova)) {
        lines.push_back(kBlankLine);
        lines.push_back("FUENTE DE VARIACIÓN : " +
                        std::string(names[static_cast<std::size_t>(row.source)]));
        for (std::size_t figure = 0; figure < row.Figures().size(); ++figure) {
            lines.push_back(Labelled(labels[figure], row.Figures()[figure], decimalSeparator));
        }
    }
    lines.push_back(kBlankLine);
    lines.push_back(AnalystConclusion(anova.pAnalyst));
    lines.push_back(DayConclusion(anova.pDay));
    return lines;
}

std::vector<std::string> PrecisionLines(std::string_view methodName,
                                        const PrecisionSummary& precision, char decimalSeparator,
                                        PrecisionText text) {
    std::vector<std::string> lines;
    if (text == PrecisionText::Report) {
        lines = {kBlankLine, kBlankLine};
    }
    lines.push_back(std::string(35, ' ') + "EVALUACIÓN DE LA PRECISIÓN");
    lines.push_back(text == PrecisionText::Report ? kBlankLine : std::string());
    lines.push_back("NOMBRE DEL MÉTODO = " + std::string(methodName));
    if (text == PrecisionText::Window) {
        lines.push_back(
            Labelled("PROMEDIO DE LAS DETERMINACIONES = ", precision.mean, decimalSeparator));
    }
    for (const PrecisionMeasure& measure : PrecisionMeasures(precision)) {
        lines.push_back(Labelled(measure.label, measure.value, decimalSeparator));
    }
    return lines;
}

void ComputeReport(const Study& study, char decimalSeparator, StatisticsEngine& engine,
                   AnovaTable& anova, PrecisionSummary& precision,
                   const std::function<void(const std::vector<std::string>&)>& append) {
    append(ReportStudyLines(study));
    engine.ComputeAnova(study, decimalSeparator, anova);
    append(ReportAnovaLines(anova, decimalSeparator));
    engine.ComputePrecision(study, decimalSeparator, precision);
    append(PrecisionLines(study.methodName, precision, decimalSeparator, PrecisionText::Report));
}

} // namespace orbeta
