// SPDX-License-Identifier: MIT
#include "OpcUaTable.h"

#include "RuleTable.h"
#include "language/TextCatalogue.h"

namespace OpcUaTable {

namespace {

// Backgrounds of columns 0..7 (0: none).
constexpr unsigned kBackgrounds[ColumnCount] = {0,        0xFFD8B0, 0xE0FAFE, 0xA8FFA8,
                                                0xA8FFA8, 0xFCD6F4, 0xFCD6F4, 0xFFFFFF};

} // namespace

void Init_Table(RuleTable& grid, const TextCatalogue& texts) {
    grid.setShape(GridRows, ColumnCount);
    for (int c = 0; c < ColumnCount; ++c) {
        RuleTable::Column info;
        info.header = texts.Text(HeaderTexts[c]);
        if (kBackgrounds[c] != 0)
            info.background = kBackgrounds[c];
        if (c == ColEnable)
            info.alignment = Qt::AlignCenter;
        grid.setColumn(c, info);
    }
    resetRows(grid);
}

void setHeaders(RuleTable& grid, const TextCatalogue& texts) {
    for (int c = 0; c < ColumnCount; ++c)
        grid.setHeader(c, texts.Text(HeaderTexts[c]));
}

void resetRows(RuleTable& grid) {
    const RuleTable::Batch batch(grid);
    RuleTable::Cell empty;
    RuleTable::Cell enable;
    enable.hasCheckBox = true;
    enable.checked = true;
    for (int r = 1; r < GridRows; ++r) {
        RuleTable::Cell number;
        number.text = QString::number(r);
        grid.setCell(r, ColNumber, number);
        grid.setCell(r, ColEnable, enable);
        for (int c = ColType; c < ColumnCount; ++c)
            grid.setCell(r, c, empty);
    }
}

void VarSetLength(RuleTable& grid, const QString& type, int row) {
    const RuleTable::Batch batch(grid);
    if (const std::optional<OpcUaVariables::TypeInfo> t = OpcUaVariables::typeNamed(type)) {
        grid.setCellText(row, ColLength, QString::number(t->length));
        grid.setReadOnly(row, ColLength, t->locked);
    }
    if (grid.cellText(row, ColReadWrite).isEmpty())
        grid.setCellText(row, ColReadWrite, QString::fromLatin1(OpcUaVariables::ReadWriteDefault));
}

void fillRow(RuleTable& grid, int row, const OpcUaVariable& v) {
    const RuleTable::Batch batch(grid);
    grid.setChecked(row, ColEnable, v.enable);
    grid.setCellText(row, ColType, v.type);
    VarSetLength(grid, v.type, row);
    grid.setCellText(row, ColPosition, v.position);
    grid.setCellText(row, ColLength, v.length);
    grid.setCellText(row, ColName, v.name);
    grid.setCellText(row, ColReadWrite, v.readWrite);
    grid.setCellText(row, ColMnemonic, v.mnemonic);
}

void fill(RuleTable& grid, const QList<OpcUaVariable>& variables) {
    const RuleTable::Batch batch(grid);
    const int count = int(qMin<qsizetype>(variables.size(), GridRows - 1));
    for (int i = 0; i < count; ++i)
        fillRow(grid, i + 1, variables[i]);
}

OpcUaVariable variableAt(const RuleTable& grid, int row) {
    OpcUaVariable v;
    v.enable = grid.isChecked(row, ColEnable);
    v.type = grid.cellText(row, ColType);
    v.position = grid.cellText(row, ColPosition);
    v.length = grid.cellText(row, ColLength);
    v.name = grid.cellText(row, ColName);
    v.readWrite = grid.cellText(row, ColReadWrite);
    v.mnemonic = grid.cellText(row, ColMnemonic);
    return v;
}

QList<OpcUaVariable> variables(const RuleTable& grid) {
    QList<OpcUaVariable> out;
    out.reserve(grid.gridRows() - 1);
    for (int r = 1; r < grid.gridRows(); ++r)
        out.append(variableAt(grid, r));
    return out;
}

} // namespace OpcUaTable
