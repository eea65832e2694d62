#pragma once

namespace orbeta {

class TFOPRT;
class TFopprt;
class TFopprt1;
class TMainForm;

struct PrintDialogs {
    TFopprt1& laserOptions;
    TFOPRT& printerAndMargin;
    TFopprt& deskJetOptions;
};

// Creates the three print dialogs hidden, in this order, owned by the main window for the rest
// of its life, and hands them to the main window's print commands and to each other. They print
// the main window's capture window through its seams. Touches nothing of the printer system.
PrintDialogs CreatePrintDialogs(TMainForm& mainWindow);

} // namespace orbeta
