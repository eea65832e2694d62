#include "app/Startup.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace orbeta {

Program::Program()
    : m_messages(QString::fromUtf8(kApplicationTitle)), m_help(QString::fromLatin1(kHelpFile)),
      m_mainWindow(std::make_unique<TMainForm>(
          Platform{m_messages, m_fileDialogs, m_printer, m_help, m_regionalSettings})),
      m_splash(new TFshow(*m_mainWindow)) {}

Program::~Program() = default;

void Program::Start() {
    m_mainWindow->showMaximized();
    m_mainWindow->activateWindow();
}

void UseSpanishStandardDialogs(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    if (translator->load(QStringLiteral("qtbase_es"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

} // namespace orbeta
