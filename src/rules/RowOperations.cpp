// SPDX-License-Identifier: MIT
#include "RowOperations.h"

#include "RuleTable.h"
#include "app/AppState.h"
#include "common/MessageService.h"
#include "language/TextCatalogue.h"

namespace {

bool isDataRow(const RuleTable& grid, int row) {
    return row >= 1 && row < grid.gridRows();
}

void moveTexts(RuleTable& grid, int from, int to) {
    for (int c = 1; c < grid.gridColumns(); ++c)
        grid.setCellText(to, c, grid.cellText(from, c));
}

void clearTexts(RuleTable& grid, int row, bool enable) {
    for (int c = 1; c < grid.gridColumns(); ++c)
        grid.setCellText(row, c, c == 1 && enable ? RuleTable::CheckedText : QString());
}

// Moves whole cells: text, check box with its state, read-only mark.
void moveCells(RuleTable& grid, int from, int to) {
    for (int c = 1; c < grid.gridColumns(); ++c)
        grid.setCell(to, c, grid.cell(from, c));
}

void clearCells(RuleTable& grid, int row, bool enable) {
    for (int c = 1; c < grid.gridColumns(); ++c) {
        RuleTable::Cell cell;
        cell.hasCheckBox = grid.hasCheckBox(row, c);
        cell.checked = cell.hasCheckBox && c == 1 && enable;
        grid.setCell(row, c, cell);
    }
}

// The checks every paste makes before writing; nothing when it may write.
std::optional<PasteResult> refusePaste(const RuleTable& grid, bool copied, const RowBuffer& buffer, bool inUse,
                                       const TextCatalogue& texts) {
    if (!copied) {
        Messages::error(texts.Text(TextNothingCopied));
        return PasteResult::NothingCopied;
    }
    if (buffer.Row_Buffer.size() != grid.gridColumns() - 1) {
        Messages::error(texts.Text(TextBadCopy));
        return PasteResult::BadCopy;
    }
    if (inUse && !Messages::question(texts.Text(TextRowInUse)))
        return PasteResult::Declined;
    return std::nullopt;
}

} // namespace

void Delete_Row(int row, RuleTable& grid) {
    if (!isDataRow(grid, row))
        return;
    RuleTable::Batch batch(grid);
    const int last = grid.gridRows() - 1;
    for (int i = row; i < last; ++i)
        moveTexts(grid, i + 1, i);
    clearTexts(grid, last, false);
}

void Insert_Row(int row, RuleTable& grid, bool enable) {
    if (!isDataRow(grid, row))
        return;
    RuleTable::Batch batch(grid);
    for (int i = grid.gridRows() - 2; i >= row; --i)
        moveTexts(grid, i, i + 1);
    clearTexts(grid, row, enable);
}

void Copy_Row(RuleTable& grid, int row, RowBuffer& buffer) {
    if (!isDataRow(grid, row))
        return;
    buffer.Row_Buffer.clear();
    for (int c = 1; c < grid.gridColumns(); ++c)
        buffer.Row_Buffer.append(grid.cellText(row, c));
    buffer.Check_Flags = QList<bool>(buffer.Row_Buffer.size(), false);
}

PasteResult Paste_Row(RuleTable& grid, int row, bool copied, const RowBuffer& buffer, const TextCatalogue& texts) {
    if (!isDataRow(grid, row))
        return PasteResult::NoRow;
    bool inUse = false;
    for (int c = 1; c < grid.gridColumns() && !inUse; ++c)
        inUse = !grid.isTextCheckBoxColumn(c) && !grid.cellText(row, c).trimmed().isEmpty();
    if (const std::optional<PasteResult> refused = refusePaste(grid, copied, buffer, inUse, texts))
        return *refused;
    RuleTable::Batch batch(grid);
    for (int c = 1; c < grid.gridColumns(); ++c)
        grid.setCellText(row, c, buffer.Row_Buffer[c - 1]);
    return PasteResult::Pasted;
}

void Delete_Row_Check(int row, RuleTable& grid, bool enable) {
    if (!isDataRow(grid, row))
        return;
    RuleTable::Batch batch(grid);
    const int last = grid.gridRows() - 1;
    for (int i = row; i < last; ++i)
        moveCells(grid, i + 1, i);
    clearCells(grid, last, enable);
}

void Insert_Row_Check(int row, RuleTable& grid, bool enable) {
    if (!isDataRow(grid, row))
        return;
    RuleTable::Batch batch(grid);
    for (int i = grid.gridRows() - 2; i >= row; --i)
        moveCells(grid, i, i + 1);
    clearCells(grid, row, enable);
}

void Copy_Row_Check(RuleTable& grid, int row, RowBuffer& buffer) {
    if (!isDataRow(grid, row))
        return;
    buffer.Row_Buffer.clear();
    buffer.Check_Flags.clear();
    for (int c = 1; c < grid.gridColumns(); ++c) {
        const RuleTable::Cell& cell = grid.cell(row, c);
        buffer.Check_Flags.append(cell.hasCheckBox);
        buffer.Row_Buffer.append(cell.hasCheckBox ? (cell.checked ? RuleTable::CheckedText : RuleTable::UncheckedText)
                                                  : cell.text);
    }
}

PasteResult Paste_Row_Check(RuleTable& grid, int row, bool copied, const RowBuffer& buffer,
                            const TextCatalogue& texts) {
    if (!isDataRow(grid, row))
        return PasteResult::NoRow;
    bool inUse = false;
    for (int c = 1; c < grid.gridColumns() && !inUse; ++c)
        inUse = !grid.hasCheckBox(row, c) && !grid.cellText(row, c).isEmpty();
    if (const std::optional<PasteResult> refused = refusePaste(grid, copied, buffer, inUse, texts))
        return *refused;
    RuleTable::Batch batch(grid);
    for (int c = 1; c < grid.gridColumns(); ++c) {
        const QString& entry = buffer.Row_Buffer[c - 1];
        // A buffer filled by Copy_Row has all its flags clear.
        if (buffer.Check_Flags.value(c - 1, false))
            grid.setChecked(row, c, entry == RuleTable::CheckedText);
        else
            grid.setCellText(row, c, entry);
    }
    return PasteResult::Pasted;
}

std::optional<GridCell> nextField(GridCell current, const QList<int>& visibleColumns, int gridRows) {
    if (current.row <= 0 || current.column <= 0 || current.row >= gridRows)
        return std::nullopt;
    const qsizetype at = visibleColumns.indexOf(current.column);
    if (at < 0 || visibleColumns.size() < 2)
        return std::nullopt;
    if (at < visibleColumns.size() - 1)
        return GridCell{current.row, visibleColumns[at + 1]};
    return GridCell{current.row >= gridRows - 1 ? 1 : current.row + 1, visibleColumns[1]};
}
