#pragma once

#include "printing/QtPrinter.h"
#include "ui/FileDialogs.h"
#include "ui/HelpViewer.h"
#include "ui/Main.h"
#include "ui/MessageBoxes.h"
#include "ui/RegionalSettings.h"
#include "ui/Ufshow.h"

#include <QCoreApplication>
#include <QPointer>

#include <filesystem>
#include <memory>
#include <optional>

namespace orbeta {

// The caption of every message dialog and error report.
inline constexpr const char* kApplicationTitle = "Presicion del Método (Presición Intermedia)";
// The help the help viewer shows.
inline constexpr const char* kHelpFile = "AYUDA5.HLP";

// The running program: the desktop's seams, named by the application title and the help file,
// then the main window, the splash and the print dialogs, hidden, in that order. Needs a
// QApplication.
class Program {
public:
    // Recovery copies of an unsaved study go to `recoveryFolder`, and those an earlier run left
    // there are offered at start; without one (the tests), there are none.
    explicit Program(std::optional<std::filesystem::path> recoveryFolder = std::nullopt);
    ~Program();

    // Shows the main window maximized and, once it is first active, offers the recovery copies
    // left behind, then, when `studyFile` names one (its bytes as the system spells them), opens
    // that study as Open does; the caller then runs the event loop until the main window closes.
    // From then on a logout asks the close question, and SIGTERM writes the recovery copy of a
    // changed study and ends the event loop.
    void Start(const std::filesystem::path& studyFile = {});

    TMainForm& MainWindow() { return *m_mainWindow; }
    // The splash while it is open.
    TFshow* Splash() const { return m_splash.data(); }

private:
    QtMessageBoxes m_messages;
    WindowHelpViewer m_help;
    QtFileDialogs m_fileDialogs;
    QtPrinter m_printer;
    SystemRegionalSettings m_regionalSettings;
    SystemUserSettings m_userSettings;
    std::unique_ptr<TMainForm> m_mainWindow;
    QPointer<TFshow> m_splash;
};

// The recovery folder of the user the program runs for, from the environment.
std::filesystem::path RecoveryFolderOfUser();

// Names the application and loads Qt's own Spanish texts for the standard dialogs, where they
// are installed.
void ConfigureApplication(QCoreApplication& application);

} // namespace orbeta
