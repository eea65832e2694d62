#include "ui/HelpViewer.h"

#include "ui/HelpBook.h"
#include "ui/Ufayuda.h"

namespace orbeta {

WindowHelpViewer::WindowHelpViewer(QString helpFile) : m_helpFile(std::move(helpFile)) {}

WindowHelpViewer::~WindowHelpViewer() = default;

void WindowHelpViewer::ShowContents() {
    Window().ShowPage(QString::fromLatin1(kContentsPage));
}

void WindowHelpViewer::SearchKeyword(const QString& keyword) {
    Window().ShowIndex(keyword);
}

void WindowHelpViewer::ShowHelpOnHelp() {
    Window().ShowPage(QString::fromLatin1(kHelpOnHelpPage));
}

void WindowHelpViewer::ShowTopic(int helpContext) {
    Window().ShowPage(PageOfHelpContext(helpContext));
}

TFayuda& WindowHelpViewer::Window() {
    if (!m_window) {
        m_window = std::make_unique<TFayuda>(m_helpFile);
    }
    return *m_window;
}

} // namespace orbeta
