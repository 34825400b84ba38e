// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <optional>

class RuleTable;
class TextCatalogue;
struct RowBuffer;

// The row commands behind every rule-table editor's Delete, Insert, Copy and Paste Row buttons.
//
// Two families, after the two ways grids hold their check boxes: the plain family for grids whose
// check boxes are "Y"/"N" texts, the _Check family for grids with cell check boxes and read-only
// marks, which it moves with the texts. Rows are grid rows (1 to gridRows()-1); a row outside them
// leaves the table as it is. Every data column takes part, hidden ones included, so a hidden field
// travels with its row; the numbering column 0 is never written. The table keeps its size: a delete
// or an insert moves contents between rows.
//
// The editor asks before a delete; the paste asks and reports itself, through the message service.

// Catalogue texts of the paste.
inline constexpr int TextRowInUse = 1100;      // "Row Already used. Do you want to overwrite the values?"
inline constexpr int TextBadCopy = 1101;       // "Error in the Copy values!!! Copy a valid row before Paste it"
inline constexpr int TextNothingCopied = 1102; // "Error!!! Copy a valid row before Paste it"

enum class PasteResult {
    Pasted,
    NothingCopied, // the table's copied flag is clear (text 1102)
    BadCopy,       // the buffer does not fit the table's columns (text 1101)
    Declined,      // the row was in use and the user did not confirm (text 1100)
    NoRow          // not a data row: nothing shown, nothing changed
};

// Removes `row`: the rows below move up one and the last row is cleared (texts emptied, so its
// check-box texts are empty, not "Y").
void Delete_Row(int row, RuleTable& grid);
// Moves `row` and the rows below it down one (the last row's content is lost) and clears `row`; with
// `enable` its column 1 gets "Y".
void Insert_Row(int row, RuleTable& grid, bool enable);
// The row's data-column texts, column 1 first, replace the buffer (its check flags all clear).
void Copy_Row(RuleTable& grid, int row, RowBuffer& buffer);
// Writes the buffer into `row`, after the checks of the copied flag and the buffer's size and, for a
// row in use (a text that is not blank outside the text check-box columns), the user's confirmation.
PasteResult Paste_Row(RuleTable& grid, int row, bool copied, const RowBuffer& buffer, const TextCatalogue& texts);

// As Delete_Row, moving check boxes, their states and read-only marks too. The cleared last row is
// editable throughout; its check boxes are unchecked, but for column 1's, which `enable` checks.
void Delete_Row_Check(int row, RuleTable& grid, bool enable);
// As Insert_Row, with check boxes and read-only marks; the cleared row as in Delete_Row_Check.
void Insert_Row_Check(int row, RuleTable& grid, bool enable);
// The buffer gets one entry per data column ("Y"/"N" for a check-box cell, else its text) and the
// check flags tell which entries came from check boxes.
void Copy_Row_Check(RuleTable& grid, int row, RowBuffer& buffer);
// As Paste_Row. A row is in use when a cell without a check box holds any text, blanks included.
// Flagged entries set check boxes ("Y" checked, anything else unchecked); read-only marks stay.
PasteResult Paste_Row_Check(RuleTable& grid, int row, bool copied, const RowBuffer& buffer, const TextCatalogue& texts);

struct GridCell {
    int row = 0;
    int column = 0;
    bool operator==(const GridCell&) const = default;
};

// Where Enter takes the current cell when jumping to the next field is on: the next column as the user
// sees them, or the first data column of the next row (row 1 after the last). `visibleColumns` lists
// the real indices of the shown columns from left to right, the numbering column first. Nothing when
// the current cell is in the header row or the numbering column (the key is consumed all the same).
std::optional<GridCell> nextField(GridCell current, const QList<int>& visibleColumns, int gridRows);
