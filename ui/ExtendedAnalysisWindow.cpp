#include "ui/ExtendedAnalysisWindow.h"

#include "print/ValidationRecord.h"
#include "study/Error.h"
#include "ui/ChildPlacement.h"
#include "ui/Fonts.h"
#include "ui/MandelChart.h"
#include "ui/helpcons.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTableWidget>
#include <QToolTip>
#include <QVBoxLayout>

#include <exception>
#include <utility>

namespace orbeta {

namespace {

// The chart on screen: it paints the window's snapshot and names the result under the pointer.
class ChartView final : public QWidget {
public:
    ChartView(const StudyValues& values, const std::vector<FlaggedDay>& flagged, char separator,
              const QString& unit, QWidget* parent)
        : QWidget(parent), m_values(values), m_flagged(flagged), m_separator(separator),
          m_unit(unit) {
        setObjectName(QStringLiteral("grafico"));
        setFont(SansSerifFont(kChartPointSize));
        setMinimumHeight(240);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setFont(font());
        Chart().Draw(painter);
    }
    bool event(QEvent* event) override {
        if (event->type() == QEvent::ToolTip) {
            const auto* help = static_cast<QHelpEvent*>(event);
            const VariabilityChart chart = Chart();
            if (const auto point = chart.PointNear(help->pos(), 6)) {
                QToolTip::showText(help->globalPos(), chart.Describe(*point), this);
            } else {
                QToolTip::hideText();
                event->ignore();
            }
            return true;
        }
        return QWidget::event(event);
    }

private:
    VariabilityChart Chart() const {
        return VariabilityChart(m_values, m_flagged, m_separator, QRectF(rect()),
                                QFontMetricsF(font(), this), m_unit);
    }

