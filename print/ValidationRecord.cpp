#include "print/ValidationRecord.h"

#include "engine/UTs.h"
#include "print/PagedDocument.h"
#include "print/RecordCharts.h"
#include "study/Error.h"
#include "study/Numbers.h"

#include <utility>

namespace orbeta {

namespace {

constexpr double kChartInches = 2.2;
constexpr double kMandelChartInches = 2.2;

std::string EffectText(double probability) {
    return DeclaresEffect(probability) ? "con efecto" : "sin efecto";
}

// A measure's label as the report gives it, «Repetibilidad del Método Analítico = », without
// its sign.
std::string LabelOf(const PrecisionMeasure& measure) {
    std::string label = measure.label;
    const std::size_t sign = label.rfind(" = ");
    return sign == std::string::npos ? label : label.substr(0, sign);
}

class RecordWriter {
public:
    RecordWriter(PagedDocument& document, const Study& study, const RecordFigures& figures,
                 const RecordIdentity& identity, char separator)
        : m_document(document), m_study(study), m_figures(figures), m_identity(identity),
          m_separator(separator) {}

    void Write() {
        m_document.Title("Registro de validación de la precisión del método analítico");
        Identity();
        Results();
        Anova();
        Precision();
        Components();
        Intervals();
        AcceptanceSection();
        FTests();
        Consistency();
        Mandel();
        Chart();
        m_document.SignatureBlock(
            {{"Realizó", "quien firma hizo el estudio y exportó este registro de sus datos."},
             {"Revisó", "quien firma comprobó los datos y los cálculos de este registro."},
             {"Aprobó", "quien firma acepta este registro como prueba de la validación."}});
    }

private:
    std::string Number(double value) const { return FormatResult(value, m_separator); }

    std::string Counted(int value) const { return std::to_string(value); }

    void Identity() {
        const StudyValues& values = m_figures.values;
        m_document.Heading("Identificación del estudio");
        m_document.Paragraph("Método: " + m_study.methodName);
        m_document.Paragraph("Fecha del estudio: " + m_study.date);
        m_document.Paragraph("Archivo: " +
                             (m_identity.fileName.empty() ? "sin guardar" : m_identity.fileName));
        m_document.Paragraph(std::string("Estado al exportar: ") +
                             (m_identity.fingerprint.unsaved ? "modificado sin guardar"
                                                             : "tal como se abrió o guardó"));
        m_document.Paragraph("Huella SHA-256 de los datos: " + m_identity.fingerprint.Described());
        m_document.Paragraph("Unidad de los resultados: " +
                             (m_identity.unit.empty() ? "no indicada" : m_identity.unit));
        m_document.Paragraph(
            "Analistas: " + Counted(values.analysts) + "; días por analista: " +
            Counted(values.days) + "; réplicas por día: " + Counted(values.replicates) +
            "; resultados: " + Counted(values.analysts * values.days * values.replicates) + ".");
    }

    void Results() {
        const StudyValues& values = m_figures.values;
        m_document.Heading("Resultados");
        DocumentTable table{{"Día", "Réplica"}, {}, {false, false}};
        for (int analyst = 1; analyst <= values.analysts; ++analyst) {
            table.headings.push_back(AnalystHeader(analyst));
        }
        for (int day = 1; day <= values.days; ++day) {
            for (int replicate = 1; replicate <= values.replicates; ++replicate) {
                std::vector<std::string> row{Counted(day), Counted(replicate)};
                for (int analyst = 1; analyst <= values.analysts; ++analyst) {
                    row.push_back(
                        m_study.Cell(analyst, values.GetDesign().GridRowOf(day, replicate)));
                }
                table.rows.push_back(std::move(row));
            }
        }
        m_document.Table(std::move(table));
    }

    void Anova() {
        const AnovaTable& anova = m_figures.anova;
        const ExtendedAnalysis& extended = m_figures.extended;
        m_document.Heading("Análisis de la varianza");
        DocumentTable table{{"Fuente de variación", "Grados de libertad", "Suma de cuadrados",
                             "Media de cuadrados", "F", "P aproximada", "P exacta"},
                            {},
                            {true}};
        const std::array<const char*, kAnovaSources> names{"Analista", "Día dentro de analista",
                                                           "Error del método"};
        const std::array<double, 2> exact{extended.pAnalystExact, extended.pDayExact};
        for (std::size_t index = 0; const AnovaRow& source : AnovaRows(anova)) {
            std::vector<std::string> row{names[index]};
            for (const double figure : source.Figures()) {
                row.push_back(Number(figure));
            }
            if (source.Tested()) {
                row.push_back(Number(exact[index]));
            }
            table.rows.push_back(std::move(row));
            ++index;
        }
        m_document.Table(std::move(table));
        m_document.Paragraph("Media de los resultados: " + Number(m_figures.precision.mean) +
                             UnitSuffix() + ".");
        m_document.Paragraph("Conclusiones al nivel de significancia " +
                             Number(kSignificanceLevel) + ", con la P aproximada: el analista " +
                             (DeclaresEffect(anova.pAnalyst) ? "presenta" : "no presenta") +
                             " efecto sobre la valoración; " +
                             (DeclaresEffect(anova.pDay) ? "existe" : "no existe") +
                             " efecto de los días para un analista en la valoración.");
        m_document.Paragraph(
            "P aproximada: la del método clásico de este programa; P exacta: la de la "
            "distribución F.");
    }

