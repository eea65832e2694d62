#include "ui/CaptureGrid.h"

#include "study/Study.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace orbeta {

namespace {

constexpr int kColumnWidth = 110;
constexpr int kRowHeight = 24;

// How a missing result shows, in its cell and in the open cell editor.
constexpr Qt::GlobalColor kMissingResultColour = Qt::darkGray;

bool MarksMissing(const QString& text) {
    return IsMissingResult(text.toStdString());
}

// A data cell: it holds its text as typed, pasted or loaded, and shows a text that marks its
// result missing as the study reads it, «NA» in grey, whatever its case and blanks.
class ResultCell final : public QTableWidgetItem {
public:
    using QTableWidgetItem::QTableWidgetItem;

    QVariant data(int role) const override {
        if ((role == Qt::DisplayRole || role == Qt::ForegroundRole) &&
            MarksMissing(QTableWidgetItem::data(Qt::EditRole).toString())) {
            return role == Qt::DisplayRole
                       ? QVariant(QString::fromUtf8(kMissingResult.data(), kMissingResult.size()))
                       : QVariant(QBrush(kMissingResultColour));
        }
        return QTableWidgetItem::data(role);
    }
};

// The editor's look: outlined, so that the current cell shows even while it and the grid are
// empty, and its text grey while it marks the result missing.
void StyleEditor(QLineEdit& editor) {
    QString sheet = QStringLiteral("QLineEdit { border: 2px solid palette(highlight); ");
    if (MarksMissing(editor.text())) {
        sheet += QStringLiteral("color: %1; ").arg(QColor(kMissingResultColour).name());
    }
    sheet += QLatin1Char('}');
    if (editor.styleSheet() != sheet) {
        editor.setStyleSheet(sheet);
    }
}

// A key that would change a missing result into something else: Backspace, Delete, or one that
// types a character other than a blank (blanks around the mark keep it).
bool ReplacesMissingResult(const QKeyEvent& key) {
    return key.key() == Qt::Key_Backspace || key.key() == Qt::Key_Delete ||
           (ProducesCharacter(key) && key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter &&
            key.text() != QStringLiteral(" "));
}

bool IsArrow(const QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

// The cell editor: whatever is typed reaches the cell at once; Tab, Enter, copy and paste are
// the grid's, not the editor's.
class CellDelegate final : public QStyledItemDelegate {
public:
    explicit CellDelegate(CaptureGrid& grid) : QStyledItemDelegate(&grid), m_grid(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        StyleEditor(*editor);
        connect(editor, &QLineEdit::textChanged, editor, [editor] { StyleEditor(*editor); });
        // Right-clicking the editor opens the grid's own menu.
        editor->setContextMenuPolicy(Qt::NoContextMenu);
        const QPersistentModelIndex cell(index);
        connect(editor, &QLineEdit::textEdited, &m_grid,
                [this, cell](const QString& text) { m_grid.model()->setData(cell, text); });
        Q_UNUSED(option);
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        // The editor's own change, come back from the cell: setting it again would move the
        // cursor to the end and wipe the editor's undo.
        const auto* line = qobject_cast<const QLineEdit*>(editor);
        if (line && line->text() == index.data(Qt::EditRole).toString()) {
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

protected:
    bool eventFilter(QObject* editor, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste)) {
                event->accept();
                return true;
            }
        }
        if (event->type() != QEvent::KeyPress) {
            return QStyledItemDelegate::eventFilter(editor, event);
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            m_grid.CopyBlock();
            return true;
        }
        if (key->matches(QKeySequence::Paste)) {
            m_grid.PasteBlock();
            return true;
        }
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            m_grid.TabPressed(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
        if (AltTypesNothing(*key)) {
            return true;
        }
        if (key->modifiers() == Qt::ShiftModifier && IsArrow(*key)) {
            m_grid.ExtendBlock(*key);
            return true;
        }
        if (ProducesCharacter(*key)) {
            emit m_grid.CharacterTyped();
        }
        // Enter leaves the editor open on its cell.
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            return true;
        }
        // A missing result is one mark, not two letters: a key that edits it replaces it whole,
        // as one step the editor's undo takes back.
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (line && MarksMissing(line->text()) && ReplacesMissingResult(*key)) {
            line->selectAll();
        }
        return QStyledItemDelegate::eventFilter(editor, event);
    }

private:
    CaptureGrid& m_grid;
};

} // namespace

// Desktops report AltGr either as a switch of the keyboard group or as Ctrl and Alt together.
bool IsAltGr(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return modifiers.testFlag(Qt::GroupSwitchModifier) ||
           (modifiers.testFlag(Qt::ControlModifier) && modifiers.testFlag(Qt::AltModifier));
}

bool AltTypesNothing(const QKeyEvent& event) {
    return event.modifiers().testFlag(Qt::AltModifier) && !IsAltGr(event);
}

bool ProducesCharacter(const QKeyEvent& event) {
    if (event.text().isEmpty() ||
        (!IsAltGr(event) &&
         (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))) {
        return false;
    }
    switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Delete:
        return false;
    default:
        return true;
    }
}

CaptureGrid::CaptureGrid(QWidget* parent) : QTableWidget(parent) {
    setItemDelegate(new CellDelegate(*this));
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::SelectedClicked);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        header->setHighlightSections(false);
    }
    horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    horizontalHeader()->setFixedHeight(kRowHeight);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setFixedWidth(kColumnWidth);
}

