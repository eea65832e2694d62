#include "ui/MandelChart.h"

#include "study/Numbers.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace orbeta {

namespace {

const QColor kFrameColour{120, 120, 120};

} // namespace

MandelChart::MandelChart(const MandelStatistics& mandel, MandelStatistic statistic,
                         char decimalSeparator, const QRectF& area, const QFontMetricsF& metrics)
    : m_mandel(mandel), m_statistic(statistic), m_separator(decimalSeparator), m_area(area),
      m_lineHeight(metrics.height()) {
    const bool h = statistic == MandelStatistic::H;
    // The axis holds every bar and the 1 % line with room to spare; h on both sides of zero.
    double reach = h ? mandel.h1 : mandel.k1;
    for (const MandelAnalyst& analyst : mandel.analysts) {
        reach = std::max(reach, std::fabs(Value(analyst)));
    }
    reach *= 1.1;
    m_low = h ? -reach : 0;
    m_high = reach;
    const double labelWidth =
        metrics.horizontalAdvance(QString::fromStdString(FormatResult(-reach, decimalSeparator)));
    m_plot = QRectF(
        QPointF(area.left() + labelWidth + 0.8 * m_lineHeight, area.top() + 1.6 * m_lineHeight),
        QPointF(area.right() - 0.5 * m_lineHeight, area.bottom() - 1.6 * m_lineHeight));
}

double MandelChart::Value(const MandelAnalyst& analyst) const {
    return m_statistic == MandelStatistic::H ? analyst.h : analyst.k;
}

Verdict MandelChart::VerdictOf(const MandelAnalyst& analyst) const {
    return m_statistic == MandelStatistic::H ? analyst.hVerdict : analyst.kVerdict;
}

double MandelChart::Y(double value) const {
    return m_plot.bottom() - (value - m_low) / (m_high - m_low) * m_plot.height();
}

QRectF MandelChart::BarOf(int analyst) const {
    const double slot = m_plot.width() / static_cast<double>(m_mandel.analysts.size());
    const double value = Value(m_mandel.analysts[static_cast<std::size_t>(analyst - 1)]);
    const double left = m_plot.left() + (analyst - 1 + 0.25) * slot;
    return QRectF(QPointF(left, std::min(Y(0), Y(value))),
                  QPointF(left + 0.5 * slot, std::max(Y(0), Y(value))));
}

void MandelChart::Draw(QPainter& painter) const {
    painter.save();
    painter.fillRect(m_area, Qt::white);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const bool h = m_statistic == MandelStatistic::H;
    painter.setPen(Qt::black);
    painter.drawText(QRectF(m_area.left(), m_area.top(), m_area.width(), 1.4 * m_lineHeight),
                     Qt::AlignHCenter | Qt::AlignVCenter,
                     h ? QStringLiteral("h de Mandel (entre analistas)")
                       : QStringLiteral("k de Mandel (dentro de cada analista)"));

    for (const MandelAnalyst& analyst : m_mandel.analysts) {
        const Verdict verdict = VerdictOf(analyst);
        painter.fillRect(BarOf(analyst.analyst), verdict == Verdict::Outlier ? kMandelOutlierColour
                                                 : verdict == Verdict::Straggler
                                                     ? kMandelStragglerColour
                                                     : kMandelBarColour);
        const double slot = m_plot.width() / static_cast<double>(m_mandel.analysts.size());
        const QString name = QStringLiteral("Analista %1").arg(analyst.analyst);
        const QString label = metrics.horizontalAdvance(name) + 0.4 * m_lineHeight <= slot
                                  ? name
                                  : QStringLiteral("A%1").arg(analyst.analyst);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(BarOf(analyst.analyst).center().x() - slot / 2,
                                m_plot.bottom() + 0.3 * m_lineHeight, slot, m_lineHeight),
                         Qt::AlignHCenter | Qt::AlignTop, label);
    }

    // The indicator lines over the bars, each labelled on the axis with its value: the 1 % one
    // beyond its line and the 5 % one short of it, so that two close values never overlap.
    const double five = h ? m_mandel.h5 : m_mandel.k5;
    const double one = h ? m_mandel.h1 : m_mandel.k1;
    for (const double sign : {1.0, -1.0}) {
        if (!h && sign < 0) {
            continue; // k is never below zero
        }
        for (const auto& [value, colour, style, beyond] :
             {std::tuple{five, kMandelStragglerColour, Qt::DashLine, false},
              std::tuple{one, kMandelOutlierColour, Qt::SolidLine, true}}) {
            const double y = Y(sign * value);
            painter.setPen(QPen(colour, 1.5, style));
            painter.drawLine(QPointF(m_plot.left(), y), QPointF(m_plot.right(), y));
            painter.setPen(colour);
            const bool above = beyond == (sign > 0);
            painter.drawText(QRectF(m_area.left(), above ? y - m_lineHeight : y,
                                    m_plot.left() - m_area.left() - 0.3 * m_lineHeight,
                                    m_lineHeight),
                             Qt::AlignRight | (above ? Qt::AlignBottom : Qt::AlignTop),
                             QString::fromStdString(FormatResult(sign * value, m_separator)));
        }
    }
    painter.setPen(QPen(kFrameColour, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(m_plot);
    painter.drawLine(QPointF(m_plot.left(), Y(0)), QPointF(m_plot.right(), Y(0)));
    painter.restore();
}

} // namespace orbeta
