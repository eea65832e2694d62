#include "ui/Ufplan.h"

#include "study/Error.h"
#include "study/Numbers.h"
#include "ui/BusyCursor.h"
#include "ui/ChildPlacement.h"
#include "ui/Fonts.h"

#include <QClipboard>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <variant>

namespace orbeta {

namespace {

// A cell that sorts by the number it shows rather than by its text.
class NumberCell final : public QTableWidgetItem {
public:
    NumberCell(const QString& text, double value) : QTableWidgetItem(text), m_value(value) {
        setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        return m_value < static_cast<const NumberCell&>(other).m_value;
    }

private:
    double m_value;
};

struct FieldRow {
    const char* name;
    const char* label;
};

// In the order of PlanField.
const FieldRow kFieldRows[] = {
    {"epromedio", "Promedio esperado:"},
    {"esdrepetibilidad", "Desviación estándar de repetibilidad:"},
    {"esddia", "Desviación estándar entre días:"},
    {"esdanalista", "Desviación estándar entre analistas:"},
    {"elimrepetibilidad", "Límite del CV de repetibilidad (%):"},
    {"elimintermedia", "Límite del CV de precisión intermedia (%):"},
    {"eprobabilidad", "Probabilidad deseada (%):"},
};

const QColor kRecommendedRow(255, 255, 160);
constexpr int kFieldWidth = 140;

} // namespace

TFplan::TFplan(const Platform& platform, CheckedStudySource checkedStudy, QWidget* parent)
    : QWidget(parent), m_platform(platform), m_checkedStudy(std::move(checkedStudy)) {
    setObjectName(QStringLiteral("TFplan"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Planificar estudio"));
    setFont(SystemFont(10));

    auto* form = new QFormLayout;
    for (const FieldRow& row : kFieldRows) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QString::fromUtf8(row.name));
        field->setMaximumWidth(kFieldWidth);
        form->addRow(QString::fromUtf8(row.label), field);
        m_fields.push_back(field);
    }
    FieldOf(PlanField::Probability)
        .setText(QString::fromStdString(FormatResult(
            PlanInputs{}.probability, m_platform.regionalSettings.DecimalSeparator())));

    const auto button = [this](const char* name, const char* caption, void (TFplan::*click)()) {
        auto* pushButton = new QPushButton(QString::fromUtf8(caption), this);
        pushButton->setObjectName(QString::fromUtf8(name));
        connect(pushButton, &QPushButton::clicked, this, click);
        return pushButton;
    };
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(button("btntomar", "Tomar del estudio", &TFplan::btntomarClick));
    buttons->addWidget(button("btncalcular", "Calcular", &TFplan::btncalcularClick));
    m_copyButton = button("btncopiar", "Copiar", &TFplan::btncopiarClick);
    // There is nothing to copy before the first plan.
    m_copyButton->setEnabled(false);
    buttons->addWidget(m_copyButton);
    buttons->addStretch();

    auto* inputs = new QHBoxLayout;
    inputs->addLayout(form);
    inputs->addSpacing(12);
    inputs->addLayout(buttons);
    inputs->addStretch();

    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("stgplan"));
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);

    m_recommendation = new QLabel(this);
    m_recommendation->setObjectName(QStringLiteral("lblrecomendacion"));
    m_recommendation->setWordWrap(true);
    m_recommendation->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(inputs);
    layout->addWidget(m_recommendation);
    layout->addWidget(m_table, 1);
}

void TFplan::PlaceFrame(QMdiSubWindow& frame) const {
    frame.resize(960, 600);
    CentreInArea(frame);
}

QLineEdit& TFplan::FieldOf(PlanField field) const {
    return *m_fields[static_cast<std::size_t>(field)];
}

