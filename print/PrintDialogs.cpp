#include "print/PrintDialogs.h"

#include "print/Uopprt.h"
#include "print/Uopprt1.h"
#include "print/Uoprt.h"
#include "ui/Main.h"

namespace orbeta {

PrintDialogs CreatePrintDialogs(TMainForm& mainWindow) {
    auto* laserOptions = new TFopprt1(mainWindow);
    auto* printerAndMargin = new TFOPRT(mainWindow);
    auto* deskJetOptions = new TFopprt(mainWindow, *printerAndMargin);
    printerAndMargin->SetOptionsDialogs(*laserOptions, *deskJetOptions);
    mainWindow.SetPrintDialogs(*laserOptions, *printerAndMargin, *deskJetOptions);
    return {*laserOptions, *printerAndMargin, *deskJetOptions};
}

} // namespace orbeta
