#include "ui/VerifyInstallation.h"

#include "qualification/Report.h"

#include <QProgressDialog>
#include <QStringList>

namespace orbeta {

void VerifyInstallation(QWidget* parent, MessageBoxes& messages,
                        qualification::InstallationProbe& probe, std::string_view program) {
    const auto studies = qualification::ReferenceStudies();
    QProgressDialog progress(QStringLiteral("Verificando la instalación..."), QString(), 0,
                             static_cast<int>(studies.size()), parent);
    progress.setObjectName(QStringLiteral("VerifyProgress"));
    progress.setWindowTitle(QStringLiteral("Verificar la instalación"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setValue(0);
    const qualification::Qualification outcome = qualification::Qualify(
        probe, program, studies, [&progress](int done, int) { progress.setValue(done); });
    progress.close();
    QStringList lines;
    for (const std::string& line : qualification::OutcomeLines(outcome)) {
        lines.append(QString::fromStdString(line));
    }
    messages.ShowMessage(lines.join(QLatin1Char('\n')));
}

} // namespace orbeta