    const StudyValues& m_values;
    const std::vector<FlaggedDay>& m_flagged;
    char m_separator;
    const QString& m_unit;
};

// Mandel's two bar charts side by side, h on the left; h alone when the study has no k.
class MandelView final : public QWidget {
public:
    MandelView(const MandelStatistics& mandel, char separator, QWidget* parent)
        : QWidget(parent), m_mandel(mandel), m_separator(separator) {
        setObjectName(QStringLiteral("graficomandel"));
        setFont(SansSerifFont(kChartPointSize));
        setMinimumSize(480, 220);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setFont(font());
        const QFontMetricsF metrics(font(), this);
        const QRectF whole(rect());
        const double half = whole.width() / 2;
        MandelChart(m_mandel, MandelStatistic::H, m_separator,
                    QRectF(whole.left(), whole.top(), half - 4, whole.height()), metrics)
            .Draw(painter);
        if (m_mandel.analystWithoutK == 0) {
            MandelChart(m_mandel, MandelStatistic::K, m_separator,
                        QRectF(whole.left() + half + 4, whole.top(), half - 4, whole.height()),
                        metrics)
                .Draw(painter);
        }
    }

private:
    const MandelStatistics& m_mandel;
    char m_separator;
};

// A long heading in two lines, broken at the blank nearest its middle, so that its column is no
// wider than its figures need.
QString InTwoLines(QString heading) {
    constexpr qsizetype kLongHeading = 14;
    if (heading.size() <= kLongHeading) {
        return heading;
    }
    const qsizetype middle = heading.size() / 2;
    const qsizetype before = heading.lastIndexOf(QLatin1Char(' '), middle);
    const qsizetype after = heading.indexOf(QLatin1Char(' '), middle);
    const qsizetype cut = before < 0                          ? after
                          : after < 0                         ? before
                          : middle - before <= after - middle ? before
                                                              : after;
    if (cut >= 0) {
        heading[cut] = QLatin1Char('\n');
    }
    return heading;
}

// The table as large as its cells and headings, so that it shows whole.
void FitToContents(QTableWidget& grid) {
    grid.resizeColumnsToContents();
    grid.resizeRowsToContents();
    int width = 2 * grid.frameWidth();
    for (int column = 0; column < grid.columnCount(); ++column) {
        width += grid.columnWidth(column);
    }
    int height = 2 * grid.frameWidth() + grid.horizontalHeader()->sizeHint().height();
    for (int row = 0; row < grid.rowCount(); ++row) {
        height += grid.rowHeight(row);
    }
    grid.setFixedSize(width, height);
}

// Puts a table's cells into its grid, every one read-only.
void FillGrid(QTableWidget& grid, const ResultTable& table) {
    grid.setRowCount(static_cast<int>(table.rows.size()));
    for (int row = 0; row < grid.rowCount(); ++row) {
        const QStringList& cells = table.rows[static_cast<std::size_t>(row)];
        for (int column = 0; column < grid.columnCount(); ++column) {
            auto* cell = new QTableWidgetItem(column < cells.size() ? cells[column] : QString());
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            cell->setTextAlignment(Qt::AlignVCenter | ColumnAlignment(table, column));
            grid.setItem(row, column, cell);
        }
    }
    FitToContents(grid);
}

QTableWidget* TableWidget(const ResultTable& table, const char* name, QWidget* parent) {
    auto* grid = new QTableWidget(0, static_cast<int>(table.headings.size()), parent);
    grid->setObjectName(QString::fromUtf8(name));
    QStringList headings;
    for (const QString& heading : table.headings) {
        headings.append(InTwoLines(heading));
    }
    grid->setHorizontalHeaderLabels(headings);
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    // Tab leaves the table for the next control; the arrows move within it.
    grid->setTabKeyNavigation(false);
    // The table shows whole; the sheet it stands on scrolls.
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FillGrid(*grid, table);
    return grid;
}

// The objectNames of each table's grid and notes, in the order of ExtendedTable.
constexpr const char* kTableNames[kExtendedTables][2] = {
    {"stgcomponentes", "lblcomponentes"},   {"stgintervalos", "lblintervalos"},
    {"stgaceptacion", "lblaceptacion"},     {"stgpruebasf", "lblpruebasf"},
    {"stgconsistencia", "lblconsistencia"}, {"stgmandel", "lblmandel"}};

} // namespace

ExtendedAnalysisWindow::ExtendedAnalysisWindow(ExtendedSnapshot snapshot, const Platform& platform,
                                               char decimalSeparator, QWidget* parent)
    : QWidget(parent), m_snapshot(std::move(snapshot)), m_platform(platform),
      m_separator(decimalSeparator), m_tables(ExtendedTables(m_snapshot, {}, decimalSeparator)),
      m_flagged(FlaggedDays(m_snapshot.analysis)),
      m_unit(m_platform.userSettings.Value(QString::fromUtf8(kUnitSetting))) {
    setObjectName(QStringLiteral("TFampliado"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The caption names the study, so that two studies' windows read apart.
    const QString method = QString::fromStdString(m_snapshot.study.methodName).trimmed();
    setWindowTitle(method.isEmpty() ? QStringLiteral("Análisis ampliado")
                                    : QStringLiteral("Análisis ampliado — ") + method);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    auto* chart = new ChartView(m_snapshot.values, m_flagged, m_separator, m_unit, splitter);
    splitter->addWidget(chart);

    auto* scroll = new QScrollArea(splitter);
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto* sheet = new QWidget(scroll);
    auto* sheetLayout = new QVBoxLayout(sheet);
    if (const std::string missing = MissingResultsSentence(m_snapshot.values); !missing.empty()) {
        auto* missingLine = new QLabel(QString::fromStdString(missing), sheet);
        missingLine->setObjectName(QStringLiteral("lblfaltantes"));
        missingLine->setWordWrap(true);
        sheetLayout->addWidget(missingLine);
        sheetLayout->addSpacing(6);
    }
    for (std::size_t index = 0; index < kExtendedTables; ++index) {
        const ResultTable& table = m_tables[index];
        sheetLayout->addWidget(
            new QLabel(QStringLiteral("<b>%1</b>").arg(table.title.toHtmlEscaped()), sheet));
        if (index == kAcceptanceTable) {
            auto* fields = new QFormLayout;
            m_repeatabilityLimit = new QLineEdit(sheet);
            m_repeatabilityLimit->setObjectName(QStringLiteral("elimiterep"));
            m_intermediateLimit = new QLineEdit(sheet);
            m_intermediateLimit->setObjectName(QStringLiteral("elimiteint"));
            for (const auto& [field, caption] :
                 {std::pair{m_repeatabilityLimit, "Límite RSD &repetibilidad (%)"},
                  std::pair{m_intermediateLimit, "Límite RSD precisión &intermedia (%)"}}) {
                field->setMaximumWidth(120);
                fields->addRow(QString::fromUtf8(caption), field);
                connect(field, &QLineEdit::editingFinished, this,
                        &ExtendedAnalysisWindow::LimitsChanged);
            }
            sheetLayout->addLayout(fields);
        }
        QTableWidget* grid = TableWidget(table, kTableNames[index][0], sheet);
        sheetLayout->addWidget(grid);
        auto* notes = new QLabel(table.notes.join(QLatin1Char('\n')), sheet);
        notes->setObjectName(QString::fromUtf8(kTableNames[index][1]));
        notes->setWordWrap(true);
        sheetLayout->addWidget(notes);
        // A table the study gives no row of shows only why under its title; the acceptance's
        // headings stand for the limits to come.
        grid->setVisible(!table.rows.empty() || index == kAcceptanceTable);
        if (index == kMandelTable && m_snapshot.mandel) {
            sheetLayout->addWidget(new MandelView(*m_snapshot.mandel, m_separator, sheet));
        }
        sheetLayout->addSpacing(10);
        if (index == kAcceptanceTable) {
            m_acceptanceGrid = grid;
            m_acceptanceNotes = notes;
        }
    }
    sheetLayout->addStretch(1);
    scroll->setWidget(sheet);
    splitter->addWidget(scroll);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    // The unit is the user's, not the study's: it is remembered for the next study, and the study
    // file keeps its format.
    m_unitField = new QLineEdit(m_unit.left(kUnitLength), this);
    m_unitField->setObjectName(QStringLiteral("eunidad"));
    m_unitField->setMaxLength(kUnitLength);
    m_unitField->setMaximumWidth(140);
    m_unitField->setPlaceholderText(QStringLiteral("p. ej. mg/L"));
    m_unit = m_unitField->text();
    connect(m_unitField, &QLineEdit::textChanged, this, [this, chart](const QString& unit) {
        m_unit = unit;
        m_platform.userSettings.SetValue(QString::fromUtf8(kUnitSetting), unit);
        chart->update();
    });
    auto* unitLabel = new QLabel(QStringLiteral("&Unidad:"), this);
    unitLabel->setBuddy(m_unitField);
    auto* copy = new QPushButton(QStringLiteral("C&opiar"), this);
    copy->setObjectName(QStringLiteral("btncopiar"));
    connect(copy, &QPushButton::clicked, this, &ExtendedAnalysisWindow::btncopiarClick);
    auto* exportPdf = new QPushButton(QStringLiteral("E&xportar PDF..."), this);
    exportPdf->setObjectName(QStringLiteral("btnexportar"));
    connect(exportPdf, &QPushButton::clicked, this, &ExtendedAnalysisWindow::btnexportarClick);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(unitLabel);
    buttons->addWidget(m_unitField);
    buttons->addStretch(1);
    buttons->addWidget(copy);
    buttons->addWidget(exportPdf);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);
}

void ExtendedAnalysisWindow::PlaceFrame(QMdiSubWindow& frame) const {
    FitAndCentreInArea(frame, QSize(900, 720));
}

// F1 is the main window's shortcut for the contents; in this window it names this window's page.
bool ExtendedAnalysisWindow::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            key->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void ExtendedAnalysisWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        Guarded("No se pudo mostrar la ayuda del análisis ampliado.",
                [this] { m_platform.help.ShowTopic(helpcons::kExtendedAnalysis); });
        return;
    }
    QWidget::keyPressEvent(event);
}

