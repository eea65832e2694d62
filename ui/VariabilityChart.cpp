#include "ui/VariabilityChart.h"

#include "study/Numbers.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

namespace orbeta {

namespace {

// On screen the font is about 15 pixels high; the marks keep that proportion on every device.
constexpr double kPixelsPerLine = 15.0;
constexpr int kTargetTickCount = 5;
// Beyond this many steps from zero a tick's index no longer counts whole steps exactly.
constexpr double kMaxTickIndex = 1e12;

const QColor kBandColour{242, 242, 242};
const QColor kGridColour{222, 222, 222};
const QColor kFrameColour{120, 120, 120};
const QColor kGrandMeanColour{90, 90, 90};
const QColor kJoinColour{110, 110, 110};

enum class Swatch { Point, Square, Line, Dashes };

struct LegendEntry {
    Swatch swatch;
    QColor colour;
    QString text;
};

// The step of round tick values, 1, 2 or 5 times a power of ten, that divides `span` into
// about kTargetTickCount parts.
double RoundStep(double span) {
    const double raw = span / kTargetTickCount;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double normalized = raw / magnitude;
    const double factor = normalized <= 1 ? 1 : normalized <= 2 ? 2 : normalized <= 5 ? 5 : 10;
    return factor * magnitude;
}

std::vector<LegendEntry> LegendOf(const std::vector<FlaggedDay>& flagged) {
    std::vector<LegendEntry> entries{
        {Swatch::Point, kChartPointColour, QStringLiteral("Resultado")},
        {Swatch::Square, kChartDayMeanColour, QStringLiteral("Media del día")},
        {Swatch::Line, kChartAnalystMeanColour, QStringLiteral("Media del analista")},
        {Swatch::Dashes, kGrandMeanColour, QStringLiteral("Media general")},
    };
    for (const FlaggedDay& day : flagged) {
        entries.push_back({Swatch::Square, kChartFlagColour,
                           QStringLiteral("Analista %1, día %2 (%3)")
                               .arg(day.analyst)
                               .arg(day.day)
                               .arg(day.reason)});
    }
    return entries;
}

// The legend's entries flowed into lines of `width`: the index of each line's first entry.
std::vector<std::size_t> LegendLines(const std::vector<LegendEntry>& entries,
                                     const QFontMetricsF& metrics, double unit, double width) {
    std::vector<std::size_t> starts{0};
    double x = 0;
    for (std::size_t index = 0; index < entries.size(); ++index) {
        const double entryWidth = 18 * unit + metrics.horizontalAdvance(entries[index].text);
        if (x > 0 && x + entryWidth > width) {
            starts.push_back(index);
            x = 0;
        }
        x += entryWidth + 12 * unit;
    }
    return starts;
}

// Text centred in a tall, narrow rectangle, read from the bottom up.
void DrawUpright(QPainter& painter, const QRectF& area, const QString& text) {
    painter.save();
    painter.translate(area.center());
    painter.rotate(-90);
    painter.drawText(QRectF(-area.height() / 2, -area.width() / 2, area.height(), area.width()),
                     Qt::AlignCenter, text);
    painter.restore();
}

} // namespace

VariabilityChart::VariabilityChart(const StudyValues& values, std::vector<FlaggedDay> flagged,
                                   char decimalSeparator, const QRectF& area,
                                   const QFontMetricsF& metrics, QString unit)
    : m_values(values), m_flagged(std::move(flagged)), m_separator(decimalSeparator),
      m_unitTitle(std::move(unit)), m_area(area), m_unit(metrics.height() / kPixelsPerLine),
      m_lineHeight(metrics.height()) {
    // The results held; a missing one (NaN) has no place on the axis.
    std::vector<double> held;
    std::copy_if(values.results.begin(), values.results.end(), std::back_inserter(held),
                 [](double result) { return !std::isnan(result); });
    const auto [lowest, highest] = std::minmax_element(held.begin(), held.end());
    double low = lowest == held.end() ? 0 : *lowest;
    double high = highest == held.end() ? 1 : *highest;
    double span = high - low;
    if (!(span > 0)) {
        span = low != 0 ? std::fabs(low) / 100 : 1;
    }
    // A margin so that no point sits on the frame.
    low -= span * 0.04;
    high += span * 0.04;
    const double step = RoundStep(high - low);
    const double lowIndex = std::floor(low / step);
    const double highIndex = std::ceil(high / step);
    if (std::fabs(lowIndex) > kMaxTickIndex || std::fabs(highIndex) > kMaxTickIndex) {
        // Results that differ only far behind their leading digits: no round step can be
        // counted from zero, so the axis is marked at its ends.
        m_ticks = {low, high};
    } else {
        for (double index = lowIndex; index <= highIndex; ++index) {
            // A tick at zero stays zero rather than a rounding residue of index * step.
            m_ticks.push_back(index == 0 ? 0.0 : index * step);
        }
    }
    m_low = m_ticks.front();
    m_high = m_ticks.back();

    double labelWidth = 0;
    for (const double tick : m_ticks) {
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(Number(tick)));
    }
    const double titleWidth = m_unitTitle.isEmpty() ? 0 : 1.4 * m_lineHeight;
    const double left = area.left() + titleWidth + labelWidth + 10 * m_unit;
    const double right = area.right() - 10 * m_unit;
    const std::size_t legendLines =
        LegendLines(LegendOf(m_flagged), metrics, m_unit, area.width() - 20 * m_unit).size();
    const double top = area.top() + (static_cast<double>(legendLines) + 0.8) * m_lineHeight;
    const double bottom = area.bottom() - 2.6 * m_lineHeight;
    m_plot =
        QRectF(QPointF(left, top), QPointF(std::max(left + 1, right), std::max(top + 1, bottom)));
}

