// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The contents of one rule-table grid: a fixed number of rows and columns, set by its editor and never
// changed by the row operations.
//
// Rows and columns are counted as the grid counts them: grid row 0 is the header row (kept as header
// data, not as a model row), grid rows 1 to gridRows()-1 are the data rows; column 0 is the numbering
// column, columns 1 to gridColumns()-1 the data columns. The model row of grid row r is r - 1; use
// cellIndex() and gridRow() to go between the two.
//
// A cell holds a text and, in grids with cell check boxes, an optional check box with its state and
// a read-only mark. Columns carry their header text, header hint, background and kind. Which columns
// are hidden is the view's business: the model and the row operations treat every column alike.
class RuleTable : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class ColumnKind {
        Text,        // free text, or a drop-down list when the column has items
        TextCheckBox // a text holding "Y" or "N", shown and toggled as a check box
    };

    // Roles beyond Qt's own, read by the grid's delegate.
    enum Role {
        BackgroundRgbRole = Qt::UserRole + 1, // uint 0xRRGGBB of the column's background, when it has one
        TextCheckBoxRole,                     // bool: the cell is a text check box ("Y"/"N")
        ListItemsRole,                        // QStringList: the column's drop-down items (empty: free text)
        ReadOnlyRole                          // bool: the cell's read-only mark
    };

    struct Cell {
        QString text;
        bool hasCheckBox = false;
        bool checked = false;
        bool readOnly = false;
        bool operator==(const Cell&) const = default;
    };

    struct Column {
        QString header;
        QString hint;
        std::optional<unsigned> background; // 0xRRGGBB
        ColumnKind kind = ColumnKind::Text;
        QStringList items;
        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    };

    static inline const QString CheckedText = QStringLiteral("Y");
    static inline const QString UncheckedText = QStringLiteral("N");

    explicit RuleTable(QObject* parent = nullptr);

    // Gives the table `gridRows` rows (header row included) and `gridColumns` columns, every cell
    // empty. Column properties of the columns that remain are kept. With the number of columns
    // unchanged the model is not reset (rows come and go at the end), so a view keeps its column
    // widths and hidden columns.
    void setShape(int gridRows, int gridColumns);
    int gridRows() const { return m_rows; }
    int gridColumns() const { return m_columns; }

    // Column properties.
    const Column& column(int column) const { return m_columnInfo[column]; }
    void setColumn(int column, const Column& info);
    void setHeader(int column, const QString& text);
    void setHint(int column, const QString& hint);
    bool isTextCheckBoxColumn(int column) const { return m_columnInfo[column].kind == ColumnKind::TextCheckBox; }

    // Cells, by grid row and column. Each change is announced at once, or at the end of the Batch
    // that is open.
    const Cell& cell(int row, int column) const { return m_cells[offset(row, column)]; }
    void setCell(int row, int column, const Cell& cell);
    const QString& cellText(int row, int column) const { return cell(row, column).text; }
    void setCellText(int row, int column, const QString& text);
    bool hasCheckBox(int row, int column) const { return cell(row, column).hasCheckBox; }
    // Gives the cell a check box (or takes it away); a new box is unchecked.
    void setCheckBox(int row, int column, bool has);
    bool isChecked(int row, int column) const { return cell(row, column).checked; }
    // Sets the state of the cell's check box, giving it one if it had none.
    void setChecked(int row, int column, bool checked);
    bool isReadOnly(int row, int column) const { return cell(row, column).readOnly; }
    void setReadOnly(int row, int column, bool readOnly);

    // Collects the changes made while it lives into one announcement over the rows they touched, so
    // moving a whole table costs one repaint.
    class Batch {
    public:
        explicit Batch(RuleTable& table);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        RuleTable& m_table;
    };

    QModelIndex cellIndex(int row, int column) const { return index(row - 1, column); }
    static int gridRow(const QModelIndex& index) { return index.isValid() ? index.row() + 1 : 0; }

    // QAbstractItemModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    int offset(int row, int column) const;
    Cell& mutableCell(int row, int column) { return m_cells[offset(row, column)]; }
    void touched(int row);
    bool isCheckCell(int row, int column) const;

    int m_rows = 1;
    int m_columns = 0;
    std::vector<Cell> m_cells; // data rows only, row by row
    QList<Column> m_columnInfo;

    int m_batchDepth = 0;
    int m_firstTouched = -1;
    int m_lastTouched = -1;
};
