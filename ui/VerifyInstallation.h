#pragma once

#include "qualification/Report.h"
#include "ui/Platform.h"

#include <filesystem>

class QWidget;

namespace orbeta {

// "Ayuda > Verificar la instalación...": runs the qualification of the program `program` (as
// the package installs it) with a progress dialog over `parent`, then shows its outcome in the
// message dialog («Verificación correcta: 441 de 441 cifras.» or what failed, a line each), then
// offers the report, where and when as `context` says, as a PDF file through the save dialog
// («Verificación ORBETA <date>.pdf» proposed); a cancel writes nothing, a file that cannot be
// written gets the general error report.
void VerifyInstallation(QWidget* parent, const Platform& platform,
                        qualification::InstallationProbe& probe, std::string_view program,
                        const qualification::RunContext& context);

// Writes the report as an A4 PDF file, landscape, on the validation record's page layout, titled as
// its pages are, through the printer's SurfacePdf; the file takes the target's place whole. Throws
// Error with the file's message.
void WriteReportPdf(Printer& printer, const std::filesystem::path& file,
                    const qualification::RunContext& context,
                    const qualification::Qualification& qualification);

} // namespace orbeta
