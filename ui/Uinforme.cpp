#include "ui/Uinforme.h"

#include "ui/ChildPlacement.h"
#include "ui/Fonts.h"

#include <QEvent>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace orbeta {

Tfrminforme::Tfrminforme(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Tfrminforme"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Informe"));
    setFont(SystemFont(13));

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("mminforme"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->installEventFilter(this);
    m_text->viewport()->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    m_text->setFocus();
}

void Tfrminforme::PlaceFrame(QMdiSubWindow& frame) const {
    GiveDefaultPlaceAndSize(frame);
}

QSize Tfrminforme::sizeHint() const {
    return ClientSizeOf(*this, {435, 300});
}

QSize Tfrminforme::minimumSizeHint() const {
    return {250, 150};
}

void Tfrminforme::AppendLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        m_text->appendPlainText(QString::fromStdString(line));
    }
}

bool Tfrminforme::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_text && event->type() == QEvent::KeyPress) {
        mminformeKeyDown();
        return true;
    }
    const bool isButton =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (watched == m_text->viewport() && isButton) {
        mminformeMouseDown();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Tfrminforme::mminformeKeyDown() {
    CloseWindow();
}

void Tfrminforme::mminformeMouseDown() {
    CloseWindow();
}

// Closes the frame in the main window, which closes the window inside it.
void Tfrminforme::CloseWindow() {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        frame->close();
    } else {
        close();
    }
}

} // namespace orbeta
