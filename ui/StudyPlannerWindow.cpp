#include "ui/StudyPlannerWindow.h"

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

#include <exception>
#include <utility>
#include <variant>
#include <vector>

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
    const char* label; // with its access key
};

// In the order of PlanField. The access keys leave out those of the main window's menus (A, C,
// V, Y).
const FieldRow kFieldRows[] = {
    {"epromedio", "&Promedio esperado:"},
    {"esdrepetibilidad", "Desviación estándar de &repetibilidad:"},
    {"esddia", "Desviación estándar entre &días:"},
    {"esdanalista", "Desviación estándar entre a&nalistas:"},
    {"elimrepetibilidad", "Límite del RSD de r&epetibilidad (%):"},
    {"elimintermedia", "Límite del RSD de precisión &intermedia (%):"},
    {"eprobabilidad", "Pro&babilidad deseada (%):"},
};

const QColor kRecommendedRow(255, 255, 160);
constexpr int kFieldWidth = 140;

} // namespace

StudyPlannerWindow::StudyPlannerWindow(const Platform& platform, CheckedStudySource checkedStudy,
                                       QWidget* parent)
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

    const auto button = [this](const char* name, const char* caption,
                               void (StudyPlannerWindow::*click)()) {
        auto* pushButton = new QPushButton(QString::fromUtf8(caption), this);
        pushButton->setObjectName(QString::fromUtf8(name));
        connect(pushButton, &QPushButton::clicked, this, click);
        return pushButton;
    };
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(
        button("btntomar", "&Tomar del estudio", &StudyPlannerWindow::btntomarClick));
    buttons->addWidget(button("btncalcular", "Ca&lcular", &StudyPlannerWindow::btncalcularClick));
    m_copyButton = button("btncopiar", "C&opiar", &StudyPlannerWindow::btncopiarClick);
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
    // Tab goes on to the next control; the arrow keys move within the table.
    m_table->setTabKeyNavigation(false);

    m_recommendation = new QLabel(this);
    m_recommendation->setObjectName(QStringLiteral("lblrecomendacion"));
    m_recommendation->setWordWrap(true);
    m_recommendation->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(inputs);
    layout->addWidget(m_recommendation);
    layout->addWidget(m_table, 1);

    SetPlan(std::nullopt);
    // Connected once the fields hold their first texts: from then on a plan shown is always
    // the plan of the inputs shown.
    for (QLineEdit* field : m_fields) {
        connect(field, &QLineEdit::textChanged, this, [this] {
            if (m_plan) {
                SetPlan(std::nullopt);
            }
        });
    }
}

void StudyPlannerWindow::PlaceFrame(QMdiSubWindow& frame) const {
    FitAndCentreInArea(frame, QSize(960, 600));
}

QLineEdit& StudyPlannerWindow::FieldOf(PlanField field) const {
    return *m_fields[static_cast<std::size_t>(field)];
}

template <typename Work> void StudyPlannerWindow::Guarded(const char* failure, Work&& work) {
    try {
        work();
    } catch (const Error& error) {
        m_platform.messages.ReportError(error.what());
    } catch (const std::exception&) {
        m_platform.messages.ReportError(failure);
    }
}

void StudyPlannerWindow::btntomarClick() {
    Guarded("No se pudieron calcular el promedio y las desviaciones estándar del estudio.", [&] {
        const std::optional<Study> study = m_checkedStudy();
        if (!study) {
            return;
        }
        const char separator = m_platform.regionalSettings.DecimalSeparator();
        const PlanInputs spread = ExpectedSpreadOf(*study, separator);
        // Every text first, so that a failure leaves all four fields as they were.
        std::vector<std::pair<PlanField, QString>> texts;
        for (const auto& [field, value] :
             {std::pair{PlanField::Mean, spread.mean},
              std::pair{PlanField::SdRepeatability, spread.sdRepeatability},
              std::pair{PlanField::SdDay, spread.sdDay},
              std::pair{PlanField::SdAnalyst, spread.sdAnalyst}}) {
            texts.emplace_back(field, QString::fromStdString(FormatResult(value, separator)));
        }
        for (const auto& [field, text] : texts) {
            FieldOf(field).setText(text);
        }
    });
}

void StudyPlannerWindow::btncalcularClick() {
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
    Guarded("No se pudo calcular la tabla de diseños con estos datos.", [&] {
        const BusyCursor busy;
        SetPlan(PlanStudy(std::get<PlanInputs>(read)));
    });
}

void StudyPlannerWindow::SetPlan(std::optional<StudyPlan> shown) {
    m_plan = std::move(shown);
    m_copyButton->setEnabled(m_plan.has_value());
    m_table->setSortingEnabled(false);
    m_table->clear();
    if (!m_plan) {
        m_table->setRowCount(0);
        m_table->setColumnCount(0);
        m_recommendation->clear();
        return;
    }
    const StudyPlan& plan = *m_plan;
    const char separator = m_platform.regionalSettings.DecimalSeparator();
    const std::vector<PlanColumn> columns = PlanColumns(plan);
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
}

// What the plan was made for, a line an input with its label and value separated by a tab, and
// a blank line; then the table as it stands, headings first, its cells separated by tabs, each
// row ending in a line break; then the recommendation.
void StudyPlannerWindow::btncopiarClick() {
    Guarded("No se pudo copiar el plan al portapapeles.", [this] {
        const char separator = m_platform.regionalSettings.DecimalSeparator();
        const auto number = [separator](double value) {
            return QString::fromStdString(FormatResult(value, separator));
        };
        const auto limit = [&number](const std::optional<double>& value) {
            return value ? number(*value) : QStringLiteral("sin límite");
        };
        const PlanInputs& inputs = m_plan->inputs;
        const QString values[] = {number(inputs.mean),
                                  number(inputs.sdRepeatability),
                                  number(inputs.sdDay),
                                  number(inputs.sdAnalyst),
                                  limit(inputs.limitRepeatability),
                                  limit(inputs.limitIntermediate),
                                  number(inputs.probability)};
        QString text;
        const auto appendRow = [&text](const QStringList& cells) {
            text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
        };
        for (std::size_t index = 0; const FieldRow& row : kFieldRows) {
            appendRow({QString::fromUtf8(row.label).remove(QLatin1Char('&')), values[index++]});
        }
        appendRow({QStringLiteral("Estudios simulados por diseño:"),
                   QString::number(kPlanSimulatedStudies)});
        appendRow({QStringLiteral("Semilla:"), QString::number(kPlanSeed)});
        text += QLatin1Char('\n');
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
    });
}

} // namespace orbeta
