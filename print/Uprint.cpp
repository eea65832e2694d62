#include "print/Uprint.h"

#include "engine/UTs.h"

namespace orbeta {

namespace {

constexpr int kHeaderSize = 12;
constexpr int kBodySize = 10;
constexpr int kLeftColumn = 45;

const ResultsPageTexts& ResultsTexts() {
    static const ResultsPageTexts texts{
        "Análisis de la Varianza",
        {{12, 46, "Fuente"},
         {12, 110, "Grados"},
         {12, 160, "Suma"},
         {12, 215, "Media"},
         {13, 46, "de"},
         {13, 111, "de"},
         {13, 160, "de"},
         {13, 216, "de"},
         {13, 270, "Fcal"},
         {13, 325, "Pr"},
         {14, 45, "Variación"},
         {14, 110, "Libertad"},
         {14, 160, "Cuadrados"},
         {14, 215, "Cuadrados"},
         {16, 45, "Analista"},
         {17, 45, "Dia"},
         {18, 45, "Error de Método"}},
        {113, 161, 216, 270, 325},
        [](double pAnalyst) {
            return DeclaresEffect(pAnalyst) ? "El Analista presenta efecto sobre la valoración."
                                            : "El Analista no presenta efecto sobre la valoración.";
        },
        [](double pDay) {
            return DeclaresEffect(pDay)
                       ? "Existe efecto de los días para un analista en la valoración."
                       : "No existe efecto de los días para un analista en la valoración.";
        },
        "Evaluación de la Precisión",
        kLeftColumn,
        {"Nombre del Método = ", "Coeficiente de Variación Total = ",
         "Repetibilidad del Método Analítico = ",
         "Coeficiente de Variación de Repetibilidad del Método Analítico = ",
         "Reproducibilidad Inter Dia/Analista = ",
         "Coeficiente de Variación de Reproducibilidad Inter Dia/Analista = ",
         "Reproducibilidad Interanalista = ",
         "Coeficiente de Variación de Reproducibilidad Interanalista = ",
         "Amplitud Máxima Relativa de las Determinaciones Analíticas = "}};
    return texts;
}

} // namespace

void LaserLayout::PrintHeader() {
    m_page.Surface().BeginJob();
    DrawHeader();
}

void LaserLayout::DrawHeader() {
    m_page.DrawHeader(kHeaderSize,
                      {{6, "Control de Calidad"}, {7, "Precisión del Método Analítico"}});
}

void LaserLayout::DrawFooter() {
    m_page.Text(kLeftColumn, 56, "Realizó: ________________________ ");
    m_page.Text(225, 56, "Revisó: ________________________ ");
    m_page.RightAligned(58, kProductLine);
    m_page.Rule(m_page.RowY(59));
}

void LaserLayout::PrintGeneralInfo(const Study& study) {
    CheckPrintableCounts(study);
    PrintHeader();
    m_page.SelectFont(kBodySize);
    DrawGeneralInformation(m_page, "Información General", study, {kLeftColumn, 61, 20, 21, 55, 10},
                           [this] {
                               DrawFooter();
                               m_page.Surface().NewPage();
                               DrawHeader();
                               m_page.SelectFont(kBodySize);
                           });
    DrawFooter();
    m_page.Surface().EndJob();
}

void LaserLayout::PrintResults(const Study& study, AnovaTable anova, PrecisionSummary precision) {
    PrintHeader();
    m_page.SelectFont(kBodySize);
    DrawResults(m_page, ResultsTexts(), study.methodName, anova, precision, m_decimalSeparator);
    m_page.Text(kLeftColumn, 45, kMethodNameLabel + study.methodName);
    m_page.Text(kLeftColumn, 46, kAnalystsLabel + study.analystCount);
    m_page.Text(kLeftColumn, 47, kDaysLabel + study.dayCount);
    m_page.Text(kLeftColumn, 48, kReplicatesLabel + study.replicateCount);
    m_page.Text(kLeftColumn, 49, kDateLabel + study.date);
    DrawFooter();
    m_page.Surface().EndJob();
}

} // namespace orbeta
