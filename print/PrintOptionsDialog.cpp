#include "print/PrintOptionsDialog.h"

#include "study/Error.h"
#include "ui/Fdatos.h"
#include "ui/Fonts.h"
#include "ui/Main.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace orbeta {

PrintOptionsDialog::PrintOptionsDialog(TMainForm& mainWindow, const QString& caption)
    : QDialog(&mainWindow, Qt::Window), m_mainWindow(mainWindow) {
    setWindowTitle(QStringLiteral("opciones"));
    setFont(SystemFont(13));
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

    auto* accept = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                                   QStringLiteral("Aceptar"), this);
    accept->setObjectName(QStringLiteral("BitBtn1"));
    accept->setGeometry(8, 120, 97, 33);
    accept->setDefault(true);
    accept->setEnabled(mainWindow.CaptureWindow() != nullptr);
    auto* cancel = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                   QStringLiteral("Cancelar"), this);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    cancel->setGeometry(128, 120, 97, 33);
    setTabOrder(accept, cancel);
    setTabOrder(cancel, generalInfo);

    connect(accept, &QPushButton::clicked, this, &PrintOptionsDialog::BitBtn1Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(&mainWindow, &TMainForm::CaptureWindowChanged, accept, &QWidget::setEnabled);
}

void PrintOptionsDialog::BitBtn1Click() {
    const Platform& platform = m_mainWindow.Seams();
    try {
        if (m_mainWindow.CaptureWindow() && platform.printer.RunPrintDialog()) {
            PrintChosenPage();
        }
    } catch (const Error& error) {
        platform.messages.ReportError(error.what());
    }
}

void PrintOptionsDialog::PrintChosenPage() {
    const TFinforma* capture = m_mainWindow.CaptureWindow();
    if (!capture) {
        return;
    }
    const Platform& platform = m_mainWindow.Seams();
    const Study study = capture->StudySnapshot();
    const char separator = platform.regionalSettings.DecimalSeparator();
    const std::unique_ptr<PageLayout> layout = Layout(platform.printer.Surface(), separator);
    if (!m_results->isChecked()) {
        layout->PrintGeneralInfo(study);
        return;
    }
    m_engine.ComputeAnova(study, separator, m_anova);
    m_engine.ComputePrecision(study, separator, m_precision);
    layout->PrintResults(study, m_anova, m_precision);
}

} // namespace orbeta
