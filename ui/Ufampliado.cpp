#include "ui/Ufampliado.h"

#include "engine/UTs.h"
#include "files/FileAccess.h"
#include "study/Error.h"
#include "study/Numbers.h"
#include "ui/ChildPlacement.h"
#include "ui/Fonts.h"
#include "ui/helpcons.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontMetricsF>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <limits>
#include <utility>

namespace orbeta {

namespace {

constexpr int kChartPointSize = 9;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString FormattedNumber(double value, char separator) {
    return Text(FormatResult(value, separator));
}

QString EffectText(double probability) {
    return DeclaresEffect(probability) ? QStringLiteral("con efecto")
                                       : QStringLiteral("sin efecto");
}

// The chart on screen: it paints the window's snapshot and names the result under the pointer.
class ChartView final : public QWidget {
public:
    ChartView(const StudyValues& values, const std::vector<FlaggedDay>& flagged, char separator,
              QWidget* parent)
        : QWidget(parent), m_values(values), m_flagged(flagged), m_separator(separator) {
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
                                QFontMetricsF(font(), this));
    }

    const StudyValues& m_values;
    const std::vector<FlaggedDay>& m_flagged;
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

Qt::Alignment AlignmentOf(const ResultTable& table, qsizetype column) {
    return column < table.wordColumns.size() && table.wordColumns[column] ? Qt::AlignLeft
                                                                          : Qt::AlignRight;
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

QTableWidget* TableWidget(const ResultTable& table, const char* name, QWidget* parent) {
    auto* grid = new QTableWidget(static_cast<int>(table.rows.size()),
                                  static_cast<int>(table.headings.size()), parent);
    grid->setObjectName(QString::fromUtf8(name));
    QStringList headings;
    for (const QString& heading : table.headings) {
        headings.append(InTwoLines(heading));
    }
    grid->setHorizontalHeaderLabels(headings);
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    // The table shows whole; the sheet it stands on scrolls.
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int row = 0; row < grid->rowCount(); ++row) {
        for (int column = 0; column < grid->columnCount(); ++column) {
            const QStringList& cells = table.rows[static_cast<std::size_t>(row)];
            auto* cell = new QTableWidgetItem(column < cells.size() ? cells[column] : QString());
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            cell->setTextAlignment(Qt::AlignVCenter | AlignmentOf(table, column));
            grid->setItem(row, column, cell);
        }
    }
    FitToContents(*grid);
    return grid;
}

// A table of the export: headings wrapped into their column, numbers set to the right.
// Gives the height it takes; with `draw` false it only measures.
double DrawTable(QPainter& painter, const ResultTable& table, double left, double top, double width,
                 bool draw) {
    const auto text = [&painter, draw](const QRectF& where, int flags, const QString& words) {
        if (draw) {
            painter.drawText(where, flags, words);
        }
    };
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double padding = metrics.averageCharWidth();
    const double line = metrics.height();
    std::vector<double> widths(static_cast<std::size_t>(table.headings.size()), 0);
    for (qsizetype column = 0; column < table.headings.size(); ++column) {
        double& columnWidth = widths[static_cast<std::size_t>(column)];
        for (const QString& word : table.headings[column].split(QLatin1Char(' '))) {
            columnWidth = std::max(columnWidth, metrics.horizontalAdvance(word));
        }
        for (const QStringList& row : table.rows) {
            if (column < row.size()) {
                columnWidth = std::max(columnWidth, metrics.horizontalAdvance(row[column]));
            }
        }
        columnWidth += 2 * padding;
    }
    double total = 0;
    for (const double columnWidth : widths) {
        total += columnWidth;
    }
    // Spare width goes to every column alike; a table too wide keeps its natural widths.
    const double spare = std::max(0.0, (width - total) / static_cast<double>(widths.size()));
    QFont bold = painter.font();
    bold.setBold(true);
    const QFont plain = painter.font();

    double y = top;
    painter.setFont(bold);
    text(QRectF(left, y, width, line), Qt::AlignLeft | Qt::AlignVCenter, table.title);
    y += 1.3 * line;
    double headingHeight = line;
    for (qsizetype column = 0; column < table.headings.size(); ++column) {
        const QRectF fits =
            QFontMetricsF(bold, painter.device())
                .boundingRect(
                    QRectF(0, 0, widths[std::size_t(column)] + spare - 2 * padding, 10 * line),
                    Qt::TextWordWrap, table.headings[column]);
        headingHeight = std::max(headingHeight, fits.height());
    }
    double x = left;
    for (qsizetype column = 0; column < table.headings.size(); ++column) {
        const double columnWidth = widths[std::size_t(column)] + spare;
        text(QRectF(x + padding, y, columnWidth - 2 * padding, headingHeight),
             Qt::TextWordWrap | Qt::AlignBottom | AlignmentOf(table, column),
             table.headings[column]);
        x += columnWidth;
    }
    y += headingHeight + 0.2 * line;
    if (draw) {
        painter.drawLine(QPointF(left, y), QPointF(x, y));
    }
    painter.setFont(plain);
    for (const QStringList& row : table.rows) {
        x = left;
        for (qsizetype column = 0; column < row.size(); ++column) {
            const double columnWidth = widths[std::size_t(column)] + spare;
            text(QRectF(x + padding, y, columnWidth - 2 * padding, line),
                 Qt::AlignVCenter | AlignmentOf(table, column), row[column]);
            x += columnWidth;
        }
        y += line;
    }
    y += 0.3 * line;
    for (const QString& note : table.notes) {
        const QRectF fits =
            metrics.boundingRect(QRectF(left, y, width, 10 * line), Qt::TextWordWrap, note);
        text(fits, Qt::TextWordWrap, note);
        y += fits.height();
    }
    return y - top + line;
}

} // namespace

std::vector<ResultTable> ExtendedTables(const ExtendedSnapshot& snapshot, char separator) {
    const ExtendedAnalysis& analysis = snapshot.analysis;
    const AnovaTable& anova = snapshot.anova;
    const auto number = [separator](double value) { return FormattedNumber(value, separator); };
    const auto component = [&](const char* name, const VarianceComponent& figures) {
        return QStringList{QString::fromUtf8(name), number(figures.variance), number(figures.sd),
                           number(figures.cv), number(figures.percent)};
    };
    ResultTable components{
        QStringLiteral("Componentes de la varianza"),
        {QStringLiteral("Componente"), QStringLiteral("Varianza"), QStringLiteral("DE"),
         QStringLiteral("RSD (%)"), QStringLiteral("% del total")},
        {component("Repetibilidad", analysis.repeatability), component("Entre días", analysis.day),
         component("Entre analistas", analysis.analyst),
         component("Precisión intermedia", analysis.intermediate)},
        {QStringLiteral("Las estimaciones negativas de un componente se toman como cero.")},
        {true}};
    for (const std::string& sentence : FlagSentences(analysis.flags)) {
        components.notes.append(Text(sentence));
    }

    const IntermediateBounds& intermediate = analysis.intermediateBounds;
    const SdInterval& exact = analysis.repeatabilityInterval;
    const SdInterval& satterthwaite = analysis.intermediateInterval;
    std::vector<ResultTable> tables{std::move(components)};
    tables.push_back(
        {QStringLiteral("Intervalos de confianza al 95 %"),
         {QStringLiteral("Medida"), QStringLiteral("gl"),
          QStringLiteral("IC 95 % de la DE, inferior"),
          QStringLiteral("IC 95 % de la DE, superior"),
          QStringLiteral("IC 95 % MLS de la varianza, inferior"),
          QStringLiteral("IC 95 % MLS de la varianza, superior"),
          QStringLiteral("Cota superior 95 % de la DE"),
          QStringLiteral("Cota superior 95 % MLS de la DE")},
         {{QStringLiteral("Repetibilidad"), number(exact.df), number(exact.low), number(exact.high),
           QString(), QString(), number(analysis.repeatabilityBounds.sdUpper), QString()},
          {QStringLiteral("Precisión intermedia"), number(satterthwaite.df),
           number(satterthwaite.low), number(satterthwaite.high),
           number(intermediate.mlsVarianceLow), number(intermediate.mlsVarianceHigh),
           number(intermediate.sdUpper), number(intermediate.mlsSdUpper)}},
         {QStringLiteral("La repetibilidad, por la ji cuadrado con los gl del error; la precisión "
                         "intermedia, por Satterthwaite, con sus gl sin redondear, y por el "
                         "método MLS de Graybill y Wang, sobre la varianza. Las cotas superiores "
                         "son unilaterales.")},
         {true}});

    const auto fTest = [&](const char* name, double f, double p, double pExact) {
        return QStringList{QString::fromUtf8(name), number(f),     number(p),
                           number(pExact),          EffectText(p), EffectText(pExact)};
    };
    ResultTable fTests{
        QStringLiteral("Pruebas F"),
        {QStringLiteral("Fuente"), QStringLiteral("F"), QStringLiteral("P aproximada"),
         QStringLiteral("P exacta"), QStringLiteral("Conclusión con la P aproximada"),
         QStringLiteral("Conclusión con la P exacta")},
        {fTest("Analista", anova.fAnalyst, anova.pAnalyst, analysis.pAnalystExact),
         fTest("Día", anova.fDay, anova.pDay, analysis.pDayExact)},
        {QStringLiteral("La P aproximada es la de las otras ventanas; la conclusión se toma al "
                        "nivel de significancia %1.")
             .arg(number(kSignificanceLevel))},
        {true, false, false, false, true, true}};
    if (analysis.exactConclusionsDiffer) {
        fTests.notes.append(QStringLiteral("Atención: con la P exacta cambia la conclusión de "
                                           "una prueba al nivel %1.")
                                .arg(number(kSignificanceLevel)));
    }
    tables.push_back(std::move(fTests));

    const auto test = [&](const char* name, double statistic, double critical5, double critical1,
                          Verdict verdict, const DayOfAnalyst& day) {
        return QStringList{QString::fromUtf8(name),
                           number(statistic),
                           number(critical5),
                           number(critical1),
                           QString::fromUtf8(VerdictText(verdict)),
                           QString::number(day.analyst),
                           day.day > 0 ? QString::number(day.day) : QString()};
    };
    const CochranTest& cochran = analysis.cochran;
    std::vector<QStringList> consistency{test("Cochran, varianza de día mayor (C)", cochran.c,
                                              cochran.critical5, cochran.critical1, cochran.verdict,
                                              cochran.largest)};
    const auto grubbs = [&](const std::optional<GrubbsTest>& tested, const char* high,
                            const char* low) {
        if (tested) {
            consistency.push_back(test(high, tested->high.g, tested->critical5, tested->critical1,
                                       tested->high.verdict, tested->high.day));
            consistency.push_back(test(low, tested->low.g, tested->critical5, tested->critical1,
                                       tested->low.verdict, tested->low.day));
        }
    };
    grubbs(analysis.grubbs.analysts, "Grubbs, media de analista más alta (G)",
           "Grubbs, media de analista más baja (G)");
    grubbs(analysis.grubbs.extremeDays, "Grubbs, media de día más alta en su analista (G)",
           "Grubbs, media de día más baja en su analista (G)");
    tables.push_back(
        {QStringLiteral("Pruebas de consistencia"),
         {QStringLiteral("Prueba"), QStringLiteral("Estadístico"), QStringLiteral("Crítico 5 %"),
          QStringLiteral("Crítico 1 %"), QStringLiteral("Veredicto"), QStringLiteral("Analista"),
          QStringLiteral("Día")},
         std::move(consistency),
         {QStringLiteral("Hasta el crítico del 5 %: correcto; hasta el del 1 %: dudoso; por "
                         "encima: aberrante.")},
         {true, false, false, false, true, false, false}});
    return tables;
}

ResultTable AcceptanceTable(const AcceptanceResult& result, char separator) {
    ResultTable table{
        QStringLiteral("Aceptación"),
        {QStringLiteral("Medida"), QStringLiteral("Límite (%)"), QStringLiteral("RSD (%)"),
         QStringLiteral("Cota superior 95 % de la RSD (%)"), QStringLiteral("Veredicto")},
        {},
        {QStringLiteral("Cumple cuando la cota superior no pasa del límite; cumple "
                        "sin demostrarlo cuando sólo la estimación no pasa de él. "
                        "La precisión intermedia se juzga con la cota MLS.")},
        {true, false, false, false, true}};
    for (const auto& [name, figures] : {std::pair{"Repetibilidad", result.repeatability},
                                        std::pair{"Precisión intermedia", result.intermediate}}) {
        if (figures) {
            table.rows.push_back({QString::fromUtf8(name), FormattedNumber(figures->limit, separator),
                                  FormattedNumber(figures->rsd, separator),
                                  FormattedNumber(figures->rsdUpper, separator),
                                  QString::fromUtf8(AcceptanceText(figures->verdict))});
        }
    }
    return table;
}

QColor VerdictColour(Acceptance verdict) {
    switch (verdict) {
    case Acceptance::MeetsUnproven:
        return {191, 128, 0};
    case Acceptance::Fails:
        return {200, 0, 0};
    case Acceptance::Meets:
        break;
    }
    return {0, 128, 0};
}

std::optional<double> LimitOf(const QString& text, char separator) {
    if (text.trimmed().isEmpty()) {
        return std::nullopt;
    }
    try {
        return ParseResult(text.toStdString(), separator);
    } catch (const Error&) {
        return std::numeric_limits<double>::quiet_NaN();
    }
}

std::vector<FlaggedDay> FlaggedDays(const ExtendedAnalysis& analysis) {
    std::vector<FlaggedDay> flagged;
    const auto flag = [&flagged](const char* test, Verdict verdict, const DayOfAnalyst& day) {
        if (verdict == Verdict::Correct) {
            return;
        }
        const QString reason = QString::fromUtf8(test) + QStringLiteral(": ") +
                               QString::fromUtf8(VerdictText(verdict));
        const auto same = std::find_if(flagged.begin(), flagged.end(), [&](const FlaggedDay& f) {
            return f.analyst == day.analyst && f.day == day.day;
        });
        if (same != flagged.end()) {
            same->reason += QStringLiteral("; ") + reason;
        } else {
            flagged.push_back({day.analyst, day.day, reason});
        }
    };
    flag("Cochran", analysis.cochran.verdict, analysis.cochran.largest);
    for (const GrubbsTest& days : analysis.grubbs.daysOfAnalysts) {
        flag("Grubbs alto", days.high.verdict, days.high.day);
        flag("Grubbs bajo", days.low.verdict, days.low.day);
    }
    return flagged;
}

QString TabSeparated(const std::vector<ResultTable>& tables) {
    QStringList lines;
    for (const ResultTable& table : tables) {
        if (!lines.isEmpty()) {
            lines.append(QString());
        }
        lines.append(table.title);
        lines.append(table.headings.join(QLatin1Char('\t')));
        for (const QStringList& row : table.rows) {
            lines.append(row.join(QLatin1Char('\t')));
        }
        lines.append(table.notes);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

TFampliado::TFampliado(ExtendedSnapshot snapshot, const Platform& platform, char decimalSeparator,
                       QWidget* parent)
    : QWidget(parent), m_snapshot(std::move(snapshot)), m_platform(platform),
      m_separator(decimalSeparator), m_tables(ExtendedTables(m_snapshot, decimalSeparator)),
      m_flagged(FlaggedDays(m_snapshot.analysis)) {
    setObjectName(QStringLiteral("TFampliado"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Análisis ampliado"));

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(new ChartView(m_snapshot.values, m_flagged, m_separator, splitter));

    auto* scroll = new QScrollArea(splitter);
    scroll->setWidgetResizable(true);
    auto* sheet = new QWidget(scroll);
    auto* sheetLayout = new QVBoxLayout(sheet);
    const char* const names[][2] = {{"stgcomponentes", "lblcomponentes"},
                                    {"stgintervalos", "lblintervalos"},
                                    {"stgpruebasf", "lblpruebasf"},
                                    {"stgconsistencia", "lblconsistencia"}};
    const auto addTitle = [sheet, sheetLayout](const QString& title) {
        sheetLayout->addWidget(
            new QLabel(QStringLiteral("<b>%1</b>").arg(title.toHtmlEscaped()), sheet));
    };
    const auto addNotes = [sheet, sheetLayout](const QStringList& notes, const char* name) {
        auto* label = new QLabel(notes.join(QLatin1Char('\n')), sheet);
        label->setObjectName(QString::fromUtf8(name));
        label->setWordWrap(true);
        sheetLayout->addWidget(label);
        sheetLayout->addSpacing(10);
    };
    for (std::size_t index = 0; index < m_tables.size(); ++index) {
        const ResultTable& table = m_tables[index];
        addTitle(table.title);
        sheetLayout->addWidget(TableWidget(table, names[index][0], sheet));
        addNotes(table.notes, names[index][1]);
        if (index != 1) {
            continue;
        }
        // The acceptance, under the bounds it is judged by.
        m_acceptance = AcceptanceTable({}, m_separator);
        addTitle(m_acceptance.title);
        auto* fields = new QFormLayout;
        m_repeatabilityLimit = new QLineEdit(sheet);
        m_repeatabilityLimit->setObjectName(QStringLiteral("elimiterep"));
        m_intermediateLimit = new QLineEdit(sheet);
        m_intermediateLimit->setObjectName(QStringLiteral("elimiteint"));
        for (const auto& [field, caption] :
             {std::pair{m_repeatabilityLimit, "Límite RSD repetibilidad (%)"},
              std::pair{m_intermediateLimit, "Límite RSD precisión intermedia (%)"}}) {
            field->setMaximumWidth(120);
            fields->addRow(QString::fromUtf8(caption), field);
            connect(field, &QLineEdit::editingFinished, this, &TFampliado::LimitsChanged);
        }
        sheetLayout->addLayout(fields);
        m_acceptanceGrid = TableWidget(m_acceptance, "stgaceptacion", sheet);
        sheetLayout->addWidget(m_acceptanceGrid);
        addNotes(m_acceptance.notes, "lblaceptacion");
    }
    sheetLayout->addStretch(1);
    scroll->setWidget(sheet);
    splitter->addWidget(scroll);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    auto* copy = new QPushButton(QStringLiteral("Copiar"), this);
    copy->setObjectName(QStringLiteral("btncopiar"));
    connect(copy, &QPushButton::clicked, this, &TFampliado::btncopiarClick);
    auto* exportPdf = new QPushButton(QStringLiteral("Exportar PDF..."), this);
    exportPdf->setObjectName(QStringLiteral("btnexportar"));
    connect(exportPdf, &QPushButton::clicked, this, &TFampliado::btnexportarClick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(copy);
    buttons->addWidget(exportPdf);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);
}

void TFampliado::PlaceFrame(QMdiSubWindow& frame) const {
    frame.resize(900, 720);
    CentreInArea(frame);
}

// F1 is the main window's shortcut for the contents; in this window it names this window's page.
bool TFampliado::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            key->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void TFampliado::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        m_platform.help.ShowTopic(helpcons::kExtendedAnalysis);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TFampliado::LimitsChanged() {
    const QStringList texts{m_repeatabilityLimit->text(), m_intermediateLimit->text()};
    if (texts == m_judgedLimits) {
        return;
    }
    m_judgedLimits = texts;
    // Each limit on its own, so that a bad one leaves the other's verdict and is named alone.
    AcceptanceResult shown;
    QLineEdit* bad = nullptr;
    QString message;
    const auto judge = [&](QLineEdit& field, AcceptanceLimits limits, auto member) {
        try {
            shown.*member = Accept(m_snapshot.analysis, limits).*member;
        } catch (const Error& error) {
            if (!bad) {
                bad = &field;
                message = QString::fromUtf8(error.what());
            }
        }
    };
    judge(*m_repeatabilityLimit, {LimitOf(texts[0], m_separator), std::nullopt},
          &AcceptanceResult::repeatability);
    judge(*m_intermediateLimit, {std::nullopt, LimitOf(texts[1], m_separator)},
          &AcceptanceResult::intermediate);
    ShowAcceptance(shown);
    if (bad) {
        m_platform.messages.ShowMessage(message);
        bad->setFocus();
        bad->selectAll();
    }
}

void TFampliado::ShowAcceptance(const AcceptanceResult& result) {
    m_acceptance = AcceptanceTable(result, m_separator);
    m_acceptanceGrid->setRowCount(static_cast<int>(m_acceptance.rows.size()));
    std::vector<Acceptance> verdicts;
    for (const auto& figures : {result.repeatability, result.intermediate}) {
        if (figures) {
            verdicts.push_back(figures->verdict);
        }
    }
    const int verdictColumn = m_acceptanceGrid->columnCount() - 1;
    for (int row = 0; row < m_acceptanceGrid->rowCount(); ++row) {
        const QStringList& cells = m_acceptance.rows[static_cast<std::size_t>(row)];
        for (int column = 0; column < m_acceptanceGrid->columnCount(); ++column) {
            auto* cell = new QTableWidgetItem(cells[column]);
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            cell->setTextAlignment(Qt::AlignVCenter | AlignmentOf(m_acceptance, column));
            if (column == verdictColumn) {
                cell->setForeground(VerdictColour(verdicts[static_cast<std::size_t>(row)]));
                QFont bold = cell->font();
                bold.setBold(true);
                cell->setFont(bold);
            }
            m_acceptanceGrid->setItem(row, column, cell);
        }
    }
    FitToContents(*m_acceptanceGrid);
}

std::vector<ResultTable> TFampliado::ShownTables() const {
    std::vector<ResultTable> tables = m_tables;
    if (!m_acceptance.rows.empty()) {
        tables.insert(tables.begin() + 2, m_acceptance);
    }
    return tables;
}

void TFampliado::btncopiarClick() {
    QApplication::clipboard()->setText(TabSeparated(ShownTables()));
}

void TFampliado::btnexportarClick() {
    const QStringList fileTypes{QStringLiteral("Documento PDF (*.pdf)")};
    const std::optional<ChosenFile> chosen = m_platform.fileDialogs.ChooseFileToSave(
        {QStringLiteral("Exportar PDF"), fileTypes, fileTypes.constFirst(), QStringLiteral("pdf"),
         QStringLiteral("Análisis ampliado.pdf")});
    if (!chosen) {
        return;
    }
    try {
        ExportPdf(chosen->path);
    } catch (const Error& error) {
        m_platform.messages.ReportError(error.what());
    }
}

void TFampliado::ExportPdf(const QString& fileName) const {
    // The page is drawn into a file of its own, then takes the target's place whole: a failed
    // export leaves the target as it was and no part of a file behind.
    const QTemporaryDir drafts;
    if (!drafts.isValid()) {
        throw Error(FileErrorMessage(errno, std::filesystem::temp_directory_path()));
    }
    const QString draft = drafts.filePath(QStringLiteral("export.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(draft);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        printer.setDocName(QStringLiteral("Análisis ampliado"));
        QPainter painter;
        if (!painter.begin(&printer)) {
            throw Error(FileErrorMessage(EIO, draft.toStdString()));
        }
        // The painter's origin is the corner of the printable area.
        const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
        DrawPage(painter, QRectF(0, 0, printable.width(), printable.height()));
        painter.end();
    }
    QFile drawn(draft);
    if (!drawn.open(QIODevice::ReadOnly)) {
        throw Error(FileErrorMessage(EIO, draft.toStdString()));
    }
    const QByteArray bytes = drawn.readAll();
    ReplaceFile(std::filesystem::path(QFile::encodeName(fileName).toStdString()),
                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void TFampliado::DrawPage(QPainter& painter, const QRectF& pageArea) const {
    painter.save();
    QFont font = SansSerifFont(9);
    painter.setFont(font);
    const double line = QFontMetricsF(font, painter.device()).height();
    double y = pageArea.top();
    QFont heading = SansSerifFont(14);
    heading.setBold(true);
    painter.setFont(heading);
    const double headingLine = QFontMetricsF(heading, painter.device()).height();
    painter.drawText(QRectF(pageArea.left(), y, pageArea.width(), headingLine),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Análisis ampliado"));
    y += headingLine * 1.2;
    painter.setFont(font);
    for (const QString& field : {QStringLiteral("Método: ") + Text(m_snapshot.methodName),
                                 QStringLiteral("Fecha: ") + Text(m_snapshot.date)}) {
        painter.drawText(QRectF(pageArea.left(), y, pageArea.width(), line),
                         Qt::AlignLeft | Qt::AlignVCenter, field);
        y += line;
    }
    y += line * 0.5;
    const QRectF chartArea(pageArea.left(), y, pageArea.width(), pageArea.height() * 0.42);
    painter.setFont(SansSerifFont(kChartPointSize - 1));
    VariabilityChart(m_snapshot.values, m_flagged, m_separator, chartArea,
                     QFontMetricsF(painter.font(), painter.device()))
        .Draw(painter);
    y = chartArea.bottom() + line;
    painter.setFont(SansSerifFont(8));
    // A table that does not fit under the one before starts a page of its own.
    auto* pages = dynamic_cast<QPagedPaintDevice*>(painter.device());
    for (const ResultTable& table : ShownTables()) {
        const double height =
            DrawTable(painter, table, pageArea.left(), y, pageArea.width(), false);
        if (pages && y + height > pageArea.bottom() && y > pageArea.top()) {
            pages->newPage();
            y = pageArea.top();
        }
        y += DrawTable(painter, table, pageArea.left(), y, pageArea.width(), true);
    }
    painter.restore();
}

} // namespace orbeta
