#include "app/Startup.h"

#include "print/qt/PrintDialogs.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLayout>
#include <QLibraryInfo>
#include <QTranslator>

namespace orbeta {

Program::Program()
    : m_messages(QString::fromUtf8(kApplicationTitle)), m_help(QString::fromLatin1(kHelpFile)),
      m_mainWindow(std::make_unique<TMainForm>(
          Platform{m_messages, m_fileDialogs, m_printer, m_help, m_regionalSettings})) {
    // The splash, on top of the main window, brings the main window onto the screen with it:
    // the main window's size limits are settled first, rather than sent to the window system
    // after it is there.
    m_mainWindow->ensurePolished();
    m_mainWindow->layout()->activate();
    m_splash = new TFshow(*m_mainWindow);
    CreatePrintDialogs(*m_mainWindow);
}

Program::~Program() = default;

void Program::Start(const QString& studyFile) {
    m_mainWindow->showMaximized();
    m_mainWindow->activateWindow();
    if (!studyFile.isEmpty()) {
        // Absolute, as the Open dialog gives it: the capture window's caption and the Save
        // dialog's name must not depend on the folder the program was started from.
        m_mainWindow->OpenStudyFile(QFileInfo(studyFile).absoluteFilePath());
    }
}

namespace {

// Menus show their shortcuts as "Ctrl+N", as the program's users know them, not as Qt's
// Spanish texts would ("Control+N").
class KeyNamesAsWritten final : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        return qstrcmp(context, "QShortcut") == 0 ? QString::fromLatin1(sourceText) : QString();
    }

    bool isEmpty() const override { return false; }
};

} // namespace

void ConfigureApplication(QCoreApplication& application) {
    QCoreApplication::setApplicationName(QStringLiteral("orbeta"));
    auto* spanish = new QTranslator(&application);
    if (!spanish->load(QStringLiteral("qtbase_es"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete spanish;
        return;
    }
    QCoreApplication::installTranslator(spanish);
    QCoreApplication::installTranslator(new KeyNamesAsWritten(&application));
}

} // namespace orbeta
