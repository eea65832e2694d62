#pragma once

#include "engine/Ucalculo.h"
#include "print/PageFrame.h"

#include <QDialog>

#include <memory>

class QRadioButton;

namespace orbeta {

class TMainForm;

// A print options dialog: which page of its layout to print, and "Aceptar" to choose the
// printer in the system print dialog and print that page of the capture window's study. It is
// modeless and keeps its choice while hidden; "Aceptar" is available only while a capture
// window is open. It owns the records the results page is computed into.
class PrintOptionsDialog : public QDialog {
    Q_OBJECT

public:
    // "Aceptar": the system print dialog, then the chosen page. The results page is computed
    // afresh from the study as it stands. A failure, a missing printer included, is shown in
    // the general error report; the dialog stays open.
    void BitBtn1Click();

protected:
    // `caption` is the radio group's.
    PrintOptionsDialog(TMainForm& mainWindow, const QString& caption);

    // The layout to print with this time.
    virtual std::unique_ptr<PageLayout> Layout(PrintSurface& surface,
                                               char decimalSeparator) const = 0;

private:
    void PrintChosenPage();

    TMainForm& m_mainWindow;
    QRadioButton* m_results = nullptr;
    StatisticsEngine m_engine;
    AnovaTable m_anova;
    PrecisionSummary m_precision;
};

} // namespace orbeta
