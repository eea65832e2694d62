#pragma once

// What the extended-analysis window shows, copies and exports, as text and as pages: the window
// only places it on screen.

#include "engine/ExtendedAnalysis.h"
#include "engine/StudyValues.h"
#include "engine/Ucalculo.h"
#include "ui/VariabilityChart.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

class QPainter;
class QRectF;

namespace orbeta {

// What the extended analysis of one study shows, taken at the moment of its command. The file
// is the study's path, empty for a study never saved.
struct ExtendedSnapshot {
    std::string methodName;
    std::string date;
    QString file;
    StudyValues values;
    AnovaTable anova;
    ExtendedAnalysis analysis;
};

// A table as text: its title, the column headings, the rows, the sentences that go under it,
// and which columns hold words, set to the left, rather than numbers.
struct ResultTable {
    QString title;
    QStringList headings;
    std::vector<QStringList> rows;
    QStringList notes;
    QList<bool> wordColumns;
};

// Words set to the left, numbers to the right.
Qt::Alignment ColumnAlignment(const ResultTable& table, qsizetype column);

// The tables in the window's order, every number by FormatResult: the variance components,
// their intervals and bounds, the acceptance (no rows without a limit), the F tests with both
// probabilities, and the consistency tests.
enum ExtendedTable : std::size_t {
    kComponentsTable,
    kIntervalsTable,
    kAcceptanceTable,
    kFTestsTable,
    kConsistencyTable,
    kExtendedTables
};
std::vector<ResultTable> ExtendedTables(const ExtendedSnapshot& snapshot,
                                        const AcceptanceResult& acceptance, char decimalSeparator);

// The colour of a verdict: green, amber or red.
QColor VerdictColour(Acceptance verdict);

// The days that Cochran's or Grubbs's test judges other than "correcto", each named once with
// every test that singles it out.
std::vector<FlaggedDay> FlaggedDays(const ExtendedAnalysis& analysis);

// How many results the study lacks and where, in the study's order, e.g. «Faltan 4 de 24
// resultados (NA): analista 1, día 2, réplica 3; analista 2, día 4, sin resultados.», a day that
// lost all its results named once; empty for a complete study.
QString MissingResultsLine(const StudyValues& values);

// The lines that name the study: «Método: …», «Fecha: …», «Archivo: …» (or «sin guardar»), and
// the missing results' line when the study lacks any.
QStringList StudyLines(const ExtendedSnapshot& snapshot);

// What "Copiar" gives a spreadsheet: the study's lines, an empty line, then each table that has
// rows as a title line, a line per row with its cells separated by tabs, and its notes, an empty
// line between tables.
QString TabSeparated(const QStringList& studyLines, const std::vector<ResultTable>& tables);

// Draws the export on pages of `pageArea`: the title, the study's lines, the chart, then each
// table that has rows; a table that does not fit under the one before starts a page of its own
// through `newPage`.
void DrawExtendedPages(QPainter& painter, const QRectF& pageArea,
                       const std::function<void()>& newPage, const ExtendedSnapshot& snapshot,
                       const std::vector<ResultTable>& tables,
                       const std::vector<FlaggedDay>& flagged, char decimalSeparator);

// The point size of the chart on screen; the export draws it a point smaller.
inline constexpr int kChartPointSize = 9;

} // namespace orbeta