void TFplan::btntomarClick() {
    const std::optional<Study> study = m_checkedStudy();
    if (!study) {
        return;
    }
    const char separator = m_platform.regionalSettings.DecimalSeparator();
    try {
        const PlanInputs spread = ExpectedSpreadOf(*study, separator);
        for (const auto& [field, value] :
             {std::pair{PlanField::Mean, spread.mean},
              std::pair{PlanField::SdRepeatability, spread.sdRepeatability},
              std::pair{PlanField::SdDay, spread.sdDay},
              std::pair{PlanField::SdAnalyst, spread.sdAnalyst}}) {
            FieldOf(field).setText(QString::fromStdString(FormatResult(value, separator)));
        }
    } catch (const Error& error) {
        m_platform.messages.ReportError(error.what());
    }
}

void TFplan::btncalcularClick() {
    PlanTexts texts;
    std::string* const textOf[] = {
        &texts.mean,       &texts.sdRepeatability,    &texts.sdDay,
        &texts.sdAnalyst,  &texts.limitRepeatability, &texts.limitIntermediate,
        &texts.probability};
    for (std::size_t index = 0; index < m_fields.size(); ++index) {
        *textOf[index] = m_fields[index]->text().toStdString();
    }
    const auto read = ReadPlanInputs(texts, m_platform.regionalSettings.DecimalSeparator());
    if (const auto* failure = std::get_if<PlanInputFailure>(&read)) {
        m_platform.messages.ShowMessage(QString::fromStdString(failure->message));
        QLineEdit& field = FieldOf(failure->field);
        field.setFocus();
        field.selectAll();
        return;
    }
    try {
        const BusyCursor busy;
        ShowPlan(PlanStudy(std::get<PlanInputs>(read)));
    } catch (const Error& error) {
        m_platform.messages.ReportError(error.what());
    }
}

void TFplan::ShowPlan(const StudyPlan& plan) {
    const char separator = m_platform.regionalSettings.DecimalSeparator();
    const std::vector<PlanColumn> columns = PlanColumns(plan);
    m_table->setSortingEnabled(false);
    m_table->clear();
    m_table->setColumnCount(static_cast<int>(columns.size()));
    m_table->setRowCount(static_cast<int>(plan.designs.size()));
    QStringList headings;
    for (const PlanColumn& column : columns) {
        headings.append(QString::fromUtf8(column.heading));
    }
    m_table->setHorizontalHeaderLabels(headings);
    for (int row = 0; const PlannedDesign& design : plan.designs) {
        const bool recommended = static_cast<std::size_t>(row) == plan.recommended;
        for (int column = 0; const PlanColumn& figure : columns) {
            const double value = figure.value(design);
            auto* cell =
                new NumberCell(QString::fromStdString(FormatResult(value, separator)), value);
            if (recommended) {
                cell->setBackground(kRecommendedRow);
                QFont bold = font();
                bold.setBold(true);
                cell->setFont(bold);
            }
            m_table->setItem(row, column++, cell);
        }
        ++row;
    }
    m_table->resizeColumnsToContents();
    m_table->setSortingEnabled(true);
    m_table->horizontalHeader()->setSortIndicatorShown(false);
    // Once the table has laid its new rows out, the recommended one is brought into view.
    QTimer::singleShot(0, m_table, [table = m_table, row = static_cast<int>(plan.recommended)] {
        table->scrollToItem(table->item(row, 0), QAbstractItemView::PositionAtCenter);
    });
    m_recommendation->setText(QString::fromStdString(RecommendationSentence(plan, separator)));
    m_copyButton->setEnabled(true);
}

// The table as it stands, headings first, its cells separated by tabs, each row ending in a
// line break; then the recommendation.
void TFplan::btncopiarClick() {
    QString text;
    const auto appendRow = [&text](const QStringList& cells) {
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    };
    QStringList headings;
    for (int column = 0; column < m_table->columnCount(); ++column) {
        headings.append(m_table->horizontalHeaderItem(column)->text());
    }
    appendRow(headings);
    for (int row = 0; row < m_table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < m_table->columnCount(); ++column) {
            cells.append(m_table->item(row, column)->text());
        }
        appendRow(cells);
    }
    text += m_recommendation->text() + QLatin1Char('\n');
    QGuiApplication::clipboard()->setText(text);
}

} // namespace orbeta
