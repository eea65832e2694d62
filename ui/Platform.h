#pragma once

#include "ui/FileDialogs.h"
#include "ui/HelpViewer.h"
#include "ui/MessageBoxes.h"
#include "ui/Printer.h"
#include "ui/RegionalSettings.h"
#include "ui/UserSettings.h"

namespace orbeta {

// Everything the windows reach outside themselves through: what blocks for the user's answer,
// the printer, the help viewer, the regional settings and what is remembered between runs. The
// start-up hands the desktop's own to the main window; tests hand scripted ones. The referenced
// objects outlive the windows.
struct Platform {
    MessageBoxes& messages;
    FileDialogs& fileDialogs;
    Printer& printer;
    HelpViewer& help;
    const RegionalSettings& regionalSettings;
    UserSettings& userSettings;
};

} // namespace orbeta
