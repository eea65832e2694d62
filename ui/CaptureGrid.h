#pragma once

#include <QTableWidget>

class QKeyEvent;

namespace orbeta {

// Whether a key press types a character, as a text field or a grid cell takes it: letters,
// digits, punctuation, blank, Backspace and Enter; not Tab, Escape, Delete or a shortcut.
bool ProducesCharacter(const QKeyEvent& event);

// Whether a key press is AltGr with a key, which types a character ("@", "€", "#" on Spanish
// keyboards).
bool IsAltGr(const QKeyEvent& event);

// Whether a key press holds Alt, not AltGr: it is an access key, and when none answers it must
// type nothing.
bool AltTypesNothing(const QKeyEvent& event);

// What a paste did: the data it held, those written, and whether the bottom-right data cell was
// among them.
struct PasteCount {
    int offered = 0;
    int written = 0;
    bool wroteLastCell = false;
};

// The results grid of the capture window. Its size and cells are counted as the study counts
// them: column 0 holds the day and replicate labels, row 0 the analyst labels, and both stay in
// view while the data cells scroll. While the grid has the focus, the cell editor is always
// shown on the current cell, and every change typed there is in the cell at once.
class CaptureGrid final : public QTableWidget {
    Q_OBJECT

public:
    explicit CaptureGrid(QWidget* parent);

    int GridColumns() const { return columnCount() + 1; }
    int GridRows() const { return rowCount() + 1; }
    // Cells inside the new size keep their texts.
    void SetGridSize(int columns, int rows);

    QString CellText(int column, int row) const;
    void SetCellText(int column, int row, const QString& text);

    int CurrentColumn() const { return currentColumn() + 1; }
    int CurrentRow() const { return currentRow() + 1; }
    void SetCurrentCell(int column, int row);
    bool IsLastDataCell(int column, int row) const {
        return column == GridColumns() - 1 && row == GridRows() - 1;
    }

    // Whether Tab and Shift+Tab move between cells (wrapping round) or leave the grid.
    void SetTabsMoveBetweenCells(bool moveBetweenCells) {
        m_tabsMoveBetweenCells = moveBetweenCells;
    }
    // Shift with an arrow key typed in the cell editor: the selected block grows or shrinks.
    void ExtendBlock(const QKeyEvent& arrow);

    // The grid or its cell editor has the keyboard focus.
    bool HasFocusWithin() const;

    // Copies the selected block of data cells as tab-separated lines.
    void CopyBlock() const;
    // Writes the block of tab-separated lines on the clipboard from the current cell on, clipped
    // to the data cells; signals CellsPasted when the clipboard held any.
    void PasteBlock();

    // Tab or Shift+Tab pressed in the grid or its editor.
    void TabPressed(bool forward);

signals:
    // A key that produces a character was pressed while the grid or its editor had the focus;
    // the current cell is the one typed in.
    void CharacterTyped();
    // A paste offered cells; those outside the grid were left out.
    void CellsPasted(const orbeta::PasteCount& count);
    // Tab or Shift+Tab asked to leave the grid.
    void TabOut(bool forward);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void ShowEditorOnCurrentCell();

    bool m_tabsMoveBetweenCells = true;
    // While a button is down the editor waits, so that dragging selects a block of cells.
    bool m_mouseButtonDown = false;
};

} // namespace orbeta
