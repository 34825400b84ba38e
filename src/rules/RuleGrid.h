// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QTableView>
#include <functional>

class RuleTable;

// The grid of a rule-table editor: a table view over a RuleTable, drawn by one delegate. No widget per
// cell; an editor exists only while a cell is being edited.
//
// - Text check-box columns ("Y"/"N") and cells with a check box are drawn as a centred check box and
//   toggled by a click on the box or by the space bar.
// - A column with list items edits with a pick-only drop-down list; every other data cell with a line
//   edit. Typing over the current cell starts editing it, Enter commits, Escape cancels, Tab commits
//   and moves to the next cell.
// - Cells marked read-only cannot be edited or toggled (their text is drawn grey).
// - Header hints show as tooltips of the header; cells have none.
// - The numbering column 0 is drawn like a header and never becomes the current cell.
//
// Rows and columns in this interface are grid rows and columns (see RuleTable): row 0 is the header.
class RuleGrid : public QTableView {
    Q_OBJECT
public:
    explicit RuleGrid(QWidget* parent = nullptr);

    void setTable(RuleTable* table);
    RuleTable* table() const { return m_table; }

    // Column widths by real column index; kept across changes of the table's shape.
    void setColumnWidths(const QList<int>& widths);
    void setColumnShown(int column, bool shown);

    // The real indices of the shown columns, left to right, the numbering column first.
    QList<int> visibleColumns() const;

    // The current cell (row 0 when there is none).
    int currentRow() const;
    int currentColumn() const;
    void setCurrentCell(int row, int column);
    // Makes `row` current (at its first shown data column) and selects the whole row.
    void selectGridRow(int row);

    // Enter moves the current cell to the next field when `enabled`: `key` is then replaced by the
    // null character (consumed), also when the current cell cannot move. Any other key, or Enter with
    // `enabled` off, is left alone.
    void Jump_Next_Field(QChar& key, bool enabled);
    // A double-click on the header row (row 0) sizes that column to fit its widest content when
    // `enabled`; any other row does nothing.
    void Auto_Size_Column(int row, int column, bool enabled);
    // Width of the column's widest content, header included.
    void sizeColumnToContents(int column);

    // Called with every character typed into the grid and with Enter pressed in a cell editor, before
    // the grid acts on it; a handler consumes the key by setting it to the null character. Enter in a
    // cell editor has committed the edit by then.
    std::function<void(QChar& key)> KeyPress;

Q_SIGNALS:
    void ClickCell(int row, int column);
    // Also for the header row: row 0.
    void DblClickCell(int row, int column);
    // A drop-down list choice was written into the cell.
    void ComboChange(int row, int column, const QString& text);

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    friend class RuleGridDelegate;
    void applyColumns();
    void enterInEditor();
    int firstDataColumn() const;
    int lastDataColumn() const;

    RuleTable* m_table = nullptr;
    QList<int> m_widths;
    QList<bool> m_hidden;
};
