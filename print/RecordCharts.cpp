#include "print/RecordCharts.h"

#include "print/PagedDocument.h"
#include "study/Numbers.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

namespace orbeta {

namespace {

constexpr int kChartSize = 7;

// A vertical scale from `low` to `high` onto the pixels from `bottom` up to `top`.
struct Scale {
    double low = 0;
    double high = 1;
    int bottom = 0;
    int top = 0;

    int Y(double value) const {
        return bottom -
               static_cast<int>(std::lround((value - low) / (high - low) * (bottom - top)));
    }
};

// Round tick values (steps of 1, 2 or 5 times a power of ten) covering the range, about five.
std::vector<double> Ticks(double low, double high) {
    const double raw = (high - low) / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power;
    for (const double factor : {2.0, 5.0, 10.0}) {
        if (step < raw) {
            step = factor * power;
        }
    }
    std::vector<double> ticks;
    for (double tick = std::ceil(low / step) * step; tick <= high + step * 1e-9; tick += step) {
        ticks.push_back(std::fabs(tick) < step * 1e-9 ? 0.0 : tick);
    }
    return ticks;
}

void DashedLine(PrintSurface& surface, int x1, int x2, int y, int dash) {
    for (int x = x1; x < x2; x += 2 * dash) {
        surface.DrawLine(x, y, std::min(x + dash, x2), y);
    }
}

void Box(PrintSurface& surface, int x1, int y1, int x2, int y2) {
    surface.DrawLine(x1, y1, x2, y1);
    surface.DrawLine(x2, y1, x2, y2);
    surface.DrawLine(x2, y2, x1, y2);
    surface.DrawLine(x1, y2, x1, y1);
}

// The axes of a plot whose scale is given, its ticks labelled at the left; gives the plot's left.
int DrawYAxis(PrintSurface& surface, const Scale& scale, const std::vector<double>& ticks,
              char separator, int left, int right) {
    int labelWidth = 0;
    for (const double tick : ticks) {
        labelWidth = std::max(labelWidth, surface.TextWidth(FormatResult(tick, separator)));
    }
    const int tickLength = surface.FontHeight() / 3;
    const int axis = left + labelWidth + 2 * tickLength;
    const int half = surface.FontHeight() / 2;
    for (const double tick : ticks) {
        const std::string label = FormatResult(tick, separator);
        const int y = scale.Y(tick);
        surface.DrawText(axis - tickLength * 2 - surface.TextWidth(label), y - half, label);
        surface.DrawLine(axis - tickLength, y, axis, y);
    }
    surface.DrawLine(axis, scale.top, axis, scale.bottom);
    surface.DrawLine(axis, scale.bottom, right, scale.bottom);
    return axis;
}

// One bar chart of a Mandel statistic in the rectangle given.
void DrawMandelPanel(PrintSurface& surface, const std::string& title,
                     const std::vector<double>& bars, double indicator5, double indicator1,
                     bool bothSigns, char separator, int left, int top, int width, int height) {
    const int line = surface.FontHeight() * 6 / 5;
    surface.DrawText(left, top, title);
    double reach = indicator1;
    for (const double bar : bars) {
        reach = std::max(reach, std::fabs(bar));
    }
    reach *= 1.1;
    const Scale scale{bothSigns ? -reach : 0, reach, top + height - 2 * line, top + 2 * line};
    const int right = left + width - 4 * line;
    const int axis =
        DrawYAxis(surface, scale, Ticks(scale.low, scale.high), separator, left, right);
    const int zero = scale.Y(0);
    surface.DrawLine(axis, zero, right, zero);
    for (const double sign : bothSigns ? std::vector<double>{1, -1} : std::vector<double>{1}) {
        const int y5 = scale.Y(sign * indicator5);
        const int y1 = scale.Y(sign * indicator1);
        DashedLine(surface, axis, right, y5, line / 2);
        surface.DrawLine(axis, y1, right, y1);
        // The 1 % label outside its line and the 5 % one inside, so that close values never
        // hide one another.
        const int outward = sign > 0 ? -line : 0;
        surface.DrawText(right + line / 4, y1 + outward, "1 %");
        surface.DrawText(right + line / 4, y5 - line - outward, "5 %");
    }
    const int slot = (right - axis) / std::max<int>(1, static_cast<int>(bars.size()));
    for (std::size_t index = 0; index < bars.size(); ++index) {
        const int x = axis + static_cast<int>(index) * slot;
        Box(surface, x + slot / 4, std::min(zero, scale.Y(bars[index])), x + slot - slot / 4,
            std::max(zero, scale.Y(bars[index])));
        const std::string label = std::to_string(index + 1);
        surface.DrawText(x + (slot - surface.TextWidth(label)) / 2, scale.bottom + line / 4, label);
    }
    const std::string axisTitle = "Analista";
    surface.DrawText(axis + (right - axis - surface.TextWidth(axisTitle)) / 2,
                     scale.bottom + line + line / 4, axisTitle);
}

// The gap of a day without results, labelled «sin resultados» on two lines about `middle`, high
// in the plot, away from most means, or «NA» where the slot is too narrow for the words.
void LostDay(PrintSurface& surface, int centre, int slot, int middle, int line) {
    const bool words = surface.TextWidth("resultados") < slot;
    const std::vector<std::string> lines =
        words ? std::vector<std::string>{"sin", "resultados"} : std::vector<std::string>{"NA"};
    int y = middle - static_cast<int>(lines.size()) * line / 2;
    for (const std::string& text : lines) {
        surface.DrawText(centre - surface.TextWidth(text) / 2, y, text);
        y += line;
    }
}

} // namespace

void DrawVariabilityChart(PrintSurface& surface, const StudyValues& values, const std::string& unit,
                          char decimalSeparator, int left, int top, int width, int height) {
    surface.SelectFont(kDocumentTypeface, kChartSize);
    const int line = surface.FontHeight() * 6 / 5;
    surface.DrawText(left, top, unit.empty() ? "Resultado" : "Resultado (" + unit + ")");
    // The results held; a missing one (NaN) has no place on the axis.
    std::vector<double> held;
    std::copy_if(values.results.begin(), values.results.end(), std::back_inserter(held),
                 [](double result) { return !std::isnan(result); });
    const auto [lowest, highest] = std::minmax_element(held.begin(), held.end());
    double low = *lowest;
    double high = *highest;
    const double margin = high > low ? (high - low) * 0.08 : std::max(std::fabs(high) * 0.01, 1.0);
    low -= margin;
    high += margin;
    const Scale scale{low, high, top + height - 3 * line, top + 2 * line};
    const int right = left + width;
    const int axis = DrawYAxis(surface, scale, Ticks(low, high), decimalSeparator, left, right);

    const int slots = values.analysts * values.days;
    const double slot = static_cast<double>(right - axis) / slots;
    const int mark = line / 4;
    // Days are named under their place only where the names do not run into one another.
    const bool nameDays = slot > 1.5 * surface.TextWidth("D" + std::to_string(values.days));
    const auto centre = [&](int analyst, int day) {
        return axis +
               static_cast<int>(std::lround(((analyst - 1) * values.days + day - 0.5) * slot));
    };
    for (int analyst = 1; analyst <= values.analysts; ++analyst) {
        const int groupLeft =
            axis + static_cast<int>(std::lround((analyst - 1) * values.days * slot));
        const int groupRight = axis + static_cast<int>(std::lround(analyst * values.days * slot));
        if (analyst > 1) {
            surface.DrawLine(groupLeft, scale.bottom, groupLeft, scale.bottom + 2 * line);
        }
        const std::string name = "Analista " + std::to_string(analyst);
        surface.DrawText(groupLeft + (groupRight - groupLeft - surface.TextWidth(name)) / 2,
                         scale.bottom + line + line / 4, name);
        const int meanY = scale.Y(values.analystMeans[static_cast<std::size_t>(analyst - 1)]);
        surface.DrawLine(centre(analyst, 1) - mark * 2, meanY,
                         centre(analyst, values.days) + mark * 2, meanY);
        for (int day = 1; day <= values.days; ++day) {
            const int x = centre(analyst, day);
            if (nameDays) {
                const std::string label = "D" + std::to_string(day);
                surface.DrawText(x - surface.TextWidth(label) / 2, scale.bottom + line / 4, label);
            }
            if (std::isnan(values.DayMean(analyst, day))) {
                LostDay(surface, x, static_cast<int>(slot), scale.top + line, line);
                continue;
            }
            for (int replicate = 1; replicate <= values.replicates; ++replicate) {
                const double result = values.Result(analyst, day, replicate);
                if (std::isnan(result)) {
                    continue;
                }
                const int y = scale.Y(result);
                surface.DrawLine(x - mark, y - mark, x + mark, y + mark);
                surface.DrawLine(x - mark, y + mark, x + mark, y - mark);
            }
            const int dayY = scale.Y(values.DayMean(analyst, day));
            Box(surface, x - mark, dayY - mark, x + mark, dayY + mark);
            // A lost day breaks the line joining the days.
            if (day > 1 && !std::isnan(values.DayMean(analyst, day - 1))) {
                surface.DrawLine(centre(analyst, day - 1),
                                 scale.Y(values.DayMean(analyst, day - 1)), x, dayY);
            }
        }
    }
    DashedLine(surface, axis, right, scale.Y(values.grandMean), line / 2);
}

void DrawMandelCharts(PrintSurface& surface, const MandelStatistics& mandel, char decimalSeparator,
                      int left, int top, int width, int height) {
    surface.SelectFont(kDocumentTypeface, kChartSize);
    std::vector<double> h;
    std::vector<double> k;
    for (const MandelAnalyst& figures : mandel.analysts) {
        h.push_back(figures.h);
        k.push_back(figures.k);
    }
    const int half = width / 2;
    DrawMandelPanel(surface, "h de Mandel", h, mandel.h5, mandel.h1, true, decimalSeparator, left,
                    top, half, height);
    if (mandel.analystWithoutK == 0) {
        DrawMandelPanel(surface, "k de Mandel", k, mandel.k5, mandel.k1, false, decimalSeparator,
                        left + half, top, half, height);
    }
}

} // namespace orbeta
