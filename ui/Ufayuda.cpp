#include "ui/Ufayuda.h"

#include "ui/HelpBook.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace orbeta {

namespace {

QPushButton* AddButton(QBoxLayout& row, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    row.addWidget(button);
    return button;
}

} // namespace

TFayuda::TFayuda(const QString& helpFile) : m_helpFolder(HelpFolderOf(helpFile)) {
    setObjectName(QStringLiteral("TFayuda"));
    setWindowTitle(QStringLiteral("Ayuda de Precisión del Método Analítico"));
    // The help stays open beside the program but does not keep it running.
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* buttons = new QHBoxLayout;
    QPushButton* contents = AddButton(*buttons, "btncontenido", QStringLiteral("&Contenido"));
    QPushButton* search = AddButton(*buttons, "btnbuscar", QStringLiteral("&Buscar"));
    QPushButton* back = AddButton(*buttons, "btnatras", QStringLiteral("&Atrás"));
    QPushButton* forward = AddButton(*buttons, "btnadelante", QStringLiteral("A&delante"));
    buttons->addStretch(1);

    auto* indexPanel = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPanel);
    indexLayout->setContentsMargins(0, 0, 0, 0);
    auto* searchLabel = new QLabel(QStringLiteral("&Escriba la palabra que busca:"));
    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("ebuscar"));
    m_search->installEventFilter(this);
    searchLabel->setBuddy(m_search);
    m_noMatch = new QLabel;
    m_noMatch->setObjectName(QStringLiteral("lblsinresultado"));
    m_noMatch->setWordWrap(true);
    m_noMatch->hide();
    m_index = new QListWidget;
    m_index->setObjectName(QStringLiteral("lstindice"));
    for (const HelpKeyword& keyword : HelpKeywords()) {
        m_index->addItem(keyword.keyword);
    }
    auto* showKeyword = new QPushButton(QStringLiteral("&Mostrar"));
    showKeyword->setObjectName(QStringLiteral("btnmostrar"));
    showKeyword->setAutoDefault(false);
    indexLayout->addWidget(searchLabel);
    indexLayout->addWidget(m_search);
    indexLayout->addWidget(m_noMatch);
    indexLayout->addWidget(m_index, 1);
    indexLayout->addWidget(showKeyword);

    m_page = new QTextBrowser;
    m_page->setObjectName(QStringLiteral("pagina"));
    m_page->setOpenLinks(true);

    auto* splitter = new QSplitter;
    splitter->addWidget(indexPanel);
    splitter->addWidget(m_page);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 520});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);

    connect(contents, &QPushButton::clicked, this,
            [this] { ShowPage(QString::fromLatin1(kContentsPage)); });
    connect(search, &QPushButton::clicked, this, [this] { ShowIndex(QString()); });
    connect(back, &QPushButton::clicked, m_page, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_page, &QTextBrowser::forward);
    connect(m_page, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(m_page, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(m_search, &QLineEdit::textEdited, this, &TFayuda::SelectFirstMatch);
    connect(m_search, &QLineEdit::returnPressed, this, &TFayuda::ShowSelectedKeyword);
    connect(showKeyword, &QPushButton::clicked, this, &TFayuda::ShowSelectedKeyword);
    connect(m_index, &QListWidget::itemActivated, this, &TFayuda::ShowSelectedKeyword);
    back->setEnabled(false);
    forward->setEnabled(false);

    resize(760, 540);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void TFayuda::ShowPage(const QString& page) {
    m_page->setSource(QUrl(m_helpFolder + page));
    Present();
    m_page->setFocus();
}

void TFayuda::ShowIndex(const QString& keyword) {
    m_search->setText(keyword);
    SelectFirstMatch(keyword);
    Present();
    m_search->setFocus();
    m_search->selectAll();
}

// As the user types, the index moves to the first keyword that starts with the text, or
// failing that contains it; case and accents do not count.
void TFayuda::SelectFirstMatch(const QString& typed) {
    const QString wanted = SearchForm(typed.trimmed());
    const QList<HelpKeyword>& keywords = HelpKeywords();
    const auto firstWhere = [&](auto matches) {
        for (int row = 0; row < keywords.size(); ++row) {
            if (matches(SearchForm(keywords[row].keyword))) {
                return row;
            }
        }
        return -1;
    };
    int row = firstWhere([&](const QString& keyword) { return keyword.startsWith(wanted); });
    if (row < 0) {
        row = firstWhere([&](const QString& keyword) { return keyword.contains(wanted); });
    }
    m_index->setCurrentRow(row);
    // Without a word of the index to point at, the user is told rather than left guessing.
    m_noMatch->setText(
        row < 0 ? QStringLiteral("Ninguna palabra del índice contiene «%1».").arg(typed.trimmed())
                : QString());
    m_noMatch->setVisible(row < 0);
}

void TFayuda::ShowSelectedKeyword() {
    const int row = m_index->currentRow();
    if (row >= 0) {
        ShowPage(HelpKeywords()[row].page);
    }
}

void TFayuda::Present() {
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

// The arrow keys in the search field move through the index.
bool TFayuda::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
            key == Qt::Key_PageDown) {
            QCoreApplication::sendEvent(m_index, event);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFayuda::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace orbeta
