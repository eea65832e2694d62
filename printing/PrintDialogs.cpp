#include "printing/PrintDialogs.h"

#include "printing/Uopprt.h"
#include "printing/Uopprt1.h"
#include "printing/Uoprt.h"
#include "ui/Fdatos.h"
#include "ui/Main.h"

namespace orbeta {

PrintDialogs CreatePrintDialogs(TMainForm& mainWindow) {
    const CurrentStudy currentStudy = [&mainWindow]() -> std::optional<Study> {
        const TFinforma* capture = mainWindow.CaptureWindow();
        return capture ? std::optional(capture->StudySnapshot()) : std::nullopt;
    };
    auto* laserOptions = new TFopprt1(mainWindow, mainWindow.Seams(), currentStudy);
    auto* printerAndMargin = new TFOPRT(mainWindow);
    auto* deskJetOptions =
        new TFopprt(mainWindow, mainWindow.Seams(), currentStudy, *printerAndMargin);
    printerAndMargin->SetOptionsDialogs([laserOptions] { ShowInFront(*laserOptions); },
                                        [deskJetOptions] { ShowInFront(*deskJetOptions); });
    for (PrintOptionsDialog* options : {static_cast<PrintOptionsDialog*>(laserOptions),
                                        static_cast<PrintOptionsDialog*>(deskJetOptions)}) {
        options->SetStudyOpen(mainWindow.CaptureWindow() != nullptr);
        QObject::connect(&mainWindow, &TMainForm::CaptureWindowChanged, options,
                         &PrintOptionsDialog::SetStudyOpen);
    }
    mainWindow.SetPrintDialogs(*laserOptions, *printerAndMargin, *deskJetOptions);
    return {*laserOptions, *printerAndMargin, *deskJetOptions};
}

} // namespace orbeta
