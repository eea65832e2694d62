#pragma once

#include <QLabel>
#include <QWidget>

namespace orbeta {

// A panel drawn with an outer and an inner bevel, each raised or sunken.
class BevelPanel final : public QWidget {
    Q_OBJECT

public:
    enum class Bevel { Raised, Sunken };

    BevelPanel(Bevel outer, Bevel inner, int bevelWidth, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Bevel m_outer;
    Bevel m_inner;
    int m_bevelWidth;
};

// A panel of the status line: a text inside a sunken edge one pixel wide.
class StatusPanel final : public QLabel {
    Q_OBJECT

public:
    StatusPanel(const QString& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The analyst picture, stretched to the widget's size.
class AnalystPictureView final : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A label at a fixed place on `parent`, in the given font and colour, with its text at its top
// left; `parent` has its size already.
QLabel* PlaceLabel(const QString& text, const QFont& font, const QColor& colour, QPoint at,
                   QWidget* parent);

} // namespace orbeta
