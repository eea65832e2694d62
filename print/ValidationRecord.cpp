#include "print/ValidationRecord.h"

#include "engine/ExtendedFigures.h"
#include "engine/UTs.h"
#include "print/PagedDocument.h"
#include "print/RecordCharts.h"
#include "study/Numbers.h"

#include <utility>

namespace orbeta {

namespace {

constexpr double kChartInches = 2.2;
constexpr double kMandelChartInches = 2.2;

// A measure's label as the report gives it, «Repetibilidad del Método Analítico = », without
// its sign.
std::string LabelOf(const PrecisionMeasure& measure) {
    std::string label = measure.label;
    const std::size_t sign = label.rfind(" = ");
    return sign == std::string::npos ? label : label.substr(0, sign);
}

// The analysis of variance in the words of the classic window.
const FigureTableLayout kAnovaLayout{"Fuente de variación",
                                     {{"anova/analyst"},
                                      {"anova/day", nullptr, "Día dentro de analista"},
                                      {"anova/error", nullptr, "Error del método"}},
                                     {{"df", nullptr, "Grados de libertad"},
                                      {"ss", nullptr, "Suma de cuadrados"},
                                      {"ms", nullptr, "Media de cuadrados"},
                                      {"f"},
                                      {"p"},
                                      {"p_exact"}}};

class RecordWriter {
public:
    RecordWriter(PagedDocument& document, const Study& study, const RecordFigures& figures,
                 const RecordIdentity& identity, char separator)
        : m_document(document), m_study(study), m_figures(figures), m_identity(identity),
          m_separator(separator),
          m_groups(WithoutAbsentFigures(
              ExtendedFigureGroups(figures.anova, figures.extended, figures.acceptance),
              figures.extended.absent)) {}

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

    // A table of the extended figures, from their one walk; none when the study gives none of
    // its rows.
    void WalkTable(const FigureTableLayout& layout) {
        FigureTable table = FigureTableOf(m_groups, layout, m_separator);
        if (table.rows.empty()) {
            return;
        }
        m_document.Table(
            {std::move(table.headings), std::move(table.rows), std::move(table.wordColumns)});
    }

    // Why each of these figures is absent, one paragraph each.
    void Absences(const AbsentFigures& absent) {
        for (const std::string& sentence : AbsenceSentences(absent)) {
            m_document.Paragraph(sentence);
        }
    }

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
        if (const std::string missing = MissingResultsSentence(values); !missing.empty()) {
            m_document.Paragraph(missing);
        }
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
                    const std::string& cell =
                        m_study.Cell(analyst, values.GetDesign().GridRowOf(day, replicate));
                    row.push_back(IsMissingResult(cell) ? "NA" : cell);
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
        WalkTable(kAnovaLayout);
        if (extended.missingResults > 0) {
            const NestedCoefficients& k = extended.coefficients;
            m_document.Paragraph(
                "Con resultados faltantes, sumas de cuadrados jerárquicas; el analista se prueba "
                "contra el denominador sintetizado (k2/k1)·CM día + (1 − k2/k1)·CM error = " +
                Number(k.msSynthesized) + ", con " + Number(k.dfSynthesized) +
                " gl de Satterthwaite; k1 = " + Number(k.k1) + ", k2 = " + Number(k.k2) +
                ", k3 = " + Number(k.k3) + ".");
        }
        m_document.Paragraph("Media de los resultados: " + Number(m_figures.precision.mean) +
                             UnitSuffix() + ".");
        const std::string analyst =
            extended.absent.analystTest
                ? "el efecto del analista no se puede probar con los resultados que faltan"
                : std::string("el analista ") +
                      (DeclaresEffect(anova.pAnalyst) ? "presenta" : "no presenta") +
                      " efecto sobre la valoración";
        m_document.Paragraph("Conclusiones al nivel de significancia " +
                             Number(kSignificanceLevel) + ", con la P aproximada: " + analyst +
                             "; " + (DeclaresEffect(anova.pDay) ? "existe" : "no existe") +
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
        WalkTable(LayoutOf(FigureTableKind::Components));
        m_document.Paragraph("Una estimación negativa de un componente de la varianza se toma "
                             "como cero; la precisión intermedia es la suma de los tres "
                             "componentes.");
        for (const std::string& sentence : FlagSentences(analysis.flags)) {
            m_document.Paragraph(sentence);
        }
    }

    void Intervals() {
        m_document.Heading("Intervalos de confianza y cotas superiores al 95 %");
        WalkTable(LayoutOf(FigureTableKind::Intervals));
        m_document.Paragraph(
            "Repetibilidad: ji cuadrado con los gl del error. Precisión intermedia: gl de "
            "Satterthwaite sin redondear y, sobre la varianza, método MLS de Graybill y Wang. "
            "Las cotas superiores son unilaterales.");
        Absences({.mls = m_figures.extended.absent.mls});
    }