QRectF VariabilityChart::UnitTitleArea() const {
    if (m_unitTitle.isEmpty()) {
        return {};
    }
    return {m_area.left() + 0.2 * m_lineHeight, m_plot.top(), m_lineHeight, m_plot.height()};
}

QString VariabilityChart::Number(double value) const {
    return QString::fromStdString(FormatResult(value, m_separator));
}

double VariabilityChart::DayCentre(int analyst, int day) const {
    const double slotCount = static_cast<double>(m_values.analysts) * m_values.days;
    const double slot = m_plot.width() / slotCount;
    const double index = static_cast<double>(analyst - 1) * m_values.days + (day - 1);
    return m_plot.left() + (index + 0.5) * slot;
}

double VariabilityChart::Y(double value) const {
    return m_plot.bottom() - (value - m_low) / (m_high - m_low) * m_plot.height();
}

QPointF VariabilityChart::PointOf(int analyst, int day, int replicate) const {
    const double slot = m_plot.width() / (static_cast<double>(m_values.analysts) * m_values.days);
    const double spread = std::min(slot * 0.6 / m_values.replicates, 4 * m_unit);
    const double offset = (replicate - (m_values.replicates + 1) / 2.0) * spread;
    return {DayCentre(analyst, day) + offset, Y(m_values.Result(analyst, day, replicate))};
}

QPointF VariabilityChart::DayMeanOf(int analyst, int day) const {
    return {DayCentre(analyst, day), Y(m_values.DayMean(analyst, day))};
}

bool VariabilityChart::IsLostDay(int analyst, int day) const {
    return std::isnan(m_values.DayMean(analyst, day));
}

QRectF VariabilityChart::LostDayLabel(int analyst, int day) const {
    const double slot = m_plot.width() / (static_cast<double>(m_values.analysts) * m_values.days);
    // Upright in the day's slot, read from the bottom up, as narrow as the slot allows.
    const double side = std::min(m_plot.height() * 0.9, 8 * m_lineHeight);
    return {DayCentre(analyst, day) - std::min(slot, m_lineHeight) / 2,
            m_plot.center().y() - side / 2, std::min(slot, m_lineHeight), side};
}

bool VariabilityChart::IsFlagged(int analyst, int day) const {
    return std::any_of(m_flagged.begin(), m_flagged.end(), [&](const FlaggedDay& flagged) {
        return flagged.analyst == analyst && flagged.day == day;
    });
}

std::optional<ChartPoint> VariabilityChart::PointNear(const QPointF& at, double reach) const {
    std::optional<ChartPoint> nearest;
    double nearestDistance = reach * reach;
    for (int analyst = 1; analyst <= m_values.analysts; ++analyst) {
        for (int day = 1; day <= m_values.days; ++day) {
            for (int replicate = 1; replicate <= m_values.replicates; ++replicate) {
                if (std::isnan(m_values.Result(analyst, day, replicate))) {
                    continue;
                }
                const QPointF point = PointOf(analyst, day, replicate);
                const QPointF apart = point - at;
                const double distance = QPointF::dotProduct(apart, apart);
                if (distance <= nearestDistance) {
                    nearestDistance = distance;
                    nearest = ChartPoint{analyst, day, replicate, point};
                }
            }
        }
    }
    return nearest;
}

