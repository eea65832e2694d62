#pragma once

#include "engine/Ucalculo.h"
#include "print/PageFrame.h"
#include "printing/PrintDialogWindow.h"
#include "study/Study.h"
#include "ui/Platform.h"

#include <functional>
#include <memory>
#include <optional>

class QPushButton;
class QRadioButton;

namespace orbeta {

// The study of the capture window as it stands, or nothing while no capture window is open.
using CurrentStudy = std::function<std::optional<Study>()>;

// A print options dialog: which page of its layout to print, and "Aceptar" to choose the
// printer in the system print dialog and print that page of the current study. It is modeless
// and keeps its choice while hidden. It owns the records the results page is computed into.
class PrintOptionsDialog : public PrintDialogWindow {
    Q_OBJECT

public:
    // "Aceptar": the system print dialog, then the chosen page. The results page is computed
    // afresh from the study as it stands. A failure, a missing printer included, is shown in
    // the general error report; the dialog stays open. Nothing happens without a study.
    void BitBtn1Click();

    // Makes "Aceptar" available while there is a study to print.
    void SetStudyOpen(bool open);

protected:
    // `caption` is the radio group's. What `platform` refers to and `parent` outlive the dialog.
    PrintOptionsDialog(QWidget& parent, const Platform& platform, CurrentStudy currentStudy,
                       const QString& caption);

    // The layout to print with this time.
    virtual std::unique_ptr<PageLayout> Layout(PrintSurface& surface,
                                               char decimalSeparator) const = 0;

private:
    void PrintChosenPage(const Study& study);

    Platform m_platform;
    CurrentStudy m_currentStudy;
    QRadioButton* m_results = nullptr;
    QPushButton* m_accept = nullptr;
    StatisticsEngine m_engine;
    AnovaTable m_anova;
    PrecisionSummary m_precision;
};

} // namespace orbeta
