#pragma once

#include "qualification/Installation.h"
#include "ui/MessageBoxes.h"

class QWidget;

namespace orbeta {

// "Ayuda > Verificar la instalación...": runs the qualification of the program `program` (as
// the package installs it) with a progress dialog over `parent`, then shows its outcome in the
// message dialog: «Verificación correcta: 369 de 369 cifras.» or what failed, a line each.
void VerifyInstallation(QWidget* parent, MessageBoxes& messages,
                        qualification::InstallationProbe& probe, std::string_view program);

} // namespace orbeta
