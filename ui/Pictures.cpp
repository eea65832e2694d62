#include "ui/Pictures.h"

#include <QFont>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <functional>
#include <map>
#include <utility>

namespace orbeta {

namespace {

// The tool-bar pictures are drawn on a grid of 16 by 16 units.
constexpr qreal kGridUnits = 16.0;

// How a picture is inked: in its colours, or as the grey outline of an unavailable button.
struct Ink {
    bool outlineOnly = false;
    QColor outline = Qt::black;

    void Shape(QPainter& painter, const QPainterPath& path, const QColor& fill) const {
        QPen pen(outline, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.setBrush(outlineOnly ? QBrush(Qt::NoBrush) : QBrush(fill));
        painter.drawPath(path);
    }
    void Line(QPainter& painter, QPointF from, QPointF to, const QColor& colour) const {
        QPen pen(outlineOnly ? outline : colour, 1.0, Qt::SolidLine, Qt::RoundCap);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawLine(from, to);
    }
};

QPainterPath Polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

QPainterPath Rectangle(qreal x, qreal y, qreal width, qreal height) {
    QPainterPath path;
    path.addRect(x, y, width, height);
    return path;
}

void RadiatingMarks(QPainter& painter, const Ink& ink, QPointF centre) {
    const QColor gold(0xE0, 0xA0, 0x00);
    ink.Line(painter, centre + QPointF(0, -1.5), centre + QPointF(0, -3.5), gold);
    ink.Line(painter, centre + QPointF(1.2, -1.2), centre + QPointF(2.6, -2.6), gold);
    ink.Line(painter, centre + QPointF(1.5, 0), centre + QPointF(3.5, 0), gold);
}

void DrawNewSheet(QPainter& painter, const Ink& ink) {
    ink.Shape(painter, Polygon({{2.5, 3.5}, {8.5, 3.5}, {11.5, 6.5}, {11.5, 15.5}, {2.5, 15.5}}),
              Qt::white);
    ink.Shape(painter, Polygon({{8.5, 3.5}, {8.5, 6.5}, {11.5, 6.5}}), QColor(0xC0, 0xC0, 0xC0));
    RadiatingMarks(painter, ink, {12.5, 3.5});
}

void DrawOpenFolder(QPainter& painter, const Ink& ink) {
    ink.Shape(painter,
              Polygon({{0.5, 3.5}, {4.5, 3.5}, {5.5, 4.5}, {12.5, 4.5}, {12.5, 13.5}, {0.5, 13.5}}),
              QColor(0xC0, 0x98, 0x00));
    ink.Shape(painter, Polygon({{0.5, 13.5}, {3.5, 7.5}, {15.5, 7.5}, {12.5, 13.5}}),
              QColor(0xFF, 0xE0, 0x30));
}

void DrawDiskette(QPainter& painter, const Ink& ink) {
    ink.Shape(painter, Polygon({{1.5, 1.5}, {13.5, 1.5}, {14.5, 2.5}, {14.5, 14.5}, {1.5, 14.5}}),
              QColor(0x10, 0x30, 0xB0));
    ink.Shape(painter, Rectangle(3.5, 1.5, 9, 6), Qt::white);
    ink.Line(painter, {5, 3.5}, {11, 3.5}, QColor(0x80, 0x80, 0x80));
    ink.Line(painter, {5, 5.5}, {11, 5.5}, QColor(0x80, 0x80, 0x80));
    ink.Shape(painter, Rectangle(4.5, 9.5, 7, 5), QColor(0xC0, 0xC0, 0xC0));
    ink.Shape(painter, Rectangle(9.5, 10.5, 1, 3), QColor(0x10, 0x30, 0xB0));
}

void DrawPrinter(QPainter& painter, const Ink& ink) {
    ink.Shape(painter, Rectangle(4.5, 1.5, 7, 6), Qt::white);
    ink.Shape(painter, Polygon({{0.5, 7.5}, {15.5, 7.5}, {15.5, 13.5}, {0.5, 13.5}}),
              QColor(0xC0, 0xC0, 0xC0));
    ink.Shape(painter, Rectangle(3.5, 11.5, 9, 4), Qt::white);
    ink.Line(painter, {6, 3.5}, {10, 3.5}, Qt::black);
    ink.Line(painter, {6, 5.5}, {10, 5.5}, Qt::black);
    ink.Shape(painter, Rectangle(12.5, 9, 1.5, 1.5), QColor(0x00, 0xC0, 0x00));
}

void DrawClosingSheet(QPainter& painter, const Ink& ink) {
    ink.Shape(painter, Polygon({{2.5, 6.5}, {5.5, 3.5}, {11.5, 3.5}, {11.5, 15.5}, {2.5, 15.5}}),
              Qt::white);
    ink.Shape(painter, Polygon({{2.5, 6.5}, {5.5, 3.5}, {5.5, 9.5}}), QColor(0xC0, 0xC0, 0xC0));
    RadiatingMarks(painter, ink, {12.5, 3.5});
}

void DrawDoor(QPainter& painter, const Ink& ink) {
    ink.Shape(painter, Rectangle(3.5, 0.5, 10, 15), QColor(0x60, 0x60, 0x60));
    ink.Shape(painter, Polygon({{3.5, 0.5}, {10.5, 2.0}, {10.5, 15.5}, {3.5, 15.5}}),
              QColor(0xD0, 0x10, 0x10));
    QPainterPath knob;
    knob.addEllipse(QPointF(8.5, 8.5), 0.9, 0.9);
    ink.Shape(painter, knob, QColor(0xFF, 0xE0, 0x30));
}

void WindowFrame(QPainter& painter, const Ink& ink, qreal x, qreal y, qreal width, qreal height) {
    ink.Shape(painter, Rectangle(x, y, width, height), Qt::white);
    ink.Shape(painter, Rectangle(x, y, width, 2.5), QColor(0x00, 0x00, 0x90));
}

void DrawTiledWindow(QPainter& painter, const Ink& ink) {
    WindowFrame(painter, ink, 0.5, 1.5, 15, 13);
    ink.Line(painter, {8, 4}, {8, 14.5}, Qt::black);
    ink.Line(painter, {0.5, 9.25}, {15.5, 9.25}, Qt::black);
}

void DrawCascadedWindows(QPainter& painter, const Ink& ink) {
    WindowFrame(painter, ink, 0.5, 0.5, 15, 15);
    for (int step = 0; step < 3; ++step) {
        WindowFrame(painter, ink, 2.5 + 2 * step, 4.5 + 2 * step, 7, 5);
    }
}

void DrawQuestionMark(QPainter& painter, const Ink& ink) {
    QFont font(QStringLiteral("Liberation Serif"));
    font.setBold(true);
    font.setPixelSize(16);
    QPainterPath glyph;
    glyph.addText(0, 0, font, QStringLiteral("?"));
    const QRectF bounds = glyph.boundingRect();
    glyph.translate(8 - bounds.center().x(), 8 - bounds.center().y());
    ink.Shape(painter, glyph, QColor(0x00, 0x00, 0xA0));
}

using PictureDrawing = std::function<void(QPainter&, const Ink&)>;

PictureDrawing DrawingOf(ToolPicture picture) {
    switch (picture) {
    case ToolPicture::NewSheet:
        return DrawNewSheet;
    case ToolPicture::OpenFolder:
        return DrawOpenFolder;
    case ToolPicture::Diskette:
        return DrawDiskette;
    case ToolPicture::Printer:
        return DrawPrinter;
    case ToolPicture::ClosingSheet:
        return DrawClosingSheet;
    case ToolPicture::Door:
        return DrawDoor;
    case ToolPicture::TiledWindow:
        return DrawTiledWindow;
    case ToolPicture::CascadedWindows:
        return DrawCascadedWindows;
    case ToolPicture::QuestionMark:
        break;
    }
    return DrawQuestionMark;
}

QPixmap Render(int size, const std::function<void(QPainter&)>& paint) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kGridUnits, size / kGridUnits);
    paint(painter);
    return pixmap;
}

// The analyst picture is drawn on a canvas of 373 by 285 units, the splash's size for it.
constexpr QSizeF kAnalystCanvas(373, 285);

QPainterPath AnalystHead() {
    QPainterPath head;
    head.moveTo(85, 45);
    head.cubicTo(110, 25, 150, 35, 156, 70);
    head.cubicTo(158, 80, 160, 86, 163, 92);
    head.lineTo(178, 113);
    head.lineTo(164, 118);
    head.cubicTo(167, 124, 168, 127, 163, 129);
    head.cubicTo(167, 133, 167, 137, 162, 140);
    head.cubicTo(163, 150, 160, 156, 150, 158);
    head.cubicTo(140, 160, 132, 162, 130, 166);
    head.lineTo(132, 205);
    head.lineTo(92, 205);
    head.lineTo(95, 175);
    head.cubicTo(92, 160, 85, 150, 75, 135);
    head.cubicTo(58, 110, 60, 60, 85, 45);
    head.closeSubpath();
    return head;
}

QPainterPath AnalystHair() {
    QPainterPath hair;
    hair.moveTo(85, 45);
    hair.cubicTo(110, 25, 150, 35, 156, 70);
    hair.cubicTo(135, 60, 112, 62, 104, 76);
    hair.cubicTo(96, 92, 88, 112, 78, 138);
    hair.cubicTo(58, 110, 60, 60, 85, 45);
    hair.closeSubpath();
    return hair;
}

QPainterPath LabCoat() {
    QPainterPath coat;
    coat.moveTo(92, 200);
    coat.cubicTo(60, 205, 30, 225, 18, 285);
    coat.lineTo(205, 285);
    coat.cubicTo(200, 250, 185, 215, 132, 200);
    coat.cubicTo(122, 214, 102, 214, 92, 200);
    coat.closeSubpath();
    return coat;
}

QPainterPath RaisedArm() {
    QPainterPath arm;
    arm.moveTo(168, 236);
    arm.lineTo(240, 122);
    arm.lineTo(266, 128);
    arm.lineTo(204, 268);
    arm.closeSubpath();
    return arm;
}

QPainterPath Flask() {
    QPainterPath flask;
    flask.moveTo(247, 58);
    flask.lineTo(265, 58);
    flask.lineTo(263, 64);
    flask.lineTo(263, 100);
    flask.lineTo(296, 168);
    flask.quadTo(298, 174, 291, 174);
    flask.lineTo(221, 174);
    flask.quadTo(214, 174, 216, 168);
    flask.lineTo(249, 100);
    flask.lineTo(249, 64);
    flask.closeSubpath();
    return flask;
}

// The liquid fills the flask's body from a third of its height down.
QPainterPath FlaskLiquid() {
    QPainterPath below;
    below.addRect(0, 138, kAnalystCanvas.width(), kAnalystCanvas.height() - 138);
    return Flask().intersected(below);
}

QPainterPath Hand() {
    QPainterPath hand;
    hand.addRoundedRect(QRectF(238, 104, 34, 30), 12, 12);
    return hand;
}

void DrawSymbol(QPainter& painter, QPointF at, int pixelSize, const QString& symbol) {
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(at, symbol);
}

} // namespace

