#pragma once

// What the extended-analysis window shows and copies, as text: the window only places it on
// screen; its export is the validation record (print/ValidationRecord.h).

#include "engine/ExtendedAnalysis.h"
#include "engine/Mandel.h"
#include "engine/StudyValues.h"
#include "engine/Ucalculo.h"
#include "files/Fingerprint.h"
#include "study/Study.h"
#include "ui/VariabilityChart.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace orbeta {

// The fingerprint of a study's data, or why it has none: a study whose texts the file cannot
// hold (a character outside Windows-1252) has no bytes to take it of, yet is analysed.
struct SnapshotFingerprint {
    std::optional<DataFingerprint> digest;
    QString missing; // the file's message, when there is no digest
};

// What the extended analysis of one study shows, taken at the moment of its command: the study
// as it stood, its file's path (empty for a study never saved) and the fingerprint of its data
// then (StudyDocument::FingerprintOf), with what is computed from it.
struct ExtendedSnapshot {
    Study study;
    QString file;
    SnapshotFingerprint fingerprint;
    StudyValues values;
    AnovaTable anova;
    ExtendedAnalysis analysis;
    // With at least 3 analysts, complete or with results missing; otherwise none, and
    // MandelAbsence says why.
    std::optional<MandelStatistics> mandel;
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
// probabilities, the consistency tests, and Mandel's h and k of each analyst (h alone when the
// study has no k, no rows without them, the reason among the notes).
enum ExtendedTable : std::size_t {
    kComponentsTable,
    kIntervalsTable,
    kAcceptanceTable,
    kFTestsTable,
    kConsistencyTable,
    kMandelTable,
    kExtendedTables
};
std::vector<ResultTable> ExtendedTables(const ExtendedSnapshot& snapshot,
                                        const AcceptanceResult& acceptance, char decimalSeparator);

// The colour of a verdict: green, amber or red.
QColor VerdictColour(Acceptance verdict);

// The days that Cochran's or Grubbs's test judges other than "correcto", each named once with
// every test that singles it out.
std::vector<FlaggedDay> FlaggedDays(const ExtendedAnalysis& analysis);

// The lines that name the study: «Método: …», «Fecha: …», «Archivo: …» (or «sin guardar»),
// «Huella SHA-256 de los datos: …» (the full fingerprint, « (modificado sin guardar)» after it
// when the data were not those of the file; without one «no calculada: » and the reason), «Unidad
// de los resultados: …» (or «no indicada»), and the missing results' line when the study lacks any.
QStringList StudyLines(const ExtendedSnapshot& snapshot, const QString& unit);

// What "Copiar" gives a spreadsheet: the study's lines, an empty line, then each table that has
// rows as a title line, a line per row with its cells separated by tabs, and its notes, an empty
// line between tables.
QString TabSeparated(const QStringList& studyLines, const std::vector<ResultTable>& tables);

// The point size of the chart on screen.
inline constexpr int kChartPointSize = 9;

} // namespace orbeta
