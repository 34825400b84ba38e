// SPDX-License-Identifier: MIT
#pragma once

#include "OpcUaVariables.h"

#include <QList>

class RuleTable;
class TextCatalogue;

// The OPC UA variables editor's grid content: a RuleTable of 251 rows (header and 250 variables) and
// 8 columns, with a cell check box in column 1 and a Length cell locked for fixed-size types.
namespace OpcUaTable {

enum Column : int {
    ColNumber,
    ColEnable,
    ColType,
    ColPosition,
    ColLength,
    ColName,
    ColReadWrite,
    ColMnemonic,
    ColumnCount
};
inline constexpr int GridRows = OpcUaVariables::MaxVariables + 1;

// Header texts of columns 0..7 (catalogue indices) and the column widths of the grid.
inline constexpr int HeaderTexts[ColumnCount] = {5814, 5815, 5816, 5817, 5818, 5819, 5829, 5820};
inline constexpr int ColumnWidths[ColumnCount] = {40, 50, 120, 100, 100, 280, 100, 280};

// Gives the table its shape, headers, backgrounds and the Enable check-box column, and resets every row
// (`Init_Table`). The lists of the Type and R/W columns are the editor's (its ASGGetEditorType).
void Init_Table(RuleTable& grid, const TextCatalogue& texts);

// Reads the header texts again from the catalogue.
void setHeaders(RuleTable& grid, const TextCatalogue& texts);

// Every row 1..250 as on a new showing: its number in column 0, Enable checked, empty texts, nothing
// locked.
void resetRows(RuleTable& grid);

// Sets the Length of `row` and its lock from `type` when it is one of the type names (any other text
// leaves both alone), and fills an empty R/W with "Read/Write".
void VarSetLength(RuleTable& grid, const QString& type, int row);

// Fills `row` from a stored variable in the order of a showing: Enable, Type, then VarSetLength, then
// the stored texts, so a stored Length and R/W win and the lock follows the type.
void fillRow(RuleTable& grid, int row, const OpcUaVariable& variable);

// Fills the table from the file's variables; variables beyond the 250th are not shown.
void fill(RuleTable& grid, const QList<OpcUaVariable>& variables);

// The variable that `row` shows, and every row 1..250 in order.
OpcUaVariable variableAt(const RuleTable& grid, int row);
QList<OpcUaVariable> variables(const RuleTable& grid);

} // namespace OpcUaTable