void PaintAnalystPicture(QPainter& painter, const QRectF& area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(area.topLeft());
    painter.scale(area.width() / kAnalystCanvas.width(), area.height() / kAnalystCanvas.height());
    painter.fillRect(QRectF(QPointF(0, 0), kAnalystCanvas), QColor(0xF4, 0xF8, 0xFF));

    const QColor ink(0x10, 0x10, 0x40);
    const QColor skin(0xF2, 0xC8, 0xA0);
    painter.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawPath(LabCoat());
    painter.drawPath(RaisedArm());
    painter.setBrush(skin);
    painter.drawPath(AnalystHead());
    painter.setBrush(QColor(0x4A, 0x36, 0x22));
    painter.drawPath(AnalystHair());
    painter.drawEllipse(QPointF(147, 91), 3, 2.5);
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(98, 96, 16, 24), 90 * 16, 180 * 16);
    painter.drawLine(QPointF(140, 83), QPointF(154, 81));
    painter.drawLine(QPointF(112, 205), QPointF(112, 285));

    painter.setBrush(QColor(0xE4, 0xF2, 0xFF, 0xD0));
    painter.drawPath(Flask());
    painter.setBrush(QColor(0x3A, 0xA0, 0xE0));
    painter.drawPath(FlaskLiquid());
    painter.setBrush(skin);
    painter.drawPath(Hand());
    painter.drawLine(QPointF(242, 116), QPointF(268, 116));
    painter.drawLine(QPointF(242, 125), QPointF(268, 125));

    // The analyst's gaze, up to the flask.
    painter.setPen(QPen(QColor(0x80, 0x80, 0xA0), 1.5, Qt::DashLine));
    painter.drawLine(QPointF(152, 92), QPointF(236, 150));

    painter.setPen(QColor(0x00, 0x00, 0x80));
    DrawSymbol(painter, {300, 78}, 64, QStringLiteral("\u03A3"));
    DrawSymbol(painter, {190, 40}, 30, QStringLiteral("x\u0304"));
    DrawSymbol(painter, {315, 150}, 30, QStringLiteral("\u03C3\u00B2"));
    DrawSymbol(painter, {300, 230}, 30, QStringLiteral("\u00B1"));
    DrawSymbol(painter, {228, 250}, 30, QStringLiteral("F"));
    painter.restore();
}

