#pragma once

// The qualification's report on pages, as a laboratory files it: on the page layout of the
// validation record (print/PagedDocument), with its header and footer on every page.

#include "print/PrintSurface.h"
#include "qualification/Report.h"

namespace orbeta::qualification {

// The title every page's header carries and a PDF document of the report is given.
inline constexpr const char* kReportDocumentTitle = "Verificación de la instalación de ORBETA";

// Draws the report on the surface as one job: the header (the title, the date, «Página x de y»)
// and the footer (the machine, the program and its version, the date and time) on every page;
// where and when it ran, the installation, every study with each figure (expected, obtained,
// LRE, rule, pass), the outcome and the signature block «Ejecutó», «Revisó», «Aprobó». Throws
// Error when the surface cannot begin a job.
void PrintReport(PrintSurface& surface, const RunContext& context,
                 const Qualification& qualification);

} // namespace orbeta::qualification
