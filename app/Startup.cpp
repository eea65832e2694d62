#include "app/Startup.h"

#include "files/RecoveryCopy.h"
#include "printing/PrintDialogs.h"
#include "ui/Fdatos.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLayout>
#include <QLibraryInfo>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>
#include <QTranslator>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace orbeta {

Program::Program(std::optional<std::filesystem::path> recoveryFolder)
    : m_messages(QString::fromUtf8(kApplicationTitle)), m_help(QString::fromLatin1(kHelpFile)),
      m_mainWindow(std::make_unique<TMainForm>(Platform{
          m_messages, m_fileDialogs, m_printer, m_help, m_regionalSettings, m_userSettings})) {
    // The splash, on top of the main window, brings the main window onto the screen with it:
    // the main window's size limits are settled first, rather than sent to the window system
    // after it is there.
    m_mainWindow->ensurePolished();
    m_mainWindow->layout()->activate();
    m_splash = new TFshow(*m_mainWindow);
    CreatePrintDialogs(*m_mainWindow);
    if (recoveryFolder) {
        m_mainWindow->Document().SetRecoveryFolder(std::move(*recoveryFolder));
    }
}

Program::~Program() = default;

namespace {

// Offers the recovery copies, then opens a study, once the main window is first active: the
// window system maximizes it only after it is shown, and a capture window opened before then
// takes its default size from the small restored area, hiding the counts.
class OpenWhenFirstActive final : public QObject {
public:
    OpenWhenFirstActive(TMainForm& mainWindow, std::filesystem::path path)
        : QObject(&mainWindow), m_mainWindow(mainWindow), m_path(std::move(path)) {
        mainWindow.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_mainWindow && event->type() == QEvent::WindowActivate) {
            m_mainWindow.removeEventFilter(this);
            // After the activation has been handled, so that a message about the file is not
            // shown from inside it.
            QTimer::singleShot(0, &m_mainWindow, [mainWindow = &m_mainWindow, path = m_path] {
                mainWindow->OfferRecoveryCopies();
                if (!path.empty()) {
                    mainWindow->OpenStudyFile(FileNameOf(path));
                }
            });
            deleteLater();
        }
        return false;
    }

private:
    TMainForm& m_mainWindow;
    std::filesystem::path m_path;
};

// The pipe through which SIGTERM reaches the event loop: the handler writes a byte to it and
// does nothing else, as nothing else is safe in a signal handler. One for the process.
int g_terminationPipe[2] = {-1, -1};

extern "C" void NoteTermination(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_terminationPipe[1], &byte, 1);
}

// SIGTERM (a logout, a shutdown, kill) writes the recovery copy of a changed study and ends
// the event loop, so that the next start offers the study back.
void TerminateThroughEventLoop(TMainForm& mainWindow) {
    if (g_terminationPipe[0] < 0) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_terminationPipe) != 0) {
            return;
        }
        ::fcntl(g_terminationPipe[1], F_SETFL, O_NONBLOCK);
        struct sigaction action {};
        action.sa_handler = NoteTermination;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(SIGTERM, &action, nullptr);
    }
    auto* notifier = new QSocketNotifier(g_terminationPipe[0], QSocketNotifier::Read, &mainWindow);
    QObject::connect(notifier, &QSocketNotifier::activated, &mainWindow, [&mainWindow] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(g_terminationPipe[0], &byte, 1);
        mainWindow.Document().WriteRecoveryCopyNow();
        QCoreApplication::exit(128 + SIGTERM);
    });
}

// The session manager's request to save at logout gets the close question; a cancel keeps the
// session, and where no question may be asked the recovery copy is written.
void AnswerLogout(TMainForm& mainWindow) {
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &mainWindow,
                     [&mainWindow](QSessionManager& manager) {
                         TFinforma* capture = mainWindow.CaptureWindow();
                         if (!capture) {
                             return;
                         }
                         if (!manager.allowsInteraction()) {
                             mainWindow.Document().WriteRecoveryCopyNow();
                             return;
                         }
                         const bool settled = capture->SettleChanges();
                         manager.release();
                         if (!settled) {
                             manager.cancel();
                         }
                     });
}

} // namespace

void Program::Start(const std::filesystem::path& studyFile) {
    // Absolute, as the Open dialog gives it: the capture window's caption and the Save
    // dialog's name must not depend on the folder the program was started from.
    std::error_code ignored;
    new OpenWhenFirstActive(*m_mainWindow, studyFile.empty()
                                               ? studyFile
                                               : std::filesystem::absolute(studyFile, ignored));
    TerminateThroughEventLoop(*m_mainWindow);
    AnswerLogout(*m_mainWindow);
    m_mainWindow->showMaximized();
    m_mainWindow->activateWindow();
}

std::filesystem::path RecoveryFolderOfUser() {
    return RecoveryFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
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