QString VariabilityChart::Describe(const ChartPoint& point) const {
    return QStringLiteral("Analista %1, día %2, réplica %3: %4")
        .arg(point.analyst)
        .arg(point.day)
        .arg(point.replicate)
        .arg(Number(m_values.Result(point.analyst, point.day, point.replicate)));
}

void VariabilityChart::Draw(QPainter& painter) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(m_area, Qt::white);
    const double slot = m_plot.width() / (static_cast<double>(m_values.analysts) * m_values.days);
    const double groupWidth = slot * m_values.days;

    // Every other analyst on a shaded band, so that the groups read apart at a glance.
    for (int analyst = 2; analyst <= m_values.analysts; analyst += 2) {
        painter.fillRect(QRectF(m_plot.left() + (analyst - 1) * groupWidth, m_plot.top(),
                                groupWidth, m_plot.height()),
                         kBandColour);
    }
    DrawAxes(painter);

    painter.setPen(QPen(kGrandMeanColour, 1.2 * m_unit, Qt::DashLine));
    const double grandMean = Y(m_values.grandMean);
    painter.drawLine(QPointF(m_plot.left(), grandMean), QPointF(m_plot.right(), grandMean));

    painter.setPen(QPen(kChartAnalystMeanColour, 2 * m_unit));
    for (int analyst = 1; analyst <= m_values.analysts; ++analyst) {
        const double y = Y(m_values.analystMeans[static_cast<std::size_t>(analyst - 1)]);
        const double start = m_plot.left() + (analyst - 1) * groupWidth;
        painter.drawLine(QPointF(start + slot * 0.15, y),
                         QPointF(start + groupWidth - slot * 0.15, y));
    }

    // The lines under the marks, so that no result is hidden by one; a lost day breaks them.
    painter.setPen(QPen(kJoinColour, m_unit));
    for (int analyst = 1; analyst <= m_values.analysts; ++analyst) {
        QPolygonF joined;
        for (int day = 1; day <= m_values.days + 1; ++day) {
            if (day <= m_values.days && !IsLostDay(analyst, day)) {
                joined << DayMeanOf(analyst, day);
                continue;
            }
            painter.drawPolyline(joined);
            joined.clear();
        }
    }

    painter.setPen(kChartLostDayColour);
    for (int analyst = 1; analyst <= m_values.analysts; ++analyst) {
        for (int day = 1; day <= m_values.days; ++day) {
            if (!IsLostDay(analyst, day)) {
                continue;
            }
            DrawUpright(painter, LostDayLabel(analyst, day), QStringLiteral("sin resultados"));
        }
    }

    // Larger where the days leave room, so that a small study's few points catch the eye.
    const double radius = std::clamp(slot * 0.05, 2.2 * m_unit, 3.2 * m_unit);
    painter.setPen(Qt::NoPen);
    for (int analyst = 1; analyst <= m_values.analysts; ++analyst) {
        for (int day = 1; day <= m_values.days; ++day) {
            painter.setBrush(IsFlagged(analyst, day) ? kChartFlagColour : kChartPointColour);
            for (int replicate = 1; replicate <= m_values.replicates; ++replicate) {
                if (!std::isnan(m_values.Result(analyst, day, replicate))) {
                    painter.drawEllipse(PointOf(analyst, day, replicate), radius, radius);
                }
            }
        }
    }

    const double side = 5 * m_unit;
    for (int analyst = 1; analyst <= m_values.analysts; ++analyst) {
        for (int day = 1; day <= m_values.days; ++day) {
            if (IsLostDay(analyst, day)) {
                continue;
            }
            painter.setBrush(IsFlagged(analyst, day) ? kChartFlagColour : kChartDayMeanColour);
            const QPointF mean = DayMeanOf(analyst, day);
            painter.drawRect(QRectF(mean.x() - side / 2, mean.y() - side / 2, side, side));
        }
    }
    DrawLegend(painter);
    painter.restore();
}

