// SPDX-License-Identifier: MIT
#include "GridTestUtil.h"
#include "RulesTestUtil.h"
#include "rules/RuleGrid.h"
#include "rules/RuleTable.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace RulesTest;

namespace {

// N | Enable (text box) | Start | Type (list) | Flag (cell boxes) | Hidden | Mnemonic
struct Fixture {
    RuleTable table;
    RuleGrid grid;

    Fixture() {
        table.setShape(6, 7);
        RuleTable::Column check;
        check.kind = RuleTable::ColumnKind::TextCheckBox;
        table.setColumn(1, check);
        RuleTable::Column list;
        list.items = QStringList{"Boolean", "Int16", "String"};
        table.setColumn(3, list);
        grid.setTable(&table);
        grid.setColumnWidths({40, 50, 80, 100, 50, 60, 200});
        grid.setColumnShown(5, false);
        fill(table, {"Y|10|Int16|[x]|h1|first", "N|20||[ ]|h2|!locked", "Y|30|String|![x]|h3|third"});
        grid.resize(700, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        grid.setFocus();
    }

    QRect cellRect(int row, int column) const { return grid.visualRect(table.cellIndex(row, column)); }

    void type(const QString& keys) { RulesTest::type(keys, &grid); }
};

} // namespace

class TestRuleGrid : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keyboard_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text"); // of the cell (row, column) afterwards
        QTest::addColumn<int>("toRow");    // current cell afterwards
        QTest::addColumn<int>("toColumn");

