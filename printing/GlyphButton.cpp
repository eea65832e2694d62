#include "printing/GlyphButton.h"

namespace orbeta {

GlyphButton::GlyphButton(QStyle::StandardPixmap glyph, const QString& text, QWidget* parent)
    : QPushButton(text, parent), m_glyph(glyph) {}

void GlyphButton::showEvent(QShowEvent* event) {
    if (icon().isNull()) {
        setIcon(style()->standardIcon(m_glyph, nullptr, this));
    }
    QPushButton::showEvent(event);
}

} // namespace orbeta