namespace {

// A button's picture, drawn the first time it is shown in a mode and size, and kept: the
// pictures of a button that starts unavailable are not drawn until it becomes available, and
// none is drawn before the main window is on the screen.
class ToolIconEngine final : public QIconEngine {
public:
    ToolIconEngine(PictureDrawing drawing, int size, bool withGreyOutline)
        : m_drawing(std::move(drawing)), m_size(size), m_withGreyOutline(withGreyOutline) {}

    QIconEngine* clone() const override { return new ToolIconEngine(*this); }

    // Drawn at its own size, or smaller where less room is given.
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min({m_size, size.width(), size.height()});
        return {side, side};
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {QSize(m_size, m_size)};
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const int side = actualSize(size, mode, QIcon::Off).width();
        const bool disabled = mode == QIcon::Disabled;
        QPixmap& kept = m_drawn[{side, disabled}];
        if (kept.isNull()) {
            kept = disabled ? Unavailable(side) : Available(side);
        }
        return kept;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

private:
    QPixmap Available(int side) const {
        return Render(side, [&](QPainter& painter) { m_drawing(painter, Ink{}); });
    }

    QPixmap Unavailable(int side) {
        if (!m_withGreyOutline) {
            // Greyed as Qt greys any picture.
            return QIcon(pixmap({side, side}, QIcon::Normal, QIcon::Off))
                .pixmap(side, QIcon::Disabled);
        }
        // The grey outline, embossed as on a classic button: white shadow first.
        return Render(side, [&](QPainter& painter) {
            painter.save();
            painter.translate(1.0 * kGridUnits / side, 1.0 * kGridUnits / side);
            m_drawing(painter, Ink{true, Qt::white});
            painter.restore();
            m_drawing(painter, Ink{true, QColor(0x80, 0x80, 0x80)});
        });
    }

    PictureDrawing m_drawing;
    int m_size;
    bool m_withGreyOutline;
    std::map<std::pair<int, bool>, QPixmap> m_drawn;
};

} // namespace

QIcon ToolIcon(ToolPicture picture, int size, bool withGreyOutline) {
    return QIcon(new ToolIconEngine(DrawingOf(picture), size, withGreyOutline));
}

} // namespace orbeta
