// SPDX-License-Identifier: MIT
#include "RuleTable.h"

RuleTable::RuleTable(QObject* parent)
    : QAbstractTableModel(parent) {}

void RuleTable::setShape(int gridRows, int gridColumns) {
    Q_ASSERT(gridRows >= 1 && gridColumns >= 0);
    gridRows = qMax(1, gridRows);
    gridColumns = qMax(0, gridColumns);
    if (gridColumns != m_columns) {
        beginResetModel();
        m_rows = gridRows;
        m_columns = gridColumns;
        m_cells.assign(size_t(m_rows - 1) * size_t(m_columns), Cell());
        m_columnInfo.resize(m_columns);
        endResetModel();
        return;
    }
    // Same columns: rows are added or removed at the end, so a view keeps its column sizes and hidden
    // columns; every remaining cell is emptied.
    if (gridRows < m_rows) {
        beginRemoveRows(QModelIndex(), gridRows - 1, m_rows - 2);
        m_rows = gridRows;
        m_cells.resize(size_t(m_rows - 1) * size_t(m_columns));
        endRemoveRows();
    } else if (gridRows > m_rows) {
        beginInsertRows(QModelIndex(), m_rows - 1, gridRows - 2);
        m_rows = gridRows;
        m_cells.resize(size_t(m_rows - 1) * size_t(m_columns));
        endInsertRows();
    }
    Batch batch(*this);
    for (int r = 1; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c)
            setCell(r, c, Cell());
}

int RuleTable::offset(int row, int column) const {
    Q_ASSERT_X(row >= 1 && row < m_rows && column >= 0 && column < m_columns, "RuleTable", "cell outside the table");
    return (row - 1) * m_columns + column;
}

void RuleTable::setColumn(int column, const Column& info) {
    m_columnInfo[column] = info;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
    if (m_rows > 1)
        Q_EMIT dataChanged(index(0, column), index(m_rows - 2, column));
}

void RuleTable::setHeader(int column, const QString& text) {
    m_columnInfo[column].header = text;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

void RuleTable::setHint(int column, const QString& hint) {
    m_columnInfo[column].hint = hint;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

void RuleTable::touched(int row) {
    if (m_batchDepth > 0) {
        m_firstTouched = m_firstTouched < 0 ? row : qMin(m_firstTouched, row);
        m_lastTouched = qMax(m_lastTouched, row);
        return;
    }
    Q_EMIT dataChanged(index(row - 1, 0), index(row - 1, m_columns - 1));
}

RuleTable::Batch::Batch(RuleTable& table)
    : m_table(table) {
    ++m_table.m_batchDepth;
}

RuleTable::Batch::~Batch() {
    if (--m_table.m_batchDepth > 0 || m_table.m_firstTouched < 0)
        return;
    const int first = m_table.m_firstTouched;
    const int last = m_table.m_lastTouched;
    m_table.m_firstTouched = m_table.m_lastTouched = -1;
    Q_EMIT m_table.dataChanged(m_table.index(first - 1, 0), m_table.index(last - 1, m_table.m_columns - 1));
}

void RuleTable::setCell(int row, int column, const Cell& cell) {
    Cell& c = mutableCell(row, column);
    if (c == cell)
        return;
    c = cell;
    touched(row);
}

void RuleTable::setCellText(int row, int column, const QString& text) {
    Cell& c = mutableCell(row, column);
    if (c.text == text)
        return;
    c.text = text;
    touched(row);
}

void RuleTable::setCheckBox(int row, int column, bool has) {
    Cell& c = mutableCell(row, column);
    if (c.hasCheckBox == has)
        return;
    c.hasCheckBox = has;
    c.checked = false;
    touched(row);
}

void RuleTable::setChecked(int row, int column, bool checked) {
    Cell& c = mutableCell(row, column);
    if (c.hasCheckBox && c.checked == checked)
        return;
    c.hasCheckBox = true;
    c.checked = checked;
    touched(row);
}

void RuleTable::setReadOnly(int row, int column, bool readOnly) {
    Cell& c = mutableCell(row, column);
    if (c.readOnly == readOnly)
        return;
    c.readOnly = readOnly;
    touched(row);
}

bool RuleTable::isCheckCell(int row, int column) const {
    return column > 0 && (isTextCheckBoxColumn(column) || hasCheckBox(row, column));
}

int RuleTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows - 1;
}

int RuleTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columns;
}

QVariant RuleTable::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    const int row = gridRow(index);
    const int col = index.column();
    const Cell& c = cell(row, col);
    const Column& info = m_columnInfo[col];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return c.text;
    case Qt::CheckStateRole:
        if (col > 0 && info.kind == ColumnKind::TextCheckBox)
            return c.text == CheckedText ? Qt::Checked : Qt::Unchecked;
        if (col > 0 && c.hasCheckBox)
            return c.checked ? Qt::Checked : Qt::Unchecked;
        return QVariant();
    case Qt::TextAlignmentRole:
        return col == 0 ? QVariant(Qt::AlignCenter) : QVariant(info.alignment);
    case BackgroundRgbRole:
        return info.background && col > 0 ? QVariant(*info.background) : QVariant();
    case TextCheckBoxRole:
        return col > 0 && info.kind == ColumnKind::TextCheckBox;
    case ListItemsRole:
        return info.items;
    case ReadOnlyRole:
        return c.readOnly;
    default:
        return QVariant();
    }
}

bool RuleTable::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || index.column() == 0)
        return false;
    const int row = gridRow(index);
    const int col = index.column();
    if (isReadOnly(row, col))
        return false;
    if (role == Qt::CheckStateRole) {
        if (!isCheckCell(row, col))
            return false;
        const bool on = value.value<Qt::CheckState>() == Qt::Checked;
        if (isTextCheckBoxColumn(col))
            setCellText(row, col, on ? CheckedText : UncheckedText);
        else
            setChecked(row, col, on);
        return true;
    }
    if (role == Qt::EditRole) {
        setCellText(row, col, value.toString());
        return true;
    }
    return false;
}

QVariant RuleTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return m_columnInfo[section].header;
    case Qt::ToolTipRole:
        // The numbering column has no hint.
        return section > 0 && !m_columnInfo[section].hint.isEmpty() ? QVariant(m_columnInfo[section].hint) : QVariant();
    default:
        return QVariant();
    }
}

Qt::ItemFlags RuleTable::flags(const QModelIndex& index) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    const int col = index.column();
    if (col == 0)
        return Qt::ItemIsEnabled;
    const int row = gridRow(index);
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (isReadOnly(row, col))
        return f;
    return f | (isCheckCell(row, col) ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable);
}
