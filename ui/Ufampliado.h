#pragma once

#include "engine/ExtendedAnalysis.h"
#include "engine/StudyValues.h"
#include "engine/Ucalculo.h"
#include "ui/Platform.h"
#include "ui/VariabilityChart.h"

#include <QColor>
#include <QStringList>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

class QLineEdit;
class QMdiSubWindow;
class QTableWidget;
class QPainter;
class QRectF;

namespace orbeta {

// What the extended analysis of one study shows, taken at the moment of its command.
struct ExtendedSnapshot {
    std::string methodName;
    std::string date;
    StudyValues values;
    AnovaTable anova;
    ExtendedAnalysis analysis;
};

// A table of the window as text: its title, the column headings, the rows, the sentences that
// go under it, and which columns hold words, set to the left, rather than numbers.
struct ResultTable {
    QString title;
    QStringList headings;
    std::vector<QStringList> rows;
    QStringList notes;
    QList<bool> wordColumns;
};

// The window's tables, every number by FormatResult: the variance components, their intervals
// and bounds, the F tests with both probabilities, and the consistency tests.
std::vector<ResultTable> ExtendedTables(const ExtendedSnapshot& snapshot, char decimalSeparator);

// The verdict of each limit given, a row a measure, and the colour of a verdict: green, amber
// or red.
ResultTable AcceptanceTable(const AcceptanceResult& result, char decimalSeparator);
QColor VerdictColour(Acceptance verdict);

// A limit as typed: none when blank; a text that is not a number reads as not a number, which
// the acceptance refuses with the limit's own message.
std::optional<double> LimitOf(const QString& text, char decimalSeparator);

// The days that Cochran's or Grubbs's test judges other than "correcto", each named once with
// every test that singles it out.
std::vector<FlaggedDay> FlaggedDays(const ExtendedAnalysis& analysis);

// Tables as a spreadsheet takes them: a line per row, cells separated by tabs, a title line
// before each table, its notes after it and an empty line between tables.
QString TabSeparated(const std::vector<ResultTable>& tables);

// The extended-analysis window: the variability chart over the tables, with Copy and Export PDF.
// It shows the snapshot it is given and computes nothing itself.
class TFampliado final : public QWidget {
    Q_OBJECT

public:
    TFampliado(ExtendedSnapshot snapshot, const Platform& platform, char decimalSeparator,
               QWidget* parent = nullptr);

    void PlaceFrame(QMdiSubWindow& frame) const;

    // Draws the whole export, the chart and the tables, on a page of `pageArea`.
    void DrawPage(QPainter& painter, const QRectF& pageArea) const;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Judges the limits typed against the snapshot when either text changed since last judged;
    // a bad entry shows its message and takes the focus back.
    void LimitsChanged();
    void ShowAcceptance(const AcceptanceResult& result);
    // The tables as copied and exported: the acceptance, once a limit is given, after the
    // intervals.
    std::vector<ResultTable> ShownTables() const;
    void btncopiarClick();
    void btnexportarClick();
    // Writes the export to `fileName`, replacing it only once the whole file is written.
    void ExportPdf(const QString& fileName) const;

    ExtendedSnapshot m_snapshot;
    Platform m_platform;
    char m_separator;
    std::vector<ResultTable> m_tables;
    std::vector<FlaggedDay> m_flagged;
    QLineEdit* m_repeatabilityLimit = nullptr;
    QLineEdit* m_intermediateLimit = nullptr;
    QTableWidget* m_acceptanceGrid = nullptr;
    ResultTable m_acceptance;
    QStringList m_judgedLimits{QString(), QString()};
};

} // namespace orbeta