void ExtendedAnalysisWindow::Guarded(const char* failure, const std::function<void()>& command) {
    try {
        command();
    } catch (const Error& error) {
        m_platform.messages.ReportError(error.what());
    } catch (const std::exception&) {
        m_platform.messages.ShowMessage(QString::fromUtf8(failure));
    }
}

void ExtendedAnalysisWindow::LimitsChanged() {
    const QStringList texts{m_repeatabilityLimit->text(), m_intermediateLimit->text()};
    if (texts == m_judgedLimits) {
        return;
    }
    m_judgedLimits = texts;
    Guarded("No se pudieron juzgar los límites escritos; el estudio no cambió.", [&] {
        // Each limit on its own, so that a bad one leaves the other's verdict and is named alone.
        AcceptanceResult shown;
        QLineEdit* bad = nullptr;
        QString message;
        const auto judge = [&](QLineEdit& field, LimitedMeasure measure, auto limit, auto verdict) {
            try {
                AcceptanceLimits limits;
                limits.*limit = TypedLimit(field.text().toStdString(), m_separator, measure);
                shown.*verdict = Accept(m_snapshot.analysis, limits).*verdict;
                m_limits.*limit = limits.*limit;
            } catch (const Error& error) {
                (m_limits.*limit).reset();
                if (!bad) {
                    bad = &field;
                    message = QString::fromUtf8(error.what());
                }
            }
        };
        judge(*m_repeatabilityLimit, LimitedMeasure::Repeatability,
              &AcceptanceLimits::repeatability, &AcceptanceResult::repeatability);
        judge(*m_intermediateLimit, LimitedMeasure::Intermediate, &AcceptanceLimits::intermediate,
              &AcceptanceResult::intermediate);
        m_acceptance = shown;
        ShowAcceptance();
        if (bad) {
            m_platform.messages.ShowMessage(message);
            bad->setFocus();
            bad->selectAll();
        }
    });
}

