#include "ui/Ufanova.h"

#include "engine/ReportText.h"
#include "study/Numbers.h"
#include "ui/ChildPlacement.h"
#include "ui/Fonts.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTextDocument>

#include <functional>
#include <utility>
#include <vector>

namespace orbeta {

namespace {

constexpr int kGridHeight = 161;
constexpr QSize kOuterSize(601, 300);

// The table's grid: it tells its window of each character key once it has acted on it, the Tab
// key included, and of the focus leaving it.
class AnovaGrid final : public QTableWidget {
public:
    AnovaGrid(std::function<void()> keyTyped, std::function<void()> left, QWidget* parent)
        : QTableWidget(6, 6, parent), m_keyTyped(std::move(keyTyped)), m_left(std::move(left)) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        QTableWidget::keyPressEvent(event);
        const bool isTab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
        if (isTab || !event->text().isEmpty()) {
            m_keyTyped();
        }
    }
    void focusOutEvent(QFocusEvent* event) override {
        QTableWidget::focusOutEvent(event);
        m_left();
    }

private:
    std::function<void()> m_keyTyped;
    std::function<void()> m_left;
};

// The three heading rows; the sources and their figures fill the rows below.
const char* const kHeadings[3][6] = {
    {"         FUENTE", "    GRADOS", "      SUMA", "     MEDIA", "", ""},
    {"             DE", "        DE", "        DE", "        DE", "      fcal", "     Pfcal"},
    {"      VARIACIÓN", "  LIBERTAD", " CUADRADOS", " CUADRADOS", "", ""},
};

} // namespace

TfinfoA::TfinfoA(const AnovaTable& anova, char decimalSeparator, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("TfinfoA"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Análisis de la varianza"));
    setFont(SystemFont(13));

    m_grid = new AnovaGrid([this] { stganovaKeyPress(); }, [this] { stganovaExit(); }, this);
    m_grid->setObjectName(QStringLiteral("stganova"));
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setDefaultSectionSize(100);
    m_grid->verticalHeader()->setDefaultSectionSize(24);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setTabKeyNavigation(true);

    auto* memo = new QPlainTextEdit(this);
    memo->setObjectName(QStringLiteral("memoa"));
    memo->setGeometry(0, kGridHeight, 681, 245);
    memo->setReadOnly(true);
    memo->setEnabled(false);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QTextOption centred = memo->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    memo->document()->setDefaultTextOption(centred);

    m_grid->setColumnWidth(0, 140);
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        for (int column = 0; column < m_grid->columnCount(); ++column) {
            auto* cell = new QTableWidgetItem(row < 3 ? QString::fromUtf8(kHeadings[row][column])
                                                      : QString());
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            m_grid->setItem(row, column, cell);
        }
    }
    struct Source {
        const char* name;
        std::vector<double> figures;
    };
    const Source sources[] = {
        {"ANALISTA",
         {anova.dfAnalyst, anova.ssAnalyst, anova.msAnalyst, anova.fAnalyst, anova.pAnalyst}},
        {"DIA", {anova.dfDay, anova.ssDay, anova.msDay, anova.fDay, anova.pDay}},
        {"ERROR DE MÉTODO", {anova.dfError, anova.ssError, anova.msError}},
    };
    for (int row = 3; const Source& source : sources) {
        m_grid->item(row, 0)->setText(QString::fromUtf8(source.name));
        for (int column = 1; const double figure : source.figures) {
            m_grid->item(row, column++)
                ->setText(QString::fromStdString(FormatResult(figure, decimalSeparator)));
        }
        ++row;
    }

    memo->appendPlainText(QString::fromStdString(AnalystConclusion(anova.pAnalyst)));
    memo->appendPlainText(QString::fromStdString(DayConclusion(anova.pDay)));
}

void TfinfoA::PlaceFrame(QMdiSubWindow& frame) const {
    frame.resize(kOuterSize);
    CentreInArea(frame);
}

QSize TfinfoA::sizeHint() const {
    return ClientSizeOf(*this, kOuterSize);
}

QSize TfinfoA::minimumSizeHint() const {
    return {340, kGridHeight + 48};
}

void TfinfoA::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_grid->setGeometry(0, 0, width(), kGridHeight);
}

// The Tab key walks the cells and, from the bottom-right one, leaves the grid.
void TfinfoA::stganovaKeyPress() {
    const int last = m_grid->columnCount() - 1;
    if (m_grid->currentColumn() == last) {
        m_grid->setTabKeyNavigation(m_grid->currentRow() != m_grid->rowCount() - 1);
    }
}

void TfinfoA::stganovaExit() {
    m_grid->setTabKeyNavigation(true);
    m_grid->setCurrentCell(0, m_grid->currentColumn());
}

} // namespace orbeta
