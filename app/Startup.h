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

#include <memory>

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
    Program();
    ~Program();

    // Shows the main window maximized and, when `studyFile` names one, opens that study as
    // Open does once the main window is first active; the caller then runs the event loop
    // until the main window closes.
    void Start(const QString& studyFile = {});

    TMainForm& MainWindow() { return *m_mainWindow; }
    // The splash while it is open.
    TFshow* Splash() const { return m_splash.data(); }

private:
    QtMessageBoxes m_messages;
    WindowHelpViewer m_help;
    QtFileDialogs m_fileDialogs;
    QtPrinter m_printer;
    SystemRegionalSettings m_regionalSettings;
    std::unique_ptr<TMainForm> m_mainWindow;
    QPointer<TFshow> m_splash;
};

// Names the application and loads Qt's own Spanish texts for the standard dialogs, where they
// are installed.
void ConfigureApplication(QCoreApplication& application);

} // namespace orbeta
