#include "printing/PrintOptionsDialog.h"

#include "printing/GlyphButton.h"
#include "study/Error.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orbeta {

PrintOptionsDialog::PrintOptionsDialog(QWidget& parent, const Platform& platform,
                                       CurrentStudy currentStudy, const QString& caption)
    : PrintDialogWindow(parent, Qt::Window), m_platform(platform),
      m_currentStudy(std::move(currentStudy)) {
    setWindowTitle(QStringLiteral("opciones"));
    setGeometry(111, 157, 238, 165);

    auto* opcion = new QGroupBox(caption, this);
    opcion->setObjectName(QStringLiteral("opcion"));
    opcion->setGeometry(0, 0, 238, 105);
    auto* generalInfo = new QRadioButton(QStringLiteral("Imprime Información General"), opcion);
    generalInfo->setChecked(true);
    m_results = new QRadioButton(QStringLiteral("Imprime Resultados"), opcion);
    auto* items = new QVBoxLayout(opcion);
    items->addWidget(generalInfo);
    items->addWidget(m_results);

    m_accept = new GlyphButton(QStyle::SP_DialogOkButton, QStringLiteral("Aceptar"), this);
    m_accept->setObjectName(QStringLiteral("BitBtn1"));
    m_accept->setGeometry(8, 120, 97, 33);
    m_accept->setDefault(true);
    m_accept->setEnabled(false);
    auto* cancel = new GlyphButton(QStyle::SP_DialogCancelButton, QStringLiteral("Cancelar"), this);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    cancel->setGeometry(128, 120, 97, 33);
    setTabOrder(m_accept, cancel);
    setTabOrder(cancel, generalInfo);

    connect(m_accept, &QPushButton::clicked, this, &PrintOptionsDialog::BitBtn1Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PrintOptionsDialog::SetStudyOpen(bool open) {
    m_accept->setEnabled(open);
}

void PrintOptionsDialog::BitBtn1Click() {
    try {
        const std::optional<Study> chosen = m_currentStudy();
        if (!chosen) {
            return;
        }
        // A result may have been marked missing since the dialog opened.
        if (HoldsMissingResult(*chosen)) {
            m_platform.messages.ReportError(kHasMissingResults);
            return;
        }
        if (!m_platform.printer.RunPrintDialog()) {
            return;
        }
        // The study as it stands once the printer is chosen; its window may have closed meanwhile.
        if (const std::optional<Study> study = m_currentStudy()) {
            PrintChosenPage(*study);
        }
    } catch (const Error& error) {
        m_platform.messages.ReportError(error.what());
    }
}

void PrintOptionsDialog::PrintChosenPage(const Study& study) {
    const char separator = m_platform.regionalSettings.DecimalSeparator();
    const std::unique_ptr<PageLayout> layout = Layout(m_platform.printer.Surface(), separator);
    if (!m_results->isChecked()) {
        layout->PrintGeneralInfo(study);
        return;
    }
    m_engine.ComputeAnova(study, separator, m_anova);
    m_engine.ComputePrecision(study, separator, m_precision);
    layout->PrintResults(study, m_anova, m_precision);
}

} // namespace orbeta