    std::string UnitSuffix() const {
        return m_identity.unit.empty() ? std::string() : " " + m_identity.unit;
    }

    void Precision() {
        m_document.Heading("Medidas de precisión del método clásico");
        DocumentTable table{{"Medida", "Valor"}, {}, {true, false}};
        for (const PrecisionMeasure& measure : PrecisionMeasures(m_figures.precision)) {
            table.rows.push_back({LabelOf(measure), Number(measure.value)});
        }
        m_document.Table(std::move(table));
        m_document.Paragraph("Los coeficientes de variación y la amplitud máxima relativa se dan "
                             "en porcentaje de la media.");
    }

    void Components() {
        const ExtendedAnalysis& analysis = m_figures.extended;
        m_document.Heading("Componentes de la varianza");
        DocumentTable table{{"Componente", "Varianza", "DE", "RSD (%)", "% del total"}, {}, {true}};
        const auto row = [this](const char* name, const VarianceComponent& figures) {
            return std::vector<std::string>{name, Number(figures.variance), Number(figures.sd),
                                            Number(figures.cv), Number(figures.percent)};
        };
        table.rows = {row("Repetibilidad", analysis.repeatability), row("Entre días", analysis.day),
                      row("Entre analistas", analysis.analyst),
                      row("Precisión intermedia", analysis.intermediate)};
        m_document.Table(std::move(table));
        m_document.Paragraph("Una estimación negativa de un componente de la varianza se toma "
                             "como cero; la precisión intermedia es la suma de los tres "
                             "componentes.");
        for (const std::string& sentence : FlagSentences(analysis.flags)) {
            m_document.Paragraph(sentence);
        }
    }

    void Intervals() {
        const ExtendedAnalysis& analysis = m_figures.extended;
        const SdInterval& exact = analysis.repeatabilityInterval;
        const SdInterval& satterthwaite = analysis.intermediateInterval;
        const IntermediateBounds& bounds = analysis.intermediateBounds;
        m_document.Heading("Intervalos de confianza y cotas superiores al 95 %");
        m_document.Table(
            {{"Medida", "gl", "IC 95 % de la DE, inferior", "IC 95 % de la DE, superior",
              "IC 95 % MLS de la varianza, inferior", "IC 95 % MLS de la varianza, superior",
              "Cota superior 95 % de la DE", "Cota superior 95 % MLS de la DE"},
             {{"Repetibilidad", Number(exact.df), Number(exact.low), Number(exact.high), "", "",
               Number(analysis.repeatabilityBounds.sdUpper), ""},
              {"Precisión intermedia", Number(satterthwaite.df), Number(satterthwaite.low),
               Number(satterthwaite.high), Number(bounds.mlsVarianceLow),
               Number(bounds.mlsVarianceHigh), Number(bounds.sdUpper), Number(bounds.mlsSdUpper)}},
             {true}});
        m_document.Paragraph(
            "Repetibilidad: ji cuadrado con los gl del error. Precisión intermedia: gl de "
            "Satterthwaite sin redondear y, sobre la varianza, método MLS de Graybill y Wang. "
            "Las cotas superiores son unilaterales.");
    }

    void AcceptanceSection() {
        const AcceptanceResult& result = m_figures.acceptance;
        m_document.Heading("Aceptación");
        if (!result.repeatability && !result.intermediate) {
            m_document.Paragraph("No se aplicó un criterio de aceptación.");
            return;
        }
        DocumentTable table{
            {"Medida", "Límite (%)", "RSD (%)", "Cota superior 95 % de la RSD (%)", "Veredicto"},
            {},
            {true, false, false, false, true}};
        for (const auto& [name, figures] :
             {std::pair{"Repetibilidad", result.repeatability},
              std::pair{"Precisión intermedia", result.intermediate}}) {
            if (figures) {
                table.rows.push_back({name, Number(figures->limit), Number(figures->rsd),
                                      Number(figures->rsdUpper), AcceptanceText(figures->verdict)});
            }
        }
        m_document.Table(std::move(table));
        m_document.Paragraph(
            "Una medida cumple cuando la cota superior al 95 % de su RSD no pasa del límite, y "
            "cumple sin demostrarlo al 95 % cuando sólo la RSD estimada no pasa de él. La "
            "precisión intermedia se juzga con la cota MLS.");
        for (const auto& [name, figures] :
             {std::pair{"la repetibilidad", result.repeatability},
              std::pair{"la precisión intermedia", result.intermediate}}) {
            if (!figures) {
                m_document.Paragraph(std::string("No se dio un límite para ") + name + ".");
            }
        }
    }

