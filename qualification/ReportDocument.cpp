#include "qualification/ReportDocument.h"

#include "print/PagedDocument.h"

namespace orbeta::qualification {

void PrintReport(PrintSurface& surface, const RunContext& context,
                 const Qualification& qualification) {
    // The header names the day; the footer the moment, as the record's does.
    const std::string date = context.dateTime.substr(0, context.dateTime.find(' '));
    PagedDocument document({kReportDocumentTitle, date, "Equipo " + context.machine,
                            context.program, context.dateTime});
    document.Title("Informe de verificación de la instalación de ORBETA");
    document.Heading("Dónde y cuándo se ejecutó");
    DocumentTable run{{"Dato", "Valor"}, {}, {true, true}};
    for (const auto& [label, value] : RunLines(context)) {
        run.rows.push_back({label, value});
    }
    document.Table(std::move(run));
    document.Heading("Instalación");
    for (const std::string& line : qualification.installation.lines) {
        document.Paragraph(line);
    }
    for (const StudyCheck& study : qualification.studies) {
        const ReferenceStudy& reference = *study.study;
        document.Heading("Estudio: " + StudyTitle(reference));
        DocumentTable figures{{"Cifra", "Esperado", "Obtenido", "LRE", "Regla", "Pasa"},
                              {},
                              {true, false, false, false, true, true}};
        for (const FigureCheck& figure : study.figures) {
            figures.rows.push_back({figure.name, figure.expected, figure.obtained,
                                    LreText(figure.lre), figure.rule, figure.passed ? "sí" : "NO"});
        }
        // The heading goes with the table, which a page break would otherwise part it from.
        document.Table(std::move(figures));
        document.Paragraph("Origen: " + std::string(reference.source));
        if (const std::string limits = LimitsLine(reference); !limits.empty()) {
            document.Paragraph(limits);
        }
        if (!study.error.empty()) {
            document.Paragraph("No se pudo calcular: " + study.error);
        }
        document.Paragraph(StudyCountLine(study));
    }
    document.Heading("Resultado");
    for (const std::string& line : OutcomeLines(qualification)) {
        document.Paragraph(line);
    }
    document.SignatureBlock(
        {{"Ejecutó", "quien firma ejecutó esta verificación en este equipo y con este usuario."},
         {"Revisó", "quien firma comprobó la instalación y cada cifra de este informe."},
         {"Aprobó", "quien firma acepta la instalación como cualificada para el uso del "
                    "laboratorio."}});
    document.Print(surface);
}

} // namespace orbeta::qualification
