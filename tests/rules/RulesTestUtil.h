// SPDX-License-Identifier: MIT
#pragma once

#include "rules/RuleTable.h"

#include <QStringList>

// Tables written as text, one string per data row, cells of the data columns separated by '|':
// "[x]" and "[ ]" are a checked and an unchecked cell check box, a leading '!' marks a cell read-only,
// anything else is the cell's text. Column 0 holds the rule number (row - 1).
namespace RulesTest {

inline RuleTable::Cell parseCell(QString s) {
    RuleTable::Cell cell;
    if (s.startsWith(QLatin1Char('!'))) {
        cell.readOnly = true;
        s.remove(0, 1);
    }
    if (s == QLatin1String("[x]") || s == QLatin1String("[ ]")) {
        cell.hasCheckBox = true;
        cell.checked = s == QLatin1String("[x]");
    } else {
        cell.text = s;
    }
    return cell;
}

inline QString showCell(const RuleTable::Cell& cell) {
    const QString body = cell.hasCheckBox ? (cell.checked ? QStringLiteral("[x]") : QStringLiteral("[ ]")) : cell.text;
    return cell.readOnly ? QLatin1Char('!') + body : body;
}

// Fills rows 1.. of `table` from `rows`; rows not given are left empty.
inline void fill(RuleTable& table, const QStringList& rows) {
    for (int r = 1; r < table.gridRows(); ++r) {
        table.setCellText(r, 0, QString::number(r - 1));
        const QStringList cells = r - 1 < rows.size() ? rows[r - 1].split(QLatin1Char('|')) : QStringList();
        for (int c = 1; c < table.gridColumns(); ++c)
            table.setCell(r, c, parseCell(cells.value(c - 1)));
    }
}

inline QStringList dump(const RuleTable& table) {
    QStringList rows;
    for (int r = 1; r < table.gridRows(); ++r) {
        QStringList cells;
        for (int c = 1; c < table.gridColumns(); ++c)
            cells << showCell(table.cell(r, c));
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace RulesTest