    void FTests() {
        const AnovaTable& anova = m_figures.anova;
        const ExtendedAnalysis& analysis = m_figures.extended;
        m_document.Heading("Pruebas F");
        const auto row = [this](const char* name, double f, double p, double pExact) {
            return std::vector<std::string>{name,           Number(f),     Number(p),
                                            Number(pExact), EffectText(p), EffectText(pExact)};
        };
        m_document.Table({{"Fuente", "F", "P aproximada", "P exacta",
                           "Conclusión con la P aproximada", "Conclusión con la P exacta"},
                          {row("Analista", anova.fAnalyst, anova.pAnalyst, analysis.pAnalystExact),
                           row("Día", anova.fDay, anova.pDay, analysis.pDayExact)},
                          {true, false, false, false, true, true}});
        m_document.Paragraph(
            "P aproximada: la del método clásico de este programa; P exacta: la de la "
            "distribución F. Cada conclusión se toma al nivel de significancia " +
            Number(kSignificanceLevel) + ".");
        if (analysis.exactConclusionsDiffer) {
            m_document.Paragraph("Atención: con la P exacta cambia la conclusión de una prueba al "
                                 "nivel " +
                                 Number(kSignificanceLevel) + ".");
        }
    }

    void Consistency() {
        const CochranTest& cochran = m_figures.extended.cochran;
        const GrubbsTests& grubbs = m_figures.extended.grubbs;
        m_document.Heading("Pruebas de consistencia de Cochran y Grubbs");
        const auto row = [this](const char* name, double statistic, double critical5,
                                double critical1, Verdict verdict, const DayOfAnalyst& day) {
            return std::vector<std::string>{name,
                                            Number(statistic),
                                            Number(critical5),
                                            Number(critical1),
                                            VerdictText(verdict),
                                            Counted(day.analyst),
                                            day.day > 0 ? Counted(day.day) : std::string()};
        };
        std::vector<std::vector<std::string>> rows{
            row("Cochran, varianza de día mayor (C)", cochran.c, cochran.critical5,
                cochran.critical1, cochran.verdict, cochran.largest)};
        const auto grubbsRows = [&](const std::optional<GrubbsTest>& test, const char* high,
                                    const char* low) {
            if (test) {
                rows.push_back(row(high, test->high.g, test->critical5, test->critical1,
                                   test->high.verdict, test->high.day));
                rows.push_back(row(low, test->low.g, test->critical5, test->critical1,
                                   test->low.verdict, test->low.day));
            }
        };
        grubbsRows(grubbs.analysts, "Grubbs, media de analista más alta (G)",
                   "Grubbs, media de analista más baja (G)");
        grubbsRows(grubbs.extremeDays, "Grubbs, media de día más alta en su analista (G)",
                   "Grubbs, media de día más baja en su analista (G)");
        m_document.Table({{"Prueba", "Estadístico", "Crítico 5 %", "Crítico 1 %", "Veredicto",
                           "Analista", "Día"},
                          std::move(rows),
                          {true, false, false, false, true, false, false}});
        m_document.Paragraph("Cochran compara la mayor varianza de un día con la suma de todas; "
                             "Grubbs, la media de cada analista con las de los demás (con 3 "
                             "analistas o más) y la de cada día con las de los otros días de su "
                             "analista (con 3 días o más). Un estadístico hasta el crítico del "
                             "5 % es correcto; hasta el del 1 %, dudoso; por encima, aberrante.");
    }