void CaptureGrid::SetGridSize(int columns, int rows) {
    setColumnCount(columns - 1);
    setRowCount(rows - 1);
}

QString CaptureGrid::CellText(int column, int row) const {
    const QTableWidgetItem* cell = column == 0 ? verticalHeaderItem(row - 1)
                                   : row == 0  ? horizontalHeaderItem(column - 1)
                                               : item(row - 1, column - 1);
    return cell ? cell->data(Qt::EditRole).toString() : QString();
}

void CaptureGrid::SetCellText(int column, int row, const QString& text) {
    if (column == 0) {
        setVerticalHeaderItem(row - 1, new QTableWidgetItem(text));
    } else if (row == 0) {
        setHorizontalHeaderItem(column - 1, new QTableWidgetItem(text));
    } else if (QTableWidgetItem* cell = item(row - 1, column - 1)) {
        cell->setText(text);
    } else {
        setItem(row - 1, column - 1, new ResultCell(text));
    }
}

void CaptureGrid::SetCurrentCell(int column, int row) {
    setCurrentCell(row - 1, column - 1);
}

void CaptureGrid::ExtendBlock(const QKeyEvent& arrow) {
    QKeyEvent move(QEvent::KeyPress, arrow.key(), arrow.modifiers());
    QTableWidget::keyPressEvent(&move);
}

bool CaptureGrid::HasFocusWithin() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == this || isAncestorOf(focus));
}

void CaptureGrid::CopyBlock() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    const QTableWidgetSelectionRange block =
        ranges.size() == 1 ? ranges.constFirst()
                           : QTableWidgetSelectionRange(currentRow(), currentColumn(), currentRow(),
                                                        currentColumn());
    QStringList lines;
    for (int row = block.topRow(); row <= block.bottomRow(); ++row) {
        QStringList cells;
        for (int column = block.leftColumn(); column <= block.rightColumn(); ++column) {
            cells.append(CellText(column + 1, row + 1));
        }
        lines.append(cells.join(QLatin1Char('\t')));
    }
    QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

void CaptureGrid::PasteBlock() {
    QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.constLast().isEmpty()) {
        lines.removeLast();
    }
    PasteCount count;
    for (qsizetype line = 0; line < lines.size(); ++line) {
        QString text = lines[line];
        if (text.endsWith(QLatin1Char('\r'))) {
            text.chop(1);
        }
        const int row = CurrentRow() + static_cast<int>(line);
        const QStringList cells = text.split(QLatin1Char('\t'));
        for (qsizetype cell = 0; cell < cells.size(); ++cell) {
            const int column = CurrentColumn() + static_cast<int>(cell);
            ++count.offered;
            if (row >= GridRows() || column >= GridColumns()) {
                continue;
            }
            SetCellText(column, row, cells[cell]);
            ++count.written;
            count.wroteLastCell = count.wroteLastCell || IsLastDataCell(column, row);
        }
    }
    if (count.offered > 0) {
        emit CellsPasted(count);
    }
}

void CaptureGrid::TabPressed(bool forward) {
    if (!m_tabsMoveBetweenCells) {
        emit TabOut(forward);
        return;
    }
    const int lastColumn = GridColumns() - 1;
    const int lastRow = GridRows() - 1;
    int column = CurrentColumn() + (forward ? 1 : -1);
    int row = CurrentRow();
    if (column > lastColumn) {
        column = 1;
        row = row == lastRow ? 1 : row + 1;
    } else if (column < 1) {
        column = lastColumn;
        row = row == 1 ? lastRow : row - 1;
    }
    SetCurrentCell(column, row);
}

void CaptureGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    const bool hadFocus = HasFocusWithin();
    QTableWidget::currentChanged(current, previous);
    if (hadFocus) {
        ShowEditorOnCurrentCell();
    }
}

void CaptureGrid::focusInEvent(QFocusEvent* event) {
    QTableWidget::focusInEvent(event);
    ShowEditorOnCurrentCell();
}

void CaptureGrid::keyPressEvent(QKeyEvent* event) {
    if (AltTypesNothing(*event)) {
        event->ignore();
    } else if (event->matches(QKeySequence::Copy)) {
        CopyBlock();
    } else if (event->matches(QKeySequence::Paste)) {
        PasteBlock();
    } else {
        QTableWidget::keyPressEvent(event);
    }
}

void CaptureGrid::mousePressEvent(QMouseEvent* event) {
    m_mouseButtonDown = true;
    QTableWidget::mousePressEvent(event);
}

void CaptureGrid::mouseReleaseEvent(QMouseEvent* event) {
    m_mouseButtonDown = false;
    QTableWidget::mouseReleaseEvent(event);
    if (HasFocusWithin()) {
        ShowEditorOnCurrentCell();
    }
}

bool CaptureGrid::focusNextPrevChild(bool next) {
    TabPressed(next);
    return true;
}

void CaptureGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableWidget::closeEditor(editor, hint);
    if (hasFocus()) {
        ShowEditorOnCurrentCell();
    }
}

void CaptureGrid::ShowEditorOnCurrentCell() {
    const QModelIndex current = currentIndex();
    if (!m_mouseButtonDown && current.isValid() && state() != QAbstractItemView::EditingState) {
        edit(current);
    }
}

} // namespace orbeta
