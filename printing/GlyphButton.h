#pragma once

#include <QPushButton>
#include <QStyle>

namespace orbeta {

// A dialog button with one of the style's glyphs beside its text. The glyph is looked up in the
// icon theme when the button is first shown, not when it is made: the print dialogs are made at
// start-up, and that look-up would slow every start for dialogs most runs never show.
class GlyphButton final : public QPushButton {
public:
    GlyphButton(QStyle::StandardPixmap glyph, const QString& text, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QStyle::StandardPixmap m_glyph;
};

} // namespace orbeta