    void Mandel() {
        m_document.Heading("Estadísticos h y k de Mandel");
        if (!m_figures.mandel) {
            m_document.Paragraph(*MandelAbsence(m_figures.values.analysts));
            return;
        }
        const MandelStatistics& mandel = *m_figures.mandel;
        const StudyValues& values = m_figures.values;
        const int nu = values.days * (values.replicates - 1);
        m_document.Paragraph(
            "h de cada analista: la diferencia de su media con la media de las medias de los "
            "analistas, en desviaciones típicas de esas medias; k: su DE de repetibilidad, "
            "agrupada en sus días, sobre la raíz de la media de los cuadrados de todas (ISO "
            "5725-2, con los analistas en lugar de los laboratorios).");
        m_document.Paragraph(
            "Valores indicadores, con p = " + Counted(values.analysts) +
            " analistas: h = (p − 1)·t / √(p·(t² + p − 2)), t de Student con "
            "p − 2 = " +
            Counted(values.analysts - 2) +
            " gl a la mitad del nivel en cada cola; k = √(p / (1 + (p − 1) / "
            "F)), F con ν1 = D·(R − 1) = " +
            Counted(nu) + " y ν2 = (p − 1)·ν1 = " + Counted((values.analysts - 1) * nu) + " gl.");
        m_document.Table({{"Nivel", "Valor indicador de |h|", "Valor indicador de k"},
                          {{"1 %", Number(mandel.h1), Number(mandel.k1)},
                           {"5 %", Number(mandel.h5), Number(mandel.k5)}},
                          {true}});
        DocumentTable table{{"Analista", "h", "Veredicto de h", "k", "Veredicto de k"},
                            {},
                            {true, false, true, false, true}};
        for (const MandelAnalyst& figures : mandel.analysts) {
            table.rows.push_back({Counted(figures.analyst), Number(figures.h),
                                  VerdictText(figures.hVerdict), Number(figures.k),
                                  VerdictText(figures.kVerdict)});
        }
        m_document.Table(std::move(table));
        const std::vector<std::string> flagged = MandelFlagSentences(mandel, m_separator);
        if (flagged.empty()) {
            m_document.Paragraph("Ningún h ni k pasa de su valor indicador del 5 %.");
        }
        for (const std::string& sentence : flagged) {
            m_document.Paragraph(sentence);
        }
        m_document.Picture(
            kMandelChartInches, [mandel, separator = m_separator](PrintSurface& surface, int left,
                                                                  int top, int width, int height) {
                DrawMandelCharts(surface, mandel, separator, left, top, width, height);
            });
    }

    void Chart() {
        m_document.Heading("Gráfico de variabilidad");
        m_document.Paragraph("Cada punto es un resultado; el cuadrado, la media del día; el "
                             "segmento, la media del analista; la línea de trazos, la media de "
                             "todos los resultados.");
        const StudyValues& values = m_figures.values;
        const std::string unit = m_identity.unit;
        // The figures outlive the document; the writer does not.
        m_document.Picture(
            kChartInches, [&values, unit, separator = m_separator](PrintSurface& surface, int left,
                                                                   int top, int width, int height) {
                DrawVariabilityChart(surface, values, unit, separator, left, top, width, height);
            });
    }

    PagedDocument& m_document;
    const Study& m_study;
    const RecordFigures& m_figures;
    const RecordIdentity& m_identity;
    char m_separator;
};

} // namespace

RecordFigures ComputeRecordFigures(const Study& study, char decimalSeparator,
                                   const AcceptanceLimits& limits) {
    RecordFigures figures;
    figures.values = ReadStudyValues(study, decimalSeparator);
    if (!figures.values.GetDesign().IsComplete()) {
        throw Error(kMissingResultsOnlyInReports);
    }
    StudyAnalysis analysis = AnalyseStudy(figures.values.Numbers(), limits);
    figures.anova = analysis.anova;
    figures.precision = analysis.precision;
    figures.extended = std::move(analysis.extended);
    figures.acceptance = analysis.acceptance;
    if (!MandelAbsence(figures.values.analysts)) {
        figures.mandel = ComputeMandel(figures.values);
    }
    return figures;
}

void PrintValidationRecord(PrintSurface& surface, const Study& study, const RecordFigures& figures,
                           const RecordIdentity& identity, char decimalSeparator) {
    PagedDocument document({"Método: " + study.methodName, "Fecha del estudio: " + study.date,
                            "Huella: " + identity.fingerprint.Short(), identity.program,
                            "Exportado: " + identity.exportedAt});
    RecordWriter(document, study, figures, identity, decimalSeparator).Write();
    document.Print(surface);
}

std::string ProposedRecordFileName(const std::string& methodName, const std::string& date) {
    const auto cleaned = [](const std::string& text) {
        std::string result;
        for (const char character : text) {
            const auto byte = static_cast<unsigned char>(character);
            const bool forbidden =
                byte < 0x20 || byte == 0x7f ||
                std::string_view("/\\:*?\"<>|").find(character) != std::string_view::npos;
            result += forbidden ? '-' : character;
        }
        const std::size_t first = result.find_first_not_of(' ');
        if (first == std::string::npos) {
            return std::string();
        }
        return result.substr(first, result.find_last_not_of(' ') - first + 1);
    };
    std::string name = "Registro";
    for (const std::string& part : {cleaned(methodName), cleaned(date)}) {
        if (!part.empty()) {
            name += ' ' + part;
        }
    }
    return name + ".pdf";
}

} // namespace orbeta
