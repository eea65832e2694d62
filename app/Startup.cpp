#include "app/Startup.h"

#include "printing/PrintDialogs.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLayout>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

#include <utility>

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

namespace {

// Opens a study once the main window is first active: the window system maximizes it only
// after it is shown, and a capture window opened before then takes its default size from the
// small restored area, hiding the counts.
class OpenWhenFirstActive final : public QObject {
public:
    OpenWhenFirstActive(TMainForm& mainWindow, QString path)
        : QObject(&mainWindow), m_mainWindow(mainWindow), m_path(std::move(path)) {
        mainWindow.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_mainWindow && event->type() == QEvent::WindowActivate) {
            m_mainWindow.removeEventFilter(this);
            // After the activation has been handled, so that a message about the file is not
            // shown from inside it.
            QTimer::singleShot(0, &m_mainWindow, [mainWindow = &m_mainWindow, path = m_path] {
                mainWindow->OpenStudyFile(path);
            });
            deleteLater();
        }
        return false;
    }

private:
    TMainForm& m_mainWindow;
    QString m_path;
};

} // namespace

void Program::Start(const QString& studyFile) {
    if (!studyFile.isEmpty()) {
        // Absolute, as the Open dialog gives it: the capture window's caption and the Save
        // dialog's name must not depend on the folder the program was started from.
        new OpenWhenFirstActive(*m_mainWindow, QFileInfo(studyFile).absoluteFilePath());
    }
    m_mainWindow->showMaximized();
    m_mainWindow->activateWindow();
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
