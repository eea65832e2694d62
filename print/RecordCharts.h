#pragma once

#include "engine/Mandel.h"
#include "engine/StudyValues.h"
#include "print/PrintSurface.h"

#include <string>

namespace orbeta {

// The charts of a validation record, drawn in black lines and texts in the rectangle given
// (device pixels). Their numbers are written by FormatResult.

// The variability chart: the x axis nested, analysts and within each its days; each result a
// cross, each day's mean a square with the days of an analyst joined, each analyst's mean a
// segment across its days, the grand mean a dashed line, the days named under their place
// where the names fit; round tick values on the y axis, whose
// title is «Resultado» followed by the unit in parentheses when one is given. A missing result
// has no cross; a day that lost all its results is a gap labelled «sin resultados».
void DrawVariabilityChart(PrintSurface& surface, const StudyValues& values, const std::string& unit,
                          char decimalSeparator, int left, int top, int width, int height);

// Two bar charts side by side, h and k of each analyst, with the 5 % indicator values as dashed
// lines and the 1 % ones as solid lines (both signs for h); h alone when the study has no k.
void DrawMandelCharts(PrintSurface& surface, const MandelStatistics& mandel, char decimalSeparator,
                      int left, int top, int width, int height);

} // namespace orbeta
