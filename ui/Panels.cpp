#include "ui/Panels.h"

#include "ui/Pictures.h"

#include <QPainter>
#include <qdrawutil.h>

namespace orbeta {

BevelPanel::BevelPanel(Bevel outer, Bevel inner, int bevelWidth, QWidget* parent)
    : QWidget(parent), m_outer(outer), m_inner(inner), m_bevelWidth(bevelWidth) {}

void BevelPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QBrush face = palette().window();
    qDrawShadePanel(&painter, rect(), palette(), m_outer == Bevel::Sunken, m_bevelWidth, &face);
    const QRect inside = rect().adjusted(m_bevelWidth, m_bevelWidth, -m_bevelWidth, -m_bevelWidth);
    qDrawShadePanel(&painter, inside, palette(), m_inner == Bevel::Sunken, m_bevelWidth, &face);
}

StatusPanel::StatusPanel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setContentsMargins(4, 0, 4, 0);
}

void StatusPanel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), true, 1);
}

void AnalystPictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintAnalystPicture(painter, rect());
}

QLabel* PlaceLabel(const QString& text, const QFont& font, const QColor& colour, QPoint at,
                   QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    // Given the room to the parent's edges rather than measured: measuring loads the typeface,
    // which the first paint does anyway, and the splash is made before the main window is up.
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(QRect(at, parent->rect().bottomRight()));
    return label;
}

} // namespace orbeta
