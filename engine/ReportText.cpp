#include "engine/ReportText.h"

#include "engine/UTs.h"
#include "study/Numbers.h"

#include <utility>

namespace orbeta {

namespace {

// The report separates its sections by lines holding one blank.
const std::string kBlankLine = " ";

std::string Labelled(std::string_view label, double value, char decimalSeparator) {
    return std::string(label) + FormatResult(value, decimalSeparator);
}

void Append(std::vector<std::string>& lines, std::vector<std::string> more) {
    lines.insert(lines.end(), std::make_move_iterator(more.begin()),
                 std::make_move_iterator(more.end()));
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
    auto appendSource = [&](std::string_view source, double df, double ss, double ms) {
        lines.push_back(kBlankLine);
        lines.push_back("FUENTE DE VARIACIÓN : " + std::string(source));
        lines.push_back(Labelled("GRADOS DE LIBERTAD = ", df, decimalSeparator));
        lines.push_back(Labelled("SUMA DE CUADRADOS = ", ss, decimalSeparator));
        lines.push_back(Labelled("MEDIA DE CUADRADOS = ", ms, decimalSeparator));
    };
    auto appendTest = [&](double f, double p) {
        lines.push_back(Labelled("fcal = ", f, decimalSeparator));
        lines.push_back(Labelled("Pfcal = ", p, decimalSeparator));
    };
    appendSource("ANALISTA", anova.dfAnalyst, anova.ssAnalyst, anova.msAnalyst);
    appendTest(anova.fAnalyst, anova.pAnalyst);
    appendSource("DIA", anova.dfDay, anova.ssDay, anova.msDay);
    appendTest(anova.fDay, anova.pDay);
    appendSource("ERROR", anova.dfError, anova.ssError, anova.msError);
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
    Append(lines,
           {Labelled("COEFICIENTE DE VARIACIÓN TOTAL = ", precision.cvTotal, decimalSeparator),
            Labelled("REPETIBILIDAD DEL MÉTODO ANALÍTICO = ", precision.repeatability,
                     decimalSeparator),
            Labelled("COEFICIENTE DE VARIACIÓN DE REPETIBILIDAD DEL MÉTODO ANALÍTICO = ",
                     precision.cvRepeatability, decimalSeparator),
            Labelled("REPRODUCIBILIDAD INTER DIA/ANALISTA = ", precision.reproDayAnalyst,
                     decimalSeparator),
            Labelled("COEFICIENTE DE VARIACIÓN INTER DIA/ANALISTA = ", precision.cvDayAnalyst,
                     decimalSeparator),
            Labelled("REPRODUCIBILIDAD INTERANALISTA = ", precision.reproInterAnalyst,
                     decimalSeparator),
            Labelled("COEFICIENTE DE VARIACIÓN INTERANALISTA = ", precision.cvInterAnalyst,
                     decimalSeparator),
            Labelled("AMPLITUD MÁXIMA RELATIVA DE LAS DETERMINACIONES ANALÍTICAS = ",
                     precision.maxRelativeRange, decimalSeparator)});
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