    void AcceptanceSection() {
        const AcceptanceResult& result = m_figures.acceptance;
        m_document.Heading("Aceptación");
        if (!result.repeatability && !result.intermediate) {
            m_document.Paragraph("No se aplicó un criterio de aceptación.");
            return;
        }
        WalkTable(LayoutOf(FigureTableKind::Acceptance));
        m_document.Paragraph(
            std::string("Una medida cumple cuando la cota superior al 95 % de su RSD no pasa del "
                        "límite, y cumple sin demostrarlo al 95 % cuando sólo la RSD estimada no "
                        "pasa de él. La precisión intermedia se juzga con la cota ") +
            (m_figures.extended.absent.mls ? "de Satterthwaite." : "MLS."));
        for (const auto& [name, figures] :
             {std::pair{"la repetibilidad", result.repeatability},
              std::pair{"la precisión intermedia", result.intermediate}}) {
            if (!figures) {
                m_document.Paragraph(std::string("No se dio un límite para ") + name + ".");
            }
        }
    }

    void FTests() {
        const ExtendedAnalysis& analysis = m_figures.extended;
        m_document.Heading("Pruebas F");
        WalkTable(LayoutOf(FigureTableKind::FTests));
        m_document.Paragraph(
            "P aproximada: la del método clásico de este programa; P exacta: la de la "
            "distribución F. Cada conclusión se toma al nivel de significancia " +
            Number(kSignificanceLevel) + ".");
        Absences({.analystTest = analysis.absent.analystTest});
        if (analysis.exactConclusionsDiffer) {
            m_document.Paragraph("Atención: con la P exacta cambia la conclusión de una prueba al "
                                 "nivel " +
                                 Number(kSignificanceLevel) + ".");
        }
    }

    void Consistency() {
        m_document.Heading("Pruebas de consistencia de Cochran y Grubbs");
        WalkTable(LayoutOf(FigureTableKind::Consistency));
        m_document.Paragraph("Cochran compara la mayor varianza de un día con la suma de todas; "
                             "Grubbs, la media de cada analista con las de los demás (con 3 "
                             "analistas o más) y la de cada día con las de los otros días de su "
                             "analista (con 3 días o más). Un estadístico hasta el crítico del "
                             "5 % es correcto; hasta el del 1 %, dudoso; por encima, aberrante.");
        const AbsentFigures& absent = m_figures.extended.absent;
        Absences({.cochran = absent.cochran,
                  .grubbsAnalysts = absent.grubbsAnalysts,
                  .grubbsDays = absent.grubbsDays});
    }

    void Mandel() {
        m_document.Heading("Estadísticos h y k de Mandel");
        if (!m_figures.mandel) {
            m_document.Paragraph(*MandelAbsence(m_figures.values.analysts));
            return;
        }
        const MandelStatistics& mandel = *m_figures.mandel;
        const StudyValues& values = m_figures.values;
        const bool complete = m_figures.extended.missingResults == 0;
        // With results missing, nu is a mean of degrees of freedom, not a whole number.
        const std::string nu = complete ? "D·(R − 1) = " + Number(mandel.nu)
                                        : "gl del error / p = " + Number(mandel.nu);
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
            "F)), F con ν1 = " +
            nu + " y ν2 = (p − 1)·ν1 = " + Number((values.analysts - 1) * mandel.nu) + " gl.");
        const std::optional<std::string> withoutK = MandelKAbsence(mandel);
        DocumentTable indicators{{"Nivel", "Valor indicador de |h|", "Valor indicador de k"},
                                 {{"1 %", Number(mandel.h1), Number(mandel.k1)},
                                  {"5 %", Number(mandel.h5), Number(mandel.k5)}},
                                 {true}};
        DocumentTable table{{"Analista", "h", "Veredicto de h", "k", "Veredicto de k"},
                            {},
                            {true, false, true, false, true}};
        for (const MandelAnalyst& figures : mandel.analysts) {
            table.rows.push_back({Counted(figures.analyst), Number(figures.h),
                                  VerdictText(figures.hVerdict), Number(figures.k),
                                  VerdictText(figures.kVerdict)});
        }
        if (withoutK) {
            for (DocumentTable* shown : {&indicators, &table}) {
                const std::size_t columns = shown == &table ? 3 : 2;
                shown->headings.resize(columns);
                for (std::vector<std::string>& row : shown->rows) {
                    row.resize(columns);
                }
            }
        }
        m_document.Table(std::move(indicators));
        m_document.Table(std::move(table));
        if (withoutK) {
            m_document.Paragraph(*withoutK);
        }
        const std::vector<std::string> flagged = MandelFlagSentences(mandel, m_separator);
        if (flagged.empty()) {
            m_document.Paragraph(withoutK ? "Ningún h pasa de su valor indicador del 5 %."
                                          : "Ningún h ni k pasa de su valor indicador del 5 %.");
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
        if (m_figures.extended.missingResults > 0) {
            m_document.Paragraph("Un resultado que falta no se dibuja; un día sin ninguno queda "
                                 "vacío, con «sin resultados» (o «NA» donde no cabe).");
        }
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
    std::vector<FigureGroup> m_groups;
};

} // namespace

RecordFigures ComputeRecordFigures(const Study& study, char decimalSeparator,
                                   const AcceptanceLimits& limits) {
    RecordFigures figures;
    figures.values = ReadStudyValues(study, decimalSeparator);
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
