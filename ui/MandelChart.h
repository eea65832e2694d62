#pragma once

#include "engine/Mandel.h"

#include <QColor>
#include <QRectF>
#include <QString>

class QFontMetricsF;
class QPainter;

namespace orbeta {

// The colours of a bar by its verdict, and of the indicator lines at 5 % and 1 %.
inline const QColor kMandelBarColour{31, 78, 140};
inline const QColor kMandelStragglerColour{191, 128, 0};
inline const QColor kMandelOutlierColour{200, 0, 0};

// Which of Mandel's statistics a chart shows.
enum class MandelStatistic { H, K };

// A bar chart of Mandel's h or k laid out in a rectangle of a paint device: a bar per analyst
// from zero, coloured by its verdict; the indicator values as lines across, dashed at 5 % and
// solid at 1 % (h on both sides of zero); its title above, the analysts below. Text is measured
// with the font the painter will draw in.
class MandelChart {
public:
    MandelChart(const MandelStatistics& mandel, MandelStatistic statistic, char decimalSeparator,
                const QRectF& area, const QFontMetricsF& metrics);

    void Draw(QPainter& painter) const;

    QRectF PlotArea() const { return m_plot; }
    // The bar of an analyst, counted from 1, and where a value falls on the axis.
    QRectF BarOf(int analyst) const;
    double Y(double value) const;

private:
    double Value(const MandelAnalyst& analyst) const;
    Verdict VerdictOf(const MandelAnalyst& analyst) const;

    const MandelStatistics& m_mandel;
    MandelStatistic m_statistic;
    char m_separator;
    QRectF m_area;
    QRectF m_plot;
    double m_lineHeight = 0;
    double m_low = 0;
    double m_high = 1;
};

} // namespace orbeta
