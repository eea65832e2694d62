#include "ui/Fdatos.h"

#include "study/Error.h"
#include "ui/CaptureGrid.h"
#include "ui/Fonts.h"
#include "ui/LimitedField.h"
#include "ui/StudyDocument.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <exception>
#include <utility>

namespace orbeta {

namespace {

enum PageIndex { kGeneralPage = 0, kDataPage = 1 };

QString FromCore(const std::string& text) {
    return QString::fromStdString(text);
}

std::string ToCore(const QString& text) {
    return text.toStdString();
}

} // namespace

TFinforma::TFinforma(const Platform& platform, StudyDocument& document, std::function<bool()> save,
                     QWidget* parent)
    : QWidget(parent), m_platform(platform), m_document(&document), m_save(std::move(save)) {
    setObjectName(QStringLiteral("TFinforma"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(SystemFont(13));

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("THojas"));
    m_pages->tabBar()->setFont(SansSerifFont(8));
    m_pages->tabBar()->setFocusPolicy(Qt::TabFocus);
    m_pages->tabBar()->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pages);

    auto* general = new QWidget;
    CreateGeneralPage(*general);
    m_pages->addTab(general, QStringLiteral("Información General"));
    auto* data = new QWidget;
    CreateDataPage(*data);
    m_pages->addTab(data, QStringLiteral("Captura Datos"));
    CreatePopupMenu();

    // FormCreate: the header cells of a new study.
    ShowGridOf(NewStudy());
    m_grid->SetCurrentCell(1, 1);

    connect(qApp, &QApplication::focusChanged, this, &TFinforma::FocusChanged);
    document.SetStudySource([this] { return StudySnapshot(); },
                            [this] { return RunStudyChecks(); });
}

TFinforma::~TFinforma() {
    // Closed, the window has let the document go already, and a newer window may hold it.
    if (m_document && !m_checksHeld) {
        m_document->SetStudySource(nullptr, nullptr);
    }
}

void TFinforma::CreateGeneralPage(QWidget& page) {
    auto* panel = new QFrame(&page);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(0, 10, 625, 300);

    struct FieldRow {
        LimitedField*& field;
        const char* name;
        const char* label;
        QPoint labelAt;
        QRect geometry;
        int limit;
        const char* initialText;
    };
    const FieldRow rows[] = {
        {m_methodName, "emetodo", "Nombre del &método:", {16, 24}, {16, 48, 577, 24}, 60, ""},
        {m_date, "efecha", "&Fecha:", {16, 88}, {16, 112, 185, 24}, 20, ""},
        {m_analystCount,
         "meanalista",
         "Número de A&nalistas:",
         {16, 160},
         {16, 184, 33, 24},
         2,
         "2"},
        {m_dayCount, "medias", "Número de &días:", {168, 160}, {168, 184, 33, 24}, 2, "2"},
        {m_replicateCount,
         "mereplica",
         "Número de  &replicaciones:",
         {303, 160},
         {304, 184, 33, 24},
         2,
         "3"},
    };
    QWidget* previous = nullptr;
    for (const FieldRow& row : rows) {
        row.field = new LimitedField(row.limit, panel);
        row.field->setObjectName(QString::fromUtf8(row.name));
        row.field->setGeometry(row.geometry);
        row.field->setText(QString::fromUtf8(row.initialText));
        row.field->installEventFilter(this);
        connect(row.field, &QLineEdit::textEdited, this, &TFinforma::MarkModified);
        auto* label = new QLabel(QString::fromUtf8(row.label), panel);
        label->move(row.labelAt);
        label->setBuddy(row.field);
        if (previous) {
            setTabOrder(previous, row.field);
        }
        previous = row.field;
    }

    m_layoutButton = new QPushButton(QStringLiteral("Ace&ptar nuevo formato"), panel);
    m_layoutButton->setObjectName(QStringLiteral("btnsinumero"));
    m_layoutButton->setGeometry(152, 232, 201, 33);
    m_layoutButton->setAutoDefault(true);
    m_layoutButton->installEventFilter(this);
    connect(m_layoutButton, &QPushButton::clicked, this, &TFinforma::btnsinumeroClick);
    setTabOrder(previous, m_layoutButton);
}

void TFinforma::CreateDataPage(QWidget& page) {
    m_grid = new CaptureGrid(&page);
    m_grid->setObjectName(QStringLiteral("stgdatos"));
    const QString hint = QStringLiteral("Opciones bóton derecho");
    m_grid->setToolTip(hint);
    m_grid->setStatusTip(hint);
    auto* layout = new QVBoxLayout(&page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);

    connect(m_grid, &CaptureGrid::CharacterTyped, this, &TFinforma::stgdatosKeyPress);
    connect(m_grid, &CaptureGrid::CellsPasted, this, &TFinforma::CellsPasted);
    connect(m_grid, &QTableWidget::itemChanged, this, [this] {
        if (m_grid->HasFocusWithin()) {
            MarkModified();
        }
    });
    connect(m_grid, &CaptureGrid::TabOut, this, [this] { m_pages->tabBar()->setFocus(); });
}

void TFinforma::CreatePopupMenu() {
    m_popupMenu = new QMenu(this);
    m_popupMenu->setObjectName(QStringLiteral("Popmenu"));
    const auto addItem = [this](const char* name, const QString& caption, const QString& hint,
                                void (TFinforma::*command)()) {
        QAction* item = m_popupMenu->addAction(caption);
        item->setObjectName(QString::fromUtf8(name));
        item->setStatusTip(hint);
        connect(item, &QAction::triggered, this, command);
        return item;
    };
    m_anovaItem = addItem("pmnuanalisis", QStringLiteral("&Análisis de la varianza"),
                          QStringLiteral("Presenta inferencia de recobros experimentales"),
                          &TFinforma::AnovaRequested);
    m_precisionItem =
        addItem("pmnuprecs", QStringLiteral("&Precisión de método"),
                QStringLiteral("Precisión de método"), &TFinforma::PrecisionRequested);
    m_extendedItem = addItem("pmnuampliado", QStringLiteral("Análisis a&mpliado"),
                             QStringLiteral("Componentes de la varianza, intervalos de confianza, "
                                            "criterio de aceptación, pruebas de Cochran y Grubbs "
                                            "y gráfico de variabilidad"),
                             &TFinforma::ExtendedAnalysisRequested);
    SetPopupItemsEnabled(false);

    // Copy and paste are the grid's own keys; the menu shows them for the mouse.
    m_popupMenu->addSeparator();
    QAction* copy =
        m_popupMenu->addAction(QStringLiteral("Copiar"), m_grid, &CaptureGrid::CopyBlock);
    copy->setObjectName(QStringLiteral("pmnucopiar"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setStatusTip(QStringLiteral("Copia las celdas seleccionadas"));
    QAction* paste =
        m_popupMenu->addAction(QStringLiteral("Pegar"), m_grid, &CaptureGrid::PasteBlock);
    paste->setObjectName(QStringLiteral("pmnupegar"));
    paste->setShortcut(QKeySequence::Paste);
    paste->setStatusTip(QStringLiteral("Pega un bloque de datos desde la celda actual"));

    // The menu is a window of its own: its hints are passed to the status line by hand.
    connect(m_popupMenu, &QMenu::hovered, this,
            [this](const QAction* item) { emit HintChanged(item->statusTip()); });
    connect(m_popupMenu, &QMenu::aboutToHide, this, [this] { emit HintChanged(QString()); });
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_popupMenu->popup(m_grid->viewport()->mapToGlobal(at)); });
}

QSize TFinforma::sizeHint() const {
    return {630, 326};
}

QSize TFinforma::minimumSizeHint() const {
    return {360, 220};
}

Study TFinforma::StudySnapshot() const {
    Study study;
    study.methodName = ToCore(m_methodName->text());
    study.date = ToCore(m_date->text());
    study.analystCount = ToCore(m_analystCount->text());
    study.dayCount = ToCore(m_dayCount->text());
    study.replicateCount = ToCore(m_replicateCount->text());
    study.gridColumns = m_grid->GridColumns();
    study.gridRows = m_grid->GridRows();
    for (int column = 0; column < study.gridColumns; ++column) {
        for (int row = 0; row < study.gridRows; ++row) {
            study.SetCell(column, row, ToCore(m_grid->CellText(column, row)));
        }
    }
    return study;
}

void TFinforma::ShowStudy(const Study& study) {
    m_methodName->ShowText(FromCore(study.methodName));
    m_date->ShowText(FromCore(study.date));
    m_analystCount->ShowText(FromCore(study.analystCount));
    m_dayCount->ShowText(FromCore(study.dayCount));
    m_replicateCount->ShowText(FromCore(study.replicateCount));
    ShowGridOf(study);
}

void TFinforma::ShowGridOf(const Study& study) {
    m_grid->SetGridSize(study.gridColumns, study.gridRows);
    for (int column = 0; column < study.gridColumns; ++column) {
        for (int row = column == 0 ? 1 : 0; row < study.gridRows; ++row) {
            m_grid->SetCellText(column, row, FromCore(study.Cell(column, row)));
        }
    }
}

bool TFinforma::RunStudyChecks() {
    const auto failure = ValidateStudy(StudySnapshot());
    if (failure) {
        ShowCheckFailure(failure->message, failure->page, ControlOf(failure->focus));
    }
    return !failure;
}

void TFinforma::SetPopupItemsEnabled(bool enabled) {
    m_anovaItem->setEnabled(enabled);
    m_precisionItem->setEnabled(enabled);
    m_extendedItem->setEnabled(enabled);
}

void TFinforma::THojasEnter() {
    m_pages->setCurrentIndex(kGeneralPage);
    m_methodName->setFocus();
}

void TFinforma::THojasClick() {
    if (m_pages->currentIndex() == kGeneralPage) {
        m_methodName->setFocus();
    }
}

void TFinforma::FieldKeyPress(LimitedField& field, const QKeyEvent& key) {
    if (!ProducesCharacter(key)) {
        return;
    }
    MarkModified();
    const bool isEnter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    if (!isEnter || field.text().isEmpty()) {
        return;
    }
    LimitedField* const chain[] = {m_methodName, m_date, m_analystCount, m_dayCount,
                                   m_replicateCount};
    for (std::size_t index = 0; index < std::size(chain); ++index) {
        if (chain[index] == &field) {
            QWidget* next = index + 1 < std::size(chain) ? static_cast<QWidget*>(chain[index + 1])
                                                         : m_layoutButton;
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

bool TFinforma::meanalistaExit() {
    return CountFieldExit(*m_analystCount, StudyControl::AnalystCount);
}

bool TFinforma::mediasExit() {
    return CountFieldExit(*m_dayCount, StudyControl::DayCount);
}

bool TFinforma::mereplicaExit() {
    return CountFieldExit(*m_replicateCount, StudyControl::ReplicateCount);
}

bool TFinforma::CountFieldExit(LimitedField& field, StudyControl control) {
    const auto message = CheckCountField(control, ToCore(field.text()));
    if (message) {
        ShowCheckFailure(*message, StudyPage::GeneralInformation, field);
    }
    return !message;
}

void TFinforma::btnsinumeroClick() {
    // A count that skipped its own check (the button's access key pressed in its field) is
    // checked here first, so the layout is only ever applied to counts in range.
    if (!RunFocusChecks() || !meanalistaExit() || !mediasExit() || !mereplicaExit()) {
        return;
    }
    Study study = StudySnapshot();
    try {
        ApplyStudyLayout(study);
    } catch (const Error& error) {
        m_platform.messages.ReportError(error.what());
        return;
    } catch (const std::exception&) {
        m_platform.messages.ReportInternalError(QStringLiteral("Aceptar nuevo formato"));
        return;
    }
    ShowGridOf(study);
    m_pages->setCurrentIndex(kDataPage);
    m_grid->setFocus(Qt::OtherFocusReason);
}

bool TFinforma::stgdatosEnter() {
    try {
        if (const auto failure = CheckGridLayout(StudySnapshot())) {
            ShowCheckFailure(failure->message, failure->page, ControlOf(failure->focus));
            return false;
        }
    } catch (const Error& error) {
        m_platform.messages.ReportError(error.what());
        return false;
    } catch (const std::exception&) {
        m_platform.messages.ReportInternalError(QString());
        return false;
    }
    return true;
}

void TFinforma::stgdatosKeyPress() {
    MarkModified();
    const int column = m_grid->CurrentColumn();
    const int row = m_grid->CurrentRow();
    if (column != m_grid->GridColumns() - 1) {
        return;
    }
    if (m_grid->IsLastDataCell(column, row)) {
        m_grid->SetTabsMoveBetweenCells(false);
        LastCellTyped();
    } else {
        m_grid->SetTabsMoveBetweenCells(true);
    }
}

void TFinforma::CellsPasted(const PasteCount& count) {
    MarkModified();
    if (count.wroteLastCell) {
        LastCellTyped();
    }
    if (count.written < count.offered) {
        m_platform.messages.ShowMessage(
            QStringLiteral("Se pegaron %1 de %2 datos: el bloque no cabe en la tabla a partir de "
                           "la celda actual.")
                .arg(count.written)
                .arg(count.offered));
    }
}

void TFinforma::LastCellTyped() {
    emit LastDataCellTyped();
    SetPopupItemsEnabled(false);
}

bool TFinforma::stgdatosExit() {
    m_grid->SetTabsMoveBetweenCells(true);
    m_grid->SetCurrentCell(1, 1);
    const auto message = CheckGridData(StudySnapshot(), DecimalSeparator());
    if (message) {
        ShowCheckFailure(*message, StudyPage::DataCapture, *m_grid);
    }
    return !message;
}

void TFinforma::FocusChanged(QWidget* old, QWidget* now) {
    // The cell editor comes and goes with the current cell: it counts as the grid.
    const auto control = [this](QWidget* widget) {
        return m_grid->isAncestorOf(widget) ? m_grid : widget;
    };
    // A page switched by a click on its tab hands the focus to this window's frame on its way
    // to the next control: a move between two controls of this window all the same.
    const QWidget* frame = parentWidget();
    const QPointer<QWidget> leftForFrame = std::exchange(m_leftForFrame, nullptr);
    if (now && now == frame && old && isAncestorOf(old)) {
        m_leftForFrame = control(old);
        return;
    }
    if (old && old == frame) {
        old = leftForFrame;
    }
    if (m_checksHeld || !old || !now || !isAncestorOf(old) || !isAncestorOf(now)) {
        return;
    }
    if (control(old) == control(now)) {
        return;
    }
    // The checks wait until the focus has settled: a message box shown while Qt is still
    // telling its own widgets of the move would leave them holding widgets it has deleted.
    if (m_pendingFocusMoves.empty()) {
        QMetaObject::invokeMethod(this, &TFinforma::RunFocusChecks, Qt::QueuedConnection);
    }
    m_pendingFocusMoves.push_back({control(old), control(now)});
}

bool TFinforma::RunFocusChecks() {
    const std::vector<FocusMove> moves = std::exchange(m_pendingFocusMoves, {});
    for (const FocusMove& move : moves) {
        if (move.from && move.to && !CheckFocusMove(*move.from, *move.to)) {
            return false;
        }
    }
    return true;
}

bool TFinforma::CheckFocusMove(const QWidget& old, const QWidget& now) {
    // The check of the control the focus left comes first; when it fails, the focus is back
    // there and the control it was going to is not entered.
    bool passed = true;
    if (&old == m_analystCount) {
        passed = meanalistaExit();
    } else if (&old == m_dayCount) {
        passed = mediasExit();
    } else if (&old == m_replicateCount) {
        passed = mereplicaExit();
    } else if (&old == m_grid) {
        passed = stgdatosExit();
    }
    if (passed && &now == m_grid && m_grid->HasFocusWithin()) {
        passed = stgdatosEnter();
    }
    return passed;
}

void TFinforma::ShowCheckFailure(const std::string& message, StudyPage page, QWidget& focus) {
    const QScopedValueRollback<bool> holdChecks(m_checksHeld, true);
    m_platform.messages.ShowMessage(FromCore(message));
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        frame->mdiArea()->setActiveSubWindow(frame);
    }
    m_pages->setCurrentIndex(page == StudyPage::GeneralInformation ? kGeneralPage : kDataPage);
    focus.setFocus(Qt::OtherFocusReason);
}

QWidget& TFinforma::ControlOf(StudyControl control) {
    switch (control) {
    case StudyControl::AnalystCount:
        return *m_analystCount;
    case StudyControl::DayCount:
        return *m_dayCount;
    case StudyControl::ReplicateCount:
        return *m_replicateCount;
    case StudyControl::Grid:
        break;
    }
    return *m_grid;
}

void TFinforma::MarkModified() {
    m_document->NoteChange();
}

char TFinforma::DecimalSeparator() const {
    return m_platform.regionalSettings.DecimalSeparator();
}

bool TFinforma::SettleChanges() {
    if (!m_document->IsModified()) {
        return true;
    }
    switch (m_platform.messages.AskToSaveChanges()) {
    case MessageBoxes::CloseAnswer::Cancel:
        return false;
    case MessageBoxes::CloseAnswer::Save:
        return m_save();
    case MessageBoxes::CloseAnswer::Discard:
        m_document->Discard();
        break;
    }
    return true;
}

void TFinforma::closeEvent(QCloseEvent* event) {
    // A study that could not be saved after all stays open, and so does one whose question was
    // cancelled.
    if (!SettleChanges()) {
        event->ignore();
        return;
    }
    m_checksHeld = true;
    m_document->Close();
    event->accept();
}

bool TFinforma::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress) {
        for (LimitedField* field :
             {m_methodName, m_date, m_analystCount, m_dayCount, m_replicateCount}) {
            if (watched != field) {
                continue;
            }
            const auto& key = *static_cast<QKeyEvent*>(event);
            // Alt with a key that no access key took types nothing.
            if (AltTypesNothing(key)) {
                return true;
            }
            FieldKeyPress(*field, key);
        }
    }
    // The button's access key presses it where the focus is, as the count checks expect.
    if (watched == m_layoutButton && type == QEvent::Shortcut) {
        m_layoutButton->click();
        return true;
    }
    if (watched == m_pages->tabBar() && type == QEvent::MouseButtonRelease) {
        THojasClick();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orbeta