void ExtendedAnalysisWindow::ShowAcceptance() {
    m_tables = ExtendedTables(m_snapshot, m_acceptance, m_separator);
    const ResultTable& table = m_tables[kAcceptanceTable];
    FillGrid(*m_acceptanceGrid, table);
    std::vector<Acceptance> verdicts;
    for (const auto& figures : {m_acceptance.repeatability, m_acceptance.intermediate}) {
        if (figures) {
            verdicts.push_back(figures->verdict);
        }
    }
    const int verdictColumn = m_acceptanceGrid->columnCount() - 1;
    for (int row = 0; row < m_acceptanceGrid->rowCount(); ++row) {
        QTableWidgetItem* cell = m_acceptanceGrid->item(row, verdictColumn);
        cell->setForeground(VerdictColour(verdicts[static_cast<std::size_t>(row)]));
        QFont bold = cell->font();
        bold.setBold(true);
        cell->setFont(bold);
    }
    FitToContents(*m_acceptanceGrid);
    m_acceptanceNotes->setText(table.notes.join(QLatin1Char('\n')));
}

void ExtendedAnalysisWindow::btncopiarClick() {
    Guarded("No se pudo copiar el análisis ampliado.", [this] {
        QApplication::clipboard()->setText(TabSeparated(StudyLines(m_snapshot, m_unit), m_tables));
    });
}

void ExtendedAnalysisWindow::btnexportarClick() {
    Guarded("No se pudo exportar el registro de validación.", [this] {
        const QStringList fileTypes{QStringLiteral("Documento PDF (*.pdf)")};
        const std::optional<ChosenFile> chosen = m_platform.fileDialogs.ChooseFileToSave(
            {QStringLiteral("Exportar PDF"), fileTypes, fileTypes.constFirst(),
             QStringLiteral("pdf"),
             QString::fromStdString(
                 ProposedRecordFileName(m_snapshot.study.methodName, m_snapshot.study.date))});
        if (!chosen) {
            return;
        }
        // A record is tied to its data or not written.
        if (!m_snapshot.fingerprint.digest) {
            throw Error(m_snapshot.fingerprint.missing.toStdString());
        }
        const RecordFigures figures = ComputeRecordFigures(m_snapshot.study, m_separator, m_limits);
        const RecordIdentity identity{
            m_snapshot.file.isEmpty() ? std::string()
                                      : QFileInfo(m_snapshot.file).fileName().toStdString(),
            *m_snapshot.fingerprint.digest, m_unit.toStdString(), "ORBETA " ORBETA_VERSION,
            QDateTime::currentDateTime()
                .toString(QStringLiteral("dd/MM/yyyy HH:mm"))
                .toStdString()};
        m_platform.printer.WriteRecordPdf(chosen->path, m_snapshot.study, figures, identity,
                                          m_separator);
    });
}

} // namespace orbeta
