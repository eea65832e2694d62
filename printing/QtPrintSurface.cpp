#include "printing/QtPrintSurface.h"

#include "study/Error.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPdfWriter>
#include <QPrinter>
#include <QtMath>

namespace orbeta {

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QtPrintSurface::QtPrintSurface(QPrinter& printer)
    : m_device(printer), m_atResolution([&printer] {
          printer.setDocName(QString());
          printer.setResolution(kPageResolution);
      }) {}

QtPrintSurface::QtPrintSurface(QPdfWriter& writer)
    : m_device(writer), m_atResolution([&writer] { writer.setResolution(kPageResolution); }) {}

void QtPrintSurface::BeginJob() {
    m_atResolution();
    if (!m_painter.begin(&m_device)) {
        throw Error("La impresora no pudo iniciar el trabajo de impresión");
    }
    m_painter.setBackgroundMode(Qt::OpaqueMode);
    m_painter.setBackground(Qt::white);
    m_painter.setPen(QPen(Qt::black, 1));
}

void QtPrintSurface::EndJob() {
    m_painter.end();
}

void QtPrintSurface::NewPage() {
    m_device.newPage();
}

void QtPrintSurface::SelectFont(const std::string& typeface, int pointSize) {
    QFont font(FromUtf8(typeface));
    font.setPointSize(pointSize);
    m_painter.setFont(font);
}

int QtPrintSurface::FontHeight() const {
    return qRound(m_painter.font().pointSizeF() * m_device.logicalDpiY() / 72.0);
}

int QtPrintSurface::FontPointSize() const {
    return m_painter.fontInfo().pointSize();
}

int QtPrintSurface::TextWidth(const std::string& text) const {
    return m_painter.fontMetrics().horizontalAdvance(FromUtf8(text));
}

void QtPrintSurface::DrawText(int x, int y, const std::string& text) {
    m_painter.drawText(x, y + m_painter.fontMetrics().ascent(), FromUtf8(text));
}

void QtPrintSurface::DrawLine(int x1, int y1, int x2, int y2) {
    m_painter.drawLine(x1, y1, x2, y2);
}

int QtPrintSurface::PrintableWidth() const {
    return m_device.width();
}

int QtPrintSurface::PrintableHeight() const {
    return m_device.height();
}

int QtPrintSurface::VerticalResolution() const {
    return m_device.logicalDpiY();
}

} // namespace orbeta