        QTest::newRow("typing replaces, Enter commits") << 1 << 2 << "42<Enter>"
                                                        << "42" << 1 << 2;
        QTest::newRow("Escape cancels") << 1 << 2 << "42<Esc>"
                                        << "10" << 1 << 2;
        QTest::newRow("Tab commits and moves on") << 1 << 2 << "7<Tab>"
                                                  << "7" << 1 << 3;
        QTest::newRow("Tab skips the hidden column") << 1 << 4 << "<Tab>"
                                                     << "" << 1 << 6;
        QTest::newRow("Tab from the last column: next row") << 1 << 6 << "<Tab>"
                                                            << "first" << 2 << 1;
        QTest::newRow("Backtab from column 1: previous row") << 2 << 1 << "<Backtab>"
                                                             << "N" << 1 << 6;
        QTest::newRow("Left never reaches the numbering column") << 2 << 1 << "<Left>"
                                                                 << "N" << 2 << 1;
        QTest::newRow("space checks a text box") << 2 << 1 << "<Space>"
                                                 << "Y" << 2 << 1;
        QTest::newRow("space unchecks a text box") << 1 << 1 << "<Space>"
                                                   << "N" << 1 << 1;
        QTest::newRow("a text box takes no typing") << 1 << 1 << "x"
                                                    << "Y" << 1 << 1;
        QTest::newRow("a read-only cell takes no typing") << 2 << 6 << "xy<Enter>"
                                                          << "locked" << 2 << 6;
    }

    void keyboard() {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(int, toRow);
        QFETCH(int, toColumn);

        Fixture f;
        f.grid.setCurrentCell(row, column);
        f.type(keys);
        QCOMPARE(f.table.cellText(row, column), text);
        QCOMPARE(f.grid.currentRow(), toRow);
        QCOMPARE(f.grid.currentColumn(), toColumn);
    }

    void mouseTogglesCheckBoxes_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("after");

        QTest::newRow("text box Y -> N") << 1 << 1 << "N";
        QTest::newRow("text box N -> Y") << 2 << 1 << "Y";
        QTest::newRow("cell box checked -> unchecked") << 1 << 4 << "[ ]";
        QTest::newRow("cell box unchecked -> checked") << 2 << 4 << "[x]";
        QTest::newRow("read-only cell box stays") << 3 << 4 << "![x]";
    }

    void mouseTogglesCheckBoxes() {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, after);

        Fixture f;
        QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.cellRect(row, column).center());
        QCOMPARE(showCell(f.table.cell(row, column)), after);
    }

    void checkBoxIsDrawnCentred() {
        Fixture f;
        const QRect cell = f.cellRect(1, 1);
        QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, cell.topLeft() + QPoint(2, 2));
        QCOMPARE(f.table.cellText(1, 1), "Y"); // a click beside the box only selects the cell
        QCOMPARE(f.grid.currentColumn(), 1);
    }

    // Every row is drawn: the numbering cells leave the painter as they found it.
    void cellsAreDrawn() {
        Fixture f;
        RuleTable::Column start;
        start.background = 0xE0FAFE;
        f.table.setColumn(2, start);
        f.grid.setCurrentCell(1, 6);
        const QImage shot = f.grid.viewport()->grab().toImage();
        for (int row = 1; row <= 5; ++row) {
            const QRect cell = f.cellRect(row, 2);
            QCOMPARE(QColor(shot.pixel(cell.right() - 4, cell.center().y())), QColor(0xE0, 0xFA, 0xFE));
        }
    }

    void dropDownList() {
        Fixture f;
        QSignalSpy changes(&f.grid, &RuleGrid::ComboChange);
        f.grid.setCurrentCell(2, 3);
        f.type("<Space>"); // any key opens the editor
        auto* list = f.grid.findChild<QComboBox*>();
        QVERIFY(list);
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->isEditable(), false);
        list->setCurrentIndex(2);
        Q_EMIT list->activated(2);
        QCOMPARE(f.table.cellText(2, 3), "String");
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes[0], (QVariantList{2, 3, "String"}));

        // Opened and left without a choice: nothing written, no change reported.
        f.grid.setCurrentCell(1, 3);
        f.type("<Space>");
        QTRY_VERIFY(f.grid.findChild<QComboBox*>());
        f.type("<Esc>");
        QCOMPARE(f.table.cellText(1, 3), "Int16");
        QCOMPARE(changes.size(), 1);
    }

    void numberingColumn() {
        Fixture f;
        f.grid.setCurrentCell(1, 2);
        QSignalSpy clicks(&f.grid, &RuleGrid::ClickCell);
        QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.cellRect(3, 0).center());
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(clicks[0], (QVariantList{3, 0}));
        QCOMPARE(f.grid.currentRow(), 1); // the click alone moves nothing
        QCOMPARE(f.table.flags(f.table.cellIndex(3, 0)) & Qt::ItemIsEditable, Qt::NoItemFlags);

        f.grid.selectGridRow(3);
        QCOMPARE(f.grid.currentRow(), 3);
        QCOMPARE(f.grid.currentColumn(), 1);
        QCOMPARE(f.grid.selectionModel()->selectedIndexes().size(), 6);
    }

    void autoSize_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("sized");

        QTest::newRow("header, on") << 0 << true << true;
        QTest::newRow("header, off") << 0 << false << false;
        QTest::newRow("data cell, on") << 2 << true << false;
    }

    void autoSize() {
        QFETCH(int, row);
        QFETCH(bool, enabled);
        QFETCH(bool, sized);

        Fixture f;
        f.table.setCellText(3, 2, "a start byte far wider than its column");
        f.grid.Auto_Size_Column(row, 2, enabled);
        const int wide = f.grid.fontMetrics().horizontalAdvance(f.table.cellText(3, 2));
        QCOMPARE(f.grid.columnWidth(2) > wide, sized);
        QCOMPARE(f.grid.columnWidth(2) == 80, !sized);
    }

    // Qt's own sizing on a double-click of a column border is left to the editors' option.
    void headerDoubleClickReportsOnly() {
        Fixture f;
        QSignalSpy dbl(&f.grid, &RuleGrid::DblClickCell);
        f.table.setCellText(1, 2, "a start byte far wider than its column");
        Q_EMIT f.grid.horizontalHeader()->sectionHandleDoubleClicked(2);
        QCOMPARE(f.grid.columnWidth(2), 80);
        QCOMPARE(dbl.size(), 1);
        QCOMPARE(dbl[0], (QVariantList{0, 2}));
    }

    void shapeChangeKeepsColumns() {
        Fixture f;
        f.table.setShape(4, 7);
        QCOMPARE(f.table.rowCount(), 3);
        QVERIFY(f.grid.isColumnHidden(5));
        QCOMPARE(f.grid.columnWidth(6), 200);
        QCOMPARE(f.table.cellText(1, 2), QString());
        f.table.setShape(257, 7);
        QCOMPARE(f.table.rowCount(), 256);
        QVERIFY(f.grid.isColumnHidden(5));
        QCOMPARE(f.grid.columnWidth(3), 100);
    }
};

QTEST_MAIN(TestRuleGrid)
#include "tst_rulegrid.moc"
