#include "print/Uprint1.h"

#include "engine/ReportText.h"

namespace orbeta {

namespace {

// The last row of a table on a page, so that the foot ends at row 49 as on the results page.
constexpr int kLastTableRow = 45;

ResultsPageTexts ResultsTexts(int m) {
    return {"ANÁLISIS DE LA VARIANZA",
            {{12, m + 1, "FUENTE"},
             {12, m + 55, "GRADOS"},
             {12, m + 80, "SUMA"},
             {12, m + 110, "MEDIA"},
             {13, m + 1, "DE"},
             {13, m + 56, "DE"},
             {13, m + 81, "DE"},
             {13, m + 111, "DE"},
             {13, m + 145, "Fcal"},
             {13, m + 170, "Pr"},
             {14, m, "VARIACIÓN"},
             {14, m + 55, "LIBERTAD"},
             {14, m + 80, "CUADRADOS"},
             {14, m + 110, "CUADRADOS"},
             {16, m, "ANALISTA"},
             {17, m, "DIA"},
             {18, m, "ERROR DE MÉTODO"}},
            {m + 56, m + 81, m + 111, m + 146, m + 171},
            AnalystConclusion,
            DayConclusion,
            "EVALUACIÓN DE LA PRECISIÓN DEL MÉTODO",
            m,
            {"NOMBRE DEL MÉTODO = ", "COEFICIENTE DE VARIACIÓN TOTAL = ",
             "REPETIBILIDAD DEL MÉTODO ANALÍTICO = ",
             "COEFICIENTE DE VARIACIÓN DE REPETIBILIDAD DEL MÉTODO ANALÍTICO = ",
             "REPRODUCIBILIDAD INTER DIA/ANALISTA = ",
             "COEFICIENTE DE VARIACIÓN DE REPRODUCIBILIDAD INTER DIA/ANALISTA = ",
             "REPRODUCIBILIDAD INTERANALISTA = ",
             "COEFICIENTE DE VARIACIÓN DE REPRODUCIBILIDAD INTERANALISTA = ",
             "AMPLITUD MÁXIMA RELATIVA DE LAS DETERMINACIONES ANALÍTICAS = "}};
}

int MarginUnits(DeskJetSettings::Margin margin) {
    switch (margin) {
    case DeskJetSettings::Margin::OneCm:
        return 1;
    case DeskJetSettings::Margin::TwoCm:
        return 5;
    case DeskJetSettings::Margin::OneAndAHalfCm:
        break;
    }
    return 3;
}

} // namespace

DeskJetLayout::DeskJetLayout(PrintSurface& surface, char decimalSeparator, DeskJetSettings settings)
    : m_page(surface), m_decimalSeparator(decimalSeparator),
      m_headerSize(settings.printerType == DeskJetSettings::PrinterType::LaserJet ? 14 : 12),
      m_bodySize(m_headerSize - 1), m_margin(MarginUnits(settings.margin)) {}

void DeskJetLayout::PrintHeader() {
    m_page.Surface().BeginJob();
    DrawHeader();
}

void DeskJetLayout::DrawHeader() {
    m_page.DrawHeader(
        m_headerSize,
        {{5, "Ondravel"}, {6, "Control de Calidad"}, {7, "PRECISIÓN DEL MÉTODO ANALÍTICO"}});
}

void DeskJetLayout::DrawFoot(int firstFreeRow) {
    m_page.RightAligned(firstFreeRow + 2, kProductLine);
    m_page.Rule(m_page.RowY(firstFreeRow + 3));
}

void DeskJetLayout::PrintGeneralInfo(const Study& study) {
    CheckPrintableCounts(study);
    PrintHeader();
    m_page.SelectFont(m_bodySize);
    const int below = DrawGeneralInformation(m_page, "INFORMACIÓN GENERAL", study,
                                             {m_margin, 41, 18, 20, kLastTableRow, 10}, [this] {
                                                 DrawFoot(kLastTableRow + 1);
                                                 m_page.Surface().NewPage();
                                                 DrawHeader();
                                                 m_page.SelectFont(m_bodySize);
                                             });
    DrawFoot(below);
    m_page.Surface().EndJob();
}

void DeskJetLayout::PrintResults(const Study& study, AnovaTable anova, PrecisionSummary precision) {
    PrintHeader();
    m_page.SelectFont(m_bodySize);
    DrawResults(m_page, ResultsTexts(m_margin), study.methodName, anova, precision,
                m_decimalSeparator);
    m_page.Text(m_margin, 43, kMethodNameLabel + study.methodName);
    m_page.Text(m_margin, 45, kDateLabel + study.date);
    DrawFoot(46);
    m_page.Surface().EndJob();
}

} // namespace orbeta