void VariabilityChart::DrawAxes(QPainter& painter) const {
    const QFontMetricsF metrics(painter.font(), painter.device());
    for (const double tick : m_ticks) {
        const double y = Y(tick);
        painter.setPen(QPen(kGridColour, 0.8 * m_unit));
        painter.drawLine(QPointF(m_plot.left(), y), QPointF(m_plot.right(), y));
        painter.setPen(Qt::black);
        const QString label = Number(tick);
        painter.drawText(QRectF(m_area.left(), y - m_lineHeight / 2,
                                m_plot.left() - m_area.left() - 6 * m_unit, m_lineHeight),
                         Qt::AlignRight | Qt::AlignVCenter, label);
    }
    painter.setPen(QPen(kFrameColour, m_unit));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(m_plot);
    if (!m_unitTitle.isEmpty()) {
        painter.setPen(Qt::black);
        DrawUpright(painter, UnitTitleArea(), m_unitTitle);
    }

    const double slot = m_plot.width() / (static_cast<double>(m_values.analysts) * m_values.days);
    const double groupWidth = slot * m_values.days;
    // Day numbers where each fits its slot, else every other one.
    const bool dayLabelsFit = metrics.horizontalAdvance(QStringLiteral("10")) + 2 * m_unit <= slot;
    painter.setPen(Qt::black);
    for (int analyst = 1; analyst <= m_values.analysts; ++analyst) {
        for (int day = 1; day <= m_values.days; ++day) {
            if (!dayLabelsFit && day % 2 == 0) {
                continue;
            }
            const double centre = DayCentre(analyst, day);
            painter.drawText(
                QRectF(centre - slot, m_plot.bottom() + 2 * m_unit, 2 * slot, m_lineHeight),
                Qt::AlignHCenter | Qt::AlignTop, QString::number(day));
        }
        const double start = m_plot.left() + (analyst - 1) * groupWidth;
        const QString name = QStringLiteral("Analista %1").arg(analyst);
        const QString label = metrics.horizontalAdvance(name) + 4 * m_unit <= groupWidth
                                  ? name
                                  : QStringLiteral("A%1").arg(analyst);
        painter.drawText(QRectF(start, m_plot.bottom() + 2 * m_unit + 1.2 * m_lineHeight,
                                groupWidth, m_lineHeight),
                         Qt::AlignHCenter | Qt::AlignTop, label);
        if (analyst > 1) {
            painter.setPen(QPen(kFrameColour, 0.8 * m_unit));
            painter.drawLine(QPointF(start, m_plot.bottom()),
                             QPointF(start, m_plot.bottom() + 2.4 * m_lineHeight));
            painter.setPen(Qt::black);
        }
    }
}

void VariabilityChart::DrawLegend(QPainter& painter) const {
    const QFontMetricsF metrics(painter.font(), painter.device());
    const std::vector<LegendEntry> entries = LegendOf(m_flagged);
    const std::vector<std::size_t> starts =
        LegendLines(entries, metrics, m_unit, m_area.width() - 20 * m_unit);
    double x = m_area.left() + 10 * m_unit;
    double y = m_area.top() + 0.2 * m_lineHeight;
    for (std::size_t index = 0; index < entries.size(); ++index) {
        if (index > 0 && std::find(starts.begin(), starts.end(), index) != starts.end()) {
            x = m_area.left() + 10 * m_unit;
            y += m_lineHeight;
        }
        const LegendEntry& entry = entries[index];
        const QPointF middle(x + 7 * m_unit, y + m_lineHeight / 2);
        switch (entry.swatch) {
        case Swatch::Point:
            painter.setPen(Qt::NoPen);
            painter.setBrush(entry.colour);
            painter.drawEllipse(middle, 2.2 * m_unit, 2.2 * m_unit);
            break;
        case Swatch::Square:
            painter.setPen(Qt::NoPen);
            painter.setBrush(entry.colour);
            painter.drawRect(QRectF(middle.x() - 2.5 * m_unit, middle.y() - 2.5 * m_unit,
                                    5 * m_unit, 5 * m_unit));
            break;
        case Swatch::Line:
        case Swatch::Dashes:
            painter.setPen(QPen(entry.colour, (entry.swatch == Swatch::Line ? 2 : 1.2) * m_unit,
                                entry.swatch == Swatch::Line ? Qt::SolidLine : Qt::DashLine));
            painter.drawLine(QPointF(x, middle.y()), QPointF(x + 14 * m_unit, middle.y()));
            break;
        }
        painter.setPen(entry.colour == kChartFlagColour ? kChartFlagColour : QColor(Qt::black));
        const double textWidth = metrics.horizontalAdvance(entry.text);
        painter.drawText(QRectF(x + 18 * m_unit, y, textWidth + 2 * m_unit, m_lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, entry.text);
        x += 18 * m_unit + textWidth + 12 * m_unit;
    }
}

} // namespace orbeta
