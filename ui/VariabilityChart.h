#pragma once

#include "engine/StudyValues.h"

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

class QFontMetricsF;
class QPainter;

namespace orbeta {

// A day a consistency test singled out, with the tests that did, e.g. "Cochran: aberrante".
struct FlaggedDay {
    int analyst = 0;
    int day = 0;
    QString reason;
};

// The colours a reader tells the chart's marks apart by.
inline const QColor kChartPointColour{31, 78, 140};
inline const QColor kChartDayMeanColour{0, 0, 0};
inline const QColor kChartAnalystMeanColour{0, 128, 64};
inline const QColor kChartFlagColour{214, 40, 40};
inline const QColor kChartLostDayColour{100, 100, 150};

// One result of the study, where the chart draws it.
struct ChartPoint {
    int analyst = 0;
    int day = 0;
    int replicate = 0;
    QPointF at;
};

// The variability chart of a study laid out in a rectangle of a paint device: the x axis
// nested, analysts and within each its days; each result a point; each day's mean a square,
// the days of an analyst joined; a missing result left out and a day that lost all its results
// a gap labelled «sin resultados», which breaks the join; each analyst's mean a segment across its
// days; the grand mean a dashed line; round tick values (1-2-5 steps) on the y axis; flagged days
// in the flag colour and named in the legend; the unit of the results, when given, as the y
// axis's title. Text is measured with the font the painter will draw in.
class VariabilityChart {
public:
    VariabilityChart(const StudyValues& values, std::vector<FlaggedDay> flagged,
                     char decimalSeparator, const QRectF& area, const QFontMetricsF& metrics,
                     QString unit = {});

    void Draw(QPainter& painter) const;

    // Where the results and the means fall, and the rectangle they fall in.
    QRectF PlotArea() const { return m_plot; }
    // Where the unit stands beside the y axis, upright; empty without a unit.
    QRectF UnitTitleArea() const;
    QPointF PointOf(int analyst, int day, int replicate) const;
    QPointF DayMeanOf(int analyst, int day) const;
    bool IsFlagged(int analyst, int day) const;
    // Whether the day lost all its results, and where its gap's label stands.
    bool IsLostDay(int analyst, int day) const;
    QRectF LostDayLabel(int analyst, int day) const;

    // The result drawn nearest to `at`, when one lies within `reach`; a missing one is not drawn.
    std::optional<ChartPoint> PointNear(const QPointF& at, double reach) const;
    // The tooltip of a result: "Analista 1, día 2, réplica 3: 99.8".
    QString Describe(const ChartPoint& point) const;

    // The tick values of the y axis, from the bottom.
    const std::vector<double>& Ticks() const { return m_ticks; }

private:
    double DayCentre(int analyst, int day) const;
    double Y(double value) const;
    QString Number(double value) const;
    void DrawAxes(QPainter& painter) const;
    void DrawLegend(QPainter& painter) const;

    const StudyValues& m_values;
    std::vector<FlaggedDay> m_flagged;
    char m_separator;
    QString m_unitTitle;
    QRectF m_area;
    QRectF m_plot;
    double m_unit = 1;       // a screen pixel in the device's units
    double m_lineHeight = 0; // of the font
    double m_low = 0;
    double m_high = 1;
    std::vector<double> m_ticks;
};

} // namespace orbeta
